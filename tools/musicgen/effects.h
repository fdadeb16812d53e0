// tools/musicgen/effects.h - one-shot effects (risers, impacts, zaps, clangs) and the
// varispeed rewrites (rewind, scratch, power-down) that replay a stretch of the mix.
#pragma once
#include <vector>

void riser(long s0, long s1, float vel, float power);    // noise sweep up, amplitude u^power, ends on s1
void downlifter(long s0, long len, float vel);            // noise sweep down with a falling tone
void impact(long s0, float vel);                          // sub sweep 60->30 Hz with a noise blast
void sub_boom(long s0, float vel, float seconds, float drive);   // F1 thump; drive squares it up
void zap(long s0, float vel);                             // laser: fast falling resonant sweep
void clang(long s0, int midi, float vel, float decay);    // ring-modulated metal (F against G-flat)

// Replaces frames [s0, s1) of every bus by a replay of the same buses: the read head starts
// at s0 and moves speed(u) frames per frame, u = 0..1 across the span.
void varispeed_span(long s0, long s1, const float *speed);   // speed given per frame
template <class Speed> void varispeed(long s0, long s1, Speed speed) {
    std::vector<float> s(s1 - s0);
    for (long i = 0; i < s1 - s0; i++) s[i] = speed((float)i / (float)(s1 - s0));
    varispeed_span(s0, s1, s.data());
}
