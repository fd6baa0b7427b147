#pragma once
// Plays a running level as the player would, for headless tests: the pointer is moved by
// injected input to a click target until the level hovers it, the left button goes down for
// one frame, and the waitress takes it from there. On top of the click, the steps that serve
// a customer who ordered drinks: take the order, fetch a drink, deliver it, collect the money.
//
// The driver runs frames through the function it is given (a frame of the test's core, whose
// clock the test moves) and never sleeps; every wait has a frame limit and answers false when
// it ran out, so a test fails instead of hanging.

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/cVector2.h"
#include "engine/scene/cSprite.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cWaitress.h"
#include "game/flow/cLevel.h"
#include "game/restaurant/ItemId.h"
#include "game/restaurant/cClickTarget.h"
#include "game/restaurant/cServingStation.h"
#include "game/restaurant/cTable.h"
#include "platform/input/Input.h"
#include "platform/input/KeyCodes.h"

namespace restaurant_test {

// Points inside the target's hit polygon as it is tested this frame, the polygon's centre
// first, then a grid over its bounds (only the points inside). Empty without a polygon.
inline std::vector<cVector2> pointsInside(const cClickTarget& target) {
    std::vector<cVector2> out;
    const std::vector<cVector2>& polygon = target.getHitPolygon();
    const auto* owner = dynamic_cast<const cSprite*>(&target);
    if (polygon.size() < 3 || !owner) return out;
    const cVector2 origin = owner->getPosition().minus(
        owner->testTransformFlags(TF_CENTERED) ? owner->getLayer0FrameSize() / 2.0f : cVector2());
    auto inside = [&](const cVector2& p) {
        for (size_t i = 0; i < polygon.size(); ++i)
            if (!cClickTarget::isInsideEdge(p, origin + polygon[i], origin + polygon[(i + 1) % polygon.size()]))
                return false;
        return true;
    };
    cVector2 centre, low = polygon[0], high = polygon[0];
    for (const cVector2& corner : polygon) {
        centre += corner;
        low = cVector2(std::min(low.x, corner.x), std::min(low.y, corner.y));
        high = cVector2(std::max(high.x, corner.x), std::max(high.y, corner.y));
    }
    centre = origin + centre / static_cast<float>(polygon.size());
    if (inside(centre)) out.push_back(centre);
    constexpr int kSteps = 8;
    for (int i = 1; i < kSteps; ++i)
        for (int k = 1; k < kSteps; ++k) {
            const cVector2 p = origin + cVector2(low.x + (high.x - low.x) * i / kSteps, low.y + (high.y - low.y) * k / kSteps);
            if (inside(p)) out.push_back(p);
        }
    return out;
}

class RestaurantDriver {
public:
    explicit RestaurantDriver(std::function<void()> frame) : m_frame(std::move(frame)) {}

    void frame() { m_frame(); }
    // Frames until the condition holds, at most limit; false when it never did.
    template <class Cond>
    bool waitFor(Cond&& cond, int limit = 1500) {
        for (int i = 0; i < limit; ++i) {
            if (cond()) return true;
            frame();
        }
        return cond();
    }
    // What went wrong last, for the test's message.
    const std::string& failure() const { return m_failure; }

    // Moves the pointer (window pixels are back-buffer pixels headless) and runs a frame.
    void moveTo(const cVector2& point) {
        platform::input::injectCursor(point.x, point.y);
        frame();
    }
    // The pointer on a point where the level hovers the target (the level's pick order
    // decides overlaps, so the first point inside the polygon may belong to another target).
    bool pointAt(cClickTarget* target) {
        cLevel* level = getLevel();
        if (!level || !target) return fail("no level or no target");
        for (const cVector2& p : pointsInside(*target)) {
            moveTo(p);
            if (level->getHovered() == target) return true;
        }
        return fail("the level never hovers the target (kind " + std::to_string(target->getKind()) + ")");
    }
    // The left button down for one frame, then up.
    void pressLeft() {
        platform::input::injectButton(MOUSE_LEFT, true);
        frame();
        platform::input::injectButton(MOUSE_LEFT, false);
        frame();
    }
    // A click on the target: pointed at, pressed, and queued for the waitress.
    bool click(cClickTarget* target) {
        if (!pointAt(target)) return false;
        cLevel* level = getLevel();
        const int32_t before = level->getClicks();
        pressLeft();
        if (level->getClicks() != before + 1) return fail("the click was not taken");
        return true;
    }

    // ---- Serving a customer who ordered drinks ----
    static bool holdsDrink(const cWaitress& w, int count) {
        return (w.getHandItem(0) == ITEM_DRINK) + (w.getHandItem(1) == ITEM_DRINK) >= count;
    }
    // The tables with a guest seated, table 1 first, once at least count are; empty when
    // that never happened within the limit.
    std::vector<cTable*> seatedTables(size_t count, int limit = 1500) {
        std::vector<cTable*> seated;
        waitFor(
            [&] {
                seated.clear();
                if (cLevel* level = getLevel())
                    for (cTable* table : level->getTables())
                        if (table && table->getCustomer()) seated.push_back(table);
                return seated.size() >= count;
            },
            limit);
        if (seated.size() < count) {
            fail(std::to_string(seated.size()) + " guests seated, not " + std::to_string(count));
            seated.clear();
        }
        return seated;
    }
    // The guest seated at the table orders; the waitress takes the order.
    bool takeOrder(cTable* table) {
        if (!waitFor([&] {
                const cCustomer* guest = table->getCustomer();
                return table->getState() == ITEM_WAITING && guest && guest->getStage() == STAGE_WAITING_FOR_ORDER;
            }))
            return fail("no guest waits to order at table " + std::to_string(table->getIndex()));
        if (!click(table)) return false;
        if (!waitFor([&] { return table->getState() != ITEM_WAITING; }))
            return fail("the order at table " + std::to_string(table->getIndex()) + " was never taken");
        return true;
    }
    // One more drink into a free hand.
    bool fetchDrink() {
        cLevel* level = getLevel();
        cWaitress* waitress = level ? level->getWaitress() : nullptr;
        if (!waitress || !level->getDrinkStation()) return fail("no waitress or no drink station");
        const int had = (waitress->getHandItem(0) == ITEM_DRINK) + (waitress->getHandItem(1) == ITEM_DRINK);
        if (!click(level->getDrinkStation())) return false;
        if (!waitFor([&] { return holdsDrink(*waitress, had + 1); })) return fail("the drink never reached her hands");
        return true;
    }
    // The drink the guest waits for, brought to the table.
    bool deliverDrink(cTable* table) {
        if (!waitFor([&] { return table->getState() == ITEM_DRINK; }))
            return fail("table " + std::to_string(table->getIndex()) + " never wants a drink");
        if (!click(table)) return false;
        if (!waitFor([&] { return table->getState() != ITEM_DRINK; }))
            return fail("the drink never reached table " + std::to_string(table->getIndex()));
        return true;
    }
    // The money the guest left, collected.
    bool collectMoney(cTable* table) {
        if (!waitFor([&] { return table->getState() == ITEM_MONEY; }))
            return fail("no money on table " + std::to_string(table->getIndex()));
        if (!click(table)) return false;
        if (!waitFor([&] { return table->getState() == 0; }))
            return fail("the money on table " + std::to_string(table->getIndex()) + " was never collected");
        return true;
    }
    // The whole service of a guest who ordered one drink.
    bool serveDrink(cTable* table) {
        return takeOrder(table) && fetchDrink() && deliverDrink(table) && collectMoney(table);
    }

private:
    bool fail(const std::string& what) {
        m_failure = what;
        return false;
    }

    std::function<void()> m_frame;
    std::string m_failure;
};

}  // namespace restaurant_test
