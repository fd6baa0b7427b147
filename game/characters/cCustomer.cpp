#include "game/characters/cCustomer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "engine/core/cIniFile.h"
#include "game/characters/CharacterSupport.h"
#include "game/data/cStatistics.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cTable.h"
#include "game/scoring/cScoreTable.h"
#include "platform/device/Device.h"

namespace {

constexpr float kInstant = std::numeric_limits<float>::infinity();

// Fade speed of a fade lasting `seconds`: 256 per that time; a missing or non-positive time
// fades at once.
float fadeSpeed(float seconds) { return seconds > 0.0f ? 256.0f / seconds : kInstant; }
// One frame's change of a fade; an instant fade completes whatever the step (no 0 x infinity).
float fadeStep(float dt, float speed) { return std::isinf(speed) ? 256.0f : dt * speed; }

namespace sounds {
constexpr const char* kAppearF = "sounds/game/customer_appear_f.ogg";
constexpr const char* kAppearM = "sounds/game/customer_appear_m.ogg";
constexpr const char* kMenuTake = "sounds/game/customers_menu_take.ogg";
constexpr const char* kMenuDown = "sounds/game/customer_menu_down.ogg";
constexpr const char* kToAngryF = "sounds/game/customer_to_angry_f.ogg";
constexpr const char* kToAngryM = "sounds/game/customer_to_angry_m.ogg";
constexpr const char* kExitAngryF = "sounds/game/customer_exit_angry_f.ogg";
constexpr const char* kExitAngryM = "sounds/game/customer_exit_angry_m.ogg";
constexpr const char* kExitHappyF = "sounds/game/customer_exit_happy_f.ogg";
constexpr const char* kExitHappyM = "sounds/game/customer_exit_happy_m.ogg";
}  // namespace sounds

const wchar_t* const kAnimationSections[4] = {L"STAND_HAPPY", L"STAND_ANGRY", L"ORDER", L"EXIT_HAPPY"};

bool isSeatedStage(int32_t stage) {
    return stage == STAGE_WAITING_FOR_ORDER || stage == STAGE_ORDERING || stage == STAGE_WAITING_FOR_ITEM;
}
bool isWaitingStage(int32_t stage) { return stage == STAGE_WAITING_FOR_ORDER || stage == STAGE_WAITING_FOR_ITEM; }

}  // namespace

cCustomer::cCustomer(cSceneNode* parent, int32_t kind) : cPicture(parent), cClickTarget(this), m_kind(kind) {
    m_warning = new cPicture(this);
    m_warning->setBeginDrawCallback(&cCustomer::beginWarningDraw);
    m_warning->setAlpha(0);
    m_warning->setColor(0xFF0000u);
    m_warning->hide();
    m_warning->disable();
    m_mood_picture = new cPicture(this);
    loadConfig();
    m_mood_picture->setLayer0Frame(static_cast<uint32_t>(kMaxMood + 1 - m_mood));
    m_highlight = new cHighlight(true, this, 255);
    m_highlight->setAlpha(static_cast<uint32_t>(m_highlight_alpha));
    setAlpha(0);
    hide();
    disable();
}

cCustomer::~cCustomer() {
    hide();
    disable();
    m_orders.clear();
    delete m_highlight;
    delete m_warning;
    delete m_mood_picture;
}

void cCustomer::beginWarningDraw(cDevice* device) { device->setStageState(0, StageState::ColorOp, TOP_MODULATE); }

void cCustomer::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cCustomer::loadConfig() {
    const cIniFile& ini = characters::characterIni(cStringA("0") + std::to_string(m_kind + 1).c_str());
    const wchar_t* common = L"COMMON";
    cPicture::loadFromIni(ini, common);
    float appearTime = 0.0f, waitTime = 0.0f, disappearTime = 0.0f, bonusOrderTime = 0.0f;
    readFloat(ini, common, L"appear_time", &appearTime);
    m_appear_alpha_speed = fadeSpeed(appearTime);
    readFloat(ini, common, L"wait_time", &waitTime);
    m_wait_step = waitTime / kMaxMood;
    readFloat(ini, common, L"order_time", &m_order_time);
    readFloat(ini, common, L"disappear_time", &disappearTime);
    m_disappear_alpha_speed = fadeSpeed(disappearTime);
    readFloat(ini, common, L"combo_mode_order_time", &bonusOrderTime);
    // Without a positive bonus ordering time the bonus ordering ends at once.
    m_bonus_order_rate = bonusOrderTime > 0.0f ? m_order_time / bonusOrderTime : kInstant;
    characters::readInt(ini, common, L"appear_distance", &m_appear_distance);
    readFloat(ini, common, L"appear_distance_time", &m_appear_distance_time);
    characters::readInt(ini, common, L"disappear_distance", &m_disappear_distance);
    readFloat(ini, common, L"disappear_distance_time", &m_disappear_distance_time);
    // A walk of no time is made at once (its speed stays 0 and the walk jumps).
    m_appear_speed = m_appear_distance_time > 0.0f ? float(m_appear_distance) / m_appear_distance_time : 0.0f;
    m_disappear_speed =
        m_disappear_distance_time > 0.0f ? float(m_disappear_distance) / m_disappear_distance_time : 0.0f;
    readVector(ini, common, L"off_mood", &m_mood_offset);
    readFloat(ini, common, L"min_anim_time", &m_min_anim_time);
    readFloat(ini, common, L"max_anim_time", &m_max_anim_time);
    for (int n = 0; n < kSeats; ++n)
        readVector(ini, common, (L"position_" + std::to_wstring(n + 1)).c_str(), &m_seat_positions[n]);
    characters::readInt(ini, common, L"highlight_alpha", &m_highlight_alpha);
    for (int a = 0; a < 4; ++a) loadAnimation(&m_animations[a], ini, kAnimationSections[a]);
    m_mood_picture->loadFromIni(ini, L"MOOD");
    loadHitPolygon(ini, common);
}

void cCustomer::addOrder(int32_t item) {
    m_orders.push_back(item);
    ++m_order_count;
    if (const cScoreTable* scores = getScores()) m_money += scores->getProductPoints(item);
}

void cCustomer::setMood(int32_t mood) {
    if (mood < 1 || mood > kMaxMood) return;
    m_mood = mood;
    m_mood_picture->setLayer0Frame(static_cast<uint32_t>(kMaxMood + 1 - mood));
}

void cCustomer::setTable(cTable* table) {
    if (!table) return;
    m_table = table;
    m_seat = table->getIndex() - 1;
    if (m_seat < 0 || m_seat >= kSeats) m_seat = 0;
    setPosition(m_seat_positions[m_seat].minus(cVector2(float(m_appear_distance - 1), 0.0f)));
}

void cCustomer::setPosition(const cVector2& position) {
    cSprite::setPosition(position);
    if (m_mood_picture) m_mood_picture->setPosition(position.plus(m_mood_offset));
}

void cCustomer::setDeep(float deep) {
    cSprite::setDeep(deep);
    if (m_highlight) m_highlight->setDeep(deep + 0.1f);
    if (m_warning) m_warning->setDeep(deep + 0.2f);
    if (m_mood_picture) m_mood_picture->setDeep(deep + 0.5f);
}

bool cCustomer::setState(int32_t value) {
    if (isSeatedStage(m_stage)) {
        if (value == ITEM_ORDER_TAKEN) {
            setStage(STAGE_ORDERING);
            characters::playSound(sounds::kMenuTake);
        } else if (value == 0 && m_mood > 0) {
            setStage(m_orders.empty() ? STAGE_LEAVING_HAPPY : STAGE_ORDERING);
        }
    } else if (value == ITEM_WAITING) {
        setStage(STAGE_APPEARING);
        show();
        enable();
    }
    storeState(value);
    return true;
}

void cCustomer::updateHover(bool testMouse, bool value) {
    hoverOwner(*this, testMouse, value, true);
    if (!isSeatedStage(m_stage)) setHovered(false);
    m_highlight->setVisible(m_stage != STAGE_ORDERING && isHovered());
}

void cCustomer::playVoice(const char* female, const char* male) const {
    characters::playSound(isFemale() ? female : male);
}

void cCustomer::pickIdleTime() {
    const int32_t lo = characters::toIntClamped(m_min_anim_time * 1000.0f);
    const int32_t hi = characters::toIntClamped(m_max_anim_time * 1000.0f);
    m_idle_timer = float(characters::randomInt(lo, hi)) / 1000.0f;
}

int32_t cCustomer::standAnimation(int32_t angryBelow) const {
    return m_mood > angryBelow ? ANIM_STAND_HAPPY : ANIM_STAND_ANGRY;
}

void cCustomer::stopWarning() {
    m_warning->hide();
    m_warning->disable();
    m_warn_10s = false;
    m_warn_3s = false;
}

void cCustomer::recordAngryExit(int32_t previousStage) {
    cStatistics* statistics = getStatistics();
    if (!statistics || !m_table) return;
    const int line = m_table->getIndex();
    statistics->addMoodMark(line, m_mood);
    statistics->addOrderMark(line, previousStage == STAGE_WAITING_FOR_ORDER ? ITEM_WAITING : m_table->getState());
    statistics->addHuman();
}

void cCustomer::setStage(int32_t stage) {
    const int32_t previous = m_stage;
    switch (stage) {
    case STAGE_APPEARING:
        m_anim_index = ANIM_STAND_HAPPY;
        m_animating = false;
        playVoice(sounds::kAppearF, sounds::kAppearM);
        break;
    case STAGE_WAITING_FOR_ORDER:
        if (m_table) m_table->showFirstItem(ITEM_ORDER_TAKEN);
        pickIdleTime();
        m_anim_index = standAnimation(4);
        m_animating = false;
        break;
    case STAGE_ORDERING:
        if (m_table) {
            if (m_table->getSecondItem() != 0) m_table->showSecondItem(0);
            else m_table->showFirstItem(0);
        }
        m_anim_index = ANIM_ORDER;
        m_animating = true;
        break;
    case STAGE_WAITING_FOR_ITEM:
        pickIdleTime();
        m_anim_index = standAnimation(4);
        m_animating = false;
        break;
    case STAGE_LEAVING_ANGRY:
        recordAngryExit(previous);
        if (m_table) {
            m_table->setState(0);
            m_table->showFirstItem(0);
        }
        stopWarning();
        m_anim_index = ANIM_STAND_ANGRY;
        m_animating = true;
        if (cScoreTable* scores = getScores()) scores->applyPenalty(getPosition().plus(cVector2(0.0f, -20.0f)));
        playVoice(sounds::kExitAngryF, sounds::kExitAngryM);
        break;
    case STAGE_LEAVING_HAPPY:
        if (m_table) m_table->showFirstItem(0);
        m_anim_index = ANIM_EXIT_HAPPY;
        stopWarning();
        m_animating = true;
        m_mood_picture->hide();
        m_mood_picture->disable();
        playVoice(sounds::kExitHappyF, sounds::kExitHappyM);
        if (cStatistics* statistics = getStatistics(); statistics && m_table)
            statistics->addMoodMark(m_table->getIndex(), m_mood);
        break;
    case STAGE_NEXT_ORDER: {
        // The generator seats only guests with an order; one without has nothing to wait for.
        if (m_orders.empty()) {
            setStage(STAGE_LEAVING_HAPPY);
            return;
        }
        const int32_t item = m_orders.front();
        setState(item);
        if (m_table) m_table->setState(item);
        m_orders.pop_front();
        if (m_table) {
            if (m_order_count == 2 && m_orders.size() == 1) m_table->showSecondItem(item);
            else m_table->showFirstItem(item);
        }
        m_anim_index = standAnimation(2);
        m_animating = false;
        stage = STAGE_WAITING_FOR_ITEM;
        break;
    }
    case STAGE_GONE:
        m_stage = STAGE_GONE;
        m_animating = false;
        return;
    default:
        return;
    }
    const bool leaving = stage == STAGE_LEAVING_ANGRY || stage == STAGE_LEAVING_HAPPY;
    setTransformFlags(TF_MIRROR_Y, leaving);
    m_highlight->setTransformFlags(TF_MIRROR_Y, leaving);
    m_warning->setTransformFlags(TF_MIRROR_Y, leaving);
    applyAnimation();
    m_stage = stage;
    m_timer_phase = isWaitingStage(stage) ? 0 : stage == STAGE_ORDERING ? 1 : 2;
    m_timer = 0.0f;
}

void cCustomer::applyAnimation() {
    const cAnimation& animation = m_animations[m_anim_index];
    setLayer0Animation(animation, ORIGIN_START, 0.0f);
    m_highlight->setLayer0Animation(animation, ORIGIN_START, 0.0f);
    m_warning->setLayer0Animation(animation, ORIGIN_START, 0.0f);
}

void cCustomer::setAllLayerTimes(float time) {
    setLayer0Time(time);
    m_highlight->setLayer0Time(time);
    m_warning->setLayer0Time(time);
}

void cCustomer::update() {
    const float dt = getDeltaTime();
    // 1. Patience, ordering and the idle pause.
    stepMood(dt);
    // 2. The red warning glow.
    stepWarning(dt);
    // 3. No mood left: it leaves angry.
    if (m_mood == 0 && m_stage != STAGE_LEAVING_ANGRY && m_stage != STAGE_GONE) setStage(STAGE_LEAVING_ANGRY);
    // 4. The second of two orders needs no second ordering time.
    if (m_stage == STAGE_ORDERING && m_order_count == 2 && m_orders.size() == 1) setStage(STAGE_NEXT_ORDER);
    // 5. An idle run that has ended rewinds and waits for the next pause.
    if (characters::isAnimationAtEnd(*this) && isWaitingStage(m_stage)) {
        setAllLayerTimes(0.0f);
        pickIdleTime();
        m_animating = false;
    }
    // 6. Walking in, and walking out after a happy exit's run or at once when angry.
    if (m_stage == STAGE_APPEARING) {
        stepWalkIn(dt);
    } else if (m_stage == STAGE_LEAVING_HAPPY) {
        if (characters::isAnimationAtEnd(*this)) {
            setAllLayerTimes(0.0f);
            m_animating = false;
        }
        if (!m_animating) stepWalkOut(dt);
    } else if (m_stage == STAGE_LEAVING_ANGRY) {
        stepWalkOut(dt);
    }
    // 7. The running animation of all three copies.
    if (m_animating) {
        advanceAnimation(dt);
        m_highlight->advanceAnimation(dt);
        m_warning->advanceAnimation(dt);
    }
    // 8. Controllers and children.
    cPicture::update();
}

void cCustomer::stepMood(float dt) {
    if (m_timer_phase == 0) {
        if (!m_waitress_coming) m_timer += dt;
        if (m_timer >= m_wait_step) {
            --m_mood;
            if (m_mood > 0) {
                m_mood_picture->setLayer0Frame(static_cast<uint32_t>(kMaxMood + 1 - m_mood));
            } else {
                m_mood_picture->hide();
                m_mood_picture->disable();
            }
            if (m_mood <= 4 && m_anim_index != ANIM_STAND_ANGRY) {
                setStage(m_stage);
                playVoice(sounds::kToAngryF, sounds::kToAngryM);
            }
            m_timer = 0.0f;
        }
    } else if (m_timer_phase == 1) {
        if (isBonusModeOn()) {
            if (std::isinf(m_bonus_order_rate)) m_timer = std::max(m_timer, m_order_time);
            else m_timer += dt * m_bonus_order_rate;
        } else {
            m_timer += dt;
        }
        if (m_timer >= m_order_time) {
            setStage(STAGE_NEXT_ORDER);
            characters::playSound(sounds::kMenuDown);
        }
    }
    if (isWaitingStage(m_stage)) {
        m_idle_timer -= dt;
        if (m_idle_timer <= 0.0f) m_animating = true;
    }
}

void cCustomer::stepWarning(float dt) {
    if (isWaitingStage(m_stage)) {
        const float left = float(m_mood - 1) * m_wait_step + (m_wait_step - m_timer);
        if (left <= kFirstWarning) {
            if (isHovered() && m_warning->isOwnVisible()) {
                m_warning->hide();
                m_warning->disable();
            } else if (!isHovered() && !m_warning->isOwnVisible() && (m_warn_10s || m_warn_3s)) {
                m_warning->show();
                m_warning->enable();
            }
            if (left > 4.0f && m_warn_10s) stepPulse(dt, true);
            else if (left <= kLastWarning && m_warn_3s) stepPulse(dt, false);
            m_warning->setAlpha(toAlpha(m_warning_alpha));
            return;
        }
    }
    if (m_warning->isOwnVisible()) {
        m_warning->setAlpha(0);
        m_warning->hide();
        m_warning->disable();
    }
}

void cCustomer::stepPulse(float dt, bool firstWarning) {
    m_warning_delay -= dt;
    if (m_warning_delay > 0.0f) return;
    m_warning_delay = 0.0f;
    m_warning_alpha += m_warning_direction * 2000.0f * dt;
    if (m_warning_alpha >= 180.0f) {
        m_warning_delay = 0.1f;
        m_warning_direction = -1.0f;
    } else if (m_warning_alpha <= 0.0f) {
        m_warning_alpha = 0.0f;
        m_warning_direction = 1.0f;
        m_warning_delay = 0.1f;
        if (firstWarning && ++m_warning_pulses >= 2) {
            m_warning_pulses = 0;
            m_warning_delay = 0.0f;
            m_warn_10s = false;
        }
    }
}

void cCustomer::stepWalkIn(float dt) {
    m_alpha = std::min(m_alpha + fadeStep(dt, m_appear_alpha_speed), 255.0f);
    const float seatX = m_seat_positions[m_seat].x;
    cVector2 position = getPosition();
    position.x = m_appear_distance_time > 0.0f ? std::min(position.x + dt * m_appear_speed, seatX) : seatX;
    setAlpha(toAlpha(m_alpha));
    setPosition(position);
    if (m_alpha == 255.0f) {
        setStage(STAGE_WAITING_FOR_ORDER);
        m_mood_picture->show();
        m_mood_picture->enable();
    }
}

void cCustomer::stepWalkOut(float dt) {
    m_alpha = std::max(m_alpha - fadeStep(dt, m_disappear_alpha_speed), 0.0f);
    cVector2 position = getPosition();
    if (m_disappear_distance_time > 0.0f) {
        position.x -= dt * m_disappear_speed;
    } else if (!m_walked_off) {
        position.x -= float(m_disappear_distance);
        m_walked_off = true;
    }
    setAlpha(toAlpha(m_alpha));
    setPosition(position);
    if (m_alpha == 0.0f) setStage(STAGE_GONE);
}
