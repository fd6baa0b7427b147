#include "game/characters/cWaitress.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "game/characters/CharacterSupport.h"
#include "game/characters/cCustomer.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxTrail.h"
#include "game/effects/cFxWaiterStar.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCottonStation.h"
#include "game/restaurant/cHandItem.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cRestaurantHost.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTable.h"

// ---------------------------------------------------------------- hand rules

namespace waitress_rules {

namespace {

// Sauce sets: 0 none, 1..3 one sauce, 4 "12", 5 "23", 6 "31".
int pairSet(int a, int b) {
    if (a > b) std::swap(a, b);
    return a == 1 && b == 2 ? 4 : a == 2 && b == 3 ? 5 : a == 1 && b == 3 ? 6 : 0;
}
// The sauces of a set as bits 1..3.
unsigned sauceBits(int set) {
    static const unsigned bits[7] = {0u, 2u, 4u, 8u, 2u | 4u, 4u | 8u, 8u | 2u};
    return set >= 0 && set <= 6 ? bits[set] : 0u;
}
bool isRawSub(ItemId id) { return isSub(id) && !isBakedSub(id); }
bool contains(const std::vector<ItemId>& list, ItemId id) { return std::find(list.begin(), list.end(), id) != list.end(); }

}  // namespace

void sauceOutcome(ItemId* item, ItemId sauce, std::vector<ItemId>* outlook) {
    const ItemId x = *item;
    const int k = sauce - ITEM_SAUCE_1 + 1;
    *item = 0;
    if (!isSub(x) || k < 1 || k > 3) return;
    const int set = subSauceSet(x);
    int result = -1;
    if (set == 0) result = k;
    else if (set <= 3 && set != k) result = pairSet(set, k);
    if (result < 0) return;
    const bool baked = isBakedSub(x);
    *item = subId(subBread(x), result, baked);
    const unsigned wanted = sauceBits(result);
    for (int s = 0; s <= 6; ++s) {
        if ((sauceBits(s) & wanted) != wanted) continue;
        if (!baked) outlook->push_back(subId(subBread(x), s, false));
        outlook->push_back(subId(subBread(x), s, true));
    }
}

void ovenOutcome(ItemId* item, std::vector<ItemId>* outlook) {
    const ItemId x = *item;
    *item = 0;
    if (!isRawSub(x)) return;
    *item = x + 1;
    const int bread = subBread(x), set = subSauceSet(x);
    if (set == 0) {
        for (int s = 0; s <= 6; ++s) outlook->push_back(subId(bread, s, true));
    } else if (set <= 3) {
        static const int leadingPair[4] = {0, 4, 5, 6};
        outlook->push_back(x + 1);
        outlook->push_back(subId(bread, leadingPair[set], true));
    } else {
        outlook->push_back(x + 1);
    }
}

int chooseOvenHand(ItemId right, ItemId left, const TableStates& tables, bool put) {
    std::vector<ItemId> rightOutlook, leftOutlook;
    ItemId r = right, l = left;
    ovenOutcome(&r, &rightOutlook);
    ovenOutcome(&l, &leftOutlook);
    if (r == 0 && l == 0) return kNoHand;
    for (int32_t state : tables) {
        if (r != 0 && state == r) return kRightHand;
        if (l != 0 && state == l) return kLeftHand;
    }
    if (!put) return kNoHand;
    for (int32_t state : tables) {
        int hand = kNoHand;
        if (r != 0 && contains(rightOutlook, state)) hand = kRightHand;
        if (l != 0 && contains(leftOutlook, state)) hand = kLeftHand;
        if (hand != kNoHand) return hand;
    }
    return r != 0 ? kRightHand : kLeftHand;
}

SauceChoice chooseSauceHand(ItemId right, ItemId left, ItemId sauce, const TableStates& tables) {
    std::vector<ItemId> rightOutlook, leftOutlook;
    ItemId r = right, l = left;
    sauceOutcome(&r, sauce, &rightOutlook);
    sauceOutcome(&l, sauce, &leftOutlook);
    if (r == 0 && l == 0) return {};
    for (int32_t state : tables) {
        if (r != 0 && state == r) return {kRightHand, r};
        if (l != 0 && state == l) return {kLeftHand, l};
    }
    for (int32_t state : tables) {
        if (r != 0 && contains(rightOutlook, state)) return {kRightHand, r};
        if (l != 0 && contains(leftOutlook, state)) return {kLeftHand, l};
    }
    return r != 0 ? SauceChoice{kRightHand, r} : SauceChoice{kLeftHand, l};
}

int directionCode(const cVector2& d) {
    const float x = d.x;
    if (std::isnan(x)) return 0;
    if (x < -0.92f) return 1;
    if (x > 0.92f) return 5;
    if (x < -0.38f) return d.y > 0.0f ? 4 : d.y < 0.0f ? 8 : 0;
    if (x < 0.38f) return d.y > 0.0f ? 3 : d.y < 0.0f ? 7 : 0;
    return d.y > 0.0f ? 2 : d.y < 0.0f ? 6 : 0;
}

}  // namespace waitress_rules

// ---------------------------------------------------------------- configuration

namespace {

using namespace waitress_rules;

const wchar_t* const kDirectionSections[9] = {L"STAND", L"RUN_L", L"RUN_DR", L"RUN_D", L"RUN_DL",
                                              L"RUN_R", L"RUN_UR", L"RUN_U", L"RUN_UL"};
const wchar_t* const kStandSections[3] = {L"STAND", L"STAND_1", L"STAND_2"};

// The sheets of the 27 codes. One-item runs left, right, up-left and up-right share the
// two-item sheets.
const char* const kSheets[27] = {
    "stand", "run_l", "run_dr", "run_d", "run_dl", "run_r", "run_ur", "run_u", "run_ul",
    "stand_1", "run_l_2", "run_dr_1", "run_d_1", "run_dl_1", "run_r_2", "run_ur_2", "run_u_1", "run_ul_2",
    "stand_2", "run_l_2", "run_dr_2", "run_d_2", "run_dl_2", "run_r_2", "run_ur_2", "run_u_2", "run_ul_2"};

const wchar_t* timingSection(int code) {
    if (code == 9) return L"STAND_1";
    if (code == 18) return L"STAND_2";
    return kDirectionSections[code % 9];
}

// Deep offsets of the hands (right, left) by direction code.
void handDeeps(int direction, float* right, float* left) {
    switch (direction) {
    case 1: case 8: *right = -1.0f; *left = 1.0f; break;
    case 2: case 3: case 4: *right = 1.0f; *left = 1.0f; break;
    case 5: case 6: *right = 1.0f; *left = -1.0f; break;
    case 7: *right = -1.0f; *left = -1.0f; break;
    default: *right = 900.0f; *left = 900.0f; break;
    }
}

// Whether a step from the segment's direction has gone past the next point.
bool passes(const cVector2& d, const cVector2& p, const cVector2& next) {
    if (d.x >= 0.0f && d.y > 0.0f) return p.x > next.x || p.y > next.y;
    if (d.x > 0.0f && d.y <= 0.0f) return p.x > next.x || p.y < next.y;
    if (d.x <= 0.0f && d.y < 0.0f) return p.x < next.x || p.y < next.y;
    if (d.x < 0.0f && d.y >= 0.0f) return p.x < next.x || p.y > next.y;
    return true;
}

}  // namespace

cStringA waitressSheet(int code) {
    return cStringA("Game/Characters/Lucinda/") + kSheets[code >= 0 && code < 27 ? code : 0] + ".dds";
}

namespace {

int waitressUpgrade() { return currentLevelLook().waitressLevel; }

std::array<cTable*, 6> levelTables() {
    const cRestaurantHost* level = getRestaurantHost();
    return level ? level->getTables() : std::array<cTable*, 6>{};
}

}  // namespace

cWaitress::cWaitress(cSceneNode* level, const cVector2& start) : cPicture(level), cClickTarget(this) {
    m_right_holder = new cHandItem(this, 0);
    m_left_holder = new cHandItem(this, 1);
    loadConfig();
    loadPathPoints();
    setDirection(m_code);
    setPosition(start);
}

cWaitress::~cWaitress() {
    hide();
    disable();
    m_graph.nodes.clear();
    m_waypoints.clear();
}

void cWaitress::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }
void cWaitress::loadFromNode(const cXmlNode&) { loadPathPoints(); }

void cWaitress::loadConfig() {
    const cIniFile& ini = characters::characterIni("lucinda");
    cPicture::loadFromIni(ini, L"COMMON");
    const int world = lookWorld(currentLevelLook());
    readFloat(ini, L"COMMON", world == 2 ? L"speed_move_world_2" : world == 3 ? L"speed_move_world_3" : L"speed_move_world_1",
              &m_speed);
    readVector(ini, L"COMMON", L"off_sprite", &m_off_sprite);
    readFloat(ini, L"COMMON", L"inc_speed_move", &m_inc_speed);
    readFloat(ini, L"COMMON", L"temp_speed_up", &m_temp_speed_up);
    if (waitressUpgrade() > 1) m_speed += m_inc_speed;
    for (int code = 0; code < 27; ++code) {
        loadAnimation(&m_animations[code], ini, timingSection(code));
        m_animations[code].picture = waitressSheet(code);
    }
    for (int d = 0; d < 9; ++d) {
        readVector(ini, kDirectionSections[d], L"off_right_hand", &m_hand_offsets[d][0]);
        readVector(ini, kDirectionSections[d], L"off_left_hand", &m_hand_offsets[d][1]);
        for (int group = 1; group <= 2; ++group)
            for (int hand = 0; hand < 2; ++hand) m_hand_offsets[d + 9 * group][hand] = m_hand_offsets[d][hand];
    }
    for (int v = 0; v < 3; ++v) {
        readFloat(ini, kStandSections[v], L"min_anim_time", &m_idle_min[v]);
        readFloat(ini, kStandSections[v], L"max_anim_time", &m_idle_max[v]);
        characters::readInt(ini, kStandSections[v], L"count_cycles", &m_idle_cycles[v]);
    }
}

void cWaitress::loadPathPoints() {
    const cStringA name = currentLevelLook().pathsFileName;
    cResourceManager* resources = getResourceManager();
    if (!resources) throw std::string("Resource '") + name + "' is not loaded.";
    const cXmlNode* root = resources->getXml(name);
    m_graph = root ? readPathGraph(*root) : cPathGraph();
}

// ---------------------------------------------------------------- queue and frame

void cWaitress::addTarget(cClickTarget* target) {
    if (!target) return;
    if (m_tutorial) {
        if (target == m_current) return;
        if (!m_queue.empty() && m_queue.back() == target) return;
    }
    m_queue.push_back(target);
    target->showPointer(true);
    if (target->getKind() == KIND_TABLE) {
        if (auto* table = dynamic_cast<cTable*>(target)) {
            const int32_t wanted = table->getState();
            if ((m_right_item != 0 && m_right_item == wanted) || (m_left_item != 0 && m_left_item == wanted))
                table->setWaitressComing(true);
        }
    } else if (target->getKind() == KIND_SUB_PLACE && target->getState() != 0) {
        if (cSubStation* counter = getSubStation()) counter->setWaitressComing(true);
    }
}

void cWaitress::update() {
    const float dt = getDeltaTime();
    dropStars(dt);
    if (m_waypoints.empty()) {
        arrive();
        if (!m_queue.empty()) {
            m_current = m_queue.front();
            m_queue.pop_front();
            findPath(m_current->getControlPoint());
        }
    }
    if (!m_waypoints.empty()) walk();
    if (!m_idle_animating) {
        m_idle_delay -= dt;
        if (m_idle_delay <= 0.0f) {
            m_idle_delay = 0.0f;
            m_idle_animating = true;
        }
    }
    if (m_idle_animating) {
        if (isStanding() && characters::isAnimationAtEnd(*this)) {
            if (--m_cycles_left > 0) {
                setLayer0Time(0.0f);
            } else {
                setDirection(0);
                setPosition(getPosition());
            }
        }
        advanceAnimation(dt);
    }
    markClouds();
}

void cWaitress::dropStars(float dt) {
    if (isStanding()) {
        m_star_countdown = 0.0f;
        return;
    }
    m_star_countdown -= dt * 1000.0f;
    if (m_star_countdown > 0.0f) return;
    float x = static_cast<float>(rwRand()), y = static_cast<float>(rwRand());
    if (rwRand() % 2 == 0) x = -x;
    if (rwRand() % 2 == 0) y = -y;
    cVector2 direction(x, y);
    direction.normalize();
    const float speed = static_cast<float>(rwRand() % 70);
    const float shrink = isBonusModeOn() ? 2.0f : waitressUpgrade() > 1 ? 4.0f : 0.0f;
    if (shrink > 0.0f) new cFxWaiterStar(getParent(), getPosition(), direction, speed, shrink);
    m_star_countdown = 15.0f;
}

bool cWaitress::findPath(const cVector2& destination) {
    bool found = false;
    const std::vector<cVector2> route = ::findPath(m_graph, getPosition(), destination, &found);
    m_waypoints.assign(route.begin(), route.end());
    return found;
}

void cWaitress::walk() {
    if (m_waypoints.empty()) return;
    const cVector2 next = m_waypoints.front();
    const cVector2 position = getPosition();
    if (m_direction.equals(cVector2())) {
        // A new segment: this frame only turns.
        m_direction = next.minus(position);
        m_direction.normalize();
        if (m_direction.equals(cVector2())) {
            // Already on the point.
            m_waypoints.pop_front();
        } else {
            setDirection(directionCode(m_direction));
        }
        return;
    }
    const bool bonus = isBonusModeOn();
    const float dt = getDeltaTime();
    const float step = m_speed + (bonus ? m_temp_speed_up : 0.0f);
    cVector2 moved = position.plus(m_direction.times(step * dt));
    if (bonus) trail(dt);
    if (passes(m_direction, moved, next)) {
        moved = next;
        m_waypoints.pop_front();
        m_direction = cVector2();
    }
    setPosition(moved);
    if (m_waypoints.empty()) {
        setDirection(0);
        setPosition(moved);
    }
}

void cWaitress::trail(float dt) {
    m_trail_countdown -= dt;
    if (m_trail_countdown > 0.0f) return;
    m_trail_countdown = m_trail_interval;
    if (isFullEffectsOn()) new cFxTrail(getParent(), this, 600.0f, 100.0f, false);
}

void cWaitress::setDirection(int direction) {
    m_idle_animating = true;
    m_right_holder->setDirection(direction);
    m_left_holder->setDirection(direction);
    int code = direction, v = 0;
    if (m_right_item != 0) {
        code += 9;
        v = 1;
    }
    if (m_left_item != 0) {
        code += 9;
        v = 2;   // a lone left item counts as two
    }
    m_code = code >= 0 && code < 27 ? code : 0;
    handDeeps(m_code % 9, &m_right_deep, &m_left_deep);
    if (m_code % 9 == 0) {
        m_idle_delay = static_cast<float>(
            characters::randomInt(characters::toIntClamped(m_idle_min[v]), characters::toIntClamped(m_idle_max[v])));
        m_cycles_left = characters::randomInt(1, m_idle_cycles[v]);
        m_idle_animating = false;
    }
    m_right_holder->setDeep(getDeep() + m_right_deep);
    m_left_holder->setDeep(getDeep() + m_left_deep);
    setLayer0Animation(m_animations[m_code], ORIGIN_START, 0.0f);
}

void cWaitress::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    setDeep(position.y);
    m_right_holder->setPosition(position.plus(m_off_sprite).plus(m_hand_offsets[m_code][0]));
    m_left_holder->setPosition(position.plus(m_off_sprite).plus(m_hand_offsets[m_code][1]));
    m_right_holder->setDeep(getDeep() + m_right_deep);
    m_left_holder->setDeep(getDeep() + m_left_deep);
    setTransformOrigin(m_off_sprite.negated());
}

// ---------------------------------------------------------------- arrival

void cWaitress::giveHand(int hand, ItemId item) {
    if (hand == 1) {
        m_left_item = item;
        m_left_holder->setState(item);
    } else {
        m_right_item = item;
        m_right_holder->setState(item);
    }
}

int* cWaitress::freeHand() { return m_right_item == 0 ? &m_right_item : m_left_item == 0 ? &m_left_item : nullptr; }

TableStates cWaitress::tableStates() const {
    TableStates states{};
    const auto tables = levelTables();
    for (size_t i = 0; i < tables.size(); ++i) states[i] = tables[i] ? tables[i]->getState() : 0;
    return states;
}

bool cWaitress::takeInto(cClickTarget* target, ItemId item, const char* sound) {
    int* hand = freeHand();
    if (!hand || item == 0) return false;
    giveHand(hand == &m_left_item ? 1 : 0, item);
    target->setState(0);
    if (sound) characters::playSound(sound);
    return true;
}

void cWaitress::arrive() {
    cClickTarget* t = m_current;
    if (!t) return;
    switch (t->getKind()) {
    case KIND_TABLE:
        if (auto* table = dynamic_cast<cTable*>(t)) arriveAtTable(table);
        break;
    case KIND_TRASH:
        for (int hand = 0; hand < 2; ++hand)
            if (getHandItem(hand) != 0) {
                giveHand(hand, 0);
                t->setState(0);
            }
        break;
    case KIND_COFFEE_STATION:
        if (t->getState() == ITEM_COFFEE) takeInto(t, ITEM_COFFEE);
        else t->setState(0);
        break;
    case KIND_CAKE_STATION: takeInto(t, ITEM_CAKE); break;
    case KIND_SNACK_STATION: takeInto(t, ITEM_SNACK); break;
    case KIND_DRINK_STATION: takeInto(t, ITEM_DRINK); break;
    case KIND_CREAM_STATION:
        if (m_right_item == ITEM_COFFEE || m_left_item == ITEM_COFFEE) {
            giveHand(m_right_item == ITEM_COFFEE ? 0 : 1, ITEM_COFFEE_CREAM);
            t->setState(0);
        }
        break;
    case KIND_OVEN: arriveAtOven(t); break;
    case KIND_SUB: t->setState(0); break;
    case KIND_SUB_PLACE: {
        int* hand = freeHand();
        const int32_t sub = t->getState();
        if (hand && sub != 0) {
            giveHand(hand == &m_left_item ? 1 : 0, sub);
            if (auto* plate = dynamic_cast<cSubPlace*>(t)) plate->empty();
            characters::playSound(kTakeSound);
        }
        if (cSubStation* counter = getSubStation()) counter->setWaitressComing(false);
        break;
    }
    case KIND_SOUSE_STATION:
        if (applySauce(t->getState())) t->setState(0);
        break;
    case KIND_COTTON_CANDY: t->setState(0); break;
    case KIND_COTTON_ITEM: {
        const cCottonStation* stand = getCottonStation();
        if (!(stand && stand->getPhase() == 1)) takeInto(t, t->getState(), kTakeSound);
        break;
    }
    case KIND_COTTON_STATION: {
        const cCottonStation* stand = getCottonStation();
        const int phase = stand ? stand->getPhase() : 0;
        if (phase != 1 && phase != 4) takeInto(t, t->getState(), kTakeSound);
        break;
    }
    default: break;
    }
    endArrival(t);
}

void cWaitress::arriveAtTable(cTable* table) {
    table->setWaitressComing(false);
    const int32_t s = table->getState();
    const cVector2 position = table->getPosition();
    if (s == 0) return;
    const cCustomer* guest = table->getCustomer();
    if (s == ITEM_WAITING && guest && guest->getStage() == STAGE_WAITING_FOR_ORDER) {
        table->setState(ITEM_ORDER_TAKEN);
        if (m_scoring) m_scoring->awardTake(position);
    } else if (s == ITEM_MONEY) {
        table->setState(0);
        if (m_scoring) m_scoring->awardPay(position, table->getMoneyValue());
        characters::playSound(kMoneyTakeSound);
    } else if (s == m_right_item || s == m_left_item) {
        giveHand(s == m_right_item ? 0 : 1, 0);
        table->setState(0);
        if (m_scoring) m_scoring->awardDeliver(position);
    }
}

void cWaitress::arriveAtOven(cClickTarget* oven) {
    const int32_t s = oven->getState();
    if (isBakedSub(s)) {
        if (freeHand()) {
            takeInto(oven, s, kTakeSound);
            return;
        }
        const int hand = chooseOvenHand(false);
        if (hand == kNoHand) return;
        oven->setState(0);
        if (oven->setState(getHandItem(hand))) {
            giveHand(hand, s);
            characters::playSound(kTakeSound);
        }
        return;
    }
    const int hand = chooseOvenHand(true);
    if (hand == kNoHand) return;
    if (oven->setState(getHandItem(hand))) giveHand(hand, 0);
}

int32_t cWaitress::chooseOvenHand(bool put) const {
    return waitress_rules::chooseOvenHand(m_right_item, m_left_item, tableStates(), put);
}

bool cWaitress::applySauce(ItemId sauce) {
    const SauceChoice choice = chooseSauceHand(m_right_item, m_left_item, sauce, tableStates());
    if (choice.hand == kNoHand) return false;
    giveHand(choice.hand, choice.result);
    return true;
}

void cWaitress::endArrival(cClickTarget* target) {
    if (isBonusModeOn() && isFullEffectsOn()) {
        const int32_t kind = target->getKind();
        if (kind == KIND_COTTON_CANDY || kind == KIND_COTTON_ITEM || kind == KIND_COTTON_STATION) {
            if (cCottonStation* stand = getCottonStation()) stand->showClickEffect();
        } else {
            target->showClickEffect();
        }
    }
    target->showPointer(false);
    m_current = nullptr;
    if (m_right_item == 0 && m_left_item != 0) {
        giveHand(0, m_left_item);
        giveHand(1, 0);
    }
    setDirection(0);
    setPosition(getPosition());
}

void cWaitress::markClouds() {
    std::vector<ItemId> expected{m_right_item, m_left_item};
    auto expect = [&](const cClickTarget* t) {
        const int32_t s = t->getState();
        switch (t->getKind()) {
        case KIND_COFFEE_STATION: if (s == ITEM_COFFEE) expected.push_back(ITEM_COFFEE); break;
        case KIND_CAKE_STATION: expected.push_back(ITEM_CAKE); break;
        case KIND_SNACK_STATION: expected.push_back(ITEM_SNACK); break;
        case KIND_DRINK_STATION: expected.push_back(ITEM_DRINK); break;
        case KIND_CREAM_STATION:
            if (m_right_item == ITEM_COFFEE || m_left_item == ITEM_COFFEE) expected.push_back(ITEM_COFFEE_CREAM);
            break;
        case KIND_OVEN: if (isBakedSub(s)) expected.push_back(s); break;
        case KIND_SUB_PLACE:
        case KIND_COTTON_STATION: if (s != 0) expected.push_back(s); break;
        case KIND_SOUSE_STATION:
            for (ItemId held : {m_right_item, m_left_item}) {
                ItemId result = held;
                sauceOutcome(&result, s, &expected);
            }
            break;
        default: break;
        }
    };
    for (const cClickTarget* t : m_queue) expect(t);
    if (m_current) expect(m_current);
    for (cTable* table : levelTables()) {
        if (!table || !table->getCloud()) continue;
        const int32_t s = table->getState();
        table->getCloud()->setHighlighted(std::find(expected.begin(), expected.end(), s) != expected.end());
    }
}
