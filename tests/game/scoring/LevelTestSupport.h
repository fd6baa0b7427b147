#pragma once
// The fixture of the score, bonus-bar and level tests: the effects' world (files, resources,
// scene services with a test clock, the effects' configuration) plus game data over a pack
// built in memory, a sound manager that records samples and tempo changes, statistics that
// write nothing, and the score and bonus files of the test.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cXmlNode.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "tests/game/data/test_gamedata_fixture.h"
#include "tests/game/effects/EffectTestSupport.h"

namespace level_test {

class RecordingSound : public cSound {
public:
    std::vector<std::string> played;
    std::vector<float> tempos;
    void playSample(const cStringA& name, int) override { played.push_back(name); }
    void setMusicTempo(float tempo) override { tempos.push_back(tempo); }
    void stopAll() override { ++stops; }
    int stops = 0;
};

// Scores: products 10 (drink), 20 (cake), 30 (snack), 40 (coffee), 5 (cream), 50 (cotton
// candy), subs 100/200/300, sauce 7, heating 3; take 4, deliver 6, penalty -50, star 25.
// Combo extras (bonus mode only): take_n 10 n, deliver_n 20 n, money_n 30 n.
inline std::string scoresIni(int penalty = -50) {
    std::string t = "[SCORES]\ndrink_1=\"10\"\ncake_1=\"20\"\nsnack_1=\"30\"\ncoffee_1=\"40\"\ncream=\"5\"\n"
                    "cotton_candy=\"50\"\nsub_1=\"100\"\nsub_2=\"200\"\nsub_3=\"300\"\nsouse_1=\"7\"\nheating=\"3\"\n"
                    "deliver=\"6\"\ntake=\"4\"\npenalty=\"" + std::to_string(penalty) + "\"\ntip1=\"11\"\ntip2=\"12\"\n"
                    "star=\"25\"\n[STRINGS]\ntake=\"TAKE X\"\ndeliver=\"SERVE X\"\npay=\"CASH X\"\n[COMBO]\n";
    for (int n = 1; n <= 6; ++n)
        t += "take_" + std::to_string(n) + "=\"" + std::to_string(10 * n) + "\"\ndeliver_" + std::to_string(n) + "=\"" +
             std::to_string(20 * n) + "\"\nmoney_" + std::to_string(n) + "=\"" + std::to_string(30 * n) + "\"\n";
    return t;
}

// Bonus bar: take_n n, deliver_n 100 n, pay_n 1000 n; 10 s of bonus mode, 4 s cool-down,
// tempo 15.
inline std::string bonusIni() {
    std::string t = "[BONUS]\ntempo_perc=\"15\"\nbonus_time=\"10\"\nbonus_delay=\"4\"\n[COMBO]\n";
    for (int n = 1; n <= 6; ++n)
        t += "take_" + std::to_string(n) + "=\"" + std::to_string(n) + "\"\ndeliver_" + std::to_string(n) + "=\"" +
             std::to_string(100 * n) + "\"\npay_" + std::to_string(n) + "=\"" + std::to_string(1000 * n) + "\"\n";
    return t;
}

class LevelTest : public effects_test::EffectsTest {
protected:
    std::unique_ptr<RecordingSound> sound;
    std::unique_ptr<cStatistics> statistics;
    std::unique_ptr<cGameData> data;
    std::map<std::string, std::unique_ptr<cXmlNode>> packs;
    cStatistics::Services savedStatistics;
    cGameData::Services savedData;
    std::filesystem::path folder;

    void SetUp() override {
        EffectsTest::SetUp();
        if (HasFatalFailure()) return;
        sound = std::make_unique<RecordingSound>();
        savedStatistics = cStatistics::services();
        cStatistics::services().enabled = [] { return false; };
        cStatistics::services().log = [](const std::string&) {};
        statistics = std::make_unique<cStatistics>();
        savedData = cGameData::services();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        folder = std::filesystem::path(RW_TEST_OUTPUT_DIR) / "level" / name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        auto& s = cGameData::services();
        s.commonFolder = [this] { return folder.string() + "/"; };
        s.getPack = [this](const cStringA& pack) -> const cXmlNode* {
            auto it = packs.find(pack);
            if (it == packs.end()) throw cStringA("Resource '" + pack + "' is not loaded.");
            return it->second.get();
        };
        s.readSetting = [](const char*, const char*, int32_t*) { return false; };
        s.applyVolumes = [](int32_t, int32_t) {};
        s.sleep = [](int) {};
        s.log = [](const std::string&) {};
        try {
            for (int w = 1; w <= 3; ++w) addIni("Config/Game/scores" + std::to_string(w) + ".ini", scoresIni());
            addIni("Config/Game/temp_bonuses.ini", bonusIni());
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    void TearDown() override {
        EffectsTest::TearDown();
        data.reset();
        cGameData::services() = savedData;
        statistics.reset();
        cStatistics::services() = savedStatistics;
        sound.reset();
    }

    // Single-pack game data over one level with these attributes (world from the graphics set).
    cGameData& makeData(const gamedata_test::LevelAttributes& attributes, const std::string& lines = "") {
        std::string t = "<pack count_levels=\"1\"><Level_1";
        gamedata_test::LevelAttributes a = {{"num_graphics_set", "1"}, {"min_goal", "100"}, {"goal", "100"},
                                            {"expert", "150"}, {"level_time", "60"}};
        for (const auto& [k, v] : attributes) a[k] = v;
        for (const auto& [k, v] : a)
            if (!v.empty()) t += " " + k + "=\"" + v + "\"";
        t += ">" + lines + "</Level_1></pack>";
        packs["test.qpk"] = gamedata_test::parseXml(t, "test.qpk");
        data.reset();
        data = std::make_unique<cGameData>(false, cStringA("test.qpk"));
        return *data;
    }
    int played(const std::string& name) const {
        int n = 0;
        for (const std::string& p : sound->played) n += p == name;
        return n;
    }
};

}  // namespace level_test
