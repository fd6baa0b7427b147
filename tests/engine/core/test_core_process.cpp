// The built game as a player starts it: the window opens on the offscreen video driver, frames
// run until a close request (here SIGTERM, which SDL turns into a quit request) and the
// program ends with 0; a second start meanwhile ends at once with 0 and leaves the first alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/engine/core/test_core_env.h"

namespace fs = std::filesystem;

namespace {

const std::string GAME = RW_DIST_DIR "/restaurant";

pid_t startGame(const fs::path& root) {
    pid_t child = fork();
    if (child == 0) {
        setenv("RW_BACKEND", "sdl", 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        execl(GAME.c_str(), GAME.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

std::string gameLog(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root / "data", ec); it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->path().filename() == "game.log") {
            std::ifstream in(it->path());
            std::stringstream s;
            s << in.rdbuf();
            return s.str();
        }
    }
    return std::string();
}

// Waits for the child's exit; -1 when it does not end within the time.
int waitExit(pid_t child, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

TEST(GameProcess, RunsUntilClosedAndASecondStartEndsAtOnce) {
    if (!fs::exists(GAME)) GTEST_SKIP() << "the game is not built: " << GAME;
    TempEnvironment env;
    pid_t first = startGame(env.root());
    ASSERT_GT(first, 0);
    bool running = false;
    for (int i = 0; i < 600 && !running; ++i) {
        running = gameLog(env.root()).find("Initializing logic...") != std::string::npos;
        if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!running) {
        kill(first, SIGKILL);
        waitpid(first, nullptr, 0);
        FAIL() << "the game did not start";
    }
    std::string logBefore = gameLog(env.root());

    pid_t second = startGame(env.root());
    EXPECT_EQ(waitExit(second, 20), 0);
    // The second start created nothing: the first one's log was not emptied.
    EXPECT_EQ(gameLog(env.root()).substr(0, logBefore.size()), logBefore);

    // Still running after the second start; then a close request ends it normally.
    int status = 0;
    EXPECT_EQ(waitpid(first, &status, WNOHANG), 0);
    kill(first, SIGTERM);
    int rc = waitExit(first, 30);
    if (rc == -1) {
        kill(first, SIGKILL);
        waitpid(first, nullptr, 0);
    }
    EXPECT_EQ(rc, 0);
    EXPECT_NE(gameLog(env.root()).find("Release file manager..."), std::string::npos);
}

}  // namespace
