#pragma once
// A two-state picture (checked or not) of the option screens: six textures chosen by the look
// (normal, hover, disabled) and the checked bit, an optional text label. A left-button press
// over it flips the checked bit at once; a left-button release over it calls the click handler
// (which then reads the new state). Its state is one bit word (CheckState).

#include <vector>

#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"

enum CheckState : int32_t {
    CHECK_SHOWN = 1,
    CHECK_CHECKED = 2,
    CHECK_DISABLED = 4,
    CHECK_HOVER = 8,
};

class cCheckButton : public cPicture {
public:
    explicit cCheckButton(cSceneNode* parent = nullptr);
    ~cCheckButton() override;

    int getTypeId() const override { return SCENE_CHECK_BUTTON; }
    // The picture's update, then the hover bit from the hit test.
    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    void onEnable() override;
    void onDisable() override;
    void setScale(const cVector2& scale) override;
    void setAlpha(uint32_t alpha) override;

    virtual void setClickHandler(ButtonHandler handler) { m_click_handler = handler; }
    virtual ButtonHandler getClickHandler() const { return m_click_handler; }

    // Stores a changed word and refreshes the look.
    void setState(int32_t bits);
    int32_t getState() const { return m_state; }
    void setChecked(bool checked);
    bool isChecked() const { return (m_state & CHECK_CHECKED) != 0; }
    bool hitTest() const;
    cText* getLabel() const { return m_label; }
    cVector2 getSize() const { return m_size; }
    const std::vector<cVector2>& getHitPoints() const { return m_hit_points; }
    // Applies the look of the current state (nothing while not shown).
    void refreshLook();

    bool onPress();
    bool onRelease();

private:
    static void pressCallback(void* object);
    static void releaseCallback(void* object);
    void changeState(int32_t bits);

    int32_t m_state = 0;
    ButtonHandler m_click_handler = nullptr;
    cVector2 m_size;
    std::vector<cVector2> m_hit_points;
    cStringA m_texture_normal_on, m_texture_normal_off, m_texture_hover_on, m_texture_hover_off,
        m_texture_disabled_on, m_texture_disabled_off;
    cText* m_label = nullptr;
    cVector2 m_text_offset;
    cStringA m_font_normal, m_font_hover, m_font_disabled;
};
