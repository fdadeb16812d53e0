// tests/show/flare_sculpture_test.cpp - the break's phase numbers and where each effect
// starts and stops, the fade to black, the spark recipe shared with the red colossus
// (unclamped factors before t = 0, directions drawn once from the shared sequence), the
// break poses joining without jumps, and the machine drawn through every phase.
#include "gl_fixture.h"
#include "show/flare_sculpture.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/math.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

TEST(FlarePhaseTest, IntactBeforeTheBreakThenHalfPatternPhases) {
    // The first showing: t from -1 to 1.5 never reaches the strike, negative q included.
    for (float t = -1.0f; t <= 1.5f; t += 0.125f) {
        const float q = flare_phase(t);
        EXPECT_LT(q, 4.0f) << "t = " << t;
        EXPECT_EQ(flare_fade(q), 1.0f) << "t = " << t;
        EXPECT_EQ(flare_spark_brightness(q), 1.0f) << "t = " << t;
        EXPECT_EQ(flare_burst_scale(q), 0.0f) << "t = " << t;
        EXPECT_EQ(flare_zoom_flash(q), 0.0f) << "t = " << t;
    }
    EXPECT_FLOAT_EQ(flare_phase(-1.0f), -2.0f);
    EXPECT_FLOAT_EQ(flare_phase(1.5f), 3.0f);
    // The second showing: t 42 to 44 is q 4 to 8.
    EXPECT_FLOAT_EQ(flare_phase(42.0f), 4.0f);
    EXPECT_FLOAT_EQ(flare_phase(43.0f), 6.0f);
    EXPECT_FLOAT_EQ(flare_phase(43.5f), 7.0f);
    EXPECT_NEAR(flare_phase(43.999f), 8.0f, 0.01f);
    EXPECT_FLOAT_EQ(flare_phase(44.0f), 0.0f);   // the cycle starts over
}

TEST(FlarePhaseTest, StrikeFlashAndBurstsStartAndStopOnTheirPhases) {
    EXPECT_FLOAT_EQ(flare_zoom_flash(4.0f), 1.0f);   // strike: full flash, fading as (1 - u)^3
    EXPECT_FLOAT_EQ(flare_zoom_flash(4.5f), 0.125f);
    EXPECT_EQ(flare_zoom_flash(5.0f), 0.0f);
    EXPECT_EQ(flare_zoom_flash(6.5f), 0.0f);
    EXPECT_EQ(flare_burst_scale(4.0f), 0.0f);        // bursts grow out of the centre
    EXPECT_NEAR(flare_burst_scale(4.5f), std::sqrt(2.0f), 1e-5f);
    EXPECT_EQ(flare_burst_scale(5.5f), 0.0f);
    EXPECT_NEAR(flare_burst_scale(6.999f), 2.0f, 1e-3f);
    EXPECT_EQ(flare_burst_scale(7.0f), 0.0f);
    EXPECT_FLOAT_EQ(flare_spark_brightness(5.0f), 0.5f);   // the stream dies out by q = 6
    EXPECT_EQ(flare_spark_brightness(6.0f), 0.0f);
}

TEST(FlarePhaseTest, MachineFadesWithTheSquareToBlackAtEight) {
    EXPECT_EQ(flare_fade(5.99f), 1.0f);
    EXPECT_FLOAT_EQ(flare_fade(6.0f), 1.0f);
    EXPECT_FLOAT_EQ(flare_fade(7.0f), 0.25f);
    EXPECT_FLOAT_EQ(flare_fade(8.0f), 0.0f);
    EXPECT_LT(flare_fade(flare_phase(43.999f)), 1e-5f);   // the last frame before show time 46
}

TEST(SparkRecipeTest, FactorsExceedOneBeforeTimeZeroAndRestartEachPattern) {
    std::vector<float> dirs(SCULPTURE_SPARKS * 3, 0.0f), pos(SCULPTURE_SPARKS * 3), f(SCULPTURE_SPARKS);
    for (int i = 0; i < SCULPTURE_SPARKS; i++) dirs[i * 3 + 1] = 1.0f;   // all straight up
    spark_stream(dirs.data(), -0.5f, pos.data(), f.data());
    EXPECT_FLOAT_EQ(f[0], 1.5f);            // f = -0.5: behind the centre, brighter than 1
    EXPECT_FLOAT_EQ(pos[1], -0.5f);
    EXPECT_NEAR(f[20], 1.3f, 1e-5f);
    EXPECT_NEAR(f[80], 0.7f, 1e-5f);        // f = 0.3 once t + 0.01 i is past zero
    spark_stream(dirs.data(), 2.25f, pos.data(), f.data());
    EXPECT_NEAR(f[0], 0.75f, 1e-5f);        // a whole pattern later, the same place
    EXPECT_NEAR(pos[1], 0.25f, 1e-5f);
    EXPECT_NEAR(f[499], 1.0f - std::fmod(2.25f + 4.99f, 1.0f), 1e-5f);
}

TEST(SparkRecipeTest, DirectionsAreUnitVectorsDrawnXYZFromTheSharedSequence) {
    random_seed(11);
    const int x = random_int(), y = random_int(), z = random_int();
    random_seed(11);
    std::vector<float> dirs(SCULPTURE_SPARKS * 3);
    make_spark_directions(dirs.data());
    const int next = random_int();
    for (int i = 0; i < SCULPTURE_SPARKS; i++) {
        const float *d = &dirs[i * 3];
        EXPECT_NEAR(d[0] * d[0] + d[1] * d[1] + d[2] * d[2], 1.0f, 1e-5f) << "i = " << i;
    }
    float first[3] = { x / 32768.0f - 0.5f, y / 32768.0f - 0.5f, z / 32768.0f - 0.5f };
    vec3_normalize(first);
    for (int k = 0; k < 3; k++) EXPECT_NEAR(dirs[k], first[k], 1e-6f);
    random_seed(11);
    for (int i = 0; i < 3 * SCULPTURE_SPARKS; i++) random_int();
    EXPECT_EQ(next, random_int());   // exactly three draws per spark
}

TEST(FlareShudderTest, StrongestAtThePatternStartAndGoneByItsEnd) {
    const float n[3] = { 0, 0, 1 };
    float out[3], strongest = 0;
    for (float q = 4.0f; q < 7.0f; q += 0.01f) {
        const float p[3] = { 30.0f * q, -20.0f, 100.0f };
        flare_shudder(out, q, p, n, 0.005f, 0.0f);   // c = 0: the end of a pattern
        for (int k = 0; k < 3; k++) EXPECT_FLOAT_EQ(out[k], p[k]) << "q = " << q;
        flare_shudder(out, q, p, n, 0.005f, 1.0f);   // c = 1: its start
        const float o = out[2] - p[2];
        EXPECT_NEAR(out[0] - p[0], 0.4f * o, 1e-3f);
        EXPECT_NEAR(out[1] - p[1], 0.4f * o, 1e-3f);
        strongest = std::max(strongest, std::fabs(o));
    }
    EXPECT_GT(strongest, 25.0f);   // up to 35 mesh units along the hub's axis
    EXPECT_LE(strongest, 35.0f);
}

// One stand-in sphere of radius 100 for all three machine meshes: as the shell (x 0.03675)
// it encloses the camera's circle, so a lit machine fills the view with chrome.
class FlareSculptureTest : public GLTest {
protected:
    static inline std::vector<float> ball;
    static inline ShapeArrays shape;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        shape = wrapped_sphere_arrays(16, 16);
        ball.assign(shape.positions, shape.positions + shape.vertex_count * 3);
        for (float &v : ball) v *= 100;
        MeshObject *machine = build_mesh(shape.faces, ball.data(), nullptr, nullptr, nullptr, shape.vertex_count,
                                         shape.face_count, RF_FLAT);
        res.sculpture_mesh = res.sculpture_part_a_mesh = res.sculpture_part_b_mesh = machine;
        res.metal_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.flarey_texture = make_solid_texture(4, 4, 255, 255, 0, 255, 1, 1, 1, 0);
        res.flarer_texture = make_solid_texture(4, 4, 255, 0, 0, 255, 1, 1, 1, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    static double offscreen_mean() { return double(offscreen_sum()) / (OFFSCREEN_WIDTH * OFFSCREEN_HEIGHT * 3); }
    // The machine's model-view matrix after a break pose at phase q.
    static std::vector<float> pose(void (*brk)(float), float q) {
        std::vector<float> m(16);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        brk(q);
        glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
        return m;
    }
};

TEST_F(FlareSculptureTest, BreakPosesJoinWithoutJumps) {
    for (void (*brk)(float) : { flare_upper_rotor_break, flare_upper_hub_break }) {
        const std::vector<float> start = pose(brk, 4.0f), intact = pose(brk, 3.9f);
        for (int i = 0; i < 16; i++) EXPECT_NEAR(start[i], intact[i], 1e-5f) << "q = 4, element " << i;
        for (float q : { 6.0f, 7.0f }) {
            const std::vector<float> before = pose(brk, q - 1e-4f), after = pose(brk, q);
            for (int i = 0; i < 16; i++) EXPECT_NEAR(before[i], after[i], 2e-3f) << "q = " << q << ", element " << i;
        }
        EXPECT_NE(pose(brk, 7.9f), intact);   // and the upper half does move
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(FlareSculptureTest, EveryPhaseDrawsAndTheLastOneFadesToBlack) {
    for (float t : { -1.0f, -0.4f, 0.0f, 1.5f, 42.0f, 42.3f, 42.7f, 43.1f, 43.6f }) {
        flare_sculpture_scene(t, res.screen_texture_a);
        EXPECT_GT(offscreen_mean(), t < 43.5f ? 20.0 : 5.0) << "t = " << t;   // dimmer from q = 7
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "t = " << t;
    }
    flare_sculpture_scene(42.99f, res.screen_texture_a);   // q just under 6: full brightness
    const double full = offscreen_mean();
    flare_sculpture_scene(43.5f, res.screen_texture_a);    // q = 7: a quarter
    EXPECT_NEAR(offscreen_mean() / full, 0.25, 0.08);
    flare_sculpture_scene(43.999f, res.screen_texture_a);
    EXPECT_LT(offscreen_mean(), 0.5);
    flare_sculpture_scene(0.3f, nullptr);                  // without a target: the window's view
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
