#include "game/flow/cPausingScreen.h"

#include "engine/media/cInput.h"
#include "engine/media/cSound.h"

cPausingScreen::cPausingScreen(cSceneNode* parent, const cStringA& background)
    : cPlaceholderScreen(parent, background, true) {}

bool cPausingScreen::openPausePanel() {
    if (m_paused || isFinished()) return false;
    m_paused = true;
    setNotice(L"PAUSED - Enter: continue");
    return true;
}

void cPausingScreen::closePausePanel() {
    m_paused = false;
    setNotice(L"");
    if (cSound* sound = getSound()) {
        sound->resumeMusic();
        sound->resumeAll();
    }
}

void cPausingScreen::onConfirm() {
    if (m_paused)
        closePausePanel();
    else
        onPlayConfirm();
}

void cPausingScreen::onBack() {
    if (m_paused)
        closePausePanel();
    else
        onPlayBack();
}

void cPausingScreen::pauseKey(void* screen) {
    auto* self = static_cast<cPausingScreen*>(screen);
    if (self->isActive()) self->openPausePanel();
}

void cPausingScreen::onEnable() {
    bindInput(keyPressedCode(KEY_P), pauseKey, this);
    cPlaceholderScreen::onEnable();
}

void cPausingScreen::onDisable() {
    unbindInput(keyPressedCode(KEY_P), pauseKey, this);
    cPlaceholderScreen::onDisable();
}
