#include "tests/game/interface/PanelTestSupport.h"

namespace panel_test {

namespace {

const char* const kTextures[] = {
    "Game/Interface/Surfaces/panel.dds", "Game/Interface/Surfaces/panel_shadow.dds",
    "Game/Interface/Surfaces/score_frame.dds", "Game/Interface/Surfaces/expert.dds",
    "Game/Interface/Surfaces/good.dds", "Game/Interface/Surfaces/normal.dds", "Game/Interface/Surfaces/bad.dds",
    "Game/Interface/Surfaces/extra1.dds", "Game/Interface/Surfaces/extra2.dds",
    "Game/Interface/Surfaces/StatusPanel/clock.dds", "Game/Interface/Surfaces/StatusPanel/score.dds",
    "Game/Interface/Surfaces/StatusPanel/goal.dds", "Game/Interface/Surfaces/StatusPanel/expert.dds",
    "Game/Interface/Surfaces/StatusPanel/level.dds", "Game/Interface/Surfaces/StatusPanel/level00.dds",
    "Game/Interface/Surfaces/StatusPanel/caption.dds", "Game/Interface/Surfaces/StatusPanel/bonus.dds",
    "Game/Interface/Surfaces/StatusPanel/bonus_fill.dds", "Game/Interface/Surfaces/StatusPanel/bonus_active.dds",
};

std::string picture(const std::string& section, const std::string& texture, const std::string& position,
                    const std::string& deep, const std::string& extra = "") {
    return "[" + section + "]\npicture=\"" + texture + "\"\nposition=\"" + position + "\"\ndeep=\"" + deep + "\"\n" +
           extra;
}

const char* const kHiddenPanel = "visible=\"0\"\nenabled=\"0\"\n";

}  // namespace

std::string iniText(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return file_test::utf16Ini(crlf);
}

std::string buttonSection(const std::string& section, const std::string& offset, const std::string& deep) {
    std::string lower = cStringA(section).makeLower();
    return "[" + section + "]\ntexture_normal=\"Game/Interface/Buttons/" + lower + ".dds\"\ntexture_hover=\"" +
           "Game/Interface/Buttons/" + lower + ".dds\"\nsize=\"100,40\"\nposition=\"" + offset + "\"\ndeep=\"" + deep +
           "\"\n";
}

std::string textSection(const std::string& section, const std::string& text, const std::string& offset,
                        const std::string& deep, const std::string& font) {
    return "[" + section + "]\nstring=\"" + text + "\"\nfont=\"" + font +
           "\"\ntexture=\"fonts/fixed.png\"\nposition=\"" + offset + "\"\ndeep=\"" + deep + "\"\n";
}

std::string confirmIni(const std::string& title, int deepValue) {
    const std::string deep = std::to_string(deepValue);
    return picture("COMMON", "Game/Interface/Surfaces/panel.dds", "400,300", deep, kHiddenPanel) +
           picture("ADD_PANEL", "Game/Interface/Surfaces/panel_shadow.dds", "404,306", std::to_string(deepValue - 1)) +
           textSection("TITLE", title, "0,-40", deep + ".5") + buttonSection("BUTTON_YES", "-80,50", deep + ".5") +
           buttonSection("BUTTON_NO", "80,50", deep + ".5");
}

std::string escIni() {
    return picture("COMMON", "Game/Interface/Surfaces/panel.dds", "400,280", "9000", kHiddenPanel) +
           picture("ADD_PANEL", "Game/Interface/Surfaces/panel_shadow.dds", "410,290", "8999") +
           textSection("TITLE", "PAUSE", "0,-120", "9001") + buttonSection("BUTTON_CONTINUE", "0,-60", "9001") +
           buttonSection("BUTTON_RESTART", "0,-10", "9001") + buttonSection("BUTTON_OPTIONS", "0,40", "9001") +
           buttonSection("BUTTON_MENU", "0,90", "9001") + textSection("DESCRIPTION", "PAUSED", "0,140", "9001");
}

std::string continueIni() {
    std::string t = picture("COMMON", "Game/Interface/Surfaces/panel.dds", "400,300", "9100", kHiddenPanel) +
                    picture("ADD_PANEL", "Game/Interface/Surfaces/panel_shadow.dds", "404,306", "9099") +
                    picture("PANEL_SCORE", "Game/Interface/Surfaces/score_frame.dds", "0,40", "9101") +
                    picture("PICTURE", "Game/Interface/Surfaces/extra1.dds", "-100,-60", "9101") +
                    textSection("DESCRIPTION", "X", "0,-20", "9102") + textSection("TEXT_CASH", "#CASH#", "60,0", "9102") +
                    textSection("TEXT_CASH_DESCRIPTION", "CASH", "-60,0", "9102") +
                    textSection("TEXT_SCORE", "#SCORE#", "60,20", "9102") +
                    textSection("TEXT_SCORE_DESCRIPTION", "SCORE#SPACES#.", "-60,20", "9102") +
                    textSection("TEXT_GOAL", "#SCORE#", "60,40", "9102") +
                    textSection("TEXT_GOAL_DESCRIPTION", "GOAL#SPACES#", "-60,40", "9102") +
                    textSection("TEXT_TOTAL", "#TOTAL# #TOTAL#", "60,60", "9102") +
                    textSection("TEXT_TOTAL_DESCRIPTION", "TOTAL", "-60,60", "9102") +
                    picture("EXPERT_PIC", "Game/Interface/Surfaces/expert.dds", "120,-60", "9103");
    for (const char* s : {"GOOD1", "GOOD2", "NORMAL1", "NORMAL2", "TA_LOSE", "GOAL_BUT_LOSE", "BAD1", "BAD2"})
        t += textSection(std::string("TEXT_TITLE_") + s, "", "0,-100", "9102");
    for (const char* s : {"BUTTON_CONTINUE_GOAL", "BUTTON_RESTART_GOAL", "BUTTON_MENU_GOAL", "BUTTON_CONTINUE",
                          "BUTTON_MENU", "BUTTON_TRY_AGAIN"})
        t += buttonSection(s, "0,100", "9102");
    return t;
}

std::string levelPanelIni() {
    return picture("COMMON", "Game/Interface/Surfaces/panel.dds", "400,300", "9200", kHiddenPanel) +
           picture("ADD_PANEL", "Game/Interface/Surfaces/panel_shadow.dds", "404,306", "9199") +
           textSection("TEXT_TITLE", "", "0,-120", "9201") + textSection("TEXT_LEVEL", "", "0,-90", "9201") +
           textSection("TEXT_DESCRIPTION", "", "0,-60", "9201") +
           picture("PANEL_SCORE", "Game/Interface/Surfaces/score_frame.dds", "0,40", "9201") +
           textSection("TEXT_GOAL", "#GOAL#", "40,30", "9202") +
           textSection("TEXT_GOAL_DESCRIPTION", "GOAL#SPACES#", "-40,30", "9202") +
           textSection("TEXT_EXPERT", "#EXPERT#", "40,60", "9202") +
           textSection("TEXT_EXPERT_DESCRIPTION", "EXPERT#SPACES#", "-40,60", "9202") +
           buttonSection("BUTTON", "0,120", "9202");
}

std::string statusIni(const std::string& offGoal, const std::string& offExpert, int clockFrames) {
    const std::string s = "Game/Interface/Surfaces/StatusPanel/";
    return "[COMMON]\n" + std::string(kHiddenPanel) + "position=\"0,0\"\ndeep=\"8500\"\n" +
           picture("ADD_PANEL", s + "caption.dds", "400,20", "8499") +
           picture("CLOCK", s + "clock.dds", "60,40", "8510",
                   "anim_frame_count=\"" + std::to_string(clockFrames) +
                       "\"\nanim_frame_size=\"16,32\"\nanim_looped=\"0\"\nanim_length=\"1\"\n") +
           picture("SCORE_PIC", s + "score.dds", "200,200", "8511",
                   "off_goal=\"" + offGoal + "\"\noff_expert=\"" + offExpert + "\"\n") +
           picture("GOAL_PIC", s + "goal.dds", "170,190", "8510") +
           picture("EXPERT_PIC", s + "expert.dds", "170,180", "8510") +
           picture("LEVEL_PIC", s + "level.dds", "700,40", "8510") +
           picture("SCORE_PIC_TEXT", s + "caption.dds", "200,240", "8510") +
           textSection("SCORE_TEXT", "", "0,0", "8512") + textSection("GOAL_TEXT", "", "0,0", "8511") +
           textSection("EXPERT_TEXT", "", "0,0", "8511") + textSection("LEVEL_TEXT", "", "0,0", "8511") +
           picture("BONUS", s + "bonus.dds", "400,560", "8510") +
           picture("BONUS_PROGRESS", s + "bonus_fill.dds", "350,550", "8511", "centered=\"0\"\nsize=\"100,20\"\n") +
           picture("BONUS_ACTIVE", s + "bonus_active.dds", "400,560", "8512") +
           picture("BONUS_ACTIVE_PROGRESS", s + "bonus_fill.dds", "350,550", "8513", "size=\"1,1\"\n") +
           buttonSection("PAUSE", "760,560", "8510");
}

std::string worldIni(const std::string& tag, const std::string& extraLevelKeys) {
    std::string t = "[COMMON]\n";
    t += "continue_good_pic=\"Game/Interface/Surfaces/good.dds\"\n";
    t += "continue_normal_pic=\"Game/Interface/Surfaces/normal.dds\"\n";
    t += "continue_bad_pic=\"Game/Interface/Surfaces/bad.dds\"\n";
    for (const char* k : {"continue_good_title1", "continue_good_desc1", "continue_good_title2", "continue_good_desc2",
                          "continue_normal_title1", "continue_normal_desc1", "continue_normal_title2",
                          "continue_normal_desc2", "continue_TA_lose_title", "continue_TA_lose",
                          "continue_goal_but_lose_title", "continue_goal_but_lose", "continue_bad_title1",
                          "continue_bad_desc1", "continue_bad_title2", "continue_bad_desc2"})
        t += std::string(k) + "=\"" + tag + " " + k + "\"\n";
    t += "start_title_1=\"" + tag + " FIRST\"\nstart_title_2=\"" + tag + " SECOND\"\n";
    t += "start_level_text=\"LEVEL #LEVEL#\"\nstart_world_desc=\"" + tag + " WORLD\"\n";
    for (int n = 1; n <= 20; ++n)
        t += "[LEVEL_" + std::to_string(n) + "]\npanel_config=\"Config/Game/gi_panel_level.ini\"\n" + extraLevelKeys;
    return t;
}

void PanelTest::SetUp() {
    try {
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        world.put("config/config.ini", iniText("[Game]\napp_folder=\"panels-test\"\n"
                                                         "[Performance]\nenable_full_effects=\"1\"\n"));
        world.put("config/language.ini",
                  file_test::utf16Ini("[Localization]\r\nCodePage=\"1252\"\r\nLanguage=\"00000409\"\r\n"));
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        settings = std::make_unique<cSettingsManager>();
        logic = std::make_unique<cLogic>();
        input = new cInput();
        ASSERT_TRUE(input->acquire());
        sound = new PanelSound();
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
        rwSrand(4321);

        for (const char* t : kTextures) services.addTexture(t, 64, 32);
        for (const char* b : {"button_yes", "button_no", "button_continue", "button_restart", "button_options",
                              "button_menu", "button_continue_goal", "button_restart_goal", "button_menu_goal",
                              "button_try_again", "button", "pause"})
            services.addTexture(std::string("Game/Interface/Buttons/") + b + ".dds", 100, 40);
        services.addTexture("fonts/fixed.png", 120, 200);
        font_test::FontFile fixed;
        fixed.glyphs = font_test::fixedGlyphs(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ#._- ");
        addFile("fonts/fixed.rwf", fixed.bytes());
        font_test::FontFile noBlank;
        noBlank.glyphs = font_test::fixedGlyphs(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ#._-");
        addFile("fonts/noblank.rwf", noBlank.bytes());

        addIni(panel_files::kConfirmMenu, confirmIni("MENU?", 9600));
        addIni(panel_files::kConfirmTry, confirmIni("AGAIN?", 9610));
        addIni(panel_files::kEsc, escIni());
        addIni(panel_files::kContinue, continueIni());
        addIni(panel_files::kStatus, statusIni());
        addIni("Config/Game/gi_panel_level.ini", levelPanelIni());
        addIni(panel_files::kWorldEasy1, worldIni("EASY"));
        addIni(panel_files::kWorldHard1, worldIni("HARD"));
        addIni(panel_files::kWorld2, worldIni("TWO"));
        addIni(panel_files::kWorld3, worldIni("THREE"));
        screen = new FakeGameScreen();
    } catch (const char* text) {
        FAIL() << text;
    } catch (const std::string& text) {
        FAIL() << text;
    }
}

void PanelTest::TearDown() {
    delete screen;
    screen = nullptr;
    clearSparkles();
    updateTopLevelNodes(nullptr);
    EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
    EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
    setSceneServices(previous);
    delete sound;
    delete input;
    bar.reset();
    logic.reset();
    settings.reset();
    resources.reset();
    files.reset();
    platform::clearMessages();
}

void PanelTest::addFile(const std::string& name, const std::string& bytes) {
    world.put(cStringA(name).makeLower(), bytes);
    files->rescan();
    resources->load(cStringA(name), 11);
}

void PanelTest::addIni(const std::string& name, const std::string& text) { addFile(name, iniText(text)); }

void PanelTest::replaceIni(const std::string& name, const std::string& text) {
    resources->unload(cStringA(name));
    addIni(name, text);
}

void PanelTest::frame(float dt) {
    services.gameDelta = dt;
    services.realDelta = dt;
    input->update();
    updateTopLevelNodes(&updateNode);
}

void PanelTest::settle(cPanel* panel, float dt) {
    for (int i = 0; i < 300 && !panel->isComplete(); ++i) frame(dt);
    ASSERT_TRUE(panel->isComplete()) << "the panel never came to rest";
}

void PanelTest::pressKey(uint8_t key, bool alt) {
    if (alt) in::injectKey(KEY_LEFT_ALT, true);
    in::injectKey(key, true);
    frame(0.0f);
    in::injectKey(key, false);
    if (alt) in::injectKey(KEY_LEFT_ALT, false);
    frame(0.0f);
}

}  // namespace panel_test
