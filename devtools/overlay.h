// devtools/overlay.h - the developer statistics overlay, drawn after the timeline and
// before the buffer swap, in inverted colours over the finished picture.
// Eight lines, each switched by a key (devtools/keys.h), stack up from the bottom left:
//   1 show time and frame rate      5 free camera
//   2 frame statistics              6 GL version
//   3 vertices and faces drawn      7 GL extensions the show uses
//   4 pixel format                  8 window-system extensions, as named in GL_EXTENSIONS
// The frame statistics count every overlay call from the first, shown or not. The overlay
// also saves the screenshots asked for by s and f, so they hold the finished frame.
#pragma once
#include <cstdint>
#include <string>

struct FrameStats {
    double   fps;            // rate of the latest frame
    double   min_fps;        // lowest rate so far (starts at 999)
    double   max_fps;        // highest rate so far
    double   sum_fps;        // running sum of the rates
    double   avg_fps;        // sum / frames measured
    uint64_t frames;         // overlay calls so far
    uint32_t previous_ms;    // SDL tick count of the previous call
};
extern FrameStats frame_stats;   // written by draw_overlay only

// What lines 4 and 6 show, read from the context once per frame.
struct PixelFormatInfo {
    const char *version;     // GL_VERSION
    int colour_bits;         // red + green + blue
    int alpha_bits, depth_bits, stencil_bits;
};

void        draw_overlay(float time);       // time = show time minus 2 patterns
float       overlay_show_time();            // the show time the main loop hands on (see .cpp)
void        update_frame_stats(FrameStats &stats, uint32_t now_ms);   // one frame at now_ms
std::string overlay_line(int line, float time, const PixelFormatInfo &gl);   // line 1..8, as drawn
