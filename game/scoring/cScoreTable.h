#pragma once
// The points of a level: what each product is worth, what taking an order, delivering it and
// collecting the money earn, the tips, the penalty for an angry customer and the worth of one
// bonus-count star. It turns the waitress's three scoring actions into points: runs of equal
// actions (capped at 6) climb a sound ladder and show a combo picture, the bonus mode adds the
// COMBO points of the run, and the running score of the game data grows.
//
// The default construction reads nothing (every entry 0): restaurant tests price their own
// products through the virtual getters. The level builds it with itself as the parent of the
// flying scores, which reads "Config/Game/scores<world>.ini".

#include <array>
#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "game/characters/cWaitressScoring.h"

class cSceneNode;

// Indexes of the raw entries of the scores file's "SCORES" section.
enum ScoreEntry : int32_t {
    SCORE_DRINK = 0,
    SCORE_CAKE = 1,
    SCORE_SNACK = 2,
    SCORE_COFFEE = 3,
    SCORE_CREAM = 4,
    SCORE_COTTON_CANDY = 5,
    SCORE_SUB_1 = 6,   // 7, 8: breads 2 and 3
    SCORE_SAUCE = 9,
    SCORE_HEATING = 10,
    SCORE_DELIVER = 11,
    SCORE_TAKE = 12,
    SCORE_PENALTY = 13,
    SCORE_TIP1 = 14,
    SCORE_TIP2 = 15,
    SCORE_STAR = 16,
    SCORE_ENTRY_COUNT = 17,
};

// The kinds of scoring actions; a run counts actions of one kind.
enum ScoreAction : int32_t { ACTION_TAKE = 0, ACTION_DELIVER = 1, ACTION_PAY = 2, ACTION_NONE = 3 };

class cScoreTable : public cSingleton<cScoreTable>, public cWaitressScoring {
public:
    static constexpr int kMaxRun = 6;

    cScoreTable();
    // Reads the scores file of the game data's world; the level is the parent of the flying
    // scores. A missing file fails naming it.
    explicit cScoreTable(cSceneNode* level);
    ~cScoreTable() override;

    // A raw entry; 0 for an index the table does not hold.
    virtual int32_t getEntry(int32_t index) const;
    // The points of an item id (for a sub: its bread plus its sauces plus heating).
    virtual int32_t getProductPoints(int32_t item) const;
    // Breaks the run, shows the (negative) penalty falling at the position and adds it to the
    // running score, never below 0. A penalty entry of 0 or more does nothing.
    virtual void applyPenalty(const cVector2& position);

    // The waitress's three scoring actions.
    void awardTake(const cVector2& position) override;
    void awardDeliver(const cVector2& position) override;
    void awardPay(const cVector2& position, int32_t amount) override;
    void breakRun() { m_last_kind = ACTION_NONE; }

    int32_t getLastKind() const { return m_last_kind; }
    int32_t getRun() const { return m_run; }
    // The file name of a world's scores (worlds other than 2 and 3 read world 1's).
    static cStringA fileName(int32_t world);

private:
    void loadConfig();
    void awardAction(const cVector2& position, int32_t kind, int32_t points);

    int32_t m_last_kind = ACTION_NONE;
    int32_t m_run = 0;
    std::array<cStringW, 3> m_strings;
    std::array<int32_t, SCORE_ENTRY_COUNT> m_entries{};
    std::array<std::array<int32_t, kMaxRun>, 3> m_combo{};
    cSceneNode* m_level = nullptr;
};

// The table, or null when none exists.
cScoreTable* getScores();
