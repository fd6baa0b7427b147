#include "game/restaurant/cCottonCandy.h"

#include "game/restaurant/cCottonStation.h"

cCottonCandy::cCottonCandy(cCottonStation* stand, const cVector2& position, const cVector2& controlPoint, int kind)
    : cCottonPart(stand, kCottonIni,
                  kind == ITEM_COTTON_CANDY_1 ? (stand->getMachineCount() == 1 ? L"POINTS_1_COUNT_1" : L"POINTS_1_COUNT_2")
                                              : L"POINTS_2_COUNT_2",
                  cottonTextures().choice[kind == ITEM_COTTON_CANDY_1 ? 0 : 1], position, controlPoint, kind) {}

bool cCottonCandy::setState(int32_t) { return m_stand->requestCotton(m_cotton_kind); }

