#include "game/characters/cCustomerGenerator.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/core/LogHooks.h"
#include "engine/core/Random.h"
#include "engine/core/cXmlNode.h"
#include "game/characters/CharacterSupport.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cThief.h"
#include "game/data/LevelPack.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cTable.h"
#include "game/scoring/cScoreTable.h"

namespace {

constexpr float kNoDelay = 1000000.0f;
constexpr float kSentThiefPauses = 6.0f;
constexpr int32_t kSentThiefSteps = 3;
constexpr float kBonusThiefRate = 0.7f;

// One of the raw subs of a bread with one sauce of an installed station; the bread's plain
// sub without any.
int32_t pickOneSauce(int32_t base, const world_textures::Upgrades& s) {
    std::vector<int32_t> candidates;
    if (s.sauce1 != 0) candidates.push_back(base + 2);
    if (s.sauce2 != 0) candidates.push_back(base + 4);
    if (s.sauce3 != 0) candidates.push_back(base + 6);
    if (candidates.empty()) return base;
    return candidates[size_t(rwRand()) % candidates.size()];
}

// One of the raw subs with two sauces of two installed stations, each pair entered once from
// each of its stations; the one-sauce pick with fewer than two stations.
int32_t pickTwoSauces(int32_t base, const world_textures::Upgrades& s) {
    const bool one = s.sauce1 != 0, two = s.sauce2 != 0, three = s.sauce3 != 0;
    const int32_t pair12 = base + 8, pair23 = base + 10, pair31 = base + 12;
    std::vector<int32_t> candidates;
    if (one && two) candidates.push_back(pair12);
    if (one && three) candidates.push_back(pair31);
    if (two && one) candidates.push_back(pair12);
    if (two && three) candidates.push_back(pair23);
    if (three && one) candidates.push_back(pair31);
    if (three && two) candidates.push_back(pair23);
    if (candidates.empty()) return pickOneSauce(base, s);
    return candidates[size_t(rwRand()) % candidates.size()];
}

// Rounds down to a multiple of step.
int32_t roundDown(int32_t value, int32_t step) { return value / step * step; }

}  // namespace

cCustomerGenerator::cCustomerGenerator(cSceneNode* level) : cSceneNode(level) {
    show();
    enable();
}

cCustomerGenerator::~cCustomerGenerator() {
    hide();
    disable();
    // The guests are the level's children: while the level deletes its children they must not
    // be deleted a second way, so they go to the deferred deletion, which forgets them if the
    // level deletes them first.
    for (std::deque<cCustomer*>& line : m_lines) {
        for (cCustomer* customer : line) scheduleDelete(customer);
        line.clear();
    }
}

int32_t cCustomerGenerator::typeToKind(int32_t type) { return type >= 1 && type <= 8 ? type : 0; }

int32_t cCustomerGenerator::orderToItem(int32_t code) { return orderToItem(code, currentLevelLook().upgrades); }

int32_t cCustomerGenerator::orderToItem(int32_t code, const world_textures::Upgrades& stations) {
    switch (code) {
    case 1: return ITEM_CAKE;
    case 2: return stations.cotton2 != 0 && rwRand() % 2 == 1 ? ITEM_COTTON_CANDY_2 : ITEM_COTTON_CANDY_1;
    case 3: return ITEM_COFFEE;
    case 4: return ITEM_COFFEE_CREAM;
    case 5: return ITEM_DRINK;
    case 6: return ITEM_SNACK;
    default: break;
    }
    if (code < 7 || code > 24) return 0;
    const int32_t step = code - 7;
    const int32_t base = ITEM_FIRST_SUB + 14 * (step / 6);
    const int32_t baked = step % 2;
    switch ((step % 6) / 2) {
    case 0: return base + baked;
    case 1: return pickOneSauce(base, stations) + baked;
    default: return pickTwoSauces(base, stations) + baked;
    }
}

void cCustomerGenerator::addTable(cTable* table) {
    if (table) m_tables.push_back(table);
}

void cCustomerGenerator::load() {
    const cGameData* data = getGameData();
    const cXmlNode* level = data ? data->getLevelNode() : nullptr;
    if (!level) throw std::string("The customer generator has no level to read.");
    loadScript(*level);
}

void cCustomerGenerator::loadScript(const cXmlNode& level) {
    // 1. The thief settings.
    levelpack::readInt(&level, L"is_thief", &m_is_thief);
    levelpack::readFloat(&level, L"min_thief_time", &m_min_thief_time);
    levelpack::readFloat(&level, L"max_thief_time", &m_max_thief_time);
    levelpack::readFloat(&level, L"thief_appear_time", &m_thief_appear_time);
    levelpack::readInt(&level, L"thief_count_pnt", &m_thief_count);
    // 2. The guests, line by line.
    for (int i = 0; i < kLines; ++i) {
        const cXmlNode* line = levelpack::child(&level, ("Line_" + std::to_string(i + 1)).c_str());
        for (int j = 1; line && j <= kMaxGuestsPerLine; ++j) {
            const cXmlNode* human = levelpack::child(line, ("Human_" + std::to_string(j)).c_str());
            if (!human) break;
            int32_t type = 0, order1 = 0, order2 = 0, stop = 0;
            float time = 0.0f, absTime = 0.0f;
            levelpack::readInt(human, L"type", &type);
            levelpack::readInt(human, L"order_1", &order1);
            levelpack::readInt(human, L"order_2", &order2);
            levelpack::readFloat(human, L"time", &time);
            levelpack::readFloat(human, L"abs_time", &absTime);
            levelpack::readInt(human, L"stop", &stop);
            const int32_t item1 = orderToItem(order1);
            const int32_t item2 = orderToItem(order2);
            if (item1 == 0 && item2 == 0) {
                logGameQuietly(cStringA("Line_") + std::to_string(i + 1).c_str() + " Human_" +
                               std::to_string(j).c_str() + " orders nothing and is left out.");
                continue;
            }
            auto* customer = new cCustomer(getParent(), typeToKind(type));
            if (item1 != 0) customer->addOrder(item1);
            if (item2 != 0) customer->addOrder(item2);
            customer->setArrivalDelay(time);
            customer->setAbsTime(absTime);
            m_lines[i].push_back(customer);
        }
    }
}

int32_t cCustomerGenerator::countWaitingCustomers() const {
    size_t count = 0;
    for (const std::deque<cCustomer*>& line : m_lines) count += line.size();
    return static_cast<int32_t>(count);
}

void cCustomerGenerator::update() {
    const float dt = getDeltaTime();
    // 1. Nothing moves on while releasing is off or no table is there.
    if (m_spawning && !m_tables.empty()) {
        // 2. In bonus mode an empty restaurant brings the next guest forward.
        if (isBonusModeOn()) pullForward();
        // 3. Due guests sit down at free tables.
        seat(dt);
        // 4. A thief for unattended money.
        if (m_is_thief == 1) stepThief(dt);
    }
    cSceneNode::update();
}

void cCustomerGenerator::pullForward() {
    for (const cTable* table : m_tables)
        if (!table->isFree() && table->getState() != ITEM_MONEY) return;
    float smallest = kNoDelay;
    bool found = false;
    for (const std::deque<cCustomer*>& line : m_lines)
        if (!line.empty() && line.front()->getArrivalDelay() < smallest) {
            smallest = line.front()->getArrivalDelay();
            found = true;
        }
    if (!found) return;
    for (std::deque<cCustomer*>& line : m_lines)
        if (!line.empty()) line.front()->setArrivalDelay(line.front()->getArrivalDelay() - smallest);
}

void cCustomerGenerator::seat(float dt) {
    for (int n = 0; n < kLines; ++n) {
        std::deque<cCustomer*>& line = m_lines[n];
        if (line.empty()) continue;
        cCustomer* customer = line.front();
        customer->setArrivalDelay(customer->getArrivalDelay() - dt);
        if (customer->getArrivalDelay() > 0.0f) continue;
        customer->setArrivalDelay(0.0f);
        cTable* table = n < int(m_tables.size()) ? m_tables[size_t(n)] : nullptr;
        if (!table || !table->isFree()) continue;
        customer->setMood(cCustomer::kMaxMood);
        if (m_patient) customer->setWaitTime(kPatientWaitStep);
        table->seatCustomer(customer);
        line.pop_front();
    }
}

void cCustomerGenerator::stepThief(float dt) {
    // A thief needs at least one step to his table.
    if (m_thief_count < 1 || !getThieves().empty()) return;
    cTable* target = nullptr;
    for (cTable* table : m_tables)
        if (table->getState() == ITEM_MONEY && !table->getCustomer()) {
            target = table;
            break;
        }
    if (!target) return;
    m_thief_timer -= isBonusModeOn() ? dt * kBonusThiefRate : dt;
    if (m_thief_timer > 0.0f) return;
    const int32_t lo = characters::toIntClamped(m_min_thief_time * 10000.0f);
    const int32_t hi = characters::toIntClamped(m_max_thief_time * 10000.0f);
    m_thief_timer = float(characters::randomInt(lo, hi)) / 10000.0f;
    new cThief(getParent(), target, m_thief_appear_time, m_thief_count);
}

void cCustomerGenerator::sendThief() {
    for (cTable* table : m_tables)
        if (table->getState() == ITEM_MONEY) {
            new cThief(getParent(), table, kSentThiefPauses, kSentThiefSteps);
            return;
        }
}

void cCustomerGenerator::computeGoals() {
    cGameData* data = getGameData();
    if (!data) return;
    const Goals goals = goalsFor(static_cast<uint32_t>(data->getMinGoal()), static_cast<uint32_t>(data->getGoal()),
                                 static_cast<uint32_t>(data->getExpertGoal()), data->getLevelTime());
    data->setGoal(goals.goal);
    data->setExpertGoal(goals.expert);
}

cCustomerGenerator::Goals cCustomerGenerator::goalsFor(uint32_t minGoal, uint32_t goal, uint32_t expert,
                                                       float levelTime) const {
    if (minGoal == 0) {
        logGameQuietly("The level's min_goal is 0: its goals are kept as the pack gives them.");
        return Goals{characters::toIntClamped(float(goal)), characters::toIntClamped(float(expert))};
    }
    const float goalFactor = float(goal) / float(minGoal);
    const float expertFactor = float(expert) / float(minGoal);
    const cScoreTable* scores = getScores();
    int64_t sum = 0;
    for (const std::deque<cCustomer*>& line : m_lines)
        for (const cCustomer* customer : line) {
            if (customer->getAbsTime() > levelTime || !scores) continue;
            sum += scores->getEntry(SCORE_TAKE) + scores->getEntry(SCORE_DELIVER);
            for (int32_t item : customer->getOrders()) sum += scores->getProductPoints(item);
        }
    const float points = float(sum);
    // Whole part plus one, within the int range.
    auto scaled = [&](float factor) {
        const int32_t whole = characters::toIntClamped(points * factor);
        return whole < INT32_MAX ? whole + 1 : whole;
    };
    Goals goals{scaled(goalFactor), scaled(expertFactor)};
    const int32_t step = goals.goal >= 1000 ? 100 : 10;
    goals.goal = roundDown(goals.goal, step);
    goals.expert = roundDown(goals.expert, step);
    return goals;
}
