#pragma once
// A core over the demo data, the resource groups and the campaign's game data, with a shown and
// enabled root node under which a test builds its level (cLevel::Build::Play) for the game
// data's current level.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/flow/cLevel.h"
#include "game/flow/cResourceGroupManager.h"
#include "tests/game/flow/test_game_env.h"

namespace game_test {

class LevelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        genv = std::make_unique<GameEnvironment>();
        genv->startCore();
        if (HasFatalFailure()) return;
        try {
            groups = std::make_unique<cResourceGroupManager>();
            groups->loadStartup();
            groups->loadGame();
            data = std::make_unique<cGameData>(true, cStringA());
            statistics = std::make_unique<cStatistics>();
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            FAIL() << text;
        }
        root = new cSceneNode();
        root->show();
        root->enable();
    }
    void TearDown() override {
        delete level;
        delete root;
        if (genv) genv->frame();
        statistics.reset();
        data.reset();
        groups.reset();
        genv.reset();
    }
    // The world's files loaded and the level of the game data's current level built (null, with
    // the failure reported, when the build throws).
    cLevel* buildCurrent() {
        delete level;
        level = nullptr;
        data->makePathsFileName();
        try {
            groups->loadWorld(data->getGraphicsSet(), false);
            level = new cLevel(root, cLevel::Build::Play);
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            ADD_FAILURE() << "level " << data->getLevel() << ": " << text;
        }
        return level;
    }

    std::unique_ptr<GameEnvironment> genv;
    std::unique_ptr<cResourceGroupManager> groups;
    std::unique_ptr<cGameData> data;
    std::unique_ptr<cStatistics> statistics;
    cSceneNode* root = nullptr;
    cLevel* level = nullptr;
};

}  // namespace game_test
