#pragma once
// The stations that serve without stock or production time: the drink (hands out 1), cake (2)
// and snack (3) stations, and the cream station, which turns a coffee in a hand (6) into a
// coffee with cream (7). The waitress decides whether a use happens; after one she calls
// setState(0), and the station answers with its use run and one queued play of its use sound.
// Their state stays 0.
//
// The cake station alone has a second picture, the table under its cover: not animated, with
// a highlight of its own (not centred), and a second flash on a bonus arrival.

#include "game/restaurant/cStation.h"

struct cServingKind;

class cServingStation : public cStation {
public:
    ~cServingStation() override;
    void update() override;
    // Both read the station's own files (the arguments are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;

    int32_t getKind() const override;
    // A use: starts the run and queues the sound; the value is not stored. Always true.
    bool setState(int32_t value) override;
    void updateHover(bool testMouse, bool value) override;
    void showClickEffect() override;

    // The cake's table part and its highlight; null for the other stations.
    cPicture* getTable() const { return m_table; }
    cHighlight* getTableHighlight() const { return m_table_highlight; }
    int pendingSounds() const { return m_sound.pending(); }

protected:
    cServingStation(cSceneNode* parent, const cServingKind& kind);

private:
    void loadConfig();

    const cServingKind& m_kind;
    cPicture* m_table = nullptr;
    cHighlight* m_table_highlight = nullptr;
    cUseSound m_sound;
};

class cDrinkStation : public cServingStation {
public:
    explicit cDrinkStation(cSceneNode* parent);
};

class cCakeStation : public cServingStation {
public:
    explicit cCakeStation(cSceneNode* parent);
};

class cSnackStation : public cServingStation {
public:
    explicit cSnackStation(cSceneNode* parent);
};

class cCreamStation : public cServingStation {
public:
    explicit cCreamStation(cSceneNode* parent);
};

// The configuration files of the four stations.
namespace station_files {
inline constexpr const char* kDrink = "Config/Game/o_drink_station.ini";
inline constexpr const char* kCake = "Config/Game/o_cake_station.ini";
inline constexpr const char* kSnack = "Config/Game/o_snack_station.ini";
inline constexpr const char* kCream = "Config/Game/o_cream_station.ini";
}  // namespace station_files
