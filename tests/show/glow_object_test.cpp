// tests/show/glow_object_test.cpp - the ride along the axis and the cuts between the
// cameras, what fires when (beam, burst, streams), the streams swapping colour, and the
// beam's red glow seen only while it fires.
#include "grey_show_fixture.h"
#include "show/glow_object.h"
#include "render/math.h"
#include "render/render_state.h"
#include "precalc/resources.h"
#include <GL/gl.h>
#include <cmath>

TEST(GlowCameraTest, RideStartsAtTheEmitterAndEndsPastTheTarget) {
    float target[3];
    const CameraKey start = glow_camera(0, 60.0f, target);
    EXPECT_EQ(start.x, 0.0f);
    EXPECT_EQ(start.y, 0.0f);
    EXPECT_FLOAT_EQ(start.z, 2.4f);   // just in front of the lens at 1.9, looking back at the emitter
    EXPECT_EQ(target[2], 0.0f);
    const CameraKey end = glow_camera(0, 62.0f, target);
    EXPECT_FLOAT_EQ(end.x, 48.0f);
    EXPECT_FLOAT_EQ(end.z, 42.4f);
    EXPECT_FLOAT_EQ(target[2], 40.0f);
    // The orbits circle the target 70 units out, level, and 20 units out, from above.
    const CameraKey wide = glow_camera(1, 58.3f, target);
    EXPECT_NEAR(std::hypot(wide.x, wide.z - 30.0f), 70.0f, 1e-3f);
    EXPECT_EQ(target[2], 30.0f);
    const CameraKey close = glow_camera(2, 63.2f, target);
    EXPECT_NEAR(std::hypot(close.x, close.z - 30.0f), 20.0f, 1e-3f);
    EXPECT_GE(close.y, 10.0f);
}

TEST(GlowCameraTest, OrbitsCutEveryPatternThenRideThenCutEveryHalfPattern) {
    const struct { float x; int camera; } cuts[] = {
        { 57.5f, 2 }, { 57.99f, 2 }, { 58.0f, 1 }, { 59.5f, 2 }, { 59.999f, 2 }, { 60.0f, 0 },
        { 61.99f, 0 }, { 62.0f, 1 }, { 62.49f, 1 }, { 62.5f, 2 }, { 63.0f, 1 }, { 63.4375f, 1 },
    };
    for (const auto &c : cuts) EXPECT_EQ(glow_camera_choice(c.x), c.camera) << c.x;
}

TEST(GlowPassesTest, NothingFiresBeforeSixtyOneAndAHalfAndTheBeamStopsAtSixtyThree) {
    const struct { float x; bool beam, streams, burst; } moments[] = {
        { 57.5f, false, false, false }, { 61.499f, false, false, false }, { 61.5f, true, true, true },
        { 61.999f, true, true, true }, { 62.0f, true, true, false }, { 62.999f, true, true, false },
        { 63.0f, false, true, false }, { 63.4375f, false, true, false },
    };
    for (const auto &m : moments) {
        const GlowPasses p = glow_passes(m.x);
        EXPECT_EQ(p.beam, m.beam) << m.x;
        EXPECT_EQ(p.streams, m.streams) << m.x;
        EXPECT_EQ(p.burst, m.burst) << m.x;
    }
    EXPECT_EQ(glow_burst_reach(61.49f), 0.0f);
    EXPECT_EQ(glow_burst_reach(61.5f), 0.0f);     // bursts from the target's centre
    EXPECT_NEAR(glow_burst_reach(62.5f), 2.0f, 1e-5f);
}

TEST(GlowSparksTest, RedStreamEmptiesWhileTheBlueFillsOverTwoPatterns) {
    int red = 0, blue = 0;
    glow_stream_counts(61.5f, &red, &blue);
    EXPECT_EQ(red, GLOW_SPARKS);
    EXPECT_EQ(blue, 0);
    glow_stream_counts(62.5f, &red, &blue);
    EXPECT_EQ(red, 250);
    EXPECT_EQ(blue, 250);
    glow_stream_counts(63.5f, &red, &blue);
    EXPECT_EQ(red, 0);
    EXPECT_EQ(blue, GLOW_SPARKS);
    for (float x = 61.5f; x < 63.5f; x += 0.013f) {
        glow_stream_counts(x, &red, &blue);
        EXPECT_GE(red + blue, GLOW_SPARKS - 1) << x;
        EXPECT_LE(red + blue, GLOW_SPARKS) << x;
    }
}

TEST(GlowSparksTest, EachSparkFliesOutOncePerPatternFadingAndBlueTrailsByHalf) {
    const float d[3] = { 0.6f, 0.0f, 0.8f };
    float p[3], q[3];
    EXPECT_FLOAT_EQ(glow_stream_point(p, 62.0f, 0, d, 0.0f), 1.0f);   // leaves the centre bright
    EXPECT_EQ(p[0], 0.0f);
    EXPECT_NEAR(glow_stream_point(p, 62.999f, 0, d, 0.0f), 0.0f, 2e-3f);   // faded out at full reach
    EXPECT_NEAR(p[2], 0.8f, 2e-3f);
    EXPECT_NEAR(glow_stream_point(p, 62.2f, 30, d, 0.0f), 0.5f, 1e-4f);   // spark i starts i/100 pattern early
    const float fb = glow_stream_point(p, 62.1f, 7, d, 0.5f), fa = glow_stream_point(q, 62.6f, 7, d, 0.0f);
    EXPECT_NEAR(fb, fa, 1e-4f);
    EXPECT_NEAR(p[2], q[2], 1e-4f);
}

class GlowDrawTest : public GreyShowTest {
protected:
    // Red light beyond the other two channels, summed over the offscreen view: the grey
    // stand-in pictures give none, only the red beam and its glow do.
    static long red_excess() {
        long excess = 0;
        const std::vector<unsigned char> rgb = read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
        for (size_t i = 0; i < rgb.size(); i += 3) excess += long(rgb[i]) - std::max(rgb[i + 1], rgb[i + 2]);
        return excess;
    }
};

TEST_F(GlowDrawTest, BeamGlowsRedOnlyWhileItFires) {
    const struct { float x; bool red; } frames[] = {
        { 61.45f, false }, { 61.55f, true }, { 62.2f, true }, { 62.95f, true }, { 63.05f, false }, { 58.7f, false },
    };
    for (const auto &f : frames) {
        glow_object_scene(f.x, res.screen_texture_a);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << f.x;
        long sum = 0;
        for (unsigned char c : read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT)) sum += c;
        EXPECT_GT(sum, 384L * 288 * 3 * 5) << f.x;   // the pair is there, beam or not
        if (f.red) EXPECT_GT(red_excess(), 1000) << f.x;   // a few hundred red pixels at least
        else       EXPECT_LT(red_excess(), 100) << f.x;
    }
}
