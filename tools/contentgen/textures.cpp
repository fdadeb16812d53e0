// tools/contentgen/textures.cpp - the 28 JPEG pictures in the precalc's load order: which
// recipe makes each (the recipes live in the *_textures.cpp files, by kind), the three chrome
// environments and two flare profiles given inline, and the loop that writes every picture
// and reads it back.
#include "textures.h"
#include "texture_recipes.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

const std::vector<std::string> texture_files = {
    "loading.jpg", "shakki.jpg", "skyr1.jpg", "metal.jpg", "electri2.jpg", "electric.jpg", "envi6b.jpg",
    "flare1.jpg", "flare3.jpg", "flare4.jpg", "red6envi.jpg", "smoketex.jpg", "irid.jpg", "bubble.jpg",
    "vesi4.jpg", "atxt.jpg", "ltxt.jpg", "twirl.jpg", "crackle.jpg", "hex2.jpg", "valo.jpg", "hexred.jpg",
    "flarer.jpg", "flareb.jpg", "flarey.jpg", "flareg.jpg", "metal2.jpg", "aijjai.jpg",
};

using namespace texture_recipes;

namespace {

struct Recipe {
    const char *file;
    std::function<Image()> make;
    bool sprite, full_chroma;
};

// Pictures that keep their own levels: the text pictures (white captions on black), the
// sprites (additive highlights, white-hot at the core), irid, which multiplies other pictures
// and is read as one bright texel, and the smoke, whose wisps are already set low in their own
// recipe (bent by the grade, its faint wisps would break up at the tile's wrap). Every other
// picture goes through the show's grade.
bool keeps_own_levels(const Recipe &r)
{
    const std::string file = r.file;
    return r.sprite || file == "loading.jpg" || file == "atxt.jpg" || file == "ltxt.jpg" || file == "irid.jpg" ||
           file == "smoketex.jpg";
}

}    // namespace

// The main chrome: a deep blue sky with a pale horizon band and a hot sun, so that chrome reads
// as chrome (dark sky, bright edge, one highlight) rather than as a white surface.
const Env texture_recipes::metal_env{rgb(200, 214, 238), rgb(45, 90, 175), rgb(110, 100, 90), rgb(60, 55, 50), rgb(255, 250, 230), 1.0, 0.35};

void write_textures(const std::string &dir, const char *only)
{
    const Env red_env{rgb(255, 150, 60), rgb(200, 40, 20), rgb(70, 8, 10), rgb(20, 2, 4), rgb(255, 240, 120), 1.0, 0.3};
    const Env steel_env{rgb(150, 165, 185), rgb(62, 78, 106), rgb(70, 74, 82), rgb(30, 32, 38), rgb(200, 210, 230), 0.6, 0.25};
    const std::vector<Recipe> recipes = {
        {"loading.jpg", make_loading, false, true},
        {"shakki.jpg", make_shakki, false, false},
        {"skyr1.jpg", make_skyr1, false, false},
        {"metal.jpg", [] { return sphere_map(256, metal_env); }, false, false},
        {"electri2.jpg", [] { return make_electric(rgb(70, 30, 110), rgb(230, 170, 255), 91); }, false, false},
        {"electric.jpg", [] { return make_electric(rgb(30, 60, 130), rgb(200, 250, 255), 93); }, false, false},
        {"envi6b.jpg", make_envi6b, false, false},
        {"flare1.jpg", [] { return flare(rgb(255, 170, 80)); }, true, true},
        {"flare3.jpg", [] {
             return sprite(256, [](double r, double, double) {
                 double ring = std::exp(-std::pow((r - 0.3) / 0.018, 2));
                 double core = std::exp(-r * r / (2 * 0.05 * 0.05)) * 0.6;
                 return rgb(255, 240, 220) * ring + rgb(255, 220, 180) * core;
             });
         }, true, true},
        {"flare4.jpg", [] {
             return sprite(256, [](double r, double a, double) {
                 double rays = std::pow(std::fabs(std::cos(3 * a)), 60) * std::exp(-r * 7);
                 double core = std::exp(-r * r / (2 * 0.03 * 0.03));
                 double halo = std::exp(-r * r / (2 * 0.09 * 0.09)) * 0.35;
                 return Vec3{1, 1, 1} * core + rgb(140, 190, 255) * (rays * 1.3 + halo);
             });
         }, true, true},
        {"red6envi.jpg", [&] { return sphere_map(256, red_env); }, false, false},
        {"smoketex.jpg", make_smoke, false, false},
        {"irid.jpg", make_irid, false, true},    // full chroma keeps every texel bright
        {"bubble.jpg", make_bubble, false, false},
        {"vesi4.jpg", make_vesi4, false, false},
        {"atxt.jpg", make_title, false, true},
        {"ltxt.jpg", make_end, false, true},
        {"twirl.jpg", make_twirl, false, false},
        {"crackle.jpg", make_crackle, false, false},
        {"hex2.jpg", [] { return make_hex(rgb(60, 230, 255), Vec3{0.08, 0.08, 0.08}); }, false, false},
        {"valo.jpg", make_valo, false, false},
        {"hexred.jpg", [] { return make_hex(rgb(255, 60, 40), Vec3{0.08, 0.05, 0.05}); }, false, false},
        {"flarer.jpg", [] { return flare(rgb(255, 50, 30)); }, true, true},
        {"flareb.jpg", [] { return flare(rgb(50, 110, 255)); }, true, true},
        {"flarey.jpg", [] { return flare(rgb(255, 220, 40)); }, true, true},
        {"flareg.jpg", [] { return flare(rgb(50, 255, 90)); }, true, true},
        {"metal2.jpg", [&] { return sphere_map(256, steel_env); }, false, false},
        {"aijjai.jpg", make_aijjai, false, false},
    };
    for (const Recipe &r : recipes) {
        if (only && r.file != std::string(only)) continue;
        std::string path = dir + "/" + r.file;
        Image img = r.make();
        if (!keeps_own_levels(r)) grade_for_show(img);
        save_jpeg(img, path, r.full_chroma);
        verify_jpeg(path, img.w, img.h, r.sprite);
    }
}
