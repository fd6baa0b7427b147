#pragma once
// What the effects share: their configuration files and curves, the full-effects setting,
// the bonus bar as far as effects see it, the silhouette drawing and the small conversions.

#include <cstdint>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

class cCurve;
class cDevice;
class cIniFile;
class cSceneNode;

// Configuration files and curve sets of the effects (resource names).
namespace fx_files {
inline constexpr const char* kMoney = "Config/Game/fx_money.ini";
inline constexpr const char* kPointer = "Config/Game/fx_pointer.ini";
inline constexpr const char* kWaiterStar = "Config/Game/fx_waiter_star.ini";
inline constexpr const char* kFlyScore = "Config/Game/fx_fly_score.ini";
inline constexpr const char* kFlyScorePic = "Config/Game/fx_fly_score_pic.ini";
inline constexpr const char* kStar = "Config/Game/fx_star.ini";
inline constexpr const char* kScoreStar = "Config/Game/fx_score_star.ini";
inline constexpr const char* kMessage = "Config/Game/fx_message.ini";
inline constexpr const char* kFirework = "Config/Game/fx_firework.ini";
inline constexpr const char* kClickCurves = "Config/Game/click_effect.crv";
inline constexpr const char* kFlyScoreCurves = "Config/Game/fly_score_text.crv";
inline constexpr const char* kFlyScoreLostCurves = "Config/Game/fly_score_lost.crv";
inline constexpr const char* kFlyScorePicCurves = "Config/Game/fly_score_pic.crv";
inline constexpr const char* kMoneyTexture = "Game/Worlds/Common/Items/money.dds";
}  // namespace fx_files

// The loaded INI document or curve; a name that is not loaded throws the resource manager's
// text ("Resource '<name>' is not loaded."), also when there is no resource manager at all.
const cIniFile& effectIni(const char* name);
cCurve* effectCurve(const char* set, const char* curve);
// A float or a vector of the section; an absent or unreadable value keeps the target.
void readFloat(const cIniFile& ini, const wchar_t* section, const wchar_t* key, float* target);
void readVector(const cIniFile& ini, const wchar_t* section, const wchar_t* key, cVector2* target);

// `enable_full_effects` of section `Performance`, read at every call; on when absent or when
// there are no settings.
bool isFullEffectsOn();

// The bonus bar as the effects see it; without a bar: no bonus mode, fill 0, no commit.
bool isBonusModeOn();
float getBonusBarFill();
void commitBonusPending();

// Begin-draw callback: the sprite's colour comes from its vertices alone while its alpha
// still comes from the texture, so the picture is drawn as a one-colour silhouette.
void drawSilhouette(cDevice* device);

// The value, or 0 once it is 0 or less, with the effect's deletion scheduled then: how every
// fading effect ends itself.
float endAtZero(cSceneNode* effect, float value);
// A value as a vertex alpha: truncated, and held within 0..255 (not a number gives 0).
uint32_t toAlpha(float value);
// (r, r, r) of a grey value as above.
uint32_t greyOf(float value);
// A random shift of up to spread - 1 units on each axis: x = rand() % spread, y likewise,
// then x is negated when the next random number is even, y likewise with the one after.
cVector2 randomShift(int spread);
