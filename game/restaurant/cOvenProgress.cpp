#include "game/restaurant/cOvenProgress.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cHighlight.h"

cOvenProgress::cOvenProgress(cSceneNode* oven, int index) : cStation(oven), m_index(index) {
    const cIniFile& ini = effectIni(kOvenProgressIni);
    const cStringW section = L"PROGRESS_" + std::to_wstring(index);
    cPicture::loadFromIni(ini, section);
    stringToInt(&m_highlight_alpha, ini.getValue(section, L"highlight_alpha"));
    loadHitPolygon(ini, section);
    m_highlight = new cHighlight(true, this, 255);
    m_highlight->setAlpha(uint32_t(m_highlight_alpha) & 0xFF);
    setLayer0Frame(1);
    m_highlight->setLayer0Frame(1);
}

cOvenProgress::~cOvenProgress() = default;

void cOvenProgress::updateHover(bool testMouse, bool value) {
    hoverOwner(*this, testMouse, value);
    m_highlight->setVisible(isHovered() && m_frame == 1);
}

void cOvenProgress::step() {
    ++m_frame;
    if (m_frame > int(getLayer0FrameCount())) m_frame = 1;
    station_run::showFrame(this, uint32_t(m_frame));
    station_run::showFrame(m_highlight, uint32_t(m_frame));
}
