#include "game/minigame/cMiniGameContinuePanel.h"

#include "engine/core/cIniFile.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/data/GameConstants.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGameOwner.h"
#include "game/minigame/cMiniGameStatusPanel.h"

cMiniGameContinuePanel::cMiniGameContinuePanel(cSceneNode* parent, cMiniGameOwner* owner)
    : cMiniGamePanel(parent, owner), m_game_owner(owner), m_title(new cText(this)), m_picture(new cPicture(this)),
      m_level_picture(new cPicture(this)), m_level_description(new cText(this)), m_cash_text(new cText(this)),
      m_cash_caption(new cText(this)), m_score_text(new cText(this)), m_score_caption(new cText(this)),
      m_total_text(new cText(this)), m_total_caption(new cText(this)), m_button_continue(new cButton(this)) {
    loadConfig(effectIni(minigame_files::kContinuePanel), cStringW());
    // The points only: the motions are prepared and the panel parked when it is enabled.
    setSlidePoints();
}

cMiniGameContinuePanel::~cMiniGameContinuePanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    for (cSceneNode* part : std::initializer_list<cSceneNode*>{m_title, m_picture, m_level_picture, m_level_description,
                                                                m_cash_text, m_cash_caption, m_score_text, m_score_caption,
                                                                m_total_text, m_total_caption, m_button_continue})
        delete part;
}

void cMiniGameContinuePanel::loadConfig(const cIniFile& ini, const cStringW&) {
    cMiniGamePanel::loadConfig(ini, L"COMMON");
    m_picture->loadFromIni(ini, L"PICTURE");
    m_level_picture->loadFromIni(ini, L"PICTURE1");
    m_level_description->loadFromIni(ini, L"DESCRIPTION");
    m_cash_text->loadFromIni(ini, L"TEXT_CASH");
    m_cash_caption->loadFromIni(ini, L"TEXT_CASH_DESCRIPTION");
    m_score_text->loadFromIni(ini, L"TEXT_SCORE");
    m_score_caption->loadFromIni(ini, L"TEXT_SCORE_DESCRIPTION");
    m_total_text->loadFromIni(ini, L"TEXT_TOTAL");
    m_total_caption->loadFromIni(ini, L"TEXT_TOTAL_DESCRIPTION");
    m_button_continue->loadFromIni(ini, L"BUTTON_CONTINUE");
    m_button_continue->setClickHandler(&cMiniGameContinuePanel::onButton);
    for (cSprite* part : std::initializer_list<cSprite*>{m_picture, m_cash_text, m_cash_caption, m_score_text,
                                                          m_score_caption, m_total_text, m_total_caption,
                                                          m_button_continue})
        attach(part);
}

void cMiniGameContinuePanel::fill() {
    // Everything was found when no name line is left.
    cMiniGameStatusPanel* status = getMiniGameStatusPanel();
    const bool allFound = !status || status->getNameLines().empty();
    const cIniFile& ini = effectIni(minigame_files::kContinuePanel);
    m_title->loadFromIni(ini, allFound ? L"TEXT_TITLE_2" : L"TEXT_TITLE");
    // The level file the mini game loaded.
    const cMiniGame* miniGame = getMiniGame();
    const cIniFile* level = miniGame ? miniGame->getLevelIni() : nullptr;
    auto value = [&](const wchar_t* key) { return level ? level->getValue(L"COMMON", key) : cStringW(); };
    setOrDropPicture(m_level_picture, value(allFound ? L"continue_picture2" : L"continue_picture"));
    setOrDropText(m_level_description, value(allFound ? L"continue_description2" : L"continue_description"));
    // The money of the world's levels before this one, the mini-game score, the total.
    if (cGameData* data = getGameData()) {
        const int32_t first = (data->getWorld() - 1) * game::kLevelsPerWorld + 1;
        m_cash_text->setString(replaceAll(m_cash_text->getString(), L"#CASH#", intToString(data->getCash(first, data->getLevel() - 1))));
        m_score_text->setString(replaceAll(m_score_text->getString(), L"#SCORE#", intToString(data->getMiniGameScore())));
        m_total_text->setString(
            replaceAll(m_total_text->getString(), L"#TOTAL#", intToString(data->getTotalScore(game::kLevelCount))));
    }
    attach(m_title);
    if (m_level_picture) attach(m_level_picture);
    if (m_level_description) attach(m_level_description);
}

void cMiniGameContinuePanel::onEnable() {
    if (cMiniGame* miniGame = getMiniGame()) miniGame->setPaused(true);
    fill();
    prepareSlideInFromHidden();
    parkHidden();
    bindInput(kEnterPressed, &cMiniGameContinuePanel::onEnterKey, this);
    cCompositePicture::onEnable();
}

void cMiniGameContinuePanel::onDisable() {
    if (cMiniGame* miniGame = getMiniGame()) miniGame->setPaused(false);
    unbindInput(kEnterPressed, &cMiniGameContinuePanel::onEnterKey, this);
    cCompositePicture::onDisable();
}

bool cMiniGameContinuePanel::onButton(cSceneNode* button) {
    if (auto* panel = dynamic_cast<cMiniGameContinuePanel*>(button ? button->getParent() : nullptr)) panel->press();
    return true;
}

void cMiniGameContinuePanel::onEnterKey(void* object) {
    auto* panel = static_cast<cMiniGameContinuePanel*>(object);
    if (!isAltHeld() && panel->isActive()) panel->press();
}

void cMiniGameContinuePanel::press() {
    prepareSlideOut();
    if (m_game_owner) m_game_owner->continueGame();
    disappear(true);
}
