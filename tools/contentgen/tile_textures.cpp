// tools/contentgen/tile_textures.cpp - the tiling pictures: chequer, sky, arcs, panels, smoke,
// iridescence, bubbles, caustics, swirl, crackle, hexes, light bars and zigzag. Each is built
// from lattice noise, Voronoi cells and sines whose periods divide the picture, so it wraps.
#include "texture_recipes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace texture_recipes {

Image make_shakki()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        int cx = int(u * 8), cy = int(v * 8);
        double fx = fract(u * 8), fy = fract(v * 8);
        bool light = (cx + cy) % 2 == 0;
        double base = light ? 200 / 255.0 : 20 / 255.0;   // light squares below white: floors fill whole frames
        // Soft bevel: lit top-left edges, shaded bottom-right.
        double e = 0.08;
        double bevel = 0;
        if (fx < e) bevel += 0.12 * (1 - fx / e);
        if (fy < e) bevel += 0.12 * (1 - fy / e);
        if (fx > 1 - e) bevel -= 0.12 * (1 - (1 - fx) / e);
        if (fy > 1 - e) bevel -= 0.12 * (1 - (1 - fy) / e);
        double grain = 0.035 * fbm(u, v, 64, 2, 5);
        double g = clamp01(base + bevel + grain);
        return Vec3{g, g, g * 1.01};
    });
    return img;
}

Image make_skyr1()
{
    Image img(512, 256);
    img.fill([](double u, double v) {
        double n = fbm(u, v, 4, 6, 11) ;
        double n2 = fbm(u + 0.3 * n, v, 4, 5, 12);
        // A deep sky with bright cloud edges: the hull scenes smear this picture over a dozen
        // copies and the finishing glows lift it again, so its mid-tones stay low.
        double cloud = smooth(0.05, 0.6, n2 * 0.8 + n * 0.4);
        Vec3 sky = mix(rgb(12, 36, 96), rgb(44, 84, 152), 0.5 + 0.5 * std::sin(2 * PI * v));
        return mix(sky, rgb(215, 224, 240), cloud * cloud);
    });
    return img;
}

Image make_electric(Vec3 base, Vec3 arc, uint64_t seed)
{
    Image img(256, 256);
    img.fill([&](double u, double v) {
        double n1 = fbm(u, v, 4, 5, seed);
        double n2 = fbm(u + 0.2 * n1, v - 0.2 * n1, 6, 4, seed + 9);
        double ridge = std::pow(1 - std::fabs(n1), 12) + 0.4 * std::pow(1 - std::fabs(n2), 16);
        double shade = 0.35 + 0.1 * (0.5 + 0.5 * fbm(u, v, 2, 3, seed + 5));
        return base * (shade / 0.4) + arc * ridge;
    });
    return img;
}

Image make_envi6b()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        Vec3 c = mix(rgb(24, 32, 52), rgb(80, 96, 126), 0.5 - 0.5 * std::cos(2 * PI * v));
        // 4 x 2 soft light panels with dark frames between them.
        double px = fract(u * 4), py = fract(v * 2);
        double panel = smooth(0.42, 0.26, std::fabs(px - 0.5)) * smooth(0.44, 0.24, std::fabs(py - 0.5));
        double flicker = 0.8 + 0.2 * hash2(int(u * 4), int(v * 2), 61);
        return c + rgb(230, 240, 255) * (0.6 * panel * flicker);
    });
    return img;
}

Image make_smoke()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double n = fbm(u, v, 4, 6, 21);
        double w = fbm(u + 0.25 * n, v + 0.25 * n, 4, 5, 22);
        double wisp = smooth(0.1, 0.55, w) * 0.7 + 0.03;   // added over the smoke's tube: kept low
        return Vec3{wisp, wisp, wisp * 1.04};
    });
    return img;
}

Image make_irid()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double n = fbm(u, v, 4, 5, 31);
        double m = fbm(u + 0.3 * n, v, 8, 3, 32);
        double hue = 1.6 * n + 0.6 * m;
        double sat = 0.4 + 0.2 * (0.5 + 0.5 * m);
        double val = 0.9 + 0.1 * (0.5 + 0.5 * n);
        return hsv(hue, sat, val);
    });
    return img;
}

Image make_bubble()
{
    Image img(256, 256);
    Rng rng(41);
    struct B { double x, y, r; };
    std::vector<B> bubbles;
    for (int i = 0; i < 26; i++) bubbles.push_back({rng.uniform(), rng.uniform(), rng.range(0.03, 0.11)});
    img.fill([&](double u, double v) {
        // Kept deep: the bubble skins fill whole frames and are added up layer over layer.
        Vec3 c = mix(rgb(12, 44, 68), rgb(30, 74, 104), 0.5 + 0.5 * std::sin(2 * PI * (u + v)));
        for (const B &b : bubbles) {
            double dx = u - b.x, dy = v - b.y;
            dx -= std::round(dx);
            dy -= std::round(dy);
            double d = std::hypot(dx, dy) / b.r;
            if (d > 1.3) continue;
            double rim = std::exp(-std::pow((d - 1) / 0.08, 2));
            double body = d < 1 ? 0.15 * d * d : 0;
            double spec = std::exp(-(std::pow(dx / b.r + 0.4, 2) + std::pow(dy / b.r + 0.4, 2)) / 0.02);
            c = c + rgb(180, 240, 255) * (0.32 * rim + 0.8 * body) + Vec3{1, 1, 1} * (0.4 * spec);
        }
        return c;
    });
    return img;
}

Image make_vesi4()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double n1 = fbm(u, v, 4, 4, 51), n2 = fbm(u + 0.5, v + 0.25, 6, 3, 52);
        double caustic = std::pow(1 - std::fabs(n1), 10) + std::pow(1 - std::fabs(n2), 14) * 0.7;
        return rgb(4, 14, 40) + rgb(80, 230, 255) * caustic;
    });
    return img;
}

Image make_twirl()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double a = fbm(u, v, 2, 4, 71), b = fbm(u + 0.5, v + 0.5, 2, 4, 72);
        double s = std::sin(2 * PI * (u * 2 + 1.2 * a)) * std::cos(2 * PI * (v * 2 + 1.2 * b));
        double t = 0.5 + 0.5 * std::sin(6 * s + 4 * a);
        return mix(rgb(70, 20, 130), rgb(255, 140, 40), t) * (0.75 + 0.25 * std::cos(3 * b));
    });
    return img;
}

Image make_crackle()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double f1, f2;
        voronoi(u, v, 8, 81, f1, f2);
        double crack = smooth(0.09, 0.0, f2 - f1);
        double glow = std::exp(-(f2 - f1) * 12) * 0.35;
        return rgb(255, 180, 90) * crack + rgb(255, 80, 30) * glow;
    });
    return img;
}

// Flat-topped hexes: 8 columns (4 double columns) by 7 rows, squashed 1 % to tile exactly.
Image make_hex(Vec3 edge_colour, Vec3 cell_colour)
{
    Image img(256, 256);
    const double R = 1.0 / 12, inr = R * std::sqrt(3.0) / 2;
    const double ys = (std::sqrt(3.0) * R) / (1.0 / 7);    // texture v to hex units
    img.fill([&](double u, double v) {
        double best = 1e9, edge = 0;
        for (int i = -1; i <= 8; i++)
            for (int j = -1; j <= 7; j++) {
                double cx = i / 8.0, cy = (j + 0.5 * (i & 1)) / 7.0;
                double dx = std::fabs(u - cx), dy = std::fabs(v - cy) * ys;
                double d = std::max(dy, dx * std::sqrt(3.0) / 2 + dy / 2);
                if (d < best) { best = d; edge = inr - d; }
            }
        double e = edge / inr;    // 0 at the border, 1 at the centre
        double line = smooth(0.09, 0.03, e);
        double glow = std::exp(-e * 9) * 0.45;
        return cell_colour + edge_colour * std::min(1.0, line * 0.8 / 0.8) * 0.8 + edge_colour * glow;
    });
    return img;
}

Image make_valo()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double bar = std::pow(0.5 + 0.5 * std::cos(2 * PI * 4 * v), 18);
        double bloom = std::pow(0.5 + 0.5 * std::cos(2 * PI * 4 * v), 3) * 0.35;
        double along = 0.85 + 0.15 * std::cos(2 * PI * u);
        return (rgb(255, 245, 220) * bar + rgb(255, 190, 90) * bloom) * along + rgb(20, 14, 8);
    });
    return img;
}

Image make_aijjai()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        // Zigzag: a triangle wave of u shifts the bands in v; 4 zigs across, 3 colours x 2.
        double zig = std::fabs(fract(u * 4) - 0.5) * 2;    // 0..1
        double t = fract(v * 2 + zig * 0.25);
        int band = int(t * 3);
        Vec3 cols[3] = {rgb(230, 20, 160), rgb(255, 220, 20), rgb(8, 4, 10)};
        double f = fract(t * 3);
        double soft = smooth(0.0, 0.06, f) * smooth(1.0, 0.94, f);
        return cols[band] * (0.75 + 0.25 * soft);
    });
    return img;
}

}    // namespace texture_recipes
