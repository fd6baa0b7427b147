#include "game/scoring/cScoreTable.h"

#include <algorithm>
#include <sstream>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/effects/cFxFlyScore.h"
#include "game/effects/cFxFlyScorePic.h"
#include "game/restaurant/ItemId.h"
#include "game/scoring/cTempBonuses.h"

namespace {

constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
const cVector2 kEffectOffset(80.0f, 30.0f);

const wchar_t* const kEntryKeys[SCORE_ENTRY_COUNT] = {
    L"drink_1", L"cake_1", L"snack_1", L"coffee_1", L"cream", L"cotton_candy", L"sub_1", L"sub_2", L"sub_3",
    L"souse_1", L"heating", L"deliver", L"take", L"penalty", L"tip1", L"tip2", L"star"};
const wchar_t* const kStringKeys[3] = {L"take", L"deliver", L"pay"};
const wchar_t* const kComboPrefixes[3] = {L"take_", L"deliver_", L"money_"};
const char* const kSoundStems[3] = {"sounds/game/waiter_takes", "sounds/game/waiter_brings",
                                    "sounds/game/waiter_money_take"};

cStringW decimal(int32_t value) {
    std::wostringstream out;
    out << value;
    return cStringW(out.str());
}

bool bonusModeOn() {
    cTempBonuses* bar = getTempBonuses();
    return bar && bar->isBonusMode();
}

void play(const cStringA& name) {
    if (cSound* sound = getSound()) sound->playSample(name);
}

}  // namespace

cScoreTable::cScoreTable() = default;

cScoreTable::cScoreTable(cSceneNode* level) : m_level(level) { loadConfig(); }

cScoreTable::~cScoreTable() = default;

cStringA cScoreTable::fileName(int32_t world) {
    return cStringA("Config/Game/scores") + (world == 2 ? "2" : world == 3 ? "3" : "1") + ".ini";
}

void cScoreTable::loadConfig() {
    cGameData* data = getGameData();
    const cStringA name = fileName(data ? data->getWorld() : 1);
    cResourceManager* resources = getResourceManager();
    if (!resources) throw std::string("Resource '") + name.c_str() + "' is not loaded.";
    const cIniFile& ini = *resources->getIni(name);
    for (int i = 0; i < SCORE_ENTRY_COUNT; ++i) stringToInt(&m_entries[i], ini.getValue(L"SCORES", kEntryKeys[i]));
    for (int k = 0; k < 3; ++k) m_strings[k] = ini.getValue(L"STRINGS", kStringKeys[k]);
    for (int n = 1; n <= kMaxRun; ++n)
        for (int k = 0; k < 3; ++k)
            stringToInt(&m_combo[k][n - 1], ini.getValue(cStringW(L"COMBO"), cStringW(kComboPrefixes[k]) + decimal(n)));
}

int32_t cScoreTable::getEntry(int32_t index) const {
    return index >= 0 && index < SCORE_ENTRY_COUNT ? m_entries[index] : 0;
}

int32_t cScoreTable::getProductPoints(int32_t item) const {
    switch (item) {
    case ITEM_DRINK: return m_entries[SCORE_DRINK];
    case ITEM_CAKE: return m_entries[SCORE_CAKE];
    case ITEM_SNACK: return m_entries[SCORE_SNACK];
    case ITEM_COTTON_CANDY_1:
    case ITEM_COTTON_CANDY_2: return m_entries[SCORE_COTTON_CANDY];
    case ITEM_COFFEE: return m_entries[SCORE_COFFEE];
    case ITEM_COFFEE_CREAM: return m_entries[SCORE_COFFEE] + m_entries[SCORE_CREAM];
    default: break;
    }
    if (item < ITEM_FIRST_SUB || item > ITEM_LAST_SUB) return 0;
    const int32_t offset = item - ITEM_FIRST_SUB;
    const int32_t bread = offset / 14;          // 0..2
    const int32_t sauces = (offset % 14) / 2;   // 0..6
    const int32_t baked = offset % 2;
    const int32_t count = sauces == 0 ? 0 : sauces <= 3 ? 1 : 2;
    return m_entries[SCORE_SUB_1 + bread] + count * m_entries[SCORE_SAUCE] + baked * m_entries[SCORE_HEATING];
}

void cScoreTable::awardTake(const cVector2& position) {
    awardAction(position, ACTION_TAKE, m_entries[SCORE_TAKE]);
    if (cTempBonuses* bar = getTempBonuses()) bar->onTake();
}

void cScoreTable::awardDeliver(const cVector2& position) {
    awardAction(position, ACTION_DELIVER, m_entries[SCORE_DELIVER]);
    if (cTempBonuses* bar = getTempBonuses()) bar->onDeliver();
}

void cScoreTable::awardPay(const cVector2& position, int32_t amount) {
    awardAction(position, ACTION_PAY, amount);
    if (cTempBonuses* bar = getTempBonuses()) bar->onPay();
}

void cScoreTable::awardAction(const cVector2& position, int32_t kind, int32_t points) {
    if (kind < ACTION_TAKE || kind > ACTION_PAY) return;
    if (kind == m_last_kind) {
        ++m_run;
    } else {
        m_last_kind = kind;
        m_run = 1;
    }
    m_run = std::min(m_run, kMaxRun);
    const bool bonus = bonusModeOn();
    if (bonus) points += m_combo[kind][m_run - 1];
    if (m_run > 1) {
        if (cStatistics* stats = getStatistics()) {
            if (kind == ACTION_TAKE) stats->countTakeCombo(m_run);
            else if (kind == ACTION_DELIVER) stats->countDeliverCombo(m_run);
            else stats->countMoneyCombo(m_run);
        }
    }
    play(cStringA(kSoundStems[kind]) + (m_run > 1 ? std::to_string(m_run) : std::string()) + ".ogg");
    const cStringW text = decimal(points);
    const cVector2 at = position.plus(kEffectOffset);
    if (m_level) {
        if (m_run == 1)
            new cFxFlyScore(m_level, text, at, 0, kGreen, false);
        else if (!bonus)
            new cFxFlyScorePic(m_level, static_cast<unsigned>(m_run), at, kind + 1);
        else
            new cFxFlyScore(m_level, m_strings[kind] + decimal(m_run) + L"/n" + text, at, kind + 1, kGreen, false);
    }
    if (cGameData* data = getGameData()) data->setScore(data->getScore() + points);
}

void cScoreTable::applyPenalty(const cVector2& position) {
    const int32_t penalty = m_entries[SCORE_PENALTY];
    if (penalty >= 0) return;
    breakRun();
    if (m_level) new cFxFlyScore(m_level, decimal(penalty), position, 0, kWhite, true);
    if (cGameData* data = getGameData()) data->setScore(std::max(0, data->getScore() + penalty));
}

cScoreTable* getScores() { return cScoreTable::instance(); }
