// The files of the options dialog, the quit question and the player screens in the built Data
// folder: every section and named file exists; the two game-wide panels are built hidden and
// disabled; the sliders run from 0 to 100; the name field cannot take more characters than a
// stored name holds; every font that shows a name holds every character the field takes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/media/cBitmapFont.h"
#include "game/data/cProfile.h"
#include "tests/game/menus/test_data_files.h"

namespace fs = std::filesystem;

namespace {

using namespace data_files;

std::unique_ptr<cBitmapFont> loadFont(const std::wstring& name) {
    const std::string narrow = cStringW(name).toNarrow().str();
    const std::string bytes = readBytes(narrow);
    return std::make_unique<cBitmapFont>(cStringA(narrow), 0, bytes.data(), bytes.size());
}


}  // namespace

TEST(OptionsData, EveryNamedFileAndSectionExistsAndPanelsStartHidden) {
    const std::vector<const wchar_t*> options = {
        L"TITLE", L"TEXT_TITLE", L"TEXT_MUSIC_VOL", L"TEXT_SOUND_VOL", L"BUTTON_OK", L"BUTTON_CANCEL",
        L"CHECKUTTON_FULLSCREEN", L"CHECKUTTON_CURSOR", L"CHECKUTTON_EFFECTS", L"TRACKBAR_MUSIC", L"TRACKBAR_SOUND"};
    struct File {
        const char* name;
        std::vector<const wchar_t*> sections;
        bool gameWidePanel;
    };
    std::vector<const wchar_t*> screen = options, panel = options;
    for (const wchar_t* s : {L"COMMON", L"PANEL", L"PANEL_ADD"}) screen.push_back(s);
    for (const wchar_t* s : {L"COMMON", L"PANEL_ADD"}) panel.push_back(s);
    const File files[] = {
        {"Config/Menu/screen_options.ini", screen, false},
        {"Config/Common/panel_options.ini", panel, true},
        {"Config/Common/panel_confirm_exit.ini",
         {L"COMMON", L"PANEL_ADD", L"PIC_TITLE", L"TEXT_TITLE", L"BUTTON_YES", L"BUTTON_NO"},
         true},
        {"Config/Menu/screen_player_setup.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"TITLE", L"TEXT_TITLE", L"LISTBOX", L"LISTBOX_BUTTON_UP",
          L"LISTBOX_BUTTON_DOWN", L"LISTBOX_BUTTON_SLIDER", L"LISTBOX_CURSOR", L"LISTBOX_ITEMS_TEXT", L"BUTTON_OK",
          L"BUTTON_NEW", L"BUTTON_DELETE", L"PANEL_DELETE", L"PANEL_DELETE_ADD", L"BUTTON_DELETE_YES", L"BUTTON_DELETE_NO",
          L"TEXT_DELETE_TOP", L"TEXT_DELETE_NAME", L"TEXT_DELETE_BOTTOM", L"PANEL_NEW", L"PANEL_NEW_ADD", L"TEXT_NEW",
          L"EDITBOX_NEW", L"BUTTON_NEW_OK", L"BUTTON_NEW_CANCEL", L"PANEL_EXIST", L"PANEL_EXIST_ADD", L"TEXT_EXIST",
          L"BUTTON_EXIST_OK"},
         false},
        {"Config/Menu/screen_player_setup_start.ini",
         {L"COMMON", L"PANEL", L"PANEL_ADD", L"TEXT", L"EDITBOX", L"BUTTON_OK"},
         false},
        {"Config/Common/check_style.ini", {L"CHECK_BUTTON"}, false},
        {"Config/Common/slider_style.ini", {L"paths", L"sizes"}, false},
        {"Config/Menu/edit_style.ini", {L"paths", L"sizes"}, false},
    };
    for (const File& f : files) {
        std::unique_ptr<cIniFile> ini = loadIni(f.name);
        for (const wchar_t* section : f.sections) EXPECT_TRUE(ini->hasSection(section)) << f.name;
        for (const cIniFile::Entry& e : ini->getEntries()) {
            if (!namesFile(e.key.str()) || e.value.isEmpty()) continue;
            const std::string file = e.value.toNarrow().str();
            EXPECT_TRUE(existsOnDisk(file))
                << f.name << " [" << e.section.toNarrow().str() << "] " << e.key.toNarrow().str() << ": " << file;
            // The game-wide panels live through every state: only start-up textures.
            if (f.gameWidePanel && e.key == L"picture") {
                EXPECT_EQ(file.rfind("menu/buttons/", 0), 0u) << f.name << ": " << file;
            }
        }
        if (f.gameWidePanel) {
            EXPECT_EQ(ini->getValue(L"COMMON", L"visible").str(), L"0") << f.name;
            EXPECT_EQ(ini->getValue(L"COMMON", L"enabled").str(), L"0") << f.name;
        }
        for (const wchar_t* slider : {L"TRACKBAR_MUSIC", L"TRACKBAR_SOUND"}) {
            if (!ini->hasSection(slider)) continue;
            EXPECT_EQ(ini->getValue(slider, L"min").str(), L"0") << f.name;
            EXPECT_EQ(ini->getValue(slider, L"max").str(), L"100") << f.name;
        }
    }
}

TEST(OptionsData, TheNameFieldTakesNoMoreThanAStoredNameAndEveryNameCanBeShown) {
    std::unique_ptr<cIniFile> style = loadIni("Config/Menu/edit_style.ini");
    uint32_t maxTextSize = 0;
    stringToUnsigned(&maxTextSize, style->getValue(L"sizes", L"max_text_size"));
    ASSERT_GT(maxTextSize, 0u);
    std::unique_ptr<cBitmapFont> edit = loadFont(style->getValue(L"paths", L"name_font_param").str());
    // Advances are fractions of the font image's width (a DDS file: the width at byte 16).
    const std::string image = readBytes(style->getValue(L"paths", L"name_font").toNarrow().str());
    ASSERT_GE(image.size(), 20u);
    const float imageWidth = float(uint8_t(image[16]) | uint8_t(image[17]) << 8 | uint8_t(image[18]) << 16 |
                                   uint32_t(uint8_t(image[19])) << 24);
    float narrowest = 1e9f;
    uint32_t narrowestCharacter = 0;
    std::vector<wchar_t> typeable;
    for (uint32_t c = 0x20; c < 0xFFFF; ++c) {
        if (!edit->hasGlyph(wchar_t(c))) continue;
        typeable.push_back(wchar_t(c));
        const float advance = edit->getGlyph(wchar_t(c)).advance * imageWidth;
        if (advance < narrowest) {
            narrowest = advance;
            narrowestCharacter = c;
        }
    }
    ASSERT_FALSE(typeable.empty());
    ASSERT_GT(narrowest, 0.0f);
    EXPECT_LE(float(maxTextSize) / narrowest, float(cProfile::kNameUnits - 1))
        << "max_text_size " << maxTextSize << " over the narrowest advance " << narrowest << " (of U+" << std::hex
        << narrowestCharacter << ")";

    // The fonts that show a name: the list's rows, the delete question's name, the main
    // screen's welcome line.
    std::unique_ptr<cIniFile> setup = loadIni("Config/Menu/screen_player_setup.ini");
    std::unique_ptr<cIniFile> main = loadIni("Config/Menu/screen_main.ini");
    const std::wstring fonts[] = {setup->getValue(L"LISTBOX_ITEMS_TEXT", L"font").str(),
                                  setup->getValue(L"TEXT_DELETE_NAME", L"font").str(),
                                  main->getValue(L"TEXT_WELCOME", L"font").str()};
    for (const std::wstring& name : fonts) {
        std::unique_ptr<cBitmapFont> font = loadFont(name);
        for (wchar_t c : typeable) EXPECT_TRUE(font->hasGlyph(c)) << cStringW(name).toNarrow().str() << " lacks " << int(c);
    }
}
