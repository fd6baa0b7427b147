// Reads the input as the fireworks' configuration (text, one character per byte, LF line ends
// accepted), builds the particle system over the recording device, launches shells and steps
// them for two seconds of game time, drawing each frame's sparkles. Any input must give a text
// failure or fireworks that end: no crash, no endless loop, no huge allocation.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cGraphics.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"
#include "game/effects/cFirework.h"
#include "game/effects/cFireworks.h"
#include "platform/device/RecordingDevice.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string g_ini;   // the configuration of the current input, as file bytes

struct World {
    fuzz::FixedStepServices services;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cGraphics> graphics;
    cRecordingDevice* device = nullptr;
    World() {
        setSceneServices(&services);
        cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
            return cIniFile::fromBytes(g_ini.data(), g_ini.size(), name).release();
        });
        resources = std::make_unique<cResourceManager>();
        cGraphics::setDesktopWidthOverride(1920);
        auto recording = std::make_unique<cRecordingDevice>();
        recording->setRecording(false);
        device = recording.get();
        graphics = std::make_unique<cGraphics>(nullptr, std::move(recording));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    g_ini = fuzz::iniBytes(data, size);
    const char* name = "Config/Game/fx_firework.ini";
    world->resources->unload(name);
    try {
        world->resources->load(name, 11);
    } catch (...) {
        return 0;
    }
    rwSrand(1);
    getDebrisSettings() = cDebrisSettings();
    cSceneNode* level = new cSceneNode();
    level->show();
    level->enable();
    try {
        createFireworks(level);
        for (float x : {250.0f, 450.0f, 660.0f}) new cFirework(level, cVector2(x, 130), 0xFFFFF000u);
        cFireworks* system = getFireworks();
        for (int frame = 0; frame < 20; ++frame) {
            updateTopLevelNodes(&updateNode);
            if (system->getLiveCount() < 0 || unsigned(system->getLiveCount()) > system->getMaxCount()) std::abort();
            cFireworks::setAdditiveBlend(world->device);
            cFireworks::drawFireworkSparkles(world->device);
        }
    } catch (...) {
    }
    destroyFireworks();
    delete level;
    updateTopLevelNodes(nullptr);
    return 0;
}
