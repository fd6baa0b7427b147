#pragma once
// The shared body of the menu screens that are not built in full yet: a menu panel that names
// the screen and carries one labelled button per result. A button stores its result, runs the
// screen's choice (see onChoice) and slides the panel out; the screen finishes once the panel
// is hidden. Always complete. The layout is "Config/Menu/screen_stand_in.ini".

#include <vector>

#include "engine/core/cString.h"
#include "game/menus/cMenuScreen.h"

class cButton;
class cMenuPanel;
class cText;

class cStandInScreen : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_stand_in.ini";
    struct Choice {
        const wchar_t* label;
        int32_t result;
    };

    cStandInScreen(cSceneNode* parent, const wchar_t* title, std::vector<Choice> choices);
    ~cStandInScreen() override;

    void update() override;
    bool isComplete() override { return true; }

    const cStringW& getTitle() const;
    // The button of a result (null when the screen has none).
    cButton* getButton(int32_t result) const;
    cMenuPanel* getPanel() const { return m_panel; }

protected:
    // What a choice does before the panel leaves; nothing by default.
    virtual void onChoice(int32_t) {}

private:
    static bool onButtonClick(cSceneNode* button);

    cMenuPanel* m_panel = nullptr;
    cText* m_title = nullptr;
    std::vector<Choice> m_choices;
    std::vector<cButton*> m_buttons;
    bool m_closing = false;
};
