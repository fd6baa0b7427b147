// The panels' demo data in the built Data folder: every texture, font and sound the panel
// files and the world files name is there, every section lies above the level's fader, the
// panels are built hidden and disabled from it (every level of every world file included),
// and the keys that the code relies on hold what it needs.

#include <filesystem>
#include <set>

#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

namespace fs = std::filesystem;

const char* const kPanelFiles[] = {panel_files::kConfirmMenu, panel_files::kConfirmTry, panel_files::kEsc,
                                   panel_files::kContinue, panel_files::kStatus, "Config/Game/gi_panel_level.ini"};
const char* const kWorldFiles[] = {panel_files::kWorldEasy1, panel_files::kWorldHard1, panel_files::kWorld2,
                                   panel_files::kWorld3};

class PanelData : public testing::Test {
protected:
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cLogic> logic;
    FakeServices services;
    cSceneServices* previous = nullptr;

    void SetUp() override {
        files = std::make_unique<cFileManager>(cStringA((fs::path(RW_DIST_DIR) / "Data").string()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        resources->loadFolder("config", true, 11);
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(RW_DIST_DIR) / "Data" / "fonts"))
            if (e.path().extension() == ".rwf") resources->load(cStringA("fonts/" + e.path().filename().string()), 10);
        logic = std::make_unique<cLogic>();
        previous = setSceneServices(&services);
    }
    void TearDown() override {
        updateTopLevelNodes(nullptr);
        setSceneServices(previous);
        logic.reset();
        resources.reset();
        files.reset();
    }
    static bool inData(const cStringA& name) {
        return fs::is_regular_file(fs::path(RW_DIST_DIR) / "Data" / cStringA(name).makeLower().str());
    }
    const cIniFile& ini(const char* name) { return *resources->getIni(name); }
};

TEST_F(PanelData, EveryNamedFileIsInTheData) {
    const std::set<std::wstring> fileKeys = {L"picture", L"texture", L"font", L"texture_normal", L"texture_hover",
                                             L"texture_pressed", L"texture_disabled", L"panel_config",
                                             L"continue_good_pic", L"continue_normal_pic", L"continue_bad_pic",
                                             L"picture_1", L"picture_2", L"texture_1", L"texture_2", L"font_1",
                                             L"font_2"};
    std::vector<const char*> all(std::begin(kPanelFiles), std::end(kPanelFiles));
    all.insert(all.end(), std::begin(kWorldFiles), std::end(kWorldFiles));
    size_t named = 0;
    for (const char* file : all)
        for (const cIniFile::Entry& e : ini(file).getEntries())
            if (fileKeys.count(e.key)) {
                cStringA name = toNarrowWord(e.value);
                ASSERT_FALSE(name.isEmpty()) << file << " " << e.section.toNarrow() << "/" << e.key.toNarrow();
                EXPECT_TRUE(inData(name)) << file << " names " << name;
                ++named;
            }
    EXPECT_GT(named, 150u);
    EXPECT_TRUE(inData(panel_files::kStatusLevelPicture));
    // The six panel sounds are declared and made.
    std::set<std::string> declared;
    for (const cIniFile::Entry& e : ini("Config/Game/sounds_game_interface.ini").getEntries())
        if (e.key == L"sound") declared.insert(e.value.toNarrow());
    for (const char* s : {panel_files::kSoundAppear, panel_files::kSoundDisappear, panel_files::kSoundClock,
                          panel_files::kSoundGreat, panel_files::kSoundGood, panel_files::kSoundBad}) {
        EXPECT_TRUE(declared.count(s)) << s;
        EXPECT_TRUE(inData(s)) << s;
    }
}

TEST_F(PanelData, PanelsAreHiddenDisabledAndAboveTheFader) {
    for (const char* file : kPanelFiles) {
        const cIniFile& f = ini(file);
        EXPECT_EQ(f.getValue(L"COMMON", L"visible"), cStringW(L"0")) << file;
        EXPECT_EQ(f.getValue(L"COMMON", L"enabled"), cStringW(L"0")) << file;
        std::set<std::wstring> sections;
        for (const cIniFile::Entry& e : f.getEntries()) sections.insert(e.section);
        for (const std::wstring& s : sections) {
            float deep = 0.0f;
            stringToFloat(&deep, f.getValue(cStringW(s), L"deep"));
            EXPECT_GT(deep, 8400.0f) << file << " " << cStringW(s).toNarrow();
        }
    }
    float pause = 0, results = 0, menu = 0, retry = 0;
    stringToFloat(&pause, ini(panel_files::kEsc).getValue(L"COMMON", L"deep"));
    stringToFloat(&results, ini(panel_files::kContinue).getValue(L"COMMON", L"deep"));
    stringToFloat(&menu, ini(panel_files::kConfirmMenu).getValue(L"ADD_PANEL", L"deep"));
    stringToFloat(&retry, ini(panel_files::kConfirmTry).getValue(L"ADD_PANEL", L"deep"));
    EXPECT_GT(std::min(menu, retry), std::max(pause, results) + 100.0f) << "the confirm panels open on top";
}

TEST_F(PanelData, KeysTheCodeReliesOn) {
    const cIniFile& status = ini(panel_files::kStatus);
    EXPECT_EQ(status.getValue(L"CLOCK", L"anim_looped"), cStringW(L"0"));
    uint32_t frames = 0;
    stringToUnsigned(&frames, status.getValue(L"CLOCK", L"anim_frame_count"));
    EXPECT_GE(frames, 2u);
    EXPECT_EQ(status.getValue(L"BONUS_PROGRESS", L"centered"), cStringW(L"0"));
    EXPECT_EQ(status.getValue(L"COMMON", L"position"), cStringW(L"0,0"));
    for (const wchar_t* key : {L"off_goal", L"off_expert"}) {
        float xy[2] = {0, 0};
        parseVector2(xy, status.getValue(L"SCORE_PIC", key));
        EXPECT_GE(xy[1], 1.0f);
        EXPECT_EQ(xy[1], float(int(xy[1]))) << "whole steps";
    }
    const cIniFile& results = ini(panel_files::kContinue);
    for (const char* s : {"GOOD1", "GOOD2", "NORMAL1", "NORMAL2", "TA_LOSE", "GOAL_BUT_LOSE", "BAD1", "BAD2"})
        EXPECT_TRUE(results.hasSection(cStringW((std::string("TEXT_TITLE_") + s).c_str()))) << s;
    for (const wchar_t* s : {L"BUTTON_CONTINUE_GOAL", L"BUTTON_RESTART_GOAL", L"BUTTON_MENU_GOAL", L"BUTTON_CONTINUE",
                             L"BUTTON_MENU", L"BUTTON_TRY_AGAIN"})
        EXPECT_TRUE(results.hasSection(s));
    struct Holds {
        const char* file;
        const wchar_t *section, *placeholder;
    };
    const Holds holds[] = {{panel_files::kContinue, L"TEXT_CASH", L"#CASH#"},
                           {panel_files::kContinue, L"TEXT_SCORE", L"#SCORE#"},
                           {panel_files::kContinue, L"TEXT_GOAL", L"#SCORE#"},
                           {panel_files::kContinue, L"TEXT_TOTAL", L"#TOTAL#"},
                           {panel_files::kContinue, L"TEXT_SCORE_DESCRIPTION", L"#SPACES#"},
                           {panel_files::kContinue, L"TEXT_GOAL_DESCRIPTION", L"#SPACES#"},
                           {"Config/Game/gi_panel_level.ini", L"TEXT_GOAL", L"#GOAL#"},
                           {"Config/Game/gi_panel_level.ini", L"TEXT_EXPERT", L"#EXPERT#"},
                           {"Config/Game/gi_panel_level.ini", L"TEXT_GOAL_DESCRIPTION", L"#SPACES#"},
                           {"Config/Game/gi_panel_level.ini", L"TEXT_EXPERT_DESCRIPTION", L"#SPACES#"}};
    for (const Holds& h : holds)
        EXPECT_NE(ini(h.file).getValue(h.section, L"string").find(h.placeholder), std::wstring::npos)
            << h.file << " " << cStringW(h.section).toNarrow();
    for (const char* world : kWorldFiles) {
        EXPECT_NE(ini(world).getValue(L"COMMON", L"start_level_text").find(L"#LEVEL#"), std::wstring::npos) << world;
        for (int n = 1; n <= 20; ++n)
            EXPECT_TRUE(ini(world).hasSection(cStringW(L"LEVEL_") + intToString(n))) << world << " " << n;
    }
}

TEST_F(PanelData, EveryPanelAndEveryLevelStartBuildsHiddenAndDisabled) {
    struct World {
        int32_t set, difficulty, firstLevel;
    };
    for (const World& w : {World{1, 0, 1}, World{1, 1, 1}, World{2, 1, 21}, World{3, 1, 41}}) {
        for (int n = 0; n < 20; ++n) {
            auto screen = std::make_unique<FakeGameScreen>();
            screen->graphicsSet = w.set;
            screen->difficulty = w.difficulty;
            screen->level = w.firstLevel + n;
            ASSERT_NO_THROW(screen->start = new cPanelLevel(screen.get(), screen.get())) << screen->level;
            EXPECT_FALSE(screen->start->isVisible());
            EXPECT_FALSE(screen->start->isEnabled());
            if (n > 0) continue;
            ASSERT_NO_THROW(screen->buildPanels());
            for (cPanel* p : std::initializer_list<cPanel*>{screen->pause, screen->results, screen->confirmMenu,
                                                            screen->confirmTry, screen->status}) {
                EXPECT_FALSE(p->isVisible());
                EXPECT_FALSE(p->isEnabled());
                EXPECT_TRUE(p->isComplete());
            }
        }
    }
}

}  // namespace
