// devtools/exposure.h - how bright a finished frame reads to a viewer: its mean luma and the
// share of its pixels that are near white. A frame is washed out when its mean luma reaches
// WASHED_MEAN_LUMA or more than WASHED_WHITE_SHARE of it is near white; the storyboard marks
// such frames and the exposure guard keeps them to the flashes the show means to make.
#pragma once

constexpr int    NEAR_WHITE_LUMA    = 230;     // a pixel at least this bright (0..255) reads as white
constexpr double WASHED_MEAN_LUMA   = 200.0;   // a frame this bright on average is washed out
constexpr double WASHED_WHITE_SHARE = 0.5;     // ... and so is one more than half near white

struct FrameExposure {
    double mean_luma = 0;     // 0..255, luma weights 0.299 R + 0.587 G + 0.114 B
    double white_share = 0;   // 0..1, share of pixels with luma >= NEAR_WHITE_LUMA
};

// The w x h rectangle at (x, y) of a packed RGB picture frame_width pixels wide.
FrameExposure measure_exposure(const unsigned char *rgb, int frame_width, int x, int y, int w, int h);
bool frame_washed_out(const FrameExposure &e);   // mean or near-white share past its limit
int  pixel_luma(const unsigned char *rgb);       // one RGB pixel's luma, 0..255
