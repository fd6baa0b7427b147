#pragma once
// The prompt that tells the player that the full effects were switched off on a slow machine:
// a menu panel with a heading, a description and OK, owned by the main menu for its whole
// life and shown only by the main screen's frame-rate check. It starts hidden and disabled,
// whatever its file says, so that a forgotten visible="0" cannot lock the main screen. OK
// (mouse only) ends the check for good and slides it out.

#include "game/menus/cMenuPanel.h"

class cButton;
class cText;

class cPanelPerformance : public cMenuPanel {
public:
    // The file's name is spelled without the "r".
    static constexpr const char* kConfig = "Config/Menu/panel_perfomance.ini";

    explicit cPanelPerformance(cSceneNode* parent);
    ~cPanelPerformance() override;

    // Reads its own file whatever it is given: PANEL (overlay PANEL_ADD), TEXT, COMMON_DESC,
    // BUTTON_OK.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    cButton* getOkButton() const { return m_ok; }

private:
    static bool onOk(cSceneNode* button);

    cText* m_text = nullptr;
    cText* m_description = nullptr;
    cButton* m_ok = nullptr;
};

// Ends the first-run frame-rate check in the settings (written at exit): the check does not
// run again, and the full effects are off when fullEffectsOff is set.
void endPerformanceCheck(bool fullEffectsOff);
