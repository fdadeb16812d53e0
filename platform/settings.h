// platform/settings.h - the process-wide settings chosen at start-up and the quit counter.
// The dialog (or the command line) writes them once before the window exists; everything
// else only reads them, except quit_requests, which any event that ends the show bumps.
#pragma once
#include <atomic>

struct AppSettings {
    bool fullscreen = true;                 // full-screen display mode chosen at start-up
    int  window_width = 640;                // the picture's size; every full-picture viewport reads it
    int  window_height = 480;
    int  picture_x = 0, picture_y = 0;      // the picture's lower-left corner in the window (black bars beside)
    int  drawable_width = 640;              // the whole window, bars included
    int  drawable_height = 480;
    bool desktop = false;                   // full screen at the desktop's own resolution, no mode change
    bool loop_music = false;                // "Loop": the music (and show) restarts at its end
    bool gentle = false;                    // "Reduce flashing": limit the picture's flashes (--gentle)
    int  offscreen_texture_width = 0;       // texture size receiving the 384x288 offscreen viewport
    int  offscreen_texture_height = 0;
    std::atomic<int> quit_requests{0};      // the main loop runs while this is 0; audio thread may bump it
    int  show_started = 0;                  // becomes 1 just before the music starts
    bool unattended = false;                // messages go to stderr only, never wait for a click
};
extern AppSettings app;   // written by app/ at start-up; quit_requests by any thread

int next_power_of_two(int n);   // smallest 2^k >= n for 1 < n <= 65536, else 0

// The largest 4:3 rectangle centred in a w x h window (the rest are the black bars).
struct PictureArea { int x, y, width, height; };
PictureArea fit_picture_area(int w, int h);
// Sets the drawable size and the picture's place in it (window_width/height included).
void set_picture_area(int drawable_w, int drawable_h);
void set_picture_viewport();    // glViewport over the picture
void clear_picture_bars();      // black outside the picture (nothing when it fills the window)

