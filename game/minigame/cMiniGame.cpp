#include "game/minigame/cMiniGame.h"

#include <algorithm>
#include <cmath>

#include "engine/app/cLogic.h"
#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxSparkle.h"
#include "game/flow/cCursor.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cExcellentPopup.h"
#include "game/minigame/cFlyScoreText.h"
#include "game/minigame/cFlyingObject.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGameOwner.h"
#include "game/minigame/cMiniGameStatusPanel.h"

namespace {

constexpr InputCode kLeftButtonPressed = 520;

void playSample(const char* name) {
    if (cSound* sound = getSound()) sound->playSample(name, -1);
}

// A number of the level's COMMON section; an absent, unreadable or infinite value keeps the
// field, so no clock or counter of the game can become "not a number".
void readFinite(const cIniFile& ini, const wchar_t* key, float* target) {
    float v = *target;
    stringToFloat(&v, ini.getValue(L"COMMON", key));
    if (std::isfinite(v)) *target = v;
}

}  // namespace

cMiniGame* getMiniGame() { return cMiniGame::instance(); }

cMiniGame::cMiniGame(cSceneNode* parent) : cSceneNode(parent) {}

cMiniGame::cMiniGame(cSceneNode* parent, cMiniGameOwner* owner, const cStringA& levelPath)
    : cSceneNode(parent), m_owner(owner) {
    if (cGameData* data = getGameData()) data->setMiniGameScore(0);
    m_blur = new cPicture(this);
    m_level_file = chooseLevelFile(levelPath);
    m_level_ini = &effectIni(m_level_file.c_str());
    load(*m_level_ini, cStringW());
    m_blur->setAlpha(255);
    show();
    enable();
}

cMiniGame::~cMiniGame() {
    hide();
    disable();
    for (cHiddenObject* object : m_decor) delete object;
    for (cHiddenObject* object : m_to_find) delete object;
    m_decor.clear();
    m_to_find.clear();
    m_hint_objects.clear();   // children: they go with the node
    delete m_blur;
    m_blur = nullptr;
    clearExcellentPopups();
    clearFlyingObjects();
    clearFlyScoreTexts();
    clearSparkles();
}

cStringA cMiniGame::chooseLevelFile(const cStringA& levelPath) {
    if (!levelPath.isEmpty()) return levelPath;
    cGameData* data = getGameData();
    const int32_t number = data ? data->getMiniGameNumber() : 1;
    // The variant after the one of the last visit (the level before the current one).
    int32_t variant = data ? data->getMiniGameVariant(-1) + 1 : 1;
    if (variant < 1 || variant > minigame_files::kVariantCount) variant = 1;
    if (data) data->setMiniGameVariant(variant, -1);
    return minigame_files::levelFile(number, variant);
}

void cMiniGame::load(const cIniFile& ini, const cStringW&) {
    // 1. The node and the blur.
    cSceneNode::loadFromIni(ini, L"COMMON");
    m_blur->loadFromIni(ini, L"BACK_BLUR");
    // 2. The rules.
    readFinite(ini, L"time", &m_time);
    stringToUnsigned(&m_bonus, ini.getValue(L"COMMON", L"bonus"));
    stringToUnsigned(&m_object_cost, ini.getValue(L"COMMON", L"object_cost"));
    readFinite(ini, L"click_delay", &m_click_delay);
    stringToUnsigned(&m_count_lines, ini.getValue(L"COMMON", L"count_lines"));
    float namePosition[2] = {0.0f, m_name_position_y};
    parseVector2(namePosition, ini.getValue(L"NAME_TEXT", L"position"));
    if (std::isfinite(namePosition[1])) m_name_position_y = namePosition[1];
    readFinite(ini, L"time_penalty", &m_time_penalty);
    stringToInt(&m_clicks_for_penalty, ini.getValue(L"COMMON", L"count_clicks_for_penalty"));
    readFinite(ini, L"click_delay_for_reset", &m_miss_reset_delay);
    stringToInt(&m_count_hints, ini.getValue(L"COMMON", L"count_hints"));
    // 3. The hint buttons available at the start; the status panel has four.
    if (m_count_hints > cMiniGameStatusPanel::kHintButtons) {
        logGameQuietly(m_level_file + ": count_hints " + intToNarrowString(m_count_hints) + " is more than the " +
                       intToNarrowString(cMiniGameStatusPanel::kHintButtons) + " hint buttons; " +
                       intToNarrowString(cMiniGameStatusPanel::kHintButtons) + " are shown.");
        m_count_hints = cMiniGameStatusPanel::kHintButtons;
    }
    cMiniGameStatusPanel* status = getMiniGameStatusPanel();
    if (status)
        for (int32_t i = 0; i < m_count_hints; ++i) status->showHintButton(i);
    // 4. The objects, up to the first missing number.
    for (int n = 1;; ++n) {
        const cStringW section = cStringW(L"OBJECT_") + intToString(n);
        if (!ini.hasSection(section)) break;
        auto* object = new cHiddenObject(this);
        object->loadFromIni(ini, section);
        bool active = false, isHint = false;
        stringToBool(&active, ini.getValue(section, L"active"));
        stringToBool(&isHint, ini.getValue(section, L"hint"));
        if (isHint) {
            object->activate();
            m_hint_objects.push_back(object);
        } else if (active) {
            object->activate();
            m_to_find.push_back(object);
        } else {
            object->deactivate();
            m_decor.push_back(object);
        }
    }
    // 5. Top-most first.
    std::sort(m_to_find.begin(), m_to_find.end(), compareDepth);
    std::sort(m_hint_objects.begin(), m_hint_objects.end(), compareDepth);
    std::sort(m_decor.begin(), m_decor.end(), compareDepth);
    // 6. One name line per object to find, one slot below the other.
    if (!status) return;
    std::vector<cText*>& lines = status->getNameLines();
    for (cText* line : lines) delete line;
    lines.assign(m_to_find.size(), nullptr);
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i] = new cText(status);
        lines[i]->loadFromIni(ini, L"NAME_TEXT");
        lines[i]->moveBy(cVector2(0.0f, float(i) * float(lines[i]->getLineSpacing())));
        lines[i]->setString(m_to_find[i]->getName());
    }
}

bool cMiniGame::compareDepth(const cHiddenObject* a, const cHiddenObject* b) {
    // An unreadable depth sorts last, so the order stays a strict one.
    auto key = [](const cHiddenObject* o) { return std::isnan(o->getDeep()) ? -INFINITY : o->getDeep(); };
    if (key(a) != key(b)) return key(a) > key(b);
    return a->getSerial() > b->getSerial();
}

void cMiniGame::onEnable() {
    bindInput(kLeftButtonPressed, &cMiniGame::onClickCallback, this);
    cSceneNode::onEnable();
}

void cMiniGame::onDisable() {
    unbindInput(kLeftButtonPressed, &cMiniGame::onClickCallback, this);
    cSceneNode::onDisable();
}

void cMiniGame::update() {
    // 1. The blur follows the pause, also while the logic is paused.
    const float d = getDeltaTime2();
    m_blur_alpha = m_paused ? std::min(m_blur_alpha + 800.0f * d, 255.0f) : std::max(m_blur_alpha - 800.0f * d, 0.0f);
    if (m_blur) m_blur->setAlpha(uint32_t(int32_t(m_blur_alpha)));
    // 2. Nothing else while the logic is paused, not even the children, but for the sparkles
    //    of the flying objects: they fade on interface time and finish behind a pause panel.
    if (isLogicPaused()) {
        for (size_t i = 0; i < getChildCount(); ++i)
            if (auto* sparkle = dynamic_cast<cFxSparkle*>(getChildren()[i])) sparkle->update();
        return;
    }
    const float t = getDeltaTime();
    // 3. The miss count drops by one every click_delay_for_reset.
    m_miss_timer += t;
    if (m_miss_timer >= m_miss_reset_delay) {
        m_miss_timer = 0.0f;
        m_misses = std::max(m_misses - 1, 0);
    }
    // 4. A time penalty drains over three seconds, with its sound once.
    if (m_penalty_left > 0.0f) {
        if (!m_penalty_sound_played) {
            playSample(minigame_files::kSoundTimePenalty);
            m_penalty_sound_played = true;
        }
        const float rate = m_time_penalty / kPenaltySeconds;
        m_penalty_left -= rate * t;
        m_time -= rate * t;
        if (m_penalty_left <= 0.0f) {
            m_penalty_left = 0.0f;
            m_penalty_sound_played = false;
        }
    }
    // 5. The clock.
    m_hovered = nullptr;
    m_time -= t;
    if (cCursor* cursor = getCursor()) cursor->setOverObject(false);
    // 6. Time up, or the object under the cursor once the click delay has passed.
    if (m_time <= 0.0f) {
        m_time = 0.0f;
        m_over = true;
    } else {
        m_click_timer -= t;
        if (m_click_timer <= 0.0f && !m_to_find.empty()) {
            m_click_timer = 0.0f;
            pickHovered();
        }
    }
    // 7. The name lines rise into their slots while no name floats away.
    if (getFlyScoreTexts().empty()) layoutNameLines(t);
    // 8. The bonus, a second after the last find.
    if (m_bonus_pending) {
        m_bonus_delay -= t;
        if (m_bonus_delay <= 0.0f) {
            if (cGameData* data = getGameData()) data->setMiniGameScore(data->getMiniGameScore() + int32_t(m_bonus));
            new cExcellentPopup(this, false, cVector2(400.0f, 300.0f));
            playSample(minigame_files::kSoundBonus);
            m_bonus_pending = false;
        }
    }
    // 9. The debug overlay: objects left.
    if (cGraphics* graphics = getGraphics()) graphics->addCustomInfo(intToString(int(m_to_find.size())));
    // 10. The children.
    cSceneNode::update();
}

void cMiniGame::layoutNameLines(float t) {
    cMiniGameStatusPanel* status = getMiniGameStatusPanel();
    if (!status) return;
    std::vector<cText*>& lines = status->getNameLines();
    const float y0 = m_name_position_y;
    const float count = float(m_count_lines);
    for (size_t i = 0; i < lines.size(); ++i) {
        cText* line = lines[i];
        if (!line) continue;
        const float s = float(line->getLineSpacing());
        cVector2 p = line->getPosition();
        if (i < m_count_lines) {
            if (y0 + s * (count - 1.0f) + 15.0f > p.y) line->show();
        } else {
            line->hide();
        }
        const float slot = y0 + s * float(i);
        if (slot < p.y) {
            p.y -= 400.0f * t;
            if (p.y <= slot) p.y = slot;
            line->setPosition(p);
        }
    }
}

void cMiniGame::pickHovered() {
    // The first object under the cursor in list order; the rest are cleared untested.
    auto walk = [](const std::vector<cHiddenObject*>& list, size_t limit) -> cHiddenObject* {
        cHiddenObject* found = nullptr;
        for (size_t i = 0; i < list.size() && i < limit; ++i) {
            if (found) {
                list[i]->updateHover(false, false);
                continue;
            }
            list[i]->updateHover(true, false);
            if (list[i]->isHovered()) found = list[i];
        }
        return found;
    };
    cHiddenObject* decor = walk(m_decor, m_decor.size());
    cHiddenObject* hintObject = walk(m_hint_objects, m_hint_objects.size());
    m_hovered = walk(m_to_find, m_count_lines);
    // A hint object wins at equal depth; decor at equal or greater depth covers the object.
    if (hintObject && (!m_hovered || (m_hovered != hintObject && hintObject->getDeep() >= m_hovered->getDeep())))
        m_hovered = hintObject;
    if (decor && m_hovered && m_hovered != decor && decor->getDeep() >= m_hovered->getDeep()) m_hovered = nullptr;
}

cHiddenObject* cMiniGame::hint() {
    if (m_to_find.empty()) return nullptr;
    m_to_find.front()->setHinted(true);
    return m_to_find.front();
}

bool cMiniGame::isComplete() {
    return (m_time <= 0.0f || m_to_find.empty()) && getExcellentPopups().empty() && getFlyingObjects().empty() &&
           cEffectRegistry<cFxSparkle>::instances().empty() && getFlyScoreTexts().empty() && !m_bonus_pending;
}

void cMiniGame::onClickCallback(void* game) { static_cast<cMiniGame*>(game)->onClick(); }

void cMiniGame::findObject(cHiddenObject* object) {
    cMiniGameStatusPanel* status = getMiniGameStatusPanel();
    auto remove = [object](std::vector<cHiddenObject*>& list) { list.erase(std::find(list.begin(), list.end(), object)); };
    if (std::find(m_hint_objects.begin(), m_hint_objects.end(), object) != m_hint_objects.end()) {
        // A hint object flies to the hint button it will reveal.
        new cFlyingObject(object, object->getPosition(), status ? status->getFreeHintSlotPosition() : cVector2(), true);
        remove(m_hint_objects);
    } else {
        // An object to find flies to the score; its name line is struck through and floats away.
        new cFlyingObject(object, object->getPosition(), status ? status->getScoreTextPosition() : cVector2(), false);
        if (status)
            for (cText*& line : status->getNameLines())
                if (line && line->getString() == object->getName()) {
                    new cFlyScoreText(this, *line);
                    delete line;
                    line = nullptr;
                    break;
                }
        remove(m_to_find);
        if (m_to_find.empty()) {
            m_bonus_pending = true;
            m_over = true;
        }
    }
    object->deactivate();
    object->hide();
    delete object;
}

void cMiniGame::onClick() {
    // 1. Ignored: paused, over a widget, over, within the click delay, on the status panel.
    const cCursor* cursor = getCursor();
    if (isLogicPaused() || (cursor && cursor->isOverWidget()) || m_over || m_click_timer > 0.0f ||
        getMousePosition().x <= minigame_files::kClickFieldLeft)
        return;
    // 2. Any accepted click ends a running hint.
    if (!m_to_find.empty()) m_to_find.front()->setHinted(false);
    if (m_hovered) {
        // 3. A hit.
        playSample(minigame_files::kSoundRightClick);
        cHiddenObject* object = m_hovered;
        m_hovered = nullptr;
        findObject(object);
        m_misses = 0;
    } else {
        // 4. A miss; too many raise the alert.
        playSample(minigame_files::kSoundWrongClick);
        ++m_misses;
        if (m_misses >= m_clicks_for_penalty) {
            if (m_owner) m_owner->showAlert();
            m_misses = 0;
        }
    }
    // 5. Both.
    m_miss_timer = 0.0f;
    m_click_timer = m_click_delay;
}
