#include "game/interface/cPanelContinue.h"

#include <limits>

#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/data/GameConstants.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxSparkle.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelConfirm.h"

namespace {

// What each outcome shows: the world file's picture key, its title section in the panel's
// file, the world file's title and description keys, and its sound.
struct OutcomeLook {
    const wchar_t* pictureKey;
    const wchar_t* titleSection;
    const wchar_t* titleKey;
    const wchar_t* descriptionKey;
    const char* sound;
    bool expert;
};

const OutcomeLook kLooks[] = {
    {L"continue_good_pic", L"TEXT_TITLE_GOOD1", L"continue_good_title1", L"continue_good_desc1",
     panel_files::kSoundGreat, true},
    {L"continue_good_pic", L"TEXT_TITLE_GOOD2", L"continue_good_title2", L"continue_good_desc2",
     panel_files::kSoundGreat, true},
    {L"continue_normal_pic", L"TEXT_TITLE_NORMAL1", L"continue_normal_title1", L"continue_normal_desc1",
     panel_files::kSoundGood, false},
    {L"continue_normal_pic", L"TEXT_TITLE_NORMAL2", L"continue_normal_title2", L"continue_normal_desc2",
     panel_files::kSoundGood, false},
    {L"continue_bad_pic", L"TEXT_TITLE_TA_LOSE", L"continue_TA_lose_title", L"continue_TA_lose",
     panel_files::kSoundBad, false},
    {L"continue_bad_pic", L"TEXT_TITLE_GOAL_BUT_LOSE", L"continue_goal_but_lose_title", L"continue_goal_but_lose",
     panel_files::kSoundBad, false},
    {L"continue_bad_pic", L"TEXT_TITLE_BAD1", L"continue_bad_title1", L"continue_bad_desc1",
     panel_files::kSoundBad, false},
    {L"continue_bad_pic", L"TEXT_TITLE_BAD2", L"continue_bad_title2", L"continue_bad_desc2",
     panel_files::kSoundBad, false},
};

void replaceIn(cText* text, const wchar_t* pattern, int64_t value) {
    if (text) text->setString(replaceAll(text->getString(), pattern, cStringW(std::to_wstring(value))));
}

}  // namespace

cStringW fillSpaces(cText* value, cText* label) {
    float valueWidth = value->getWidth();
    uint32_t width = valueWidth > 0.0f ? static_cast<uint32_t>(valueWidth) : 0u;
    cStringW text = label->getString();
    label->setString(L" ");
    float blankWidth = label->getWidth();
    uint32_t blank = blankWidth > 0.0f ? static_cast<uint32_t>(blankWidth) : 0u;
    uint32_t count = 0;
    if (blank == 0)
        logGameQuietly("fillSpaces: the label's font has no blank of positive width; one blank is used");
    else
        count = width / blank + (width % blank ? 1u : 0u);
    cStringW filled = replaceAll(text, L"#SPACES#", cStringW(std::wstring(count + 1, L' ')));
    label->setString(filled);
    return filled;
}

uint32_t cPanelContinue::percentOf(uint32_t part, uint32_t whole) {
    if (whole == 0) return 100;
    uint64_t pct = uint64_t(part) * 100u / whole;
    return pct > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : uint32_t(pct);
}

cPanelContinue::Outcome cPanelContinue::judge(uint32_t score, uint32_t goal, uint32_t expertGoal,
                                              uint32_t countedBestScore, bool goalReachedDuringPlay) {
    if (score >= expertGoal) return percentOf(score, expertGoal) < 110 ? GOOD1 : GOOD2;
    if (score >= goal) return percentOf(score, expertGoal) < 50 ? NORMAL1 : NORMAL2;
    if (countedBestScore != 0) return TA_LOSE;
    if (goalReachedDuringPlay) return GOAL_BUT_LOSE;
    return percentOf(score, goal) < 50 ? BAD1 : BAD2;
}

cPanelContinue::cPanelContinue(cSceneNode* parent, cLevelPanelOwner* owner)
    : cPanel(parent, owner), m_game(owner), m_title(new cText(this)), m_score_panel(new cPicture(this)),
      m_picture(new cPicture(this)), m_description(new cText(this)), m_text_cash(new cText(this)),
      m_text_cash_description(new cText(this)), m_text_score(new cText(this)),
      m_text_score_description(new cText(this)), m_text_goal(new cText(this)),
      m_text_goal_description(new cText(this)), m_text_total(new cText(this)),
      m_text_total_description(new cText(this)), m_button_continue(new cButton(this)),
      m_button_restart(new cButton(this)), m_button_menu(new cButton(this)), m_expert_picture(new cPicture(this)) {
    loadConfig(effectIni(panel_files::kContinue), cStringW());
    // The motions are prepared when the panel appears: it always slides in from above.
    setSlidePoints();
}

cPanelContinue::~cPanelContinue() {
    cSceneNode::hide();
    cSceneNode::disable();
    deletePart(m_title);
    deletePart(m_score_panel);
    deletePart(m_picture);
    deletePart(m_description);
    deletePart(m_text_cash);
    deletePart(m_text_cash_description);
    deletePart(m_text_score);
    deletePart(m_text_score_description);
    deletePart(m_text_goal);
    deletePart(m_text_goal_description);
    deletePart(m_text_total);
    deletePart(m_text_total_description);
    deletePart(m_button_continue);
    deletePart(m_button_restart);
    deletePart(m_button_menu);
    deletePart(m_expert_picture);
    clearSparkles();
}

void cPanelContinue::loadConfig(const cIniFile&, const cStringW&) {
    const cIniFile& ini = effectIni(panel_files::kContinue);
    cPanel::loadConfig(ini, L"COMMON");
    m_score_panel->loadFromIni(ini, L"PANEL_SCORE");
    m_picture->loadFromIni(ini, L"PICTURE");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    m_text_cash->loadFromIni(ini, L"TEXT_CASH");
    m_text_cash_description->loadFromIni(ini, L"TEXT_CASH_DESCRIPTION");
    m_text_score->loadFromIni(ini, L"TEXT_SCORE");
    m_text_score_description->loadFromIni(ini, L"TEXT_SCORE_DESCRIPTION");
    m_text_goal->loadFromIni(ini, L"TEXT_GOAL");
    m_text_goal_description->loadFromIni(ini, L"TEXT_GOAL_DESCRIPTION");
    m_text_total->loadFromIni(ini, L"TEXT_TOTAL");
    m_text_total_description->loadFromIni(ini, L"TEXT_TOTAL_DESCRIPTION");
    m_expert_picture->loadFromIni(ini, L"EXPERT_PIC");
    attach(m_score_panel);
    attach(m_text_cash);
    attach(m_text_cash_description);
    attach(m_text_score);
    attach(m_text_score_description);
    attach(m_expert_picture);
}

void cPanelContinue::onEnable() {
    if (!m_judged) {
        m_judged = true;
        judgeRun();
    }
    prepareSlideInFromHidden();
    parkHidden();
    bindInput(kEnterPressed, &cPanelContinue::onEnterKey, this);
    cCompositePicture::onEnable();
}

void cPanelContinue::onDisable() {
    unbindInput(kEnterPressed, &cPanelContinue::onEnterKey, this);
    cCompositePicture::onDisable();
}

void cPanelContinue::judgeRun() {
    const cIniFile& panelIni = effectIni(panel_files::kContinue);
    // 1. The world file of the level's graphics set.
    const cIniFile& world = effectIni(panel_files::worldFile(m_game->getGraphicsSet(), m_game->getDifficulty()));
    const uint32_t score = m_game->getScore();
    const uint32_t goal = m_game->getGoal();
    const uint32_t counted = m_game->getCountedBestScore();

    // 2. The outcome with its picture, expert picture, title, description and sound.
    m_outcome = judge(score, goal, m_game->getExpertGoal(), counted, m_game->wasGoalReached());
    const OutcomeLook& look = kLooks[m_outcome];
    m_picture->setPicture(toNarrowWord(world.getValue(L"COMMON", look.pictureKey)));
    if (look.expert)
        m_expert_picture->show();
    else
        m_expert_picture->hide();
    m_title->loadFromIni(panelIni, look.titleSection);
    m_title->setString(world.getValue(L"COMMON", look.titleKey));
    m_description->setString(world.getValue(L"COMMON", look.descriptionKey));
    widget_shape::playSound(look.sound);

    // 3. Empty parts go for good.
    if (m_picture->getPictureName().isEmpty()) deletePart(m_picture);
    if (m_description->getString().isEmpty()) deletePart(m_description);

    // 4-7. The values: this run's score stands in for the counted best score in the cash.
    const int32_t level = m_game->getLevel();
    int64_t cash = int64_t(m_game->getCash(game::firstLevelOfWorld(m_game->getWorld()), level)) - counted + score;
    replaceIn(m_text_cash, L"#CASH#", cash);
    replaceIn(m_text_score, L"#SCORE#", score);
    replaceIn(m_text_goal, L"#SCORE#", goal);
    const uint32_t best = m_game->getBestScore();
    int64_t total = m_game->getTotalScore(game::kLevelCount);
    if (best < score) total = total - best + score;
    replaceIn(m_text_total, L"#TOTAL#", total);

    // 8. Room for the values in their captions.
    fillSpaces(m_text_score, m_text_score_description);
    fillSpaces(m_text_goal, m_text_goal_description);

    // 9. The buttons of the case, and the texts it does without.
    const bool replayed = level < m_game->getReachedLevel() && level != m_game->getMarkedLevel();
    const wchar_t* first = L"BUTTON_CONTINUE_GOAL";
    const wchar_t* second = L"BUTTON_RESTART_GOAL";
    const wchar_t* third = L"BUTTON_MENU_GOAL";
    bool dropTotal = false;
    if (!replayed && m_outcome == GOOD2) {
        first = L"BUTTON_CONTINUE";
        second = nullptr;
        third = L"BUTTON_MENU";
    } else if (!replayed && score < goal && counted == 0) {
        first = L"BUTTON_TRY_AGAIN";
        second = nullptr;
        third = L"BUTTON_MENU";
        dropTotal = true;
    }
    m_button_continue->loadFromIni(panelIni, first);
    m_button_continue->setClickHandler(&cPanelContinue::onButtonClick);
    if (second) {
        m_button_restart->loadFromIni(panelIni, second);
        m_button_restart->setClickHandler(&cPanelContinue::onButtonClick);
    } else {
        deletePart(m_button_restart);
    }
    m_button_menu->loadFromIni(panelIni, third);
    m_button_menu->setClickHandler(&cPanelContinue::onButtonClick);
    if (dropTotal) {
        deletePart(m_text_total);
        deletePart(m_text_total_description);
    } else {
        deletePart(m_text_goal);
        deletePart(m_text_goal_description);
    }

    // 10. Attach what is left, in drawing order.
    attach(m_title);
    for (cSprite* part : std::initializer_list<cSprite*>{m_picture, m_description, m_button_restart, m_button_menu,
                                                         m_text_total, m_text_total_description, m_text_goal,
                                                         m_text_goal_description, m_button_continue})
        if (part) attach(part);
}

void cPanelContinue::update() {
    // 1. Sparkles around the expert picture, on interface time.
    if (m_expert_picture && m_expert_picture->isVisible()) {
        m_sparkle_countdown -= getDeltaTime2();
        if (m_sparkle_countdown <= 0.0f) {
            m_sparkle_countdown = m_sparkle_interval;
            if (isFullEffectsOn())
                new cFxSparkle(this, m_expert_picture, 500.0f, 75.0f, -0.1f, 0xFFFFFFFFu, cStringA());
        }
    }
    // 2. Inactive under a confirm panel; active again unless the confirm-exit panel is up.
    if (isConfirmPanelVisible(m_game))
        deactivateAll();
    else if (!m_game->isConfirmExitPanelVisible())
        activateAll();
    // 3. The slide step and the composite.
    cPanel::update();
}

void cPanelContinue::onEnterKey(void* object) {
    auto* panel = static_cast<cPanelContinue*>(object);
    if (!isAltHeld() && panel->isActive()) panel->click(panel->m_button_continue);
}

bool cPanelContinue::onButtonClick(cSceneNode* button) {
    auto* panel = dynamic_cast<cPanelContinue*>(button ? button->getParent() : nullptr);
    if (panel) panel->click(dynamic_cast<cButton*>(button));
    return true;
}

void cPanelContinue::click(cButton* button) {
    if (!button) return;
    if (button == m_button_continue) {
        // A level passed before may be left even after a failed replay.
        if (m_game->getScore() >= m_game->getGoal() || m_game->getCountedBestScore() != 0)
            m_game->continueAfterWin(true);
        else
            m_game->restartLevel(2);
        hide();
    } else if (button == m_button_restart) {
        if (cPanelConfirmTry* retry = m_game->getConfirmPanel()) retry->show(true);
    } else if (button == m_button_menu) {
        if (cPanelConfirmMenu* menu = m_game->getConfirmMenuPanel()) menu->show(true);
    }
}

void cPanelContinue::hide() {
    prepareSlideOut();
    cPanel::hide(true);
}
