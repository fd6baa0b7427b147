#pragma once
// The framed panel of the menu screens and prompts: a picture with a second picture, the
// overlay, that drop in from above the screen with a springy motion and leave upwards again.
// The overlay leads: the panel follows once the overlay's curve parameter has passed 3.0
// (about 0.17 s) and rests about 0.87 s after show(). hide() takes both up in 0.3 s.
//
// While it slides the panel and everything on it is inactive; at the end both stand exactly
// on their targets. After a slide-in the panel is visible, enabled, active and not finished;
// after a slide-out it is hidden, disabled, inactive and finished. show() and hide() restart
// at once from any state. Runs on interface time: a paused game clock does not stop it.
//
// Positions come from the INI: the panel's section gives the resting point of the panel,
// section <section>_ADD that of the overlay; hidden, both stand at y = -250.

#include "engine/core/cVector2.h"
#include "engine/scene/cMotion.h"
#include "engine/scene/cPicture.h"
#include "game/interface/cCompletion.h"

class cMenuPanel : public cPicture, public cCompletion {
public:
    static constexpr float kHiddenY = -250.0f;
    // The overlay's curve parameter after which the panel starts to move in.
    static constexpr float kPanelFollowsAt = 3.0f;

    explicit cMenuPanel(cSceneNode* parent);
    ~cMenuPanel() override;

    // The picture keys of the section, then those of <section>_ADD for the overlay; the
    // positions loaded become the resting points.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Runs the slide step, if any, then the picture's update.
    void update() override;

    // Start the slide-in (from the hidden points) and the slide-out (from where they are).
    void show();
    void hide();
    bool isComplete() override { return m_step == STEP_NONE; }
    bool isSliding() const { return m_step != STEP_NONE; }

    cPicture* getOverlay() const { return m_overlay; }
    const cVector2& getShownPosition() const { return m_shown; }
    const cVector2& getOverlayShownPosition() const { return m_overlay_shown; }
    const cVector2& getHiddenPosition() const { return m_hidden; }

protected:
    virtual void appearStep();
    virtual void disappearStep();

private:
    enum Step { STEP_NONE, STEP_APPEAR, STEP_DISAPPEAR };

    cMotion m_panel_motion;
    cMotion m_overlay_motion;
    cVector2 m_shown;
    cVector2 m_overlay_shown;
    cVector2 m_hidden;
    cVector2 m_overlay_hidden;
    cPicture* m_overlay = nullptr;
    Step m_step = STEP_NONE;
};
