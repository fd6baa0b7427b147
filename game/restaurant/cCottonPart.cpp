#include "game/restaurant/cCottonPart.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cCottonStation.h"
#include "game/restaurant/cHighlight.h"

cCottonPart::cCottonPart(cCottonStation* stand, const char* iniName, const cStringW& polygonSection,
                         const std::string& texture, const cVector2& position, const cVector2& controlPoint, int kind)
    : cStation(stand), m_stand(stand), m_cotton_kind(kind) {
    storeState(kind);
    const cIniFile& ini = effectIni(iniName);
    cPicture::loadFromIni(ini, L"COMMON");
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, L"COMMON");
    if (!texture.empty()) setPicture(texture.c_str());
    loadHitPolygon(ini, polygonSection);
    if (kind == ITEM_COTTON_CANDY_2) setDeep(getDeep() + 0.1f);
    setPosition(position);
    setControlPoint(controlPoint);
    finishBuild(m_highlight_alpha);
    setLayer0Time(0.0f);
    m_highlight->setLayer0Time(0.0f);
}

cCottonPart::~cCottonPart() = default;

void cCottonPart::updateHover(bool testMouse, bool value) {
    if (isBlocked() || !isVisible()) {
        setHovered(false);
    } else {
        hoverOwner(*this, testMouse, value);
    }
    m_highlight->setVisible(isHovered());
}

void cCottonPart::showClickEffect() { m_stand->showClickEffect(); }

