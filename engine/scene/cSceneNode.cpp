#include "engine/scene/cSceneNode.h"

#include <algorithm>
#include <limits>
#include <map>

#include "engine/core/cIniFile.h"
#include "engine/core/cXmlNode.h"
#include "engine/scene/cRenderSet.h"
#include "engine/scene/cSprite.h"

namespace {

uint64_t g_nextSerial = 1;

using NodeSet = std::map<uint64_t, cSceneNode*>;

// The sets live until the very end of the program (never destroyed), so that nodes destroyed
// by other static objects at exit still find them.
struct NodeSets {
    NodeSet topLevel;
    NodeSet pendingEnable;
    NodeSet pendingDisable;
    NodeSet pendingDelete;
};
NodeSets& nodeSets() {
    static NodeSets* sets = new NodeSets;
    return *sets;
}

bool lessBySerial(const cSceneNode* a, const cSceneNode* b) { return a->getSerial() < b->getSerial(); }

}  // namespace

// ---- cSceneNode ----

cSceneNode::cSceneNode(cSceneNode* parent) : m_parent(parent), m_serial(g_nextSerial++) {
    if (m_parent) {
        m_parent->addChild(this);
        m_parentVisible = m_parent->m_visible && m_parent->m_parentVisible;
        m_parentEnabled = m_parent->m_enabled && m_parent->m_parentEnabled;
    }
}

cSceneNode::~cSceneNode() {
    if (m_visible) {
        if (m_parentVisible)
            for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->hideStep();
        m_visible = false;
        cSceneNode::onHide();
    }
    if (m_enabled) {
        m_enabled = false;
        if (m_parentEnabled)
            for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->disableStep();
        cSceneNode::onDisable();
    }
    destroyChildren();
    // Leave every program-wide set, so that nothing reaches the node after its deletion.
    nodeSets().topLevel.erase(m_serial);
    nodeSets().pendingEnable.erase(m_serial);
    nodeSets().pendingDisable.erase(m_serial);
    nodeSets().pendingDelete.erase(m_serial);
}

void cSceneNode::destroyChildren() {
    m_destroying = true;
    for (size_t i = 0; i < m_children.size(); ++i) delete m_children[i];
    m_children.clear();
    m_destroying = false;
    if (m_parent) {
        m_parent->removeChild(this);
        m_parent = nullptr;
    }
}

void cSceneNode::update() {
    if (m_updateCallback) m_updateCallback(this);
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->update();
}

void cSceneNode::addChild(cSceneNode* child) {
    if (!child || child == this) return;
    auto it = std::lower_bound(m_children.begin(), m_children.end(), child, lessBySerial);
    if (it != m_children.end() && *it == child) return;
    m_children.insert(it, child);
}

void cSceneNode::removeChild(cSceneNode* child) {
    if (m_destroying || !child) return;
    auto it = std::lower_bound(m_children.begin(), m_children.end(), child, lessBySerial);
    if (it != m_children.end() && *it == child) m_children.erase(it);
}

void cSceneNode::onEnable() {
    if (!m_parent) queueTopLevelEnable(this);
}

void cSceneNode::onDisable() {
    if (!m_parent) queueTopLevelDisable(this);
}

float cSceneNode::getDeltaTime() const { return getSceneServices()->getGameDelta(); }
float cSceneNode::getDeltaTime2() const { return getSceneServices()->getRealDelta(); }
cVector2 cSceneNode::getMousePosition() const { return getSceneServices()->getMousePosition(); }
cVector2 cSceneNode::getScreenSize() const { return getSceneServices()->getScreenSize(); }
void cSceneNode::setTextReceiver(CharCallback callback, void* userData) {
    getSceneServices()->setCharListener(callback, userData);
}
void cSceneNode::bindInput(InputCode code, InputCallback callback, void* object) {
    getSceneServices()->addBinding(code, callback, object);
}
void cSceneNode::addInputListener(MotionCallback callback, void* object) {
    getSceneServices()->addMotionListener(callback, object);
}
void cSceneNode::clearTextReceiver(void*) { getSceneServices()->clearCharListener(); }
void cSceneNode::unbindInput(InputCode code, InputCallback callback, void* object) {
    getSceneServices()->removeBinding(code, callback, object);
}
void cSceneNode::removeInputListener(MotionCallback callback, void* object) {
    getSceneServices()->removeMotionListener(callback, object);
}

void cSceneNode::show() {
    if (m_visible) return;
    m_visible = true;
    if (!m_parentVisible) return;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->showStep();
    onShow();
}

void cSceneNode::showStep() {
    if (m_parentVisible) return;
    m_parentVisible = true;
    if (!m_visible) return;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->showStep();
    onShow();
}

void cSceneNode::hide() {
    if (!m_visible) return;
    if (m_parentVisible)
        for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->hideStep();
    m_visible = false;
    onHide();
}

void cSceneNode::hideStep() {
    if (!m_parentVisible) return;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->hideStep();
    m_parentVisible = false;
    onHide();
}

void cSceneNode::enable() {
    if (m_enabled) return;
    m_enabled = true;
    if (!(m_parentEnabled && m_visible && m_parentVisible)) return;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->enableStep();
    onEnable();
}

void cSceneNode::enableStep() {
    if (m_parentEnabled) return;
    m_parentEnabled = true;
    if (!(m_enabled && m_visible && m_parentVisible)) return;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->enableStep();
    onEnable();
}

void cSceneNode::disable() {
    if (!m_enabled) return;
    m_enabled = false;
    if (m_parentEnabled)
        for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->disableStep();
    onDisable();
}

void cSceneNode::disableStep() {
    if (!m_parentEnabled) return;
    m_parentEnabled = false;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->disableStep();
    onDisable();
}

void cSceneNode::activate() {
    m_active = true;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->activate();
}

void cSceneNode::deactivate() {
    m_active = false;
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->deactivate();
}

void cSceneNode::forEachInSubtree(void (*fn)(cSceneNode*)) {
    if (!fn) return;
    fn(this);
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->forEachInSubtree(fn);
}

void cSceneNode::applyFlags(bool visible, bool enabled, bool active) {
    if (visible) show(); else hide();
    if (enabled) enable(); else disable();
    if (active) activate(); else deactivate();
}

void cSceneNode::loadFromIni(const cIniFile& ini, const cStringW& section) {
    bool visible = true, enabled = true, active = true;
    stringToBool(&visible, ini.getValue(section, cStringW(L"visible")));
    stringToBool(&enabled, ini.getValue(section, cStringW(L"enabled")));
    stringToBool(&active, ini.getValue(section, cStringW(L"active")));
    applyFlags(visible, enabled, active);
}

void cSceneNode::loadFromNode(const cXmlNode& node) {
    bool visible = true, enabled = true, active = true;
    stringToBool(&visible, node.getAttribute(L"visible"));
    stringToBool(&enabled, node.getAttribute(L"enabled"));
    stringToBool(&active, node.getAttribute(L"active"));
    applyFlags(visible, enabled, active);
}

// ---- Program-wide sets ----

namespace {

cRenderSet& renderSet() {
    static cRenderSet* set = new cRenderSet;
    return *set;
}

// Starts loading a sprite that the walk reaches a few entries later: drawing one reads fields
// all over the object, and the walk visits sprites in depth order, not in memory order, so the
// processor cannot guess the next ones.
constexpr size_t kFetchAhead = 4;
void fetchSprite(const cSprite* sprite) {
    const char* bytes = reinterpret_cast<const char*>(sprite);
    for (size_t offset = 0; offset < sizeof(cSprite); offset += 64) __builtin_prefetch(bytes + offset);
}

// A NaN depth would break the ordering: it sorts last.
float renderKeyOf(float deep) { return deep == deep ? deep : std::numeric_limits<float>::infinity(); }

}  // namespace

void updateNode(cSceneNode* node) {
    if (node) node->update();
}

void drawObject(cSprite* sprite) {
    if (!sprite) return;
    cDrawRecord record = sprite->makeDrawRecord();
    getSceneServices()->drawSprite(record);
}

void addToRenderSet(cSprite* sprite) {
    if (!sprite || sprite->m_inRenderSet) return;
    sprite->m_renderKey = renderKeyOf(sprite->m_deep);
    renderSet().insert(cRenderEntry{sprite->m_renderKey, sprite->getSerial(), sprite});
    sprite->m_inRenderSet = true;
}

void removeFromRenderSet(cSprite* sprite) {
    if (!sprite || !sprite->m_inRenderSet) return;
    renderSet().erase(cRenderEntry{sprite->m_renderKey, sprite->getSerial(), sprite});
    sprite->m_inRenderSet = false;
}

void changeDeep(cSprite* sprite, float deep) {
    if (!sprite) return;
    bool wasIn = sprite->m_inRenderSet;
    removeFromRenderSet(sprite);
    sprite->m_deep = deep;
    if (wasIn) addToRenderSet(sprite);
}

void forEachInRenderSet(void (*fn)(cSprite*)) {
    if (!fn) return;
    const cRenderSet& set = renderSet();
    cRenderSet::Position position = set.begin();
    while (!set.atEnd(position)) {
        cRenderEntry current = set.at(position);
        if (const cRenderEntry* next = set.peek(position, kFetchAhead)) fetchSprite(next->sprite);
        uint64_t stamp = set.stamp();
        fn(current.sprite);
        // fn may have changed the set (even through a nested frame): go on after the current
        // entry, wherever it is now.
        if (stamp == set.stamp())
            set.advance(position);
        else
            position = set.upperBound(current);
    }
}

void queueTopLevelEnable(cSceneNode* node) {
    if (node) nodeSets().pendingEnable[node->getSerial()] = node;
}

void queueTopLevelDisable(cSceneNode* node) {
    if (node) nodeSets().pendingDisable[node->getSerial()] = node;
}

void scheduleDelete(cSceneNode* node) {
    if (node) nodeSets().pendingDelete[node->getSerial()] = node;
}

void destroyPendingObjects() {
    // One at a time from the front: a destructor may delete (and so unschedule) other
    // scheduled objects, or schedule new ones, which this pass deletes too.
    while (!nodeSets().pendingDelete.empty()) {
        auto it = nodeSets().pendingDelete.begin();
        cSceneNode* node = it->second;
        nodeSets().pendingDelete.erase(it);
        delete node;
    }
}

void updateTopLevelNodes(void (*fn)(cSceneNode*)) {
    for (auto& entry : nodeSets().pendingDisable) nodeSets().topLevel.erase(entry.first);
    nodeSets().pendingDisable.clear();
    for (auto& entry : nodeSets().pendingEnable) nodeSets().topLevel.insert(entry);
    nodeSets().pendingEnable.clear();
    destroyPendingObjects();
    if (!fn) return;
    // Walk a snapshot; a node deleted during the walk has left the set and is skipped. The
    // snapshot's storage is kept from frame to frame (taken out while in use, so that a nested
    // step builds its own).
    static std::vector<std::pair<uint64_t, cSceneNode*>>* spare = new std::vector<std::pair<uint64_t, cSceneNode*>>;
    std::vector<std::pair<uint64_t, cSceneNode*>> snapshot;
    snapshot.swap(*spare);
    snapshot.assign(nodeSets().topLevel.begin(), nodeSets().topLevel.end());
    for (auto& entry : snapshot) {
        auto it = nodeSets().topLevel.find(entry.first);
        if (it == nodeSets().topLevel.end() || it->second != entry.second) continue;
        fn(entry.second);
    }
    snapshot.clear();
    if (snapshot.capacity() > spare->capacity()) snapshot.swap(*spare);
}

size_t getRenderSetCount() { return renderSet().size(); }
bool isInRenderSet(const cSprite* sprite) { return sprite && sprite->m_inRenderSet; }

std::vector<cSprite*> getRenderSetSnapshot() {
    std::vector<cSprite*> result;
    const cRenderSet& set = renderSet();
    result.reserve(set.size());
    for (cRenderSet::Position p = set.begin(); !set.atEnd(p); set.advance(p)) result.push_back(set.at(p).sprite);
    return result;
}

namespace {
bool contains(const NodeSet& set, const cSceneNode* node) {
    if (!node) return false;
    auto it = set.find(node->getSerial());
    return it != set.end() && it->second == node;
}
}  // namespace

bool isTopLevelUpdated(const cSceneNode* node) { return contains(nodeSets().topLevel, node); }
bool isPendingEnable(const cSceneNode* node) { return contains(nodeSets().pendingEnable, node); }
bool isPendingDisable(const cSceneNode* node) { return contains(nodeSets().pendingDisable, node); }
bool isPendingDelete(const cSceneNode* node) { return contains(nodeSets().pendingDelete, node); }
size_t getTopLevelCount() { return nodeSets().topLevel.size(); }
size_t getPendingDeleteCount() { return nodeSets().pendingDelete.size(); }
