#pragma once
// The statistics logger: collects the values of one level run from the level flow, the
// level, the scores table and the customers, and when the setting Statistics/use is on
// writes them after the level into a numbered folder "Statistics/<NN>_level_<L>[_x|_c]"
// of the common folder, as level.log, mood.log and combo.log.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

class cStatistics : public cSingleton<cStatistics> {
public:
    // What the logger needs of the rest of the program; tests replace these (set them
    // before constructing the logger).
    struct Services {
        std::function<std::string()> commonFolder;  // real folder behind "$common$/", ending in "/"
        std::function<bool()> enabled;              // setting `use` of section `Statistics`
        std::function<std::tm()> now;               // local date and time
        std::function<int32_t()> gameTotal;         // the player's game total
        std::function<void(const std::string&)> log;  // a line for the log channel "game"
    };
    static Services defaultServices();
    static Services& services();

    static constexpr int kLines = 6;
    static constexpr int kMinCombo = 2;
    static constexpr int kMaxCombo = 12;

    cStatistics();
    ~cStatistics() override;

    void reset();
    void startRecord(const cStringA& userName);
    void setLevel(int32_t v) { m_level = v; }
    void setLevelTime(int32_t v) { m_levelTime = v; }
    void setGoal(int32_t v) { m_goal = v; }
    void setExpert(int32_t v) { m_expert = v; }
    void setAmountHumans(int32_t v) { m_amountHumans = v; }
    void setTotal(int32_t v) { m_score = v; }
    void setLeftHumans(int32_t v) { m_leftHumans = v; }
    void markWon() { m_result.clear(); }
    void markFailed() { m_result = "x"; }
    void markCancelled() {
        if (m_result.empty()) m_result = "c";
    }
    void addHuman() { ++m_unservedHumans; }
    void setMaxClickCoef(float v) { m_maxClickCoef = v; }
    void setAverageClickCoef(float v) { m_averageClickCoef = v; }
    void addMoodMark(int line, int32_t value);
    void addOrderMark(int line, int item);
    void countTakeCombo(int n) { count(m_takeCombos, n); }
    void countDeliverCombo(int n) { count(m_deliverCombos, n); }
    void countMoneyCombo(int n) { count(m_moneyCombos, n); }

    bool isEnabled() const { return m_enabled; }
    const cStringA& getResult() const { return m_result; }
    const cStringA& getFolder() const { return m_folder; }

    // Chooses the folder of this record after the highest numbered one; false when the common
    // folder cannot be listed.
    bool makeFolder();
    // When enabled, writes the three logs of this record; then resets. A file that cannot
    // be written is logged and skipped.
    void writeLogs();

    // The texts of the three logs as they would be written now.
    std::string levelLogText() const;
    std::string moodLogText() const;
    std::string comboLogText() const;

    // The 7-character label of an item id in the mood log.
    static std::string orderLabel(int item);
    // The 8-character mood cell of a mood mark; an order label is taken from `orders` for 0.
    static std::string moodCell(int32_t value, std::vector<std::string>& orders);

private:
    void count(int32_t* counters, int n) {
        if (n >= kMinCombo && n <= kMaxCombo) ++counters[n - kMinCombo];
    }

    Services m_services;
    bool m_enabled = false;
    cStringA m_folder;
    cStringA m_result;
    cStringA m_userName;
    cStringA m_date;
    cStringA m_time;
    int32_t m_level = 0;
    int32_t m_levelTime = 0;
    int32_t m_goal = 0;
    int32_t m_expert = 0;
    int32_t m_score = 0;
    int32_t m_amountHumans = 0;
    int32_t m_leftHumans = 0;
    int32_t m_unservedHumans = 0;
    float m_maxClickCoef = 0.0f;
    float m_averageClickCoef = 0.0f;
    std::vector<int32_t> m_moodMarks[kLines];
    std::vector<std::string> m_orderMarks[kLines];
    int32_t m_takeCombos[kMaxCombo - kMinCombo + 1] = {};
    int32_t m_deliverCombos[kMaxCombo - kMinCombo + 1] = {};
    int32_t m_moneyCombos[kMaxCombo - kMinCombo + 1] = {};
};

inline cStatistics* getStatistics() { return cStatistics::instance(); }
