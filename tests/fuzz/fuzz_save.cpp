// Reads the input as a save file: any input must be refused with a text or give profiles
// whose values stay in their ranges and that are written back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/data/cProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SaveImage image;
    try {
        image = decodeSaveFile(data, size);
    } catch (const char*) {
        return 0;
    }
    const int32_t count = static_cast<int32_t>(image.profiles.size());
    if (size != saveFileSize(image.profiles.size())) std::abort();
    if (count > 0 ? (image.currentProfile < 0 || image.currentProfile >= count) : image.currentProfile != -1) std::abort();
    for (const cProfile& p : image.profiles) {
        if (p.level < 1 || p.level > 60 || p.reachedLevel < 1 || p.reachedLevel > 61) std::abort();
        if (p.difficulty < -1 || p.difficulty > 1 || p.name[cProfile::kNameUnits - 1] != 0) std::abort();
    }
    // What was accepted reads back unchanged after writing.
    std::vector<uint8_t> again = encodeSaveFile(image);
    SaveImage back = decodeSaveFile(again.data(), again.size());
    if (encodeSaveFile(back) != again) std::abort();
    return 0;
}
