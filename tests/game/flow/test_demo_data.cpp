// The lists of files that the game flow loads, walked in the built Data folder: the sound
// declarations, the music table, the level packs and the path graph of every level, the
// loading screens, the cursor, the fader and the tutorial hints. A missing file, a missing
// required key or a value outside what the game can use fails with the file's name: the game
// itself would stop on a fatal "not loaded", or stay silent or invisible.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cString.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/ImageDecoder.h"
#include "engine/scene/cPicture.h"
#include "game/data/GameConstants.h"
#include "game/data/LevelPack.h"
#include "game/data/cProfile.h"
#include "game/flow/cLevel.h"
#include "game/scoring/cScoreTable.h"
#include "game/scoring/cTempBonuses.h"
#include "platform/audio/Audio.h"
#include "tests/game/flow/LevelFixture.h"
#include "tests/game/flow/TestPack.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

// Names are looked up lower-cased; the Data folder holds lower-case names only.
std::string lower(std::string name) { return cStringA(name).makeLower(); }

fs::path onDisk(const std::string& name) { return kData / lower(name); }

bool readFile(const std::string& name, std::string* bytes) {
    std::ifstream in(onDisk(name), std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::unique_ptr<cIniFile> loadIni(const std::string& name) {
    std::string bytes;
    if (!readFile(name, &bytes)) {
        ADD_FAILURE() << name << ": missing";
        return nullptr;
    }
    auto ini = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(name));
    // Without the byte-order mark or with LF line ends every key would read as missing.
    if (ini->isEmpty()) ADD_FAILURE() << name << ": no entries (UTF-16LE with BOM and CR LF?)";
    return ini;
}

std::unique_ptr<cXmlNode> loadXml(const std::string& name) {
    std::string bytes;
    if (!readFile(name, &bytes)) {
        ADD_FAILURE() << name << ": missing";
        return nullptr;
    }
    try {
        return cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(name));
    } catch (...) {
        ADD_FAILURE() << name << ": malformed XML";
        return nullptr;
    }
}

// The texture decoded, or an empty image after a failure naming the file and its user.
cImage loadTexture(const std::string& name, const std::string& user) {
    std::string bytes;
    if (!readFile(name, &bytes)) {
        ADD_FAILURE() << user << ": texture " << name << " is missing";
        return {};
    }
    try {
        return decodeImage(bytes.data(), bytes.size());
    } catch (...) {
        ADD_FAILURE() << user << ": texture " << name << " cannot be decoded";
        return {};
    }
}

std::string value(const cIniFile& ini, const wchar_t* section, const std::wstring& key) {
    return wideToUtf8(ini.getValue(cStringW(section), cStringW(key)));
}

// A required key: its value, or a failure naming the file.
std::string required(const cIniFile& ini, const std::string& file, const wchar_t* section, const std::wstring& key) {
    std::string v = value(ini, section, key);
    if (v.empty()) ADD_FAILURE() << file << ": [" << wideToUtf8(section) << "] " << wideToUtf8(key) << " is missing";
    return v;
}

// An integer key: the value, or `fallback` when missing; unreadable text fails.
int32_t integer(const cIniFile& ini, const std::string& file, const wchar_t* section, const std::wstring& key,
                int32_t fallback) {
    std::string text = value(ini, section, key);
    if (text.empty()) return fallback;
    int32_t v = INT32_MIN;
    stringToInt(&v, cStringW(ini.getValue(cStringW(section), cStringW(key))));
    if (v == INT32_MIN) ADD_FAILURE() << file << ": " << wideToUtf8(key) << "=\"" << text << "\" is no number";
    return v;
}

std::wstring wide(const std::string& text) { return cStringA(text).toWide(); }

// Folders that resource groups load whole: a loading screen's textures must lie elsewhere, or
// the screen's unload by name takes them from the group that also uses them. Prefixes match
// textually, as the scans do.
const char* const kScannedFolders[] = {
    "config", "fonts", "packs", "menu/cursor", "menu/buttons", "game/interface/buttons", "game/interface/surfaces",
    "game/effects", "game/worlds/common", "game/characters", "menu/custom", "comics", "menu/surfaces",
    "shop/interface", "shop/icons", "shop/preview", "minigame1", "game/worlds/1/items", "game/worlds/2/items",
    "game/worlds/3/items", "game/worlds/1/cream_st", "game/worlds/2/cream_st", "game/worlds/3/cream_st",
    "game/worlds/1/trash", "game/worlds/2/trash", "game/worlds/3/trash"};

bool inScannedFolder(const std::string& name) {
    const std::string l = lower(name);
    return std::any_of(std::begin(kScannedFolders), std::end(kScannedFolders),
                       [&](const char* folder) { return l.rfind(folder, 0) == 0; });
}

}  // namespace

TEST(DemoData, SoundDeclarationsNameSoundsThatExist) {
    const char* const files[] = {"Config/Game/sounds_game_interface.ini", "Config/Game/sounds_game.ini",
                                 "Config/Menu/sounds_menu.ini", "Config/Shop/sounds_shop.ini",
                                 "Config/Minigame1/sounds_minigame1.ini"};
    std::map<std::string, std::string> declared;   // sound -> file
    for (const char* file : files) {
        auto ini = loadIni(file);
        if (!ini) continue;
        int n = 1;
        for (;; ++n) {
            const std::wstring section = L"SOUND_" + std::to_wstring(n);
            const std::string sound = wideToUtf8(ini->getValue(cStringW(section), cStringW(L"sound")));
            if (sound.empty()) break;
            const std::string where = std::string(file) + " [" + wideToUtf8(section) + "]";
            if (!declared.emplace(sound, where).second) ADD_FAILURE() << where << ": " << sound << " declared twice";
            std::string bytes;
            if (!readFile(sound, &bytes)) ADD_FAILURE() << where << ": " << sound << " is missing";
            else if (bytes.compare(0, 4, "OggS") != 0) ADD_FAILURE() << where << ": " << sound << " is no OGG file";
            if (sound != lower(sound)) ADD_FAILURE() << where << ": " << sound << " is not lower case as the code plays it";
            // Every sound is played as a sample: a stream is never found by the sample player.
            EXPECT_EQ(integer(*ini, where, section.c_str(), L"streaming", 0), 0) << where;
            const int32_t channels = integer(*ini, where, section.c_str(), L"chanells", 4);
            EXPECT_TRUE(channels >= 1 && channels <= 10) << where << ": chanells " << channels;
            const int32_t volume = integer(*ini, where, section.c_str(), L"volume", 100);
            EXPECT_TRUE(volume >= 0 && volume <= 100) << where << ": volume " << volume;
        }
        // The list ends at the first gap: a later section would never be loaded.
        for (int k = n + 1; k <= n + 50; ++k)
            EXPECT_FALSE(ini->hasSection(cStringW(L"SOUND_" + std::to_wstring(k)))) << file << ": SOUND_" << k << " after a gap";
    }
    // The sounds the flow code plays by name.
    std::vector<std::string> played = {"panel_appear", "panel_disappear", "cheat", "expert", "goal", "score_star",
                                       "combo_mode", "combo_mode_off"};
    for (int run = 2; run <= 7; ++run) played.push_back("score_star" + std::to_string(run));
    for (std::string& name : played) name = "sounds/game_interface/" + name + ".ogg";
    for (const char* firework : {"firework01", "firework02", "firework03"}) played.push_back(std::string("sounds/game/") + firework + ".ogg");
    for (const char* action : {"waiter_takes", "waiter_brings", "waiter_money_take"})
        for (int run = 1; run <= 6; ++run)
            played.push_back(std::string("sounds/game/") + action + (run > 1 ? std::to_string(run) : "") + ".ogg");
    ASSERT_EQ(played.size(), 35u);
    for (const std::string& name : played) EXPECT_TRUE(declared.count(name)) << name << " is declared in no sound file";
}

// Every OGG of the Data folder decoded: a sound peaks at -6 dBFS at most and a music track at
// -9 dBFS, so that sounds over the music keep below full scale in play.
TEST(DemoData, SoundsAndMusicLeaveHeadroom) {
    const float soundCeiling = std::pow(10.0f, -6.0f / 20.0f), musicCeiling = std::pow(10.0f, -9.0f / 20.0f);
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".ogg") continue;
        const std::string name = fs::relative(entry.path(), kData).generic_string();
        std::string bytes;
        ASSERT_TRUE(readFile(name, &bytes)) << name;
        std::shared_ptr<const platform::audio::Pcm> pcm;
        try {
            pcm = platform::audio::decodeOgg(bytes.data(), bytes.size());
        } catch (const std::string& text) {
            ADD_FAILURE() << name << ": " << text;
            continue;
        }
        float peak = 0.0f;
        for (float v : pcm->frames) peak = std::max(peak, std::fabs(v));
        const bool music = name.rfind("music/", 0) == 0;
        EXPECT_LE(peak, music ? musicCeiling : soundCeiling)
            << name << " peaks at " << 20.0f * std::log10(peak) << " dBFS";
        EXPECT_GT(peak, 0.0f) << name << " is silent";
        ++files;
    }
    EXPECT_GT(files, 50u);
}

TEST(DemoData, MusicTableNamesTracksThatExist) {
    const std::string file = "Config/Common/music.ini";
    auto ini = loadIni(file);
    ASSERT_TRUE(ini);
    std::vector<std::string> ids;
    for (const wchar_t* key : {L"game1", L"game2", L"game3", L"minigame"}) ids.push_back(required(*ini, file, L"MUSIC", key));
    std::string playlist = required(*ini, file, L"MUSIC", L"mainmenu");
    size_t menuTracks = 0;
    for (size_t at = 0; (at = playlist.find_first_not_of(" \t", at)) != std::string::npos; ++menuTracks) {
        size_t end = playlist.find_first_of(" \t", at);
        ids.push_back(playlist.substr(at, end - at));
        at = end == std::string::npos ? playlist.size() : end;
    }
    EXPECT_GE(menuTracks, 1u) << file << ": the main-menu playlist is empty";
    for (const std::string& id : ids) {
        if (id.empty()) continue;
        const std::string track = required(*ini, file, L"MUSIC", L"music_" + wide(id));
        if (track.empty()) continue;
        std::string bytes;
        if (!readFile(track, &bytes)) ADD_FAILURE() << file << ": music_" << id << " names " << track << ", which is missing";
        else EXPECT_EQ(bytes.compare(0, 4, "OggS"), 0) << file << ": " << track << " is no OGG file";
    }
}

TEST(DemoData, LoadingScreensShowTexturesOutsideTheScannedFolders) {
    struct Screen {
        const char* file;
        std::vector<const wchar_t*> textures;
    } screens[] = {
        {"Config/Menu/loader.ini", {L"texture_loading", L"texture_progress"}},
        {"Config/Menu/loader_start.ini", {L"texture_background", L"texture_logo", L"texture_loading", L"texture_progress"}},
    };
    for (const Screen& screen : screens) {
        auto ini = loadIni(screen.file);
        if (!ini) continue;
        cImage bar;
        for (const wchar_t* key : screen.textures) {
            const std::string name = required(*ini, screen.file, L"COMMON", key);
            if (name.empty()) continue;
            EXPECT_FALSE(inScannedFolder(name)) << screen.file << ": " << name << " lies in a folder a resource group scans";
            cImage image = loadTexture(name, screen.file);
            if (std::wstring(key) == L"texture_progress") bar = image;
        }
        // The bar shows its rectangle of the bar texture, growing to the right.
        float rect[4] = {0, 0, 256, 128};
        parseRect(rect, ini->getValue(cStringW(L"COMMON"), cStringW(L"rect_progress")));
        EXPECT_TRUE(rect[0] >= 0 && rect[1] >= 0 && rect[2] > rect[0] && rect[3] > rect[1] && rect[2] <= float(bar.width) &&
                    rect[3] <= float(bar.height))
            << screen.file << ": rect_progress " << rect[0] << "," << rect[1] << "," << rect[2] << "," << rect[3]
            << " outside the " << bar.width << "x" << bar.height << " bar texture";
    }
}

TEST(DemoData, CursorShowsThreeAlwaysLoadedLooksAboveEverything) {
    const std::string file = "Config/Common/cursor.ini";
    auto ini = loadIni(file);
    ASSERT_TRUE(ini);
    for (const wchar_t* key : {L"picture_normal", L"picture_active", L"picture_pressed"}) {
        const std::string name = required(*ini, file, L"COMMON", key);
        if (name.empty()) continue;
        EXPECT_EQ(lower(name).rfind("menu/cursor/", 0), 0u) << file << ": " << name << " is not loaded in every state";
        cImage look = loadTexture(name, file);
        EXPECT_TRUE(look.width > 0 && look.height > 0) << file << ": " << name;
    }
    float deep = 0;
    stringToFloat(&deep, ini->getValue(cStringW(L"COMMON"), cStringW(L"deep")));
    EXPECT_GT(deep, 8400.0f) << file << ": deep must lie above the level's fader";
    for (const wchar_t* key : {L"visible", L"enabled"}) {
        const std::string v = value(*ini, L"COMMON", key);
        EXPECT_TRUE(v.empty() || v == "1") << file << ": " << wideToUtf8(key) << "=\"" << v << "\" hides the cursor";
    }
}

TEST(DemoData, FaderAndTutorialHintsExist) {
    // The fader is stretched over the screen by its scale (400,300): opaque black, 2 x 2 or more.
    const std::string fader = "Game/Interface/Surfaces/black_pixel.dds";
    cImage black = loadTexture(fader, "the level's fader");
    EXPECT_TRUE(black.width >= 2 && black.height >= 2) << fader << " is " << black.width << "x" << black.height;
    for (uint32_t pixel : black.pixels) {
        EXPECT_EQ(pixel, 0xFF000000u) << fader << " is not opaque black";
        if (pixel != 0xFF000000u) break;
    }
    loadTexture("Game/Interface/Hints/hint_sub.dds", "the common game files");
    const int hints[] = {12, 14, 9, 11};   // bubbles of tutorial levels 1 to 4
    for (int level = 1; level <= 4; ++level)
        for (int k = 1; k <= hints[level - 1]; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, "Game/Interface/Hints/%dhint%02d.dds", level, k);
            loadTexture(name, "the world-1 list of level " + std::to_string(level));
        }
    loadTexture("Game/Interface/Hints/hint_arrow.dds", "the world-1 list of levels 1 to 4");
}

namespace {

using Position = std::pair<float, float>;

Position position(const cXmlNode* node, const wchar_t* attribute) {
    float v[2] = {0, 0};
    parseVector2(v, node->getAttribute(attribute));
    return {v[0], v[1]};
}

std::string text(Position p) {
    return std::to_string(int(p.first)) + "," + std::to_string(int(p.second));
}

// The rules the waitress and the restaurant objects need of a paths document: every object
// the layout builds stands on a node, and every node reaches every other along the one-way
// edges (she starts at table 1 and always ends a walk on a control point).
void checkPathGraph(const std::string& file, int sauce, int places) {
    auto doc = loadXml(file);
    if (!doc) return;
    const cXmlNode* points = levelpack::child(doc.get(), "PathPoints");
    const cXmlNode* objects = levelpack::child(doc.get(), "Objects");
    ASSERT_TRUE(points && objects) << file << ": PathPoints or Objects is missing";
    std::map<Position, std::vector<Position>> graph;
    for (int n = 1; n <= 199; ++n) {
        const cXmlNode* point = levelpack::child(points, ("POINT_" + std::to_string(n)).c_str());
        if (!point) continue;
        const Position at = position(point, L"position");
        EXPECT_NE(at, Position(0, 0)) << file << ": POINT_" << n << " at 0,0";
        std::vector<Position> next;
        for (int k = 1;; ++k) {
            const Position p = position(point, (L"point_" + std::to_wstring(k)).c_str());
            if (p == Position(0, 0)) break;
            next.push_back(p);
        }
        if (!next.empty()) graph[at] = next;
    }
    EXPECT_EQ(levelpack::child(points, "POINT_200"), nullptr) << file << ": POINT_200 and above are never read";
    for (const auto& [at, next] : graph)
        for (const Position& p : next) EXPECT_TRUE(graph.count(p)) << file << ": " << text(at) << " leads to " << text(p) << ", no node";

    std::vector<std::string> built = {"DRINK_STATION", "CAKE_STATION", "SNACK_STATION", "CREAM_STATION",
                                      "COFFEE_STATION", "COTTON_STATION", "OVEN", "TRASH"};
    for (int t = 1; t <= 6; ++t) built.push_back("TABLE_ORDER_" + std::to_string(t));
    if (sauce) built.push_back("SOUSE_STATION");
    for (int p = 1; p <= places; ++p) built.push_back("SUB_PLACE_" + std::to_string(p));
    for (const std::string& element : built) {
        const cXmlNode* object = levelpack::child(objects, element.c_str());
        if (!object) {
            ADD_FAILURE() << file << ": no " << element;
            continue;
        }
        const Position at = position(object, L"control_point");
        EXPECT_TRUE(graph.count(at)) << file << ": " << element << " stands at " << text(at) << ", no node of the graph";
    }

    // Strongly connected: every node reached from the first along the edges and against them.
    if (graph.empty()) return;
    std::map<Position, std::vector<Position>> reverse;
    for (const auto& [at, next] : graph)
        for (const Position& p : next) reverse[p].push_back(at);
    for (const auto* edges : {&graph, &reverse}) {
        std::set<Position> reached{graph.begin()->first};
        std::vector<Position> open{graph.begin()->first};
        while (!open.empty()) {
            const Position at = open.back();
            open.pop_back();
            auto it = edges->find(at);
            if (it == edges->end()) continue;
            for (const Position& p : it->second)
                if (reached.insert(p).second) open.push_back(p);
        }
        for (const auto& node : graph)
            EXPECT_TRUE(reached.count(node.first))
                << file << ": " << text(node.first) << (edges == &graph ? " cannot be reached from " : " cannot reach ")
                << text(graph.begin()->first);
    }
}

}  // namespace

TEST(DemoData, LevelPacksHoldEveryLevelAndTheirPathGraphsExist) {
    std::set<std::string> graphsUsed;
    // The campaign's packs, and the test pack that tests start from the command line.
    std::vector<std::pair<const char*, uint32_t>> packs;
    for (const char* pack : game::kPackFilesOnDisk) packs.emplace_back(pack, uint32_t(game::kLevelsPerWorld));
    packs.emplace_back(restaurant_test::kTestPack, 1u);
    for (const auto& [pack, count] : packs) {
        auto doc = loadXml(pack);
        if (!doc) continue;
        EXPECT_EQ(levelpack::countLevels(doc.get()), count) << pack << ": count_levels";
        // Within a pack a level has at least the stations of the level before it.
        uint32_t sauces[3] = {0, 0, 0}, places[3] = {0, 0, 0};
        for (uint32_t n = 1; n <= count; ++n) {
            const cXmlNode* level = levelpack::findLevel(doc.get(), n);
            if (!level) {
                ADD_FAILURE() << pack << ": Level_" << n << " is missing";
                continue;
            }
            int sauce = 0, place = 0;
            for (int i = 0; i < 3; ++i) {
                levelpack::readUnsigned(level, kUpgradeAttributes[PA_SAUCE_1 - PA_DRINK + i], &sauces[i]);
                levelpack::readUnsigned(level, kUpgradeAttributes[PA_SUB_PLACE_1 - PA_DRINK + i], &places[i]);
                if (sauces[i] != 0) sauce = 1;
                if (places[i] != 0) ++place;
            }
            const std::string graph = std::string(game::kPathsPrefix) + std::to_string(sauce) + "p" + std::to_string(place) + ".xml";
            if (!fs::exists(onDisk(graph))) ADD_FAILURE() << pack << ": Level_" << n << " needs " << graph << ", which is missing";
            graphsUsed.insert(graph);
        }
    }
    EXPECT_FALSE(graphsUsed.empty());
    // Shop upgrades add sub places and sauce stations: every layout's graph is shipped and sound.
    for (int sauce = 0; sauce <= 1; ++sauce)
        for (int place = 0; place <= 3; ++place)
            checkPathGraph(std::string(game::kPathsPrefix) + std::to_string(sauce) + "p" + std::to_string(place) + ".xml", sauce,
                           place);
}

// The score files of the three worlds and the bonus bar's file hold every key the score table
// and the bar read: a missing key reads 0 without a word, so a level would pay nothing for a
// product or never fill its bar.
TEST(DemoData, ScoreAndBonusFilesHoldEveryKey) {
    const wchar_t* const scoreKeys[] = {L"drink_1", L"cake_1",  L"snack_1", L"coffee_1", L"cream",   L"cotton_candy",
                                        L"sub_1",   L"sub_2",   L"sub_3",   L"souse_1",  L"heating", L"deliver",
                                        L"take",    L"penalty", L"tip1",    L"tip2",     L"star"};
    for (int world = 1; world <= 3; ++world) {
        const std::string file = cScoreTable::fileName(world);
        auto ini = loadIni(file);
        if (!ini) continue;
        std::map<std::wstring, int32_t> scores;
        for (const wchar_t* key : scoreKeys)
            if (!required(*ini, file, L"SCORES", key).empty()) scores[key] = integer(*ini, file, L"SCORES", key, 0);
        // Only a negative penalty is taken from an angry customer's table.
        EXPECT_LT(scores[L"penalty"], 0) << file;
        for (const wchar_t* key : {L"take", L"deliver", L"drink_1", L"star"}) EXPECT_GT(scores[key], 0) << file << ": " << wideToUtf8(key);
        for (const wchar_t* key : {L"take", L"deliver", L"pay"}) required(*ini, file, L"STRINGS", key);
        for (const char* action : {"take_", "deliver_", "money_"})
            for (int run = 1; run <= cScoreTable::kMaxRun; ++run) {
                const std::wstring key = wide(action + std::to_string(run));
                if (!required(*ini, file, L"COMBO", key.c_str()).empty())
                    EXPECT_GE(integer(*ini, file, L"COMBO", key, 0), 0) << file << ": " << wideToUtf8(key);
            }
    }

    const std::string file = cTempBonuses::kFileName;
    auto ini = loadIni(file);
    ASSERT_TRUE(ini);
    for (const wchar_t* key : {L"tempo_perc", L"bonus_time", L"bonus_delay"}) {
        float v = -1.0f;
        stringToFloat(&v, cStringW(wide(required(*ini, file, L"BONUS", key))));
        EXPECT_GE(v, 0.0f) << file << ": " << wideToUtf8(key);
    }
    float bonusTime = 0.0f;
    stringToFloat(&bonusTime, ini->getValue(cStringW(L"BONUS"), cStringW(L"bonus_time")));
    EXPECT_GT(bonusTime, 0.0f) << file << ": a bonus mode of no time";
    // The bar reads pay_n for collecting money; money_n is the score files' name.
    for (const char* action : {"take_", "deliver_", "pay_"})
        for (int run = 1; run <= cScoreTable::kMaxRun; ++run) {
            const std::wstring key = wide(action + std::to_string(run));
            if (!required(*ini, file, L"COMBO", key.c_str()).empty())
                EXPECT_GT(integer(*ini, file, L"COMBO", key, 0), 0) << file << ": " << wideToUtf8(key);
        }
    for (int run = 1; run <= cScoreTable::kMaxRun; ++run)
        EXPECT_TRUE(value(*ini, L"COMBO", wide("money_" + std::to_string(run))).empty())
            << file << ": money_" << run << " is never read";

    // The test pack's combo is filled by two takes in a row.
    auto pack = loadXml(restaurant_test::kTestPack);
    ASSERT_TRUE(pack);
    int32_t combo = -1;
    levelpack::readInt(levelpack::findLevel(pack.get(), 1), L"combo_sum", &combo);
    EXPECT_EQ(combo, restaurant_test::kTestPackCombo);
    EXPECT_GT(combo, 0);
    EXPECT_LE(combo, integer(*ini, file, L"COMBO", L"take_1", 0) + integer(*ini, file, L"COMBO", L"take_2", 0))
        << restaurant_test::kTestPack << ": two takes do not fill its bar";
}

namespace {

struct Box {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    bool overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

std::string text(const Box& b) {
    return "(" + std::to_string(int(b.left)) + "," + std::to_string(int(b.top)) + ")-(" + std::to_string(int(b.right)) + "," +
           std::to_string(int(b.bottom)) + ")";
}

// Where the sprite is drawn: its four corners as the renderer places them.
Box drawnBox(cSprite* sprite) {
    const cRenderQuad& q = sprite->getQuad();
    Box b;
    for (int v = 0; v < 4; ++v) {
        const cVector2 c = q.transformedCorner(v);
        b.left = std::min(b.left, c.x);
        b.right = std::max(b.right, c.x);
        b.top = std::min(b.top, c.y);
        b.bottom = std::max(b.bottom, c.y);
    }
    return b;
}

bool shown(cSprite* sprite) {
    if (!sprite->isVisible() || sprite->getLayerTexture(0).isEmpty()) return false;
    for (unsigned v = 0; v < 4; ++v)
        if (sprite->getVertexAlpha(v) > 0) return true;
    return false;
}

void collectShown(cSceneNode* node, std::vector<cSprite*>* out) {
    for (cSceneNode* child : node->getChildren()) {
        if (cSprite* sprite = dynamic_cast<cSprite*>(child); sprite && shown(sprite)) out->push_back(sprite);
        collectShown(child, out);
    }
}

// The drawn box of a picture loaded from a section of a configuration file.
Box sectionBox(cSceneNode* parent, const cIniFile& ini, const wchar_t* section) {
    cPicture picture(parent);
    picture.loadFromIni(ini, cStringW(section));
    return drawnBox(&picture);
}

class RestaurantLayout : public game_test::LevelFixture {
protected:
    // Every station, sauce and plate installed (or none of the optional ones), and the decor
    // upgrades at the given band, for the game data's level.
    void install(bool all, int band) {
        const int on = all ? 1 : 0;
        data->setSauce1Level(on, 0);
        data->setSauce2Level(on, 0);
        data->setSauce3Level(on, 0);
        data->setSubPlace2Level(on, 0);
        data->setSubPlace3Level(on, 0);
        for (auto setter : {&cGameData::setCoffeeLevel, &cGameData::setCakeLevel, &cGameData::setSnackLevel, &cGameData::setCreamLevel,
                            &cGameData::setOven2Level, &cGameData::setCotton2Level})
            (data.get()->*setter)(on, 0);
        for (auto setter : {&cGameData::setFloorLevel, &cGameData::setWallLevel, &cGameData::setTablesLevel, &cGameData::setCounterLevel,
                            &cGameData::setInterior1Level, &cGameData::setInterior2Level})
            (data.get()->*setter)(band, 0);
    }
    // The bottom of the status panel's bar across the top of the screen.
    float barBottom() {
        const cIniFile* ini = getResourceManager()->getIni(cStringA("Config/Game/gi_panel_status.ini"));
        if (!ini) return 0;
        const Box bar = sectionBox(root, *ini, L"ADD_PANEL");
        EXPECT_LE(bar.top, 0.0f);
        EXPECT_GE(bar.right - bar.left, 800.0f) << "the bar spans the screen";
        return bar.bottom;
    }
};

// Decor that passes by the windows and comes in from beyond the screen's edges by design.
bool passesBy(const std::string& texture) {
    const std::string t = lower(texture);
    return t.find("/horse") != std::string::npos || t.find("/character0") != std::string::npos ||
           t.find("/balloon") != std::string::npos;
}

}  // namespace

TEST_F(RestaurantLayout, EveryWorldsRestaurantLiesOnTheScreenBelowTheStatusBar) {
    const float top = barBottom();
    ASSERT_GT(top, 0.0f);
    // A day and a night level of each world, with every station or only the required ones.
    for (int number : {19, 18, 39, 38, 57, 60})
        for (bool all : {true, false}) {
            const int band = all ? 2 : 0;
            data->setLevel(number);
            install(all, band);
            SCOPED_TRACE("level " + std::to_string(number) + (all ? ", everything installed" : ", the least installed"));
            cLevel* built = buildCurrent();
            ASSERT_NE(built, nullptr);
            std::vector<cSprite*> sprites;
            collectShown(built, &sprites);
            EXPECT_GT(sprites.size(), 25u);
            for (cSprite* sprite : sprites) {
                // The restaurant: the worlds' rooms, stations, tables and items, and the
                // characters (not the level's fader and effects).
                const std::string texture = sprite->getLayerTexture(0).str();
                const std::string name = lower(texture);
                if (name.rfind("game/worlds/", 0) != 0 && name.rfind("game/characters/", 0) != 0) continue;
                if (passesBy(texture)) continue;
                const Box b = drawnBox(sprite);
                EXPECT_TRUE(b.left >= 0 && b.right <= 800 && b.top >= top && b.bottom <= 600)
                    << texture << " is drawn at " << text(b) << ", outside 0..800 x " << top << "..600";
            }
        }
    // The guests (not seated yet when a level is built) at each of their six seats, with their
    // mood above them.
    for (int kind = 1; kind <= 9; ++kind) {
        const std::string name = "Config/Game/c_0" + std::to_string(kind) + ".ini";
        const cIniFile* ini = getResourceManager()->getIni(cStringA(name));
        ASSERT_NE(ini, nullptr) << name;
        cPicture guest(root);
        guest.loadFromIni(*ini, cStringW(L"COMMON"));
        for (int seat = 1; seat <= 6; ++seat) {
            float p[2] = {-1e4f, -1e4f};
            parseVector2(p, ini->getValue(cStringW(L"COMMON"), cStringW(L"position_") + intToString(seat)));
            guest.setPosition(cVector2(p[0], p[1]));
            Box b = drawnBox(&guest);
            b.top -= 52 + 16;   // the mood mark
            EXPECT_TRUE(b.left >= 0 && b.right <= 800 && b.top >= top && b.bottom <= 600)
                << name << " seat " << seat << " at " << text(b);
        }
    }
}

TEST_F(RestaurantLayout, NoStatusMarkCoversATutorialHint) {
    const cIniFile* status = getResourceManager()->getIni(cStringA("Config/Game/gi_panel_status.ini"));
    ASSERT_NE(status, nullptr);
    const Box marks[] = {sectionBox(root, *status, L"GOAL_PIC"), sectionBox(root, *status, L"EXPERT_PIC")};
    for (const Box& mark : marks) EXPECT_GT(mark.right - mark.left, 20.0f);
    for (int n = 1; n <= 4; ++n) {
        // The tutorial level loads its bubbles.
        data->setLevel(n);
        install(false, 0);
        ASSERT_NE(buildCurrent(), nullptr);
        const std::string name = "config/game/hints_" + std::to_string(n) + ".ini";
        const std::unique_ptr<cIniFile> ini = loadIni(name);
        ASSERT_NE(ini, nullptr) << name;
        int bubbles = 0;
        for (int k = 1; !ini->getValue(cStringW(L"HINT_") + intToString(k), cStringW(L"position")).isEmpty(); ++k, ++bubbles) {
            const cStringW section = cStringW(L"HINT_") + intToString(k);
            const Box bubble = sectionBox(root, *ini, section.c_str());
            EXPECT_GT(bubble.right - bubble.left, 100.0f) << name << " " << section.toNarrow();
            for (const Box& mark : marks)
                EXPECT_FALSE(bubble.overlaps(mark)) << name << " " << section.toNarrow() << " at " << text(bubble) << " lies under the mark at " << text(mark);
        }
        EXPECT_GT(bubbles, 5) << name;
    }
}
