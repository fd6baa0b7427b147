#include "game/menus/cScreenMain.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/core/cTimer.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cPanelPerformance.h"

cScreenMain::cScreenMain(cSceneNode* parent, bool firstVisit) : cMenuScreen(parent), m_first_visit(firstVisit) {
    // 1. The parts: pictures and text first, then the buttons.
    m_logo = new cPicture(this);
    m_main_picture = new cPicture(this);
    m_main_overlay = new cPicture(this);
    m_welcome = new cText(this);
    m_play = new cButton(this);
    m_highscore = new cButton(this);
    m_options = new cButton(this);
    m_help = new cButton(this);
    m_exit = new cButton(this);
    m_player_setup = new cButton(this);
    m_parts = {m_logo, m_main_picture, m_main_overlay, m_welcome, m_player_setup,
               m_play, m_highscore,    m_options,      m_help,    m_exit};
    // 2. The layout.
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // 3. Home and off positions; 4. every part waits off screen (on the first visit the logo
    //    stands at home).
    for (int i = 0; i < PART_COUNT; ++i) {
        m_home[i] = m_parts[i]->getPosition();
        const bool fromLeft = i >= PART_PLAY;
        m_off[i] = cVector2(fromLeft ? kOffLeftX : kOffRightX, m_home[i].y);
        m_parts[i]->setPosition(m_off[i]);
    }
    if (m_first_visit) m_logo->setPosition(m_home[PART_LOGO]);
    // 5. The greeting and the flight in.
    updateWelcome();
    startFlyIn();
}

cScreenMain::~cScreenMain() {
    cSceneNode::hide();
    disable();
    cancelPerformanceCheck();
}

void cScreenMain::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    stringToFloat(&m_fps_threshold, ini.getValue(section, L"fps"));
    m_logo->loadFromIni(ini, L"PICTURE_LOGO");
    m_main_picture->loadFromIni(ini, L"PICTURE_MAIN");
    m_main_overlay->loadFromIni(ini, L"PICTURE_MAIN_ADD");
    const std::pair<cButton*, const wchar_t*> buttons[] = {
        {m_play, L"BUTTON_PLAY"}, {m_highscore, L"BUTTON_HIGHSCORE"}, {m_options, L"BUTTON_OPTIONS"},
        {m_help, L"BUTTON_HELP"}, {m_exit, L"BUTTON_EXIT"},           {m_player_setup, L"BUTTON_PLAYER_SETUP"}};
    for (const auto& [button, name] : buttons) {
        button->loadFromIni(ini, name);
        button->setClickHandler(onButtonClick);
    }
    m_welcome->loadFromIni(ini, L"TEXT_WELCOME");
    m_welcome_template = m_welcome->getString();
    if (!m_welcome_template.isEmpty()) m_welcome_template += L" ";
}

cButton* cScreenMain::getButton(Result result) const {
    switch (result) {
    case RESULT_PLAY: return m_play;
    case RESULT_HIGHSCORES: return m_highscore;
    case RESULT_OPTIONS: return m_options;
    case RESULT_HELP: return m_help;
    case RESULT_EXIT: return m_exit;
    case RESULT_PLAYER_SETUP: return m_player_setup;
    }
    return nullptr;
}

void cScreenMain::updateWelcome() {
    cGameData* data = getGameData();
    if (data && data->getProfileCount() > 0) m_welcome->setString(m_welcome_template + data->getProfileName());
}

void cScreenMain::startFlyIn() {
    m_elapsed = 0.0f;
    for (int i = 0; i < PART_COUNT; ++i) {
        const bool firstLogo = i == PART_LOGO && m_first_visit;
        m_motions[i].initSlideIn(firstLogo ? cVector2(kFirstLogoX, kFirstLogoY) : m_off[i], m_home[i]);
    }
    m_step = STEP_FLY_IN;
}

void cScreenMain::startFlyOut() {
    for (int i = 0; i < PART_COUNT; ++i) m_motions[i].initSlideOut(m_parts[i]->getPosition(), m_off[i]);
    m_step = STEP_FLY_OUT;
}

void cScreenMain::flyInStep() {
    const float dt = getDeltaTime2();
    deactivate();
    m_elapsed += dt;
    m_logo->setPosition(m_motions[PART_LOGO].step(dt));
    for (int i = PART_LOGO + 1; i < PART_COUNT; ++i)
        if (m_elapsed > kStartTimes[i]) m_parts[i]->setPosition(m_motions[i].step(dt));
    if (m_motions[PART_EXIT].isDone()) {
        for (int i = 0; i < PART_COUNT; ++i) m_parts[i]->setPosition(m_motions[i].getTarget());
        activate();
        m_step = STEP_NONE;
    }
}

void cScreenMain::flyOutStep() {
    const float dt = getDeltaTime2();
    deactivate();
    for (int i = 0; i < PART_COUNT; ++i) m_parts[i]->setPosition(m_motions[i].step(dt));
    if (m_motions[PART_EXIT].isDone()) {
        for (int i = 0; i < PART_COUNT; ++i) m_parts[i]->setPosition(m_motions[i].getTarget());
        m_step = STEP_NONE;
        cSceneNode::hide();
        disable();
        setFinished(true);
    }
}

bool cScreenMain::onButtonClick(cSceneNode* button) {
    auto* screen = static_cast<cScreenMain*>(button->getParent());
    if (screen->m_check_active) screen->cancelPerformanceCheck();
    for (int result = RESULT_PLAY; result <= RESULT_PLAYER_SETUP; ++result)
        if (screen->getButton(static_cast<Result>(result)) == button) screen->setResult(result);
    screen->startFlyOut();
    return true;
}

void cScreenMain::cancelPerformanceCheck() {
    m_check_active = false;
    endPerformanceCheck(false);
}

void cScreenMain::showPerformancePrompt() {
    if (auto* menu = dynamic_cast<cMainMenu*>(getParent()))
        if (cPanelPerformance* prompt = menu->getPerformancePanel()) prompt->show();
}

void cScreenMain::checkPerformance(float dt) {
    if (!m_check_active) return;
    // 1. The first seconds (the flight in among them) are not measured.
    m_check_wait -= dt;
    if (m_check_wait > 0.0f) return;
    const cTimer* timer = getTimer();
    const float fps = timer ? timer->getFps() : 0.0f;
    // 2. The first sample; 3. then a running average.
    if (!m_sampled) {
        m_average_fps = fps;
        m_sampled = true;
        return;
    }
    m_average_fps = (m_average_fps + fps) / 2.0f;
    if (m_average_fps <= m_fps_threshold) {
        showPerformancePrompt();
        cancelPerformanceCheck();
        endPerformanceCheck(true);
    }
}

void cScreenMain::update() {
    // 1. The flight; at rest the screen waits while the prompt or the quit question shows.
    if (m_step == STEP_FLY_IN) {
        flyInStep();
    } else if (m_step == STEP_FLY_OUT) {
        flyOutStep();
    } else {
        auto* menu = dynamic_cast<cMainMenu*>(getParent());
        cPanelPerformance* prompt = menu ? menu->getPerformancePanel() : nullptr;
        cConfirmExitPanel* confirm = getConfirmExitPanel();
        if (prompt && prompt->isVisible())
            deactivate();
        else if (!confirm || !confirm->isVisible())
            activate();
    }
    // 2. The setting, every frame; 3. the check.
    if (cSettingsManager* settings = getSettingsManager())
        settings->getBool(L"Performance", L"perform_performance_test", m_check_active);
    checkPerformance(getDeltaTime2());
    // 4. The parts.
    cSceneNode::update();
}
