#include "engine/media/cInput.h"


#include <algorithm>

#include "engine/core/Localization.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "platform/Platform.h"
#include "platform/input/Input.h"

namespace in = platform::input;

cInput* getInput() { return cInput::instance(); }

namespace {

void logGame(const char* text) { logText("game", cStringA(text)); }

// Whether a device's reading this frame may be used. Lost or not yet acquired (focus change):
// take the device back and skip this frame; a full buffer still gives what it holds.
bool readable(in::ReadResult result, bool (*reacquire)()) {
    switch (result) {
        case in::ReadResult::InputLost:
        case in::ReadResult::NotAcquired:
            reacquire();
            return false;
        case in::ReadResult::Ok:
        case in::ReadResult::BufferOverflow:
            break;
    }
    return true;
}

// Window pixels -> back-buffer pixels through the renderer (which letterboxes the back
// buffer in a larger window). Without a renderer window the coordinates stay as they are.
void mapThroughGraphics(float* x, float* y) {
    cGraphics* graphics = getGraphics();
    if (!graphics || !graphics->getWindow()) return;
    int wx = 0, wy = 0;
    platform::windowPosition(&wx, &wy);
    ScreenPoint p;
    p.x = wx + int32_t(*x);
    p.y = wy + int32_t(*y);
    graphics->screenToClient(&p);
    *x = float(p.x);
    *y = float(p.y);
}

// The keyboard layout (the language file) is taken while a resource manager exists to read it.
bool g_layoutAcquired = false;

}  // namespace

cInput::cInput(platform::Window*) {
    if (getResourceManager()) {
        acquireKeyboardLayout();
        g_layoutAcquired = true;
    }
    logGame("  prepare key names");
    prepareKeyNames();
    logGame("  unbind controls");
    clearAllBindings();
    logGame("  create input device");
    in::open();
    in::setCoordinateMapper(&mapThroughGraphics);
    logGame("  init keyboard");
    logGame("  init mouse");
    logGame("  set mouse params");
    unsigned width = 800, height = 600;
    backBufferSize(&width, &height);
    m_mouseX = float(width / 2);
    m_mouseY = float(height / 2);
    readSettings();
    // The devices stay open; only the step that made them is over.
    logGame("  release input device");
    // The system cursor stays hidden until it is wanted or forced.
    platform::showSystemCursor(false);
}

cInput::~cInput() {
    try {
        logGame("  release keyboard");
        logGame("  release mouse");
    } catch (...) {
    }
    if (m_cursorShown) platform::showSystemCursor(false);
    in::setCoordinateMapper(nullptr);
    in::close();
    if (g_layoutAcquired) {
        g_layoutAcquired = false;
        releaseKeyboardLayout();
    }
}

void cInput::addBinding(InputCode code, InputCallback callback, void* object) {
    if (!callback || code >= INPUT_CODE_COUNT) return;
    auto& set = m_bindings[code];
    Binding b{code, callback, object, 0};
    if (std::find(set.begin(), set.end(), b) != set.end()) return;
    b.serial = m_nextSerial++;
    set.push_back(b);
}

void cInput::removeBinding(InputCode code, InputCallback callback, void* object) {
    Binding b{code, callback, object, 0};
    if (callback && code < INPUT_CODE_COUNT) {
        auto& set = m_bindings[code];
        set.erase(std::remove(set.begin(), set.end(), b), set.end());
    }
    m_pending.erase(std::remove(m_pending.begin(), m_pending.end(), b), m_pending.end());
}

void cInput::clearBindings(InputCode code) {
    if (code < INPUT_CODE_COUNT) m_bindings[code].clear();
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), [code](const Binding& p) { return p.code == code; }),
                    m_pending.end());
}

void cInput::clearAllBindings() {
    for (auto& set : m_bindings) set.clear();
    m_pending.clear();
}

void cInput::setMouseParams() {
    // Back to the shared mouse; the exclusive flag is left as it is.
    in::unacquireMouse();
    platform::setRelativeMouseMode(false);
    in::acquireMouse();
}

void cInput::setCharListener(CharCallback callback, void* user) {
    m_charListener = callback;
    m_charUser = user;
}

void cInput::clearCharListener() {
    m_charListener = nullptr;
    m_charUser = nullptr;
}

void cInput::addMotionListener(MotionCallback callback, void* object) {
    if (!callback) return;
    for (const auto& l : m_motionListeners)
        if (l.callback == callback && l.object == object) return;
    m_motionListeners.push_back({callback, object, m_nextSerial++});
}

void cInput::removeMotionListener(MotionCallback callback, void* object) {
    m_motionListeners.erase(std::remove_if(m_motionListeners.begin(), m_motionListeners.end(),
                                           [&](const MotionListener& l) { return l.callback == callback && l.object == object; }),
                            m_motionListeners.end());
}

void cInput::pushChar(wchar_t character) {
    activateKeyboardLayout();
    if (m_charCount < kCharQueueSize) m_chars[m_charCount++] = character;
}

void cInput::queueBindings(InputCode code, bool withAlt) {
    if (code >= INPUT_CODE_COUNT) return;
    for (const Binding& b : m_bindings[code]) {
        m_pending.push_back(b);
        m_pending.back().withAlt = withAlt;
    }
}

void cInput::collectKeyboard() {
    m_keyEvents.clear();
    if (!readable(in::readKeyboard(m_keyEvents), &in::acquireKeyboard)) return;
    for (const auto& e : m_keyEvents) queueBindings(e.pressed ? keyPressedCode(e.key) : keyReleasedCode(e.key), e.alt);
}

void cInput::collectButtons() {
    m_buttonEvents.clear();
    if (!readable(in::readButtons(m_buttonEvents), &in::acquireMouse)) return;
    for (const auto& e : m_buttonEvents) queueBindings(e.pressed ? buttonPressedCode(e.button) : buttonReleasedCode(e.button));
}

void cInput::readMouse() {
    in::MouseState motion;
    if (!readable(in::readMouseState(motion), &in::acquireMouse)) return;
    float x, y;
    if (in::cursorPosition(&x, &y)) {
        m_mouseX = x;
        m_mouseY = y;
    }
    // A listener may add or remove listeners, and may delete objects that listen: walk a copy,
    // and call no listener that has been removed meanwhile (its object may be gone).
    m_motionCalls.assign(m_motionListeners.begin(), m_motionListeners.end());
    const std::pair<InputCode, int32_t> axes[3] = {
        {INPUT_MOUSE_X, motion.dx}, {INPUT_MOUSE_Y, motion.dy}, {INPUT_MOUSE_WHEEL, motion.wheel}};
    for (const auto& l : m_motionCalls) {
        for (const auto& [code, value] : axes) {
            bool listening = std::any_of(m_motionListeners.begin(), m_motionListeners.end(),
                                         [&](const MotionListener& m) { return m.serial == l.serial; });
            if (!listening) break;
            l.callback(code, value, l.object);
        }
    }
}

void cInput::update() {
    m_pending.clear();

    // Characters typed since the last frame; a listener may replace itself meanwhile.
    size_t count = m_charCount;
    wchar_t chars[kCharQueueSize];
    std::copy(m_chars, m_chars + count, chars);
    m_charCount = 0;
    activateKeyboardLayout();
    for (size_t i = 0; i < count && m_charListener; ++i) m_charListener(chars[i], m_charUser);

    collectKeyboard();
    collectButtons();
    readMouse();

    while (!m_pending.empty()) {
        Binding call = m_pending.front();
        {
            // Restored also when the call throws or runs a nested update (a loading screen).
            struct Restore {
                const Binding*& slot;
                const Binding* saved;
                ~Restore() { slot = saved; }
            } restore{m_calling, m_calling};
            m_calling = &call;
            call.callback(call.object);
        }
        if (!m_pending.empty() && m_pending.front() == call) m_pending.erase(m_pending.begin());
    }
    m_pending.clear();
    m_keyStateTaken = false;
}

void cInput::flush() {
    m_charCount = 0;
    in::flush();
}

bool cInput::isKeyDown(uint32_t key) {
    if (!m_keyStateTaken) {
        in::readKeyState(m_keyState);
        m_keyStateTaken = true;
    }
    if (key > 255) return false;
    return (m_keyState[key] & 0x80) != 0;
}

bool cInput::isAltWithKey() {
    if (m_calling) return m_calling->withAlt;
    return isKeyDown(KEY_LEFT_ALT) || isKeyDown(KEY_RIGHT_ALT);
}

cStringA& cInput::getKeyName(uint32_t key) { return m_keyNames[key]; }

bool cInput::isMouseExclusive() const { return m_mouseExclusive; }

void cInput::setMouseExclusive(bool on) {
    if (on == m_mouseExclusive) return;
    m_mouseExclusive = on;
    in::unacquireMouse();
    platform::setRelativeMouseMode(on);
    ++m_mouseParamChanges;
    in::acquireMouse();
}

bool cInput::isHardwareCursor() const { return m_hardwareCursor; }

void cInput::setHardwareCursor(bool on) {
    m_hardwareCursor = on;
    writeHardwareCursorSetting();
}

void cInput::applyCursor(bool wanted, bool forced) {
    m_cursorWanted = wanted;
    m_cursorForced = forced;
    bool visible = wanted || forced;
    if (visible != m_cursorShown) {
        m_cursorShown = visible;
        platform::showSystemCursor(visible);
    }
}

void cInput::showCursor(bool wanted) { applyCursor(wanted, m_cursorForced); }

void cInput::forceCursor(bool forced) { applyCursor(m_cursorWanted, forced); }

void cInput::getMousePosition(float* x, float* y) const {
    if (x) *x = m_mouseX;
    if (y) *y = m_mouseY;
}

bool cInput::acquire() {
    bool keyboard = in::acquireKeyboard();
    bool mouse = in::acquireMouse();
    return keyboard && mouse;
}

bool cInput::unacquire() {
    in::unacquireKeyboard();
    in::unacquireMouse();
    return true;
}

size_t cInput::bindingCount(InputCode code) const {
    return code < INPUT_CODE_COUNT ? m_bindings[code].size() : 0;
}

void cInput::prepareKeyNames() {
    static const struct { uint32_t key; const char* name; } names[] = {
        {1, "Esc"}, {2, "1"}, {3, "2"}, {4, "3"}, {5, "4"}, {6, "5"}, {7, "6"}, {8, "7"}, {9, "8"},
        {10, "9"}, {11, "0"}, {12, "-"}, {13, "="}, {14, "Back"}, {15, "Tab"}, {16, "Q"}, {17, "W"},
        {18, "E"}, {19, "R"}, {20, "T"}, {21, "Y"}, {22, "U"}, {23, "I"}, {24, "O"}, {25, "P"},
        {26, "["}, {27, "]"}, {28, "Enter"}, {29, "L Ctr"}, {30, "A"}, {31, "S"}, {32, "D"},
        {33, "F"}, {34, "G"}, {35, "H"}, {36, "J"}, {37, "K"}, {38, "L"}, {39, ";"}, {40, "'"},
        {41, "`"}, {42, "L Shift"}, {43, "\\"}, {44, "Z"}, {45, "X"}, {46, "C"}, {47, "V"},
        {48, "B"}, {49, "N"}, {50, "M"}, {51, ","}, {52, "."}, {53, "/"}, {54, "R Shift"},
        {55, "*"}, {56, "L Menu"}, {57, "Space"}, {58, "Caps Lock"}, {59, "F1"}, {60, "F2"},
        {61, "F3"}, {62, "F4"}, {63, "F5"}, {64, "F6"}, {65, "F7"}, {66, "F8"}, {67, "F9"},
        {68, "F10"}, {69, "Num Lock"}, {70, "Scrol"}, {71, "NumPad 7"}, {72, "NumPad 8"},
        {73, "NumPad 9"}, {74, "NumPad -"}, {75, "NumPad 4"}, {76, "NumPad 5"}, {77, "NumPad 6"},
        {78, "NumPad +"}, {79, "NumPad 1"}, {80, "NumPad 2"}, {81, "NumPad 3"}, {82, "NumPad 0"},
        {83, "NumPad ."}, {86, "OEM_102"}, {87, "F11"}, {88, "F12"}, {100, "F13"}, {101, "F14"},
        {102, "F15"}, {112, "KANA"}, {115, "Abnt C1"}, {121, "Convert"}, {123, "No Convert"},
        {125, "Yen"}, {126, "Abnt C2"}, {141, "NumPad ="}, {144, "Pre Vtrack"}, {145, "At"},
        {146, "Colon"}, {147, "Underline"}, {148, "Kanji"}, {149, "Stop"}, {150, "Ax"},
        {151, "Unlabeled"}, {153, "Next Track"}, {156, "NumPad Enter"}, {157, "R Ctr"},
        {160, "Mute"}, {161, "Calculator"}, {162, "PlayPause"}, {164, "MediaStop"},
        {174, "Volume Down"}, {176, "Volume Up"}, {178, "Webhome"}, {179, "NumPad ."},
        {181, "NumPad /"}, {183, "SYSRQ"}, {184, "R Alt"}, {197, "Pause"}, {199, "Home"},
        {200, "Up"}, {201, "PgUp"}, {203, "Left"}, {205, "Right"}, {207, "End"}, {208, "Down"},
        {209, "PgDn"}, {210, "Insert"}, {211, "Delete"}, {219, "L Win"}, {220, "R Win"},
        {221, "Menu"}, {222, "Power"}, {223, "Sleep"}, {227, "Wake"}, {229, "WebSearch"},
        {230, "WebFavorites"}, {231, "WebRefresh"}, {232, "WebStop"}, {233, "WebForward"},
        {234, "WebBack"}, {235, "MyComputer"}, {236, "Mail"}, {237, "MediaSelect"},
    };
    m_keyNames.clear();
    for (const auto& n : names) m_keyNames[n.key] = n.name;
}

void cInput::backBufferSize(unsigned* width, unsigned* height) {
    if (cGraphics* graphics = getGraphics()) {
        *width = graphics->getWidth();
        *height = graphics->getHeight();
    }
}

void cInput::readSettings() {
    cSettingsManager* settings = getSettingsManager();
    if (!settings) return;
    settings->getBool(L"Graphics", L"hardware_cursor", m_hardwareCursor);
    settings->getFloat(L"Graphics", L"mouse_mul", m_mouseMul);  // read, not used
}

void cInput::writeHardwareCursorSetting() {
    if (cSettingsManager* settings = getSettingsManager()) settings->setBool(L"Graphics", L"hardware_cursor", m_hardwareCursor);
}
