#pragma once
// cCloudButtonBase: a face drawn as a nine-slice cloud around a text. The face's own picture
// is the stretched centre slice and eight child pictures are its borders; it is sized to its
// text or to a given outer size and turns and fades as one.
//
// cCloudButton: a clickable button of such a face and a fainter second face behind it (the
// back, moved by an offset), with four looks, two sounds and three handlers. Its scene type id
// is 1000. Nothing in the game creates either.

#include <cstdint>

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

class cText;

class cCloudButtonBase : public cPicture {
public:
    enum Border : int { LEFT = 0, TOP_LEFT, TOP, TOP_RIGHT, RIGHT, BOTTOM_RIGHT, BOTTOM, BOTTOM_LEFT, BORDER_COUNT };
    static constexpr float kNoSize = -10000.0f;

    explicit cCloudButtonBase(cSceneNode* parent);
    ~cCloudButtonBase() override;

    // Picture keys of the section; the style ("ini": section CLOUD_BUTTON of that file, else
    // the section itself) gives textures, sizes and the text's keys.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    void setAngle(float degrees) override;
    void setAlpha(uint32_t alpha) override;
    // Own deep d, borders d + 0.01, text d + 0.03.
    virtual void setDeepAll(float deep);

    // The face texture of every piece; the text's font texture.
    void setFaceTexture(const cStringA& name);
    void setFontTexture(const cStringA& name);
    cText* getText() const { return m_text; }
    cPicture* getBorder(int i) const { return i >= 0 && i < BORDER_COUNT ? m_borders[i] : nullptr; }
    cVector2 getContentSize() const { return m_content_size; }
    cVector2 getMargins() const { return m_margins; }
    // Content plus margins: the area the centre slice covers.
    cVector2 getInnerSize() const { return m_content_size + m_margins * 2.0f; }

protected:
    void arrange();
    void applyTextureRects();

    cText* m_text = nullptr;
    cPicture* m_borders[BORDER_COUNT];
    cVector2 m_texture_size;
    cVector2 m_content_size;
    cVector2 m_margins;
    cVector2 m_border_size;
    cRect m_center;
};

class cCloudButton : public cCloudButtonBase {
public:
    static constexpr int kTypeId = 1000;
    using Handler = void (*)(cCloudButton* button);

    explicit cCloudButton(cSceneNode* parent);
    ~cCloudButton() override;

    int getTypeId() const override { return kTypeId; }
    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    void setScale(const cVector2&) override {}
    void setUniformScale(float) override {}
    void setAngle(float degrees) override;
    void setAlpha(uint32_t alpha) override;
    void setDeepAll(float deep) override;

    virtual void setClickHandler(Handler h) { m_click = h; }
    virtual void setPressHandler(Handler h) { m_press = h; }
    virtual void setReleaseHandler(Handler h) { m_release = h; }
    virtual Handler getClickHandler() const { return m_click; }
    virtual Handler getPressHandler() const { return m_press; }
    virtual Handler getReleaseHandler() const { return m_release; }

    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }
    cCloudButtonBase* getBack() const { return m_back; }
    // The mouse inside the face's content area.
    bool isMouseInside() const;

    static void onPressInput(void* button);
    static void onReleaseInput(void* button);

private:
    enum Look { LOOK_NORMAL = 0, LOOK_HOVER, LOOK_PRESSED, LOOK_DISABLED, LOOK_NONE };
    void showLook(int look);

    cCloudButtonBase* m_back;
    cVector2 m_back_offset;
    float m_back_alpha = 255.0f;
    Handler m_click = nullptr, m_press = nullptr, m_release = nullptr;
    bool m_hovered = false;
    bool m_pressed = false;
    int m_look = LOOK_NONE;
    cStringA m_faces[4];
    cStringA m_fonts[4];
    cStringA m_sound_active, m_sound_pressed;
};

// True for a cloud button that is enabled, visible and under the mouse (the cursor's test).
bool isCloudButtonHot(cSceneNode* node);
