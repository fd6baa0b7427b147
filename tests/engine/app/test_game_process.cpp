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
#include <vector>
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

// Starts the game with the environment changed as given (an empty value removes the
// variable); its standard error goes to root/stderr.txt.
pid_t startGame(const fs::path& root, const std::map<std::string, std::string>& changes) {
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
    return child;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to the time allowed for the game's end: its exit code (128 + signal), or -1 when
// it still runs.
int waitForEnd(pid_t child, int milliseconds) {
    for (int i = 0; i <= milliseconds / 50; ++i) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

// Runs the game and waits for its end (killed after the time allowed).
ProcessRun runGame(const fs::path& root, const std::map<std::string, std::string>& changes, int seconds) {
    pid_t child = startGame(root, changes);
    ProcessRun run;
    run.exitCode = waitForEnd(child, seconds * 1000);
    if (run.exitCode == -1) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    run.errors = readText(root / "stderr.txt");
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

namespace {

// A private X server (Xvfb on a free display) for the tests that need a real message box.
class XServer {
public:
    XServer() {
        int ready[2];
        if (pipe(ready) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            int null = open("/dev/null", O_WRONLY);
            if (null >= 0) dup2(null, 2);
            std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        char number[16] = {};
        ssize_t n = m_pid > 0 ? read(ready[0], number, sizeof number - 1) : 0;
        close(ready[0]);
        if (n > 0) m_display = ":" + std::string(number, static_cast<size_t>(n - (number[n - 1] == '\n' ? 1 : 0)));
    }
    ~XServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// The processes started for this test (their environment names its folder).
std::vector<pid_t> processesOf(const fs::path& root) {
    const std::string mark = "XDG_RUNTIME_DIR=" + (root / "run").string();
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string environ = readText(entry.path() / "environ");
        for (size_t at = 0; at < environ.size();) {
            size_t end = environ.find('\0', at);
            if (end == std::string::npos) end = environ.size();
            if (environ.compare(at, end - at, mark) == 0) {
                // A zombie has an empty environment; only living processes count.
                found.push_back(static_cast<pid_t>(std::stol(name)));
                break;
            }
            at = end + 1;
        }
    }
    return found;
}

bool noProcessLeftWithin(const fs::path& root, int milliseconds) {
    for (int i = 0; i <= milliseconds / 50; ++i) {
        if (processesOf(root).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The game stopped at its fatal report, with the box shown on the X server.
// The display's libraries keep a few allocations to the end; the leak check at exit would only
// slow these runs down.
std::map<std::string, std::string> onTheDisplay(const std::string& display) {
    return {{"RW_BACKEND", "sdl"}, {"SDL_VIDEODRIVER", ""}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", ""},
            {"ASAN_OPTIONS", "detect_leaks=0"}};
}

pid_t startGameWithItsBoxUp(const fs::path& root, const std::string& display) {
    fs::remove(root / "stderr.txt");
    std::map<std::string, std::string> changes = onTheDisplay(display);
    changes["XDG_DATA_HOME"] = "/dev/null";
    pid_t game = startGame(root, changes);
    for (int i = 0; i < 600 && readText(root / "stderr.txt").find("Error call stack:") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The box is a process of its own: on a busy machine it may take a while to start.
    for (int i = 0; i < 200 && processesOf(root).size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the box opens
    return game;
}

class GameProcessBox : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(GAME)) GTEST_SKIP() << "the game is not built: " << GAME;
        if (server.display().empty()) GTEST_SKIP() << "no Xvfb to show a message box on";
    }
    void TearDown() override {
        for (pid_t pid : processesOf(env.root())) kill(pid, SIGKILL);
    }
    XServer server;
    TempEnvironment env;
};

}  // namespace

// Killed with its fatal box up, the game takes the box with it, and holds nothing that keeps
// the next start out: that start opens its window and runs.
TEST_F(GameProcessBox, AKilledGameTakesItsBoxAlongAndTheNextStartRuns) {
    pid_t game = startGameWithItsBoxUp(env.root(), server.display());
    ASSERT_EQ(waitForEnd(game, 0), -1) << "the game should wait at its box: " << readText(env.root() / "stderr.txt");
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    EXPECT_TRUE(noProcessLeftWithin(env.root(), 3000)) << "the box outlived the game";

    pid_t next = startGame(env.root(), onTheDisplay(server.display()));
    int early = waitForEnd(next, 4000);
    EXPECT_EQ(early, -1) << "the next start ended at once: " << readText(env.root() / "stderr.txt");
    if (early == -1) {
        kill(next, SIGTERM);
        EXPECT_EQ(waitForEnd(next, 20000), 0) << readText(env.root() / "stderr.txt");
    }
}

// While the box is up, SIGTERM and SIGINT end the program at once, box and all, with the exit
// code of a failure.
TEST_F(GameProcessBox, SigtermAndSigintEndTheGameAndItsBoxAtOnce) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        pid_t game = startGameWithItsBoxUp(env.root(), server.display());
        ASSERT_EQ(waitForEnd(game, 0), -1) << readText(env.root() / "stderr.txt");
        kill(game, signal);
        int code = waitForEnd(game, 5000);
        if (code == -1) {
            kill(game, SIGKILL);
            waitpid(game, nullptr, 0);
        }
        EXPECT_EQ(code, 1) << readText(env.root() / "stderr.txt");
        EXPECT_TRUE(noProcessLeftWithin(env.root(), 3000)) << "the box outlived the game";
    }
}
