// The built game started as a separate process in environments that break it: a data folder
// that can never be written, and the sdl backend without any display. Each ends on its own,
// with one clear report on standard error.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "tests/engine/core/test_core_env.h"

namespace fs = std::filesystem;

namespace {

const std::string GAME = RW_DIST_DIR "/restaurant";

struct ProcessRun {
    int exitCode = -1;   // -1: still running after the time allowed (then killed)
    std::string errors;  // standard error
};

// Runs the game with the environment changed as given (an empty value removes the variable)
// and waits for its end.
ProcessRun runGame(const fs::path& root, const std::map<std::string, std::string>& changes, int seconds) {
    fs::path errorFile = root / "stderr.txt";
    pid_t child = fork();
    if (child == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        for (const auto& [name, value] : changes) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        int fd = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) dup2(fd, 2);
        execl(GAME.c_str(), GAME.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ProcessRun run;
    for (int i = 0; i < seconds * 20 && run.exitCode == -1; ++i) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (run.exitCode == -1) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::ifstream in(errorFile);
    std::stringstream text;
    text << in.rdbuf();
    run.errors = text.str();
    return run;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

TEST(GameProcessFailure, AnUnwritableDataFolderGivesOneReportAndTheGameEnds) {
    if (!fs::exists(GAME)) GTEST_SKIP() << "the game is not built: " << GAME;
    TempEnvironment env;
    ProcessRun run = runGame(env.root(),
                      {{"RW_BACKEND", "headless"}, {"SDL_VIDEODRIVER", "offscreen"}, {"XDG_DATA_HOME", "/dev/null"}}, 60);
    EXPECT_EQ(run.exitCode, 1) << run.errors;  // a failure, never reported as success
    EXPECT_EQ(count(run.errors, "Error call stack:"), 1u) << run.errors;
    EXPECT_EQ(count(run.errors, "log file."), 1u) << run.errors;
}

TEST(GameProcessFailure, TheSdlBackendWithoutADisplayStopsAtOnce) {
    if (!fs::exists(GAME)) GTEST_SKIP() << "the game is not built: " << GAME;
    TempEnvironment env;
    ProcessRun run = runGame(env.root(),
                      {{"RW_BACKEND", "sdl"}, {"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, 30);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("no display: set DISPLAY, or RW_BACKEND=headless for tests"), std::string::npos)
        << run.errors;
    // Nothing was started: no log was written.
    EXPECT_TRUE(fs::is_empty(env.root() / "data"));
}

}  // namespace
