// The statistics logs: their exact texts, the folder numbering and failures while writing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "game/data/cStatistics.h"

namespace fs = std::filesystem;

namespace {

class Statistics : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(RW_TEST_OUTPUT_DIR) / "statistics" / info->name();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_saved = cStatistics::services();
        auto& s = cStatistics::services();
        s.commonFolder = [this] { return m_folder.string() + "/"; };
        s.enabled = [this] { return m_enabled; };
        s.now = [] {
            std::tm t{};
            t.tm_mday = 5;
            t.tm_mon = 2;
            t.tm_year = 126;
            t.tm_hour = 9;
            t.tm_min = 7;
            return t;
        };
        s.gameTotal = [] { return 4321; };
        s.log = [this](const std::string& line) { m_log.push_back(line); };
    }
    void TearDown() override {
        m_stats.reset();
        cStatistics::services() = m_saved;
    }
    cStatistics& make() {
        m_stats.reset();
        m_stats = std::make_unique<cStatistics>();
        return *m_stats;
    }
    void makeFolders(std::initializer_list<const char*> names, const char* statistics = "statistics") {
        for (const char* n : names) fs::create_directories(m_folder / statistics / n);
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_folder;
    bool m_enabled = true;
    std::vector<std::string> m_log;
    std::unique_ptr<cStatistics> m_stats;
    cStatistics::Services m_saved;
};

}  // namespace

TEST_F(Statistics, LevelLogText) {
    cStatistics& s = make();
    s.startRecord(cStringA("Anna"));
    s.setLevel(7);
    s.setLevelTime(180);
    s.setGoal(450);
    s.setExpert(700);
    s.setAmountHumans(12);
    s.setTotal(512);
    s.setLeftHumans(2);
    s.addHuman();
    s.setMaxClickCoef(1.5f);
    s.setAverageClickCoef(0.1234567f);
    EXPECT_EQ(s.levelLogText(),
              "user_name = Anna\n"
              "date = 05.03.2026\n"
              "time = 09:07\n\n"
              "level = 7\n"
              "level_time = 180\n"
              "goal = 450\n"
              "expert = 700\n"
              "result = 512\n\n"
              "total = 4321\n\n"
              "amount_humans = 12\n"
              "left_humans = 2\n"
              "unserved_humans = 1\n\n"
              "max_click_coef = 1.5\n"
              "average_click_coef = 0.123457\n");
}

TEST_F(Statistics, MoodLogText) {
    cStatistics& s = make();
    EXPECT_EQ(s.moodLogText(), "\t1\t\t2\t\t3\t\t4\t\t5\t\t6\n\n1\t        \t        \t        \t        \t        \t        \t\n");
    s.addMoodMark(1, 8);
    s.addMoodMark(1, 0);
    s.addOrderMark(1, 54);
    s.addMoodMark(2, 0);  // no order label left
    s.addMoodMark(3, 3);
    s.addMoodMark(3, 0);
    s.addOrderMark(3, 24);
    s.addMoodMark(6, -1);
    s.addMoodMark(6, 12);
    s.addMoodMark(7, 1);  // no such line: ignored
    EXPECT_EQ(s.moodLogText(),
              "\t1\t\t2\t\t3\t\t4\t\t5\t\t6\n\n"
              "1\tOOOOOOOO\t-       \tOOO     \t        \t        \t        \t\n"
              "2\t-WAIT   \t        \t-SUB1311\t        \t        \t        \t\n"
              "3\t        \t        \t        \t        \t        \t        \t\n");
    // Building the text takes nothing away from the record.
    EXPECT_EQ(s.moodLogText(), s.moodLogText());
}

TEST_F(Statistics, OrderLabelsAndMoodCells) {
    const std::pair<int, const char*> labels[] = {
        {1, "DRINK  "},   {2, "CAKE   "},   {3, "SNACK  "},   {4, "COTTON1"},   {5, "COTTON2"},
        {6, "COFFEE "},   {7, "COFF_CR"},   {8, "       "},   {11, "SUB1000"},  {12, "SUB1001"},
        {18, "SUB1301"},  {19, "SUB1120"},  {22, "SUB1231"},  {24, "SUB1311"},  {25, "SUB2000"},
        {38, "SUB2311"},  {39, "SUB3000"},  {49, "SUB3230"},  {52, "SUB3311"},  {53, "       "},
        {54, "WAIT   "},  {0, "       "},   {-4, "       "},
    };
    for (const auto& [item, label] : labels) EXPECT_EQ(cStatistics::orderLabel(item), label) << item;
    std::vector<std::string> none;
    const std::pair<int, const char*> cells[] = {{-1, "        "}, {1, "O       "}, {7, "OOOOOOO "},
                                                 {8, "OOOOOOOO"}, {9, "        "}, {0, "-       "}};
    for (const auto& [v, cell] : cells) EXPECT_EQ(cStatistics::moodCell(v, none), cell) << v;
}

TEST_F(Statistics, ComboCountsAndTheirLog) {
    cStatistics& s = make();
    for (int n : {1, 2, 2, 12, 13, 0, -2}) s.countTakeCombo(n);
    s.countDeliverCombo(6);
    s.countMoneyCombo(12);
    std::string text = s.comboLogText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 33 + 3);
    EXPECT_EQ(text.substr(0, 33), "take_2 = 2\ntake_3 = 0\ntake_4 = 0\n");
    EXPECT_NE(text.find("take_12 = 1\n\ndeliver_2 = 0\n"), std::string::npos);
    EXPECT_NE(text.find("deliver_6 = 1\n"), std::string::npos);
    EXPECT_NE(text.find("deliver_12 = 0\n\nmoney_2 = 0\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 14), "money_12 = 1\n\n");
}

TEST_F(Statistics, ResultMarksAndReset) {
    cStatistics& s = make();
    s.markFailed();
    s.markCancelled();
    EXPECT_EQ(s.getResult(), "x");
    s.markWon();
    s.markCancelled();
    EXPECT_EQ(s.getResult(), "c");
    s.setLevelTime(90);
    s.setLevel(4);
    s.countMoneyCombo(3);
    s.addMoodMark(2, 5);
    s.reset();
    EXPECT_EQ(s.getResult(), "c");
    EXPECT_NE(s.levelLogText().find("level_time = 90\n"), std::string::npos);
    EXPECT_NE(s.levelLogText().find("level = 0\n"), std::string::npos);
    EXPECT_EQ(s.comboLogText().find(" = 1"), std::string::npos);
    EXPECT_EQ(s.moodLogText().find("OOOOO"), std::string::npos);
}

TEST_F(Statistics, FolderNumbering) {
    struct Case {
        const char* what;
        std::vector<const char*> existing;
        const char* statisticsName;
        const char* result;  // "" won, "x" failed
        const char* folder;
    };
    const Case cases[] = {
        {"first record", {}, nullptr, "", "Statistics/01_level_3"},
        {"after 01..07", {"01_level_1", "02_level_1", "03_level_2", "04_level_2", "05_level_3", "06_level_3", "07_level_3_x"},
         "statistics", "", "Statistics/08_level_3"},
        {"a failed run", {"01_level_3"}, "statistics", "x", "Statistics/02_level_3_x"},
        {"no digits", {"ab"}, "statistics", "", "Statistics/01_level_3"},
        {"hidden ignored", {".99", "09_level_1"}, "statistics", "", "Statistics/10_level_3"},
        {"past 99", {"99_level_1", "100_level_2", "98_level_1"}, "statistics", "", "Statistics/101_level_3"},
        {"upper-case folder", {"04_level_1"}, "STATISTICS", "", "Statistics/05_level_3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        if (c.statisticsName) fs::create_directories(m_folder / c.statisticsName);
        for (const char* n : c.existing) fs::create_directories(m_folder / c.statisticsName / n);
        cStatistics& s = make();
        s.setLevel(3);
        if (*c.result) s.markFailed();
        ASSERT_TRUE(s.makeFolder());
        EXPECT_EQ(s.getFolder(), c.folder);
    }
    m_stats.reset();
    fs::remove_all(m_folder);
    EXPECT_FALSE(make().makeFolder());  // the common folder cannot be listed
}

TEST_F(Statistics, WritesThreeLogsIntoTheNextFolderAndResets) {
    makeFolders({"01_level_2"});
    cStatistics& s = make();
    ASSERT_TRUE(s.isEnabled());
    s.startRecord(cStringA("Bo"));
    s.setLevel(3);
    s.countDeliverCombo(4);
    const std::string level = s.levelLogText(), mood = s.moodLogText(), combo = s.comboLogText();
    s.writeLogs();
    fs::path dir = m_folder / "statistics" / "02_level_3";
    EXPECT_EQ(read(dir / "level.log"), level);
    EXPECT_EQ(read(dir / "mood.log"), mood);
    EXPECT_EQ(read(dir / "combo.log"), combo);
    EXPECT_TRUE(m_log.empty());
    EXPECT_NE(s.levelLogText().find("user_name = \n"), std::string::npos);  // reset after writing
    s.setLevel(3);
    s.writeLogs();
    EXPECT_TRUE(fs::exists(m_folder / "statistics" / "03_level_3" / "combo.log"));
}

TEST_F(Statistics, DisabledOrUnwritableLogsAreSkippedSafely) {
    m_enabled = false;
    cStatistics& off = make();
    off.setLevel(1);
    off.countTakeCombo(2);
    off.writeLogs();
    EXPECT_FALSE(fs::exists(m_folder / "statistics"));
    EXPECT_EQ(off.comboLogText().find(" = 1"), std::string::npos);

    m_enabled = true;
    cStatistics& s = make();
    s.setLevel(5);
    // A file stands where the record's folder would go.
    fs::create_directories(m_folder / "statistics");
    std::ofstream(m_folder / "statistics" / "01_level_5") << "in the way";
    EXPECT_NO_THROW(s.writeLogs());
    EXPECT_EQ(m_log.size(), 3u);
    for (const auto& line : m_log) EXPECT_NE(line.find("01_level_5"), std::string::npos) << line;
}
