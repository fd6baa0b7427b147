// The status panel's clock text.
#include <gtest/gtest.h>

#include <cmath>

#include "game/minigame/cMiniGameStatusPanel.h"

TEST(MiniGameClock, MinutesAndSecondsWithTwoDigits) {
    struct Case {
        float seconds;
        const wchar_t* text;
    };
    const Case cases[] = {{95.7f, L"01:35"}, {5.0f, L"00:05"},     {605.0f, L"10:05"}, {0.0f, L"00:00"},
                          {59.99f, L"00:59"}, {6000.0f, L"100:00"}, {-3.0f, L"00:00"}, {NAN, L"00:00"}};
    for (const Case& c : cases) EXPECT_EQ(formatMiniGameClock(c.seconds), c.text) << c.seconds;
}
