// Builds the shop's speech bubble and a shop object from one fuzzed INI document, which stands
// for the cloud file and the four catalogue files at once, then drives the bubble through
// fuzzed layout specs, sizes and moves and its fades, and the object through its display
// states. Any input must give a text failure or objects that come and go.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/app/cLogic.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "game/shop/ShopCatalogue.h"
#include "game/shop/cAppearingCloud.h"
#include "game/shop/cShopObject.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Clock : public cSceneServices {
public:
    float getGameDelta() override { return getLogic()->isPaused() ? 0.0f : 1.0f / 30.0f; }
    float getRealDelta() override { return 1.0f / 30.0f; }
};


void runFrames(int n) {
    for (int i = 0; i < n; ++i) updateTopLevelNodes(&updateNode);
}

float signedFloat(uint32_t bits) { return static_cast<float>(static_cast<int32_t>(bits)) / 65536.0f; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Clock clock;
    static cLogic logic;
    static cResourceManager resources;
    static bool ready = [] {
        setSceneServices(&clock);
        fuzz::serveDocumentAsEveryIni();
        return true;
    }();
    (void)ready;
    if (size < 24) return 0;
    uint32_t numbers[4];
    std::memcpy(numbers, data, sizeof numbers);
    // Eight bytes of layout spec, then the document.
    const std::string spec(reinterpret_cast<const char*>(data) + 16, 8);
    fuzz::servedDocument().assign(reinterpret_cast<const char*>(data) + 24, size - 24);

    const char* const names[] = {cAppearingCloud::kConfig, "Config/Shop/shop_objects_1.ini",
                                 "Config/Shop/shop_objects_2.ini", "Config/Shop/shop_objects_3.ini"};
    auto* root = new cSceneNode(nullptr);
    root->show();
    root->enable();
    try {
        for (const char* name : names) resources.load(name, 11);
        auto* cloud = new cAppearingCloud(root);
        cloud->setPosition(cVector2(signedFloat(numbers[0]), signedFloat(numbers[1])));
        cloud->setText(L"A FUZZED/nCLOUD");
        cloud->setLayout(cStringA(spec.c_str()));
        if (numbers[2] & 1)
            cloud->fitToText();
        else
            cloud->setSize(cVector2(signedFloat(numbers[2]), signedFloat(numbers[3])));
        cloud->appear();
        runFrames(20);
        cloud->setPosition(cVector2(signedFloat(numbers[3]), signedFloat(numbers[2])));
        cloud->disappear();
        runFrames(20);

        const int world = static_cast<int>(numbers[0] % 3) + 1;
        const char* name = shop::itemName(static_cast<int>(numbers[1] % shop::ITEM_COUNT));
        cShopObject* object =
            cShopObject::create(world, name, static_cast<int32_t>(numbers[2] % 5), static_cast<int32_t>(numbers[3] % 6), root);
        for (int state = 1; state <= 4; ++state) {
            object->setDisplayState(state);
            runFrames(3);
        }
        object->placeCloud(cloud, cVector2(signedFloat(numbers[1]), 0.0f));
        runFrames(5);
    } catch (...) {
        // A text failure of the configuration: what was built goes with the root.
    }
    delete root;
    updateTopLevelNodes(nullptr);
    for (const char* name : names) resources.unload(name);
    return 0;
}
