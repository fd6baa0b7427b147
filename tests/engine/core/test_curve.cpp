// Curve sets: tessellation sample counts, ordering, clamped lookups and the file's rules.

#include <gtest/gtest.h>

#include <string>

#include "engine/core/cCurveSet.h"
#include "tests/engine/core/test_file_env.h"

namespace {

using file_test::utf16;

std::unique_ptr<cCurveSet> load(const std::wstring& text) {
    std::string bytes = utf16(text);
    return cCurveSet::fromBytes(bytes.data(), bytes.size(), "fx.crv");
}

std::wstring point(int i, const wchar_t* position, const wchar_t* left = L"0 0", const wchar_t* right = L"0 0") {
    return L"<Point" + std::to_wstring(i) + L" position=\"" + position + L"\" left_anchor=\"" + left +
           L"\" right_anchor=\"" + right + L"\"/>";
}

TEST(CurveSet, StraightSegmentHasFiftySamplesPerUnitPlusTheEnd) {
    auto set = load(L"<Curves count=\"1\"><Curve1 name=\"Line\" point_count=\"2\">" + point(1, L"0 0") +
                    point(2, L"1 2") + L"</Curve1></Curves>");
    auto* curve = dynamic_cast<cBezierCurve*>(set->getCurve("line"));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->getTable().size(), 51u);
    EXPECT_FLOAT_EQ(curve->getMinX(), 0.0f);
    EXPECT_FLOAT_EQ(curve->getMaxX(), 1.0f);
    EXPECT_NEAR(curve->getValue(0.5f), 1.0f, 1e-4f);
    EXPECT_NEAR(curve->getValue(0.25f), 0.5f, 1e-3f);
    EXPECT_FLOAT_EQ(curve->getValue(-3.0f), 0.0f);  // clamped below
    EXPECT_FLOAT_EQ(curve->getValue(7.0f), 2.0f);   // clamped above
    EXPECT_EQ(set->getCurve("LINE"), curve);       // any case
    EXPECT_EQ(set->findCurve("Line"), curve);
    EXPECT_EQ(set->getCurve("other"), nullptr);
}

TEST(CurveSet, SampleCountsFollowTheSegmentWidths) {
    // Widths 0.5 and 2: 25 + 100 samples plus the end; a segment going back contributes none.
    auto set = load(L"<c count=\"2\"><Curve1 name=\"a\" point_count=\"3\">" + point(1, L"0 0") + point(2, L"0.5 1") +
                    point(3, L"2.5 0") + L"</Curve1><Curve2 name=\"b\" point_count=\"3\">" + point(1, L"0 0") +
                    point(2, L"-1 5") + point(3, L"1 1") + L"</Curve2></c>");
    EXPECT_EQ(static_cast<cBezierCurve*>(set->getCurve("a"))->getTable().size(), 126u);
    auto* b = static_cast<cBezierCurve*>(set->getCurve("b"));
    for (size_t i = 1; i < b->getTable().size(); ++i) EXPECT_GE(b->getTable()[i].x, b->getTable()[i - 1].x);
}

TEST(CurveSet, LoopingAnchorsKeepTheTableOrdered) {
    auto set = load(L"<c count=\"1\"><Curve1 name=\"loop\" point_count=\"2\">" + point(1, L"0 0", L"0 0", L"3 1") +
                    point(2, L"1 1", L"-3 0") + L"</Curve1></c>");
    auto* curve = static_cast<cBezierCurve*>(set->getCurve("loop"));
    const auto& table = curve->getTable();
    ASSERT_GE(table.size(), 2u);
    EXPECT_LT(table.size(), 51u);  // samples moving back were dropped
    for (size_t i = 1; i + 1 < table.size(); ++i) EXPECT_GE(table[i].x, table[i - 1].x);
    for (float x = -0.5f; x <= 1.5f; x += 0.01f) {
        float y = curve->getValue(x);
        EXPECT_TRUE(y == y) << x;  // never NaN
    }
}

TEST(CurveSet, DegenerateCurvesAndTheSetsRules) {
    auto set = load(L"<c count=\"6\">"
                    L"<Curve1 name=\"Empty\" point_count=\"0\"/>"
                    L"<Curve2 name=\"one\" point_count=\"1\">" + point(1, L"4 -2") + L"</Curve2>"
                    L"<Curve3 name=\"\" point_count=\"1\">" + point(1, L"1 1") + L"</Curve3>"
                    L"<Curve4 name=\"ONE\" point_count=\"1\">" + point(1, L"9 9") + L"</Curve4>"
                    L"<Curve6 name=\"same_x\" point_count=\"2\">" + point(1, L"1 1") + point(2, L"1 5") + L"</Curve6>"
                    L"<Curve7 name=\"beyond_count\" point_count=\"0\"/>"
                    L"</c>");
    EXPECT_EQ(set->getCurveCount(), 3u);
    EXPECT_FLOAT_EQ(set->getCurve("empty")->getValue(-5.0f), 0.0f);
    EXPECT_FLOAT_EQ(set->getCurve("empty")->getValue(5.0f), 0.0f);
    EXPECT_FLOAT_EQ(set->getCurve("one")->getValue(0.0f), -2.0f);  // the first of the name stays
    EXPECT_FLOAT_EQ(set->getCurve("one")->getValue(100.0f), -2.0f);
    EXPECT_FLOAT_EQ(set->getCurve("same_x")->getValue(1.0f), 5.0f);  // only the end point
    EXPECT_EQ(set->getCurve("beyond_count"), nullptr);
}

TEST(CurveSet, MissingPointFailsAndBrokenXmlPropagates) {
    try {
        load(L"<c count=\"1\"><Curve1 name=\"a\" point_count=\"3\">" + point(1, L"0 0") + point(2, L"1 1") +
             L"</Curve1></c>");
        FAIL() << "a curve with a missing point was accepted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Cant't load the curve points.");
    }
    EXPECT_THROW(load(L"<c count=\"1\"><Curve1>"), cStringA);
    // Absurd counts cost nothing when the elements are not there.
    auto set = load(L"<c count=\"4294967295\"><Curve1 name=\"a\" point_count=\"0\"/></c>");
    EXPECT_EQ(set->getCurveCount(), 1u);
}

TEST(CurveSet, CurvesTooWideToSampleAreRefusedBeforeAllocating) {
    // Fifty samples per unit of x: spans of tens of thousands of units would need tens of
    // megabytes per curve, so a set is limited as a whole.
    struct Case {
        const char* what;
        std::vector<const wchar_t*> ends;  // one straight curve from x 0 to each end
        bool loads;
    };
    const Case cases[] = {
        {"one curve within the limit", {L"20000 1"}, true},
        {"one curve far too wide", {L"100000 1"}, false},
        {"two curves too wide together", {L"50000 1", L"50000 2"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring text = L"<c count=\"" + std::to_wstring(c.ends.size()) + L"\">";
        for (size_t i = 0; i < c.ends.size(); ++i) {
            std::wstring k = std::to_wstring(i + 1);
            text += L"<Curve" + k + L" name=\"c" + k + L"\" point_count=\"2\">" + point(1, L"0 0") +
                    point(2, c.ends[i]) + L"</Curve" + k + L">";
        }
        text += L"</c>";
        if (c.loads) {
            auto set = load(text);
            EXPECT_EQ(set->getCurveCount(), c.ends.size());
            continue;
        }
        try {
            load(text);
            ADD_FAILURE() << "the set was accepted";
        } catch (const cStringA& message) {
            EXPECT_NE(message.find("fx.crv"), std::string::npos) << message;
            EXPECT_NE(message.find("too large"), std::string::npos) << message;
        }
    }
}

}  // namespace
