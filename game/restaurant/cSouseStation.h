#pragma once
// A sauce station: offers sauce 1, 2 or 3 (its state: 8, 9 or 10, fixed), side by side with
// the others at the counter. After the waitress has put its sauce on a sub she calls
// setState(0): one use run and one queued play of "sounds/game/souse<k>.ogg". It never refuses.
//
// Sauce k is built when its upgrade is not 0 and the world is k or more; its place is
// "position<i>" (i its 1-based place among the built ones) of "COUNT_SOUSE_<n>", n the number
// of non-zero sauce upgrades whatever the world; its picture follows its own upgrade.

#include <vector>

#include "game/restaurant/cStation.h"

class cSouseStation : public cStation {
public:
    cSouseStation(cSceneNode* parent, int positionIndex, int32_t sauce);
    ~cSouseStation() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    int32_t getKind() const override { return KIND_SOUSE_STATION; }
    bool setState(int32_t value) override;

    // The level's sauce stations, built in the order 1, 2, 3, each given the next place.
    static std::vector<cSouseStation*> buildAll(cSceneNode* level);

    int getPositionIndex() const { return m_position_index; }
    int pendingSounds() const { return m_sound.pending(); }

private:
    void loadConfig();

    int m_position_index;
    cUseSound m_sound;
};

inline constexpr const char* kSouseIni = "Config/Game/o_souse_station.ini";
