// The effects' demo data in the built Data folder: every file the effects name is there, and
// the numbers and curves keep the rules that keep a level from hanging or never ending.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cBitmapFont.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxFlyScore.h"
#include "game/effects/cFxFlyScorePic.h"
#include "game/effects/cFxMessage.h"

namespace {

namespace fs = std::filesystem;

class EffectData : public testing::Test {
protected:
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;

    void SetUp() override {
        files = std::make_unique<cFileManager>(cStringA((fs::path(RW_DIST_DIR) / "Data").string()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        resources->loadFolder("config", true, 11);
    }
    void TearDown() override {
        resources.reset();
        files.reset();
    }
    static bool inData(const cStringA& name) {
        return fs::is_regular_file(fs::path(RW_DIST_DIR) / "Data" / cStringA(name).makeLower().str());
    }
    static float number(const cIniFile& ini, const wchar_t* section, const wchar_t* key) {
        float value = -12345.0f;
        readFloat(ini, section, key, &value);
        return value;
    }
};

TEST_F(EffectData, EveryFileTheEffectsNameIsInTheBuiltData) {
    std::vector<cStringA> names = {fx_files::kMoneyTexture};
    for (int kind = 1; kind <= 3; ++kind) {
        names.push_back(cFxFlyScore::iconOf(kind));
        names.push_back(cFxFlyScorePic::pictureOf(kind));
        names.push_back(cFxFlyScorePic::glowOf(kind));
    }
    for (int type = 0; type <= 2; ++type) names.push_back(cFxMessage::pictureOf(type));
    struct Section {
        const char* file;
        const wchar_t* section;
    } sections[] = {{fx_files::kPointer, L"COMMON"},      {fx_files::kWaiterStar, L"COMMON"},
                    {fx_files::kStar, L"COMMON"},         {fx_files::kStar, L"GLOW"},
                    {fx_files::kScoreStar, L"COMMON"},    {fx_files::kScoreStar, L"GLOW"},
                    {fx_files::kFirework, L"SPARKLES"},   {fx_files::kFirework, L"DEBRIS"},
                    {fx_files::kFirework, L"DEBRIS_FLASH"}, {fx_files::kFlyScore, L"COMMON"},
                    {fx_files::kFlyScore, L"LOST"}};
    for (const Section& s : sections) {
        const cIniFile& ini = *resources->getIni(s.file);
        for (const wchar_t* key : {L"picture", L"font", L"texture"}) {
            cStringA name = toNarrowWord(ini.getValue(s.section, key));
            if (!name.isEmpty()) names.push_back(name);
        }
    }
    for (const char* key : {"font", "texture"})
        for (const wchar_t* section : {L"COMMON", L"LOST"})
            EXPECT_FALSE(resources->getIni(fx_files::kFlyScore)->getValue(section, cStringW(key)).isEmpty())
                << key << " of the flying score's " << cStringA(cStringW::narrow(section));
    for (const char* file : {fx_files::kMoney, fx_files::kPointer, fx_files::kWaiterStar, fx_files::kFlyScore,
                             fx_files::kFlyScorePic, fx_files::kStar, fx_files::kScoreStar, fx_files::kMessage,
                             fx_files::kFirework, fx_files::kClickCurves, fx_files::kFlyScoreCurves,
                             fx_files::kFlyScoreLostCurves, fx_files::kFlyScorePicCurves})
        names.push_back(file);
    for (const cStringA& name : names) EXPECT_TRUE(inData(name)) << name << " is missing from the built Data";
}

TEST_F(EffectData, TheFlyingScoreFontHoldsDigitsSignsAndLetters) {
    const cIniFile& ini = *resources->getIni(fx_files::kFlyScore);
    for (const wchar_t* section : {L"COMMON", L"LOST"}) {
        const cStringA font = toNarrowWord(ini.getValue(section, L"font"));
        resources->load(font, 10);
        cBitmapFont* f = resources->getFont(font);
        for (wchar_t c : std::wstring(L"0123456789+- xABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!"))
            EXPECT_TRUE(f->hasGlyph(c)) << font << " lacks " << char(c);
    }
}

TEST_F(EffectData, CurvesStartVisibleEndInvisibleAndOutlastTheStars) {
    const float fallDelay = number(*resources->getIni(fx_files::kFlyScorePic), L"COMMON", L"delay_between_stars_fall");
    EXPECT_GE(fallDelay, 0.0f);
    struct Case {
        const char* set;
        float visibleUntil;   // alpha above 0 from 0 up to here
    } cases[] = {{fx_files::kFlyScoreCurves, 0.0f},
                 {fx_files::kFlyScoreLostCurves, 0.0f},
                 {fx_files::kFlyScorePicCurves, 0.6f + 5.0f * fallDelay}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        cCurve* alpha = resources->getCurve(c.set, "alpha");
        resources->getCurve(c.set, "off_y");
        for (float x = 0.0f; x <= c.visibleUntil + 1e-4f; x += 0.01f) ASSERT_GT(alpha->getValue(x), 0.0f) << x;
        EXPECT_GT(alpha->getValue(0.016f), 0.0f);
        EXPECT_LE(alpha->getValue(alpha->getMaxX()), 0.0f);
        EXPECT_GT(alpha->getMaxX(), c.visibleUntil);
    }
    EXPECT_GT(resources->getCurve(fx_files::kClickCurves, "alpha")->getMaxX(), 0.0f);
    resources->getCurve(fx_files::kClickCurves, "scale");
}

TEST_F(EffectData, NumbersThatWouldHangOrNeverEndAreInRange) {
    const cIniFile& pointer = *resources->getIni(fx_files::kPointer);
    EXPECT_GT(number(pointer, L"COMMON", L"time_disappear"), 0.0f);
    const cIniFile& fw = *resources->getIni(fx_files::kFirework);
    EXPECT_GT(number(fw, L"DEBRIS", L"count"), 0.0f);
    EXPECT_GT(number(fw, L"DEBRIS", L"lifetime"), 0.0f);
    EXPECT_GT(number(fw, L"DEBRIS", L"sparkling_interval"), 0.0f);
    EXPECT_GE(number(fw, L"SPARKLES", L"max_count"), 1.0f);
    EXPECT_LT(number(fw, L"SPARKLES", L"fading_start"), number(fw, L"SPARKLES", L"lifetime"));
    // Both kinds of star meet the bonus bar at the same two ends.
    const cIniFile& star = *resources->getIni(fx_files::kStar);
    const cIniFile& scoreStar = *resources->getIni(fx_files::kScoreStar);
    EXPECT_EQ(star.getValue(L"COMMON", L"end_pos1"), scoreStar.getValue(L"COMMON", L"start_pos1"));
    EXPECT_EQ(star.getValue(L"COMMON", L"end_pos2"), scoreStar.getValue(L"COMMON", L"start_pos2"));
    EXPECT_NE(star.getValue(L"COMMON", L"end_pos1"), star.getValue(L"COMMON", L"end_pos2"));
}

}  // namespace
