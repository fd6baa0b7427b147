#include "game/restaurant/cOrderCloud.h"

#include <cmath>
#include <string>

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cCloudItem.h"

namespace {

const float kPopSpeed = 12.0f;     // radians per second
const float kFadeSpeed = 2000.0f;  // alpha per second, items and the red pulse
const float kRevealPhase = 1.4f;   // the item fades in from this phase on
const cVector2 kOne(1.0f, 1.0f);

void scaleBoth(cPicture* bubble, cPicture* red, const cVector2& scale) {
    bubble->setScale(scale);
    red->setScale(scale);
}

void hideNode(cSceneNode* node) {
    node->hide();
    node->disable();
}

void showNode(cSceneNode* node) {
    node->show();
    node->enable();
}

}  // namespace

void cPopPhase::setPhase(float phase) {
    m_phase = phase;
    const float s = 1.1f * std::sin(phase);
    m_scale = cVector2(s, s);
}

cOrderCloud::cOrderCloud(cSceneNode* table, int index)
    : cPicture(table),
      m_index(index),
      m_second_bubble(new cPicture(this)),
      m_first_item(new cCloudItem(this)),
      m_second_item(new cCloudItem(this)),
      m_first_red(new cPicture(this)),
      m_second_red(new cPicture(this)) {
    m_first_item->setAlpha(0);
    m_second_item->setAlpha(0);
    m_first_red->setAlpha(0);
    m_second_red->setAlpha(0);
    cOrderCloud::loadFromIni(effectIni(kCloudIni), cStringW());
    for (cPicture* p : {static_cast<cPicture*>(this), m_second_bubble, static_cast<cPicture*>(m_first_item),
                        static_cast<cPicture*>(m_second_item), m_first_red, m_second_red})
        p->setAutoFiltering(true);
    setScale(cVector2());
    m_second_bubble->setScale(cVector2());
    // Nothing is shown until a guest orders, whatever the sections' "visible" keys say.
    hideNode(this);
    hideNode(m_second_bubble);
    m_first_red->hide();
    m_second_red->hide();
}

// The bubbles, items and red copies are children, deleted with the cloud.
cOrderCloud::~cOrderCloud() { hideNode(this); }

void cOrderCloud::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = effectIni(kCloudIni);
    const cStringW own = L"CLOUD_" + std::to_wstring(m_index);
    readVector(ini, L"CLOUD_COMMON", L"cloud_offset", &m_cloud_offset);
    readVector(ini, own.c_str(), L"table_offset", &m_table_offset);
    m_second_bubble->loadFromIni(ini, L"CLOUD_COMMON");
    cPicture::loadFromIni(ini, own);
    m_second_red->loadFromIni(ini, L"CLOUD_COMMON");
    m_second_red->loadFromIni(ini, L"CLOUD_COMMON_RED");
    m_first_red->loadFromIni(ini, own);
    m_first_red->loadFromIni(ini, own + L"_RED");
}

void cOrderCloud::setPosition(const cVector2& tablePosition) {
    const cVector2 first = tablePosition + m_table_offset;
    const cVector2 second = first + m_cloud_offset;
    cPicture::setPosition(first + getTransformOrigin());
    m_second_bubble->setPosition(second + m_second_bubble->getTransformOrigin());
    m_first_item->setPosition(first);
    m_second_item->setPosition(second);
    m_first_red->setPosition(first + getTransformOrigin());
    m_second_red->setPosition(second + m_second_bubble->getTransformOrigin());
}

void cOrderCloud::setDeep(float deep) {
    cPicture::setDeep(deep);
    m_first_red->setDeep(deep + 0.1f);
    m_first_item->setDeep(deep + 0.2f);
    m_second_bubble->setDeep(deep + 0.3f);
    m_second_red->setDeep(deep + 0.4f);
    m_second_item->setDeep(deep + 0.5f);
}

void cOrderCloud::showFirstItem(int32_t id) {
    if (id == 0) {
        m_first_state = -1;
        return;
    }
    showNode(this);
    m_first_item->setAlpha(0);
    m_first_item->setState(id);
    m_first_item->setPosition(getPosition() - getTransformOrigin());
    m_first_state = 1;
}

void cOrderCloud::showSecondItem(int32_t id) {
    if (id == 0) {
        m_second_state = -1;
        return;
    }
    showNode(this);
    showNode(m_second_bubble);
    m_second_item->setAlpha(0);
    m_second_item->setState(id);
    m_second_item->setPosition(m_second_bubble->getPosition() - m_second_bubble->getTransformOrigin());
    m_second_state = 1;
}

int32_t cOrderCloud::getSecondItem() const { return m_second_item->getState(); }

void cOrderCloud::update() {
    const float dt = getDeltaTime();
    // 1. Exactly one growth step, the first bubble's before the second's.
    if (m_first_state > 0) growFirst(dt);
    else if (m_first_state < 0) shrinkFirst(dt);
    else if (m_second_state > 0) growSecond(dt);
    else if (m_second_state < 0) shrinkSecond(dt);
    // 2. The red pulse over the bubbles at rest.
    pulse(dt);
    // 3. Controllers and children.
    cPicture::update();
}

bool cOrderCloud::stepGrowth(cPopPhase& pop, float dt) {
    pop.setPhase(pop.getPhase() + kPopSpeed * dt);
    if (pop.getPhase() > 2.0f && pop.getScale().x <= 1.0f) {
        pop.setPhase(kRestPhase);
        pop.setScale(kOne);
        return true;
    }
    return false;
}

void cOrderCloud::grow(cPopPhase& pop, cPicture* bubble, cPicture* red, cCloudItem* item, int& state, float dt) {
    if (!bubble->isOwnVisible()) bubble->show();
    const bool rests = stepGrowth(pop, dt);
    const bool shown = pop.getPhase() > kRevealPhase && fadeIn(item, dt);
    if (rests && shown) {
        state = 0;
        red->show();
    }
    scaleBoth(bubble, red, pop.getScale());
}

void cOrderCloud::shrink(cPopPhase& pop, cPicture* bubble, cPicture* red, cCloudItem* item, int& state, float dt) {
    red->hide();
    pop.setPhase(pop.getPhase() - kPopSpeed * dt);
    if (pop.getPhase() <= 0.0f) {
        pop.setPhase(0.0f);
        pop.setScale(cVector2());
        item->setState(0);
        bubble->hide();
        state = 0;
        return;
    }
    fadeOut(item, dt);
    scaleBoth(bubble, red, pop.getScale());
}

void cOrderCloud::growFirst(float dt) { grow(m_first_pop, this, m_first_red, m_first_item, m_first_state, dt); }

void cOrderCloud::shrinkFirst(float dt) {
    // The first bubble shrinks only after the second has gone.
    if (m_second_bubble->isOwnVisible()) shrinkSecond(dt);
    else shrink(m_first_pop, this, m_first_red, m_first_item, m_first_state, dt);
}

void cOrderCloud::growSecond(float dt) {
    // The second bubble waits for an empty first bubble to pop up.
    if (m_first_pop.getPhase() != kRestPhase || m_first_pop.getScale().x != 1.0f) {
        stepGrowth(m_first_pop, dt);
        scaleBoth(this, m_first_red, m_first_pop.getScale());
        return;
    }
    grow(m_second_pop, m_second_bubble, m_second_red, m_second_item, m_second_state, dt);
}

void cOrderCloud::shrinkSecond(float dt) {
    shrink(m_second_pop, m_second_bubble, m_second_red, m_second_item, m_second_state, dt);
}

bool cOrderCloud::fadeIn(cCloudItem* item, float dt) {
    m_item_alpha += kFadeSpeed * dt;
    if (m_item_alpha >= 255.0f) {
        m_item_alpha = 255.0f;
        item->setAlpha(255);
        return true;
    }
    item->setAlpha(toAlpha(m_item_alpha));
    return false;
}

void cOrderCloud::fadeOut(cCloudItem* item, float dt) {
    m_item_alpha -= kFadeSpeed * dt;
    if (m_item_alpha <= 0.0f) {
        m_item_alpha = 0.0f;
        item->setAlpha(0);
        item->setState(0);
        return;
    }
    item->setAlpha(toAlpha(m_item_alpha));
}

void cOrderCloud::pulse(float dt) {
    if (!m_highlighted) {
        m_red_delay = 0.0f;
        m_red_direction = 1.0f;
        m_red_alpha = 0.0f;
    } else {
        m_red_delay -= dt;
        if (m_red_delay <= 0.0f) {
            m_red_delay = 0.0f;
            m_red_alpha += m_red_direction * kFadeSpeed * dt;
            if (m_red_direction > 0.0f && m_red_alpha >= 255.0f) {
                m_red_alpha = 255.0f;
                m_red_direction = -1.0f;
                m_red_delay = 0.3f;
            } else if (m_red_direction < 0.0f && m_red_alpha <= 0.0f) {
                m_red_alpha = 0.0f;
                m_red_direction = 1.0f;
                m_red_delay = 0.2f;
            }
        }
    }
    for (cPicture* red : {m_first_red, m_second_red}) red->setAlpha(red->isOwnVisible() ? toAlpha(m_red_alpha) : 0);
}
