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
#include "tests/engine/core/test_file_env.h"

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
    void TearDown() override {
        while (getKeyboardLayoutUsers() > 0) releaseKeyboardLayout();
        resources.reset();
        files.reset();
    }
    void startWith(const std::string& languageFile) {
        world.put("config/language.ini", languageFile);
        resources.reset();
        files.reset();
        files = std::make_unique<cFileManager>(cStringA((root / "Data").string()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
    }
    file_test::TempWorld world;
    const fs::path root = world.root;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
};

TEST_F(Language, FirstUserReadsTheFileAndTheLastOneRestoresTheDefault) {
    startWith(file_test::utf16Ini("[Localization]\r\nCodePage=\"1251\"\r\nLanguage=\"00000419 extra\"\r\n"));
    EXPECT_EQ(getCodePage(), 1250u);
    acquireKeyboardLayout();
    EXPECT_EQ(getCodePage(), 1251u);
    EXPECT_EQ(getKeyboardLayoutId(), "00000419");
    EXPECT_EQ(charToWide(0xC0), 0x0410);
    EXPECT_FALSE(resources->isLoaded("config/language.ini"));  // read, then unloaded

    // A second user reads nothing: a changed file is not seen until the state is idle again.
    startWith(file_test::utf16Ini("[Localization]\r\nCodePage=\"1252\"\r\n"));
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
    startWith(file_test::utf16Ini("[Localization]\r\nLanguage=\"00000409\"\r\n"));
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
