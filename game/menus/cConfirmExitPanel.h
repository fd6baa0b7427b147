#pragma once
// The quit confirmation over every state but the logo: a single instance owned by the root
// object, hidden until a close request shows it. While shown it pauses the logic; hiding it
// restores the pause as it was. Yes (Y or Enter) asks the logic to quit; No (N or Escape)
// hides it.

#include "engine/core/cSingleton.h"
#include "engine/scene/cCompositePicture.h"

class cText;

class cConfirmExitPanel : public cCompositePicture, public cSingleton<cConfirmExitPanel> {
public:
    static constexpr const char* kBackground = "Menu/Buttons/confirm_panel.dds";
    static constexpr const char* kAppearSound = "sounds/game_interface/panel_appear.ogg";

    explicit cConfirmExitPanel(cSceneNode* parent);
    ~cConfirmExitPanel() override;

    void show(bool withSound);
    void hidePanel();
    void onEnable() override;
    void onDisable() override;

    // The buttons.
    void yes();
    void no();

private:
    static void yesKey(void* panel);
    static void noKey(void* panel);

    cText* m_title = nullptr;
    cText* m_help = nullptr;
    bool m_saved_logic_pause = false;
};

cConfirmExitPanel* getConfirmExitPanel();
