#pragma once
// Menu screen 7: the player profiles. A list shows every profile's name, row i being profile
// i; the list's selection is always the game data's current profile (a click on a name makes
// it current and saves). New opens a panel with an edit box; Delete (only with two or more
// profiles) asks first, naming the selected profile, with the error sound; a name that is
// already listed (letters compared with their case folded) is refused with the error sound and
// a notice that follows the new panel. OK makes the selection current and leaves.
//
// Enter and Escape go to the open sub-panel first (new: OK / Cancel, delete: Yes / No, notice:
// OK); Enter on the browsing screen is OK; Escape never leaves the screen. Each dialog takes
// one answer: until its panel has gone, further keys and clicks on it wait. The screen
// finishes once the main panel has slid out. Always complete.

#include "game/menus/cMenuScreen.h"

class cButton;
class cEditBox;
class cListBox;
class cMenuPanel;
class cPicture;
class cText;

class cScreenPlayerSetup : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_player_setup.ini";
    static constexpr const char* kErrorSound = "sounds/menu/error.ogg";

    explicit cScreenPlayerSetup(cSceneNode* parent);
    ~cScreenPlayerSetup() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }

    cMenuPanel* getPanel() const { return m_panel; }
    cMenuPanel* getDeletePanel() const { return m_delete_panel; }
    cMenuPanel* getNewPanel() const { return m_new_panel; }
    cMenuPanel* getExistPanel() const { return m_exist_panel; }
    cListBox* getList() const { return m_list; }
    cEditBox* getEditBox() const { return m_edit; }
    cText* getDeleteNameText() const { return m_delete_name; }
    cButton* getOkButton() const { return m_ok; }
    cButton* getNewButton() const { return m_new; }
    cButton* getDeleteButton() const { return m_delete; }
    cButton* getDeleteYesButton() const { return m_delete_yes; }
    cButton* getDeleteNoButton() const { return m_delete_no; }
    cButton* getNewOkButton() const { return m_new_ok; }
    cButton* getNewCancelButton() const { return m_new_cancel; }
    cButton* getExistOkButton() const { return m_exist_ok; }
    int32_t getListedCount() const { return m_count; }

private:
    static bool onButtonClick(cSceneNode* button);
    static bool onNewPanelButton(cSceneNode* button);
    static bool onDeletePanelButton(cSceneNode* button);
    static bool onExistPanelButton(cSceneNode* button);
    static bool onListSelect(cSceneNode* list);
    static void onEnterKey(void* screen);
    static void onEscapeKey(void* screen);
    static cScreenPlayerSetup* ofButton(cSceneNode* button);

    void fillList();
    void updateDeleteButton();
    void selectListedProfile();
    // True while a sub-panel is coming, up or leaving: the main buttons wait.
    bool isDialogOpen() const;
    void pressMain(cButton* button);
    void answerNew(bool ok);
    void answerDelete(bool yes);
    void answerExist();
    void createProfile();
    void deleteProfile();
    // Hides, disables and deactivates a sub-panel that has slid out.
    static void putAway(cMenuPanel* panel);
    static bool isOpenAndActive(const cMenuPanel* panel);

    cMenuPanel* m_panel = nullptr;
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cListBox* m_list = nullptr;
    cButton* m_ok = nullptr;
    cButton* m_new = nullptr;
    cButton* m_delete = nullptr;
    cMenuPanel* m_delete_panel = nullptr;
    cButton* m_delete_yes = nullptr;
    cButton* m_delete_no = nullptr;
    cText* m_delete_top = nullptr;
    cText* m_delete_name = nullptr;
    cText* m_delete_bottom = nullptr;
    cMenuPanel* m_new_panel = nullptr;
    cEditBox* m_edit = nullptr;
    cButton* m_new_ok = nullptr;
    cButton* m_new_cancel = nullptr;
    cText* m_new_text = nullptr;
    cMenuPanel* m_exist_panel = nullptr;
    cButton* m_exist_ok = nullptr;
    cText* m_exist_text = nullptr;
    int32_t m_count = 0;
    bool m_leaving = false;
    bool m_delete_closing = false;
    bool m_new_closing = false;
    bool m_exist_closing = false;
    bool m_name_exists = false;
};
