#include "game/menus/cMainMenu.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"
#include "game/data/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/menus/cPanelPerformance.h"
#include "game/menus/cPerformanceTest.h"
#include "game/menus/cScreenExit.h"
#include "game/menus/cScreenMain.h"
#include "game/menus/cScreenGameMode.h"
#include "game/menus/cScreenHelp.h"
#include "game/menus/cScreenHighscore.h"
#include "game/menus/cScreenOptions.h"
#include "game/menus/cScreenPlay.h"
#include "game/menus/cScreenPlayerSetup.h"
#include "game/menus/cScreenPlayerSetupStart.h"

namespace {

bool g_first_visit = true;

bool hasNoProfile() { return getGameData() && getGameData()->getProfileCount() == 0; }

}  // namespace

bool cMainMenu::isFirstVisit() { return g_first_visit; }
void cMainMenu::setFirstVisit(bool first) { g_first_visit = first; }

cMainMenu::cMainMenu(cSceneNode* parent, int32_t startScreen) : cSceneNode(parent) {
    // 1. The screen to build first: without a profile the first player is made.
    m_screen_id = startScreen;
    m_switch_pending = true;
    if (hasNoProfile()) m_screen_id = kPlayerSetupStartScreen;
    // 2. The backgrounds, the cursor and the prompt.
    m_upper_background = new cPicture(this);
    m_lower_background = new cPicture(this);
    m_cursor = new cCursor(this);
    m_performance_panel = new cPanelPerformance(this);
    // 3. The layout.
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // 4. The music.
    playMusic();
    // 5. Later visits fade in; the first one stands at full brightness at once.
    if (!g_first_visit)
        startFadeIn();
    else if (cGraphics* graphics = getGraphics())
        graphics->setFade(255.0f);
}

cMainMenu::~cMainMenu() {
    if (cSound* sound = getSound()) sound->stopAll();
    if (cMusicManager* music = getMusicManager()) music->stop(true);
    cSceneNode::hide();
    disable();
    delete m_upper_background;
    delete m_lower_background;
    for (cMenuScreen*& screen : m_screens) {
        delete screen;
        screen = nullptr;
    }
    delete m_performance_panel;
    delete m_cursor;
}

void cMainMenu::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSceneNode::loadFromIni(ini, section);
    m_lower_background->loadFromIni(ini, L"BACKGROUND");
    m_upper_background->loadFromIni(ini, L"BACKGROUND");
    m_upper_background->setDeep(m_lower_background->getDeep() + 0.3f);
    if (cResourceManager* resources = getResourceManager())
        m_cursor->loadFromIni(*resources->getIni(cCursor::kConfig), L"COMMON");
    stringToFloat(&m_background_time_change, ini.getValue(L"COMMON", L"background_time_change"));
}

void cMainMenu::playMusic() {
    if (cMusicManager* music = getMusicManager()) music->playMainMenu();
    if (getGame() && !getGame()->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
}

cMenuScreen* cMainMenu::getScreen(int32_t id) const {
    if (id < 1 || id > kScreenCount) return nullptr;
    return m_screens[static_cast<size_t>(id - 1)];
}

void cMainMenu::update() {
    // 1. A pending switch builds its screen; 2. otherwise a finished screen decides.
    if (m_switch_pending) {
        buildScreen();
    } else if (cMenuScreen* screen = getScreen(m_screen_id)) {
        if (screen->isFinished()) actOnResult(m_screen_id, screen->getResult());
    }
    // 3. The background cross-fade.
    crossFadeStep();
    // 4. Without a fade: screens that have gone are deleted and a switch is built at once.
    if (!m_fade.isRunning()) {
        destroyScreens(false);
        buildScreen();
    }
    // 5. The fade.
    m_fade.step(*this);
    // 6. The cursor learns whether a widget is under the pointer.
    cCursor::testSubtree(this);
    // 7. The children: screens, prompt, backgrounds, cursor.
    cSceneNode::update();
}

void cMainMenu::switchTo(int32_t id) {
    m_screen_id = id;
    m_switch_pending = true;
    if (id != kNoScreen) playSwitchSound();
}

void cMainMenu::playSwitchSound() {
    if (cSound* sound = getSound()) sound->playSample(kSwitchSounds[static_cast<size_t>(m_switch_sound)], -1);
    m_switch_sound = (m_switch_sound + 1) % static_cast<int>(kSwitchSounds.size());
}

void cMainMenu::start(int32_t result) {
    switchTo(kNoScreen);
    setResult(result);
    startFadeOut();
    setFinished(true);
}

void cMainMenu::actOnResult(int32_t screen, int32_t result) {
    cGameData* data = getGameData();
    switch (screen) {
    case kMainScreen:
        switch (result) {
        case cScreenMain::RESULT_PLAY:
            if (data && data->getDifficulty() == -1) {
                switchTo(kGameModeScreen);
            } else if (data && data->getReachedLevel() == 1) {
                data->setLevel(1);
                start(MENU_RESULT_PLAY);
            } else {
                switchTo(kPlayScreen);
            }
            break;
        case cScreenMain::RESULT_HIGHSCORES: switchTo(kHighscoreScreen); break;
        case cScreenMain::RESULT_OPTIONS: switchTo(kOptionsScreen); break;
        case cScreenMain::RESULT_HELP: switchTo(kHelpScreen); break;
        case cScreenMain::RESULT_EXIT: switchTo(kExitScreen); break;
        case cScreenMain::RESULT_PLAYER_SETUP: switchTo(kPlayerSetupScreen); break;
        default: break;  // nothing to do for any other result
        }
        break;
    case kPlayScreen:
        if (result == cScreenPlay::RESULT_START) {
            // The level chosen on the play screen, set again to reload its description.
            if (data) data->setLevel(data->getLevel());
            start(MENU_RESULT_PLAY);
        } else if (result == cScreenPlay::RESULT_BACK) {
            switchTo(kMainScreen);
        }
        break;
    case kOptionsScreen:
    case kHighscoreScreen:
    case kHelpScreen:
    case kPlayerSetupScreen:
    case kPlayerSetupStartScreen: switchTo(kMainScreen); break;
    case kExitScreen:
        if (result == cScreenExit::RESULT_YES)
            start(MENU_RESULT_QUIT);
        else if (result == cScreenExit::RESULT_NO)
            switchTo(kMainScreen);
        break;
    case kGameModeScreen:
        if (result == cScreenGameMode::RESULT_EASY || result == cScreenGameMode::RESULT_HARD) {
            if (data) data->setLevel(1);
            start(MENU_RESULT_PLAY);
        } else {
            switchTo(kMainScreen);
        }
        break;
    case kPerformanceTestScreen:
        switchTo(hasNoProfile() ? kPlayerSetupStartScreen : kMainScreen);
        playMusic();
        break;
    default: break;
    }
}

cMenuScreen* cMainMenu::makeScreen(int32_t id) {
    switch (id) {
    case kMainScreen: return new cScreenMain(this, g_first_visit);
    case kPlayScreen: return new cScreenPlay(this);
    case kOptionsScreen: return new cScreenOptions(this);
    case kHighscoreScreen: return new cScreenHighscore(this);
    case kHelpScreen: return new cScreenHelp(this);
    case kExitScreen: return new cScreenExit(this);
    case kPlayerSetupScreen: return new cScreenPlayerSetup(this);
    case kPlayerSetupStartScreen: return new cScreenPlayerSetupStart(this);
    case kGameModeScreen: return new cScreenGameMode(this);
    case kPerformanceTestScreen: return new cPerformanceTest(this);
    default: return nullptr;
    }
}

void cMainMenu::buildScreen() {
    if (!m_switch_pending) return;
    // The time spent building reaches no animation as one long frame.
    if (cTimer* timer = getTimer()) timer->skipFrames(1);
    if (m_screen_id >= 1 && m_screen_id <= kScreenCount) {
        // A screen of this id that is still sliding out goes now: one slot, one screen.
        cMenuScreen*& slot = m_screens[static_cast<size_t>(m_screen_id - 1)];
        delete slot;
        slot = nullptr;
        cMenuScreen* screen = makeScreen(m_screen_id);
        slot = screen;
        // The performance test keeps the background of the screen before it.
        if (m_screen_id != kPerformanceTestScreen) startCrossFade(screen->getBackgroundTexture());
        if (m_screen_id == kMainScreen) g_first_visit = false;
    }
    m_switch_pending = false;
}

void cMainMenu::destroyScreens(bool force) {
    for (cMenuScreen*& screen : m_screens) {
        if (!screen) continue;
        if (force || (!screen->isVisible() && screen->isComplete())) {
            delete screen;
            screen = nullptr;
        }
    }
}

void cMainMenu::startCrossFade(const cStringA& texture) {
    m_cross_fade = 0.0f;
    m_upper_background->setAlpha(0);
    m_lower_background->setPicture(m_upper_background->getPicture());
    m_upper_background->setPicture(texture);
}

void cMainMenu::crossFadeStep() {
    if (!(m_cross_fade < 1.0f)) return;
    const float step =
        m_background_time_change <= 0.0f ? 1.0f : getDeltaTime2() / m_background_time_change;
    m_cross_fade += step;
    // A step that is not a number (a time change of infinity or NaN) ends the fade.
    if (!(m_cross_fade < 1.0f)) m_cross_fade = 1.0f;
    m_upper_background->setAlpha(static_cast<uint32_t>(255.0f * m_cross_fade));
}

void cMainMenu::refreshScreens() {
    if (auto* options = static_cast<cScreenOptions*>(getScreen(kOptionsScreen))) options->syncFullscreen();
    if (auto* main = static_cast<cScreenMain*>(getScreen(kMainScreen))) main->cancelPerformanceCheck();
}

void cMainMenu::cheatOpenAllLevels() {
    if (auto* play = static_cast<cScreenPlay*>(getScreen(kPlayScreen))) play->unlockAllLevels();
}

void cMainMenu::cheatReload() {
    if (m_screen_id == kNoScreen) return;
    destroyScreens(true);
    m_switch_pending = true;
    if (cResourceGroupManager* groups = getResourceGroupManager()) {
        groups->unloadConfig();
        groups->loadConfig();
    }
    buildScreen();
}
