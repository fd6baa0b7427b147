#include "game/interface/cPanelStatus.h"


#include "engine/core/cIniFile.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxSparkle.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cProgressBar.h"

namespace {

// Steps of a track part from its offset's y: whole steps, at least one and at most the cap.
uint32_t trackSteps(float y) {
    if (!(y >= 1.0f)) return 1;
    if (y >= float(cPanelStatus::kMaxTrackSteps)) return cPanelStatus::kMaxTrackSteps;
    return static_cast<uint32_t>(y);
}

// The distance one step covers: the y value itself when it is a whole number of steps, the
// full offset in one step otherwise.
float stepDivisor(float y, uint32_t steps) { return y >= 1.0f && y <= float(steps) ? y : float(steps); }

// The score at step `step` of `steps` along a span of `span` points above `base`. Multiplying
// before dividing spreads goals smaller than the step count over the whole track, and the last
// step lands on the span's end exactly; 64 bits hold the product of any goal and step count.
uint32_t trackThreshold(uint32_t base, uint32_t span, uint32_t step, uint32_t steps) {
    return base + static_cast<uint32_t>(uint64_t(span) * step / steps);
}

constexpr float kSlideOutSpeed = 1500.0f;   // pixels per second, interface time
constexpr float kPulseSpeed = 500.0f;       // scale units per second
constexpr float kBlinkSpeed = 2000.0f;      // alpha units per second

}  // namespace

cPanelStatus::cPanelStatus(cSceneNode* parent, cLevelPanelOwner* owner)
    : cPanel(parent, owner), m_game(owner), m_clock(new cCompositePicture(this)),
      m_score_picture(new cCompositePicture(this)), m_goal_mark(new cCompositePicture(this)),
      m_expert_mark(new cCompositePicture(this)), m_level_picture(new cCompositePicture(this)),
      m_score_caption(new cPicture(this)), m_score_text(new cText(this)), m_goal_text(new cText(this)),
      m_expert_text(new cText(this)), m_level_text(new cText(this)), m_bonus_bar(new cProgressBar(this)),
      m_blinker(new cProgressBar(this)), m_pause_button(new cButton(this)) {
    loadConfig(cIniFile(), cStringW());
    prepareSlideIn();
}

cPanelStatus::~cPanelStatus() {
    cSceneNode::hide();
    cSceneNode::disable();
    deletePart(m_score_text);
    deletePart(m_goal_text);
    deletePart(m_expert_text);
    deletePart(m_level_text);
    deletePart(m_clock);
    deletePart(m_score_picture);
    deletePart(m_goal_mark);
    deletePart(m_expert_mark);
    deletePart(m_level_picture);
    deletePart(m_score_caption);
    deletePart(m_bonus_bar);
    deletePart(m_blinker);
    deletePart(m_pause_button);
}

void cPanelStatus::loadConfig(const cIniFile&, const cStringW&) {
    const cIniFile& ini = effectIni(panel_files::kStatus);
    // 1-2. The panel, then every part from its section.
    cPanel::loadConfig(ini, L"COMMON");
    m_clock->loadFromIni(ini, L"CLOCK");
    m_score_picture->loadFromIni(ini, L"SCORE_PIC");
    m_goal_mark->loadFromIni(ini, L"GOAL_PIC");
    m_expert_mark->loadFromIni(ini, L"EXPERT_PIC");
    m_level_picture->loadFromIni(ini, L"LEVEL_PIC");
    m_level_picture->setPicture(panel_files::kStatusLevelPicture);
    m_score_caption->loadFromIni(ini, L"SCORE_PIC_TEXT");
    m_score_text->loadFromIni(ini, L"SCORE_TEXT");
    m_goal_text->loadFromIni(ini, L"GOAL_TEXT");
    m_expert_text->loadFromIni(ini, L"EXPERT_TEXT");
    m_level_text->loadFromIni(ini, L"LEVEL_TEXT");
    m_bonus_bar->loadFromIni(ini, L"BONUS");
    m_blinker->loadFromIni(ini, L"BONUS_ACTIVE");
    m_pause_button->loadFromIni(ini, L"PAUSE");
    // 3-4. The pause button's handler; the texts to their pictures, the parts to the panel.
    m_pause_button->setClickHandler(&cPanelStatus::onPauseClicked);
    m_score_picture->attach(m_score_text);
    m_goal_mark->attach(m_goal_text);
    m_expert_mark->attach(m_expert_text);
    m_level_picture->attach(m_level_text);
    for (cSprite* part : std::initializer_list<cSprite*>{m_clock, m_score_picture, m_goal_mark, m_expert_mark,
                                                         m_level_picture, m_pause_button, m_bonus_bar})
        attach(part);
    // 5. The goals.
    m_goal = m_game->getGoal();
    m_expert_goal = m_game->getExpertGoal();
    m_goal_text->setString(cStringW(std::to_wstring(m_goal)));
    m_expert_text->setString(cStringW(std::to_wstring(m_expert_goal)));
    // 6. The clock runs one frame longer than the level, so its last frame shows as time runs out.
    const float time = m_game->getLevelTime();
    const uint32_t frames = m_clock->getLayer0FrameCount() > 0 ? m_clock->getLayer0FrameCount() : 1u;
    m_clock->setLayer0Length(time + time / float(frames));
    // 7. The score track.
    buildTrack(ini);
    // 8. The level number and a first look at the score, the bar and the blinker.
    m_level_text->setString(intToString(m_game->getLevel()));
    updateScore();
    updateBonusBar();
    updateBlinker();
}

void cPanelStatus::buildTrack(const cIniFile& ini) {
    cVector2 offGoal, offExpert;
    readVector(ini, L"SCORE_PIC", L"off_goal", &offGoal);
    readVector(ini, L"SCORE_PIC", L"off_expert", &offExpert);
    const uint32_t n1 = trackSteps(offGoal.y);
    const uint32_t n2 = trackSteps(offExpert.y);
    const float d1 = stepDivisor(offGoal.y, n1);
    const float d2 = stepDivisor(offExpert.y, n2);
    const uint32_t expertSpan = m_expert_goal > m_goal ? m_expert_goal - m_goal : 0u;

    m_track_points.assign(1, m_score_picture->getPosition());
    m_track_thresholds.assign(1, 0u);
    const cVector2 start = m_track_points[0];
    for (uint32_t i = 1; i <= n1; ++i) {
        m_track_points.push_back(start - offGoal * (float(i) / d1));
        m_track_thresholds.push_back(trackThreshold(0u, m_goal, i, n1));
    }
    const cVector2 goalPoint = m_track_points[n1];
    const uint32_t goalThreshold = m_track_thresholds[n1];
    for (uint32_t j = 1; j <= n2; ++j) {
        m_track_points.push_back(goalPoint - offExpert * (float(j) / d2));
        m_track_thresholds.push_back(trackThreshold(goalThreshold, expertSpan, j, n2));
    }
    m_track_step = 0;
    m_track_moving = false;
}

void cPanelStatus::prepareSlideIn() {
    m_goal_shown = m_goal_mark->getPosition();
    m_expert_shown = m_expert_mark->getPosition();
    m_goal_hidden = cVector2(-200.0f, m_goal_shown.y);
    m_expert_hidden = cVector2(-200.0f, m_expert_shown.y);

    struct Slide {
        cSprite* part;
        cMotion* motion;
        cVector2 start;
        float duration;
    };
    const cVector2 clock = m_clock->getPosition(), score = m_score_picture->getPosition(),
                   level = m_level_picture->getPosition(), pause = m_pause_button->getPosition(),
                   bonus = m_bonus_bar->getPosition();
    const Slide slides[] = {
        {m_clock, &m_clock_motion, cVector2(-200.0f, clock.y), cMotion::SLIDE_IN_DURATION},
        {m_score_picture, &m_score_motion, cVector2(-50.0f, score.y), cMotion::STATUS_SLIDE_IN_DURATION},
        {m_goal_mark, &m_goal_motion, m_goal_hidden, cMotion::SLIDE_IN_DURATION},
        {m_expert_mark, &m_expert_motion, m_expert_hidden, cMotion::SLIDE_IN_DURATION},
        {m_level_picture, &m_level_motion, cVector2(850.0f, level.y), cMotion::STATUS_SLIDE_IN_DURATION},
        {m_pause_button, &m_pause_motion, cVector2(1100.0f, pause.y), cMotion::SLIDE_IN_DURATION},
        {m_bonus_bar, &m_bonus_motion, cVector2(bonus.x, 700.0f), cMotion::SLIDE_IN_DURATION},
    };
    for (const Slide& s : slides)
        s.motion->init(s.start, s.part->getPosition(), cMotion::SLIDE_IN_START, cMotion::SLIDE_IN_END, s.duration);
    for (const Slide& s : slides) s.part->setPosition(s.start);
    m_score_caption->setPosition(cVector2(-50.0f, m_score_caption->getPosition().y));
}

void cPanelStatus::update() {
    // 1. The score and the goal and expert marks.
    updateScore();
    // 2. The clock and its pulses on the last frame.
    updateClock();
    // 3. The bonus bar.
    updateBonusBar();
    // 4. The blinker of bonus mode.
    updateBlinker();
    // 5. A swap of the marks under way.
    updateMarks();
    // 6. The score picture along its track.
    updateTrack();
    // 7. Sparkles of bonus mode.
    updateSparkles();
    // 8. The slide step and the composite.
    cPanel::update();
}

void cPanelStatus::updateScore() {
    const uint32_t score = m_game->getScore();
    m_score_text->setString(cStringW(std::to_wstring(score)));
    if (m_marks_moving) return;
    if (score >= m_goal && !m_goal_reached) {
        m_goal_reached = true;
        m_marks_moving = true;
        m_goal_motion.initSlideIn(m_goal_mark->getPosition(), m_goal_hidden);
        m_expert_motion.initSlideIn(m_expert_mark->getPosition(), m_expert_shown);
    } else if (score < m_goal && m_goal_reached) {
        m_goal_reached = false;
        m_marks_moving = true;
        m_goal_motion.initSlideIn(m_goal_mark->getPosition(), m_goal_shown);
        m_expert_motion.initSlideIn(m_expert_mark->getPosition(), m_expert_hidden);
    }
}

void cPanelStatus::updateClock() {
    if (m_clock_frozen) return;
    const float dt = getDeltaTime();
    m_clock->advanceAnimation(dt);
    const uint32_t frames = m_clock->getLayer0FrameCount() > 0 ? m_clock->getLayer0FrameCount() : 1u;
    if (m_clock->getLayer0Frame() < frames) return;
    if (m_pulses_left <= 0) {
        m_clock_scale = cVector2(1.0f, 1.0f);
        m_pulses_left = 0;
    } else {
        if (m_clock_sound_armed) {
            widget_shape::playSound(panel_files::kSoundClock);
            m_clock_sound_armed = false;
        }
        m_pulse_hold -= dt;
        if (m_pulse_hold <= 0.0f) {
            m_pulse_hold = 0.0f;
            const float change = m_pulse_direction * kPulseSpeed * dt;
            m_clock_scale = cVector2(m_clock_scale.x + change, m_clock_scale.y + change);
        }
        if (m_pulse_direction > 0.0f && m_clock_scale.x >= 1.1f) {
            m_clock_scale = cVector2(1.1f, 1.1f);
            m_pulse_direction = -1.0f;
            m_pulse_hold = 0.05f;
        } else if (m_pulse_direction < 0.0f && m_clock_scale.x <= 0.9f) {
            m_clock_scale = cVector2(0.9f, 0.9f);
            m_pulse_direction = 1.0f;
            m_pulse_hold = 0.05f;
            --m_pulses_left;
        }
    }
    m_clock->setScale(m_clock_scale);
}

void cPanelStatus::updateBonusBar() { m_bonus_bar->setFraction(getBonusBarFill()); }

void cPanelStatus::updateBlinker() {
    if (isBonusModeOn()) {
        const float dt = getDeltaTime();
        m_blinker->show();
        m_blink_hold -= dt;
        if (m_blink_hold <= 0.0f) {
            m_blink_hold = 0.0f;
            m_blink_alpha += m_blink_direction * kBlinkSpeed * dt;
        }
        if (m_blink_direction > 0.0f && m_blink_alpha >= 255.0f) {
            m_blink_alpha = 255.0f;
            m_blink_direction = -1.0f;
            m_blink_hold = 0.3f;
        } else if (m_blink_direction < 0.0f && m_blink_alpha <= 0.0f) {
            m_blink_alpha = 0.0f;
            m_blink_direction = 1.0f;
            m_blink_hold = 0.2f;
        }
    } else {
        m_blink_hold = 0.0f;
        m_blink_direction = 1.0f;
        m_blink_alpha = 0.0f;
        m_blinker->hide();
    }
    m_blinker->setAlpha(toAlpha(m_blink_alpha));
}

void cPanelStatus::updateMarks() {
    if (!m_marks_moving) return;
    const float dt = getDeltaTime2();
    m_goal_mark->setPosition(m_goal_motion.step(dt));
    m_expert_mark->setPosition(m_expert_motion.step(dt));
    if (m_goal_motion.isDone() && m_expert_motion.isDone()) {
        m_goal_mark->setPosition(m_goal_motion.getTarget());
        m_expert_mark->setPosition(m_expert_motion.getTarget());
        m_marks_moving = false;
    }
}

void cPanelStatus::updateTrack() {
    if (m_track_moving) {
        m_score_picture->setPosition(m_track_motion.stepByMode(getDeltaTime2(), cMotion::BOUNCE_MODE));
        if (m_track_motion.isDone()) {
            m_score_picture->setPosition(m_track_motion.getTarget());
            m_track_moving = false;
        }
        return;
    }
    const uint32_t score = m_game->getScore();
    const uint32_t last = static_cast<uint32_t>(m_track_points.size()) - 1;
    uint32_t k = m_track_step;
    if (k < last && score >= m_track_thresholds[k + 1]) {
        while (k < last && score >= m_track_thresholds[k + 1]) ++k;
    } else if (k > 0 && score < m_track_thresholds[k]) {
        while (k > 0 && score < m_track_thresholds[k]) --k;
    }
    if (k == m_track_step) return;
    m_track_motion.init(m_track_points[m_track_step], m_track_points[k], cMotion::BOUNCE_START, cMotion::BOUNCE_END,
                        cMotion::BOUNCE_DURATION);
    m_track_step = k;
    m_track_moving = true;
}

void cPanelStatus::updateSparkles() {
    if (!isBonusModeOn()) return;
    m_sparkle_timer -= getDeltaTime();
    if (m_sparkle_timer > 0.0f) return;
    m_sparkle_timer = m_sparkle_period;
    cSceneNode* level = m_game->getLevelNode();
    if (level && isFullEffectsOn()) new cFxSparkle(level, m_blinker, 500.0f, 75.0f, -4.1f, 0xFFFFFFFFu, cStringA());
}

void cPanelStatus::place(cSprite* part, cMotion& motion, float dt) { part->setPosition(motion.step(dt)); }

void cPanelStatus::appearStep() {
    // 1. Inactive while sliding; the first step shows and enables the panel.
    deactivateAll();
    cSceneNode::show();
    cSceneNode::enable();
    const float dt = getDeltaTime2();
    // 2. The bonus bar leads.
    place(m_bonus_bar, m_bonus_motion, dt);
    // 3. Then the clock, the goal mark and the pause button.
    if (m_bonus_motion.value() > 3.0f) {
        place(m_clock, m_clock_motion, dt);
        place(m_goal_mark, m_goal_motion, dt);
        place(m_pause_button, m_pause_motion, dt);
    }
    // 4. Then the score picture (its caption follows in x) and the level picture.
    if (m_goal_motion.value() > 3.2f) {
        place(m_score_picture, m_score_motion, dt);
        m_score_caption->setPosition(cVector2(m_score_picture->getPosition().x, m_score_caption->getPosition().y));
        place(m_level_picture, m_level_motion, dt);
    }
    // 5. Everything on its end point once the score picture has arrived.
    if (m_score_motion.isDone()) {
        for (auto [part, motion] : {std::pair<cSprite*, cMotion*>{m_clock, &m_clock_motion},
                                    {m_score_picture, &m_score_motion}, {m_goal_mark, &m_goal_motion},
                                    {m_level_picture, &m_level_motion}, {m_pause_button, &m_pause_motion},
                                    {m_bonus_bar, &m_bonus_motion}})
            part->setPosition(motion->getTarget());
        m_score_caption->setPosition(cVector2(m_score_picture->getPosition().x, m_score_caption->getPosition().y));
        setFinished(false);
        clearStep();
        activateAll();
    }
}

void cPanelStatus::disappearStep() {
    // 1. Game time stops while the parts leave.
    freezeGame(true);
    deactivateAll();
    // 2. The clock leaves upwards, everything else downwards.
    const float distance = kSlideOutSpeed * getDeltaTime2();
    m_clock->setPosition(m_clock->getPosition() - cVector2(0.0f, distance));
    for (cSprite* part : std::initializer_list<cSprite*>{m_score_picture, m_score_caption, m_goal_mark, m_expert_mark,
                                                         m_level_picture, m_pause_button, m_bonus_bar, m_blinker})
        part->setPosition(part->getPosition() + cVector2(0.0f, distance));
    // 3. Gone once the clock is above the screen.
    if (m_clock->getPosition().y < kHiddenY) {
        setFinished(true);
        cSceneNode::hide();
        cSceneNode::disable();
        clearStep();
        activateAll();
        freezeGame(false);
    }
}

void cPanelStatus::finishClock() {
    if (m_clock) m_clock->setLayer0Time(m_clock->getLayer0Length());
}

cVector2 cPanelStatus::getScorePicturePosition() const { return m_score_picture->getPosition(); }

bool cPanelStatus::onPauseClicked(cSceneNode* button) {
    auto* panel = dynamic_cast<cPanelStatus*>(button ? button->getParent() : nullptr);
    if (panel && button == panel->m_pause_button) panel->pausePressed();
    return true;
}

void cPanelStatus::pausePressed() {
    cPanelEsc* pause = m_game->getPausePanel();
    if (!pause || m_game->isFading() || pause->isVisible()) return;
    cPanelLevel* start = m_game->getLevelStartPanel();
    cPanelContinue* results = m_game->getResultPanel();
    if ((start && start->isVisible()) || (results && results->isVisible())) return;
    pause->show(true);
}
