// Feeds arbitrary bytes to the .x model loader: a malformed file must fail with a text, never
// crash, and a model that loads must survive instances, animation and a device reset.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/media/cModel.h"
#include "engine/media/cModelInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        cModel model("fuzz.x", 0, data, size);
        cModelInstance* first = model.createInstance();
        cModelInstance* second = model.createInstance();
        for (const auto& entry : model.getAnimationSets()) {
            first->setAnimation(entry.first, 1.5f, 0.2f);
            first->update(0.7f);
            second->setAnimation(entry.first, 0.0f, 0.0f);
        }
        model.onLostDevice();
        first->update(0.1f);
        model.onResetDevice();
        delete first;
        second->update(0.3f);
        delete second;
    } catch (const std::string&) {
    } catch (const char*) {
    }
    return 0;
}
