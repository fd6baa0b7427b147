// The platform layer, mostly on the headless backend: the message queue and the default window
// procedure, SDL events turned into messages, the window, the clocks and the single-instance
// lock between two processes.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/device/Device.h"
#include "platform/sdl/SdlTypes.h"

namespace {

using namespace platform;

std::vector<Message> g_received;
intptr_t recordingProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    g_received.push_back(Message{message, wParam, lParam});
    return 5;
}

std::vector<Message> drain() {
    std::vector<Message> out;
    Message m;
    while (peekMessage(&m)) out.push_back(m);
    return out;
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "rw-platform-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        setBackend(Backend::Headless);
        clearMessages();
        clearShownMessageBoxes();
        setTestClock(0);
        g_received.clear();
    }
    void TearDown() override {
        destroyWindow();
        releaseSingleInstance();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    void openWindow() { createWindow("test window", 800, 600, recordingProc); }

    std::filesystem::path root;
};

TEST_F(PlatformTest, QueueIsFirstInFirstOut) {
    postMessage(MSG_CHAR, 'a', 1);
    postQuitMessage(3);
    postMessage(MSG_KEYDOWN, WKEY_ESCAPE);
    auto got = drain();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, MSG_CHAR);
    EXPECT_EQ(got[0].wParam, static_cast<uintptr_t>('a'));
    EXPECT_EQ(got[1].message, MSG_QUIT);
    EXPECT_EQ(got[1].wParam, 3u);
    EXPECT_EQ(got[2].message, MSG_KEYDOWN);
    // Without a window nothing receives messages.
    EXPECT_EQ(dispatchMessage(Message{MSG_CHAR, 'x', 0}), 0);
}

TEST_F(PlatformTest, TimedMessagesWaitForTheTestClock) {
    postMessageAt(300, MSG_SIZE, SIZE_STATE_RESTORED);
    postMessageAt(200, MSG_CHAR, 'b');
    EXPECT_TRUE(drain().empty());
    sleepMs(250);
    EXPECT_EQ(timeMs(), 250u);
    auto got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_CHAR);
    advanceTestClock(50);
    got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_SIZE);
}

TEST_F(PlatformTest, DefaultProcedureClosesMinimizesAndRestores) {
    openWindow();
    // A close request destroys the window: the procedure receives the destroy message at once.
    defWindowProc(MSG_CLOSE, 0, 0);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, MSG_DESTROY);

    defWindowProc(MSG_SYSCOMMAND, SYSCMD_MINIMIZE, 0);
    EXPECT_TRUE(isMinimized());
    auto got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_SIZE);
    EXPECT_EQ(got[0].wParam, SIZE_STATE_MINIMIZED);

    defWindowProc(MSG_SYSCOMMAND, SYSCMD_RESTORE, 0);
    EXPECT_FALSE(isMinimized());
    got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, SIZE_STATE_RESTORED);

    defWindowProc(MSG_SYSCOMMAND, SYSCMD_CLOSE, 0);
    got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_CLOSE);

    // sendMessage reaches the procedure at once and returns its result.
    EXPECT_EQ(sendMessage(MSG_CHAR, 'z'), 5);
}

TEST_F(PlatformTest, WindowHasTheClientSizeAskedFor) {
    createWindow("sized", 640, 480, recordingProc);
    ASSERT_TRUE(hasWindow());
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl::windowOf(window()), &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl::windowOf(window())), "sized");
    EXPECT_EQ(windowTitle(), "sized");
    destroyWindow();
    EXPECT_FALSE(hasWindow());
    for (auto size : {std::pair{0, 600}, std::pair{800, -1}}) {
        try {
            createWindow("bad", size.first, size.second, recordingProc);
            FAIL() << "a window of a bad size was made";
        } catch (const std::string& text) {
            EXPECT_NE(text.find("Invalid window size"), std::string::npos);
        }
    }
}

TEST_F(PlatformTest, AWindowWaitsForTheScreenWhenAskedOnlyOnTheSdlBackend) {
    struct Case {
        Backend backend;
        bool vsync;
        int interval;
    } cases[] = {{Backend::Sdl, true, 1}, {Backend::Sdl, false, 0}, {Backend::Headless, true, 0}};
    setenv("SDL_VIDEODRIVER", "offscreen", 1);   // the sdl backend takes it when named
    for (const Case& c : cases) {
        setBackend(c.backend);
        try {
            openWindow();
        } catch (const std::string& text) {
            FAIL() << text;
        }
        PresentParams params;
        params.width = 64;
        params.height = 48;
        params.windowed = true;
        params.vsync = c.vsync;
        int32_t result = DEV_OK;
        auto device = createGlWindowDevice(window(), params, &result);
        ASSERT_NE(device, nullptr) << result;
        EXPECT_EQ(SDL_GL_GetSwapInterval(), c.interval) << "vsync " << c.vsync;
        // A reset applies the new choice.
        params.vsync = !c.vsync;
        ASSERT_EQ(device->reset(params), DEV_OK);
        EXPECT_EQ(SDL_GL_GetSwapInterval(), c.backend == Backend::Sdl && !c.vsync ? 1 : 0);
        device.reset();
        destroyWindow();
    }
}

struct RawLog {
    std::vector<RawInputEvent::Type> types;
    std::vector<bool> alts;
};
void rawListener(const RawInputEvent& e, void* user) {
    static_cast<RawLog*>(user)->types.push_back(e.type);
    static_cast<RawLog*>(user)->alts.push_back(e.alt);
}

void pushKey(uint32_t type, SDL_Keycode key, uint16_t mod, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

TEST_F(PlatformTest, KeyEventsBecomeKeyMessages) {
    openWindow();
    drain();
    RawLog raw;
    setRawEventListener(rawListener, &raw);
    struct Case {
        uint32_t type;
        SDL_Keycode key;
        uint16_t mod;
        bool repeat;
        std::vector<Message> expected;
    } cases[] = {
        {SDL_KEYDOWN, SDLK_a, KMOD_NONE, false, {{MSG_KEYDOWN, 'A', 1}}},
        {SDL_KEYUP, SDLK_a, KMOD_NONE, false, {{MSG_KEYUP, 'A', 1 | (intptr_t(3) << 30)}}},
        {SDL_KEYDOWN, SDLK_LALT, KMOD_LALT, false, {{MSG_SYSKEYDOWN, WKEY_ALT, 1}}},
        {SDL_KEYDOWN, SDLK_F4, KMOD_LALT, false, {{MSG_CLOSE, 0, 0}}},
        {SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT, false, {{MSG_SYSKEYDOWN, WKEY_RETURN, 1}}},
        {SDL_KEYDOWN, SDLK_x, KMOD_LALT, false, {{MSG_SYSKEYDOWN, 'X', 1}}},
        // Control characters come from their keys, repeats included.
        {SDL_KEYDOWN, SDLK_BACKSPACE, KMOD_NONE, true,
         {{MSG_KEYDOWN, WKEY_BACK, 1 | (intptr_t(1) << 30)}, {MSG_CHAR, 8, 1 | (intptr_t(1) << 30)}}},
        {SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE, false, {{MSG_KEYDOWN, WKEY_ESCAPE, 1}, {MSG_CHAR, 27, 1}}},
        {SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_NONE, false, {{MSG_KEYDOWN, WKEY_RETURN, 1}, {MSG_CHAR, 13, 1}}},
        {SDL_KEYDOWN, SDLK_F1, KMOD_NONE, false, {{MSG_KEYDOWN, WKEY_F1, 1}}},
    };
    for (const auto& c : cases) {
        pushKey(c.type, c.key, c.mod, c.repeat);
        auto got = drain();
        ASSERT_EQ(got.size(), c.expected.size()) << "key " << c.key;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].message, c.expected[i].message) << "key " << c.key;
            EXPECT_EQ(got[i].wParam, c.expected[i].wParam) << "key " << c.key;
            EXPECT_EQ(got[i].lParam, c.expected[i].lParam) << "key " << c.key;
        }
    }
    ASSERT_EQ(raw.types.size(), std::size(cases));
    // The raw events carry the system's Alt state with each key.
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(raw.alts[i], (cases[i].mod & KMOD_ALT) != 0) << "key " << cases[i].key;
    setRawEventListener(nullptr, nullptr);
}

TEST_F(PlatformTest, TextMouseAndQuitEvents) {
    openWindow();
    drain();
    RawLog raw;
    setRawEventListener(rawListener, &raw);

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // a é € and an emoji
    SDL_PushEvent(&text);
    std::vector<uintptr_t> units;
    for (const auto& m : drain()) {
        EXPECT_EQ(m.message, MSG_CHAR);
        units.push_back(m.wParam);
    }
    EXPECT_EQ(units, (std::vector<uintptr_t>{'a', 0xE9, 0x20AC, 0xD83D, 0xDE00}));

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 123;
    motion.motion.y = 456;
    SDL_PushEvent(&motion);
    auto got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_MOUSEMOVE);
    EXPECT_EQ(got[0].lParam, 123 | (456 << 16));

    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    SDL_PushEvent(&button);
    EXPECT_TRUE(drain().empty());  // only the input layer sees buttons

    // Text reaches the input layer as character messages only.
    EXPECT_EQ(raw.types, (std::vector<RawInputEvent::Type>{RawInputEvent::MOTION, RawInputEvent::BUTTON}));
    setRawEventListener(nullptr, nullptr);

    // A quit request of the system (a signal) destroys the window: no question is asked.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    got = drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_DESTROY);
}

TEST_F(PlatformTest, HeadlessClockMovesOnlyWhenTold) {
    EXPECT_EQ(timeMs(), 0u);
    sleepMs(100);
    advanceTestClock(5);
    EXPECT_EQ(timeMs(), 105u);
    setTestClock(0xFFFFFFFFu);
    advanceTestClock(2);
    EXPECT_EQ(timeMs(), 1u);  // wraps like the system clock
}

TEST_F(PlatformTest, HeadlessDateAndCycleCounterFollowTheTestClock) {
    setTestClock(0);
    std::tm t = localTime();
    EXPECT_EQ(t.tm_year, 126);
    EXPECT_EQ(t.tm_mon, 0);
    EXPECT_EQ(t.tm_mday, 1);
    EXPECT_EQ(t.tm_hour, 12);
    EXPECT_EQ(t.tm_min, 0);
    EXPECT_EQ(readCycleCounter(), 0u);
    setTestClock(36u * 3600 * 1000 + 61500);   // a day and a half, a minute and a second later
    t = localTime();
    EXPECT_EQ(t.tm_mday, 3);
    EXPECT_EQ(t.tm_hour, 0);
    EXPECT_EQ(t.tm_min, 1);
    EXPECT_EQ(t.tm_sec, 1);
    EXPECT_EQ(readCycleCounter(), (36ull * 3600 * 1000 + 61500) * 1000000ull);
}

TEST_F(PlatformTest, MessageBoxesAreRecorded) {
    showMessageBox("Error call stack:", "text");
    ASSERT_EQ(shownMessageBoxes().size(), 1u);
    EXPECT_EQ(shownMessageBoxes()[0], "Error call stack:\ntext");
}

TEST_F(PlatformTest, ExecutablePathAndFolder) {
    std::string path = executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "test_platform");
    EXPECT_EQ(executableDir(), path.substr(0, path.rfind('/') + 1));
}

TEST_F(PlatformTest, SecondHolderOfTheLockAsksTheFirstToComeBack) {
    EXPECT_EQ(singleInstanceLockPath("Kestrelgate-x"), (root / "Kestrelgate-x").string());
    ASSERT_TRUE(acquireSingleInstance("Kestrelgate-x"));
    openWindow();
    minimizeWindow();
    drain();
    ASSERT_TRUE(isMinimized());

    auto runSecond = [](const char* name) {
        pid_t child = fork();
        if (child == 0) {
            releaseSingleInstance();  // the inherited copies, not the parent's lock
            _exit(acquireSingleInstance(name) ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(runSecond("Kestrelgate-x"), 0);  // refused: another instance runs
    auto got = drain();                        // the request is served while pumping
    EXPECT_FALSE(isMinimized());
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, MSG_SIZE);
    EXPECT_EQ(got[0].wParam, SIZE_STATE_RESTORED);

    EXPECT_EQ(runSecond("Kestrelgate-y"), 1);  // another name is another program

    // Once released, the lock can be taken again.
    releaseSingleInstance();
    EXPECT_EQ(runSecond("Kestrelgate-x"), 1);
}

}  // namespace
