#include "game/restaurant/cCottonItem.h"

#include "game/restaurant/cCottonStation.h"

cCottonItem::cCottonItem(cCottonStation* stand, const cVector2& position, const cVector2& controlPoint, int kind)
    : cCottonPart(stand, kCottonItemIni, kind == ITEM_COTTON_CANDY_1 ? L"POINTS_1_COUNT_2" : L"POINTS_2_COUNT_2",
                  cottonTextures().part[kind == ITEM_COTTON_CANDY_1 ? 0 : 1], position, controlPoint, kind) {}

int32_t cCottonItem::getState() const { return isVisible() ? m_cotton_kind : 0; }

bool cCottonItem::setState(int32_t) {
    m_stand->takeItem(getState());
    return true;
}
