#include "game/effects/cClickEffect.h"

#include "engine/core/cCurveSet.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cClickEffect::cClickEffect(cSceneNode* parent, const cPicture* source, float deepOffset) : cPicture(parent) {
    m_alpha_curve = effectCurve(fx_files::kClickCurves, "alpha");
    m_scale_curve = effectCurve(fx_files::kClickCurves, "scale");
    assign(*source);
    setAutoFiltering(true);
    setColor(0xFFFFFF);
    setRenderFlags(RF_OVERLAY, true);
    setDeep(getDeep() + deepOffset);
    setAlpha(0);
    setUniformScale(1.0f);
    setBeginDrawCallback(drawSilhouette);
    show();
    cEffectRegistry<cClickEffect>::registerInstance(this);
}

cClickEffect::~cClickEffect() {
    hide();
    cEffectRegistry<cClickEffect>::unregisterInstance(this);
}

void cClickEffect::update() {
    cPicture::update();
    m_time += getDeltaTime();
    m_alpha = m_alpha_curve->getValue(m_time);
    m_scale = m_scale_curve->getValue(m_time);
    if (m_alpha_curve->getMaxX() <= m_time) {
        m_alpha = 0.0f;
        scheduleDelete(this);
    }
    setAlpha(toAlpha(m_alpha));
    setUniformScale(m_scale);
}
