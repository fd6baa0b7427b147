#include "game/restaurant/cStation.h"

#include "engine/media/cSound.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cClickEffect.h"
#include "game/restaurant/cHighlight.h"

namespace station_run {

void advance(cSprite* sprite, float dt) {
    const float length = sprite->getLayer0Length() > 0.0f ? sprite->getLayer0Length() : 0.0f;
    float t = sprite->getLayer0Time() + dt;
    if (!(t > 0.0f)) t = 0.0f;
    if (t > length) t = length;
    sprite->setLayer0Time(t);
}

bool atEnd(const cSprite* sprite) { return !(sprite->getLayer0Time() < sprite->getLayer0Length()); }

bool atStart(const cSprite* sprite) { return !(sprite->getLayer0Time() > 0.0f); }

void showFrame(cSprite* sprite, uint32_t frame) {
    sprite->setLayer0Frame(frame);
    const uint32_t count = sprite->getLayer0FrameCount();
    if (sprite->getLayer0Frame() != frame && count > 0 && frame <= count)
        sprite->setLayer0Time((float(frame) - 0.5f) * sprite->getLayer0Length() / float(count));
}

}  // namespace station_run

void stepSteam(cPicture* steam, int& fade, float& alpha, float dt, float startTime) {
    const float rate = 700.0f;
    if (steam->isVisible()) steam->advanceAnimation(dt);
    if (fade > 0) {
        if (!steam->isOwnVisible()) {
            steam->setLayer0Time(startTime);
            steam->show();
            steam->enable();
        }
        alpha += rate * dt;
        if (alpha >= 255.0f) alpha = 255.0f, fade = 0;
    } else if (fade < 0) {
        alpha -= rate * dt;
        if (alpha <= 0.0f) {
            alpha = 0.0f;
            fade = 0;
            steam->hide();
            steam->disable();
        }
    }
    steam->setAlpha(toAlpha(alpha));
}

void cUseSound::step(float dt) {
    if (m_count <= 0) return;
    if (!m_playing) {
        if (cSound* sound = getSound()) sound->playSample(m_name, -1);
        m_timer = m_delay;
        m_playing = true;
        return;
    }
    m_timer -= dt;
    if (m_timer <= 0.0f) {
        if (m_count > 0) --m_count;
        m_playing = false;
    }
}

cStation::cStation(cSceneNode* parent) : cPicture(parent), cClickTarget(this) {}

cStation::~cStation() {
    hide();
    disable();
}

void cStation::finishBuild(int32_t highlightAlpha) {
    m_highlight_alpha = highlightAlpha;
    m_highlight = new cHighlight(true, this, 255);
    m_highlight->setAlpha(uint32_t(highlightAlpha) & 0xFF);
    placePointers(getPosition(), getDeep(), 10.0f, 10.1f);
}

void cStation::updateHover(bool testMouse, bool value) {
    hoverOwner(*this, testMouse, value);
    if (m_highlight) m_highlight->setVisible(isHovered() && highlightAllowed());
}

void cStation::showClickEffect() { new cClickEffect(getParent(), this, -0.1f); }

void cStation::stepUse(float dt) {
    if (!m_used) return;
    if (station_run::atEnd(this)) {
        setLayer0Time(0.0f);
        if (m_highlight) m_highlight->setLayer0Time(0.0f);
        m_used = false;
        return;
    }
    station_run::advance(this, dt);
    if (m_highlight) station_run::advance(m_highlight, dt);
}

void cStation::playSound(const char* name) const {
    if (cSound* sound = getSound()) sound->playSample(name, -1);
}
