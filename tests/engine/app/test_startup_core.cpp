// The core's start with damaged configuration: a clear fatal report, never a crash.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/core/ErrorCallStack.h"
#include "engine/app/cRenderWren.h"

#include "platform/Platform.h"

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/lsan_interface.h>)
#include <sanitizer/lsan_interface.h>
using DriverAllocations = __lsan::ScopedDisabler;  // the OpenGL driver keeps a few allocations
#else
struct DriverAllocations {};
#endif

namespace {

namespace fs = std::filesystem;

class DamagedStart : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rw-damaged-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        ::setenv("XDG_DATA_HOME", (root / "xdg-data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "xdg-config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        platform::clearShownMessageBoxes();
        getErrorCallStack() = cStringA();
        data = root / "Data";
        fs::create_directories(data);
        fs::copy(fs::path(RW_DIST_DIR) / "Data" / "config", data / "config", fs::copy_options::recursive);
    }
    void TearDown() override {
        core.reset();
        platform::clearMessages();
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    void corrupt(const fs::path& file, const std::string& bytes) {
        fs::remove(file);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }

    fs::path root, data;
    std::unique_ptr<cRenderWren> core;
    DriverAllocations ignored;
};

TEST_F(DamagedStart, CorruptShippedSettingsGiveTheFatalReportNamingTheFile) {
    corrupt(data / "config" / "config.ini", "[Graphics]\r\nwidth=\"800\"\r\n");  // not UTF-16
    core.reset(new cRenderWren(data.c_str(), nullptr, nullptr));
    EXPECT_FALSE(core->isStarted());
    EXPECT_NE(getErrorCallStack().find("config/config.ini"), std::string::npos) << getErrorCallStack();
    ASSERT_FALSE(platform::shownMessageBoxes().empty());
    EXPECT_NE(platform::shownMessageBoxes().back().find("config/config.ini"), std::string::npos);
}

TEST_F(DamagedStart, DamagedWorkingSettingsFallBackToTheShippedOnes) {
    {
        core.reset(new cRenderWren(data.c_str(), nullptr, nullptr));
        ASSERT_TRUE(core->isStarted()) << getErrorCallStack();
        core.reset();
    }
    fs::path stored = root / "xdg-data" / "sandwich-restaurant" / "config.ini";
    ASSERT_TRUE(fs::exists(stored));
    corrupt(stored, std::string("\xFF\xFE[\0", 4));
    core.reset(new cRenderWren(data.c_str(), nullptr, nullptr));
    EXPECT_TRUE(core->isStarted()) << getErrorCallStack();
    int w = 0, h = 0;
    platform::windowSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
}

}  // namespace
