#include "game/menus/cPerformanceTest.h"

#include <algorithm>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/scene/cPicture.h"
#include "game/menus/cPanelPerformance.h"

namespace {

float timeNow() { return getTimer() ? getTimer()->getTime() : 0.0f; }

}  // namespace

cPerformanceTest::cPerformanceTest(cSceneNode* parent) : cMenuScreen(parent) {
    m_logo = new cPicture(this);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // The configured point is the bar's centre; the picture is anchored at its top-left corner.
    m_position_progress = m_position_progress - m_size_progress * 0.5f +
                          cVector2(m_rect_progress.left, m_rect_progress.top);
    m_testing = new cPicture(this);
    m_testing->setPicture(m_texture_testing);
    m_testing->setPosition(m_position_testing);
    m_testing->setDeep(100.0f);
    m_testing->show();
    m_progress = new cPicture(this);
    m_progress->setPicture(m_texture_progress);
    m_progress->setTransformFlags(TF_CENTERED, false);
    m_progress->setPosition(m_position_progress);
    m_progress->setDeep(110.0f);
    m_progress->show();
    m_start_time = m_current_time = timeNow();
    updateProgress();
    show();
    enable();
}

cPerformanceTest::~cPerformanceTest() {
    cSceneNode::hide();
    disable();
}

void cPerformanceTest::loadFromIni(const cIniFile& ini, const cStringW&) {
    cMenuScreen::loadFromIni(ini, L"COMMON");
    m_logo->loadFromIni(ini, L"PICTURE_LOGO");
    toNarrowWord(&m_texture_testing, ini.getValue(L"PROGRESS_BAR", L"texture_testing"));
    toNarrowWord(&m_texture_progress, ini.getValue(L"PROGRESS_BAR", L"texture_progress"));
    float v[2] = {m_position_testing.x, m_position_testing.y};
    parseVector2(v, ini.getValue(L"PROGRESS_BAR", L"position_testing"));
    m_position_testing = cVector2(v[0], v[1]);
    v[0] = m_position_progress.x;
    v[1] = m_position_progress.y;
    parseVector2(v, ini.getValue(L"PROGRESS_BAR", L"position_progress"));
    m_position_progress = cVector2(v[0], v[1]);
    float r[4] = {m_rect_progress.left, m_rect_progress.top, m_rect_progress.right, m_rect_progress.bottom};
    parseRect(r, ini.getValue(L"PROGRESS_BAR", L"rect_progress"));
    m_rect_progress = cRect(r[0], r[1], r[2], r[3]);
    v[0] = m_size_progress.x;
    v[1] = m_size_progress.y;
    parseVector2(v, ini.getValue(L"PROGRESS_BAR", L"size_progress"));
    m_size_progress = cVector2(v[0], v[1]);
}

void cPerformanceTest::updateProgress() {
    const float fraction = std::min((m_current_time - m_start_time) / kDuration, 1.0f);
    cRect shown = m_rect_progress;
    shown.right = shown.left + (m_rect_progress.right - m_rect_progress.left) * fraction;
    m_progress->setLayer0TextureRect(shown);
    // A texture rectangle without width would show the whole image: an empty bar is hidden.
    if (shown.right > shown.left)
        m_progress->show();
    else
        m_progress->hide();
}

void cPerformanceTest::update() {
    cSceneNode::update();
    m_current_time = timeNow();
    updateProgress();
    if (m_current_time - m_start_time >= kDuration && !isFinished()) {
        endPerformanceCheck(false);
        cSceneNode::hide();
        disable();
        setResult(0);
        setFinished(true);
    }
}
