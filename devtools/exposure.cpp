// devtools/exposure.cpp - mean luma and near-white share of a frame.
#include "devtools/exposure.h"
#include <cstddef>

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
// Integer weights summing to 1000: the same luma for the same pixel on every machine.
int pixel_luma(const unsigned char *rgb) {
    return (299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000;
}

FrameExposure measure_exposure(const unsigned char *rgb, int frame_width, int x, int y, int w, int h) {
    FrameExposure e;
    if (w <= 0 || h <= 0) return e;
    long long sum = 0, white = 0;
    for (int row = y; row < y + h; row++) {
        const unsigned char *p = rgb + (size_t(row) * frame_width + x) * 3;
        for (int col = 0; col < w; col++, p += 3) {
            const int luma = pixel_luma(p);
            sum += luma;
            white += luma >= NEAR_WHITE_LUMA;
        }
    }
    const double count = double(w) * double(h);
    e.mean_luma = double(sum) / count;
    e.white_share = double(white) / count;
    return e;
}

bool frame_washed_out(const FrameExposure &e) {
    return e.mean_luma >= WASHED_MEAN_LUMA || e.white_share > WASHED_WHITE_SHARE;
}
