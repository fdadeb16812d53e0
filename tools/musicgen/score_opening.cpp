// tools/musicgen/score_opening.cpp - the title and section 1: a pad rising out of silence,
// the first kicks, the groove with its call and response, the build and the first drop,
// then the breakdown and the roll into section 2.
#include "tools/musicgen/drums.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

void score_title() {
    pad(at(0.0), at(1.0), FM9, 1.5f, 600.0f, 1400.0f, 3.2f, 0.8f, 0.0f);
    pad(at(1.0), at(2.0) - at(1.0), DBMAJ7, 1.5f, 1000.0f, 4200.0f, 0.3f, 0.6f, 0.0f);
    static const struct { double t; int midi; } HINT[] = {
        { 0.25, 72 }, { 0.3125, 75 }, { 0.375, 77 }, { 0.5, 75 }, { 0.5625, 72 }, { 0.625, 70 },
        { 1.0, 73 }, { 1.0625, 72 }, { 1.125, 70 }, { 1.25, 68 }, { 1.3125, 67 }, { 1.375, 65 },
    };
    for (const auto &h : HINT) bell(at(h.t), h.midi + 12, 0.6f, 3.5f, 1.2f, 0.5f);
    stab(at(0.875), DB, 0.3f, 3000.0f, 0.2f);
    clap(at(0.875), 0.15f);
    stab(at(1.0), DBMAJ7, 0.4f, 3500.0f, 0.22f);
    clap(at(1.0), 0.2f);
    riser(at(1.5), at(2.0), 0.22f, 2.0f);
    reverse_crash(at(2.0), 0.25f, 2.5f);
}

static const Chord *const S1_CHORDS[4] = { &FM, &DB, &AB, &EB };
static const int S1_ROOTS[4] = { R_F, R_DB, R_AB, R_EB };

void score_section1() {
    // 2-4: kick, sub and a filtered pad; the call and response starts small.
    for (int p = 2; p < 4; p++) {
        Groove g; g.kick = 0.75f; g.hats = 2; g.hat = 0.6f; g.open = 0.15f;
        if (p == 3) g.last = 13;
        groove(p, g);
        bassline(p, S1_ROOTS, 0, 0.5f, 500.0f);
        pad_bars(p, S1_CHORDS, 0.6f, 700.0f, 1300.0f, 0.35f);
        theme(p, 0, 0.45f, 0.6f, 0x5);
        arp(p + 0.25, p + 0.5, *S1_CHORDS[1], 2, 1, 0.35f, 0.4f);
        arp(p + 0.75, p + 1.0, *S1_CHORDS[3], 2, 1, 0.35f, 0.4f);
    }
    riser(at(3.5), at(4.0), 0.3f, 2.0f);
    reverse_crash(at(4.0), 0.35f, 1.8f);

    // 4-17: the full groove. The answer phrase grows over 6-10; the theme enters at 10;
    // a new rolling bass at 12; sparkle plucks from 14; the build from 15.
    for (int p = 4; p < 17; p++) {
        Groove g; g.clap = 0.8f; g.hats = 2; g.hat = 0.8f; g.open = 0.45f;
        groove(p, g);
        bassline(p, S1_ROOTS, p < 12 ? 1 : 2, 0.85f, p < 12 ? 700.0f : 900.0f);
        pad_bars(p, S1_CHORDS, 0.75f, 1500.0f, 2200.0f, 0.45f);
        if (p >= 6) {
            float u = p >= 10 ? 1.0f : (p - 6) / 4.0f;
            float grow = 1.0f - (1.0f - u) * (1.0f - u);
            bool statement = p >= 10 && p < 12;
            theme(p, 0, statement ? 0.9f : 0.6f, statement ? 1.0f : 0.7f, statement ? 0xF : 0x5);
            if (!statement) {
                arp(p + 0.25, p + 0.5, *S1_CHORDS[1], 1, 1, 0.2f + 0.5f * grow, 0.7f);
                arp(p + 0.75, p + 1.0, *S1_CHORDS[3], 1, 1, 0.2f + 0.5f * grow, 0.7f);
                pad(at(p + 0.25), at(p + 0.5) - at(p + 0.25), *S1_CHORDS[1], 0.4f * grow, 2500.0f, 3500.0f,
                    0.6f, 0.3f, 0.3f);
            }
        }
        if (p >= 14) arp(p, p + 1.0, *S1_CHORDS[(p & 1) * 2], 1, 2, 0.35f, 1.0f);
    }
    accent(4.0, FM, 1.0f);
    impact(at(12.0), 0.9f);
    downlifter(at(12.0), at(12.5) - at(12.0), 0.4f);
    for (double t : { 7.0, 10.0, 13.0, 16.0 }) accent(t, t == 16.0 ? FM : DB, 0.9f);
    for (double t : { 15.0, 15.5, 16.5 }) stab(at(t), EB, 0.6f, 6000.0f, 0.15f);
    riser(at(15.0), at(17.0), 0.5f, 2.0f);
    roll(16.5, 16.75, 4, 0.2f, 0.4f);
    roll(16.75, 17.0, 2, 0.4f, 0.7f);

    // 17-19: the first drop.
    impact(at(17.0), 1.0f);
    sub_boom(at(17.0), 0.8f, 0.5f, 1.3f);
    accent(17.0, FM, 1.1f);
    for (int p = 17; p < 19; p++) {
        Groove g; g.clap = 0.85f; g.snare = 0.35f; g.hats = 2; g.hat = 0.9f; g.open = 0.55f;
        groove(p, g);
        bassline(p, S1_ROOTS, 2, 0.95f, 1100.0f);
        pad_bars(p, S1_CHORDS, 0.85f, 2200.0f, 2800.0f, 0.5f);
        theme(p, 0, 1.0f, 1.1f, 0xF);
        arp(p, p + 1.0, *S1_CHORDS[0], 2, 1, 0.3f, 0.8f);
    }

    // 19-21: breakdown on D-flat, E-flat, C; the last kick on 19.0; filters close into the roll.
    kick(at(19.0), 1.0f);
    crash(at(19.0), 0.5f, 1.2f);
    static const Chord *const BREAK[4] = { &DB, &DB, &EB, &CMAJ };
    static const int BREAK_ROOTS[4] = { R_DB, R_DB, R_EB, R_C };
    for (int h = 0; h < 4; h++) {
        double t = 19.0 + 0.5 * h;
        static const float CUT[5] = { 2600.0f, 2600.0f, 2600.0f, 1300.0f, 600.0f };   // closing from 20
        float cut0 = CUT[h], cut1 = CUT[h + 1];
        pad(at(t), at(t + 0.5) - at(t), *BREAK[h], 0.7f, cut0, cut1, 0.08f, 0.3f, 0.0f);
        bass(at(t), at(t + 0.5) - at(t) - 300, BREAK_ROOTS[h], 0.15f, 300.0f);
        arp(t, t + 0.5, *BREAK[h], 2, 1, 0.4f, 0.8f);
        for (int e = 0; e < 8; e++) hat(at(t + e * 2 * SIXTEENTH), 0.3f, 0.2f, (long)(0.04f * RATE));
    }
    accent(19.0, DB, 0.7f);
    roll(20.5, 20.75, 2, 0.25f, 0.45f);
    roll(20.75, 21.0, 1, 0.45f, 0.8f);
    riser(at(20.0), at(21.0), 0.55f, 3.0f);
    reverse_crash(at(21.0), 0.45f, 1.5f);
}
