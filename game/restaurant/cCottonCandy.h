#pragma once
// A cotton machine's choice at the stand (kind 20): the waitress's use orders its candy (4 or
// 5); false when the stand refuses (an order waits or is being made).

#include "game/restaurant/cCottonPart.h"

class cCottonCandy : public cCottonPart {
public:
    cCottonCandy(cCottonStation* stand, const cVector2& position, const cVector2& controlPoint, int kind);
    int32_t getKind() const override { return KIND_COTTON_CANDY; }
    // Orders the kind from the stand; the value is not used.
    bool setState(int32_t value) override;
};

