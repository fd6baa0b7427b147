#include "game/minigame/cMiniGameStatusPanel.h"

#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/PanelFiles.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cHintStar.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameOwner.h"
#include "game/minigame/cMiniGamePausePanel.h"

cStringW formatMiniGameClock(float seconds) {
    // Anything beyond 100 hours would not fit the display anyway.
    const int32_t s = seconds > 0.0f ? int32_t(std::trunc(std::min(seconds, 359999.0f))) : 0;
    auto twoDigits = [](int32_t v) { return v < 10 ? cStringW(L"0") + intToString(v) : intToString(v); };
    return twoDigits(s / 60) + L":" + twoDigits(s % 60);
}

cMiniGameStatusPanel* getMiniGameStatusPanel() { return cMiniGameStatusPanel::instance(); }

cMiniGameStatusPanel::cMiniGameStatusPanel(cSceneNode* parent, cMiniGameOwner* owner)
    : cMiniGamePanel(parent, owner), m_game_owner(owner), m_score_text(new cText(this)),
      m_time_text(new cText(this)), m_pause_button(new cButton(this)), m_hint_desc(new cPicture(this)) {
    for (cButton*& button : m_hint_buttons) button = new cButton(this);
    m_freeze_time = false;
    loadConfig(effectIni(minigame_files::kStatusPanel), cStringW());
    m_status_shown_position = getPosition();
    m_pause_shown_position = m_pause_button->getPosition();
    m_status_hidden_position = cVector2(kHiddenX, m_status_shown_position.y);
    m_pause_hidden_position = cVector2(kPauseHiddenX, m_pause_shown_position.y);
    moveStatusTo(m_status_hidden_position);
    m_pause_button->setPosition(m_pause_hidden_position);
}

cMiniGameStatusPanel::~cMiniGameStatusPanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_score_text;
    delete m_time_text;
    delete m_pause_button;
    delete m_hint_desc;
    for (cButton* button : m_hint_buttons) delete button;
    for (cText* line : m_name_lines) delete line;
    m_name_lines.clear();
    clearHintStars();
}

void cMiniGameStatusPanel::loadConfig(const cIniFile& ini, const cStringW&) {
    // 1. The panel and its background; 2. the parts.
    cMiniGamePanel::loadConfig(ini, L"COMMON");
    m_score_text->loadFromIni(ini, L"SCORE_TEXT");
    m_time_text->loadFromIni(ini, L"TIME_TEXT");
    m_hint_desc->loadFromIni(ini, L"HINT_DESC");
    // 3. The hint buttons, each at its point; an absent point repeats the previous one.
    float point[2] = {0.0f, 0.0f};
    for (int i = 0; i < kHintButtons; ++i) {
        m_hint_buttons[size_t(i)]->loadFromIni(ini, L"HINT");
        parseVector2(point, ini.getValue(L"HINT", cStringW(L"position_") + intToString(i + 1)));
        m_hint_buttons[size_t(i)]->setPosition(cVector2(point[0], point[1]));
    }
    // 4. The pause button; 5. the handlers; 6. the attached texts; 7. the texts' first values.
    m_pause_button->loadFromIni(ini, L"PAUSE");
    m_pause_button->setClickHandler(&cMiniGameStatusPanel::onButton);
    for (cButton* button : m_hint_buttons) button->setClickHandler(&cMiniGameStatusPanel::onButton);
    attach(m_score_text);
    attach(m_time_text);
    refreshTexts();
}

void cMiniGameStatusPanel::refreshTexts() {
    if (cGameData* data = getGameData()) m_score_text->setString(intToString(data->getMiniGameScore()));
    if (cMiniGame* game = getMiniGame()) m_time_text->setString(formatMiniGameClock(game->getTime()));
}

void cMiniGameStatusPanel::stepHintDescription(float t) {
    m_hint_desc_timer += t;
    if (m_hint_desc_timer >= 3.0f && m_hint_desc_state == 1.0f) {
        m_hint_desc->show();
        m_hint_desc->enable();
        m_hint_desc_alpha += 2000.0f * t;
        if (m_hint_desc_alpha >= 255.0f) {
            m_hint_desc_alpha = 255.0f;
            m_hint_desc_state = -1.0f;
        }
    } else if (m_hint_desc_timer >= 13.0f && m_hint_desc_state == -1.0f) {
        m_hint_desc_alpha -= 2000.0f * t;
        if (m_hint_desc_alpha <= 0.0f) {
            m_hint_desc_alpha = 0.0f;
            m_hint_desc_state = 0.0f;
            m_hint_desc->hide();
            m_hint_desc->disable();
        }
    }
    m_hint_desc->setAlpha(uint32_t(int32_t(m_hint_desc_alpha)));
}

void cMiniGameStatusPanel::update() {
    // 1.-2. Score and clock.
    refreshTexts();
    // 3. The hint explanation of the first mini game.
    cGameData* data = getGameData();
    if (data && data->getMiniGameNumber() == 1 && m_hint_desc_state != 0.0f) stepHintDescription(getDeltaTime());
    // 4. The own slide; 5. the composite (no base step is ever installed).
    if (m_status_step) (this->*m_status_step)();
    cMiniGamePanel::update();
}

void cMiniGameStatusPanel::moveStatusTo(const cVector2& position) {
    const cVector2 delta = position - getPosition();
    setPosition(position);
    // Moving a sprite carries all its children; only the attached texts are meant to follow.
    for (cSceneNode* child : getChildren()) {
        auto* sprite = dynamic_cast<cSprite*>(child);
        if (!sprite) continue;
        bool attached = false;
        for (size_t i = 0; i < getAttachedCount() && !attached; ++i) attached = getAttached(i) == sprite;
        if (!attached) sprite->moveBy(cVector2() - delta);
    }
}

void cMiniGameStatusPanel::appear(bool sound) {
    m_status_motion.initSlideIn(getPosition(), m_status_shown_position);
    m_pause_motion.initSlideIn(m_pause_button->getPosition(), m_pause_shown_position);
    m_status_step = &cMiniGameStatusPanel::appearStep;
    if (sound) widget_shape::playSound(panel_files::kSoundAppear);
}

void cMiniGameStatusPanel::disappear(bool sound) {
    m_status_motion.initSlideOut(getPosition(), m_status_hidden_position);
    m_pause_motion.initSlideOut(m_pause_button->getPosition(), m_pause_hidden_position);
    m_status_step = &cMiniGameStatusPanel::disappearStep;
    if (sound) widget_shape::playSound(panel_files::kSoundDisappear);
}

bool cMiniGameStatusPanel::slideStep() {
    deactivateAll();
    cSceneNode::show();
    cSceneNode::enable();
    const float d = getDeltaTime2();
    moveStatusTo(m_status_motion.step(d));
    m_pause_button->setPosition(m_pause_motion.step(d));
    if (!m_status_motion.isDone()) return false;
    moveStatusTo(m_status_motion.step(0.0f));
    m_pause_button->setPosition(m_pause_motion.step(0.0f));
    return true;
}

void cMiniGameStatusPanel::appearStep() {
    if (!slideStep()) return;
    setFinished(false);
    m_status_step = nullptr;
    activateAll();
}

void cMiniGameStatusPanel::disappearStep() {
    if (!slideStep()) return;
    setFinished(true);
    cSceneNode::hide();
    cSceneNode::disable();
    m_status_step = nullptr;
    activateAll();
}

void cMiniGameStatusPanel::compactNameLines() {
    for (auto it = m_name_lines.begin(); it != m_name_lines.end(); ++it)
        if (!*it) {
            m_name_lines.erase(it);
            return;
        }
}

bool cMiniGameStatusPanel::showHintButton(int index) {
    if (index == -1) {
        for (cButton* button : m_hint_buttons)
            if (!button->isOwnVisible()) {
                button->show();
                button->enable();
                return true;
            }
        return false;
    }
    if (index < 0 || index >= kHintButtons) return false;
    m_hint_buttons[size_t(index)]->show();
    m_hint_buttons[size_t(index)]->enable();
    return true;
}

cVector2 cMiniGameStatusPanel::getFreeHintSlotPosition() const {
    for (cButton* button : m_hint_buttons)
        if (!button->isOwnVisible()) return button->getPosition();
    return m_hint_buttons[kHintButtons - 1]->getPosition();
}

cVector2 cMiniGameStatusPanel::getScoreTextPosition() const { return m_score_text->getPosition(); }

void cMiniGameStatusPanel::useHint(cButton* button) {
    cMiniGame* game = getMiniGame();
    cHiddenObject* object = game ? game->hint() : nullptr;
    if (!object) return;   // nothing left to find: the hint stays available
    new cHintStar(this, button->getPosition(), object->getPosition());
    button->hide();
    button->disable();
    m_hint_desc_timer = 20.0f;
}

bool cMiniGameStatusPanel::onButton(cSceneNode* node) {
    cMiniGameStatusPanel* panel = getMiniGameStatusPanel();
    auto* button = dynamic_cast<cButton*>(node);
    if (!panel || !button) return true;
    if (button == panel->m_pause_button) {
        if (cMiniGamePausePanel* pause = panel->m_game_owner ? panel->m_game_owner->getMiniGamePausePanel() : nullptr)
            pause->appear(true);
        return true;
    }
    for (cButton* hint : panel->m_hint_buttons)
        if (hint == button && hint->isVisible()) panel->useHint(hint);
    return true;
}
