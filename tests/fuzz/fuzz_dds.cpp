// The DDS reader on arbitrary bytes: it either decodes an image whose pixels match its size,
// or throws a text; it never reads outside the data or crashes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/media/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        cImage image = decodeDds(data, size);
        if (image.pixels.size() != size_t(image.width) * image.height || image.width == 0) __builtin_trap();
    } catch (const std::string&) {
    }
    return 0;
}
