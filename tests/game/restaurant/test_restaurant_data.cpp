// The restaurant's demo data in the built Data folder: every texture the tables, clouds and
// items name, built for every graphics set and band, lies in Data and in the lists the game
// state loads; and the configuration keeps the rules without which money scores nothing, a
// table cannot be clicked or a level never ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <algorithm>
#include <set>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cBitmapFont.h"
#include "game/effects/EffectSupport.h"
#include "game/data/WorldTextures.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cHandItem.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cRoom.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTable.h"
#include "game/restaurant/cTrash.h"
#include "game/data/LevelPack.h"
#include "game/data/StationTextures.h"
#include "game/flow/cLevel.h"
#include "tests/engine/scene/SceneTestSupport.h"
#include "tests/game/restaurant/StationBuild.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";
// Folders every game state loads whole.
const char* const kCommonFolders[] = {"game/worlds/common/", "game/effects/", "game/interface/surfaces/"};

std::string lower(const std::string& s) { return cStringA(s).makeLower().str(); }

class RestaurantData : public SceneTest {
protected:
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    cLevelLook look;
    cSceneNode* level = nullptr;

    void SetUp() override {
        SceneTest::SetUp();
        files = std::make_unique<cFileManager>(cStringA(kData.string()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        resources->loadFolder("config", true, 11);
        resources->loadFolder("packs", true, 11);
        setLevelLookOverride(&look);
        level = new cSceneNode();
    }
    void TearDown() override {
        delete level;
        setLevelLookOverride(nullptr);
        resources.reset();
        files.reset();
        SceneTest::TearDown();
    }
    const cIniFile& ini(const char* name) { return *resources->getIni(cStringA(name)); }
    static bool inWorldList(int set, const std::string& name) {
        const std::string n = lower(name);
        for (const char* folder : kCommonFolders)
            if (n.rfind(folder, 0) == 0) return true;
        for (const std::string& folder : world_textures::scannedFolders(set))
            if (n.rfind(lower(folder) + "/", 0) == 0) return true;
        for (const std::string& file : world_textures::allUpgradeAndTimeFiles(set))
            if (lower(file) == n) return true;
        return false;
    }
    // Every picture a holder shows for any id, with its overlays.
    static void collect(cItemHolder* holder, std::set<std::string>& names) {
        for (int id = 0; id < kItemCount; ++id) {
            holder->setState(id);
            for (cPicture* p : {static_cast<cPicture*>(holder), holder->getSouseOverlay(), holder->getSouse1Overlay(),
                                holder->getHotOverlay()})
                if (p->isOwnVisible()) names.insert(p->getPicture().str());
        }
    }
};

TEST_F(RestaurantData, EveryNameBuiltForEverySetAndBandIsInDataAndInTheWorldList) {
    look.pathsFileName = "Packs/Paths/s0p1.xml";
    for (int set = 1; set <= 3; ++set)
        for (int band : {1, 2}) {
            look.graphicsSet = set;
            world_textures::Upgrades& u = look.upgrades;
            u.drink = u.cake = u.snack = u.cotton1 = u.cotton2 = u.tables = band;
            std::set<std::string> names;
            for (int n = 1; n <= 6; ++n) {
                cTable* table = new cTable(level, n);
                names.insert(table->getPicture().str());
                names.insert(table->getDollar()->getPicture().str());
                names.insert(table->getPointer(0)->getPicture().str());
                cOrderCloud* cloud = table->getCloud();
                for (cPicture* p : {static_cast<cPicture*>(cloud), cloud->getSecondBubble(), cloud->getFirstRed(),
                                    cloud->getSecondRed()})
                    names.insert(p->getPicture().str());
                if (n == 1) {
                    collect(table->getMoneyBox(0), names);
                    collect(cloud->getFirstItem(), names);
                }
                delete table;
            }
            cHandItem* hand = new cHandItem(level, 1);
            collect(hand, names);
            delete hand;
            names.insert(world_textures::commonItemTexture("money_glow", false));
            EXPECT_GE(names.size(), 30u);
            for (const std::string& name : names) {
                ASSERT_FALSE(name.empty()) << "set " << set;
                EXPECT_TRUE(fs::is_regular_file(kData / lower(name))) << name;
                EXPECT_TRUE(inWorldList(set, name)) << name << " is not loaded in set " << set;
            }
        }
}

TEST_F(RestaurantData, TablesScoreInBonusModeCanBeClickedAndShowTheirCloudsOnlyWhenOrdered) {
    const cIniFile& tables = ini(kTableIni);
    int32_t multiplier = 0;
    stringToInt(&multiplier, tables.getValue(L"COMMON", L"temp_multiplier"));
    EXPECT_GE(multiplier, 1);
    uint32_t colour = 0;
    EXPECT_TRUE(stringToULong(&colour, tables.getValue(L"COMMON", L"fx_money_color")) && colour != 0)
        << "a decimal colour";
    const cIniFile& clouds = ini(kCloudIni);
    for (int set = 1; set <= 3; ++set) {
        const cIniFile& boxes = ini(tablePolygonIni(set));
        for (int n = 1; n <= 6; ++n) {
            const cStringW section = L"TABLE_" + std::to_wstring(n);
            EXPECT_EQ(tables.getValue(section, L"centered"), cStringW(L"0")) << n;
            // The polygon: at least three corners, clockwise, its centre inside.
            std::vector<cVector2> corners;
            for (int k = 1;; ++k) {
                cVector2 v(-1, -1);
                readVector(boxes, section.c_str(), (L"v" + std::to_wstring(k)).c_str(), &v);
                if (v == cVector2(-1, -1)) break;
                corners.push_back(v);
            }
            ASSERT_GE(corners.size(), 3u) << set << " " << n;
            cVector2 centre;
            for (const cVector2& c : corners) centre += c / float(corners.size());
            for (size_t i = 0; i < corners.size(); ++i)
                EXPECT_TRUE(cClickTarget::isInsideEdge(centre, corners[i], corners[(i + 1) % corners.size()]))
                    << "set " << set << " table " << n << " edge " << i;
            for (const std::wstring suffix : {L"", L"_RED"})
                EXPECT_EQ(clouds.getValue(L"CLOUD_" + std::to_wstring(n) + suffix, L"visible"), cStringW(L"0")) << n;
        }
    }
}

TEST_F(RestaurantData, ItemsHaveAOncePlayedMoneyOfSevenFramesAndEveryFamilyKey) {
    const cIniFile& items = ini(kItemsIni);
    EXPECT_EQ(items.getValue(L"MONEY", L"anim_looped"), cStringW(L"0"));
    uint32_t frames = 0;
    stringToUnsigned(&frames, items.getValue(L"MONEY", L"anim_frame_count"));
    EXPECT_GE(frames, 7u);
    float length = 0.0f;
    readFloat(items, L"MONEY", L"anim_length", &length);
    EXPECT_GT(length, 0.0f);
    int keys = 0;
    for (const wchar_t* family : {L"DRINK", L"CAKE", L"SNACK", L"COTTONCANDY", L"COFFEE", L"SUBS"}) {
        EXPECT_FALSE(items.getValue(family, L"off_cloud").isEmpty()) << cStringA(cStringW::narrow(family));
        for (const wchar_t* hand : {L"off_right_hand_", L"off_left_hand_"})
            for (const wchar_t* d : {L"stand", L"l", L"dr", L"d", L"dl", L"r", L"ur", L"u", L"ul"})
                keys += items.getValue(family, cStringW(hand) + d).isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(keys, 108);
}

TEST_F(RestaurantData, EveryPathsDocumentPlacesTheTablesOnNodesOfItsGraph) {
    for (int sauce = 0; sauce <= 1; ++sauce)
        for (int places = 0; places <= 3; ++places) {
            const std::string name = "Packs/Paths/s" + std::to_string(sauce) + "p" + std::to_string(places) + ".xml";
            const cXmlNode* root = resources->getXml(cStringA(name));
            const cXmlNode *points = nullptr, *objects = nullptr;
            ASSERT_TRUE(root->getChild("PathPoints", points) && root->getChild("Objects", objects)) << name;
            std::set<std::wstring> nodes;
            for (int i = 0; i < points->getChildCount(); ++i) {
                const cXmlNode* point = nullptr;
                points->getChildAt(size_t(i), point);
                nodes.insert(point->getAttribute(L"position"));
            }
            for (int n = 1; n <= 6; ++n) {
                const cXmlNode* table = nullptr;
                ASSERT_TRUE(objects->getChild(cStringA("TABLE_ORDER_" + std::to_string(n)), table)) << name << " " << n;
                EXPECT_TRUE(nodes.count(table->getAttribute(L"control_point"))) << name << " table " << n;
            }
        }
}

}  // namespace

namespace {

// The level packs of the demo data, with the world each one plays.
const struct {
    const char* pack;
    int world;
} kPacks[] = {{"Packs/1/pack.qpk", 1}, {"Packs/1/pack2.qpk", 1}, {"Packs/2/pack.qpk", 2}, {"Packs/3/pack.qpk", 3}};

int32_t upgradeOf(const cXmlNode* level, const wchar_t* name) {
    int32_t v = 0;
    levelpack::readInt(level, name, &v);
    return v;
}

// The look of a pack's level: its stations' upgrades, graphics set, world and paths document.
void readLevelLook(const cXmlNode* node, int world, cLevelLook& look) {
    world_textures::Upgrades& u = look.upgrades;
    u = {};
    u.drink = upgradeOf(node, L"is_drink"), u.cake = upgradeOf(node, L"is_cake");
    u.snack = upgradeOf(node, L"is_snack"), u.coffee = upgradeOf(node, L"is_coffee");
    u.cream = upgradeOf(node, L"is_cream"), u.cotton1 = upgradeOf(node, L"is_cotton_1");
    u.cotton2 = upgradeOf(node, L"is_cotton_2"), u.oven1 = upgradeOf(node, L"is_oven_1");
    u.oven2 = upgradeOf(node, L"is_oven_2"), u.sauce1 = upgradeOf(node, L"is_souse_1");
    u.sauce2 = upgradeOf(node, L"is_souse_2"), u.sauce3 = upgradeOf(node, L"is_souse_3");
    u.sub1 = upgradeOf(node, L"is_sub_1"), u.sub2 = upgradeOf(node, L"is_sub_2"), u.sub3 = upgradeOf(node, L"is_sub_3");
    u.subPlace1 = upgradeOf(node, L"is_sub_place_1"), u.subPlace2 = upgradeOf(node, L"is_sub_place_2");
    u.subPlace3 = upgradeOf(node, L"is_sub_place_3");
    look.graphicsSet = upgradeOf(node, L"num_graphics_set");
    look.world = world;
    const bool sauce = station_textures::sauceUpgradeCount(u) > 0;
    const int places = (u.subPlace1 > 0) + (u.subPlace2 > 0) + (u.subPlace3 > 0);
    look.pathsFileName = cStringA("Packs/Paths/s" + std::to_string(sauce ? 1 : 0) + "p" + std::to_string(places) + ".xml");
}

}  // namespace

// Every level of every pack builds its stations from the data: their files are loaded, every
// picture they set is in Data and in the level's world list, every clickable part stands on a
// node of the level's path graph and can be hovered at the centre of its polygon.
TEST_F(RestaurantData, EveryDemoLevelBuildsItsStations) {
    cLevel stand_in_level;
    int levels = 0;
    resources->registerExtension(cStringA("qpk"), RESOURCE_XML);
    for (const auto& p : kPacks) {
        resources->unload(cStringA(p.pack));
        resources->load(cStringA(p.pack), 11);
        const cXmlNode* pack = resources->getXml(cStringA(p.pack));
        for (uint32_t n = 1; n <= levelpack::countLevels(pack); ++n) {
            const cXmlNode* node = levelpack::findLevel(pack, n);
            ASSERT_NE(node, nullptr);
            readLevelLook(node, p.world, look);
            const world_textures::Upgrades& u = look.upgrades;
            const int level = (p.world - 1) * 20 + int(n);
            const std::string what = std::string(p.pack) + " level " + std::to_string(n);
            station_test::BuiltStations built;
            try {
                built = station_test::buildStations(&stand_in_level);
            } catch (const std::string& text) {
                FAIL() << what << ": " << text;
            } catch (const char* text) {
                FAIL() << what << ": " << text;
            }
            ++levels;
            const std::vector<std::string> list = world_textures::singleFiles(look.graphicsSet, p.world, level, u);
            for (const std::string& name : built.pictures) {
                EXPECT_TRUE(fs::is_regular_file(kData / lower(name))) << what << ": " << name;
                const bool listed = std::find(list.begin(), list.end(), name) != list.end();
                EXPECT_TRUE(listed || inWorldList(look.graphicsSet, name)) << what << ": " << name << " is not loaded";
            }
            // Placement and polygons: on a node, and hovered at the polygon's centre.
            const cXmlNode* root = resources->getXml(look.pathsFileName);
            const cXmlNode* points = nullptr;
            ASSERT_TRUE(root->getChild("PathPoints", points));
            std::set<std::pair<float, float>> nodes;
            for (int i = 0; i < points->getChildCount(); ++i) {
                const cXmlNode* point = nullptr;
                points->getChildAt(size_t(i), point);
                float xy[2] = {-1, -1};
                parseVector2(xy, point->getAttribute(L"position"));
                nodes.insert({xy[0], xy[1]});
            }
            for (cClickTarget* t : built.targets) {
                const cVector2 c = t->getControlPoint();
                EXPECT_TRUE(nodes.count({c.x, c.y})) << what << ": kind " << t->getKind() << " at " << c.x << "," << c.y;
                const std::vector<cVector2>& poly = t->getHitPolygon();
                ASSERT_GE(poly.size(), 3u) << what << ": kind " << t->getKind();
                cVector2 centre;
                for (const cVector2& v : poly) centre += v / float(poly.size());
                for (size_t i = 0; i < poly.size(); ++i)
                    EXPECT_TRUE(cClickTarget::isInsideEdge(centre, poly[i], poly[(i + 1) % poly.size()]))
                        << what << ": kind " << t->getKind() << " is not clockwise";
            }
            built.release();
        }
    }
    EXPECT_EQ(levels, 80);
}

// The rules without which a station stalls, shows nothing or cannot be heard twice at once.
TEST_F(RestaurantData, StationRunsStandLengthsLightsAndTheTrashSound) {
    auto runOf = [&](const char* file, const wchar_t* section) {
        const cIniFile& f = ini(file);
        int32_t looped = 1;
        uint32_t frames = 0;
        float length = 0.0f;
        stringToInt(&looped, f.getValue(section, L"anim_looped"));
        stringToUnsigned(&frames, f.getValue(section, L"anim_frame_count"));
        readFloat(f, section, L"anim_length", &length);
        EXPECT_EQ(looped, 0) << file;
        EXPECT_GE(frames, 2u) << file;
        EXPECT_GT(length, 0.0f) << file;
    };
    runOf("Config/Game/o_drink_station.ini", L"COMMON");
    runOf("Config/Game/o_snack_station.ini", L"COMMON");
    runOf("Config/Game/o_cream_station.ini", L"COMMON");
    runOf("Config/Game/o_cake_station.ini", L"COVER");
    runOf("Config/Game/o_trash.ini", L"COMMON");
    runOf("Config/Game/o_souse_station.ini", L"COMMON");
    runOf("Config/Game/o_oven.ini", L"OPEN");
    runOf("Config/game/o_oven_progress.ini", L"PROGRESS_1");
    runOf("Config/game/o_oven_progress.ini", L"PROGRESS_2");
    float standLength = 0.0f;
    readFloat(ini("Config/Game/o_coffee_station.ini"), L"STAND", L"anim_length", &standLength);
    EXPECT_GT(standLength, 0.0f);
    for (const wchar_t* s : {L"STEAM"}) {
        EXPECT_EQ(ini("Config/Game/o_coffee_station.ini").getValue(s, L"visible"), cStringW(L"0"));
        EXPECT_EQ(ini("Config/Game/o_oven.ini").getValue(s, L"visible"), cStringW(L"0"));
    }
    for (const wchar_t* oven : {L"OVEN_1", L"OVEN_2"}) {
        cVector2 v;
        readVector(ini("Config/Game/o_oven.ini"), oven, L"item_velocity", &v);
        EXPECT_GT(v.length(), 0.0f);
        EXPECT_FALSE(ini("Config/Game/o_oven.ini").getValue(oven, L"steam_scale").isEmpty());
    }
    EXPECT_FALSE(ini("Config/Game/o_coffee_station.ini").getValue(L"COMMON", L"steam_scale").isEmpty());
    const cIniFile& cotton = ini("Config/Game/o_cotton_st.ini");
    EXPECT_FALSE(cotton.getValue(L"COMMON", L"highlight_alpha").isEmpty());
    for (const wchar_t* light : {L"LIGHT", L"LIGHT2"}) {
        float speed = 0.0f;
        readFloat(cotton, light, L"speed_move", &speed);
        EXPECT_GT(speed, 0.0f);
        EXPECT_EQ(cotton.getValue(light, L"visible"), cStringW(L"0"));
        EXPECT_FALSE(cotton.getValue(light, L"v2").isEmpty());
    }
    // The trash may start two plays in one frame.
    const cIniFile& sounds = ini("Config/Game/sounds_game.ini");
    bool found = false;
    for (int n = 1; n < 200 && !found; ++n) {
        const cStringW section = L"SOUND_" + std::to_wstring(n);
        if (sounds.getValue(section, L"sound") == cStringW(L"sounds/game/trash.ogg")) {
            int32_t channels = 0;
            stringToInt(&channels, sounds.getValue(section, L"chanells"));
            EXPECT_GE(channels, 2);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

// Every level of every pack builds its sub counter and its room from the data, with the decor
// plain and upgraded: every picture they show (plates with each sub, breads plain and being
// made, the hint, every shown room part) is in Data and in the level's world list.
TEST_F(RestaurantData, EveryDemoLevelBuildsItsCounterAndRoom) {
    cLevel stand_in_level;
    int built = 0;
    resources->registerExtension(cStringA("qpk"), RESOURCE_XML);
    for (const auto& p : kPacks) {
        resources->unload(cStringA(p.pack));
        resources->load(cStringA(p.pack), 11);
        const cXmlNode* pack = resources->getXml(cStringA(p.pack));
        for (uint32_t n = 1; n <= levelpack::countLevels(pack); ++n)
            for (int band : {0, 2}) {
                const cXmlNode* node = levelpack::findLevel(pack, n);
                ASSERT_NE(node, nullptr);
                readLevelLook(node, p.world, look);
                world_textures::Upgrades& u = look.upgrades;
                u.floor = u.wall = u.tables = u.counter = u.interior1 = u.interior2 = u.sandwichMaker = band;
                ASSERT_EQ(look.graphicsSet, p.world) << "a pack keeps its graphics set to its world";
                look.level = (p.world - 1) * 20 + int(n);
                const std::string what = std::string(p.pack) + " level " + std::to_string(n) + " band " + std::to_string(band);
                std::set<std::string> names;
                cTrash* trash = nullptr;
                cSubStation* counter = nullptr;
                cRoom* room = nullptr;
                try {
                    trash = new cTrash(&stand_in_level);
                    counter = new cSubStation(&stand_in_level);
                    room = buildRoom(&stand_in_level);
                } catch (const std::string& text) {
                    FAIL() << what << ": " << text;
                } catch (const char* text) {
                    FAIL() << what << ": " << text;
                }
                ++built;
                EXPECT_EQ(room->getWorld(), p.world);
                EXPECT_NE(room->getTimeOfDay(), world_textures::TimeOfDay::None) << what;
                for (cPicture* part : room->getPictures())
                    if (part->isOwnVisible()) names.insert(part->getPicture().str());
                for (int i = 0; i < 3; ++i) {
                    if (cSub* sub = counter->getSub(i)) {
                        sub->setMaking(true);
                        names.insert(sub->getPicture().str());
                        sub->setMaking(false);
                        names.insert(sub->getPicture().str());
                    }
                    if (cSubPlace* plate = counter->getPlace(i))
                        for (int32_t id : {0, 11, 25, 39}) {
                            plate->setState(id);
                            names.insert(plate->getPicture().str());
                        }
                }
                EXPECT_EQ(counter->getSubCount() > 0, counter->getPlaceCount() > 0) << what;
                names.insert(counter->getHint()->getPicture().str());
                const std::vector<std::string> list = world_textures::singleFiles(look.graphicsSet, p.world, look.level, u);
                for (const std::string& name : names) {
                    ASSERT_FALSE(name.empty()) << what;
                    EXPECT_TRUE(fs::is_regular_file(kData / lower(name))) << what << ": " << name;
                    const bool listed = std::find(list.begin(), list.end(), name) != list.end();
                    EXPECT_TRUE(listed || inWorldList(look.graphicsSet, name)) << what << ": " << name << " is not loaded";
                }
                delete room;
                delete counter;
                delete trash;
            }
    }
    EXPECT_EQ(built, 160);
}
