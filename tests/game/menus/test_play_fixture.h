#pragma once
// The menu fixture (test_menus_fixture.h) with the menu's resource group loaded, game data
// read from a save file the test writes (profiles with a reached level, a current level,
// a game mode and expert stars, and a highscore table), and a main menu built at a screen.

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/scene/cButton.h"
#include "game/data/cProfile.h"
#include "game/menus/cMenuScreen.h"
#include "tests/game/menus/test_menus_fixture.h"

namespace menus_test {

// A profile of the save file: levels below reached played, the current level, the game mode
// (-1: none) and the levels completed at expert level.
inline cProfile makeProfile(const wchar_t* name, int32_t reached, int32_t level, int32_t difficulty,
                            std::vector<int32_t> experts = {}) {
    cProfile p;
    p.setName(name);
    p.reachedLevel = reached;
    p.markedLevel = reached;
    p.level = level;
    p.difficulty = difficulty;
    for (int32_t e : experts) p.values[PA_EXPERT_REACHED][e - 1] = 1;
    return p;
}

inline cHighscore makeHighscore(const wchar_t* name, int32_t score) {
    cHighscore h;
    h.setName(name);
    h.score = score;
    return h;
}

inline std::string saveFilePath() { return cGameData::services().commonFolder() + "data.ssp"; }

inline SaveImage readSaveFile() {
    std::ifstream in(saveFilePath(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeSaveFile(bytes.data(), bytes.size());
}

class PlayFixture : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        setPerformanceTest(false);
        groups->loadMenu();
    }
    void TearDown() override {
        menu.reset();
        MenuFixture::TearDown();
    }
    // New game data read from a save file with these profiles (the first is current) and
    // highscores, written as the table lists them.
    void useSave(const std::vector<cProfile>& profiles, const std::vector<cHighscore>& highscores = {}) {
        menu.reset();
        data.reset();
        SaveImage image;
        image.currentProfile = profiles.empty() ? -1 : 0;
        image.profiles = profiles;
        image.highscores = highscores;
        const std::vector<uint8_t> bytes = encodeSaveFile(image);
        std::filesystem::create_directories(std::filesystem::path(saveFilePath()).parent_path());
        std::ofstream(saveFilePath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        data.reset(new cGameData(true, cStringA()));
    }
    // The menu with screen id built (through the main screen for ids other than 1 and 2).
    void build(int32_t screen) {
        menu.reset();
        const bool direct = screen == cMainMenu::kMainScreen || screen == cMainMenu::kPlayScreen;
        menu.reset(new cMainMenu(nullptr, direct ? screen : cMainMenu::kMainScreen));
        frame();
        if (!direct) {
            menu->switchTo(screen);
            frame();
        }
    }
    template <class Screen>
    Screen* screen(int32_t id) {
        return static_cast<Screen*>(menu->getScreen(id));
    }
    // A click as the button's handler receives it (no pointer involved).
    static void press(cButton* button) { button->getClickHandler()(button); }
    // The pointer to a point; one frame.
    void pointAt(const cVector2& point) {
        platform::input::injectCursor(point.x, point.y);
        frame();
    }
    // The left button pressed (one frame) and released (one frame) where the pointer is.
    void leftClick() {
        platform::input::injectButton(0, true);
        frame();
        platform::input::injectButton(0, false);
        frame();
    }
    void pressKeyWith(uint8_t held, uint8_t key) {
        platform::input::injectKey(held, true);
        frame();
        pressKey(key);
        platform::input::injectKey(held, false);
        frame();
    }

    std::unique_ptr<cMainMenu> menu;
};

}  // namespace menus_test
