#include "engine/media/ImageDecoder.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace {

uint32_t rd16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t rd32(const uint8_t* p) { return rd16(p) | rd16(p + 2) << 16; }
void wr16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void wr32(std::vector<uint8_t>& out, uint32_t v) {
    wr16(out, v & 0xFFFF);
    wr16(out, v >> 16);
}

void checkSize(const char* kind, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0)
        throw std::string(kind) + ": the image has no pixels (" + std::to_string(width) + " x " +
            std::to_string(height) + ")";
    if (width > kMaxImageSide || height > kMaxImageSide || uint64_t(width) * height > kMaxImagePixels)
        throw std::string(kind) + ": the image is too large (" + std::to_string(width) + " x " +
            std::to_string(height) + ")";
}

// A channel under a bit mask, scaled to 0..255 (mask 0: the fallback value).
struct MaskChannel {
    uint32_t mask = 0;
    uint32_t shift = 0;
    uint32_t bits = 0;
    explicit MaskChannel(uint32_t m = 0) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1)) ++shift;
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
    }
    uint32_t get(uint32_t value, uint32_t fallback) const {
        if (!mask) return fallback;
        uint32_t v = (value & mask) >> shift;
        uint64_t max = (uint64_t(1) << bits) - 1;
        return uint32_t((uint64_t(v) * 255 + max / 2) / max);
    }
};

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

// ---- DXT blocks --------------------------------------------------------------------------
void rgb565(uint32_t c, uint32_t* r, uint32_t* g, uint32_t* b) {
    uint32_t r5 = (c >> 11) & 31, g6 = (c >> 5) & 63, b5 = c & 31;
    *r = r5 << 3 | r5 >> 2;
    *g = g6 << 2 | g6 >> 4;
    *b = b5 << 3 | b5 >> 2;
}

// Decodes the colour half of a block into 16 words; alpha 255 (or 0 for DXT1's transparent index).
void decodeColorBlock(const uint8_t* block, bool fourColorsAlways, uint32_t out[16]) {
    uint32_t c0 = rd16(block), c1 = rd16(block + 2);
    uint32_t r[4], g[4], b[4], a[4] = {255, 255, 255, 255};
    rgb565(c0, &r[0], &g[0], &b[0]);
    rgb565(c1, &r[1], &g[1], &b[1]);
    if (c0 > c1 || fourColorsAlways) {
        r[2] = (2 * r[0] + r[1]) / 3; g[2] = (2 * g[0] + g[1]) / 3; b[2] = (2 * b[0] + b[1]) / 3;
        r[3] = (r[0] + 2 * r[1]) / 3; g[3] = (g[0] + 2 * g[1]) / 3; b[3] = (b[0] + 2 * b[1]) / 3;
    } else {
        r[2] = (r[0] + r[1]) / 2; g[2] = (g[0] + g[1]) / 2; b[2] = (b[0] + b[1]) / 2;
        r[3] = g[3] = b[3] = 0;
        a[3] = 0;
    }
    uint32_t bits = rd32(block + 4);
    for (int i = 0; i < 16; ++i) {
        uint32_t k = (bits >> (2 * i)) & 3;
        out[i] = argb(a[k], r[k], g[k], b[k]);
    }
}

void decodeInterpolatedAlpha(const uint8_t* block, uint32_t alpha[16]) {
    uint32_t a[8];
    a[0] = block[0];
    a[1] = block[1];
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) a[i + 1] = ((7 - i) * a[0] + i * a[1]) / 7;
    } else {
        for (int i = 1; i < 5; ++i) a[i + 1] = ((5 - i) * a[0] + i * a[1]) / 5;
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) alpha[i] = a[(bits >> (3 * i)) & 7];
}

}  // namespace

// ---- PNG -----------------------------------------------------------------------------------
// The colours are the values stored in the file: no gamma or colour-profile conversion (the
// simplified libpng reader converts both), 16-bit channels rounded to 8 bits. libpng reports
// errors by a long jump, so every step that may fail runs in a function whose own locals are
// plain data; the pixel storage is owned by the caller.
namespace {

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t offset = 0;
    char message[160] = {};
};

void pngError(png_structp png, png_const_charp text) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(reader->message, sizeof reader->message, "%s", text ? text : "unknown error");
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) png_error(png, "the file is truncated");
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// Reads the header and sets the transforms to 8-bit B, G, R, A. False on an error (message set).
bool pngReadHeader(PngReader* r, uint32_t* width, uint32_t* height) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    png_set_read_fn(r->png, r, pngRead);
    png_set_user_limits(r->png, kMaxImageSide, kMaxImageSide);
    png_read_info(r->png, r->info);
    *width = png_get_image_width(r->png, r->info);
    *height = png_get_image_height(r->png, r->info);
    int depth = png_get_bit_depth(r->png, r->info);
    int colour = png_get_color_type(r->png, r->info);
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r->png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(r->png);
    if (png_get_valid(r->png, r->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(r->png);
    if (depth == 16) png_set_scale_16(r->png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(r->png);
    if (!(colour & PNG_COLOR_MASK_ALPHA) && !png_get_valid(r->png, r->info, PNG_INFO_tRNS))
        png_set_filler(r->png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(r->png);
    png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);
    if (png_get_rowbytes(r->png, r->info) != size_t(*width) * 4) {
        std::snprintf(r->message, sizeof r->message, "unsupported pixel layout");
        return false;
    }
    return true;
}

bool pngReadPixels(PngReader* r, png_bytepp rows) {
    if (setjmp(png_jmpbuf(r->png))) return false;
    png_read_image(r->png, rows);
    png_read_end(r->png, nullptr);
    return true;
}

}  // namespace

cImage decodePng(const void* data, size_t size) {
    if (!data || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
        throw std::string("PNG: not a PNG file");
    PngReader reader;
    reader.data = static_cast<const uint8_t*>(data);
    reader.size = size;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, pngError, pngWarning);
    if (!reader.png) throw std::string("PNG: out of memory");
    reader.info = png_create_info_struct(reader.png);
    struct Release {
        PngReader& r;
        ~Release() { png_destroy_read_struct(&r.png, r.info ? &r.info : nullptr, nullptr); }
    } release{reader};
    if (!reader.info) throw std::string("PNG: out of memory");

    uint32_t width = 0, height = 0;
    if (!pngReadHeader(&reader, &width, &height)) throw std::string("PNG: ") + reader.message;
    checkSize("PNG", width, height);
    cImage out;
    out.width = width;
    out.height = height;
    out.fileFormat = IMAGE_PNG;
    out.pixels.resize(size_t(width) * height);   // bytes B, G, R, A = little-endian 0xAARRGGBB words
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(out.pixels.data() + size_t(y) * width);
    if (!pngReadPixels(&reader, rows.data())) throw std::string("PNG: ") + reader.message;
    return out;
}

std::vector<uint8_t> encodePng(const cImage& img) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = img.width;
    image.height = img.height;
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, img.pixels.data(), int32_t(img.width * 4), nullptr))
        throw std::string("PNG: ") + image.message;
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, img.pixels.data(), int32_t(img.width * 4), nullptr))
        throw std::string("PNG: ") + image.message;
    out.resize(size);
    return out;
}

bool writePngFile(const std::string& path, const cImage& image) {
    std::vector<uint8_t> bytes;
    try {
        bytes = encodePng(image);
    } catch (...) {
        return false;
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

// ---- BMP -----------------------------------------------------------------------------------
cImage decodeBmp(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (!p || size < 2 || p[0] != 'B' || p[1] != 'M') throw std::string("BMP: not a BMP file");
    if (size < 14 + 12) throw std::string("BMP: the info header is truncated");
    uint32_t pixelOffset = rd32(p + 10);
    uint32_t headerSize = rd32(p + 14);
    if (headerSize < 12 || headerSize > size - 14) throw std::string("BMP: the info header is truncated");
    const uint8_t* h = p + 14;
    int64_t width, height;
    uint32_t planes, bitCount, compression = 0, colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    if (headerSize == 12) {
        width = int16_t(rd16(h + 4));
        height = int16_t(rd16(h + 6));
        planes = rd16(h + 8);
        bitCount = rd16(h + 10);
    } else {
        if (headerSize < 40) throw std::string("BMP: unknown info header size ") + std::to_string(headerSize);
        width = int32_t(rd32(h + 4));
        height = int32_t(rd32(h + 8));
        planes = rd16(h + 12);
        bitCount = rd16(h + 14);
        compression = rd32(h + 16);
        colorsUsed = rd32(h + 32);
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = rd32(h + 40 + 4 * i);
            hasMasks = true;
        }
        if (headerSize >= 56) masks[3] = rd32(h + 52);
    }
    if (planes != 1) throw std::string("BMP: bad plane count");
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        uint64_t(width) * uint64_t(height) > kMaxImagePixels)
        throw std::string("BMP: bad image size ") + std::to_string(width) + " x " + std::to_string(height);
    const uint32_t w = uint32_t(width), ht = uint32_t(height);
    // Compression 0: plain; 3: bit fields (masks after a 40-byte header, or in the header).
    if (compression == 3) {
        if (!hasMasks) {
            if (size - 14 - headerSize < 12) throw std::string("BMP: the bit-field masks are truncated");
            for (int i = 0; i < 3; ++i) masks[i] = rd32(h + headerSize + 4 * i);
        }
        if (bitCount != 16 && bitCount != 32) throw std::string("BMP: bit fields need 16 or 32 bits per pixel");
    } else if (compression != 0) {
        throw std::string("BMP: compressed bitmaps (method ") + std::to_string(compression) + ") are not supported";
    } else {
        if (bitCount == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; masks[3] = 0; }
        if (bitCount == 32 || bitCount == 24) {
            masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
            // A plain 32-bit bitmap has no alpha unless a version-4/5 header gives its mask.
            if (!(bitCount == 32 && headerSize >= 56)) masks[3] = 0;
        }
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        throw std::string("BMP: unsupported bit count ") + std::to_string(bitCount);

    // Palette.
    std::vector<uint32_t> palette;
    if (bitCount <= 8) {
        uint32_t count = colorsUsed ? colorsUsed : (1u << bitCount);
        if (count > 256) throw std::string("BMP: bad palette size");
        uint32_t entry = headerSize == 12 ? 3 : 4;
        uint64_t start = 14 + uint64_t(headerSize);
        if (start + uint64_t(count) * entry > size) throw std::string("BMP: the palette is truncated");
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = p + start + i * entry;
            palette.push_back(argb(255, e[2], e[1], e[0]));
        }
    }
    uint64_t stride = ((uint64_t(w) * bitCount + 31) / 32) * 4;
    if (pixelOffset > size || stride * ht > size - pixelOffset) throw std::string("BMP: the pixel data is truncated");

    MaskChannel cr(masks[0]), cg(masks[1]), cb(masks[2]), ca(masks[3]);
    cImage out;
    out.width = w;
    out.height = ht;
    out.fileFormat = IMAGE_BMP;
    out.pixels.resize(size_t(w) * ht);
    for (uint32_t row = 0; row < ht; ++row) {
        const uint8_t* src = p + pixelOffset + stride * row;
        uint32_t y = topDown ? row : ht - 1 - row;
        uint32_t* dst = &out.pixels[size_t(y) * w];
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t value;
            switch (bitCount) {
            case 1:
            case 4:
            case 8: {
                uint32_t perByte = 8 / bitCount;
                uint32_t byte = src[x / perByte];
                uint32_t shift = (perByte - 1 - x % perByte) * bitCount;
                uint32_t index = (byte >> shift) & ((1u << bitCount) - 1);
                if (index >= palette.size()) throw std::string("BMP: a palette index is out of range");
                dst[x] = palette[index];
                continue;
            }
            case 16: value = rd16(src + 2 * x); break;
            case 24: value = uint32_t(src[3 * x]) | uint32_t(src[3 * x + 1]) << 8 | uint32_t(src[3 * x + 2]) << 16; break;
            default: value = rd32(src + 4 * x); break;
            }
            dst[x] = argb(ca.get(value, 255), cr.get(value, 0), cg.get(value, 0), cb.get(value, 0));
        }
    }
    return out;
}

std::vector<uint8_t> encodeBmp(const cImage& image) {
    std::vector<uint8_t> out;
    const uint32_t headerSize = 108;
    const uint32_t pixelBytes = image.width * image.height * 4;
    out.push_back('B');
    out.push_back('M');
    wr32(out, 14 + headerSize + pixelBytes);
    wr32(out, 0);
    wr32(out, 14 + headerSize);
    wr32(out, headerSize);
    wr32(out, image.width);
    wr32(out, image.height);
    wr16(out, 1);
    wr16(out, 32);
    wr32(out, 3);   // bit fields
    wr32(out, pixelBytes);
    wr32(out, 2835);
    wr32(out, 2835);
    wr32(out, 0);
    wr32(out, 0);
    wr32(out, 0x00FF0000);
    wr32(out, 0x0000FF00);
    wr32(out, 0x000000FF);
    wr32(out, 0xFF000000);
    while (out.size() < 14 + headerSize) out.push_back(0);
    for (uint32_t row = 0; row < image.height; ++row)
        for (uint32_t x = 0; x < image.width; ++x) wr32(out, image.at(x, image.height - 1 - row));
    return out;
}

// ---- DDS -----------------------------------------------------------------------------------
namespace {
constexpr uint32_t fourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}
constexpr uint32_t kDdsHeaderSize = 124;
constexpr uint32_t kPfAlphaPixels = 0x1, kPfFourCC = 0x4, kPfRgb = 0x40, kPfLuminance = 0x20000;
}  // namespace

cImage decodeDds(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (!p || size < 4 || rd32(p) != fourCC('D', 'D', 'S', ' ')) throw std::string("DDS: not a DDS file");
    if (size < 4 + kDdsHeaderSize) throw std::string("DDS: the header is truncated");
    const uint8_t* h = p + 4;
    if (rd32(h) != kDdsHeaderSize) throw std::string("DDS: bad header size");
    uint32_t height = rd32(h + 8), width = rd32(h + 12);
    checkSize("DDS", width, height);
    const uint8_t* pf = h + 72;
    if (rd32(pf) != 32) throw std::string("DDS: bad pixel format size");
    uint32_t pfFlags = rd32(pf + 4), code = rd32(pf + 8), bitCount = rd32(pf + 12);
    uint32_t masks[4] = {rd32(pf + 16), rd32(pf + 20), rd32(pf + 24), rd32(pf + 28)};
    const uint8_t* src = p + 4 + kDdsHeaderSize;
    size_t available = size - 4 - kDdsHeaderSize;

    cImage out;
    out.width = width;
    out.height = height;
    out.fileFormat = IMAGE_DDS;
    out.pixels.resize(size_t(width) * height);

    if (pfFlags & kPfFourCC) {
        if (code == fourCC('D', 'X', '1', '0')) throw std::string("DDS: extended headers are not supported");
        uint32_t kind;
        if (code == fourCC('D', 'X', 'T', '1')) kind = 1;
        else if (code == fourCC('D', 'X', 'T', '2') || code == fourCC('D', 'X', 'T', '3')) kind = 3;
        else if (code == fourCC('D', 'X', 'T', '4') || code == fourCC('D', 'X', 'T', '5')) kind = 5;
        else throw std::string("DDS: unsupported compression");
        uint32_t blockBytes = kind == 1 ? 8 : 16;
        uint32_t bw = (width + 3) / 4, bh = (height + 3) / 4;
        if (uint64_t(bw) * bh * blockBytes > available) throw std::string("DDS: the pixel data is truncated");
        for (uint32_t by = 0; by < bh; ++by) {
            for (uint32_t bx = 0; bx < bw; ++bx) {
                const uint8_t* block = src + (size_t(by) * bw + bx) * blockBytes;
                uint32_t texels[16];
                uint32_t alpha[16];
                if (kind == 1) {
                    decodeColorBlock(block, false, texels);
                } else {
                    decodeColorBlock(block + 8, true, texels);
                    if (kind == 3) {
                        for (int i = 0; i < 16; ++i) {
                            uint32_t a4 = (block[i / 2] >> (4 * (i % 2))) & 15;
                            alpha[i] = a4 << 4 | a4;
                        }
                    } else {
                        decodeInterpolatedAlpha(block, alpha);
                    }
                    for (int i = 0; i < 16; ++i) texels[i] = (texels[i] & 0x00FFFFFFu) | alpha[i] << 24;
                }
                for (uint32_t j = 0; j < 4; ++j) {
                    uint32_t y = by * 4 + j;
                    if (y >= height) break;
                    for (uint32_t i = 0; i < 4; ++i) {
                        uint32_t x = bx * 4 + i;
                        if (x >= width) break;
                        out.pixels[size_t(y) * width + x] = texels[j * 4 + i];
                    }
                }
            }
        }
        return out;
    }
    if (!(pfFlags & (kPfRgb | kPfLuminance))) throw std::string("DDS: unsupported pixel format");
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        throw std::string("DDS: unsupported bit count ") + std::to_string(bitCount);
    if (!(pfFlags & kPfAlphaPixels)) masks[3] = 0;
    uint32_t bytesPerPixel = bitCount / 8;
    // The pitch of uncompressed data is width x bytes, without padding.
    uint64_t stride = uint64_t(width) * bytesPerPixel;
    if (stride * height > available) throw std::string("DDS: the pixel data is truncated");
    bool luminance = (pfFlags & kPfLuminance) && !(pfFlags & kPfRgb);
    // Some writers give the luminance mask of an 8-bit file as the top byte of a word
    // (ff000000): the mask then describes the pixel's one byte.
    if (luminance && bitCount < 32) {
        uint32_t inPixel = (1u << bitCount) - 1;
        while (masks[0] > inPixel && !(masks[0] & inPixel)) masks[0] >>= 8;
    }
    MaskChannel cr(masks[0]), cg(masks[1]), cb(masks[2]), ca(masks[3]);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = src + stride * y;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* q = row + size_t(x) * bytesPerPixel;
            uint32_t value = 0;
            for (uint32_t k = 0; k < bytesPerPixel; ++k) value |= uint32_t(q[k]) << (8 * k);
            uint32_t r = cr.get(value, 0);
            uint32_t g = luminance ? r : cg.get(value, 0);
            uint32_t b = luminance ? r : cb.get(value, 0);
            out.pixels[size_t(y) * width + x] = argb(ca.get(value, 255), r, g, b);
        }
    }
    return out;
}

std::vector<uint8_t> encodeDds(const cImage& image) {
    std::vector<uint8_t> out;
    wr32(out, fourCC('D', 'D', 'S', ' '));
    wr32(out, kDdsHeaderSize);
    wr32(out, 0x1 | 0x2 | 0x4 | 0x1000 | 0x8);   // caps, height, width, pixel format, pitch
    wr32(out, image.height);
    wr32(out, image.width);
    wr32(out, image.width * 4);
    wr32(out, 0);   // depth
    wr32(out, 1);   // mip levels
    for (int i = 0; i < 11; ++i) wr32(out, 0);
    wr32(out, 32);
    wr32(out, kPfRgb | kPfAlphaPixels);
    wr32(out, 0);
    wr32(out, 32);
    wr32(out, 0x00FF0000);
    wr32(out, 0x0000FF00);
    wr32(out, 0x000000FF);
    wr32(out, 0xFF000000);
    wr32(out, 0x1000);   // texture
    for (int i = 0; i < 4; ++i) wr32(out, 0);
    for (uint32_t v : image.pixels) wr32(out, v);
    return out;
}

cImage decodeImage(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (!p || size < 4) throw std::string("Image: the file is too short to be an image");
    if (p[0] == 'D' && p[1] == 'D' && p[2] == 'S' && p[3] == ' ') return decodeDds(data, size);
    if (p[0] == 0x89 && p[1] == 'P' && p[2] == 'N' && p[3] == 'G') return decodePng(data, size);
    if (p[0] == 'B' && p[1] == 'M') return decodeBmp(data, size);
    throw std::string("Image: unknown file format");
}
