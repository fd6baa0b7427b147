// The .x text reader and the model loader built on it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "engine/media/XFileReader.h"

namespace {

const char* kHeader = "xof 0303txt 0032\n";

cModelLoadRecord load(const std::string& body) {
    const std::string text = kHeader + body;
    cModelLoadRecord record;
    loadXModel(text.data(), text.size(), record);
    return record;
}

// The text of the failure of loading, or "" when the load succeeds.
std::string failure(const std::string& text) {
    try {
        cModelLoadRecord record;
        loadXModel(text.data(), text.size(), record);
    } catch (const std::string& e) {
        return e.empty() ? "(empty text)" : e;
    } catch (const char* e) {
        return e;
    }
    return "";
}

std::string readDemo() {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/models/demo_arm.x", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(XFileReader, ReadsTheDemoModel) {
    const std::string text = readDemo();
    ASSERT_FALSE(text.empty());
    cModelLoadRecord record;
    loadXModel(text.data(), text.size(), record);

    EXPECT_EQ(record.root.name, "<root>");
    ASSERT_EQ(record.root.children.size(), 1u);
    const cModelFrameRecord& root = *record.root.children[0];
    EXPECT_EQ(root.name, "Root");
    ASSERT_EQ(root.children.size(), 1u);
    const cModelFrameRecord& upper = *root.children[0];
    ASSERT_EQ(upper.children.size(), 1u);
    const cModelFrameRecord& lower = *upper.children[0];
    EXPECT_EQ(lower.name, "Lower");
    EXPECT_FLOAT_EQ(lower.matrix.m[3][1], 50.0f);

    ASSERT_EQ(root.meshes.size(), 1u);
    const cModelMeshRecord& mesh = *root.meshes[0];
    EXPECT_EQ(mesh.name, "Bar");
    EXPECT_EQ(mesh.positions.size(), 6u);
    // Two quads fanned into four triangles.
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 3, 0, 3, 2, 2, 3, 5, 2, 5, 4}));
    ASSERT_EQ(mesh.ranges.size(), 1u);
    EXPECT_EQ(mesh.ranges[0].faceCount, 4u);
    EXPECT_EQ(mesh.ranges[0].vertexStart, 0u);
    EXPECT_EQ(mesh.ranges[0].vertexCount, 6u);
    ASSERT_EQ(mesh.texCoords.size(), 6u);
    EXPECT_FLOAT_EQ(mesh.texCoords[5].x, 1.0f);
    EXPECT_FLOAT_EQ(mesh.texCoords[5].y, 1.0f);
    ASSERT_EQ(mesh.colours.size(), 6u);
    EXPECT_EQ(mesh.colours[0], 0xFFFF3333u);
    ASSERT_EQ(mesh.bones.size(), 2u);
    EXPECT_EQ(mesh.bones[1].name, "Lower");
    EXPECT_EQ(mesh.bones[1].vertices, (std::vector<uint32_t>{2, 3, 4, 5}));
    EXPECT_FLOAT_EQ(mesh.bones[1].weights[0], 0.5f);
    EXPECT_FLOAT_EQ(mesh.bones[1].offset.m[3][1], -50.0f);

    ASSERT_EQ(record.animationSets.size(), 1u);
    EXPECT_EQ(record.animationSets[0]->name, "Swing");
    ASSERT_EQ(record.animationSets[0]->animations.size(), 1u);
    const cModelAnimationRecord& animation = *record.animationSets[0]->animations[0];
    EXPECT_EQ(animation.frameName, "Lower");
    EXPECT_EQ(animation.options[0], 1u);
    ASSERT_EQ(animation.rotationKeys.size(), 3u);
    EXPECT_EQ(animation.positionKeys.size(), 2u);
    // The file's w, x, y, z is kept as x, y, z, w, conjugated.
    const cModelKeyRecord& middle = animation.rotationKeys[1];
    EXPECT_EQ(middle.time, 50u);
    EXPECT_FLOAT_EQ(middle.values[0], 0.0f);
    EXPECT_FLOAT_EQ(middle.values[2], 0.7071068f);
    EXPECT_FLOAT_EQ(middle.values[3], 0.7071068f);
    EXPECT_FLOAT_EQ(animation.rotationKeys[0].values[3], 1.0f);
}

TEST(XFileReader, SyntaxCommentsTemplatesReferencesAndUnnamedObjects) {
    const cModelLoadRecord record = load(
        "# a hash comment\n"
        "template Unused { <11111111-2222-3333-4444-555555555555> DWORD x; { nested } [...] }\n"
        "Mesh Shared <01234567-89AB-CDEF-0123-456789ABCDEF> { // comment after a brace\n"
        "  3; 0;0;0;, 1;0;0;, 0;1;0;;  1; 3; 0,1,2;;\n"
        "}\n"
        "Frame { Frame Inner { { Shared } } { Shared } }\n"   // unnamed outer frame
        "Frame Later { { Ahead } }\n"                           // reference before the object
        "Frame Ahead { }\n");
    ASSERT_EQ(record.root.meshes.size(), 1u);   // the top-level mesh
    ASSERT_EQ(record.root.children.size(), 3u);
    const cModelFrameRecord& outer = *record.root.children[0];
    EXPECT_EQ(outer.name, "");
    EXPECT_EQ(outer.meshes.size(), 1u);
    ASSERT_EQ(outer.children.size(), 1u);
    EXPECT_EQ(outer.children[0]->meshes.size(), 1u);
    // A referenced frame is loaded again as a child.
    ASSERT_EQ(record.root.children[1]->children.size(), 1u);
    EXPECT_EQ(record.root.children[1]->children[0]->name, "Ahead");
}

TEST(XFileReader, MaterialListGroupsTrianglesIntoRanges) {
    // Faces 0 and 2 use material 1, face 1 material 0; the list is one short, so face 3 takes
    // the last one given (1).
    const cModelLoadRecord record = load(
        "Mesh {\n"
        "  6; 0;0;0;, 1;0;0;, 0;1;0;, 5;0;0;, 6;0;0;, 5;1;0;;\n"
        "  4; 3;0,1,2;, 3;3,4,5;, 3;2,1,0;, 3;5,4,3;;\n"
        "  MeshMaterialList { 2; 3; 1, 0, 1;; }\n"
        "}\n");
    const cModelMeshRecord& mesh = *record.root.meshes[0];
    ASSERT_EQ(mesh.ranges.size(), 2u);
    EXPECT_EQ(mesh.ranges[0].attribute, 0u);
    EXPECT_EQ(mesh.ranges[0].faceStart, 0u);
    EXPECT_EQ(mesh.ranges[0].faceCount, 1u);
    EXPECT_EQ(mesh.ranges[0].vertexStart, 3u);
    EXPECT_EQ(mesh.ranges[0].vertexCount, 3u);
    EXPECT_EQ(mesh.ranges[1].attribute, 1u);
    EXPECT_EQ(mesh.ranges[1].faceStart, 1u);
    EXPECT_EQ(mesh.ranges[1].faceCount, 3u);
    EXPECT_EQ(mesh.ranges[1].vertexStart, 0u);
    EXPECT_EQ(mesh.ranges[1].vertexCount, 6u);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{3, 4, 5, 0, 1, 2, 2, 1, 0, 5, 4, 3}));
    EXPECT_EQ(mesh.materialCount, 2u);
}

TEST(XFileReader, LaterKeysOfAKindReplaceEarlierOnes) {
    const cModelLoadRecord record = load(
        "Frame F {}\n"
        "AnimationSet { Animation { {F}\n"
        "  AnimationKey { 2; 1; 0; 3; 1,2,3;;; }\n"
        "  AnimationKey { 2; 2; 0; 3; 4,5,6;;, 10; 3; 7,8,9;;; }\n"
        "} }\n");
    const cModelAnimationRecord& animation = *record.animationSets[0]->animations[0];
    ASSERT_EQ(animation.positionKeys.size(), 2u);
    EXPECT_FLOAT_EQ(animation.positionKeys[0].values[0], 4.0f);
}

TEST(XFileReader, RefusesBinaryCompressedAndForeignFiles) {
    struct Case {
        std::string text;
        const char* expected;
    } cases[] = {
        {"xof 0303bin 0032\x01\x02", "binary and compressed"},
        {"xof 0303tzip0032xxxx", "binary and compressed"},
        {"xof 0303bzip0032xxxx", "binary and compressed"},
        {"xof 0303abc 0032", "unknown .x file format"},
        {"<?xml version=\"1.0\"?><root/>", "not an .x file"},
        {"xof 03", "not an .x file"},
        {"", "not an .x file"},
    };
    for (const auto& c : cases) EXPECT_NE(failure(c.text).find(c.expected), std::string::npos) << c.text;
}

TEST(XFileReader, BrokenFilesFailWithTheirFault) {
    const std::string tri = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,2;;";
    struct Case {
        const char* what;
        std::string body;
        const char* expected;
    } cases[] = {
        {"vertex count beyond the data", "Mesh { 4000000000; 0;0;0;; 0;; }", "more than the data that follows"},
        {"face index out of range", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,7;; }", "uses vertex 7 of 3"},
        {"face with two corners", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2; 0,1;; 0; }", "fewer than 3 corners"},
        {"negative count", "Mesh { -3; 0;0;0;; }", "not an unsigned whole number"},
        {"fractional index", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1.5,2;; }", "not an unsigned"},
        {"string where a number belongs", "Mesh { \"three\"; }", "not an unsigned"},
        {"texture coordinates short", "Mesh { " + tri + " MeshTextureCoords { 2; 0;0;, 1;1;; } }",
         "2 texture coordinates for 3 vertices"},
        {"colour of a missing vertex", "Mesh { " + tri + " MeshVertexColors { 1; 9; 1;1;1;1;;; } }",
         "vertex colour for vertex 9"},
        {"material index out of range", "Mesh { " + tri + " MeshMaterialList { 1; 1; 4;; } }",
         "face material 4 of 1"},
        {"more face materials than faces", "Mesh { " + tri + " MeshMaterialList { 1; 2; 0, 0;; } }",
         "2 face materials for 1 faces"},
        {"skin weight of a missing vertex",
         "Mesh { " + tri + " SkinWeights { \"B\"; 1; 5; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }",
         "weighs vertex 5 of 3"},
        {"skin weights without a matrix", "Mesh { " + tri + " SkinWeights { \"B\"; 1; 0; 1.0; } }",
         "bone offset matrix missing"},
        {"bone name not a string", "Mesh { " + tri + " SkinWeights { 7; 0; } }", "not a quoted string"},
        {"key with the wrong value count",
         "Frame F {} AnimationSet { Animation { {F} AnimationKey { 0; 1; 0; 3; 1,0,0;; 0; } } }",
         "has 3 values, 4 expected"},
        {"key count beyond the data", "AnimationSet { Animation { AnimationKey { 1; 99; 0; 3; 1,1,1;;; } } }",
         "more than the data that follows"},
        {"frame matrix short", "Frame F { FrameTransformMatrix { 1, 0, 0; } }", "frame matrix missing"},
        {"unterminated string", "Mesh { \"abc", "unterminated string"},
        {"unterminated guid", "Mesh { <1234", "unterminated <guid>"},
        {"missing closing brace", "Frame F { Frame G { }", "unexpected end of file inside Frame"},
        {"object without a brace", "Frame F ;", "'{' expected"},
        {"bad reference", "Frame F { { A B } }", "'}' expected to end a reference"},
        {"unterminated template", "template T { <1> DWORD x;", "inside template T"},
        {"number at the top level", "12;", "outside any data object"},
        {"frame referencing itself", "Frame F { { F } }", "contains itself"},
        {"frames referencing each other", "Frame A { { B } } Frame B { { A } }", "contains itself"},
        {"stray '>'", "Frame F { > }", "unexpected '>'"},
    };
    for (const auto& c : cases) {
        const std::string text = failure(kHeader + c.body);
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.what << ": got \"" << text << "\"";
    }
}

TEST(XFileReader, FailureNamesTheLine) {
    const std::string text = failure(std::string(kHeader) + "Frame F {\n}\nMesh M {\n 3;\n 0;0;0;; }\n");
    EXPECT_NE(text.find("line 5"), std::string::npos) << text;
    EXPECT_NE(text.find("Mesh 'M'"), std::string::npos) << text;
}

TEST(XFileReader, NumbersBeyondTheFloatRangeAreDamageWithTheirLine) {
    const std::string identityTail = ", 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1;;\n}\n}\n";
    struct Case {
        const char* what;
        std::string body;
        int line;   // of the number (the header is line 1); 0 when the file loads
    } cases[] = {
        {"frame matrix", "Frame F {\n FrameTransformMatrix {\n  1e39" + identityTail, 4},
        {"negative", "Frame F {\n FrameTransformMatrix {\n  -1e39" + identityTail, 4},
        {"largest float", "Frame F {\n FrameTransformMatrix {\n  3.4028234e38" + identityTail, 0},
        {"vertex", "Mesh {\n 3;\n 0;0;0;,\n 1;1e39;0;,\n 0;1;0;;\n 1; 3; 0,1,2;;\n}\n", 5},
        {"rotation key", "Frame F {}\nAnimationSet {\n Animation {\n  {F}\n  AnimationKey { 0; 1;\n   0; 4; 1, 0, 0, 5e40;;; }\n } }\n", 7},
        {"skin weight",
         "Mesh {\n 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,2;;\n SkinWeights { \"B\"; 1; 0;\n  2e39;\n"
         "  1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n}\n", 5},
    };
    for (const Case& c : cases) {
        const std::string text = failure(kHeader + c.body);
        if (c.line == 0) {
            EXPECT_EQ(text, "") << c.what;
            continue;
        }
        EXPECT_NE(text.find("line " + std::to_string(c.line) + ":"), std::string::npos) << c.what << ": " << text;
        EXPECT_NE(text.find("outside the range of a float"), std::string::npos) << c.what << ": " << text;
    }
}

TEST(XFileReader, AnimationKeyFaultsUseTheirOwnTexts) {
    EXPECT_EQ(failure(std::string(kHeader) + "AnimationSet { Animation { AnimationKey { 3; 1; 0; 3; 1,1,1;;; } } }"),
              "Unknown type of keys was found.");
    EXPECT_EQ(failure(std::string(kHeader) + "Frame F {} AnimationSet { Animation { {F} AnimationOptions { 0; 0; } } }"),
              "No animaton keys are loaded.");
    // A key object with no keys leaves the animation without keys as well.
    EXPECT_EQ(failure(std::string(kHeader) + "AnimationSet { Animation { AnimationKey { 0; 0; } } }"),
              "No animaton keys are loaded.");
}

TEST(XFileReader, HostileNestingAndCopyingAreRefused) {
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "Frame {";
    for (int i = 0; i < 200; ++i) deep += "}";
    EXPECT_NE(failure(kHeader + deep).find("nested too deeply"), std::string::npos);

    // Each frame references the next twice: the copies would double at every level.
    std::string doubling;
    for (int i = 0; i < 30; ++i)
        doubling += "Frame F" + std::to_string(i) + " { {F" + std::to_string(i + 1) + "} {F" + std::to_string(i + 1) +
                    "} }\n";
    doubling += "Frame F30 {}\n";
    EXPECT_NE(failure(kHeader + doubling).find("too many frames"), std::string::npos);
}
