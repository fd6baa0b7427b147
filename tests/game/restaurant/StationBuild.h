#pragma once
// Builds every station a level installs, as the level does (the sauces in order, the ovens,
// the trash and the cotton stand always), and collects the pictures they set, for the tests
// that check names against the world list and the data folder.

#include <set>
#include <string>
#include <vector>

#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCoffeeStation.h"
#include "game/restaurant/cCottonCandy.h"
#include "game/restaurant/cCottonItem.h"
#include "game/restaurant/cCottonLights.h"
#include "game/restaurant/cCottonStation.h"
#include "game/restaurant/cOven.h"
#include "game/restaurant/cOvenProgress.h"
#include "game/restaurant/cServingStation.h"
#include "game/restaurant/cSouseStation.h"
#include "game/restaurant/cTrash.h"

namespace station_test {

struct BuiltStations {
    std::vector<cPicture*> stations;     // owned until release()
    std::set<std::string> pictures;      // every texture they set (pointer marks excluded)
    std::vector<cClickTarget*> targets;  // every clickable part, for placement checks

    void add(const cPicture* p) {
        if (p && !p->getPicture().isEmpty() && p->getPicture() != cStringA("Game/Interface/Surfaces/pointer.dds"))
            pictures.insert(p->getPicture().str());
    }
    void release() {
        for (cPicture* p : stations) delete p;
        stations.clear();
        targets.clear();
    }
};

// The stations of the current level look under the level; coffee shows its brewing picture
// too, the cotton stand its work pictures.
inline BuiltStations buildStations(cSceneNode* level) {
    BuiltStations b;
    const world_textures::Upgrades u = currentLevelLook().upgrades;
    auto keep = [&](cPicture* p, cClickTarget* t) {
        b.stations.push_back(p);
        b.targets.push_back(t);
        b.add(p);
    };
    if (u.drink) { auto* s = new cDrinkStation(level); keep(s, s); }
    if (u.snack) { auto* s = new cSnackStation(level); keep(s, s); }
    if (u.cream) { auto* s = new cCreamStation(level); keep(s, s); }
    if (u.cake) {
        auto* cake = new cCakeStation(level);
        keep(cake, cake);
        b.add(cake->getTable());
    }
    if (u.coffee) {
        auto* coffee = new cCoffeeStation(level);
        keep(coffee, coffee);
        b.add(coffee->getGlow());
        for (int i = 0; i < 2; ++i) b.add(coffee->getSteam(i));
        coffee->setState(0);
        b.add(coffee);
    }
    for (cSouseStation* s : cSouseStation::buildAll(level)) keep(s, s);
    for (int k = 1; k <= 2; ++k)
        if ((k == 1 ? u.oven1 : u.oven2) != 0) {
            auto* oven = new cOven(level, k);
            keep(oven, oven);
            b.add(oven->getProgress());
            b.add(oven->getBase());
            b.add(oven->getSteam());
        }
    auto* trash = new cTrash(level);
    keep(trash, trash);
    auto* stand = new cCottonStation(level);
    keep(stand, stand);
    b.add(stand->getLid());
    b.add(stand->getLight());
    for (int p = 0; p < 2; ++p) {
        if (stand->getCandy(p)) b.add(stand->getCandy(p)), b.targets.push_back(stand->getCandy(p));
        if (stand->getItemPart(p)) b.add(stand->getItemPart(p)), b.targets.push_back(stand->getItemPart(p));
        if (p < stand->getMachineCount()) {
            b.add(stand->getItemPicture(p));
            if (!stand->getWorkPicture(p).isEmpty()) b.pictures.insert(stand->getWorkPicture(p).str());
        }
    }
    return b;
}

}  // namespace station_test
