// tools/contentgen/texture_recipes.h - inside the picture generator only: the float RGB
// picture every recipe composes (quantised once, when written), the helpers the recipe files
// share, and the recipe of each picture, spread over the *_textures.cpp files by kind.
// textures.cpp lists them in load order and writes them.
#pragma once

#include "mesh.h"    // Vec3, PI, Rng

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace texture_recipes {

// Pictures (texture_image.cpp) -----------------------------------------------------------------
struct Image {
    int w = 0, h = 0;
    std::vector<Vec3> px;
    Image(int w_, int h_) : w(w_), h(h_), px(size_t(w_) * size_t(h_)) {}
    Vec3 &at(int x, int y) { return px[size_t(y) * size_t(w) + size_t(x)]; }
    const Vec3 &at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
    // Fills every pixel from f(u, v) with u, v the pixel centre in [0, 1).
    void fill(const std::function<Vec3(double, double)> &f)
    {
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) at(x, y) = f((x + 0.5) / w, (y + 0.5) / h);
    }
};

Vec3 mix(Vec3 a, Vec3 b, double t);           // a + (b - a) t
Vec3 rgb(int r, int g, int b);                // 0..255 to 0..1
double clamp01(double x);
double smooth(double a, double b, double x);  // smoothstep from a to b (either order)
double fract(double x);
void save_jpeg(const Image &img, const std::string &path, bool full_chroma);
// The show's one grade for its scene pictures: every channel clamped to [0, 1] and bent by
// (1 - SHOW_GRADE) x + SHOW_GRADE x^2, so that mid-tones sink while black stays black and
// white stays white. The glows and blurs of the finishing passes add about twice a smooth
// picture's own level back; graded, a mid-grey surface comes out bright instead of white.
constexpr double SHOW_GRADE = 0.75;
double show_grade(double x);                  // one channel value through the grade
void grade_for_show(Image &img);              // every pixel of img through the grade
// Reads a written picture back: size, components and (for sprites) the black margin.
void verify_jpeg(const std::string &path, int w, int h, bool sprite);

// Periodic noise (texture_image.cpp): all wrap at u, v = 1 ------------------------------------
double hash2(int x, int y, uint64_t seed);                                // [0, 1]
double vnoise(double u, double v, int period, uint64_t seed);             // value noise, [-1, 1]
double fbm(double u, double v, int period, int octaves, uint64_t seed, double gain = 0.5);
// Distances to the nearest and second-nearest feature point (one per cell).
void voronoi(double u, double v, int period, uint64_t seed, double &f1, double &f2);

// Chrome sphere maps (sphere_map_textures.cpp) -------------------------------------------------
struct Env {
    Vec3 horizon, zenith, ground_near, ground_far, sun;
    double sun_power, ground_lines;
};
Image sphere_map(int size, const Env &e);     // a mirror ball reflecting `e`
extern const Env metal_env;                   // metal.jpg's sky (textures.cpp)

// Sprites (sprite_textures.cpp) ----------------------------------------------------------------
// Radial profile f(r, angle, window) with r in [0, 0.5], windowed to exactly 0 from r 0.42.
Image sprite(int size, const std::function<Vec3(double, double, double)> &f);
Image flare(Vec3 tint);                       // white core, tinted halo

// Text pictures (text_textures.cpp) ------------------------------------------------------------
Image make_loading();                         // loading.jpg
Image make_title();                           // atxt.jpg
Image make_end();                             // ltxt.jpg

// Tiling pictures (tile_textures.cpp) ----------------------------------------------------------
Image make_shakki();
Image make_skyr1();
Image make_electric(Vec3 base, Vec3 arc, uint64_t seed);    // electri2.jpg, electric.jpg
Image make_envi6b();
Image make_smoke();                           // smoketex.jpg
Image make_irid();
Image make_bubble();
Image make_vesi4();
Image make_twirl();
Image make_crackle();
Image make_hex(Vec3 edge_colour, Vec3 cell_colour);         // hex2.jpg, hexred.jpg
Image make_valo();
Image make_aijjai();

}    // namespace texture_recipes
