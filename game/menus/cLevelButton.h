#pragma once
// One level of the play screen's pages: a picture with the level number on it, a mark for the
// current level and a star for a level completed at expert level. Its look follows its state:
// normal, active (under the mouse), disabled (a level the player has not reached) and
// selected (the game data's current level). The star shows only in the normal and active
// looks, and only when the player reached the expert goal of the level (read once, when the
// button is built).
//
// A disabled button stays disabled whatever state is asked for; unlock() is the only way out.
// A disabled button is never hit. The hit rectangle is "size" from the position (centred on
// it when the picture is centred), edges included.
//
// The layout is section LEVEL_BUTTON of "Config/Menu/preview_panel.ini"; the position of
// button i and its offsets in the selected look are the keys position_<i>,
// off_selected_<i> and off_selected_num_<i> of BUTTON_POSITIONS (with off_active for the
// number in the active look). Note that here font_* name bitmap fonts and font_picture_*
// their glyph images.

#include <array>
#include <cstdint>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

class cText;

class cLevelButton : public cPicture {
public:
    enum State : int32_t {
        STATE_NORMAL = 0,
        STATE_ACTIVE = 1,
        STATE_DISABLED = 2,
        STATE_SELECTED = 3,
        STATE_UNSET = 4,  // while it is built and during unlock()
    };

    // Loads its layout at once and takes its state from the game data: disabled above the
    // reached level, selected at the current level, normal otherwise.
    cLevelButton(cSceneNode* parent, int32_t level, int32_t index);
    ~cLevelButton() override;

    // Asks for selected (the current level), active (hovered) or normal, then the picture's
    // update.
    void update() override;
    // The picture keys of the section, then the looks and the positions of BUTTON_POSITIONS.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Moves the button with its children, then places the number and the selected mark for
    // the look it shows.
    void setPosition(const cVector2& position) override;

    // Nothing when the state is already s or the button is disabled; a state outside 0..3
    // keeps the look.
    void setState(int32_t s);
    // Leaves the disabled state: the button becomes normal.
    void unlock();
    // With test: hovered = the mouse is inside, and the state active or normal by it. Without:
    // not hovered, normal.
    void setHover(bool test);
    bool hitTest(const cVector2& point) const;

    int32_t getLevel() const { return m_level; }
    int32_t getIndex() const { return m_index; }
    int32_t getState() const { return m_state; }
    bool isHovered() const { return m_hovered; }
    bool hasExpertStar() const { return m_expert; }
    cVector2 getSize() const { return m_size; }
    cText* getNumberText() const { return m_number; }
    cPicture* getSelectedPicture() const { return m_selected; }
    cPicture* getStarPicture() const { return m_star; }

private:
    static constexpr size_t kLooks = 4;  // normal, active, disabled, selected

    int32_t m_level = 0;
    int32_t m_index = 0;
    int32_t m_state = STATE_UNSET;
    cVector2 m_size;
    cText* m_number = nullptr;
    cPicture* m_selected = nullptr;
    cPicture* m_star = nullptr;
    cVector2 m_off_active;
    cVector2 m_off_selected;
    cVector2 m_off_selected_num;
    std::array<cStringA, kLooks> m_glyphs;
    std::array<cStringA, kLooks> m_fonts;
    bool m_expert = false;
    bool m_hovered = false;
};
