#include "game/minigame/cFlyingObject.h"

#include <algorithm>

#include "game/data/cGameData.h"
#include "game/minigame/cHintStar.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameStatusPanel.h"

cFlyingObject::cFlyingObject(cPicture* source, const cVector2& start, const cVector2& finalTarget, bool isHint)
    : cPicture(source->getParent()), m_is_hint(isHint), m_final_target(finalTarget) {
    cEffectRegistry<cFlyingObject>::registerInstance(this);
    setAutoFiltering(true);
    setPicture(source->getPicture());
    setDeep(kDeep);
    m_arc.begin(start, kWaypoint, cMiniGameArc::BY_DIRECTION);
    setPosition(start);
    setAlpha(255);
    show();
    enable();
}

cFlyingObject::~cFlyingObject() {
    hide();
    disable();
    cEffectRegistry<cFlyingObject>::unregisterInstance(this);
}

void cFlyingObject::arrive() {
    // Once only: the deletion waits for the end of the frame.
    if (m_arrived) return;
    m_arrived = true;
    if (m_is_hint) {
        if (cMiniGameStatusPanel* status = getMiniGameStatusPanel()) status->showHintButton(-1);
    } else if (cGameData* data = getGameData()) {
        const cMiniGame* game = getMiniGame();
        data->setMiniGameScore(data->getMiniGameScore() + int32_t(game ? game->getObjectCost() : 0));
    }
    setAlpha(0);
    scheduleDelete(this);
}

void cFlyingObject::update() {
    cPicture::update();
    if (m_arrived) return;
    const float step = getDeltaTime();
    // 1. The trail.
    dropMiniGameSparkle(this, &m_sparkle_countdown, m_sparkle_interval, step);
    // 2. Along the leg: steadily to the waypoint; after the wait, faster and faster to the goal.
    if (m_leg == 0) {
        m_arc.travelled += m_speed * step;
    } else {
        m_pause -= step;
        if (m_pause <= 0.0f) {
            m_pause = 0.0f;
            m_arc.travelled += m_speed * step;
            m_speed += m_speed * 8.0f * step;
        }
    }
    // 3. The point on the arc.
    const cVector2 point = m_arc.point();
    setPosition(point);
    // 4. The end of a leg.
    if (m_arc.hasEnded()) {
        if (m_leg == 0) {
            m_leg = 1;
            m_arc.begin(getPosition(), m_final_target, cMiniGameArc::LEFT_TURN);
            m_speed = 800.0f;
        } else {
            arrive();
        }
    }
    // 5. Placed again on the point of step 3; 6. an object to find shrinks on its last leg.
    setPosition(point);
    if (!m_is_hint && m_leg == 1) setUniformScale(1.0f - std::min(m_arc.fraction(), 1.0f));
}

const EffectRegistry& getFlyingObjects() { return cEffectRegistry<cFlyingObject>::instances(); }
void clearFlyingObjects() { cEffectRegistry<cFlyingObject>::clear(); }
