// show/timeline.h - the show's script: chooses, composes and finishes the scenes by time.
// Each frame is planned first (show/frame_plan.h: a list of scene and pass calls, a pure
// function of show time) and then drawn by making those calls in order.
#pragma once

constexpr double SHOW_TEMPO = 130.0;   // the music's beats per minute; a pattern is 16 beats

void   timeline();                     // reads the pattern clock and band sums, draws the whole window
                                       // picture, then limits its flashing when app.gentle is set
double show_seconds(float patterns);   // show time in seconds
