#pragma once
// Level numbers and file names that the game fixes, in one place: the game code, the demo
// data generator and the tests all read them from here.

#include <array>
#include <cstdint>

namespace game {

// The campaign: three worlds of twenty levels each.
inline constexpr int kWorldCount = 3;
inline constexpr int kLevelsPerWorld = 20;
inline constexpr int kLevelCount = kWorldCount * kLevelsPerWorld;  // 60 slots per profile

// First level of a world (1-based world).
constexpr int firstLevelOfWorld(int world) { return (world - 1) * kLevelsPerWorld + 1; }
// World of a level 1..60.
constexpr int worldOfLevel(int level) { return (level - 1) / kLevelsPerWorld + 1; }

// Tutorial levels (world 1, normal mode only).
inline constexpr std::array<int, 4> kTutorialLevels = {1, 2, 3, 4};
// Hints of each tutorial level, in the order of kTutorialLevels: the sections of its hints file
// and its bubble textures "<level>hintNN.dds", NN = 01 up to this count.
inline constexpr std::array<int, 4> kTutorialHintCounts = {12, 14, 9, 11};
// Levels at whose start a comic is shown (world starts): comics 1 to 3; the last comic,
// kComicCount, follows the last level.
inline constexpr std::array<int, 3> kComicLevels = {1, 21, 41};
inline constexpr int kComicCount = 4;
// Levels after which a mini game is played.
inline constexpr std::array<int, 6> kMiniGameLevels = {7, 14, 27, 34, 47, 54};
// Levels with fireworks during play (full effects on).
inline constexpr std::array<int, 4> kFireworkLevels = {42, 48, 54, 60};
// From this level on both cotton candy machines start at least at upgrade 2.
inline constexpr int kCottonUpgradeFromLevel = 41;

// Level packs, as resource names (lookups are case-insensitive; on disk all lower case).
inline constexpr const char* kPackEasyWorld1 = "Packs/1/pack.qpk";
inline constexpr const char* kPackHardWorld1 = "Packs/1/pack2.qpk";
inline constexpr const char* kPackWorld2 = "Packs/2/pack.qpk";
inline constexpr const char* kPackWorld3 = "Packs/3/pack.qpk";
inline constexpr std::array<const char*, 3> kPacksEasy = {kPackEasyWorld1, kPackWorld2, kPackWorld3};
inline constexpr std::array<const char*, 3> kPacksHard = {kPackHardWorld1, kPackWorld2, kPackWorld3};
// Every pack file the game may load, as written to the Data folder.
inline constexpr std::array<const char*, 4> kPackFilesOnDisk = {
    "packs/1/pack.qpk", "packs/1/pack2.qpk", "packs/2/pack.qpk", "packs/3/pack.qpk"};

// Path graph of a level: kPathsPrefix + sauces (0/1) + "p" + sub places (0..3) + ".xml".
inline constexpr const char* kPathsPrefix = "Packs/Paths/s";

// Save file and the temporary file it is written through.
inline constexpr const char* kSaveFile = "$common$/data.ssp";
inline constexpr const char* kSaveTempFile = "$common$/temp_data.ssp";
inline constexpr const char* kSaveFileName = "data.ssp";
inline constexpr const char* kSaveTempFileName = "temp_data.ssp";
// A save file that could not be read or was damaged is kept beside it before a save replaces
// it: the first as "data_damaged.ssp", later ones as "data_damaged_2.ssp" and so on, never
// over an earlier copy. When all kSaveDamagedCopies names are taken, nothing is saved.
inline constexpr const char* kSaveDamagedFileName = "data_damaged.ssp";
inline constexpr int kSaveDamagedCopies = 99;
inline constexpr int32_t kSaveMagic = 0x5353;

// Statistics logs.
inline constexpr const char* kStatisticsFolder = "Statistics";

// Highest order code of a customer in the level script (0 = no order).
inline constexpr int kMaxOrderCode = 24;
// Highest customer kind in the level script.
inline constexpr int kMaxCustomerKind = 8;

}  // namespace game
