// The input manager over injected keyboard and mouse events: bindings, dispatch order,
// pending-call rules, motion listeners, characters, the key-state snapshot and the cursor.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Localization.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cInput.h"
#include "platform/Platform.h"
#include "platform/input/Input.h"

namespace in = platform::input;

namespace {

// What the bound callbacks saw, in order.
std::vector<std::string> g_calls;

struct Tag {
    const char* name;
};

void record(void* object) { g_calls.push_back(static_cast<Tag*>(object)->name); }
void recordOther(void* object) { g_calls.push_back(std::string(static_cast<Tag*>(object)->name) + "'"); }

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        g_calls.clear();
        input = new cInput();
        ASSERT_TRUE(input->acquire());
    }
    void TearDown() override {
        delete input;
        platform::clearMessages();
    }
    // Hands the queued MSG_CHAR messages to the manager, as the window procedure does.
    void deliverCharMessages() {
        platform::Message msg;
        while (platform::peekMessage(&msg))
            if (msg.message == platform::MSG_CHAR) input->pushChar(wchar_t(msg.wParam));
    }
    cInput* input = nullptr;
    Tag a{"a"}, b{"b"}, c{"c"};
};

TEST_F(InputTest, GetterAndSingleInstance) {
    EXPECT_EQ(getInput(), input);
    EXPECT_THROW(cInput second, const char*);
}

TEST_F(InputTest, BindingIsCalledForItsCodeOnly) {
    input->addBinding(keyPressedCode(KEY_SPACE), &record, &a);
    input->addBinding(keyReleasedCode(KEY_SPACE), &record, &b);
    input->addBinding(INPUT_LEFT_PRESSED, &record, &c);
    in::injectKey(KEY_SPACE, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"a"});
    g_calls.clear();
    input->update();  // nothing new
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(InputTest, DoubleBindingCountsOnceAndOneRemovalUnbinds) {
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    EXPECT_EQ(input->bindingCount(keyPressedCode(KEY_A)), 1u);
    in::injectKey(KEY_A, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"a"});

    input->removeBinding(keyPressedCode(KEY_A), &record, &a);
    EXPECT_EQ(input->bindingCount(keyPressedCode(KEY_A)), 0u);
    g_calls.clear();
    in::injectKey(KEY_A, true);
    input->update();
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(InputTest, NullCallbackAndCodesOutOfRangeAreIgnored) {
    input->addBinding(keyPressedCode(KEY_A), nullptr, &a);
    input->addBinding(INPUT_CODE_COUNT, &record, &a);
    input->addBinding(100000, &record, &a);
    EXPECT_EQ(input->bindingCount(keyPressedCode(KEY_A)), 0u);
    EXPECT_EQ(input->bindingCount(INPUT_CODE_COUNT), 0u);
    input->removeBinding(100000, &record, &a);  // harmless
}

TEST_F(InputTest, BindingsOfOneCodeRunInTheOrderTheyWereMade) {
    // Same callback with different objects, and different callbacks: creation order decides.
    input->addBinding(INPUT_LEFT_PRESSED, &recordOther, &c);
    input->addBinding(INPUT_LEFT_PRESSED, &record, &b);
    input->addBinding(INPUT_LEFT_PRESSED, &record, &a);
    input->addBinding(INPUT_LEFT_PRESSED, &recordOther, &c);  // already bound: keeps its place
    in::injectButton(MOUSE_LEFT, true);
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"c'", "b", "a"}));
}

TEST_F(InputTest, KeysAreDispatchedBeforeButtonsInOneFrame) {
    input->addBinding(INPUT_LEFT_PRESSED, &record, &a);
    input->addBinding(INPUT_LEFT_RELEASED, &record, &b);
    input->addBinding(keyPressedCode(KEY_ESCAPE), &record, &c);
    in::injectButton(MOUSE_LEFT, true);
    in::injectButton(MOUSE_LEFT, false);
    in::injectKey(KEY_ESCAPE, true);  // typed after the click, delivered before it
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(InputTest, PressAndReleaseInOneFrameCallBothInEventOrder) {
    input->addBinding(keyReleasedCode(KEY_Z), &record, &b);
    input->addBinding(keyPressedCode(KEY_Z), &record, &a);
    in::injectKey(KEY_Z, true);
    in::injectKey(KEY_Z, false);
    in::injectKey(KEY_Z, true);
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b", "a"}));
}

TEST_F(InputTest, ButtonCodesCoverAllButtons) {
    struct Case { uint8_t button; InputCode pressed, released; } cases[] = {
        {MOUSE_LEFT, 520, 512}, {MOUSE_RIGHT, 521, 513}, {MOUSE_MIDDLE, 522, 514},
        {MOUSE_X1, 523, 515}, {MOUSE_X2, 524, 516}, {7, 527, 519},
    };
    for (const auto& k : cases) {
        g_calls.clear();
        input->addBinding(k.pressed, &record, &a);
        input->addBinding(k.released, &record, &b);
        in::injectButton(k.button, true);
        in::injectButton(k.button, false);
        input->update();
        EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b"})) << int(k.button);
        input->clearAllBindings();
    }
}

// Cross-binding fixtures for removal during dispatch.
cInput* g_input = nullptr;
Tag g_victim{"victim"};
void removeVictim(void*) {
    g_calls.push_back("remover");
    g_input->removeBinding(keyPressedCode(KEY_B), &record, &g_victim);
}
void clearVictimCode(void*) {
    g_calls.push_back("clearer");
    g_input->clearBindings(keyPressedCode(KEY_B));
}
Tag g_late{"late"};
void addLate(void*) {
    g_calls.push_back("adder");
    g_input->addBinding(keyPressedCode(KEY_C), &record, &g_late);
}
void removeSelf(void* object) {
    g_calls.push_back("self");
    g_input->removeBinding(keyPressedCode(KEY_D), &removeSelf, object);
}

TEST_F(InputTest, RemovingABindingDuringDispatchCancelsItsPendingCalls) {
    g_input = input;
    input->addBinding(keyPressedCode(KEY_A), &removeVictim, nullptr);
    input->addBinding(keyPressedCode(KEY_B), &record, &g_victim);
    in::injectKey(KEY_A, true);
    in::injectKey(KEY_B, true);
    in::injectKey(KEY_B, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"remover"});
    EXPECT_EQ(input->bindingCount(keyPressedCode(KEY_B)), 0u);
}

TEST_F(InputTest, ClearingACodeDuringDispatchCancelsItsPendingCalls) {
    g_input = input;
    input->addBinding(keyPressedCode(KEY_A), &clearVictimCode, nullptr);
    input->addBinding(keyPressedCode(KEY_B), &record, &g_victim);
    in::injectKey(KEY_A, true);
    in::injectKey(KEY_B, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"clearer"});
}

TEST_F(InputTest, BindingsAddedDuringDispatchAnswerFromTheNextFrame) {
    g_input = input;
    input->addBinding(keyPressedCode(KEY_A), &addLate, nullptr);
    in::injectKey(KEY_A, true);
    in::injectKey(KEY_C, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"adder"});
    g_calls.clear();
    in::injectKey(KEY_C, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"late"});
}

TEST_F(InputTest, ACallbackRemovingItselfRunsOnceAndLaterEventsStillDispatch) {
    g_input = input;
    input->addBinding(keyPressedCode(KEY_D), &removeSelf, &a);
    input->addBinding(keyPressedCode(KEY_E), &record, &b);
    in::injectKey(KEY_D, true);
    in::injectKey(KEY_D, true);
    in::injectKey(KEY_E, true);
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"self", "b"}));
}

struct Motion {
    InputCode code;
    int32_t value;
    void* object;
};
std::vector<Motion> g_motion;
void recordMotion(InputCode code, int32_t value, void* object) { g_motion.push_back({code, value, object}); }

// A binding asks for the Alt state that came with its own key event, not the state at the end
// of the frame: a whole Alt+Enter in one frame is an Enter with Alt, a later Enter is not.
void recordAlt(void* object) {
    g_calls.push_back(std::string(static_cast<Tag*>(object)->name) + (g_input->isAltWithKey() ? "+alt" : ""));
}

TEST_F(InputTest, EachKeyCallSeesTheAltStateOfItsOwnEvent) {
    g_input = input;
    input->addBinding(keyPressedCode(KEY_ENTER), &recordAlt, &a);
    input->addBinding(keyReleasedCode(KEY_ENTER), &recordAlt, &b);
    input->addBinding(INPUT_LEFT_PRESSED, &recordAlt, &c);
    in::injectKey(KEY_LEFT_ALT, true);
    in::injectKey(KEY_ENTER, true);
    in::injectKey(KEY_ENTER, false);
    in::injectKey(KEY_LEFT_ALT, false);
    in::injectKey(KEY_ENTER, true);
    in::injectKey(KEY_RIGHT_ALT, true);
    in::injectButton(MOUSE_LEFT, true);
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a+alt", "b+alt", "a", "c"}));
    // Outside a key's call the answer is the Alt held now.
    EXPECT_TRUE(input->isAltWithKey());
    in::injectKey(KEY_RIGHT_ALT, false);
    in::injectKey(KEY_ENTER, false);
    input->update();
    EXPECT_FALSE(input->isAltWithKey());
    g_input = nullptr;
}

TEST_F(InputTest, MotionListenersGetThreeCallsEveryFrameEvenWithoutMotion) {
    g_motion.clear();
    input->addMotionListener(&recordMotion, &a);
    input->update();
    ASSERT_EQ(g_motion.size(), 3u);
    EXPECT_EQ(g_motion[0].code, INPUT_MOUSE_X);
    EXPECT_EQ(g_motion[1].code, INPUT_MOUSE_Y);
    EXPECT_EQ(g_motion[2].code, INPUT_MOUSE_WHEEL);
    for (const auto& m : g_motion) EXPECT_EQ(m.value, 0);

    g_motion.clear();
    in::injectMotion(5, -3);
    in::injectMotion(2, 1);
    in::injectWheel(1);
    input->update();
    ASSERT_EQ(g_motion.size(), 3u);
    EXPECT_EQ(g_motion[0].value, 7);
    EXPECT_EQ(g_motion[1].value, -2);
    EXPECT_EQ(g_motion[2].value, 120);
}

TEST_F(InputTest, ClearAllBindingsKeepsMotionListeners) {
    g_motion.clear();
    input->addMotionListener(&recordMotion, &a);
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    input->clearAllBindings();
    in::injectKey(KEY_A, true);
    input->update();
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(g_motion.size(), 3u);
    input->removeMotionListener(&recordMotion, &a);
    g_motion.clear();
    input->update();
    EXPECT_TRUE(g_motion.empty());
}

std::wstring g_chars;
void recordChar(wchar_t c, void* user) {
    g_chars.push_back(c);
    EXPECT_EQ(user, reinterpret_cast<void*>(0x1234));
}

TEST_F(InputTest, CharactersReachTheListenerInOrderOncePerUpdate) {
    g_chars.clear();
    input->setCharListener(&recordChar, reinterpret_cast<void*>(0x1234));
    input->pushChar(L'h');
    input->pushChar(wchar_t(0x0416));  // Cyrillic capital Zhe
    input->pushChar(L'i');
    input->update();
    EXPECT_EQ(g_chars, std::wstring(L"h\x0416i"));
    input->update();
    EXPECT_EQ(g_chars.size(), 3u);
}

TEST_F(InputTest, CharactersWithoutAListenerAreDiscardedAtTheNextUpdate) {
    g_chars.clear();
    input->pushChar(L'x');
    input->update();
    EXPECT_EQ(input->queuedCharCount(), 0u);
    input->setCharListener(&recordChar, reinterpret_cast<void*>(0x1234));
    input->update();
    EXPECT_TRUE(g_chars.empty());
    input->pushChar(L'y');
    input->clearCharListener();
    input->update();
    EXPECT_TRUE(g_chars.empty());
}

TEST_F(InputTest, CharacterQueueHoldsAtMost1024) {
    g_chars.clear();
    input->setCharListener(&recordChar, reinterpret_cast<void*>(0x1234));
    for (int i = 0; i < 1030; ++i) input->pushChar(wchar_t(L'a' + i % 26));
    EXPECT_EQ(input->queuedCharCount(), cInput::kCharQueueSize);
    input->update();
    ASSERT_EQ(g_chars.size(), 1024u);
    EXPECT_EQ(g_chars[1023], wchar_t(L'a' + 1023 % 26));
}

TEST_F(InputTest, ControlCharactersComeFromKeyPressesWithRepeatButBindingsIgnoreRepeats) {
    g_chars.clear();
    input->setCharListener(&recordChar, reinterpret_cast<void*>(0x1234));
    input->addBinding(keyPressedCode(KEY_BACKSPACE), &record, &a);
    in::injectKey(KEY_BACKSPACE, true);
    in::injectKey(KEY_BACKSPACE, true, /*repeat=*/true);
    in::injectKey(KEY_BACKSPACE, false);
    in::injectKey(KEY_TAB, true);
    in::injectKey(KEY_ENTER, true);
    in::injectKey(KEY_KEYPAD_ENTER, true);
    in::injectKey(KEY_ESCAPE, true);
    in::injectKey(KEY_A, true);  // letters arrive as text, not from their keys
    deliverCharMessages();
    input->update();
    EXPECT_EQ(g_chars, (std::wstring{8, 8, 9, 13, 13, 27}));
    EXPECT_EQ(g_calls, std::vector<std::string>{"a"});
}

TEST_F(InputTest, IsKeyDownAnswersFromOneSnapshotPerFrame) {
    EXPECT_FALSE(input->isKeyDown(KEY_LEFT_SHIFT));
    in::injectKey(KEY_LEFT_SHIFT, true);
    EXPECT_FALSE(input->isKeyDown(KEY_LEFT_SHIFT));  // the snapshot of this frame is taken
    input->update();
    EXPECT_TRUE(input->isKeyDown(KEY_LEFT_SHIFT));
    EXPECT_FALSE(input->isKeyDown(KEY_RIGHT_SHIFT));
    in::injectKey(KEY_LEFT_SHIFT, false);
    EXPECT_TRUE(input->isKeyDown(KEY_LEFT_SHIFT));
    input->update();
    EXPECT_FALSE(input->isKeyDown(KEY_LEFT_SHIFT));
    EXPECT_FALSE(input->isKeyDown(256));
    EXPECT_FALSE(input->isKeyDown(0xFFFFFFFFu));
}

TEST_F(InputTest, LostInputIsAFocusChangeNotAFailure) {
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    input->addBinding(INPUT_LEFT_PRESSED, &record, &b);
    g_motion.clear();
    input->addMotionListener(&recordMotion, &c);
    in::injectKey(KEY_A, true);
    in::injectButton(MOUSE_LEFT, true);
    in::injectInputLost();
    EXPECT_NO_THROW(input->update());
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(g_motion.empty());  // the mouse step is skipped in that frame
    // The devices were taken back: the next frame works.
    in::injectKey(KEY_A, true);
    in::injectButton(MOUSE_LEFT, true);
    input->update();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(g_motion.size(), 3u);
}

TEST_F(InputTest, UnacquiredDevicesBufferNothingAndTheNextUpdateAcquires) {
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    input->unacquire();
    in::injectKey(KEY_A, true);  // typed while the window is in the background
    input->update();             // takes the devices back, skips the frame
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(in::isKeyboardAcquired());
    in::injectKey(KEY_A, true);
    input->update();
    EXPECT_EQ(g_calls, std::vector<std::string>{"a"});
}

TEST_F(InputTest, FlushDiscardsCharactersAndBufferedEvents) {
    g_chars.clear();
    input->setCharListener(&recordChar, reinterpret_cast<void*>(0x1234));
    input->addBinding(keyPressedCode(KEY_A), &record, &a);
    input->pushChar(L'q');
    in::injectKey(KEY_A, true);
    input->flush();
    input->update();
    EXPECT_TRUE(g_chars.empty());
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(InputTest, KeyNames) {
    struct Case { uint32_t key; const char* name; } cases[] = {
        {1, "Esc"}, {11, "0"}, {14, "Back"}, {41, "`"}, {43, "\\"}, {56, "L Menu"}, {70, "Scrol"},
        {86, "OEM_102"}, {156, "NumPad Enter"}, {179, "NumPad ."}, {184, "R Alt"}, {199, "Home"},
        {237, "MediaSelect"},
    };
    for (const auto& k : cases) EXPECT_EQ(input->getKeyName(k.key), k.name) << k.key;
    cStringA& none = input->getKeyName(84);
    EXPECT_TRUE(none.empty());
    none = "set by caller";  // the same entry is handed out again
    EXPECT_EQ(input->getKeyName(84), "set by caller");
}

TEST_F(InputTest, MouseExclusiveSwitchesOnlyOnChange) {
    EXPECT_FALSE(input->isMouseExclusive());
    input->setMouseExclusive(true);
    input->setMouseExclusive(true);
    EXPECT_TRUE(input->isMouseExclusive());
    EXPECT_EQ(input->mouseParamChanges(), 1u);
    EXPECT_TRUE(in::isMouseAcquired());
}

TEST_F(InputTest, SystemCursorShowsWhileWantedOrForced) {
    EXPECT_FALSE(input->isSystemCursorShown());
    input->forceCursor(true);
    EXPECT_TRUE(input->isSystemCursorShown());
    input->showCursor(true);
    input->forceCursor(false);
    EXPECT_TRUE(input->isSystemCursorShown());
    input->showCursor(false);
    EXPECT_FALSE(input->isSystemCursorShown());
}

TEST_F(InputTest, CursorPositionStartsAtTheCentreAndFollowsTheMouse) {
    float x = -1, y = -1;
    input->getMousePosition(&x, &y);
    EXPECT_EQ(x, 400.0f);
    EXPECT_EQ(y, 300.0f);
    in::injectCursor(12.0f, 34.0f);
    input->update();
    input->getMousePosition(&x, &y);
    EXPECT_EQ(x, 12.0f);
    EXPECT_EQ(y, 34.0f);
    // A mapper (the renderer's letterboxing) turns window pixels into back-buffer pixels.
    in::setCoordinateMapper([](float* px, float* py) { *px = *px * 0.5f; *py = *py * 0.5f - 10.0f; });
    in::injectCursor(100.0f, 100.0f);
    input->update();
    EXPECT_EQ(input->getMouseX(), 50.0f);
    EXPECT_EQ(input->getMouseY(), 40.0f);
    in::setCoordinateMapper(nullptr);
}

// With the engine's managers: the keyboard layout is held while the manager lives and the
// hardware-cursor preference goes through the settings.
class InputWithManagers : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        // Each test has a folder of its own: CTest runs the tests of one fixture in parallel.
        root = std::filesystem::path(RW_TEST_OUTPUT_DIR) / "input-managers" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(root);
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        files = std::make_unique<cFileManager>(cStringA(std::string(RW_DIST_DIR) + "/Data"), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
        settings = std::make_unique<cSettingsManager>();
    }
    void TearDown() override {
        settings.reset();
        resources.reset();
        files.reset();
    }
    std::filesystem::path root;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
};

TEST_F(InputWithManagers, LayoutHeldForTheManagersLifeAndHardwareCursorStored) {
    int before = getKeyboardLayoutUsers();
    {
        settings->setBool(L"Graphics", L"hardware_cursor", true);
        cInput input;
        EXPECT_EQ(getKeyboardLayoutUsers(), before + 1);
        EXPECT_TRUE(input.isHardwareCursor());  // read at construction
        input.setHardwareCursor(false);
        bool stored = true;
        settings->getBool(L"Graphics", L"hardware_cursor", stored);
        EXPECT_FALSE(stored);
    }
    EXPECT_EQ(getKeyboardLayoutUsers(), before);
}

}  // namespace

TEST_F(InputWithManagers, StartAndEndStepsAreLoggedInOrder) {
    {
        cLogManager log;
        { cInput input; }
    }
    std::ifstream in(files->getCommonPath() + "game.log");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    size_t at = 0;
    for (const char* line : {"  prepare key names\n", "  unbind controls\n", "  create input device\n", "  init keyboard\n",
                             "  init mouse\n", "  set mouse params\n", "  release input device\n", "  release keyboard\n",
                             "  release mouse\n"}) {
        size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " after offset " << at << " in:\n" << text;
        at = found + 1;
    }
}
