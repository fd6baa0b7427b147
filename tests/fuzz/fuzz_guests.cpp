// Reads the input as a level element of a level pack and plays its script: the generator
// loads the guests, computes the goals, and seeded frames run over six tables whose guests a
// stand-in waitress serves now and then while thieves go for the money. Any input must give a
// text failure or a script that runs: no crash, no endless loop, no position or timer that is
// not a number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cCustomerGenerator.h"
#include "game/characters/cThief.h"
#include "game/effects/EffectRegistry.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cTable.h"
#include "game/scoring/cScoreTable.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Prices : public cScoreTable {
public:
    int32_t getEntry(int32_t index) const override { return index == SCORE_TAKE || index == SCORE_DELIVER ? 10 : 0; }
    int32_t getProductPoints(int32_t item) const override { return 5 * item; }
};

std::string utf16(const std::string& ascii, bool ini) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) {
        if (ini && c == '\n') out.append("\r\0", 2);
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

std::string guestIni() {
    std::string t = "[COMMON]\nappear_time=\"0.3\"\nwait_time=\"16\"\norder_time=\"1\"\ndisappear_time=\"0.3\"\n"
                    "combo_mode_order_time=\"0.5\"\nappear_distance=\"30\"\nappear_distance_time=\"0.3\"\n"
                    "disappear_distance=\"30\"\ndisappear_distance_time=\"0.3\"\nmin_anim_time=\"1\"\nmax_anim_time=\"2\"\n";
    for (const char* s : {"STAND_HAPPY", "STAND_ANGRY", "ORDER", "EXIT_HAPPY"})
        t += std::string("[") + s + "]\npicture=\"g.dds\"\nanim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"2\"\n";
    return t + "[MOOD]\nanim_frame_count=\"8\"\nanim_length=\"0.8\"\n";
}

std::string thiefIni() {
    std::string t = "[COMMON]\nspeed_move=\"200\"\nappear_time=\"0.3\"\nappear_distance=\"20\"\nappear_distance_time=\"0.3\"\n";
    for (int n = 1; n <= 6; ++n)
        t += "position_" + std::to_string(n) + "=\"" + std::to_string(100 * n) + ",200\"\nstart_position_" +
             std::to_string(n) + "=\"" + std::to_string(100 * n - 50) + ",200\"\n";
    return t + "[THIEF]\npicture=\"t.dds\"\nanim_looped=\"1\"\nanim_length=\"0.4\"\nanim_frame_count=\"2\"\n";
}

std::string tableIni() {
    std::string t = "[COMMON]\nanim_frame_size=\"90,60\"\ntemp_multiplier=\"2\"\n";
    for (int n = 1; n <= 6; ++n) t += "[TABLE_" + std::to_string(n) + "]\ncentered=\"0\"\nposition=\"" + std::to_string(100 * n) + ",300\"\n";
    return t;
}

std::map<std::string, std::string>& files() {
    static std::map<std::string, std::string> f;
    return f;
}

struct World {
    fuzz::FixedStepServices services;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<Prices> prices;
    cLevelLook look;
    World() {
        setSceneServices(&services);
        for (int k = 1; k <= 9; ++k) files()["config/game/c_0" + std::to_string(k) + ".ini"] = utf16(guestIni(), true);
        files()["config/game/c_thief.ini"] = utf16(thiefIni(), true);
        files()["config/game/o_table_order.ini"] = utf16(tableIni(), true);
        files()["config/game/o_items.ini"] = utf16(
            "[COMMON]\n[MONEY]\npicture=\"m.dds\"\nanim_looped=\"0\"\nanim_length=\"0.7\"\nanim_frame_count=\"7\"\n", true);
        for (const char* name : {"config/game/o_table_box1.ini", "config/game/o_cloud.ini", "config/game/fx_money.ini"})
            files()[name] = utf16("[COMMON]\n", true);
        files()["packs/paths/s0p1.xml"] =
            utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints/><Objects/></paths>", false);
        cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
            const std::string& bytes = files().at(cStringA(name).makeLower().c_str());
            return cIniFile::fromBytes(bytes.data(), bytes.size(), name).release();
        });
        cResourceManager::registerFactory(RESOURCE_XML, [](const cStringA& name, int) -> cResource* {
            const std::string& bytes = files().at(cStringA(name).makeLower().c_str());
            return cXmlNode::fromBytes(bytes.data(), bytes.size(), name).release();
        });
        resources = std::make_unique<cResourceManager>();
        for (const auto& file : files()) resources->load(cStringA(file.first.c_str()), 11);
        prices = std::make_unique<Prices>();
        look.pathsFileName = "packs/paths/s0p1.xml";
        look.upgrades.sauce1 = look.upgrades.sauce3 = look.upgrades.cotton2 = 1;
        setLevelLookOverride(&look);
    }
};

void requireNumber(float value) {
    if (std::isnan(value)) std::abort();
}

// The stand-in waitress: takes orders, serves and sometimes collects, by table number.
void serve(cTable* table, int frame) {
    const int n = table->getIndex();
    if (cCustomer* guest = table->getCustomer()) {
        requireNumber(guest->getPosition().x);
        requireNumber(guest->getTimer());
        if ((frame + n) % 7 != 0) return;
        if (guest->getStage() == STAGE_WAITING_FOR_ORDER) table->setState(ITEM_ORDER_TAKEN);
        else if (guest->getStage() == STAGE_WAITING_FOR_ITEM) table->setState(0);
    } else if (table->getState() == ITEM_MONEY && (frame + n) % 23 == 0) {
        table->setState(0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    (void)world;
    std::unique_ptr<cXmlNode> script;
    try {
        script = cXmlNode::fromBytes(data, size, cStringA("packs/fuzz/level.xml"));
    } catch (...) {
        return 0;
    }
    rwSrand(size > 0 ? data[0] : 1u);
    cSceneNode* level = new cSceneNode();
    level->show();
    level->enable();
    auto* generator = new cCustomerGenerator(level);
    cTable* tables[6] = {};
    try {
        for (int n = 0; n < 6; ++n) {
            tables[n] = new cTable(level, n + 1);
            tables[n]->show();
            tables[n]->enable();
            generator->addTable(tables[n]);
        }
        generator->loadScript(*script);
        for (uint32_t minGoal : {0u, 1u, 100u}) {
            const cCustomerGenerator::Goals goals = generator->goalsFor(minGoal, 80, 4000000000u, 120.0f);
            if (minGoal != 0 && goals.goal > 0 && goals.goal % 10 != 0) std::abort();
        }
        for (int frame = 0; frame < 400; ++frame) {
            updateTopLevelNodes(&updateNode);
            for (cTable* table : tables) serve(table, frame);
            requireNumber(generator->getThiefTimer());
            for (const auto& live : getThieves()) requireNumber(static_cast<cThief*>(live.second)->getPosition().x);
            if (getThieves().size() > 1 && frame % 50 == 0) std::abort();   // sendThief is never called here
            if (frame == 200) generator->setPatientCustomers(true);
        }
    } catch (...) {
    }
    clearThieves();
    delete level;
    updateTopLevelNodes(nullptr);
    return 0;
}
