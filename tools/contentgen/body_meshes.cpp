// tools/contentgen/body_meshes.cpp - the rounded bodies: the manta-like glider of the flock,
// the knobbed core sphere, the jellyfish pod, and the emitter's body and faceted dish
// (flock_mesh, core_mesh, pod_mesh, glow_object_mesh, glow_shell_mesh).
#include "mesh_recipes.h"

#include <algorithm>
#include <cmath>

namespace mesh_recipes {

namespace {

double smoothstep(double a, double b, double x)
{
    double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}    // namespace

//----------------------------------------------------------------------------------------------
// flock_mesh: a manta-like glider, forward +z, up +y
//----------------------------------------------------------------------------------------------
Mesh make_flock()
{
    const int rings = 75;
    std::vector<int> sizes = distribute(3165, rings);
    auto ring_z = [&](int i) {
        double s = (i + 0.5) / rings;    // 0 tail .. 1 nose
        return -140 + 240 * (0.5 - 0.5 * std::cos(PI * s));
    };
    auto half_span = [](double z) {
        if (z > 40) return 2 + 28 * std::pow((100 - z) / 60, 0.6);
        if (z > -30) return 30 + 70 * std::pow((40 - z) / 70, 0.9);
        if (z > -50) return 100 - 88 * std::pow((-30 - z) / 20, 0.6);
        return 1.5 + 10.5 * (z + 140) / 90;
    };
    auto thick = [](double z) { return 2.0 + 16.0 * std::exp(-((z - 15) / 55) * ((z - 15) / 55)); };
    Mesh m = ring_body(sizes, [&](int i, double th) {
        double z = ring_z(i), w = half_span(z), t = thick(z);
        double c = std::cos(th), s = std::sin(th);
        double x = w * c;
        double y = t * s * (1 - 0.82 * std::pow(std::fabs(c), 1.5)) + 7 * (x / 100) * (x / 100) - 2;
        double zz = z - 12 * (std::fabs(x) / 100) * (std::fabs(x) / 100);    // swept wing tips
        return Vec3{x, y, zz};
    }, {0, -2, -140}, {0, 0, 100});
    m.name = "flock_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// core_mesh: a sphere with twelve rounded knobs
//----------------------------------------------------------------------------------------------
Mesh make_core()
{
    const double t = (1 + std::sqrt(5.0)) / 2;
    std::vector<Vec3> knobs;
    for (Vec3 v : std::vector<Vec3>{{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                                   {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}})
        knobs.push_back(normalize(v));
    const int rings = 62;
    Mesh m = ring_body(distribute(3998, rings), [&](int i, double th) {
        double phi = PI * (i + 1) / (rings + 1);    // from -z pole to +z pole
        Vec3 d{std::sin(phi) * std::cos(th), std::sin(phi) * std::sin(th), -std::cos(phi)};
        double bump = 0;
        for (Vec3 k : knobs) bump = std::max(bump, smoothstep(std::cos(0.42), 1.0, dot(d, k)));
        double groove = 0.8 * std::pow(std::fabs(std::sin(6 * phi)), 8);
        return d * (48 + 10 * std::sqrt(bump) - groove);
    }, {0, 0, -48}, {0, 0, 48});
    m.name = "core_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// pod_mesh: a jellyfish swimmer, bell at +z, five lobes towards -z
//----------------------------------------------------------------------------------------------
Mesh make_pod()
{
    const int rings = 14;
    Mesh m = ring_body(distribute(298, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);    // 0 bottom .. 1 top
        double z = -60 + 120 * s;
        double r;
        if (z > 2) {    // the bell: a dome flaring to a rim
            double q = (z - 2) / 58;
            r = 38 * std::sqrt(std::max(0.0, 1 - q * q)) * (1 - 0.12 * q);
        } else {        // five short lobes: a star section narrowing downward
            double q = -z / 58;
            double lobe = std::pow(0.5 + 0.5 * std::cos(5 * th), 2);
            r = (30 - 22 * q) * (0.3 + 0.7 * lobe);
        }
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -60}, {0, 0, 60});
    m.name = "pod_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// glow_object_mesh and glow_shell_mesh: the emitter
//----------------------------------------------------------------------------------------------
Mesh make_glow_object()
{
    const int rings = 15;
    Mesh m = ring_body(distribute(298, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);
        double z = -7 + 17 * s;
        double q = (z - 1.5) / 8.5;
        double r = 6.5 * std::sqrt(std::max(0.0, 1 - q * q)) * (1 - 0.35 * std::max(0.0, q));
        r *= 1 + 0.07 * std::pow(std::fabs(std::cos(3 * th)), 6);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -7}, {0, 0, 10});
    m.name = "glow_object_mesh";
    return m;
}

Mesh make_glow_shell()
{
    Mesh m;
    m.name = "glow_shell_mesh";
    // Dish z = -12 + 24 (r / 15)^2; facets tangent to it, facing into the dish.
    auto dish = [](double r, double a) { return Vec3{r * std::cos(a), r * std::sin(a), -12 + 24 * (r / 15) * (r / 15)}; };
    // A facet centred on the dish at radius r, angle a, with half extents along the dish's
    // slope (ring spacing dr_step) and round it (count per ring); 12 % slits between facets.
    auto facet = [&](int sides, double r, double a, double dr_step, int count) {
        Vec3 c = dish(r, a);
        Vec3 dr = normalize(dish(r + 0.01, a) - dish(r - 0.01, a)), da{-std::sin(a), std::cos(a), 0};
        Vec3 n = normalize(cross(dr, da));
        if (dot(n, Vec3{0, 0, 1}) < 0) n = n * -1.0;
        double slope = 48 * r / 225;
        double ext_r = 0.44 * dr_step * std::sqrt(1 + slope * slope), ext_t = 0.44 * 2 * PI * r / count;
        std::vector<Vec3> poly;
        for (int k = 0; k < sides; k++) {
            double t = 2 * PI * (k + 0.5) / sides;
            poly.push_back(c + dr * (std::cos(t) * ext_r) + da * (std::sin(t) * ext_t));
        }
        add_facet(m, poly, n);
    };
    // Hexagons near the centre (rings of 6, 12, 18, 18), octagons outside (6 rings of 24).
    const int hex_rings[4] = {6, 12, 18, 18};
    for (int r = 0; r < 4; r++)
        for (int k = 0; k < hex_rings[r]; k++) {
            double rad = 1.6 + 2.0 * r;
            facet(6, rad, 2 * PI * (k + 0.5 * r) / hex_rings[r], 2.0, hex_rings[r]);
        }
    for (int r = 0; r < 6; r++)
        for (int k = 0; k < 24; k++) {
            double rad = 8.9 + 1.05 * r;
            facet(8, rad, 2 * PI * (k + 0.5 * r) / 24, 1.05, 24);
        }
    // Stalk: four hexagonal plates down to the pivot at y -13.
    for (int k = 0; k < 4; k++) {
        Vec3 c{0, -6.0 - 2.0 * k, -13.5 + 0.4 * k};
        std::vector<Vec3> poly;
        for (int j = 0; j < 6; j++) {
            double t = 2 * PI * j / 6;
            poly.push_back(c + Vec3{1.2 * std::cos(t), 1.1 * std::sin(t), 0});
        }
        add_facet(m, poly, {0, 0, 1});
    }
    return m;
}

}    // namespace mesh_recipes
