#include "game/restaurant/cTable.h"

#include <string>

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "game/characters/cCustomer.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxMoney.h"
#include "game/effects/cFxSparkle.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cItemHolder.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/scoring/cScoreTable.h"

namespace {

const char* const kDollarTexture = "Game/Effects/dollar.dds";
const char* const kMoneyGlowTexture = "Game/Worlds/Common/Items/money_glow.dds";
const float kPayoutDelay = 0.3f;
// Where collected money flies, by table number 1..6.
const cVector2 kMoneyDirections[6] = {{38, -13}, {44, -5}, {43, 8}, {34, 17}, {24, 18}, {14, 26}};

int32_t scoreEntry(int32_t index) { return getScores() ? getScores()->getEntry(index) : 0; }

}  // namespace

const char* tablePolygonIni(int graphicsSet) {
    if (graphicsSet == 2) return "Config/Game/o_table_box2.ini";
    if (graphicsSet == 3) return "Config/Game/o_table_box3.ini";
    return "Config/Game/o_table_box1.ini";
}

cTable::cTable(cSceneNode* level, int index)
    : cPicture(level), cClickTarget(this), m_index(index), m_customer_deep_step(2.5f - float(index)) {
    for (cItemHolder*& box : m_money_boxes) box = new cItemHolder(this);
    m_cloud = new cOrderCloud(this, index);
    m_dollar = new cPicture(this);
    loadConfig();
    loadPlacement();
    m_highlight = new cHighlight(false, this, 255);
    m_highlight->setAlpha(uint32_t(m_highlight_alpha) & 0xFF);
    placePointers(getPosition(), getDeep(), 46.0f, 46.1f);
    m_cloud->setPosition(getPosition());
    m_cloud->setDeep(getDeep() + 10.0f);
    m_dollar->hide();
    m_dollar->disable();
    if (index >= 1 && index <= 6) m_money_direction = kMoneyDirections[index - 1];
}

// Boxes, highlight, cloud and dollar are children, deleted with the table. The guest is a
// child of the level: when the level is deleting its children it deletes the guest too, so the
// table hands it to the deferred deletion (a no-op for a node that is gone by then).
cTable::~cTable() {
    hide();
    disable();
    if (m_customer) {
        m_customer->hide();
        m_customer->disable();
        scheduleDelete(m_customer);
    }
    m_customer = nullptr;
}

void cTable::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cTable::loadFromNode(const cXmlNode&) { loadPlacement(); }

void cTable::loadConfig() {
    const cIniFile& ini = effectIni(kTableIni);
    const cStringW section = L"TABLE_" + std::to_wstring(m_index);
    cAnimation animation;
    loadAnimation(&animation, ini, L"COMMON");
    setLayer0Animation(animation, ORIGIN_START, 0.0f);
    stringToULong(&m_money_color, ini.getValue(L"COMMON", L"fx_money_color"));
    cPicture::loadFromIni(ini, section);
    readVector(ini, section.c_str(), L"item_position", &m_item_places[0]);
    readVector(ini, section.c_str(), L"item_position1", &m_item_places[1]);
    readVector(ini, section.c_str(), L"item_position2", &m_item_places[2]);
    readVector(ini, section.c_str(), L"dollar_position", &m_dollar_position);
    setDeep(getPosition().y + animation.frameSize.y / 1.5f);
    for (int k = 0; k < 3; ++k) {
        m_money_boxes[k]->setDeep(getDeep() + 1.0f + 0.1f * float(k));
        m_money_boxes[k]->setPosition(m_item_places[k]);
    }
    m_dollar->setDeep(getDeep() + 0.5f);
    m_dollar->setPosition(m_dollar_position);
    m_dollar->setPicture(kDollarTexture);
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, section);
    stringToInt(&m_temp_multiplier, ini.getValue(L"COMMON", L"temp_multiplier"));
    loadHitPolygon(effectIni(tablePolygonIni(currentLevelLook().graphicsSet)), section);
}

void cTable::loadPlacement() {
    const cLevelLook look = currentLevelLook();
    setPicture(world_textures::tableTexture(look.graphicsSet, m_index, look.upgrades.tables).c_str());
    placeFromPaths(("TABLE_ORDER_" + std::to_string(m_index)).c_str());
}

void cTable::seatCustomer(cCustomer* customer) {
    if (!customer) return;
    m_customer = customer;
    customer->setDeep(getDeep() + m_customer_deep_step * 5.0f);
    customer->setTable(this);
    setState(ITEM_WAITING);
    m_money_laid = false;
    m_money = customer->getMoney();
}

bool cTable::setState(int32_t value) {
    if (m_customer) {
        if (m_customer->getStage() == STAGE_APPEARING) return false;
        m_customer->setState(value);
        if (value == 0 && m_customer->getStage() == STAGE_LEAVING_HAPPY && !m_money_laid) {
            layOutMoney();
            return true;
        }
    }
    if (value == 0 && m_money_boxes[0]->getState() == ITEM_MONEY) collectMoney();
    storeState(value);
    return true;
}

void cTable::layOutMoney() {
    m_money_laid = true;
    m_payout_delay = kPayoutDelay;
    m_money_boxes[0]->setState(ITEM_MONEY);
    const int32_t mood = m_customer->getMood();
    if (mood >= 7) {
        for (int k = 0; k < 3; ++k) m_money_boxes[k]->setPosition(m_item_places[k]);
        m_money_boxes[1]->setState(ITEM_MONEY);
        m_money_boxes[2]->setState(ITEM_MONEY);
        m_money += scoreEntry(SCORE_TIP1);
    } else if (mood >= 5) {
        m_money_boxes[0]->setPosition(m_item_places[0]);
        m_money_boxes[1]->setPosition(m_item_places[2]);
        m_money_boxes[1]->setState(ITEM_MONEY);
        m_money_boxes[2]->setState(0);
        m_money += scoreEntry(SCORE_TIP2);
    } else {
        m_money_boxes[0]->setPosition(m_item_places[1]);
        m_money_boxes[1]->setState(0);
        m_money_boxes[2]->setState(0);
    }
    storeState(0);
}

void cTable::collectMoney() {
    for (cItemHolder* box : m_money_boxes)
        if (box->getState() == ITEM_MONEY)
            new cFxMoney(getParent(), box->getPosition(), m_money_direction, box->getDeep() + 0.1f);
    for (cItemHolder* box : m_money_boxes) box->setState(0);
}

void cTable::clearMoney() {
    for (cItemHolder* box : m_money_boxes) box->setState(0);
    storeState(0);
}

void cTable::setWaitressComing(bool coming) {
    if (m_customer && (!coming || m_customer->getStage() == STAGE_WAITING_FOR_ITEM)) m_customer->setWaitressComing(coming);
}

int32_t cTable::getMoneyValue() const { return isBonusModeOn() ? m_money * m_temp_multiplier : m_money; }

bool cTable::isFree() const { return !m_customer && getState() == 0; }

void cTable::showFirstItem(int32_t id) { m_cloud->showFirstItem(id); }
void cTable::showSecondItem(int32_t id) { m_cloud->showSecondItem(id); }
int32_t cTable::getSecondItem() const { return m_cloud->getSecondItem(); }

void cTable::update() {
    const float dt = getDeltaTime();
    // 1. A guest that has gone is deleted.
    if (m_customer && m_customer->getStage() == STAGE_GONE) {
        m_customer->hide();
        m_customer->disable();
        delete m_customer;
        m_customer = nullptr;
    }
    // 2. Laid-out money: the state follows box 0 once the payout delay is over, the coins of
    // the boxes appear one after the other, and they glitter in bonus mode.
    if (m_money_laid) {
        m_payout_delay -= dt;
        if (m_payout_delay <= 0.0f) {
            m_payout_delay = 0.0f;
            storeState(m_money_boxes[0]->getState());
        }
        m_money_boxes[0]->advanceAnimation(dt);
        if (m_money_boxes[0]->getLayer0Frame() >= 3) m_money_boxes[1]->advanceAnimation(dt);
        if (m_money_boxes[0]->getLayer0Frame() >= 6) m_money_boxes[2]->advanceAnimation(dt);
        if (isBonusModeOn()) sparkle(dt);
    }
    // 3. The dollar shows the bonus mode.
    if (isBonusModeOn()) {
        m_dollar->show();
        m_dollar->enable();
    } else {
        m_dollar->hide();
        m_dollar->disable();
    }
    // 4. Controllers and children.
    cPicture::update();
}

void cTable::sparkle(float dt) {
    m_sparkle_timer -= dt;
    if (m_sparkle_timer > 0.0f) return;
    m_sparkle_timer = m_sparkle_period;
    const float deepOffset = rwRand() % 13 == 0 ? 0.4f : -0.4f;
    if (!isFullEffectsOn()) return;
    for (cItemHolder* box : m_money_boxes)
        if (box->getState() == ITEM_MONEY && box->getLayer0Frame() >= 7)
            new cFxSparkle(getParent(), box, 200.0f, 55.0f, deepOffset, m_money_color, kMoneyGlowTexture);
}

void cTable::updateHover(bool testMouse, bool value) {
    if (isBlocked()) testMouse = value = false;
    if (m_customer) m_customer->updateHover(testMouse, value);
    hoverOwner(*this, testMouse, value);
    if (testMouse && m_customer) {
        if (!isHovered()) setHovered(m_customer->isHovered());
        else m_customer->updateHover(false, true);
    }
    if (m_customer) m_highlight->setVisible(m_customer->getStage() != STAGE_ORDERING && isHovered());
    else m_highlight->setVisible(isHovered() && getState() != 0);
}
