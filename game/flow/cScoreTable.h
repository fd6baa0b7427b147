#pragma once
// The points per product and action, with the combo runs. Only the raw entries are here so
// far; this table holds none (every entry reads 0).

#include <cstdint>

#include "engine/core/cSingleton.h"

// Indexes of the raw entries of the scores file's "SCORES" section.
enum ScoreEntry : int32_t {
    SCORE_DELIVER = 11,
    SCORE_TAKE = 12,
    SCORE_TIP1 = 14,
    SCORE_TIP2 = 15,
};

class cScoreTable : public cSingleton<cScoreTable> {
public:
    cScoreTable();
    ~cScoreTable() override;

    // A raw entry; 0 for an index the table does not hold.
    virtual int32_t getEntry(int32_t index) const;
};

// The table, or null when none exists.
cScoreTable* getScores();
