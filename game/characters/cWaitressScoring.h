#pragma once
// What the waitress's work scores: taking an order, delivering it, collecting the money. The
// level's score table implements it; tests record the calls.

#include <cstdint>

#include "engine/core/cVector2.h"

class cWaitressScoring {
public:
    virtual ~cWaitressScoring() = default;
    virtual void awardTake(const cVector2& position) = 0;
    virtual void awardDeliver(const cVector2& position) = 0;
    virtual void awardPay(const cVector2& position, int32_t amount) = 0;
};
