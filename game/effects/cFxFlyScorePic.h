#pragma once
// A combo picture: the kind's picture with its glow rises and fades along the curves "alpha"
// and "off_y" of "Config/Game/fly_score_pic.crv", carrying a row of combo stars. From 0.6 s
// after its creation it drops one star every `delay_between_stars_fall` seconds, the highest
// index first; until the last star of the row has fallen the row follows the picture, after
// that the waiting stars stay where they are until they fall. The stars are not its children:
// a star still waiting when the picture ends stays until the stars are cleared. Game time.
//
// "Config/Game/fx_fly_score_pic.ini": picture keys, `first_star_off`, `between_starts_off`
// (spelled so), `delay_between_stars_fall` of "COMMON"; the glow's picture keys of "GLOW".

#include <vector>

#include "engine/scene/cPicture.h"

class cCurve;
class cFxStar;

class cFxFlyScorePic : public cPicture {
public:
    // kind: 2 delivery, 3 tip, any other the order picture.
    cFxFlyScorePic(cSceneNode* parent, unsigned stars, const cVector2& start, int kind);
    ~cFxFlyScorePic() override;
    void update() override;

    cPicture* getGlow() const { return m_glow; }
    // Star i while it waits in the row; null once it has fallen (or was deleted elsewhere).
    cFxStar* getWaitingStar(unsigned i) const;
    static cStringA pictureOf(int kind);
    static cStringA glowOf(int kind);

private:
    struct Slot {
        cFxStar* star;
        uint64_t serial;  // to tell whether the star still lives
    };
    void placeRow(const cVector2& position, uint32_t alpha);

    cPicture* m_glow = nullptr;  // child, owned
    cVector2 m_start;
    unsigned m_star_count;
    std::vector<Slot> m_stars;   // a fallen star's entry is null
    cVector2 m_first_star_off;
    cVector2 m_between_stars_off;
    float m_fall_delay = 0.0f;
    float m_fall_timer = 0.0f;
    float m_time = 0.0f;
    cCurve* m_alpha_curve = nullptr;
    cCurve* m_offset_curve = nullptr;
};
