// The application core: start-up and release order, the window procedure and the game's hook,
// the message loop with minimizing, failures reported by the core's operations, the entry
// function and the single-instance start.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/app/cLogic.h"
#include "engine/app/cRenderWren.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cEngineSceneServices.h"
#include "engine/core/cTimer.h"
#include "game/flow/cGame.h"
#include "tests/engine/core/test_core_env.h"
#include "tests/game/flow/test_game_env.h"

namespace {

const char* const C = "  complete.\n";
const std::string CTOR_SIGNATURE = "cRenderWren::cRenderWren(void *hInstance, void *hwnd)";
const std::string DTOR_SIGNATURE = "cRenderWren::~cRenderWren()";
const std::string WNDPROC_SIGNATURE =
    "LRESULT __stdcall cRenderWren::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)";

struct LogRecorder {
    std::vector<std::string> lines;
    std::string failOn;  // a text whose write fails, standing for a broken log channel
    static void observe(const char* text, void* user) {
        auto* self = static_cast<LogRecorder*>(user);
        self->lines.push_back(text);
        if (!self->failOn.empty() && self->failOn == text) throw cStringA("log channel broken at " + self->failOn);
    }
};

std::string findFile(const std::filesystem::path& root, const std::string& name) {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec); it != std::filesystem::recursive_directory_iterator();
         it.increment(ec))
        if (it->path().filename() == name) return it->path().string();
    return std::string();
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override { setGameLogObserver(&LogRecorder::observe, &log); }
    void TearDown() override {
        core.reset();
        setGameLogObserver(nullptr, nullptr);
    }
    void start() {
        core.reset(new cRenderWren(builtDataFolder(), nullptr, nullptr));
        ASSERT_TRUE(core->isStarted()) << getErrorCallStack();
    }
    // Dispatches every waiting message, as the loop would.
    void pump() {
        platform::Message m;
        while (platform::peekMessage(&m)) {
            if (m.message == platform::MSG_QUIT) {
                quitSeen = true;
                continue;
            }
            platform::dispatchMessage(m);
        }
    }

    TempEnvironment env;
    LogRecorder log;
    std::unique_ptr<cRenderWren> core;
    bool quitSeen = false;
};

TEST_F(CoreTest, StartsAndReleasesTheManagersInOrder) {
    start();
    const std::vector<std::string> startup = {
        "Check DirectX version...",       "Initializing resource manager...", C,
        "Initializing settings manager...", C,
        "Check hardware requirements...", "Initializing graphics...",         C,
        "Initializing sound...",          C,
        "Initializing input...",          C,
        "Initializing timer...",          "  set resolution",                 "  randomize",
        "  initialize system timer parameters", C,
        "Initializing logic...",          C,
    };
    EXPECT_EQ(log.lines, startup);
    EXPECT_NE(getFileManager(), nullptr);
    EXPECT_NE(getLogManager(), nullptr);
    EXPECT_NE(getResourceManager(), nullptr);
    EXPECT_NE(getTimer(), nullptr);
    EXPECT_NE(getLogic(), nullptr);
    EXPECT_NE(getSettingsManager(), nullptr);
    EXPECT_NE(getGraphics(), nullptr);
    EXPECT_NE(getSound(), nullptr);
    EXPECT_NE(getInput(), nullptr);
    EXPECT_EQ(getSceneServices(), getEngineSceneServices());
    EXPECT_EQ(cRenderWren::core(), core.get());

    // The window: the default size, with the renderer's OpenGL device on it.
    ASSERT_NE(platform::window(), nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(platform::windowSize(&w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(getGraphics()->getWindow(), platform::window());
    EXPECT_STREQ(getGraphics()->getDevice()->getName(), "opengl");

    // The channel "game" was emptied at start and carries the steps.
    std::string gameLog = findFile(env.root() / "data", "game.log");
    ASSERT_FALSE(gameLog.empty());
    EXPECT_NE(readAll(gameLog).find("Initializing logic..."), std::string::npos);

    log.lines.clear();
    core.reset();
    const std::vector<std::string> release = {
        "Release logic...", C,
        "Release timer...", "  restore system timer parameters", C,
        "Release input...", C,
        "Release sound...", C,
        "Release graphics...", C,
        "Release settings manager...", C,
        "Release resource manager...", C,
        "Release file manager...", C,
    };
    EXPECT_EQ(log.lines, release);
    EXPECT_EQ(getLogic(), nullptr);
    EXPECT_EQ(getTimer(), nullptr);
    EXPECT_EQ(getResourceManager(), nullptr);
    EXPECT_EQ(getFileManager(), nullptr);
    EXPECT_EQ(getLogManager(), nullptr);
    EXPECT_EQ(getSettingsManager(), nullptr);
    EXPECT_EQ(getGraphics(), nullptr);
    EXPECT_EQ(getSound(), nullptr);
    EXPECT_EQ(getInput(), nullptr);
    EXPECT_EQ(platform::window(), nullptr);
    EXPECT_EQ(cRenderWren::core(), nullptr);
    EXPECT_TRUE(platform::shownMessageBoxes().empty());
}

// The hook sees every message first; clearing passOn takes the message over.
struct HookSetup {
    bool takeOver = false;
    int calls = 0;
    uint32_t lastMessage = 0;
} g_hook;

intptr_t testHook(uint32_t message, uintptr_t, intptr_t, bool* passOn) {
    ++g_hook.calls;
    g_hook.lastMessage = message;
    EXPECT_TRUE(*passOn);  // set before the call
    if (g_hook.takeOver) *passOn = false;
    return 42;
}

TEST_F(CoreTest, HookTakesOverOnlyWhenItClearsPassOn) {
    start();
    struct Case {
        bool installHook;
        bool takeOver;
        intptr_t expectedResult;
        bool expectQuit;
    } cases[] = {
        {true, true, 42, false},   // taken over: the hook's result, no handling of the core
        {true, false, 0, true},    // passed on: the core posts the quit message, hook result ignored
        {false, false, 0, true},   // no hook: the core's handling
    };
    for (const auto& c : cases) {
        g_hook = HookSetup{};
        g_hook.takeOver = c.takeOver;
        core->setMessageHook(c.installHook ? testHook : nullptr);
        EXPECT_EQ(core->getMessageHook(), c.installHook ? testHook : nullptr);
        quitSeen = false;
        EXPECT_EQ(cRenderWren::WndProc(platform::MSG_DESTROY, 0, 0), c.expectedResult);
        pump();
        EXPECT_EQ(quitSeen, c.expectQuit) << "hook " << c.installHook << " takeOver " << c.takeOver;
        EXPECT_EQ(g_hook.calls, c.installHook ? 1 : 0);
    }

    // A size message taken over does not change the core's minimized state.
    g_hook = HookSetup{};
    g_hook.takeOver = true;
    core->setMessageHook(testHook);
    cRenderWren::WndProc(platform::MSG_SIZE, platform::SIZE_STATE_MINIMIZED, 0);
    EXPECT_FALSE(core->isMinimized());
    core->setMessageHook(nullptr);
    cRenderWren::WndProc(platform::MSG_SIZE, platform::SIZE_STATE_MINIMIZED, 0);
    EXPECT_TRUE(core->isMinimized());
    cRenderWren::WndProc(platform::MSG_SIZE, platform::SIZE_STATE_MAXIMIZED, 0);
    EXPECT_FALSE(core->isMinimized());
}

TEST_F(CoreTest, WindowTakesSizeAndTitleFromTheSettings) {
    start();
    int w = 0, h = 0;
    platform::windowSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(platform::windowTitle(), "Sandwich Restaurant");
    core.reset();
    {
        // The user's stored settings shape the next start's window.
        cFileManager files(cStringA(builtDataFolder()), cStringA("kbf"));
        cLogManager logs;
        cResourceManager resources;
        cSettingsManager settings;
        settings.setUnsigned(L"Graphics", L"width", 640);
        settings.setUnsigned(L"Graphics", L"height", 480);
        settings.setWString(L"Game", L"window_title", L"Caf\u00E9 \u20AC");
    }
    start();
    platform::windowSize(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(platform::windowTitle(), "Caf\xC3\xA9 \xE2\x82\xAC");
}

// A stored size no window can have would stop every start: 800x600 is used instead, with a
// warning naming the file and the keys, and stored for the next start.
TEST_F(CoreTest, AWindowSizeNoWindowCanHaveFallsBackTo800x600AndIsStored) {
    struct Case {
        const wchar_t* width;
        const wchar_t* height;
    };
    const Case cases[] = {{L"100000", L"100000"}, {L"-1", L"0"}, {L"0", L"600"}, {L"8193", L"600"}, {L"800", L"9000"}};
    start();
    core.reset();
    for (const Case& c : cases) {
        SCOPED_TRACE(cStringW(c.width).toNarrow() + "x" + cStringW(c.height).toNarrow());
        {
            cFileManager files(cStringA(builtDataFolder()), cStringA("kbf"));
            cLogManager logs;
            cResourceManager resources;
            cSettingsManager settings;
            settings.setWString(L"Graphics", L"width", c.width);
            settings.setWString(L"Graphics", L"height", c.height);
        }
        platform::clearMessages();
        log.lines.clear();
        start();
        EXPECT_TRUE(platform::shownMessageBoxes().empty()) << getErrorCallStack();
        int w = 0, h = 0;
        platform::windowSize(&w, &h);
        EXPECT_EQ(w, 800);
        EXPECT_EQ(h, 600);
        std::string gameLog = readAll(findFile(env.root() / "data", "game.log"));
        EXPECT_NE(gameLog.find("keys width and height of section Graphics in \"$common$/config.ini\" cannot be shown"),
                  std::string::npos)
            << gameLog;
        core.reset();
        cFileManager files(cStringA(builtDataFolder()), cStringA("kbf"));
        cLogManager logs;
        cResourceManager resources;
        cSettingsManager settings;
        unsigned width = 0, height = 0;
        settings.getUnsigned(L"Graphics", L"width", width);
        settings.getUnsigned(L"Graphics", L"height", height);
        EXPECT_EQ(width, 800u);
        EXPECT_EQ(height, 600u);
    }
}

TEST_F(CoreTest, WindowMessagesReachTheInputManager) {
    start();
    cInput* input = getInput();
    ASSERT_NE(input, nullptr);
    cRenderWren::WndProc(platform::MSG_CHAR, 'a', 1);
    cRenderWren::WndProc(platform::MSG_CHAR, 0x20AC, 1);
    EXPECT_EQ(input->queuedCharCount(), 2u);
    // While the window is inactive the system cursor is forced visible over it.
    input->showCursor(false);
    cRenderWren::WndProc(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE, 0);
    cRenderWren::WndProc(platform::MSG_MOUSEMOVE, 0, 10 | (20 << 16));
    EXPECT_TRUE(input->isSystemCursorShown());
    cRenderWren::WndProc(platform::MSG_ACTIVATEAPP, 1, 0);
    cRenderWren::WndProc(platform::MSG_MOUSEMOVE, 0, 10 | (20 << 16));
    EXPECT_FALSE(input->isSystemCursorShown());
}

TEST_F(CoreTest, AltAloneAndAltCharactersAreSwallowed) {
    start();
    // Alt alone, its release and Alt+letter characters give 0 and post nothing.
    EXPECT_EQ(cRenderWren::WndProc(platform::MSG_SYSKEYDOWN, platform::WKEY_ALT, 0), 0);
    EXPECT_EQ(cRenderWren::WndProc(platform::MSG_SYSKEYUP, platform::WKEY_ALT, 0), 0);
    EXPECT_EQ(cRenderWren::WndProc(platform::MSG_SYSCHAR, 'x', 0), 0);
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(&m));
}

TEST_F(CoreTest, ActivationRestoresTheMinimizedWindow) {
    start();
    platform::minimizeWindow();
    pump();
    EXPECT_TRUE(core->isMinimized());
    cRenderWren::WndProc(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE, 0);
    pump();
    EXPECT_FALSE(platform::isMinimized());
    EXPECT_FALSE(core->isMinimized());
}

// Frames counted by the frame hook, with the test clock at each frame.
std::vector<uint32_t> g_frameTimes;
void recordFrame() {
    g_frameTimes.push_back(platform::timeMs());
    if (g_frameTimes.size() == 3) getLogic()->quit();
}

TEST_F(CoreTest, MinimizedWindowRunsNoFramesAndWakesEvery100Ms) {
    for (uintptr_t restore : {platform::SIZE_STATE_RESTORED, platform::SIZE_STATE_MAXIMIZED}) {
        start();
        g_frameTimes.clear();
        getLogic()->setFrameHook(recordFrame);
        uint32_t t0 = platform::timeMs();
        platform::postMessage(platform::MSG_SIZE, platform::SIZE_STATE_MINIMIZED);
        platform::postMessageAt(t0 + 1000, platform::MSG_SIZE, restore);
        core->process();
        // While minimized the loop slept in 100 ms steps; frames resumed after the restore.
        ASSERT_EQ(g_frameTimes.size(), 3u);
        for (uint32_t t : g_frameTimes) EXPECT_EQ(t, t0 + 1000) << "restore " << restore;
        core.reset();
    }
}

// Failures thrown into the window procedure, in each form the program throws.
int g_throwKind = 0;
intptr_t throwingHook(uint32_t, uintptr_t, intptr_t, bool*) {
    switch (g_throwKind) {
    case 0: throw "plain text";
    case 1: throw cStringA("narrow cString");
    case 2: throw std::string("standard string");
    case 3: throw L"wide text";
    case 4: throw std::wstring(L"standard wide string");
    default: throw 7;
    }
}

TEST_F(CoreTest, WindowProcedureReportsEveryKindOfFailure) {
    start();
    core->setMessageHook(throwingHook);
    struct Case {
        int kind;
        std::string expected;
    } cases[] = {
        {0, "plain text\n" + WNDPROC_SIGNATURE},
        {1, "narrow cString\n" + WNDPROC_SIGNATURE},
        {2, "standard string\n" + WNDPROC_SIGNATURE},
        {3, "wide text\n" + WNDPROC_SIGNATURE},
        {4, "standard wide string\n" + WNDPROC_SIGNATURE},
        // A failure without text: the stack as it stood, a line break and the signature.
        {5, "earlier\n" + WNDPROC_SIGNATURE},
    };
    for (const auto& c : cases) {
        getErrorCallStack() = cStringA("earlier");
        platform::clearShownMessageBoxes();
        g_throwKind = c.kind;
        quitSeen = false;
        EXPECT_EQ(cRenderWren::WndProc(platform::MSG_CHAR, 'a', 0), 0);
        EXPECT_EQ(getErrorCallStack(), c.expected);
        ASSERT_EQ(platform::shownMessageBoxes().size(), 1u);
        EXPECT_EQ(platform::shownMessageBoxes()[0], "Error call stack:\n" + c.expected);
        pump();
        EXPECT_TRUE(quitSeen) << "kind " << c.kind;
    }
    core->setMessageHook(nullptr);
}

TEST_F(CoreTest, EntryGoesStraightToShutdownAfterAStartUpFailure) {
    // A timer that already exists makes the core's timer step fail.
    auto blocker = std::make_unique<cTimer>();
    EXPECT_EQ(WinMain("", builtDataFolder()), 1);  // a failure, not a normal end
    EXPECT_EQ(getErrorCallStack(), "Object already exist.\n" + CTOR_SIGNATURE);
    ASSERT_EQ(platform::shownMessageBoxes().size(), 1u);
    // The loop never ran: the report's quit message is still waiting, and every manager that
    // was created is released again.
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(&m));
    EXPECT_EQ(m.message, platform::MSG_QUIT);
    EXPECT_EQ(getLogic(), nullptr);
    EXPECT_EQ(getFileManager(), nullptr);
    EXPECT_EQ(getLogManager(), nullptr);
    EXPECT_EQ(getGame(), nullptr);
    EXPECT_EQ(platform::window(), nullptr);
    EXPECT_EQ(getTimer(), blocker.get());
    // The report also reached the log channel "call_stack".
    std::string callStackLog = findFile(env.root() / "data", "call_stack.log");
    ASSERT_FALSE(callStackLog.empty());
    EXPECT_NE(readAll(callStackLog).find("Object already exist."), std::string::npos);
}

TEST_F(CoreTest, AFailingReleaseStepDoesNotSkipTheOthers) {
    start();
    log.failOn = "Release timer...";
    core.reset();
    // Every manager is gone, the log manager included, although one step's log line failed.
    EXPECT_EQ(getTimer(), nullptr);
    EXPECT_EQ(getResourceManager(), nullptr);
    EXPECT_EQ(getFileManager(), nullptr);
    EXPECT_EQ(getLogManager(), nullptr);
    EXPECT_EQ(getErrorCallStack(), "log channel broken at Release timer...\n" + DTOR_SIGNATURE);
    EXPECT_EQ(platform::shownMessageBoxes().size(), 1u);
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines[log.lines.size() - 2], "Release file manager...");
}

TEST_F(CoreTest, AnUnwritableLogFolderIsReportedOnceAndReleaseGoesOn) {
    setenv("XDG_DATA_HOME", "/dev/null", 1);   // "$common$" can never be made
    EXPECT_EQ(WinMain("", builtDataFolder()), 1);
    ASSERT_EQ(platform::shownMessageBoxes().size(), 1u);
    EXPECT_NE(platform::shownMessageBoxes()[0].find("game.log] log file."), std::string::npos);
    EXPECT_EQ(getErrorCallStack().find("~cRenderWren"), std::string::npos) << getErrorCallStack();
    // Every release step ran, although none of its lines reached a file.
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "Release file manager..."), log.lines.end());
    EXPECT_EQ(getFileManager(), nullptr);
    EXPECT_EQ(getLogManager(), nullptr);
}

TEST_F(CoreTest, EntryRunsTheGameUntilTheWindowCloses) {
    // During the logo (a start without a word) a close request closes the window at once.
    game_test::DataFolder data(env.root());
    platform::postMessage(platform::MSG_CLOSE);
    EXPECT_EQ(WinMain("", data.path().c_str()), 0);
    EXPECT_TRUE(platform::shownMessageBoxes().empty()) << getErrorCallStack();
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(&m));
    EXPECT_EQ(getGame(), nullptr);
    EXPECT_EQ(getLogic(), nullptr);
    EXPECT_EQ(platform::window(), nullptr);
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "Release file manager..."), log.lines.end());
}

TEST(CoreCommandLine, FirstWordOnly) {
    struct Case {
        const char* line;
        const char* word;
    } cases[] = {
        {"", ""}, {"   ", ""}, {"MINIGAME1", "MINIGAME1"}, {"  pack.qpk   second ", "pack.qpk"},
        {"\tlevel.ini\tx", "level.ini"},
    };
    for (const auto& c : cases) EXPECT_EQ(firstCommandWord(cStringA(c.line)), c.word) << "\"" << c.line << "\"";
}

TEST(CoreSingleInstance, ClassNameIsTheLowerCasedExecutableName) {
    cStringA name = buildWindowClassName();
    std::string exe = platform::executablePath();
    std::string file = exe.substr(exe.rfind('/') + 1);
    for (auto& ch : file) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(name, "Kestrelgate-" + file);
}

TEST_F(CoreTest, SecondStartRaisesTheFirstAndEndsAtOnce) {
    ASSERT_TRUE(checkSingleInstance());
    start();
    platform::minimizeWindow();
    pump();
    ASSERT_TRUE(core->isMinimized());

    std::filesystem::path secondData = env.root() / "second";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The second process: drop the copies of the first one's lock it inherited, then start.
        platform::releaseSingleInstance();
        setenv("XDG_DATA_HOME", secondData.c_str(), 1);
        int rc = WinMain("", builtDataFolder());
        bool nothingCreated = !std::filesystem::exists(secondData);
        _exit(rc == 0 && nothingCreated ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    pump();  // the first instance serves the request: its window comes back
    EXPECT_FALSE(platform::isMinimized());
    EXPECT_FALSE(core->isMinimized());
    platform::releaseSingleInstance();
}

// A damaged file of each kind that a plain start loads stops the start with one report that
// keeps the loader's text and names the file, and the program ends with 1.
TEST_F(CoreTest, EveryReportOfADamagedFileNamesTheFile) {
    struct Case {
        const char* file;
        const char* text;  // the loader's own words
        std::function<std::string(const std::string&)> damage;
    };
    auto utf16 = [](const std::string& text) {
        std::string out = "\xFF\xFE";
        for (char c : text) out += std::string{c, '\0'};
        return out;
    };
    const Case cases[] = {
        {"fonts/main.dds", "DDS: the pixel data is truncated", [](const std::string& bytes) { return bytes.substr(0, 200); }},
        {"fonts/main.rwf", "Invalid font format.", [](const std::string&) { return std::string("not a font"); }},
        {"packs/1/pack.qpk", "line 1", [&](const std::string&) { return utf16("<Pack count_levels=\"20\"><<</Pack>"); }},
        {"packs/paths/s0p0.xml", "line 1", [&](const std::string&) { return utf16("<Paths><Node></Paths>"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempEnvironment caseEnv;
        game_test::DataFolder data(caseEnv.root());
        const std::filesystem::path path = data.path() / c.file;
        ASSERT_TRUE(std::filesystem::exists(path));
        data.write(c.file, c.damage(readAll(path.string())));
        platform::clearShownMessageBoxes();
        EXPECT_EQ(WinMain("", data.path().c_str()), 1);
        ASSERT_EQ(platform::shownMessageBoxes().size(), 1u);
        std::string report = platform::shownMessageBoxes()[0];
        EXPECT_NE(report.find(c.text), std::string::npos) << report;
        for (char& ch : report) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_NE(report.find("(\"" + std::string(c.file) + "\")"), std::string::npos) << report;
    }
}

// A process that holds the lock without a window to bring forward (an old box, a copy still
// starting that failed): the second start says so on standard error and ends with 1.
TEST_F(CoreTest, ALockHeldWithoutAWindowIsReportedAndTheStartFails) {
    const std::string lockPath = platform::singleInstanceLockPath(buildWindowClassName());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        platform::releaseSingleInstance();
        int fd = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
        char done = flock(fd, LOCK_EX) == 0 ? 1 : 0;
        ssize_t ignored = write(ready[1], &done, 1);
        (void)ignored;
        pause();
        _exit(0);
    }
    char locked = 0;
    ASSERT_EQ(read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, 1);
    testing::internal::CaptureStderr();
    int rc = WinMain("", builtDataFolder());
    std::string errors = testing::internal::GetCapturedStderr();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(errors.find("Another copy of the game is running but has no window to bring to the front"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find(lockPath), std::string::npos) << errors;
    EXPECT_EQ(getFileManager(), nullptr);
}

}  // namespace
