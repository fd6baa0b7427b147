#include "game/menus/cLogo.h"

#include <array>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cInput.h"
#include "game/menus/cLogoPicture.h"

namespace {

// The releases that cut a page short: both mouse buttons, Escape, Space, Enter, keypad Enter.
constexpr std::array<InputCode, 6> kSkipInputs = {
    INPUT_LEFT_RELEASED,           INPUT_RIGHT_RELEASED,         keyReleasedCode(KEY_ESCAPE),
    keyReleasedCode(KEY_SPACE),    keyReleasedCode(KEY_ENTER),   keyReleasedCode(KEY_KEYPAD_ENTER)};

}  // namespace

cLogo::cLogo(cSceneNode* parent) : cSceneNode(parent) {
    m_show_logo = true;
    if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Graphics", L"show_logo", m_show_logo);
    loadFromIni(*getResourceManager()->getIni(kConfig), cStringW());
    for (InputCode code : kSkipInputs) bindInput(code, onSkipInput, this);
}

cLogo::~cLogo() {
    for (InputCode code : kSkipInputs) unbindInput(code, onSkipInput, this);
    hide();
    disable();
    for (cLogoPicture* picture : m_pictures) delete picture;
}

void cLogo::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSceneNode::loadFromIni(ini, section);
    stringToFloat(&m_appear, ini.getValue(L"COMMON", L"LogoSpeedAppear"));
    stringToFloat(&m_disappear, ini.getValue(L"COMMON", L"LogoSpeedDisappear"));
    for (int n = 1;; ++n) {
        const cStringW name = cStringW(L"Logo_") + intToString(n);
        const cStringA path = ini.getValue(name, L"path").toNarrow();
        if (path.isEmpty()) break;
        auto* picture = new cLogoPicture(this);
        m_pictures.push_back(picture);
        picture->loadFromIni(ini, L"COMMON");
        picture->setPicture(path);
        picture->cSceneNode::hide();
        float hold = 0.0f, x = 0.0f, y = 0.0f;
        uint32_t page = 0;
        stringToFloat(&hold, ini.getValue(name, L"sleep_sec"));
        stringToFloat(&x, ini.getValue(name, L"position_X"));
        stringToFloat(&y, ini.getValue(name, L"position_Y"));
        stringToUnsigned(&page, ini.getValue(name, L"screen"));
        picture->setTimes(m_appear, hold, m_disappear, kSkipDisappear);
        picture->setPosition(cVector2(x, y));
        picture->setPage(page);
        if (page > m_last_page) m_last_page = page;
    }
}

void cLogo::startPage(uint32_t page) {
    for (cLogoPicture* picture : m_pictures)
        if (picture->getPage() == page) picture->start();
}

void cLogo::onSkipInput(void* object) {
    auto* logo = static_cast<cLogo*>(object);
    if (logo->m_current_page == 1) return;
    for (cLogoPicture* picture : logo->m_pictures)
        if (picture->getPage() == logo->m_current_page) picture->skip();
}

bool cLogo::isPageDone(uint32_t page) const {
    for (const cLogoPicture* picture : m_pictures)
        if (picture->getPage() == page && !picture->isDone()) return false;
    return true;
}

bool cLogo::hasPictures(uint32_t page) const {
    for (const cLogoPicture* picture : m_pictures)
        if (picture->getPage() == page) return true;
    return false;
}

uint32_t cLogo::nextPageWithPictures(uint32_t page) const {
    uint32_t next = m_last_page;
    for (const cLogoPicture* picture : m_pictures)
        if (picture->getPage() > page && picture->getPage() < next) next = picture->getPage();
    return next;
}

void cLogo::update() {
    // 1. Without the logo the state ends at once.
    if (!m_show_logo) {
        setFinished(true);
        return;
    }
    // 2. The pictures.
    cSceneNode::update();
    // 3. A page whose pictures are all done gives way to the next; after the last, finished.
    if (isFinished() || !isPageDone(m_current_page)) return;
    if (m_current_page >= m_last_page) {
        setFinished(true);
        return;
    }
    m_current_page = hasPictures(m_current_page) ? m_current_page + 1 : nextPageWithPictures(m_current_page);
    startPage(m_current_page);
}
