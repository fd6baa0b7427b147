#include "game/scoring/cTempBonuses.h"

#include <algorithm>
#include <string>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/effects/cFxMessage.h"
#include "game/scoring/cScoreTable.h"

namespace {

const wchar_t* const kPrefixes[3] = {L"take_", L"deliver_", L"pay_"};

void setTempo(float tempo) {
    if (cSound* sound = getSound()) sound->setMusicTempo(tempo);
}

void play(const char* name) {
    if (cSound* sound = getSound()) sound->playSample(cStringA(name));
}

}  // namespace

cTempBonuses::cTempBonuses() = default;

cTempBonuses::cTempBonuses(cSceneNode* level) : cSceneNode(level), m_level(level) {
    int decor = 0;
    if (cGameData* data = getGameData()) {
        const int32_t upgrades[] = {data->getFloorLevel(0),    data->getWallLevel(0),      data->getTablesLevel(0),
                                    data->getCounterLevel(0),  data->getInterior1Level(0), data->getInterior2Level(0)};
        for (int32_t upgrade : upgrades)
            if (upgrade > 1) ++decor;
    }
    loadConfig();
    m_head_start = m_capacity / 10 * decor;
    m_bar = m_head_start;
    setTempo(0.0f);
}

cTempBonuses::~cTempBonuses() {
    if (m_level) setTempo(0.0f);
}

void cTempBonuses::loadConfig() {
    cResourceManager* resources = getResourceManager();
    if (!resources) throw std::string("Resource '") + kFileName + "' is not loaded.";
    const cIniFile& ini = *resources->getIni(cStringA(kFileName));
    stringToFloat(&m_tempo, ini.getValue(L"BONUS", L"tempo_perc"));
    stringToFloat(&m_bonus_time, ini.getValue(L"BONUS", L"bonus_time"));
    stringToFloat(&m_bonus_delay, ini.getValue(L"BONUS", L"bonus_delay"));
    for (int k = 0; k < 3; ++k)
        for (int n = 1; n <= 6; ++n)
            stringToInt(&m_points[k][n - 1], ini.getValue(cStringW(L"COMBO"), cStringW(kPrefixes[k]) + intToString(n)));
    if (cGameData* data = getGameData())
        if (const cXmlNode* node = data->getLevelNode()) stringToInt(&m_capacity, node->getAttribute(L"combo_sum"));
    if (m_capacity < 0) m_capacity = 0;
}

void cTempBonuses::update() {
    cSceneNode::update();
    if (!m_level) return;
    const float dt = getDeltaTime();
    if (!m_bonus_mode) {
        m_delay_timer -= dt;
        if (m_delay_timer <= 0.0f) {
            m_delay_timer = 0.0f;
            if (m_capacity != 0 && m_bar >= m_capacity) {
                m_bonus_mode = true;
                m_time_left = m_bonus_time;
                m_bar = m_capacity;
                new cFxMessage(m_level, 2, cVector2(400.0f, 300.0f));
                play("sounds/game_interface/combo_mode.ogg");
                setTempo(m_tempo);
            }
        }
    } else if (!m_frozen) {
        m_time_left -= dt;
        if (m_time_left <= 0.0f) {
            m_time_left = 0.0f;
            m_delay_timer = m_bonus_delay;
            m_bar = 0;
            m_bonus_mode = false;
            play("sounds/game_interface/combo_mode_off.ogg");
            setTempo(0.0f);
        }
    }
}

void cTempBonuses::onAction(int kind) {
    ++m_runs[kind];
    if (!m_bonus_mode && m_delay_timer == 0.0f) {
        const int32_t points = m_points[kind][std::min(m_runs[kind], 6) - 1];
        m_pending += m_fast_fill ? 4 * points : points;
    }
    for (int k = 0; k < 3; ++k)
        if (k != kind) m_runs[k] = 0;
}

void cTempBonuses::commitPending() {
    m_bar = std::min(m_bar + m_pending, m_capacity);
    m_pending = 0;
}

bool cTempBonuses::isBonusMode() const { return m_bonus_mode; }

float cTempBonuses::getBarFill() const {
    float fill = 0.0f;
    if (m_bonus_mode) {
        if (m_bonus_time > 0.0f) fill = m_time_left / m_bonus_time;
    } else if (m_capacity > 0) {
        fill = static_cast<float>(m_bar) / static_cast<float>(m_capacity);
    }
    return std::clamp(fill, 0.0f, 1.0f);
}

void cTempBonuses::endBonusMode() {
    if (!m_bonus_mode) return;
    m_bar = static_cast<int32_t>(getBarFill() * static_cast<float>(m_capacity));
    m_bonus_mode = false;
    setTempo(0.0f);
}

int32_t cTempBonuses::tickEndBonus() {
    if (m_bar <= 0) return 0;
    m_bar = std::max(0, m_bar - payStep());
    const cScoreTable* scores = getScores();
    return scores ? scores->getEntry(SCORE_STAR) : 0;
}

cTempBonuses* getTempBonuses() { return cTempBonuses::instance(); }

cBonusBar* activeBonusBar() { return getTempBonuses(); }
