// Plays the input as a level pack: every level it holds is described, its upgrades are set
// up and its customers are read. Any input must give a text failure or a description, never a
// crash.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/core/cXmlNode.h"
#include "game/data/LevelPack.h"
#include "game/data/cGameData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<cXmlNode> pack;
    try {
        pack = cXmlNode::fromBytes(data, size, cStringA("packs/fuzz/pack.qpk"));
    } catch (...) {
        return 0;
    }
    auto& services = cGameData::services();
    services = cGameData::Services();
    services.getPack = [&](const cStringA&) -> const cXmlNode* { return pack.get(); };
    try {
        cGameData game(false, cStringA("Packs/fuzz/pack.qpk"));
        uint32_t count = std::min<uint32_t>(levelpack::countLevels(pack.get()), 70);
        for (uint32_t level = 1; level <= count; ++level) {
            game.setLevel(static_cast<int32_t>(level));
            game.initLevelUpgrades();
            const cXmlNode* node = game.getLevelNode();
            // A level that was accepted is described from its own element.
            if (!node || game.getLevelInWorld() != static_cast<uint32_t>(game.getLevel())) std::abort();
            for (int line = 1; line <= 6; ++line) {
                const cXmlNode* l = levelpack::child(node, ("Line_" + std::to_string(line)).c_str());
                for (int n = 1; l && n < 500; ++n) {
                    const cXmlNode* h = levelpack::child(l, ("Human_" + std::to_string(n)).c_str());
                    if (!h) break;
                    int32_t order = 0;
                    float at = 0;
                    levelpack::readInt(h, L"order_1", &order);
                    levelpack::readFloat(h, L"abs_time", &at);
                }
            }
            game.setScore(game.getGoal());
            game.recordLevelResult(true);
            (void)game.getCash(1, static_cast<int32_t>(level));
        }
    } catch (...) {
    }
    return 0;
}
