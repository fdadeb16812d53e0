// tools/musicgen/mix.h - the beat grid, the mix buses every voice writes into, and the
// sidechain ducking computed from where the score put its kicks.
// One pattern is 16 beats at 130 BPM; grid positions are taken from their 1/64-pattern index
// and rounded once, so nothing drifts over the ten minutes.
#pragma once
#include <cstdint>
#include <vector>
#include "tools/musicgen/dsp.h"

constexpr long   TOTAL_FRAMES = 28006893;          // round(86 patterns) + 1 frames
constexpr double BEAT_SAMPLES = 264600.0 / 13.0;   // 20353.846 frames per beat
constexpr int    ECHO_DOTTED  = 15265;             // dotted-eighth delay in frames
constexpr int    ECHO_EIGHTH  = 10177;             // eighth delay in frames

inline long grid_sample(long q16) { return (q16 * 66150 + 6) / 13; }   // sixteenth index -> frame
inline long at(double t) {                         // show time in patterns -> frame (1/64 grid)
    double q = t * 64.0;
    return grid_sample((long)(q + (q >= 0 ? 0.5 : -0.5)));
}
inline long beats(double n) { return (long)(n * BEAT_SAMPLES + 0.5); }   // a duration in frames

struct Mix {
    std::vector<float>   l, r;        // dry stereo bus
    std::vector<float>   verb;        // mono send into the reverb
    std::vector<float>   echo;        // mono send into the ping-pong delay
    std::vector<float>   boom;        // mono sub booms, joined after the DC blocker to keep their shape
    std::vector<float>   kick_stem;   // the kicks alone, only when asked for (grid checks)
    std::vector<uint8_t> kick_beat;   // 1 where a kick lands on the beat: drives the ducking
    void reset();                     // allocate and clear every bus for the whole track
    void add(long i, float v, float pan, float verb_send, float echo_send) {
        if (i < 0 || i >= TOTAL_FRAMES) return;
        l[i] += v * (pan > 0 ? 1.0f - pan : 1.0f);
        r[i] += v * (pan < 0 ? 1.0f + pan : 1.0f);
        verb[i] += v * verb_send;
        echo[i] += v * echo_send;
    }
    void add_lr(long i, float vl, float vr, float verb_send, float echo_send) {
        if (i < 0 || i >= TOTAL_FRAMES) return;
        l[i] += vl; r[i] += vr;
        verb[i] += 0.5f * (vl + vr) * verb_send;
        echo[i] += 0.5f * (vl + vr) * echo_send;
    }
};
extern Mix mix;   // written by the voices while the score renders, then mastered

float duck(long i, float depth);  // sidechain gain at frame i: 1 - depth right after a kick
