// devtools/fill_report.cpp - counting one frame's fill and printing the table.
// A cell reads "2.35 (14.0)": 2.35 windows' worth of pixels per frame, in 14 calls per frame.
#include "devtools/fill_report.h"
#include <cstdio>
#include <ctime>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const char *const KIND_NAMES[FILL_KINDS] = { "clears", "scenes", "passes", "copies" };

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static double frame_cpu_start;   // process CPU seconds when the frame began

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
double process_cpu_seconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

void fill_frame_begin() {
    for (int k = 0; k < FILL_KINDS; k++) {
        render.fill.pixels[k] = 0;
        render.fill.calls[k] = 0;
    }
    render.fill.on = true;
    frame_cpu_start = process_cpu_seconds();
}

void fill_frame_end(FillTally &tally) {
    render.fill.on = false;
    tally.cpu_seconds += process_cpu_seconds() - frame_cpu_start;
    tally.frames++;
    for (int k = 0; k < FILL_KINDS; k++) {
        tally.pixels[k] += render.fill.pixels[k];
        tally.calls[k] += render.fill.calls[k];
    }
}

void print_fill_table(const char *const names[], const FillTally tallies[], int count,
                      int window_width, int window_height) {
    const double window = double(window_width) * double(window_height);
    std::printf("fill per frame, in windows of %dx%d pixels (calls per frame in brackets):\n",
                window_width, window_height);
    std::printf("%-10s", "section");
    for (const char *kind : KIND_NAMES) std::printf(" %14s", kind);
    std::printf(" %8s %8s\n", "total", "cpu ms");
    for (int i = 0; i < count; i++) {
        const FillTally &t = tallies[i];
        const double frames = t.frames > 0 ? double(t.frames) : 1.0;
        double total = 0;
        std::printf("%-10s", names[i]);
        for (int k = 0; k < FILL_KINDS; k++) {
            const double windows = t.pixels[k] / frames / window;
            total += windows;
            std::printf(" %7.2f (%4.1f)", windows, t.calls[k] / frames);
        }
        std::printf(" %8.2f %8.1f\n", total, 1000 * t.cpu_seconds / frames);
    }
    std::printf("clears: each clear's area (the whole window unless scissored); scenes: one view per\n"
                "scene call or environment face, overdraw inside it not seen; passes: the viewport of\n"
                "every full-screen quad or strip; copies: the rectangle copied into a texture;\n"
                "cpu ms: processor time per frame, all threads of the process\n");
}
