#pragma once
// The particle system of the fireworks: one object per level (a child of the level) holding a
// fixed ring of sparkle records. Sparkles fall with gravity and drag, twinkle between a dim
// and a bright alpha, and fade and shrink from `fading_start` to `lifetime`. Each frame the
// live sparkles are written, six vertices each, into the system's own vertex buffer (one lock
// of the whole buffer) and drawn in one call with additive blending. A full ring overwrites
// its oldest slots in order. Game time.
//
// "Config/Game/fx_firework.ini" section "SPARKLES": picture keys (the sparkle texture, depth,
// flags: the constructor neither shows nor enables the system), `max_count` (held to 1..65536),
// `lifetime`, `fading_start`, `min_alpha`, `max_alpha`.
//
// Without a graphics device or a vertex buffer the system spawns nothing and draws nothing.

#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/scene/cPicture.h"
#include "game/effects/FireworkMath.h"
#include "platform/device/Device.h"

struct cFireworkSparkle {
    bool m_alive = false;
    float m_age = 0.0f;
    float m_alpha = 0.0f;
    float m_twinkle_timer = 0.0f;
    bool m_bright = false;
    float m_scale = 0.0f;
    cVector2 m_position;
    cVector3 m_velocity;
};

// One vertex of the sparkle buffer: position, colour, one texture coordinate pair.
struct cSparkleVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(cSparkleVertex) == 24, "the sparkle vertex format is 24 bytes");

class cFireworks : public cSingleton<cFireworks>, public cPicture {
public:
    static constexpr unsigned kMaxSlots = 65536;
    static constexpr uint32_t kVertexFormat = VF_POSITION | VF_DIFFUSE | VF_TEX1;

    // Throws "Object already exist." when a system exists, and the resource manager's text when
    // the configuration is not loaded.
    explicit cFireworks(cSceneNode* parent);
    ~cFireworks() override;

    // Replaces the picture's update entirely.
    void update() override;
    // The picture keys, then the five numbers. Once the ring is built its size stays.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    void spawnSparkle(const cVector3& velocity, const cVector2& position);
    // Every sparkle dies.
    void clear();

    int getLiveCount() const { return m_live_count; }
    int getTriangleCount() const { return m_triangle_count; }
    unsigned getMaxCount() const { return m_max_count; }
    unsigned getNextSlot() const { return m_next_slot; }
    float getLifetime() const { return m_lifetime; }
    float getFadingStart() const { return m_fading_start; }
    const std::vector<cFireworkSparkle>& getSparkles() const { return m_sparkles; }
    const cVector2& getCorner(unsigned i) const { return m_corners[i % 6]; }
    cVertexBuffer* getVertexBuffer() const { return m_vertex_buffer; }

    // Begin-draw callback: additive blending, only while sparkles live.
    static void setAdditiveBlend(cDevice* device);
    // Draw callback in place of the sprite's quad: the sparkle buffer as one triangle list.
    static void drawFireworkSparkles(cDevice* device);

private:
    int m_live_count = 0;
    int m_triangle_count = 0;
    unsigned m_max_count = 1024;
    unsigned m_next_slot = 0;
    std::vector<cFireworkSparkle> m_sparkles;
    cVertexBuffer* m_vertex_buffer = nullptr;
    cVector2 m_corners[6];
    cVector2 m_uvs[6];
    float m_lifetime = 1.0f;
    float m_fading_start = 0.7f;
    float m_min_alpha = 192.0f;
    float m_max_alpha = 255.0f;
};

cFireworks* getFireworks();
// Creates the system with that parent unless one exists.
void createFireworks(cSceneNode* parent);
// Kills every sparkle and forgets the debris settings, so that the next level's first shell
// reads them again. The system itself dies with its parent, the level.
void destroyFireworks();
