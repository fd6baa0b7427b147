#include "game/minigame/cMiniGameNoticePanels.h"

#include "engine/core/cIniFile.h"
#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cMiniGame.h"

void setOrDropPicture(cPicture*& picture, const cStringW& value) {
    if (!picture) return;
    picture->setPicture(toNarrowWord(value));
    if (!picture->getPictureName().isEmpty()) return;
    delete picture;
    picture = nullptr;
}

void setOrDropText(cText*& text, const cStringW& value) {
    if (!text) return;
    text->setString(value);
    if (!text->getString().isEmpty()) return;
    delete text;
    text = nullptr;
}

cMiniGameNoticePanel::cMiniGameNoticePanel(cSceneNode* parent, cPanelOwner* owner)
    : cMiniGamePanel(parent, owner), m_title(new cText(this)), m_picture(new cPicture(this)),
      m_description(new cText(this)), m_button(new cButton(this)) {}

cMiniGameNoticePanel::~cMiniGameNoticePanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_title;
    delete m_picture;
    delete m_description;
    delete m_button;
}

void cMiniGameNoticePanel::configure(const char* file, const wchar_t* const* levelKeys) {
    const cIniFile& ini = effectIni(file);
    cMiniGamePanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TEXT_TITLE");
    m_picture->loadFromIni(ini, L"PICTURE");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    m_button->loadFromIni(ini, L"BUTTON");
    if (levelKeys) {
        // The level file the mini game loaded (none without a mini game).
        const cMiniGame* game = getMiniGame();
        const cIniFile* level = game ? game->getLevelIni() : nullptr;
        auto value = [&](const wchar_t* key) { return level ? level->getValue(L"COMMON", key) : cStringW(); };
        m_title->setString(value(levelKeys[0]));
        setOrDropPicture(m_picture, value(levelKeys[1]));
        setOrDropText(m_description, value(levelKeys[2]));
    } else {
        setOrDropPicture(m_picture, m_picture->getPictureName().toWide());
        setOrDropText(m_description, m_description->getString());
    }
    m_button->setClickHandler(&cMiniGameNoticePanel::onButton);
    attach(m_title);
    if (m_picture) attach(m_picture);
    if (m_description) attach(m_description);
    attach(m_button);
    // Shown at the configured points; parked at the hidden ones with the slide-in prepared.
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

void cMiniGameNoticePanel::onEnable() {
    if (cMiniGame* game = getMiniGame()) game->setPaused(true);
    prepareSlideInFromHere();
    cCompositePicture::onEnable();
}

void cMiniGameNoticePanel::onDisable() {
    if (cMiniGame* game = getMiniGame()) game->setPaused(false);
    cCompositePicture::onDisable();
}

bool cMiniGameNoticePanel::onButton(cSceneNode* button) {
    if (auto* panel = dynamic_cast<cMiniGameNoticePanel*>(button ? button->getParent() : nullptr)) panel->close();
    return true;
}

// ---- Start panel

cMiniGameStartPanel::cMiniGameStartPanel(cSceneNode* parent, cPanelOwner* owner) : cMiniGameNoticePanel(parent, owner) {
    static const wchar_t* const kLevelKeys[] = {L"start_title", L"start_picture", L"start_description"};
    configure(minigame_files::kStartPanel, kLevelKeys);
}

cMiniGameStartPanel::~cMiniGameStartPanel() { cSceneNode::disable(); }

void cMiniGameStartPanel::onEnable() {
    bindInput(kEnterPressed, &cMiniGameStartPanel::onEnterKey, this);
    cMiniGameNoticePanel::onEnable();
}

void cMiniGameStartPanel::onDisable() {
    unbindInput(kEnterPressed, &cMiniGameStartPanel::onEnterKey, this);
    cMiniGameNoticePanel::onDisable();
}

void cMiniGameStartPanel::onEnterKey(void* object) {
    auto* panel = static_cast<cMiniGameStartPanel*>(object);
    if (!isAltHeld() && panel->isActive()) onButton(panel->m_button);
}

// ---- Alert panel

cMiniGameAlertPanel::cMiniGameAlertPanel(cSceneNode* parent, cPanelOwner* owner) : cMiniGameNoticePanel(parent, owner) {
    configure(minigame_files::kAlertPanel, nullptr);
}

void cMiniGameAlertPanel::onDisable() {
    // Closing the alert costs time, and the sounds the state paused for it go on.
    if (cMiniGame* game = getMiniGame()) {
        game->setPaused(false);
        game->addPenalty();
    }
    if (cSound* sound = getSound()) sound->resumeAll();
    cCompositePicture::onDisable();
}
