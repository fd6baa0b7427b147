// The data generator's text step: UTF-8 sources become UTF-16LE with a byte-order mark and
// CR LF line ends under lower-cased names, other files are copied unchanged (generator
// descriptions are not), up-to-date
// outputs are left alone and bad sources fail with their name.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
    // Runs the text step; returns the exit code, stderr into *errors.
    int run(std::string* errors = nullptr) {
        std::string command = DATAGEN + " '" + source.string() + "' '" + out.string() + "' --step convert_text 2>&1";
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

}  // namespace
