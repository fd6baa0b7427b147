// The placeholder art of the Data folder. Every data/art/*.txt lists textures, one a line:
//
//   <path> <width> <height> <shape> <colour> <label> [frames=N] [cols=C]
//
// path      the file under the Data folder, lower case, "/" separators, .dds or .png
// shape     rect roundrect circle ellipse diamond star ring triangle frame (a hollow border)
// colour    #rrggbb or #aarrggbb, the fill; the outline is a darker shade of it
// label     one word drawn on the shape, "_" drawn as a blank; "-" draws the file's name
// frames=N  N animation frames in the engine's grid (cols=C columns, default N in one row):
//           left to right, then top to bottom, each width/C by height/rows pixels, and each
//           drawn with its frame number (1 to N) so a running animation visibly steps
//
// '#' at the start of a field other than the colour starts a comment. Outside the shape the
// texture is transparent (alpha 0). A texture is rewritten only when its line, the face or the
// generator changed: the lines of the last build are kept in Data/.art-lines (the file
// manager never sees names that begin with a dot), and a texture listed no more is removed.
#include <algorithm>
#include <cctype>
#include <cmath>
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

const char* kLabelFace = "DejaVuSans-Bold.ttf";
const char* kStampFile = ".art-lines";
constexpr uint32_t kMaxSide = 4096;
constexpr uint32_t kMaxFrames = 1024;

enum class Shape { Rect, RoundRect, Circle, Ellipse, Diamond, Star, Ring, Triangle, Frame };

const std::pair<const char*, Shape> kShapes[] = {
    {"rect", Shape::Rect},       {"roundrect", Shape::RoundRect}, {"circle", Shape::Circle},
    {"ellipse", Shape::Ellipse}, {"diamond", Shape::Diamond},     {"star", Shape::Star},
    {"ring", Shape::Ring},       {"triangle", Shape::Triangle},   {"frame", Shape::Frame},
};

struct ArtLine {
    std::string where;   // "<list>:<line>", for messages
    std::string path;
    uint32_t width = 0, height = 0;
    Shape shape = Shape::Rect;
    uint32_t colour = 0;   // 0xAARRGGBB
    std::string label;     // as drawn
    uint32_t frames = 1, cols = 1;
    std::string stamp;     // the line's fields, normalised: equal stamps give equal files
};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

uint32_t parseCount(const std::string& text, const std::string& where, const char* what, uint32_t max) {
    uint32_t v = 0;
    bool ok = !text.empty() && text.size() <= 6;
    for (char c : text) ok = ok && c >= '0' && c <= '9';
    if (ok) v = uint32_t(std::stoul(text));
    if (!ok || v == 0 || v > max)
        fail(where, std::string("bad ") + what + " '" + text + "' (1 to " + std::to_string(max) + ")");
    return v;
}

uint32_t parseColour(const std::string& text, const std::string& where) {
    bool ok = text.size() == 7 || text.size() == 9;
    for (size_t i = 1; ok && i < text.size(); ++i) ok = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    if (!ok || text[0] != '#') fail(where, "bad colour '" + text + "' (#rrggbb or #aarrggbb)");
    uint32_t v = uint32_t(std::stoul(text.substr(1), nullptr, 16));
    return text.size() == 7 ? (0xFF000000u | v) : v;
}

void checkPath(const std::string& path, const std::string& where) {
    auto bad = [&](const char* why) { fail(where, "bad path '" + path + "': " + why); };
    if (path.size() < 5) bad("too short");
    for (char c : path)
        if (c >= 'A' && c <= 'Z') bad("names are lower case");
    if (path.find('\\') != std::string::npos) bad("the separator is '/'");
    const std::string ext = path.substr(path.size() - 4);
    if (ext != ".dds" && ext != ".png") bad("the file ends in .dds or .png");
    std::istringstream parts(path);
    std::string part;
    size_t seen = 0;
    while (std::getline(parts, part, '/')) {
        seen += part.size() + 1;
        if (part.empty() || part[0] == '.') bad("every folder and file has a name that does not start with '.'");
    }
    if (seen != path.size() + 1) bad("the path ends in '/'");
}

std::vector<ArtLine> readList(const fs::path& list) {
    std::ifstream in(list);
    if (!in) throw std::runtime_error("cannot read " + list.string());
    std::vector<ArtLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const std::string where = list.string() + ":" + std::to_string(number);
        std::istringstream words(text);
        std::vector<std::string> fields;
        std::string word;
        while (words >> word) {
            if (word[0] == '#' && fields.size() != 4) break;   // the fifth field is the colour
            fields.push_back(word);
        }
        if (fields.empty()) continue;
        if (fields.size() < 6)
            fail(where, "expected <path> <width> <height> <shape> <colour> <label> [frames=N] [cols=C]");
        ArtLine art;
        art.where = where;
        art.path = fields[0];
        checkPath(art.path, where);
        art.width = parseCount(fields[1], where, "width", kMaxSide);
        art.height = parseCount(fields[2], where, "height", kMaxSide);
        auto shape = std::find_if(std::begin(kShapes), std::end(kShapes), [&](const auto& s) { return fields[3] == s.first; });
        if (shape == std::end(kShapes)) fail(where, "unknown shape '" + fields[3] + "'");
        art.shape = shape->second;
        art.colour = parseColour(fields[4], where);
        if (fields[5] == "-") {
            art.label = fs::path(art.path).stem().string();
        } else {
            art.label = fields[5];
            std::replace(art.label.begin(), art.label.end(), '_', ' ');
        }
        bool colsGiven = false;
        for (size_t i = 6; i < fields.size(); ++i) {
            const std::string& option = fields[i];
            if (option.rfind("frames=", 0) == 0) {
                art.frames = parseCount(option.substr(7), where, "frame count", kMaxFrames);
            } else if (option.rfind("cols=", 0) == 0) {
                art.cols = parseCount(option.substr(5), where, "column count", kMaxFrames);
                colsGiven = true;
            } else {
                fail(where, "unknown field '" + option + "' (frames=N or cols=C)");
            }
        }
        if (!colsGiven) art.cols = art.frames;
        if (art.cols > art.frames) fail(where, "more columns than frames");
        const uint32_t rows = (art.frames + art.cols - 1) / art.cols;
        if (art.width % art.cols != 0 || art.height % rows != 0)
            fail(where, "the size " + std::to_string(art.width) + "x" + std::to_string(art.height) + " does not divide into " +
                            std::to_string(art.cols) + " columns and " + std::to_string(rows) + " rows of frames");
        std::ostringstream stamp;
        stamp << art.width << ' ' << art.height << ' ' << fields[3] << ' ' << std::hex << art.colour << std::dec << ' '
              << art.label << ' ' << art.frames << ' ' << art.cols;
        art.stamp = stamp.str();
        lines.push_back(std::move(art));
    }
    return lines;
}

// ---- Shapes: signed distances in pixels (negative inside), relative to the frame's centre.

struct Vec {
    float x, y;
};

float length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }

float boxDistance(Vec p, float hx, float hy) {
    const float qx = std::fabs(p.x) - hx, qy = std::fabs(p.y) - hy;
    return length({std::max(qx, 0.0f), std::max(qy, 0.0f)}) + std::min(std::max(qx, qy), 0.0f);
}

float polygonDistance(Vec p, const std::vector<Vec>& v) {
    float d = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
    float sign = 1.0f;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        const Vec e{v[j].x - v[i].x, v[j].y - v[i].y}, w{p.x - v[i].x, p.y - v[i].y};
        const float t = std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.0f, 1.0f);
        const Vec b{w.x - e.x * t, w.y - e.y * t};
        d = std::min(d, b.x * b.x + b.y * b.y);
        const bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
}

float ellipseDistance(Vec p, float a, float b) {
    const float k0 = length({p.x / a, p.y / b});
    const float k1 = length({p.x / (a * a), p.y / (b * b)});
    return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min(a, b);
}

// The band of the hollow shapes.
float ringWidth(float radius) { return std::max(2.0f, std::round(radius * 0.4f)); }
float frameBorder(float w, float h) { return std::max(2.0f, std::round(std::min(w, h) / 10.0f)); }

struct ShapeField {
    Shape shape;
    float hx, hy;
    std::vector<Vec> polygon;

    ShapeField(Shape s, float w, float h) : shape(s), hx(w / 2), hy(h / 2) {
        const float r = std::min(hx, hy);
        if (s == Shape::Diamond) polygon = {{0, -hy}, {hx, 0}, {0, hy}, {-hx, 0}};
        if (s == Shape::Triangle) polygon = {{0, -hy}, {hx, hy}, {-hx, hy}};
        if (s == Shape::Star)
            for (int k = 0; k < 10; ++k) {
                const float angle = float(k) * 3.14159265f / 5.0f, radius = k % 2 ? r * 0.45f : r;
                polygon.push_back({radius * std::sin(angle), -radius * std::cos(angle)});
            }
    }
    // Distance to the shape itself.
    float distance(Vec p) const {
        const float r = std::min(hx, hy);
        switch (shape) {
        case Shape::Rect: return boxDistance(p, hx, hy);
        case Shape::RoundRect: {
            const float round = r * 0.3f;
            return boxDistance(p, hx - round, hy - round) - round;
        }
        case Shape::Circle: return length(p) - r;
        case Shape::Ellipse: return ellipseDistance(p, hx, hy);
        case Shape::Ring: {
            const float band = ringWidth(r);
            return std::fabs(length(p) - (r - band / 2)) - band / 2;
        }
        case Shape::Frame: {
            const float box = boxDistance(p, hx, hy);
            return std::max(box, -(box + frameBorder(2 * hx, 2 * hy)));
        }
        default: return polygonDistance(p, polygon);
        }
    }
    // Distance to the outer edge (the hole of a ring or frame counts as inside): labels are
    // drawn within it.
    float hullDistance(Vec p) const {
        if (shape == Shape::Ring) return length(p) - std::min(hx, hy);
        if (shape == Shape::Frame) return boxDistance(p, hx, hy);
        return distance(p);
    }
};

float coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

uint32_t channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t darker(uint32_t argb) {
    uint32_t out = argb & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) out |= uint32_t(std::lround(channel(argb, shift) * 0.55f)) << shift;
    return out;
}

uint32_t mix(uint32_t a, uint32_t b, float t) {   // colour channels only
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(std::lround(float(channel(a, shift)) * (1 - t) + float(channel(b, shift)) * t)) << shift;
    return out;
}

// ---- Labels.

struct TextBox {
    float cx, cy, width, height;   // in frame pixels
};

class cLabelPainter {
public:
    explicit cLabelPainter(cFontFace& face) : m_face(face) {}

    // Draws text centred in the box, at the largest size up to the box that fits; nothing when
    // that size would be unreadable. `hull` is the coverage of the shape's outer edge in the
    // frame: text is drawn only inside it.
    void draw(cImage& image, uint32_t x0, uint32_t y0, uint32_t fw, const std::vector<float>& hull, const TextBox& box,
              const std::u32string& text, uint32_t rgb) {
        if (text.empty()) return;
        int pixels = int(std::min(box.height, 160.0f) * 0.8f);
        int lineHeight = 0, width = 0;
        for (int attempt = 0; attempt < 8 && pixels >= kMinPixels; ++attempt) {
            measure(text, pixels, &width, &lineHeight);
            if (float(width) <= box.width && float(lineHeight) <= box.height) break;
            const float shrink = std::min(box.width / float(std::max(width, 1)), box.height / float(std::max(lineHeight, 1)));
            pixels = std::min(pixels - 1, int(float(pixels) * shrink));
        }
        if (pixels < kMinPixels) return;
        measure(text, pixels, &width, &lineHeight);
        FT_Face face = m_face.get();
        const int ascender = int(face->size->metrics.ascender >> 6);
        int pen = int(std::lround(box.cx - float(width) / 2));
        const int baseline = int(std::lround(box.cy - float(lineHeight) / 2)) + ascender;
        const int fh = int(hull.size() / fw);
        for (char32_t c : text) {
            if (FT_Load_Char(face, c, FT_LOAD_RENDER)) continue;
            const FT_GlyphSlot slot = face->glyph;
            const FT_Bitmap& bm = slot->bitmap;
            for (unsigned row = 0; row < bm.rows; ++row)
                for (unsigned col = 0; col < bm.width; ++col) {
                    const int x = pen + slot->bitmap_left + int(col), y = baseline - slot->bitmap_top + int(row);
                    if (x < 0 || y < 0 || x >= int(fw) || y >= fh) continue;
                    const float a = float(bm.buffer[row * unsigned(bm.pitch) + col]) / 255.0f * hull[size_t(y) * fw + size_t(x)];
                    if (a <= 0.0f) continue;
                    uint32_t& pixel = image.pixels[size_t(y0 + uint32_t(y)) * image.width + x0 + uint32_t(x)];
                    pixel = over(rgb, a, pixel);
                }
            pen += int(slot->advance.x >> 6);
        }
    }

private:
    static constexpr int kMinPixels = 6;

    void measure(const std::u32string& text, int pixels, int* width, int* lineHeight) {
        m_face.setPixelSize(pixels);
        FT_Face face = m_face.get();
        *lineHeight = int((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
        *width = 0;
        for (char32_t c : text)
            if (!FT_Load_Char(face, c, FT_LOAD_DEFAULT)) *width += int(face->glyph->advance.x >> 6);
    }

    // Straight-alpha "over": the text colour at alpha a over the pixel beneath.
    static uint32_t over(uint32_t rgb, float a, uint32_t under) {
        const float ua = float(channel(under, 24)) / 255.0f;
        const float oa = a + ua * (1 - a);
        uint32_t out = uint32_t(std::lround(oa * 255.0f)) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const float c = (float(channel(rgb, shift)) * a + float(channel(under, shift)) * ua * (1 - a)) / oa;
            out |= uint32_t(std::lround(std::min(c, 255.0f))) << shift;
        }
        return out;
    }

    cFontFace& m_face;
};

std::u32string widen(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t v = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + size_t(k) < utf8.size(); ++k) v = (v << 6) | (utf8[i + size_t(k)] & 0x3F);
        out.push_back(v);
        i += size_t(extra) + 1;
    }
    return out;
}

// Where the label (and the frame number) go inside a frame of the shape.
TextBox labelBox(Shape shape, float w, float h, bool withNumber) {
    const float side = std::min(w, h);
    float width = w * 0.85f, cy = h * 0.5f, height = h * 0.6f;
    switch (shape) {
    case Shape::Circle: case Shape::Ring: width = side * 0.7f; height = side * 0.6f; break;
    case Shape::Ellipse: width = w * 0.7f; break;
    case Shape::Diamond: width = w * 0.5f; height = h * 0.4f; break;
    case Shape::Star: width = side * 0.4f; height = side * 0.35f; cy = h * 0.53f; break;
    case Shape::Triangle: width = w * 0.45f; height = h * 0.35f; cy = h * 0.65f; break;
    case Shape::Frame: {
        // A panel: the label sits in the top of the opening, clear of what the panel holds.
        const float border = frameBorder(w, h);
        width = w - 4 * border;
        height = std::min(h * 0.2f, 40.0f);
        cy = border * 1.5f + height / 2;
        break;
    }
    default: break;
    }
    if (withNumber && shape != Shape::Frame) {
        height *= 0.5f;
        cy -= height * 0.5f;
    }
    return {w / 2, cy, width, height};
}

cImage render(const ArtLine& art, cLabelPainter& painter) {
    cImage image;
    image.width = art.width;
    image.height = art.height;
    image.pixels.assign(size_t(art.width) * art.height, 0);
    const uint32_t rows = (art.frames + art.cols - 1) / art.cols;
    const uint32_t fw = art.width / art.cols, fh = art.height / rows;
    const ShapeField field(art.shape, float(fw), float(fh));
    const float side = float(std::min(fw, fh));
    const float outline = side < 8 ? 0.0f : std::clamp(std::round(side / 32.0f), 1.0f, 6.0f);
    const uint32_t fill = art.colour & 0x00FFFFFFu, edge = darker(art.colour) & 0x00FFFFFFu;
    const float alpha = float(channel(art.colour, 24));
    const float luminance = 0.299f * float(channel(fill, 16)) + 0.587f * float(channel(fill, 8)) + 0.114f * float(channel(fill, 0));
    // A panel's label lies in its opening, over whatever is behind: it takes the border's shade.
    const uint32_t ink = art.shape == Shape::Frame ? edge : luminance > 140.0f ? 0x202020u : 0xFFFFFFu;

    // The shape of one frame; every frame is the same but for its number.
    std::vector<uint32_t> cell(size_t(fw) * fh, 0);
    std::vector<float> hull(cell.size(), 0.0f);
    for (uint32_t y = 0; y < fh; ++y)
        for (uint32_t x = 0; x < fw; ++x) {
            const Vec p{float(x) + 0.5f - float(fw) / 2, float(y) + 0.5f - float(fh) / 2};
            const float d = field.distance(p);
            const float a = coverage(d) * alpha;
            hull[size_t(y) * fw + x] = coverage(field.hullDistance(p));
            if (a <= 0.0f) continue;
            const float toEdge = outline > 0 ? std::clamp(d + outline + 0.5f, 0.0f, 1.0f) : 0.0f;
            cell[size_t(y) * fw + x] = (uint32_t(std::lround(a)) << 24) | mix(fill, edge, toEdge);
        }

    const std::u32string label = widen(art.label);
    for (uint32_t k = 0; k < art.frames; ++k) {
        const uint32_t x0 = (k % art.cols) * fw, y0 = (k / art.cols) * fh;
        for (uint32_t y = 0; y < fh; ++y)
            std::copy_n(&cell[size_t(y) * fw], fw, &image.pixels[size_t(y0 + y) * image.width + x0]);
        const bool numbered = art.frames > 1;
        TextBox box = labelBox(art.shape, float(fw), float(fh), numbered);
        painter.draw(image, x0, y0, fw, hull, box, label, ink);
        if (numbered) {
            box.cy += box.height;
            painter.draw(image, x0, y0, fw, hull, box, widen(std::to_string(k + 1)), ink);
        }
    }
    return image;
}

std::map<std::string, std::string> readStamps(const fs::path& file) {
    std::map<std::string, std::string> stamps;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        try {
            checkPath(line.substr(0, tab), file.string());   // a damaged file never names a path outside Data
            stamps[line.substr(0, tab)] = line.substr(tab + 1);
        } catch (const std::exception&) {
        }
    }
    return stamps;
}

void writeStamps(const fs::path& file, const std::map<std::string, std::string>& stamps) {
    std::string text;
    for (const auto& [path, stamp] : stamps) text += path + "\t" + stamp + "\n";
    writeFileAtomically(file, text.data(), text.size());
}

void makeArt(const DataGenContext& context) {
    const fs::path folder = context.source / "art";
    std::vector<fs::path> lists;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".txt") lists.push_back(entry.path());
    std::sort(lists.begin(), lists.end());

    // Every list is read and checked before anything is written.
    std::vector<ArtLine> arts;
    std::map<std::string, std::string> listedAt;
    for (const fs::path& list : lists)
        for (ArtLine& art : readList(list)) {
            auto [it, added] = listedAt.emplace(art.path, art.where);
            if (!added) fail(art.where, art.path + " is listed twice (first at " + it->second + ")");
            arts.push_back(std::move(art));
        }

    const fs::path stampFile = context.out / kStampFile;
    const std::map<std::string, std::string> before = readStamps(stampFile);
    std::map<std::string, std::string> after;
    const fs::path facePath = dejaVuFacePath(kLabelFace);
    std::unique_ptr<cFreeTypeLibrary> library;   // started only when a texture is out of date
    std::unique_ptr<cFontFace> face;
    std::unique_ptr<cLabelPainter> painter;
    bool changed = false;
    for (const ArtLine& art : arts) {
        const fs::path target = context.out / art.path;
        auto old = before.find(art.path);
        const bool current = old != before.end() && old->second == art.stamp &&
                             (context.generator.empty() ? !isOutOfDate(target, {facePath})
                                                        : !isOutOfDate(target, {facePath, context.generator}));
        if (!current) {
            if (!painter) {
                library = std::make_unique<cFreeTypeLibrary>();
                face = std::make_unique<cFontFace>(*library, facePath);
                painter = std::make_unique<cLabelPainter>(*face);
            }
            const cImage image = render(art, *painter);
            const bool png = art.path.compare(art.path.size() - 4, 4, ".png") == 0;
            const std::vector<uint8_t> bytes = png ? encodePng(image) : encodeDds(image);
            writeFileAtomically(target, bytes.data(), bytes.size());
            changed = true;
        }
        after[art.path] = art.stamp;
    }
    // Textures that no list names any more.
    for (const auto& [path, stamp] : before)
        if (!after.count(path)) {
            std::error_code ignored;
            fs::remove(context.out / path, ignored);
            changed = true;
        }
    if (changed || !fs::exists(stampFile)) writeStamps(stampFile, after);
}

}  // namespace

void drawArtLabel(cImage& image, const std::string& label, uint32_t fill) {
    if (image.width == 0 || image.height == 0) return;
    cFreeTypeLibrary library;
    cFontFace face(library, dejaVuFacePath(kLabelFace));
    cLabelPainter painter(face);
    std::vector<float> hull(image.pixels.size());
    for (size_t i = 0; i < hull.size(); ++i) hull[i] = float(channel(image.pixels[i], 24)) / 255.0f;
    const float luminance = 0.299f * float(channel(fill, 16)) + 0.587f * float(channel(fill, 8)) + 0.114f * float(channel(fill, 0));
    const float w = float(image.width), h = float(image.height);
    std::string text = label;
    std::replace(text.begin(), text.end(), '_', ' ');
    painter.draw(image, 0, 0, image.width, hull, TextBox{w / 2, h / 2, w * 0.85f, h * 0.6f}, widen(text),
                 luminance > 140.0f ? 0x202020u : 0xFFFFFFu);
}

RW_DATAGEN_STEP(art, 40, makeArt);
