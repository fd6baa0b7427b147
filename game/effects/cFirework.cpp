#include "game/effects/cFirework.h"

#include <algorithm>
#include <cmath>

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFireworks.h"

cDebrisSettings& getDebrisSettings() {
    static cDebrisSettings settings;
    return settings;
}

void loadDebrisSettings() {
    const cIniFile& ini = effectIni(fx_files::kFirework);
    cDebrisSettings& s = getDebrisSettings();
    readFloat(ini, L"DEBRIS", L"lifetime", &s.m_lifetime);
    readFloat(ini, L"DEBRIS", L"start_scale", &s.m_start_scale);
    readFloat(ini, L"DEBRIS", L"finish_scale", &s.m_finish_scale);
    readFloat(ini, L"DEBRIS", L"start_alpha", &s.m_start_alpha);
    readFloat(ini, L"DEBRIS", L"finish_alpha", &s.m_finish_alpha);
    readFloat(ini, L"DEBRIS", L"sparkling_interval", &s.m_sparkling_interval);
    readFloat(ini, L"DEBRIS", L"sparkling_delay", &s.m_sparkling_delay);
    s.m_loaded = true;
}

// ---- A piece ----

cFireworkDebris::cFireworkDebris(cSceneNode* parent) : cPicture(parent) { m_flash = new cPicture(this); }

cFireworkDebris::~cFireworkDebris() = default;

void cFireworkDebris::setUniformScale(float scale) {
    cPicture::setUniformScale(scale);
    if (m_flash) m_flash->setUniformScale(2.0f * scale);
}

void cFireworkDebris::setScale(const cVector2& scale) {
    cPicture::setScale(scale);
    if (m_flash) m_flash->setScale(scale * 2.0f);
}

void cFireworkDebris::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    if (m_flash) m_flash->setAlpha(alpha);
}

// ---- The shell ----

cFirework::cFirework(cSceneNode* parent, const cVector2& position, uint32_t color)
    : cPicture(parent), m_colour(color) {
    // 1, 2. The debris numbers, once per level.
    if (!getDebrisSettings().m_loaded) loadDebrisSettings();
    const cDebrisSettings& settings = getDebrisSettings();
    // 3. The shell's place.
    setPosition(position);
    // 4. The pieces with their flashes.
    const cIniFile& ini = effectIni(fx_files::kFirework);
    uint32_t count = 0;
    stringToUnsigned(&count, ini.getValue(L"DEBRIS", L"count"));
    count = std::min<uint32_t>(count, kMaxPieces);
    m_debris.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        cFireworkDebris* piece = new cFireworkDebris(this);
        m_debris.push_back(piece);
        piece->loadFromIni(ini, L"DEBRIS");
        piece->getFlash()->loadFromIni(ini, L"DEBRIS_FLASH");
    }
    // 5. Each piece flies out in its own sector of the ring.
    const float n = static_cast<float>(count);
    const float turn = 2.0f * 3.14159265f;
    for (uint32_t i = 0; i < count; ++i) {
        cFireworkDebris* piece = m_debris[i];
        piece->setDeep(2.4f);
        piece->getFlash()->setDeep(piece->getDeep() - 0.1f);
        piece->setColor(m_colour & 0x00FFFFFFu);
        const float a = randomFloat(static_cast<float>(i) * turn / n, static_cast<float>(i + 1) * turn / n);
        const float speed = randomFloat(100.0f, 200.0f);
        const float c = std::cos(a), s = std::sin(a);
        piece->m_position3 = cVector3(16.0f * c, 8.0f * s, 10.0f);
        piece->m_velocity3 = cVector3(c * speed, s * speed, randomFloat(400.0f, 600.0f));
        piece->m_sparkle_timer = randomFloat(0.0f, settings.m_sparkling_interval) + settings.m_sparkling_delay;
        piece->setUniformScale(settings.m_start_scale);
        piece->setAlpha(toAlpha(settings.m_start_alpha));
        piece->setPosition(getPosition() + projectToScreen(piece->m_position3));
    }
    // 6. Shown and enabled with its pieces.
    show();
    enable();
}

cFirework::~cFirework() = default;

void cFirework::sparkle(cFireworkDebris* piece, const cDebrisSettings& settings) {
    // The chance falls from 1 at launch to 0 at the end of the pieces' life.
    const float p = settings.m_lifetime > 0.0f ? (settings.m_lifetime - m_age) / settings.m_lifetime : 0.0f;
    if (random01() > p) return;
    if (cFireworks* system = getFireworks()) system->spawnSparkle(piece->m_velocity3 * 0.25f, piece->getPosition());
}

void cFirework::update() {
    const cDebrisSettings& settings = getDebrisSettings();
    // 1. Age.
    const float dt = getDeltaTime();
    m_age += dt;
    // A lifetime of 0 or less ends the pieces at once.
    const float t = settings.m_lifetime > 0.0f ? m_age / settings.m_lifetime : 1.0f;
    // 2. Every burning piece.
    for (cFireworkDebris* piece : m_debris) {
        if (!piece->isEnabled()) continue;
        // a, b. Motion and gravity.
        piece->m_position3 += piece->m_velocity3 * dt;
        piece->setPosition(getPosition() + projectToScreen(piece->m_position3));
        piece->m_velocity3.z -= 1000.0f * dt;
        // c. Shrink and fade.
        piece->setUniformScale(lerp(settings.m_start_scale, settings.m_finish_scale, t));
        piece->setAlpha(toAlpha(lerp(settings.m_start_alpha, settings.m_finish_alpha, t)));
        // d. Sparkle chances: one per interval passed (a long frame gives several); with an
        // interval of 0 or less, one per frame.
        piece->m_sparkle_timer -= dt;
        if (settings.m_sparkling_interval > 0.0f) {
            for (int chances = 0; piece->m_sparkle_timer <= 0.0f; ++chances) {
                if (chances == kMaxChancesPerFrame) {
                    piece->m_sparkle_timer = settings.m_sparkling_interval;
                    break;
                }
                piece->m_sparkle_timer += settings.m_sparkling_interval;
                sparkle(piece, settings);
            }
        } else if (piece->m_sparkle_timer <= 0.0f) {
            sparkle(piece, settings);
        }
        // e. Burnt out.
        if (!(m_age < settings.m_lifetime)) {
            piece->hide();
            piece->disable();
        }
    }
    // 3. Gone once the sparkles' and the pieces' lifetimes have both passed.
    const cFireworks* system = getFireworks();
    const float sparkleLifetime = system ? system->getLifetime() : 0.0f;
    if (sparkleLifetime + settings.m_lifetime < m_age) scheduleDelete(this);
    // 4. The picture's own update.
    cPicture::update();
}
