// tools/contentgen/sprite_textures.cpp - the sprites: a radial profile windowed to exact
// black well inside its square, and the coloured flares built on it (flare1, flarer, flareb,
// flarey, flareg; flare3 and flare4 are profiles given in textures.cpp).
#include "texture_recipes.h"

#include <cmath>
#include <functional>

namespace texture_recipes {

//----------------------------------------------------------------------------------------------
// Sprites
//----------------------------------------------------------------------------------------------
// Radial profile r in [0, 0.5] of the square, windowed to exactly 0 from r 0.42.
Image sprite(int size, const std::function<Vec3(double, double, double)> &f)
{
    Image img(size, size);
    img.fill([&](double u, double v) {
        double dx = u - 0.5, dy = v - 0.5, r = std::hypot(dx, dy);
        double win = 1 - smooth(0.28, 0.42, r);
        if (r >= 0.42) return Vec3{0, 0, 0};
        Vec3 c = f(r, std::atan2(dy, dx), win) * win;
        return Vec3{clamp01(c.x), clamp01(c.y), clamp01(c.z)};
    });
    return img;
}

Image flare(Vec3 tint)
{
    return sprite(256, [&](double r, double, double) {
        double core = std::exp(-r * r / (2 * 0.035 * 0.035));
        double halo = std::exp(-r * r / (2 * 0.13 * 0.13));
        return Vec3{1, 1, 1} * (core * 1.2) + tint * (halo * 0.75);
    });
}

}    // namespace texture_recipes
