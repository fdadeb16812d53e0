// tools/contentgen/text_textures.cpp - the pictures with text: the loading screen, the title
// (atxt) and the end scroller (ltxt). Text is drawn with FreeType from fonts found with
// fontconfig, blurred into a coloured glow and composited in white over the picture.
#include "texture_recipes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace texture_recipes {

namespace {

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

}    // namespace

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

}    // namespace texture_recipes
