#pragma once
// The bonus bar of a level and its timed bonus mode. Scoring actions add run points to a
// pending sum; when a combo star lands the pending sum goes into the bar; a full bar starts
// the bonus mode (a message, a sound and a faster music tempo) for the configured time, and a
// cool-down follows in which the bar stays empty. At the level's end the bonus count pays the
// bar out in steps of a tenth of its capacity. Upgraded decor gives the bar a head start.
//
// The default construction reads nothing and never enters the bonus mode (effect and panel
// tests override its getters). The level builds it with itself as the parent, which reads
// "Config/Game/temp_bonuses.ini" and the level's combo_sum.

#include <array>
#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/scene/cSceneNode.h"
#include "game/effects/cBonusBar.h"

class cTempBonuses : public cSceneNode, public cBonusBar, public cSingleton<cTempBonuses> {
public:
    static constexpr const char* kFileName = "Config/Game/temp_bonuses.ini";

    cTempBonuses();
    // The level's bar: reads the configuration (a missing file fails naming it), gives the
    // decor head start and resets the music tempo.
    explicit cTempBonuses(cSceneNode* level);
    ~cTempBonuses() override;

    // The bonus-mode clock on game time.
    void update() override;

    // One scoring action each; the score table calls them after it scored the action.
    void onTake() { onAction(0); }
    void onDeliver() { onAction(1); }
    void onPay() { onAction(2); }
    // Adds the pending combo points to the bar, capped at its capacity.
    void commitPending() override;

    // True while the timed bonus mode runs.
    bool isBonusMode() const override;
    // The bar's fill, 0 (empty) to 1 (full); 0 without a capacity or a bonus time.
    float getBarFill() const override;

    // The level's bonus count: stop a running bonus mode, turning its time left back into bar
    // content; then pay out one step, answering the star points (0 once the bar is empty).
    void endBonusMode();
    int32_t tickEndBonus();

    void setFastFill(bool on) { m_fast_fill = on; }
    void setFrozen(bool on) { m_frozen = on; }
    void fillBar() { m_bar = m_capacity; }
    // Sets the bar content, within 0..capacity (debug and tests).
    void setBar(int32_t bar) { m_bar = bar < 0 ? 0 : bar > m_capacity ? m_capacity : bar; }

    int32_t getBar() const { return m_bar; }
    int32_t getCapacity() const { return m_capacity; }
    int32_t getPending() const { return m_pending; }
    int32_t getHeadStart() const { return m_head_start; }
    float getTimeLeft() const { return m_time_left; }
    float getDelayTimer() const { return m_delay_timer; }
    // What one step of the bonus count takes from the bar: a tenth of the capacity, at least 1.
    int32_t payStep() const { return m_capacity / 10 > 1 ? m_capacity / 10 : 1; }

private:
    void loadConfig();
    void onAction(int kind);

    std::array<std::array<int32_t, 6>, 3> m_points{};
    std::array<int32_t, 3> m_runs{};
    int32_t m_capacity = 0;
    int32_t m_bar = 0;
    bool m_bonus_mode = false;
    float m_bonus_time = 0.0f;
    float m_time_left = 0.0f;
    float m_bonus_delay = 0.0f;
    float m_delay_timer = 0.0f;
    int32_t m_head_start = 0;
    int32_t m_pending = 0;
    bool m_fast_fill = false;
    bool m_frozen = false;
    float m_tempo = 0.0f;
    cSceneNode* m_level = nullptr;
};

// The bar, or null when none exists.
cTempBonuses* getTempBonuses();
