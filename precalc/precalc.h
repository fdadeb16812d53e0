// precalc/precalc.h - builds every texture and mesh behind the loading screen.
// The work runs in fixed groups; after each group one loading frame is drawn and presented,
// its progress bar revealing the lower half of the loading picture from the left.
#pragma once
#include "precalc/resources.h"   // ShowResources res: what the precalc fills

constexpr int LOADING_LAST_STEP = 20;

struct PrecalcGlobals {
    int frames_shown;   // loading frames presented so far
    int last_step;      // step of the latest loading frame
};
extern PrecalcGlobals loading;   // written by draw_loading_screen; read by tests

void precalc();                             // runs once before the music starts; GL context current
void draw_loading_frame(int step);          // one loading picture (step 0..20) into the back buffer
void draw_loading_screen(int step);         // draw_loading_frame, then present it
unsigned char *make_stripe_image();         // 512x512 RGBA stripes from the random sequence (free())
