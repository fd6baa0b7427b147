#pragma once
// The game's own mouse pointer: a picture that follows the pointer with one of three looks,
// normal, active (over something clickable) and pressed (left button held). Each state with
// mouse interaction owns one as its child, loaded from "Config/Common/cursor.ini", section
// COMMON. Every frame it also decides whether the system pointer is wanted: when the player
// prefers it (the hardware-cursor setting) or the pointer is outside the screen.
//
// The state's frame, in this order: setOverWidget(false); testWidget on every node of its
// subtree; then the update of its children, the cursor among them.

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "engine/scene/cPicture.h"

class cCursor : public cPicture, public cSingleton<cCursor> {
public:
    static constexpr const char* kConfig = "Config/Common/cursor.ini";
    enum Look : int32_t { LOOK_NORMAL = 0, LOOK_ACTIVE = 1, LOOK_PRESSED = 2 };

    explicit cCursor(cSceneNode* parent);
    ~cCursor() override;

    // The picture keys, then picture_normal, picture_active and picture_pressed; shows the
    // current look.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void update() override;
    void onEnable() override;
    void onDisable() override;

    void setPicture(int32_t look);
    int32_t getCurrentPicture() const { return m_current; }
    const cStringA& getPictureName(int32_t look) const { return m_names[look < 0 || look > 2 ? 0 : look]; }

    void setOverWidget(bool over) { m_over_widget = over; }
    void setOverObject(bool over) { m_over_object = over; }
    bool isOverWidget() const { return m_over_widget; }
    bool isOverObject() const { return m_over_object; }
    bool isPressed() const { return m_pressed; }
    // Per-node callback of the states: a hot button or check button sets over widget.
    static void testWidget(cSceneNode* node);
    // A state's frame: resets over widget and tests every node of the state's subtree.
    static void testSubtree(cSceneNode* state);

private:
    static void onPress(void* cursor);
    static void onRelease(void* cursor);

    cStringA m_names[3];
    bool m_over_widget = false;
    bool m_over_object = false;
    bool m_pressed = false;
    int32_t m_current = LOOK_NORMAL;
    uint8_t m_saved_alpha = 255;
};

cCursor* getCursor();
