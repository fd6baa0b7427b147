// Image readers: the same picture in every format, the block formats, and broken files.

#include <gtest/gtest.h>

#include <zlib.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "engine/media/ImageDecoder.h"

namespace {

// A 5 x 3 picture with colours and alpha that no format rounds.
cImage picture() {
    cImage img;
    img.width = 5;
    img.height = 3;
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 5; ++x) {
            uint32_t a = 255 - 40 * x, r = 50 * x, g = 100 * y, b = (x * 37 + y * 91) & 0xFF;
            img.pixels.push_back(a << 24 | r << 16 | g << 8 | b);
        }
    return img;
}

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    put16(v, at, x & 0xFFFF);
    put16(v, at + 2, x >> 16);
}

// A DDS header with a four-character code and the given blocks.
std::vector<uint8_t> ddsBlocks(uint32_t w, uint32_t h, const char* code, const std::vector<uint8_t>& blocks) {
    std::vector<uint8_t> v = encodeDds(cImage{w, h, std::vector<uint32_t>(size_t(w) * h), IMAGE_DDS});
    v.resize(128);
    put32(v, 4 + 72 + 4, 0x4);   // four-character code
    std::memcpy(&v[4 + 72 + 8], code, 4);
    put32(v, 4 + 72 + 12, 0);
    v.insert(v.end(), blocks.begin(), blocks.end());
    return v;
}

TEST(ImageFormats, TheSamePictureDecodesToTheSamePixels) {
    cImage img = picture();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t format;
    } cases[] = {{"png", encodePng(img), IMAGE_PNG}, {"bmp", encodeBmp(img), IMAGE_BMP}, {"dds", encodeDds(img), IMAGE_DDS}};
    for (const Case& c : cases) {
        cImage out = decodeImage(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(out.fileFormat, c.format) << c.name;
        EXPECT_EQ(out.width, 5u) << c.name;
        EXPECT_EQ(out.height, 3u) << c.name;
        EXPECT_EQ(out.pixels, img.pixels) << c.name;
    }
}

TEST(ImageFormats, PlainBitmapsOfEveryDepthAreReadBottomUpWithoutAlpha) {
    // 2 x 2 bitmaps; the bottom row comes first in the file.
    auto bitmap = [](uint32_t bits, const std::vector<uint8_t>& palette, const std::vector<uint8_t>& rows) {
        std::vector<uint8_t> v(54, 0);
        v[0] = 'B';
        v[1] = 'M';
        put32(v, 10, uint32_t(54 + palette.size()));
        put32(v, 14, 40);
        put32(v, 18, 2);
        put32(v, 22, 2);
        put16(v, 26, 1);
        put16(v, 28, bits);
        put32(v, 46, uint32_t(palette.size() / 4));
        v.insert(v.end(), palette.begin(), palette.end());
        v.insert(v.end(), rows.begin(), rows.end());
        return v;
    };
    const std::vector<uint8_t> palette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    const std::vector<uint32_t> expected = {0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u, 0xFFFFFFFFu};
    struct Case {
        uint32_t bits;
        std::vector<uint8_t> palette, rows;
    } cases[] = {
        {8, palette, {0, 3, 0, 0, 1, 2, 0, 0}},
        {4, palette, {0x03, 0, 0, 0, 0x12, 0, 0, 0}},
        {24, {}, {0, 0, 255, 255, 255, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0}},
        {32, {}, {0, 0, 255, 9, 255, 255, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9}},
        {16, {}, {0x00, 0x7C, 0xFF, 0x7F, 0xE0, 0x03, 0x1F, 0x00}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = bitmap(c.bits, c.palette, c.rows);
        cImage out = decodeBmp(bytes.data(), bytes.size());
        EXPECT_EQ(out.pixels, expected) << c.bits << " bits";
    }
}

TEST(ImageFormats, BlockCompressedTexturesDecode) {
    // DXT1, 4 x 4: colour 0 pure red, colour 1 pure blue; rows use indices 0, 1, 2, 3.
    // c0 > c1: four colours, index 2 = (2 red + blue) / 3.
    std::vector<uint8_t> dxt1 = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
    cImage a = decodeImage(ddsBlocks(4, 4, "DXT1", dxt1).data(), 128 + 8);
    EXPECT_EQ(a.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(a.at(1, 0), 0xFF0000FFu);
    EXPECT_EQ(a.at(2, 0), 0xFFAA0055u);
    EXPECT_EQ(a.at(3, 3), 0xFF5500AAu);
    // c0 <= c1: three colours and transparent black.
    std::vector<uint8_t> dxt1a = {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF};
    cImage b = decodeImage(ddsBlocks(4, 4, "DXT1", dxt1a).data(), 128 + 8);
    EXPECT_EQ(b.at(2, 2), 0x00000000u);
    // DXT3: explicit 4-bit alpha, 0 .. 15 across the block; colour all white.
    std::vector<uint8_t> dxt3 = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    cImage c = decodeImage(ddsBlocks(4, 4, "DXT3", dxt3).data(), 128 + 16);
    EXPECT_EQ(c.at(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(c.at(1, 0), 0x11FFFFFFu);
    EXPECT_EQ(c.at(3, 3), 0xFFFFFFFFu);
    // DXT5: alpha 255 / 0 interpolated in sevenths; index 2 = 6/7 of 255 + 1/7 of 0 = 218.
    std::vector<uint8_t> dxt5 = {255, 0, 0x02, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    cImage d = decodeImage(ddsBlocks(4, 4, "DXT5", dxt5).data(), 128 + 16);
    EXPECT_EQ(d.at(0, 0) >> 24, 218u);
    EXPECT_EQ(d.at(1, 0) >> 24, 255u);
    // A 6 x 2 image needs 2 x 1 blocks; the parts outside the image are dropped.
    std::vector<uint8_t> two = dxt1;
    two.insert(two.end(), dxt1a.begin(), dxt1a.end());
    cImage e = decodeImage(ddsBlocks(6, 2, "DXT1", two).data(), 128 + 16);
    EXPECT_EQ(e.width, 6u);
    EXPECT_EQ(e.at(1, 1), 0xFF0000FFu);
    EXPECT_EQ(e.at(5, 1), 0x00000000u);
}

// A PNG file of one row: the header, optional extra chunks, the filtered row (filter 0).
std::vector<uint8_t> pngFile(uint32_t width, int depth, int colourType, const std::vector<uint8_t>& row,
                             const std::vector<std::pair<std::string, std::vector<uint8_t>>>& extra = {}) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&out](const std::string& type, const std::vector<uint8_t>& body) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(body.size() >> s));
        size_t start = out.size();
        out.insert(out.end(), type.begin(), type.end());
        out.insert(out.end(), body.begin(), body.end());
        uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
        for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(crc >> s));
    };
    chunk("IHDR", {0, 0, 0, uint8_t(width), 0, 0, 0, 1, uint8_t(depth), uint8_t(colourType), 0, 0, 0});
    for (const auto& [type, body] : extra) chunk(type, body);
    std::vector<uint8_t> raw = {0};
    raw.insert(raw.end(), row.begin(), row.end());
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

// Texture colours are the values the file stores: no gamma conversion, 16 bits rounded to 8.
TEST(ImageFormats, PngColoursAreTheStoredValues) {
    const std::vector<uint8_t> gamma1 = {0x00, 0x01, 0x86, 0xA0};   // gAMA 100000: gamma 1.0
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"8-bit RGB with gamma 1.0", pngFile(2, 8, 2, {10, 128, 250, 0, 64, 255}, {{"gAMA", gamma1}}),
         {0xFF0A80FAu, 0xFF0040FFu}},
        // 0x12F0 rounds to 19 (truncation would give 18); 0x4000 to 64 (not brightened).
        {"16-bit RGB", pngFile(1, 16, 2, {0x12, 0xF0, 0x40, 0x00, 0xFF, 0xFF}), {0xFF1340FFu}},
        {"16-bit grey", pngFile(2, 16, 0, {0x12, 0xF0, 0x40, 0x00}), {0xFF131313u, 0xFF404040u}},
        {"16-bit grey and alpha", pngFile(1, 16, 4, {0x40, 0x00, 0x12, 0xF0}), {0x13404040u}},
        {"8-bit grey with a transparent value", pngFile(2, 8, 0, {7, 9}, {{"tRNS", {0, 7}}}),
         {0x00070707u, 0xFF090909u}},
    };
    for (const Case& c : cases) {
        cImage img = decodePng(c.file.data(), c.file.size());
        EXPECT_EQ(img.pixels, c.expected) << c.name;
    }
}

// Uncompressed DDS of one row with the given pixel format.
std::vector<uint8_t> ddsRow(uint32_t flags, uint32_t bits, std::array<uint32_t, 4> masks, const std::vector<uint8_t>& row) {
    uint32_t width = uint32_t(row.size() / (bits / 8));
    std::vector<uint8_t> v = encodeDds(cImage{width, 1, std::vector<uint32_t>(width), IMAGE_DDS});
    v.resize(128);
    put32(v, 4 + 72 + 4, flags);
    put32(v, 4 + 72 + 12, bits);
    for (int i = 0; i < 4; ++i) put32(v, 4 + 72 + 16 + 4 * i, masks[i]);
    v.insert(v.end(), row.begin(), row.end());
    return v;
}

TEST(ImageFormats, DdsMaskChannelsAreRoundedAndLuminanceMasksFindTheirByte) {
    // 8-bit luminance with the mask written as the word's top byte, and the plain mask.
    for (uint32_t mask : {0xFF000000u, 0x000000FFu}) {
        std::vector<uint8_t> file = ddsRow(0x20000, 8, {mask, 0, 0, 0}, {0, 77, 255});
        EXPECT_EQ(decodeDds(file.data(), file.size()).pixels,
                  (std::vector<uint32_t>{0xFF000000u, 0xFF4D4D4Du, 0xFFFFFFFFu})) << std::hex << mask;
    }
    // Ten-bit channels (2:10:10:10): 3 of 1023 is 0.75 of a level and rounds to 1; alpha 2 of 3.
    uint32_t value = 2u << 30 | 1023u << 20 | 3u << 10 | 512u;
    std::vector<uint8_t> bytes = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    std::vector<uint8_t> file = ddsRow(0x41, 32, {0x3FF00000u, 0x000FFC00u, 0x000003FFu, 0xC0000000u}, bytes);
    EXPECT_EQ(decodeDds(file.data(), file.size()).pixels, (std::vector<uint32_t>{0xAAFF0180u}));
}

// Broken files: each throws a text and reads nothing outside the data (AddressSanitizer).
TEST(ImageFormats, BrokenFilesThrowTextsNeverCrash) {
    std::vector<uint8_t> png = encodePng(picture());
    std::vector<uint8_t> bmp = encodeBmp(picture());
    std::vector<uint8_t> dds = encodeDds(picture());
    auto with = [](std::vector<uint8_t> v, size_t at, uint32_t value) {
        put32(v, at, value);
        return v;
    };
    auto cut = [](const std::vector<uint8_t>& v, size_t n) { return std::vector<uint8_t>(v.begin(), v.begin() + n); };
    std::vector<uint8_t> rle = bmp;
    put32(rle, 30, 1);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* expected;
    } cases[] = {
        {"empty", {}, "Image: the file is too short"},
        {"unknown", {'G', 'I', 'F', '8', '9', 'a'}, "Image: unknown file format"},
        {"png signature only", cut(png, 8), "PNG: "},
        {"png truncated", cut(png, png.size() - 20), "PNG: "},
        {"png bad crc", with(png, 29, 0x12345678), "PNG: "},
        {"bmp header cut", cut(bmp, 20), "BMP: the info header is truncated"},
        {"bmp pixels cut", cut(bmp, bmp.size() - 4), "BMP: the pixel data is truncated"},
        {"bmp huge", with(bmp, 18, 100000), "BMP: bad image size"},
        {"bmp zero width", with(bmp, 18, 0), "BMP: bad image size"},
        {"bmp pixel offset beyond", with(bmp, 10, 0xFFFFFFF0u), "BMP: the pixel data is truncated"},
        {"bmp compressed", rle, "BMP: compressed bitmaps"},
        {"bmp header size", with(bmp, 14, 0x7FFFFFFF), "BMP: the info header is truncated"},
        {"dds header cut", cut(dds, 100), "DDS: the header is truncated"},
        {"dds pixels cut", cut(dds, dds.size() - 1), "DDS: the pixel data is truncated"},
        {"dds huge", with(dds, 16, 1u << 30), "DDS: the image is too large"},
        {"dds zero height", with(dds, 12, 0), "DDS: the image has no pixels"},
        {"dds blocks cut", ddsBlocks(8, 8, "DXT5", std::vector<uint8_t>(60)), "DDS: the pixel data is truncated"},
        {"dds unknown code", ddsBlocks(4, 4, "ATI2", std::vector<uint8_t>(16)), "DDS: unsupported compression"},
        {"dds bad bit count", with(dds, 4 + 72 + 12, 7), "DDS: unsupported bit count"},
    };
    for (const Case& c : cases) {
        try {
            decodeImage(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const std::string& text) {
            EXPECT_EQ(text.rfind(c.expected, 0), 0u) << c.name << ": " << text;
        }
    }
}

TEST(ImageFormats, APaletteIndexOutsideThePaletteIsRefused) {
    std::vector<uint8_t> v(54, 0);
    v[0] = 'B';
    v[1] = 'M';
    put32(v, 10, 54 + 8);
    put32(v, 14, 40);
    put32(v, 18, 1);
    put32(v, 22, 1);
    put16(v, 26, 1);
    put16(v, 28, 8);
    put32(v, 46, 2);   // two colours
    v.insert(v.end(), {0, 0, 0, 0, 255, 255, 255, 0, 5, 0, 0, 0});
    try {
        decodeBmp(v.data(), v.size());
        ADD_FAILURE() << "no failure";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "BMP: a palette index is out of range");
    }
}

}  // namespace
