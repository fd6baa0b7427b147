#include <gtest/gtest.h>

#include <algorithm>

#include "SceneTestSupport.h"

using Log = std::vector<std::string>;

class SceneNodeTest : public SceneTest {};

TEST_F(SceneNodeTest, ShowUnderHiddenParentDeliversBottomUpLater) {
    Log log;
    auto* root = new LoggingNode(nullptr, "root", &log);
    auto* child = new LoggingNode(root, "child", &log);
    auto* grandchild = new LoggingNode(child, "grand", &log);
    EXPECT_FALSE(child->isParentVisible());

    child->show();
    grandchild->show();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(child->isVisible());

    root->show();
    EXPECT_EQ(log, (Log{"grand:show", "child:show", "root:show"}));
    EXPECT_TRUE(grandchild->isVisible());

    log.clear();
    root->hide();
    // Children first, whatever their own flag; then the node.
    EXPECT_EQ(log, (Log{"grand:hide", "child:hide", "root:hide"}));
    EXPECT_FALSE(grandchild->isVisible());
    EXPECT_TRUE(child->isOwnVisible());
    delete root;
}

TEST_F(SceneNodeTest, HideOfNotEffectivelyVisibleNodeNotifiesOnce) {
    Log log;
    auto* root = new LoggingNode(nullptr, "root", &log);
    auto* child = new LoggingNode(root, "child", &log);
    child->show();
    child->hide();
    EXPECT_EQ(log, (Log{"child:hide"}));
    child->hide();
    EXPECT_EQ(log.size(), 1u);
    delete root;
}

TEST_F(SceneNodeTest, EnableNeedsVisibilityAndDisableAlwaysNotifies) {
    Log log;
    auto* node = new LoggingNode(nullptr, "n", &log);
    node->enable();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(node->isEnabled());
    node->show();  // showing later does not deliver the missed enable
    EXPECT_EQ(log, (Log{"n:show"}));
    node->disable();
    EXPECT_EQ(log, (Log{"n:show", "n:disable"}));
    delete node;
}

TEST_F(SceneNodeTest, ChildOfNodeEnabledWhileHiddenStaysDisabledUntilReenabled) {
    Log log;
    auto* root = new LoggingNode(nullptr, "root", &log);  // disabled at the child's creation
    auto* child = new LoggingNode(root, "child", &log);
    child->show();
    child->enable();
    root->enable();  // while hidden: nothing passed down
    root->show();
    EXPECT_FALSE(child->isEnabled());
    root->disable();
    root->enable();
    EXPECT_TRUE(child->isEnabled());
    EXPECT_EQ(std::count(log.begin(), log.end(), "child:enable"), 1);
    delete root;
}

TEST_F(SceneNodeTest, ShowBeforeEnableReachesChildren) {
    Log log;
    auto* root = new LoggingNode(nullptr, "root", &log);
    auto* child = new LoggingNode(root, "child", &log);
    child->show();
    child->enable();
    root->show();
    root->enable();
    EXPECT_TRUE(child->isEnabled());
    EXPECT_EQ(log, (Log{"child:show", "root:show", "child:enable", "root:enable"}));
    log.clear();
    root->disable();
    EXPECT_EQ(log, (Log{"child:disable", "root:disable"}));
    delete root;
}

TEST_F(SceneNodeTest, ActivateCoversTheSubtree) {
    auto* root = new cSceneNode(nullptr);
    auto* child = new cSceneNode(root);
    auto* grandchild = new cSceneNode(child);
    root->deactivate();
    EXPECT_FALSE(grandchild->isActive());
    child->activate();
    EXPECT_FALSE(root->isActive());
    EXPECT_TRUE(grandchild->isActive());
    delete root;
}

TEST_F(SceneNodeTest, IniKeysDefaultToVisibleEnabledActive) {
    Log log;
    auto* node = new LoggingNode(nullptr, "n", &log);
    auto* child = new cSceneNode(node);
    child->deactivate();
    auto ini = makeIni({});
    node->loadFromIni(*ini, kSection);
    EXPECT_TRUE(node->isVisible());
    EXPECT_TRUE(node->isEnabled());
    EXPECT_TRUE(child->isActive());  // "active" absent: the whole subtree
    EXPECT_EQ(log, (Log{"n:show", "n:enable"}));

    Log log2;
    auto* other = new LoggingNode(nullptr, "o", &log2);
    auto ini2 = makeIni({{L"visible", L"0"}, {L"enabled", L"0"}, {L"active", L"0"}});
    other->loadFromIni(*ini2, kSection);
    EXPECT_TRUE(log2.empty());  // never shown: nothing to hide or disable
    EXPECT_FALSE(other->isActive());

    auto ini3 = makeIni({{L"visible", L"yes"}, {L"enabled", L""}});  // unreadable: true
    other->loadFromIni(*ini3, kSection);
    EXPECT_TRUE(other->isVisible());
    EXPECT_TRUE(other->isEnabled());
    delete node;
    delete other;
}

namespace {
Log* g_updates = nullptr;
cSceneNode* g_toEnable = nullptr;
cSceneNode* g_toDisable = nullptr;
cSceneNode* g_toDelete = nullptr;
std::map<const cSceneNode*, std::string> g_names;

void recordUpdate(cSceneNode* node) {
    g_updates->push_back(g_names[node]);
    if (g_toEnable) {
        g_toEnable->show();
        g_toEnable->enable();
        g_toEnable = nullptr;
    }
    if (g_toDisable) {
        g_toDisable->disable();
        g_toDisable = nullptr;
    }
    if (g_toDelete) {
        cSceneNode* victim = g_toDelete;
        g_toDelete = nullptr;
        delete victim;
    }
}
}  // namespace

class TopLevelTest : public SceneNodeTest {
protected:
    Log updates;
    cSceneNode* make(const std::string& name) {
        auto* n = new cSceneNode(nullptr);
        g_names[n] = name;
        n->setUpdateCallback(recordUpdate);
        return n;
    }
    void SetUp() override {
        SceneNodeTest::SetUp();
        g_updates = &updates;
    }
    void TearDown() override {
        g_updates = nullptr;
        g_toEnable = g_toDisable = g_toDelete = nullptr;
        g_names.clear();
        SceneNodeTest::TearDown();
    }
};

TEST_F(TopLevelTest, EnabledDuringWalkStartsNextFrameDisabledLeavesAfterWalk) {
    cSceneNode* a = make("a");
    cSceneNode* b = make("b");
    cSceneNode* c = make("c");
    a->show();
    a->enable();
    c->show();
    c->enable();
    EXPECT_TRUE(isPendingEnable(a));
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a", "c"}));

    // During a's update: b is shown and enabled, c disabled.
    updates.clear();
    g_toEnable = b;
    g_toDisable = c;
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a", "c"}));  // c still updated in this walk, b not yet
    updates.clear();
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a", "b"}));

    // Disabled and re-enabled within one frame: stays.
    a->disable();
    a->enable();
    updates.clear();
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a", "b"}));
    delete a;
    delete b;
    delete c;
}

TEST_F(TopLevelTest, DeletedNodesAreNeverUpdatedAgain) {
    cSceneNode* a = make("a");
    cSceneNode* b = make("b");
    for (cSceneNode* n : {a, b}) {
        n->show();
        n->enable();
    }
    updateTopLevelNodes(updateNode);
    // a deletes b during the walk: b is skipped.
    updates.clear();
    g_toDelete = b;
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a"}));
    EXPECT_EQ(getTopLevelCount(), 1u);

    // Enabled and deleted in the same frame: gone from the pending set too.
    cSceneNode* c = make("c");
    c->show();
    c->enable();
    delete c;
    updates.clear();
    updateTopLevelNodes(updateNode);
    EXPECT_EQ(updates, (Log{"a"}));
    delete a;
}

TEST_F(SceneNodeTest, DeferredDeletionIsOnceAndSafe) {
    auto* parent = new cSceneNode(nullptr);
    auto* child = new cSceneNode(parent);
    auto* grandchild = new cSceneNode(child);
    auto* loner = new cSceneNode(nullptr);
    scheduleDelete(loner);
    scheduleDelete(loner);          // twice is once
    scheduleDelete(grandchild);     // its parent goes first
    scheduleDelete(parent);
    scheduleDelete(nullptr);
    EXPECT_EQ(getPendingDeleteCount(), 3u);
    updateTopLevelNodes(updateNode);  // ASan reports a double delete here
    EXPECT_EQ(getPendingDeleteCount(), 0u);

    // A node deleted directly leaves the set: nothing is deleted twice later.
    auto* other = new cSceneNode(nullptr);
    scheduleDelete(other);
    delete other;
    EXPECT_EQ(getPendingDeleteCount(), 0u);
}

namespace {
class Spawner : public cSceneNode {
public:
    using cSceneNode::cSceneNode;
    ~Spawner() override { scheduleDelete(new cSceneNode(nullptr)); }
};
}  // namespace

TEST_F(SceneNodeTest, ObjectsScheduledByDestructorsAreDeletedInTheSamePass) {
    scheduleDelete(new Spawner(nullptr));
    destroyPendingObjects();
    EXPECT_EQ(getPendingDeleteCount(), 0u);
}

TEST_F(SceneNodeTest, ChildrenInCreationOrderAndRemovedOnDelete) {
    auto* root = new cSceneNode(nullptr);
    auto* a = new cSceneNode(root);
    auto* b = new cSceneNode(root);
    auto* c = new cSceneNode(root);
    root->addChild(b);  // a second insert is ignored
    EXPECT_EQ(root->getChildren(), (std::vector<cSceneNode*>{a, b, c}));
    delete b;
    EXPECT_EQ(root->getChildren(), (std::vector<cSceneNode*>{a, c}));
    std::vector<cSceneNode*> order;
    root->forEachInSubtreeFn([&](cSceneNode* n) { order.push_back(n); });
    EXPECT_EQ(order, (std::vector<cSceneNode*>{root, a, c}));
    delete root;
}

TEST_F(SceneNodeTest, ParentlessNodeDestroyedWhileEnabledLeavesEverySet) {
    auto* n = new cSceneNode(nullptr);
    n->show();
    n->enable();
    updateTopLevelNodes(nullptr);
    ASSERT_TRUE(isTopLevelUpdated(n));
    n->disable();
    n->enable();
    scheduleDelete(n);
    delete n;
    EXPECT_EQ(getTopLevelCount(), 0u);
    EXPECT_EQ(getPendingDeleteCount(), 0u);
}

TEST_F(SceneNodeTest, ServicesPassThrough) {
    services.gameDelta = 0.25f;
    services.realDelta = 0.5f;
    cSceneNode n(nullptr);
    EXPECT_EQ(n.getDeltaTime(), 0.25f);
    EXPECT_EQ(n.getDeltaTime2(), 0.5f);
    setSceneServices(nullptr);  // the engine's services without managers: harmless
    EXPECT_EQ(n.getDeltaTime(), 0.0f);
    setSceneServices(&services);
}

#include "engine/scene/cEngineSceneServices.h"

TEST_F(SceneNodeTest, EngineServicesWithoutManagersAreHarmless) {
    cSceneServices* engine = getEngineSceneServices();
    setSceneServices(engine);
    {
        cPicture p;
        p.setPicture("missing.png");
        p.setModelName("missing.x");
        p.bindInput(0, nullptr, nullptr);
        p.show();
        EXPECT_EQ(p.getDeltaTime(), 0.0f);
        EXPECT_EQ(p.getScreenSize(), cVector2());
        forEachInRenderSet(drawObject);
        EXPECT_EQ(p.getModelInstance(), nullptr);
    }
    setSceneServices(&services);
}

namespace {
int g_depth = 0;
std::vector<std::string>* g_nestedLog = nullptr;
cSceneNode* g_loaderVictim = nullptr;
void loadingScreen(cSceneNode*) {
    g_nestedLog->push_back("outer");
    if (g_depth > 0) return;
    // A loading screen runs whole frames inside the update of the frame that loads.
    ++g_depth;
    if (g_loaderVictim) scheduleDelete(g_loaderVictim);
    updateTopLevelNodes(updateNode);
    updateTopLevelNodes(updateNode);
    --g_depth;
}
void plain(cSceneNode*) { g_nestedLog->push_back("other"); }
}  // namespace

TEST_F(SceneNodeTest, NestedFramesKeepTheSetsConsistent) {
    std::vector<std::string> log;
    g_nestedLog = &log;
    auto* loader = new cSceneNode(nullptr);
    auto* other = new cSceneNode(nullptr);
    loader->setUpdateCallback(loadingScreen);
    other->setUpdateCallback(plain);
    for (cSceneNode* n : {loader, other}) {
        n->show();
        n->enable();
    }
    updateTopLevelNodes(nullptr);
    g_loaderVictim = other;  // deleted by the first nested frame
    updateTopLevelNodes(updateNode);
    // Outer walk: loader; nested frames: loader only (other is gone); the outer walk skips it.
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "outer", "outer"}));
    EXPECT_EQ(getTopLevelCount(), 1u);
    g_loaderVictim = nullptr;
    g_nestedLog = nullptr;
    delete loader;
}
