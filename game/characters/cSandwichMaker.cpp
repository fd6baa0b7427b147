#include "game/characters/cSandwichMaker.h"

#include "engine/core/cIniFile.h"
#include "game/characters/CharacterSupport.h"
#include "game/effects/EffectSupport.h"

cSandwichMaker::cSandwichMaker(cSceneNode* subStation) : cPicture(subStation), cClickTarget(this) {
    loadConfig();
    cSprite::setPosition(m_stand_pos);
    setTransformOrigin(m_off_sprite.negated());
    setWorkState(MAKER_STAND);
}

cSandwichMaker::~cSandwichMaker() {
    hide();
    disable();
}

void cSandwichMaker::loadConfig() {
    const cIniFile& ini = characters::characterIni("harold");
    readVector(ini, L"COMMON", L"off_sprite", &m_off_sprite);
    readFloat(ini, L"COMMON", L"speed_move", &m_speed_move);
    readFloat(ini, L"COMMON", L"temp_multiplier", &m_temp_multiplier);
    readFloat(ini, L"STAND", L"min_anim_time", &m_min_anim_time);
    readFloat(ini, L"STAND", L"max_anim_time", &m_max_anim_time);
    characters::readInt(ini, L"STAND", L"max_count_cycles", &m_max_count_cycles);
    readVector(ini, L"COMMON", L"harold_stand_pos", &m_stand_pos);
    readVector(ini, L"COMMON", L"harold_work_pos", &m_work_pos);
    loadAnimation(&m_animations[MAKER_STAND], ini, L"STAND");
    loadAnimation(&m_animations[MAKER_WORKING], ini, L"WORKING");
    cPicture::loadFromIni(ini, L"COMMON");
}

void cSandwichMaker::setWorkState(int32_t state) {
    m_state = state;
    m_animating = false;
    if (state == MAKER_WORKING) {
        if (getPosition().equals(m_work_pos) && m_target.notEquals(m_stand_pos)) {
            setLayer0Animation(m_animations[MAKER_WORKING], ORIGIN_START, 0.0f);
            m_animating = true;
        }
        setPosition(m_work_pos);
    } else {
        setPosition(m_stand_pos);
        m_idle_timer = float(characters::randomInt(characters::toIntClamped(m_min_anim_time),
                                                   characters::toIntClamped(m_max_anim_time)));
        // At least one run, also when max_count_cycles is below 1.
        m_cycles_left = characters::randomInt(1, m_max_count_cycles);
        setLayer0Animation(m_animations[MAKER_STAND], ORIGIN_START, 0.0f);
    }
}

void cSandwichMaker::setPosition(const cVector2& position) {
    if (position.equals(getPosition())) return;
    m_moving = true;
    m_target = position;
    m_direction = position.minus(getPosition());
    m_direction.normalize();
}

void cSandwichMaker::update() {
    const float dt = getDeltaTime();
    // 1. The rest before the idle animation.
    if (!m_animating) {
        m_idle_timer -= dt;
        if (m_idle_timer <= 0.0f) {
            m_idle_timer = 0.0f;
            m_animating = true;
        }
    }
    // 2. A walk step, and nothing else while walking.
    if (m_moving) {
        walkStep(dt);
    } else if (m_animating) {
        // 3. The idle runs, then a new rest; the working animation runs faster in bonus mode.
        if (m_state == MAKER_STAND && characters::isAnimationAtEnd(*this)) {
            if (--m_cycles_left > 0) setLayer0Time(0.0f);
            else setWorkState(MAKER_STAND);
        }
        const bool faster = m_state == MAKER_WORKING && isBonusModeOn();
        advanceAnimation(faster ? dt * m_temp_multiplier : dt);
    }
    // 4. Controllers and children.
    cPicture::update();
}

void cSandwichMaker::walkStep(float dt) {
    cVector2 next = getPosition().plus(m_direction.times(m_speed_move * dt));
    bool arrived = true;
    auto axis = [&](float direction, float& value, float target) {
        if (direction == 0.0f) return;
        if ((direction < 0.0f && value <= target) || (direction > 0.0f && value >= target)) value = target;
        else arrived = false;
    };
    axis(m_direction.x, next.x, m_target.x);
    axis(m_direction.y, next.y, m_target.y);
    if (arrived) {
        m_moving = false;
        setWorkState(m_state);
    }
    cSprite::setPosition(next);
    setTransformOrigin(m_off_sprite.negated());
}
