// devtools/offline.h - the show without music or a visible window: frames rendered at
// chosen show times into PNG files, the frame-time benchmark, and the script's text form.
// Show time comes from the music's virtual clock (set_virtual_time); each rendered time is
// preceded by a short pre-roll at 60 frames per second, so the scenes that read their
// previous picture look as they do live.
#pragma once
#include "app/options.h"   // Options

constexpr int OFFLINE_PREROLL_FRAMES = 30;   // frames before each rendered time, 1/60 s apart

// Exit statuses: 0 done, 2 a bad folder, 1 output lost; fatal errors and stop signals end the
// process as devtools/offline_job.h describes.
int  describe_show_time(float t);                   // prints the frame's plan to stdout
int  render_show_times(const Options &opts);        // PNG per time
int  run_benchmark(const Options &opts);            // timings to stdout
