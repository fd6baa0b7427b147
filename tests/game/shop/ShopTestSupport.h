#pragma once
// The fixture of the shop tests: fake scene services over the headless input manager (game
// time stops with the logic), a recording sound manager, a graphics object over the recording
// device (for the frame's brightness), a resource manager over a private data folder with the
// shop's files written here, and the game data over in-memory level packs whose levels have
// only the staff and decor (every station absent unless a test sets it).
//
// Screen of the fixture: the list window is centred on (500, 200), 200 x 204 pixels, with four
// entries of 50 pixels; the preview offset is (10, 20).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/core/Random.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/interface/PanelFiles.h"
#include "game/shop/ShopCatalogue.h"
#include "game/shop/cAppearingCloud.h"
#include "game/shop/cShop.h"
#include "game/shop/cShopButton.h"
#include "game/shop/cShopObject.h"
#include "game/shop/cShopScreen.h"
#include "platform/device/RecordingDevice.h"
#include "tests/engine/scene/test_widget_support.h"
#include "tests/game/data/test_gamedata_fixture.h"
#include "tests/game/interface/PanelTestSupport.h"

namespace shop_test {

namespace in = platform::input;

// Game time stops with the logic; the sound manager records what is played, paused and resumed.
using ShopServices = panel_test::PanelServices;
using ShopSound = panel_test::PanelSound;

// ASCII with "\n" line ends as a UTF-16 INI file (CR LF).
inline std::string iniText(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return file_test::utf16Ini(crlf);
}

inline std::string buttonSection(const std::string& section, const std::string& pos) {
    return "[" + section + "]\ntexture_normal=\"b_normal.dds\"\ntexture_hover=\"b_hover.dds\"\n"
           "texture_pressed=\"b_pressed.dds\"\ntexture_disabled=\"b_disabled.dds\"\nsize=\"100,40\"\nposition=\"" +
           pos + "\"\ndeep=\"40\"\n";
}

inline std::string textSection(const std::string& section, const std::string& text, const std::string& pos) {
    return "[" + section + "]\nstring=\"" + text + "\"\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\n" +
           "position=\"" + pos + "\"\ndeep=\"40\"\n";
}

inline std::string shopIni(const std::string& speed = "2", const std::string& visible = "4") {
    std::string t = "[COMMON]\npicture=\"back.dds\"\nposition=\"400,300\"\ndeep=\"1\"\n";
    t += "[EVERYTHING_SOLD]\npicture=\"sold_out.dds\"\nposition=\"500,200\"\ndeep=\"5\"\n";
    t += "[LIST_BUTTONS]\npicture=\"list.dds\"\nposition=\"500,200\"\ndeep=\"2\"\nsize=\"200,204\"\nspeed_scroll=\"" +
         speed + "\"\nnum_buttons_visible=\"" + visible + "\"\n";
    t += buttonSection("BUTTON_FORWARD", "500,330") + buttonSection("BUTTON_BACKWARD", "500,70") +
         buttonSection("BUTTON_BUY", "600,500") + buttonSection("BUTTON_FINISH", "700,500") +
         buttonSection("BUTTON_MENU", "100,500");
    t += "[BUY_BLINK]\npicture=\"blink.dds\"\nposition=\"600,500\"\ndeep=\"41\"\nvisible=\"0\"\nenabled=\"0\"\n";
    t += "[SHOP_BUTTON]\ndeep=\"30\"\nsize=\"200,50\"\ntexture_normal=\"i_normal.dds\"\ntexture_hover=\"i_hover.dds\"\n"
         "texture_pressed=\"i_pressed.dds\"\ntexture_disabled=\"i_disabled.dds\"\nsound_active=\"active.ogg extra\"\n"
         "sound_pressed=\"pressed.ogg\"\n";
    t += "[SHOP_BUTTON_INTERIOR]\ntexture_normal=\"n_normal.dds\"\ntexture_hover=\"n_hover.dds\"\n"
         "texture_pressed=\"n_pressed.dds\"\ntexture_disabled=\"n_disabled.dds\"\n";
    t += "[SHOP_BUTTON_TEXT_TOP]\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nposition=\"20,-10\"\ndeep=\"32\"\n"
         "font_normal=\"top_n.png\"\nfont_hover=\"top_h.png\"\nfont_pressed=\"top_p.png\"\nfont_disabled=\"top_d.png\"\n";
    t += "[SHOP_BUTTON_TEXT_BOTTOM]\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nposition=\"20,10\"\n"
         "deep=\"32\"\nfont_normal=\"bot_n.png\"\nfont_hover=\"bot_h.png\"\nfont_pressed=\"bot_p.png\"\n"
         "font_disabled=\"bot_d.png\"\nfont_lowcash=\"fonts/low.rwf\"\nfont_normal_lowcash=\"low_n.png\"\n"
         "font_hover_lowcash=\"low_h.png\"\nfont_pressed_lowcash=\"low_p.png\"\n";
    t += "[SHOP_BUTTON_ICON]\nposition=\"-70,0\"\ndeep=\"31\"\n";
    t += "[PICTURE_SOLD]\npicture=\"sold.dds\"\nposition=\"1,1\"\ndeep=\"33\"\n";
    t += "[PREVIEW_SCREEN]\nposition=\"10,20\"\n";
    t += textSection("TEXT_PAGES", "LIST", "500,40") + "string_pages=\"PAGE X\"\nstring_of=\"OF\"\n";
    t += textSection("TEXT_CASH", "CASH ", "300,500") + "num_digits=\"4\"\n";
    t += "[SHOP_HINT_1]\ncloud_text=\"HINT\"\ncloud_position=\"300,100\"\ncloud_layout=\"0R\"\ncloud_size=\"80,40\"\n";
    return t;
}

// Every catalogue name with a picture at (100 + 10 i, 200), cost 100 (i + 1) for level 2 and
// 1000 + 100 i for level 3; INTERIOR1 and INTERIOR2 are interior, CAKE_ST and TABLES have a
// second picture.
inline std::string catalogueIni(const std::string& extra = "") {
    std::string t;
    for (int i = 0; i < shop::ITEM_COUNT; ++i) {
        const std::string name = shop::sectionOf(shop::itemName(i)).toNarrow();
        t += "[" + name + "]\nposition=\"" + std::to_string(100 + 10 * i) + ",200\"\ndeep=\"100\"\n";
        t += "cost_upgrade_2=\"" + std::to_string(100 * (i + 1)) + "\"\nname_upgrade_2=\"" + name + " TWO\"\n";
        t += "cost_upgrade_3=\"" + std::to_string(1000 + 100 * i) + "\"\nname_upgrade_3=\"" + name + " THREE\"\n";
        t += "cloud_text_2=\"ABOUT " + name + "\"\ncloud_pos_2=\"5,6\"\ncloud_layout_2=\"0B0.5\"\n";
        if (name == "INTERIOR1" || name == "INTERIOR2") t += "interior=\"1\"\n";
        if (name == "CAKE_ST" || name == "TABLES") t += "sp=\"1\"\n[" + name + "_SP]\nposition=\"0,30\"\ndeep=\"101\"\n";
    }
    return t + extra;
}

// A cloud file: layout 0 over a 64 x 64 image (centre 16..48, pointers 16..32, tips at the
// outer edge's middle of each pointer image); layout 1 differs in its default position.
inline std::string cloudIni(bool withLayouts = true, const std::string& params = "") {
    std::string t = "[CLOUD]\nvisible=\"0\"\nenabled=\"0\"\nalpha=\"200\"\ndeep=\"500\"\n";
    auto layout = [](int n, const std::string& off) {
        return "[LAYOUT_" + std::to_string(n) +
               "]\npicture=\"cloud.dds\"\ntexture_size=\"64,64\"\nrect_center=\"16,16,48,48\"\n"
               "slice_pointer=\"32,32\"\noff_pointer=\"" + off + "\"\noff_pointer_point_left=\"0,24\"\n"
               "off_pointer_point_right=\"63,24\"\noff_pointer_point_top=\"24,0\"\noff_pointer_point_bottom=\"24,63\"\n"
               "text_position=\"2,3\"\nfont=\"fonts/fixed.rwf\"\nfont_texture=\"fonts/fixed.png\"\nline_spacing=\"20\"\n"
               "text_align_hor=\"LEFT\"\ntext_align_ver=\"TOP\"\n";
    };
    if (withLayouts) t += layout(0, "0.5") + layout(1, "0.25") + layout(2, "2");
    t += "[APPEAR_DISAPPEAR_PARAM]\n" +
         (params.empty() ? std::string("appear_delay_time=\"0.1\"\ndisappear_delay_time=\"0.05\"\nstart_alpha=\"0\"\n"
                                       "alpha_appear_time=\"0.2\"\n")
                         : params);
    return t;
}

inline std::string escIni() {
    std::string t = "[COMMON]\nvisible=\"0\"\nenabled=\"0\"\npicture=\"panel.dds\"\nposition=\"400,300\"\ndeep=\"9000\"\n";
    t += "[ADD_PANEL]\npicture=\"shadow.dds\"\nposition=\"404,306\"\ndeep=\"8999\"\n";
    t += textSection("TITLE", "PAUSE", "0,-100");
    t += buttonSection("BUTTON_RESUME", "0,-40") + buttonSection("BUTTON_OPTIONS", "0,10") +
         buttonSection("BUTTON_MENU", "0,60") + textSection("DESCRIPTION", "PAUSED", "0,120");
    return t;
}

inline std::string confirmIni() {
    std::string t = "[COMMON]\nvisible=\"0\"\nenabled=\"0\"\npicture=\"panel.dds\"\nposition=\"400,300\"\ndeep=\"9600\"\n";
    t += "[ADD_PANEL]\npicture=\"shadow.dds\"\nposition=\"404,306\"\ndeep=\"9599\"\n";
    return t + textSection("TITLE", "MENU?", "0,-40") + buttonSection("BUTTON_YES", "-80,50") +
           buttonSection("BUTTON_NO", "80,50");
}

class ShopTest : public ::testing::Test {
protected:
    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
    std::unique_ptr<cLogic> logic;
    std::unique_ptr<cGraphics> graphics;
    std::unique_ptr<cGameData> data;
    std::map<std::string, std::unique_ptr<cXmlNode>> packs;
    cGameData::Services savedServices;
    std::filesystem::path common;
    ShopServices services;
    cSceneServices* previous = nullptr;
    cInput* input = nullptr;
    ShopSound* sound = nullptr;
    cSceneNode* root = nullptr;  // a shown and enabled parent for the objects under test

    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        world.put("config/config.ini", iniText("[Game]\napp_folder=\"shop-test\"\n"));
        world.put("config/language.ini",
                  file_test::utf16Ini("[Localization]\r\nCodePage=\"1252\"\r\nLanguage=\"00000409\"\r\n"));
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        settings = std::make_unique<cSettingsManager>();
        logic = std::make_unique<cLogic>();
        graphics = std::make_unique<cGraphics>(nullptr, std::make_unique<cRecordingDevice>());
        input = new cInput();
        ASSERT_TRUE(input->acquire());
        sound = new ShopSound();
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
        rwSrand(99);
        services.addTexture("fonts/fixed.png", 120, 200);
        services.addTexture("cloud.dds", 64, 64);
        font_test::FontFile fixed;
        fixed.glyphs = font_test::fixedGlyphs(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ#._- ");
        addFile("fonts/fixed.rwf", fixed.bytes());
        addFile("fonts/low.rwf", fixed.bytes());
        addIni(cShopScreen::kConfig, shopIni());
        addIni(cAppearingCloud::kConfig, cloudIni());
        addIni(cShopPausePanel::kConfig, escIni());
        addIni(panel_files::kConfirmMenu, confirmIni());
        addIni("Config/Common/cursor.ini", "[COMMON]\npicture_normal=\"c.dds\"\ndeep=\"20000\"\n");
        for (const char* f : {"Config/Shop/shop_objects_1.ini", "Config/Shop/shop_objects_12.ini",
                              "Config/Shop/shop_objects_2.ini", "Config/Shop/shop_objects_3.ini"})
            addIni(f, catalogueIni());
        savedServices = cGameData::services();
        makeData();
        root = new cSceneNode(nullptr);
        root->show();
        root->enable();
    }
    void TearDown() override {
        delete root;
        root = nullptr;
        updateTopLevelNodes(nullptr);
        EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
        EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
        data.reset();
        cGameData::services() = savedServices;
        setSceneServices(previous);
        delete sound;
        delete input;
        graphics.reset();
        logic.reset();
        settings.reset();
        resources.reset();
        files.reset();
        platform::clearMessages();
    }

    // Level packs of 20 levels per world; attributesOf(world, level in pack) adds attributes.
    void makeData(std::function<gamedata_test::LevelAttributes(int, int)> attributesOf = nullptr) {
        data.reset();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        common = std::filesystem::path(RW_TEST_OUTPUT_DIR) / "shop" /
                 (std::string(info->test_suite_name()) + "_" + info->name());
        std::filesystem::remove_all(common);
        std::filesystem::create_directories(common);
        auto pack = [&](int w) {
            return gamedata_test::parseXml(gamedata_test::packText(20, w, [=](int n) {
                return attributesOf ? attributesOf(w, n) : gamedata_test::LevelAttributes{};
            }));
        };
        packs["Packs/1/pack.qpk"] = pack(1);
        packs["Packs/1/pack2.qpk"] = pack(1);
        packs["Packs/2/pack.qpk"] = pack(2);
        packs["Packs/3/pack.qpk"] = pack(3);
        auto& s = cGameData::services();
        s.commonFolder = [this] { return common.string() + "/"; };
        s.getPack = [this](const cStringA& name) -> const cXmlNode* {
            auto it = packs.find(name);
            if (it == packs.end()) throw cStringA("Resource '" + name + "' is not loaded.");
            return it->second.get();
        };
        s.readSetting = [](const char*, const char*, int32_t*) { return false; };
        s.applyVolumes = [](int32_t, int32_t) {};
        s.sleep = [](int) {};
        s.log = [](const std::string&) {};
        data = std::make_unique<cGameData>(true, cStringA());
        if (data->getProfileCount() == 0) data->addProfile(L"TESTER");
        data->setDifficulty(0);
    }
    // Plays the levels up to n (each one won, so every level is reached in turn).
    void goToLevel(int32_t n, int32_t scorePerLevel = 500) {
        while (data->getLevel() < n) {
            data->setScore(scorePerLevel);
            data->recordLevelResult(true);
            data->setLevel(data->getLevel() + 1);
        }
    }

    void addFile(const std::string& name, const std::string& bytes) {
        world.put(cStringA(name).makeLower(), bytes);
        files->rescan();
        resources->load(cStringA(name), 11);
    }
    void addIni(const std::string& name, const std::string& text) { addFile(name, iniText(text)); }
    void replaceIni(const std::string& name, const std::string& text) {
        resources->unload(cStringA(name));
        addIni(name, text);
    }

    void frame(float dt = 1.0f / 60.0f) {
        services.gameDelta = dt;
        services.realDelta = dt;
        input->update();
        updateTopLevelNodes(&updateNode);
    }
    void frames(int n, float dt = 1.0f / 60.0f) {
        for (int i = 0; i < n; ++i) frame(dt);
    }
    void mouseTo(float x, float y) {
        in::injectCursor(x, y);
        frame(0.0f);
    }
    // A left click at the point (press and release, one frame each).
    void clickAt(float x, float y) {
        in::injectCursor(x, y);
        in::injectButton(0, true);
        frame(0.0f);
        in::injectButton(0, false);
        frame(0.0f);
    }
    void pressKey(uint8_t key) {
        in::injectKey(key, true);
        frame(0.0f);
        in::injectKey(key, false);
        frame(0.0f);
    }
    bool click(cButton* button) {
        if (!button || !button->isVisible() || !button->isEnabled() || !button->isActive()) return false;
        button->getClickHandler()(button);
        return true;
    }
};

}  // namespace shop_test
