// The frame's scene walk: the top-level update step over a tree of pictures (controllers,
// update callbacks, children) followed by the render-set walk that builds a draw record for
// every shown sprite. Run by hand to compare changes; the services are a fake that only
// counts records. The counter "per_sprite" is the frame time divided by the sprite count: it
// stays flat while the walk grows linearly.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/media/cDrawRecord.h"
#include "engine/scene/cPicture.h"
#include "engine/media/cRenderQuad.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSceneServices.h"

namespace {

struct BenchTexture {
    cVector2 size;
};

class CountingServices : public cSceneServices {
public:
    BenchTexture texture{cVector2(256, 128)};
    size_t records = 0;
    float checksum = 0.0f;
    float getGameDelta() override { return 1.0f / 60.0f; }
    cTexture* getTexture(const cStringA&) override { return reinterpret_cast<cTexture*>(&texture); }
    cVector2 getTextureImageSize(cTexture* t) override { return reinterpret_cast<BenchTexture*>(t)->size; }
    void drawSprite(const cDrawRecord& record) override {
        ++records;
        checksum += record.quad->vertices[0].x;
    }
};

// Each sprite animates and drifts, so every frame recomputes UVs, vertices and matrices.
void animate(cSceneNode* node) {
    auto* p = static_cast<cPicture*>(node);
    p->advanceAnimation(p->getDeltaTime());
    p->moveBy(cVector2(0.25f, 0.0f));
}

void BM_SceneWalk(benchmark::State& state) {
    CountingServices services;
    cSceneServices* previous = setSceneServices(&services);
    const int count = static_cast<int>(state.range(0));

    auto root = std::make_unique<cSceneNode>(nullptr);
    root->show();
    root->enable();
    // Groups of 100 pictures under composite-like parents, as screens are built.
    std::vector<cPicture*> groups;
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            auto* group = new cPicture(root.get());
            group->show();
            groups.push_back(group);
        }
        auto* p = new cPicture(groups.back());
        p->setPicture("sheet");
        p->setLayer0FrameCount(8);
        p->setLayer0Length(1.0f);
        p->setLayer0FrameSize(cVector2(64, 64));
        p->setPosition(cVector2(static_cast<float>(i % 800), static_cast<float>(i / 800)));
        p->setDeep(static_cast<float>(i % 7));
        p->setUpdateCallback(animate);
        p->show();
    }

    for (auto _ : state) {
        updateTopLevelNodes(updateNode);
        forEachInRenderSet(drawObject);
    }
    benchmark::DoNotOptimize(services.checksum);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * count);
    state.counters["per_sprite"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
    state.counters["records/frame"] =
        static_cast<double>(services.records) / static_cast<double>(state.iterations());

    root.reset();
    updateTopLevelNodes(nullptr);
    setSceneServices(previous);
}

}  // namespace

BENCHMARK(BM_SceneWalk)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
