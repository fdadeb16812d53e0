// audio/show_input.cpp - show time and band sums for the timeline and the final passes.
// Until the player's spectrum is in the tree the band sums stay at silence.
#include "audio/show_input.h"
#include "audio/music.h"   // Required for: pattern_clock()

static struct {
    bool   offline;                 // set_offline_time was called
    double time;                    // offline show time in patterns
    float  bands[SHOW_BANDS];       // latest band sums
} input;

void set_offline_time(double patterns) {
    input.offline = true;
    input.time = patterns;
}

bool offline_time_set() { return input.offline; }

float read_show_time() {
    return input.offline ? float(input.time) : pattern_clock();
}

void refresh_band_sums() {
    for (float &b : input.bands) b = 0.0f;
}

const float *current_band_sums() { return input.bands; }
