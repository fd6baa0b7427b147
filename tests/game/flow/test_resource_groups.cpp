// The resource groups over a real data folder: folder scans, the sound declarations, the
// loading screens of the main menu's entries, and the world list against the loaded files.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/flow/cStartLoader.h"
#include "tests/game/flow/test_game_env.h"

namespace {

int g_frames = 0;
void countFrame() {
    ++g_frames;
    platform::advanceTestClock(16);
}

class Groups : public ::testing::Test {
protected:
    void SetUp() override {
        genv.startCore();
        getLogic()->setFrameHook(countFrame);
    }
    game_test::GameEnvironment genv;
};

std::set<std::string> lowerNames(const cFileList& list) {
    std::set<std::string> out;
    for (const auto& r : list) out.insert(game_test::lower(r.name));
    return out;
}

}  // namespace

TEST_F(Groups, AScanNamesEachFileOnceInTheFileManagersOrder) {
    genv.data.writeTexture("game/characters/07/walk.dds", 4, 4, 0xFFFFFFFFu);
    genv.data.writeTexture("game/characters/07/sub/stand.dds", 4, 4, 0xFFFFFFFFu);
    getFileManager()->rescan();
    cResourceGroupManager groups;
    cFileList list;
    groups.scanFolder("Game/Characters/07", list, true, GROUP_WORLD);
    groups.scanFolder("game/characters/07", list, true, GROUP_WORLD);  // again: nothing new
    EXPECT_EQ(lowerNames(list), (std::set<std::string>{"game/characters/07/sub/stand.dds", "game/characters/07/walk.dds"}));
    EXPECT_EQ(list.size(), 2u);
    for (const auto& r : list) EXPECT_EQ(r.group, GROUP_WORLD);
    // A folder that is not there scans nothing.
    cFileList none;
    groups.scanFolder("Game/Characters/99", none, true, GROUP_WORLD);
    EXPECT_TRUE(none.empty());
}

TEST_F(Groups, TheWorldDifferenceNeverUnloadsAFileStillInUse) {
    genv.data.writeTexture("game/characters/07/walk.dds", 4, 4, 0xFFFFFFFFu);
    genv.data.writeTexture("game/worlds/1/items/drink01.dds", 4, 4, 0xFFFFFFFFu);
    getFileManager()->rescan();
    cResourceGroupManager groups;
    world_textures::Upgrades u;
    cFileList list;
    groups.buildWorldList(1, 4, u, list);
    groups.loadList(list, 0, nullptr);
    ASSERT_TRUE(getResourceManager()->isLoaded("Game/Characters/07/walk.dds"));
    ASSERT_TRUE(getResourceManager()->isLoaded("Game/Interface/Hints/4hint11.dds"));
    groups.loadWorld(1, false);  // level 4 again: nothing changes
    groups.buildWorldList(1, 5, u, list = {});
    groups.loadList(list, 0, nullptr);
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Characters/07/walk.dds"));
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Worlds/1/Items/drink01.dds"));
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Worlds/1/Interior/Room/light_evening_door.dds"));
    EXPECT_FALSE(getResourceManager()->isLoaded("Game/Interface/Hints/4hint11.dds"));
    EXPECT_FALSE(getResourceManager()->isLoaded("Game/Interface/Hints/hint_arrow.dds"));
    // Leaving the game state unloads the world and forgets it.
    groups.unloadGame();
    EXPECT_FALSE(getResourceManager()->isLoaded("Game/Characters/07/walk.dds"));
    EXPECT_TRUE(groups.getLoadedWorld().empty());
}

TEST_F(Groups, SoundDeclarationsLoadUpToTheFirstGap) {
    genv.data.writeIni("config/test/sounds.ini",
                       "[SOUND_1]\nsound=\"sounds/test/click.ogg\"\nchanells=\"2\"\nvolume=\"50\"\n"
                       "[SOUND_2]\nsound=\"sounds/test/stream.ogg\"\nstreaming=\"1\"\n"
                       "[SOUND_4]\nsound=\"sounds/test/tone440.ogg\"\n");
    getFileManager()->rescan();
    cResourceGroupManager groups;
    groups.loadConfig();
    groups.loadSoundConfig("Config/Test/sounds.ini");
    EXPECT_TRUE(getSound()->isSampleLoaded("sounds/test/click.ogg"));
    EXPECT_EQ(getSound()->getSampleVolume("sounds/test/click.ogg"), 50);
    EXPECT_NE(getSound()->streamHandle("sounds/test/stream.ogg"), 0u);
    EXPECT_FALSE(getSound()->isSampleLoaded("sounds/test/stream.ogg"));
    EXPECT_FALSE(getSound()->isSampleLoaded("sounds/test/tone440.ogg"));  // after the gap
    // A declaration file that is not loaded is the resource manager's failure.
    EXPECT_ANY_THROW(groups.loadSoundConfig("Config/Test/none.ini"));
}

TEST_F(Groups, TheFirstMenuEntryRunsTheStartScreenLaterEntriesTheLoader) {
    for (int i = 0; i < 3; ++i) genv.data.writeTexture("menu/surfaces/screen" + std::to_string(i) + ".dds", 4, 4, 0xFF0000FFu);
    genv.data.writeTexture("game/effects/star.dds", 4, 4, 0xFF0000FFu);
    getFileManager()->rescan();
    cResourceGroupManager groups;
    groups.loadConfig();
    ASSERT_TRUE(groups.isFirstMenuEntry());
    cFileList common, surfaces;
    groups.loadGameCommon(common);
    groups.scanFolder("Menu/Surfaces", surfaces, true, GROUP_MENU);
    ASSERT_GE(surfaces.size(), 4u);
    g_frames = 0;
    groups.loadMenu();
    EXPECT_FALSE(groups.isFirstMenuEntry());
    EXPECT_TRUE(groups.areCommonFilesLoaded());
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Effects/star.dds"));
    EXPECT_EQ(getResourceManager()->find("Game/Effects/star.dds")->getGroup(), GROUP_STARTUP);
    // One frame per file (the common files and the menu surfaces), then the slide-out.
    const int files = static_cast<int>(common.size() + surfaces.size());
    EXPECT_EQ(g_frames, files + 1 + static_cast<int>(cStartLoader::lastSlideFrames()));
    EXPECT_GT(cStartLoader::lastSlideFrames(), 5u);
    groups.unloadMenu();
    EXPECT_FALSE(getResourceManager()->isLoaded("Menu/Surfaces/screen0.dds"));
    g_frames = 0;
    groups.loadMenu();  // only the menu, one frame per file, no slide-out
    EXPECT_EQ(g_frames, static_cast<int>(surfaces.size()));
    EXPECT_TRUE(getResourceManager()->isLoaded("Menu/Surfaces/screen0.dds"));
    // With more steps than files, every file is one step; with none, no frames at all.
    cFileList list = {{"Menu/Surfaces/screen1.dds", GROUP_MENU}};
    g_frames = 0;
    groups.loadList(list, 10, nullptr);
    EXPECT_EQ(g_frames, 1);
    groups.loadList(list, 0, nullptr);
    groups.loadList(cFileList(), 5, nullptr);
    EXPECT_EQ(g_frames, 1);
}
