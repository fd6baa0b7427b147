#pragma once
// The fixture of the waitress tests: the characters' fixture plus her configuration, her
// sheets, a small path graph and click targets that record what she does to them.
// - speed 100 / 200 / 300 px/s in worlds 1 / 2 / 3 (the restaurant fixture plays graphics
//   set 2, world 2), +50 from upgrade 2, +1000 in bonus mode; off_sprite (0,-10);
// - runs of 0.4 s, looped; stands of 0.5 s, not looped, 2 frames; idle pauses of 1.9 to 3.2 s
//   (whole seconds 1 to 3) and up to 2 runs empty-handed, 5 s and 1 run with one item, 7 s
//   and 3 runs with two; hand offsets (d, 1) right and (-d, 2) left for direction d;
// - the graph: a corridor C1 (100,300) - C2 (300,300) - C3 (500,300), each with a table
//   below (T1 (100,400) ...) and a station above (S1 (100,200) ...), all links both ways;
//   tables 1 to 3 stand on T1 to T3.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cXmlNode.h"
#include "game/characters/cWaitress.h"
#include "game/effects/cFxTrail.h"
#include "game/effects/cFxWaiterStar.h"
#include "game/restaurant/cHandItem.h"
#include "game/restaurant/cOrderCloud.h"
#include "tests/game/characters/CharacterTestSupport.h"

namespace waitress_test {

using namespace characters_test;

// The built Data folder and one of its files as bytes (empty when missing).
inline const std::filesystem::path kDataFolder = std::filesystem::path(RW_DIST_DIR) / "Data";
inline std::string readDataFile(const std::string& name) {
    std::ifstream in(kDataFolder / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
// The control point of an element under "Objects" of a paths document; (0,0) when absent.
inline cVector2 controlPointOf(const cXmlNode& root, const char* element) {
    const cXmlNode *objects = nullptr, *node = nullptr;
    float xy[2] = {0.0f, 0.0f};
    if (root.getChild("Objects", objects) && objects->getChild(element, node))
        parseVector2(xy, node->getAttribute(L"control_point"));
    return cVector2(xy[0], xy[1]);
}

inline std::string waitressIni(const std::string& stand = "anim_looped=\"0\"\nanim_length=\"0.5\"\n"
                                                          "min_anim_time=\"1.9\"\nmax_anim_time=\"3.2\"\ncount_cycles=\"2\"\n") {
    const char* const directions[9] = {"STAND", "RUN_L", "RUN_DR", "RUN_D", "RUN_DL", "RUN_R", "RUN_UR", "RUN_U", "RUN_UL"};
    std::string t = "[COMMON]\nspeed_move_world_1=\"100\"\nspeed_move_world_2=\"200\"\nspeed_move_world_3=\"300\"\n"
                    "inc_speed_move=\"50\"\ntemp_speed_up=\"1000\"\noff_sprite=\"0,-10\"\n";
    for (int d = 0; d < 9; ++d) {
        t += std::string("[") + directions[d] + "]\nanim_frame_count=\"2\"\nanim_frame_size=\"40,80\"\n" +
             "off_right_hand=\"" + std::to_string(d) + ",1\"\noff_left_hand=\"" + std::to_string(-d) + ",2\"\n";
        t += d == 0 ? stand : "anim_looped=\"1\"\nanim_length=\"0.4\"\n";
    }
    t += "[STAND_1]\nanim_looped=\"0\"\nanim_length=\"0.5\"\nanim_frame_count=\"2\"\nmin_anim_time=\"5\"\n"
         "max_anim_time=\"5\"\ncount_cycles=\"1\"\n"
         "[STAND_2]\nanim_looped=\"0\"\nanim_length=\"0.5\"\nanim_frame_count=\"2\"\nmin_anim_time=\"7\"\n"
         "max_anim_time=\"7.9\"\ncount_cycles=\"3\"\n";
    return t;
}

inline std::string graphPaths() {
    std::string t = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints>";
    int n = 0;
    auto point = [&](const std::string& at, const std::vector<std::string>& next) {
        t += "<POINT_" + std::to_string(++n) + " position=\"" + at + "\"";
        for (size_t k = 0; k < next.size(); ++k) t += " point_" + std::to_string(k + 1) + "=\"" + next[k] + "\"";
        t += "/>";
    };
    for (int i = 0; i < 3; ++i) {
        const std::string x = std::to_string(100 + 200 * i);
        std::vector<std::string> corridor = {x + ",400", x + ",200"};
        if (i > 0) corridor.push_back(std::to_string(200 * i - 100) + ",300");
        if (i < 2) corridor.push_back(std::to_string(300 + 200 * i) + ",300");
        point(x + ",300", corridor);
        point(x + ",400", {x + ",300"});
        point(x + ",200", {x + ",300"});
    }
    t += "</PathPoints><Objects>";
    for (int i = 0; i < 3; ++i)
        t += "<TABLE_ORDER_" + std::to_string(i + 1) + " control_point=\"" + std::to_string(100 + 200 * i) + ",400\"/>";
    return t + "</Objects></paths>";
}

// A click target of any kind that records the values she passes and accepts them unless told
// otherwise; it keeps an accepted value as its state.
class FakeTarget : public cPicture, public cClickTarget {
public:
    FakeTarget(cSceneNode* parent, int32_t kind, const cVector2& controlPoint, int32_t state = 0)
        : cPicture(parent), cClickTarget(this), kind(kind) {
        setControlPoint(controlPoint);
        storeState(state);
    }
    int32_t getKind() const override { return kind; }
    bool setState(int32_t value) override {
        calls.push_back(value);
        if (refuse) return false;
        storeState(value);
        return true;
    }
    void showClickEffect() override { ++clickEffects; }
    void set(int32_t state) { storeState(state); }
    int shownPointers() const {
        return (getPointer(0)->isVisible() ? 1 : 0) + (getPointer(1)->isVisible() ? 1 : 0);
    }

    int32_t kind;
    bool refuse = false;
    std::vector<int32_t> calls;
    int clickEffects = 0;
};

class RecordingScoring : public cWaitressScoring {
public:
    struct Award {
        char what;   // 't' take, 'd' deliver, 'p' pay
        cVector2 position;
        int32_t amount;
    };
    std::vector<Award> awards;
    void awardTake(const cVector2& p) override { awards.push_back({'t', p, 0}); }
    void awardDeliver(const cVector2& p) override { awards.push_back({'d', p, 0}); }
    void awardPay(const cVector2& p, int32_t amount) override { awards.push_back({'p', p, amount}); }
};

inline const cVector2 kC1(100, 300), kC2(300, 300), kC3(500, 300);
inline const cVector2 kT1(100, 400), kT2(300, 400), kT3(500, 400);
inline const cVector2 kS1(100, 200), kS2(300, 200), kS3(500, 200);

class WaitressTest : public CharacterTest {
protected:
    cWaitress* waitress = nullptr;
    RecordingScoring scoring;
    std::array<cTable*, 6> tables{};

    void SetUp() override {
        CharacterTest::SetUp();
        if (HasFatalFailure()) return;
        makeBar();
        look.world = 2;
        look.waitressLevel = 1;
        for (int code = 0; code < 27; ++code) services.addTexture(waitressSheet(code).str(), 80, 80);
        try {
            addIni(kWaitressIni, waitressIni());
            resources->unload(cStringA("Packs/Paths/s0p1.xml"));
            addFile("Packs/Paths/s0p1.xml", file_test::utf16(widen(graphPaths())));
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    void TearDown() override {
        waitress = nullptr;
        if (getLevel()) getLevel()->setTables({});
        CharacterTest::TearDown();
    }
    cWaitress* makeWaitress(const cVector2& start = kT1) {
        waitress = new cWaitress(level, start);
        waitress->show();
        waitress->enable();
        waitress->setScoring(&scoring);
        return waitress;
    }
    // Tables 1 to 3 on T1 to T3, installed in the level.
    void makeTables() {
        for (int n = 1; n <= 3; ++n) tables[n - 1] = makeTable(n);
        getLevel()->setTables(tables);
    }
    FakeTarget* target(int32_t kind, const cVector2& at, int32_t state = 0) {
        auto* t = new FakeTarget(level, kind, at, state);
        t->show();
        t->enable();
        return t;
    }
    // A click on a target where she stands: queued in the first frame, acted on in the next.
    void clickHere(cClickTarget* t) {
        waitress->addTarget(t);
        frame(0.01f);
        frame(0.01f);
    }
    void hold(ItemId right, ItemId left) {
        waitress->giveHand(0, right);
        waitress->giveHand(1, left);
    }
    std::pair<ItemId, ItemId> hands() const { return {waitress->getHandItem(0), waitress->getHandItem(1)}; }
};

}  // namespace waitress_test
