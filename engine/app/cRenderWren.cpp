#include "engine/app/cRenderWren.h"

#include <sstream>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/FatalReportCount.h"
#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/app/GameEntry.h"
#include "engine/app/cLogic.h"
#include "engine/core/StartupChecks.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cEngineSceneServices.h"
#include "engine/core/cTimer.h"
#include "platform/Lifetime.h"
#include "platform/Platform.h"

namespace {

cRenderWren* g_core = nullptr;
cStringA g_windowClassName;
// Whether the window has the focus; while it has not, the system cursor stays visible over it.
bool g_windowActive = true;

const char* const SIG_WINMAIN = "Blank";
const char* const SIG_CONSTRUCTOR = "cRenderWren::cRenderWren(void *hInstance, void *hwnd)";
const char* const SIG_DESTRUCTOR = "cRenderWren::~cRenderWren()";
const char* const SIG_CREATE_WINDOW = "void cRenderWren::createWindow()";
const char* const SIG_PROCESS = "void cRenderWren::process()";
const char* const SIG_WNDPROC =
    "LRESULT __stdcall cRenderWren::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)";

const char* const COMPLETE = "  complete.\n";

// Runs one step; a failure is reported and the caller goes on with its next step.
template <class F>
void guardedStep(const char* signature, F&& step) {
    try {
        step();
    } catch (...) {
        reportCaughtFailure(signature);
    }
}

std::string executableFileName() {
    std::string path = platform::executablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

}  // namespace

cRenderWren* cRenderWren::core() { return g_core; }

cRenderWren::cRenderWren(const char* dataFolder, void* instance, platform::Window* window) {
    g_core = this;
    g_windowActive = true;
    try {
        m_files = new cFileManager(cStringA(dataFolder ? dataFolder : ""), cStringA("kbf"));
        m_log = new cLogManager;
        m_log->getChannel(cStringA("game"), true);

        writeGameLog("Check DirectX version...");
        platform::initVideo();  // a failure is the check's to report
        checkDirectX();

        writeGameLog("Initializing resource manager...");
        m_resources = new cResourceManager;
        writeGameLog(COMPLETE);

        setUserFilesKeptByReset(gameEntry().filesKeptByReset);
        checkUserDataVersion();  // m_user_version_path against m_data_version_path

        writeGameLog("Initializing settings manager...");
        m_settings = new cSettingsManager;
        writeGameLog(COMPLETE);

        writeGameLog("Check hardware requirements...");
        checkHardwareRequirements();

        writeGameLog("Initializing graphics...");
        if (window) {
            m_window = window;
        } else {
            m_window = createWindow(instance);
            if (!m_window) return;  // the window's failure has been reported already
        }
        m_graphics = new cGraphics(m_window);
        writeGameLog(COMPLETE);

        writeGameLog("Initializing sound...");
        m_sound = new cSound(m_graphics->getWindow());
        writeGameLog(COMPLETE);

        writeGameLog("Initializing input...");
        m_input = new cInput(m_graphics->getWindow());
        writeGameLog(COMPLETE);

        writeGameLog("Initializing timer...");
        m_timer = new cTimer;
        writeGameLog(COMPLETE);

        writeGameLog("Initializing logic...");
        m_logic = new cLogic;
        writeGameLog(COMPLETE);

        // Scene objects reach the managers through the engine's scene services.
        setSceneServices(getEngineSceneServices());

        m_started = true;
    } catch (...) {
        reportCaughtFailure(SIG_CONSTRUCTOR);
    }
}

cRenderWren::~cRenderWren() {
    // Each release step is guarded on its own: a failure is reported and the remaining managers
    // are still released, so the settings are stored and the log manager closed.
    auto release = [](const char* text, auto&& action) {
        guardedStep(SIG_DESTRUCTOR, [&] { writeGameLog(text); });
        guardedStep(SIG_DESTRUCTOR, action);
        guardedStep(SIG_DESTRUCTOR, [&] { writeGameLog(COMPLETE); });
    };
    release("Release logic...", [&] { delete m_logic; m_logic = nullptr; });
    release("Release timer...", [&] { delete m_timer; m_timer = nullptr; });
    release("Release input...", [&] { delete m_input; m_input = nullptr; });
    release("Release sound...", [&] { delete m_sound; m_sound = nullptr; });
    release("Release graphics...", [&] { delete m_graphics; m_graphics = nullptr; });
    release("Release settings manager...", [&] { delete m_settings; m_settings = nullptr; });
    release("Release resource manager...", [&] { delete m_resources; m_resources = nullptr; });
    release("Release file manager...", [&] { delete m_files; m_files = nullptr; });
    // The log manager last, without a line.
    guardedStep(SIG_DESTRUCTOR, [&] { delete m_log; m_log = nullptr; });

    if (getSceneServices() == getEngineSceneServices()) setSceneServices(nullptr);
    // The window ends with the core, so that a new core can open its own.
    if (m_own_window) guardedStep(SIG_DESTRUCTOR, [] { platform::destroyWindow(); });
    if (g_core == this) g_core = nullptr;
}

MessageHook cRenderWren::getMessageHook() { return m_message_hook; }
void cRenderWren::setMessageHook(MessageHook hook) { m_message_hook = hook; }

platform::Window* cRenderWren::createWindow(void*) {
    try {
        // Without a settings manager (or without the keys) the window has the default size;
        // without a title it is named after the executable.
        std::string title;
        unsigned width = DEFAULT_WIDTH, height = DEFAULT_HEIGHT;
        if (cSettingsManager* settings = getSettingsManager()) {
            cStringW wideTitle;
            settings->getWString(L"Game", L"window_title", wideTitle);
            title = wideToUtf8(wideTitle);
            settings->getUnsigned(L"Graphics", L"width", width);
            settings->getUnsigned(L"Graphics", L"height", height);
            // A size no window can have would stop every start: the default replaces it, and
            // is stored, so the next start opens as this one.
            const unsigned largest = platform::kMaxWindowSide;
            if (width < 1 || height < 1 || width > largest || height > largest) {
                logGameQuietly("  warning: the window size " + cStringA(std::to_string(width)) + "x" +
                               cStringA(std::to_string(height)) + " of the keys width and height of section Graphics in \"" +
                               cStringA(cSettingsManager::STORED_PATH) + "\" cannot be shown (each side must be 1 to " +
                               cStringA(std::to_string(largest)) + "); " + cStringA(std::to_string(DEFAULT_WIDTH)) + "x" +
                               cStringA(std::to_string(DEFAULT_HEIGHT)) + " is used and stored");
                width = DEFAULT_WIDTH;
                height = DEFAULT_HEIGHT;
                settings->setUnsigned(L"Graphics", L"width", width);
                settings->setUnsigned(L"Graphics", L"height", height);
            }
        }
        if (title.empty()) title = executableFileName();
        platform::createWindow(title, static_cast<int>(width), static_cast<int>(height), &cRenderWren::WndProc);
        m_own_window = true;
        m_minimized = false;
        return platform::window();
    } catch (...) {
        reportCaughtFailure(SIG_CREATE_WINDOW);
        return nullptr;
    }
}

void cRenderWren::process() {
    try {
        platform::Message message;
        for (;;) {
            if (platform::peekMessage(&message)) {
                if (message.message == platform::MSG_QUIT) break;
                platform::dispatchMessage(message);
                continue;
            }
            if (m_minimized) {
                platform::sleepMs(100);
            } else if (cLogic* logic = getLogic()) {
                logic->frame();
            } else {
                platform::sleepMs(10);  // no logic manager: wait for messages only
            }
        }
    } catch (...) {
        reportCaughtFailure(SIG_PROCESS);
    }
}

intptr_t cRenderWren::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    try {
        cRenderWren* core = g_core;
        if (core && core->m_message_hook) {
            bool passOn = true;
            intptr_t result = core->m_message_hook(message, wParam, lParam, &passOn);
            if (!passOn) return result;
        }
        using namespace platform;
        switch (message) {
        case MSG_DESTROY:
            postQuitMessage(0);
            return 0;
        case MSG_SIZE:
            if (core) {
                if (wParam == SIZE_STATE_MINIMIZED)
                    core->m_minimized = true;
                else if (wParam == SIZE_STATE_RESTORED || wParam == SIZE_STATE_MAXIMIZED)
                    core->m_minimized = false;
            }
            return 0;
        case MSG_ACTIVATE:
            if (wParam == ACTIVATE_INACTIVE) {
                if (cInput* input = getInput()) {
                    g_windowActive = false;
                    input->unacquire();
                }
            } else if (wParam == ACTIVATE_ACTIVE || wParam == ACTIVATE_CLICK) {
                if (cInput* input = getInput()) {
                    g_windowActive = true;
                    input->acquire();
                }
                if (platform::isMinimized())
                    restoreWindow();
                else
                    raiseWindow();
            }
            return 0;
        case MSG_ACTIVATEAPP:
            if (cInput* input = getInput()) {
                g_windowActive = wParam == 1;
                if (g_windowActive)
                    input->acquire();
                else
                    input->unacquire();
            }
            return 0;
        case MSG_CHAR:
            if (cInput* input = getInput()) input->pushChar(static_cast<wchar_t>(wParam));
            return 0;
        case MSG_SYSKEYDOWN:
        case MSG_SYSKEYUP:
            if (wParam == WKEY_ALT) return 0;  // Alt alone does nothing
            return defWindowProc(message, wParam, lParam);
        case MSG_SYSCHAR:
            return 0;  // Alt+key: no beep, no menu
        case MSG_MOUSEMOVE:
            // While the window is inactive the system cursor is forced visible over it.
            if (cInput* input = getInput()) input->forceCursor(!g_windowActive);
            return 0;
        default:
            return defWindowProc(message, wParam, lParam);
        }
    } catch (...) {
        reportCaughtFailure(SIG_WNDPROC);
        return 0;
    }
}

cStringA buildWindowClassName() {
    cStringA name(executableFileName());
    if (name.isEmpty()) return cStringA();
    name.makeLower();
    return cStringA("Kestrelgate-" + name);
}

bool checkSingleInstance() {
    g_windowClassName = buildWindowClassName();
    if (g_windowClassName.isEmpty()) return true;
    return platform::acquireSingleInstance(g_windowClassName);
}

cStringA firstCommandWord(const cStringA& commandLine) {
    cStringA word;
    if (!commandLine.isEmpty()) {
        std::istringstream in(commandLine);
        std::string first;
        if (in >> first) word = first;
    }
    return word;
}

int WinMain(const char* commandLine, const char* dataFolder) {
    if (!checkSingleInstance()) return platform::singleInstanceHandedOver() ? 0 : 1;
    const unsigned reportsBefore = fatalReportCount();

    cRenderWren* core = nullptr;
    guardedStep(SIG_WINMAIN, [&] { core = new cRenderWren(dataFolder, nullptr, nullptr); });

    // After a fatal report during start-up some managers are missing: go straight to shutdown.
    if (core && core->isStarted()) {
        const GameEntry& entry = gameEntry();
        void* game = nullptr;
        try {
            getResourceManager()->registerExtension(cStringA("qpk"), RESOURCE_XML);
            cStringA word = firstCommandWord(cStringA(commandLine ? commandLine : ""));
            game = entry.create(word);
            core->setMessageHook(entry.messageHook);
            core->process();
        } catch (...) {
            reportCaughtFailure(SIG_WINMAIN);
        }
        core->setMessageHook(nullptr);
        guardedStep(SIG_WINMAIN, [&] { entry.destroy(game); });
    }
    guardedStep(SIG_WINMAIN, [&] { delete core; });
    platform::releaseSingleInstance();
    // A fatal report is a failure, whatever ended the program after it.
    return fatalReportCount() == reportsBefore ? 0 : 1;
}
