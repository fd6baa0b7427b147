#pragma once
// Image files in memory -> 32-bit pixels. Readers: PNG (libpng), BMP (1, 4, 8, 16, 24 and 32
// bits, uncompressed or with bit-field masks) and DDS (uncompressed 16/24/32-bit RGB and the
// block formats DXT1 to DXT5); only the top level of a DDS is read.
//
// Every reader checks the file's sizes and offsets against the data before reading; a broken
// or truncated file throws a std::string naming the fault, never reads past the data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum ImageFileFormat : uint32_t { IMAGE_DDS = 0, IMAGE_PNG = 1, IMAGE_BMP = 2 };

struct cImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;   // 0xAARRGGBB, rows top first
    uint32_t fileFormat = IMAGE_PNG;

    uint32_t at(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
};

// Largest width or height accepted (a larger header is refused before anything is allocated).
constexpr uint32_t kMaxImageSide = 16384;
// Largest number of pixels accepted (64 MB of pixels).
constexpr uint64_t kMaxImagePixels = uint64_t(1) << 24;

// Chooses the reader by the file's signature; throws a std::string when no reader knows it.
cImage decodeImage(const void* data, size_t size);
cImage decodePng(const void* data, size_t size);
cImage decodeBmp(const void* data, size_t size);
cImage decodeDds(const void* data, size_t size);

// Writers, for screenshots, tools and tests.
std::vector<uint8_t> encodePng(const cImage& image);
// 32-bit BMP with an alpha mask (a version-4 info header), rows bottom first.
std::vector<uint8_t> encodeBmp(const cImage& image);
// Uncompressed 32-bit DDS with an alpha mask, one level.
std::vector<uint8_t> encodeDds(const cImage& image);
// Writes a PNG file; false when the file cannot be written.
bool writePngFile(const std::string& path, const cImage& image);
