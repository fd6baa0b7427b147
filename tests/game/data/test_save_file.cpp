// The save file: its exact bytes, damaged files, and saving that never loses the old file.
#include <cstring>

#include "game/data/cProfile.h"
#include "tests/game/data/test_gamedata_fixture.h"

using namespace gamedata_test;

namespace {

int32_t readInt(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24));
}
void writeInt(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

SaveImage twoProfiles() {
    SaveImage image;
    image.currentProfile = 1;
    image.soundVolume = 70;
    image.musicVolume = 35;
    cProfile a;
    a.setName(L"Anna");
    a.level = 5;
    a.reachedLevel = 6;
    a.markedLevel = 4;
    a.difficulty = 0;
    a.values[PA_BEST_SCORE][4] = 1234;
    cProfile b;
    b.setName(L"Zo\u00eb \u65e5\u672c");  // a non-ASCII name
    b.level = 60;
    b.reachedLevel = 61;
    b.difficulty = 1;
    b.values[PA_INTERIOR_2][59] = 2;
    image.profiles = {a, b};
    cHighscore h;
    h.setName(L"Zo\u00eb \u65e5\u672c");
    h.score = 999;
    image.highscores = {h};
    return image;
}

}  // namespace

TEST(SaveFileFormat, TwoProfilesHaveTheExactLayoutAndReadBackEqual) {
    SaveImage image = twoProfiles();
    std::vector<uint8_t> bytes = encodeSaveFile(image);

    ASSERT_EQ(bytes.size(), 1340u + 2 * 8304u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), (std::vector<uint8_t>{0x53, 0x53, 0, 0}));
    EXPECT_EQ(readInt(bytes, 4), 1);
    EXPECT_EQ(readInt(bytes, 8), 70);
    EXPECT_EQ(readInt(bytes, 12), 35);
    EXPECT_EQ(readInt(bytes, 16), 2);
    // Profile 0 at 20: name "Anna" in UTF-16LE, then level, reached, marked, difficulty.
    EXPECT_EQ(bytes[20], 'A');
    EXPECT_EQ(bytes[21], 0);
    EXPECT_EQ(bytes[26], 'a');
    EXPECT_EQ(bytes[28], 0);
    EXPECT_EQ(readInt(bytes, 20 + 128), 5);
    EXPECT_EQ(readInt(bytes, 20 + 132), 6);
    EXPECT_EQ(readInt(bytes, 20 + 136), 4);
    EXPECT_EQ(readInt(bytes, 20 + 140), 0);
    EXPECT_EQ(readInt(bytes, 20 + 144 + 240 * PA_BEST_SCORE + 4 * (5 - 1)), 1234);
    EXPECT_EQ(readInt(bytes, 20 + 144 + 240 * PA_MINIGAME_VARIANT), -1);
    // Profile 1 at 20 + 8304: the non-ASCII units, little-endian.
    const size_t p1 = 20 + 8304;
    EXPECT_EQ(bytes[p1 + 4], 0xEB);  // U+00EB
    EXPECT_EQ(bytes[p1 + 5], 0x00);
    EXPECT_EQ(bytes[p1 + 8], 0xE5);  // U+65E5
    EXPECT_EQ(bytes[p1 + 9], 0x65);
    EXPECT_EQ(readInt(bytes, p1 + 128), 60);
    EXPECT_EQ(readInt(bytes, p1 + 132), 61);
    EXPECT_EQ(readInt(bytes, p1 + 140), 1);
    EXPECT_EQ(readInt(bytes, p1 + 144 + 240 * PA_INTERIOR_2 + 4 * 59), 2);
    // Ten highscore records after the profiles; missing entries are empty.
    const size_t hs = 20 + 2 * 8304;
    EXPECT_EQ(bytes[hs + 4], 0xEB);
    EXPECT_EQ(readInt(bytes, hs + 128), 999);
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(bytes[hs + 132 * i], 0);
        EXPECT_EQ(readInt(bytes, hs + 132 * i + 128), 0);
    }

    SaveImage back = decodeSaveFile(bytes.data(), bytes.size());
    EXPECT_EQ(back.currentProfile, 1);
    EXPECT_EQ(back.soundVolume, 70);
    EXPECT_EQ(back.musicVolume, 35);
    ASSERT_EQ(back.profiles.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(std::memcmp(&back.profiles[i], &image.profiles[i], sizeof(cProfile)), 0) << "profile " << i;
    EXPECT_EQ(back.profiles[1].getName(), L"Zo\u00eb \u65e5\u672c");
    ASSERT_EQ(back.highscores.size(), 10u);
    EXPECT_EQ(back.highscores[0].score, 999);
    EXPECT_EQ(encodeSaveFile(back), bytes);
}

TEST(SaveFileFormat, NewProfileHoldsTheInitialArrays) {
    cProfile p;
    EXPECT_EQ(p.getName(), L"");
    EXPECT_EQ(p.level, 1);
    EXPECT_EQ(p.reachedLevel, 1);
    EXPECT_EQ(p.markedLevel, 1);
    EXPECT_EQ(p.difficulty, -1);
    for (int level : {1, 40, 41, 60}) {
        int k = level - 1;
        EXPECT_EQ(p.values[PA_MINIGAME_VARIANT][k], -1);
        EXPECT_EQ(p.values[PA_COTTON_1][k], level >= 41 ? 2 : 0) << level;
        EXPECT_EQ(p.values[PA_COTTON_2][k], level >= 41 ? 2 : 0) << level;
        EXPECT_EQ(p.values[PA_SUB_1][k], 1);
        EXPECT_EQ(p.values[PA_SUB_2][k], 0);
        EXPECT_EQ(p.values[PA_SUB_PLACE_1][k], 1);
        EXPECT_EQ(p.values[PA_SANDWICH_MAKER][k], 1);
        EXPECT_EQ(p.values[PA_INTERIOR_2][k], 1);
        EXPECT_EQ(p.values[PA_DRINK][k], 0);
    }
}

TEST(SaveFileFormat, LongNamesAreCutAtACharacterBoundaryAndTerminated) {
    cProfile p;
    p.setName(std::wstring(100, L'x'));
    EXPECT_EQ(p.getName(), std::wstring(63, L'x'));
    EXPECT_EQ(p.name[63], 0);
    // A surrogate pair that would straddle the limit is left out whole.
    std::wstring pairAtEnd = std::wstring(62, L'y') + wchar_t(0xD83D) + wchar_t(0xDE00);
    p.setName(pairAtEnd);
    EXPECT_EQ(p.getName(), std::wstring(62, L'y'));
    std::wstring pairInside = std::wstring(61, L'y') + wchar_t(0xD83D) + wchar_t(0xDE00) + L"zz";
    p.setName(pairInside);
    EXPECT_EQ(p.getName(), std::wstring(61, L'y') + wchar_t(0xD83D) + wchar_t(0xDE00));
    cHighscore h;
    h.setName(std::wstring(64, L'q'));
    EXPECT_EQ(h.getName().size(), 63u);
}

struct DamagedSave {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    bool refused;
    std::function<void(const SaveImage&)> check;
};

TEST(SaveFileFormat, DamagedFilesAreRefusedOrRepaired) {
    const std::vector<uint8_t> good = encodeSaveFile(twoProfiles());
    const size_t p0 = 20, p1 = 20 + 8304;
    std::vector<DamagedSave> cases = {
        {"empty", [](auto& b) { b.clear(); }, true, nullptr},
        {"header only", [](auto& b) { b.resize(20); }, true, nullptr},
        {"cut by one byte", [](auto& b) { b.pop_back(); }, true, nullptr},
        {"cut inside a profile", [](auto& b) { b.resize(20 + 8304 + 100); }, true, nullptr},
        {"one byte too many", [](auto& b) { b.push_back(0); }, true, nullptr},
        {"wrong magic", [](auto& b) { b[0] = 0x41; b[1] = 0x41; }, true, nullptr},
        {"huge count", [](auto& b) { writeInt(b, 16, -1); }, true, nullptr},
        {"count larger than the file", [](auto& b) { writeInt(b, 16, 3); }, true, nullptr},
        {"count smaller than the file", [](auto& b) { writeInt(b, 16, 1); }, true, nullptr},
        {"index past the list", [](auto& b) { writeInt(b, 4, 7); }, false,
         [](const SaveImage& s) { EXPECT_EQ(s.currentProfile, 0); }},
        {"index none", [](auto& b) { writeInt(b, 4, -1); }, false,
         [](const SaveImage& s) { EXPECT_EQ(s.currentProfile, 0); }},
        {"levels out of range",
         [&](auto& b) {
             writeInt(b, p0 + 128, 0);
             writeInt(b, p0 + 132, 1000);
             writeInt(b, p0 + 136, -3);
             writeInt(b, p1 + 128, 99);
             writeInt(b, p1 + 132, -7);
             writeInt(b, p1 + 140, 5);
         },
         false,
         [](const SaveImage& s) {
             EXPECT_EQ(s.profiles[0].level, 1);
             EXPECT_EQ(s.profiles[0].reachedLevel, 61);
             EXPECT_EQ(s.profiles[0].markedLevel, 1);
             EXPECT_EQ(s.profiles[1].level, 60);
             EXPECT_EQ(s.profiles[1].reachedLevel, 1);
             EXPECT_EQ(s.profiles[1].difficulty, 1);
         }},
        {"unterminated names and odd volumes",
         [&](auto& b) {
             for (size_t i = 0; i < 128; i += 2) b[p0 + i] = 'n', b[p0 + i + 1] = 0;
             for (size_t i = 0; i < 128; i += 2) b[20 + 2 * 8304 + i] = 'h', b[20 + 2 * 8304 + i + 1] = 0;
             writeInt(b, 8, 5000);
             writeInt(b, 12, -9);
         },
         false,
         [](const SaveImage& s) {
             EXPECT_EQ(s.profiles[0].getName(), std::wstring(63, L'n'));
             EXPECT_EQ(s.highscores[0].getName(), std::wstring(63, L'h'));
             EXPECT_EQ(s.soundVolume, 100);
             EXPECT_EQ(s.musicVolume, -1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        if (c.refused) {
            EXPECT_ANY_THROW(decodeSaveFile(bytes.data(), bytes.size()));
        } else {
            SaveImage image;
            ASSERT_NO_THROW(image = decodeSaveFile(bytes.data(), bytes.size()));
            c.check(image);
        }
    }
}

TEST(SaveFileFormat, AFileWithoutProfilesReadsNoHighscores) {
    SaveImage image;
    image.currentProfile = 0;
    cHighscore h;
    h.setName(L"ghost");
    h.score = 10;
    image.highscores = {h};
    std::vector<uint8_t> bytes = encodeSaveFile(image);
    ASSERT_EQ(bytes.size(), 1340u);
    SaveImage back = decodeSaveFile(bytes.data(), bytes.size());
    EXPECT_TRUE(back.profiles.empty());
    EXPECT_TRUE(back.highscores.empty());
    EXPECT_EQ(back.currentProfile, -1);
}

// ---------------------------------------------------------------- loading and saving

class SaveFile : public GameDataFixture {};

TEST_F(SaveFile, FirstStartRetriesThenTakesTheVolumesFromTheSettings) {
    m_settings = {{"Sound/music_volume", 40}, {"Sound/sound_volume", 80}};
    cGameData& data = make();
    EXPECT_EQ(m_sleeps, std::vector<int>(11, 100));
    EXPECT_EQ(data.getProfileCount(), 0);
    EXPECT_EQ(data.getCurrentProfileIndex(), -1);
    EXPECT_EQ(data.getHighscoreCount(), 0);
    EXPECT_EQ(data.getSoundVolume(), 80);
    EXPECT_EQ(data.getMusicVolume(), 40);
    EXPECT_EQ(m_applied, (std::pair<int32_t, int32_t>{80, 40}));
    EXPECT_FALSE(std::filesystem::exists(savePath()));
}

TEST_F(SaveFile, ProfilesVolumesAndHighscoresSurviveARestart) {
    {
        cGameData& data = make();
        data.addProfile(cStringW(L"Anna"));
        data.addProfile(cStringW(L"B\u00e9la"));
        data.setSoundVolume(55);
        data.setMusicVolume(22);
        data.setLevel(3);
        data.setScore(500);
        data.recordLevelResult(true);
        data.saveNow();
        EXPECT_EQ(data.getLastSaveError(), "");
    }
    EXPECT_EQ(readSave().size(), 1340u + 2 * 8304u);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "temp_data.ssp"));
    m_sleeps.clear();
    cGameData& data = make();
    EXPECT_TRUE(m_sleeps.empty());
    EXPECT_EQ(data.getProfileCount(), 2);
    EXPECT_EQ(data.getCurrentProfileIndex(), 1);
    EXPECT_EQ(data.getProfileName(), L"B\u00e9la");
    EXPECT_EQ(data.getProfileNameAt(0), L"Anna");
    EXPECT_EQ(data.getLevel(), 3);
    EXPECT_EQ(data.getReachedLevel(), 4);
    EXPECT_EQ(data.getBestScore(0), 500);
    EXPECT_EQ(m_applied, (std::pair<int32_t, int32_t>{55, 22}));
    cStringW name;
    int32_t score = 0;
    data.getHighscore(0, name, score);
    EXPECT_EQ(name, L"B\u00e9la");
    EXPECT_EQ(score, 500);
}

TEST_F(SaveFile, DamagedSaveStartsAsWithoutOneAndIsKeptAside) {
    std::vector<uint8_t> bytes = encodeSaveFile(twoProfiles());
    bytes.resize(bytes.size() - 10);
    writeSave(bytes);
    m_settings = {{"Sound/sound_volume", 33}};
    cGameData& data = make();
    EXPECT_EQ(data.getProfileCount(), 0);
    EXPECT_EQ(data.getSoundVolume(), 33);
    EXPECT_NE(data.getLastSaveError(), "");
    ASSERT_FALSE(m_log.empty());
    EXPECT_NE(m_log[0].find("data.ssp"), std::string::npos);
    // The damaged bytes stay where they were and a copy is kept before any later save.
    EXPECT_EQ(readSave(), bytes);
    std::ifstream kept(m_folder / "data_damaged.ssp", std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(kept), {}), bytes);
    // Later starts before the next save meet the same bytes: they are not kept twice.
    for (int start = 0; start < 2; ++start) make();
    EXPECT_FALSE(std::filesystem::exists(m_folder / "data_damaged_2.ssp"));
    EXPECT_EQ(readSave(), bytes);
    cGameData& again = make();
    again.addProfile(cStringW(L"New"));
    EXPECT_EQ(readSave().size(), 1340u + 8304u);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "data_damaged_2.ssp"));
}

// What loading and the next save make of each state the save file can be found in. Each
// row starts from an empty folder; after loading, a new profile is added, which saves.
TEST_F(SaveFile, EveryFileStateIsLoggedKeptOrSavedOverAsItDeserves) {
    namespace fs = std::filesystem;
    const std::vector<uint8_t> good = encodeSaveFile(twoProfiles());
    std::vector<uint8_t> damaged = good;
    damaged.resize(damaged.size() - 10);
    const std::vector<uint8_t> firstCopy = {'f', 'i', 'r', 's', 't'};
    auto fileBytes = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    auto put = [](const fs::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    auto keptName = [](int n) { return n == 1 ? std::string("data_damaged.ssp") : "data_damaged_" + std::to_string(n) + ".ssp"; };

    struct Row {
        const char* what;
        std::function<void()> prepare;
        const char* logged;  // a text some log line holds after loading ("" for no line at all)
        bool savedOver;      // the save after loading writes a new data.ssp
        std::function<void()> check;
    };
    const bool haveProcMem = fs::exists("/proc/self/mem");
    std::vector<Row> rows = {
        {"missing", [] {}, "", true, [&] { EXPECT_EQ(m_sleeps.size(), 11u); }},
        // Root reads through any permission bits: a folder in the file's place fails to read
        // for every user.
        {"unreadable: a folder stands in its place",
         [&] {
             fs::create_directory(savePath());
             put(savePath() / "inside", firstCopy);
         },
         "cannot be read", true,
         [&] {
             EXPECT_TRUE(fs::is_directory(m_folder / "data_damaged.ssp"));
             EXPECT_EQ(fileBytes(m_folder / "data_damaged.ssp" / "inside"), firstCopy);
         }},
        {"unreadable: an I/O error",
         [&] { fs::create_symlink("/proc/self/mem", savePath()); },  // reading address 0 fails with EIO
         "cannot be read", true,
         [&] {
             std::error_code ec;
             EXPECT_EQ(fs::read_symlink(m_folder / "data_damaged.ssp", ec), "/proc/self/mem");
         }},
        {"damaged and not keepable",
         [&] {
             put(savePath(), damaged);
             for (int n = 1; n <= game::kSaveDamagedCopies; ++n) put(m_folder / keptName(n), firstCopy);
         },
         "could not be kept", false,
         [&] {
             EXPECT_NE(m_data->getLastSaveError(), "");
             for (int n = 1; n <= game::kSaveDamagedCopies; ++n) EXPECT_EQ(fileBytes(m_folder / keptName(n)), firstCopy) << n;
             EXPECT_FALSE(fs::exists(m_folder / keptName(game::kSaveDamagedCopies + 1)));
             // Once a name is free again, the next save keeps the file there and goes on.
             fs::remove(m_folder / keptName(50));
             m_data->saveNow();
             EXPECT_EQ(m_data->getLastSaveError(), "");
             EXPECT_EQ(fileBytes(m_folder / keptName(50)), damaged);
             EXPECT_EQ(readSave().size(), 1340u + 8304u);
         }},
        {"second incident",
         [&] {
             put(m_folder / "data_damaged.ssp", firstCopy);
             put(savePath(), damaged);
         },
         "data_damaged_2.ssp", true,
         [&] {
             EXPECT_EQ(fileBytes(m_folder / "data_damaged.ssp"), firstCopy);
             EXPECT_EQ(fileBytes(m_folder / "data_damaged_2.ssp"), damaged);
         }},
        {"profile index outside the list",
         [&] {
             std::vector<uint8_t> bytes = good;
             writeInt(bytes, 4, 7);
             put(savePath(), bytes);
         },
         "profile 7", true,
         [&] {
             EXPECT_EQ(m_data->getProfileNameAt(0), L"Anna");
             EXPECT_FALSE(fs::exists(m_folder / "data_damaged.ssp"));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (std::string(row.what) == "unreadable: an I/O error" && !haveProcMem) continue;
        m_data.reset();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_log.clear();
        m_sleeps.clear();
        row.prepare();
        const std::vector<uint8_t> before = fs::is_regular_file(fs::symlink_status(savePath())) ? readSave() : std::vector<uint8_t>();

        cGameData& data = make();
        std::string log;
        for (const std::string& line : m_log) log += line + "\n";
        if (*row.logged)
            EXPECT_NE(log.find(row.logged), std::string::npos) << log;
        else
            EXPECT_EQ(log, "");
        const size_t profiles = static_cast<size_t>(data.getProfileCount());

        data.addProfile(cStringW(L"New"));
        if (row.savedOver) {
            if (fs::is_regular_file(fs::symlink_status(savePath())))
                EXPECT_EQ(readSave().size(), saveFileSize(profiles + 1));
            else
                ADD_FAILURE() << "data.ssp is not a file written by the save";
        } else {
            EXPECT_EQ(readSave(), before);
        }
        row.check();
    }
}

TEST_F(SaveFile, AStoredIndexOutsideTheListSelectsTheFirstProfile) {
    SaveImage image = twoProfiles();
    image.currentProfile = 5;
    writeSave(encodeSaveFile(image));
    cGameData& data = make();
    EXPECT_EQ(data.getCurrentProfileIndex(), 0);
    EXPECT_EQ(data.getProfileName(), L"Anna");
    EXPECT_EQ(data.getLevel(), 5);
}

TEST_F(SaveFile, AFailedWriteLeavesTheOldSaveWhole) {
    make().addProfile(cStringW(L"Anna"));
    std::vector<uint8_t> before = readSave();
    ASSERT_EQ(before.size(), 1340u + 8304u);
    // The temporary file cannot be created: a folder stands in its place.
    std::filesystem::create_directory(m_folder / "temp_data.ssp");
    m_sleeps.clear();
    m_data->saveNow();
    m_data->addProfile(cStringW(L"Other"));
    EXPECT_NE(m_data->getLastSaveError(), "");
    EXPECT_EQ(m_sleeps.size(), 11u * 2);  // each save tried 11 times
    EXPECT_EQ(readSave(), before);
    std::filesystem::remove(m_folder / "temp_data.ssp");
    // A full disk: the temporary file opens but cannot be written.
    if (std::filesystem::exists("/dev/full")) {
        std::filesystem::create_symlink("/dev/full", m_folder / "temp_data.ssp");
        m_data->saveNow();
        EXPECT_NE(m_data->getLastSaveError().find("cannot be written"), std::string::npos) << m_data->getLastSaveError();
        ASSERT_FALSE(std::filesystem::is_symlink(savePath()));
        EXPECT_EQ(readSave(), before);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(m_folder / "temp_data.ssp")));
    }
    // Once the way is free again, the next save writes everything.
    m_data->saveNow();
    EXPECT_EQ(m_data->getLastSaveError(), "");
    EXPECT_EQ(readSave().size(), 1340u + 2 * 8304u);
}

TEST_F(SaveFile, SinglePackModeNeitherReadsNorWrites) {
    SaveImage image = twoProfiles();
    writeSave(encodeSaveFile(image));
    std::vector<uint8_t> before = readSave();
    m_settings = {{"Sound/music_volume", 12}};
    cGameData& data = make(false, "Packs/2/pack.qpk");
    EXPECT_FALSE(data.isNormalMode());
    EXPECT_EQ(data.getProfileCount(), 0);
    EXPECT_EQ(data.getMusicVolume(), 12);
    EXPECT_EQ(data.getWorld(), 1);
    EXPECT_EQ(data.getGraphicsSet(), 2);
    data.setScore(100);
    data.recordLevelResult(true);
    data.addHighscore(100);
    data.saveNow();
    EXPECT_EQ(data.getHighscoreCount(), 0);
    EXPECT_EQ(readSave(), before);
}

TEST_F(SaveFile, AStoredHighscoreNameMatchesUpToItsTerminator) {
    // Bytes after a name's terminator (left by another writer) do not make a second entry.
    SaveImage image = twoProfiles();
    image.currentProfile = 0;
    image.highscores[0].setName(L"Anna");
    image.highscores[0].name[5] = u'x';
    image.highscores[0].score = 500;
    writeSave(encodeSaveFile(image));
    cGameData& data = make();
    ASSERT_EQ(data.getProfileName(), L"Anna");
    data.addHighscore(600);
    cStringW name;
    int32_t score = 0;
    data.getHighscore(0, name, score);
    EXPECT_EQ(name, L"Anna");
    EXPECT_EQ(score, 600);
    data.getHighscore(1, name, score);
    EXPECT_NE(name, L"Anna");
    data.addHighscore(550);  // lower than its entry: kept
    data.getHighscore(0, name, score);
    EXPECT_EQ(score, 600);
}

TEST_F(SaveFile, StoredHighscoresAreTakenBestFirst) {
    SaveImage image = twoProfiles();
    image.currentProfile = 0;  // "Anna"
    image.highscores.clear();
    for (auto [name, score] : {std::pair{L"low", 10}, {L"high", 50}, {L"mid", 30}, {L"mid2", 30}}) {
        cHighscore h;
        h.setName(name);
        h.score = score;
        image.highscores.push_back(h);
    }
    writeSave(encodeSaveFile(image));
    cGameData& data = make();
    data.addHighscore(40);
    std::wstring order;
    for (int i = 0; i < data.getHighscoreCount(); ++i) {
        cHighscore h;
        data.getHighscoreAt(i, h);
        if (h.score > 0) order += h.getName() + L"=" + std::to_wstring(h.score) + L" ";
    }
    EXPECT_EQ(order, L"high=50 Anna=40 mid=30 mid2=30 low=10 ");
    EXPECT_EQ(data.getHighscoreCount(), 10);
}
