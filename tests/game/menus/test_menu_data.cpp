// The front end's files in the built Data folder: every file, section, texture and font that
// the logo, the comics, the main menu and its screens name exists; logo pages start at 1; each
// comic 1 to kComicCount has pages; the prompt is built hidden and disabled; the shipped
// settings ask for the first-run frame-rate check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "game/data/GameConstants.h"
#include "tests/game/menus/test_data_files.h"

namespace fs = std::filesystem;

namespace {

using namespace data_files;

}  // namespace

TEST(MenuData, EveryNamedFileAndSectionExists) {
    struct File {
        const char* name;
        std::vector<const wchar_t*> sections;
    };
    const File files[] = {
        {"Config/logo.ini", {L"COMMON", L"Logo_1"}},
        {"Config/comics.ini", {L"COMMON", L"BUTTON_NEXT"}},
        {"Config/Menu/common_mainmenu.ini", {L"COMMON", L"BACKGROUND"}},
        {"Config/Menu/screen_main.ini",
         {L"COMMON", L"PICTURE_LOGO", L"PICTURE_MAIN", L"PICTURE_MAIN_ADD", L"TEXT_WELCOME", L"BUTTON_PLAY",
          L"BUTTON_HIGHSCORE", L"BUTTON_OPTIONS", L"BUTTON_HELP", L"BUTTON_EXIT", L"BUTTON_PLAYER_SETUP"}},
        {"Config/Menu/panel_perfomance.ini", {L"PANEL", L"PANEL_ADD", L"TEXT", L"COMMON_DESC", L"BUTTON_OK"}},
        {"Config/Menu/performance_test.ini", {L"COMMON", L"PICTURE_LOGO", L"PROGRESS_BAR"}},
        {"Config/Menu/screen_exit.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"PIC_TITLE", L"TEXT_TITLE", L"BUTTON_YES", L"BUTTON_NO"}},
        {"Config/Menu/button_style.ini", {L"BUTTON"}},
        {"Config/Menu/screen_play.ini",
         {L"COMMON", L"PANEL", L"TITLE", L"TEXT_TITLE", L"BUTTON_PREV", L"BUTTON_NEXT", L"BUTTON_START", L"BUTTON_BACK"}},
        {"Config/Menu/preview_panel.ini", {L"COMMON", L"TITLE", L"DESCRIPTION", L"LEVEL_BUTTON", L"BUTTON_POSITIONS"}},
        {"Config/Menu/screen_game_mode.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"TEXT", L"COMMON_DESC", L"BUTTON_EASY", L"BUTTON_HARD", L"BUTTON_BACK",
          L"EASY_DESC", L"HARD_DESC"}},
        {"Config/Menu/panel_game_mode.ini",
         {L"PANEL", L"PANEL_ADD", L"TEXT", L"COMMON_DESC", L"BUTTON_EASY", L"BUTTON_HARD", L"BUTTON_BACK", L"EASY_DESC",
          L"HARD_DESC"}},
        {"Config/Menu/screen_help.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"TITLE", L"TEXT_TITLE", L"PICTURE", L"BUTTON_OK", L"BUTTON_FORWARD",
          L"BUTTON_BACKWARD"}},
        {"Config/Menu/screen_highscore.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"TITLE", L"TEXT_TITLE", L"NAME", L"SCORE", L"BUTTON_OK"}},
    };
    for (const File& f : files) {
        std::unique_ptr<cIniFile> ini = loadIni(f.name);
        for (const wchar_t* section : f.sections) EXPECT_TRUE(ini->hasSection(section)) << f.name;
        for (const cIniFile::Entry& e : ini->getEntries()) {
            if (!namesFile(e.key.str()) || e.value.isEmpty()) continue;
            const std::string file = e.value.toNarrow().str();
            EXPECT_TRUE(existsOnDisk(file)) << f.name << " [" << e.section.toNarrow().str() << "] "
                                            << e.key.toNarrow().str() << ": " << file;
        }
        // A screen's own node must show (the pages start hidden: the play screen shows
        // them); a text needs its font and image.
        if (std::string(f.name) != "Config/Menu/preview_panel.ini")
            EXPECT_NE(ini->getValue(L"COMMON", L"visible").str(), L"0") << f.name;
        for (const cIniFile::Entry& e : ini->getEntries())
            if (e.key == L"string")
                EXPECT_FALSE(ini->getValue(e.section, L"font").isEmpty() || ini->getValue(e.section, L"texture").isEmpty())
                    << f.name << " [" << e.section.toNarrow().str() << "]";
    }
    // The prompt is built hidden and disabled (its code makes sure as well).
    std::unique_ptr<cIniFile> prompt = loadIni("Config/Menu/panel_perfomance.ini");
    EXPECT_EQ(prompt->getValue(L"PANEL", L"visible").str(), L"0");
    EXPECT_EQ(prompt->getValue(L"PANEL", L"enabled").str(), L"0");
    // The pages and the play screen's game-mode panel are built hidden and disabled, every
    // page has its picture and texts, and every button has its position; help has pages and
    // the highscores show lines.
    std::unique_ptr<cIniFile> pages = loadIni("Config/Menu/preview_panel.ini");
    EXPECT_EQ(pages->getValue(L"COMMON", L"visible").str(), L"0");
    EXPECT_EQ(pages->getValue(L"COMMON", L"enabled").str(), L"0");
    for (int n = 1; n <= 6; ++n) {
        EXPECT_FALSE(pages->getValue(L"COMMON", cStringW(L"picture_") + intToString(n)).isEmpty()) << n;
        EXPECT_FALSE(pages->getValue(L"TITLE", cStringW(L"text_") + intToString(n)).isEmpty()) << n;
        EXPECT_FALSE(pages->getValue(L"DESCRIPTION", cStringW(L"text_") + intToString(n)).isEmpty()) << n;
    }
    for (int i = 1; i <= 10; ++i)
        EXPECT_FALSE(pages->getValue(L"BUTTON_POSITIONS", cStringW(L"position_") + intToString(i)).isEmpty()) << i;
    for (const wchar_t* look : {L"normal", L"active", L"disabled", L"selected"}) {
        EXPECT_FALSE(pages->getValue(L"LEVEL_BUTTON", cStringW(L"font_") + look).isEmpty());
        EXPECT_FALSE(pages->getValue(L"LEVEL_BUTTON", cStringW(L"font_picture_") + look).isEmpty());
    }
    std::unique_ptr<cIniFile> modePanel = loadIni("Config/Menu/panel_game_mode.ini");
    EXPECT_EQ(modePanel->getValue(L"PANEL", L"visible").str(), L"0");
    EXPECT_EQ(modePanel->getValue(L"PANEL", L"enabled").str(), L"0");
    EXPECT_FALSE(loadIni("Config/Menu/screen_help.ini")->getValue(L"PICTURE", L"picture_1").isEmpty());
    EXPECT_EQ(loadIni("Config/Menu/screen_highscore.ini")->getValue(L"COMMON", L"num_lines").str(), L"10");
    // The first runs measure the frame rate; the threshold is set.
    EXPECT_EQ(loadIni("config/config.ini")->getValue(L"Performance", L"perform_performance_test").str(), L"1");
    EXPECT_EQ(loadIni("Config/Menu/screen_main.ini")->getValue(L"COMMON", L"fps").str(), L"15");
}

TEST(MenuData, LogoPagesAndComics) {
    std::unique_ptr<cIniFile> logo = loadIni("Config/logo.ini");
    int pictures = 0;
    for (int n = 1; !logo->getValue(cStringW(L"Logo_") + intToString(n), L"path").isEmpty(); ++n) {
        ++pictures;
        uint32_t page = 0;
        stringToUnsigned(&page, logo->getValue(cStringW(L"Logo_") + intToString(n), L"screen"));
        EXPECT_GE(page, 1u) << "Logo_" << n;  // a page 0 picture would stall the logo
    }
    EXPECT_GE(pictures, 1);
    std::unique_ptr<cIniFile> comics = loadIni("Config/comics.ini");
    for (int n = 1; n <= game::kComicCount; ++n)
        EXPECT_FALSE(comics->getValue(cStringW(L"COMICS_") + intToString(n), L"picture_1").isEmpty()) << n;
    EXPECT_FALSE(comics->hasSection(cStringW(L"COMICS_") + intToString(game::kComicCount + 1)));
    EXPECT_EQ(static_cast<int>(game::kComicLevels.size()) + 1, game::kComicCount);
}
