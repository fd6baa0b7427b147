#pragma once
// The stand-in body of the states with a pause panel (the game screen, the shop and the mini
// game): P or a lost focus opens the pause line; Enter closes it and resumes the music and
// sounds that the focus loss paused.

#include "game/flow/cPlaceholderScreen.h"

class cPausingScreen : public cPlaceholderScreen {
public:
    cPausingScreen(cSceneNode* parent, const cStringA& background);

    // Opens the pause panel: false when it is open already or the state has finished.
    bool openPausePanel();
    bool isPausePanelShown() const { return m_paused; }
    void onEnable() override;
    void onDisable() override;

protected:
    // Enter while paused continues; otherwise the state's own confirm.
    void onConfirm() final;
    void onBack() final;
    virtual void onPlayConfirm() {}
    virtual void onPlayBack() {}

private:
    static void pauseKey(void* screen);
    void closePausePanel();

    bool m_paused = false;
};
