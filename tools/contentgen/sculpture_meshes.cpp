// tools/contentgen/sculpture_meshes.cpp - the sculptures: two lathe cups (sculpture_part_a_mesh,
// sculpture_part_b_mesh) and the turbine barrel with grooves and wedge vanes (sculpture_mesh).
#include "mesh_recipes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace mesh_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// sculpture parts: lathe cups (pole plus rings, last ring an open rim)
//----------------------------------------------------------------------------------------------
Mesh lathe_cup(const std::vector<int> &sizes, const std::function<Vec3(int, double)> &point, Vec3 pole, const char *name)
{
    // The rings run from the pole (low z) upward; the last ring stays open.
    Mesh m;
    m.name = name;
    int p = m.add(pole);
    std::vector<std::vector<int>> rings;
    for (size_t i = 0; i < sizes.size(); i++) {
        std::vector<int> r;
        for (int k = 0; k < sizes[i]; k++) r.push_back(m.add(point(int(i), 2 * PI * k / sizes[i])));
        rings.push_back(r);
    }
    zip_pole(m, p, rings.front(), true);
    for (size_t i = 0; i + 1 < rings.size(); i++) zip_rings(m, rings[i], rings[i + 1]);
    return m;
}

}    // namespace

Mesh make_sculpture_a()
{
    // Spindle-bell: a closed bell dome at -z opening out to r 110, narrowing to a spindle whose
    // open rim sits at +z 150.
    std::vector<int> sizes = {8, 16, 24};
    for (int i = 0; i < 49; i++) sizes.push_back(32);
    int n = int(sizes.size());
    auto prof = [&](double s) {    // s 0 (pole) .. 1 (rim): (r, z)
        double z = -150 + 300 * s;
        double r;
        if (s < 0.3) r = 110 * std::sin(PI / 2 * s / 0.3);
        else r = 18 + 92 * std::pow(1 - (s - 0.3) / 0.7, 2.2) + 6 * std::pow(std::sin(PI * 6 * (s - 0.3) / 0.7), 2);
        return std::pair<double, double>{r, z};
    };
    return lathe_cup(sizes, [&](int i, double th) {
        auto [r, z] = prof(double(i + 1) / n);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -150}, "sculpture_part_a_mesh");
}

Mesh make_sculpture_b()
{
    // Fluted collar: from a pole inside the bell, out to a 20-flute collar of r 120, back in to
    // the rim of 20 round the spindle.
    std::vector<int> sizes = distribute(2338, 23);
    sizes.push_back(20);
    int n = int(sizes.size());
    return lathe_cup(sizes, [&](int i, double th) {
        double s = double(i + 1) / n;
        double r, z;
        if (s < 0.5) { r = 120 * std::sin(PI * s); z = -60 + 60 * s; }
        else { r = 120 * std::sin(PI * s) * 0.85 + 22 * (s - 0.5) * 2; z = -30 + 130 * (s - 0.5); }
        r = std::max(r, 20.0);
        double flute = 1 - 0.08 * std::pow(0.5 + 0.5 * std::cos(20 * th), 3) * std::sin(PI * s);
        return Vec3{r * flute * std::cos(th), r * flute * std::sin(th), z};
    }, {0, 0, -62}, "sculpture_part_b_mesh");
}

//----------------------------------------------------------------------------------------------
// sculpture_mesh: turbine barrel with grooves plus 172 wedge vanes
//----------------------------------------------------------------------------------------------
Mesh make_sculpture()
{
    const int rings = 52;
    Mesh m = ring_body(distribute(4784, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);    // 0 .. 1 from the -z pole
        double z = -110 + 220 * s;
        double r;
        if (std::fabs(z) <= 70) r = 90 - 3 * std::pow(std::fabs(std::sin(z * PI / 14)), 6);
        else r = 90 * std::sqrt(std::max(0.0, 1 - std::pow((std::fabs(z) - 70) / 40, 2)));
        r = std::min(r, std::sqrt(std::max(0.0, 114.0 * 114.0 - z * z)));    // overall r <= 115
        r -= 2 * std::pow(std::fabs(std::cos(th * 46)), 20);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -110}, {0, 0, 110});
    m.name = "sculpture_mesh";
    // 4 tiers of 43 wedges: each a triangular prism (6 vertices, 8 faces).
    const double tiers[4] = {-45, -15, 15, 45};
    for (int t = 0; t < 4; t++)
        for (int k = 0; k < 43; k++) {
            double a = 2 * PI * (k + 0.5 * (t % 2)) / 43;
            double z = tiers[t];
            double tip = std::sqrt(112.0 * 112.0 - (std::fabs(z) + 7) * (std::fabs(z) + 7)) - 3;
            Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
            Mesh w;
            Vec3 r0 = rad * 89.0, r1 = rad * tip;
            // Section: a thin triangle (leading edge, trailing edges), twisted along the span.
            Vec3 s0[3] = {r0 + tan * 3.5 + Vec3{0, 0, 7}, r0 - tan * 3.5 + Vec3{0, 0, 7}, r0 + Vec3{0, 0, -7}};
            Vec3 s1[3] = {r1 + tan * 1.5 + Vec3{0, 0, 3}, r1 - tan * 1.5 + Vec3{0, 0, 3}, r1 + tan * 3 + Vec3{0, 0, -3}};
            for (int c = 0; c < 3; c++) w.add(s0[c]);
            for (int c = 0; c < 3; c++) w.add(s1[c]);
            w.face(0, 1, 2); w.face(3, 5, 4);
            for (int c = 0; c < 3; c++) {
                int d = (c + 1) % 3;
                w.face(c, 3 + c, 3 + d);
                w.face(c, 3 + d, d);
            }
            if (w.signed_volume() < 0) w.flip();
            m.append(w);
        }
    return m;
}

}    // namespace mesh_recipes
