// tools/contentgen/room_meshes.cpp - the rooms, wound inward: the mirror room
// (beam_mirror_mesh) and the visible hall (beam_hall_mesh), both twelve-sided with holed
// floor and ceiling plates.
#include "mesh_recipes.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace mesh_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// beam_mirror_mesh and beam_hall_mesh: the mirror room and the visible hall, wound inward
//----------------------------------------------------------------------------------------------
// Floor (or ceiling) of a 12-gon with 6 square holes, in 6 sectors of 8 triangles.
// Returns the outer ring (12) and the holes' corners (6 x 4, inner-left, inner-right,
// outer-right, outer-left).
struct Plate {
    int centre;
    std::vector<int> outer;
    std::vector<std::array<int, 4>> holes;
};

Plate holed_plate(Mesh &m, double outer_r, double y, double pillar_half, Vec3 up)
{
    Plate p;
    p.centre = m.add({0, y, 0});
    for (int k = 0; k < 12; k++) {
        double a = 2 * PI * (k - 0.5) / 12;    // corners either side of each pillar's angle
        p.outer.push_back(m.add({outer_r * std::cos(a), y, outer_r * std::sin(a)}));
    }
    for (int s = 0; s < 6; s++) {
        double a = 2 * PI * s / 6;
        Vec3 rad{std::cos(a), 0, std::sin(a)}, tan{-std::sin(a), 0, std::cos(a)};
        Vec3 c = rad * 5.0 + Vec3{0, y, 0};
        std::array<int, 4> h = {m.add(c - rad * pillar_half - tan * pillar_half), m.add(c - rad * pillar_half + tan * pillar_half),
                                m.add(c + rad * pillar_half + tan * pillar_half), m.add(c + rad * pillar_half - tan * pillar_half)};
        p.holes.push_back(h);
        int O0 = p.outer[size_t(2 * s)], O1 = p.outer[size_t(2 * s + 1)], O2 = p.outer[size_t((2 * s + 2) % 12)];
        int C = p.centre, il = h[0], ir = h[1], orr = h[2], ol = h[3];
        int t[8][3] = {{C, il, ir}, {C, O0, il}, {C, ir, O2}, {O0, ol, il}, {O0, O1, ol}, {O1, orr, ol}, {O1, O2, orr}, {O2, ir, orr}};
        for (auto &f : t) face_towards(m, f[0], f[1], f[2], up);
    }
    return p;
}

}    // namespace

Mesh make_beam_mirror()
{
    Mesh m;
    m.name = "beam_mirror_mesh";
    const double half = 0.6;
    Plate fl = holed_plate(m, 8, -2, half, {0, 1, 0});
    Plate ce = holed_plate(m, 8, 8, half, {0, -1, 0});
    for (int k = 0; k < 12; k++) {
        int a = fl.outer[size_t(k)], b = fl.outer[size_t((k + 1) % 12)], c = ce.outer[size_t(k)], d = ce.outer[size_t((k + 1) % 12)];
        Vec3 in = (m.pos[size_t(a)] + m.pos[size_t(b)]) * -1.0;
        in.y = 0;
        face_towards(m, a, b, d, in);
        face_towards(m, a, d, c, in);
    }
    for (int s = 0; s < 6; s++)
        for (int k = 0; k < 4; k++) {
            int a = fl.holes[size_t(s)][size_t(k)], b = fl.holes[size_t(s)][size_t((k + 1) % 4)];
            int c = ce.holes[size_t(s)][size_t(k)], d = ce.holes[size_t(s)][size_t((k + 1) % 4)];
            double ang = 2 * PI * s / 6;
            Vec3 pc{5 * std::cos(ang), 0, 5 * std::sin(ang)};
            Vec3 out = (m.pos[size_t(a)] + m.pos[size_t(b)]) * 0.5 - pc;
            out.y = 0;
            face_towards(m, a, b, d, out);
            face_towards(m, a, d, c, out);
        }
    Topology t = topology(m);
    if (t.boundary_edges || t.nonmanifold_edges || genus_of(m) != 6)
        throw std::runtime_error("beam_mirror_mesh: room is not a closed genus-6 surface");
    split_to(m, 153);
    // A tilted hanging mirror facing the beam start (0, 1, 0).
    Vec3 c{-2.5, 4.5, 2.5}, n = normalize(Vec3{0, 1, 0} - c), u = normalize(cross(n, {0, 1, 0})), v = cross(u, n);
    int a = m.add(c + u * 1.2 - v * 0.8), b = m.add(c - u * 1.2 - v * 0.8), d = m.add(c + v * 1.2);
    face_towards(m, a, b, d, n);
    return m;
}

Mesh make_beam_hall()
{
    Mesh m;
    m.name = "beam_hall_mesh";
    const double half = 0.4;
    Plate fl = holed_plate(m, 7.6, -2.3, half, {0, 1, 0});
    // Round wall: rings of 76 from the floor edge up to the rim at y 8.
    std::vector<std::vector<int>> rings;
    const int nr = 17;
    for (int r = 0; r < nr; r++) {
        double y = -2.3 + 10.3 * r / (nr - 1);
        std::vector<int> ring;
        for (int k = 0; k < 76; k++) {
            double a = 2 * PI * (k + 0.5 * (r % 2)) / 76;
            ring.push_back(m.add({8.2 * std::cos(a), y, 8.2 * std::sin(a)}));
        }
        rings.push_back(ring);
    }
    // The floor's 12-gon edge zipped to the wall's foot ring.
    auto zip_toward = [&](const std::vector<int> &a, const std::vector<int> &b, Vec3 centre_dir_sign) {
        size_t n = a.size(), k = b.size(), i = 0, j = 0;
        auto ang = [&](int v) { double t = std::atan2(m.pos[size_t(v)].z, m.pos[size_t(v)].x); return t < 0 ? t + 2 * PI : t; };
        // Start both walks at their smallest angle.
        size_t sa = 0, sb = 0;
        for (size_t q = 0; q < n; q++) if (ang(a[q]) < ang(a[sa])) sa = q;
        for (size_t q = 0; q < k; q++) if (ang(b[q]) < ang(b[sb])) sb = q;
        while (i < n || j < k) {
            int a0 = a[(sa + i) % n], b0 = b[(sb + j) % k];
            double na = i < n ? ang(a[(sa + i + 1) % n]) + (sa + i + 1 >= n + sa && i + 1 == n ? 2 * PI : 0) : 1e9;
            double nb = j < k ? ang(b[(sb + j + 1) % k]) + (j + 1 == k ? 2 * PI : 0) : 1e9;
            if (i + 1 == n && na < ang(a0)) na += 2 * PI;
            if (na <= nb) { face_towards(m, a0, a[(sa + i + 1) % n], b0, centre_dir_sign); i++; }
            else { face_towards(m, a0, b[(sb + j + 1) % k], b0, centre_dir_sign); j++; }
        }
    };
    zip_toward(fl.outer, rings[0], {0, 1, 0});
    for (int r = 0; r + 1 < nr; r++)
        for (int k = 0; k < 76; k++) {
            int a = rings[size_t(r)][size_t(k)], b = rings[size_t(r)][size_t((k + 1) % 76)];
            int c = rings[size_t(r + 1)][size_t(k)], d = rings[size_t(r + 1)][size_t((k + 1) % 76)];
            Vec3 in = m.pos[size_t(a)] * -1.0;
            in.y = 0;
            if (r % 2 == 0) { face_towards(m, a, b, c, in); face_towards(m, b, d, c, in); }
            else { face_towards(m, a, b, d, in); face_towards(m, a, d, c, in); }
        }
    // Capped pillars up to the rim height.
    for (int s = 0; s < 6; s++) {
        double ang = 2 * PI * s / 6;
        Vec3 pc{5 * std::cos(ang), 0, 5 * std::sin(ang)};
        std::array<int, 4> top;
        for (int k = 0; k < 4; k++) { Vec3 p = m.pos[size_t(fl.holes[size_t(s)][size_t(k)])]; p.y = 8; top[size_t(k)] = m.add(p); }
        for (int k = 0; k < 4; k++) {
            int a = fl.holes[size_t(s)][size_t(k)], b = fl.holes[size_t(s)][size_t((k + 1) % 4)];
            int c = top[size_t(k)], d = top[size_t((k + 1) % 4)];
            Vec3 out = (m.pos[size_t(a)] + m.pos[size_t(b)]) * 0.5 - pc;
            out.y = 0;
            face_towards(m, a, b, d, out);
            face_towards(m, a, d, c, out);
        }
        face_towards(m, top[0], top[1], top[2], {0, 1, 0});
        face_towards(m, top[0], top[2], top[3], {0, 1, 0});
    }
    Topology t = topology(m);
    if (t.nonmanifold_edges || t.boundary_loops != 1 || t.boundary_edges != 76 || t.components != 1)
        throw std::runtime_error("beam_hall_mesh: hall is not a single open-top surface (" + std::to_string(t.boundary_edges) +
                                 " rim edges, " + std::to_string(t.nonmanifold_edges) + " bad edges)");
    split_to(m, 2563);
    return m;
}

}    // namespace mesh_recipes
