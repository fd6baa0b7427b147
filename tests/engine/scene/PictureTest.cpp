#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "engine/scene/cCompositePicture.h"

class PictureTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        services.addTexture("a", 32, 32);
        services.addTexture("b", 16, 16);
    }
};

TEST_F(PictureTest, AutoFilteringFollowsScaleAndAngle) {
    struct Case {
        cVector2 scale;
        float angle;
        bool filtered;
    };
    const Case cases[] = {
        {{1, 1}, 0, false},       {{1, 1}, 90, false},       {{1, 1}, 180, false},
        {{1, 1}, 270, false},     {{1, 1}, -90, false},      {{1, 1}, 45, true},
        {{1.001f, 1}, 0, true},   {{1, 0.999f}, 0, true},    {{1.0004f, 0.9995f}, 0, false},
        {{1, 1}, 89.99f, false},  {{1, 1}, 0.03f, true},     {{-1, 1}, 0, true},
    };
    for (const Case& c : cases) {
        cPicture p;
        p.setAutoFiltering(true);
        p.setScale(c.scale);
        p.setAngle(c.angle);
        EXPECT_EQ(p.testRenderFlags(RF_USE_FILTERING), c.filtered)
            << c.scale.x << "," << c.scale.y << " @" << c.angle;
    }
    // Off: the flag keeps what was set.
    cPicture manual;
    manual.setRenderFlags(RF_USE_FILTERING, true);
    manual.setAngle(0);
    EXPECT_TRUE(manual.testRenderFlags(RF_USE_FILTERING));
    auto ini = makeIni({{L"auto_filtering", L"1"}, {L"visible", L"0"}});
    manual.loadFromIni(*ini, kSection);
    EXPECT_FALSE(manual.testRenderFlags(RF_USE_FILTERING));
}

TEST_F(PictureTest, NamesMarkStaleOnlyWhenChanged) {
    cPicture p;
    EXPECT_TRUE(p.setPicture("a"));
    p.getQuad();
    EXPECT_EQ(services.lookups["a"], 1);
    EXPECT_FALSE(p.setPicture("a"));
    EXPECT_FALSE(p.isLayerTextureStale(0));
    EXPECT_TRUE(p.setPicture("b"));
    EXPECT_TRUE(p.isLayerTextureStale(0));
    EXPECT_FALSE(p.setShaderName(""));
    EXPECT_TRUE(p.setModelName("man.x"));
    EXPECT_TRUE(p.isModelStale());

    // An absent key clears the names.
    auto ini = makeIni({{L"visible", L"0"}, {L"picture2", L"b"}});
    p.loadFromIni(*ini, kSection);
    EXPECT_EQ(p.getPicture(), "");
    EXPECT_EQ(p.getLayerTexture(1), "b");
    EXPECT_EQ(p.getModelName(), "");
}

namespace {
int g_showRuns = 0, g_hideRuns = 0;
bool showOnce(cSprite*) { ++g_showRuns; return true; }
bool hideTwice(cSprite*) { return ++g_hideRuns % 2 == 0; }
void countUpdate(cSceneNode*) {}
}  // namespace

TEST_F(PictureTest, ShowAndHideControllersRunFromTheNextUpdate) {
    g_showRuns = g_hideRuns = 0;
    cPicture p;
    p.setShowController(showOnce);
    p.setHideController(hideTwice);
    p.setUpdateCallback(countUpdate);
    p.show();
    EXPECT_EQ(g_showRuns, 0);
    p.update();
    p.update();
    EXPECT_EQ(g_showRuns, 1);
    p.show();
    p.hide();
    p.show();
    p.hide();  // two hide controllers queued
    EXPECT_EQ(p.getControllerCount(), 3u);
    p.update();
    EXPECT_EQ(g_showRuns, 2);
    EXPECT_EQ(g_hideRuns, 2);
}

TEST_F(PictureTest, SectionWithModelAnimationButZeroLengthStartsNothing) {
    cPicture p;
    auto ini = makeIni({{L"visible", L"0"}, {L"model", L"man.x"}, {L"model_animation_name", L"walk"},
                        {L"model_animation_length", L"0"}});
    p.loadFromIni(*ini, kSection);
    EXPECT_EQ(p.getModelInstance(), nullptr);  // not looked up yet: nothing asked for it
    EXPECT_EQ(p.getModelAnimationName(), "");
    EXPECT_NE(p.getModelInstance(), nullptr);
}

class CompositeTest : public PictureTest {
protected:
    std::unique_ptr<cCompositePicture> panel;
    void SetUp() override {
        PictureTest::SetUp();
        panel = std::make_unique<cCompositePicture>();
        auto ini = makeIni({{L"visible", L"0"}, {L"enabled", L"0"}, {L"position", L"100 50"}, {L"deep", L"10"}});
        panel->loadFromIni(*ini, kSection);
    }
    void TearDown() override {
        panel.reset();
        PictureTest::TearDown();
    }
};

TEST_F(CompositeTest, AttachedObjectsFollowPositionAndDepth) {
    auto* item = new cPicture(panel.get());
    item->setPosition(cVector2(10, 5));
    item->setDeep(12);
    panel->attach(item);
    EXPECT_EQ(item->getPosition(), cVector2(110, 55));
    panel->setPosition(cVector2(130, 50));
    EXPECT_EQ(item->getPosition(), cVector2(140, 55));
    panel->setDeep(20);
    EXPECT_EQ(item->getDeep(), 22.0f);
    panel->setAlpha(40);
    EXPECT_EQ(item->getVertexAlpha(3), 40u);

    // Attaching again keeps one entry and refreshes the stored position.
    item->setPosition(cVector2(0, 0));
    panel->attach(item);
    EXPECT_EQ(panel->getAttachedCount(), 1u);
    panel->setPosition(cVector2(100, 50));  // back at its base: the stored position
    EXPECT_EQ(item->getPosition(), cVector2(0, 0));
}

TEST_F(CompositeTest, VisibilityEnablingAndActivationRelay) {
    cPicture outside;  // attached but not a child
    panel->attach(&outside);
    panel->show();
    EXPECT_TRUE(outside.isVisible());
    panel->enable();
    EXPECT_TRUE(outside.isEnabled());
    EXPECT_TRUE(isPendingEnable(panel.get()));
    panel->deactivateAll();
    EXPECT_FALSE(outside.isActive());
    EXPECT_FALSE(panel->isActive());
    panel->hide();  // hiding re-activates the composite's own subtree
    EXPECT_TRUE(panel->isActive());
    EXPECT_FALSE(outside.isVisible());
    EXPECT_FALSE(outside.isActive());  // not in the subtree
    panel->activateAll();
    EXPECT_TRUE(outside.isActive());
    panel->disable();
    EXPECT_FALSE(outside.isEnabled());
    panel->detach(&outside);
}

TEST_F(CompositeTest, DeletedAttachedObjectIsForgotten) {
    auto* item = new cPicture(panel.get());
    auto* other = new cPicture;
    panel->attach(item);
    panel->attach(other);
    delete other;  // deleted elsewhere
    EXPECT_EQ(panel->getAttachedCount(), 1u);
    panel->setPosition(cVector2(1, 1));  // ASan catches a stale pointer here
    panel->show();
    EXPECT_TRUE(item->isVisible());
    // The composite going first leaves the outside object intact.
    auto* survivor = new cPicture;
    panel->attach(survivor);
    panel.reset();
    survivor->setPosition(cVector2(3, 3));
    delete survivor;
}
