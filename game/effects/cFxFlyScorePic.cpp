#include "game/effects/cFxFlyScorePic.h"

#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxStar.h"

cStringA cFxFlyScorePic::pictureOf(int kind) {
    if (kind == 2) return "Game/Effects/combo_delivery.dds";
    if (kind == 3) return "Game/Effects/combo.dds";
    return "Game/Effects/combo_order.dds";
}

cStringA cFxFlyScorePic::glowOf(int kind) {
    if (kind == 2) return "Game/Effects/combo_delivery_glow.dds";
    if (kind == 3) return "Game/Effects/combo_glow.dds";
    return "Game/Effects/combo_order_glow.dds";
}

cFxFlyScorePic::cFxFlyScorePic(cSceneNode* parent, unsigned stars, const cVector2& start, int kind)
    : cPicture(parent), m_start(start), m_star_count(stars) {
    m_alpha_curve = effectCurve(fx_files::kFlyScorePicCurves, "alpha");
    m_offset_curve = effectCurve(fx_files::kFlyScorePicCurves, "off_y");
    const cIniFile& ini = effectIni(fx_files::kFlyScorePic);
    m_glow = new cPicture(this);
    m_stars.reserve(stars);
    for (unsigned i = 0; i < stars; ++i) {
        cFxStar* star = new cFxStar(parent);
        m_stars.push_back({star, star->getSerial()});
    }
    loadFromIni(ini, L"COMMON");
    m_glow->loadFromIni(ini, L"GLOW");
    readVector(ini, L"COMMON", L"first_star_off", &m_first_star_off);
    readVector(ini, L"COMMON", L"between_starts_off", &m_between_stars_off);
    readFloat(ini, L"COMMON", L"delay_between_stars_fall", &m_fall_delay);
    setPicture(pictureOf(kind));
    m_glow->setPicture(glowOf(kind));
    setPosition(m_start);
    setAlpha(0);
    m_glow->setPosition(m_start);
    m_glow->setColor(0x000000);
    for (Slot& slot : m_stars) slot.star->loadFromIni(ini, L"COMMON");
    placeRow(m_start, 0);
    show();
    enable();
    cEffectRegistry<cFxFlyScorePic>::registerInstance(this);
}

cFxFlyScorePic::~cFxFlyScorePic() {
    hide();
    cEffectRegistry<cFxFlyScorePic>::unregisterInstance(this);
}

cFxStar* cFxFlyScorePic::getWaitingStar(unsigned i) const {
    if (i >= m_stars.size() || !m_stars[i].star) return nullptr;
    return cEffectRegistry<cFxStar>::isLive(m_stars[i].serial) ? m_stars[i].star : nullptr;
}

void cFxFlyScorePic::placeRow(const cVector2& position, uint32_t alpha) {
    for (unsigned i = 0; i < m_stars.size(); ++i) {
        if (cFxStar* star = getWaitingStar(i)) {
            star->setPosition(position + m_first_star_off + m_between_stars_off * static_cast<float>(i));
            star->setAlpha(alpha);
        }
    }
}

void cFxFlyScorePic::update() {
    cPicture::update();
    const float dt = getDeltaTime();
    // 1. Age.
    m_time += dt;
    // 2. From 0.6 s on, the highest waiting star falls every delay.
    if (m_time >= 0.6f) {
        m_fall_timer -= dt;
        if (m_fall_timer <= 0.0f) {
            m_fall_timer = m_fall_delay;
            for (size_t i = m_stars.size(); i-- > 0;) {
                if (!m_stars[i].star) continue;
                if (cFxStar* star = getWaitingStar(static_cast<unsigned>(i))) star->drop();
                m_stars[i].star = nullptr;
                break;
            }
        }
    }
    // 3. Alpha and rise from the curves; gone once transparent.
    const float a = endAtZero(this, m_alpha_curve->getValue(m_time));
    const cVector2 p = m_start + cVector2(0.0f, m_offset_curve->getValue(m_time));
    // 4. The picture and its glow.
    setAlpha(toAlpha(a));
    setPosition(p);
    m_glow->setColor(greyOf(a));
    m_glow->setPosition(p);
    // 5. The row follows until its last star has fallen.
    if (!m_stars.empty() && m_stars.back().star) placeRow(p, toAlpha(a));
}
