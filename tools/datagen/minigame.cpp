// The hidden-object levels of the Data folder: config/minigame1/level<M>0<v>.ini for the six
// mini games and their two variants, and one picture per object, written from the one list
// data/minigame/levels.txt (its words are explained at its top). Every level is checked before
// anything is written: all twelve files are there, each object lies right of the status panel,
// its polygon runs clockwise on the screen and splits into triangles, the names to find are
// there and unique, and the level has more objects to find than names on show.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/media/ImageDecoder.h"
#include "engine/scene/cGeomPolygon.h"
#include "game/minigame/MiniGameFiles.h"
#include "tools/datagen/DataGen.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScreenWidth = 800, kScreenHeight = 600;
constexpr int kCountLines = 4;

struct Point {
    int x = 0, y = 0;
};

struct Object {
    std::string kind, name;
    int x = 0, y = 0, deep = 0;
    uint32_t colour = 0;
    std::vector<Point> points;
    int width = 0, height = 0;
    int line = 0;
};

struct Level {
    int number = 0, variant = 0, seconds = 0;
    std::string title;
    std::vector<Object> objects;
    int line = 0;
};

[[noreturn]] void fail(const fs::path& source, int line, const std::string& what) {
    throw std::runtime_error(source.string() + ":" + std::to_string(line) + ": " + what);
}

int number(const std::string& text, const fs::path& source, int line, const char* what) {
    bool ok = !text.empty() && text.size() < 6;
    for (size_t i = 0; i < text.size(); ++i) ok = ok && ((text[i] >= '0' && text[i] <= '9') || (i == 0 && text[i] == '-'));
    if (!ok || text == "-") fail(source, line, std::string("expected a whole number for ") + what + ", found '" + text + "'");
    return std::stoi(text);
}

uint32_t colour(const std::string& text, const fs::path& source, int line) {
    bool ok = text.size() == 7 && text[0] == '#';
    for (size_t i = 1; ok && i < text.size(); ++i) ok = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    if (!ok) fail(source, line, "expected a colour #rrggbb, found '" + text + "'");
    return 0xFF000000u | uint32_t(std::stoul(text.substr(1), nullptr, 16));
}

std::string spaced(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Twice the polygon's area, positive when it runs clockwise on the screen (y down).
long long doubleArea(const std::vector<Point>& p) {
    long long sum = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % p.size()];
        sum += (long long)a.x * b.y - (long long)b.x * a.y;
    }
    return sum;
}

// The triangles the game will make of the polygon (inserted last to first, as it does).
size_t triangleCount(const std::vector<Point>& points) {
    cGeomPolygon ring;
    for (size_t i = points.size(); i-- > 0;) ring.insertVertex(cGeomPoint(points[i].x, points[i].y));
    size_t n = 0;
    for (const auto& piece : splitConvex(ring)) n += piece->getCount() == 3;
    return n;
}

std::vector<Level> parse(const fs::path& source) {
    std::ifstream in(source);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    std::vector<Level> levels;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        // '#' starts a comment, except as the colour: the sixth word of an object line.
        std::istringstream split(text);
        std::string kept, word;
        for (int i = 0; split >> word; ++i) {
            if (word[0] == '#' && i != 5) break;
            kept += word + " ";
        }
        text = kept;
        std::istringstream words(text);
        std::string kind;
        if (!(words >> kind)) continue;
        if (kind == "level") {
            Level level;
            level.line = line;
            std::string m, v, s;
            words >> m >> v >> s;
            level.number = number(m, source, line, "the mini game");
            level.variant = number(v, source, line, "the variant");
            level.seconds = number(s, source, line, "the seconds");
            if (!(words >> level.title)) fail(source, line, "a level needs a title");
            levels.push_back(level);
            continue;
        }
        if (kind != "backdrop" && kind != "find" && kind != "hint" && kind != "decor")
            fail(source, line, "unknown word '" + kind + "'");
        if (levels.empty()) fail(source, line, "an object before the first level");
        Object object;
        object.kind = kind;
        object.line = line;
        std::string x, y, deep, c;
        if (!(words >> object.name >> x >> y >> deep >> c)) fail(source, line, "expected: KIND NAME X Y DEEP #COLOUR POINTS...");
        object.x = number(x, source, line, "x");
        object.y = number(y, source, line, "y");
        object.deep = number(deep, source, line, "deep");
        object.colour = colour(c, source, line);
        std::string p;
        while (words >> p) {
            const size_t comma = p.find(',');
            if (comma == std::string::npos) fail(source, line, "a point is x,y: '" + p + "'");
            Point point{number(p.substr(0, comma), source, line, "a point's x"), number(p.substr(comma + 1), source, line, "a point's y")};
            if (point.x < 0 || point.y < 0) fail(source, line, "points lie right of and below the picture's corner");
            object.width = std::max(object.width, point.x);
            object.height = std::max(object.height, point.y);
            object.points.push_back(point);
        }
        levels.back().objects.push_back(object);
    }
    return levels;
}

void check(const fs::path& source, const std::vector<Level>& levels) {
    std::set<std::pair<int, int>> seen;
    for (const Level& level : levels) {
        if (level.number < 1 || level.number > minigame_files::kMiniGameCount || level.variant < 1 ||
            level.variant > minigame_files::kVariantCount)
            fail(source, level.line, "mini games are 1 to 6 with variants 1 and 2");
        if (!seen.insert({level.number, level.variant}).second) fail(source, level.line, "this level is given twice");
        if (level.seconds <= 0) fail(source, level.line, "a level needs time to play");
        std::set<std::string> names;
        int toFind = 0;
        for (const Object& o : level.objects) {
            if (o.points.size() < 3) fail(source, o.line, "an object needs three points or more");
            if (o.width <= 0 || o.height <= 0) fail(source, o.line, "the points span no picture");
            const int left = o.x - o.width / 2, top = o.y - o.height / 2;
            if (left <= int(minigame_files::kClickFieldLeft) || left + o.width > kScreenWidth || top < 0 ||
                top + o.height > kScreenHeight)
                fail(source, o.line, o.name + " does not lie within the play field (x 176 to 800, y 0 to 600)");
            if (doubleArea(o.points) <= 0) fail(source, o.line, o.name + ": the points must run clockwise on the screen");
            if (triangleCount(o.points) == 0) fail(source, o.line, o.name + ": the polygon does not split into triangles");
            if (o.kind == "find") {
                ++toFind;
                if (!names.insert(o.name).second) fail(source, o.line, "the name " + o.name + " is given twice");
            }
        }
        if (toFind <= kCountLines) fail(source, level.line, "a level needs more objects to find than the " +
                                                                 std::to_string(kCountLines) + " names on show");
    }
    for (int m = 1; m <= minigame_files::kMiniGameCount; ++m)
        for (int v = 1; v <= minigame_files::kVariantCount; ++v)
            if (!seen.count({m, v}))
                throw std::runtime_error(source.string() + ": level " + std::to_string(m) + " variant " +
                                         std::to_string(v) + " is missing");
}

// The picture of an object: its polygon filled in its colour (four samples a pixel), labelled.
cImage render(const Object& o) {
    cImage image;
    image.width = uint32_t(o.width);
    image.height = uint32_t(o.height);
    image.pixels.assign(size_t(o.width) * size_t(o.height), 0);
    auto inside = [&](float px, float py) {
        bool in = false;
        for (size_t i = 0, j = o.points.size() - 1; i < o.points.size(); j = i++) {
            const float xi = float(o.points[i].x), yi = float(o.points[i].y);
            const float xj = float(o.points[j].x), yj = float(o.points[j].y);
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
    for (int y = 0; y < o.height; ++y)
        for (int x = 0; x < o.width; ++x) {
            int hits = 0;
            for (float sy : {0.25f, 0.75f})
                for (float sx : {0.25f, 0.75f}) hits += inside(float(x) + sx, float(y) + sy);
            if (hits) image.pixels[size_t(y) * size_t(o.width) + size_t(x)] = (uint32_t(hits * 255 / 4) << 24) | (o.colour & 0xFFFFFFu);
        }
    // The names tell the objects apart; the backdrop is only the room behind them.
    if (o.kind != "backdrop") drawArtLabel(image, o.name, o.colour);
    return image;
}

std::string pictureName(const Level& level, const Object& o) {
    return "minigame1/objects/" + std::to_string(level.number) + "0" + std::to_string(level.variant) + "_" + lower(o.name) + ".dds";
}

std::string levelIni(const Level& level) {
    std::ostringstream ini;
    ini << "// Mini game " << level.number << ", variant " << level.variant << ": written by the data build from\r\n"
        << "// data/minigame/levels.txt.\r\n\r\n"
        << "[COMMON]\r\ntime=\"" << level.seconds << "\"\r\nbonus=\"500\"\r\nobject_cost=\"100\"\r\nclick_delay=\"0.3\"\r\n"
        << "count_lines=\"" << kCountLines << "\"\r\ntime_penalty=\"10\"\r\ncount_clicks_for_penalty=\"3\"\r\n"
        << "click_delay_for_reset=\"2\"\r\ncount_hints=\"1\"\r\n"
        << "start_title=\"" << spaced(level.title) << "\"\r\n"
        << "start_picture=\"MiniGame1/Pictures/start.dds\"\r\n"
        << "start_description=\"Click the things named on the left./nWrong clicks cost time.\"\r\n"
        << "continue_picture=\"MiniGame1/Pictures/timeout.dds\"\r\ncontinue_description=\"Time is up.\"\r\n"
        << "continue_picture2=\"MiniGame1/Pictures/done.dds\"\r\ncontinue_description2=\"You found everything!\"\r\n\r\n"
        << "[BACK_BLUR]\r\npicture=\"MiniGame1/Pictures/blur.dds\"\r\nposition=\"488,300\"\r\ndeep=\"500\"\r\n\r\n"
        << "[NAME_TEXT]\r\nposition=\"18,250\"\r\nfont=\"Fonts/main.rwf\"\r\ntexture=\"Fonts/main.dds\"\r\n"
        << "line_spacing=\"30\"\r\nalign=\"LEFT\"\r\nalign_ver=\"TOP\"\r\ncolor=\"250,235,200\"\r\ndeep=\"9010\"\r\n";
    int n = 0;
    for (const Object& o : level.objects) {
        ini << "\r\n[OBJECT_" << ++n << "]\r\n";
        if (o.kind == "find") ini << "active=\"1\"\r\nname=\"" << spaced(o.name) << "\"\r\n";
        if (o.kind == "hint") ini << "hint=\"1\"\r\nname=\"" << spaced(o.name) << "\"\r\n";
        ini << "picture=\"" << pictureName(level, o) << "\"\r\nposition=\"" << o.x << "," << o.y << "\"\r\n"
            << "anim_frame_size=\"" << o.width << "," << o.height << "\"\r\ndeep=\"" << o.deep << "\"\r\n";
        for (size_t i = 0; i < o.points.size(); ++i)
            ini << "v" << i + 1 << "=\"" << o.points[i].x << "," << o.points[i].y << "\"\r\n";
    }
    return ini.str();
}

void generateMiniGames(const DataGenContext& context) {
    const fs::path source = context.source / "minigame" / "levels.txt";
    if (!fs::exists(source)) return;
    const std::vector<Level> levels = parse(source);
    check(source, levels);
    for (const Level& level : levels) {
        const fs::path ini = context.out / "config" / "minigame1" /
                             ("level" + std::to_string(level.number) + "0" + std::to_string(level.variant) + ".ini");
        if (isOutOfDate(ini, {source, context.generator})) {
            const std::string text = levelIni(level);
            writeUtf16File(ini, std::u16string(text.begin(), text.end()));   // the text is ASCII
        }
        for (const Object& o : level.objects) {
            const fs::path picture = context.out / pictureName(level, o);
            if (!isOutOfDate(picture, {source, context.generator})) continue;
            const std::vector<uint8_t> bytes = encodeDds(render(o));
            writeFileAtomically(picture, bytes.data(), bytes.size());
        }
    }
}

}  // namespace

RW_DATAGEN_STEP(minigame, 50, generateMiniGames);
