#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "SceneTestSupport.h"

class AnimationTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        services.addTexture("strip", 256, 128);
        services.addTexture("still", 128, 64);
    }
};

namespace {
int g_endCalls = 0;
void onEnd(void* argument) { g_endCalls += *static_cast<int*>(argument); }
}  // namespace

TEST_F(AnimationTest, FrameFromTime) {
    cPicture p;
    p.setLayer0FrameCount(8);
    p.setLayer0Length(1.0f);
    const std::pair<float, uint32_t> cases[] = {{0.0f, 1}, {0.5f, 5}, {0.999f, 8}, {1.0f, 8}, {-0.05f, 1}, {-0.5f, 8}};
    for (auto [time, frame] : cases) {
        p.setLayer0Time(time);
        EXPECT_EQ(p.getLayer0Frame(), frame) << time;
    }
    // Without a length the layer rests on its last frame once it has been advanced; at time 0
    // it still shows its first.
    p.setLayer0Length(0.0f);
    p.setLayer0Time(0.3f);
    EXPECT_EQ(p.getLayer0Frame(), 8u);
    p.setLayer0Time(0.0f);
    EXPECT_EQ(p.getLayer0Frame(), 1u);
}

TEST_F(AnimationTest, ALayerWithoutLengthNeverAdvancedDrawsItsFirstFrame) {
    cPicture p;
    p.setPicture("strip");
    p.setLayer0FrameSize(cVector2(64, 64));
    p.setLayer0FrameCount(8);
    p.getQuad();
    EXPECT_EQ(p.getLayer0Frame(), 1u);
    EXPECT_EQ(p.getQuad().uvRects[0], cRect(0.0f, 0.0f, 0.25f, 0.5f));
    p.advanceAnimation(0.1f);
    EXPECT_EQ(p.getQuad().uvRects[0], cRect(0.75f, 0.5f, 1.0f, 1.0f));  // frame 8
    EXPECT_EQ(p.getLayer0Frame(), 8u);
    p.advanceAnimation(-0.1f);
    EXPECT_EQ(p.getQuad().uvRects[0], cRect(0.0f, 0.0f, 0.25f, 0.5f));

    // Not looped, it has run past its end at every advance.
    int weight = 1;
    g_endCalls = 0;
    p.setLayer0Looped(false);
    p.setLayerEndCallback(0, onEnd, &weight);
    p.getQuad();
    EXPECT_EQ(g_endCalls, 0);
    p.advanceAnimation(0.1f);
    EXPECT_EQ(p.getQuad().uvRects[0], cRect(0.75f, 0.5f, 1.0f, 1.0f));
    EXPECT_EQ(g_endCalls, 1);
}

TEST_F(AnimationTest, TimeWrapsOrClampsAtTheNextQuad) {
    cPicture p;
    p.setPicture("strip");
    p.setLayer0FrameSize(cVector2(64, 64));
    cAnimation run;
    run.picture = "strip";
    run.frameCount = 8;
    run.length = 1.0f;
    run.looped = true;
    run.frameSize = cVector2(64, 64);
    p.setLayer0Animation(run, ORIGIN_START, 0);
    p.advanceAnimation(2.25f);
    EXPECT_EQ(p.getLayer0Time(), 2.25f);  // raw until the next quad
    p.getQuad();
    EXPECT_FLOAT_EQ(p.getLayer0Time(), 0.25f);
    EXPECT_EQ(p.getLayer0Frame(), 3u);

    p.setLayer0Time(-0.25f);
    p.getQuad();
    EXPECT_FLOAT_EQ(p.getLayer0Time(), 0.75f);

    // Not looped: clamped to the end; the end callback runs at each recomputation past it.
    cPicture q;
    int weight = 1;
    cAnimation once = run;
    once.looped = false;
    q.setLayer0Animation(once, ORIGIN_START, 0);
    q.setLayerEndCallback(0, onEnd, &weight);
    g_endCalls = 0;
    q.advanceAnimation(2.25f);
    q.getQuad();
    EXPECT_EQ(q.getLayer0Frame(), 8u);
    EXPECT_EQ(q.getLayer0Time(), 1.0f);
    EXPECT_EQ(g_endCalls, 1);
    q.getQuad();  // nothing stale: no new call
    EXPECT_EQ(g_endCalls, 1);
    q.advanceAnimation(0.1f);
    q.getQuad();
    EXPECT_EQ(g_endCalls, 2);

    // assign copies the end callback with its argument.
    cPicture copy;
    copy.assign(q);
    copy.advanceAnimation(1.0f);
    copy.getQuad();
    EXPECT_EQ(g_endCalls, 3);
}

TEST_F(AnimationTest, GridUvAndQuadSize) {
    cPicture p;
    p.setPicture("strip");
    p.setLayer0FrameCount(8);
    p.setLayer0Length(1.0f);
    p.setLayer0FrameSize(cVector2(64, 64));
    p.getQuad();  // looks the texture up, which builds the grid
    EXPECT_EQ(p.getLayerColumns(0), 4u);
    EXPECT_EQ(p.getLayerRows(0), 2u);
    p.setLayer0Frame(6);
    const cRenderQuad& q = p.getQuad();
    EXPECT_EQ(q.uvRects[0], cRect(0.25f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(p.getQuadSize(), cVector2(64, 64));

    // The corners follow a size change made by the frame count alone (still -> animated).
    cPicture still;
    still.setPicture("strip");
    still.setLayer0FrameSize(cVector2(64, 64));
    still.setPosition(cVector2(100, 100));
    EXPECT_FLOAT_EQ(still.getQuad().vertices[0].x, 100.0f - 128.0f);
    still.setLayer0FrameCount(8);
    EXPECT_FLOAT_EQ(still.getQuad().vertices[0].x, 100.0f - 32.0f);
    EXPECT_FLOAT_EQ(still.getQuad().vertices[3].y, 100.0f + 32.0f);

    // A frame larger than the image still gives one cell (no division by zero columns).
    p.setLayer0FrameSize(cVector2(1000, 1000));
    p.getQuad();
    EXPECT_EQ(p.getLayerColumns(0), 1u);
    EXPECT_EQ(p.getLayerRows(0), 1u);
}

TEST_F(AnimationTest, StaticLayerTextureRect) {
    cPicture p;
    p.setPicture("still");
    p.setLayer0TextureRect(cRect(10, 20, 74, 52));
    const cRenderQuad& q = p.getQuad();
    EXPECT_FLOAT_EQ(q.uvRects[0].left, 0.078125f);
    EXPECT_FLOAT_EQ(q.uvRects[0].top, 0.3125f);
    EXPECT_FLOAT_EQ(q.uvRects[0].right, 0.578125f);
    EXPECT_FLOAT_EQ(q.uvRects[0].bottom, 0.8125f);
    EXPECT_EQ(p.getQuadSize(), cVector2(64, 32));

    // Without a texture name the quad has no size.
    cPicture bare;
    bare.getQuad();
    EXPECT_EQ(bare.getQuadSize(), cVector2(0, 0));
}

TEST_F(AnimationTest, SetLayerFrameRange) {
    cPicture p;
    p.setLayer0FrameCount(4);
    p.setLayer0Length(1.0f);
    try {
        p.setLayer0Frame(0);
        FAIL() << "frame 0 accepted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "New value of animation frame is incorrect.");
    }
    EXPECT_NO_THROW(p.setLayer0Frame(5));
    EXPECT_EQ(p.getLayer0Time(), 1.0f);
    EXPECT_THROW(p.setLayer0Frame(6), const char*);
    p.setLayer0Frame(3);
    EXPECT_FLOAT_EQ(p.getLayer0Time(), 0.5f);

    // Rounding of count * length / count never refuses the end of the run.
    p.setLayer0FrameCount(3);
    p.setLayer0Length(0.7f);
    EXPECT_NO_THROW(p.setLayer0Frame(4));

    // No frames or no length: time 0, never undefined arithmetic.
    p.setLayer0FrameCount(0);
    EXPECT_NO_THROW(p.setLayer0Frame(9));
    EXPECT_EQ(p.getLayer0Time(), 0.0f);
    // A negative length (a damaged section) has no run either.
    p.setLayer0FrameCount(4);
    p.setLayer0Length(-1.0f);
    EXPECT_NO_THROW(p.setLayer0Frame(2));
    EXPECT_EQ(p.getLayer0Time(), 0.0f);
}

TEST_F(AnimationTest, SetAnimationOrigins) {
    cAnimation a;
    a.picture = "strip";
    a.frameCount = 10;
    a.length = 2.0f;
    a.looped = false;
    struct Case {
        unsigned origin;
        float value;
        uint32_t frame;
        float time;
    };
    const Case cases[] = {
        {ORIGIN_START, 0, 1, 0.0f},
        {ORIGIN_END, 0, 10, 2.0f},
        {ORIGIN_PERCENT, 50, 6, 1.0f},
        {ORIGIN_SECONDS, 0.45f, 3, 0.4f},   // snaps to the start of its frame
        {ORIGIN_SECONDS, 99.0f, 10, 2.0f},  // clamped into the run
        {ORIGIN_PERCENT, -20, 1, 0.0f},
    };
    for (const Case& c : cases) {
        cPicture p;
        p.setLayer0Animation(a, c.origin, c.value);
        EXPECT_EQ(p.getLayer0Frame(), c.frame) << c.origin << " " << c.value;
        EXPECT_FLOAT_EQ(p.getLayer0Time(), c.time) << c.origin << " " << c.value;
        EXPECT_EQ(p.getPicture(), "strip");
        EXPECT_FALSE(p.isLayer0Looped());
    }

    // Origin 1 keeps the current time, wrapped while the layer loops.
    cPicture keep;
    keep.setLayer0FrameCount(10);
    keep.setLayer0Length(2.0f);
    keep.setLayer0Time(4.5f);
    keep.setLayer0Animation(a, ORIGIN_KEEP, 0);
    EXPECT_FLOAT_EQ(keep.getLayer0Time(), 0.4f);

    // Lengths that do not divide evenly still land on the end.
    cAnimation odd = a;
    odd.frameCount = 3;
    odd.length = 0.7f;
    cPicture end;
    EXPECT_NO_THROW(end.setLayer0Animation(odd, ORIGIN_END, 0));
    EXPECT_EQ(end.getLayer0Frame(), 3u);

    // Zero length or zero frames: time 0, which is the first frame.
    cAnimation flat = a;
    flat.length = 0.0f;
    cPicture f;
    EXPECT_NO_THROW(f.setLayer0Animation(flat, ORIGIN_PERCENT, 50));
    EXPECT_EQ(f.getLayer0Time(), 0.0f);
    EXPECT_EQ(f.getLayer0Frame(), 1u);
    flat.frameCount = 0;
    EXPECT_NO_THROW(f.setLayer0Animation(flat, ORIGIN_END, 0));
    flat.frameCount = 10;
    flat.length = -2.0f;
    EXPECT_NO_THROW(f.setLayer0Animation(flat, ORIGIN_START, 0));
    EXPECT_EQ(f.getLayer0Time(), 0.0f);
    // An endless run starts at its first frame from any origin.
    flat.length = std::numeric_limits<float>::infinity();
    for (unsigned origin : {ORIGIN_END, ORIGIN_PERCENT}) {
        EXPECT_NO_THROW(f.setLayer0Animation(flat, origin, 50));
        EXPECT_EQ(f.getLayer0Frame(), 1u);
    }

    // A bad origin changes nothing.
    cPicture bad;
    try {
        bad.setLayer0Animation(a, 5, 0);
        FAIL() << "origin 5 accepted";
    } catch (const wchar_t* text) {
        EXPECT_EQ(std::wstring(text), L"Bad animation origin has been specified.");
    }
    EXPECT_EQ(bad.getPicture(), "");
    EXPECT_EQ(bad.getLayer0FrameCount(), 1u);
}

TEST_F(AnimationTest, LoadAnimationKeepsUnsetFields) {
    cAnimation a;
    a.picture = "old";
    a.length = 3.0f;
    auto ini = makeIni({{L"picture", L"walk.png"}, {L"anim_frame_count", L"6"}, {L"anim_frame_size", L"32 16"}});
    loadAnimation(&a, *ini, kSection);
    EXPECT_EQ(a.picture, "walk.png");
    EXPECT_EQ(a.frameCount, 6u);
    EXPECT_EQ(a.length, 3.0f);
    EXPECT_TRUE(a.looped);
    EXPECT_EQ(a.frameSize, cVector2(32, 16));
    auto empty = makeIni({});
    loadAnimation(&a, *empty, kSection);
    EXPECT_EQ(a.picture, "");  // the name is always replaced
}

namespace {
std::vector<std::string> g_calls;
bool finishAtOnce(cSprite*) {
    g_calls.push_back("once");
    return true;
}
bool late(cSprite*) {
    g_calls.push_back("late");
    return false;
}
bool addsLate(cSprite* s) {
    g_calls.push_back("adds");
    s->addController(late);
    return true;
}
bool keep(cSprite*) {
    g_calls.push_back("keep");
    return false;
}
}  // namespace

TEST_F(AnimationTest, ControllersRunInOrderAndAddedOnesJoinByPosition) {
    cPicture p;
    p.addController(finishAtOnce);
    p.addController(nullptr);  // ignored
    p.runControllers();
    p.runControllers();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"once"}));

    // Added while an entry other than the last runs: called in the same walk.
    g_calls.clear();
    cPicture q;
    q.addController(addsLate);
    q.addController(keep);
    q.runControllers();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"adds", "keep", "late"}));

    // Added while the last entry runs: from the next walk on.
    g_calls.clear();
    cPicture r;
    r.addController(addsLate);
    r.runControllers();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"adds"}));
    r.runControllers();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"adds", "late"}));
    EXPECT_EQ(r.getControllerCount(), 1u);
}
