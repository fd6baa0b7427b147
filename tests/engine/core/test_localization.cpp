// Code-page conversion of typed bytes and the language settings.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/core/Localization.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"

namespace {

namespace fs = std::filesystem;

struct CodePageCase {
    uint32_t codePage;
    uint8_t byte;
    wchar_t expected;
};

TEST(CodePage, ConvertsTypedBytesByCodePage) {
    const CodePageCase cases[] = {
        {1251, 0xC0, 0x0410},  // Cyrillic capital A
        {1250, 0xC0, 0x0154},  // R with acute
        {1252, 0x80, 0x20AC},  // euro sign
        {1252, 'a', L'a'},
        {1253, 0xC1, 0x0391},  // Greek capital alpha
        {866, 0x80, 0x0410},
        {65001, 'z', L'z'},
        {65001, 0xC3, 0},      // half of a UTF-8 sequence
        {1252, 0x81, 0},       // no character there
        {1251, 0, 0},
        {99999, 'a', 0},       // unknown code page
    };
    for (const auto& c : cases)
        EXPECT_EQ(charToWide(c.byte, c.codePage), c.expected) << "code page " << c.codePage << " byte " << int(c.byte);
}

class Language : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("rw-language-" + std::to_string(::getpid()));
        fs::remove_all(root);
        ::setenv("XDG_DATA_HOME", (root / "xdg-data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "xdg-config").c_str(), 1);
    }
    void TearDown() override {
        while (getKeyboardLayoutUsers() > 0) releaseKeyboardLayout();
        resources.reset();
        files.reset();
        fs::remove_all(root);
    }
    void startWith(const std::string& languageFile) {
        fs::path file = root / "Data" / "config" / "language.ini";
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << languageFile;
        resources.reset();
        files.reset();
        files = std::make_unique<cFileManager>(cStringA((root / "Data").string()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
    }
    static std::string utf16(const std::string& ascii) {
        std::string out("\xFF\xFE", 2);
        for (char c : ascii) {
            out.push_back(c);
            out.push_back('\0');
        }
        return out;
    }

    fs::path root;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
};

TEST_F(Language, FirstUserReadsTheFileAndTheLastOneRestoresTheDefault) {
    startWith(utf16("[Localization]\r\nCodePage=\"1251\"\r\nLanguage=\"00000419 extra\"\r\n"));
    EXPECT_EQ(getCodePage(), 1250u);
    acquireKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1251u);
    EXPECT_EQ(getKeyboardLayoutId(), "00000419");
    EXPECT_EQ(charToWide(0xC0), 0x0410);
    EXPECT_FALSE(resources->isLoaded("config/language.ini"));  // read, then unloaded

    // A second user reads nothing: a changed file is not seen until the state is idle again.
    startWith(utf16("[Localization]\r\nCodePage=\"1252\"\r\n"));
    acquireKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1251u);
    releaseKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1251u);
    activateKeyboardLayout();
    releaseKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1250u);
    releaseKeyboardLayout();  // one release too many changes nothing
    EXPECT_EQ(getKeyboardLayoutUsers(), 0);

    acquireKeyboardLayout();  // missing Language: US English
    EXPECT_EQ(getCodePage(), 1252u);
    EXPECT_EQ(getKeyboardLayoutId(), "00000409");
}

TEST_F(Language, MissingCodePageKeepsTheCurrentOneAndAMissingFileThrows) {
    startWith(utf16("[Localization]\r\nLanguage=\"00000409\"\r\n"));
    acquireKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1250u);
    releaseKeyboardLayout();

    fs::remove(root / "Data" / "config" / "language.ini");
    resources.reset();
    files.reset();
    files = std::make_unique<cFileManager>(cStringA((root / "Data").string()), cStringA("kbf"));
    resources = std::make_unique<cResourceManager>();
    EXPECT_ANY_THROW(acquireKeyboardLayout());
    EXPECT_EQ(getKeyboardLayoutUsers(), 0);
}

}  // namespace
