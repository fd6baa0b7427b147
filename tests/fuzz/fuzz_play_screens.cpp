// Reads the input as a save file and the configuration of the play, game-mode, help and
// highscore screens: two bytes give the length of the save file that follows, the rest is
// the text every INI those screens ask for gets (one character per byte, LF line ends
// accepted). Each screen then runs for a few seconds with presses, releases, Enter and Escape
// at pointer positions taken from the input, and leafing through the play screen's pages.
// Any input must give a text failure or screens that run: no crash, no endless loop, no huge
// allocation, and levels chosen only within the campaign.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <unistd.h>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"
#include "game/data/cGameData.h"
#include "game/menus/cPanelGameMode.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenGameMode.h"
#include "game/menus/cScreenHelp.h"
#include "game/menus/cScreenHighscore.h"
#include "game/menus/cScreenPlay.h"
#include "tests/fuzz/fuzz_support.h"

namespace fs = std::filesystem;

namespace {

std::string g_ini;  // the configuration of the current input, as file bytes

const char* const kFiles[] = {
    cScreenPlay::kConfig, cPreviewPanel::kConfig, cPanelGameMode::kConfig, cScreenGameMode::kConfig,
    cScreenHelp::kConfig, cScreenHighscore::kConfig, "Config/Menu/button_style.ini",
};

// Every level pack of the campaign: twenty levels.
const cXmlNode* campaignPack() {
    static std::unique_ptr<cXmlNode> pack = [] {
        std::string text = "<pack count_levels=\"20\">";
        for (int n = 1; n <= 20; ++n)
            text += "<Level_" + std::to_string(n) + " num_graphics_set=\"1\" goal=\"60\" expert=\"90\" level_time=\"100\"/>";
        text += "</pack>";
        std::string utf16("\xFF\xFE", 2);
        for (char c : text) {
            utf16.push_back(c);
            utf16.push_back('\0');
        }
        return cXmlNode::fromBytes(utf16.data(), utf16.size(), cStringA("pack.qpk"));
    }();
    return pack.get();
}

struct World {
    fuzz::SceneServices services{1.0f / 15.0f, 16.0f};
    std::unique_ptr<cResourceManager> resources;
    fs::path folder;
    World() {
        setSceneServices(&services);
        cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
            return cIniFile::fromBytes(g_ini.data(), g_ini.size(), name).release();
        });
        resources = std::make_unique<cResourceManager>();
        folder = fs::temp_directory_path() / ("fuzz_play_screens_" + std::to_string(::getpid()));
        cGameData::Services s;
        s.commonFolder = [this] { return folder.string() + "/"; };
        s.getPack = [](const cStringA&) { return campaignPack(); };
        cGameData::services() = s;
    }
};

// Runs a screen for a few seconds with input-driven pointer moves and clicks, and (for the
// play screen) page changes; a thrown text ends it.
template <class Make>
void run(World& world, const uint8_t* data, size_t size, Make make) {
    cSceneNode* screen = nullptr;
    try {
        screen = make();
        for (int frame = 0; frame < 45; ++frame) {
            const uint8_t a = size ? data[(2 * frame) % size] : 0, b = size ? data[(2 * frame + 1) % size] : 0;
            world.services.mouse = cVector2(a * 800.0f / 256.0f, b * 600.0f / 256.0f);
            if (frame % 3 == 2) world.services.fire(INPUT_LEFT_PRESSED);
            if (frame % 3 == 0) world.services.fire(INPUT_LEFT_RELEASED);
            if (a % 17 == 1) world.services.fire(keyPressedCode(KEY_ENTER));
            if (b % 19 == 1) world.services.fire(keyPressedCode(KEY_ESCAPE));
            if (auto* play = dynamic_cast<cScreenPlay*>(screen); play && a % 7 == 3)
                cScreenPlay::onButton(b % 2 ? play->getNextButton() : play->getPrevButton());
            updateTopLevelNodes(&updateNode);
            if (const cGameData* game = getGameData(); game && (game->getLevel() < 1 || game->getLevel() > 60))
                std::abort();
        }
    } catch (...) {
    }
    world.services.endRun(screen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    // 1. The save file.
    const size_t saveSize = size < 2 ? 0 : std::min<size_t>(size - 2, data[0] | (size_t(data[1]) << 8));
    fs::remove_all(world->folder);
    fs::create_directories(world->folder);
    if (saveSize > 0)
        std::ofstream(world->folder / "data.ssp", std::ios::binary)
            .write(reinterpret_cast<const char*>(data + 2), static_cast<std::streamsize>(saveSize));
    const uint8_t* text = data + (size < 2 ? size : 2 + saveSize);
    const size_t textSize = size - static_cast<size_t>(text - data);
    // 2. The configuration.
    g_ini = fuzz::iniBytes(text, textSize);
    if (!fuzz::reloadInis(*world->resources, kFiles)) return 0;
    // 3. The game data and the screens.
    std::unique_ptr<cGameData> game;
    try {
        game = std::make_unique<cGameData>(true, cStringA());
        if (game->getProfileCount() == 0) game->addProfile(L"Fuzz");
    } catch (...) {
        return 0;
    }
    run(*world, text, textSize, [] { return new cScreenPlay(nullptr); });
    run(*world, text, textSize, [] { return new cScreenGameMode(nullptr); });
    run(*world, text, textSize, [] { return new cScreenHelp(nullptr); });
    run(*world, text, textSize, [] { return new cScreenHighscore(nullptr); });
    return 0;
}
