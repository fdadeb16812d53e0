// devtools/capture.h - screenshots of the window as 24-bit BMP files.
// Both kinds write "shot%05i.bmp" into the current directory, each kind counting from 0 in
// every run; a number whose file already exists (the other kind's, or an earlier run's) is
// skipped, so no shot ever overwrites another. A shot that cannot be written only warns on
// stderr: the show goes on.
//
// The depth-of-field shot blurs each pixel into an anti-aliased disc whose radius follows
// its depth: radius 1 (sharp) at depth 0.9507, the focal plane, growing to 9 at the near
// plane and 5.8 at the far plane. Every output pixel is the weighted mean of the discs that
// reach it, so flat areas keep their brightness and out-of-focus pixels spread softly. It
// takes up to a second at 640x480 (near the camera); the picture stalls while the music plays on.
#pragma once
#include <cstddef>

constexpr int BMP_HEADER_SIZE = 54;   // file header (14) + info header (40), no palette

struct CaptureGlobals {
    int shot_counter;   // next number tried for a plain screenshot
    int dof_counter;    // next number tried for a depth-of-field shot
};
extern CaptureGlobals capture;   // written by the take_* calls only

bool take_screenshot();            // current read buffer, window-sized, into the next free shotNNNNN.bmp
bool take_depth_of_field_shot();   // colour and depth buffers, blurred by depth, same naming

void  make_bmp_header(unsigned char header[BMP_HEADER_SIZE], int width, int height);  // bottom-up, 24 bpp
float depth_of_field_radius(float depth);   // 1 at the focal plane .. 9 at depth 0
void  depth_of_field(const unsigned char *rgb, const float *depth, int width, int height,
                     unsigned char *bgr);   // rows as given; out: blue, green, red per pixel
