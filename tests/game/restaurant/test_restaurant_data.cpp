// The restaurant's demo data in the built Data folder: every texture the tables, clouds and
// items name, built for every graphics set and band, lies in Data and in the lists the game
// state loads; and the configuration keeps the rules without which money scores nothing, a
// table cannot be clicked or a level never ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cBitmapFont.h"
#include "game/effects/EffectSupport.h"
#include "game/flow/WorldTextures.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cHandItem.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cTable.h"
#include "tests/engine/scene/SceneTestSupport.h"

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
