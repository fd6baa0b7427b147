#include "game/effects/cFireworks.h"

#include <algorithm>

#include "engine/core/cIniFile.h"
#include "engine/media/cGraphics.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFirework.h"

namespace {
// The low byte of a value truncated toward zero; out of the integer range gives 0.
uint32_t lowByteOf(float value) {
    if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
    return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFu;
}
}  // namespace

cFireworks* getFireworks() { return cFireworks::instance(); }

void createFireworks(cSceneNode* parent) {
    if (!getFireworks()) new cFireworks(parent);
}

void destroyFireworks() {
    if (cFireworks* fireworks = getFireworks()) fireworks->clear();
    getDebrisSettings().m_loaded = false;
}

cFireworks::cFireworks(cSceneNode* parent) : cSingleton<cFireworks>(), cPicture(parent) {
    // 1. The configuration.
    loadFromIni(effectIni(fx_files::kFirework), L"SPARKLES");
    // 2. The ring, all dead.
    m_sparkles.assign(m_max_count, cFireworkSparkle());
    // 3. The callbacks.
    setBeginDrawCallback(setAdditiveBlend);
    setDrawCallback(drawFireworkSparkles);
    // 4. The sparkle square: side half the texture's width.
    const float h = static_cast<float>(static_cast<int>(getTextureSize().x)) / 4.0f;
    const cVector2 corners[6] = {{-h, -h}, {h, -h}, {-h, h}, {h, -h}, {-h, h}, {h, h}};
    const cVector2 uvs[6] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {0, 1}, {1, 1}};
    std::copy(corners, corners + 6, m_corners);
    std::copy(uvs, uvs + 6, m_uvs);
    // 5. The vertex buffer, last: nothing after it can fail.
    cGraphics* graphics = getGraphics();
    cDevice* device = graphics ? graphics->getDevice() : nullptr;
    if (device) {
        cVertexBuffer* buffer = nullptr;
        const uint32_t bytes = m_max_count * 6u * static_cast<uint32_t>(sizeof(cSparkleVertex));
        if (!devFailed(device->createVertexBuffer(bytes, USAGE_WRITEONLY, kVertexFormat, MemoryPool::Managed, &buffer)))
            m_vertex_buffer = buffer;
    }
}

cFireworks::~cFireworks() {
    if (m_vertex_buffer) m_vertex_buffer->release();
}

void cFireworks::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    uint32_t count = m_max_count;
    stringToUnsigned(&count, ini.getValue(section, L"max_count"));
    // The ring and the buffer are made once: a later reading cannot change their size.
    if (m_sparkles.empty()) m_max_count = std::clamp<uint32_t>(count, 1u, kMaxSlots);
    stringToFloat(&m_lifetime, ini.getValue(section, L"lifetime"));
    stringToFloat(&m_fading_start, ini.getValue(section, L"fading_start"));
    stringToFloat(&m_min_alpha, ini.getValue(section, L"min_alpha"));
    stringToFloat(&m_max_alpha, ini.getValue(section, L"max_alpha"));
}

void cFireworks::spawnSparkle(const cVector3& velocity, const cVector2& position) {
    if (!m_vertex_buffer || m_sparkles.empty()) return;
    cFireworkSparkle& s = m_sparkles[m_next_slot];
    if (s.m_alive) --m_live_count;
    s.m_alive = true;
    s.m_age = randomFloat(0.0f, 0.7f * m_fading_start);
    s.m_twinkle_timer = 0.0f;
    s.m_bright = false;
    const float px = randomFloat(-5.0f, 5.0f);
    const float py = randomFloat(-5.0f, 5.0f);
    s.m_position = position + cVector2(px, py);
    const float vx = randomFloat(-15.0f, 15.0f);
    const float vy = randomFloat(-15.0f, 15.0f);
    const float vz = randomFloat(-15.0f, 15.0f);
    s.m_velocity = cVector3(velocity.x + vx, velocity.y + vy, velocity.z + vz);
    m_next_slot = (m_next_slot + 1) % static_cast<unsigned>(m_sparkles.size());
    ++m_live_count;
}

void cFireworks::clear() {
    for (cFireworkSparkle& s : m_sparkles) s.m_alive = false;
    m_live_count = 0;
}

void cFireworks::update() {
    // 1. Nothing to do without live sparkles.
    m_triangle_count = 0;
    if (m_live_count == 0 || !m_vertex_buffer) return;
    const float dt = getDeltaTime();
    // 2. One lock of the whole buffer.
    void* data = nullptr;
    cSparkleVertex* out = nullptr;
    if (!devFailed(m_vertex_buffer->lock(0, 0, &data, 0))) out = static_cast<cSparkleVertex*>(data);
    const float deep = getDeep();
    // 3. Every live sparkle in slot order.
    for (cFireworkSparkle& s : m_sparkles) {
        if (!s.m_alive) continue;
        // a. Age and death.
        s.m_age += dt;
        if (s.m_age > m_lifetime) {
            s.m_alive = false;
            --m_live_count;
            continue;
        }
        // b. Fade.
        float fade = 0.0f;
        if (s.m_age > m_fading_start && m_lifetime > m_fading_start)
            fade = (s.m_age - m_fading_start) / (m_lifetime - m_fading_start);
        // c. Gravity and drag.
        s.m_velocity.z -= 200.0f * dt;
        s.m_velocity = s.m_velocity * (1.0f - 1.5f * dt);
        // d. Motion.
        s.m_position += projectToScreen(s.m_velocity) * dt;
        // e, f. Twinkle between the dim and the bright value; the alpha holds between flips.
        const float dim = lerp(m_min_alpha, 0.0f, fade);
        const float bright = lerp(m_max_alpha, 255.0f, fade);
        s.m_twinkle_timer -= dt;
        if (s.m_twinkle_timer <= 0.0f) {
            s.m_bright = !s.m_bright;
            s.m_alpha = s.m_bright ? bright : dim;
            s.m_twinkle_timer = randomFloat(0.0f, 0.4f);
        }
        // g. Shrink.
        s.m_scale = lerp(1.0f, 0.0f, fade);
        // h, i, j. Six vertices.
        if (!out) continue;
        const uint32_t color = (lowByteOf(s.m_alpha) << 24) | 0x00FFFFFFu;
        for (int j = 0; j < 6; ++j) {
            out->x = m_corners[j].x * s.m_scale + s.m_position.x + 0.5f;
            out->y = m_corners[j].y * s.m_scale + s.m_position.y + 0.5f;
            out->z = deep;
            out->color = color;
            out->u = m_uvs[j].x;
            out->v = m_uvs[j].y;
            ++out;
        }
        m_triangle_count += 2;
    }
    // 4. Unlock.
    if (data) m_vertex_buffer->unlock();
}

void cFireworks::setAdditiveBlend(cDevice* device) {
    cFireworks* system = getFireworks();
    if (!system || system->m_live_count == 0 || !system->m_vertex_buffer) return;
    device->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
    device->setRenderState(RenderState::DestBlend, BLEND_ONE);
}

void cFireworks::drawFireworkSparkles(cDevice* device) {
    cFireworks* system = getFireworks();
    if (!system || system->m_live_count == 0 || !system->m_vertex_buffer || system->m_triangle_count == 0) return;
    device->setVertexFormat(kVertexFormat);
    device->setStreamSource(0, system->m_vertex_buffer, static_cast<uint32_t>(sizeof(cSparkleVertex)));
    device->drawPrimitive(PrimitiveType::TriangleList, 0, static_cast<uint32_t>(system->m_triangle_count));
}
