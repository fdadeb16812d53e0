// tests/show/tube_flights_test.cpp - the pair corridor's loop and turn, the knot's pulse,
// the smoke flares' stream, and the twirl knot's two looks drawn over a stand-in knot.
#include "gl_fixture.h"
#include "show/tube_flights.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>

constexpr float TURN_END = 1.07125f;   // where the first loop's turn completes and wraps

TEST(PairCorridorTest, RingsAndTurnRepeatEveryTwoAndAHalfUnits) {
    for (float x = 2.5f; x < 5.0f; x += 0.0371f) {
        EXPECT_NEAR(pair_turn(x + PAIR_PERIOD), pair_turn(x), 1e-3f) << x;
        for (int p = 0; p < PAIR_SEGMENTS; p++)
            EXPECT_NEAR(pair_segment_z(x + PAIR_PERIOD, p), pair_segment_z(x, p), 0.05f) << x << " " << p;
    }
}

TEST(PairCorridorTest, RingsStreamTowardsTheCameraAndEightAreAlwaysAhead) {
    for (float x = 2.5f; x < 5.0f; x += 0.0173f) {
        int ahead = 0;
        for (int p = 0; p < PAIR_SEGMENTS; p++) {
            const float z = pair_segment_z(x, p), next = pair_segment_z(x + 0.001f, p);
            EXPECT_GT(z, -1200.0f);
            EXPECT_LE(z, 800.0f);
            if (next < z) {
                EXPECT_NEAR(z - next, 0.8f, 0.01f);   // else it was recycled to the far end
            }
            if (z > 0) ahead++;
        }
        EXPECT_GE(ahead, 7) << x;
        EXPECT_LE(ahead, 8) << x;
    }
}

TEST(PairCorridorTest, TurnRisesOnlyInTheLastTwentiethThenSnapsBack) {
    for (int loop = 0; loop < 4; loop++) {
        const float end = TURN_END + PAIR_PERIOD * loop;
        for (float x = end - PAIR_PERIOD + 0.002f; x < end - 0.126f; x += 0.01f)
            EXPECT_EQ(pair_turn(x), 0.0f) << x;
        float last = 0;
        for (float x = end - 0.124f; x < end - 0.001f; x += 0.002f) {
            const float k = pair_turn(x);
            EXPECT_GE(k, last) << x;
            last = k;
        }
        EXPECT_GT(pair_turn(end - 0.001f), 0.99f) << loop;
        EXPECT_EQ(pair_turn(end + 0.001f), 0.0f) << loop;
    }
    EXPECT_NEAR(pair_turn(TURN_END - 0.0625f), 0.5f, 1e-3f);   // halfway through the turn
}

TEST(TwirlKnotTest, PulsesEightTimesPerPattern) {
    int peaks = 0;
    for (int i = 0; i < 1024; i++) {
        const float t = 25.0f + i / 1024.0f;
        const float a = twirl_pulse(t - 1.0f / 1024), b = twirl_pulse(t), c = twirl_pulse(t + 1.0f / 1024);
        if (b > a && b >= c) peaks++;
        EXPECT_LE(std::fabs(b), 2.0f);
    }
    EXPECT_EQ(peaks, 8);
    EXPECT_NEAR(twirl_pulse(25.03125f), 2.0f, 1e-3f);
}

TEST(SmokeFlareTest, FlaresStreamAndWrapWithinTheTube) {
    for (float d : { 0.0f, 17.5f, 63.9f }) {
        for (float t = -1.5f; t < 2.0f; t += 0.013f) {
            const float z = smoke_flare_z(t, d);
            EXPECT_GE(z, -0.5f * SMOKE_DEPTH) << t;
            EXPECT_LT(z, 0.5f * SMOKE_DEPTH) << t;
            EXPECT_NEAR(smoke_flare_z(t + 1.0f, d), z, 1e-3f) << t;   // one wrap per unit of t
        }
    }
    EXPECT_NEAR(smoke_flare_z(28.25f, 10.0f), 10.0f - 16.0f, 1e-3f);   // 64 x 28.25 is 16 past a wrap
}

class TwirlDrawTest : public GLTest {
protected:
    static inline std::vector<float> knot;
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        ShapeArrays s = sphere_arrays(16, 16);   // a ball of radius 60 stands in for the knot
        knot.assign(s.positions, s.positions + s.vertex_count * 3);
        for (float &x : knot) x *= 60;
        res.twirl_mesh = build_mesh(s.faces, knot.data(), nullptr, nullptr, nullptr, s.vertex_count,
                                    s.face_count, RF_FLAT);
        delete[] s.positions;   // copied above; the mesh keeps only the faces
        delete[] s.texcoords;
        res.metal_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.crackle_texture = res.twirl_texture = make_solid_texture(4, 4, 120, 120, 120, 255, 1, 1, 1, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(TwirlDrawTest, GlowModeCutsTheKnotOutBlackWhileTheTubeGlows) {
    const int cx = OFFSCREEN_WIDTH / 2, cy = OFFSCREEN_HEIGHT / 2;
    twirl_scene(25.0f, res.screen_texture_a, 0);
    EXPECT_GT(read_pixels(cx, cy, 1, 1)[0], 100);   // chrome knot in the middle
    twirl_scene(25.0f, res.screen_texture_a, 1);
    EXPECT_EQ(read_pixels(cx, cy, 1, 1)[0], 0);     // its silhouette is black
    EXPECT_GT(read_pixels(2, 2, 1, 1)[0], 20);      // the tube around it glows
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
