// tools/musicgen/score_middle.cpp - section 2, the main-theme montage with its cube hits,
// eighth-note stabs and rewind, and section 3, the gallery phrases and the metallic break.
#include "tools/musicgen/drums.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

static const Chord *const S2_CHORDS[4] = { &FM, &FM, &DB, &EB };
static const int S2_ROOTS[4] = { R_F, R_F, R_DB, R_EB };

void score_section2() {
    impact(at(21.0), 1.1f);
    sub_boom(at(21.0), 0.8f, 0.4f, 1.3f);
    accent(21.0, FM, 1.2f);
    for (int p = 21; p < 32; p++) {
        Groove g; g.kick = 1.05f; g.clap = 0.85f; g.snare = 0.3f; g.hats = 2; g.hat = 0.9f; g.open = 0.5f;
        bool build = p >= 30;
        if (p == 23 || p == 25 || p == 29) g.first = 2;   // the cube hit's boom is this downbeat's kick
        groove(p, g);
        const Chord *const *ch = S2_CHORDS;
        const int *roots = S2_ROOTS;
        static const Chord *const TURN_A[4] = { &DB, &DB, &DB, &EB };
        static const Chord *const TURN_B[4] = { &EB, &EB, &CMAJ, &CMAJ };
        static const int TURN_A_ROOTS[4] = { R_DB, R_DB, R_DB, R_EB }, TURN_B_ROOTS[4] = { R_EB, R_EB, R_C, R_C };
        if (p == 30) { ch = TURN_A; roots = TURN_A_ROOTS; }
        if (p == 31) { ch = TURN_B; roots = TURN_B_ROOTS; }
        bassline(p, roots, 2, 1.0f, build ? 900.0f + 500.0f * (p - 30) : 1000.0f);
        float u = build ? (p - 30) / 2.0f : 1.0f;
        pad_bars(p, ch, 0.85f, build ? 1200.0f + 2400.0f * u * u * u : 2400.0f,
                 build ? 1200.0f + 2400.0f * (u + 0.5f) * (u + 0.5f) * (u + 0.5f) : 2400.0f, 0.5f);
        if (p != 26) theme(p, p == 27 || p == 28 ? 12 : 0, 0.9f, 1.0f, p >= 30 ? 0x5 : 0xF);
        for (int bar = 0; bar < 4; bar++) stab(at(p + bar * BAR), *ch[bar], 0.35f, 4000.0f, 0.12f);   // downbeat accents
    }
    // The cube hits: heavy kick and sub boom on 23 and 25, a full-spectrum hit on 29.
    for (double t : { 23.0, 25.0, 29.0 }) mix.kick_beat[(long)(t * 16)] = 1;
    for (double t : { 23.0, 25.0 }) sub_boom(at(t), 2.2f, 0.3f, 6.0f);
    stab(at(25.0), DB, 0.8f, 6000.0f, 0.16f);
    accent(22.0, FM, 0.9f);
    accent(25.0, DB, 0.8f);
    accent(28.0, EB, 0.9f);
    riser(at(23.5), at(24.0), 0.3f, 2.0f);
    for (int e = 0; e < 32; e++) {                       // 26: eighth-note stabs and claps all pattern
        double t = 26.0 + e * 2 * SIXTEENTH;
        stab(at(t), (e & 8) ? DB : FM, 0.55f, 6500.0f, 0.09f);
        if (e & 1) clap(at(t), 0.5f);
    }
    roll(28.75, 29.0, 1, 0.3f, 0.7f);
    sub_boom(at(29.0), 1.15f, 0.3f, 6.0f);
    stab(at(29.0), FM, 1.2f, 9000.0f, 0.2f);
    {
        Chord bright = FM;
        for (int i = 0; i < bright.n; i++) bright.notes[i] += 12;
        stab(at(29.0), bright, 2.6f, 14000.0f, 0.2f);
    }
    crash(at(29.0), 1.1f, 1.4f);
    accent(31.0, CMAJ, 0.8f);
    riser(at(30.0), at(32.0), 0.8f, 3.0f);

    // 32: the fastest part on an F pedal, reverse swells into beats 6 and 14, then the rewind.
    {
        Groove g; g.kick = 1.05f; g.clap = 0.9f; g.snare = 0.4f; g.hats = 2; g.hat = 1.0f; g.open = 0.6f;
        groove(32, g);
        static const int PEDAL[4] = { R_F, R_F, R_F, R_F };
        bassline(32, PEDAL, 2, 1.0f, 1400.0f);
        static const Chord *const P32[4] = { &FM, &DB, &FM, &EB };
        pad_bars(32, P32, 0.85f, 3000.0f, 3500.0f, 0.5f);
        theme(32, 12, 0.8f, 1.1f, 0xF);
        arp(32, 33, FM, 1, 2, 0.3f, 1.0f);
        crash(at(32.0), 0.8f, 1.0f);
        for (double peak : { 32.3125, 32.8125 }) {
            long e = at(peak), len = at(peak) - at(peak - 4 * BEAT);
            pad(e - len, len, FM9, 0.9f, 1500.0f, 7000.0f, (float)len / RATE, 0.05f, 0.0f);
            reverse_crash(e, 0.3f, (float)len / RATE);
        }
    }
}

// Section 3: two-pattern phrases from 33 to 45, one chord per half pattern.
static const Chord *const S3_CHORDS[4] = { &DBMAJ7, &BBM7, &EB, &FM };
static const int S3_ROOTS[4] = { R_DB, R_BB, R_EB, R_F };

void score_section3() {
    for (int p = 33; p < 44; p++) {
        int phase = (p - 33) & 1;                        // 0: phrase opening, 1: second pattern
        Groove g; g.kick = 0.95f; g.clap = 0.95f; g.hats = 2; g.hat = phase ? 0.9f : 0.6f;
        g.open = phase ? 0.5f : 0.0f;
        if (p == 43) g.last = 12;
        groove(p, g);
        for (int h = 0; h < 2; h++) {
            int c = phase * 2 + h;
            double t = p + 0.5 * h;
            float cut0 = c == 1 ? 900.0f : c == 2 ? 2000.0f : 2600.0f, cut1 = c == 1 ? 2000.0f : c == 2 ? 2600.0f : 2600.0f;
            if (c == 0) { cut0 = 2000.0f; cut1 = 2000.0f; }
            pad(at(t), at(t + 0.5) - at(t), *S3_CHORDS[c], 1.25f, cut0, cut1, 0.03f, 0.2f, 0.45f);
            int roots[4] = { S3_ROOTS[c], S3_ROOTS[c], S3_ROOTS[c], S3_ROOTS[c] };
            for (int bar = 0; bar < 2; bar++) {
                int style = c >= 2 ? 2 : 1;
                double tb = t + bar * BAR;
                if (style == 1) for (int b = 0; b < 4; b++) {
                    double s = tb + b * BEAT + 2 * SIXTEENTH;
                    bass(at(s), at(s + 2 * SIXTEENTH) - at(s) - 400, roots[0], 0.85f, 700.0f);
                } else for (int q = 1; q < 16; q++) {
                    if ((q & 3) == 0) continue;
                    double s = tb + q * SIXTEENTH;
                    bass(at(s), at(s + SIXTEENTH) - at(s) - 300, roots[0], 0.8f, 1000.0f);
                }
            }
            if (c == 0) theme(t, 0, 0.75f, 0.8f, 0x1);   // the phrase-opening motif
            if (c == 1) stab(at(t), *S3_CHORDS[c], 0.55f, 5000.0f, 0.15f);   // secondary accent at +0.5
            if (c >= 2) arp(t, t + 0.5, *S3_CHORDS[c], 1, 1, 0.5f, 1.0f);
            else arp(t, t + 0.5, *S3_CHORDS[c], 2, 2, 0.3f, 0.9f);
        }
        if (p >= 37 && p < 42) pad(at(p + 1 * BEAT), at(p + 7 * BEAT) - at(p + BEAT), GB, 0.35f, 1800.0f, 3200.0f,
                                   1.0f, 0.4f, 0.3f);   // the emblem's swell
    }
    for (double t : { 34.0, 36.0, 37.0, 40.0, 41.0, 43.0 }) accent(t, *S3_CHORDS[((int)t - 33) & 1 ? 2 : 0], 0.9f);
    for (int e = 0; e < 8; e++) {                        // 42.0-42.25: an eighth-note stab run
        double t = 42.0 + e * 2 * SIXTEENTH;
        stab(at(t), FM, 0.6f, 6000.0f, 0.08f);
        snare(at(t), 0.4f + 0.05f * e);
    }
    for (double t : { 42.4375, 42.9375, 43.4375 }) { stab(at(t), DB, 0.9f, 7000.0f, 0.14f); kick(at(t), 0.5f); }
    for (double t : { 43.75, 43.8125, 43.875 }) { stab(at(t), EB, 0.8f, 6000.0f, 0.06f); kick(at(t), 0.9f); }
    riser(at(43.0), at(43.9375), 0.5f, 3.0f);

    // 44: the break. Drums out; an F drone with a G-flat clang; a smaller hit on 45.
    impact(at(44.0), 0.9f);
    clang(at(44.0), 65, 0.9f, 0.6f);
    crash(at(44.0), 0.7f, 1.5f);
    pad(at(44.0), at(45.75) - at(44.0), FM, 1.0f, 1100.0f, 1800.0f, 0.01f, 0.6f, 0.0f);
    bass(at(44.0), at(45.75) - at(44.0), R_F, 0.35f, 300.0f);
    for (double t : { 44.25, 44.5, 44.75, 45.25, 45.5 }) clang(at(t), 77, 0.25f, 0.3f);
    clang(at(45.0), 65, 0.55f, 0.45f);
    crash(at(45.0), 0.35f, 0.8f);
    riser(at(45.0), at(46.0), 0.45f, 2.0f);
}
