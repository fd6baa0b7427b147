// The speech-bubble clouds: layout specs, the nine-slice geometry with the pointer's split
// edge and tip, the fades of the appearing cloud, and a cloud file without layouts.

#include <cmath>

#include "engine/core/ErrorCallStack.h"
#include "game/effects/EffectSupport.h"
#include "game/shop/cCloudButton.h"
#include "game/shop/cDropPanel.h"
#include "tests/game/shop/ShopTestSupport.h"

using namespace shop_test;

namespace {

class Clouds : public ShopTest {
protected:
    cTextCloud* makeCloud() {
        auto* cloud = new cTextCloud(root);
        cloud->loadFromIni(effectIni(cAppearingCloud::kConfig), L"CLOUD");
        return cloud;
    }
};

TEST_F(Clouds, LayoutSpecs) {
    cTextCloud* cloud = makeCloud();
    ASSERT_EQ(cloud->getLayoutCount(), 3u);
    EXPECT_EQ(cloud->getSide(), CLOUD_POINTER_LEFT) << "loading selects 0L";
    struct Case {
        const char* spec;
        int layout, side;
        float position;
    };
    const Case cases[] = {
        {"2T0.5", 2, CLOUD_POINTER_TOP, 0.5f},
        {"7T0.5", 0, CLOUD_POINTER_TOP, 0.5f},      // out of range: layout 0
        {"1", 1, CLOUD_POINTER_NONE, 0.25f},         // index only: no pointer
        {"", 0, CLOUD_POINTER_NONE, 0.5f},
        {"1 R", 1, CLOUD_POINTER_RIGHT, 0.25f},      // no position: the layout's
        {"0B1.5", 0, CLOUD_POINTER_BOTTOM, 0.5f},    // outside [0, 1]: the layout's
        {"2L", 2, CLOUD_POINTER_LEFT, 1.0f},         // off_pointer 2 clamped to 1 at loading
        {"B0.3", 0, CLOUD_POINTER_BOTTOM, 0.3f},     // no index
        {"0M", 0, CLOUD_POINTER_NONE, 0.5f},
        {"0X0.1", 0, CLOUD_POINTER_NONE, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        cloud->setLayout(c.spec);
        EXPECT_EQ(cloud->getLayoutIndex(), c.layout);
        EXPECT_EQ(cloud->getSide(), c.side);
        EXPECT_FLOAT_EQ(cloud->getPointerPosition(), c.position);
    }
    delete cloud;
}

TEST_F(Clouds, GeometrySplitsThePointerSideAndKeepsTheTip) {
    cTextCloud* cloud = makeCloud();
    struct Case {
        const char* spec;
        int side;
        cVector2 expectedOrigin;  // for position (300, 200), inner size 100 x 60
    };
    // Left: O = (X - 0, Y - D - 24) with D = (60 - 16) * p; right: X - 63 + 32 - 100;
    // top: X - D - 24, D = (100 - 16) * p; bottom: Y - 63 + 32 - 60.
    const Case cases[] = {
        {"0L0", CLOUD_POINTER_LEFT, {300.0f, 176.0f}},
        {"0L1", CLOUD_POINTER_LEFT, {300.0f, 132.0f}},
        {"0R0.5", CLOUD_POINTER_RIGHT, {169.0f, 154.0f}},
        {"0T0.25", CLOUD_POINTER_TOP, {255.0f, 200.0f}},
        {"0B1", CLOUD_POINTER_BOTTOM, {192.0f, 109.0f}},
        {"0M", CLOUD_POINTER_NONE, {300.0f, 200.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        cloud->setLayout(c.spec);
        cloud->setPosition(cVector2(300.0f, 200.0f));
        cloud->setSize(cVector2(100.0f, 60.0f));
        EXPECT_EQ(cloud->getOrigin(), c.expectedOrigin);
        if (c.side == CLOUD_POINTER_NONE) {
            EXPECT_FALSE(cloud->getPiece(cTextCloud::PIECE_POINTER)->isOwnVisible());
            EXPECT_FALSE(cloud->getPiece(cTextCloud::PIECE_EDGE)->isOwnVisible());
            continue;
        }
        // The three parts of the pointer's side cover it exactly.
        const bool vertical = c.side == CLOUD_POINTER_LEFT || c.side == CLOUD_POINTER_RIGHT;
        const int edge = c.side == CLOUD_POINTER_LEFT    ? cTextCloud::PIECE_LEFT
                         : c.side == CLOUD_POINTER_RIGHT ? cTextCloud::PIECE_RIGHT
                         : c.side == CLOUD_POINTER_TOP   ? cTextCloud::PIECE_TOP
                                                         : cTextCloud::PIECE_BOTTOM;
        float total = 0.0f;
        for (int piece : {int(cTextCloud::PIECE_EDGE), int(cTextCloud::PIECE_POINTER), edge}) {
            const cRect& r = cloud->getPieceRect(piece);
            total += vertical ? r.height() : r.width();
        }
        EXPECT_FLOAT_EQ(total, vertical ? 60.0f : 100.0f);
        // The tip of the pointer image lands on the position, also after a move.
        for (cVector2 at : {cVector2(300.0f, 200.0f), cVector2(123.0f, 456.0f)}) {
            cloud->setPosition(at);
            const cRect& p = cloud->getPieceRect(cTextCloud::PIECE_POINTER);
            const cRect t = cloud->getPiece(cTextCloud::PIECE_POINTER)->getLayer0TextureRect();
            const cVector2 tips[] = {{0, 24}, {63, 24}, {24, 0}, {24, 63}};
            const cVector2 tip = tips[c.side - 1];
            const cVector2 o = cloud->getOrigin();
            EXPECT_FLOAT_EQ(o.x + p.left + (tip.x - t.left), at.x);
            EXPECT_FLOAT_EQ(o.y + p.top + (tip.y - t.top), at.y);
        }
    }
    delete cloud;
}

TEST_F(Clouds, PiecesCoverTheirRectangles) {
    cTextCloud* cloud = makeCloud();
    cloud->setLayout("0M");
    cloud->setPosition(cVector2(10.0f, 20.0f));
    cloud->setSize(cVector2(100.0f, 60.0f));
    // The centre slice: texture 32 x 32 stretched over 100 x 60 at (26, 36).
    cPicture* centre = cloud->getPiece(cTextCloud::PIECE_CENTER);
    EXPECT_EQ(centre->getScale(), cVector2(100.0f / 32.0f, 60.0f / 32.0f));
    EXPECT_EQ(centre->getPosition(), cVector2(10.0f + 16.0f + 50.0f - 16.0f, 20.0f + 16.0f + 30.0f - 16.0f));
    // The bottom-right corner keeps its size.
    EXPECT_EQ(cloud->getPiece(cTextCloud::PIECE_BOTTOM_RIGHT)->getScale(), cVector2(1.0f, 1.0f));
    // The text block's top-left corner: origin + text position + (Cl, Ct).
    EXPECT_EQ(cloud->getText()->getPosition(), cVector2(10.0f + 2.0f + 16.0f, 20.0f + 3.0f + 16.0f));
    delete cloud;
}

TEST_F(Clouds, TheBubbleIsNeverShorterThanItsPointer) {
    cTextCloud* cloud = makeCloud();
    cloud->setLayout("0L0.5");
    cloud->setSize(cVector2(50.0f, 4.0f));
    EXPECT_EQ(cloud->getInnerSize(), cVector2(50.0f, 16.0f));
    cloud->setLayout("0T0.5");
    cloud->setSize(cVector2(-5.0f, 10.0f));
    EXPECT_EQ(cloud->getInnerSize(), cVector2(16.0f, 10.0f));
    delete cloud;
}

TEST_F(Clouds, EmptySlicesAreHiddenNotScaled) {
    replaceIni(cAppearingCloud::kConfig,
               "[CLOUD]\n[LAYOUT_0]\npicture=\"cloud.dds\"\ntexture_size=\"64,64\"\nrect_center=\"0,16,48,48\"\n"
               "slice_pointer=\"0,16\"\n");
    cTextCloud* cloud = makeCloud();
    cloud->setSize(cVector2(40.0f, 40.0f));
    EXPECT_FALSE(cloud->getPiece(cTextCloud::PIECE_TOP_LEFT)->isOwnVisible());
    EXPECT_FALSE(cloud->getPiece(cTextCloud::PIECE_LEFT)->isOwnVisible());
    EXPECT_TRUE(cloud->getPiece(cTextCloud::PIECE_CENTER)->isOwnVisible());
    delete cloud;
}

TEST_F(Clouds, AFileWithoutLayoutZeroIsRefusedByName) {
    replaceIni(cAppearingCloud::kConfig, cloudIni(false));
    try {
        cAppearingCloud cloud(root);
        FAIL() << "no error";
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        EXPECT_NE(text.find("config/common/cloud.ini"), std::string::npos) << text;
        EXPECT_NE(text.find("LAYOUT_0"), std::string::npos) << text;
    }
}

TEST_F(Clouds, AppearingCloudFadesOnGameTime) {
    auto* cloud = new cAppearingCloud(root);
    EXPECT_FALSE(cloud->isVisible());
    EXPECT_EQ(cloud->getCurrentAlpha(), 0.0f) << "starts at start_alpha";
    cloud->appear();
    frames(3, 0.03f);  // the 0.1 s delay
    EXPECT_FALSE(cloud->isVisible());
    frame(0.03f);
    EXPECT_TRUE(cloud->isVisible());
    EXPECT_NEAR(cloud->getCurrentAlpha(), 30.0f, 0.5f) << "200 over 0.2 s";
    logic->setPaused(true);
    frames(5, 0.02f);
    EXPECT_NEAR(cloud->getCurrentAlpha(), 30.0f, 0.5f) << "game time stopped";
    logic->setPaused(false);
    frames(12, 0.02f);
    EXPECT_TRUE(cloud->isIdle());
    EXPECT_EQ(cloud->getCurrentAlpha(), 200.0f);
    EXPECT_FLOAT_EQ(cloud->getCountdown(), 0.05f);
    // Appear again while shown: runs the countdown down, stays full, preloads the delay.
    cloud->appear();
    frames(4, 0.02f);
    EXPECT_TRUE(cloud->isIdle());
    EXPECT_FLOAT_EQ(cloud->getCountdown(), 0.05f);
    // Disappear midway, then appear: the fade turns from the alpha reached.
    cloud->disappear();
    frames(5, 0.02f);
    const float reached = cloud->getCurrentAlpha();
    EXPECT_LT(reached, 200.0f);
    EXPECT_TRUE(cloud->isVisible());
    cloud->appear();
    frame(0.02f);
    EXPECT_GT(cloud->getCurrentAlpha(), reached - 0.01f);
    frames(20, 0.02f);
    cloud->disappear();
    frames(30, 0.02f);
    EXPECT_FALSE(cloud->isVisible());
    EXPECT_EQ(cloud->getCurrentAlpha(), 0.0f);
    delete cloud;
}

TEST_F(Clouds, WithoutFadeTimeTheCloudSwitchesAtOnce) {
    replaceIni(cAppearingCloud::kConfig, cloudIni(true, "appear_delay_time=\"0.1\"\n"));
    auto* cloud = new cAppearingCloud(root);
    EXPECT_EQ(cloud->getCurrentAlpha(), 200.0f);
    cloud->appear();
    frames(6, 0.02f);
    EXPECT_TRUE(cloud->isVisible());
    EXPECT_TRUE(cloud->isIdle());
    EXPECT_EQ(cloud->getPiece(cTextCloud::PIECE_CENTER)->getVertexAlpha(0), 200u);
    cloud->disappear();
    frame(0.02f);
    EXPECT_FALSE(cloud->isVisible()) << "no disappear delay, no fade";
    delete cloud;
}

}  // namespace

namespace {

TEST_F(Clouds, DropPanelDropsOnItsSpringAndLiftsAway) {
    auto* panel = new cDropPanel(root);
    panel->setPosition(cVector2(300.0f, -700.0f));
    panel->show();
    panel->enable();
    EXPECT_TRUE(panel->isDropping());
    frame(0.02f);
    EXPECT_EQ(sound->count("play:" + std::string(panel_files::kSoundAppear)), 1u);
    EXPECT_FALSE(panel->isActive()) << "no clicks while it moves";
    // t from -2.5 at 3.4 per second: about 659 pixels above the target at the start.
    EXPECT_NEAR(panel->getPosition().y, std::sin(2.0f * -2.432f) * (-100.0f * 2.432f * 2.432f) - 60.0f, 1.0f);
    for (int i = 0; i < 300 && panel->isDropping(); ++i) frame(0.02f);
    EXPECT_FALSE(panel->isDropping());
    EXPECT_EQ(panel->getPosition(), cVector2(0.0f, 0.0f)) << "stopped on the target";
    EXPECT_TRUE(panel->isActive());
    EXPECT_EQ(sound->count("play:" + std::string(panel_files::kSoundAppear)), 1u) << "once";
    // Opened: it lifts to its rest point at 1800 pixels per second and goes.
    panel->setPosition(cVector2(0.0f, 90.0f));
    panel->setOpen(true);
    EXPECT_TRUE(panel->isLifting());
    frame(0.02f);
    EXPECT_EQ(sound->count("play:" + std::string(panel_files::kSoundDisappear)), 1u);
    EXPECT_FLOAT_EQ(panel->getPosition().y, 54.0f);
    frames(3, 0.02f);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->isLifting());
    delete panel;
}

}  // namespace

namespace {

TEST_F(Clouds, CloudButtonSizesItsFaceAndClicks) {
    addIni("Config/Shop/cloud_button.ini",
           "[CLOUD_BUTTON]\ntexture_normal=\"cb_n.dds\"\ntexture_hover=\"cb_h.dds\"\ntexture_pressed=\"cb_p.dds\"\n"
           "texture_disabled=\"cb_d.dds\"\ntexture_size=\"64,64\"\nrect_center=\"16,16,48,48\"\nmargins=\"4,2\"\n"
           "size=\"132,68\"\nsound_active=\"cb_active.ogg\"\nsound_pressed=\"cb_pressed.ogg\"\noffset_back=\"3,4\"\n"
           "alpha_back=\"100\"\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\n");
    addIni("Config/Shop/cloud_button_use.ini",
           "[BUTTON]\nini=\"Config/Shop/cloud_button.ini\"\ntext=\"OK\"\nposition=\"200,100\"\ndeep=\"10\"\n");
    auto* button = new cCloudButton(root);
    button->loadFromIni(effectIni("Config/Shop/cloud_button_use.ini"), L"BUTTON");
    button->show();
    button->enable();
    // Content: 132 x 68 less the margins (8, 4) and the borders (32, 32).
    EXPECT_EQ(button->getContentSize(), cVector2(92.0f, 32.0f));
    EXPECT_EQ(button->getScale(), cVector2(100.0f / 32.0f, 36.0f / 32.0f));
    EXPECT_EQ(button->getBorder(cCloudButtonBase::LEFT)->getTransformOrigin(), cVector2(8.0f + 50.0f, 0.0f));
    EXPECT_EQ(button->getBack()->getPosition(), cVector2(203.0f, 104.0f));
    EXPECT_FLOAT_EQ(button->getBack()->getDeep() + 0.5f, button->getDeep());
    button->setAlpha(200);
    EXPECT_EQ(button->getBack()->getVertexAlpha(0), 45u) << "face alpha - 255 + alpha_back";
    int clicks = 0;
    static int* counter = nullptr;
    counter = &clicks;
    button->setClickHandler([](cCloudButton*) { ++*counter; });
    in::injectCursor(200.0f, 100.0f);
    frame(0.0f);
    EXPECT_TRUE(isCloudButtonHot(button));
    EXPECT_EQ(button->getPicture(), "cb_h.dds");
    EXPECT_EQ(sound->count("play:cb_active.ogg"), 1u);
    in::injectButton(0, true);
    frame(0.0f);
    frame(0.0f);
    EXPECT_EQ(button->getPicture(), "cb_p.dds");
    in::injectButton(0, false);
    frame(0.0f);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sound->count("play:cb_pressed.ogg"), 1u);
    button->disable();
    frame(0.0f);
    EXPECT_EQ(button->getPicture(), "cb_d.dds");
    EXPECT_FALSE(isCloudButtonHot(button));
    delete button;
}

}  // namespace
