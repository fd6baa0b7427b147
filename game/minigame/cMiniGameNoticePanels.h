#pragma once
// The two mini-game panels made of a title, a picture, a description and one button:
//   cMiniGameStartPanel  ("mgi_panel_start.ini"): the level's start title, picture and
//                        description from the level file the mini game loaded; its button (or
//                        Enter, unless Alt is held or it slides) starts the game.
//   cMiniGameAlertPanel  ("mgi_panel_alert.ini"): the warning after too many wrong clicks;
//                        closing it starts the time penalty and resumes the sounds the
//                        state paused when it opened it.
// A picture or description with nothing to show is deleted while the panel is configured.
// Both mark the mini game paused from their first slide-in step to the end of their slide-out.

#include "game/minigame/cMiniGamePanel.h"

class cButton;
class cText;

class cMiniGameNoticePanel : public cMiniGamePanel {
public:
    ~cMiniGameNoticePanel() override;

    void onEnable() override;
    void onDisable() override;
    static bool onButton(cSceneNode* button);

    cText* getTitle() const { return m_title; }
    cPicture* getPicture() const { return m_picture; }
    cText* getDescription() const { return m_description; }
    cButton* getButton() const { return m_button; }

protected:
    cMiniGameNoticePanel(cSceneNode* parent, cPanelOwner* owner);
    // The panel's file, with the level file's keys for title, picture and description when
    // levelKeys names them (null: the panel's own texts).
    void configure(const char* file, const wchar_t* const* levelKeys);

    cText* m_title;
    cPicture* m_picture;
    cText* m_description;
    cButton* m_button;
};

class cMiniGameStartPanel : public cMiniGameNoticePanel {
public:
    cMiniGameStartPanel(cSceneNode* parent, cPanelOwner* owner);
    // Disabled here, where its own disable hook still runs and drops the Enter binding.
    ~cMiniGameStartPanel() override;
    void onEnable() override;
    void onDisable() override;
    static void onEnterKey(void* panel);
};

class cMiniGameAlertPanel : public cMiniGameNoticePanel {
public:
    cMiniGameAlertPanel(cSceneNode* parent, cPanelOwner* owner);
    void onDisable() override;
};

// The first word of a value as a picture name: an empty name deletes the picture.
void setOrDropPicture(cPicture*& picture, const cStringW& value);
// The text's string, or the text deleted when it is empty.
void setOrDropText(cText*& text, const cStringW& value);
