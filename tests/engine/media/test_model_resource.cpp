// Models as resources: loading by name through the file and resource managers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelInstance.h"
#include "tests/engine/core/test_file_env.h"

namespace {

template <class Fn>
std::string thrownText(Fn fn) {
    try {
        fn();
    } catch (const std::string& text) {
        return text;
    } catch (const char* text) {
        return text;
    }
    return "";
}

}  // namespace

TEST(ModelResource, LoadsByNameAndRefusesBrokenFilesWithoutLosingLoadedOnes) {
    file_test::TempWorld world;
    // The demo model as the data build ships it.
    const std::string demo = file_test::readDiskFile(std::string(RW_DIST_DIR) + "/Data/models/demo_arm.x");
    ASSERT_FALSE(demo.empty()) << "the data build did not ship models/demo_arm.x";
    world.put("Models/Demo_Arm.x", demo);
    world.put("models/binary.x", std::string("xof 0303bin 0032\0\0\0\0", 20));
    world.put("models/cut.x", demo.substr(0, demo.size() / 2));

    cModel::registerResourceFactory();
    ASSERT_TRUE(cResourceManager::hasFactory(RESOURCE_MODEL));
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    {
        cResourceManager resources;
        resources.load("models/DEMO_ARM.X", 16);
        cModel* model = resources.getModel("Models/demo_arm.x");
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->getName().str(), "models/demo_arm.x");
        EXPECT_EQ(model->getGroup(), 16);
        cModelInstance* instance = model->createInstance();
        instance->setAnimation("Swing", 1.0f, 0.0f);
        EXPECT_EQ(instance->getAnimationName().str(), "swing");
        delete instance;

        EXPECT_NE(thrownText([&] { resources.load("models/binary.x", 16); }).find("binary and compressed"),
                  std::string::npos);
        EXPECT_NE(thrownText([&] { resources.load("models/cut.x", 16); }).find("Model 'models/cut.x': line "),
                  std::string::npos);
        EXPECT_NE(thrownText([&] { resources.load("models/none.x", 16); }), "");
        EXPECT_FALSE(resources.isLoaded("models/binary.x"));
        EXPECT_FALSE(resources.isLoaded("models/cut.x"));
        EXPECT_EQ(resources.getModel("models/demo_arm.x"), model);
        EXPECT_EQ(thrownText([&] { resources.getModel("models/cut.x"); }), "Resource 'models/cut.x' is not loaded.");

        // Device notifications reach the model.
        instance = model->createInstance();
        resources.onLostDevice();
        resources.onResetDevice();
        instance->update(0.25f);
        delete instance;
    }
}
