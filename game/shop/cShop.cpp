#include "game/shop/cShop.h"

#include "engine/app/cLogic.h"
#include "engine/core/Ownership.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/interface/cPanel.h"
#include "game/interface/cPanelConfirm.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/shop/cShopScreen.h"


cShop::cShop(cSceneNode* parent) : cSceneNode(parent) {
    // 2. The cursor; 3. black; 4. the parts.
    m_cursor = new cCursor(this);
    m_cursor->loadFromIni(effectIni(cCursor::kConfig), L"COMMON");
    if (cGraphics* graphics = getGraphics()) graphics->setFade(0.0f);
    build();
    // 5. Started without the focus: the music waits for it.
    cGame* game = getGame();
    if (game && !game->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
    // 6. Shown and enabled: Escape is bound.
    show();
    enable();
}

cShop::~cShop() {
    if (cSound* sound = getSound()) sound->stopAll();
    if (cMusicManager* music = getMusicManager()) music->stop(true);
    cSceneNode::hide();
    cSceneNode::disable();
    deleteAndNull(m_screen);
    deleteAndNull(m_cursor);
    deleteAndNull(m_pause_panel);
    deleteAndNull(m_confirm_menu);
}

void cShop::build() {
    // 1. The time of the build is no time step; 2. game time stops meanwhile.
    if (cTimer* timer = getTimer()) timer->skipFrames(1);
    setLogicPaused(true);
    // 3. The reload reads every configuration file afresh.
    if (m_reload_config) {
        if (cResourceGroupManager* groups = getResourceGroupManager()) {
            groups->unloadConfig();
            groups->loadConfig();
        }
        m_reload_config = false;
    }
    // 4. The parts, in order.
    m_pause_panel = new cShopPausePanel(this, this);
    m_screen = new cShopScreen(this);
    m_confirm_menu = new cPanelConfirmMenu(this, this, CONFIRM_OWNER_SHOP);
    // 5. - 7.
    startFadeIn();
    if (cInput* input = getInput()) input->flush();
    setLogicPaused(false);
    // 8. The world's music (a track already playing goes on).
    if (cMusicManager* music = getMusicManager()) {
        cGameData* data = getGameData();
        const int32_t world = data ? data->getWorld() : 1;
        if (world == 2)
            music->playGame2();
        else if (world == 3)
            music->playGame3();
        else
            music->playGame1();
    }
}

void cShop::update() {
    // 1. Shown and enabled; 2. built again after a reload.
    if (!isVisible()) {
        show();
        enable();
    }
    if (!m_screen) build();
    // 3. The screen ignores the mouse under the pause panel; under the confirm-exit panel its
    //    state is left as it is.
    cConfirmExitPanel* exit = getConfirmExitPanel();
    if (m_pause_panel && m_pause_panel->isVisible())
        m_screen->deactivate();
    else if (!(exit && exit->isVisible()))
        m_screen->activate();
    // 4. The fade.
    if (m_fade_step) (this->*m_fade_step)();
    // 5. The cursor's look over hot buttons; 6. the children.
    cCursor::testSubtree(this);
    cSceneNode::update();
}

void cShop::onEnable() {
    bindInput(kEscapePressed, &cShop::onEscapeKey, this);
    cSceneNode::onEnable();
}

void cShop::onDisable() {
    unbindInput(kEscapePressed, &cShop::onEscapeKey, this);
    cSceneNode::onDisable();
}

void cShop::fadeInStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    cGraphics* graphics = getGraphics();
    float level = (graphics ? graphics->getFade() : 0.0f) + getDeltaTime2() * kFadeInSpeed;
    if (level >= 255.0f) {
        level = 255.0f;
        m_fade_step = nullptr;
        setLogicPaused(false);
        // The first shop's hint comes once the shop can be seen.
        if (m_screen) m_screen->showHints();
    }
    if (graphics) graphics->setFade(level);
}

void cShop::startFadeOut() {
    m_fade_step = &cShop::fadeOutStep;
    m_after_fade = &cShop::afterFadeOut;
    m_held_black = false;
}

void cShop::fadeOutStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    cGraphics* graphics = getGraphics();
    float level = (graphics ? graphics->getFade() : 0.0f) - getDeltaTime2() * kFadeOutSpeed;
    if (level <= 0.0f) {
        level = 0.0f;
        if (m_held_black) {
            if (m_after_fade) (this->*m_after_fade)();
            m_after_fade = nullptr;
            m_fade_step = nullptr;
        } else {
            m_held_black = true;
        }
        setLogicPaused(false);
    }
    if (graphics) graphics->setFade(level);
}

void cShop::afterFadeOut() {
    if (getResult() != SHOP_RESULT_RESTART) {
        setFinished(true);
        return;
    }
    // The reload: the parts go now and the next update builds them again.
    deleteAndNull(m_screen);
    deleteAndNull(m_pause_panel);
    deleteAndNull(m_confirm_menu);
}

void cShop::finish() {
    setResult(SHOP_RESULT_CONTINUE);
    startFadeOut();
}

void cShop::quitToMenu() {
    setResult(SHOP_RESULT_MENU);
    startFadeOut();
}

void cShop::hidePauseAndQuitToMenu() {
    if (m_pause_panel) m_pause_panel->hide();
    quitToMenu();
}

bool cShop::isPausePanelShown() const { return m_pause_panel && m_pause_panel->isVisible(); }

bool cShop::pause() {
    if (!m_pause_panel || m_fade_step) return false;
    m_pause_panel->disable();
    m_pause_panel->show(false);
    return true;
}

void cShop::onEscapeKey(void* object) {
    auto* shop = static_cast<cShop*>(object);
    cShopPausePanel* panel = shop->m_pause_panel;
    if (!panel || shop->m_fade_step) return;
    if (!panel->isVisible()) {
        if (cSound* sound = getSound()) sound->pauseAll();
        panel->show(true);
    } else if (panel->isActive()) {
        panel->resume();
    }
}

void cShop::cheatReload() {
    if (!isIdle()) return;
    m_reload_config = true;
    setResult(SHOP_RESULT_RESTART);
    startFadeOut();
}

void cShop::cheatAddMoney() {
    if (m_screen) m_screen->cheatAddMoney();
}

int32_t cShop::getCash() const { return m_screen ? m_screen->getCash() : 0; }
