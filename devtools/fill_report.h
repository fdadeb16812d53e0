// devtools/fill_report.h - the benchmark's fill table: per section, the pixels a frame fills
// by kind (clears, scene views, full-screen passes, copies into textures) against the
// window's own pixel count, so work that cannot reach the picture stands out.
// The counts come from render.fill (render/render_state.h): our calls, not the driver.
// Beside them, the processor time the frames took in all of the process's threads (the
// driver's drawing threads included), a steadier figure than frames per second on a
// machine that is busy with other work.
#pragma once
#include "render/render_state.h"   // FillKind, FILL_KINDS

struct FillTally {
    int    frames;                 // frames added
    double pixels[FILL_KINDS];     // summed over those frames
    int    calls[FILL_KINDS];
    double cpu_seconds;            // process CPU time, all threads
};

double process_cpu_seconds();                       // processor time of the whole process, all threads
void fill_frame_begin();                             // zero render.fill and start counting
void fill_frame_end(FillTally &tally);               // stop counting, add the frame to tally
void print_fill_table(const char *const names[], const FillTally tallies[], int count,
                      int window_width, int window_height);   // one row per tally, to stdout
