#include "game/menus/cScreenPlay.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cCompositePicture.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cPanelGameMode.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenExit.h"

namespace {

int32_t currentLevel() { return getGameData() ? getGameData()->getLevel() : 0; }

bool isConfirmExitShown() { return getConfirmExitPanel() && getConfirmExitPanel()->isVisible(); }

}  // namespace

int cScreenPlay::pageOf(int32_t level, int previous) {
    if (level < 1 || level > kPageCount * cPreviewPanel::kButtonCount) return previous;
    return (level - 1) / cPreviewPanel::kButtonCount;
}

cScreenPlay::cScreenPlay(cSceneNode* parent) : cMenuScreen(parent) {
    m_motion.reset();
    // 1. The page of the current level is the one shown first.
    m_shown_page = pageOf(currentLevel(), 0);
    m_current_page = m_shown_page;
    // 2. The frame with its objects, the game-mode panel and the pages.
    m_frame = new cCompositePicture(this);
    m_title_picture = new cPicture(m_frame);
    m_title_text = new cText(m_frame);
    m_prev = new cButton(m_frame);
    m_next = new cButton(m_frame);
    m_start = new cButton(m_frame);
    m_back = new cButton(m_frame);
    m_game_mode = new cPanelGameMode(this);
    for (int page = 0; page < kPageCount; ++page) m_pages[static_cast<size_t>(page)] = new cPreviewPanel(this, page + 1);
    // 3. The layout.
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // 4. The frame waits above the screen.
    m_home = m_frame->getPosition();
    m_off = cVector2(m_home.x, kOffY);
    m_frame->setPosition(m_off);
    // 5. Nothing listens until the frame and the page have arrived.
    updateArrows();
    deactivate();
    slideIn();
}

cScreenPlay::~cScreenPlay() {
    cSceneNode::hide();
    disable();
    delete m_prev;
    delete m_next;
    delete m_start;
    delete m_back;
    delete m_title_text;
    delete m_title_picture;
    delete m_frame;
    delete m_game_mode;
    for (cPreviewPanel*& page : m_pages) {
        delete page;
        page = nullptr;
    }
}

void cScreenPlay::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_frame->loadFromIni(ini, L"PANEL");
    m_title_picture->loadFromIni(ini, L"TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_prev->loadFromIni(ini, L"BUTTON_PREV");
    m_next->loadFromIni(ini, L"BUTTON_NEXT");
    m_start->loadFromIni(ini, L"BUTTON_START");
    m_back->loadFromIni(ini, L"BUTTON_BACK");
    for (cButton* button : {m_prev, m_next, m_start, m_back}) button->setClickHandler(onButton);
}

cPreviewPanel* cScreenPlay::getPage(int index) const {
    if (index < 0 || index >= kPageCount) return nullptr;
    return m_pages[static_cast<size_t>(index)];
}

void cScreenPlay::slideIn() {
    m_frame->setPosition(m_off);
    m_motion.initSlideIn(m_frame->getPosition(), m_home);
    m_page_called = false;
    m_step = &cScreenPlay::stepSlideIn;
}

void cScreenPlay::stepSlideIn() {
    cPreviewPanel* page = getPage(m_shown_page);
    // 1. Shown and enabled, but deaf while anything moves.
    deactivate();
    cSceneNode::show();
    enable();
    // 2. The frame.
    m_frame->setPosition(m_motion.step(getDeltaTime2()));
    // 3. Arrived, and the page too: the screen listens.
    if (m_motion.isDone()) {
        m_frame->setPosition(m_motion.step(0.0f));
        if (m_page_called && page->isComplete()) {
            setFinished(false);
            m_step = nullptr;
            activate();
        }
    }
    // 4. The page enters while the frame settles (at the latest once it has arrived).
    if (!m_page_called && page->isComplete() && (m_motion.value() > kPageFollowsAt || m_motion.isDone())) {
        page->enterFromLeft();
        m_page_called = true;
    }
}

void cScreenPlay::slideOut() {
    m_motion.initSlideOut(m_frame->getPosition(), m_off);
    m_step = &cScreenPlay::stepSlideOut;
    getPage(m_shown_page)->leaveUp();
}

void cScreenPlay::stepSlideOut() {
    deactivate();
    m_frame->setPosition(m_motion.step(getDeltaTime2()));
    if (m_motion.isDone()) {
        m_frame->setPosition(m_motion.getTarget());
        setFinished(true);
        cSceneNode::hide();
        disable();
        m_step = nullptr;
    }
}

void cScreenPlay::start() {
    setResult(RESULT_START);
    slideOut();
}

void cScreenPlay::back() {
    setResult(RESULT_BACK);
    slideOut();
}

void cScreenPlay::unlockAllLevels() {
    for (cPreviewPanel* page : m_pages) page->unlockAll();
}

void cScreenPlay::updateArrows() {
    m_shown_page > 0 ? m_prev->enable() : m_prev->disable();
    m_shown_page < kPageCount - 1 ? m_next->enable() : m_next->disable();
}

bool cScreenPlay::onButton(cSceneNode* button) {
    // The buttons stand on the frame, the frame on the screen.
    auto* screen = static_cast<cScreenPlay*>(button->getParent()->getParent());
    if (button == screen->m_start) {
        if (getGameData() && getGameData()->getDifficulty() == -1)
            screen->m_game_mode->show();
        else
            screen->start();
    } else if (button == screen->m_back) {
        screen->back();
    } else if (button == screen->m_prev) {
        if (screen->m_shown_page <= 0) return true;
        screen->getPage(screen->m_shown_page)->leaveRight();
        --screen->m_shown_page;
        screen->getPage(screen->m_shown_page)->enterFromLeft();
        screen->updateArrows();
    } else if (button == screen->m_next) {
        if (screen->m_shown_page >= kPageCount - 1) return true;
        screen->getPage(screen->m_shown_page)->leaveLeft();
        ++screen->m_shown_page;
        screen->getPage(screen->m_shown_page)->enterFromRight();
        screen->updateArrows();
    }
    return true;
}

void cScreenPlay::update() {
    // 1. A slide runs; otherwise the frame and the page listen unless a dialog covers them.
    if (m_step) {
        (this->*m_step)();
    } else {
        cPreviewPanel* page = getPage(m_shown_page);
        if (m_game_mode->isVisible()) {
            m_frame->deactivateAll();
            page->deactivate();
        } else if (!isConfirmExitShown()) {
            m_frame->activateAll();
            if (page->isComplete()) page->activate();
        }
    }
    // 2. START listens to the mouse only on the page of the current level.
    m_current_page = pageOf(currentLevel(), m_current_page);
    if (m_current_page != m_shown_page)
        m_start->deactivate();
    else if (m_frame->isActive())
        m_start->activate();
    // 3. The children.
    cSceneNode::update();
}

void cScreenPlay::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenPlay*>(object);
    if (!isAltHeld() && screen->m_frame->isActive()) onButton(screen->m_start);
}

void cScreenPlay::onEscapeKey(void* object) {
    auto* screen = static_cast<cScreenPlay*>(object);
    if (screen->m_frame->isActive()) onButton(screen->m_back);
}

void cScreenPlay::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    bindInput(keyPressedCode(KEY_ESCAPE), onEscapeKey, this);
    cMenuScreen::onEnable();
}

void cScreenPlay::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    unbindInput(keyPressedCode(KEY_ESCAPE), onEscapeKey, this);
    cMenuScreen::onDisable();
}
