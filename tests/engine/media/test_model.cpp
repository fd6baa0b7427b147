// Models: frame tree, mesh parts, skinning, animation tracks and instances.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelAnimationSet.h"
#include "engine/media/cModelFrame.h"
#include "engine/media/cModelInstance.h"
#include "engine/media/cModelMesh.h"
#include "engine/media/cModelTrack.h"

namespace {

std::unique_ptr<cModel> makeModel(const std::string& body) {
    const std::string text = "xof 0303txt 0032\n" + body;
    return std::make_unique<cModel>("test.x", 10, text.data(), text.size());
}

std::unique_ptr<cModel> demoModel() {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/models/demo_arm.x", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::make_unique<cModel>("models/demo_arm.x", 10, text.data(), text.size());
}

struct InstanceDeleter {
    void operator()(cModelInstance* instance) const { delete instance; }
};
using InstancePtr = std::unique_ptr<cModelInstance, InstanceDeleter>;

const cModelVertex& posed(cModelInstance& instance, size_t part, size_t vertex) {
    return instance.getBoneMatrixSets().at(part)->getMesh()->getVertices().at(vertex);
}

cQuaternion zRotation(float degrees) {
    const float half = degrees * 3.14159265f / 360.0f;
    return {0.0f, 0.0f, std::sin(half), std::cos(half)};
}

// An animation key line for a rotation about z as files write it: the conjugate of the
// quaternion, in the order w, x, y, z.
std::string zKey(int time, float degrees) {
    const cQuaternion q = zRotation(degrees);
    return std::to_string(time) + "; 4; " + std::to_string(q.w) + ", 0, 0, " + std::to_string(-q.z) + ";;";
}

const char* kTriangle = "3; 0;0;0;, 10;0;0;, 0;10;0;; 1; 3; 0,1,2;;";

}  // namespace

TEST(Model, TopLevelMeshOnlyHangsOnTheRoot) {
    auto model = makeModel(std::string("Mesh Lonely { ") + kTriangle + " }");
    EXPECT_EQ(model->getType(), RESOURCE_MODEL);
    EXPECT_EQ(model->asModel(), model.get());
    cModelFrame* root = model->getRootFrame();
    EXPECT_EQ(root->getName().str(), "<root>");
    EXPECT_TRUE(root->getChildren().empty());
    ASSERT_EQ(root->getMeshes().size(), 1u);
    ASSERT_EQ(model->getMeshParts().size(), 1u);
    EXPECT_EQ(model->getMeshParts()[0]->getName().str(), "Lonely");
    EXPECT_FALSE(model->getMeshParts()[0]->isSkinned());
}

TEST(Model, FramesMatricesSearchAndPartOrder) {
    auto model = makeModel(std::string(
        "Frame A {\n"
        "  Mesh MA { ") + kTriangle + " }\n"
        "  Frame B { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 5,6,7,1;; }\n"
        "    Mesh MB { " + kTriangle + " }\n"
        "    Frame Twin { Frame Deep {} }\n"
        "  }\n"
        "  Frame Twin { FrameTransformMatrix { 2,0,0,0, 0,2,0,0, 0,0,2,0, 0,0,0,1;; } }\n"
        "}\n");
    cModelFrame* a = model->findFrame("A");
    ASSERT_NE(a, nullptr);
    // No FrameTransformMatrix: the identity.
    EXPECT_EQ(a->getRestMatrix(), cMatrix4::identity());
    // Depth first: B's Twin comes before A's second child of the same name.
    cModelFrame* twin = model->findFrame("Twin");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->getRestMatrix(), cMatrix4::identity());
    EXPECT_EQ(twin->getChildren().size(), 1u);
    EXPECT_EQ(model->findFrame("twin"), nullptr);   // names are case-sensitive
    EXPECT_EQ(model->findFrame("Nobody"), nullptr);
    // Children's parts come before their parent's own.
    ASSERT_EQ(model->getMeshParts().size(), 2u);
    EXPECT_EQ(model->getMeshParts()[0]->getName().str(), "MB");
    EXPECT_EQ(model->getMeshParts()[1]->getName().str(), "MA");

    model->updateCombined();
    EXPECT_FLOAT_EQ(model->findFrame("Deep")->getCombinedMatrix().m[3][0], 5.0f);
    EXPECT_FLOAT_EQ(model->findFrame("Deep")->getCombinedMatrix().m[3][2], 7.0f);
}

TEST(Model, BonesBindByNameAndUnmatchedBonesKeepTheIdentity) {
    auto model = makeModel(std::string(
        "Frame Bone { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 3,4,0,1;; } }\n"
        "Mesh Skin { ") + kTriangle +
        " SkinWeights { \"Bone\"; 3; 0,1,2; 1,1,1; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
        " SkinWeights { \"Ghost\"; 0; 1,0,0,0, 0,1,0,0, 0,0,1,0, 9,9,9,1;; } }\n");
    cModelMesh* part = model->getMeshParts().at(0);
    ASSERT_TRUE(part->isSkinned());
    ASSERT_EQ(part->getBoneCount(), 2u);
    EXPECT_EQ(part->getBoneFrame(0), model->findFrame("Bone"));
    EXPECT_EQ(part->getBoneFrame(1), nullptr);

    InstancePtr instance(model->createInstance());
    const auto& matrices = instance->getBoneMatrixSets().at(0)->getBoneMatrices();
    EXPECT_FLOAT_EQ(matrices[0].m[3][0], 3.0f);
    EXPECT_EQ(matrices[1], cMatrix4::identity());
    // Vertex 1 (10, 0) moves with the bone.
    EXPECT_FLOAT_EQ(posed(*instance, 0, 1).x, 13.0f);
    EXPECT_FLOAT_EQ(posed(*instance, 0, 1).y, 4.0f);
}

TEST(Model, SkinsTheDemoArmIntoEachPose) {
    auto model = demoModel();
    InstancePtr instance(model->createInstance());
    ASSERT_EQ(instance->getBoneMatrixSets().size(), 1u);
    // At rest the vertices are where the file puts them.
    EXPECT_FLOAT_EQ(posed(*instance, 0, 4).x, -10.0f);
    EXPECT_FLOAT_EQ(posed(*instance, 0, 4).y, 100.0f);

    // Halfway through "Swing" Lower is turned a quarter: its end swings to the side.
    instance->setAnimation("SWING", 2.0f, 1.0f);
    EXPECT_EQ(instance->getAnimationName().str(), "swing");
    EXPECT_NEAR(posed(*instance, 0, 4).x, -50.0f, 1e-3f);
    EXPECT_NEAR(posed(*instance, 0, 4).y, 40.0f, 1e-3f);
    // Vertex 2 is weighed half by each bone.
    EXPECT_NEAR(posed(*instance, 0, 2).x, -5.0f, 1e-3f);
    EXPECT_NEAR(posed(*instance, 0, 2).y, 45.0f, 1e-3f);
    // Vertex 0 follows Upper only, which does not move.
    EXPECT_NEAR(posed(*instance, 0, 0).x, -10.0f, 1e-4f);
    EXPECT_NEAR(posed(*instance, 0, 0).y, 0.0f, 1e-4f);
    // Colours and texture coordinates come with the vertices.
    EXPECT_EQ(posed(*instance, 0, 4).colour, 0xFFFF3333u);
    EXPECT_FLOAT_EQ(posed(*instance, 0, 5).u0, 1.0f);
    EXPECT_FLOAT_EQ(posed(*instance, 0, 5).v1, 1.0f);
}

TEST(Model, TwoInstancesKeepTheirOwnPoses) {
    auto model = demoModel();
    cModelMesh* part = model->getMeshParts().at(0);
    InstancePtr first(model->createInstance());
    InstancePtr second(model->createInstance());
    EXPECT_EQ(part->getBoneMatrixSets().size(), 2u);
    EXPECT_NE(first->getBoneMatrixSets()[0]->getMesh(), second->getBoneMatrixSets()[0]->getMesh());

    first->setAnimation("swing", 2.0f, 1.0f);
    second->setAnimation("swing", 2.0f, 0.0f);
    EXPECT_NEAR(posed(*first, 0, 4).x, -50.0f, 1e-3f);
    EXPECT_NEAR(posed(*second, 0, 4).x, -10.0f, 1e-3f);

    first.reset();
    ASSERT_EQ(part->getBoneMatrixSets().size(), 1u);
    EXPECT_EQ(part->getBoneMatrixSets()[0], second->getBoneMatrixSets()[0]);
    second->update(1.0f);
    EXPECT_NEAR(posed(*second, 0, 4).x, -50.0f, 1e-3f);
}

TEST(Model, DeviceResetRegeneratesMeshesInTheLastPose) {
    auto model = makeModel(std::string("Mesh Plain { ") + kTriangle + " }");
    auto demo = demoModel();
    InstancePtr plain(model->createInstance());
    InstancePtr arm(demo->createInstance());
    arm->setAnimation("swing", 2.0f, 1.0f);
    const cModelMeshBuffer* shared = plain->getBoneMatrixSets()[0]->getMesh();

    model->onLostDevice();
    demo->onLostDevice();
    EXPECT_EQ(arm->getBoneMatrixSets()[0]->getMesh(), nullptr);
    EXPECT_EQ(plain->getBoneMatrixSets()[0]->getMesh(), shared);   // an unskinned part keeps its mesh
    arm->update(0.0f);                                              // posing while lost is harmless

    model->onResetDevice();
    demo->onResetDevice();
    ASSERT_NE(arm->getBoneMatrixSets()[0]->getMesh(), nullptr);
    EXPECT_NEAR(posed(*arm, 0, 4).x, -50.0f, 1e-3f);
    EXPECT_NEAR(posed(*arm, 0, 4).y, 40.0f, 1e-3f);
    EXPECT_EQ(plain->getBoneMatrixSets()[0]->getMesh(), shared);
}

TEST(Model, PartsWithoutGeometryGetNoSet) {
    auto model = makeModel(std::string("Mesh Empty { 0;; 0;; } Mesh Full { ") + kTriangle + " }");
    InstancePtr instance(model->createInstance());
    ASSERT_EQ(instance->getBoneMatrixSets().size(), 2u);
    EXPECT_EQ(instance->getBoneMatrixSets()[0], nullptr);
    EXPECT_NE(instance->getBoneMatrixSets()[1], nullptr);
    instance->update(0.1f);
}

TEST(Model, InstanceOutlivingItsModelCanStillBeDeleted) {
    auto model = demoModel();
    InstancePtr instance(model->createInstance());
    instance->setAnimation("swing", 2.0f, 0.5f);
    model.reset();
    EXPECT_EQ(instance->getBoneMatrixSets()[0]->getPart(), nullptr);
    EXPECT_EQ(instance->getModel(), nullptr);
    EXPECT_EQ(instance->getAnimationName().str(), "");
    // No access to the freed model or parts (the sanitizer watches).
    instance->update(0.5f);
    instance->setAnimation("swing", 1.0f, 0.0f);
    EXPECT_EQ(instance->getBoneMatrixSets()[0]->getMesh(), nullptr);
    instance.reset();
}

TEST(Model, BrokenFilesFailWithTheModelsName) {
    try {
        makeModel("Mesh { 3; 0;0;0;; }");
        FAIL() << "no failure";
    } catch (const std::string& text) {
        EXPECT_EQ(text.rfind("Model 'test.x': line ", 0), 0u) << text;
    }
    try {
        makeModel("Frame F {} AnimationSet { Animation { {F} AnimationKey { 9; 0; } } }");
        FAIL() << "no failure";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Unknown type of keys was found.");
    }
}

// ---- Animation ---------------------------------------------------------------------------

TEST(ModelAnimation, RotationKeysAloneGiveTwoSamplesBlendedElementwise) {
    auto model = makeModel("Frame F {} AnimationSet Turn { Animation { {F} AnimationKey { 0; 2; " + zKey(0, 0) + ", " +
                           zKey(100, 90) + "; } } }");
    const cModelTrack* track = model->findAnimationSet("turn")->getTracks().at(0);
    ASSERT_EQ(track->getSamples().size(), 2u);
    EXPECT_FLOAT_EQ(track->getLength(), 100.0f);
    const cMatrix4 expected = lerpMatrix(rotationMatrix(zRotation(0)), rotationMatrix(zRotation(90)), 0.25f);
    track->apply(0.25f);
    EXPECT_TRUE(nearlyEqual(model->findFrame("F")->getLocalMatrix(), expected, 1e-5f));
}

TEST(ModelAnimation, AKeyEqualToAFramesRestRotationReproducesItsRestMatrix) {
    // Rest matrices written out by hand (row vectors, translation in the last row), and the
    // keys an exporter writes for the same pose: position keys of the translation, rotation
    // keys of the conjugated quaternion (w, x, y, z).
    struct Case {
        const char* what;
        const char* rest;
        const char* rotation;
        const char* position;
    } cases[] = {
        {"a quarter turn about z, x to y", "0,1,0,0, -1,0,0,0, 0,0,1,0, 5,6,7,1", "0.70710678, 0, 0, -0.70710678",
         "5, 6, 7"},
        {"a third turn about (1, 1, 1), x to y to z", "0,1,0,0, 0,0,1,0, 1,0,0,0, 0,-3,0,1", "0.5, -0.5, -0.5, -0.5",
         "0, -3, 0"},
        {"a half turn about x", "1,0,0,0, 0,-1,0,0, 0,0,-1,0, 0,0,0,1", "0, 1, 0, 0", "0, 0, 0"},
        {"a quarter turn about y, x to -z", "0,0,-1,0, 0,1,0,0, 1,0,0,0, 0,0,0,1", "0.70710678, 0, -0.70710678, 0",
         "0, 0, 0"},
        {"no turn", "1,0,0,0, 0,1,0,0, 0,0,1,0, 2,0,0,1", "1, 0, 0, 0", "2, 0, 0"},
    };
    for (const Case& c : cases) {
        auto model = makeModel(std::string("Frame F { FrameTransformMatrix { ") + c.rest + ";; } }\n" +
                               "AnimationSet Pose { Animation { {F}\n" + " AnimationKey { 0; 1; 0; 4; " + c.rotation +
                               ";;; }\n AnimationKey { 2; 1; 0; 3; " + c.position + ";;; } } }");
        cModelFrame* frame = model->findFrame("F");
        const cMatrix4 rest = frame->getRestMatrix();
        model->findAnimationSet("pose")->apply(0.0f);
        EXPECT_TRUE(nearlyEqual(frame->getLocalMatrix(), rest, 1e-6f)) << c.what;
    }
}

TEST(ModelMath, AQuarterTurnAboutZTakesXToY) {
    // Worked by hand: x = y = 0, z = w = sqrt(1/2); 2zw = 1, 1 - 2z^2 = 0.
    const cMatrix4 m = rotationMatrix({0.0f, 0.0f, 0.70710678f, 0.70710678f});
    const cMatrix4 expected = cMatrix4::fromFloats(std::array<float, 16>{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}.data());
    EXPECT_TRUE(nearlyEqual(m, expected, 1e-6f));
    const cModelVec3 p = transformPoint({3, 0, 0}, m);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 3.0f, 1e-6f);
    // The same quarter turn as a file writes it, read into a frame: (cos 45, 0, 0, -sin 45).
    auto model = makeModel("Frame F {} AnimationSet { Animation { {F} AnimationKey { 0; 1; 0; 4; "
                           "0.70710678, 0, 0, -0.70710678;;; } } }");
    model->findAnimationSet("unnamed_1")->apply(0.0f);
    EXPECT_TRUE(nearlyEqual(model->findFrame("F")->getLocalMatrix(), expected, 1e-6f));
}

TEST(ModelAnimation, SamplesAtEveryKeyTimeWithSlerpBetweenRotations) {
    auto model = makeModel("Frame F {} AnimationSet { Animation { {F}\n"
                           " AnimationKey { 2; 3; 0; 3; 0,0,0;;, 50; 3; 10,0,0;;, 100; 3; 20,0,0;;; }\n"
                           " AnimationKey { 0; 2; " + zKey(0, 0) + ", " + zKey(100, 120) + "; } } }");
    const cModelTrack* track = model->findAnimationSet("unnamed_1")->getTracks().at(0);
    const auto& samples = track->getSamples();
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_FLOAT_EQ(samples[1].time, 50.0f);
    const cMatrix4 expected = transformation({1, 1, 1}, zRotation(60), {10, 0, 0});
    EXPECT_TRUE(nearlyEqual(samples[1].matrix, expected, 1e-5f));
}

TEST(ModelAnimation, KeySamplingTable) {
    auto key = [](uint32_t time, float x) {
        cModelKeyRecord k;
        k.time = time;
        k.values[0] = x;
        return k;
    };
    const std::vector<cModelKeyRecord> none, one{key(10, 7)}, three{key(0, 0), key(50, 10), key(100, 30)};
    struct Case {
        const std::vector<cModelKeyRecord>* keys;
        double t;
        float expected;
    } cases[] = {
        {&one, 0, 7},    {&one, 500, 7},    {&three, 0, 0},      {&three, 25, 5},
        {&three, 50, 10}, {&three, 75, 20}, {&three, 100, 30},
        {&three, 150, 50},   // beyond the last key: extrapolated
    };
    for (const auto& c : cases) {
        size_t search = 0;
        EXPECT_FLOAT_EQ(cModelTrack::samplePosition(*c.keys, c.t, search).x, c.expected) << "t=" << c.t;
    }
    size_t search = 0;
    const cModelVec3 scale = cModelTrack::sampleScale(none, 5, search);
    EXPECT_FLOAT_EQ(scale.x, 1.0f);
    EXPECT_FLOAT_EQ(scale.z, 1.0f);
    const cQuaternion rotation = cModelTrack::sampleRotation(none, 5, search);
    EXPECT_FLOAT_EQ(rotation.w, 1.0f);
    // Times rising through one search position, as the track builder uses it.
    search = 0;
    for (double t : {0.0, 25.0, 50.0, 75.0, 100.0})
        EXPECT_FLOAT_EQ(cModelTrack::samplePosition(three, t, search).x,
                        t <= 50 ? float(t / 5) : float(10 + (t - 50) * 0.4)) << t;
}

TEST(ModelAnimation, ShorterKindsExtrapolateToLaterKeyTimes) {
    // Position keys end at 50, rotation keys at 100: the sample at 100 runs the position on.
    auto model = makeModel("Frame F {} AnimationSet { Animation { {F}\n"
                           " AnimationKey { 2; 2; 0; 3; 0,0,0;;, 50; 3; 10,0,0;;; }\n"
                           " AnimationKey { 0; 2; " + zKey(0, 0) + ", " + zKey(100, 0) + "; } } }");
    const auto& samples = model->findAnimationSet("unnamed_1")->getTracks().at(0)->getSamples();
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_FLOAT_EQ(samples[2].matrix.m[3][0], 20.0f);
}

TEST(ModelAnimation, MatrixKeysAreTheSamples) {
    auto model = makeModel("Frame F {} AnimationSet { Animation { {F} AnimationKey { 4; 2;\n"
                           " 0; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;,\n"
                           " 10; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 8,0,0,1;;; } } }");
    InstancePtr instance(model->createInstance());
    instance->setAnimation("unnamed_1", 1.0f, 0.5f);
    EXPECT_FLOAT_EQ(model->findFrame("F")->getLocalMatrix().m[3][0], 4.0f);
}

TEST(ModelAnimation, SetNamesUnnamedCountersCaseAndDuplicates) {
    auto model = makeModel("Frame F {}\n"
                           "AnimationSet { Animation { {F} AnimationKey { 2; 1; 0; 3; 1,0,0;;; } } }\n"
                           "AnimationSet WalkFast { Animation { {F} AnimationKey { 2; 1; 0; 3; 2,0,0;;; } } }\n"
                           "AnimationSet { Animation { {F} AnimationKey { 2; 1; 0; 3; 3,0,0;;; } } }\n"
                           "AnimationSet WALKFAST { Animation { {F} AnimationKey { 2; 1; 0; 3; 4,0,0;;; } } }\n");
    EXPECT_EQ(model->getAnimationSets().size(), 3u);
    ASSERT_NE(model->findAnimationSet("unnamed_1"), nullptr);
    ASSERT_NE(model->findAnimationSet("UNNAMED_2"), nullptr);
    cModelAnimationSet* walk = model->findAnimationSet("wAlKfAsT");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->getName().str(), "walkfast");
    // The first set of a name wins.
    EXPECT_FLOAT_EQ(walk->getTracks()[0]->getSamples()[0].matrix.m[3][0], 2.0f);
    EXPECT_EQ(model->findAnimationSet("run"), nullptr);
}

TEST(ModelAnimation, UnmatchedFramesAndUnknownSetsChangeNothing) {
    auto model = makeModel("Frame F { FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 1,2,3,1;; } }\n"
                           "AnimationSet Lost { Animation { {Nowhere} AnimationKey { 2; 1; 0; 3; 9,9,9;;; } } }");
    EXPECT_EQ(model->findAnimationSet("lost")->getTracks()[0]->getTargetFrame(), nullptr);
    InstancePtr instance(model->createInstance());
    instance->setAnimation("lost", 1.0f, 0.5f);
    EXPECT_FLOAT_EQ(model->findFrame("F")->getLocalMatrix().m[3][0], 1.0f);
    instance->setAnimation("missing", 1.0f, 0.0f);
    EXPECT_EQ(instance->getAnimationSet(), nullptr);
    EXPECT_EQ(instance->getAnimationName().str(), "");
}

TEST(ModelAnimation, ZeroLengthShowsTheFirstSampleAndStandsStill) {
    auto model = demoModel();
    InstancePtr instance(model->createInstance());
    instance->setAnimation("swing", 0.0f, 1.0f);
    instance->update(0.7f);
    EXPECT_FLOAT_EQ(instance->getPhase(), 0.0f);
    EXPECT_FLOAT_EQ(instance->getTime(), 1.0f);
    EXPECT_NEAR(posed(*instance, 0, 4).x, -10.0f, 1e-4f);
    EXPECT_NEAR(posed(*instance, 0, 4).y, 100.0f, 1e-4f);
}

TEST(ModelAnimation, TimeWrapsIntoTheLength) {
    auto model = demoModel();
    InstancePtr instance(model->createInstance());
    struct Case {
        float length, time, step, time2, phase;
    } cases[] = {
        {2.0f, 1.5f, 1.0f, 0.5f, 0.25f},
        {2.0f, 0.0f, 2.0f, 0.0f, 0.0f},     // exactly one length
        {2.0f, 0.5f, -1.0f, 1.5f, 0.75f},   // backwards
        {2.0f, 0.0f, 9.0f, 1.0f, 0.5f},     // several lengths at once
        {-1.0f, 0.3f, 1.0f, 0.3f, 0.0f},    // a negative length counts as none
    };
    for (const auto& c : cases) {
        instance->setAnimation("swing", c.length, c.time);
        instance->update(c.step);
        EXPECT_FLOAT_EQ(instance->getTime(), c.time2) << c.length << " " << c.time << " " << c.step;
        EXPECT_FLOAT_EQ(instance->getPhase(), c.phase) << c.length << " " << c.time << " " << c.step;
    }
}

TEST(ModelAnimation, WorldMatrixFromPositionDepthAndScale) {
    auto model = demoModel();
    InstancePtr instance(model->createInstance());
    EXPECT_EQ(*instance->getWorldMatrix(), cMatrix4::identity());
    instance->setPosition(400.0f, 300.0f);
    instance->setDepth(0.25f);
    instance->setScale(2.0f, -1.0f);
    const cMatrix4& world = *instance->getWorldMatrix();
    const cModelVec3 p = transformPoint({10.0f, 20.0f, 0.0f}, world);
    EXPECT_FLOAT_EQ(p.x, 420.0f);
    EXPECT_FLOAT_EQ(p.y, 280.0f);
    EXPECT_FLOAT_EQ(p.z, 0.25f);
    float x, y;
    instance->getScale(&x, &y);
    EXPECT_FLOAT_EQ(y, -1.0f);
}

TEST(ModelMath, SlerpTakesTheShortArcAndExtrapolates) {
    const cQuaternion a = zRotation(10), b = zRotation(50);
    const cQuaternion half = slerp(a, b, 0.5f);
    EXPECT_NEAR(half.z, zRotation(30).z, 1e-6f);
    EXPECT_NEAR(half.w, zRotation(30).w, 1e-6f);
    // The same rotation with all signs flipped blends the short way.
    const cQuaternion negated{-b.x, -b.y, -b.z, -b.w};
    const cQuaternion viaNegated = slerp(a, negated, 0.5f);
    EXPECT_NEAR(std::fabs(viaNegated.z), zRotation(30).z, 1e-6f);
    const cQuaternion beyond = slerp(a, b, 2.0f);
    EXPECT_NEAR(beyond.z, zRotation(90).z, 1e-5f);
    const cQuaternion same = slerp(a, a, 0.3f);
    EXPECT_NEAR(same.z, a.z, 1e-6f);
}
