// tools/contentgen/texture_image.cpp - what every picture recipe shares: colour helpers,
// the JPEG writer and its read-back check, periodic lattice noise, fbm and Voronoi cells
// whose periods divide the picture, and an HSV colour.
#include "texture_recipes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace texture_recipes {

Vec3 mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
Vec3 rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
double smooth(double a, double b, double x)
{
    double t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}
double fract(double x) { return x - std::floor(x); }

double show_grade(double x)
{
    x = clamp01(x);
    return (1 - SHOW_GRADE) * x + SHOW_GRADE * x * x;
}

void grade_for_show(Image &img)
{
    for (Vec3 &p : img.px) p = Vec3{show_grade(p.x), show_grade(p.y), show_grade(p.z)};
}

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

double fbm(double u, double v, int period, int octaves, uint64_t seed, double gain)
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

}    // namespace texture_recipes
