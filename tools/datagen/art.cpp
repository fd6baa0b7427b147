// The placeholder art of the Data folder. Every data/art/*.txt lists textures, one a line:
//
//   <path> <width> <height> <shape> <colour> <label> [frames=N] [cols=C] [pattern=P] [icon=I] [face=F]
//
// path      the file under the Data folder, lower case, "/" separators, .dds or .png
// shape     rect roundrect circle ellipse diamond star ring triangle frame (a hollow border),
//           the figures guest and waitress, table (a guest's stool at the left, the round
//           table at the right), or an item look (below), which also sets the colour
// colour    #rrggbb or #aarrggbb, the fill; the outline is a darker shade of it ("-" with a look)
// label     one word drawn on the shape, "_" drawn as a blank (no label); "-" draws the file's
//           name. Letters stay within about a third of the frame's height and 28 pixels.
// frames=N  N animation frames in the engine's grid (cols=C columns, default N in one row):
//           left to right, then top to bottom, each width/C by height/rows pixels, and each
//           drawn with its frame number (1 to N) so a running animation visibly steps; a figure
//           bobs instead, and a bar (a rect) fills from the left frame by frame (a progress bar)
// pattern=P a light pattern over the fill, so a surface reads as one: planks tiles stripes
//           bricks dots; panes on a frame draws the window bars across its opening
// icon=I    the item look I drawn in the upper part of the shape, the label below it: a station
//           or a shop icon shows the item it gives
// face=F    a figure's face: happy, angry, order, exit (guests); s, l, r, u, d, dl, dr, ul, ur,
//           the way the waitress looks; mood: frames of faces from a green smile (frame 1) to
//           a red frown (the last frame)
//
// Item looks, one per item kind, shared by its station, the waitress's hands, the order cloud
// and the shop: drink (blue glass), cake (pink cake with a cherry), snack (yellow pretzel
// diamond), coffee (dark cup), cream (light cup with a white top), cotton1 and cotton2 (pink and
// cyan candy floss on a stick), sub1 to sub3 (loaves of three breads).
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

enum class Shape { Rect, RoundRect, Circle, Ellipse, Diamond, Star, Ring, Triangle, Frame, Bar, Glass, Guest, Waitress, Table };

const std::pair<const char*, Shape> kShapes[] = {
    {"rect", Shape::Rect},       {"roundrect", Shape::RoundRect}, {"circle", Shape::Circle},
    {"ellipse", Shape::Ellipse}, {"diamond", Shape::Diamond},     {"star", Shape::Star},
    {"ring", Shape::Ring},       {"triangle", Shape::Triangle},   {"frame", Shape::Frame},
    {"bar", Shape::Bar},
    {"guest", Shape::Guest},     {"waitress", Shape::Waitress},   {"table", Shape::Table},
};

// The item looks: how an item kind is drawn wherever it shows.
enum class LookKind { Glass, Cake, Pretzel, Cup, CreamCup, Floss, Loaf };
struct Look {
    const char* name;
    LookKind kind;
    uint32_t colour;
};
const Look kLooks[] = {
    {"drink", LookKind::Glass, 0xFF2E86DEu},     {"cake", LookKind::Cake, 0xFFE85D75u},
    {"snack", LookKind::Pretzel, 0xFFF4B400u},   {"coffee", LookKind::Cup, 0xFF6D3B1Eu},
    {"cream", LookKind::CreamCup, 0xFFC89A6Au},  {"cotton1", LookKind::Floss, 0xFFB86BFFu},
    {"cotton2", LookKind::Floss, 0xFF3FD0E0u},   {"sub1", LookKind::Loaf, 0xFFE0B060u},
    {"sub2", LookKind::Loaf, 0xFFA0622Eu},       {"sub3", LookKind::Loaf, 0xFFF2DDA0u},
};

const Look* findLook(const std::string& name) {
    for (const Look& look : kLooks)
        if (name == look.name) return &look;
    return nullptr;
}

enum class Pattern { None, Planks, Tiles, Stripes, Bricks, Dots, Panes };
const std::pair<const char*, Pattern> kPatterns[] = {
    {"planks", Pattern::Planks}, {"tiles", Pattern::Tiles}, {"stripes", Pattern::Stripes},
    {"bricks", Pattern::Bricks}, {"dots", Pattern::Dots},   {"panes", Pattern::Panes},
};

// A figure's face: a guest's mood or the way the waitress looks.
enum class Face { None, Happy, Angry, Order, Exit, Mood, S, L, R, U, D, DL, DR, UL, UR };
const std::pair<const char*, Face> kFaces[] = {
    {"happy", Face::Happy}, {"angry", Face::Angry}, {"order", Face::Order}, {"exit", Face::Exit},
    {"mood", Face::Mood},
    {"s", Face::S},         {"l", Face::L},         {"r", Face::R},         {"u", Face::U},
    {"d", Face::D},         {"dl", Face::DL},       {"dr", Face::DR},       {"ul", Face::UL},
    {"ur", Face::UR},
};

template <typename T, size_t N>
bool lookUp(const std::pair<const char*, T> (&table)[N], const std::string& name, T* out) {
    for (const auto& [key, value] : table)
        if (name == key) {
            *out = value;
            return true;
        }
    return false;
}

struct ArtLine {
    std::string where;   // "<list>:<line>", for messages
    std::string path;
    uint32_t width = 0, height = 0;
    Shape shape = Shape::Rect;
    uint32_t colour = 0;   // 0xAARRGGBB
    std::string label;     // as drawn
    uint32_t frames = 1, cols = 1;
    const Look* look = nullptr;   // the shape is an item look
    const Look* icon = nullptr;   // an item look drawn above the label
    Pattern pattern = Pattern::None;
    Face face = Face::None;
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
        art.look = findLook(fields[3]);
        if (art.look) {
            art.shape = Shape::Rect;
            art.colour = fields[4] == "-" ? art.look->colour : parseColour(fields[4], where);
        } else {
            if (!lookUp(kShapes, fields[3], &art.shape)) fail(where, "unknown shape '" + fields[3] + "'");
            art.colour = parseColour(fields[4], where);
        }
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
            } else if (option.rfind("pattern=", 0) == 0) {
                if (!lookUp(kPatterns, option.substr(8), &art.pattern)) fail(where, "unknown pattern '" + option.substr(8) + "'");
            } else if (option.rfind("icon=", 0) == 0) {
                art.icon = findLook(option.substr(5));
                if (!art.icon) fail(where, "unknown item look '" + option.substr(5) + "'");
            } else if (option.rfind("face=", 0) == 0) {
                if (!lookUp(kFaces, option.substr(5), &art.face)) fail(where, "unknown face '" + option.substr(5) + "'");
            } else {
                fail(where, "unknown field '" + option + "' (frames=N, cols=C, pattern=P, icon=I or face=F)");
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
        for (size_t i = 6; i < fields.size(); ++i)
            if (fields[i].rfind("frames=", 0) != 0 && fields[i].rfind("cols=", 0) != 0) stamp << ' ' << fields[i];
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
        if (s == Shape::Glass) polygon = {{-hx, -hy}, {hx, -hy}, {hx * 0.7f, hy}, {-hx * 0.7f, hy}};
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
        case Shape::Rect: case Shape::Bar: return boxDistance(p, hx, hy);
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

// Straight-alpha "over" of a colour at coverage a (0 to 1) onto a pixel.
uint32_t blendOver(uint32_t rgb, float a, uint32_t under) {
    const float ua = float(channel(under, 24)) / 255.0f;
    const float oa = a + ua * (1 - a);
    if (oa <= 0.0f) return 0;
    uint32_t out = uint32_t(std::lround(oa * 255.0f)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const float c = (float(channel(rgb, shift)) * a + float(channel(under, shift)) * ua * (1 - a)) / oa;
        out |= uint32_t(std::lround(std::min(c, 255.0f))) << shift;
    }
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
        // Letters of about a third of the frame's height at most (the size is the em, whose
        // capitals are about three quarters of it), and never above 28 pixels: a label names
        // the picture, it never covers what stands on it.
        const float frameHeight = float(hull.size() / fw);
        int pixels = int(std::min({box.height * 0.8f, frameHeight * 0.42f, 28.0f}));
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
                    pixel = blendOver(rgb, a, pixel);
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

// ---- Painting a frame: parts drawn one over another, each a shape with its darker outline.

uint32_t lighter(uint32_t argb, float t) { return (argb & 0xFF000000u) | mix(argb, 0xFFFFFFu, t); }

class cCanvas {
public:
    cCanvas(uint32_t w, uint32_t h) : width(w), height(h), pixels(size_t(w) * h, 0) {}

    // A shape in the box centred at (cx, cy), filled with argb (its alpha included) and outlined
    // `outline` pixels wide in a darker shade; `clipTop` keeps only what lies below that y.
    void part(Shape shape, float cx, float cy, float w, float h, uint32_t argb, float outline = -1,
              float clipTop = -1e9f) {
        if (w < 1 || h < 1) return;
        const ShapeField field(shape, w, h);
        if (outline < 0) outline = std::min(w, h) < 8 ? 0.0f : std::clamp(std::round(std::min(w, h) / 24.0f), 1.0f, 4.0f);
        const uint32_t fill = argb & 0x00FFFFFFu, edge = darker(argb) & 0x00FFFFFFu;
        const float alpha = float(channel(argb, 24)) / 255.0f;
        const int x0 = std::max(0, int(cx - w / 2) - 1), x1 = std::min(int(width), int(cx + w / 2) + 2);
        const int y0 = std::max(0, int(std::max(cy - h / 2, clipTop)) - 1), y1 = std::min(int(height), int(cy + h / 2) + 2);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const Vec p{float(x) + 0.5f - cx, float(y) + 0.5f - cy};
                const float d = field.distance(p);
                float a = coverage(d) * alpha;
                if (clipTop > -1e8f) a *= std::clamp(float(y) + 0.5f - clipTop, 0.0f, 1.0f);
                if (a <= 0.0f) continue;
                const float toEdge = outline > 0 ? std::clamp(d + outline + 0.5f, 0.0f, 1.0f) : 0.0f;
                uint32_t& pixel = pixels[size_t(y) * width + size_t(x)];
                pixel = blendOver(mix(fill, edge, toEdge), a, pixel);
            }
    }
    // A stroke from a to b, `thick` pixels wide, with round ends.
    void line(Vec a, Vec b, float thick, uint32_t argb) {
        const int x0 = std::max(0, int(std::min(a.x, b.x) - thick) - 1), x1 = std::min(int(width), int(std::max(a.x, b.x) + thick) + 2);
        const int y0 = std::max(0, int(std::min(a.y, b.y) - thick) - 1), y1 = std::min(int(height), int(std::max(a.y, b.y) + thick) + 2);
        const Vec e{b.x - a.x, b.y - a.y};
        const float ee = std::max(e.x * e.x + e.y * e.y, 1e-6f);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const Vec w{float(x) + 0.5f - a.x, float(y) + 0.5f - a.y};
                const float t = std::clamp((w.x * e.x + w.y * e.y) / ee, 0.0f, 1.0f);
                const float d = length({w.x - e.x * t, w.y - e.y * t}) - thick / 2;
                const float c = coverage(d) * float(channel(argb, 24)) / 255.0f;
                if (c <= 0.0f) continue;
                uint32_t& pixel = pixels[size_t(y) * width + size_t(x)];
                pixel = blendOver(argb & 0xFFFFFFu, c, pixel);
            }
    }
    // An arc of the circle at c with radius r from angle a0 to a1 (radians, 0 to the right,
    // growing clockwise on screen), drawn as short strokes.
    void arc(Vec c, float r, float a0, float a1, float thick, uint32_t argb) {
        const int steps = 10;
        for (int k = 0; k < steps; ++k) {
            const float u = a0 + (a1 - a0) * float(k) / steps, v = a0 + (a1 - a0) * float(k + 1) / steps;
            line({c.x + r * std::cos(u), c.y + r * std::sin(u)}, {c.x + r * std::cos(v), c.y + r * std::sin(v)}, thick, argb);
        }
    }

    uint32_t width, height;
    std::vector<uint32_t> pixels;
};

constexpr float kPi = 3.14159265f;

// An item look in the box centred at (cx, cy) of size w x h.
void paintLook(cCanvas& c, const Look& look, float cx, float cy, float w, float h) {
    const uint32_t colour = look.colour;
    const float side = std::min(w, h);
    switch (look.kind) {
    case LookKind::Glass: {   // a tumbler: the drink, its lighter top and a straw
        const float gw = side * 0.62f, gh = side * 0.86f;
        c.line({cx + gw * 0.1f, cy - gh * 0.3f}, {cx + gw * 0.45f, cy - gh * 0.62f}, std::max(1.5f, side * 0.07f), 0xFFF25F5Cu);
        c.part(Shape::Glass, cx, cy + side * 0.05f, gw, gh, colour);
        c.part(Shape::Ellipse, cx, cy - gh * 0.33f, gw * 0.8f, gh * 0.16f, lighter(colour, 0.55f), 0);
        break;
    }
    case LookKind::Cake: {   // a cake: sponge, white icing, a cherry
        c.part(Shape::RoundRect, cx, cy + side * 0.16f, side * 0.9f, side * 0.56f, colour);
        c.part(Shape::RoundRect, cx, cy - side * 0.1f, side * 0.9f, side * 0.2f, 0xFFFFF4F4u);
        c.part(Shape::Circle, cx, cy - side * 0.28f, side * 0.28f, side * 0.28f, 0xFFC00020u);
        break;
    }
    case LookKind::Pretzel: {   // a salted snack
        c.part(Shape::Diamond, cx, cy, side * 0.95f, side * 0.95f, colour);
        for (Vec d : {Vec{-0.14f, -0.05f}, Vec{0.12f, -0.12f}, Vec{0.05f, 0.14f}})
            c.part(Shape::Circle, cx + d.x * side, cy + d.y * side, side * 0.09f, side * 0.09f, 0xFFFFFFFFu, 0);
        break;
    }
    case LookKind::Cup:
    case LookKind::CreamCup: {   // a cup with its handle on a saucer; with cream a white top
        const float bx = cx - side * 0.08f;
        c.part(Shape::Ellipse, cx, cy + side * 0.38f, side * 0.96f, side * 0.2f, 0xFFF0F0F0u);
        c.part(Shape::Ring, bx + side * 0.3f, cy + side * 0.02f, side * 0.34f, side * 0.34f, colour);
        c.part(Shape::RoundRect, bx, cy + side * 0.06f, side * 0.64f, side * 0.62f, colour);
        if (look.kind == LookKind::CreamCup)
            c.part(Shape::Ellipse, bx, cy - side * 0.25f, side * 0.7f, side * 0.3f, 0xFFFFFFFFu);
        else
            c.part(Shape::Ellipse, bx, cy - side * 0.2f, side * 0.52f, side * 0.12f, darker(colour), 0);
        break;
    }
    case LookKind::Floss: {   // candy floss on a stick
        c.part(Shape::Rect, cx, cy + side * 0.3f, side * 0.09f, side * 0.4f, 0xFFF5E6C8u);
        c.part(Shape::Circle, cx - side * 0.2f, cy - side * 0.06f, side * 0.46f, side * 0.46f, colour);
        c.part(Shape::Circle, cx + side * 0.2f, cy - side * 0.06f, side * 0.46f, side * 0.46f, colour);
        c.part(Shape::Circle, cx, cy - side * 0.2f, side * 0.56f, side * 0.56f, colour);
        break;
    }
    case LookKind::Loaf: {   // a sub: the loaf and three cuts
        c.part(Shape::Ellipse, cx, cy, w * 0.96f, std::min(h * 0.9f, w * 0.6f), colour);
        const uint32_t cut = darker(colour) | 0xFF000000u;
        for (float k : {-0.22f, 0.0f, 0.22f})
            c.line({cx + w * (k - 0.05f), cy + h * 0.12f}, {cx + w * (k + 0.05f), cy - h * 0.12f}, std::max(1.0f, h * 0.07f), cut);
        break;
    }
    }
}

// Eyes and mouth on a head centred at (hx, hy) with radius r.
void paintFace(cCanvas& c, Face face, float hx, float hy, float r) {
    const uint32_t ink = 0xFF2A1A12u;
    const float eye = std::max(1.5f, r * 0.2f), thick = std::max(1.2f, r * 0.12f);
    float look = 0;   // how far the eyes turn sideways
    if (face == Face::L || face == Face::DL) look = face == Face::L ? -0.35f : -0.2f;
    if (face == Face::R || face == Face::DR) look = face == Face::R ? 0.35f : 0.2f;
    const float ex = r * 0.36f, ey = hy - r * 0.08f, mx = hx + look * r;
    if (face == Face::Exit) {   // eyes shut with joy
        for (float s : {-1.0f, 1.0f}) c.arc({hx + s * ex, ey + eye * 0.3f}, eye * 0.9f, kPi * 1.1f, kPi * 1.9f, thick, ink);
    } else {
        for (float s : {-1.0f, 1.0f})
            if (!(look < -0.3f && s > 0) && !(look > 0.3f && s < 0))
                c.part(Shape::Circle, mx + s * ex, ey, eye * 2, eye * 2, ink, 0);
    }
    switch (face) {
    case Face::Happy: case Face::S: case Face::D: case Face::DL: case Face::DR:
        c.arc({mx, hy + r * 0.12f}, r * 0.42f, kPi * 0.2f, kPi * 0.8f, thick, ink);
        break;
    case Face::Exit:
        c.part(Shape::Ellipse, hx, hy + r * 0.45f, r * 0.8f, r * 0.45f, 0xFFB03030u, 0, hy + r * 0.45f);
        break;
    case Face::Angry:
        c.arc({hx, hy + r * 0.78f}, r * 0.42f, kPi * 1.25f, kPi * 1.75f, thick, ink);
        c.line({hx - ex - eye * 1.4f, ey - eye * 2.6f}, {hx - ex + eye * 1.4f, ey - eye * 1.4f}, thick, ink);
        c.line({hx + ex + eye * 1.4f, ey - eye * 2.6f}, {hx + ex - eye * 1.4f, ey - eye * 1.4f}, thick, ink);
        break;
    case Face::Order:
        c.part(Shape::Ellipse, hx, hy + r * 0.45f, r * 0.36f, r * 0.42f, 0xFF802020u, 0);
        break;
    case Face::L: case Face::R:
        c.line({mx - r * 0.2f, hy + r * 0.45f}, {mx + r * 0.2f, hy + r * 0.45f}, thick, ink);
        break;
    default: break;
    }
}

// A guest: a head with hair in a darker shade of the kind's colour, shoulders in its colour.
void paintGuest(cCanvas& c, uint32_t colour, Face face, float bob) {
    const float w = float(c.width), h = float(c.height);
    const float r = std::min(w * 0.3f, h * 0.2f), hx = w / 2, hy = r + 3 + bob;
    c.part(Shape::RoundRect, hx, (hy + r * 0.9f + h) / 2, w * 0.92f, h - hy - r * 0.9f, colour);   // body
    c.part(Shape::RoundRect, hx, hy + r * 1.2f, r * 0.9f, r * 0.5f, 0xFFFFFFFFu, 0);             // collar
    c.part(Shape::Circle, hx, hy, r * 2, r * 2, 0xFFF2C9A0u);                                      // head
    c.part(Shape::Ellipse, hx, hy - r * 0.55f, r * 2.1f, r * 1.1f, darker(colour) | 0xFF000000u, -1, -1e9f);
    c.part(Shape::Circle, hx, hy + r * 0.12f, r * 1.7f, r * 1.6f, 0xFFF2C9A0u, 0);                // the face in front of the hair
    paintFace(c, face, hx, hy + r * 0.1f, r);
}

// The waitress: a dark bun and a white cap, a dress in her colour with a white apron, legs.
void paintWaitress(cCanvas& c, uint32_t colour, Face face, float bob) {
    const float w = float(c.width), h = float(c.height);
    const float r = std::min(w * 0.26f, h * 0.13f), hx = w / 2, hy = r * 1.5f + 2 + bob;
    const uint32_t hair = 0xFF3B2314u, skin = 0xFFF2C9A0u;
    const float hem = h * 0.84f + bob;
    for (float s : {-1.0f, 1.0f}) c.line({hx + s * w * 0.12f, hem - 2}, {hx + s * w * 0.12f, h - 3}, std::max(2.0f, w * 0.08f), 0xFF303030u);
    c.part(Shape::Glass, hx, (hy + r + hem) / 2, w * 0.8f, hem - hy - r, colour);   // the dress, wider at the hem
    c.part(Shape::Glass, hx, (hy + r + hem) / 2, w * 0.56f, hem - hy - r, colour);   // its shoulders
    if (face != Face::U && face != Face::UL && face != Face::UR)
        c.part(Shape::RoundRect, hx, hy + r + (hem - hy - r) * 0.58f, w * 0.42f, (hem - hy - r) * 0.62f, 0xFFFFFFFFu);   // apron
    c.part(Shape::Circle, hx, hy - r * 0.95f, r * 1.1f, r * 1.1f, hair);   // the bun
    c.part(Shape::Circle, hx, hy, r * 2, r * 2, skin);
    const bool back = face == Face::U || face == Face::UL || face == Face::UR;
    if (back) {
        c.part(Shape::Circle, hx, hy, r * 2, r * 2, hair);
    } else {
        c.part(Shape::Ellipse, hx, hy - r * 0.5f, r * 2.1f, r * 1.2f, hair, -1);
        c.part(Shape::Circle, hx, hy + r * 0.15f, r * 1.7f, r * 1.6f, skin, 0);
        paintFace(c, face, hx, hy + r * 0.12f, r);
    }
    c.part(Shape::RoundRect, hx, hy - r * 0.95f, r * 1.5f, r * 0.5f, 0xFFFFFFFFu);   // the cap
}

// A guest's table: a low stool at the left where the guest sits (drawn over or under the
// guest by the table's depth, it reads as a seat either way), the round table at the right.
void paintTable(cCanvas& c, uint32_t colour) {
    const float w = float(c.width), h = float(c.height);
    const uint32_t wood = darker(colour) | 0xFF000000u;
    for (float s : {-1.0f, 1.0f}) c.line({w * (0.16f + s * 0.09f), h * 0.74f}, {w * (0.16f + s * 0.11f), h - 2}, std::max(2.0f, w * 0.03f), wood);
    c.part(Shape::RoundRect, w * 0.16f, h * 0.74f, w * 0.3f, h * 0.12f, wood);            // the stool's seat
    c.part(Shape::Rect, w * 0.64f, h * 0.7f, w * 0.08f, h * 0.5f, wood);                   // the leg
    c.part(Shape::Ellipse, w * 0.64f, h * 0.94f, w * 0.36f, h * 0.1f, wood);               // the foot
    c.part(Shape::Ellipse, w * 0.64f, h * 0.4f, w * 0.66f, h * 0.5f, colour);             // the top
    c.part(Shape::Ellipse, w * 0.64f, h * 0.36f, w * 0.5f, h * 0.3f, lighter(colour, 0.15f), 0);
}

// A light pattern over the fill of a surface: lines and patches in a shade a little darker.
float patternShade(Pattern pattern, uint32_t x, uint32_t y, uint32_t w, uint32_t h) {
    switch (pattern) {
    case Pattern::Planks: {
        const uint32_t row = y / 24;
        if (y % 24 < 2) return 0.35f;
        if ((x + row * 53) % 120 < 2) return 0.3f;
        return row % 2 ? 0.06f : 0.0f;
    }
    case Pattern::Tiles: return ((x / 40) + (y / 40)) % 2 ? 0.12f : (x % 40 < 1 || y % 40 < 1 ? 0.2f : 0.0f);
    case Pattern::Stripes: return (x / 16) % 2 ? 0.1f : 0.0f;
    case Pattern::Bricks: {
        const uint32_t row = y / 20;
        if (y % 20 < 2) return 0.3f;
        if ((x + (row % 2) * 24) % 48 < 2) return 0.3f;
        return 0.0f;
    }
    case Pattern::Dots: return ((x % 24) - 12) * ((x % 24) - 12) + ((y % 24) - 12) * ((y % 24) - 12) < 6 ? 0.25f : 0.0f;
    case Pattern::Panes: {
        const uint32_t bar = std::max(2u, std::min(w, h) / 24);
        const bool cross = (x + bar / 2 >= w / 2 && x < w / 2 + bar / 2 + bar % 2) || (y + bar / 2 >= h / 2 && y < h / 2 + bar / 2 + bar % 2);
        return cross ? 0.6f : 0.0f;
    }
    default: return 0.0f;
    }
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
    const bool figure = art.shape == Shape::Guest || art.shape == Shape::Waitress;
    const bool table = art.shape == Shape::Table;
    const bool progress = art.shape == Shape::Bar;

    // The shape of one frame; every frame is the same but for its number (a figure bobs, a
    // progress bar fills instead).
    std::vector<uint32_t> cell(size_t(fw) * fh, 0);
    std::vector<float> hull(cell.size(), 0.0f);
    if (!figure && !table && !art.look) {
        for (uint32_t y = 0; y < fh; ++y)
            for (uint32_t x = 0; x < fw; ++x) {
                const Vec p{float(x) + 0.5f - float(fw) / 2, float(y) + 0.5f - float(fh) / 2};
                const float d = field.distance(p);
                const float a = coverage(d) * alpha;
                hull[size_t(y) * fw + x] = coverage(field.hullDistance(p));
                if (a <= 0.0f) continue;
                const float toEdge = outline > 0 ? std::clamp(d + outline + 0.5f, 0.0f, 1.0f) : 0.0f;
                const float shade = patternShade(art.pattern, x, y, fw, fh);
                cell[size_t(y) * fw + x] = (uint32_t(std::lround(a)) << 24) | mix(mix(fill, edge, shade), edge, toEdge);
            }
    }
    if (art.shape == Shape::Frame && art.pattern == Pattern::Panes) {
        // Window bars across the opening: one upright every ~120 pixels, and a transom.
        const uint32_t border = uint32_t(frameBorder(float(fw), float(fh)));
        const uint32_t inner = fw > 2 * border ? fw - 2 * border : 0, bar = std::max(2u, border / 2);
        const uint32_t panes = std::max(1u, (inner + 60) / 120);
        for (uint32_t y = border; y + border < fh; ++y)
            for (uint32_t x = border; x + border < fw; ++x) {
                const uint32_t ix = x - border, iy = y - border;
                bool onBar = iy + bar / 2 >= (fh - 2 * border) / 3 && iy < (fh - 2 * border) / 3 + bar - bar / 2;
                for (uint32_t k = 1; k < panes; ++k) {
                    const uint32_t at = inner * k / panes;
                    onBar = onBar || (ix + bar / 2 >= at && ix < at + bar - bar / 2);
                }
                if (onBar) cell[size_t(y) * fw + x] = (uint32_t(std::lround(alpha)) << 24) | fill;
            }
    }
    if (table) {
        cCanvas canvas(fw, fh);
        paintTable(canvas, art.colour);
        cell = canvas.pixels;
        for (size_t i = 0; i < cell.size(); ++i) hull[i] = float(channel(cell[i], 24)) / 255.0f;
    }
    if (art.icon || art.look) {
        cCanvas canvas(fw, fh);
        canvas.pixels = cell;
        if (art.look) {
            Look look = *art.look;
            look.colour = art.colour;
            paintLook(canvas, look, float(fw) / 2, float(fh) / 2, float(fw), float(fh));
        } else {
            const float size = std::min(float(fw) * 0.62f, float(fh) * 0.5f);
            // A light plate behind the icon, so it shows on any station's colour.
            canvas.part(Shape::Circle, float(fw) / 2, float(fh) * 0.4f, size * 1.2f, size * 1.2f, 0xE0FFFFFFu, 0);
            paintLook(canvas, *art.icon, float(fw) / 2, float(fh) * 0.4f, size, size);
        }
        cell = canvas.pixels;
        if (art.look)
            for (size_t i = 0; i < cell.size(); ++i) hull[i] = float(channel(cell[i], 24)) / 255.0f;
    }

    const std::u32string label = widen(art.label);
    for (uint32_t k = 0; k < art.frames; ++k) {
        const uint32_t x0 = (k % art.cols) * fw, y0 = (k / art.cols) * fh;
        std::vector<uint32_t> frame = cell;
        if (figure) {
            cCanvas canvas(fw, fh);
            const float bob = k % 2 ? -std::max(1.0f, float(fh) / 40.0f) : 0.0f;
            if (art.shape == Shape::Guest) paintGuest(canvas, art.colour, art.face, bob);
            else paintWaitress(canvas, art.colour, art.face, bob);
            frame = canvas.pixels;
            for (size_t i = 0; i < frame.size(); ++i) hull[i] = float(channel(frame[i], 24)) / 255.0f;
        } else if (art.face == Face::Mood) {
            // A mood mark: green and smiling in the first frame, red and frowning in the last.
            cCanvas canvas(fw, fh);
            const float t = art.frames > 1 ? float(k) / float(art.frames - 1) : 0.0f;
            const float r = side / 2 - 1, cx = float(fw) / 2, cy = float(fh) / 2;
            canvas.part(Shape::Circle, cx, cy, 2 * r, 2 * r, 0xFF000000u | mix(0x40C040u, 0xE03020u, t));
            const uint32_t ink = 0xFF202020u;
            const float eye = std::max(1.5f, r * 0.14f), thick = std::max(1.5f, r * 0.12f);
            for (float s : {-1.0f, 1.0f}) canvas.part(Shape::Circle, cx + s * r * 0.35f, cy - r * 0.25f, eye * 2, eye * 2, ink, 0);
            const float bend = 1.0f - 2.0f * t;   // +1 a smile, -1 a frown
            const float my = cy + r * 0.35f;
            for (int i = 0; i < 8; ++i) {
                const float u = -0.5f + float(i) / 8, v = -0.5f + float(i + 1) / 8;
                canvas.line({cx + u * r * 1.1f, my + bend * r * 0.3f * (0.25f - u * u) * 4 - bend * r * 0.15f},
                            {cx + v * r * 1.1f, my + bend * r * 0.3f * (0.25f - v * v) * 4 - bend * r * 0.15f}, thick, ink);
            }
            frame = canvas.pixels;
        } else if (progress) {
            // Frame k of n filled to (k + 1) / n of its width; the rest a dark track.
            const uint32_t filled = fw * (k + 1) / art.frames;
            for (uint32_t y = 0; y < fh; ++y)
                for (uint32_t x = filled; x < fw; ++x) {
                    uint32_t& pixel = frame[size_t(y) * fw + x];
                    if (pixel >> 24) pixel = (pixel & 0xFF000000u) | mix(pixel, 0x303030u, 0.75f);
                }
        }
        for (uint32_t y = 0; y < fh; ++y)
            std::copy_n(&frame[size_t(y) * fw], fw, &image.pixels[size_t(y0 + y) * image.width + x0]);
        const bool numbered = art.frames > 1 && !figure && !progress && !art.icon && art.face != Face::Mood;
        TextBox box = labelBox(art.shape, float(fw), float(fh), numbered);
        if (art.icon) box = {float(fw) / 2, float(fh) * 0.82f, float(fw) * 0.9f, float(fh) * 0.24f};
        if (table) box = {float(fw) * 0.64f, float(fh) * 0.38f, float(fw) * 0.4f, float(fh) * 0.34f};
        if (figure) box = {float(fw) / 2, float(fh) * 0.72f, float(fw) * 0.9f, float(fh) * 0.2f};
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
        const bool current =
            old != before.end() && old->second == art.stamp && !isOutOfDate(target, {facePath, context.generator});
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
