#pragma once
// The root of the game's scene tree and the owner of everything that lives as long as the
// game: it creates, polls and deletes the six application states, switches the resource
// groups with them, reacts to the window's messages (close, focus, Alt+Enter, key presses)
// and carries the debug cheats and service keys.
//
// The core creates one after its managers are up, with the first word of the command line,
// installs onWindowMessage as its window-message hook and deletes it after the message loop.
// Every frame the scene update reaches update(), since the game is a parentless node.

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/flow/StateTransitions.h"
#include "game/interface/cCompletion.h"

class cMusicManager;
class cResourceGroupManager;
class cGameData;
class cStatistics;
class cLogo;
class cComics;
class cMainMenu;
class cGameScreen;
class cShop;
class cMiniGameScene;
class cConfirmExitPanel;
class cOptionsPanel;

class cGame : public cSceneNode, public cSingleton<cGame> {
public:
    // Seconds of interface time between deleting the old state and building the new one.
    static constexpr float kSwitchTime = 1.0f;
    // The command-line word that starts the first mini game.
    static constexpr const char* kMiniGameWord = "MINIGAME1";

    explicit cGame(const cStringA& commandWord);
    ~cGame() override;

    void update() override;
    // The node's enable and disable: bind and remove the service keys, then the node's own.
    void onEnable() override { bindServiceKeys(); }
    void onDisable() override { unbindServiceKeys(); }

    // The core's window-message hook (see MessageHook in engine/app/cRenderWren.h).
    static intptr_t onWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool* passOn);

    bool isActive() const { return m_active; }
    void setNextState(AppState state);

    // ---- what the states and the tests see
    AppState getCurrentState() const { return m_current_state; }
    AppState getNextState() const { return m_next_state; }
    AppState getLoadedState() const { return m_loaded_state; }
    bool isSwitching() const { return m_switching; }
    float getSwitchTimer() const { return m_switch_timer; }
    bool isAutoPausePending() const { return m_auto_pause_pending; }
    bool isFrozen() const { return m_frozen; }
    bool areDebugCheatsOn() const { return m_debug_cheats; }
    bool areServiceKeysOn() const { return m_service_debug_cheats; }
    const cStringA& getStartLevelFile() const { return m_start_level_file; }
    // The object of the current state (null during a switch).
    cSceneNode* getStateNode() const { return currentState().node; }
    cCompletion* getStateCompletion() const { return currentState().completion; }
    cLogo* getLogo() const { return m_logo; }
    cComics* getComics() const { return m_comics; }
    cMainMenu* getMainMenu() const { return m_main_menu; }
    cGameScreen* getGameScreen() const { return m_game_screen; }
    cShop* getShop() const { return m_shop; }
    cMiniGameScene* getMiniGame() const { return m_mini_game; }

    // ---- debug cheats and service keys
    void pushCheatKey(char key);
    void checkCheats();
    void bindServiceKeys();
    void unbindServiceKeys();
    static void toggleSlowGame(void* game);
    static void toggleSlowInterface(void* game);
    static void toggleFastGame(void* game);
    static void toggleFastInterface(void* game);
    static void toggleFreeze(void* game);

private:
    // The current state's object seen as a node and as a completion.
    struct StateRef {
        cSceneNode* node = nullptr;
        cCompletion* completion = nullptr;
    };
    StateRef currentState() const;
    void construct(const cStringA& commandWord);
    // Hides and disables the node and deletes everything the game owns, in order.
    void release();
    void setActive(bool active);
    void toggleFullscreen();
    void enterState();
    void switchResources();
    void deleteStates();
    void pollState();
    void updatePanels();
    void retryAutoPause();
    // Asks each present, unfinished state with a pause panel to open it.
    struct PauseAnswers {
        bool any = false;  // one opened its panel
        bool all = true;   // none refused
    };
    PauseAnswers requestPauses();
    // What a panel of the present state holds paused (its pause panel: music and sounds; the
    // mini game's alert: the sounds): the focus coming back leaves that paused.
    struct HeldPaused {
        bool music = false;
        bool sounds = false;
    };
    HeldPaused heldPausedByState() const;
    void onClose(bool* passOn);

    cMusicManager* m_music = nullptr;
    cResourceGroupManager* m_groups = nullptr;
    cGameData* m_game_data = nullptr;
    cStatistics* m_statistics = nullptr;
    cLogo* m_logo = nullptr;
    cComics* m_comics = nullptr;
    cMainMenu* m_main_menu = nullptr;
    cGameScreen* m_game_screen = nullptr;
    cShop* m_shop = nullptr;
    cMiniGameScene* m_mini_game = nullptr;
    cConfirmExitPanel* m_confirm_exit = nullptr;
    cOptionsPanel* m_options = nullptr;
    AppState m_current_state = APP_STATE_LOGO;
    AppState m_next_state = APP_STATE_LOGO;
    AppState m_loaded_state = APP_STATE_NONE;
    bool m_switching = true;
    bool m_active = true;
    bool m_auto_pause_pending = false;
    bool m_debug_cheats = false;
    bool m_service_debug_cheats = false;
    bool m_frozen = false;
    bool m_quit_requested = false;
    float m_switch_timer = 0.0f;
    bool m_open_menu_at_play_screen = false;
    cStringA m_start_level_file;
};

cGame* getGame();

// The cheat buffer: the last 30 keys pressed, oldest first (thirty '0' after a match).
const cStringA& getCheatBuffer();
void resetCheatBuffer();
// True when the buffer ends with the word: the buffer is reset and the cheat sound plays.
bool matchCheat(const cStringA& word);
