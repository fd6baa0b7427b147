// Translation of vertex-shader token streams: what is accepted and what is refused.

#include <gtest/gtest.h>

#include "platform/device/ShaderTranslator.h"
#include "tests/engine/media/test_graphics_support.h"

using namespace render_test::vs;

namespace {

bool translates(const std::vector<uint32_t>& tokens, std::string* error = nullptr) {
    ShaderTranslation t;
    bool ok = translateVertexShader(tokens.data(), tokens.size(), &t);
    if (error) *error = t.error;
    return ok;
}

TEST(ShaderTranslation, TheSpriteShaderReadsItsInputsAndWritesTheOutputs) {
    ShaderTranslation t;
    std::vector<uint32_t> tokens = spriteShader();
    ASSERT_TRUE(translateVertexShader(tokens.data(), tokens.size(), &t)) << t.error;
    EXPECT_EQ(t.inputMask, (1u << 0) | (1u << 5) | (1u << 7));
    EXPECT_NE(t.glsl.find("layout(location = 7) in vec4 v7;"), std::string::npos);
    EXPECT_NE(t.glsl.find("gl_Position"), std::string::npos);
}

TEST(ShaderTranslation, CommentsDeclarationsAndStatedLengthsAreAccepted) {
    std::vector<uint32_t> tokens = {kVersion11,
                                    0x0002FFFEu, 0x41424344u, 0x45464748u,           // a comment of two words
                                    (2u << 24) | kMov, dst(TEMP, 1), src(INPUT, 0),  // mov with its length
                                    kAdd, dst(RASTOUT, 0, 0x3), src(TEMP, 1, 0x00, true), src(CONST, 95),
                                    kMov, dst(ADDR, 0, 0x1), src(CONST, 3),
                                    kMov, dst(ATTROUT, 1), src(CONST, 2) | (1u << 13),  // c[a0.x + 2]
                                    kEnd};
    std::string error;
    EXPECT_TRUE(translates(tokens, &error)) << error;
}

TEST(ShaderTranslation, BrokenOrUnsupportedStreamsAreRefused) {
    struct Case {
        const char* name;
        std::vector<uint32_t> tokens;
    } cases[] = {
        {"empty", {}},
        {"pixel shader version", {0xFFFF0101u, kEnd}},
        {"version 2", {0xFFFE0200u, kEnd}},
        {"no end token", {kVersion11, kMov, dst(TEMP, 0), src(INPUT, 0)}},
        {"instruction cut short", {kVersion11, kMad, dst(TEMP, 0), src(INPUT, 0)}},
        {"unknown instruction", {kVersion11, 66, dst(TEMP, 0), kEnd}},
        {"lerp is not a vertex instruction", {kVersion11, 18, dst(TEMP, 0), src(TEMP, 1), src(TEMP, 2), src(TEMP, 3), kEnd}},
        {"comment past the end", {kVersion11, 0x0010FFFEu, kEnd}},
        {"temporary out of range", {kVersion11, kMov, dst(TEMP, 12), src(INPUT, 0), kEnd}},
        {"input out of range", {kVersion11, kMov, dst(TEMP, 0), src(INPUT, 16), kEnd}},
        {"constant out of range", {kVersion11, kMov, dst(TEMP, 0), src(CONST, 96), kEnd}},
        {"matrix rows past the constants", {kVersion11, kM4x4, dst(RASTOUT, 0), src(INPUT, 0), src(CONST, 94), kEnd}},
        {"texture output out of range", {kVersion11, kMov, dst(TEXOUT, 8), src(INPUT, 0), kEnd}},
        {"writing an input", {kVersion11, kMov, dst(INPUT, 0), src(TEMP, 0), kEnd}},
        {"relative temporary", {kVersion11, kMov, dst(TEMP, 0), src(TEMP, 1) | (1u << 13), kEnd}},
        {"unsupported source modifier", {kVersion11, kMov, dst(TEMP, 0), src(TEMP, 1) | (3u << 24), kEnd}},
        {"saturated result", {kVersion11, kMov, dst(TEMP, 0) | (1u << 20), src(TEMP, 1), kEnd}},
        {"parameter without marker", {kVersion11, kMov, dst(TEMP, 0) & 0x7FFFFFFFu, src(TEMP, 1), kEnd}},
        {"wrong stated length", {kVersion11, (3u << 24) | kMov, dst(TEMP, 0), src(TEMP, 1), src(TEMP, 2), kEnd}},
        {"address written by add", {kVersion11, kAdd, dst(ADDR, 0, 1), src(CONST, 0), src(CONST, 1), kEnd}},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(translates(c.tokens, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

}  // namespace
