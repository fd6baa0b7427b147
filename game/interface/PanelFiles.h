#pragma once
// The files and sounds of the in-game panels, in one place for the panels, the demo data and
// the tests.

#include <cstdint>

namespace panel_files {

inline constexpr const char* kConfirmMenu = "Config/Game/gi_panel_confirm_menu.ini";
inline constexpr const char* kConfirmTry = "Config/Game/gi_panel_confirm_try.ini";
inline constexpr const char* kEsc = "Config/Game/gi_panel_esc.ini";
inline constexpr const char* kContinue = "Config/Game/gi_panel_continue.ini";
inline constexpr const char* kStatus = "Config/Game/gi_panel_status.ini";

inline constexpr const char* kWorldEasy1 = "Config/Game/world_1.ini";
inline constexpr const char* kWorldHard1 = "Config/Game/world_12.ini";
inline constexpr const char* kWorld2 = "Config/Game/world_2.ini";
inline constexpr const char* kWorld3 = "Config/Game/world_3.ini";

inline constexpr const char* kStatusLevelPicture = "Game/Interface/Surfaces/StatusPanel/level00.dds";

inline constexpr const char* kSoundAppear = "sounds/game_interface/panel_appear.ogg";
inline constexpr const char* kSoundDisappear = "sounds/game_interface/panel_disappear.ogg";
inline constexpr const char* kSoundClock = "sounds/game_interface/clock.ogg";
inline constexpr const char* kSoundGreat = "sounds/game_interface/level_great.ogg";
inline constexpr const char* kSoundGood = "sounds/game_interface/level_good.ogg";
inline constexpr const char* kSoundBad = "sounds/game_interface/level_bad.ogg";

// The world file of a level's graphics set: set 1 has an easy (difficulty 0) and a hard file.
// A set outside 1..3 takes the set-1 file.
inline const char* worldFile(int32_t graphicsSet, int32_t difficulty) {
    if (graphicsSet == 2) return kWorld2;
    if (graphicsSet == 3) return kWorld3;
    return difficulty == 0 ? kWorldEasy1 : kWorldHard1;
}

}  // namespace panel_files
