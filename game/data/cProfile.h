#pragma once
// The record of one player: name, progress and 34 arrays of one value per level. Stored
// unchanged in the save file (8304 bytes, little-endian, UTF-16 name), together with the
// highscore table and the volumes (see encodeSaveFile / decodeSaveFile).

#include <cstdint>
#include <string>
#include <vector>

#include "game/data/GameConstants.h"
#include "game/data/cHighscore.h"

// The per-level arrays of a profile, by index. The value of level L is at [L - 1].
enum ProfileArray : int {
    PA_SHOP_SOLD_OUT = 0,
    PA_BEST_SCORE = 1,
    PA_EXPERT_REACHED = 2,
    PA_COUNTED_BEST_SCORE = 3,
    PA_MONEY_SPENT = 4,
    PA_MINIGAME_VARIANT = 5,
    PA_MINIGAME_PLAYED = 6,
    PA_MINIGAME_RESULT = 7,
    PA_DRINK = 8,
    PA_CAKE = 9,
    PA_SNACK = 10,
    PA_COFFEE = 11,
    PA_CREAM = 12,
    PA_COTTON_1 = 13,
    PA_COTTON_2 = 14,
    PA_OVEN_1 = 15,
    PA_OVEN_2 = 16,
    PA_SAUCE_1 = 17,
    PA_SAUCE_2 = 18,
    PA_SAUCE_3 = 19,
    PA_SUB_1 = 20,
    PA_SUB_2 = 21,
    PA_SUB_3 = 22,
    PA_SUB_PLACE_1 = 23,
    PA_SUB_PLACE_2 = 24,
    PA_SUB_PLACE_3 = 25,
    PA_SANDWICH_MAKER = 26,
    PA_WAITRESS = 27,
    PA_FLOOR = 28,
    PA_WALL = 29,
    PA_TABLES = 30,
    PA_COUNTER = 31,
    PA_INTERIOR_1 = 32,
    PA_INTERIOR_2 = 33,
    PA_COUNT = 34
};

// The level-pack attributes read into arrays PA_DRINK .. PA_SUB_PLACE_3, in array order.
inline constexpr const wchar_t* kUpgradeAttributes[] = {
    L"is_drink",    L"is_cake",     L"is_snack",    L"is_coffee",     L"is_cream",       L"is_cotton_1",
    L"is_cotton_2", L"is_oven_1",   L"is_oven_2",   L"is_souse_1",    L"is_souse_2",     L"is_souse_3",
    L"is_sub_1",    L"is_sub_2",    L"is_sub_3",    L"is_sub_place_1", L"is_sub_place_2", L"is_sub_place_3"};
static_assert(sizeof(kUpgradeAttributes) / sizeof(kUpgradeAttributes[0]) == PA_SUB_PLACE_3 - PA_DRINK + 1);

struct cProfile {
    static constexpr int kNameUnits = 64;
    static constexpr size_t kRecordSize = 8304;

    char16_t name[kNameUnits];
    int32_t level;
    int32_t reachedLevel;
    int32_t markedLevel;
    int32_t difficulty;  // -1 not chosen, 0 easy, 1 hard
    int32_t values[PA_COUNT][game::kLevelCount];

    // A new player: empty name, level 1 reached and marked, no difficulty, initial arrays.
    cProfile();

    std::wstring getName() const;
    // Copies the name, cut at a character boundary to fit 63 units, and terminates it.
    void setName(const std::wstring& text);
};
static_assert(sizeof(cProfile) == cProfile::kRecordSize, "profile record must be 8304 bytes");

// Copies text into a fixed UTF-16 name field of `units` units: at most units - 1 units, never
// splitting a surrogate pair, zero-filled after the text.
void copyNameField(char16_t* field, int units, const std::wstring& text);
std::wstring nameFieldToWide(const char16_t* field, int units);

// Everything the save file holds.
struct SaveImage {
    int32_t currentProfile = -1;
    int32_t storedProfile = -1;  // the index as the file holds it (decodeSaveFile may repair it)
    int32_t soundVolume = -1;
    int32_t musicVolume = -1;
    std::vector<cProfile> profiles;
    std::vector<cHighscore> highscores;  // best first; at most 10 are written
};

inline constexpr size_t kSaveHeaderSize = 20;
inline constexpr int kSaveHighscoreCount = 10;
// Size of a save file holding n profiles: 1340 + 8304 * n.
constexpr size_t saveFileSize(size_t profiles) {
    return kSaveHeaderSize + cProfile::kRecordSize * profiles + cHighscore::kRecordSize * kSaveHighscoreCount;
}

// The bytes of a save file. Highscore entries missing from the image are written empty.
std::vector<uint8_t> encodeSaveFile(const SaveImage& image);

// Reads a save file. Throws a text naming the fault when the bytes are not a whole save file
// (wrong magic, a size that does not match the profile count, a count the size cannot hold).
// Values a sound file cannot hold are repaired: a profile index outside the list selects the
// first profile (storedProfile keeps the index read), levels are kept within 1..60 (reached
// and marked level 1..61), names are terminated. A file with no profile yields no highscores.
SaveImage decodeSaveFile(const uint8_t* data, size_t size);
