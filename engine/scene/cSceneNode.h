#pragma once
// The root of the scene-object chain: a node owns its children, carries three flags (visible,
// enabled, active) that combine with those of its ancestors, can be given a per-frame update
// callback and reads its flags from an INI section or an XML element. It reaches the engine
// (time, cursor, screen, input) through the scene services.
//
// The five program-wide sets that drive a frame live here too: the depth-ordered render set of
// shown sprites, the updated top-level nodes, the top-level nodes waiting to be enabled or
// disabled, and the deferred-deletion set. Where an order by address would be unrepeatable,
// the nodes are ordered by their creation serial number. A node's destructor takes it out of
// every set and out of its parent.

#include <cstdint>
#include <vector>

#include "engine/core/cString.h"
#include "engine/scene/cSceneServices.h"
#include "engine/core/cVector2.h"

class cSceneNode;
class cSprite;
class cIniFile;
class cXmlNode;

using UpdateCallback = void (*)(cSceneNode* node);

// Type ids of the scene classes (getTypeId).
enum SceneTypeId : int {
    SCENE_NODE = 0,
    SCENE_SPRITE = 1,
    SCENE_PICTURE = 2,
    SCENE_BUTTON = 4,
    SCENE_CHECK_BUTTON = 6,
    SCENE_EDIT_BOX = 8,
    SCENE_LIST_BOX = 9,
    SCENE_COMPOSITE_PICTURE = 10,
    SCENE_SLIDER = 12,
    SCENE_TEXT = 13,
};

class cSceneNode {
public:
    explicit cSceneNode(cSceneNode* parent = nullptr);
    virtual ~cSceneNode();
    cSceneNode(const cSceneNode&) = delete;
    cSceneNode& operator=(const cSceneNode&) = delete;

    virtual int getTypeId() const { return SCENE_NODE; }
    // Calls the update callback, then update of every child in order.
    virtual void update();
    virtual UpdateCallback getUpdateCallback() const { return m_updateCallback; }
    virtual void setUpdateCallback(UpdateCallback callback) { m_updateCallback = callback; }
    // Read "visible", "enabled", "active" (absent or unreadable: true), then show or hide,
    // enable or disable, activate or deactivate in this order.
    virtual void loadFromNode(const cXmlNode& node);
    virtual void loadFromIni(const cIniFile& ini, const cStringW& section);
    // Notifications: onShow when the node becomes effectively visible, onHide when it stops
    // being visible, onEnable / onDisable (a parentless node queues itself for the frame step).
    virtual void onShow() {}
    virtual void onHide() {}
    virtual void onEnable();
    virtual void onDisable();
    virtual void addChild(cSceneNode* child);
    virtual void removeChild(cSceneNode* child);

    // Engine services.
    float getDeltaTime() const;    // game time step (0 while paused)
    float getDeltaTime2() const;   // interface time step (never paused)
    cVector2 getMousePosition() const;
    cVector2 getScreenSize() const;
    void setTextReceiver(CharCallback callback, void* userData);
    void bindInput(InputCode code, InputCallback callback, void* object);
    void addInputListener(MotionCallback callback, void* object);
    void clearTextReceiver(void* ignored = nullptr);
    void unbindInput(InputCode code, InputCallback callback, void* object);
    void removeInputListener(MotionCallback callback, void* object);

    void show();
    void hide();
    void enable();
    void disable();
    void activate();    // the node and every descendant
    void deactivate();
    bool isVisible() const { return m_visible && m_parentVisible; }
    bool isEnabled() const { return m_enabled && m_parentEnabled; }
    bool isActive() const { return m_active; }
    // The node's own flags, without its ancestors'.
    bool isOwnVisible() const { return m_visible; }
    bool isOwnEnabled() const { return m_enabled; }
    bool isParentVisible() const { return m_parentVisible; }
    bool isParentEnabled() const { return m_parentEnabled; }

    cSceneNode* getParent() const { return m_parent; }
    size_t getChildCount() const { return m_children.size(); }
    // Children in creation order.
    const std::vector<cSceneNode*>& getChildren() const { return m_children; }
    template <class Fn> void forEachChild(Fn&& fn) {
        for (size_t i = 0; i < m_children.size(); ++i) fn(m_children[i]);
    }
    // Pre-order: the node, then each child's subtree.
    void forEachInSubtree(void (*fn)(cSceneNode*));
    template <class Fn> void forEachInSubtreeFn(Fn&& fn) {
        fn(this);
        for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->forEachInSubtreeFn(fn);
    }

    // Creation serial number: orders children, top-level nodes and equal-depth sprites.
    uint64_t getSerial() const { return m_serial; }

protected:
    // Deletes every child (removeChild is ignored meanwhile) and leaves the parent.
    void destroyChildren();
    // The steps a parent passes down to a child when its effective flags change.
    void showStep();
    void hideStep();
    void enableStep();
    void disableStep();

private:
    void applyFlags(bool visible, bool enabled, bool active);

    std::vector<cSceneNode*> m_children;  // ascending serial
    bool m_destroying = false;
    cSceneNode* m_parent = nullptr;
    bool m_visible = false;
    bool m_parentVisible = true;
    bool m_enabled = false;
    bool m_parentEnabled = true;
    bool m_active = true;
    UpdateCallback m_updateCallback = nullptr;
    uint64_t m_serial = 0;
};

// ---- Program-wide sets and the frame steps ----

// Calls node->update(); the function the logic frame hands to updateTopLevelNodes.
void updateNode(cSceneNode* node);
// The per-object draw step: builds the sprite's draw record and hands it to the renderer.
void drawObject(cSprite* sprite);

void addToRenderSet(cSprite* sprite);
void removeFromRenderSet(cSprite* sprite);
// Erases the sprite from the render set, stores the new depth, and re-inserts it only when it
// was there.
void changeDeep(cSprite* sprite, float deep);
// fn on every sprite of the render set, depth ascending, equal depth by creation order. fn may
// take the current sprite (or any other) out of the set.
void forEachInRenderSet(void (*fn)(cSprite*));
void queueTopLevelEnable(cSceneNode* node);
void queueTopLevelDisable(cSceneNode* node);
// Deferred deletion at the start of the next frame step; twice is once.
void scheduleDelete(cSceneNode* node);
// Deletes every scheduled object (also those scheduled by destructors meanwhile).
void destroyPendingObjects();
// The frame step: pending disables, pending enables, deferred deletion, then fn on every
// updated top-level node (over a snapshot; a node deleted meanwhile is skipped).
void updateTopLevelNodes(void (*fn)(cSceneNode*));

// Queries, for the frame's users and for tests.
size_t getRenderSetCount();
bool isInRenderSet(const cSprite* sprite);
// The render set in drawing order.
std::vector<cSprite*> getRenderSetSnapshot();
bool isTopLevelUpdated(const cSceneNode* node);
bool isPendingEnable(const cSceneNode* node);
bool isPendingDisable(const cSceneNode* node);
bool isPendingDelete(const cSceneNode* node);
size_t getTopLevelCount();
size_t getPendingDeleteCount();
