#pragma once
// The place beside the stand where a finished portion waits in the item-part layout (kind 21):
// its state is the candy while it is shown, else 0; the waitress's take tells the stand.

#include "game/restaurant/cCottonPart.h"

class cCottonItem : public cCottonPart {
public:
    cCottonItem(cCottonStation* stand, const cVector2& position, const cVector2& controlPoint, int kind);
    int32_t getKind() const override { return KIND_COTTON_ITEM; }
    int32_t getState() const override;
    // The waitress took the portion; the value is not used. Always true.
    bool setState(int32_t value) override;
};
