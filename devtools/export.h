// devtools/export.h - the show as a video file with its music (--export): frames rendered
// offline at show times from + k / fps seconds, exactly as --render makes them (the first
// one after the usual pre-roll), and the stretch of the track heard meanwhile.
//
// Frame k covers the track's samples [first + k x rate / fps, first + (k + 1) x rate / fps),
// rounded down, where first is the sample at the starting show time: pictures and sound
// start together and tile the stretch without gaps, and over any number of frames the sound
// is never a sample ahead of or behind the pictures.
#pragma once
#include "platform/options.h"   // Options
#include <string>

struct ExportPlan {
    double    from_seconds;   // show time of frame 0
    int       fps;            // frames per second
    long long frames;         // pictures in the video
    int       rate;           // the track's samples per second
    long long first_sample;   // the track's sample heard with frame 0
};

// The plan for show times [from, to) in patterns (to < 0: the end of a track of track_samples);
// false with a one-line reason for times outside the track or backwards. Enough frames to
// cover the stretch: the last one may run past its end, into silence after the track.
bool plan_export(double from, double to, int fps, long long track_samples, int rate,
                 ExportPlan &plan, std::string &error);
double    export_frame_time(const ExportPlan &plan, long long k);     // show time of frame k, patterns
long long export_frame_sample(const ExportPlan &plan, long long k);   // first track sample of frame k

int run_export(const Options &opts);   // 0 when the file is written; 2 on a refusal or failure;
                                       // 128 + signal when stopped by Ctrl-C or SIGTERM
