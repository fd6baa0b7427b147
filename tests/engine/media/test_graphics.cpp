// The renderer on the recording device: construction, settings, fade, overlay text, frames,
// reset and lost-device sequences, errors, and the texture and shader resources.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cVertexShader.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/media/test_graphics_support.h"

using namespace render_test;

namespace {

std::string textOf(const std::exception_ptr& e) {
    std::string text;
    failureText(e, &text);
    return text;
}

template <class F>
std::string thrownText(F&& f) {
    try {
        f();
    } catch (...) {
        return textOf(std::current_exception());
    }
    return "<nothing thrown>";
}

// ---- Fade ------------------------------------------------------------------------------------

using Fade = RecordingRenderer;

TEST_F(Fade, ValuesAreClampedAndGiveTheQuadsAlpha) {
    struct Case {
        float set, stored;
        bool drawn;
        uint32_t color;
    } cases[] = {{300.0f, 255.0f, false, 0}, {-5.0f, 0.0f, true, 0xFF000000u}, {127.9f, 127.9f, true, 0x7F000000u},
                 {255.0f, 255.0f, false, 0}, {254.5f, 254.5f, true, 0x00000000u}};
    for (const Case& c : cases) {
        graphics->setFade(c.set);
        EXPECT_FLOAT_EQ(graphics->getFade(), c.stored) << c.set;
        // Not a number changes nothing.
        graphics->setFade(std::nanf(""));
        EXPECT_FLOAT_EQ(graphics->getFade(), c.stored) << c.set;
        frame({});
        std::vector<std::string> strips = rec->callsStartingWith("draw TriangleStrip");
        EXPECT_EQ(strips.size(), c.drawn ? 1u : 0u) << c.set;
        if (!c.drawn) continue;
        EXPECT_EQ(strips[0], "draw TriangleStrip 0 2");
        const auto* v = graphics->getFadeVertices();
        for (int i = 0; i < 4; ++i) EXPECT_EQ(v[i].color, c.color) << c.set;
        EXPECT_EQ(v[3].x, 800.0f);
        EXPECT_EQ(v[3].y, 600.0f);
        EXPECT_EQ(v[1].y, 0.0f);
        EXPECT_EQ(v[2].x, 0.0f);
    }
}

TEST_F(Fade, TheQuadHasItsOwnStatesWhateverTheLastChunkLeft) {
    auto tex = makeTexture(solidImage(2, 2, 0xFFFFFFFFu));
    cRenderQuad q = quadAt(0, 0, 10, 10);
    cDrawRecord r = record(&q, tex.get(), RF_ALPHALESS | RF_WRITE_TO_STENCIL | RF_OVERLAY);
    r.texture1 = tex.get();
    graphics->setFade(100.0f);
    frame({r});
    ASSERT_EQ(rec->draws().size(), 2u);
    const auto& d = rec->draws()[1];
    EXPECT_EQ(d.call, "draw TriangleStrip 0 2");
    EXPECT_EQ(d.render[size_t(RenderState::AlphaBlendEnable)], 1u);
    EXPECT_EQ(d.render[size_t(RenderState::AlphaTestEnable)], 0u);
    EXPECT_EQ(d.render[size_t(RenderState::SrcBlend)], uint32_t(BLEND_SRCALPHA));
    EXPECT_EQ(d.render[size_t(RenderState::DestBlend)], uint32_t(BLEND_INVSRCALPHA));
    EXPECT_EQ(d.render[size_t(RenderState::ZEnable)], 0u);
    EXPECT_EQ(d.render[size_t(RenderState::ZWriteEnable)], 0u);
    EXPECT_EQ(d.textures[0], nullptr);
    EXPECT_EQ(d.textures[1], nullptr);
    EXPECT_EQ(d.stage[1][size_t(StageState::ColorOp)], uint32_t(TOP_DISABLE));
    EXPECT_EQ(d.format, kFadeVertexFormat);
    EXPECT_EQ(d.stride, 16u);
}

// ---- Frames ------------------------------------------------------------------------------------

using Frames = RecordingRenderer;

TEST_F(Frames, AFrameClearsDrawsAndIsPresentedAtTheNextBegin) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    graphics->beginFrame();
    rec->clearCalls();
    graphics->drawSprite(record(&q));
    graphics->endFrame();
    std::vector<std::string> calls = rec->calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "clear 3 0xFF000000 0.62824595 0");
    EXPECT_EQ(calls[1], "beginScene");
    EXPECT_EQ(calls.back(), "endScene");
    EXPECT_TRUE(rec->callsStartingWith("present").empty());
    EXPECT_TRUE(graphics->isPresentPending());
    graphics->beginFrame();
    EXPECT_EQ(rec->callsStartingWith("present").size(), 1u);
    EXPECT_FALSE(graphics->isPresentPending());
    graphics->endFrame();
    // The standard projection maps pixels to the device's clip space, y down.
    const DeviceMatrix& p = graphics->getProjection();
    EXPECT_FLOAT_EQ(p.m[0][0], 2.0f / 800.0f);
    EXPECT_FLOAT_EQ(p.m[1][1], -2.0f / 600.0f);
    EXPECT_FLOAT_EQ(p.m[3][0], -1.0f);
    EXPECT_FLOAT_EQ(p.m[3][1], 1.0f);
    EXPECT_FLOAT_EQ(-16384.0f * p.m[2][2] + p.m[3][2], (32752.0f - 16384.0f) / (15000.0f + 32752.0f));
    EXPECT_FLOAT_EQ(graphics->getShaderMatrix().m[0][3], p.m[3][0]);
}

TEST_F(Frames, AnUnchangedFrameIsPresentedWithoutDrawingAndAnyChangeDrawsIt) {
    auto tex = makeTexture(solidImage(2, 2, 0xFFFF0000u), "red.png");
    auto other = makeTexture(solidImage(2, 2, 0xFF00FF00u), "green.png");
    cRenderQuad a = quadAt(10, 10, 20, 20), b = quadAt(40, 10, 20, 20);
    auto drawsAnything = [&] { return !drawCalls().empty() || !rec->callsStartingWith("clear").empty(); };
    const std::vector<cDrawRecord> base = {record(&a, tex.get()), record(&b, tex.get())};
    // Each change is applied, its frame must be drawn, and the same frame again must not.
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    cRenderQuad moved = quadAt(11, 10, 20, 20), tinted = quadAt(10, 10, 20, 20, 0xFF808080u);
    std::vector<cDrawRecord> records = base;
    const std::vector<Case> cases = {
        {"a vertex moved", [&] { records[0].quad = &moved; }},
        {"a vertex colour", [&] { records[0].quad = &tinted; }},
        {"a texture", [&] { records[1].texture0 = other.get(); }},
        {"the render flags", [&] { records[1].renderFlags = RF_ALPHALESS; }},
        {"the order", [&] { std::swap(records[0], records[1]); }},
        {"a record less", [&] { records.pop_back(); }},
        {"texels uploaded", [&] {
             std::vector<uint32_t> texels(2 * 2, 0xFF0000FFu);
             tex->getDeviceTexture()->upload(texels.data());
         }},
        {"the fade", [&] { graphics->setFade(128.0f); }},
        {"wireframe", [&] { graphics->setWireframe(true); }},
        {"a device reset", [&] { graphics->requestReset(true); }},
    };
    frame(base);
    EXPECT_TRUE(drawsAnything());
    frame(base);
    EXPECT_FALSE(drawsAnything()) << "the same frame again";
    EXPECT_TRUE(graphics->wasLastFrameSkipped());
    EXPECT_EQ(graphics->getLastChunkCount(), 1u);
    EXPECT_EQ(graphics->getLastTriangleCount(), 4u);
    graphics->beginFrame();
    EXPECT_EQ(rec->callsStartingWith("present").size(), 1u) << "a skipped frame is still presented";
    graphics->endFrame();
    for (const Case& c : cases) {
        records = base;
        frame(records);
        c.change();
        frame(records);
        EXPECT_TRUE(drawsAnything()) << c.what;
        EXPECT_FALSE(graphics->wasLastFrameSkipped()) << c.what;
        frame(records);
        EXPECT_FALSE(drawsAnything()) << c.what << ", then the same frame again";
        graphics->setFade(255.0f);
        graphics->setWireframe(false);
    }
    // Callbacks draw from what the renderer cannot compare: such frames are always drawn.
    std::vector<cDrawRecord> withCallback = base;
    withCallback[1].beginDrawCallback = [](cDevice*) {};
    frame(withCallback);
    frame(withCallback);
    EXPECT_TRUE(drawsAnything());
    // Turned off, every frame is drawn.
    graphics->setSkipUnchangedFrames(false);
    frame(base);
    frame(base);
    EXPECT_TRUE(drawsAnything());
}

TEST_F(Frames, ARequestedResetHappensAtTheNextBeginWithLostAndResetNotices) {
    std::vector<uint32_t> tokens = vs::spriteShader();
    cVertexShader shader("s.sh", 0, tokens.data(), uint32_t(tokens.size() * 4));
    uint32_t before = shader.getHandle();
    ASSERT_NE(before, 0u);
    // Without a resource manager the renderer resets alone; the shader follows by hand here and
    // through the manager in the game.
    graphics->requestReset(true);
    EXPECT_TRUE(graphics->isResetRequested());
    rec->clearCalls();
    shader.onLostDevice();
    EXPECT_EQ(shader.getHandle(), 0u);
    EXPECT_EQ(rec->liveShaders(), 0u);
    graphics->beginFrame();
    shader.onResetDevice();
    EXPECT_NE(shader.getHandle(), 0u);
    EXPECT_NE(shader.getHandle(), before);
    EXPECT_FALSE(graphics->isResetRequested());
    EXPECT_TRUE(graphics->isFrameBegun());
    EXPECT_EQ(rec->callsStartingWith("reset 800x600 windowed").size(), 1u);
    // The standard states were recorded again.
    EXPECT_EQ(rec->callsStartingWith("beginStateBlock").size(), 1u);
    graphics->endFrame();
}

TEST_F(Frames, ALostDeviceSkipsFramesUntilItCanBeReset) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    frame({record(&q)});
    // The device is lost at present and stays lost: the frame is skipped after polling.
    rec->failNextPresent(DEVERR_DEVICELOST);
    rec->setCooperativeAnswers({DEVERR_DEVICELOST});
    rec->clearCalls();
    graphics->beginFrame();
    EXPECT_FALSE(graphics->isFrameBegun());
    EXPECT_TRUE(graphics->isPresentPending());
    EXPECT_EQ(rec->callsStartingWith("testCooperativeLevel").size(), 101u);
    graphics->drawSprite(record(&q));
    graphics->endFrame();
    EXPECT_TRUE(rec->callsStartingWith("drawIndexed").empty());
    EXPECT_TRUE(rec->callsStartingWith("reset").empty());
    // The next frame presents again; this time the device can be reset after two polls.
    rec->failNextPresent(DEVERR_DEVICELOST);
    rec->setCooperativeAnswers({DEVERR_DEVICELOST, DEVERR_DEVICELOST, DEVERR_DEVICENOTRESET});
    rec->clearCalls();
    graphics->beginFrame();
    EXPECT_EQ(rec->callsStartingWith("testCooperativeLevel").size(), 3u);
    EXPECT_EQ(rec->callsStartingWith("reset").size(), 1u);
    EXPECT_TRUE(graphics->isFrameBegun());
    EXPECT_FALSE(graphics->isPresentPending());
    graphics->drawSprite(record(&q));
    graphics->endFrame();
    EXPECT_EQ(rec->callsStartingWith("drawIndexed").size(), 1u);
}

TEST_F(Frames, AFailedResetIsReportedThroughTheDeviceErrorText) {
    graphics->requestReset(true);
    rec->failNextReset(DEVERR_OUTOFVIDEOMEMORY);
    std::string text = thrownText([&] { graphics->beginFrame(); });
    EXPECT_EQ(text, "Direct3D function call failed\ncDevice::reset(...)\nDEVERR_OUTOFVIDEOMEMORY");
    EXPECT_EQ(getErrorCallStack().str(), text);
    EXPECT_FALSE(graphics->isFrameBegun());
}

TEST_F(Frames, ALostResetIsTriedAgainAtTheNextFrame) {
    graphics->requestReset(true);
    rec->failNextReset(DEVERR_DEVICELOST);
    graphics->beginFrame();
    EXPECT_FALSE(graphics->isFrameBegun());
    EXPECT_TRUE(graphics->isResetRequested());
    graphics->beginFrame();
    EXPECT_TRUE(graphics->isFrameBegun());
    EXPECT_FALSE(graphics->isResetRequested());
    graphics->endFrame();
}

TEST_F(Frames, ScreenToClientNeedsAWindowAndWireframeSetsTheFillMode) {
    ScreenPoint p{10, 20};
    std::string text = thrownText([&] { graphics->screenToClient(&p); });
    EXPECT_EQ(text, "GetWindowInfo operation failure.");
    graphics->setWireframe(true);
    EXPECT_EQ(rec->getRenderState(RenderState::FillMode), uint32_t(FILL_WIREFRAME));
    graphics->setWireframe(false);
    EXPECT_EQ(rec->getRenderState(RenderState::FillMode), uint32_t(FILL_SOLID));
}

TEST(GraphicsConstruction, AFailingDeviceIsReportedAndTheSingletonsAreFree) {
    cGraphics::setDesktopWidthOverride(1920);
    auto device = std::make_unique<cRecordingDevice>();
    device->setCreateFailure(DEVERR_OUTOFVIDEOMEMORY);
    std::string text = thrownText([&] { cGraphics g(nullptr, std::move(device)); });
    EXPECT_EQ(text, "Direct3D function call failed\ncGraphics::createBuffers(...)\nDEVERR_OUTOFVIDEOMEMORY");
    EXPECT_EQ(getGraphics(), nullptr);
    EXPECT_EQ(getGraphicsFactory(), nullptr);
    cGraphics::setDesktopWidthOverride(0);
}

// Refuses only the 64-byte vertex buffer of the fade quad.
class NoFadeBufferDevice : public cRecordingDevice {
public:
    int32_t createVertexBuffer(uint32_t bytes, uint32_t usage, uint32_t format, MemoryPool pool,
                               cVertexBuffer** out) override {
        if (bytes == 64 && format == kFadeVertexFormat) {
            if (out) *out = nullptr;
            return DEVERR_OUTOFVIDEOMEMORY;
        }
        return cRecordingDevice::createVertexBuffer(bytes, usage, format, pool, out);
    }
};

TEST(GraphicsConstruction, AFailingFadeBufferIsReportedAndTheSpriteBuffersAreReleased) {
    // The device goes with the failed renderer: it tells how many of its objects outlived it.
    struct Watch : NoFadeBufferDevice {
        unsigned* live = nullptr;
        ~Watch() override { *live = liveObjects(); }
    };
    unsigned liveAtEnd = 99;
    auto device = std::make_unique<Watch>();
    device->live = &liveAtEnd;
    cGraphics::setDesktopWidthOverride(1920);
    std::string text = thrownText([&] { cGraphics g(nullptr, std::move(device)); });
    cGraphics::setDesktopWidthOverride(0);
    EXPECT_EQ(text, "Direct3D function call failed\ncDevice::createVertexBuffer(...)\nDEVERR_OUTOFVIDEOMEMORY");
    EXPECT_EQ(liveAtEnd, 0u);
    EXPECT_EQ(getGraphics(), nullptr);
}

TEST(GraphicsErrors, ResultNamesAndTheThrownText) {
    struct Case {
        int32_t code;
        const char* name;
    } cases[] = {{DEVERR_DEVICELOST, "DEVERR_DEVICELOST"}, {DEVERR_DEVICENOTRESET, "DEVERR_DEVICENOTRESET"},
                 {DEVERR_INVALIDCALL, "DEVERR_INVALIDCALL"}, {DEVERR_INVALIDDATA, "DEVERR_INVALIDDATA"},
                 {INPERR_INPUTLOST, "INPERR_INPUTLOST"}, {INPERR_NOTACQUIRED, "INPERR_NOTACQUIRED"},
                 {DEV_OK, "DEV_OK"}, {-12345, "Unknown"}};
    for (const Case& c : cases) EXPECT_EQ(dxErrorName(c.code).str(), c.name);
    std::string text = thrownText([] { throwDxError(INPERR_INPUTLOST, "GetDeviceData(...)"); });
    EXPECT_EQ(text, "Direct3D function call failed\nGetDeviceData(...)\nINPERR_INPUTLOST");
}

// ---- Resources -------------------------------------------------------------------------------

using Resources = RecordingRenderer;

TEST_F(Resources, ATextureHasTheSizeOfItsImage) {
    auto tex = makeTexture(solidImage(100, 50, 0xFF123456u));
    EXPECT_EQ(tex->getType(), RESOURCE_TEXTURE);
    EXPECT_EQ(tex->getImageSize()[0], 100u);
    EXPECT_EQ(tex->getImageSize()[1], 50u);
    EXPECT_EQ(tex->getTextureSize()[0], 100u);
    EXPECT_EQ(tex->getTextureSize()[1], 50u);
    EXPECT_EQ(tex->getUvScale()[0], 1.0f);
    EXPECT_EQ(tex->getUvScale()[1], 1.0f);
    unsigned live = rec->liveObjects();
    tex.reset();
    EXPECT_EQ(rec->liveObjects(), live - 1);
}

TEST_F(Resources, BrokenImagesThrowTheCreationErrorAndLeakNothing) {
    cImage img = solidImage(4, 4, 0xFFFFFFFFu);
    auto cut = [](std::vector<uint8_t> v, size_t keep) {
        v.resize(keep);
        return v;
    };
    std::vector<uint8_t> garbage = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    unsigned live = rec->liveObjects();
    for (const auto& bytes : {cut(encodePng(img), 40), cut(encodeBmp(img), 100), cut(encodeDds(img), 130), garbage,
                              std::vector<uint8_t>()}) {
        std::string text = thrownText([&] { cTexture t("broken.png", 0, bytes.data(), uint32_t(bytes.size())); });
        EXPECT_EQ(text.rfind("Direct3D function call failed\nD3DXCreateTextureFromFileInMemoryEx(...)", 0), 0u) << text;
        EXPECT_NE(text.find("DEVERR_INVALIDDATA"), std::string::npos) << text;
        EXPECT_EQ(getErrorCallStack().str(), text);
    }
    EXPECT_EQ(rec->liveObjects(), live);
}

TEST_F(Resources, AnImageLargerThanTheDeviceAllowsIsRefused) {
    DeviceCaps caps;
    caps.maxTextureWidth = caps.maxTextureHeight = 64;
    rec->setCaps(caps);
    std::string text = thrownText([&] { makeTexture(solidImage(65, 2, 0xFFFFFFFFu)); });
    EXPECT_EQ(text, "Direct3D function call failed\nD3DXCreateTextureFromFileInMemoryEx(...)\nDEVERR_INVALIDCALL");
}

TEST_F(Resources, ShadersWithUnknownInstructionsAreRefusedAndDeletedShadersFreed) {
    std::vector<uint32_t> good = vs::spriteShader();
    std::vector<uint32_t> bad = good;
    bad.insert(bad.end() - 1, {66u /* a pixel-shader texture instruction */, vs::dst(vs::TEMP, 0)});
    {
        cVertexShader ok("good.sh", 0, good.data(), uint32_t(good.size() * 4));
        cVertexShader refused("bad.sh", 0, bad.data(), uint32_t(bad.size() * 4));
        EXPECT_EQ(ok.getType(), RESOURCE_SHADER);
        EXPECT_NE(ok.getHandle(), 0u);
        EXPECT_EQ(refused.getHandle(), 0u);
        EXPECT_EQ(refused.getCreateResult(), DEVERR_INVALIDCALL);
        EXPECT_EQ(rec->liveShaders(), 1u);
        // A sprite with the refused shader draws on the fixed path.
        cRenderQuad q = quadAt(0, 0, 4, 4);
        q.vertexShader = &refused;
        frame({record(&q)});
        ASSERT_EQ(rec->draws().size(), 1u);
        EXPECT_EQ(rec->draws()[0].shader, 0u);
        EXPECT_EQ(rec->draws()[0].format, kSpriteVertexFormat);
    }
    EXPECT_EQ(rec->liveShaders(), 0u);
}

// ---- Settings, overlay and log lines over real managers --------------------------------------

float fakeFps() { return 59.5f; }
void fakeCursor(float* x, float* y) {
    *x = 12.0f;
    *y = 34.25f;
}

class GraphicsWithSettings : public testing::Test {
protected:
    void start(const std::string& graphicsSection, int desktopWidth = 1920) {
        world = std::make_unique<file_test::TempWorld>();
        world->put("config/config.ini", file_test::utf16Ini("[Game]\r\napp_folder=\"render-test\"\r\n\r\n[Graphics]\r\n" +
                                                             graphicsSection));
        files = std::make_unique<cFileManager>(cStringA(world->dataArg()), cStringA("kbf"));
        logs = std::make_unique<cLogManager>();
        resources = std::make_unique<cResourceManager>();
        settings = std::make_unique<cSettingsManager>();
        cGraphics::setDesktopWidthOverride(desktopWidth);
        cGraphics::setFpsSource(fakeFps);
        cGraphics::setCursorSource(fakeCursor);
        auto device = std::make_unique<cRecordingDevice>();
        rec = device.get();
        graphics = std::make_unique<cGraphics>(nullptr, std::move(device));
    }
    void TearDown() override {
        graphics.reset();
        settings.reset();
        resources.reset();
        logs.reset();
        files.reset();
        world.reset();
        cGraphics::setDesktopWidthOverride(0);
        cGraphics::setFpsSource(nullptr);
        cGraphics::setCursorSource(nullptr);
    }
    std::wstring overlayOfOneFrame(int sprites = 1) {
        cRenderQuad q = quadAt(0, 0, 4, 4);
        graphics->beginFrame();
        cDrawRecord r;
        r.quad = &q;
        for (int i = 0; i < sprites; ++i) graphics->drawSprite(r);
        graphics->endFrame();
        return graphics->getLastOverlayText();
    }
    std::string gameLog() { return file_test::readDiskFile(world->xdgData / "render-test" / "game.log"); }

    std::unique_ptr<file_test::TempWorld> world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cLogManager> logs;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
    std::unique_ptr<cGraphics> graphics;
    cRecordingDevice* rec = nullptr;
};

const char* kAllKeys =
    "width=\"640\"\r\nheight=\"480\"\r\ncolorbit=\"16\"\r\nrefrashrate=\"75\"\r\nv_sync=\"1\"\r\nfullscreen=\"0\"\r\n"
    "reserve_sprite_count=\"64\"\r\nshow_triangles=\"0\"\r\nshow_fps=\"0\"\r\nshow_cursor_pos=\"0\"\r\n"
    "show_custom_info=\"0\"\r\n";

TEST_F(GraphicsWithSettings, SettingsAreReadAppliedAndWrittenBack) {
    start(kAllKeys);
    EXPECT_EQ(graphics->getWidth(), 640u);
    EXPECT_EQ(graphics->getHeight(), 480u);
    EXPECT_EQ(graphics->getReservedSpriteCount(), 64u);
    EXPECT_EQ(graphics->getVertexCapacity(), 256u);
    EXPECT_EQ(rec->getPresentParams().width, 640u);
    EXPECT_TRUE(rec->getPresentParams().windowed);
    EXPECT_FALSE(graphics->isFullscreen());
    EXPECT_TRUE(graphics->canRunWindowed());
    graphics.reset();
    unsigned colorbit = 0, refresh = 0;
    settings->getUnsigned(L"Graphics", L"colorbit", colorbit);
    settings->getUnsigned(L"Graphics", L"refrashrate", refresh);
    EXPECT_EQ(colorbit, 16u);
    EXPECT_EQ(refresh, 75u);
}

TEST_F(GraphicsWithSettings, ConstructionAndDestructionLogTheirSteps) {
    start(kAllKeys);
    graphics.reset();
    std::string log = gameLog();
    const char* steps[] = {"  init Direct3D", "  enum display modes", "  read graphics parameters",
                           "  prepare Direct3D presentation parameters", "  read device caps", "  create device",
                           "  prepare buffers", "  init common material", "  setup standard render states",
                           "  prepare fade sprite", "  release fade sprite", "  release buffers",
                           "  release system font", "  release device", "  release Direct3D",
                           "  save graphics parameters"};
    size_t at = 0;
    for (const char* step : steps) {
        size_t found = log.find(step, at);
        ASSERT_NE(found, std::string::npos) << step << "\n" << log;
        at = found;
    }
}

TEST_F(GraphicsWithSettings, ANarrowDesktopForcesFullScreenAndStoresIt) {
    start(kAllKeys, 800);
    EXPECT_TRUE(graphics->isFullscreen());
    EXPECT_TRUE(graphics->isResetRequested());
    EXPECT_FALSE(graphics->canRunWindowed());
    bool stored = false;
    settings->getBool(L"Graphics", L"fullscreen", stored);
    EXPECT_TRUE(stored);
    // The first frame switches: full screen with the 16-bit format of colorbit 16 and v-sync.
    graphics->beginFrame();
    EXPECT_FALSE(rec->getPresentParams().windowed);
    EXPECT_EQ(rec->getPresentParams().format, BackBufferFormat::R5G6B5);
    EXPECT_TRUE(rec->getPresentParams().vsync);
    graphics->endFrame();
}

TEST_F(GraphicsWithSettings, ColourDepthChoosesTheFullScreenFormatAndIsWrittenBackAs16Or32) {
    // A window always takes the desktop's format.
    struct Case {
        bool fullscreen;
        const char* colorbit;
        BackBufferFormat format;
        unsigned stored;
    } cases[] = {{true, "16", BackBufferFormat::R5G6B5, 16}, {true, "24", BackBufferFormat::X8R8G8B8, 32},
                 {true, "32", BackBufferFormat::X8R8G8B8, 32}, {true, "x", BackBufferFormat::X8R8G8B8, 32},
                 {false, "16", BackBufferFormat::X8R8G8B8, 16}};
    for (const Case& c : cases) {
        start(std::string("fullscreen=\"") + (c.fullscreen ? "1" : "0") + "\"\r\ncolorbit=\"" + c.colorbit + "\"\r\n");
        EXPECT_EQ(rec->getPresentParams().windowed, !c.fullscreen) << c.colorbit;
        EXPECT_EQ(rec->getPresentParams().format, c.format) << c.colorbit;
        graphics.reset();
        unsigned stored = 0;
        settings->getUnsigned(L"Graphics", L"colorbit", stored);
        EXPECT_EQ(stored, c.stored) << c.colorbit;
        TearDown();
    }
}

TEST_F(GraphicsWithSettings, PresentationWaitsForTheScreenAsVSyncSaysInAWindowAndInFullScreen) {
    struct Case {
        const char* fullscreen;
        const char* vsync;
        bool waits;
    } cases[] = {{"0", "1", true}, {"0", "0", false}, {"1", "1", true}, {"1", "0", false}};
    for (const Case& c : cases) {
        start(std::string("fullscreen=\"") + c.fullscreen + "\"\r\nv_sync=\"" + c.vsync + "\"\r\n");
        EXPECT_EQ(rec->getPresentParams().windowed, c.fullscreen[0] == '0');
        EXPECT_EQ(rec->getPresentParams().vsync, c.waits) << "fullscreen " << c.fullscreen << ", v_sync " << c.vsync;
        TearDown();
    }
}

TEST_F(GraphicsWithSettings, BrokenSizesKeepTheDefaults) {
    start("width=\"0\"\r\nheight=\"lots\"\r\nreserve_sprite_count=\"0\"\r\n");
    EXPECT_EQ(graphics->getWidth(), 800u);
    EXPECT_EQ(graphics->getHeight(), 600u);
    EXPECT_GE(graphics->getVertexCapacity(), 4u);
}

TEST_F(GraphicsWithSettings, OverlayTextFollowsTheShowSettings) {
    struct Case {
        const char* keys;
        const wchar_t* text;
    } cases[] = {
        {"show_fps=\"1\"\r\nshow_triangles=\"1\"\r\n", L"FPS: 59.5\nTriangles: 4\nChunks: 1\n\n"},
        {"show_cursor_pos=\"1\"\r\n", L"X: 12\nY: 34.25\n"},
        {"show_fps=\"1\"\r\n", L"FPS: 59.5\n\n"},
        {"show_triangles=\"0\"\r\n", L""},
    };
    for (const Case& c : cases) {
        start(c.keys);
        EXPECT_EQ(overlayOfOneFrame(2), c.text) << c.keys;
        TearDown();
    }
}

TEST_F(GraphicsWithSettings, CustomInfoLastsOneFrameAndOnlyWhenShown) {
    start("show_custom_info=\"1\"\r\n");
    graphics->addCustomInfo(L"hello");
    graphics->addCustomInfo(L"world");
    EXPECT_EQ(overlayOfOneFrame(), L"hello\nworld\n");
    EXPECT_EQ(overlayOfOneFrame(), L"");
    TearDown();
    start("show_custom_info=\"0\"\r\n");
    graphics->addCustomInfo(L"hidden");
    EXPECT_EQ(overlayOfOneFrame(), L"");
}

TEST_F(GraphicsWithSettings, TexturesAndShadersLoadThroughTheResourceManager) {
    start(kAllKeys);
    std::vector<uint8_t> png = encodePng(solidImage(3, 5, 0xFF0000FFu));
    world->put("gfx/pic.png", std::string(png.begin(), png.end()));
    std::vector<uint32_t> tokens = vs::spriteShader();
    world->put("shaders/s.sh", std::string(reinterpret_cast<const char*>(tokens.data()), tokens.size() * 4));
    files->rescan();
    resources->load("gfx/pic.png", 16);
    resources->load("shaders/s.sh", 16);
    cTexture* tex = resources->getTexture("gfx/pic.png");
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->getImageSize()[1], 5u);
    cVertexShader* shader = resources->getShader("shaders/s.sh");
    ASSERT_NE(shader, nullptr);
    uint32_t before = shader->getHandle();
    EXPECT_NE(before, 0u);
    // A reset passes through the resource manager: the shader is made again, the texture kept.
    cDeviceTexture* deviceTexture = tex->getDeviceTexture();
    graphics->requestReset(true);
    graphics->beginFrame();
    graphics->endFrame();
    EXPECT_NE(shader->getHandle(), 0u);
    EXPECT_NE(shader->getHandle(), before);
    EXPECT_EQ(tex->getDeviceTexture(), deviceTexture);
    EXPECT_EQ(rec->liveShaders(), 1u);
    resources->unloadGroup(16);
    EXPECT_EQ(rec->liveShaders(), 0u);
    // A missing file gives the file manager's text.
    std::string text = thrownText([&] { resources->load("gfx/missing.png", 16); });
    EXPECT_NE(text.find("missing.png"), std::string::npos) << text;
}

}  // namespace
