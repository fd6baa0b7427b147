// The fatal error report: standard error always, the log channel "call_stack" when there is a
// log manager, the message box, then the quit message; it never throws.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "tests/engine/core/test_core_env.h"

namespace {

class ErrorReportTest : public ::testing::Test {
protected:
    TempEnvironment env;

    void expectBoxThenQuit(const std::string& text) {
        ASSERT_EQ(platform::shownMessageBoxes().size(), 1u);
        EXPECT_EQ(platform::shownMessageBoxes()[0], "Error call stack:\n" + text);
        platform::Message m;
        ASSERT_TRUE(platform::peekMessage(&m));
        EXPECT_EQ(m.message, platform::MSG_QUIT);
    }
};

TEST_F(ErrorReportTest, ReportBeforeAnyLogManagerGoesToStandardError) {
    ASSERT_EQ(getLogManager(), nullptr);
    testing::internal::CaptureStderr();
    try {
        throw "File \"config/config.ini\" has not found.";
    } catch (...) {
        reportCaughtFailure("cRenderWren::cRenderWren(void *hInstance, void *hwnd)");
    }
    std::string err = testing::internal::GetCapturedStderr();
    const std::string stack = "File \"config/config.ini\" has not found.\ncRenderWren::cRenderWren(void *hInstance, void *hwnd)";
    EXPECT_EQ(getErrorCallStack(), stack);
    EXPECT_NE(err.find(stack), std::string::npos) << err;
    expectBoxThenQuit(stack);
}

TEST_F(ErrorReportTest, LongFailureTextsPassWhole) {
    std::string text(10000, 'x');
    text += "END";
    try {
        throw text.c_str();
    } catch (...) {
        reportCaughtFailure("Blank");
    }
    EXPECT_EQ(getErrorCallStack(), text + "\nBlank");
    expectBoxThenQuit(text + "\nBlank");
}

TEST_F(ErrorReportTest, ReportWritesTheCallStackChannel) {
    auto files = std::make_unique<cFileManager>(cStringA(builtDataFolder()), cStringA("kbf"));
    auto logs = std::make_unique<cLogManager>();
    reportFatalError(cStringA("line one\nline two"), cStringA("Error call stack:"));
    std::filesystem::path log = std::string(files->getCommonPath()) + "call_stack.log";
    ASSERT_TRUE(std::filesystem::exists(log));
    std::ifstream in(log);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(content.find("line one\nline two"), std::string::npos);
    expectBoxThenQuit("line one\nline two");
}

TEST_F(ErrorReportTest, UnwritableLogChannelNeitherThrowsNorLosesTheReport) {
    auto files = std::make_unique<cFileManager>(cStringA(builtDataFolder()), cStringA("kbf"));
    auto logs = std::make_unique<cLogManager>();
    // A folder where the channel's file should be: the channel cannot be opened.
    std::filesystem::create_directories(std::string(files->getCommonPath()) + "call_stack.log");
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(reportFatalError(cStringA("the failure"), cStringA("Error call stack:")));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("the failure"), std::string::npos);
    expectBoxThenQuit("the failure");
}

}  // namespace
