#pragma once
// A player's run through the campaign in the running game over the built Data folder: a new
// profile (easy or hard) started from the main menu, then every state as it comes: the comics
// turned with Enter, each level's start panel closed, the level played by the campaign player
// until its results, Enter on the results, the shop buying what the cash affords and left
// with Finish, the mini game played by clicking the objects its list names. The run records
// each level (score, goals, guests served and lost, whether it ended) and leaves the save file
// and the statistics logs the run wrote.
//
// The run's frames update the game without drawing (nothing the game decides depends on a
// drawn frame), every frame 50 ms of game time.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/game/flow/CampaignPlayer.h"
#include "tests/game/flow/test_game_fixture.h"

class cButton;
class cSprite;

namespace campaign_test {

struct LevelRecord {
    int level = 0;
    int attempt = 1;
    int score = 0;
    int goal = 0;
    int expert = 0;
    int served = 0;
    int lost = 0;
    bool ended = false;
    bool won = false;
    std::string failure;  // why the play stopped, when it did
};

struct RunOptions {
    int difficulty = 0;      // 0 easy, 1 hard
    int firstLevel = 1;      // levels before it are recorded as won before the run starts
    int lastLevel = 8;       // the run ends at the first level start after it (or at the end)
    int attempts = 2;        // plays of a lost level before the run gives up
};

// The records as a Markdown table, and that table written to the test output
// ("campaign/<name>.md") and printed.
std::string levelTable(const std::vector<LevelRecord>& records);
void writeLevelTable(const std::string& name, const std::vector<LevelRecord>& records);
// Every record ended, and every level reached its goal (a lost level at its next play).
void expectEveryLevelWon(const std::vector<LevelRecord>& records);

class CampaignRun : public game_test::GameFixture {
protected:
    void SetUp() override;

    // Plays the run; the records, in playing order. Fails the test where the game stalls.
    std::vector<LevelRecord> play(const RunOptions& options);
    // The save file and the statistics logs of the run (their paths under the test's folder
    // with their bytes), for comparing two runs.
    std::vector<std::pair<std::string, std::string>> writtenFiles() const;
    // Drops the game and builds it again from the save: the reached level and the cash carry on.
    void expectSaveCarriesOn();
    // A new program over new folders, as a player who starts the game again elsewhere.
    void newProgramRun();

    int shopsVisited = 0;
    int itemsBought = 0;
    int miniGamesPlayed = 0;

private:
    void prepareCore();
    void startProfile(const RunOptions& options);
    bool playLevel(std::vector<LevelRecord>* records, const RunOptions& options);
    bool playShop();
    bool playMiniGame();
    bool turnComics();
    // The run's frames: game logic without drawing (only a loading screen draws its own).
    void logicFrame();
    void frames(int n);
    template <class Cond>
    bool until(Cond&& cond, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            if (cond()) return true;
            logicFrame();
        }
        return cond();
    }
    void pressKey(uint8_t key);
    // Frames until the state is built and idle; a thrown text fails the test with its words.
    bool reachState(AppState state);
    bool clickButton(cButton* button);
    bool clickAt(const cVector2& point);

    restaurant_test::CampaignPlayer m_player{[this] { logicFrame(); }};
    int m_attempt = 1;
    int m_attemptLevel = 0;
};

}  // namespace campaign_test
