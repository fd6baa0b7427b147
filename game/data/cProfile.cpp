#include "game/data/cProfile.h"

#include <algorithm>
#include <cstring>

#include "engine/core/cStream.h"

namespace {

void putInt(std::vector<uint8_t>& out, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putName(std::vector<uint8_t>& out, const char16_t* name, int units) {
    for (int i = 0; i < units; ++i) {
        out.push_back(static_cast<uint8_t>(name[i] & 0xFF));
        out.push_back(static_cast<uint8_t>(name[i] >> 8));
    }
}

// Reads little-endian fields from a buffer whose size was checked beforehand.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    int32_t readInt() {
        need(4);
        uint32_t v = readLE32(m_data + m_pos);
        m_pos += 4;
        return static_cast<int32_t>(v);
    }
    void readName(char16_t* name, int units) {
        need(static_cast<size_t>(units) * 2);
        for (int i = 0; i < units; ++i)
            name[i] = static_cast<char16_t>(readLE16(m_data + m_pos + 2 * i));
        m_pos += static_cast<size_t>(units) * 2;
        name[units - 1] = 0;
    }

private:
    void need(size_t n) {
        if (m_size - m_pos < n) throw "Save file is truncated.";
    }
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

int32_t clampInt(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

void copyNameField(char16_t* field, int units, const std::wstring& text) {
    int n = 0;
    for (size_t i = 0; i < text.size() && n < units - 1; ++i) {
        char16_t c = static_cast<char16_t>(text[i]);
        bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high) {
            // A surrogate pair goes in whole or not at all.
            if (n + 2 > units - 1 || i + 1 >= text.size()) break;
            field[n++] = c;
            field[n++] = static_cast<char16_t>(text[++i]);
            continue;
        }
        field[n++] = c;
    }
    for (; n < units; ++n) field[n] = 0;
}

std::wstring nameFieldToWide(const char16_t* field, int units) {
    std::wstring out;
    for (int i = 0; i < units && field[i] != 0; ++i) out.push_back(static_cast<wchar_t>(field[i]));
    return out;
}

std::wstring cHighscore::getName() const { return nameFieldToWide(name, kNameUnits); }
void cHighscore::setName(const std::wstring& text) { copyNameField(name, kNameUnits, text); }

cProfile::cProfile() : name{}, level(1), reachedLevel(1), markedLevel(1), difficulty(-1) {
    std::memset(values, 0, sizeof(values));
    for (int k = 0; k < game::kLevelCount; ++k) {
        values[PA_MINIGAME_VARIANT][k] = -1;
        if (k + 1 >= game::kCottonUpgradeFromLevel) {
            values[PA_COTTON_1][k] = 2;
            values[PA_COTTON_2][k] = 2;
        }
        values[PA_SUB_1][k] = 1;
        values[PA_SUB_PLACE_1][k] = 1;
        for (int a = PA_SANDWICH_MAKER; a <= PA_INTERIOR_2; ++a) values[a][k] = 1;
    }
}

std::wstring cProfile::getName() const { return nameFieldToWide(name, kNameUnits); }
void cProfile::setName(const std::wstring& text) { copyNameField(name, kNameUnits, text); }

std::vector<uint8_t> encodeSaveFile(const SaveImage& image) {
    std::vector<uint8_t> out;
    out.reserve(saveFileSize(image.profiles.size()));
    putInt(out, game::kSaveMagic);
    putInt(out, image.currentProfile);
    putInt(out, image.soundVolume);
    putInt(out, image.musicVolume);
    putInt(out, static_cast<int32_t>(image.profiles.size()));
    for (const cProfile& p : image.profiles) {
        putName(out, p.name, cProfile::kNameUnits);
        putInt(out, p.level);
        putInt(out, p.reachedLevel);
        putInt(out, p.markedLevel);
        putInt(out, p.difficulty);
        for (int a = 0; a < PA_COUNT; ++a)
            for (int k = 0; k < game::kLevelCount; ++k) putInt(out, p.values[a][k]);
    }
    const cHighscore empty;
    for (int i = 0; i < kSaveHighscoreCount; ++i) {
        const cHighscore& h = i < static_cast<int>(image.highscores.size()) ? image.highscores[i] : empty;
        putName(out, h.name, cHighscore::kNameUnits);
        putInt(out, h.score);
    }
    return out;
}

SaveImage decodeSaveFile(const uint8_t* data, size_t size) {
    if (!data || size < kSaveHeaderSize) throw "Save file is truncated.";
    Reader in(data, size);
    SaveImage image;
    int32_t magic = in.readInt();
    if (magic != game::kSaveMagic) throw "Save file has a wrong signature.";
    image.currentProfile = image.storedProfile = in.readInt();
    image.soundVolume = in.readInt();
    image.musicVolume = in.readInt();
    uint32_t count = static_cast<uint32_t>(in.readInt());
    // The count must be one the file's size can hold, and the size must match it exactly.
    size_t room = size < saveFileSize(0) ? 0 : (size - saveFileSize(0)) / cProfile::kRecordSize;
    if (count > room) throw "Save file is truncated or its profile count is invalid.";
    if (size != saveFileSize(count)) throw "Save file has a wrong size.";

    image.profiles.resize(count);
    for (cProfile& p : image.profiles) {
        in.readName(p.name, cProfile::kNameUnits);
        p.level = clampInt(in.readInt(), 1, game::kLevelCount);
        p.reachedLevel = clampInt(in.readInt(), 1, game::kLevelCount + 1);
        p.markedLevel = clampInt(in.readInt(), 1, game::kLevelCount + 1);
        p.difficulty = clampInt(in.readInt(), -1, 1);
        for (int a = 0; a < PA_COUNT; ++a)
            for (int k = 0; k < game::kLevelCount; ++k) p.values[a][k] = in.readInt();
    }
    if (count > 0) {
        image.highscores.resize(kSaveHighscoreCount);
        for (cHighscore& h : image.highscores) {
            in.readName(h.name, cHighscore::kNameUnits);
            h.score = in.readInt();
        }
    }
    if (image.currentProfile < 0 || image.currentProfile >= static_cast<int32_t>(count))
        image.currentProfile = count > 0 ? 0 : -1;
    image.soundVolume = clampInt(image.soundVolume, -1, 100);
    image.musicVolume = clampInt(image.musicVolume, -1, 100);
    return image;
}
