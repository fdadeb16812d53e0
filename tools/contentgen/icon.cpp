// tools/contentgen/icon.cpp - the desktop icon: the show's chrome ball (metal.jpg's sky)
// with a warm flare on its upper left, on a transparent square, written as an RGBA PNG.
#include "textures.h"
#include "texture_recipes.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

using namespace texture_recipes;

namespace {

constexpr double BALL_RADIUS = 0.44;     // of the icon's width, leaving room for the flare
constexpr double FLARE_AT[2] = {0.30, 0.30};

void save_png_rgba(const std::vector<unsigned char> &rgba, int w, int h, const std::string &path)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error(path + ": cannot open for writing");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        throw std::runtime_error(path + ": cannot write the PNG");
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++) png_write_row(png, rgba.data() + size_t(y) * size_t(w) * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(f) != 0) throw std::runtime_error(path + ": cannot finish writing");
}

}    // namespace

void write_icon(const std::string &path, int size)
{
    const Image ball = sphere_map(size, metal_env);
    const Image glow = flare(rgb(255, 170, 80));
    std::vector<unsigned char> rgba(size_t(size) * size_t(size) * 4);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            // The ball, shrunk about the centre, with a one-pixel soft rim.
            const double bu = 0.5 + (u - 0.5) * 0.5 / BALL_RADIUS, bv = 0.5 + (v - 0.5) * 0.5 / BALL_RADIUS;
            const double r = std::hypot(u - 0.5, v - 0.5);
            const double cover = clamp01((BALL_RADIUS - r) * size + 0.5);
            Vec3 c{0, 0, 0};
            if (cover > 0) {
                const int bx = std::min(size - 1, std::max(0, int(bu * size)));
                const int by = std::min(size - 1, std::max(0, int(bv * size)));
                c = ball.at(bx, by) * cover;
            }
            // The flare sprite (black outside its disc) added at FLARE_AT, half the icon wide.
            const double fu = (u - FLARE_AT[0]) * 2 + 0.5, fv = (v - FLARE_AT[1]) * 2 + 0.5;
            Vec3 f{0, 0, 0};
            if (fu >= 0 && fu < 1 && fv >= 0 && fv < 1) f = glow.at(int(fu * glow.w), int(fv * glow.h));
            c = c + f;
            const double alpha = std::max(cover, clamp01(std::max(f.x, std::max(f.y, f.z))));
            unsigned char *p = &rgba[(size_t(y) * size_t(size) + size_t(x)) * 4];
            // Stored unpremultiplied: colour divided back by the coverage it was weighted with.
            const double k = alpha > 0 ? 1.0 / alpha : 0.0;
            p[0] = (unsigned char)std::lround(clamp01(c.x * k) * 255.0);
            p[1] = (unsigned char)std::lround(clamp01(c.y * k) * 255.0);
            p[2] = (unsigned char)std::lround(clamp01(c.z * k) * 255.0);
            p[3] = (unsigned char)std::lround(alpha * 255.0);
        }
    save_png_rgba(rgba, size, size, path);
}
