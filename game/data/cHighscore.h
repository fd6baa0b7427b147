#pragma once
// One entry of the highscore table: a player name and a game total. Stored unchanged in the
// save file (132 bytes, little-endian, UTF-16 name).

#include <cstdint>
#include <string>

struct cHighscore {
    static constexpr int kNameUnits = 64;  // 63 characters and the terminating zero
    static constexpr size_t kRecordSize = 132;

    char16_t name[kNameUnits] = {};
    int32_t score = 0;

    std::wstring getName() const;
    // Copies the name, cut at a character boundary to fit 63 units, and terminates it.
    void setName(const std::wstring& text);
};
static_assert(sizeof(cHighscore) == cHighscore::kRecordSize, "highscore record must be 132 bytes");
