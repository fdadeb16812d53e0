// tools/musicgen/score.h - the arrangement. Times are show time in patterns (16 beats,
// 7.3846 s); a beat is 1/16, a bar 1/4. The sections render in a fixed order into the mix,
// each file owning a stretch of the show, and share the phrase builders declared here.
#pragma once
#include <vector>
#include "tools/musicgen/instruments.h"
#include "tools/musicgen/master.h"

constexpr double BEAT = 1.0 / 16, BAR = 0.25, SIXTEENTH = 1.0 / 64;

//---- Harmony: pad voicings and bass roots ----
extern const Chord FM, FM9, DB, DBMAJ7, AB, EB, CMAJ, BBM7, EBMAJ7, CM7, GM, GM9, BB, FMAJ, DMAJ, GB;
constexpr int R_E = 28, R_F = 29, R_GB = 30, R_G = 31, R_AB = 32, R_BB = 34, R_C = 36, R_DB = 37,
              R_D = 38, R_EB = 39;

//---- Phrase builders shared by the sections ----
struct Groove {
    float kick = 1.0f;         // 0 = no kick
    int   first = 1, last = 16;   // beats (1..16) of the pattern that get the kick
    float clap = 0.0f;         // clap on beats 2 and 4 of each bar
    float snare = 0.0f;        // snare layered on the clap
    int   hats = 0;            // 0 none, 1 eighths, 2 sixteenths
    float hat = 1.0f;          // closed-hat level
    float open = 0.0f;         // open hats on the off-beat eighths
};
void groove(double t, const Groove &g);                                    // one pattern of drums
void bassline(double t, const int roots[4], int style, float vel, float cutoff);   // one pattern
void pad_bars(double t, const Chord *const ch[4], float vel, float cut0, float cut1, float duck);
void theme(double t, int transpose, float vel, float bright, int bars_mask);   // lead theme, one pattern
void arp(double t0, double t1, const Chord &c, int step, int octave, float vel, float bright);
void accent(double t, const Chord &c, float vel);                          // stab + clap + crash
void roll(double t0, double t1, int step, float v0, float v1);             // snare roll, step in 1/64

//---- The sections, in render order ----
void score_title();        // [0, 2)
void score_section1();     // [2, 21)
void score_section2();     // [21, 33)
void score_section3();     // [33, 46)
void score_section4();     // [46, 66)
void score_section5();     // [66, 79)
void score_ending();       // [79, 86)
std::vector<GainPoint> master_automation();   // fades and the black frame before the final drop
void render_score();       // all of the above into the mix, sends not yet run
