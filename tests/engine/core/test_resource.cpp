// The resource manager: types by extension, names in any case, groups, typed getters and
// their failures, factories, device notifications in load order.

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "tests/engine/core/test_file_env.h"

using namespace file_test;

namespace {

std::vector<std::string>& events() {
    static std::vector<std::string> log;
    return log;
}

int xmlRoot, curveA;   // stand-ins whose addresses the fake resources hand out

// A resource that reads its file (so a missing file fails as a real one does) and reports
// what happens to it.
class FakeResource : public cResource {
public:
    FakeResource(ResourceType type, const cStringA& name, int group) : cResource(type, name, group) {
        std::unique_ptr<cStream> stream(getFileManager()->openRead(name));
        std::vector<uint8_t> bytes = readWholeStream(*stream);
        content.assign(bytes.begin(), bytes.end());
        if (content == "broken") throw std::string("Broken resource '" + name + "'.");
    }
    ~FakeResource() override { events().push_back("delete " + getName()); }
    void onLostDevice() override { events().push_back("lost " + getName()); }
    void onResetDevice() override { events().push_back("reset " + getName()); }
    cTexture* asTexture() override { return getType() == RESOURCE_TEXTURE ? reinterpret_cast<cTexture*>(this) : nullptr; }
    cIniFile* asIni() override { return getType() == RESOURCE_INI ? reinterpret_cast<cIniFile*>(this) : nullptr; }
    cXmlNode* asXml() override { return getType() == RESOURCE_XML ? reinterpret_cast<cXmlNode*>(&xmlRoot) : nullptr; }
    cCurveSet* asCurveSet() override { return getType() == RESOURCE_CURVES ? reinterpret_cast<cCurveSet*>(this) : nullptr; }
    cCurve* findCurve(const cStringA& name) override {
        cStringA lower(name);
        lower.makeLower();
        return lower == "fade" ? reinterpret_cast<cCurve*>(&curveA) : nullptr;
    }
    std::string content;
};

const ResourceType kFakeTypes[] = {RESOURCE_TEXTURE, RESOURCE_MODEL, RESOURCE_XML, RESOURCE_INI, RESOURCE_FONT,
                                   RESOURCE_SHADER, RESOURCE_CURVES};

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Config/Menu.ini", "config/other.ini", "textures/A.png", "textures/b.dds",
                                 "models/m.x", "fonts/f.rwf", "shaders/s.sh", "packs/1/pack.qpk", "levels/l.xml",
                                 "curves/c.crv", "config/broken.ini", "readme.txt"})
            world.put(name, std::string(name).find("broken") != std::string::npos ? "broken" : name);
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        for (ResourceType type : kFakeTypes)
            saved.emplace_back(type, cResourceManager::registerFactory(type, [type](const cStringA& name, int group) {
                                   return new FakeResource(type, name, group);
                               }));
        events().clear();
        resources = std::make_unique<cResourceManager>();
    }
    void TearDown() override {
        resources.reset();
        for (auto& [type, factory] : saved) cResourceManager::registerFactory(type, factory);
        files.reset();
    }
    FakeResource* fake(const char* name) { return static_cast<FakeResource*>(resources->find(cStringA(name))); }

    TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::vector<std::pair<ResourceType, ResourceFactory>> saved;
};

// Marks plain-text throws, so that a test sees which kind of text a failure was thrown as.
template <class Fn>
std::string thrownMarkedText(Fn fn) {
    try {
        fn();
    } catch (const std::string& s) {
        return s;
    } catch (const char* s) {
        return std::string("plain:") + s;
    }
    return "(nothing thrown)";
}

}  // namespace

TEST_F(ResourceTest, TypesFollowTheStandardExtensions) {
    struct Case { const char* name; ResourceType type; };
    const Case cases[] = {{"a.ini", RESOURCE_INI}, {"a.XML", RESOURCE_XML}, {"a.sh", RESOURCE_SHADER},
                          {"a.dds", RESOURCE_TEXTURE}, {"a.bmp", RESOURCE_TEXTURE}, {"a.Png", RESOURCE_TEXTURE},
                          {"a.rwf", RESOURCE_FONT}, {"a.x", RESOURCE_MODEL}, {"a.crv", RESOURCE_CURVES},
                          {"a.qpk", RESOURCE_NONE}, {"a.ogg", RESOURCE_NONE}, {"noext", RESOURCE_NONE}};
    for (const Case& c : cases) EXPECT_EQ(resources->typeOf(cStringA(c.name)), c.type) << c.name;
    resources->registerExtension(cStringA("qpk"), RESOURCE_XML);
    EXPECT_EQ(resources->typeOf(cStringA("packs/1/pack.qpk")), RESOURCE_XML);
    resources->load(cStringA("Packs/1/pack.qpk"), 10);
    EXPECT_EQ(resources->getXml(cStringA("packs/1/PACK.qpk")), reinterpret_cast<cXmlNode*>(&xmlRoot));

    // Unregistered extensions load nothing and report nothing.
    resources->load(cStringA("readme.txt"), 10);
    resources->load(cStringA("missing.ogg"), 10);
    EXPECT_EQ(resources->getLoadedCount(), 1u);
}

TEST_F(ResourceTest, NamesInAnyCaseAndGroupsShareOneCopy) {
    resources->load(cStringA("Textures/A.PNG"), 14);
    FakeResource* texture = fake("textures/a.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getName(), "textures/a.png");
    EXPECT_EQ(texture->content, "textures/A.png");
    EXPECT_EQ(resources->getTexture(cStringA("TEXTURES/a.png")), reinterpret_cast<cTexture*>(texture));

    // The same name in a second group is the same resource and keeps its first group.
    resources->load(cStringA("textures/a.png"), 16);
    EXPECT_EQ(fake("textures/a.png"), texture);
    EXPECT_EQ(texture->getGroup(), 14);
    resources->load(cStringA("config/menu.ini"), 16);
    resources->load(cStringA("config/other.ini"), 14);

    // Unloading the first group removes it for both users, in ascending name order.
    resources->unloadGroup(14);
    EXPECT_EQ(events(), (std::vector<std::string>{"delete config/other.ini", "delete textures/a.png"}));
    EXPECT_FALSE(resources->isLoaded(cStringA("textures/a.png")));
    EXPECT_TRUE(resources->isLoaded(cStringA("config/menu.ini")));
    resources->unloadGroup(99);   // empty group: nothing
    resources->unload(cStringA("CONFIG/Menu.INI"));
    resources->unload(cStringA("config/menu.ini"));   // already gone: nothing
    EXPECT_EQ(resources->getLoadedCount(), 0u);
}

TEST_F(ResourceTest, TypedGettersRefuseUnknownNamesAndOtherTypes) {
    resources->load(cStringA("textures/b.dds"), 10);
    resources->load(cStringA("config/menu.ini"), 10);
    resources->load(cStringA("curves/c.crv"), 10);
    EXPECT_EQ(thrownMarkedText([&] { resources->getIni(cStringA("textures/b.dds")); }), "plain:Wrong resource type.");
    EXPECT_EQ(thrownMarkedText([&] { resources->getTexture(cStringA("config/menu.ini")); }), "plain:Wrong resource type.");
    EXPECT_EQ(thrownMarkedText([&] { resources->getXml(cStringA("config/menu.ini")); }), "plain:Wrong resource type.");
    EXPECT_EQ(thrownMarkedText([&] { resources->getModel(cStringA("config/menu.ini")); }), "plain:Wrong resource type.");
    EXPECT_EQ(thrownMarkedText([&] { resources->getIni(cStringA("Config/Absent.ini")); }),
              "Resource 'Config/Absent.ini' is not loaded.");
    EXPECT_EQ(resources->getIni(cStringA("config/menu.ini")), reinterpret_cast<cIniFile*>(fake("config/menu.ini")));

    EXPECT_EQ(resources->getCurve(cStringA("Curves/C.crv"), cStringA("FADE")), reinterpret_cast<cCurve*>(&curveA));
    EXPECT_EQ(thrownMarkedText([&] { resources->getCurve(cStringA("curves/c.crv"), cStringA("spin")); }),
              "The file 'curves/c.crv' does not contain\nthe function named 'spin'.\n");
    EXPECT_EQ(thrownMarkedText([&] { resources->getCurve(cStringA("curves/none.crv"), cStringA("fade")); }),
              "Resource 'curves/none.crv' is not loaded.");
    EXPECT_EQ(thrownMarkedText([&] { resources->getCurve(cStringA("config/menu.ini"), cStringA("fade")); }),
              "plain:Wrong resource type.");
}

// Every failed load names its file: the loader and the name are one more frame of the error
// call stack after the loader's own text.
TEST_F(ResourceTest, LoadFailuresEnterNothingAndNameTheFile) {
    EXPECT_EQ(thrownMarkedText([&] { resources->load(cStringA("config/broken.ini"), 10); }),
              "Broken resource 'config/broken.ini'.\ncIniFile::cIniFile(\"config/broken.ini\")");
    EXPECT_EQ(thrownMarkedText([&] { resources->load(cStringA("config/MISSING.ini"), 10); }),
              "File \"config/missing.ini\" has not found.\ncIniFile::cIniFile(\"config/MISSING.ini\")");
    EXPECT_EQ(resources->getLoadedCount(), 0u);

    // A known type whose class has registered no factory gives a clear text.
    ResourceFactory curves = cResourceManager::registerFactory(RESOURCE_CURVES, {});
    EXPECT_FALSE(cResourceManager::hasFactory(RESOURCE_CURVES));
    EXPECT_EQ(thrownMarkedText([&] { resources->load(cStringA("curves/c.crv"), 10); }),
              "Resource 'curves/c.crv' cannot be loaded: no loader is registered for resource type 6.");
    EXPECT_FALSE(resources->isLoaded(cStringA("curves/c.crv")));
    cResourceManager::registerFactory(RESOURCE_CURVES, curves);
    resources->load(cStringA("curves/c.crv"), 10);
    EXPECT_TRUE(resources->isLoaded(cStringA("curves/c.crv")));
}

TEST_F(ResourceTest, DeviceNotificationsReachDeviceResourcesInLoadOrder) {
    for (const char* name : {"textures/b.dds", "config/menu.ini", "models/m.x", "textures/a.png", "fonts/f.rwf",
                             "levels/l.xml", "shaders/s.sh", "curves/c.crv"})
        resources->load(cStringA(name), 10);
    resources->onLostDevice();
    resources->onResetDevice();
    EXPECT_EQ(events(), (std::vector<std::string>{"lost textures/b.dds", "lost models/m.x", "lost textures/a.png",
                                                  "lost fonts/f.rwf", "lost shaders/s.sh", "reset textures/b.dds",
                                                  "reset models/m.x", "reset textures/a.png", "reset fonts/f.rwf",
                                                  "reset shaders/s.sh"}));
    events().clear();
    resources->unload(cStringA("models/m.x"));
    resources->onLostDevice();
    EXPECT_EQ(events(), (std::vector<std::string>{"delete models/m.x", "lost textures/b.dds", "lost textures/a.png",
                                                  "lost fonts/f.rwf", "lost shaders/s.sh"}));
    // The manager's end deletes what is left in ascending name order.
    events().clear();
    resources.reset();
    EXPECT_EQ(events().front(), "delete config/menu.ini");
    EXPECT_EQ(events().back(), "delete textures/b.dds");
    EXPECT_EQ(events().size(), 7u);
}

TEST_F(ResourceTest, LoadFolderLoadsEachListedNameOnce) {
    resources->loadFolder(cStringA("textures"), true, 17);
    EXPECT_EQ(resources->getLoadedCount(), 2u);
    EXPECT_EQ(fake("textures/b.dds")->getGroup(), 17);
    EXPECT_THROW(cResourceManager(), const char*);   // one instance only
    EXPECT_EQ(getResourceManager(), resources.get());
}
