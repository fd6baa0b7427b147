#pragma once
// Helpers of the renderer tests: a renderer over the recording device, quads, images in
// memory and small vertex-shader token streams.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/ImageDecoder.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cTexture.h"
#include "engine/media/cDrawRecord.h"
#include "engine/media/cRenderQuad.h"
#include "platform/device/RecordingDevice.h"

namespace render_test {

// A w x h rectangle at (x, y) in one colour.
inline cRenderQuad quadAt(float x, float y, float w, float h, uint32_t color = 0xFFFFFFFFu) {
    cRenderQuad q;
    q.vertices[0] = {x, y, color};
    q.vertices[1] = {x + w, y, color};
    q.vertices[2] = {x, y + h, color};
    q.vertices[3] = {x + w, y + h, color};
    q.uvRects[0] = cRect(0, 0, 1, 1);
    q.uvRects[1] = cRect(0, 0, 1, 1);
    return q;
}

inline cImage solidImage(uint32_t w, uint32_t h, uint32_t argb) {
    cImage img;
    img.width = w;
    img.height = h;
    img.pixels.assign(size_t(w) * h, argb);
    return img;
}

inline std::unique_ptr<cTexture> makeTexture(const cImage& image, const char* name = "t.png") {
    std::vector<uint8_t> png = encodePng(image);
    return std::make_unique<cTexture>(name, 0, png.data(), uint32_t(png.size()));
}

// Writes a frame of w x h pixels as a PNG under the test output folder (relative name, folders
// made as needed); false when it cannot be written.
inline bool saveTestFrame(const std::vector<uint32_t>& pixels, uint32_t w, uint32_t h, const std::string& name) {
    std::filesystem::path path = std::filesystem::path(RW_TEST_OUTPUT_DIR) / name;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    cImage shot;
    shot.width = w;
    shot.height = h;
    shot.pixels = pixels;
    return writePngFile(path.string(), shot);
}

// Vertex-shader tokens.
namespace vs {
constexpr uint32_t kVersion11 = 0xFFFE0101u, kEnd = 0x0000FFFFu;
constexpr uint32_t kMov = 1, kAdd = 2, kMad = 4, kMul = 5, kM4x4 = 20;
inline uint32_t reg(uint32_t type, uint32_t n) { return 0x80000000u | (type << 28) | n; }
inline uint32_t dst(uint32_t type, uint32_t n, uint32_t mask = 0xF) { return reg(type, n) | (mask << 16); }
inline uint32_t src(uint32_t type, uint32_t n, uint32_t swizzle = 0xE4, bool negate = false) {
    return reg(type, n) | (swizzle << 16) | (negate ? 1u << 24 : 0u);
}
enum { TEMP = 0, INPUT = 1, CONST = 2, ADDR = 3, RASTOUT = 4, ATTROUT = 5, TEXOUT = 6 };
// oPos = v0 * c0..c3; oD0 = v5 * c4; oT0 = v7.
inline std::vector<uint32_t> spriteShader() {
    return {kVersion11,
            kM4x4, dst(RASTOUT, 0), src(INPUT, 0), src(CONST, 0),
            kMul, dst(ATTROUT, 0), src(INPUT, 5), src(CONST, 4),
            kMov, dst(TEXOUT, 0), src(INPUT, 7),
            kEnd};
}
}  // namespace vs

// A renderer over a recording device, on no window, with a wide desktop.
class RecordingRenderer : public testing::Test {
protected:
    void SetUp() override {
        cGraphics::setDesktopWidthOverride(1920);
        cGraphics::setFpsSource(nullptr);
        cGraphics::setCursorSource(nullptr);
        auto device = std::make_unique<cRecordingDevice>();
        rec = device.get();
        graphics = std::make_unique<cGraphics>(nullptr, std::move(device));
    }
    void TearDown() override {
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }

    // One frame of the given records; returns the device's calls of endFrame.
    void frame(const std::vector<cDrawRecord>& records) {
        graphics->beginFrame();
        rec->clearCalls();
        rec->clearDraws();
        for (const cDrawRecord& r : records) graphics->drawSprite(r);
        graphics->endFrame();
    }
    static cDrawRecord record(const cRenderQuad* q, cTexture* t0 = nullptr, uint32_t flags = 0) {
        cDrawRecord r;
        r.quad = q;
        r.texture0 = t0;
        r.renderFlags = flags;
        return r;
    }
    // The vertices and indices the batch wrote (read back from the device's buffers).
    std::vector<cSpriteVertex> vertices(uint32_t first, uint32_t count) {
        std::vector<cSpriteVertex> out(count);
        cVertexBuffer* vb = rec->draws().empty() ? nullptr : rec->draws().front().stream;
        void* data = nullptr;
        if (!vb || devFailed(vb->lock(first * 32, count * 32, &data, LOCK_READONLY))) return {};
        std::memcpy(out.data(), data, count * 32);
        vb->unlock();
        return out;
    }
    std::vector<std::string> drawCalls() const { return rec->callsStartingWith("draw"); }

    cRecordingDevice* rec = nullptr;
    std::unique_ptr<cGraphics> graphics;
};

}  // namespace render_test
