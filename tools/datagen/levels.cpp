// The level packs of the Data folder are generated from readable descriptions in
// data/levels/*.lvl. One description per pack:
//
//   pack packs/1/pack.qpk       the pack file written (lower case, under the Data folder)
//   world 1                     the pack's world, also its graphics set
//   single                      a pack played alone (its name on the command line): 1 to 20
//                               levels, and any combo from 1 up (the bar pays at least 1 a step)
//   level N                     starts level N of the pack (1..20, in order)
//     time SECONDS              level_time
//     goals MIN GOAL EXPERT     min_goal, goal and expert weights
//     combo POINTS              combo_sum (0, or a multiple of 10)
//     add STATION[=V] ...       stations the level adds (value 1 unless given); a level keeps
//                               the stations of the level before it, as the game does
//     thief MIN MAX APPEAR PTS  thieves come (delay range, appear time, path points)
//     guest LINE TYPE ORDER1 ORDER2 TIME AT
//                               one customer written as given (tutorial levels)
//     crowd COUNT every S from T doubles P menu CODE ...
//                               COUNT customers arriving about every S seconds from T on,
//                               spread over the six lines, P percent with a second order,
//                               orders drawn from the codes given; the draw is repeatable
//
// Everything is checked before a pack is written: a level that could hang or break the game
// (no customer, an order its stations cannot make, a goal weight of 0) stops the build with
// the description's file and line.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "game/data/GameConstants.h"
#include "game/data/LevelPack.h"
#include "game/data/cProfile.h"
#include "tools/datagen/DataGen.h"

namespace fs = std::filesystem;

namespace {

const char* const kStations[18] = {"drink",    "cake",     "snack",    "coffee", "cream",  "cotton_1",
                                   "cotton_2", "oven_1",   "oven_2",   "souse_1", "souse_2", "souse_3",
                                   "sub_1",    "sub_2",    "sub_3",    "sub_place_1", "sub_place_2", "sub_place_3"};

struct Guest {
    int line = 0, type = 0, order1 = 0, order2 = 0;
    double time = 0, at = 0;
    bool generated = false;
};

struct Level {
    int number = 0;
    int sourceLine = 0;
    double time = 0;
    int minGoal = 0, goal = 0, expert = 0, combo = 0;
    int32_t stations[18] = {};
    bool thief = false;
    double thiefMin = 0, thiefMax = 0, thiefAppear = 0;
    int thiefPoints = 0;
    std::vector<Guest> guests;
};

struct Pack {
    std::string file;
    int world = 0;
    bool single = false;
    std::vector<Level> levels;
};

[[noreturn]] void fail(const fs::path& source, int line, const std::string& what) {
    throw std::runtime_error(source.string() + ":" + std::to_string(line) + ": " + what);
}

std::string format(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

int stationIndex(const std::string& name) {
    for (int i = 0; i < 18; ++i)
        if (name == kStations[i]) return i;
    return -1;
}

// Customers spread over the lines: arrivals about `every` seconds apart; each round of six
// customers uses every line once, in a shuffled order.
void addCrowd(Level& level, int count, double every, double from, int doubles, const std::vector<int>& menu,
              uint32_t seed) {
    rwSrand(seed);
    int lines[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < count; ++i) {
        if (i % 6 == 0)
            for (int k = 5; k > 0; --k) std::swap(lines[k], lines[rwRand() % (k + 1)]);
        Guest g;
        g.generated = true;
        g.line = lines[i % 6];
        double jitter = ((rwRand() % 1001) / 1000.0 - 0.5) * every * 0.4;
        g.at = std::max(0.5, std::round((from + i * every + jitter) * 2.0) / 2.0);
        g.type = 1 + rwRand() % game::kMaxCustomerKind;
        g.order1 = menu[static_cast<size_t>(rwRand()) % menu.size()];
        if (rwRand() % 100 < doubles) g.order2 = menu[static_cast<size_t>(rwRand()) % menu.size()];
        level.guests.push_back(g);
    }
}

Pack parse(const fs::path& source) {
    std::ifstream in(source);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    Pack pack;
    Level* level = nullptr;
    std::string text;
    int lineNo = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string word;
        if (!(words >> word)) continue;
        auto number = [&](const char* what) {
            double v;
            if (!(words >> v)) fail(source, lineNo, std::string("expected a number: ") + what);
            return v;
        };
        if (word == "pack") {
            words >> pack.file;
        } else if (word == "world") {
            pack.world = static_cast<int>(number("world"));
        } else if (word == "single") {
            pack.single = true;
        } else if (word == "level") {
            int n = static_cast<int>(number("level"));
            if (n != static_cast<int>(pack.levels.size()) + 1) fail(source, lineNo, "levels must be numbered 1, 2, ... in order");
            Level next;
            if (level) std::copy(std::begin(level->stations), std::end(level->stations), next.stations);
            next.number = n;
            next.sourceLine = lineNo;
            pack.levels.push_back(next);
            level = &pack.levels.back();
        } else if (!level) {
            fail(source, lineNo, "'" + word + "' before the first level");
        } else if (word == "time") {
            level->time = number("time");
        } else if (word == "goals") {
            level->minGoal = static_cast<int>(number("min goal"));
            level->goal = static_cast<int>(number("goal"));
            level->expert = static_cast<int>(number("expert"));
        } else if (word == "combo") {
            level->combo = static_cast<int>(number("combo"));
        } else if (word == "add") {
            std::string station;
            while (words >> station) {
                int value = 1;
                if (auto eq = station.find('='); eq != std::string::npos) {
                    std::istringstream count(station.substr(eq + 1));
                    if (!(count >> value) || !count.eof()) fail(source, lineNo, "expected a number after '=' in " + station);
                    station.erase(eq);
                }
                int i = stationIndex(station);
                if (i < 0) fail(source, lineNo, "unknown station " + station);
                level->stations[i] = std::max(level->stations[i], value);
            }
        } else if (word == "thief") {
            level->thief = true;
            level->thiefMin = number("thief min");
            level->thiefMax = number("thief max");
            level->thiefAppear = number("thief appear");
            level->thiefPoints = static_cast<int>(number("thief points"));
        } else if (word == "guest") {
            Guest g;
            g.line = static_cast<int>(number("line"));
            g.type = static_cast<int>(number("type"));
            g.order1 = static_cast<int>(number("order 1"));
            g.order2 = static_cast<int>(number("order 2"));
            g.time = number("time");
            g.at = number("at");
            level->guests.push_back(g);
        } else if (word == "crowd") {
            int count = static_cast<int>(number("count"));
            double every = 0, from = 0;
            int doubles = 0;
            std::vector<int> menu;
            std::string key;
            while (words >> key) {
                if (key == "every") every = number("every");
                else if (key == "from") from = number("from");
                else if (key == "doubles") doubles = static_cast<int>(number("doubles"));
                else if (key == "menu") {
                    int code;
                    while (words >> code) menu.push_back(code);
                } else fail(source, lineNo, "unknown crowd word " + key);
            }
            if (count < 1 || every <= 0 || menu.empty()) fail(source, lineNo, "a crowd needs a count, 'every' and a menu");
            uint32_t seed = static_cast<uint32_t>(pack.world * 7919 + level->number * 104729 + pack.file.size() * 31 +
                                                  (pack.file.find("pack2") != std::string::npos ? 1 : 0) * 15485863);
            addCrowd(*level, count, every, from, doubles, menu, seed);
        } else {
            fail(source, lineNo, "unknown word " + word);
        }
    }
    return pack;
}

// The checks that keep a level playable.
void check(const fs::path& source, const Pack& pack) {
    if (pack.file.empty()) fail(source, 1, "no 'pack' line");
    if (pack.world < 1 || pack.world > game::kWorldCount) fail(source, 1, "world must be 1 to 3");
    const int count = static_cast<int>(pack.levels.size());
    if (pack.single ? count < 1 || count > game::kLevelsPerWorld : count != game::kLevelsPerWorld)
        fail(source, 1, pack.single ? "a single pack holds 1 to " + std::to_string(game::kLevelsPerWorld) + " levels"
                                    : "a pack holds exactly " + std::to_string(game::kLevelsPerWorld) + " levels");
    for (const Level& l : pack.levels) {
        auto bad = [&](const std::string& what) { fail(source, l.sourceLine, "level " + std::to_string(l.number) + ": " + what); };
        if (l.time <= 0) bad("time must be above 0");
        if (l.minGoal <= 0) bad("min goal must be above 0");
        if (l.goal <= 0 || l.expert < l.goal) bad("goal must be above 0 and expert at least goal");
        if (l.combo < 0 || (!pack.single && l.combo % 10 != 0)) bad("combo must be 0 or a multiple of 10");
        if (l.thief && (l.thiefMin > l.thiefMax || l.thiefMax - l.thiefMin > 3.2 || l.thiefPoints < 1))
            bad("thief delays need min <= max <= min + 3.2 and at least one point");
        if (l.guests.empty()) bad("no customer");
        int32_t effective[18];
        std::copy(std::begin(l.stations), std::end(l.stations), effective);
        if (game::firstLevelOfWorld(pack.world) + l.number - 1 >= game::kCottonUpgradeFromLevel) {
            effective[PA_COTTON_1 - PA_DRINK] = std::max(effective[PA_COTTON_1 - PA_DRINK], 2);
            effective[PA_COTTON_2 - PA_DRINK] = std::max(effective[PA_COTTON_2 - PA_DRINK], 2);
        }
        if (!effective[PA_SUB_PLACE_1 - PA_DRINK]) effective[PA_SUB_PLACE_1 - PA_DRINK] = 1;  // a new profile's plate
        if (!effective[PA_SUB_1 - PA_DRINK]) effective[PA_SUB_1 - PA_DRINK] = 1;
        for (const Guest& g : l.guests) {
            std::string who = "customer at " + format(g.at) + " s in line " + std::to_string(g.line);
            if (g.line < 1 || g.line > 6) bad(who + ": line must be 1 to 6");
            if (g.type < 1 || g.type > game::kMaxCustomerKind) bad(who + ": type must be 1 to 8");
            if (!levelpack::isOrderServable(g.order1, effective, pack.world))
                bad(who + ": order " + std::to_string(g.order1) + " cannot be served");
            if (g.order2 != 0 && !levelpack::isOrderServable(g.order2, effective, pack.world))
                bad(who + ": order " + std::to_string(g.order2) + " cannot be served");
            if (g.at > l.time - 10) bad(who + ": arrives too late for the level's time");
        }
    }
}

std::string levelXml(const Pack& pack, const Level& level) {
    std::string t = "  <Level_" + std::to_string(level.number);
    auto attr = [&](const std::string& name, const std::string& value) { t += " " + name + "=\"" + value + "\""; };
    attr("num_graphics_set", std::to_string(pack.world));
    attr("min_goal", std::to_string(level.minGoal));
    attr("goal", std::to_string(level.goal));
    attr("expert", std::to_string(level.expert));
    attr("level_time", format(level.time));
    for (int i = 0; i < 18; ++i) attr(std::string("is_") + kStations[i], std::to_string(level.stations[i]));
    attr("is_thief", level.thief ? "1" : "0");
    attr("min_thief_time", format(level.thiefMin));
    attr("max_thief_time", format(level.thiefMax));
    attr("thief_appear_time", format(level.thiefAppear));
    attr("thief_count_pnt", std::to_string(level.thiefPoints));
    attr("combo_sum", std::to_string(level.combo));
    t += ">\n";
    for (int line = 1; line <= 6; ++line) {
        std::vector<Guest> guests;
        for (const Guest& g : level.guests)
            if (g.line == line) guests.push_back(g);
        if (guests.empty()) continue;
        std::stable_sort(guests.begin(), guests.end(), [](const Guest& a, const Guest& b) { return a.at < b.at; });
        // A generated customer waits at the head of its line from the arrival of the one before.
        double previous = 0;
        for (Guest& g : guests) {
            if (g.generated) g.time = std::max(0.0, g.at - previous);
            previous = g.at;
        }
        t += "    <Line_" + std::to_string(line) + ">\n";
        int n = 0;
        for (const Guest& g : guests)
            t += "      <Human_" + std::to_string(++n) + " type=\"" + std::to_string(g.type) + "\" order_1=\"" +
                 std::to_string(g.order1) + "\" order_2=\"" + std::to_string(g.order2) + "\" time=\"" + format(g.time) +
                 "\" abs_time=\"" + format(g.at) + "\" stop=\"0\"/>\n";
        t += "    </Line_" + std::to_string(line) + ">\n";
    }
    t += "  </Level_" + std::to_string(level.number) + ">\n";
    return t;
}

void generateLevels(const DataGenContext& context) {
    fs::path folder = context.source / "levels";
    if (!fs::is_directory(folder)) return;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".lvl") sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    std::set<std::string> written;
    for (const fs::path& source : sources) {
        Pack pack = parse(source);
        check(source, pack);
        if (!written.insert(pack.file).second) throw std::runtime_error(source.string() + ": pack " + pack.file + " written twice");
        fs::path target = context.out / pack.file;
        if (!isOutOfDate(target, {source})) continue;
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<pack count_levels=\"" +
                          std::to_string(pack.levels.size()) + "\">\n";
        for (const Level& level : pack.levels) xml += levelXml(pack, level);
        xml += "</pack>\n";
        std::u16string text;  // the text is ASCII
        for (unsigned char c : xml) text.push_back(c);
        writeUtf16File(target, text);
    }
}

}  // namespace

RW_DATAGEN_STEP(levels, 40, generateLevels);
