// The default services of the game data and the statistics logger: the engine's managers.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "game/flow/cGameData.h"
#include "game/flow/cStatistics.h"

cGameData::Services cGameData::defaultServices() {
    Services s;
    s.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    return s;
}

cStatistics::Services cStatistics::defaultServices() {
    Services s;
    s.now = [] {
        std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return local;
    };
    s.gameTotal = [] { return getGameData() ? getGameData()->getTotalScore(game::kLevelCount) : 0; };
    return s;
}
