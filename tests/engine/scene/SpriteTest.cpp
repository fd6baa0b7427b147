#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "SceneTestSupport.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cXmlNode.h"
#include "tests/engine/core/test_file_env.h"

namespace {

struct Box {
    float left, top, right, bottom;
};

// The area the renderer covers: the transformed corners' bounds.
Box coveredBox(cSprite& sprite) {
    const cRenderQuad& q = sprite.getQuad();
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (int k = 0; k < 4; ++k) {
        cVector2 p = q.transformedCorner(k);
        b.left = std::min(b.left, p.x);
        b.top = std::min(b.top, p.y);
        b.right = std::max(b.right, p.x);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

}  // namespace

class SpriteTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        services.addTexture("img", 64, 32);
        services.addTexture("other", 16, 16);
    }
};

TEST_F(SpriteTest, GeometryOfCentredAndCornerAnchoredSprites) {
    struct Case {
        const char* name;
        bool centered;
        cVector2 origin;
        Box box;
    };
    const Case cases[] = {
        {"centred", true, cVector2(0, 0), {68, 84, 132, 116}},
        {"top-left anchored", false, cVector2(0, 0), {100, 100, 164, 132}},
        {"centred with origin", true, cVector2(10, 0), {58, 84, 122, 116}},
        {"top-left with origin", false, cVector2(10, 5), {90, 95, 154, 127}},
    };
    for (const Case& c : cases) {
        cPicture p;
        p.setPicture("img");
        p.setPosition(cVector2(100, 100));
        p.setTransformFlags(TF_CENTERED, c.centered);
        p.setTransformOrigin(c.origin);
        Box b = coveredBox(p);
        EXPECT_FLOAT_EQ(b.left, c.box.left) << c.name;
        EXPECT_FLOAT_EQ(b.top, c.box.top) << c.name;
        EXPECT_FLOAT_EQ(b.right, c.box.right) << c.name;
        EXPECT_FLOAT_EQ(b.bottom, c.box.bottom) << c.name;
        EXPECT_EQ(p.getQuadSize(), cVector2(64, 32)) << c.name;
    }
}

TEST_F(SpriteTest, ScaleRotationAndMirrorsTurnAboutTheAnchor) {
    cPicture p;
    p.setPicture("img");
    p.setPosition(cVector2(100, 100));
    p.setScale(cVector2(2, 3));
    p.setTransformFlags(TF_MIRROR_X, true);  // negates the vertical scale
    const cRenderQuad& q = p.getQuad();
    EXPECT_FLOAT_EQ(q.matrix[0], 2.0f);
    EXPECT_FLOAT_EQ(q.matrix[4], -3.0f);
    p.setTransformFlags(TF_MIRROR_X, false);
    p.setTransformFlags(TF_MIRROR_Y, true);  // negates the horizontal scale
    EXPECT_FLOAT_EQ(p.getQuad().matrix[0], -2.0f);
    EXPECT_FLOAT_EQ(p.getQuad().matrix[4], 3.0f);

    cPicture r;
    r.setPicture("img");
    r.setPosition(cVector2(100, 100));
    r.setAngle(90);  // clockwise on screen: the top-left corner goes to the top-right
    cVector2 corner = r.getQuad().transformedCorner(0);
    EXPECT_NEAR(corner.x, 116.0f, 1e-3);
    EXPECT_NEAR(corner.y, 68.0f, 1e-3);
}

TEST_F(SpriteTest, ParentMovesAndDepthChangesReachTheSubtree) {
    cPicture parent;
    auto* child = new cPicture(&parent);
    auto* grandchild = new cPicture(child);
    child->setPosition(cVector2(10, 10));
    grandchild->setPosition(cVector2(20, 20));
    grandchild->setDeep(3);
    parent.setPosition(cVector2(5, -3));
    EXPECT_EQ(child->getPosition(), cVector2(15, 7));
    EXPECT_EQ(grandchild->getPosition(), cVector2(25, 17));
    grandchild->setPicture("img");
    Box b = coveredBox(*grandchild);
    EXPECT_FLOAT_EQ(b.left, 25 - 32);

    parent.setDeep(2);
    EXPECT_EQ(child->getDeep(), 2.0f);
    EXPECT_EQ(grandchild->getDeep(), 5.0f);
}

TEST_F(SpriteTest, RenderSetOrderByDepthThenCreation) {
    cPicture a, b, c, hidden;
    a.setDeep(5);
    b.setDeep(1);
    c.setDeep(5);
    for (cPicture* p : {&c, &b, &a}) p->show();
    EXPECT_EQ(getRenderSetSnapshot(), (std::vector<cSprite*>{&b, &a, &c}));

    b.setDeep(9);  // re-sorted
    EXPECT_EQ(getRenderSetSnapshot(), (std::vector<cSprite*>{&a, &c, &b}));

    changeDeep(&hidden, 0.5f);  // not shown: stored, set unchanged
    EXPECT_EQ(hidden.getDeep(), 0.5f);
    EXPECT_EQ(getRenderSetCount(), 3u);

    a.hide();
    EXPECT_FALSE(isInRenderSet(&a));
    c.hide();
    b.hide();
}

TEST_F(SpriteTest, ColoursAndAlphas) {
    cPicture p;
    p.setColor(0x123456);
    p.setAlpha(256);  // only the low 8 bits
    EXPECT_EQ(p.getVertexAlpha(2), 0u);
    EXPECT_EQ(p.getVertexColor(3), 0x123456u);
    p.setVertexAlpha(1, 0x80);
    p.setVertexColor(4, 0xFFFFFF);  // out of range: nothing
    p.setVertexAlpha(7, 1);
    EXPECT_EQ(p.getVertexColor(5), 0u);
    EXPECT_EQ(p.getVertexAlpha(4), 0u);
    EXPECT_EQ(p.getQuad().vertices[1].color, 0x80123456u);
}

TEST_F(SpriteTest, IniLoaderReadsEveryKeyAndResetsLook) {
    cPicture p;
    p.setDeep(7);
    p.setColor(0x00FF00);
    p.setAlpha(10);
    auto bare = makeIni({});
    p.loadFromIni(*bare, kSection);
    EXPECT_EQ(p.getDeep(), 0.0f);
    EXPECT_EQ(p.getQuad().vertices[0].color, 0xFFFFFFFFu);  // opaque white again
    EXPECT_EQ(p.getScale(), cVector2(1, 1));
    p.hide();

    auto ini = makeIni({{L"visible", L"0"},
                        {L"deep", L"4.5"},
                        {L"position", L"10 20"},
                        {L"transform_origin", L"1 2"},
                        {L"scale", L"2 3"},
                        {L"angle", L"45"},
                        {L"alpha", L"128"},
                        {L"vertex2_alpha", L"7"},
                        {L"color", L"255 0 0"},
                        {L"vertex3_color", L"0 0 255"},
                        {L"mirror_x", L"1"},
                        {L"centered", L"0"},
                        {L"overlay", L"1"},
                        {L"use_filtering", L"1"},
                        {L"overlay_less_1", L"1"},
                        {L"multiplier", L"3"},
                        {L"vertex1_offset", L"4 5"},
                        {L"anim_frame_count", L"4"},
                        {L"anim_length", L"2"},
                        {L"anim_looped", L"0"},
                        {L"anim_frame_size", L"16 8"},
                        {L"texture_rect", L"1 2 3 4"},
                        {L"anim2_frame_count", L"3"},
                        {L"texture2_rect", L"5 6 7 8"}});
    p.loadFromIni(*ini, kSection);
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(p.getDeep(), 4.5f);
    EXPECT_EQ(p.getPosition(), cVector2(10, 20));
    EXPECT_EQ(p.getTransformOrigin(), cVector2(1, 2));
    EXPECT_EQ(p.getScale(), cVector2(2, 3));
    EXPECT_EQ(p.getAngle(), 45.0f);
    EXPECT_EQ(p.getTransformFlags(), uint32_t(TF_MIRROR_X));
    EXPECT_EQ(p.getRenderFlags(), uint32_t(RF_OVERLAY | RF_USE_FILTERING | RF_OVERLAY_LESS_1));
    const cRenderQuad& q = p.getQuad();
    EXPECT_EQ(q.vertices[0].color, 0x80FF0000u);
    EXPECT_EQ(q.vertices[2].color, 0x07FF0000u);
    EXPECT_EQ(q.vertices[3].color & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(q.grid, 3u);
    EXPECT_EQ(p.getVertexOffset(1), cVector2(4, 5));
    EXPECT_EQ(p.getLayer0FrameCount(), 4u);
    EXPECT_EQ(p.getLayer0Length(), 2.0f);
    EXPECT_FALSE(p.isLayer0Looped());
    EXPECT_EQ(p.getLayer0FrameSize(), cVector2(16, 8));
    EXPECT_EQ(p.getLayer0TextureRect(), cRect(1, 2, 3, 4));
    EXPECT_EQ(p.getLayer1FrameCount(), 3u);
    EXPECT_EQ(p.getLayer1TextureRect(), cRect(5, 6, 7, 8));

    // A zero or huge grid stays within what the batch can draw.
    auto grids = makeIni({{L"multiplier", L"0"}});
    p.loadFromIni(*grids, kSection);
    EXPECT_EQ(p.getQuad().grid, 1u);
    p.hide();
}

TEST_F(SpriteTest, AGridBeyondTheBatchIsClampedWithAWarningNamingTheSprite) {
    file_test::TempWorld world;
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    std::string log;
    {
        cLogManager logs;
        struct Case {
            const wchar_t* multiplier;
            uint32_t grid;
            bool warned;
        };
        const Case cases[] = {{L"128", 128, false}, {L"129", 128, true}, {L"255", 128, true}};
        for (const Case& c : cases) {
            auto ini = std::make_unique<cIniFile>(cStringA("menus/grid.ini"));
            ini->addEntry(cStringW(L"wavy_flag"), cStringW(L"multiplier"), cStringW(c.multiplier));
            ini->addEntry(cStringW(L"wavy_flag"), cStringW(L"picture"), cStringW(L"img"));
            cPicture p;
            p.loadFromIni(*ini, cStringW(L"wavy_flag"));
            EXPECT_EQ(p.getQuad().grid, c.grid) << c.multiplier;
            forEachInRenderSet(drawObject);
            EXPECT_EQ(services.drawnQuads.back().grid, c.grid) << c.multiplier;
            p.hide();
        }
        log = file_test::readDiskFile(files.getCommonPath() + "game.log");
    }
    EXPECT_EQ(log.find("grid of 128"), std::string::npos) << log;
    for (const char* text : {"[wavy_flag] of \"menus/grid.ini\" asks for a grid of 129 cells; it is drawn with 128",
                             "grid of 255 cells"})
        EXPECT_NE(log.find(text), std::string::npos) << text << "\n" << log;
}

TEST_F(SpriteTest, XmlLoaderKeepsScaleWithoutAttributeAndSkipsRenderFlags) {
    const char* text = "<p deep=\"2\" position=\"3 4\" angle=\"10\" overlay=\"1\" visible=\"0\"/>";
    std::u16string wide;
    for (const char* c = text; *c; ++c) wide.push_back(static_cast<char16_t>(*c));
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    auto node = cXmlNode::fromBytes(bytes.data(), bytes.size());

    cPicture p;
    p.setScale(cVector2(2, 2));
    p.loadFromNode(*node);
    EXPECT_EQ(p.getScale(), cVector2(2, 2));
    EXPECT_EQ(p.getDeep(), 2.0f);
    EXPECT_EQ(p.getPosition(), cVector2(3, 4));
    EXPECT_EQ(p.getAngle(), 10.0f);
    EXPECT_EQ(p.getRenderFlags(), 0u);
    EXPECT_FALSE(p.isVisible());
}

namespace {
int g_drawCalls = 0;
void drawHook(cDevice*) { ++g_drawCalls; }
}  // namespace

TEST_F(SpriteTest, DrawRecordsInDepthOrderWithLazyLookups) {
    cPicture back, front;
    back.setPicture("img");
    back.setLayerTexture(1, "other");
    front.setPicture("other");
    front.setDeep(1);
    front.setRenderFlags(RF_ALPHALESS, true);
    front.setDrawCallback(drawHook);
    back.show();
    front.show();
    EXPECT_EQ(services.lookups["img"], 0);  // nothing looked up before drawing

    forEachInRenderSet(drawObject);
    forEachInRenderSet(drawObject);
    ASSERT_EQ(services.drawn.size(), 4u);
    const cDrawRecord& r0 = services.drawn[0];
    EXPECT_EQ(FakeServices::fake(r0.texture0)->name, "img");
    EXPECT_EQ(FakeServices::fake(r0.texture1)->name, "other");
    EXPECT_EQ(r0.quad, &back.getQuad());
    const cDrawRecord& r1 = services.drawn[1];
    EXPECT_EQ(r1.renderFlags, uint32_t(RF_ALPHALESS));
    EXPECT_EQ(r1.drawCallback, &drawHook);
    EXPECT_EQ(r1.texture1, nullptr);
    EXPECT_EQ(services.lookups["img"], 1);  // once, not per frame
    EXPECT_EQ(services.drawnQuads[0].uvRects[0], cRect(0, 0, 1, 1));

    // A name change is looked up at the next draw.
    back.setPicture("other");
    services.drawn.clear();
    forEachInRenderSet(drawObject);
    EXPECT_EQ(FakeServices::fake(services.drawn[0].texture0)->name, "other");
    EXPECT_EQ(back.getQuadSize(), cVector2(16, 16));
    back.hide();
    front.hide();
}

namespace {
cSprite* g_victim = nullptr;
std::vector<cSprite*> g_visited;
void hideVictim(cSprite* s) {
    g_visited.push_back(s);
    if (g_victim) {
        delete g_victim;
        g_victim = nullptr;
    }
}
}  // namespace

TEST_F(SpriteTest, RenderWalkSurvivesSpritesLeavingDuringIt) {
    auto* a = new cPicture;
    auto* b = new cPicture;
    auto* c = new cPicture;
    for (cPicture* p : {a, b, c}) p->show();
    g_victim = b;  // deleted while a is visited
    g_visited.clear();
    forEachInRenderSet(hideVictim);
    EXPECT_EQ(g_visited, (std::vector<cSprite*>{a, c}));
    delete a;
    delete c;
}

namespace {
// The render set as it should be: shown sprites by depth, equal depths by creation.
std::vector<cSprite*> expectedDrawOrder(const std::vector<std::unique_ptr<cPicture>>& all) {
    std::vector<cSprite*> shown;
    for (auto& p : all)
        if (p && p->isVisible()) shown.push_back(p.get());
    std::stable_sort(shown.begin(), shown.end(), [](cSprite* a, cSprite* b) { return a->getDeep() < b->getDeep(); });
    return shown;
}

std::vector<std::unique_ptr<cPicture>>* g_crowd = nullptr;
std::vector<cSprite*> g_walked;
std::vector<cSprite*> g_shownAhead;
// At every 97th sprite: shows one sprite deeper than the current, hides one of the deepest,
// moves one to the front and deletes the next one in drawing order.
void churn(cSprite* s) {
    g_walked.push_back(s);
    if (g_walked.size() % 97 != 0) return;
    std::vector<cSprite*> order = getRenderSetSnapshot();
    size_t at = std::find(order.begin(), order.end(), s) - order.begin();
    for (auto& p : *g_crowd)
        if (p && !p->isVisible() && p->getDeep() > s->getDeep()) {
            p->show();
            g_shownAhead.push_back(p.get());
            break;
        }
    order.back()->hide();
    if (order.size() > at + 3) order[at + 3]->setDeep(-1.0f);
    if (order.size() > at + 1) {
        for (auto& p : *g_crowd)
            if (p.get() == order[at + 1]) p.reset();
    }
}
}  // namespace

TEST_F(SpriteTest, LargeRenderSetKeepsItsOrderThroughChangesAndWalks) {
    // Enough sprites, and enough changes, to move entries between the set's storage blocks.
    std::vector<std::unique_ptr<cPicture>> crowd;
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
    for (int i = 0; i < 3000; ++i) {
        crowd.push_back(std::make_unique<cPicture>());
        crowd.back()->setDeep(float(next() % 40));
        crowd.back()->show();
    }
    for (int i = 0; i < 6000; ++i) {
        cPicture& p = *crowd[next() % crowd.size()];
        switch (next() % 3) {
        case 0: p.hide(); break;
        case 1: p.show(); break;
        case 2: p.setDeep(float(next() % 40)); break;
        }
    }
    std::vector<cSprite*> expected = expectedDrawOrder(crowd);
    EXPECT_EQ(getRenderSetSnapshot(), expected);
    EXPECT_EQ(getRenderSetCount(), expected.size());

    // A walk that changes the set as it goes: a sprite shown deeper than the current one is
    // reached, one moved in front of it or hidden or deleted is not.
    g_crowd = &crowd;
    g_walked.clear();
    g_shownAhead.clear();
    forEachInRenderSet(churn);
    g_crowd = nullptr;
    ASSERT_GT(g_walked.size(), 1000u);
    for (size_t i = 1; i < g_walked.size(); ++i) ASSERT_LE(g_walked[i - 1]->getDeep(), g_walked[i]->getDeep()) << i;
    std::vector<cSprite*> unique = g_walked;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(std::adjacent_find(unique.begin(), unique.end()), unique.end());
    EXPECT_FALSE(g_shownAhead.empty());
    for (cSprite* s : g_shownAhead) {
        bool alive = std::any_of(crowd.begin(), crowd.end(), [&](auto& p) { return p.get() == s; });
        if (alive && s->isVisible() && s->getDeep() >= 0.0f) {
            EXPECT_NE(std::find(g_walked.begin(), g_walked.end(), s), g_walked.end());
        }
    }
    EXPECT_EQ(getRenderSetSnapshot(), expectedDrawOrder(crowd));

    for (auto& p : crowd) p.reset();
    EXPECT_EQ(getRenderSetCount(), 0u);
}

TEST_F(SpriteTest, ModelCallsWithoutModelDoNothing) {
    cPicture p;
    p.setModelAnimation("walk", 1.0f, 0.0f);
    p.advanceModelAnimation(0.1f);
    p.setModelPosition(cVector2(1, 1));
    EXPECT_EQ(p.getModelAnimationName(), "");
    EXPECT_EQ(p.getModelPosition(), cVector2());
    EXPECT_EQ(p.getModelPartCount(), 0u);
    EXPECT_THROW(p.getModelPartBoneMatrix(0, 0), const char*);

    auto ini = makeIni({{L"model_animation_name", L"walk"}, {L"model_animation_length", L"2"}});
    p.loadFromIni(*ini, kSection);  // names an animation but no model
    EXPECT_EQ(p.getModelInstance(), nullptr);
    p.hide();
}

TEST_F(SpriteTest, ModelInstanceFollowsTheSpriteAndIsOwned) {
    {
        cPicture p;
        p.setPosition(cVector2(3, 4));
        auto ini = makeIni({{L"visible", L"0"},
                            {L"deep", L"6"},
                            {L"model", L"man.x"},
                            {L"model_animation_name", L"walk"},
                            {L"model_animation_length", L"2"}});
        p.loadFromIni(*ini, kSection);
        ASSERT_NE(p.getModelInstance(), nullptr);
        FakeModelInstance* inst = FakeServices::inst(p.getModelInstance());
        EXPECT_EQ(inst->animation, "walk");
        EXPECT_EQ(inst->deep, 6.0f);
        p.setPosition(cVector2(8, 9));
        EXPECT_EQ(inst->position, cVector2(8, 9));
        p.setModelName("");
        p.reloadModel();
        EXPECT_EQ(p.getModelInstance(), nullptr);
        EXPECT_EQ(services.modelInstancesAlive, 0);
        p.setModelName("man.x");
        p.resetResources();
        EXPECT_EQ(services.modelInstancesAlive, 1);
    }
    EXPECT_EQ(services.modelInstancesAlive, 0);
}

TEST_F(SpriteTest, AssignCopiesTheLookNotTheNode) {
    cPicture a, b;
    a.setPicture("img");
    a.setPosition(cVector2(5, 6));
    a.setDeep(3);
    a.setAlpha(9);
    a.setLayer0FrameCount(4);
    a.setRenderFlags(RF_USE_FILTERING, true);
    a.show();
    b.assign(a);
    EXPECT_EQ(b.getPosition(), cVector2(5, 6));
    EXPECT_EQ(b.getDeep(), 3.0f);
    EXPECT_EQ(b.getVertexAlpha(0), 9u);
    EXPECT_EQ(b.getLayer0FrameCount(), 4u);
    EXPECT_EQ(b.getPicture(), "img");
    EXPECT_TRUE(b.testRenderFlags(RF_USE_FILTERING));
    EXPECT_FALSE(b.isVisible());
    a.hide();
}

TEST_F(SpriteTest, HostileConfigurationValuesNeverBreakTheQuad) {
    // Values a damaged section may hold: each is loaded, animated and drawn without undefined
    // arithmetic (the sanitizers watch the conversions).
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> keys = {
        {L"deep", L"nan"},
        {L"position", L"inf -inf"},
        {L"scale", L"1e38 1e38"},
        {L"anim_frame_count", L"4294967295"},
        {L"anim_length", L"-1"},
        {L"anim_frame_size", L"-5 0.0001"},
        {L"texture_rect", L"0 0 1e39 5"},
        {L"multiplier", L"99999"},
        {L"anim2_frame_count", L"0"},
        {L"anim2_length", L"nan"},
    };
    for (const auto& kv : keys) {
        cPicture p;
        auto ini = makeIni({kv, {L"picture", L"img"}, {L"picture2", L"other"}});
        p.loadFromIni(*ini, kSection);
        for (float dt : {0.0f, 0.5f, 1e30f, -1e30f}) {
            p.advanceLayerTime(0, dt);
            p.advanceLayerTime(1, dt);
            forEachInRenderSet(drawObject);
            (void)p.getLayer0Frame();
            (void)p.getLayer1Frame();
        }
        EXPECT_LE(p.getQuad().grid, kMaxQuadGrid);
        p.hide();
    }
    EXPECT_FALSE(services.drawn.empty());
}

namespace {
class Shake : public cOffsetSource {
public:
    cVector2 offset;
    cVector2 getOffset() const override { return offset; }
};
}  // namespace

TEST_F(SpriteTest, OffsetSourceReachesTheSubtreeAtEveryQuad) {
    Shake shake;
    cPicture parent;
    auto* child = new cPicture(&parent);
    parent.setOffsetSource(&shake);
    EXPECT_EQ(child->getOffsetSource(), &shake);
    shake.offset = cVector2(3, -2);
    EXPECT_EQ(child->getQuad().viewOffset, cVector2(3, -2));
    shake.offset = cVector2(1, 1);  // nothing stale, still read again
    EXPECT_EQ(child->getQuad().viewOffset, cVector2(1, 1));
    parent.setOffsetSource(nullptr);
}

TEST_F(SpriteTest, ResetResourcesLooksEverythingUpAgain) {
    cPicture p;
    p.setPicture("img");
    p.getQuad();
    EXPECT_EQ(services.lookups["img"], 1);
    p.resetResources();
    EXPECT_EQ(services.lookups["img"], 2);
    EXPECT_EQ(p.getQuadSize(), cVector2(64, 32));
}
