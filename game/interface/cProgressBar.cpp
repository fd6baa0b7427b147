#include "game/interface/cProgressBar.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cRect.h"
#include "game/effects/EffectSupport.h"

cProgressBar::cProgressBar(cSceneNode* parent) : cPicture(parent), m_fill(new cPicture(this)) {}

cProgressBar::~cProgressBar() {
    delete m_fill;
    m_fill = nullptr;
}

void cProgressBar::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    const cStringW fillSection = section + L"_PROGRESS";
    m_fill->loadFromIni(ini, fillSection);
    readVector(ini, fillSection.c_str(), L"size", &m_full_size);
    setFraction(0.0f);
}

void cProgressBar::setFraction(float fraction) {
    if (!(fraction > 0.0f)) {
        m_fill->hide();
        return;
    }
    if (fraction > 1.0f) fraction = 1.0f;
    m_fill->setLayer0TextureRect(cRect(0.0f, 0.0f, fraction * m_full_size.x, m_full_size.y));
    m_fill->show();
}
