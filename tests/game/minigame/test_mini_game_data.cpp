// The mini game's demo data in the built Data folder: every file, texture, font and sound its
// files name is there; the keys hold what the code needs (twelve level files with time, names
// on show, hint counts and miss limits in range; panels built hidden and disabled above the
// effects; the status panel left of the play field; a struck-through name that ends and a
// curve that fades out); every click polygon splits into triangles and lies in the play field.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cSceneServices.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cHiddenObject.h"

namespace {

namespace fs = std::filesystem;

const char* const kPanels[] = {minigame_files::kStartPanel, minigame_files::kAlertPanel, minigame_files::kPausePanel,
                               minigame_files::kContinuePanel, minigame_files::kStatusPanel};

class MiniGameData : public testing::Test {
protected:
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    cSceneServices services;
    cSceneServices* previous = nullptr;

    void SetUp() override {
        files = std::make_unique<cFileManager>(cStringA((fs::path(RW_DIST_DIR) / "Data").string()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
        resources->loadFolder("config", true, 11);
        previous = setSceneServices(&services);
    }
    void TearDown() override {
        setSceneServices(previous);
        resources.reset();
        files.reset();
    }
    static bool inData(const cStringA& name) {
        return fs::is_regular_file(fs::path(RW_DIST_DIR) / "Data" / cStringA(name).makeLower().str());
    }
    const cIniFile& ini(const cStringA& name) { return *resources->getIni(name); }
    static float number(const cIniFile& f, const wchar_t* section, const wchar_t* key, float fallback = 0.0f) {
        float v = fallback;
        stringToFloat(&v, f.getValue(section, key));
        return v;
    }
    static std::set<std::wstring> sections(const cIniFile& f) {
        std::set<std::wstring> out;
        for (const cIniFile::Entry& e : f.getEntries()) out.insert(e.section);
        return out;
    }
    std::vector<cStringA> levelFiles() {
        std::vector<cStringA> out;
        for (int m = 1; m <= minigame_files::kMiniGameCount; ++m)
            for (int v = 1; v <= minigame_files::kVariantCount; ++v) out.push_back(minigame_files::levelFile(m, v));
        return out;
    }
};

TEST_F(MiniGameData, EveryNamedFileIsInTheData) {
    const std::set<std::wstring> fileKeys = {L"picture", L"texture", L"font", L"texture_normal", L"texture_hover",
                                             L"texture_pressed", L"texture_disabled", L"start_picture",
                                             L"continue_picture", L"continue_picture2"};
    std::vector<cStringA> all = levelFiles();
    for (const char* panel : kPanels) all.emplace_back(panel);
    all.emplace_back(minigame_files::kTextDeleted);
    size_t named = 0;
    for (const cStringA& file : all)
        for (const cIniFile::Entry& e : ini(file).getEntries())
            if (fileKeys.count(e.key)) {
                const cStringA name = toNarrowWord(e.value);
                ASSERT_FALSE(name.isEmpty()) << file << " " << e.section.toNarrow() << "/" << e.key.toNarrow();
                EXPECT_TRUE(inData(name)) << file << " names " << name;
                ++named;
            }
    EXPECT_GT(named, 200u);
    for (const char* texture : {minigame_files::kExcellentTexture, minigame_files::kHintStarTexture})
        EXPECT_TRUE(inData(texture)) << texture;
    std::set<std::string> declared;
    for (const cIniFile::Entry& e : ini("Config/MiniGame1/sounds_minigame1.ini").getEntries())
        if (e.key == L"sound") declared.insert(e.value.toNarrow());
    for (const char* s : {minigame_files::kSoundRightClick, minigame_files::kSoundWrongClick,
                          minigame_files::kSoundTimePenalty, minigame_files::kSoundBonus}) {
        EXPECT_TRUE(declared.count(s)) << s;
        EXPECT_TRUE(inData(s)) << s;
    }
}

TEST_F(MiniGameData, LevelKeysAreWithinTheirLimitsAndEveryPolygonSplits) {
    for (const cStringA& file : levelFiles()) {
        SCOPED_TRACE(file);
        const cIniFile& f = ini(file);
        EXPECT_GT(number(f, L"COMMON", L"time"), 0.0f);
        EXPECT_GE(number(f, L"COMMON", L"count_lines"), 1.0f);
        EXPECT_GE(number(f, L"COMMON", L"count_clicks_for_penalty"), 2.0f);
        EXPECT_GT(number(f, L"COMMON", L"click_delay_for_reset"), 0.0f);
        const float hints = number(f, L"COMMON", L"count_hints", -1.0f);
        EXPECT_TRUE(hints >= 0.0f && hints <= 4.0f);
        EXPECT_GT(number(f, L"NAME_TEXT", L"line_spacing"), 0.0f);
        EXPECT_FALSE(f.getValue(L"NAME_TEXT", L"font").isEmpty());
        const float blurDeep = number(f, L"BACK_BLUR", L"deep");
        std::set<std::wstring> names;
        int toFind = 0, hintObjects = 0, decor = 0;
        for (int n = 1; f.hasSection(cStringW(L"OBJECT_") + intToString(n)); ++n) {
            const cStringW section = cStringW(L"OBJECT_") + intToString(n);
            cHiddenObject object(nullptr);
            object.loadFromIni(f, section);
            EXPECT_LT(object.getDeep(), blurDeep);
            const bool isHint = f.getValue(section, L"hint") == L"1", active = f.getValue(section, L"active") == L"1";
            // The backdrop too: an object without triangles is logged as a fault of the level.
            EXPECT_FALSE(object.getTriangles().empty()) << section.toNarrow();
            const cVector2 corner = object.getPosition() - object.getLayerFrameSize(0) / 2.0f;
            for (const cVector2& v : object.getVertices()) EXPECT_GT(corner.x + v.x, minigame_files::kClickFieldLeft);
            if (isHint) ++hintObjects;
            else if (active) {
                ++toFind;
                EXPECT_TRUE(names.insert(object.getName()).second) << "names are unique";
            } else {
                ++decor;
            }
        }
        EXPECT_EQ(toFind, 8);
        EXPECT_EQ(hintObjects, 1);
        EXPECT_EQ(decor, 2);   // the backdrop and the cover
    }
}

TEST_F(MiniGameData, PanelsStartHiddenAboveTheEffectsAndTheStatusPanelStaysLeft) {
    for (const char* file : kPanels) {
        const cIniFile& f = ini(file);
        EXPECT_EQ(f.getValue(L"COMMON", L"visible"), cStringW(L"0")) << file;
        EXPECT_EQ(f.getValue(L"COMMON", L"enabled"), cStringW(L"0")) << file;
        for (const std::wstring& s : sections(f)) EXPECT_GE(number(f, s.c_str(), L"deep"), 9000.0f) << file << " " << cStringW(s).toNarrow();
    }
    const cIniFile& status = ini(minigame_files::kStatusPanel);
    for (const wchar_t* section : {L"HINT", L"HINT_DESC"}) {
        EXPECT_EQ(status.getValue(section, L"visible"), cStringW(L"0"));
        EXPECT_EQ(status.getValue(section, L"enabled"), cStringW(L"0"));
    }
    std::set<std::wstring> points;
    for (const wchar_t* key : {L"position_1", L"position_2", L"position_3", L"position_4"}) {
        float p[2] = {1000.0f, 1000.0f};
        parseVector2(p, status.getValue(L"HINT", key));
        EXPECT_LE(p[0], minigame_files::kClickFieldLeft);
        EXPECT_TRUE(points.insert(status.getValue(L"HINT", key)).second) << "distinct";
    }
    for (const wchar_t* section : {L"COMMON", L"ADD_PANEL", L"PAUSE", L"HINT_DESC"}) {
        float p[2] = {1000.0f, 1000.0f};
        parseVector2(p, status.getValue(section, L"position"));
        EXPECT_LE(p[0], minigame_files::kClickFieldLeft) << cStringW(section).toNarrow();
    }
    const cIniFile& cont = ini(minigame_files::kContinuePanel);
    EXPECT_NE(cont.getValue(L"TEXT_CASH", L"string").find(L"#CASH#"), std::wstring::npos);
    EXPECT_NE(cont.getValue(L"TEXT_SCORE", L"string").find(L"#SCORE#"), std::wstring::npos);
    EXPECT_NE(cont.getValue(L"TEXT_TOTAL", L"string").find(L"#TOTAL#"), std::wstring::npos);
}

TEST_F(MiniGameData, TheStruckThroughNameEndsAndFadesOut) {
    const cIniFile& strike = ini(minigame_files::kTextDeleted);
    EXPECT_EQ(strike.getValue(L"COMMON", L"anim_looped"), cStringW(L"0"));
    EXPECT_GE(number(strike, L"COMMON", L"anim_frame_count"), 2.0f);
    EXPECT_GT(number(strike, L"COMMON", L"anim_length"), 0.0f);
    EXPECT_GE(number(strike, L"COMMON", L"fly_delay", -1.0f), 0.0f);
    EXPECT_GT(number(strike, L"COMMON", L"deep"), 8201.0f);
    cCurve* alpha = resources->getCurve(minigame_files::kFlyScoreCurves, "alpha");
    cCurve* offset = resources->getCurve(minigame_files::kFlyScoreCurves, "off_y");
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(offset, nullptr);
    EXPECT_GT(alpha->getValue(0.0f), 0.0f);
    EXPECT_LE(alpha->getValue(alpha->getMaxX()), 0.0f);
}

}  // namespace
