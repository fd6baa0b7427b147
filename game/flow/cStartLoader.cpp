#include "game/flow/cStartLoader.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cPicture.h"

namespace {
unsigned g_lastSlideFrames = 0;
// Frames without any interface time (no timer, or a clock that stands still) after which the
// slide-out gives up instead of hanging the program.
constexpr unsigned kMaxStillFrames = 1000;
}  // namespace

unsigned cStartLoader::lastSlideFrames() { return g_lastSlideFrames; }

cStartLoader::cStartLoader() {
    if (cResourceManager* resources = getResourceManager()) loadFromIni(*resources->getIni(kConfig), L"COMMON");
    m_bar_position = barCorner(m_bar_position, m_bar_size, m_bar_rect);
    m_background = makePicture(m_background_texture, m_background_position, 50.0f, true, true);
    m_logo = makePicture(m_logo_texture, m_logo_position, 75.0f, true, true);
    m_caption = makePicture(m_caption_texture, m_caption_position, 100.0f, true, true);
    m_bar = makePicture(m_bar_texture, m_bar_position, 110.0f, false, false);
    saveFade();
}

cStartLoader::~cStartLoader() {
    slideOut();
    hide();
    disable();
    for (cPicture* p : {m_background, m_logo, m_caption, m_bar}) delete p;
    m_background = m_logo = m_caption = m_bar = nullptr;
    for (const cStringA* t : {&m_background_texture, &m_logo_texture, &m_caption_texture, &m_bar_texture}) unloadTexture(*t);
    restoreFade();
}

void cStartLoader::slideOut() {
    g_lastSlideFrames = 0;
    runFrame();  // the last progress step on the screen
    const float limit = m_caption->getPosition().y + kFallDistance;
    float speed = kFallSpeed;
    unsigned still = 0;
    while (m_caption->getPosition().y < limit) {
        const float dt = getDeltaTime2();
        still = dt > 0.0f ? 0 : still + 1;
        if (still > kMaxStillFrames) break;
        const float d = dt * speed;
        speed += dt * kFallAcceleration;
        m_caption->moveBy(cVector2(0, d));
        m_bar->moveBy(cVector2(0, d));
        runFrame();
        ++g_lastSlideFrames;
    }
}

void cStartLoader::loadFromIni(const cIniFile& ini, const cStringW&) {
    readTexture(ini, L"texture_background", m_background_texture);
    readTexture(ini, L"texture_logo", m_logo_texture);
    readTexture(ini, L"texture_loading", m_caption_texture);
    readTexture(ini, L"texture_progress", m_bar_texture);
    readVector(ini, L"position_background", m_background_position);
    readVector(ini, L"position_logo", m_logo_position);
    readVector(ini, L"position_loading", m_caption_position);
    readVector(ini, L"position_progress", m_bar_position);
    readRect(ini, L"rect_progress", m_bar_rect);
    readVector(ini, L"size_progress", m_bar_size);
}

void cStartLoader::setProgress(uint32_t step, uint32_t count) {
    showBarProgress(m_bar, m_bar_rect, step, count);
    runFrame();
}
