// The demo bitmap fonts: every line of data/fonts/fonts.txt names a font, a DejaVu face, a
// pixel size and a set of characters. Each character is rendered with FreeType into a cell of
// the font image (white, coverage in alpha) as wide as its advance and as high as the face's
// line; the cells' rectangles and advances, as fractions of the image, go into the ".rwf" file.
// The text object centres each cell on its advance, so the fonts need no glyph offsets.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/media/ImageDecoder.h"
#include "tools/datagen/DataGen.h"
#include "tools/datagen/FontFace.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kImageWidth = 512;
constexpr uint32_t kPad = 1;

struct FontLine {
    std::string name;
    std::string face;
    int pixels = 0;
    std::vector<uint32_t> characters;
    uint32_t rgb = 0x00FFFFFFu;   // glyph colour; white unless the line gives "#rrggbb"
};

uint32_t parseCode(const std::string& text, const std::string& where) {
    try {
        size_t used = 0;
        unsigned long v = std::stoul(text, &used, 0);
        if (used != text.size() || v > 0xFFFF) throw std::out_of_range(text);
        return uint32_t(v);
    } catch (const std::exception&) {
        throw std::runtime_error(where + ": bad character code '" + text + "'");
    }
}

bool isColourWord(const std::string& word) {
    return word.size() == 7 && word[0] == '#' &&
           std::all_of(word.begin() + 1, word.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// The line up to its comment. A comment starts at a '#' that begins the line or follows a
// blank, unless that word is a glyph colour "#rrggbb": colours and comments share the mark.
std::string withoutComment(const std::string& line) {
    for (size_t at = line.find('#'); at != std::string::npos; at = line.find('#', at + 1)) {
        if (at > 0 && line[at - 1] != ' ' && line[at - 1] != '\t') continue;
        const size_t end = line.find_first_of(" \t\r", at);
        if (at > 0 && isColourWord(line.substr(at, end == std::string::npos ? std::string::npos : end - at))) continue;
        return line.substr(0, at);
    }
    return line;
}

std::vector<FontLine> readFontList(const fs::path& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::vector<FontLine> fonts;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string where = path.filename().string() + ":" + std::to_string(number);
        std::istringstream words(withoutComment(line));
        FontLine font;
        if (!(words >> font.name)) continue;
        if (!(words >> font.face >> font.pixels) || font.pixels < 4 || font.pixels > 128)
            throw std::runtime_error(where + ": expected name, face and a pixel size of 4 to 128");
        std::string range;
        while (words >> range) {
            if (isColourWord(range)) {
                font.rgb = parseCode("0x" + range.substr(1, 4), where) << 8 | parseCode("0x" + range.substr(5), where);
                continue;
            }
            size_t dash = range.find('-');
            uint32_t first = parseCode(range.substr(0, dash), where);
            uint32_t last = dash == std::string::npos ? first : parseCode(range.substr(dash + 1), where);
            if (last < first) throw std::runtime_error(where + ": reversed range " + range);
            for (uint32_t c = first; c <= last; ++c) font.characters.push_back(c);
        }
        font.characters.push_back(0x20);
        std::sort(font.characters.begin(), font.characters.end());
        font.characters.erase(std::unique(font.characters.begin(), font.characters.end()), font.characters.end());
        fonts.push_back(std::move(font));
    }
    return fonts;
}

struct Cell {
    uint32_t character = 0;
    int width = 0;          // cell width in pixels (the advance, widened evenly for overhangs)
    int inset = 0;          // where the pen's origin lies inside the cell
    int advance = 0;
    std::vector<uint8_t> coverage;   // width x line height
};

void putFloat(std::string& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) out.push_back(char((bits >> (8 * i)) & 0xFF));
}

void putU16(std::string& out, uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

void bakeFont(const cFreeTypeLibrary& library, const FontLine& font, const fs::path& facePath, const fs::path& outFolder) {
    cFontFace open(library, facePath);
    open.setPixelSize(font.pixels);
    FT_Face face = open.get();
    const int ascender = int(face->size->metrics.ascender >> 6);
    const int lineHeight = ascender - int(face->size->metrics.descender >> 6);

    std::vector<Cell> cells;
    for (uint32_t c : font.characters) {
        if (c != 0x20 && FT_Get_Char_Index(face, c) == 0) continue;   // the face lacks it
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL)) continue;
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        Cell cell;
        cell.character = c;
        cell.advance = int(std::lround(slot->advance.x / 64.0));
        if (cell.advance <= 0) continue;
        const int left = slot->bitmap_left, right = slot->bitmap_left + int(bm.width);
        const int extra = std::max({0, -left, right - cell.advance});
        cell.inset = extra;
        cell.width = cell.advance + 2 * extra;
        cell.coverage.assign(size_t(cell.width) * size_t(lineHeight), 0);
        for (unsigned row = 0; row < bm.rows; ++row) {
            const int y = ascender - slot->bitmap_top + int(row);
            if (y < 0 || y >= lineHeight) continue;
            for (unsigned col = 0; col < bm.width; ++col) {
                const int x = extra + left + int(col);
                if (x < 0 || x >= cell.width) continue;
                cell.coverage[size_t(y) * size_t(cell.width) + size_t(x)] = bm.buffer[row * unsigned(bm.pitch) + col];
            }
        }
        cells.push_back(std::move(cell));
    }
    if (cells.empty()) throw std::runtime_error("the font " + font.name + " has no characters");

    // Rows of cells, left to right, with a free pixel around each.
    struct Place {
        uint32_t x, y;
    };
    std::vector<Place> places;
    uint32_t x = kPad, y = kPad;
    for (const Cell& cell : cells) {
        if (x + uint32_t(cell.width) + kPad > kImageWidth) {
            x = kPad;
            y += uint32_t(lineHeight) + kPad;
        }
        places.push_back({x, y});
        x += uint32_t(cell.width) + kPad;
    }
    cImage image;
    image.width = kImageWidth;
    image.height = y + uint32_t(lineHeight) + kPad;
    image.pixels.assign(size_t(image.width) * image.height, font.rgb);
    for (size_t i = 0; i < cells.size(); ++i)
        for (int cy = 0; cy < lineHeight; ++cy)
            for (int cx = 0; cx < cells[i].width; ++cx) {
                uint8_t a = cells[i].coverage[size_t(cy) * size_t(cells[i].width) + size_t(cx)];
                image.pixels[size_t(places[i].y + uint32_t(cy)) * image.width + places[i].x + uint32_t(cx)] =
                    (uint32_t(a) << 24) | font.rgb;
            }

    std::string rwf;
    putU16(rwf, 0x4654);   // "TFWR" read as a little-endian word
    putU16(rwf, 0x5257);
    putU16(rwf, uint32_t(cells.size()));
    const float w = float(image.width), h = float(image.height);
    for (size_t i = 0; i < cells.size(); ++i) {
        putU16(rwf, cells[i].character);
        putFloat(rwf, float(places[i].x) / w);
        putFloat(rwf, float(places[i].y) / h);
        putFloat(rwf, float(places[i].x + uint32_t(cells[i].width)) / w);
        putFloat(rwf, float(places[i].y + uint32_t(lineHeight)) / h);
        putFloat(rwf, float(cells[i].advance) / w);
    }
    std::vector<uint8_t> dds = encodeDds(image);
    writeFileAtomically(outFolder / (font.name + ".dds"), dds.data(), dds.size());
    writeFileAtomically(outFolder / (font.name + ".rwf"), rwf.data(), rwf.size());
}

void makeFonts(const DataGenContext& context) {
    const fs::path list = context.source / "fonts" / "fonts.txt";
    const fs::path outFolder = context.out / "fonts";
    std::vector<FontLine> fonts = readFontList(list);
    std::unique_ptr<cFreeTypeLibrary> library;   // started only when a font is out of date
    for (const FontLine& font : fonts) {
        fs::path facePath = dejaVuFacePath(font.face);
        fs::path rwf = outFolder / (font.name + ".rwf");
        // A changed generator bakes again too: it may read the list differently.
        const std::initializer_list<fs::path> sources = {list, facePath, context.generator};
        if (!isOutOfDate(rwf, sources) && !isOutOfDate(outFolder / (font.name + ".dds"), sources)) continue;
        if (!library) library = std::make_unique<cFreeTypeLibrary>();
        bakeFont(*library, font, facePath, outFolder);
    }
}

}  // namespace

RW_DATAGEN_STEP(fonts, 40, makeFonts);
