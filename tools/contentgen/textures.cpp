// tools/contentgen/textures.cpp - the 28 JPEG pictures. Everything is composed in float RGB and
// quantised once when written. Tiling pictures use lattice noise, Voronoi cells and sines whose
// periods divide the picture; sphere maps are rendered as real chrome reflections of a small
// environment; sprites fade to exact black well inside their square.
#include "textures.h"
#include "mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>

const std::vector<std::string> texture_files = {
    "loading.jpg", "shakki.jpg", "skyr1.jpg", "metal.jpg", "electri2.jpg", "electric.jpg", "envi6b.jpg",
    "flare1.jpg", "flare3.jpg", "flare4.jpg", "red6envi.jpg", "smoketex.jpg", "irid.jpg", "bubble.jpg",
    "vesi4.jpg", "atxt.jpg", "ltxt.jpg", "twirl.jpg", "crackle.jpg", "hex2.jpg", "valo.jpg", "hexred.jpg",
    "flarer.jpg", "flareb.jpg", "flarey.jpg", "flareg.jpg", "metal2.jpg", "aijjai.jpg",
};

namespace {

//----------------------------------------------------------------------------------------------
// Pictures
//----------------------------------------------------------------------------------------------
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

Vec3 mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
Vec3 rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
double smooth(double a, double b, double x)
{
    double t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}
double fract(double x) { return x - std::floor(x); }

void save_jpeg(const Image &img, const std::string &path, bool full_chroma)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error(path + ": cannot open for writing");
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = JDIMENSION(img.w);
    c.image_height = JDIMENSION(img.h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 93, TRUE);
    c.optimize_coding = TRUE;
    c.dct_method = JDCT_ISLOW;
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = full_chroma ? 1 : 2;
    c.comp_info[1].h_samp_factor = c.comp_info[1].v_samp_factor = 1;
    c.comp_info[2].h_samp_factor = c.comp_info[2].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(img.w) * 3);
    for (int y = 0; y < img.h; y++) {
        for (int x = 0; x < img.w; x++) {
            const Vec3 &p = img.at(x, y);
            row[size_t(x) * 3 + 0] = (unsigned char)std::lround(clamp01(p.x) * 255.0);
            row[size_t(x) * 3 + 1] = (unsigned char)std::lround(clamp01(p.y) * 255.0);
            row[size_t(x) * 3 + 2] = (unsigned char)std::lround(clamp01(p.z) * 255.0);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    if (std::fclose(f) != 0) throw std::runtime_error(path + ": write failed");
}

// Reads a written picture back: size, components and (for sprites) the black margin.
void verify_jpeg(const std::string &path, int w, int h, bool sprite)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) throw std::runtime_error(path + ": cannot read back");
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    if (int(d.output_width) != w || int(d.output_height) != h || d.output_components != 3 || d.num_components != 3)
        throw std::runtime_error(path + ": reads back with the wrong size or components");
    std::vector<unsigned char> row(size_t(w) * 3);
    int bad = 0;
    for (int y = 0; y < h; y++) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&d, &r, 1);
        if (!sprite) continue;
        for (int x = 0; x < w; x++) {
            bool margin = x < 8 || y < 8 || x >= w - 8 || y >= h - 8;
            if (margin && (row[size_t(x) * 3] > 1 || row[size_t(x) * 3 + 1] > 1 || row[size_t(x) * 3 + 2] > 1)) bad++;
        }
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    std::fclose(f);
    if (bad) throw std::runtime_error(path + ": sprite margin is not black after decoding");
}

//----------------------------------------------------------------------------------------------
// Periodic noise
//----------------------------------------------------------------------------------------------
double hash2(int x, int y, uint64_t seed)
{
    uint64_t h = seed * 0x9E3779B97F4A7C15ull ^ (uint64_t(uint32_t(x)) * 0xC2B2AE3D27D4EB4Full) ^ (uint64_t(uint32_t(y)) * 0x165667B19E3779F9ull);
    h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 29)) * 0x94D049BB133111EBull;
    h ^= h >> 32;
    return double(h & 0xFFFFFF) / double(0xFFFFFF);    // [0, 1]
}

// Value noise on a lattice of `period` cells per unit, wrapping at u, v = 1. Range [-1, 1].
double vnoise(double u, double v, int period, uint64_t seed)
{
    double x = u * period, y = v * period;
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = x - ix, fy = y - iy;
    fx = fx * fx * fx * (fx * (fx * 6 - 15) + 10);
    fy = fy * fy * fy * (fy * (fy * 6 - 15) + 10);
    auto h = [&](int a, int b) { return hash2(((a % period) + period) % period, ((b % period) + period) % period, seed) * 2 - 1; };
    double a = h(ix, iy) + (h(ix + 1, iy) - h(ix, iy)) * fx;
    double b = h(ix, iy + 1) + (h(ix + 1, iy + 1) - h(ix, iy + 1)) * fx;
    return a + (b - a) * fy;
}

double fbm(double u, double v, int period, int octaves, uint64_t seed, double gain = 0.5)
{
    double s = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; o++) {
        s += vnoise(u, v, period << o, seed + uint64_t(o) * 7919) * amp;
        norm += amp;
        amp *= gain;
    }
    return s / norm;
}

// Periodic Voronoi: distances to the nearest and second-nearest feature point (one per cell).
void voronoi(double u, double v, int period, uint64_t seed, double &f1, double &f2)
{
    double x = u * period, y = v * period;
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    f1 = f2 = 1e9;
    for (int dy = -2; dy <= 2; dy++)
        for (int dx = -2; dx <= 2; dx++) {
            int cx = ix + dx, cy = iy + dy;
            int wx = ((cx % period) + period) % period, wy = ((cy % period) + period) % period;
            double px = cx + 0.1 + 0.8 * hash2(wx, wy, seed), py = cy + 0.1 + 0.8 * hash2(wx, wy, seed + 1);
            double d = std::hypot(px - x, py - y);
            if (d < f1) { f2 = f1; f1 = d; }
            else if (d < f2) f2 = d;
        }
}

Vec3 hsv(double h, double s, double v)
{
    h = fract(h) * 6;
    int i = int(h);
    double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

//----------------------------------------------------------------------------------------------
// Chrome sphere maps
//----------------------------------------------------------------------------------------------
struct Env {
    Vec3 horizon, zenith, ground_near, ground_far, sun;
    double sun_power, ground_lines;
};

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

//----------------------------------------------------------------------------------------------
// Text
//----------------------------------------------------------------------------------------------
std::string font_file(const char *pattern)
{
    FcInit();
    FcPattern *p = FcNameParse(reinterpret_cast<const FcChar8 *>(pattern));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult res;
    FcPattern *m = FcFontMatch(nullptr, p, &res);
    std::string path;
    FcChar8 *file = nullptr;
    if (m && FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<const char *>(file);
    if (m) FcPatternDestroy(m);
    FcPatternDestroy(p);
    if (path.empty()) throw std::runtime_error(std::string("no font for ") + pattern);
    return path;
}

struct Font {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    explicit Font(const char *pattern)
    {
        std::string file = font_file(pattern);
        if (FT_Init_FreeType(&lib) || FT_New_Face(lib, file.c_str(), 0, &face)) throw std::runtime_error("cannot load font " + file);
    }
    ~Font()
    {
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
    }
};

// Coverage canvas for text.
struct Mask {
    int w, h;
    std::vector<float> a;
    Mask(int w_, int h_) : w(w_), h(h_), a(size_t(w_) * size_t(h_), 0.f) {}
    float &at(int x, int y) { return a[size_t(y) * size_t(w) + size_t(x)]; }
    float at(int x, int y) const { return a[size_t(y) * size_t(w) + size_t(x)]; }
};

double text_width(Font &f, int px, const std::string &s)
{
    FT_Set_Pixel_Sizes(f.face, 0, FT_UInt(px));
    double w = 0;
    for (unsigned char ch : s) {
        if (FT_Load_Char(f.face, ch, FT_LOAD_DEFAULT)) continue;
        w += f.face->glyph->advance.x / 64.0;
    }
    return w;
}

// Draws s with its baseline at y, starting at x (or centred on x when `centre`).
void draw_text(Mask &m, Font &f, int px, double x, int y, const std::string &s, bool centre)
{
    if (centre) x -= text_width(f, px, s) / 2;
    FT_Set_Pixel_Sizes(f.face, 0, FT_UInt(px));
    double pen = x;
    for (unsigned char ch : s) {
        if (FT_Load_Char(f.face, ch, FT_LOAD_RENDER)) continue;
        FT_GlyphSlot g = f.face->glyph;
        int x0 = int(std::lround(pen)) + g->bitmap_left, y0 = y - g->bitmap_top;
        for (unsigned r = 0; r < g->bitmap.rows; r++)
            for (unsigned c = 0; c < g->bitmap.width; c++) {
                int X = x0 + int(c), Y = y0 + int(r);
                if (X < 0 || Y < 0 || X >= m.w || Y >= m.h) continue;
                float v = g->bitmap.buffer[r * unsigned(g->bitmap.pitch) + c] / 255.f;
                m.at(X, Y) = std::max(m.at(X, Y), v);
            }
        pen += g->advance.x / 64.0;
    }
}

Mask blur(const Mask &in, int radius, int passes)
{
    Mask a = in, b = in;
    for (int p = 0; p < passes; p++) {
        for (int y = 0; y < a.h; y++)
            for (int x = 0; x < a.w; x++) {
                double s = 0;
                int n = 0;
                for (int k = -radius; k <= radius; k++) {
                    int X = std::clamp(x + k, 0, a.w - 1);
                    s += a.at(X, y);
                    n++;
                }
                b.at(x, y) = float(s / n);
            }
        for (int y = 0; y < a.h; y++)
            for (int x = 0; x < a.w; x++) {
                double s = 0;
                int n = 0;
                for (int k = -radius; k <= radius; k++) {
                    int Y = std::clamp(y + k, 0, a.h - 1);
                    s += b.at(x, Y);
                    n++;
                }
                a.at(x, y) = float(s / n);
            }
    }
    return a;
}

// Bilinear resample of a picture to a new size (used for the text pictures' aspect).
Image resample(const Image &src, int w, int h)
{
    Image out(w, h);
    double sx = double(src.w) / w, sy = double(src.h) / h;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            // Box-average the source footprint (handles shrinking), bilinear inside it.
            double fx0 = x * sx, fx1 = (x + 1) * sx, fy0 = y * sy, fy1 = (y + 1) * sy;
            Vec3 sum{0, 0, 0};
            double wsum = 0;
            for (int Y = int(fy0); Y < int(std::ceil(fy1)) && Y < src.h; Y++)
                for (int X = int(fx0); X < int(std::ceil(fx1)) && X < src.w; X++) {
                    double wx = std::min(fx1, X + 1.0) - std::max(fx0, double(X));
                    double wy = std::min(fy1, Y + 1.0) - std::max(fy0, double(Y));
                    double wgt = std::max(0.0, wx) * std::max(0.0, wy);
                    sum = sum + src.at(X, Y) * wgt;
                    wsum += wgt;
                }
            out.at(x, y) = wsum > 0 ? sum * (1 / wsum) : Vec3{0, 0, 0};
        }
    return out;
}

// Composites white text with a soft coloured glow over `img`.
void glow_text(Image &img, const Mask &m, Vec3 colour, Vec3 glow, int glow_radius)
{
    Mask g = blur(m, glow_radius, 3);
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++) {
            Vec3 &p = img.at(x, y);
            p = p + glow * (std::min(1.0, double(g.at(x, y)) * 2.2));
            p = mix(p, colour, m.at(x, y));
        }
}

//----------------------------------------------------------------------------------------------
// The recipes
//----------------------------------------------------------------------------------------------
Image make_loading()
{
    Image img(640, 480);
    img.fill([](double u, double v) {
        if (v < 0.5) return mix(rgb(4, 6, 18), rgb(18, 24, 60), v * 2);
        // Bottom: the orb and its plume, trailing left across the band.
        double y = (v - 0.75) / 0.25;
        Vec3 c = mix(rgb(10, 8, 24), rgb(2, 2, 8), std::fabs(y));
        double ox = 0.82, oy = 0.75;
        double r = std::hypot((u - ox) * 640 / 480, v - oy);
        double orb = smooth(0.12, 0.10, r);
        double shade = clamp01(1 - std::hypot((u - ox + 0.03) * 640 / 480, v - oy + 0.03) / 0.12);
        c = mix(c, mix(rgb(60, 30, 120), rgb(255, 230, 255), shade * shade), orb);
        c = c + rgb(180, 120, 255) * (0.5 * std::exp(-std::pow(r / 0.16, 2)) * (1 - orb));
        {
            double t = std::max(0.0, (ox - u) / ox);
            double wave = 0.05 * std::sin(t * 14 + 1) * t + 0.02 * fbm(u, v, 8, 4, 77);
            double width = 0.09 * (1 - t) + 0.02;
            double d = std::fabs(v - oy - wave) / width;
            double plume = std::exp(-d * d * 2) * (1 - t * 0.7) * (0.7 + 0.3 * fbm(u * 2, v, 16, 4, 78)) * smooth(ox + 0.02, ox - 0.1, u);
            c = c + hsv(0.75 - 0.25 * t, 0.7, 1.0) * (plume * 0.9);
        }
        return c;
    });
    Font bold("Liberation Sans:bold"), regular("Liberation Sans");
    Mask m(640, 480);
    draw_text(m, bold, 54, 320, 150, "V-LUX 2004: Orb Plume", true);
    glow_text(img, m, {1, 1, 1}, rgb(90, 140, 255), 6);
    Mask l(640, 480);
    draw_text(l, regular, 30, 28, 372, "loading", false);
    glow_text(img, l, {1, 1, 1}, rgb(160, 90, 255), 4);
    return img;
}

Image make_shakki()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        int cx = int(u * 8), cy = int(v * 8);
        double fx = fract(u * 8), fy = fract(v * 8);
        bool light = (cx + cy) % 2 == 0;
        double base = light ? 230 / 255.0 : 20 / 255.0;
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
        double cloud = smooth(-0.05, 0.45, n2 * 0.8 + n * 0.4);
        Vec3 sky = mix(rgb(70, 140, 230), rgb(150, 200, 255), 0.5 + 0.5 * std::sin(2 * PI * v));
        return mix(sky, rgb(255, 255, 255), cloud);
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
        Vec3 c = mix(rgb(40, 52, 78), rgb(120, 138, 168), 0.5 - 0.5 * std::cos(2 * PI * v));
        // 4 x 2 soft light panels.
        double px = fract(u * 4), py = fract(v * 2);
        double panel = smooth(0.5, 0.36, std::fabs(px - 0.5)) * smooth(0.5, 0.3, std::fabs(py - 0.5));
        double flicker = 0.8 + 0.2 * hash2(int(u * 4), int(v * 2), 61);
        return c + rgb(230, 240, 255) * (0.55 * panel * flicker);
    });
    return img;
}

Image make_smoke()
{
    Image img(256, 256);
    img.fill([](double u, double v) {
        double n = fbm(u, v, 4, 6, 21);
        double w = fbm(u + 0.25 * n, v + 0.25 * n, 4, 5, 22);
        double wisp = smooth(0.1, 0.55, w) * 0.9 + 0.04;
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
        Vec3 c = mix(rgb(30, 90, 120), rgb(60, 130, 170), 0.5 + 0.5 * std::sin(2 * PI * (u + v)));
        for (const B &b : bubbles) {
            double dx = u - b.x, dy = v - b.y;
            dx -= std::round(dx);
            dy -= std::round(dy);
            double d = std::hypot(dx, dy) / b.r;
            if (d > 1.3) continue;
            double rim = std::exp(-std::pow((d - 1) / 0.08, 2));
            double body = d < 1 ? 0.15 * d * d : 0;
            double spec = std::exp(-(std::pow(dx / b.r + 0.4, 2) + std::pow(dy / b.r + 0.4, 2)) / 0.02);
            c = c + rgb(180, 240, 255) * (0.6 * rim + body) + Vec3{1, 1, 1} * (0.5 * spec);
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

Image make_title()
{
    // Composed at 512 x 384 (displayed 4:3), stretched to 512 x 512.
    Image img(512, 384);
    Font bold("Liberation Sans:bold");
    Mask m(512, 384);
    draw_text(m, bold, 76, 256, 168, "V-LUX 2004:", true);
    draw_text(m, bold, 76, 256, 262, "Orb Plume", true);
    glow_text(img, m, {1, 1, 1}, rgb(70, 120, 255), 8);
    return resample(img, 512, 512);
}

Image make_end()
{
    // Composed at 4/3 of the final width, then compressed to 1024 x 2048. Text within
    // s 0.29..0.71; rows 0.75..1 are the closing card.
    const int W = 1365, H = 2048;
    Image img(W, H);
    Font bold("Liberation Sans:bold"), regular("Liberation Sans");
    Mask m(W, H);
    const double cx = W / 2.0;
    struct Line { const char *text; bool heading; };
    const Line lines[] = {
        {"V-LUX 2004", true}, {"Orb Plume", true}, {"", false},
        {"code", true}, {"the V-LUX engine crew", false}, {"", false},
        {"music", true}, {"the V-LUX sound lab", false}, {"", false},
        {"graphics", true}, {"generated procedurally", false}, {"at build time", false}, {"", false},
        {"meshes & textures", true}, {"the content generator", false}, {"", false},
        {"greetings", true}, {"to everyone who keeps", false}, {"real-time art alive", false}, {"", false},
        {"made with care", false}, {"in fixed-function OpenGL", false}, {"", false},
        {"no pixels were harmed", false},
    };
    int y = 200;
    for (const Line &l : lines) {
        if (*l.text) draw_text(m, l.heading ? bold : regular, l.heading ? 46 : 40, cx, y, l.text, true);
        y += 48;
    }
    // Final card, filling rows 0.75..1.0 exactly when the music ends.
    draw_text(m, bold, 60, cx, int(H * 0.85), "thanks for watching", true);
    draw_text(m, regular, 40, cx, int(H * 0.85) + 72, "V-LUX 2004", true);
    glow_text(img, m, {1, 1, 1}, rgb(60, 90, 200), 5);
    return resample(img, 1024, 2048);
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

struct Recipe {
    const char *file;
    std::function<Image()> make;
    bool sprite, full_chroma;
};

}    // namespace

void write_textures(const std::string &dir, const char *only)
{
    const Env metal_env{rgb(235, 242, 255), rgb(80, 140, 235), rgb(120, 110, 100), rgb(70, 64, 58), rgb(255, 250, 230), 1.0, 0.35};
    const Env red_env{rgb(255, 150, 60), rgb(200, 40, 20), rgb(70, 8, 10), rgb(20, 2, 4), rgb(255, 240, 120), 1.0, 0.3};
    const Env steel_env{rgb(150, 165, 185), rgb(62, 78, 106), rgb(70, 74, 82), rgb(30, 32, 38), rgb(200, 210, 230), 0.6, 0.25};
    const std::vector<Recipe> recipes = {
        {"loading.jpg", make_loading, false, true},
        {"shakki.jpg", make_shakki, false, false},
        {"skyr1.jpg", make_skyr1, false, false},
        {"metal.jpg", [&] { return sphere_map(256, metal_env); }, false, false},
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
        save_jpeg(img, path, r.full_chroma);
        verify_jpeg(path, img.w, img.h, r.sprite);
    }
}
