#pragma once
// The base of the panels that slide over a game state: a composite picture with a background
// picture of its own (section ADD_PANEL: a child, not attached, so it slides on its own
// motion), two eased motions between a shown point and a hidden point above the screen, the
// step that runs the slide-in or slide-out on interface time, and the completion interface
// (finished after a slide-out, complete while no slide runs).
//
// Three flags decide what a shown panel does to the game behind it: m_modal keeps the owner's
// status panel inactive, m_dim_level dims the level from show to hide, m_freeze_time stops game
// time from the first slide-in step until the slide-out ends. All three are on by default.
//
// A derived panel loads its configuration (visible and enabled 0 in its own section), fills
// the points with setSlidePoints, prepares the motions (most do it in their enable handler,
// which the first slide-in step runs) and, to close, prepareSlideOut then hide.

#include "engine/core/cVector2.h"
#include "engine/media/cInput.h"
#include "engine/scene/cCompositePicture.h"
#include "engine/scene/cMotion.h"
#include "game/interface/cCompletion.h"
#include "game/interface/cPanelOwner.h"
#include "platform/input/KeyCodes.h"

class cIniFile;

// The keys the panels listen to.
inline constexpr InputCode kEnterPressed = keyPressedCode(KEY_ENTER);
inline constexpr InputCode kEscapePressed = keyPressedCode(KEY_ESCAPE);
// Alt+Enter toggles full screen, and every Enter binding asks this first to leave such an Enter
// alone: true when an Alt key was held as the key being handled went down (even when all of a
// quick Alt+Enter came in one frame), outside a key's binding when Alt is held now.
bool isAltHeld();

class cPanel : public cCompositePicture, public cCompletion {
public:
    // The hidden points lie at this y, whatever the panel's size.
    static constexpr float kHiddenY = -250.0f;

    // owner may be null (no status panel, no level to dim).
    cPanel(cSceneNode* parent, cPanelOwner* owner);
    ~cPanel() override;

    void update() override;
    // The composite's loader on the section, then the background's on ADD_PANEL of the same INI.
    virtual void loadConfig(const cIniFile& ini, const cStringW& section);

    // Starts the slide-in with the next update (playing the appear sound when asked) and dims
    // the level. Showing a shown panel runs the appear step again; it completes at once.
    void show(bool sound);
    // Starts the slide-out along the motions the caller prepared (disappear sound when asked)
    // and lifts the dimming at once.
    void hide(bool sound);

    // True while no slide step runs.
    bool isComplete() override { return m_step == nullptr; }

    cPicture* getBackground() const { return m_background; }
    const cVector2& getShownPosition() const { return m_shown_position; }
    const cVector2& getHiddenPosition() const { return m_hidden_position; }
    bool isModal() const { return m_modal; }
    bool isDimLevel() const { return m_dim_level; }
    bool isFreezeTime() const { return m_freeze_time; }
    bool isAppearing() const { return m_step == &cPanel::appearStep; }
    bool isDisappearing() const { return m_step == &cPanel::disappearStep; }

protected:
    virtual void appearStep();
    virtual void disappearStep();

    // Shown points from the current positions of panel and background; hidden points at
    // (shown x, kHiddenY).
    void setSlidePoints();
    // Slide-in motions from the given starts to the shown points.
    void prepareSlideIn(const cVector2& start, const cVector2& backgroundStart);
    void prepareSlideInFromHidden() { prepareSlideIn(m_hidden_position, m_background_hidden_position); }
    void prepareSlideInFromHere();
    // Slide-out motions from the current positions to the hidden points.
    void prepareSlideOut();
    // Panel and background at their hidden points.
    void parkHidden();
    // Deactivates (or activates) the owner's status panel unless it is this panel.
    void setStatusPanelActive(bool active);
    void freezeGame(bool frozen);
    void clearStep() { m_step = nullptr; }
    // Deletes a part for good and forgets it.
    template <class T>
    static void deletePart(T*& part) {
        delete part;
        part = nullptr;
    }

    cPanelOwner* m_owner;
    cPicture* m_background;
    cMotion m_motion;
    cMotion m_background_motion;
    cVector2 m_shown_position;
    cVector2 m_background_shown_position;
    cVector2 m_hidden_position;
    cVector2 m_background_hidden_position;
    bool m_modal = true;
    bool m_dim_level = true;
    bool m_freeze_time = true;

private:
    void (cPanel::*m_step)() = nullptr;
};
