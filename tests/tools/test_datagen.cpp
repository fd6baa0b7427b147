// The data generator. Text step: UTF-8 sources become UTF-16LE with a byte-order mark and
// CR LF line ends under lower-cased names, other files are copied unchanged (generator
// descriptions are not), up-to-date outputs are left alone and bad sources fail with their
// name. Art step: the lists of data/art become textures the engine's image reader decodes,
// shapes with transparent surroundings in the engine's frame grid; bad lines fail with their
// list and line; only changed lines are drawn again. Paths step: one description becomes the
// path graph of every station layout, checked for links and reachability.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/media/ImageDecoder.h"

namespace fs = std::filesystem;

namespace {

const std::string DATAGEN = RW_DIST_DIR "/../tools/datagen";

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// UTF-16LE with the byte-order mark, from UTF-16 units.
std::string utf16le(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

class DataGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rw-datagen-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        source = root / "data";
        out = root / "Data";
        fs::create_directories(source);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // Runs one step; returns the exit code, stderr into *errors.
    int run(std::string* errors = nullptr, const char* step = "convert_text") {
        std::string command = DATAGEN + " '" + source.string() + "' '" + out.string() + "' --step " + step + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string text;
        char buffer[512];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        int status = pclose(pipe);
        if (errors) *errors = text;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path root, source, out;
};

TEST_F(DataGenTest, TextSourcesBecomeUtf16WithCrLf) {
    struct Case {
        const char* name;
        std::string input;
        const char* outputName;
        std::u16string expected;
    } cases[] = {
        {"Config/Game.INI", "[A]\nkey=\"1\"\r\nlast\r", "config/game.ini", u"[A]\r\nkey=\"1\"\r\nlast\r\n"},
        {"config/bom.ini", "\xEF\xBB\xBFx=\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"", "config/bom.ini",
         u"x=\"\u00E9\u20AC\U0001F600\""},
        {"Packs/1/Pack.qpk", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Pack/>", "packs/1/pack.qpk",
         u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Pack/>"},
        {"curves/a.crv", "", "curves/a.crv", u""},
        {"paths/p.xml", "<Graph a=\"1\"/>\n", "paths/p.xml", u"<Graph a=\"1\"/>\r\n"},
    };
    for (const auto& c : cases) writeBytes(source / c.name, c.input);
    const std::string binary("\x89PNG\r\n\x1A\n\0\xFF\n", 11);
    writeBytes(source / "Textures/Logo.PNG", binary);
    // Descriptions that other steps generate from are not part of the data; an old copy goes.
    writeBytes(source / "levels/world1.lvl", "level 1\n");
    writeBytes(source / "fonts/fonts.txt", "main\n");
    writeBytes(out / "fonts/fonts.txt", "left by an older build");

    std::string errors;
    ASSERT_EQ(run(&errors), 0) << errors;
    for (const auto& c : cases) EXPECT_EQ(readBytes(out / c.outputName), utf16le(c.expected)) << c.name;
    EXPECT_EQ(readBytes(out / "textures/logo.png"), binary);
    EXPECT_FALSE(fs::exists(out / "Config"));
    EXPECT_FALSE(fs::exists(out / "levels/world1.lvl"));
    EXPECT_FALSE(fs::exists(out / "fonts/fonts.txt"));
}

TEST_F(DataGenTest, UpToDateOutputsAreLeftAlone) {
    writeBytes(source / "config/a.ini", "a=\"1\"\n");
    ASSERT_EQ(run(), 0);
    auto built = fs::last_write_time(out / "config/a.ini");
    // An output written by hand stays while its source is older.
    writeBytes(out / "config/a.ini", "hand-made");
    fs::last_write_time(out / "config/a.ini", built);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(readBytes(out / "config/a.ini"), "hand-made");
    // A changed source is converted again.
    writeBytes(source / "config/a.ini", "a=\"2\"\n");
    fs::last_write_time(source / "config/a.ini", built + std::chrono::seconds(5));
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(readBytes(out / "config/a.ini"), utf16le(u"a=\"2\"\r\n"));
}

TEST_F(DataGenTest, BadSourcesFailWithTheirNameAndKeepTheOldOutput) {
    writeBytes(source / "config/bad.ini", "ok=\"1\"\n");
    ASSERT_EQ(run(), 0);
    const std::string good = readBytes(out / "config/bad.ini");
    struct Case {
        std::string bytes;
    } cases[] = {{"x=\"\xC3\""}, {"\xFF\xFE"}, {"\xED\xA0\x80"}, {"\xC0\xAF"}};
    for (const auto& c : cases) {
        writeBytes(source / "config/bad.ini", c.bytes);
        fs::last_write_time(source / "config/bad.ini", fs::file_time_type::clock::now() + std::chrono::hours(1));
        std::string errors;
        EXPECT_EQ(run(&errors), 1);
        EXPECT_NE(errors.find("bad.ini: invalid UTF-8"), std::string::npos) << errors;
        EXPECT_EQ(readBytes(out / "config/bad.ini"), good);
    }
}

TEST_F(DataGenTest, NamesThatDifferOnlyInCaseAreRefused) {
    writeBytes(source / "config/a.ini", "a=\"1\"\n");
    writeBytes(source / "Config/A.ini", "a=\"2\"\n");
    std::string errors;
    EXPECT_EQ(run(&errors), 1);
    EXPECT_NE(errors.find("same output config/a.ini"), std::string::npos) << errors;
}

cImage readImage(const fs::path& path) {
    const std::string bytes = readBytes(path);
    return decodeImage(bytes.data(), bytes.size());
}

// Fonts step: '#' starts a comment at the start of a line or after a blank, unless the word
// is the glyph colour "#rrggbb"; the glyphs carry the colour, white without one.
TEST_F(DataGenTest, FontLinesKeepTheirColourBeforeAComment) {
    writeBytes(source / "fonts/fonts.txt",
               "# name face pixels characters\n"
               "red   DejaVuSans.ttf 12 0x41 #e03030   # the colour, then a comment\n"
               "plain DejaVuSans.ttf 12 0x41 # #2a6a2a is in the comment\n"
               "   # an indented comment\n");
    std::string errors;
    ASSERT_EQ(run(&errors, "fonts"), 0) << errors;
    struct Case {
        const char* name;
        uint32_t rgb;
    } cases[] = {{"red", 0xE03030u}, {"plain", 0xFFFFFFu}};
    for (const Case& c : cases) {
        const cImage image = readImage(out / "fonts" / (std::string(c.name) + ".dds"));
        int ink = 0;
        for (uint32_t texel : image.pixels) {
            if ((texel >> 24) < 16) continue;
            ++ink;
            ASSERT_EQ(texel & 0xFFFFFFu, c.rgb) << c.name;
        }
        EXPECT_GT(ink, 10) << c.name;
    }
}

TEST_F(DataGenTest, ArtListsBecomeShapesInTheFrameGrid) {
    writeBytes(source / "art/demo.txt",
               "# Demo textures.\n"
               "\n"
               "ui/box.dds   40 30 rect   #ff0000   -    # a comment after the fields\n"
               "ui/anim.png  96 64 circle #80102030 step frames=6 cols=3\n"
               "ui/star.dds  64 64 star   #00ff00   go\n"
               "ui/strip.dds 60 10 rect   #ffffff   a   frames=3\n");
    std::string errors;
    ASSERT_EQ(run(&errors, "art"), 0) << errors;

    // The fill inside, a darker outline at the edge.
    cImage box = readImage(out / "ui/box.dds");
    ASSERT_EQ(box.width, 40u);
    ASSERT_EQ(box.height, 30u);
    EXPECT_EQ(box.at(5, 4), 0xFFFF0000u);
    EXPECT_EQ(box.at(0, 15), 0xFF8C0000u);
    EXPECT_EQ(box.at(39, 29), 0xFF8C0000u);
    bool labelled = false;   // the label ("box") is drawn in the middle
    for (uint32_t x = 5; x < 35; ++x) labelled = labelled || box.at(x, 15) != 0xFFFF0000u;
    EXPECT_TRUE(labelled);

    // Six frames, three columns of 32 x 32: each a circle with transparent corners, the fill
    // (with its own alpha) near the top, and its own number drawn.
    cImage anim = readImage(out / "ui/anim.png");
    ASSERT_EQ(anim.width, 96u);
    ASSERT_EQ(anim.height, 64u);
    std::vector<std::vector<uint32_t>> frames;
    for (uint32_t k = 0; k < 6; ++k) {
        const uint32_t x0 = (k % 3) * 32, y0 = (k / 3) * 32;
        for (auto [x, y] : {std::pair{0u, 0u}, {31u, 0u}, {0u, 31u}, {31u, 31u}})
            EXPECT_EQ(anim.at(x0 + x, y0 + y) >> 24, 0u) << "frame " << k + 1;
        EXPECT_EQ(anim.at(x0 + 16, y0 + 3), 0x80102030u) << "frame " << k + 1;
        std::vector<uint32_t> lower;
        for (uint32_t y = 16; y < 28; ++y)
            for (uint32_t x = 4; x < 28; ++x) lower.push_back(anim.at(x0 + x, y0 + y));
        for (const auto& other : frames) EXPECT_NE(lower, other) << "frame " << k + 1 << " shows another's number";
        frames.push_back(lower);
    }

    cImage star = readImage(out / "ui/star.dds");
    EXPECT_EQ(star.at(32, 20), 0xFF00FF00u);
    for (auto [x, y] : {std::pair{0u, 0u}, {63u, 0u}, {0u, 63u}, {63u, 63u}, {2u, 32u}, {32u, 63u}})
        EXPECT_EQ(star.at(x, y) >> 24, 0u) << x << "," << y;

    // Frames too small for a readable number keep the shape alone; the grid still holds.
    cImage strip = readImage(out / "ui/strip.dds");
    ASSERT_EQ(strip.width, 60u);
    EXPECT_EQ(strip.at(10, 5), 0xFFFFFFFFu);
    EXPECT_EQ(strip.at(20, 5), 0xFF8C8C8Cu);   // the outline where frames 1 and 2 meet

    for (const auto& entry : fs::recursive_directory_iterator(out))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(DataGenTest, BadArtLinesFailWithListAndLine) {
    struct Case {
        std::string line;
        const char* message;
    } cases[] = {
        {"ui/b.dds 10 10 rect #ff0000", "expected <path>"},
        {"ui/b.dds 0 10 rect #ff0000 x", "bad width '0'"},
        {"ui/b.dds 10 4097 rect #ff0000 x", "bad height '4097'"},
        {"ui/b.dds 10 1x rect #ff0000 x", "bad height '1x'"},
        {"ui/b.dds 10 10 blob #ff0000 x", "unknown shape 'blob'"},
        {"ui/b.dds 10 10 rect red x", "bad colour 'red'"},
        {"ui/b.dds 10 10 rect #ff00 x", "bad colour '#ff00'"},
        {"ui/B.dds 10 10 rect #ff0000 x", "lower case"},
        {"ui/b.jpg 10 10 rect #ff0000 x", ".dds or .png"},
        {"ui\\b.dds 10 10 rect #ff0000 x", "separator"},
        {"ui/../b.dds 10 10 rect #ff0000 x", "bad path"},
        {"ui/b.dds 10 10 rect #ff0000 x frames=3", "does not divide"},
        {"ui/b.dds 10 10 rect #ff0000 x frames=0", "bad frame count"},
        {"ui/b.dds 10 10 rect #ff0000 x frames=2 cols=3", "more columns than frames"},
        {"ui/b.dds 10 10 rect #ff0000 x speed=2", "unknown field 'speed=2'"},
        {"ui/b.dds 10 10 rect #ff0000 x pattern=waves", "unknown pattern 'waves'"},
        {"ui/b.dds 10 10 rect #ff0000 x icon=pizza", "unknown item look 'pizza'"},
        {"ui/b.dds 10 10 guest #ff0000 x face=sad", "unknown face 'sad'"},
        {"ui/b.dds 10 10 drink red x", "bad colour 'red'"},
        {"ui/good.dds 8 8 rect #ffffff x", "ui/good.dds is listed twice (first at "},
    };
    for (const auto& c : cases) {
        writeBytes(source / "art/bad.txt", "# header\nui/good.dds 8 8 rect #ffffff x\n" + c.line + "\n");
        std::string errors;
        EXPECT_EQ(run(&errors, "art"), 1) << c.line;
        EXPECT_NE(errors.find("bad.txt:3: "), std::string::npos) << c.line << ": " << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.line << ": " << errors;
    }
    // A path listed in two lists: the later list is named.
    writeBytes(source / "art/bad.txt", "ui/good.dds 8 8 rect #ffffff x\n");
    writeBytes(source / "art/more.txt", "\nui/good.dds 8 8 circle #ffffff x\n");
    std::string errors;
    EXPECT_EQ(run(&errors, "art"), 1);
    EXPECT_NE(errors.find("more.txt:2: ui/good.dds is listed twice (first at "), std::string::npos) << errors;
    EXPECT_NE(errors.find("bad.txt:1)"), std::string::npos) << errors;
}

// The bounds of the pixels in the box (x0, y0)-(x1, y1) that are not `fill`: where a label was drawn.
struct Ink {
    uint32_t top = ~0u, bottom = 0;
    bool any() const { return bottom >= top; }
};
Ink inkRows(const cImage& image, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, uint32_t fill) {
    Ink ink;
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x)
            if (image.at(x, y) != fill) {
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

TEST_F(DataGenTest, LabelsStaySmallSurfacesCarryPatternsAndItemsKeepTheirLook) {
    writeBytes(source / "art/demo.txt",
               "ui/floor.dds   400 300 rect      #e0e0e0 floor\n"
               "ui/button.dds  120  36 roundrect #e0e0e0 Up\n"
               "ui/planks.dds  200 100 rect      #c08040 _ pattern=planks\n"
               "ui/drink.dds    32  32 drink     -       _\n"
               "ui/station.dds  72 104 roundrect #457b9d Drinks icon=drink\n"
               "ui/guest.dds    96  80 guest     #e0603c _ face=happy frames=2\n");
    std::string errors;
    ASSERT_EQ(run(&errors, "art"), 0) << errors;

    // A label never grows past 28 pixels however large its picture, nor past about a third
    // of a small picture's height.
    const cImage floor = readImage(out / "ui/floor.dds");
    const Ink big = inkRows(floor, 20, 20, 380, 280, 0xFFE0E0E0u);
    ASSERT_TRUE(big.any());
    EXPECT_LE(big.bottom - big.top + 1, 28u);
    const cImage button = readImage(out / "ui/button.dds");
    const Ink small = inkRows(button, 20, 4, 100, 32, 0xFFE0E0E0u);
    ASSERT_TRUE(small.any());
    EXPECT_LE(small.bottom - small.top + 1, 16u);

    // A surface without a label: its boards show as darker lines, no letters.
    const cImage planks = readImage(out / "ui/planks.dds");
    EXPECT_EQ(planks.at(100, 12), 0xFFC08040u);
    EXPECT_NE(planks.at(100, 24), 0xFFC08040u);
    EXPECT_EQ(planks.at(100, 36), planks.at(150, 36));

    // The drink's look (a blue glass) in the hands and on its station.
    auto blue = [](uint32_t argb) { return (argb >> 24) == 0xFF && (argb & 0xFF) > ((argb >> 16) & 0xFF) + 60; };
    const cImage drink = readImage(out / "ui/drink.dds");
    EXPECT_TRUE(blue(drink.at(16, 20))) << std::hex << drink.at(16, 20);
    EXPECT_EQ(drink.at(0, 31) >> 24, 0u);
    const cImage station = readImage(out / "ui/station.dds");
    EXPECT_TRUE(blue(station.at(36, 46))) << std::hex << station.at(36, 46);

    // A figure bobs from frame to frame instead of carrying a number.
    const cImage guest = readImage(out / "ui/guest.dds");
    std::vector<uint32_t> first, second;
    for (uint32_t y = 0; y < 80; ++y)
        for (uint32_t x = 0; x < 48; ++x) {
            first.push_back(guest.at(x, y));
            second.push_back(guest.at(48 + x, y));
        }
    EXPECT_NE(first, second);
    EXPECT_EQ(guest.at(24, 60) >> 24, 0xFFu);
}

TEST_F(DataGenTest, OnlyChangedArtLinesAreDrawnAgain) {
    writeBytes(source / "art/a.txt", "ui/a.dds 16 16 rect #ff0000 a\nui/b.png 16 16 circle #00ff00 b\nui/c.dds 8 8 rect #0000ff c\n");
    ASSERT_EQ(run(nullptr, "art"), 0);
    // Outputs replaced by hand stay while their lines are unchanged.
    const auto built = fs::last_write_time(out / "ui/a.dds");
    for (const char* name : {"ui/a.dds", "ui/b.png"}) {
        writeBytes(out / name, "hand-made");
        fs::last_write_time(out / name, built);
    }
    ASSERT_EQ(run(nullptr, "art"), 0);
    EXPECT_EQ(readBytes(out / "ui/a.dds"), "hand-made");
    EXPECT_EQ(readBytes(out / "ui/b.png"), "hand-made");
    // One line changes, one goes: only that texture is drawn again, the other is removed.
    writeBytes(source / "art/a.txt", "ui/a.dds 16 16 rect #ff0000 a\nui/b.png 16 16 circle #0000ff b\n");
    ASSERT_EQ(run(nullptr, "art"), 0);
    EXPECT_EQ(readBytes(out / "ui/a.dds"), "hand-made");
    EXPECT_EQ(readImage(out / "ui/b.png").at(8, 2), 0xFF0000FFu);
    EXPECT_FALSE(fs::exists(out / "ui/c.dds"));
    // A texture deleted from the Data folder is made again.
    fs::remove(out / "ui/a.dds");
    ASSERT_EQ(run(nullptr, "art"), 0);
    EXPECT_EQ(readImage(out / "ui/a.dds").at(3, 3), 0xFFFF0000u);
}

std::string readUtf16(const fs::path& path) {
    const std::string bytes = readBytes(path);
    std::string text;   // the graphs are ASCII
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(bytes[i]);
    return text;
}

TEST_F(DataGenTest, PathGraphsFollowTheLayout) {
    writeBytes(source / "paths/restaurant.txt",
               "node a 100 300\n"
               "node b 200 300   # a comment\n"
               "node s 300 200 when sauce\n"
               "node p2 400 200 when places>=2\n"
               "link a b s\n"
               "link b p2\n"
               "object TABLE_ORDER_1 a\n"
               "object SOUSE_STATION s\n"
               "object SUB_PLACE_2 p2\n");
    std::string errors;
    ASSERT_EQ(run(&errors, "paths"), 0) << errors;
    for (const char* name : {"s0p0", "s0p1", "s0p2", "s0p3", "s1p0", "s1p1", "s1p2", "s1p3"})
        EXPECT_EQ(readBytes(out / "packs/paths" / (std::string(name) + ".xml")).substr(0, 2), "\xFF\xFE") << name;
    EXPECT_EQ(readUtf16(out / "packs/paths/s0p1.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<paths>\n  <PathPoints>\n"
              "    <POINT_1 position=\"100,300\" point_1=\"200,300\"/>\n"
              "    <POINT_2 position=\"200,300\" point_1=\"100,300\"/>\n"
              "  </PathPoints>\n  <Objects>\n"
              "    <TABLE_ORDER_1 control_point=\"100,300\"/>\n"
              "  </Objects>\n</paths>\n");
    const std::string full = readUtf16(out / "packs/paths/s1p2.xml");
    EXPECT_NE(full.find("<POINT_2 position=\"200,300\" point_1=\"100,300\" point_2=\"300,200\" point_3=\"400,200\"/>"),
              std::string::npos) << full;
    EXPECT_NE(full.find("<SOUSE_STATION control_point=\"300,200\"/>"), std::string::npos) << full;
    EXPECT_NE(full.find("<SUB_PLACE_2 control_point=\"400,200\"/>"), std::string::npos) << full;
}

TEST_F(DataGenTest, BadPathDescriptionsFailWithTheirLine) {
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {"node a 100 300\nnode b 200 300\nlink a c\n", "restaurant.txt:3: unknown node c"},
        {"node a 100 300\nnode b 200 300\nnode a 300 300\n", "restaurant.txt:3: node a is declared twice"},
        {"node a 100 300\nnode b 100 300\n", "restaurant.txt:2: two nodes at 100,300"},
        {"node a 0 0\n", "restaurant.txt:1: node a lies outside the room"},
        {"node a 100.5 300\n", "restaurant.txt:1: expected a whole number for x"},
        {"node a 100 300 when cake\n", "restaurant.txt:1: expected 'when sauce'"},
        {"node a 100 300\nnode b 200 300\nlink a b\nnode c 300 300\n", "restaurant.txt:4: node c has no link in layout s0p0"},
        {"node a 100 300\nnode b 200 300\nnode c 300 300\nnode d 400 300\nlink a b\nlink c d\n",
         "restaurant.txt:3: node c cannot be reached from a in layout s0p0"},
        {"node a 100 300\nnode b 200 300\nlink a b\nobject TRASH a\nobject TRASH b\n", "restaurant.txt:5: TRASH is placed twice"},
        {"node a 100 300\nnode b 200 300\nlink a b\nlink b a\n", "restaurant.txt:4: link b-a is given twice"},
        {"node a 100 300\nwalk a\n", "restaurant.txt:2: unknown word 'walk'"},
    };
    for (const auto& c : cases) {
        writeBytes(source / "paths/restaurant.txt", c.text);
        std::string errors;
        EXPECT_EQ(run(&errors, "paths"), 1) << c.text;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.text << errors;
    }
}

}  // namespace

// Levels step: a pack played alone from the command line may be short and have a small combo;
// the campaign's packs hold all their levels and combos in tens.
TEST_F(DataGenTest, SinglePacksMayBeShortWithASmallCombo) {
    struct Case {
        const char* name;
        bool single;
        int levels, combo;
        bool built;
    } cases[] = {
        {"single, one level, combo 5", true, 1, 5, true},
        {"campaign, all levels, combo 10", false, 20, 10, true},
        {"campaign, one level", false, 1, 10, false},
        {"campaign, combo 5", false, 20, 5, false},
        {"single, 21 levels", true, 21, 10, false},
        {"single, negative combo", true, 1, -10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(source);
        fs::remove_all(out);
        std::string text = "pack packs/t/pack.qpk\nworld 1\n";
        if (c.single) text += "single\n";
        for (int n = 1; n <= c.levels; ++n)
            text += "level " + std::to_string(n) + "\ntime 60\ngoals 100 50 75\ncombo " + std::to_string(c.combo) +
                    "\nadd drink\nguest 1 1 5 0 1 1\n";
        writeBytes(source / "levels/t.lvl", text);
        std::string errors;
        EXPECT_EQ(run(&errors, "levels") == 0, c.built) << errors;
        EXPECT_EQ(fs::exists(out / "packs/t/pack.qpk"), c.built);
        if (!c.built) {
            EXPECT_NE(errors.find("t.lvl"), std::string::npos) << "the failure names the description: " << errors;
            continue;
        }
        const std::string pack = readBytes(out / "packs/t/pack.qpk");
        const std::string count = "count_levels=\"" + std::to_string(c.levels) + "\"";
        EXPECT_NE(pack.find(utf16le(std::u16string(count.begin(), count.end())).substr(2)), std::string::npos) << count;
    }
}
