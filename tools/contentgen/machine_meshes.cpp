// tools/contentgen/machine_meshes.cpp - the machine parts built as facet soups (lathes and
// boxes of loose quads): the launcher and its piston (machine_part_a_mesh,
// machine_part_b_mesh), and the hexagonal bubble frame of loose plates (bubble_frame_mesh).
#include "mesh_recipes.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace mesh_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// Facet soups: lathe surfaces of quads (and fans of triangles) with their own vertices
//----------------------------------------------------------------------------------------------
struct Soup {
    std::vector<std::vector<Vec3>> quads, tris;
    std::vector<Vec3> quad_out, tri_out;    // facing direction of each
    int faces() const { return int(quads.size() * 2 + tris.size()); }
};

// Lathe of `sides` facets round z through profile points (r, z); a segment touching the axis
// becomes triangles.
void lathe(Soup &s, const std::vector<std::pair<double, double>> &profile, int sides, double phase = 0)
{
    for (size_t p = 0; p + 1 < profile.size(); p++) {
        auto [r0, z0] = profile[p];
        auto [r1, z1] = profile[p + 1];
        for (int k = 0; k < sides; k++) {
            double a0 = 2 * PI * k / sides + phase, a1 = 2 * PI * (k + 1) / sides + phase, am = (a0 + a1) / 2;
            Vec3 p00{r0 * std::cos(a0), r0 * std::sin(a0), z0}, p01{r0 * std::cos(a1), r0 * std::sin(a1), z0};
            Vec3 p10{r1 * std::cos(a0), r1 * std::sin(a0), z1}, p11{r1 * std::cos(a1), r1 * std::sin(a1), z1};
            // Outward: the profile's normal (dz, -dr) rotated to the facet's angle.
            double dr = r1 - r0, dz = z1 - z0;
            Vec3 out{dz * std::cos(am), dz * std::sin(am), -dr};
            if (r0 < 1e-9) { s.tris.push_back({p00, p10, p11}); s.tri_out.push_back(out); }
            else if (r1 < 1e-9) { s.tris.push_back({p00, p01, p10}); s.tri_out.push_back(out); }
            else { s.quads.push_back({p00, p01, p11, p10}); s.quad_out.push_back(out); }
        }
    }
}

// A box (6 quads) from its centre, axes and half sizes.
void box(Soup &s, Vec3 c, Vec3 ax, Vec3 ay, Vec3 az, double hx, double hy, double hz)
{
    Vec3 X = ax * hx, Y = ay * hy, Z = az * hz;
    auto q = [&](Vec3 o, Vec3 u, Vec3 v) {
        s.quads.push_back({o - u - v, o + u - v, o + u + v, o - u + v});
        s.quad_out.push_back(o - c);
    };
    q(c + X, Y, Z); q(c - X, Y, Z); q(c + Y, X, Z); q(c - Y, X, Z); q(c + Z, X, Y); q(c - Z, X, Y);
}

// Writes the soup with exactly `quads_wanted` quads; the other quads become triangle pairs.
Mesh soup_mesh(const Soup &s, int quads_wanted, const char *name)
{
    if (int(s.quads.size()) < quads_wanted) throw std::runtime_error(std::string(name) + ": soup has too few quads");
    Mesh m;
    m.name = name;
    for (size_t i = 0; i < s.quads.size(); i++) {
        const auto &q = s.quads[i];
        // Spread the kept quads evenly over the soup.
        bool keep = (i * size_t(quads_wanted)) / s.quads.size() != ((i + 1) * size_t(quads_wanted)) / s.quads.size();
        if (keep) add_facet(m, q, s.quad_out[i]);
        else { add_facet(m, {q[0], q[1], q[2]}, s.quad_out[i]); add_facet(m, {q[0], q[2], q[3]}, s.quad_out[i]); }
    }
    for (size_t i = 0; i < s.tris.size(); i++) add_facet(m, s.tris[i], s.tri_out[i]);
    return m;
}

}    // namespace

// Launcher: stepped octagonal base, barrel with four fins, muzzle ring (bore r 22).
Mesh make_machine_a()
{
    Soup s;
    lathe(s, {{0, 0}, {55, 0}, {55, 6}, {52, 10}, {46, 10}, {46, 20}, {42, 22}, {36, 22}, {36, 32}, {33, 37}, {30, 40}}, 8, PI / 8);
    lathe(s, {{30, 40}, {29, 70}, {28, 100}, {34, 104}, {36, 118}, {32, 124}, {24, 124}, {22, 120}, {22, 60}, {0, 60}}, 18);
    for (int k = 0; k < 4; k++) {
        double a = PI / 2 * k;
        Vec3 ax{std::cos(a), std::sin(a), 0}, ay{-std::sin(a), std::cos(a), 0};
        box(s, ax * 40 + Vec3{0, 0, 62}, ax, ay, {0, 0, 1}, 10, 2, 22);
    }
    return soup_mesh(s, 101, "machine_part_a_mesh");
}

// Piston: a finned dart resting in the bore, z 40 to 140.
Mesh make_machine_b()
{
    Soup s;
    lathe(s, {{0, 40}, {10, 42}, {14, 46}, {16, 52}, {16, 70}, {16, 78}, {16, 100}, {14, 104}, {14, 114}, {15, 118}, {12, 126}, {8, 132}, {0, 140}}, 16);
    for (int k = 0; k < 5; k++) {
        double a = 2 * PI / 5 * k + PI / 10;
        Vec3 ax{std::cos(a), std::sin(a), 0}, ay{-std::sin(a), std::cos(a), 0};
        box(s, ax * 16 + Vec3{0, 0, 60}, ax, ay, {0, 0, 1}, 1.5, 0.8, 10);
        box(s, ax * 15 + Vec3{0, 0, 88}, ax, ay, {0, 0, 1}, 1.2, 0.8, 8);
    }
    return soup_mesh(s, 115, "machine_part_b_mesh");
}

//----------------------------------------------------------------------------------------------
// bubble_frame_mesh: a hexagonal ring of bevelled bars made of loose plates
//----------------------------------------------------------------------------------------------
constexpr double BUBBLE_FRAME_SCALE = 0.375;   // the frame's ring radius 40 becomes 15, the ring's own

Mesh make_bubble_frame()
{
    Mesh m;
    m.name = "bubble_frame_mesh";
    auto plate = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 want) {
        Vec3 ctr = (a + b + c) * (1.0 / 3);
        auto in = [&](Vec3 p) { return ctr + (p - ctr) * 0.94; };    // small gaps between plates
        add_facet(m, {in(a), in(b), in(c)}, want);
    };
    for (int bar = 0; bar < 6; bar++) {
        double a0 = PI / 3 * bar, a1 = PI / 3 * (bar + 1);
        Vec3 p0{40 * std::cos(a0), 0, 40 * std::sin(a0)}, p1{40 * std::cos(a1), 0, 40 * std::sin(a1)};
        Vec3 ax = normalize(p1 - p0), up{0, 1, 0}, side = cross(ax, up);
        // Hexagonal bar section, bevelled ends (shorter on the inside).
        std::vector<Vec3> e0, e1;
        for (int k = 0; k < 6; k++) {
            double a = PI / 3 * k;
            Vec3 off = up * (5 * std::sin(a)) + side * (5 * std::cos(a));
            double trim = 2.5 + 2.5 * std::cos(a);
            e0.push_back(p0 + off + ax * trim);
            e1.push_back(p1 + off - ax * trim);
        }
        Vec3 mid = (p0 + p1) * 0.5;
        for (int k = 0; k < 6; k++) {
            int k1 = (k + 1) % 6;
            Vec3 out = ((e0[size_t(k)] + e0[size_t(k1)]) * 0.5) - p0;
            out = out - ax * dot(out, ax);
            plate(e0[size_t(k)], e0[size_t(k1)], e1[size_t(k1)], out);
            plate(e0[size_t(k)], e1[size_t(k1)], e1[size_t(k)], out);
        }
        for (int k = 1; k < 5; k++) {
            plate(e0[0], e0[size_t(k)], e0[size_t(k + 1)], p0 - mid);
            plate(e1[0], e1[size_t(k)], e1[size_t(k + 1)], p1 - mid);
        }
    }
    // A small pyramid of four loose plates at the hub.
    Vec3 tip{0, 12, 0};
    std::vector<Vec3> base = {{-6, -4, -6}, {6, -4, -6}, {6, -4, 6}, {-6, -4, 6}};
    plate(base[0], base[1], tip, {0, 0.4, -1});
    plate(base[1], base[2], tip, {1, 0.4, 0});
    plate(base[2], base[3], tip, {0, 0.4, 1});
    plate(base[3], base[0], tip, {-1, 0.4, 0});
    // One two-sided pennant.
    int a = m.add({0, 16, 0}), b = m.add({0, 28, 0}), c = m.add({10, 22, 0});
    m.face(a, b, c);
    m.face(a, c, b);
    // The orbit ring sets its eight pieces 15 units from its centre: a piece no wider than that
    // radius keeps the ring a ring of tumbling frames instead of one knot of overlapping bars.
    for (Vec3 &p : m.pos) p = p * BUBBLE_FRAME_SCALE;
    return m;
}

}    // namespace mesh_recipes
