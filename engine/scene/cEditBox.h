#pragma once
// The one-line text field of the player-name screens: a background picture with two child
// texts, the value being typed and a blinking cursor right after it. Characters come from the
// input manager's typed-character stream while the box is enabled and active; Backspace (8)
// deletes, a carriage return (13) is ignored, characters the font cannot draw are refused, and
// the value stays narrower than "max_text_size" pixels. The releases of Enter and Escape call
// two handlers while the box is shown.

#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"

class cText;

class cEditBox : public cPicture {
public:
    explicit cEditBox(cSceneNode* parent = nullptr);
    ~cEditBox() override;

    int getTypeId() const override { return SCENE_EDIT_BOX; }
    // Blinks the cursor on interface time, then the picture's update.
    void update() override;
    // Picture keys, "ini" (style INI, required), "text", "cursor"; style "paths" (name_font,
    // name_font_param, name_pic) and "sizes" (text_align, text_offset, max_text_size,
    // cursor_speed).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    // Binds the releases of Escape (1) and Enter (28) and takes the typed characters.
    void onEnable() override;
    void onDisable() override;
    void setDeep(float deep) override;
    void setAlpha(uint32_t alpha) override;

    virtual ButtonHandler getEnterHandler() const { return m_enter_handler; }
    virtual void setEnterHandler(ButtonHandler handler) { m_enter_handler = handler; }
    virtual ButtonHandler getEscapeHandler() const { return m_escape_handler; }
    virtual void setEscapeHandler(ButtonHandler handler) { m_escape_handler = handler; }

    void setText(const cStringW& value);
    const cStringW& getText() const { return m_value; }
    cText* getValueText() const { return m_value_text; }
    cText* getCursorText() const { return m_cursor_text; }
    uint32_t getMaxTextSize() const { return m_max_text_size; }
    void setMaxTextSize(uint32_t pixels) { m_max_text_size = pixels; }
    float getCursorSpeed() const { return m_cursor_speed; }
    void setCursorSpeed(float seconds) { m_cursor_speed = seconds; }
    void setCursorString(const cStringW& cursor) { m_cursor_string = cursor; }
    bool isCursorOn() const { return m_blink_on; }

    // The input callbacks.
    void onCharacter(wchar_t character);
    void onEnter();
    void onEscape();

private:
    static void charCallback(wchar_t character, void* user);
    static void enterCallback(void* object);
    static void escapeCallback(void* object);

    cText* m_value_text = nullptr;
    cText* m_cursor_text = nullptr;
    bool m_hidden = true;
    cStringA m_font_texture;
    cStringW m_cursor_string;
    cStringW m_value;
    uint32_t m_max_text_size = 200;
    float m_cursor_speed = 0.5f;
    ButtonHandler m_enter_handler = nullptr;
    ButtonHandler m_escape_handler = nullptr;
    bool m_blink_started = false;
    float m_blink_time = 0.0f;
    bool m_blink_on = false;
};
