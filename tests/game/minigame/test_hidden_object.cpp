// Hidden objects without an engine: the points of the click polygon (end mark, gaps, a
// refused length), the split into triangles (windings, a concave polygon), the hit test
// (edges, the centred offset), the hover flag by the cursor, and the hint blink on game time.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/scene/cSceneServices.h"
#include "game/minigame/cHiddenObject.h"

namespace {

class Services : public cSceneServices {
public:
    cVector2 mouse;
    float gameDelta = 0.0f;
    cVector2 getMousePosition() override { return mouse; }
    float getGameDelta() override { return gameDelta; }
};

class HiddenObject : public ::testing::Test {
protected:
    void SetUp() override {
        previous = setSceneServices(&services);
    }
    void TearDown() override {
        setSceneServices(previous);
    }
    // An object from "key=value" pairs of section OBJECT_1.
    std::unique_ptr<cHiddenObject> make(const std::vector<std::pair<std::wstring, std::wstring>>& keys) {
        cIniFile ini("test.ini");
        for (const auto& [key, value] : keys) ini.addEntry(L"OBJECT_1", key, value);
        auto object = std::make_unique<cHiddenObject>(nullptr);
        object->loadFromIni(ini, L"OBJECT_1");
        return object;
    }
    static std::vector<std::pair<std::wstring, std::wstring>> polygon(const std::vector<std::wstring>& points) {
        std::vector<std::pair<std::wstring, std::wstring>> keys{{L"name", L"Key"}};
        for (size_t i = 0; i < points.size(); ++i) keys.push_back({L"v" + std::to_wstring(i + 1), points[i]});
        return keys;
    }
    bool hits(cHiddenObject& object, float x, float y, cVector2 position = cVector2(), cVector2 size = cVector2()) {
        object.hitTest(cVector2(x, y), position, size);
        return object.isHovered();
    }

    Services services;
    cSceneServices* previous = nullptr;
};

TEST_F(HiddenObject, PointsRunUpToTheFirstMissingOrEndMarkedKey) {
    struct Case {
        std::vector<std::pair<std::wstring, std::wstring>> keys;
        size_t points;
    };
    const Case cases[] = {
        {{{L"v1", L"0,0"}, {L"v2", L"40,0"}, {L"v3", L"40,30"}, {L"v4", L"0,30"}}, 4},
        {{{L"v1", L"0,0"}, {L"v2", L"40,0"}, {L"v4", L"0,30"}}, 2},                                    // v3 absent
        {{{L"v1", L"0,0"}, {L"v2", L"40,0"}, {L"v3", L"-100000,-100000"}, {L"v4", L"0,30"}}, 2},      // the end mark
        {{{L"v1", L"0,0"}, {L"v2", L"40,0"}, {L"v3", L""}, {L"v4", L"0,30"}}, 2},                     // empty
        {{{L"v1", L"0,0"}, {L"v2", L"40,0"}, {L"v3", L"nan,nan"}, {L"v4", L"0,30"}}, 2},              // not a number
        {{{L"v2", L"40,0"}}, 0},
    };
    for (const Case& c : cases) {
        auto object = make(c.keys);
        EXPECT_EQ(object->getVertices().size(), c.points);
        if (c.points < 3) {
            EXPECT_TRUE(object->getTriangles().empty());
            EXPECT_FALSE(hits(*object, 10, 5)) << "too few points: never hovered";
        }
    }
}

TEST_F(HiddenObject, AClockwiseSquareIsHitInsideAndOnItsEdgesOnly) {
    auto object = make(polygon({L"0,0", L"40,0", L"40,30", L"0,30"}));
    EXPECT_EQ(object->getTriangles().size(), 2u) << "each triangle once";
    EXPECT_EQ(object->getName(), L"Key");
    struct Case {
        float x, y;
        bool hit;
    };
    const Case cases[] = {{120, 115, true},  {100, 100, true},  {140, 130, true}, {140, 115, true}, {120, 100, true},
                          {141, 115, false}, {99, 100, false},  {120, 131, false}, {120, 99, false}};
    for (const Case& c : cases) EXPECT_EQ(hits(*object, c.x, c.y, cVector2(100, 100)), c.hit) << c.x << "," << c.y;
}

TEST_F(HiddenObject, ACounterClockwiseOrDegeneratePolygonIsNeverHit) {
    const std::vector<std::vector<std::wstring>> cases = {
        {L"0,0", L"0,30", L"40,30", L"40,0"},   // counter-clockwise on the screen
        {L"0,0", L"0,30", L"40,0"},             // a counter-clockwise triangle
        {L"0,0", L"20,0", L"40,0"},             // all on one line
    };
    for (const auto& points : cases) {
        auto object = make(polygon(points));
        EXPECT_TRUE(object->getTriangles().empty());
        EXPECT_FALSE(hits(*object, 10, 5));
        EXPECT_FALSE(hits(*object, 2, 20));
    }
}

TEST_F(HiddenObject, AConcavePolygonLeavesItsNotchOut) {
    // An L: the top-right quarter is not part of it.
    auto object = make(polygon({L"0,0", L"30,0", L"30,30", L"60,30", L"60,60", L"0,60"}));
    EXPECT_EQ(object->getTriangles().size(), 4u);
    EXPECT_TRUE(hits(*object, 15, 15));
    EXPECT_TRUE(hits(*object, 45, 45));
    EXPECT_TRUE(hits(*object, 30, 15)) << "the inner edge counts";
    EXPECT_FALSE(hits(*object, 45, 15));
    EXPECT_FALSE(hits(*object, 31, 29));
}

TEST_F(HiddenObject, TheCentredPictureMeasuresItsPolygonFromTheFrameCorner) {
    auto object = make(polygon({L"0,0", L"10,0", L"0,10"}));
    // Frame 100 x 60 at (400, 300): point (0, 0) lies at (350, 270).
    EXPECT_TRUE(hits(*object, 351, 271, cVector2(400, 300), cVector2(100, 60)));
    EXPECT_FALSE(hits(*object, 349, 271, cVector2(400, 300), cVector2(100, 60)));
    // Through the cursor: centred with a frame size, and not centred.
    auto centred = make([] {
        auto keys = polygon({L"0,0", L"10,0", L"0,10"});
        keys.push_back({L"position", L"400,300"});
        keys.push_back({L"anim_frame_size", L"100,60"});
        return keys;
    }());
    services.mouse = cVector2(351, 271);
    centred->updateHover(true, false);
    EXPECT_TRUE(centred->isHovered());
    services.mouse = cVector2(401, 301);
    centred->updateHover(true, false);
    EXPECT_FALSE(centred->isHovered());
    auto corner = make([] {
        auto keys = polygon({L"0,0", L"10,0", L"0,10"});
        keys.push_back({L"position", L"400,300"});
        keys.push_back({L"anim_frame_size", L"100,60"});
        keys.push_back({L"centered", L"0"});
        return keys;
    }());
    corner->updateHover(true, false);
    EXPECT_TRUE(corner->isHovered());
    // Untested: the flag is set as given.
    corner->updateHover(false, false);
    EXPECT_FALSE(corner->isHovered());
    corner->updateHover(false, true);
    EXPECT_TRUE(corner->isHovered());
}

TEST_F(HiddenObject, MoreThan256PointsAreRefused) {
    auto ring = [](int n) {
        std::vector<std::wstring> points;
        for (int i = 0; i < n; ++i) {
            const double a = 2.0 * M_PI * i / n;   // clockwise on the screen (y down)
            points.push_back(std::to_wstring(100.0 + 90.0 * std::cos(a)) + L"," + std::to_wstring(100.0 + 90.0 * std::sin(a)));
        }
        return points;
    };
    auto largest = make(polygon(ring(256)));
    EXPECT_EQ(largest->getVertices().size(), 256u);
    EXPECT_FALSE(largest->getTriangles().empty());
    EXPECT_TRUE(hits(*largest, 100, 100));
    try {
        make(polygon(ring(257)));
        ADD_FAILURE() << "257 points were accepted";
    } catch (const cStringA& text) {
        EXPECT_NE(text.find("OBJECT_1"), std::string::npos) << text;
    }
}

TEST_F(HiddenObject, AHintBlinksFortyTimesOnGameTimeThenRests) {
    auto object = make(polygon({L"0,0", L"40,0", L"40,30", L"0,30"}));
    services.gameDelta = 1.0f / 60.0f;
    object->setHinted(true);
    int darkFrames = 0, frames = 0;
    bool wasDark = false;
    int cycles = 0;
    while (object->isHinted() && frames < 60 * 60) {
        object->update();
        ++frames;
        const bool dark = object->getBlinkAlpha() == 0.0f;
        if (dark && !wasDark) ++cycles;
        darkFrames += dark;
        wasDark = dark;
    }
    EXPECT_EQ(cycles, 40);
    // About 0.76 s a blink.
    EXPECT_NEAR(frames / 60.0f, 40 * 0.76f, 2.0f);
    EXPECT_EQ(object->getBlinkAlpha(), 255.0f);
    EXPECT_EQ(object->getBlinksLeft(), 40u);
    // Stopped game time stops the blink; a click's unhinting restores full alpha at once.
    object->update();
    object->setHinted(true);
    for (int i = 0; i < 5; ++i) object->update();
    const float alpha = object->getBlinkAlpha();
    EXPECT_LT(alpha, 255.0f);
    services.gameDelta = 0.0f;
    object->update();
    EXPECT_EQ(object->getBlinkAlpha(), alpha);
    object->setHinted(false);
    object->update();
    EXPECT_EQ(object->getBlinkAlpha(), 255.0f);
}

}  // namespace
