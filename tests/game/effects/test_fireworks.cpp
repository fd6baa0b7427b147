// The fireworks on the recording device: the particle system's ring, motion, twinkle and
// drawing callbacks, the shells and their pieces, and the guards against bad numbers.

#include <cmath>
#include <cstring>

#include "engine/media/cGraphics.h"
#include "game/effects/cFirework.h"
#include "game/effects/cFireworks.h"
#include "platform/device/RecordingDevice.h"
#include "tests/game/effects/EffectTestSupport.h"

using namespace effects_test;

namespace {

class Fireworks : public EffectsTest {
protected:
    std::unique_ptr<cGraphics> graphics;
    cRecordingDevice* rec = nullptr;
    std::string ini = "[SPARKLES]\npicture=\"sparkle.dds\"\ndeep=\"1\"\n[DEBRIS]\npicture=\"debris.dds\"\ncount=\"4\"\n"
                      "[DEBRIS_FLASH]\npicture=\"flash.dds\"\n";

    void SetUp() override {
        EffectsTest::SetUp();
        getDebrisSettings() = cDebrisSettings();
        cGraphics::setDesktopWidthOverride(1920);
        auto device = std::make_unique<cRecordingDevice>();
        rec = device.get();
        graphics = std::make_unique<cGraphics>(nullptr, std::move(device));
        makeLevel();
    }
    void TearDown() override {
        destroyFireworks();
        EffectsTest::TearDown();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
        getDebrisSettings() = cDebrisSettings();
    }
    // The system over the configuration with these extra lines in "SPARKLES" and "DEBRIS".
    cFireworks* makeSystem(const std::string& sparkles = "", const std::string& debris = "") {
        std::string text = ini;
        text.insert(text.find("[DEBRIS]\n") + 9, debris);
        text.insert(text.find("[SPARKLES]\n") + 11, sparkles);
        replaceIni("Config/Game/fx_firework.ini", text);
        createFireworks(level);
        return getFireworks();
    }
    std::vector<cSparkleVertex> vertices(cFireworks* system, size_t count) {
        std::vector<cSparkleVertex> out(count);
        void* data = nullptr;
        if (devFailed(system->getVertexBuffer()->lock(0, 0, &data, LOCK_READONLY))) return {};
        std::memcpy(out.data(), data, count * sizeof(cSparkleVertex));
        system->getVertexBuffer()->unlock();
        return out;
    }
};

constexpr float kPi = 3.14159265f;

TEST_F(Fireworks, FourPiecesFlyOutOneSectorEach) {
    makeSystem();
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        rwSrand(seed);
        cFirework* shell = new cFirework(level, cVector2(400, 300), 0xFF0FFF00u);
        ASSERT_EQ(shell->getDebris().size(), 4u);
        for (unsigned i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const cFireworkDebris* piece = shell->getDebris()[i];
            float angle = std::atan2(piece->m_velocity3.y, piece->m_velocity3.x);
            if (angle < 0.0f) angle += 2.0f * kPi;
            EXPECT_GE(angle, float(i) * kPi / 2.0f - 1e-4f);
            EXPECT_LE(angle, float(i + 1) * kPi / 2.0f + 1e-4f);
            const float outward = std::hypot(piece->m_velocity3.x, piece->m_velocity3.y);
            EXPECT_GE(outward, 100.0f - 1e-3f);
            EXPECT_LE(outward, 200.0f + 1e-3f);
            EXPECT_GE(piece->m_velocity3.z, 400.0f);
            EXPECT_LE(piece->m_velocity3.z, 600.0f);
            EXPECT_NEAR(piece->m_position3.z, 10.0f, 1e-6f);
            EXPECT_NEAR(piece->m_position3.x, 16.0f * std::cos(angle), 1e-3f);
            // On the screen: x, and 0.87 y - 0.5 z.
            EXPECT_NEAR(piece->getPosition().x, 400.0f + piece->m_position3.x, 1e-3f);
            EXPECT_NEAR(piece->getPosition().y, 300.0f + 0.87f * piece->m_position3.y - 5.0f, 1e-3f);
            EXPECT_FLOAT_EQ(piece->getDeep(), 2.4f);
            EXPECT_FLOAT_EQ(piece->getFlash()->getDeep(), 2.3f);
            EXPECT_EQ(piece->getVertexColor(0), 0x0FFF00u);
            EXPECT_EQ(piece->getFlash()->getVertexColor(0), 0xFFFFFFu);
            EXPECT_FLOAT_EQ(piece->getScale().x, 0.4f);
            EXPECT_FLOAT_EQ(piece->getFlash()->getScale().x, 0.8f);
            EXPECT_EQ(piece->getVertexAlpha(0), 255u);
        }
        delete shell;
    }
}

TEST_F(Fireworks, AFullRingOverwritesItsOldestSlot) {
    cFireworks* system = makeSystem();
    ASSERT_EQ(system->getMaxCount(), 1024u);
    for (int i = 0; i < 1024; ++i) system->spawnSparkle(cVector3(), cVector2(10, 10));
    EXPECT_EQ(system->getLiveCount(), 1024);
    EXPECT_EQ(system->getNextSlot(), 0u);
    system->spawnSparkle(cVector3(), cVector2(500, 500));
    EXPECT_EQ(system->getLiveCount(), 1024);
    EXPECT_EQ(system->getNextSlot(), 1u);
    EXPECT_NEAR(system->getSparkles()[0].m_position.x, 500.0f, 5.0f);
}

TEST_F(Fireworks, SlotCountsAreHeldToARange) {
    struct Case {
        const char* value;
        unsigned slots;
    } cases[] = {{"0", 1}, {"7", 7}, {"4000000000", cFireworks::kMaxSlots}, {"x", 1024}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        cFireworks* system = makeSystem(std::string("max_count=\"") + c.value + "\"\n");
        EXPECT_EQ(system->getMaxCount(), c.slots);
        EXPECT_EQ(system->getSparkles().size(), c.slots);
        EXPECT_EQ(system->getVertexBuffer()->getSize(), c.slots * 6u * 24u);
        for (int i = 0; i < 3; ++i) system->spawnSparkle(cVector3(), cVector2());
        EXPECT_EQ(system->getLiveCount(), int(std::min(3u, c.slots)));
        delete system;
    }
}

TEST_F(Fireworks, SparklesFallTwinkleAndAreWrittenAsSquaresOfHalfTheTextureWidth) {
    // The 32-pixel texture gives squares of 16 pixels.
    cFireworks* system = makeSystem("lifetime=\"1\"\nfading_start=\"0.9\"\nmin_alpha=\"100\"\nmax_alpha=\"200\"\n");
    EXPECT_EQ(system->getCorner(0), cVector2(-8, -8));
    EXPECT_EQ(system->getCorner(5), cVector2(8, 8));
    system->spawnSparkle(cVector3(0, 0, 100), cVector2(300, 300));
    const cFireworkSparkle& s = system->getSparkles()[0];
    const cVector2 start = s.m_position;
    system->update();   // 0 s: nothing moves, the first twinkle makes it bright
    EXPECT_EQ(s.m_alpha, 200.0f);
    EXPECT_TRUE(s.m_bright);
    EXPECT_EQ(system->getTriangleCount(), 2);
    services.gameDelta = 0.01f;
    const float vz = s.m_velocity.z;
    system->update();
    EXPECT_NEAR(s.m_velocity.z, (vz - 2.0f) * 0.985f, 1e-3f);
    EXPECT_LT(s.m_position.y, start.y);   // rising up the screen
    std::vector<cSparkleVertex> v = vertices(system, 6);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_NEAR(v[0].x, s.m_position.x - 8.0f + 0.5f, 1e-3f);
    EXPECT_NEAR(v[5].y, s.m_position.y + 8.0f + 0.5f, 1e-3f);
    EXPECT_EQ(v[0].z, 1.0f);
    EXPECT_EQ(v[5].u, 1.0f);
    EXPECT_EQ(v[2].v, 1.0f);
    EXPECT_EQ(v[0].color >> 24, uint32_t(s.m_alpha));
    EXPECT_EQ(v[0].color & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(Fireworks, ASparklesAlphaHoldsBetweenTwinklesAndAlternates) {
    cFireworks* system = makeSystem("lifetime=\"10\"\nfading_start=\"9\"\nmin_alpha=\"100\"\nmax_alpha=\"200\"\n");
    system->spawnSparkle(cVector3(), cVector2(300, 300));
    const cFireworkSparkle& s = system->getSparkles()[0];
    services.gameDelta = 0.01f;
    int flips = 0;
    for (int f = 0; f < 300; ++f) {
        const float before = s.m_alpha, timer = s.m_twinkle_timer;
        const bool bright = s.m_bright;
        system->update();
        if (timer - 0.01f <= 0.0f) {
            ++flips;
            EXPECT_NE(s.m_bright, bright);
            EXPECT_EQ(s.m_alpha, s.m_bright ? 200.0f : 100.0f);
            EXPECT_LE(s.m_twinkle_timer, 0.4f);
        } else {
            EXPECT_EQ(s.m_alpha, before);
        }
    }
    EXPECT_GE(flips, 8);   // every 0 to 0.4 s
}

TEST_F(Fireworks, FadingStartedAtOrAfterTheLifetimeKeepsFullSize) {
    cFireworks* system = makeSystem("lifetime=\"1\"\nfading_start=\"1\"\n");
    for (int i = 0; i < 50; ++i) system->spawnSparkle(cVector3(), cVector2(300, 300));
    services.gameDelta = 0.05f;
    while (system->getLiveCount() > 0) {
        system->update();
        for (const cFireworkSparkle& s : system->getSparkles())
            if (s.m_alive) {
                ASSERT_EQ(s.m_scale, 1.0f);
            }
    }
    for (const cFireworkSparkle& s : system->getSparkles()) EXPECT_LE(s.m_age, 1.0f + 0.05f);
}

TEST_F(Fireworks, WithoutLiveSparklesTheCallbacksSetNoStateAndDrawNothing) {
    cFireworks* system = makeSystem();
    cRecordingDevice device;
    cFireworks::setAdditiveBlend(&device);
    cFireworks::drawFireworkSparkles(&device);
    EXPECT_TRUE(device.calls().empty());

    system->spawnSparkle(cVector3(), cVector2(100, 100));
    system->spawnSparkle(cVector3(), cVector2(120, 100));
    system->update();
    rec->clearCalls();
    cFireworks::setAdditiveBlend(rec);
    cFireworks::drawFireworkSparkles(rec);
    ASSERT_EQ(rec->calls().size(), 5u);
    EXPECT_EQ(rec->calls()[0], "renderState SrcBlend 5");   // source alpha
    EXPECT_EQ(rec->calls()[1], "renderState DestBlend 2");  // one: sparkles add light
    EXPECT_EQ(rec->calls()[2], "vertexFormat 0x142");       // position, colour, one uv pair
    EXPECT_EQ(rec->calls()[3].substr(rec->calls()[3].rfind(' ')), " 24");   // stride
    EXPECT_EQ(rec->calls()[4], "draw TriangleList 0 4");

    system->clear();
    rec->clearCalls();
    cFireworks::setAdditiveBlend(rec);
    cFireworks::drawFireworkSparkles(rec);
    EXPECT_TRUE(rec->calls().empty());
}

TEST_F(Fireworks, WithoutAGraphicsDeviceNothingIsSpawnedOrDrawn) {
    graphics.reset();
    cFireworks* system = makeSystem();
    EXPECT_EQ(system->getVertexBuffer(), nullptr);
    system->spawnSparkle(cVector3(), cVector2(100, 100));
    EXPECT_EQ(system->getLiveCount(), 0);
    new cFirework(level, cVector2(400, 300), 0xFFFFFFFFu);
    for (int i = 0; i < 10; ++i) frame(0.1f);
    EXPECT_EQ(system->getLiveCount(), 0);
    cRecordingDevice device;
    cFireworks::setAdditiveBlend(&device);
    cFireworks::drawFireworkSparkles(&device);
    EXPECT_TRUE(device.calls().empty());
}

TEST_F(Fireworks, AShellIsGoneOnceBothLifetimesHavePassed) {
    makeSystem();
    cFirework* shell = new cFirework(level, cVector2(400, 300), 0xFFFFF000u);
    int pieceEnd = -1;
    for (int f = 1; f <= 7; ++f) {
        frame(0.25f);
        if (pieceEnd < 0 && !shell->getDebris()[0]->isVisible()) pieceEnd = f;
        ASSERT_FALSE(isPendingDelete(shell)) << "at " << 0.25f * float(f) << " s";
    }
    EXPECT_EQ(pieceEnd, 3);   // the pieces burn 0.75 s
    for (const cFireworkDebris* piece : shell->getDebris()) EXPECT_FALSE(piece->isEnabled());
    frame(0.25f);
    EXPECT_TRUE(isPendingDelete(shell));
    flush();
    EXPECT_GT(getFireworks()->getNextSlot(), 0u);
}

TEST_F(Fireworks, APiecesSparkleChanceFallsFromOneToZeroOverItsLife) {
    cFireworks* system = makeSystem("max_count=\"65536\"\n",
                                    "count=\"1\"\nlifetime=\"1\"\nsparkling_interval=\"0.001\"\nsparkling_delay=\"0\"\n");
    rwSrand(7);
    new cFirework(level, cVector2(400, 300), 0xFFFFFFFFu);
    // A frame longer than the interval gives several chances: 50 at the start, nearly all hit.
    frame(0.05f);
    EXPECT_GE(system->getNextSlot(), 44u);
    EXPECT_LE(system->getNextSlot(), 50u);
    // Over the whole life about half of the thousand chances give a sparkle.
    for (int f = 0; f < 95; ++f) frame(0.01f);
    EXPECT_NEAR(double(system->getNextSlot()), 500.0, 40.0);
}

TEST_F(Fireworks, BadDebrisNumbersNeitherHangNorDivideByZero) {
    struct Case {
        const char* name;
        const char* debris;
        int maxSparklesPerFrame;
    } cases[] = {
        {"no interval", "count=\"2\"\nsparkling_interval=\"0\"\nsparkling_delay=\"0\"\nlifetime=\"5\"\n", 2},
        {"negative interval", "count=\"2\"\nsparkling_interval=\"-1\"\nsparkling_delay=\"0\"\nlifetime=\"5\"\n", 2},
        {"tiny interval", "count=\"2\"\nsparkling_interval=\"1e-30\"\nlifetime=\"5\"\n", 2 * cFirework::kMaxChancesPerFrame},
        {"no lifetime", "count=\"2\"\nlifetime=\"0\"\n", 2 * 2},
        {"negative lifetime", "count=\"2\"\nlifetime=\"-3\"\n", 2 * 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        getDebrisSettings() = cDebrisSettings();
        cFireworks* system = makeSystem("max_count=\"65536\"\n", c.debris);
        cFirework* shell = new cFirework(level, cVector2(400, 300), 0xFFFFFFFFu);
        unsigned spawned = 0;
        for (int f = 0; f < 5; ++f) {
            frame(0.2f);
            EXPECT_LE(int(system->getNextSlot() - spawned), c.maxSparklesPerFrame);
            spawned = system->getNextSlot();
            for (const cFireworkDebris* piece : shell->getDebris()) {
                EXPECT_TRUE(std::isfinite(piece->getScale().x));
                if (std::string(c.name).find("lifetime") != std::string::npos) {
                    EXPECT_FALSE(piece->isVisible());
                }
            }
            if (isPendingDelete(shell)) {   // without a debris lifetime only the sparkles' counts
                flush();
                shell = nullptr;
                break;
            }
        }
        delete shell;
        destroyFireworks();
        delete system;
    }
}

TEST_F(Fireworks, PieceCountsAreHeldTo256) {
    makeSystem("", "count=\"100000\"\n");
    cFirework* shell = new cFirework(level, cVector2(400, 300), 0xFFFFFFFFu);
    EXPECT_EQ(shell->getDebris().size(), cFirework::kMaxPieces);
}

TEST_F(Fireworks, OneSystemPerLevelAndDestroyingItResetsTheDebrisSettings) {
    cFireworks* system = makeSystem("", "lifetime=\"0.5\"\n");
    createFireworks(level);
    EXPECT_EQ(getFireworks(), system);
    EXPECT_EQ(file_test::thrownText([&] { new cFireworks(level); }), "Object already exist.");
    EXPECT_TRUE(system->isOwnVisible());   // shown by the node keys of its section
    new cFirework(level, cVector2(), 0xFFFFFFFFu);
    EXPECT_EQ(getDebrisSettings().m_lifetime, 0.5f);
    system->spawnSparkle(cVector3(), cVector2());
    // Read once per level: a changed file is not read again by the next shell...
    replaceIni("Config/Game/fx_firework.ini", ini + "[DEBRIS]\nlifetime=\"2\"\n");
    new cFirework(level, cVector2(), 0xFFFFFFFFu);
    EXPECT_EQ(getDebrisSettings().m_lifetime, 0.5f);
    // ...until the level is destroyed.
    destroyFireworks();
    EXPECT_EQ(system->getLiveCount(), 0);
    EXPECT_EQ(getFireworks(), system);   // it dies with the level, not here
    new cFirework(level, cVector2(), 0xFFFFFFFFu);
    EXPECT_EQ(getDebrisSettings().m_lifetime, 2.0f);
}

}  // namespace
