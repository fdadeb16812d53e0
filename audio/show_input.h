// audio/show_input.h - what the pictures read from the music each frame: show time and the
// four band sums. Live, they come from the music player's clock and spectrum; offline
// (rendering to files, the benchmark, tests) the caller sets show time itself. Everything
// that draws asks here, so the live and offline paths differ in this file only.
#pragma once

constexpr int SHOW_BANDS = 4;

void         set_offline_time(double patterns);   // offline from now on: show time is this
bool         offline_time_set();                  // true once set_offline_time was called
float        read_show_time();                    // this frame's show time in patterns
void         refresh_band_sums();                 // bring the band sums up to the current time
const float *current_band_sums();                 // bass, low middle, high middle, treble
