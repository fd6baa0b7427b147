// The shop's demo data, walked as the game walks it: on every level of the demo packs that
// has a shop (both game modes in world 1) the screen is built from the shipped files, every
// offer is pointed at in turn, and every picture and icon the objects and buttons can show,
// and every sound the shop's files name, must exist in the built Data folder.

#include <filesystem>
#include <fstream>
#include <set>

#include "engine/core/ErrorCallStack.h"

#include "tests/game/shop/ShopTestSupport.h"

using namespace shop_test;
namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

std::string readData(const std::string& name) {
    std::ifstream in(kData / cStringA(name).makeLower().str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool existsInData(const std::string& name) { return fs::exists(kData / cStringA(name).makeLower().str()); }

class ShopData : public ShopTest {
protected:
    std::set<std::string> names;  // every texture the shop may draw

    void SetUp() override {
        ShopTest::SetUp();
        for (const char* f : {"Config/Shop/shop.ini", "Config/Shop/si_panel_esc.ini", "Config/Shop/shop_objects_1.ini",
                              "Config/Shop/shop_objects_12.ini", "Config/Shop/shop_objects_2.ini",
                              "Config/Shop/shop_objects_3.ini", "Config/Common/cloud.ini"}) {
            resources->unload(cStringA(f));
            addFile(f, readData(f));
        }
        for (const auto& e : fs::directory_iterator(kData / "fonts"))
            if (e.path().extension() == ".rwf") addFile("fonts/" + e.path().filename().string(), readData("fonts/" + e.path().filename().string()));
        for (const char* p : {"Packs/1/pack.qpk", "Packs/1/pack2.qpk", "Packs/2/pack.qpk", "Packs/3/pack.qpk"}) {
            const std::string bytes = readData(p);
            packs[p] = cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(p));
        }
    }
    void restart(int32_t difficulty) {
        data.reset();
        fs::remove_all(common);
        fs::create_directories(common);
        data = std::make_unique<cGameData>(true, cStringA());
        data->addProfile(L"DEMO");
        data->setDifficulty(difficulty);
    }
    void collect(cShopScreen* screen) {
        for (cShopObject* o : screen->getObjects()) {
            o->buildTextureNames(false);
            names.insert(o->getNormalTexture());
            if (o->getPreviewPicture()) names.insert(o->getPresentPreviewTexture());
            if (o->getOfferedLevel() == 0) continue;
            names.insert(o->getOfferedTexture());
            if (!o->isInterior()) names.insert(o->getSelectedTexture());
            names.insert(o->getIconName());
            names.insert(o->getBoughtIconName());
            if (o->getPreviewPicture()) names.insert(o->getOfferedPreviewTexture());
        }
    }
};

TEST_F(ShopData, EveryShopOfTheDemoFindsItsPictures) {
    int shops = 0;
    for (int32_t difficulty : {0, 1}) {
        restart(difficulty);
        for (int32_t level = 5; level <= 60; ++level) {
            goToLevel(level);
            if (difficulty == 1 && level > 20) break;  // worlds 2 and 3 are the same in both modes
            // The game opens no shop before levels 21 and 41 (first levels of a world).
            if (level == 21 || level == 41) continue;
            SCOPED_TRACE("level " + std::to_string(level) + " mode " + std::to_string(difficulty));
            cShopScreen* screen = nullptr;
            try {
                screen = new cShopScreen(root);
            } catch (...) {
                std::string text;
                failureText(std::current_exception(), &text);
                ADD_FAILURE() << text;
                continue;
            }
            ++shops;
            collect(screen);
            // Each offer previewed in turn: the other objects' codes follow it.
            for (cShopButton* b : screen->getButtons()) {
                b->getItem()->setDisplayState(SHOP_STATE_POINTED);
                collect(screen);
                b->getItem()->setDisplayState(SHOP_STATE_NORMAL);
            }
            if (level == 5 && difficulty == 0) {
                // The first shop sells twelve offers and shows the sub places, the empty cotton
                // stand and the cream station; no sauce, no snack station.
                EXPECT_EQ(screen->getButtons().size(), 12u);
                EXPECT_NE(screen->findObject("Subs_Tables"), nullptr);
                ASSERT_NE(screen->findObject("Cotton_St"), nullptr);
                EXPECT_EQ(screen->findObject("Cotton_St")->getPresentLevel(), 0);
                EXPECT_NE(screen->findObject("Cream_St"), nullptr);
                EXPECT_EQ(screen->findObject("Souse"), nullptr);
                EXPECT_EQ(screen->findObject("Snack_St"), nullptr);
            }
            delete screen;
        }
    }
    EXPECT_EQ(shops, 54 + 16);
    for (const std::string& name : names) EXPECT_TRUE(existsInData(name)) << name << " is missing";
}

TEST_F(ShopData, EverySoundTheShopNamesIsDeclaredAndExists) {
    std::set<std::string> declared;
    for (const char* f : {"Config/Game/sounds_game_interface.ini", "Config/Game/sounds_game.ini",
                          "Config/Menu/sounds_menu.ini", "Config/Shop/sounds_shop.ini",
                          "Config/Minigame1/sounds_minigame1.ini"}) {
        const std::string bytes = readData(f);
        auto ini = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(f));
        for (const auto& e : ini->getEntries())
            if (e.key == L"sound") declared.insert(e.value.toNarrow());
    }
    int named = 0;
    for (const char* f : {"Config/Shop/shop.ini", "Config/Shop/si_panel_esc.ini"}) {
        const std::string bytes = readData(f);
        auto ini = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(f));
        for (const auto& e : ini->getEntries()) {
            if (e.key != L"sound_active" && e.key != L"sound_pressed") continue;
            const std::string sound = toNarrowWord(e.value);
            ++named;
            EXPECT_TRUE(declared.count(sound)) << f << ": " << sound << " is not declared";
            EXPECT_TRUE(existsInData(sound)) << f << ": " << sound << " is missing";
        }
    }
    EXPECT_GT(named, 10);
    for (const char* s : {panel_files::kSoundAppear, panel_files::kSoundDisappear}) EXPECT_TRUE(declared.count(s)) << s;
}

}  // namespace
