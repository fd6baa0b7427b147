#include "game/restaurant/cHandItem.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"

namespace {
// Key suffixes of directions 0..8.
const wchar_t* const kDirectionSuffixes[9] = {L"stand", L"l", L"dr", L"d", L"dl", L"r", L"ur", L"u", L"ul"};
const wchar_t* const kHandPrefixes[2] = {L"off_right_hand_", L"off_left_hand_"};
}  // namespace

cHandItem::cHandItem(cSceneNode* parent, int hand) : cItemHolder(parent), m_hand(hand == 1 ? 1 : 0) {
    m_anchor = getPosition();
    loadHandItem();
    cHandItem::setState(0);
}

void cHandItem::loadFromIni(const cIniFile&, const cStringW&) { loadHandItem(); }

void cHandItem::loadHandItem() {
    loadHolder();
    const cIniFile& ini = effectIni(kItemsIni);
    for (int hand = 0; hand < 2; ++hand)
        for (int d = 0; d < 9; ++d) {
            for (cVector2& offset : m_hand_offsets[hand][d]) offset = cVector2();
            readFamilyOffsets(ini, cStringW(kHandPrefixes[hand]) + kDirectionSuffixes[d], m_hand_offsets[hand][d]);
        }
}

bool cHandItem::setState(int32_t id) {
    const bool result = cItemHolder::setState(validItemOr0(id));
    setPosition(m_anchor);
    return result;
}

void cHandItem::setDirection(int code) {
    m_direction = code >= 0 && code <= 26 ? code % 9 : 0;
    setPosition(m_anchor);
}

void cHandItem::setPosition(const cVector2& anchor) {
    m_anchor = anchor;
    cItemHolder::setPosition(anchor + m_hand_offsets[m_hand][m_direction][plainSubOf(getState())]);
}
