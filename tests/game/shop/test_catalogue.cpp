// The shop's catalogue: what each part offers by world and profile, what an offer writes, the
// picture codes, and the shop objects that write and restore the profile as the list button
// drives them (preview, restore, purchase, the interior mend).

#include "tests/game/shop/ShopTestSupport.h"

using namespace shop_test;
using namespace shop;

namespace {

class Catalogue : public ShopTest {};

// Values of the level just played (offset -1) and of the level about to be played (offset 0).
struct Values {
    int32_t oven1 = 1, oven2 = 0, cotton1 = 1, cotton2 = 0, sauce1 = 1, sauce2 = 0, sauce3 = 0, coffee = 1;
};

void apply(cGameData& d, const Values& v, int32_t offset) {
    d.setOven1Level(v.oven1, offset);
    d.setOven2Level(v.oven2, offset);
    d.setCotton1Level(v.cotton1, offset);
    d.setCotton2Level(v.cotton2, offset);
    d.setSauce1Level(v.sauce1, offset);
    d.setSauce2Level(v.sauce2, offset);
    d.setSauce3Level(v.sauce3, offset);
    d.setCoffeeLevel(v.coffee, offset);
}

TEST_F(Catalogue, RangeByWorldAndProfile) {
    struct Case {
        const char* what;
        int32_t level;  // world = (level - 1) / 20 + 1
        Values before;
        int item;
        int32_t present, maximum;
    };
    const Case cases[] = {
        {"oven w1", 5, {}, ITEM_OVEN, 1, 2},
        {"oven w2 without a second oven: shown only", 25, {}, ITEM_OVEN, 1, 1},
        {"oven w2 with a second oven", 25, {.oven2 = 1}, ITEM_OVEN, 1, 2},
        {"oven w3", 45, {}, ITEM_OVEN, 1, 2},
        {"cotton w1 at most 2", 5, {}, ITEM_COTTON, 1, 2},
        {"cotton w2 without a second machine", 25, {}, ITEM_COTTON, 1, 1},
        {"cotton w2 with a second machine", 25, {.cotton2 = 1}, ITEM_COTTON, 1, 3},
        {"cotton w3", 45, {}, ITEM_COTTON, 1, 3},
        {"no cotton machine at all", 45, {.cotton1 = 0}, ITEM_COTTON, 0, 0},
        {"sauce w1", 5, {}, ITEM_SOUSE, 1, 2},
        {"no sauce station in w1: absent", 5, {.sauce1 = 0}, ITEM_SOUSE, 0, -1},
        {"sauce w2 without station 2", 25, {}, ITEM_SOUSE, 1, 1},
        {"sauce w2 with station 2", 25, {.sauce2 = 1}, ITEM_SOUSE, 1, 2},
        {"sauce w3 without station 3", 45, {.sauce2 = 1}, ITEM_SOUSE, 1, 1},
        {"sauce w3 with station 3", 45, {.sauce3 = 1}, ITEM_SOUSE, 1, 2},
        {"coffee up to 3", 5, {.coffee = 2}, ITEM_COFFEE, 2, 3},
        {"staff and decor start at 1", 5, {}, ITEM_HAROLD, 1, 2},
        {"cream: one level only", 5, {}, ITEM_CREAM, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeData();
        goToLevel(c.level);
        apply(*data, c.before, -1);
        const UpgradeRange r = getUpgradeRange(*data, c.item, data->getWorld());
        EXPECT_EQ(r.present, c.present);
        EXPECT_EQ(r.maximum, c.maximum);
    }
}

TEST_F(Catalogue, SubPlacesAreOfferedFromWorldTwoOn) {
    makeData([](int, int) { return gamedata_test::LevelAttributes{{"is_sub_place_1", "1"}, {"is_sub_place_2", "1"}}; });
    goToLevel(5);
    EXPECT_EQ(getUpgradeRange(*data, ITEM_SUBS_TABLES, 1).present, 2);
    EXPECT_EQ(getUpgradeRange(*data, ITEM_SUBS_TABLES, 1).maximum, 2) << "never sold in world 1";
    goToLevel(25);
    EXPECT_EQ(getUpgradeRange(*data, ITEM_SUBS_TABLES, 2).maximum, 3);
    // The offer of level 3 switches sub place 3 on and off, whatever sub place 2 holds.
    writeLevel(*data, ITEM_SUBS_TABLES, 3, true, 3);
    EXPECT_EQ(data->getSubPlace3Level(0), 1);
    EXPECT_EQ(data->getSubPlace2Level(0), 1);
    writeLevel(*data, ITEM_SUBS_TABLES, 2, false, 3);
    EXPECT_EQ(data->getSubPlace3Level(0), 0);
    EXPECT_EQ(data->getSubPlace2Level(0), 1);
}

TEST_F(Catalogue, UpgradesNeverCreateASecondMachine) {
    goToLevel(25);
    apply(*data, {.oven2 = 0, .cotton2 = 1, .sauce2 = 0, .sauce3 = 1}, 0);
    writeLevel(*data, ITEM_OVEN, 2, true, 2);
    writeLevel(*data, ITEM_COTTON, 3, true, 3);
    writeLevel(*data, ITEM_SOUSE, 2, true, 2);
    EXPECT_EQ(data->getOven1Level(0), 2);
    EXPECT_EQ(data->getOven2Level(0), 0);
    EXPECT_EQ(data->getCotton1Level(0), 3);
    EXPECT_EQ(data->getCotton2Level(0), 3);
    EXPECT_EQ(data->getSauce1Level(0), 2);
    EXPECT_EQ(data->getSauce2Level(0), 0);
    EXPECT_EQ(data->getSauce3Level(0), 2);
    data->setOven2Level(1, 0);
    writeLevel(*data, ITEM_OVEN, 2, true, 2);
    EXPECT_EQ(data->getOven2Level(0), 2) << "both ovens";
}

TEST_F(Catalogue, PictureCodes) {
    makeData([](int, int) {
        return gamedata_test::LevelAttributes{{"is_sub_1", "1"}, {"is_sub_2", "1"}, {"is_souse_1", "1"},
                                              {"is_souse_2", "1"}, {"is_souse_3", "1"}};
    });
    goToLevel(25);
    struct Case {
        const char* what;
        int item;
        int32_t p, o;
        Values before, now;
        int32_t tables;
        const char* normal;
        const char* offered;
    };
    const Case cases[] = {
        {"plain", ITEM_DRINK, 1, 2, {}, {}, 1, "1", "2"},
        {"subs and tables", ITEM_SUBS_TABLES, 2, 3, {}, {}, 1, "201", "301"},
        {"subs follow a tables preview", ITEM_SUBS_TABLES, 3, 0, {}, {}, 2, "302", "002"},
        {"counter: two sub kinds", ITEM_COUNTER, 1, 2, {}, {}, 1, "201", "202"},
        {"sauce: three stations", ITEM_SOUSE, 1, 2, {.sauce2 = 1, .sauce3 = 1}, {}, 1, "301", "302"},
        {"oven w2, one oven", ITEM_OVEN, 1, 0, {}, {}, 1, "1", "2"},
        {"oven w2, two ovens, oven 1 below 2", ITEM_OVEN, 1, 2, {.oven2 = 1}, {.oven1 = 1}, 1, "2", "3"},
        {"oven w2, two ovens, oven 1 at 2", ITEM_OVEN, 1, 2, {.oven2 = 1}, {.oven1 = 2}, 1, "3", "3"},
        {"cotton w2, second machine 1", ITEM_COTTON, 2, 3, {.cotton2 = 1}, {}, 1, "22", "3"},
        {"cotton w2, second machine 2", ITEM_COTTON, 2, 3, {.cotton2 = 2}, {}, 1, "2", "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        apply(*data, c.before, -1);
        apply(*data, c.now, 0);
        data->setTablesLevel(c.tables, 0);
        const PictureCodes codes = pictureCodes(*data, c.item, 2, c.p, c.o);
        EXPECT_EQ(codes.normal, c.normal);
        EXPECT_EQ(codes.offered, c.offered);
    }
}

TEST_F(Catalogue, NamesFilesAndSections) {
    EXPECT_EQ(itemOf("Drink_St"), ITEM_DRINK);
    EXPECT_EQ(itemOf("drink_st"), ITEM_NONE);
    EXPECT_EQ(sectionOf("Harold_Counter"), L"HAROLD_COUNTER");
    EXPECT_STREQ(catalogueFile(1, 0), "Config/Shop/shop_objects_1.ini");
    EXPECT_STREQ(catalogueFile(1, 1), "Config/Shop/shop_objects_12.ini");
    EXPECT_STREQ(catalogueFile(1, -1), "Config/Shop/shop_objects_12.ini");
    EXPECT_STREQ(catalogueFile(3, 1), "Config/Shop/shop_objects_3.ini");
}

class ShopObjects : public ShopTest {
protected:
    void SetUp() override {
        ShopTest::SetUp();
        goToLevel(5);
    }
};

TEST_F(ShopObjects, PreviewWritesRestoresAndPurchaseKeeps) {
    cShopObject* o = cShopObject::create(1, "Drink_St", 1, 2, root);
    data->setDrinkLevel(1, 0);
    EXPECT_EQ(o->getCost(), 1000);
    EXPECT_EQ(o->getDisplayName(), L"DRINK_ST TWO");
    EXPECT_EQ(o->getIconName(), "Shop/Icons/1/Drink_St/upg_2.dds");
    EXPECT_EQ(o->getBoughtIconName(), "Shop/Icons/1/Drink_St/upg_2_d.dds");
    EXPECT_EQ(o->getPicture(), "Shop/Preview/1/Drink_St/upg_1.dds");
    o->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(data->getDrinkLevel(0), 2);
    EXPECT_EQ(o->getPicture(), "Shop/Preview/1/Drink_St/upg_2.dds");
    EXPECT_TRUE(o->getHighlight()->isOwnVisible());
    EXPECT_EQ(o->getHighlight()->getPicture(), "Shop/Preview/1/Drink_St/upg_2_a.dds");
    o->setDisplayState(SHOP_STATE_SELECTED);
    EXPECT_EQ(o->getPicture(), "Shop/Preview/1/Drink_St/upg_2_a.dds");
    EXPECT_FALSE(o->getHighlight()->isOwnVisible()) << "the blink is for pointing only";
    o->setDisplayState(SHOP_STATE_NORMAL);
    EXPECT_EQ(data->getDrinkLevel(0), 1);
    // Bought: the level stays, also when the object goes.
    o->setDisplayState(SHOP_STATE_BOUGHT);
    delete o;
    EXPECT_EQ(data->getDrinkLevel(0), 2);
    // A preview never outlives its object.
    cShopObject* wall = cShopObject::create(1, "Wall", 1, 2, root);
    wall->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(data->getWallLevel(0), 2);
    delete wall;
    EXPECT_EQ(data->getWallLevel(0), 1);
}

TEST_F(ShopObjects, DisplayOnlyObjectsWriteNothing) {
    data->setCreamLevel(0, 0);
    cShopObject* o = cShopObject::create(1, "Cream_St", 1, 0, root);
    EXPECT_EQ(o->getCost(), 0);
    EXPECT_TRUE(o->getDisplayName().empty());
    EXPECT_EQ(o->getOfferedTexture(), "Shop/Preview/1/Cream_St/upg_0.dds");
    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(data->getCreamLevel(0), 0);
    delete o;
    EXPECT_EQ(data->getCreamLevel(0), 0);
}

TEST_F(ShopObjects, InteriorOffersKeepTheLevelInForce) {
    // Two offers of one interior name (present 1): previews and their ends never go below the
    // level in force, and buying a lower offer after a higher one keeps the higher.
    cShopItemRecord record;
    record.present = 1;
    cShopObject* two = cShopObject::create(1, "Interior1", 1, 2, root, &record);
    cShopObject* three = cShopObject::create(1, "Interior1", 2, 3, root, &record);
    two->applyToGameData(false);
    three->applyToGameData(false);
    EXPECT_EQ(data->getInterior1Level(0), 1) << "the second offer's creation gives nothing away";
    three->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(data->getInterior1Level(0), 3);
    EXPECT_FALSE(three->getHighlight()->isOwnVisible()) << "interior objects do not blink";
    three->setDisplayState(SHOP_STATE_BOUGHT);
    two->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(data->getInterior1Level(0), 3) << "a lower preview does not undo the purchase";
    two->setDisplayState(SHOP_STATE_NORMAL);
    EXPECT_EQ(data->getInterior1Level(0), 3);
    two->setDisplayState(SHOP_STATE_BOUGHT);
    delete two;
    delete three;
    EXPECT_EQ(data->getInterior1Level(0), 3);
}

// Two offers of one interior name lie at the same place and depth: only one picture is seen,
// the level the profile has, or the offer under the mouse while it is previewed.
TEST_F(ShopObjects, AnInteriorNameShowsOnePictureTheLevelInForceOrThePreview) {
    cShopItemRecord record;
    record.present = 1;
    cShopObject* two = cShopObject::create(1, "Interior1", 1, 2, root, &record);
    cShopObject* three = cShopObject::create(1, "Interior1", 2, 3, root, &record);
    two->applyToGameData(false);
    three->applyToGameData(false);
    ASSERT_EQ(two->getPosition(), three->getPosition());
    ASSERT_EQ(two->getDeep(), three->getDeep());
    // The one object seen and its picture, after a frame for the other to follow.
    auto seen = [&]() -> std::string {
        frame();
        std::string out;
        for (cShopObject* o : {two, three})
            if (o->isVisible()) out += (out.empty() ? "" : " + ") + std::string(o->getPicture());
        return out;
    };
    const std::string upg = "Shop/Preview/1/Interior1/upg_";
    EXPECT_EQ(seen(), upg + "1.dds") << "the level just played";
    three->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(seen(), upg + "3.dds");
    three->setDisplayState(SHOP_STATE_SELECTED);
    EXPECT_EQ(seen(), upg + "3.dds");
    three->setDisplayState(SHOP_STATE_NORMAL);
    two->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(seen(), upg + "2.dds");
    two->setDisplayState(SHOP_STATE_BOUGHT);
    EXPECT_EQ(seen(), upg + "2.dds") << "bought";
    three->setDisplayState(SHOP_STATE_POINTED);
    EXPECT_EQ(seen(), upg + "3.dds");
    three->setDisplayState(SHOP_STATE_NORMAL);
    EXPECT_EQ(seen(), upg + "2.dds") << "back to the level bought";
    three->setDisplayState(SHOP_STATE_BOUGHT);
    EXPECT_EQ(seen(), upg + "3.dds");
    delete two;
    delete three;
}

TEST_F(ShopObjects, TablesHasNoSecondPictureWithoutASauceStation) {
    data->setSauce1Level(0, -1);
    cShopObject* tables = cShopObject::create(1, "Tables", 1, 2, root);
    EXPECT_EQ(tables->getPreviewPicture(), nullptr);
    cShopObject* cake = cShopObject::create(1, "Cake_St", 1, 2, root);
    ASSERT_NE(cake->getPreviewPicture(), nullptr);
    EXPECT_EQ(cake->getPreviewPicture()->getPosition(), cVector2(180.0f, 230.0f)) << "placed from the object";
    EXPECT_EQ(cake->getPreviewPicture()->getPicture(), "Shop/Preview/1/Cake_St/upg_1_sp.dds");
    cake->setDisplayState(SHOP_STATE_SELECTED);
    EXPECT_EQ(cake->getPreviewPicture()->getPicture(), "Shop/Preview/1/Cake_St/upg_2_sp.dds");
    data->setSauce1Level(1, -1);
    cShopObject* tables2 = cShopObject::create(1, "Tables", 1, 2, root);
    EXPECT_NE(tables2->getPreviewPicture(), nullptr);
    delete tables;
    delete tables2;
    delete cake;
}

TEST_F(ShopObjects, SubsPictureFollowsATablesPreviewNextFrame) {
    makeData([](int, int) { return gamedata_test::LevelAttributes{{"is_sub_place_1", "1"}}; });
    goToLevel(25);
    cShopObject* subs = cShopObject::create(2, "Subs_Tables", 1, 2, root);
    cShopObject* tables = cShopObject::create(2, "Tables", 1, 2, root);
    frame();
    EXPECT_EQ(subs->getPicture(), "Shop/Preview/2/Subs_Tables/upg_101.dds");
    tables->setDisplayState(SHOP_STATE_POINTED);
    frame();
    EXPECT_EQ(subs->getPicture(), "Shop/Preview/2/Subs_Tables/upg_102.dds");
    tables->setDisplayState(SHOP_STATE_NORMAL);
    frame();
    EXPECT_EQ(subs->getPicture(), "Shop/Preview/2/Subs_Tables/upg_101.dds");
    delete subs;
    delete tables;
}

TEST_F(ShopObjects, HighlightBlinksOnGameTime) {
    cShopObject* o = cShopObject::create(1, "Harold", 1, 2, root);
    o->setDisplayState(SHOP_STATE_POINTED);
    // 4000 per second: 255 after about 0.064 s, then 0.2 s at full.
    frames(4, 0.016f);
    EXPECT_NEAR(o->getBlinkAlpha(), 255.0f, 0.01f);
    EXPECT_EQ(o->getBlinkDirection(), -1.0f);
    frames(12, 0.016f);
    EXPECT_EQ(o->getBlinkAlpha(), 255.0f) << "the rest at full";
    frames(2, 0.016f);
    EXPECT_LT(o->getBlinkAlpha(), 255.0f);
    logic->setPaused(true);
    const float held = o->getBlinkAlpha();
    frames(5, 0.016f);
    EXPECT_EQ(o->getBlinkAlpha(), held) << "game time stopped";
    logic->setPaused(false);
    o->setDisplayState(SHOP_STATE_NORMAL);
    EXPECT_FALSE(o->getHighlight()->isOwnVisible());
    delete o;
}

}  // namespace
