// app/settings.h - the process-wide settings chosen at start-up and the quit counter.
// The dialog (or the command line) writes them once before the window exists; everything
// else only reads them, except quit_requests, which any event that ends the show bumps.
#pragma once
#include <atomic>

struct AppSettings {
    bool fullscreen = true;                 // full-screen display mode chosen at start-up
    int  window_width = 640;                // chosen resolution; every full-window viewport reads it
    int  window_height = 480;
    bool loop_music = false;                // "Loop": the music (and show) restarts at its end
    int  offscreen_texture_width = 0;       // texture size receiving the 384x288 offscreen viewport
    int  offscreen_texture_height = 0;
    std::atomic<int> quit_requests{0};      // the main loop runs while this is 0; audio thread may bump it
    int  show_started = 0;                  // becomes 1 just before the music starts
    bool unattended = false;                // messages go to stderr only, never wait for a click
};
extern AppSettings app;   // written by app/ at start-up; quit_requests by any thread

int next_power_of_two(int n);   // smallest 2^k >= n for 1 < n <= 65536, else 0
