#pragma once
// The points per product and action, with the combo runs. Only the raw entries, the product
// points and the penalty are here so far; this table holds none (every entry and product
// reads 0, and the penalty takes nothing).

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cVector2.h"

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
    // The points of an item id (for a sub: its type plus its sauces plus heating).
    virtual int32_t getProductPoints(int32_t item) const;
    // Subtracts the penalty from the running score and shows a "lost" score at the position.
    virtual void applyPenalty(const cVector2& position);
};

// The table, or null when none exists.
cScoreTable* getScores();
