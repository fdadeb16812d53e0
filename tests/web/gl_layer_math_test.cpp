// tests/web/gl_layer_math_test.cpp - the browser build's GL layer arithmetic, checked natively:
// what it sends in place of the primitives the browser lacks, the texture coordinates it
// generates in place of fixed-function GL, the two GLU matrices it makes itself, and the FFT
// that stands in for KISS FFT behind the spectrum.
#include "web/gl_layer_math.h"
#include <gtest/gtest.h>
#include <kissfft/kiss_fftr.h>
#include <cmath>
#include <array>
#include <complex>
#include <cstdlib>
#include <vector>

constexpr unsigned TRIANGLES = 4, TRIANGLE_STRIP = 5, QUADS = 7, QUAD_STRIP = 8, POLYGON = 9, LINES = 1;

static std::vector<LayerVertex> square_grid(int n) {   // vertex k at (k, k * k % 7, 0)
    std::vector<LayerVertex> v(static_cast<size_t>(n));
    for (int k = 0; k < n; k++) v[size_t(k)] = LayerVertex{ { float(k), float(k * k % 7), 0 }, {}, {}, {} };
    return v;
}

static std::vector<LayerVertex> from_points(const std::vector<std::array<float, 2>> &points) {
    std::vector<LayerVertex> v;
    for (const auto &p : points) v.push_back(LayerVertex{ { p[0], p[1], 0 }, {}, {}, {} });
    return v;
}

static float signed_area(const LayerVertex &a, const LayerVertex &b, const LayerVertex &c) {
    return (b.pos[0] - a.pos[0]) * (c.pos[1] - a.pos[1]) - (c.pos[0] - a.pos[0]) * (b.pos[1] - a.pos[1]);
}

// Every triangle counter-clockwise, as GL front faces are: culling must keep what it kept.
static void expect_all_counter_clockwise(const std::vector<LayerVertex> &t) {
    ASSERT_EQ(t.size() % 3, 0u);
    for (size_t i = 0; i < t.size(); i += 3) EXPECT_GT(signed_area(t[i], t[i + 1], t[i + 2]), 0.0f) << "triangle " << i / 3;
}

TEST(Triangulate, QuadsStripsAndPolygonsBecomeCounterClockwiseTriangles) {
    std::vector<LayerVertex> out;
    // Two counter-clockwise unit squares side by side.
    const auto quads = from_points({ { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 2, 1 } });
    EXPECT_EQ(triangulate(QUADS, quads, out, false), TRIANGLES);
    EXPECT_EQ(out.size(), 12u);
    expect_all_counter_clockwise(out);

    // A quad strip lists pairs across the strip: 0 1 / 2 3 / 4 5.
    const auto strip = from_points({ { 0, 0 }, { 0, 1 }, { 1, 0 }, { 1, 1 }, { 2, 0 }, { 2, 1 } });
    std::vector<LayerVertex> as_strip = strip;
    // GL's quad k is 2k, 2k+1, 2k+3, 2k+2: counter-clockwise when 2k+1 lies on the left.
    for (auto &v : as_strip) v.pos[1] = 1 - v.pos[1];
    EXPECT_EQ(triangulate(QUAD_STRIP, as_strip, out, false), TRIANGLES);
    EXPECT_EQ(out.size(), 12u);
    expect_all_counter_clockwise(out);

    // A convex pentagon as a fan from its first corner.
    const auto pentagon = from_points({ { 0, 0 }, { 2, 0 }, { 3, 1 }, { 1, 2 }, { -1, 1 } });
    EXPECT_EQ(triangulate(POLYGON, pentagon, out, false), TRIANGLES);
    EXPECT_EQ(out.size(), 9u);
    expect_all_counter_clockwise(out);

    // A triangle strip split into triangles keeps every triangle's winding.
    EXPECT_EQ(triangulate(TRIANGLE_STRIP, from_points({ { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 }, { 0, 2 } }), out, true),
              TRIANGLES);
    EXPECT_EQ(out.size(), 9u);
    expect_all_counter_clockwise(out);
}

TEST(Triangulate, ModesTheBrowserDrawsPassUnchanged) {
    std::vector<LayerVertex> out;
    const auto v = square_grid(6);
    for (unsigned mode : { TRIANGLES, LINES, TRIANGLE_STRIP }) {
        EXPECT_EQ(triangulate(mode, v, out, false), mode);
        ASSERT_EQ(out.size(), v.size());
        for (size_t i = 0; i < v.size(); i++) EXPECT_EQ(out[i].pos[1], v[i].pos[1]);
    }
    // An unfinished quad at the end is dropped, as GL drops it.
    EXPECT_EQ(triangulate(QUADS, square_grid(7), out, false), TRIANGLES);
    EXPECT_EQ(out.size(), 6u);
}

TEST(NormalMatrix, RotationsKeepNormalsAndScalingTiltsThemTheRightWay) {
    // 90 degrees about z: x goes to y.
    const float rot[16] = { 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1 };
    float n[9];
    normal_matrix(rot, n);
    const float x[3] = { 1, 0, 0 };
    EXPECT_NEAR(n[0] * x[0] + n[3] * x[1] + n[6] * x[2], 0.0f, 1e-6f);
    EXPECT_NEAR(n[1] * x[0] + n[4] * x[1] + n[7] * x[2], 1.0f, 1e-6f);

    // Stretched twice along x, a 45-degree slope's normal leans towards y.
    const float scale[16] = { 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
    normal_matrix(scale, n);
    const float slope[3] = { 1, 1, 0 };
    const float nx = n[0] * slope[0] + n[3] * slope[1], ny = n[1] * slope[0] + n[4] * slope[1];
    EXPECT_NEAR(ny / nx, 2.0f, 1e-5f);

    // A flattened matrix gives the identity rather than infinities.
    const float flat[16] = { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
    normal_matrix(flat, n);
    EXPECT_EQ(n[0], 1.0f);
    EXPECT_EQ(n[4], 1.0f);
    EXPECT_EQ(n[8], 1.0f);
}

TEST(GeneratedCoordinates, SphereMapFollowsTheFixedFunctionFormula) {
    // Facing the eye straight on: the middle of the map.
    const float eye_pos[3] = { 0, 0, -5 }, facing[3] = { 0, 0, 1 };
    float st[2];
    sphere_map_coords(eye_pos, facing, st);
    EXPECT_NEAR(st[0], 0.5f, 1e-6f);
    EXPECT_NEAR(st[1], 0.5f, 1e-6f);
    // Turned by a about y (viewed along -z): s = 0.5 + sin(a) / 2, t stays.
    for (float a : { 0.2f, 0.7f, -1.1f }) {
        const float n[3] = { std::sin(a), 0, std::cos(a) };
        sphere_map_coords(eye_pos, n, st);
        EXPECT_NEAR(st[0], 0.5f + 0.5f * std::sin(a), 1e-5f) << a;
        EXPECT_NEAR(st[1], 0.5f, 1e-6f) << a;
    }
    // Reflection maps mirror the eye's ray: straight back towards the viewer.
    float r[3];
    reflection_coords(eye_pos, facing, r);
    EXPECT_NEAR(r[0], 0.0f, 1e-6f);
    EXPECT_NEAR(r[2], 1.0f, 1e-6f);
    const float plane[4] = { 0, 1, 1, 0.5f }, p[3] = { 9, 2, 3 };
    EXPECT_FLOAT_EQ(plane_coord(plane, p, 1.0f), 5.5f);
}

TEST(GluMatrices, LookAtAndPerspectiveMatchTheirDefinitions) {
    const double eye[3] = { 0, 0, 5 }, centre[3] = { 0, 0, 0 }, up[3] = { 0, 1, 0 };
    float m[16];
    look_at_matrix(eye, centre, up, m);
    const float origin[3] = { 0, 0, 0 };
    float out[4];
    transform_point(m, origin, out);   // the centre lies 5 ahead of the eye
    EXPECT_NEAR(out[0], 0.0f, 1e-6f);
    EXPECT_NEAR(out[2], -5.0f, 1e-6f);
    // Looking along +x from the origin: +x is ahead (-z in eye space), +z is to the right.
    const double eye2[3] = { 0, 0, 0 }, centre2[3] = { 1, 0, 0 };
    look_at_matrix(eye2, centre2, up, m);
    const float ahead[3] = { 1, 0, 0 }, side[3] = { 0, 0, 1 };
    transform_point(m, ahead, out);
    EXPECT_NEAR(out[2], -1.0f, 1e-6f);
    transform_point(m, side, out);
    EXPECT_NEAR(out[0], 1.0f, 1e-6f);

    perspective_matrix(90.0, 1.2, 0.1, 1000.0, m);
    const float near_point[3] = { 0, 0, -0.1f }, far_point[3] = { 0, 0, -1000.0f }, edge[3] = { 0, 1, -1 };
    transform_point(m, near_point, out);
    EXPECT_NEAR(out[2] / out[3], -1.0f, 1e-4f);
    transform_point(m, far_point, out);
    EXPECT_NEAR(out[2] / out[3], 1.0f, 1e-4f);
    transform_point(m, edge, out);   // 45 degrees up is the top of a 90-degree view
    EXPECT_NEAR(out[1] / out[3], 1.0f, 1e-5f);
}

// The browser build's FFT behind KISS FFT's interface against the plain DFT.
TEST(WebFft, RealTransformMatchesTheDefinition) {
    for (int n : { 8, 64, 1024 }) {
        std::vector<float> x(static_cast<size_t>(n));
        for (int i = 0; i < n; i++) x[size_t(i)] = float(std::sin(i * 0.37) + 0.25 * std::cos(i * 2.1) + (i % 5) * 0.1);
        kiss_fftr_cfg cfg = kiss_fftr_alloc(n, 0, nullptr, nullptr);
        ASSERT_NE(cfg, nullptr);
        std::vector<kiss_fft_cpx> bins(size_t(n / 2 + 1));
        kiss_fftr(cfg, x.data(), bins.data());
        for (int k = 0; k <= n / 2; k += (k < 8 ? 1 : 37)) {
            std::complex<double> sum = 0;
            for (int i = 0; i < n; i++) sum += double(x[size_t(i)]) * std::polar(1.0, -2 * M_PI * k * i / n);
            EXPECT_NEAR(bins[size_t(k)].r, sum.real(), 1e-3 * n) << n << " bin " << k;
            EXPECT_NEAR(bins[size_t(k)].i, sum.imag(), 1e-3 * n) << n << " bin " << k;
        }
        kiss_fftr_free(cfg);
    }
}

// Mipmap levels made in the page as natively: 2x2 averages rounded to nearest down to a row,
// then pairs rounded down, down to one pixel, each channel on its own.
TEST(WebMipmaps, LevelsAreTheNativeBoxAverages) {
    int w = 4, h = 2;
    std::vector<unsigned char> level = { 0, 1, 10, 11, 200, 0, 7, 7,     // row 0, two channels
                                         1, 1, 10, 12, 255, 0, 8, 8 },   // row 1
                               out;
    halve_image(level, w, h, 2, out);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 1);
    // (0+10+1+10+2)/4 = 5, (1+11+1+12+2)/4 = 6, (200+7+255+8+2)/4 = 118, (0+7+0+8+2)/4 = 4
    EXPECT_EQ(out, (std::vector<unsigned char>{ 5, 6, 118, 4 }));
    halve_image(out, w, h, 2, level);
    ASSERT_EQ(w, 1);
    ASSERT_EQ(h, 1);
    EXPECT_EQ(level, (std::vector<unsigned char>{ 61, 5 }));   // (5+118)/2, (6+4)/2
    // A one-pixel-wide column halves down its height.
    int cw = 1, ch = 2;
    halve_image(std::vector<unsigned char>{ 3, 0, 0, 4, 0, 255 }, cw, ch, 3, out);
    EXPECT_EQ(cw, 1);
    EXPECT_EQ(ch, 1);
    EXPECT_EQ(out, (std::vector<unsigned char>{ 3, 0, 127 }));
}
