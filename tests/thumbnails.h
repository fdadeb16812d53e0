// tests/thumbnails.h - how a rendered frame is judged against another: both 640x480 frames
// shrunk to 128x96 thumbnails (5x5 box averages) and compared with one tolerance. The
// reference frames and the browser page's comparison share it, so they can never drift apart.
// Run-to-run the renderer is exact; a different CPU (llvmpipe's vector width) moves a few
// edge pixels by a few levels. These limits sit well above that and well below any change
// of colour, brightness or geometry a viewer would notice.
#pragma once
#include <png.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

constexpr int FRAME_W = 640, FRAME_H = 480;
constexpr int BOX = 5;                                        // thumbnail pixel = 5 x 5 frame pixels
constexpr int THUMB_W = FRAME_W / BOX, THUMB_H = FRAME_H / BOX;
constexpr double MEAN_LIMIT = 1.0;     // mean |difference| over all channels, 0..255
constexpr int    PIXEL_LIMIT = 24;     // a thumbnail pixel "differs" beyond this in any channel
constexpr double SHARE_LIMIT = 0.01;   // ... and at most this share of them may

using Picture = std::vector<unsigned char>;   // packed RGB, top row first

inline std::string frame_name(float t) {      // the name --render gives show time t
    char name[32];
    std::snprintf(name, sizeof name, "t%07.3f.png", t);
    return name;
}

// A w x h PNG as RGB (any alpha laid over black); false when unreadable or of another size.
inline bool read_png(const std::string &path, int w, int h, Picture &rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    if (int(image.width) != w || int(image.height) != h) {
        png_image_free(&image);
        return false;
    }
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    const png_color black = { 0, 0, 0 };
    return png_image_finish_read(&image, &black, rgb.data(), 0, nullptr) != 0;
}

inline Picture thumbnail(const Picture &frame) {   // FRAME_W x FRAME_H in, THUMB_W x THUMB_H out
    Picture thumb(size_t(THUMB_W) * THUMB_H * 3);
    for (int y = 0; y < THUMB_H; y++)
        for (int x = 0; x < THUMB_W; x++)
            for (int c = 0; c < 3; c++) {
                int sum = 0;
                for (int dy = 0; dy < BOX; dy++)
                    for (int dx = 0; dx < BOX; dx++)
                        sum += frame[((y * BOX + dy) * FRAME_W + x * BOX + dx) * 3 + c];
                thumb[(y * THUMB_W + x) * 3 + c] = (unsigned char)((sum + BOX * BOX / 2) / (BOX * BOX));
            }
    return thumb;
}

struct Difference {
    double mean = 0;       // mean |a - b| over every channel value
    double share = 0;      // share of pixels off by more than PIXEL_LIMIT in some channel
    int    largest = 0;
};

inline Difference compare(const Picture &a, const Picture &b) {
    Difference d;
    long total = 0, off = 0;
    for (size_t p = 0; p < a.size(); p += 3) {
        int worst = 0;
        for (int c = 0; c < 3; c++) {
            const int e = std::abs(int(a[p + c]) - int(b[p + c]));
            total += e;
            worst = std::max(worst, e);
        }
        off += worst > PIXEL_LIMIT;
        d.largest = std::max(d.largest, worst);
    }
    d.mean = double(total) / double(a.size());
    d.share = double(off) / double(a.size() / 3);
    return d;
}

inline bool acceptable(const Difference &d) { return d.mean <= MEAN_LIMIT && d.share <= SHARE_LIMIT; }
