// The settings manager over a private data folder and private user-data folders.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "tests/engine/core/test_file_env.h"

namespace {

namespace fs = std::filesystem;

using file_test::readDiskFile;
using file_test::utf16;
using file_test::writeDiskFile;

const wchar_t* const kShipped =
    L"[Game]\r\n"
    L"window_title=\"Test \\\"Title\\\"\"\r\n"
    L"app_folder=\"settings-test\"\r\n"
    L"\r\n"
    L"[Graphics]\r\n"
    L"width=\"1024\"\r\n"
    L"fullscreen=\"0\"\r\n"
    L"mouse_mul=\"1.5\"\r\n"
    L"show_logo=\"yes\"\r\n"
    L"big=\"-9000000000\"\r\n"
    L"dup=\"1\"\r\n"
    L"dup=\"2\"\r\n"
    L"// a comment\r\n"
    L"[Performance]\r\n"
    L"enable_full_effects=\"1\"\r\n";

// A data folder and the two XDG folders in a temporary folder; the managers the settings need.
class Settings : public testing::Test {
protected:
    void SetUp() override {
        writeDiskFile(data / "config" / "config.ini", utf16(kShipped));
        stored = root / "xdg-data" / "settings-test" / "config.ini";
    }
    void TearDown() override {
        stopManagers();
    }
    void startManagers() {
        files = std::make_unique<cFileManager>(cStringA(data.string()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
    }
    void stopManagers() {
        settings.reset();
        resources.reset();
        files.reset();
    }
    void start() {
        startManagers();
        settings = std::make_unique<cSettingsManager>();
    }
    std::unique_ptr<cIniFile> storedDocument() {
        std::string bytes = readDiskFile(stored);
        return cIniFile::fromBytes(bytes.data(), bytes.size(), "stored");
    }

    file_test::TempWorld world;
    const fs::path root = world.root, data = world.data;
    fs::path stored;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
};

TEST_F(Settings, FirstStartWritesTheWorkingCopyInTheWriterFormat) {
    ASSERT_FALSE(fs::exists(stored));
    start();
    EXPECT_EQ(getSettingsManager(), settings.get());
    ASSERT_TRUE(fs::exists(stored));
    std::string bytes = readDiskFile(stored);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes, settings->getDocument()->toBytes());
    auto copy = storedDocument();
    EXPECT_EQ(copy->getEntries().size(), 10u);
    EXPECT_EQ(copy->getValue(L"Game", L"window_title").str(), L"Test \"Title\"");
    EXPECT_NE(bytes.find(utf16(L"\r\n\r\n[Graphics]\r\n").substr(2)), std::string::npos);
}

TEST_F(Settings, TypedGettersKeepTheCallersValueWhenNothingCanBeRead) {
    start();
    cStringW title;
    settings->getWString(L"Game", L"window_title", title);
    EXPECT_EQ(title.str(), L"Test \"Title\"");
    cStringA narrow("x");
    settings->getString(L"Game", L"missing", narrow);
    EXPECT_TRUE(narrow.isEmpty());
    unsigned width = 800;
    settings->getUnsigned(L"Graphics", L"width", width);
    EXPECT_EQ(width, 1024u);
    unsigned height = 600;
    settings->getUnsigned(L"Graphics", L"height", height);
    EXPECT_EQ(height, 600u);
    float mul = 1.0f;
    settings->getFloat(L"Graphics", L"mouse_mul", mul);
    EXPECT_FLOAT_EQ(mul, 1.5f);
    int64_t big = 0;
    settings->getInt64(L"Graphics", L"big", big);
    EXPECT_EQ(big, -9000000000LL);
    int32_t longValue = 3;
    settings->getLong(L"Graphics", L"title", longValue);
    EXPECT_EQ(longValue, 3);
    bool logo = true;
    EXPECT_TRUE(settings->getBool(L"Graphics", L"show_logo", logo));  // "yes" is unreadable
    EXPECT_TRUE(logo);
    bool full = true;
    settings->getBool(L"Graphics", L"fullscreen", full);
    EXPECT_FALSE(full);
    int dup = 0;
    settings->getInt(L"Graphics", L"dup", dup);
    EXPECT_EQ(dup, 1);
}

TEST_F(Settings, SettersAreStoredAtShutdownAndReadAtTheNextStart) {
    start();
    settings->setBool(L"Performance", L"enable_full_effects", false);
    settings->setFloat(L"Graphics", L"mouse_mul", 0.5f);
    settings->setUnsigned(L"Graphics", L"width", 640);
    settings->setInt(L"Graphics", L"dup", -3);
    settings->setWString(L"Game", L"window_title", L"C:\\games\\");
    settings->setWString(L"Game", L"app_folder", L"a b\\");  // cannot be held: refused
    settings->setUnsigned(L"Graphics", L"not_in_file", 5);
    stopManagers();

    auto copy = storedDocument();
    EXPECT_EQ(copy->getValue(L"Performance", L"enable_full_effects").str(), L"0");
    EXPECT_EQ(copy->getValue(L"Graphics", L"mouse_mul").str(), L"0.5");
    EXPECT_EQ(copy->getValue(L"Graphics", L"width").str(), L"640");
    EXPECT_EQ(copy->getEntries().size(), 10u);  // nothing added
    int dups = 0;
    for (const auto& e : copy->getEntries())
        if (e.key.equals(L"dup")) {
            ++dups;
            EXPECT_EQ(e.value.str(), L"-3");
        }
    EXPECT_EQ(dups, 2);
    EXPECT_EQ(copy->getValue(L"Game", L"window_title").str(), L"C:\\games\\");
    EXPECT_EQ(copy->getValue(L"Game", L"app_folder").str(), L"settings-test");

    // The next start reads the working copy, not the shipped file.
    start();
    unsigned width = 0, missing = 77;
    settings->getUnsigned(L"Graphics", L"width", width);
    settings->getUnsigned(L"Graphics", L"not_in_file", missing);
    EXPECT_EQ(width, 640u);
    EXPECT_EQ(missing, 77u);
    settings->setFloat(L"Graphics", L"mouse_mul", 1.0f);
    settings->setInt64(L"Graphics", L"big", 9000000000LL);
    settings->setString(L"Game", L"window_title", "say \"hi\"");
    settings->store();
    copy = storedDocument();
    EXPECT_EQ(copy->getValue(L"Graphics", L"mouse_mul").str(), L"1");
    EXPECT_EQ(copy->getValue(L"Graphics", L"big").str(), L"9000000000");
    EXPECT_EQ(copy->getValue(L"Game", L"window_title").str(), L"say \"hi\"");
    // The stored file was replaced whole; no temporary file is left beside it, nor in the file
    // table, which lists the stored file as before.
    EXPECT_FALSE(fs::exists(stored.parent_path() / ".config.ini.tmp"));
    EXPECT_FALSE(files->exists("$common$/.config.ini.tmp"));
    EXPECT_EQ(files->getTable().count("$common$/.config.ini.tmp"), 0u);
    ASSERT_EQ(files->getTable().count("$common$/config.ini"), 1u);
    std::unique_ptr<cStream> reread(files->openRead("$common$/config.ini"));
    EXPECT_EQ(readWholeStream(*reread).size(), fs::file_size(stored));
}

TEST_F(Settings, DamagedShippedSettingsThrowAClearText) {
    writeDiskFile(data / "config" / "config.ini", "[Game]\r\nwidth=\"800\"\r\n");  // UTF-8, no mark
    startManagers();
    try {
        cSettingsManager broken;
        FAIL() << "damaged settings were accepted";
    } catch (...) {
        std::string text;
        try {
            throw;
        } catch (const cStringA& t) {
            text = t;
        } catch (const std::string& t) {
            text = t;
        }
        EXPECT_NE(text.find("config/config.ini"), std::string::npos) << text;
    }
    EXPECT_EQ(getSettingsManager(), nullptr);

    // A file with the mark but no entries (LF line ends) is refused as well.
    writeDiskFile(data / "config" / "config.ini", utf16(L"[Game]\nwidth=\"800\"\n"));
    stopManagers();
    startManagers();
    EXPECT_THROW(cSettingsManager(), cStringA);
}

TEST_F(Settings, DamagedWorkingCopyIsSetAsideAndTheShippedSettingsAreUsed) {
    writeDiskFile(stored, "garbage");
    start();
    unsigned width = 0;
    settings->getUnsigned(L"Graphics", L"width", width);
    EXPECT_EQ(width, 1024u);
    EXPECT_EQ(readDiskFile(stored.string() + ".damaged"), "garbage");
    EXPECT_EQ(storedDocument()->getEntries().size(), 10u);

    // A second incident keeps its copy under a name of its own: the first copy stays.
    stopManagers();
    writeDiskFile(stored, "garbage 2");
    start();
    EXPECT_EQ(readDiskFile(stored.string() + ".damaged"), "garbage");
    EXPECT_EQ(readDiskFile(stored.string() + ".damaged_2"), "garbage 2");
}

}  // namespace
