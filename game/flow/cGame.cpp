#include "game/flow/cGame.h"

#include "engine/app/cLogic.h"
#include "engine/core/cSettingsManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/menus/cComics.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cLogo.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cOptionsPanel.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/shop/cShop.h"
#include "platform/Platform.h"

cGame* getGame() { return cGame::instance(); }

namespace {

bool readGameBool(const wchar_t* key) {
    bool value = false;
    if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Game", key, value);
    return value;
}

// The resource groups of each application state, by AppState.
struct StateGroups {
    void (*load)(cResourceGroupManager& groups);
    void (*unload)(cResourceGroupManager& groups);
};
#define RW_STATE_GROUPS(name) \
    {[](cResourceGroupManager& g) { g.load##name(); }, [](cResourceGroupManager& g) { g.unload##name(); }}
const StateGroups kStateGroups[] = {
    {nullptr, nullptr},     RW_STATE_GROUPS(Logo), RW_STATE_GROUPS(Comics),   RW_STATE_GROUPS(Menu),
    RW_STATE_GROUPS(Game),  RW_STATE_GROUPS(Shop), RW_STATE_GROUPS(MiniGame),
};
#undef RW_STATE_GROUPS

template <class T>
void deleteState(T*& state) {
    delete state;
    state = nullptr;
}

}  // namespace

cGame::cGame(const cStringA& commandWord) : cSceneNode(nullptr) {
    try {
        construct(commandWord);
    } catch (...) {
        // A start that fails (a missing file, a pack that is not loaded) leaves no half-built
        // game behind: the owned objects and their singletons go again.
        release();
        throw;
    }
}

void cGame::construct(const cStringA& commandWord) {
    // 1. The resource groups: configuration, fonts, packs, cursor, buttons and sounds first.
    m_groups = new cResourceGroupManager;
    m_groups->loadStartup();
    // 2. The music.
    m_music = new cMusicManager;
    // 3. The game data, by the command-line word.
    if (commandWord.isEmpty()) {
        m_game_data = new cGameData(true, cStringA());
    } else if (commandWord == kMiniGameWord) {
        m_game_data = new cGameData(true, cStringA());
        m_game_data->setMiniGameNumber(1);
        // The variant of the level before the current one: none (there is none before level 1).
        if (m_game_data->getLevel() > 1) m_game_data->setMiniGameVariant(-1, -1);
        setNextState(APP_STATE_MINI_GAME);
    } else if (commandWord.find(".ini") != std::string::npos) {
        m_start_level_file = commandWord;
        m_game_data = new cGameData(true, cStringA());
        setNextState(APP_STATE_MINI_GAME);
    } else {
        m_game_data = new cGameData(false, commandWord);
        setNextState(APP_STATE_GAME);
    }
    // 4. The statistics logger and the debug settings.
    m_statistics = new cStatistics;
    m_debug_cheats = readGameBool(L"debug_cheats");
    m_service_debug_cheats = readGameBool(L"service_debug_cheats");
    // 5. The saved volumes.
    if (cSound* sound = getSound()) {
        sound->setMusicVolume(m_game_data->getMusicVolume());
        sound->setSoundVolume(m_game_data->getSoundVolume());
    }
    // 6. The two panels every state may show.
    m_confirm_exit = new cConfirmExitPanel(this);
    m_options = new cOptionsPanel(this);
    resetCheatBuffer();
    // 7. Shown and enabled: the service keys are bound. The first frames run a switch into the
    //    first state.
    show();
    enable();
}

cGame::~cGame() { release(); }

void cGame::release() {
    hide();
    disable();
    deleteState(m_main_menu);
    deleteState(m_game_screen);
    deleteState(m_shop);
    deleteState(m_comics);
    deleteState(m_logo);
    deleteState(m_mini_game);
    deleteState(m_confirm_exit);
    deleteState(m_options);
    deleteState(m_statistics);
    deleteState(m_game_data);
    deleteState(m_music);
    if (m_groups) m_groups->unloadStartup();
    deleteState(m_groups);
}

void cGame::setNextState(AppState state) {
    m_current_state = state;
    m_next_state = state;
    m_switching = true;
}

cGame::StateRef cGame::currentState() const {
    switch (m_current_state) {
    case APP_STATE_LOGO: return {m_logo, m_logo};
    case APP_STATE_COMICS: return {m_comics, m_comics};
    case APP_STATE_MAIN_MENU: return {m_main_menu, m_main_menu};
    case APP_STATE_GAME: return {m_game_screen, m_game_screen};
    case APP_STATE_SHOP: return {m_shop, m_shop};
    case APP_STATE_MINI_GAME: return {m_mini_game, m_mini_game};
    default: return {};
    }
}

void cGame::pollState() {
    cCompletion* state = getStateCompletion();
    if (!state || !state->isDone()) return;
    TransitionInput in;
    in.from = m_current_state;
    in.result = state->getResult();
    in.level = m_game_data->getLevel();
    in.reachedLevel = m_game_data->getReachedLevel();
    in.comicsNumber = m_game_data->getComicsNumber();
    in.shopSoldOut = m_game_data->isShopSoldOut(0);
    in.miniGamePlayed = m_game_data->isMiniGamePlayed(0);
    const Transition t = chooseTransition(in);
    if (t.quit) {
        if (!m_quit_requested)
            if (cLogic* logic = getLogic()) logic->quit();
        m_quit_requested = true;
        return;
    }
    if (t.markReached) m_game_data->setMarkedLevel(m_game_data->getReachedLevel());
    if (t.comicsNumber != 0) m_game_data->setComicsNumber(t.comicsNumber);
    if (t.openMenuAtPlayScreen) m_open_menu_at_play_screen = true;
    if (t.next != APP_STATE_NONE) setNextState(t.next);
}

void cGame::update() {
    // 1. A finished and complete state chooses the next one.
    if (!m_switching) pollState();
    // 2. The switch: the old state goes at once, the new one comes after a second of interface
    //    time. Disabled meanwhile, the game tree is left out of the frames a loading screen runs.
    if (m_switching) {
        disable();
        deleteStates();
        m_switch_timer += getDeltaTime2();
        if (m_switch_timer >= kSwitchTime) {
            m_switch_timer = 0.0f;
            enterState();
        }
        enable();
    }
    // 3. The music's playlist.
    m_music->update();
    // 4. The panels over the states.
    updatePanels();
    // 5. A pause that a state refused when the focus went.
    retryAutoPause();
    // 6. The game tree.
    if (!m_frozen) cSceneNode::update();
}

void cGame::deleteStates() {
    deleteState(m_logo);
    deleteState(m_comics);
    deleteState(m_main_menu);
    deleteState(m_game_screen);
    deleteState(m_shop);
    deleteState(m_mini_game);
}

void cGame::switchResources() {
    auto valid = [](AppState s) { return s > APP_STATE_NONE && s <= APP_STATE_MINI_GAME; };
    if (m_loaded_state == m_next_state) return;
    if (valid(m_loaded_state)) kStateGroups[m_loaded_state].unload(*m_groups);
    if (valid(m_next_state)) kStateGroups[m_next_state].load(*m_groups);
    m_loaded_state = m_next_state;
}

void cGame::enterState() {
    // 1. The groups of the new state.
    switchResources();
    // 2. The long frame of the loading is no time step.
    if (cTimer* timer = getTimer()) timer->skipFrames(1);
    // 3. The state itself.
    switch (m_current_state) {
    case APP_STATE_LOGO: m_logo = new cLogo(this); break;
    case APP_STATE_COMICS: m_comics = new cComics(this); break;
    case APP_STATE_MAIN_MENU:
        m_main_menu = new cMainMenu(this, m_open_menu_at_play_screen ? cMainMenu::kPlayScreen : cMainMenu::kMainScreen);
        m_open_menu_at_play_screen = false;
        break;
    case APP_STATE_GAME: m_game_screen = new cGameScreen(this); break;
    case APP_STATE_SHOP: m_shop = new cShop(this); break;
    case APP_STATE_MINI_GAME:
        if (int32_t number = miniGameNumberOfLevel(m_game_data->getLevel())) m_game_data->setMiniGameNumber(number);
        m_mini_game = new cMiniGameScene(this, m_start_level_file);
        break;
    default: break;
    }
    // 4. Idle again; what was typed or clicked during the switch is dropped.
    m_switching = false;
    if (cInput* input = getInput()) input->flush();
}

void cGame::updatePanels() {
    const bool confirmShown = m_confirm_exit && m_confirm_exit->isVisible();
    const bool optionsShown = m_options && m_options->isVisible();
    if (m_options) {
        if (confirmShown)
            m_options->deactivateAll();
        else
            m_options->activateAll();
    }
    // The logo is never touched.
    cSceneNode* states[] = {m_comics, m_main_menu, m_game_screen, m_shop, m_mini_game};
    for (cSceneNode* state : states) {
        if (!state) continue;
        if (confirmShown || optionsShown)
            state->deactivate();
        else
            state->activate();
    }
}

cGame::PauseAnswers cGame::requestPauses() {
    PauseAnswers answers;
    auto ask = [&](bool present, bool finished, auto&& request) {
        if (!present || finished) return;
        const bool opened = request();
        answers.any = answers.any || opened;
        answers.all = answers.all && opened;
    };
    ask(m_game_screen, m_game_screen && m_game_screen->isFinished(), [&] { return m_game_screen->openPause(); });
    ask(m_shop, m_shop && m_shop->isFinished(), [&] { return m_shop->pause(); });
    ask(m_mini_game, m_mini_game && m_mini_game->isFinished(), [&] { return m_mini_game->pause(); });
    return answers;
}

cGame::HeldPaused cGame::heldPausedByState() const {
    const bool pausePanel = (m_game_screen && m_game_screen->isPausePanelShown()) ||
                            (m_shop && m_shop->isPausePanelShown()) ||
                            (m_mini_game && m_mini_game->isPausePanelShown());
    const bool alert = m_mini_game && m_mini_game->isAlertShown();
    return HeldPaused{pausePanel, pausePanel || alert};
}

void cGame::retryAutoPause() {
    if (m_auto_pause_pending && requestPauses().any) m_auto_pause_pending = false;
}

void cGame::setActive(bool active) {
    if (active == m_active) return;
    m_active = active;
    cSound* sound = getSound();
    const bool confirmShown = m_confirm_exit && m_confirm_exit->isVisible();
    if (active) {
        // In the game screen, the shop and the mini game the sounds stay paused until their
        // pause panel continues; the quit confirmation over them opens no pause panel, so
        // they resume with the focus, unless a panel of the state under the question (or one
        // that refused the pause) holds them itself: that panel resumes them when it goes.
        if (m_main_menu || m_comics || m_auto_pause_pending || confirmShown) {
            const HeldPaused held = heldPausedByState();
            if (sound && !held.music) sound->resumeMusic();
            if (sound && !held.sounds) sound->resumeAll();
        }
        m_auto_pause_pending = false;
        return;
    }
    if (!confirmShown && !requestPauses().all) m_auto_pause_pending = true;
    if (sound) {
        sound->pauseMusic();
        sound->pauseAll();
    }
}

void cGame::toggleFullscreen() {
    cGraphics* graphics = getGraphics();
    if (graphics && graphics->isResetRequested()) return;
    if (cSettingsManager* settings = getSettingsManager()) {
        bool fullscreen = true;
        settings->getBool(L"Graphics", L"fullscreen", fullscreen);
        settings->setBool(L"Graphics", L"fullscreen", !fullscreen);
    }
    if (graphics) graphics->requestReset(true);
    if (m_main_menu) m_main_menu->refreshScreens();
    if (m_options) m_options->syncFullscreen();
}

void cGame::onClose(bool* passOn) {
    // During the logo the window closes as usual.
    if (m_logo || m_current_state == APP_STATE_LOGO) return;
    *passOn = false;
    if (m_main_menu && m_main_menu->getScreenId() == cMainMenu::kExitScreen) return;
    if (m_confirm_exit && !m_confirm_exit->isVisible()) m_confirm_exit->show(true);
}

intptr_t cGame::onWindowMessage(uint32_t message, uintptr_t wParam, intptr_t, bool* passOn) {
    cGame* game = getGame();
    if (!game) return 0;
    using namespace platform;
    switch (message) {
    case MSG_DESTROY:
        if (cSound* sound = getSound()) sound->stopAll();
        if (game->m_music) game->m_music->stop(true);
        sendMessage(MSG_SYSCOMMAND, SYSCMD_MINIMIZE);
        break;
    case MSG_ACTIVATE:
        if (wParam == ACTIVATE_INACTIVE)
            game->setActive(false);
        else if (wParam == ACTIVATE_ACTIVE || wParam == ACTIVATE_CLICK)
            game->setActive(true);
        break;
    case MSG_ACTIVATEAPP:
        if (wParam == 0) game->setActive(false);
        break;
    case MSG_CLOSE:
        if (passOn) game->onClose(passOn);
        break;
    case MSG_KEYDOWN:
        game->pushCheatKey(static_cast<char>(wParam & 0xFF));
        game->checkCheats();
        break;
    case MSG_SYSKEYDOWN:
        if (wParam == WKEY_RETURN) {
            cGraphics* graphics = getGraphics();
            if (graphics && (graphics->canRunWindowed() || !graphics->isFullscreen())) game->toggleFullscreen();
        }
        break;
    default: break;
    }
    return 0;
}
