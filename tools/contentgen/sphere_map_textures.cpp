// tools/contentgen/sphere_map_textures.cpp - the chrome sphere maps (metal, red6envi, metal2):
// a mirror ball rendered as a real reflection of a small environment of sky, sun and a tiled
// floor, supersampled 2 x 2.
#include "texture_recipes.h"

#include <algorithm>
#include <cmath>

namespace texture_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// Chrome sphere maps
//----------------------------------------------------------------------------------------------
Vec3 env_colour(const Env &e, Vec3 r)
{
    Vec3 sun_dir = normalize(Vec3{-0.5, 0.55, 0.65});
    if (r.y > 0) {
        Vec3 sky = mix(e.horizon, e.zenith, std::pow(r.y, 0.6));
        double s = std::max(0.0, dot(r, sun_dir));
        sky = sky + e.sun * (std::pow(s, 400) * 3 + std::pow(s, 24) * 0.5) * e.sun_power;
        // A few soft cloud streaks near the horizon.
        double c = 0.5 + 0.5 * std::sin(std::atan2(r.x, r.z) * 7 + r.y * 5);
        sky = sky + Vec3{1, 1, 1} * (0.08 * c * std::exp(-r.y * 6));
        return sky;
    }
    double g = std::pow(-r.y, 0.5);
    Vec3 ground = mix(e.ground_far, e.ground_near, g);
    if (e.ground_lines > 0 && r.y < -0.02) {    // a tiled floor, seen in perspective
        double px = r.x / -r.y, pz = r.z / -r.y;
        double line = std::max(std::exp(-std::pow(fract(px * 0.5) - 0.5, 2) * 800), std::exp(-std::pow(fract(pz * 0.5) - 0.5, 2) * 800));
        ground = ground * (1 - e.ground_lines * line * std::min(1.0, -r.y * 4));
    }
    return ground;
}

}    // namespace

Image sphere_map(int size, const Env &e)
{
    Image img(size, size);
    for (int row = 0; row < size; row++)
        for (int col = 0; col < size; col++) {
            // Supersample 2 x 2 to keep the horizon crisp but not jagged.
            Vec3 sum{0, 0, 0};
            for (int sy = 0; sy < 2; sy++)
                for (int sx = 0; sx < 2; sx++) {
                    double s = (col + 0.25 + 0.5 * sx) / size, t = (row + 0.25 + 0.5 * sy) / size;
                    double x = 2 * s - 1, y = 2 * t - 1, rr = std::hypot(x, y);
                    if (rr > 0.999) { x *= 0.999 / rr; y *= 0.999 / rr; }
                    Vec3 n{x, y, std::sqrt(std::max(0.0, 1 - x * x - y * y))};
                    Vec3 r{2 * n.z * n.x, 2 * n.z * n.y, 2 * n.z * n.z - 1};
                    sum = sum + env_colour(e, r) * 0.25;
                }
            img.at(col, row) = sum;
        }
    return img;
}

}    // namespace texture_recipes
