#pragma once
// The two yes/no panels that confirm throwing the level away: cPanelConfirmMenu (back to the
// main menu; owner kind 0 game screen, 1 shop, 2 mini game) and cPanelConfirmTry (play the
// level again; game screen only). They open over a pause or results panel that has already
// frozen and dimmed the game, so they clear all three panel flags. Built parked at the hidden
// point; enabling prepares the slide-in from where the panel is and binds Enter (Yes, not
// while Alt is held) and Escape (No). Both buttons slide the panel out.

#include "game/interface/cPanel.h"

class cButton;
class cText;

class cPanelConfirm : public cPanel {
public:
    ~cPanelConfirm() override;
    // Ignores the section: COMMON, TITLE, BUTTON_YES, BUTTON_NO of the INI.
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;

    // The click handler of both buttons (the button's scene parent is the panel).
    static bool onButtonClick(cSceneNode* button);
    static void onEnterKey(void* panel);
    static void onEscapeKey(void* panel);

    cText* getTitle() const { return m_title; }
    cButton* getYesButton() const { return m_button_yes; }
    cButton* getNoButton() const { return m_button_no; }

protected:
    // Builds the parts, loads the file and parks the panel at its hidden point.
    cPanelConfirm(cSceneNode* parent, cPanelOwner* owner, const char* file);
    // What Yes does before the panel slides out.
    virtual void onYes() = 0;
    void click(cButton* button);

    cText* m_title;
    cButton* m_button_yes;
    cButton* m_button_no;
};

enum ConfirmMenuOwner : int {
    CONFIRM_OWNER_GAME_SCREEN = 0,
    CONFIRM_OWNER_SHOP = 1,
    CONFIRM_OWNER_MINI_GAME = 2,
};

class cPanelConfirmMenu : public cPanelConfirm {
public:
    cPanelConfirmMenu(cSceneNode* parent, cPanelOwner* owner, int ownerKind);
    int getOwnerKind() const { return m_owner_kind; }

protected:
    // Game screen: from the results panel hide it and exit booking the run; from the pause
    // panel hide it and exit without booking; from neither exit booking the run. Shop and mini
    // game: their pause panel goes and they quit to the menu. Any other kind: nothing.
    void onYes() override;

private:
    int m_owner_kind;
};

// True while the game screen's confirm-menu or confirm-try panel is on screen; the panels
// under them do not react meanwhile.
bool isConfirmPanelVisible(cLevelPanelOwner* game);

class cPanelConfirmTry : public cPanelConfirm {
public:
    cPanelConfirmTry(cSceneNode* parent, cLevelPanelOwner* owner);

protected:
    // From the results panel: hide it and restart a level played to its end; from the pause
    // panel: hide it and restart plainly; from neither: nothing.
    void onYes() override;
};
