// The raw input layer: SDL scancodes to key codes, SDL mouse events, buffering rules.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "platform/input/Input.h"
#include "platform/sdl/SdlTypes.h"

namespace in = platform::input;

namespace {

// An SDL event as the platform's event pump hands it to the input layer.
void handleSdlEvent(const SDL_Event& event) {
    platform::RawInputEvent raw;
    if (platform::sdl::toRawInputEvent(event, &raw)) in::handleRawEvent(raw);
}

class InputLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        in::open();
        ASSERT_TRUE(in::acquireKeyboard());
        ASSERT_TRUE(in::acquireMouse());
    }
    void TearDown() override {
        in::close();
        platform::clearMessages();
    }
    static SDL_Event key(SDL_Scancode code, bool down, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        e.key.repeat = repeat ? 1 : 0;
        return e;
    }
    static SDL_Event button(uint8_t sdlButton, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = sdlButton;
        return e;
    }
    static SDL_Event wheel(int y, bool flipped) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        return e;
    }
};

TEST_F(InputLayerTest, ScancodesMapToSetOneKeyCodes) {
    struct Case { SDL_Scancode sdl; uint8_t key; } cases[] = {
        {SDL_SCANCODE_ESCAPE, 1},     {SDL_SCANCODE_1, 2},         {SDL_SCANCODE_0, 11},
        {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_Q, 16},        {SDL_SCANCODE_RETURN, 28},
        {SDL_SCANCODE_LCTRL, 29},     {SDL_SCANCODE_A, 30},        {SDL_SCANCODE_GRAVE, 41},
        {SDL_SCANCODE_LSHIFT, 42},    {SDL_SCANCODE_BACKSLASH, 43}, {SDL_SCANCODE_Z, 44},
        {SDL_SCANCODE_M, 50},         {SDL_SCANCODE_SLASH, 53},    {SDL_SCANCODE_RSHIFT, 54},
        {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_LALT, 56},   {SDL_SCANCODE_SPACE, 57},
        {SDL_SCANCODE_F1, 59},        {SDL_SCANCODE_F10, 68},      {SDL_SCANCODE_NUMLOCKCLEAR, 69},
        {SDL_SCANCODE_KP_7, 71},      {SDL_SCANCODE_KP_PERIOD, 83}, {SDL_SCANCODE_NONUSBACKSLASH, 86},
        {SDL_SCANCODE_F11, 87},       {SDL_SCANCODE_F12, 88},      {SDL_SCANCODE_F13, 100},
        {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157},   {SDL_SCANCODE_KP_DIVIDE, 181},
        {SDL_SCANCODE_PRINTSCREEN, 183}, {SDL_SCANCODE_RALT, 184}, {SDL_SCANCODE_PAUSE, 197},
        {SDL_SCANCODE_HOME, 199},     {SDL_SCANCODE_UP, 200},      {SDL_SCANCODE_PAGEUP, 201},
        {SDL_SCANCODE_LEFT, 203},     {SDL_SCANCODE_RIGHT, 205},   {SDL_SCANCODE_END, 207},
        {SDL_SCANCODE_DOWN, 208},     {SDL_SCANCODE_PAGEDOWN, 209}, {SDL_SCANCODE_INSERT, 210},
        {SDL_SCANCODE_DELETE, 211},   {SDL_SCANCODE_LGUI, 219},    {SDL_SCANCODE_RGUI, 220},
        {SDL_SCANCODE_APPLICATION, 221}, {SDL_SCANCODE_AUDIOMUTE, 160}, {SDL_SCANCODE_VOLUMEUP, 176},
        {SDL_SCANCODE_UNKNOWN, 0},    {SDL_SCANCODE_F24, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(in::keyFromScancode(c.sdl), c.key) << SDL_GetScancodeName(c.sdl);
    EXPECT_EQ(in::keyFromScancode(-1), 0);
    EXPECT_EQ(in::keyFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST_F(InputLayerTest, ScancodeTableGivesEveryKeyCodeAtMostOneMeaning) {
    // Letters and digits are distinct codes; no two different letters share one.
    std::vector<int> seen(256, -1);
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_0; ++sc) {
        uint8_t k = in::keyFromScancode(sc);
        ASSERT_NE(k, 0) << sc;
        EXPECT_EQ(seen[k], -1) << "code " << int(k) << " used twice";
        seen[k] = sc;
    }
}

TEST_F(InputLayerTest, SdlKeyEventsAreBufferedWithoutRepeats) {
    handleSdlEvent(key(SDL_SCANCODE_W, true));
    handleSdlEvent(key(SDL_SCANCODE_W, true, true));
    handleSdlEvent(key(SDL_SCANCODE_W, false));
    std::vector<in::KeyEvent> events;
    EXPECT_EQ(in::readKeyboard(events), in::ReadResult::Ok);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].key, 17);
    EXPECT_TRUE(events[0].pressed);
    EXPECT_FALSE(events[1].pressed);
    // SDL key events post no characters here: the platform's translation does that.
    platform::Message msg;
    EXPECT_FALSE(platform::peekMessage(&msg));
}

TEST_F(InputLayerTest, SdlButtonsMapLeftRightMiddleX1X2) {
    const uint8_t sdl[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1, SDL_BUTTON_X2};
    for (uint8_t b : sdl) handleSdlEvent(button(b, true));
    SDL_Event touch = button(SDL_BUTTON_LEFT, true);
    touch.button.which = SDL_TOUCH_MOUSEID;  // synthesized from touches: not the mouse
    handleSdlEvent(touch);
    std::vector<in::ButtonEvent> events;
    EXPECT_EQ(in::readButtons(events), in::ReadResult::Ok);
    ASSERT_EQ(events.size(), 5u);
    for (uint8_t i = 0; i < 5; ++i) EXPECT_EQ(events[i].button, i);
}

TEST_F(InputLayerTest, WheelIs120PerNotchPositiveAwayFromTheUser) {
    struct Case { int y; bool flipped; int32_t expected; } cases[] = {
        {1, false, 120}, {-1, false, -120}, {3, false, 360}, {1, true, -120}, {-2, true, 240},
    };
    for (const auto& c : cases) {
        handleSdlEvent(wheel(c.y, c.flipped));
        in::MouseState state;
        ASSERT_EQ(in::readMouseState(state), in::ReadResult::Ok);
        EXPECT_EQ(state.wheel, c.expected) << c.y << (c.flipped ? " flipped" : "");
    }
}

TEST_F(InputLayerTest, MotionIsRelativeAndTheCursorAbsolute) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 100;
    e.motion.y = 50;
    e.motion.xrel = 4;
    e.motion.yrel = -6;
    handleSdlEvent(e);
    e.motion.x = 103;
    e.motion.xrel = 3;
    e.motion.yrel = 0;
    handleSdlEvent(e);
    in::MouseState state;
    ASSERT_EQ(in::readMouseState(state), in::ReadResult::Ok);
    EXPECT_EQ(state.dx, 7);
    EXPECT_EQ(state.dy, -6);
    float x = 0, y = 0;
    ASSERT_TRUE(in::cursorPosition(&x, &y));
    EXPECT_EQ(x, 103.0f);
    EXPECT_EQ(y, 50.0f);
    ASSERT_EQ(in::readMouseState(state), in::ReadResult::Ok);
    EXPECT_EQ(state.dx, 0);  // taken by the previous read
}

TEST_F(InputLayerTest, AFullBufferDropsLaterEventsAndReportsOverflowOnce) {
    for (size_t i = 0; i < in::kBufferSize + 10; ++i) in::injectKey(KEY_A, (i % 2) == 0);
    std::vector<in::KeyEvent> events;
    EXPECT_EQ(in::readKeyboard(events), in::ReadResult::BufferOverflow);
    EXPECT_EQ(events.size(), in::kBufferSize);
    EXPECT_TRUE(events.front().pressed);
    events.clear();
    EXPECT_EQ(in::readKeyboard(events), in::ReadResult::Ok);
    EXPECT_TRUE(events.empty());
}

TEST_F(InputLayerTest, UnacquiredDevicesReadNothingAndTheKeyStateIsEmpty) {
    in::injectKey(KEY_Q, true);
    in::unacquireKeyboard();
    in::unacquireMouse();
    in::injectButton(MOUSE_LEFT, true);
    std::vector<in::KeyEvent> keys;
    std::vector<in::ButtonEvent> buttons;
    EXPECT_EQ(in::readKeyboard(keys), in::ReadResult::NotAcquired);
    EXPECT_EQ(in::readButtons(buttons), in::ReadResult::NotAcquired);
    uint8_t state[256];
    std::fill(std::begin(state), std::end(state), 0xFF);
    EXPECT_EQ(in::readKeyState(state), in::ReadResult::NotAcquired);
    EXPECT_EQ(state[KEY_Q], 0);
    // Acquired again, the held key shows; the event buffered before was dropped on unacquire.
    ASSERT_TRUE(in::acquireKeyboard());
    EXPECT_EQ(in::readKeyState(state), in::ReadResult::Ok);
    EXPECT_EQ(state[KEY_Q], 0x80);
    EXPECT_EQ(in::readKeyboard(keys), in::ReadResult::Ok);
    EXPECT_TRUE(keys.empty());
}

TEST_F(InputLayerTest, InjectedControlKeysPostTheirCharactersInOrder) {
    in::injectKey(KEY_ESCAPE, true);
    in::injectKey(KEY_TAB, true, true);
    in::injectKey(KEY_TAB, false);
    in::injectKey(KEY_F1, true);
    std::vector<uintptr_t> chars;
    platform::Message msg;
    while (platform::peekMessage(&msg))
        if (msg.message == platform::MSG_CHAR) chars.push_back(msg.wParam);
    EXPECT_EQ(chars, (std::vector<uintptr_t>{27, 9}));
}

}  // namespace
