// Reads the input as the configuration of the front end (text, one character per byte, LF
// line ends accepted; every INI the logo, the comics and the main menu ask for gets it) and
// runs the logo, the comics and the main menu with its main screen for a few seconds each,
// with skips, key presses and clicks at the places buttons usually stand. Any input must give
// a text failure or states that run: no crash, no endless loop, no huge allocation.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"
#include "game/menus/cComics.h"
#include "game/menus/cLogo.h"
#include "game/menus/cMainMenu.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string g_ini;  // the configuration of the current input, as file bytes

const char* const kFiles[] = {
    cLogo::kConfig, cComics::kConfig, cMainMenu::kConfig, "Config/Common/cursor.ini", "Config/Menu/screen_main.ini",
    "Config/Menu/panel_perfomance.ini", "Config/Menu/button_style.ini",
};

struct World {
    fuzz::SceneServices services{0.1f, 32.0f};
    std::unique_ptr<cResourceManager> resources;
    World() {
        setSceneServices(&services);
        cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
            return cIniFile::fromBytes(g_ini.data(), g_ini.size(), name).release();
        });
        resources = std::make_unique<cResourceManager>();
    }
};

// Runs a state for a few seconds with skips, keys and clicks; a thrown text ends it.
template <class Make>
void run(World& world, Make make) {
    static const cVector2 kPlaces[] = {{400, 300}, {160, 170}, {160, 410}, {680, 550}, {400, 380}, {310, 370}};
    cSceneNode* state = nullptr;
    try {
        state = make();
        for (int frame = 0; frame < 60; ++frame) {
            world.services.mouse = kPlaces[frame % 6];
            if (frame % 4 == 3) {
                world.services.fire(INPUT_LEFT_PRESSED);
                world.services.fire(INPUT_LEFT_RELEASED);
                world.services.fire(keyPressedCode(KEY_ENTER));
                world.services.fire(keyReleasedCode(KEY_ESCAPE));
            }
            updateTopLevelNodes(&updateNode);
        }
    } catch (...) {
    }
    world.services.endRun(state);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    g_ini = fuzz::iniBytes(data, size);
    if (!fuzz::reloadInis(*world->resources, kFiles)) return 0;
    run(*world, [] { return new cLogo(nullptr); });
    run(*world, [] { return new cComics(nullptr); });
    cMainMenu::setFirstVisit(true);
    run(*world, [] { return new cMainMenu(nullptr, cMainMenu::kMainScreen); });
    return 0;
}
