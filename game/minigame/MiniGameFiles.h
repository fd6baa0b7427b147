#pragma once
// The files, textures, sounds and fixed numbers of the mini game, in one place for the code,
// the demo data generator and the tests.

#include <cstdint>

#include "engine/core/cString.h"

namespace minigame_files {

inline constexpr const char* kStartPanel = "Config/MiniGame1/mgi_panel_start.ini";
inline constexpr const char* kAlertPanel = "Config/MiniGame1/mgi_panel_alert.ini";
inline constexpr const char* kPausePanel = "Config/MiniGame1/mgi_panel_esc.ini";
inline constexpr const char* kContinuePanel = "Config/MiniGame1/mgi_panel_continue.ini";
inline constexpr const char* kStatusPanel = "Config/MiniGame1/mgi_panel_status.ini";
inline constexpr const char* kTextDeleted = "Config/MiniGame1/text_deleted.ini";
inline constexpr const char* kFlyScoreCurves = "Config/MiniGame1/fly_score_text.crv";

inline constexpr const char* kExcellentTexture = "MiniGame1/Interface/Surfaces/excellent.dds";
inline constexpr const char* kHintStarTexture = "MiniGame1/Pictures/star_hint01.dds";

inline constexpr const char* kSoundRightClick = "sounds/minigame1/right_click.ogg";
inline constexpr const char* kSoundWrongClick = "sounds/minigame1/wrong_click.ogg";
inline constexpr const char* kSoundTimePenalty = "sounds/minigame1/time_penalty.ogg";
inline constexpr const char* kSoundBonus = "sounds/minigame1/bonus.ogg";

// Mini games 1 to 6, each with variants 1 and 2.
inline constexpr int32_t kMiniGameCount = 6;
inline constexpr int32_t kVariantCount = 2;
// Clicks at or left of this x fall on the status panel and never count.
inline constexpr float kClickFieldLeft = 175.0f;

// "Config/MiniGame1/level<M>0<v>.ini", both numbers in decimal.
inline cStringA levelFile(int32_t number, int32_t variant) {
    return cStringA("Config/MiniGame1/level") + intToNarrowString(number) + "0" + intToNarrowString(variant) + ".ini";
}

}  // namespace minigame_files
