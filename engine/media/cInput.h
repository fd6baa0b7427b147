#pragma once
// The input manager: turns every buffered key and mouse-button event into calls of the
// functions bound to its input code, once per frame; hands typed characters to one character
// listener; calls the motion listeners with the mouse's relative motion; answers whether a
// key is held; keeps the cursor position and the system cursor's visibility.

#include <cstdint>
#include <map>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "platform/input/Input.h"
#include "platform/input/KeyCodes.h"


// Input codes: 0..255 a key released (its KeyCode), 256..511 the key pressed, 512..519 mouse
// button 0..7 released, 520..527 pressed, 528..530 the mouse's x, y and wheel motion (motion
// listeners only).
using InputCode = uint32_t;
enum : InputCode {
    INPUT_KEY_RELEASED = 0,
    INPUT_KEY_PRESSED = 256,
    INPUT_BUTTON_RELEASED = 512,
    INPUT_BUTTON_PRESSED = 520,
    INPUT_LEFT_RELEASED = 512,
    INPUT_RIGHT_RELEASED = 513,
    INPUT_MIDDLE_RELEASED = 514,
    INPUT_LEFT_PRESSED = 520,
    INPUT_RIGHT_PRESSED = 521,
    INPUT_MIDDLE_PRESSED = 522,
    INPUT_MOUSE_X = 528,
    INPUT_MOUSE_Y = 529,
    INPUT_MOUSE_WHEEL = 530,
    INPUT_CODE_COUNT = 531,
};
constexpr InputCode keyPressedCode(uint8_t key) { return INPUT_KEY_PRESSED + key; }
constexpr InputCode keyReleasedCode(uint8_t key) { return INPUT_KEY_RELEASED + key; }
constexpr InputCode buttonPressedCode(uint8_t button) { return INPUT_BUTTON_PRESSED + button; }
constexpr InputCode buttonReleasedCode(uint8_t button) { return INPUT_BUTTON_RELEASED + button; }

// A bound function, called with the object it was bound with.
using InputCallback = void (*)(void* object);
// A motion listener: code 528, 529 or 530, the relative motion, the object.
using MotionCallback = void (*)(InputCode code, int32_t motion, void* object);
// The character listener: one UTF-16 unit and the user data.
using CharCallback = void (*)(wchar_t character, void* user);

class cInput : public cSingleton<cInput> {
public:
    static constexpr size_t kCharQueueSize = 1024;

    // Opens the keyboard and the mouse (not acquired: the window's activation or the first
    // update acquires them). The window is not used.
    explicit cInput(platform::Window* window = nullptr);
    ~cInput() override;

    // Binds callback with object to code; nothing for a null callback, a code out of range
    // or a pair already bound to the code.
    virtual void addBinding(InputCode code, InputCallback callback, void* object);
    // Unbinds, and cancels the calls of this binding still pending in the running update.
    virtual void removeBinding(InputCode code, InputCallback callback, void* object);
    virtual void clearBindings(InputCode code);
    // Every binding and pending call; the motion listeners stay.
    virtual void clearAllBindings();
    // Re-opens the mouse non-exclusively and acquires it.
    virtual void setMouseParams();
    virtual void setCharListener(CharCallback callback, void* user);
    virtual void clearCharListener();
    virtual void addMotionListener(MotionCallback callback, void* object);
    virtual void removeMotionListener(MotionCallback callback, void* object);
    // Queues a typed character (the window procedure's MSG_CHAR); dropped when 1024 wait.
    virtual void pushChar(wchar_t character);
    // Once per frame: characters to the listener, buffered keys then buttons collected,
    // cursor position and motion listeners, then the bound calls in event order.
    virtual void update();
    // Empties the character queue and discards the buffered events.
    virtual void flush();
    // Bit 7 of the key's byte in a snapshot taken once between two updates.
    virtual bool isKeyDown(uint32_t key);
    // Inside a bound call of a key event: whether an Alt key was held when that event happened
    // (the whole of a quick Alt+Enter may arrive in one frame, Alt released by its end).
    // Elsewhere: whether an Alt key is held now.
    virtual bool isAltWithKey();
    // The key's display name; a key without one gets (and returns) an empty name.
    virtual cStringA& getKeyName(uint32_t key);
    virtual bool isMouseExclusive() const;
    virtual void setMouseExclusive(bool on);
    virtual bool isHardwareCursor() const;
    // Stores the preference and writes it as Graphics/hardware_cursor of the settings.
    virtual void setHardwareCursor(bool on);
    // The system cursor shows while it is wanted or forced.
    virtual void showCursor(bool wanted);
    virtual void forceCursor(bool forced);
    // The cursor position in back-buffer pixels.
    virtual void getMousePosition(float* x, float* y) const;
    float getMouseX() const { return m_mouseX; }
    float getMouseY() const { return m_mouseY; }

    // The window's activation: acquire or unacquire keyboard and mouse; true when both succeed.
    bool acquire();
    bool unacquire();

    // ---- For tests ----
    size_t bindingCount(InputCode code) const;
    size_t queuedCharCount() const { return m_charCount; }
    bool isSystemCursorShown() const { return m_cursorShown; }
    size_t mouseParamChanges() const { return m_mouseParamChanges; }

private:
    struct Binding {
        InputCode code;
        InputCallback callback;
        void* object;
        uint64_t serial;  // bindings of one code are called in the order they were made
        bool withAlt = false;  // a pending call: its key event came with Alt held
        bool operator==(const Binding& o) const {
            return code == o.code && callback == o.callback && object == o.object;
        }
    };
    struct MotionListener {
        MotionCallback callback;
        void* object;
        uint64_t serial;
    };

    void prepareKeyNames();
    void collectKeyboard();
    void collectButtons();
    void readMouse();
    void queueBindings(InputCode code, bool withAlt = false);
    void applyCursor(bool wanted, bool forced);
    void readSettings();
    static void backBufferSize(unsigned* width, unsigned* height);
    void writeHardwareCursorSetting();

    std::vector<Binding> m_bindings[INPUT_CODE_COUNT];
    std::vector<MotionListener> m_motionListeners;
    std::vector<Binding> m_pending;
    const Binding* m_calling = nullptr;  // the pending call running now
    // Reused every frame so that reading the devices allocates nothing once warmed up.
    std::vector<platform::input::KeyEvent> m_keyEvents;
    std::vector<platform::input::ButtonEvent> m_buttonEvents;
    std::vector<MotionListener> m_motionCalls;
    uint64_t m_nextSerial = 1;
    wchar_t m_chars[kCharQueueSize] = {};
    size_t m_charCount = 0;
    CharCallback m_charListener = nullptr;
    void* m_charUser = nullptr;
    uint8_t m_keyState[256] = {};
    bool m_keyStateTaken = false;
    std::map<uint32_t, cStringA> m_keyNames;
    bool m_mouseExclusive = false;
    bool m_hardwareCursor = false;
    bool m_cursorWanted = false;
    bool m_cursorForced = false;
    bool m_cursorShown = false;
    float m_mouseX = 0.0f;
    float m_mouseY = 0.0f;
    float m_mouseMul = 1.0f;
    size_t m_mouseParamChanges = 0;
};

cInput* getInput();
