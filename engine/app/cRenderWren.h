#pragma once
// The application core: the single-instance start, the game window, the creation and release
// of the engine managers in their fixed order, the message loop and the window procedure.

#include <cstdint>

#include "engine/core/cString.h"

namespace platform {
struct Window;
}

class cGraphics;
class cInput;
class cSound;
class cLogManager;
class cFileManager;
class cSettingsManager;
class cResourceManager;
class cTimer;
class cLogic;

// The window-message hook the game installs. The window procedure sets *passOn to true before
// the call; a hook that clears it takes the message over and its result is returned at once.
using MessageHook = intptr_t (*)(uint32_t message, uintptr_t wParam, intptr_t lParam, bool* passOn);

class cRenderWren final {
public:
    // dataFolder: the folder beside the executable that holds the game's data ("Data").
    // window: an existing window, or null to let the core create its own.
    cRenderWren(const char* dataFolder, void* instance, platform::Window* window);
    ~cRenderWren();

    virtual MessageHook getMessageHook();
    virtual void setMessageHook(MessageHook hook);

    // The message loop: returns when the quit message arrives or after a fatal report.
    void process();
    // Creates the game window from the settings (title, width, height); null after a fatal report.
    platform::Window* createWindow(void* instance);
    // The window procedure of the game window.
    static intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // True when every start-up step ran; false after a fatal report during construction.
    bool isStarted() const { return m_started; }
    bool isMinimized() const { return m_minimized; }

    // The one core (set at the start of its constructor; null before).
    static cRenderWren* core();

    // The window size used until a settings manager supplies Graphics/width and height.
    static constexpr unsigned DEFAULT_WIDTH = 800;
    static constexpr unsigned DEFAULT_HEIGHT = 600;

private:
    cRenderWren(const cRenderWren&) = delete;
    cRenderWren& operator=(const cRenderWren&) = delete;

    cGraphics* m_graphics = nullptr;
    cInput* m_input = nullptr;
    cSound* m_sound = nullptr;
    cLogManager* m_log = nullptr;
    cFileManager* m_files = nullptr;
    cSettingsManager* m_settings = nullptr;
    cResourceManager* m_resources = nullptr;
    cTimer* m_timer = nullptr;
    cLogic* m_logic = nullptr;
    MessageHook m_message_hook = nullptr;
    bool m_minimized = false;
    bool m_started = false;
    cStringA m_user_version_path = "$common$/version.ini";
    cStringA m_data_version_path = "Config/version.ini";
    platform::Window* m_window = nullptr;
    bool m_own_window = false;
};


// "Kestrelgate-" + the lower-cased file name of the executable; empty when it cannot be found.
cStringA buildWindowClassName();
// False when another instance runs (it was asked to come to the front, or could not be, which
// is then written to standard error): the program ends.
bool checkSingleInstance();
// The first blank-delimited word of the command line (empty for a blank line).
cStringA firstCommandWord(const cStringA& commandLine);
// The program's entry: single instance, core, game object, message loop, shutdown. Returns 0
// after a normal end and after handing over to a running copy; 1 after a fatal report, and
// when a running copy holds the lock without a window to bring forward.
// dataFolder: "Data" (beside the executable) or an absolute folder.
int WinMain(const char* commandLine, const char* dataFolder = "Data");
