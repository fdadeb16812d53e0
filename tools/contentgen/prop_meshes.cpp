// tools/contentgen/prop_meshes.cpp - the emblem's two faces (twin_part_a_mesh,
// twin_part_b_mesh), the stepped mosaic pedestal with per-tile colours (pedestal_mesh) and
// the hoop torus (tube_mesh).
#include "mesh_recipes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace mesh_recipes {

//----------------------------------------------------------------------------------------------
// twin_part_a_mesh / twin_part_b_mesh: the emblem's two faces
//----------------------------------------------------------------------------------------------
Mesh make_twin_a()
{
    Mesh m;
    m.name = "twin_part_a_mesh";
    std::vector<Vec3> disc;
    for (int i = 0; i < 55; i++) disc.push_back({60 * std::cos(2 * PI * i / 55), 60 * std::sin(2 * PI * i / 55), 0});
    prism(m, disc, -5, 5);
    // Chevron pointing up, in front of the orb.
    std::vector<Vec3> chevron = {{0, 40, 0}, {-42, -2, 0}, {-30, -14, 0}, {0, 16, 0}, {30, -14, 0}, {42, -2, 0}};
    std::reverse(chevron.begin() + 1, chevron.end());
    prism(m, chevron, -9, 8, 0.05);
    return m;
}

Mesh make_twin_b()
{
    Mesh m;
    m.name = "twin_part_b_mesh";
    // A feather: a curved spine with a serrated edge; n corners, rotated by `angle`.
    auto feather = [&](int n, double angle, double len, double z0, double z1) {
        std::vector<Vec3> pts;
        int half = n / 2;
        int other = n - half;
        for (int i = 0; i < half; i++) {    // right edge, tip to root
            double t = double(i) / (half - 1);
            double w = 14 * std::sin(PI * (0.15 + 0.85 * t)) * (1 - 0.5 * t) + (i % 2 ? 3 : 0);
            pts.push_back({w + 6 * std::sin(3 * t), len * (1 - t), 0});
        }
        for (int i = 0; i < other; i++) {    // left edge, root to tip
            double t = 1 - double(i) / (other);
            double w = 10 * std::sin(PI * (0.15 + 0.85 * t)) * (1 - 0.5 * t) + (i % 2 ? 2.5 : 0);
            pts.push_back({-w + 6 * std::sin(3 * t), len * (1 - t) + (i == other - 1 ? 0 : 0), 0});
        }
        std::reverse(pts.begin(), pts.end());
        double c = std::cos(angle), s = std::sin(angle);
        for (Vec3 &p : pts) p = {p.x * c - (p.y - 0) * s, p.x * s + p.y * c - 62, 0};
        // Make sure the outline runs counter-clockwise.
        double area = 0;
        for (size_t i = 0; i < pts.size(); i++) area += cross(pts[i], pts[(i + 1) % pts.size()]).z;
        if (area < 0) std::reverse(pts.begin(), pts.end());
        prism(m, pts, z0, z1);
    };
    feather(19, 0.0, 128, -6, 6);
    feather(18, 0.55, 118, -4, 4);
    feather(18, -0.55, 118, -5, 5);
    return m;
}

//----------------------------------------------------------------------------------------------
// pedestal_mesh: a stepped column in mosaic tiles with per-tile colours
//----------------------------------------------------------------------------------------------
Mesh make_pedestal()
{
    // Tiles on the four sides of square steps (half width, y0, y1, columns, rows) and the
    // annular tops between steps; 599 tiles, 310 of them split into triangle pairs.
    struct Step { double half, y0, y1; int cols, rows; };
    const Step steps[] = {{40, -5, 5, 8, 2}, {32, 5, 15, 8, 2}, {18, 15, 70, 4, 20}, {26, 70, 80, 6, 2}};
    std::vector<std::array<Vec3, 4>> tiles;
    std::vector<Vec3> outs;
    for (const Step &st : steps)
        for (int side = 0; side < 4; side++) {
            double a = PI / 2 * side;
            Vec3 n{std::cos(a), 0, std::sin(a)}, t{-std::sin(a), 0, std::cos(a)};
            for (int r = 0; r < st.rows; r++)
                for (int c = 0; c < st.cols; c++) {
                    double u0 = -st.half + 2 * st.half * c / st.cols, u1 = -st.half + 2 * st.half * (c + 1) / st.cols;
                    double y0 = st.y0 + (st.y1 - st.y0) * r / st.rows, y1 = st.y0 + (st.y1 - st.y0) * (r + 1) / st.rows;
                    Vec3 o = n * st.half;
                    tiles.push_back({o + t * u0 + Vec3{0, y0, 0}, o + t * u1 + Vec3{0, y0, 0}, o + t * u1 + Vec3{0, y1, 0}, o + t * u0 + Vec3{0, y1, 0}});
                    outs.push_back(n);
                }
        }
    // Step tops: the ring between one step's outline and the next, in trapezoid tiles.
    auto ring_top = [&](double outer, double inner, double y, int per_side) {
        for (int side = 0; side < 4; side++) {
            double a = PI / 2 * side;
            Vec3 n{std::cos(a), 0, std::sin(a)}, t{-std::sin(a), 0, std::cos(a)};
            for (int c = 0; c < per_side; c++) {
                double f0 = -1 + 2.0 * c / per_side, f1 = -1 + 2.0 * (c + 1) / per_side;
                tiles.push_back({n * outer + t * (outer * f0) + Vec3{0, y, 0}, n * outer + t * (outer * f1) + Vec3{0, y, 0},
                                 n * inner + t * (inner * f1) + Vec3{0, y, 0}, n * inner + t * (inner * f0) + Vec3{0, y, 0}});
                outs.push_back({0, 1, 0});
            }
        }
    };
    ring_top(40, 32, 5, 6);
    ring_top(32, 18, 15, 6);
    ring_top(26, 18, 70, 4);    // underside of the capital
    outs.resize(outs.size() - 16);
    for (int i = 0; i < 16; i++) outs.push_back({0, -1, 0});
    // The capital top ring outside the round top plate, and three inset plaques on the shaft.
    ring_top(26, 20, 80, 9);
    for (int k = 0; k < 3; k++) {
        double y = 30 + 12 * k;
        tiles.push_back({Vec3{-5, y, 18.4}, Vec3{5, y, 18.4}, Vec3{5, y + 8, 18.4}, Vec3{-5, y + 8, 18.4}});
        outs.push_back({0, 0, 1});
    }
    if (int(tiles.size()) != 599) throw std::runtime_error("pedestal_mesh: tile count " + std::to_string(tiles.size()));
    Mesh m;
    m.name = "pedestal_mesh";
    Rng rng(0xBED);
    int quads = 0;
    for (size_t i = 0; i < tiles.size(); i++) {
        auto &q = tiles[i];
        double y = (q[0].y + q[2].y) * 0.5;
        Vec3 col = hsv(0.62 + 0.35 * (y + 5) / 85 + rng.range(-0.04, 0.04), rng.range(0.65, 0.95), rng.range(0.75, 1.0));
        bool keep = (i * 289) / 599 != ((i + 1) * 289) / 599;
        auto facet = [&](std::vector<Vec3> poly) {
            // Inset each tile a little for grout lines.
            Vec3 c{0, 0, 0};
            for (Vec3 &p : poly) c = c + p * (1.0 / poly.size());
            for (Vec3 &p : poly) p = c + (p - c) * 0.92;
            add_facet(m, poly, outs[i]);
            for (size_t k = 0; k < poly.size(); k++) m.colour.push_back(col);
        };
        if (keep) { facet({q[0], q[1], q[2], q[3]}); quads++; }
        else { facet({q[0], q[1], q[2]}); facet({q[0], q[2], q[3]}); }
    }
    if (quads != 289) throw std::runtime_error("pedestal_mesh: quad count " + std::to_string(quads));
    // Round top plate: a 24-triangle fan.
    int c = m.add({0, 80, 0});
    m.colour.push_back({1.0, 0.85, 0.3});
    for (int k = 0; k < 24; k++) {
        m.add({20 * std::cos(2 * PI * k / 24), 80, 20 * std::sin(2 * PI * k / 24)});
        m.colour.push_back(hsv(0.1 + 0.03 * (k % 2), 0.8, 1.0));
    }
    for (int k = 0; k < 24; k++) face_towards(m, c, c + 1 + k, c + 1 + (k + 1) % 24, {0, 1, 0});
    return m;
}

//----------------------------------------------------------------------------------------------
// tube_mesh: the hoop torus
//----------------------------------------------------------------------------------------------
Mesh make_tube()
{
    Mesh m;
    m.name = "tube_mesh";
    for (int i = 0; i < 24; i++)
        for (int k = 0; k < 16; k++) {
            double a = 2 * PI * i / 24, b = 2 * PI * k / 16;
            double rr = 90 + 8 * std::cos(b);
            m.add({rr * std::cos(a), rr * std::sin(a), 8 * std::sin(b)});
        }
    for (int i = 0; i < 24; i++)
        for (int k = 0; k < 16; k++) {
            int a = i * 16 + k, b = i * 16 + (k + 1) % 16, c = ((i + 1) % 24) * 16 + k, d = ((i + 1) % 24) * 16 + (k + 1) % 16;
            m.face(a, c, d);
            m.face(a, d, b);
        }
    if (m.signed_volume() < 0) m.flip();
    return m;
}

}    // namespace mesh_recipes
