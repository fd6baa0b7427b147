#include "game/data/cStatistics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

#include "game/data/GameConstants.h"

namespace fs = std::filesystem;

namespace {

std::string floatText(float v) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << v;
    return out.str();
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) { return a.size() == b.size() && startsWith(a, b, true); }

// The number of a statistics folder: all its leading digits (0 when there are none).
unsigned long long leadingNumber(const std::string& name) {
    unsigned long long v = 0;
    for (char c : name) {
        if (c < '0' || c > '9') break;
        if (v > 1000000000000ULL) break;  // far beyond any real count; stop growing
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    return v;
}

}  // namespace

cStatistics::Services& cStatistics::services() {
    static Services s = defaultServices();
    return s;
}

cStatistics::cStatistics() : m_services(services()) {
    if (m_services.enabled) m_enabled = m_services.enabled();
    reset();
}

cStatistics::~cStatistics() = default;

void cStatistics::reset() {
    m_userName.clear();
    m_date.clear();
    m_time.clear();
    m_level = m_goal = m_expert = m_score = 0;
    m_amountHumans = m_leftHumans = m_unservedHumans = 0;
    m_maxClickCoef = m_averageClickCoef = 0.0f;
    for (int i = 0; i < kLines; ++i) {
        m_moodMarks[i].clear();
        m_orderMarks[i].clear();
    }
    std::memset(m_takeCombos, 0, sizeof m_takeCombos);
    std::memset(m_deliverCombos, 0, sizeof m_deliverCombos);
    std::memset(m_moneyCombos, 0, sizeof m_moneyCombos);
}

void cStatistics::startRecord(const cStringA& userName) {
    m_userName = userName;
    std::tm t{};
    if (m_services.now) t = m_services.now();
    char date[32], time[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
    std::snprintf(time, sizeof time, "%02d:%02d", t.tm_hour, t.tm_min);
    m_date = date;
    m_time = time;
}

void cStatistics::addMoodMark(int line, int32_t value) {
    if (line >= 1 && line <= kLines) m_moodMarks[line - 1].push_back(value);
}

void cStatistics::addOrderMark(int line, int item) {
    if (line >= 1 && line <= kLines) m_orderMarks[line - 1].push_back(orderLabel(item));
}

std::string cStatistics::orderLabel(int item) {
    switch (item) {
        case 1: return "DRINK  ";
        case 2: return "CAKE   ";
        case 3: return "SNACK  ";
        case 4: return "COTTON1";
        case 5: return "COTTON2";
        case 6: return "COFFEE ";
        case 7: return "COFF_CR";
        case 54: return "WAIT   ";
        default: break;
    }
    if (item >= 11 && item <= 52) {
        // Fourteen subs per bread: seven sauce choices, each raw then baked.
        static const char* const sauces[7] = {"00", "10", "20", "30", "12", "23", "31"};
        int i = item - 11;
        int bread = i / 14 + 1;
        int within = i % 14;
        return "SUB" + std::to_string(bread) + sauces[within / 2] + std::to_string(within % 2);
    }
    return "       ";
}

std::string cStatistics::moodCell(int32_t value, std::vector<std::string>& orders) {
    if (value == 0) {
        if (orders.empty()) return "-       ";
        std::string cell = "-" + orders.front();
        orders.erase(orders.begin());
        return cell;
    }
    if (value >= 1 && value <= 8) return std::string(static_cast<size_t>(value), 'O') + std::string(8 - static_cast<size_t>(value), ' ');
    return "        ";
}

std::string cStatistics::levelLogText() const {
    int32_t total = m_services.gameTotal ? m_services.gameTotal() : 0;
    std::string t;
    t += "user_name = " + m_userName + "\n";
    t += "date = " + m_date + "\n";
    t += "time = " + m_time + "\n\n";
    t += "level = " + std::to_string(m_level) + "\n";
    t += "level_time = " + std::to_string(m_levelTime) + "\n";
    t += "goal = " + std::to_string(m_goal) + "\n";
    t += "expert = " + std::to_string(m_expert) + "\n";
    t += "result = " + std::to_string(m_score) + "\n\n";
    t += "total = " + std::to_string(total) + "\n\n";
    t += "amount_humans = " + std::to_string(m_amountHumans) + "\n";
    t += "left_humans = " + std::to_string(m_leftHumans) + "\n";
    t += "unserved_humans = " + std::to_string(m_unservedHumans) + "\n\n";
    t += "max_click_coef = " + floatText(m_maxClickCoef) + "\n";
    t += "average_click_coef = " + floatText(m_averageClickCoef) + "\n";
    return t;
}

std::string cStatistics::moodLogText() const {
    std::vector<int32_t> moods[kLines];
    std::vector<std::string> orders[kLines];
    for (int j = 0; j < kLines; ++j) {
        moods[j] = m_moodMarks[j];
        orders[j] = m_orderMarks[j];
    }
    std::string t = "\t1\t\t2\t\t3\t\t4\t\t5\t\t6\n\n";
    size_t next[kLines] = {};
    for (int row = 1;; ++row) {
        bool allEmpty = true;
        t += std::to_string(row) + "\t";
        for (int j = 0; j < kLines; ++j) {
            if (next[j] >= moods[j].size()) {
                t += "        \t";
                continue;
            }
            allEmpty = false;
            t += moodCell(moods[j][next[j]++], orders[j]) + "\t";
        }
        t += "\n";
        if (allEmpty) break;
    }
    return t;
}

std::string cStatistics::comboLogText() const {
    std::string t;
    const char* kinds[3] = {"take_", "deliver_", "money_"};
    const int32_t* counters[3] = {m_takeCombos, m_deliverCombos, m_moneyCombos};
    for (int k = 0; k < 3; ++k)
        for (int n = kMinCombo; n <= kMaxCombo; ++n)
            t += kinds[k] + std::to_string(n) + " = " + std::to_string(counters[k][n - kMinCombo]) +
                 (n == kMaxCombo ? "\n\n" : "\n");
    return t;
}

bool cStatistics::makeFolder() {
    std::string common = m_services.commonFolder ? m_services.commonFolder() : std::string();
    if (common.empty()) return false;
    std::error_code ec;
    fs::directory_iterator it(common, ec);
    if (ec) return false;
    std::string statName;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        std::string name = it->path().filename().string();
        if (equalsIgnoreCase(name, game::kStatisticsFolder) && it->is_directory(ec)) {
            statName = name;
            break;
        }
    }
    unsigned long long number = 1;
    if (!statName.empty()) {
        // The next number follows the highest one in use, however many digits it has.
        unsigned long long highest = 0;
        fs::directory_iterator sub(fs::path(common) / statName, ec);
        if (!ec) {
            for (; sub != fs::directory_iterator(); sub.increment(ec)) {
                if (ec) break;
                std::string name = sub->path().filename().string();
                if (name.empty() || name[0] == '.' || !sub->is_directory(ec)) continue;
                highest = std::max(highest, leadingNumber(name));
            }
        }
        number = highest + 1;
    }
    std::string text = number < 10 ? "0" + std::to_string(number) : std::to_string(number);
    m_folder = std::string(game::kStatisticsFolder) + "/" + text + "_level_" + std::to_string(m_level);
    if (!m_result.empty()) m_folder += "_" + m_result;
    return true;
}

void cStatistics::writeLogs() {
    if (m_enabled && makeFolder()) {
        std::string common = m_services.commonFolder();
        // The folder on disk: an existing statistics folder keeps its spelling; a new one is
        // created in lower case, as every file the game writes.
        std::string statName;
        std::error_code ec;
        for (fs::directory_iterator it(common, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (equalsIgnoreCase(name, game::kStatisticsFolder)) statName = name;
        }
        if (statName.empty()) statName = "statistics";
        std::string record = m_folder.substr(std::strlen(game::kStatisticsFolder) + 1);
        fs::path dir = fs::path(common) / statName / record;
        fs::create_directories(dir, ec);
        const std::pair<const char*, std::string> files[3] = {
            {"level.log", levelLogText()}, {"mood.log", moodLogText()}, {"combo.log", comboLogText()}};
        for (const auto& [name, text] : files) {
            fs::path path = dir / name;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
            if (out) out.close();
            if (!out && m_services.log)
                m_services.log("  statistics: cannot write \"" + path.string() + "\", skipped");
        }
    }
    reset();
}
