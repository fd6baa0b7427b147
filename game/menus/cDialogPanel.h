#pragma once
// The base of the two game-wide dialogs that the root object owns for the whole run, the
// options panel and the quit question: a panel (cPanel) that dims nothing and leaves the logic
// pause to the dialog itself, read from one file (the composite from COMMON, its overlay from
// PANEL_ADD, unattached), parked above the screen and built hidden and disabled. While it is
// enabled Enter (not with an Alt key held) and Escape answer it, each only while it is active,
// that is neither sliding nor covered.

#include "game/interface/cPanel.h"

class cDialogPanel : public cPanel {
public:
    explicit cDialogPanel(cSceneNode* parent);
    ~cDialogPanel() override;

    // Binds Enter and Escape, then the panel's own handler (which enables the attached parts).
    void onEnable() override;
    void onDisable() override;

protected:
    // The composite's section COMMON and the overlay's PANEL_ADD.
    void loadPanel(const cIniFile& ini);
    // After loading and attaching: the slide points from the loaded positions, both pictures
    // at their hidden points, hidden and disabled.
    void park();
    // Enter (true) or Escape (false) while the dialog is active.
    virtual void answer(bool accept) = 0;

private:
    static void onEnterKey(void* dialog);
    static void onEscapeKey(void* dialog);
};
