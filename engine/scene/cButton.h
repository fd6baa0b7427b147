#pragma once
// The clickable picture of menus, panels and dialogs: four looks (normal, hover, pressed,
// disabled), an optional text label whose font image follows the look, two sounds, and three
// handlers. While enabled it binds the left mouse button's press and release; it tests the
// pointer against a rectangle ("size") or a convex polygon ("v1", "v2", ...).
//
// A click is a press over the button and a release over it without leaving it in between.
// The look is refreshed every update with the precedence disabled, pressed, hover, normal.

#include <vector>

#include "engine/core/cString.h"
#include "engine/scene/cDeletionWatch.h"
#include "engine/scene/cPicture.h"
#include "engine/core/cVector2.h"

class cIniFile;
class cText;

// A widget's handler: receives the widget (cast it to its class) and returns a result.
using ButtonHandler = bool (*)(cSceneNode* widget);

namespace widget_shape {
// Reads "v1", "v2", ... until the first absent (or unreadable) point.
std::vector<cVector2> loadHitPoints(const cIniFile& ini, const cStringW& section);
// The point inside the widget's hit shape: with fewer than 3 points the rectangle of size
// (bounds inclusive), else the convex clockwise polygon (a point on an edge is outside). The
// corner is the position, minus half the size when the sprite is centred.
bool contains(const cSprite& sprite, const cVector2& size, const std::vector<cVector2>& points,
              const cVector2& point);
// The INI and section a widget takes its style from: the resource named by "ini" (section
// styleSection) or, when that key is empty, the instance itself.
const cIniFile& styleSource(const cIniFile& ini, const cStringW& section, const wchar_t* styleSection,
                            cStringW* styleSectionOut);
// Plays a sample through the sound manager when one runs; an empty name plays nothing.
void playSound(const cStringA& name);
// Replaces *label by a new text child of owner showing text: styled by style/styleSection, one
// step nearer than the owner, placed at the owner's position plus textOffset, which the
// instance's "text_offset" overrides where it is readable.
void replaceLabel(cSprite& owner, cText*& label, const cIniFile& ini, const cStringW& section,
                  const cIniFile& style, const cStringW& styleSection, const cStringW& text,
                  cVector2& textOffset);
}  // namespace widget_shape

class cButton : public cPicture {
public:
    explicit cButton(cSceneNode* parent = nullptr);
    ~cButton() override;

    int getTypeId() const override { return SCENE_BUTTON; }
    // The picture's update, then hover from the hit test (leaving clears pressed), then the look.
    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    // Binds the left button's release (512) and press (520); onDisable unbinds them.
    void onEnable() override;
    void onDisable() override;
    void setTransformOrigin(const cVector2& origin) override;
    void setAngle(float degrees) override;
    void setAlpha(uint32_t alpha) override;

    virtual void setClickHandler(ButtonHandler handler) { m_click_handler = handler; }
    virtual void setPressHandler(ButtonHandler handler) { m_press_handler = handler; }
    virtual void setReleaseHandler(ButtonHandler handler) { m_release_handler = handler; }
    virtual ButtonHandler getClickHandler() const { return m_click_handler; }
    virtual ButtonHandler getPressHandler() const { return m_press_handler; }
    virtual ButtonHandler getReleaseHandler() const { return m_release_handler; }

    bool hitTest() const;
    bool isHovered() const { return m_hover; }
    bool isPressed() const { return m_pressed; }
    cText* getLabel() const { return m_label; }
    cVector2 getSize() const { return m_size; }
    void setSize(const cVector2& size) { m_size = size; }
    const std::vector<cVector2>& getHitPoints() const { return m_hit_points; }
    cVector2 getTextOffset() const { return m_text_offset; }
    // The textures of the four looks (game code may change them; the next refresh shows them).
    void setLookTextures(const cStringA& normal, const cStringA& hover, const cStringA& pressed,
                         const cStringA& disabled);
    const cStringA& getTextureNormal() const { return m_texture_normal; }
    const cStringA& getTextureHover() const { return m_texture_hover; }
    const cStringA& getTexturePressed() const { return m_texture_pressed; }
    const cStringA& getTextureDisabled() const { return m_texture_disabled; }
    // The label's font image of the four looks.
    void setLookFonts(const cStringA& normal, const cStringA& hover, const cStringA& pressed,
                      const cStringA& disabled);
    const cStringA& getSoundActive() const { return m_sound_active; }
    const cStringA& getSoundPressed() const { return m_sound_pressed; }
    // Applies the look of the current state now.
    void refreshLook();

    // The input callbacks (bound while enabled); public for game code that forwards input.
    bool onPress();
    bool onRelease();

private:
    static void pressCallback(void* object);
    static void releaseCallback(void* object);
    void setLabelTexture(const cStringA& name);

    bool m_hover = false;
    bool m_pressed = false;
    ButtonHandler m_click_handler = nullptr;
    ButtonHandler m_press_handler = nullptr;
    ButtonHandler m_release_handler = nullptr;
    cVector2 m_size;
    std::vector<cVector2> m_hit_points;
    cStringA m_texture_normal, m_texture_hover, m_texture_pressed, m_texture_disabled;
    cText* m_label = nullptr;
    cVector2 m_text_offset;
    cStringA m_font_normal, m_font_hover, m_font_pressed, m_font_disabled;
    cStringA m_sound_active;
    cStringA m_sound_pressed;
    cDeletionWatch m_deletion_watch;  // a handler may delete the button
};
