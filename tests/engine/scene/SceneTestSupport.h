#pragma once
// Fakes for the scene tests: services with named fake textures, models and shaders, a
// recording draw step, a node that logs its notifications, and a fixture that leaves the
// program-wide sets empty.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/media/cDrawRecord.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"

struct FakeTexture {
    std::string name;
    cVector2 imageSize;
};

struct FakeModelInstance {
    cVector2 position;
    float deep = 0.0f;
    cVector2 scale;
    std::string animation;
};

class FakeServices : public cSceneServices {
public:
    float gameDelta = 0.0f;
    float realDelta = 0.0f;
    cVector2 mousePosition;
    std::map<std::string, std::unique_ptr<FakeTexture>> textures;
    std::map<std::string, int> lookups;       // texture look-ups by name
    std::vector<cDrawRecord> drawn;
    std::vector<cRenderQuad> drawnQuads;
    int modelInstancesAlive = 0;
    int modelByte = 0;                        // address used as the fake model

    FakeTexture* addTexture(const std::string& name, float w, float h) {
        auto& t = textures[name];
        t = std::make_unique<FakeTexture>(FakeTexture{name, cVector2(w, h)});
        return t.get();
    }
    static FakeTexture* fake(cTexture* t) { return reinterpret_cast<FakeTexture*>(t); }

    float getGameDelta() override { return gameDelta; }
    float getRealDelta() override { return realDelta; }
    cVector2 getMousePosition() override { return mousePosition; }
    cTexture* getTexture(const cStringA& name) override {
        ++lookups[name];
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : reinterpret_cast<cTexture*>(it->second.get());
    }
    cVector2 getTextureImageSize(cTexture* t) override { return t ? fake(t)->imageSize : cVector2(); }
    cVector2 getTextureSize(cTexture* t) override { return getTextureImageSize(t); }
    cModel* getModel(const cStringA& name) override {
        return name == "man.x" ? reinterpret_cast<cModel*>(&modelByte) : nullptr;
    }
    cModelInstance* createModelInstance(cModel*) override {
        ++modelInstancesAlive;
        return reinterpret_cast<cModelInstance*>(new FakeModelInstance);
    }
    void destroyModelInstance(cModelInstance* i) override {
        --modelInstancesAlive;
        delete reinterpret_cast<FakeModelInstance*>(i);
    }
    static FakeModelInstance* inst(cModelInstance* i) { return reinterpret_cast<FakeModelInstance*>(i); }
    void setModelInstancePosition(cModelInstance* i, const cVector2& p) override { inst(i)->position = p; }
    void setModelInstanceDeep(cModelInstance* i, float d) override { inst(i)->deep = d; }
    void setModelInstanceScale(cModelInstance* i, const cVector2& s) override { inst(i)->scale = s; }
    void setModelAnimation(cModelInstance* i, const cStringA& name, float, float) override { inst(i)->animation = name; }
    cStringA getModelAnimationName(cModelInstance* i) override { return cStringA(inst(i)->animation); }
    void drawSprite(const cDrawRecord& record) override {
        drawn.push_back(record);
        drawnQuads.push_back(*record.quad);
    }
};

// The program-wide sets are shared by every test of the program: each test starts and ends
// with them empty.
class SceneTest : public ::testing::Test {
protected:
    FakeServices services;
    cSceneServices* previous = nullptr;

    void SetUp() override {
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
    }
    void TearDown() override {
        updateTopLevelNodes(nullptr);
        EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
        EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
        setSceneServices(previous);
    }
};

// An INI document built in code: one section "s".
inline std::unique_ptr<cIniFile> makeIni(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> keys) {
    auto ini = std::make_unique<cIniFile>();
    for (auto& kv : keys) ini->addEntry(cStringW(L"s"), cStringW(kv.first), cStringW(kv.second));
    return ini;
}
inline const cStringW kSection(L"s");

// A node that logs its notifications into a shared list as "<name>:<event>".
class LoggingNode : public cSceneNode {
public:
    LoggingNode(cSceneNode* parent, std::string name, std::vector<std::string>* log)
        : cSceneNode(parent), m_name(std::move(name)), m_log(log) {}
    ~LoggingNode() override { m_log = nullptr; }
    void onShow() override { record("show"); }
    void onHide() override { record("hide"); }
    void onEnable() override { cSceneNode::onEnable(); record("enable"); }
    void onDisable() override { cSceneNode::onDisable(); record("disable"); }

private:
    void record(const char* what) {
        if (m_log) m_log->push_back(m_name + ":" + what);
    }
    std::string m_name;
    std::vector<std::string>* m_log;
};
