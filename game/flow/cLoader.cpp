#include "game/flow/cLoader.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cPicture.h"

cLoader::cLoader() {
    if (cResourceManager* resources = getResourceManager()) loadFromIni(*resources->getIni(kConfig), L"COMMON");
    m_bar_position = barCorner(m_bar_position, m_bar_size, m_bar_rect);
    m_background = makePicture(m_background_texture, m_background_position, 100.0f, true, true);
    m_bar = makePicture(m_bar_texture, m_bar_position, 110.0f, false, false);
    saveFade();
}

cLoader::~cLoader() {
    hide();
    disable();
    delete m_background;
    delete m_bar;
    m_background = m_bar = nullptr;
    unloadTexture(m_background_texture);
    unloadTexture(m_bar_texture);
    restoreFade();
}

void cLoader::loadFromIni(const cIniFile& ini, const cStringW&) {
    readTexture(ini, L"texture_loading", m_background_texture);
    readTexture(ini, L"texture_progress", m_bar_texture);
    readVector(ini, L"position_loading", m_background_position);
    readVector(ini, L"position_progress", m_bar_position);
    readRect(ini, L"rect_progress", m_bar_rect);
    readVector(ini, L"size_progress", m_bar_size);
}

void cLoader::setProgress(uint32_t step, uint32_t count) {
    showBarProgress(m_bar, m_bar_rect, step, count);
    runFrame();
}
