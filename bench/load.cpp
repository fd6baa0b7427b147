// Where loading spends its time: the start-up groups, the start loader (the common game files
// and the menu surfaces behind the start-up screen) and a world-1 level-1 load, each from the
// built Data folder on the headless backend, against decoding the same image files alone.
//
// BM_LoadStartup: loadStartup (configuration, fonts, level packs, cursor, buttons, sounds).
// BM_StartLoader: the first loadMenu, with the start-up screen's frames and its slide-out.
// BM_LevelLoad: loadGame for world 1, level 1, behind a cLoader.
// BM_*Files: the same lists loaded without a loading screen (no frames).
// BM_Decode*: the image files of those lists decoded from memory (the floor); BM_ReadDecode*
// reads each file through the file manager first.
//
// The headless backend never waits for a display; every frame a loading screen runs moves the
// test clock 16 ms, as in the tests, so the slide-out takes its usual number of frames.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/app/cRenderWren.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"
#include "engine/media/ImageDecoder.h"
#include "game/flow/cResourceGroupManager.h"
#include "platform/Platform.h"

namespace {

std::string tempFolder() {
    char pattern[] = "/tmp/rw-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "/tmp";
}

unsigned g_frames = 0;  // frames run since the last look

void advanceClock() {
    platform::advanceTestClock(16);
    ++g_frames;
}

// The engine core over the built Data folder, made once for every benchmark.
cRenderWren& core() {
    static cRenderWren* made = [] {
        setenv("RW_BACKEND", "headless", 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        for (const char* v : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) setenv(v, tempFolder().c_str(), 1);
        platform::setBackend(platform::Backend::Headless);
        auto* c = new cRenderWren(RW_DIST_DIR "/Data", nullptr, nullptr);
        if (!c->isStarted()) std::abort();
        getLogic()->setFrameHook(advanceClock);
        getResourceManager()->registerExtension(cStringA("qpk"), RESOURCE_XML);
        return c;
    }();
    return *made;
}

bool isImage(const cStringA& name) {
    std::string n = name.c_str();
    for (char& ch : n) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* ext : {".dds", ".png", ".bmp"})
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ext) == 0) return true;
    return false;
}

// The lists the three loads load, in their order.
cFileList startupList(cResourceGroupManager& groups) {
    cFileList list;
    for (const char* folder : {"Config", "Fonts", "Packs", "Menu/Cursor", "Menu/Buttons"})
        groups.scanFolder(folder, list, true, GROUP_STARTUP);
    return list;
}
cFileList startLoaderList(cResourceGroupManager& groups) {
    cFileList list;
    groups.loadGameCommon(list);
    groups.scanFolder("Menu/Surfaces", list, true, GROUP_MENU);
    return list;
}
cFileList levelList(cResourceGroupManager& groups) {
    cFileList list;
    groups.buildWorldList(1, list);
    groups.unloadWorld();
    return list;
}

std::vector<std::vector<uint8_t>> readImages(const cFileList& list) {
    std::vector<std::vector<uint8_t>> files;
    for (const cFileRecord& r : list) {
        if (!isImage(r.name)) continue;
        std::unique_ptr<cStream> stream(getFileManager()->openRead(r.name));
        files.push_back(readWholeStream(*stream));
    }
    return files;
}

void unloadAll(cResourceGroupManager& groups) {
    groups.unloadGame();
    groups.unloadMenu();
    groups.unloadStartup();
}

void BM_LoadStartup(benchmark::State& state) {
    core();
    for (auto _ : state) {
        cResourceGroupManager groups;
        groups.loadStartup();
        state.PauseTiming();
        unloadAll(groups);
        state.ResumeTiming();
    }
}

void BM_StartLoader(benchmark::State& state) {
    core();
    for (auto _ : state) {
        state.PauseTiming();
        cResourceGroupManager groups;
        groups.loadStartup();
        state.ResumeTiming();
        g_frames = 0;
        groups.loadMenu();
        state.PauseTiming();
        state.counters["frames"] = double(g_frames);
        unloadAll(groups);
        state.ResumeTiming();
    }
}

void BM_LevelLoad(benchmark::State& state) {
    core();
    for (auto _ : state) {
        state.PauseTiming();
        cResourceGroupManager groups;
        groups.loadStartup();
        groups.loadMenu();
        groups.unloadMenu();
        state.ResumeTiming();
        g_frames = 0;
        groups.loadGame();
        state.PauseTiming();
        state.counters["frames"] = double(g_frames);
        unloadAll(groups);
        state.ResumeTiming();
    }
}

// The same lists without a loading screen.
void BM_Files(benchmark::State& state, cFileList (*makeList)(cResourceGroupManager&)) {
    core();
    for (auto _ : state) {
        state.PauseTiming();
        cResourceGroupManager groups;
        groups.loadConfig();
        const cFileList list = makeList(groups);
        state.ResumeTiming();
        groups.loadList(list, 0, nullptr);
        state.PauseTiming();
        getResourceManager()->unloadGroup(GROUP_STARTUP);
        getResourceManager()->unloadGroup(GROUP_MENU);
        getResourceManager()->unloadGroup(GROUP_WORLD);
        unloadAll(groups);
        state.ResumeTiming();
    }
}

void BM_Decode(benchmark::State& state, cFileList (*makeList)(cResourceGroupManager&)) {
    core();
    cResourceGroupManager groups;
    groups.loadConfig();
    const auto files = readImages(makeList(groups));
    groups.unloadConfig();
    size_t bytes = 0;
    for (auto _ : state) {
        for (const auto& f : files) {
            cImage image = decodeImage(f.data(), f.size());
            bytes += image.pixels.size() * 4;
            benchmark::DoNotOptimize(image.pixels.data());
        }
    }
    state.counters["images"] = double(files.size());
    state.SetBytesProcessed(int64_t(bytes));
}

void BM_ReadDecode(benchmark::State& state, cFileList (*makeList)(cResourceGroupManager&)) {
    core();
    cResourceGroupManager groups;
    groups.loadConfig();
    const cFileList list = makeList(groups);
    groups.unloadConfig();
    for (auto _ : state) {
        for (const auto& f : readImages(list)) {
            cImage image = decodeImage(f.data(), f.size());
            benchmark::DoNotOptimize(image.pixels.data());
        }
    }
}

}  // namespace

BENCHMARK(BM_LoadStartup)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartLoader)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LevelLoad)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Files, startup, startupList)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Files, start_loader, startLoaderList)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Files, level, levelList)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Decode, startup, startupList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, start_loader, startLoaderList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, level, levelList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadDecode, start_loader, startLoaderList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadDecode, level, levelList)->Unit(benchmark::kMillisecond);
