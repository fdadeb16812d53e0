// tools/musicgen/score_closing.cpp - section 4, the mechanical Phrygian groove with its
// six-beat metal ostinato, and section 5, the final drop in G minor with the laser arp
// that grows with the beams, the power-down and the coda.
#include "tools/musicgen/drums.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

static const Chord *const S4_CHORDS[4] = { &FM, &GB, &FM, &GB };
static const int S4_ROOTS[4] = { R_F, R_F, R_F, R_F };

void score_section4() {
    // The ostinato: six beats long, restarting every 0.375 patterns from 45.75.
    static const struct { int q, midi; } METAL[] = {
        { 0, 77 }, { 3, 78 }, { 6, 77 }, { 10, 84 }, { 12, 77 }, { 16, 78 }, { 19, 72 }, { 22, 78 } };
    for (int k = 0; k < 54; k++) {
        double t0 = 45.75 + 0.375 * k;
        for (const auto &m : METAL) {
            double t = t0 + m.q * SIXTEENTH;
            if (t >= 65.9375) break;
            clang(at(t), m.midi, m.q == 0 ? 0.3f : 0.18f, 0.07f);
        }
    }
    for (int p = 46; p < 66; p++) {
        Groove g; g.kick = 0.9f; g.clap = 1.0f; g.snare = 0.55f; g.hats = p >= 49 ? 2 : 1; g.hat = 0.85f;
        g.open = p >= 54 ? 0.5f : 0.0f;
        if (p == 65) g.last = 15;
        groove(p, g);
        const Chord *const *ch = S4_CHORDS;
        const int *roots = S4_ROOTS;
        static const Chord *const TURN[4] = { &DB, &EB, &FM, &CMAJ };
        static const int TURN_ROOTS[4] = { R_DB, R_EB, R_F, R_C };
        static const Chord *const PEDAL[4] = { &DMAJ, &DMAJ, &DMAJ, &DMAJ };
        static const int PEDAL_ROOTS[4] = { R_D, R_D, R_D, R_D };
        if (p >= 60 && p < 64) {
            static const Chord *one[4];
            static int r[4];
            for (int i = 0; i < 4; i++) { one[i] = TURN[p - 60]; r[i] = TURN_ROOTS[p - 60]; }
            ch = one; roots = r;
        }
        if (p >= 64) { ch = PEDAL; roots = PEDAL_ROOTS; }
        bassline(p, roots, p >= 64 ? 2 : 3, 1.2f, 1000.0f);
        pad_bars(p, ch, 0.7f, p >= 47 && p < 49 ? 1200.0f + 700.0f * (p - 47) : 2200.0f,
                 p >= 47 && p < 49 ? 1900.0f + 700.0f * (p - 47) : 2200.0f, 0.5f);
        if (p >= 49 && p < 60)
            for (int bar = 0; bar < 4; bar++) {
                stab(at(p + bar * BAR), *ch[bar], 0.4f, 5000.0f, 0.1f);
                stab(at(p + bar * BAR + BEAT), *ch[bar], 0.3f, 4000.0f, 0.1f);
            }
        if (p >= 49 && p < 54) arp(p, p + 1.0, *ch[0], 1, 1, 0.28f, 0.8f);
        if (p >= 54 && p < 60) theme(p, 0, 0.9f, 1.0f, 0xF);
        if (p >= 60 && p < 62) for (int bar = 0; bar < 4; bar++) stab(at(p + bar * BAR), *ch[bar], 0.7f, 6500.0f, 0.14f);
    }
    riser(at(47.0), at(49.0), 0.5f, 2.0f);
    crash(at(49.0), 0.6f, 1.0f);
    for (double t : { 46.0, 49.0, 52.0, 58.0, 61.0 }) accent(t, FM, 0.9f);
    for (double t : { 55.0, 56.0, 56.5, 57.0, 57.5 }) accent(t, t == 56.5 ? GB : FM, 0.8f);

    // 54: the drop, after a bar of scratching.
    varispeed(at(53.75), at(54.0), [](float u) { return 2.4f * sin_turns(8.0f * u); });
    impact(at(54.0), 1.0f);
    accent(54.0, FM, 1.1f);
    riser(at(62.5), at(64.0), 0.6f, 2.0f);

    // 64: the laser shot, an accelerating riser and the roll into the black frame.
    zap(at(64.0), 0.9f);
    impact(at(64.0), 1.0f);
    accent(64.0, DMAJ, 1.0f);
    riser(at(64.0), at(65.9375), 0.8f, 5.0f);
    roll(65.0, 65.5, 2, 0.3f, 0.5f);
    roll(65.5, 65.9375, 1, 0.5f, 0.85f);
}

static const Chord *const S5_CHORDS[4] = { &GM, &EB, &BB, &FMAJ };
static const Chord *const S5_BROAD[4] = { &GM, &GM, &EB, &EB };
static const Chord *const S5_BROAD2[4] = { &BB, &BB, &FMAJ, &FMAJ };
static const int S5_ROOTS[4] = { R_G, R_EB, R_BB, R_F };
static const int S5_BROAD_ROOTS[4] = { R_G, R_G, R_EB, R_EB }, S5_BROAD2_ROOTS[4] = { R_BB, R_BB, R_F, R_F };

void score_section5() {
    impact(at(66.0), 1.2f);
    sub_boom(at(66.0), 0.9f, 0.4f, 1.3f);
    accent(66.0, GM, 1.2f);
    for (int p = 66; p < 78; p++) {
        bool broad = p >= 72 && p < 75;
        const Chord *const *ch = broad ? ((p & 1) ? S5_BROAD2 : S5_BROAD) : S5_CHORDS;
        const int *roots = broad ? ((p & 1) ? S5_BROAD2_ROOTS : S5_BROAD_ROOTS) : S5_ROOTS;
        Groove g; g.kick = 1.05f; g.clap = 0.95f; g.snare = 0.45f; g.hats = 2; g.hat = 1.0f; g.open = 0.6f;
        if (p == 77) { g.last = 8; g.hats = 0; g.open = 0.0f; }
        if (p == 77) {   // half a pattern of drums before the power-down
            Groove h = g; h.clap = 0.0f; h.snare = 0.0f;
            groove(p, h);
            for (int b = 1; b < 8; b += 2) { clap(at(p + b * BEAT), g.clap); snare(at(p + b * BEAT), g.snare); }
            for (int s = 0; s < 32; s++) hat(at(p + s * SIXTEENTH), 0.5f, 0.2f, (long)(0.04f * RATE));
        } else {
            groove(p, g);
        }
        long end = p == 77 ? at(77.5) : at(p + 1);
        if (p == 77) {
            for (int bar = 0; bar < 2; bar++) bass(at(p + bar * BAR), at(p + bar * BAR + BAR) - at(p + bar * BAR) - 300, roots[bar], 0.9f, 1000.0f);
            for (int bar = 0; bar < 2; bar++) pad(at(p + bar * BAR), at(p + bar * BAR + BAR) - at(p + bar * BAR), *ch[bar], 0.9f, 2800.0f, 2800.0f, 0.02f, 0.12f, 0.5f);
        } else {
            bassline(p, roots, 2, 1.0f, 1200.0f);
            pad_bars(p, ch, broad ? 1.0f : 0.85f, 2800.0f, 3200.0f, 0.5f);
            theme(p, 2, 0.95f, 1.15f, 0xF);
            if (broad) theme(p, 14, 0.5f, 1.0f, 0xF);
        }
        for (int b = 0; b < 16; b += 8) if (at(p + b * BEAT) < end) crash(at(p + b * BEAT), 0.45f, 0.9f);
        if (p >= 68 && p < 77)                                        // pads pump on beats 3 and 11
            for (int b : { 2, 10 }) pad(at(p + b * BEAT), beats(1.5), *ch[b / 4], 0.5f, 4000.0f, 2000.0f, 0.01f, 0.2f, 0.0f);
    }
    // The laser arp: eighths from 66, the voice count following the beams.
    static const int ARP_NOTES[6] = { 79, 82, 86, 91, 94, 98 };
    for (int n = 1; n <= 184; n++) {                                  // 66 .. 77.5
        int voices = n <= 6 ? 1 : n <= 21 ? 2 : n <= 41 ? 3 : n <= 56 ? 4 : n <= 62 ? 5 : 6;
        double t = 66.0 + (n - 1) * 2 * SIXTEENTH;
        for (int v = 0; v < voices; v++)
            pluck(at(t), ARP_NOTES[(v + n) % 6] - 12 * (v & 1), 0.17f / (1.0f + 0.25f * v), v & 1 ? 0.5f : -0.5f, 1.0f);
    }
    for (double t : { 67.0, 70.0, 73.0 }) accent(t, GM, 1.0f);
    {   // 76: the loudest mid-rich hit of the show
        Chord wide = { 5, { 67, 70, 74, 79, 82 } };
        stab(at(76.0), wide, 1.6f, 12000.0f, 0.22f);
        accent(76.0, GM, 1.5f);
        clap(at(76.0), 1.2f);
        impact(at(76.0), 1.0f);
    }
    riser(at(75.0), at(76.0), 0.5f, 3.0f);

    // 77.5: the drums stop and everything winds down like a machine losing power.
    crash(at(77.5), 0.5f, 1.2f);
    for (int k = 0; k < 8; k++) lead(at(77.5 + k * BEAT), beats(0.9), k & 1 ? 74 : 79, 0.8f, 1.0f);
    bass(at(77.5), at(79.0) - at(77.5), R_G, 0.6f, 600.0f);
    varispeed(at(77.5), at(79.5), [](float u) { return (1.0f - u) * (1.0f - u); });
    // The stopped machine falls silent: fade its last half pattern and drop the unwarped tails
    // that would otherwise resume, with a click, where the replay ends.
    {
        const long f0 = at(79.0), f1 = at(79.5), tail_end = at(81.0);
        std::vector<float> *buses[4] = { &mix.l, &mix.r, &mix.verb, &mix.echo };
        for (std::vector<float> *b : buses) {
            for (long i = f0; i < f1; i++) (*b)[i] *= (float)(f1 - i) / (float)(f1 - f0);
            for (long i = f1; i < tail_end; i++) (*b)[i] = 0.0f;
        }
    }
    pad(at(77.5), at(79.0) - at(77.5), EBMAJ7, 0.45f, 1600.0f, 900.0f, 0.3f, 0.8f, 0.0f);
}

void score_ending() {
    static const Chord *const CODA[7] = { &EBMAJ7, &CM7, &GM9, &EBMAJ7, &CM7, &GM9, &GM9 };
    for (int p = 79; p < 86; p++) {
        pad(at(p), at(p + 1) - at(p), *CODA[p - 79], 1.5f, 1500.0f, 1800.0f, p == 79 ? 0.6f : 0.1f, 0.6f, 0.0f);
        for (int k = 0; k < 6; k++) {                                // the theme on a soft e-piano
            static const int E_PIANO[6] = { 74, 77, 79, 77, 74, 72 };
            static const double WHEN[6] = { 0.0, 0.1875, 0.375, 0.5, 0.6875, 0.875 };
            if (p >= 84 && k > 2) break;
            bell(at(p + WHEN[k]), E_PIANO[k] + (p & 1 ? -2 : 0), 0.8f, 1.0f, 1.4f, 0.6f);
        }
    }
    for (double t : { 79.0, 81.0 }) { stab(at(t), *CODA[(int)t - 79], 0.4f, 3500.0f, 0.25f); clap(at(t), 0.2f); }
    for (double t : { 82.0, 85.0 }) stab(at(t), *CODA[(int)t - 79], 0.28f, 3000.0f, 0.2f);
}

std::vector<GainPoint> master_automation() {
    const long gap = at(65.9375), drop = at(66.0);
    return {
        { 0, 0.0f }, { at(0.5), 1.0f },
        { gap - 220, 1.0f }, { gap, 0.0f }, { drop - 30, 0.0f }, { drop, 1.0f },
        { at(84.0), 1.0f }, { at(85.0), 0.3f }, { TOTAL_FRAMES - (long)(0.3f * RATE), 0.0f }, { TOTAL_FRAMES, 0.0f },
    };
}

void render_score() {
    score_title();
    score_section1();
    score_section2();
    // 32.953125-33: the cavern rushes backwards; the mix rewinds at twelve times speed.
    varispeed(at(32.953125), at(33.0), [](float u) { return u < 0.15f ? 1.0f - 13.0f * u / 0.15f : -12.0f; });
    score_section3();
    score_section4();
    score_section5();
    score_ending();
}
