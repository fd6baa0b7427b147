// The cost of batching sprites against a plain copy of the same vertex and index bytes.
//
// BM_BatchFrame: one frame (begin, N sprites, end) on the recording device with its recording
// off, so the device adds almost nothing; every sprite shares one texture (one chunk), or the textures alternate every
// `run` sprites (counter "chunks" per frame). BM_PlainCopy: memcpy of the N x 128 vertex bytes
// and N x 12 index bytes a frame of N one-cell quads draws from (arg 1: 1), or of the vertex
// bytes alone (arg 1: 0). The batch writes the index bytes only when its buffers are made or
// grown, or after a grid quad: per frame, it writes the vertex bytes alone.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/media/ImageDecoder.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cTexture.h"
#include "engine/media/cDrawRecord.h"
#include "engine/media/cRenderQuad.h"
#include "platform/device/RecordingDevice.h"

namespace {

std::unique_ptr<cTexture> texture(uint32_t argb, const char* name) {
    cImage img;
    img.width = img.height = 4;
    img.pixels.assign(16, argb);
    std::vector<uint8_t> png = encodePng(img);
    return std::make_unique<cTexture>(name, 0, png.data(), uint32_t(png.size()));
}

// args: sprite count, sprites per texture run (0: one texture for all)
void BM_BatchFrame(benchmark::State& state) {
    const unsigned count = unsigned(state.range(0));
    const unsigned run = unsigned(state.range(1));
    cGraphics::setDesktopWidthOverride(1920);
    {
        auto device = std::make_unique<cRecordingDevice>();
        device->setRecording(false);
        cGraphics graphics(nullptr, std::move(device));
        graphics.setReservedSpriteCount(count);
        // Every frame here is the same: the batch is measured drawing each of them.
        graphics.setSkipUnchangedFrames(false);
        auto a = texture(0xFFFF0000u, "a.png");
        auto b = texture(0xFF00FF00u, "b.png");
        std::vector<cRenderQuad> quads(count);
        std::vector<cDrawRecord> records(count);
        for (unsigned i = 0; i < count; ++i) {
            cRenderQuad& q = quads[i];
            float x = float(i % 80) * 10.0f, y = float(i / 80 % 60) * 10.0f;
            q.vertices[0] = {x, y, 0xFFFFFFFFu};
            q.vertices[1] = {x + 16, y, 0xFFFFFFFFu};
            q.vertices[2] = {x, y + 16, 0xFFFFFFFFu};
            q.vertices[3] = {x + 16, y + 16, 0x80FFFFFFu};
            q.uvRects[0] = cRect(0, 0, 1, 1);
            records[i].quad = &q;
            records[i].texture0 = (run == 0 || (i / run) % 2 == 0) ? a.get() : b.get();
        }
        unsigned chunks = 0;
        for (auto _ : state) {
            graphics.beginFrame();
            for (const cDrawRecord& r : records) graphics.drawSprite(r);
            graphics.endFrame();
            chunks = graphics.getLastChunkCount();
        }
        state.counters["chunks"] = double(chunks);
        state.SetItemsProcessed(int64_t(state.iterations()) * count);
        state.SetBytesProcessed(int64_t(state.iterations()) * count * (128 + 12));
    }
    cGraphics::setDesktopWidthOverride(0);
}
BENCHMARK(BM_BatchFrame)->Args({1000, 0})->Args({10000, 0})->Args({1000, 10})->Args({10000, 10});

void BM_PlainCopy(benchmark::State& state) {
    const size_t count = size_t(state.range(0));
    const bool withIndices = state.range(1) != 0;
    std::vector<uint8_t> srcVertices(count * 128, 1), dstVertices(count * 128);
    std::vector<uint8_t> srcIndices(count * 12, 2), dstIndices(count * 12);
    for (auto _ : state) {
        std::memcpy(dstVertices.data(), srcVertices.data(), srcVertices.size());
        if (withIndices) std::memcpy(dstIndices.data(), srcIndices.data(), srcIndices.size());
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(dstVertices.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(count) * (withIndices ? 128 + 12 : 128));
}
BENCHMARK(BM_PlainCopy)->Args({1000, 1})->Args({10000, 1})->Args({1000, 0})->Args({10000, 0});

}  // namespace
