#pragma once
// A test's private world: XDG folders in a fresh temporary folder (never the real home), the
// headless backend with an empty message queue, no recorded message boxes and the test clock
// at 0, and an empty error call stack.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "engine/core/ErrorCallStack.h"
#include "platform/Platform.h"

class TempEnvironment {
public:
    TempEnvironment() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rw-core-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made) throw std::string("mkdtemp failed");
        m_root = made;
        for (const char* sub : {"data", "config", "run"}) std::filesystem::create_directories(m_root / sub);
        setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        platform::clearShownMessageBoxes();
        platform::setTestClock(0);
        getErrorCallStack() = cStringA();
    }
    ~TempEnvironment() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

// The built Data folder of this build.
inline const char* builtDataFolder() { return RW_DIST_DIR "/Data"; }
