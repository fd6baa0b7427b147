#pragma once
// One page of the play screen: a picture of ten levels of the campaign, a title and a
// description, and the ten level buttons (page k holds levels 10k - 9 to 10k). The page slides
// in from the left or the right (0.7 s, springy) and out to the left, the right or upwards
// (0.3 s, from wherever it is); each slide replaces one still running. While it slides the
// page is inactive. It reports complete while no slide runs, and finished after a departure.
//
// The title and the description fade with the page's sideways slides: entering from the left
// they stay invisible while the page's x is below the left threshold of
// left_right_x_for_alpha, then rise at 10000 per second; leaving to the left they fall at that
// rate and drop to 0 once x is at or below it (the right side mirrored). A page leaving
// upwards keeps its text until it is hidden.
//
// While the page is active it finds the button under the mouse each frame (where buttons
// overlap, the lower index wins); a left press then makes that button's level the game data's
// current level. A press while the page is inactive, or with no button found, does nothing.
//
// Layout: "Config/Menu/preview_panel.ini" (COMMON with picture_<n> for page n, TITLE and
// DESCRIPTION with text_<n>, LEVEL_BUTTON, BUTTON_POSITIONS). The page is built hidden and
// disabled whatever its section says: only the play screen brings a page in.

#include <array>
#include <cstdint>

#include "engine/core/cVector2.h"
#include "engine/scene/cMotion.h"
#include "engine/scene/cPicture.h"
#include "game/interface/cCompletion.h"

class cLevelButton;
class cText;

class cPreviewPanel : public cPicture, public cCompletion {
public:
    static constexpr const char* kConfig = "Config/Menu/preview_panel.ini";
    static constexpr int kButtonCount = 10;
    static constexpr float kOffLeftX = -250.0f;
    static constexpr float kOffRightX = 1050.0f;
    static constexpr float kOffTopY = -350.0f;
    // Change of the texts' alpha per second while the page slides sideways.
    static constexpr float kTextAlphaRate = 10000.0f;

    // page: 1 to 6.
    cPreviewPanel(cSceneNode* parent, int32_t page);
    ~cPreviewPanel() override;

    // Text alpha, the hovered button (while active), the running slide, then the picture's
    // update.
    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove the left mouse button's press.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return m_step == nullptr; }

    void enterFromLeft();
    void enterFromRight();
    void leaveLeft();
    void leaveRight();
    void leaveUp();
    // Every button leaves the disabled state (the reached level is not changed).
    void unlockAll();

    int32_t getPage() const { return m_page; }
    // Button i, 1 to 10 (null otherwise).
    cLevelButton* getButton(int i) const;
    cLevelButton* getHovered() const { return m_hovered; }
    cText* getTitle() const { return m_title; }
    cText* getDescription() const { return m_description; }
    float getTextAlpha() const { return m_text_alpha; }
    const cVector2& getHomePosition() const { return m_home; }
    float getLeftThreshold() const { return m_left_threshold; }
    float getRightThreshold() const { return m_right_threshold; }

protected:
    virtual void enterStep();
    virtual void leaveStep();

private:
    enum Mode { MODE_NONE, MODE_ENTER_LEFT, MODE_ENTER_RIGHT, MODE_LEAVE_LEFT, MODE_LEAVE_RIGHT };

    void enter(const cVector2& from, Mode mode);
    void leave(const cVector2& to, Mode mode, float rate);
    void stepTextAlpha();
    void pickHovered();
    static void onMousePress(void* page);

    void (cPreviewPanel::*m_step)() = nullptr;
    cMotion m_motion;
    cVector2 m_home;
    cVector2 m_off_top;
    cVector2 m_off_left;
    cVector2 m_off_right;
    int32_t m_page = 1;
    cText* m_title = nullptr;
    cText* m_description = nullptr;
    float m_text_rate = 0.0f;
    float m_text_alpha = 0.0f;
    float m_left_threshold = 0.0f;
    float m_right_threshold = 0.0f;
    Mode m_mode = MODE_NONE;
    std::array<cLevelButton*, kButtonCount> m_buttons{};
    cLevelButton* m_hovered = nullptr;
};
