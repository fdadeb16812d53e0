// tests/render/math_test.cpp - clamps, vectors, the random sequence, the spline and the
// orientation frame, all without a GL context.
#include "render/math.h"
#include <gtest/gtest.h>
#include <cmath>

static const SplineKey SQUARE[4] = {
    { 0, 0, 0, 0 }, { 1, 10, 0, 0 }, { 2, 10, 5, 0 }, { 3, 0, 5, 7 },
};

static void expect_key(const float *p, const SplineKey &k) {
    EXPECT_NEAR(p[0], k.x, 1e-4f);
    EXPECT_NEAR(p[1], k.y, 1e-4f);
    EXPECT_NEAR(p[2], k.z, 1e-4f);
}

TEST(MathTest, ClampsAndEasingSaturateOutsideTheUnitRange) {
    EXPECT_EQ(clamp01(-0.5f), 0.0f);
    EXPECT_EQ(clamp01(1.5f), 1.0f);
    EXPECT_EQ(clamp01(0.25f), 0.25f);
    EXPECT_EQ(clamp_byte(256), 255);
    EXPECT_EQ(clamp_byte(-1), 0);
    EXPECT_EQ(ease_cos(-0.1f), 0.0f);
    EXPECT_EQ(ease_cos(1.1f), 1.0f);
    EXPECT_FLOAT_EQ(ease_cos(0.5f), 0.5f);
}

TEST(MathTest, RandomSequenceStartsAt41And18467And6334) {
    random_seed(1);
    EXPECT_EQ(random_int(), 41);
    EXPECT_EQ(random_int(), 18467);
    EXPECT_EQ(random_int(), 6334);
    for (int i = 0; i < 1000; i++) {
        const int r = random_int();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(MathTest, TriangleNormalFollowsCounterClockwiseCornersAndZeroAreaGivesZero) {
    const float a[3] = { 0, 0, 0 }, b[3] = { 1, 0, 0 }, c[3] = { 0, 1, 0 };
    float n[3];
    triangle_normal(a, b, c, n);
    EXPECT_FLOAT_EQ(n[2], 1.0f);
    const float d[3] = { 2, 0, 0 };
    triangle_normal(a, b, d, n);   // collinear corners
    EXPECT_EQ(n[0], 0.0f);
    EXPECT_EQ(n[1], 0.0f);
    EXPECT_EQ(n[2], 0.0f);
}

TEST(MathTest, SplinePassesThroughTheKeysAndClosesTheLoop) {
    float p[3], q[3];
    spline_point(p, 0.0f, SQUARE, 4);
    expect_key(p, SQUARE[3]);                     // u = 0: the last key
    for (int k = 0; k < 4; k++) {
        spline_point(p, (k + 1) / 4.0f, SQUARE, 4);
        expect_key(p, SQUARE[k]);                 // key k at (k + 1) / n
    }
    spline_point(p, 1.0f, SQUARE, 4);
    spline_point(q, 0.0f, SQUARE, 4);
    expect_key(p, { 0, q[0], q[1], q[2] });
    spline_point(p, 2.3f, SQUARE, 4);             // whole turns and negative u wrap around
    spline_point(q, 0.3f, SQUARE, 4);
    expect_key(p, { 0, q[0], q[1], q[2] });
    spline_point(p, -0.7f, SQUARE, 4);
    expect_key(p, { 0, q[0], q[1], q[2] });
}

TEST(MathTest, SplineBetweenKeysIsTheCatmullRomMidpoint) {
    float p[3];
    spline_point(p, 1.5f / 4, SQUARE, 4);         // halfway from key 0 to key 1
    // t = 0.5: weights -1/16, 9/16, 9/16, -1/16 on keys 3, 0, 1, 2
    EXPECT_NEAR(p[0], (-0.0f + 0 + 90 - 10) / 16, 1e-4f);
    EXPECT_NEAR(p[1], (-5.0f + 0 + 0 - 5) / 16, 1e-4f);
    EXPECT_NEAR(p[2], -7.0f / 16, 1e-4f);
}

TEST(MathTest, SplineWithOneKeyStaysOnIt) {
    const SplineKey one[1] = { { 0, 3, -2, 9 } };
    for (float u : { 0.0f, 0.3f, 0.999f, 1.0f, 5.5f }) {
        float p[3];
        spline_point(p, u, one, 1);
        expect_key(p, one[0]);
    }
}

TEST(MathTest, OrientFrameAlongZIsAMirrorOfX) {
    const float z[3] = { 0, 0, 1 };
    float m[16];
    orient_frame(z, m);
    const float expected[16] = { -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
    for (int i = 0; i < 16; i++) EXPECT_NEAR(m[i], expected[i], 1e-6f) << "element " << i;
    const float d[3] = { 3, 4, 0 };                // unnormalised input: z column is the unit direction
    orient_frame(d, m);
    EXPECT_NEAR(m[8], 0.6f, 1e-6f);
    EXPECT_NEAR(m[9], 0.8f, 1e-6f);
}
