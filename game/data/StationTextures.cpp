#include "game/data/StationTextures.h"

namespace station_textures {

namespace {

using world_textures::bandSuffix;
using world_textures::Upgrades;

std::string name(const std::string& folder, const std::string& file) { return folder + file + ".dds"; }

std::string built(int upgrade, const std::string& texture) { return upgrade != 0 ? texture : std::string(); }

Oven ovenNames(int set, int index, const Upgrades& u, const std::string& f) {
    const int upgrade = index == 1 ? u.oven1 : u.oven2;
    Oven o;
    if (upgrade == 0) return o;
    const std::string s = bandSuffix(upgrade);
    o.open = name(f, "open" + s);
    o.work = name(f, "work" + s);
    o.progress = name(f, "progress" + s);
    if (index == 2) o.base = name(f, "base" + s);
    if (index == 1 && upgrade <= 1 && set == 2 && u.oven2 == 0) {
        o.open = name(f, "open");
        o.work = name(f, "work");
    }
    return o;
}

Cotton cottonNames(int set, int world, const Upgrades& u, const std::string& f) {
    Cotton c;
    const int l1 = u.cotton1, l2 = u.cotton2;
    c.installed[0] = l1 >= 1;
    c.installed[1] = l2 >= 1;
    c.itemParts = (world == 3 || (world == 2 && l1 >= 3)) && c.installed[0] && c.installed[1];
    if (set == 1) {
        const std::string s = l1 >= 2 ? "02" : "01";
        c.stand = name(f, "stand" + s);
        c.work[0] = name(f, "work1" + s);
        c.lid = name(f, l1 == 0 ? std::string("no_service") : "lid" + s);
        c.item[0] = name(f, "item1" + s);
        c.reduced = l1 >= 2;
    } else if (l2 == 0) {
        c.stand = name(f, "stand01");
        c.work[0] = name(f, "work101");
        c.lid = name(f, "lid01");
        c.item[0] = name(f, "item101");
    } else {
        const std::string s = l1 >= 3 ? "03" : l1 == 2 ? "02" : "01";
        const std::string item = l1 >= 2 ? "02" : "01";
        c.stand = name(f, "stand" + s);
        c.work[0] = name(f, "work1" + s);
        c.work[1] = name(f, "work2" + s);
        c.lid = name(f, "lid" + s);
        c.item[0] = name(f, "item1" + item);
        c.item[1] = name(f, "item2" + item);
        c.reduced = l1 >= 3 || (l1 == 2 && world == 2);
    }
    // A machine 2 that the table gives no pictures works and serves with machine 1's.
    if (c.work[1].empty()) c.work[1] = c.work[0];
    if (c.item[1].empty()) c.item[1] = c.item[0];
    if (!c.installed[1]) c.work[1].clear(), c.item[1].clear();
    auto band = [](int level, int high) { return level >= 3 ? high : level == 2 ? high - 1 : high - 2; };
    if (c.installed[0])
        c.choice[0] = name(f, "cottoncandy1" + std::string("0") + std::to_string(band(l1, c.installed[1] ? 4 : 3)));
    if (c.installed[1]) c.choice[1] = name(f, "cottoncandy20" + std::to_string(band(l2, 4)));
    if (c.itemParts) {
        c.part[0] = name(f, "item103");
        c.part[1] = name(f, "item203");
    }
    return c;
}

}  // namespace

bool isSauceBuilt(int sauce, int world, const Upgrades& u) {
    const int upgrades[3] = {u.sauce1, u.sauce2, u.sauce3};
    return sauce >= 1 && sauce <= 3 && upgrades[sauce - 1] != 0 && world >= sauce;
}

int sauceUpgradeCount(const Upgrades& u) { return (u.sauce1 != 0) + (u.sauce2 != 0) + (u.sauce3 != 0); }

Names names(int graphicsSet, int world, const Upgrades& u) {
    const int set = world_textures::worldOfGraphicsSet(graphicsSet);
    const std::string w = world_textures::worldFolder(set);
    Names n;
    n.drink = built(u.drink, name(w + "Drink_St/", std::string("drink") + bandSuffix(u.drink)));
    n.cakeCover = built(u.cake, name(w + "Cake_St/", std::string("cover") + bandSuffix(u.cake)));
    n.cakeTable = built(u.cake, name(w + "Cake_St/", std::string("table") + bandSuffix(u.cake)));
    n.snack = built(u.snack, name(w + "Snack_St/", std::string("snack") + bandSuffix(u.snack)));
    n.cream = built(u.cream, name(w + "Cream_St/", "cream01"));
    n.trash = name(w + "Trash/", "trash01");
    const std::string c = world_textures::coffeeSuffix(u.coffee);
    n.coffeeStand = built(u.coffee, name(w + "Coffee_St/", "stand" + c));
    n.coffeeWork = built(u.coffee, name(w + "Coffee_St/", "work" + c));
    n.coffeeGlow = built(u.coffee, name(w + "Coffee_St/", "glow" + c));
    const int sauces[3] = {u.sauce1, u.sauce2, u.sauce3};
    for (int k = 1; k <= 3; ++k)
        if (isSauceBuilt(k, world, u))
            n.sauce[k - 1] = name(w + "Souse_St/", "souse" + std::to_string(k) + bandSuffix(sauces[k - 1]));
    for (int k = 1; k <= 2; ++k) n.oven[k - 1] = ovenNames(set, k, u, w + "Oven/");
    n.cotton = cottonNames(set, world, u, w + "CottonCandy_St/");
    return n;
}

std::vector<std::string> files(int graphicsSet, int world, const Upgrades& u) {
    const Names n = names(graphicsSet, world, u);
    std::vector<std::string> out;
    auto add = [&](const std::string& s) {
        if (s.empty()) return;
        for (const std::string& have : out)
            if (have == s) return;
        out.push_back(s);
    };
    for (const std::string* s : {&n.drink, &n.cakeCover, &n.cakeTable, &n.snack, &n.cream, &n.trash, &n.coffeeStand,
                                 &n.coffeeWork, &n.coffeeGlow, &n.sauce[0], &n.sauce[1], &n.sauce[2]})
        add(*s);
    for (const Oven& o : n.oven)
        for (const std::string* s : {&o.open, &o.work, &o.progress, &o.base}) add(*s);
    const Cotton& t = n.cotton;
    for (const std::string* s : {&t.stand, &t.lid, &t.work[0], &t.work[1], &t.item[0], &t.item[1], &t.choice[0],
                                 &t.choice[1], &t.part[0], &t.part[1]})
        add(*s);
    return out;
}

}  // namespace station_textures
