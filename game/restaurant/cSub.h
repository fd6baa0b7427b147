#pragma once
// One bread type on the sub counter. Sending the waitress to it orders one raw sub of that
// type (state 11, 25 or 39, fixed) from the sandwich maker; she carries nothing away. Its
// setState never refuses: every arrival queues one more sub at the counter (cSubStation).
// While the maker prepares its type it shows its "_make" picture (highlight too).
//
// Configuration: "Config/Game/o_sub.ini", section "COMMON" (picture keys, the animation of
// both pictures, "highlight_alpha", "pointer_offset", "pointer1_offset", polygon "v1"...).
// Pictures: "Game/Worlds/<set>/Subs_St/sub<bread>0<1|2>[_make].dds" by the counter upgrade.

#include "engine/scene/cAnimation.h"
#include "game/restaurant/cStation.h"

class cSubStation;

class cSub : public cStation {
public:
    // station: the parent counter; controlPoint: the counter's own (one spot for every bread).
    cSub(cSubStation* station, const cVector2& position, const cVector2& controlPoint, int32_t subId);
    ~cSub() override;

    int32_t getKind() const override { return KIND_SUB; }
    // Queues one sub of this type at the counter; the argument is ignored; always true.
    bool setState(int32_t value) override;
    // No feedback of a bonus arrival.
    void showClickEffect() override {}
    // The plain picture, or the one shown while the maker prepares this type.
    void setMaking(bool making);
    bool isMaking() const { return m_making; }
    // The bread 1..3 of a raw sub id (11, 25, 39; any other id is bread 3).
    static int breadOf(int32_t subId) { return subId == 11 ? 1 : subId == 25 ? 2 : 3; }

private:
    void loadConfig();

    cSubStation* m_station;
    cAnimation m_animations[2];
    bool m_making = false;
};

inline constexpr const char* kSubIni = "Config/Game/o_sub.ini";
