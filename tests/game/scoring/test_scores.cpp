// The score table: prices, runs of equal actions with their sounds, pictures and statistics,
// the bonus-mode extras, the penalty and the configuration file by world.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/core/cIniFile.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/cFxFlyScore.h"
#include "game/effects/cFxFlyScorePic.h"
#include "game/restaurant/ItemId.h"
#include "game/scoring/cScoreTable.h"
#include "game/scoring/cTempBonuses.h"
#include "tests/game/scoring/LevelTestSupport.h"

namespace {

using level_test::LevelTest;

class Scores : public LevelTest {
protected:
    std::unique_ptr<cScoreTable> table;
    void make() {
        makeData({});
        table = std::make_unique<cScoreTable>(makeLevel());
    }
    void TearDown() override {
        table.reset();
        LevelTest::TearDown();
    }
};

TEST_F(Scores, ProductPricesFollowTheSubFormula) {
    make();
    struct Case {
        ItemId item;
        int32_t points;
    } cases[] = {
        {ITEM_DRINK, 10}, {ITEM_CAKE, 20}, {ITEM_SNACK, 30}, {ITEM_COTTON_CANDY_1, 50}, {ITEM_COTTON_CANDY_2, 50},
        {ITEM_COFFEE, 40}, {ITEM_COFFEE_CREAM, 45}, {ITEM_SAUCE_1, 0}, {ITEM_SAUCE_3, 0}, {ITEM_NONE, 0},
        {11, 100},               // raw plain bread 1
        {12, 103},               // baked plain bread 1
        {34, 200 + 2 * 7 + 3},   // baked bread 2 with two sauces
        {27, 200 + 7 * 1 + 0},   // raw bread 2, one sauce
        {52, 300 + 2 * 7 + 3},   // the last sub
        {ITEM_MONEY, 0}, {ITEM_WAITING, 0}, {ITEM_ORDER_TAKEN, 0}, {-1, 0}, {99, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(table->getProductPoints(c.item), c.points) << "item " << c.item;
    EXPECT_EQ(table->getEntry(SCORE_STAR), 25);
    EXPECT_EQ(table->getEntry(SCORE_ENTRY_COUNT), 0);
    EXPECT_EQ(table->getEntry(-1), 0);
}

TEST_F(Scores, RunsClimbTheSoundLadderShowPicturesAndCountCombos) {
    make();
    const cVector2 at(100, 200);
    enum Act { T, D, P };
    struct Step {
        Act act;
        int run;
        const char* sound;
        bool picture;   // a combo picture rather than a plain flying score
    } steps[] = {
        {T, 1, "sounds/game/waiter_takes.ogg", false},       {T, 2, "sounds/game/waiter_takes2.ogg", true},
        {T, 3, "sounds/game/waiter_takes3.ogg", true},       {D, 1, "sounds/game/waiter_brings.ogg", false},
        {T, 1, "sounds/game/waiter_takes.ogg", false},       {P, 1, "sounds/game/waiter_money_take.ogg", false},
        {P, 2, "sounds/game/waiter_money_take2.ogg", true},  {D, 1, "sounds/game/waiter_brings.ogg", false},
        {D, 2, "sounds/game/waiter_brings2.ogg", true},
    };
    int32_t score = 0;
    for (const Step& s : steps) {
        const size_t pictures = live<cFxFlyScorePic>(), texts = live<cFxFlyScore>();
        if (s.act == T) table->awardTake(at), score += 4;
        if (s.act == D) table->awardDeliver(at), score += 6;
        if (s.act == P) table->awardPay(at, 33), score += 33;
        EXPECT_EQ(table->getRun(), s.run);
        EXPECT_EQ(sound->played.back(), s.sound);
        EXPECT_EQ(live<cFxFlyScorePic>(), pictures + (s.picture ? 1 : 0)) << s.sound;
        EXPECT_EQ(live<cFxFlyScore>(), texts + (s.picture ? 0 : 1)) << s.sound;
        EXPECT_EQ(data->getScore(), score) << "no extras outside the bonus mode";
    }
    const std::string log = statistics->comboLogText();
    EXPECT_NE(log.find("take_2 = 1\ntake_3 = 1\n"), std::string::npos) << log;
    EXPECT_NE(log.find("deliver_2 = 1\n"), std::string::npos) << log;
    EXPECT_NE(log.find("money_2 = 1\n"), std::string::npos) << log;
    // The effects fly from the table's position shifted by (80, 30).
    const auto* first = static_cast<cSprite*>(cEffectRegistry<cFxFlyScorePic>::instances().begin()->second);
    EXPECT_FLOAT_EQ(first->getPosition().x, 180.0f);
    EXPECT_FLOAT_EQ(first->getPosition().y, 230.0f);
}

TEST_F(Scores, RunsCapAtSixAndEarnComboExtrasOnlyInBonusMode) {
    make();
    makeBar()->mode = true;
    const int32_t extras[] = {10, 20, 30, 40, 50, 60, 60, 60};
    int32_t score = 0;
    for (int i = 0; i < 8; ++i) {
        const size_t pictures = live<cFxFlyScorePic>();
        table->awardTake(cVector2(0, 0));
        score += 4 + extras[i];
        EXPECT_EQ(table->getRun(), std::min(i + 1, 6));
        EXPECT_EQ(data->getScore(), score) << "take " << i + 1;
        EXPECT_EQ(live<cFxFlyScorePic>(), pictures) << "bonus mode shows texts, not pictures";
    }
    EXPECT_EQ(sound->played[6], "sounds/game/waiter_takes6.ogg");
    EXPECT_EQ(sound->played[7], "sounds/game/waiter_takes6.ogg");
    EXPECT_NE(statistics->comboLogText().find("take_6 = 3\n"), std::string::npos);
}

TEST_F(Scores, PenaltyBreaksTheRunAndNeverTakesTheScoreBelowZero) {
    make();
    table->awardTake(cVector2(0, 0));
    data->setScore(30);
    const size_t texts = live<cFxFlyScore>();
    table->applyPenalty(cVector2(5, 6));
    EXPECT_EQ(data->getScore(), 0) << "30 - 50 stops at 0";
    EXPECT_EQ(live<cFxFlyScore>(), texts + 1);
    table->awardTake(cVector2(0, 0));
    EXPECT_EQ(table->getRun(), 1) << "the penalty broke the run";
    data->setScore(80);
    table->applyPenalty(cVector2(5, 6));
    EXPECT_EQ(data->getScore(), 30) << "the negative entry is added";

    // A penalty of 0 or more does nothing at all: no score, no text, the run goes on.
    table.reset();
    replaceIni("Config/Game/scores1.ini", level_test::scoresIni(20));
    table = std::make_unique<cScoreTable>(makeLevel());
    table->awardTake(cVector2(0, 0));
    const int32_t before = data->getScore();
    const size_t shown = live<cFxFlyScore>();
    table->applyPenalty(cVector2(5, 6));
    table->awardTake(cVector2(0, 0));
    EXPECT_EQ(table->getRun(), 2);
    EXPECT_EQ(data->getScore(), before + 4);
    EXPECT_EQ(live<cFxFlyScore>(), shown);
}

TEST_F(Scores, FileByWorldMissingFileFailsNamingItMissingKeysReadZero) {
    EXPECT_EQ(cScoreTable::fileName(1), "Config/Game/scores1.ini");
    EXPECT_EQ(cScoreTable::fileName(2), "Config/Game/scores2.ini");
    EXPECT_EQ(cScoreTable::fileName(3), "Config/Game/scores3.ini");
    makeData({});
    replaceIni("Config/Game/scores1.ini", "[SCORES]\ntake=\"9\"\n");
    {
        cScoreTable sparse(makeLevel());
        EXPECT_EQ(sparse.getEntry(SCORE_TAKE), 9);
        EXPECT_EQ(sparse.getEntry(SCORE_DELIVER), 0);
        EXPECT_EQ(sparse.getProductPoints(34), 0);
    }
    resources->unload(cStringA("Config/Game/scores1.ini"));
    try {
        cScoreTable missing(makeLevel());
        FAIL() << "no failure";
    } catch (const std::string& text) {
        EXPECT_NE(cStringA(text).toLower().find("scores1.ini"), std::string::npos) << text;
    } catch (const cStringA& text) {
        EXPECT_NE(text.toLower().find("scores1.ini"), std::string::npos) << text;
    }
    EXPECT_EQ(getScores(), nullptr) << "a failed construction leaves no table behind";
}

}  // namespace

namespace {

// The shipped score and bonus files: every key the two classes read is there, every number
// reads, and each world's penalty is negative (a penalty of 0 or more would never apply).
std::unique_ptr<cIniFile> shippedIni(const std::string& name) {
    std::ifstream in(std::filesystem::path(RW_DIST_DIR) / "Data" / cStringA(name).makeLower().str(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return nullptr;
    return cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(name));
}

int32_t shippedNumber(const cIniFile& ini, const std::string& file, const wchar_t* section, const std::wstring& key) {
    int32_t v = INT32_MIN;
    stringToInt(&v, ini.getValue(cStringW(section), cStringW(key)));
    if (v == INT32_MIN) ADD_FAILURE() << file << ": [" << wideToUtf8(section) << "] " << wideToUtf8(key) << " is missing";
    return v;
}

TEST(ScoreData, ShippedFilesHoldEveryKey) {
    for (int world = 1; world <= 3; ++world) {
        const std::string file = cScoreTable::fileName(world);
        auto ini = shippedIni(file);
        ASSERT_NE(ini, nullptr) << file << " is missing";
        for (const wchar_t* key : {L"drink_1", L"cake_1", L"snack_1", L"coffee_1", L"cream", L"cotton_candy", L"sub_1",
                                   L"sub_2", L"sub_3", L"souse_1", L"heating", L"deliver", L"take", L"tip1", L"tip2",
                                   L"star"})
            EXPECT_GT(shippedNumber(*ini, file, L"SCORES", key), 0) << file << " " << wideToUtf8(key);
        EXPECT_LT(shippedNumber(*ini, file, L"SCORES", L"penalty"), 0) << file;
        for (const wchar_t* key : {L"take", L"deliver", L"pay"})
            EXPECT_FALSE(ini->getValue(L"STRINGS", key).empty()) << file << " " << wideToUtf8(key);
        for (int n = 1; n <= 6; ++n)
            for (const char* prefix : {"take_", "deliver_", "money_"})
                EXPECT_GE(shippedNumber(*ini, file, L"COMBO", cStringA(prefix + std::to_string(n)).toWide()), 0);
    }
    const std::string file = cTempBonuses::kFileName;
    auto ini = shippedIni(file);
    ASSERT_NE(ini, nullptr) << file << " is missing";
    for (const wchar_t* key : {L"tempo_perc", L"bonus_time", L"bonus_delay"})
        EXPECT_GT(shippedNumber(*ini, file, L"BONUS", key), 0) << wideToUtf8(key);
    for (int n = 1; n <= 6; ++n)
        for (const char* prefix : {"take_", "deliver_", "pay_"})
            EXPECT_GT(shippedNumber(*ini, file, L"COMBO", cStringA(prefix + std::to_string(n)).toWide()), 0);
}

}  // namespace
