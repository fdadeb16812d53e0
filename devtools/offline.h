// devtools/offline.h - the show without music or a visible window: frames rendered at
// chosen show times into PNG files, the frame-time benchmark, and the script's text form.
// Show time comes from the music's virtual clock (set_virtual_time); each rendered time is
// preceded by a short pre-roll at 60 frames per second, so the scenes that read their
// previous picture look as they do live.
#pragma once
#include "platform/options.h"   // Options
#include <string>
#include <vector>

constexpr int OFFLINE_PREROLL_FRAMES = 30;   // frames before each rendered time, 1/60 s apart
constexpr double OFFLINE_TEMPO = 130.0;      // the show's beats per minute, as the music is opened with

// Exit statuses: 0 done, 2 a bad folder, 1 output lost; fatal errors and stop signals end the
// process as devtools/offline_job.h describes.
std::vector<double> preroll_times(double t);         // the frames rendered before t, oldest first
int  describe_show_time(float t);                   // prints the frame's plan to stdout
int  render_show_times(const Options &opts);        // PNG per time
int  run_benchmark(const Options &opts);            // timings to stdout
bool make_output_folder(const std::string &dir);   // made if missing and writable; else says why on stderr

// The pieces the tools share (also the video export): a hidden window of opts' size with
// the precalc done and the offline music open, frames rendered at virtual show times, and
// the finished picture read back.
double start_offline_show(const Options &opts);     // returns the precalc's seconds
void   stop_offline_show();                         // music, window, SDL
void   render_frame_at(double t);                   // one frame at show time t (patterns)
void   render_with_preroll(double t);               // the pre-roll frames before t (none before 0), then t
void   read_back_frame(const Options &opts, unsigned char *rgb);   // width x height RGB, bottom row first
