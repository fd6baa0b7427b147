// Log channels: header and entry format on a fixed clock, truncation only at creation, texts
// of any length, failures, and the fatal report's line on the channel "call_stack".

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "tests/engine/core/test_file_env.h"

using namespace file_test;

namespace {

std::tm fixedTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        setTime(2026, 3, 7, 9, 5, 3);
    }
    void TearDown() override {
        logs.reset();
        files.reset();
        cLogChannel::setClock({});
    }
    void setTime(int y, int mo, int d, int h, int mi, int s) {
        std::tm t = fixedTime(y, mo, d, h, mi, s);
        cLogChannel::setClock([t] { return t; });
    }
    std::string logFile(const char* name) { return readDiskFile(fs::path(files->getCommonPath() + name + ".log")); }

    TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cLogManager> logs;
};

}  // namespace

TEST_F(LogTest, HeaderAndEntriesOnAFixedClock) {
    logs = std::make_unique<cLogManager>();
    cLogChannel* game = logs->getChannel(cStringA("game"), true);
    game->write("Check DirectX version...");
    setTime(2026, 12, 31, 14, 3, 27);
    game->write("  complete.\n");
    game->write("%d%% of %s", 50, "the files");
    EXPECT_EQ(logFile("game"),
              "\n--- Log started at 03/07/26 - 09:05:03 ---\n\n"
              "<9:5:3>\tCheck DirectX version...\n"
              "<14:3:27>\t  complete.\n\n"
              "<14:3:27>\t50% of the files\n");
    EXPECT_EQ(game->getPath(), files->getCommonPath() + "game.log");
}

TEST_F(LogTest, TruncationOnlyWhenTheChannelIsCreated) {
    {
        // A first run: both channels get a header and a line.
        cLogManager first;
        first.getChannel(cStringA("game"), true)->write("run one");
        first.getChannel(cStringA("call_stack"))->write("%s", "report one");
        // Asking again with truncation returns the same channel and keeps the file.
        cLogChannel* again = first.getChannel(cStringA("game"), true);
        EXPECT_EQ(again, first.getChannel(cStringA("game")));
        EXPECT_NE(logFile("game").find("run one"), std::string::npos);
        EXPECT_NE(first.getChannel(cStringA("Game")), again);   // names are case-sensitive
    }
    setTime(2026, 3, 8, 10, 0, 0);
    cLogManager second;
    second.getChannel(cStringA("game"), true)->write("run two");
    second.getChannel(cStringA("call_stack"))->write("%s", "report two");
    EXPECT_EQ(logFile("game"), "\n--- Log started at 03/08/26 - 10:00:00 ---\n\n<10:0:0>\trun two\n");
    EXPECT_EQ(logFile("call_stack"),
              "\n--- Log started at 03/07/26 - 09:05:03 ---\n\n<9:5:3>\treport one\n"
              "\n--- Log started at 03/08/26 - 10:00:00 ---\n\n<10:0:0>\treport two\n");
}

TEST_F(LogTest, TextsAreWrittenWholeAndUnchangedAsArguments) {
    logs = std::make_unique<cLogManager>();
    cLogChannel* channel = logs->getChannel(cStringA("long"), true);
    std::string big(5000, 'x');
    big += "%n%s end";
    channel->write("%s", big.c_str());
    channel->writeText(cStringA("100% raw"));
    channel->writeWide(L"%ls %d", L"wide \u00e9", 7);
    std::string text = logFile("long");
    EXPECT_NE(text.find("<9:5:3>\t" + big + "\n"), std::string::npos);
    EXPECT_NE(text.find("<9:5:3>\t100% raw\n"), std::string::npos);
    EXPECT_NE(text.find("<9:5:3>\twide \xC3\xA9 7\n"), std::string::npos);
}

TEST_F(LogTest, UnopenableFilesThrowTheirText) {
    logs = std::make_unique<cLogManager>();
    getErrorCallStack() = cStringA("earlier\n");
    std::string path = files->getCommonPath() + "no/such/folder.log";
    try {
        logs->getChannel(cStringA("no/such/folder"));
        FAIL() << "no failure";
    } catch (const cStringA& text) {
        EXPECT_EQ(text, "earlier\nUnable to open [" + path + "] log file.\n");
    }
    EXPECT_EQ(getErrorCallStack(), "earlier\n");
    // The failure is thrown once; the name then stands for a channel that stays silent.
    cLogChannel* silent = logs->getChannel(cStringA("no/such/folder"));
    ASSERT_NE(silent, nullptr);
    EXPECT_TRUE(silent->isSilent());
    EXPECT_EQ(silent->getPath(), path);
    EXPECT_NO_THROW(silent->write("dropped"));

    cLogChannel* channel = logs->getChannel(cStringA("gone"));
    fs::remove(files->getCommonPath() + "gone.log");
    fs::create_directory(files->getCommonPath() + "gone.log");   // a folder where the file was
    try {
        channel->write("x");
        FAIL() << "no failure";
    } catch (const cStringA& text) {
        std::string expected = "Unable to open [" + files->getCommonPath() + "gone.log] log file.\n";
        EXPECT_EQ(text, expected);
        EXPECT_EQ(getErrorCallStack(), expected);
    }
    // Silent from then on, even once the file could be written again.
    EXPECT_TRUE(channel->isSilent());
    fs::remove(files->getCommonPath() + "gone.log");
    EXPECT_NO_THROW(channel->write("y"));
    EXPECT_FALSE(fs::exists(files->getCommonPath() + "gone.log"));
}

TEST_F(LogTest, FatalReportWritesTheCallStackChannel) {
    EXPECT_FALSE(writeCallStackLog(cStringA("no manager yet")));
    logs = std::make_unique<cLogManager>();
    EXPECT_TRUE(writeCallStackLog(cStringA("text with 100% and\nsecond line")));
    EXPECT_EQ(logFile("call_stack"),
              "\n--- Log started at 03/07/26 - 09:05:03 ---\n\n<9:5:3>\ttext with 100% and\nsecond line\n");
}
