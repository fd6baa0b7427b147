#pragma once
// The interface of every clickable restaurant object, mixed in as the second base of its
// owner's class (after the owner's picture): the target's kind, the state through which the
// waitress and the object trade items (an ItemId or a table's marker), the hover flag decided
// by a polygon hit test, the blocked flag of the tutorial, the control point where the
// waitress stands to use the object and the two pointer marks of queued clicks.
//
// Besides the interface, the steps every owner shares: the hit polygon from the keys "v1",
// "v2", ... of its section, the pointer offsets, the placement from the level's paths
// document and the standard hover update.

#include <vector>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "game/restaurant/ItemId.h"

class cIniFile;
class cPicture;
class cSceneNode;
class cSprite;

class cClickTarget {
public:
    // Creates the two pointer marks (hidden) as children of the owner.
    explicit cClickTarget(cSceneNode* owner);
    virtual ~cClickTarget();
    cClickTarget(const cClickTarget&) = delete;
    cClickTarget& operator=(const cClickTarget&) = delete;

    virtual int32_t getKind() const { return KIND_NONE; }
    // The waitress's action: 0 takes or uses what the object offers, an ItemId puts or applies
    // that item. false is a refusal: the caller keeps what it holds. The base stores the value.
    virtual bool setState(int32_t value);
    virtual int32_t getState() const { return m_state; }
    virtual bool isHovered() const { return m_hovered; }
    // Once per frame from the level's hover pick: testMouse true hit-tests the mouse, false
    // sets the hovered flag to value. The base does nothing.
    virtual void updateHover(bool testMouse, bool value) {}
    // Feedback of an arrival in bonus mode; the base shows none.
    virtual void showClickEffect() {}
    // Sets the hovered flag: true when the mouse lies strictly inside every edge of the
    // polygon (corners clockwise on screen, y down), each corner taken relative to
    // position - frameSize / 2. Fewer than 3 corners, or a blocked target, is never hovered.
    virtual void hitTest(const cVector2& mouse, const cVector2& position, const cVector2& frameSize);
    // True when point lies strictly right of the edge from -> to on screen (inside for a
    // clockwise polygon); a point on the edge is outside.
    static bool isInsideEdge(const cVector2& point, const cVector2& from, const cVector2& to);

    // A queued click: shows mark 1 when it is hidden, else mark 2, else nothing.
    void showPointer(bool on);
    // Every shown mark leaves a fading copy under the level and is hidden.
    void hidePointers();
    void addHitPoint(const cVector2& point) { m_polygon.push_back(point); }
    const std::vector<cVector2>& getHitPolygon() const { return m_polygon; }
    void setControlPoint(const cVector2& point) { m_control_point = point; }
    cVector2 getControlPoint() const { return m_control_point; }
    void setBlocked(bool blocked) { m_blocked = blocked; }
    bool isBlocked() const { return m_blocked; }
    cPicture* getPointer(int index) const { return index == 0 ? m_pointer : m_pointer1; }
    // The name of an item id (empty for 0, 54, 55).
    const cStringW& getItemName(ItemId id) const { return itemName(id); }

protected:
    // ---- Steps the owners share ----
    // Appends "v1", "v2", ... of the section until the first missing or unreadable key.
    void loadHitPolygon(const cIniFile& ini, const cStringW& section);
    // "pointer_offset" and "pointer1_offset" of the section (absent: unchanged).
    void loadPointerOffsets(const cIniFile& ini, const cStringW& section);
    // Mark 1 at position + pointer offset, deep + deep1; mark 2 at position + pointer-1
    // offset, deep + deep2.
    void placePointers(const cVector2& position, float deep, float deep1, float deep2);
    // The control point from the element of that name under "Objects" of the level's paths
    // document; (0,0) when either is missing. Throws when the document is not loaded.
    void placeFromPaths(const char* element);
    // Steps 1 to 3 of the standard hover update for an owner: blocked acts as (false, false);
    // the hit test uses the owner's position and, when it is centred (or always, for those
    // that ask), its layer-0 frame size.
    void hoverOwner(const cSprite& owner, bool testMouse, bool value, bool alwaysFrameSize = false);
    void setHovered(bool hovered) { m_hovered = hovered; }
    // Stores the state without an owner's reaction (the base setState).
    void storeState(int32_t value) { m_state = value; }

private:
    void fadeOut(cPicture* mark);

    cSceneNode* m_owner;
    bool m_hovered = false;
    cPicture* m_pointer = nullptr;
    cPicture* m_pointer1 = nullptr;
    cVector2 m_pointer_offset;
    cVector2 m_pointer1_offset;
    cVector2 m_control_point;
    bool m_blocked = false;
    int32_t m_state = 0;
    std::vector<cVector2> m_polygon;
};
