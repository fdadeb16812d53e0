// devtools/capture.cpp - BMP writing, the plain screenshot and the depth-of-field shot.
#include "devtools/capture.h"
#include "platform/settings.h"    // Required for: app.window_width/height
#include <GL/gl.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
CaptureGlobals capture = { 0, 0 };

constexpr int SHOT_NUMBERS = 100000;   // "shot%05i.bmp" has five digits
constexpr double PI = 3.141592653589793;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void put16(unsigned char *p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

static void put32(unsigned char *p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = uint8_t(v >> (8 * i));
}

// Opens the first free "shot%05i.bmp" from *counter on, created exclusively so that an
// existing file is never truncated; advances *counter past it. Null (and a warning) when
// the folder cannot take a new file.
static std::FILE *open_next_shot(int *counter, char *name, size_t name_size) {
    for (; *counter < SHOT_NUMBERS; (*counter)++) {
        std::snprintf(name, name_size, "shot%05i.bmp", *counter);
        std::FILE *out = std::fopen(name, "wbx");
        if (out) {
            (*counter)++;
            return out;
        }
        if (errno != EEXIST) {
            std::fprintf(stderr, "SHOT: cannot write %s: %s\n", name, std::strerror(errno));
            return nullptr;
        }
    }
    std::fprintf(stderr, "SHOT: every shot number is taken\n");
    return nullptr;
}

static bool write_bmp(int *counter, int width, int height, const unsigned char *bgr) {
    char name[32];
    std::FILE *out = open_next_shot(counter, name, sizeof name);
    if (!out) return false;
    unsigned char header[BMP_HEADER_SIZE];
    make_bmp_header(header, width, height);
    const size_t bytes = size_t(width) * height * 3;
    bool ok = std::fwrite(header, 1, sizeof header, out) == sizeof header &&
              std::fwrite(bgr, 1, bytes, out) == bytes;
    ok = (std::fclose(out) == 0) && ok;
    if (ok) std::fprintf(stderr, "SHOT: %s %dx%d\n", name, width, height);
    else std::fprintf(stderr, "SHOT: cannot finish %s\n", name);
    return ok;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void make_bmp_header(unsigned char h[BMP_HEADER_SIZE], int width, int height) {
    const uint32_t image_size = uint32_t(width) * uint32_t(height) * 3;
    std::memset(h, 0, BMP_HEADER_SIZE);
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, BMP_HEADER_SIZE + image_size);   // file size
    put32(h + 10, BMP_HEADER_SIZE);               // offset of the pixels
    put32(h + 14, 40);                            // info header size
    put32(h + 18, uint32_t(width));
    put32(h + 22, uint32_t(height));              // positive: rows bottom-up
    put16(h + 26, 1);                             // planes
    put16(h + 28, 24);                            // bits per pixel
    put32(h + 34, image_size);                    // compression (30) and the rest stay 0
}

bool take_screenshot() {
    const int w = app.window_width, h = app.window_height;
    std::vector<unsigned char> pixels(size_t(w) * h * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(app.picture_x, app.picture_y, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
    // GL's rows already run bottom-up like the BMP's; only red and blue trade places.
    for (size_t i = 0; i < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
    return write_bmp(&capture.shot_counter, w, h, pixels.data());
}

float depth_of_field_radius(float depth) {
    const float blur = std::clamp(2.0f * std::fabs(std::pow(1.0f - depth, 0.4f) - 0.3f), 0.0f, 1.0f);
    return blur * 8.0f + 1.0f;
}

// Each source pixel spreads over a disc of radius r with the anti-aliased weight
// clamp01(r - distance) / a, a = 0.75 pi r^2, so a wide disc lays its colour on thinly.
// The weights are summed beside the colours, and each output pixel is divided by the
// weight that actually reached it: the disc weights add up to pi (r^2 - r + 1/3) / a,
// which is 0.42 for a sharp pixel and 1.19 at r = 9, so without that division in-focus
// areas would come out at less than half their brightness. Pixels pushed beyond the border
// pile up on the edge pixels.
void depth_of_field(const unsigned char *rgb, const float *depth, int width, int height,
                    unsigned char *bgr) {
    const size_t count = size_t(width) * height;
    std::vector<float> sum(count * 4, 0.0f);   // red, green, blue, weight
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const size_t src = size_t(y) * width + x;
            const float r = depth_of_field_radius(depth[src]);
            const float a = float(PI) * r * r * 0.75f;
            const int reach = int(r) + 1;
            const float c[3] = { float(rgb[src * 3]), float(rgb[src * 3 + 1]), float(rgb[src * 3 + 2]) };
            for (int dy = -reach; dy <= reach; dy++) {
                const int ty = std::clamp(y + dy, 0, height - 1);
                for (int dx = -reach; dx <= reach; dx++) {
                    const float w = std::clamp(r - std::sqrt(float(dx * dx + dy * dy)), 0.0f, 1.0f) / a;
                    if (w == 0.0f) continue;
                    const int tx = std::clamp(x + dx, 0, width - 1);
                    float *t = &sum[(size_t(ty) * width + tx) * 4];
                    t[0] += c[0] * w;
                    t[1] += c[1] * w;
                    t[2] += c[2] * w;
                    t[3] += w;
                }
            }
        }
    }
    for (size_t i = 0; i < count; i++) {
        const float *s = &sum[i * 4];   // every pixel at least receives its own centre tap
        for (int ch = 0; ch < 3; ch++)
            bgr[i * 3 + 2 - ch] = uint8_t(std::clamp(int(s[ch] / s[3] + 0.5f), 0, 255));
    }
}

bool take_depth_of_field_shot() {
    const int w = app.window_width, h = app.window_height;
    const size_t count = size_t(w) * h;
    std::vector<unsigned char> rgb(count * 3), bgr(count * 3);
    std::vector<float> depth(count);
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelTransferf(GL_DEPTH_SCALE, 1.0f);
        glPixelTransferf(GL_DEPTH_BIAS, 0.0f);
        glReadPixels(app.picture_x, app.picture_y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glReadPixels(app.picture_x, app.picture_y, w, h, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    glPopClientAttrib();
    glPopAttrib();
    depth_of_field(rgb.data(), depth.data(), w, h, bgr.data());
    return write_bmp(&capture.dof_counter, w, h, bgr.data());
}
