#pragma once
// A firework shell: launched at a screen position with a colour, it throws a ring of burning
// pieces outward and upward at once, one sector of the ring per piece, each with a soft flash
// behind it. The pieces fall, shrink and fade over the debris lifetime and drop sparkles into
// the particle system (cFireworks) with a chance that falls from 1 at launch to 0 at the end
// of their life. The shell deletes itself once the sparkles' and the pieces' lifetimes have
// both passed. Game time.
//
// "Config/Game/fx_firework.ini": "DEBRIS" (picture keys of each piece, `count` held to 0..256,
// and the numbers of cDebrisSettings), "DEBRIS_FLASH" (picture keys of each flash).

#include <vector>

#include "engine/scene/cPicture.h"
#include "game/effects/FireworkMath.h"

// The debris numbers, shared by every shell and read by the first shell of a level.
struct cDebrisSettings {
    float m_lifetime = 0.75f;
    float m_start_scale = 0.4f;
    float m_finish_scale = 0.05f;
    float m_start_alpha = 255.0f;
    float m_finish_alpha = 128.0f;
    float m_sparkling_interval = 0.1f;
    float m_sparkling_delay = 0.1f;
    bool m_loaded = false;
};
cDebrisSettings& getDebrisSettings();
// Reads the seven "DEBRIS" numbers (absent ones keep their values) and sets the loaded flag.
void loadDebrisSettings();

// A burning piece; its flash (a child) follows its position, takes twice its scale and its
// alpha.
class cFireworkDebris : public cPicture {
public:
    explicit cFireworkDebris(cSceneNode* parent);
    ~cFireworkDebris() override;
    void setUniformScale(float scale) override;
    void setScale(const cVector2& scale) override;
    void setAlpha(uint32_t alpha) override;

    cPicture* getFlash() const { return m_flash; }

    cPicture* m_flash = nullptr;  // child, owned
    cVector3 m_position3;         // relative to the shell
    cVector3 m_velocity3;
    float m_sparkle_timer = 0.0f;
};

class cFirework : public cPicture {
public:
    static constexpr unsigned kMaxPieces = 256;
    // At most this many sparkle chances of one piece in one frame.
    static constexpr int kMaxChancesPerFrame = 64;

    cFirework(cSceneNode* parent, const cVector2& position, uint32_t color);
    ~cFirework() override;
    void update() override;

    float getAge() const { return m_age; }
    const std::vector<cFireworkDebris*>& getDebris() const { return m_debris; }

private:
    void sparkle(cFireworkDebris* piece, const cDebrisSettings& settings);

    float m_age = 0.0f;
    uint32_t m_colour;
    std::vector<cFireworkDebris*> m_debris;  // children, owned
};
