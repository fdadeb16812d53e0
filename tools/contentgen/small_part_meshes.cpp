// tools/contentgen/small_part_meshes.cpp - the seven small parts (small_part_1_mesh to
// small_part_7_mesh): machined ring segments built from quad strips with their own texture
// coordinates.
#include "mesh_recipes.h"

#include <cmath>
#include <functional>
#include <utility>

namespace mesh_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// small_part_*: machined ring segments built from quad strips with their own coordinates
//----------------------------------------------------------------------------------------------
// A strip of `quads` quads: point(i, side) for i = 0..quads and side 0/1; u runs along, v across.
void strip(Mesh &m, int quads, const std::function<Vec3(int, int)> &point, Vec3 want)
{
    int base = m.vertices();
    for (int i = 0; i <= quads; i++)
        for (int s = 0; s < 2; s++) {
            m.add(point(i, s));
            m.uv.push_back({double(i) / quads, double(s), 0});
        }
    for (int i = 0; i < quads; i++) {
        int a = base + 2 * i, b = a + 1, c = a + 2, d = a + 3;
        face_towards(m, a, c, d, want);
        face_towards(m, a, d, b, want);
    }
}

// Polygon ring helper: point at corner k of an n-gon of circumradius r at depth z.
Vec3 ngon(int n, int k, double r, double z, double phase = 0)
{
    double a = 2 * PI * k / n + phase;
    return {r * std::cos(a), r * std::sin(a), z};
}

// The octagonal ring: inner as `inner_strips` strips, outer one strip, front/back 8 single quads.
void octagon_ring(Mesh &m, int inner_strips, double rin, double rout, double z0, double z1)
{
    const double ph = PI / 8;
    int per = 8 / inner_strips;
    for (int s = 0; s < inner_strips; s++)
        strip(m, per, [&](int i, int side) { return ngon(8, s * per + i, rin, side ? z1 : z0, ph); }, {0, 0, 0});
    strip(m, 8, [&](int i, int side) { return ngon(8, i, rout, side ? z1 : z0, ph); }, {0, 0, 0});
    for (int k = 0; k < 8; k++) {
        strip(m, 1, [&](int i, int side) { return ngon(8, k + i, side ? rout : rin, z0, ph); }, {0, 0, -1});
        strip(m, 1, [&](int i, int side) { return ngon(8, k + i, side ? rout : rin, z1, ph); }, {0, 0, 1});
    }
}

// Fixes the facing of the cylindrical strips built with want (0, 0, 0): faces whose centre is
// nearer the axis than `split` face inward, others outward.
void orient_radial(Mesh &m, size_t from_face, double split)
{
    for (size_t f = from_face; f < size_t(m.faces()); f++) {
        Vec3 a = m.pos[size_t(m.tri[f * 3])], b = m.pos[size_t(m.tri[f * 3 + 1])], c = m.pos[size_t(m.tri[f * 3 + 2])];
        Vec3 n = cross(b - a, c - a), ctr = (a + b + c) * (1.0 / 3);
        Vec3 radial{ctr.x, ctr.y, 0};
        if (std::fabs(n.z) > 0.9 * length(n)) continue;
        bool inner = length(radial) < split;
        if ((dot(n, radial) > 0) == inner) std::swap(m.tri[f * 3 + 1], m.tri[f * 3 + 2]);
    }
}

}    // namespace

Mesh make_small_part_1()
{
    // The junction: an octagonal frame z 0..100 with an opening in its +x wall (z 25..75).
    Mesh m;
    m.name = "small_part_1_mesh";
    const double rin = 52, rout = 68, ph = PI / 8;
    // Side k spans corners k..k+1; side 7 (corners 7..8, centred on angle 0) is the +x wall.
    for (int k = 0; k < 7; k++) {
        strip(m, 2, [&](int i, int s) { return ngon(8, k + s, rin, 50.0 * i, ph); }, {0, 0, 0});
        strip(m, 2, [&](int i, int s) { return ngon(8, k + s, rout, 50.0 * i, ph); }, {0, 0, 0});
    }
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, rin, 25.0 * i, ph); }, {0, 0, 0});
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, rin, 75 + 25.0 * i, ph); }, {0, 0, 0});
    size_t radial_end = size_t(m.faces());
    // Sill, lintel and the two jambs close the wall round the opening.
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, i ? rout : rin, 25, ph); }, {0, 0, 1});
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, i ? rout : rin, 75, ph); }, {0, 0, -1});
    for (int j = 0; j < 2; j++) {
        Vec3 along = normalize(ngon(8, 7 + j, 1, 0, ph) - ngon(8, 8 - j, 1, 0, ph));
        strip(m, 1, [&](int i, int s) { return ngon(8, 7 + j, s ? rout : rin, 25 + 50.0 * i, ph); }, along * -1.0);
    }
    // Front rim (z 0) in three strips, back rim (z 100) in two.
    const int front[3][2] = {{0, 3}, {3, 6}, {6, 8}};
    for (auto &r : front)
        strip(m, r[1] - r[0], [&](int i, int s) { return ngon(8, r[0] + i, s ? rout : rin, 0, ph); }, {0, 0, -1});
    for (int h = 0; h < 2; h++)
        strip(m, 4, [&](int i, int s) { return ngon(8, 4 * h + i, s ? rout : rin, 100, ph); }, {0, 0, 1});
    orient_radial(m, 0, (rin + rout) / 2);
    (void)radial_end;
    return m;
}

Mesh make_small_part_2()
{
    Mesh m;
    m.name = "small_part_2_mesh";
    octagon_ring(m, 2, 46, 70, 0, 24);
    orient_radial(m, 0, 58);
    return m;
}

Mesh make_small_part_3()
{
    Mesh m;
    m.name = "small_part_3_mesh";
    octagon_ring(m, 1, 44, 62, 0, 30);
    // A two-quad tab sticking out of the outer wall.
    strip(m, 2, [&](int i, int s) { return Vec3{62.0 + 20 * i, s ? 8.0 : -8.0, 15.0}; }, {0, 0, 1});
    orient_radial(m, 0, 53);
    return m;
}

// Flanged ring with 44 radial ribs: body of 4 strips x 21 quads, ribs of 3 strips (4 quads).
Mesh make_small_part_4()
{
    Mesh m;
    m.name = "small_part_4_mesh";
    const int n = 21;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 44, s ? 40.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 72.0 : 44.0, 40.0); }, {0, 0, 1});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 72, s ? 0.0 : 40.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 44.0 : 72.0, 0.0); }, {0, 0, -1});
    size_t body = size_t(m.faces());
    orient_radial(m, 0, 58);
    for (int r = 0; r < 44; r++) {
        double a = 2 * PI * r / 44;
        Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
        double h = (r % 2) ? 108 : 120;
        auto P = [&](double rr, double z, double side) { return rad * rr + tan * side + Vec3{0, 0, z}; };
        strip(m, 1, [&](int i, int s) { return P(i ? h : 71, s ? 34 : 6, 1.8); }, tan);
        strip(m, 1, [&](int i, int s) { return P(i ? h : 71, s ? 34 : 6, -1.8); }, tan * -1.0);
        strip(m, 2, [&](int i, int s) { return P(i == 0 ? 71 : (i == 1 ? h : 71), i == 0 ? 36.0 : (i == 1 ? 20.0 : 4.0), s ? 1.8 : -1.8); }, rad);
    }
    (void)body;
    return m;
}

// Slotted and toothed rings: a body of e strips of n quads plus single-quad plates.
Mesh make_small_part_5()
{
    Mesh m;
    m.name = "small_part_5_mesh";
    const int n = 9;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 46, s ? 36.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 64.0 : 46.0, 36.0); }, {0, 0, 1});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 64, s ? 0.0 : 36.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 46.0 : 64.0, 0.0); }, {0, 0, -1});
    orient_radial(m, 0, 55);
    // 72 turbine blades on the outside, pitched.
    for (int b = 0; b < 72; b++) {
        double a = 2 * PI * b / 72;
        Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
        strip(m, 1, [&](int i, int s) { return rad * (i ? 100.0 : 64.5) + tan * (s ? 5.0 : -5.0) + Vec3{0, 0, s ? 30.0 : 6.0}; }, tan);
    }
    return m;
}

Mesh make_small_part_6()
{
    Mesh m;
    m.name = "small_part_6_mesh";
    const int n = 17;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 48, s ? 20.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 80, s ? 0.0 : 20.0); }, {0, 0, 0});
    orient_radial(m, 0, 64);
    // 74 plates: 37 teeth on the rim (two faces each) closing a crown.
    for (int t = 0; t < 37; t++) {
        double a0 = 2 * PI * t / 37, a1 = 2 * PI * (t + 0.5) / 37;
        Vec3 r0{std::cos(a0), std::sin(a0), 0}, r1{std::cos(a1), std::sin(a1), 0};
        strip(m, 1, [&](int i, int s) { return (i ? r1 : r0) * (s ? 110.0 : 80.0) + Vec3{0, 0, 10.0 + (i ? 8 : -8) * (s ? 1 : 0.2)}; }, {0, 0, 1});
        strip(m, 1, [&](int i, int s) { return (i ? r1 : r0) * (s ? 78.0 : 49.0) + Vec3{0, 0, s ? 20.0 : 0.0}; }, r0 * -1.0);
    }
    return m;
}

Mesh make_small_part_7()
{
    Mesh m;
    m.name = "small_part_7_mesh";
    // Body: 8 square slot frames of 4 strips... 16 strips of 3 quads round a 48-gon-like drum.
    for (int s = 0; s < 16; s++) {
        bool inner = s < 8;
        int k = s % 8;
        strip(m, 3, [&](int i, int side) {
            double a = 2 * PI * (k * 3 + i) / 24;
            double r = inner ? 42.0 : 90.0;
            return Vec3{r * std::cos(a), r * std::sin(a), side ? 40.0 : 0.0};
        }, {0, 0, 0});
    }
    orient_radial(m, 0, 66);
    // 60 plates: 30 spokes (two faces) bridging the drum, slotted between them.
    for (int p = 0; p < 30; p++) {
        double a = 2 * PI * p / 30, w = 0.05;
        Vec3 r0{std::cos(a - w), std::sin(a - w), 0}, r1{std::cos(a + w), std::sin(a + w), 0};
        strip(m, 1, [&](int i, int s) { return (s ? r1 : r0) * (i ? 90.0 : 42.0) + Vec3{0, 0, 0}; }, {0, 0, -1});
        strip(m, 1, [&](int i, int s) { return (s ? r1 : r0) * (i ? 90.0 : 42.0) + Vec3{0, 0, 40}; }, {0, 0, 1});
    }
    return m;
}

}    // namespace mesh_recipes
