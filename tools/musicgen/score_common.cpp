// tools/musicgen/score_common.cpp - chord voicings and the phrase builders the sections share.
#include "tools/musicgen/score.h"
#include "tools/musicgen/drums.h"
#include "tools/musicgen/mix.h"

const Chord FM     = { 4, { 53, 56, 60, 65 } };
const Chord FM9    = { 4, { 53, 56, 60, 67 } };
const Chord DB     = { 4, { 53, 56, 61, 65 } };
const Chord DBMAJ7 = { 4, { 49, 53, 56, 60 } };
const Chord AB     = { 4, { 51, 56, 60, 63 } };
const Chord EB     = { 4, { 55, 58, 63, 67 } };
const Chord CMAJ   = { 4, { 52, 55, 60, 64 } };
const Chord BBM7   = { 4, { 53, 56, 58, 61 } };
const Chord EBMAJ7 = { 4, { 51, 55, 58, 62 } };
const Chord CM7    = { 4, { 51, 55, 58, 60 } };
const Chord GM     = { 4, { 55, 58, 62, 67 } };
const Chord GM9    = { 4, { 55, 58, 62, 69 } };
const Chord BB     = { 4, { 53, 58, 62, 65 } };
const Chord FMAJ   = { 4, { 53, 57, 60, 65 } };
const Chord DMAJ   = { 4, { 50, 54, 57, 62 } };
const Chord GB     = { 4, { 54, 58, 61, 66 } };

void groove(double t, const Groove &g) {
    for (int b = 0; b < 16; b++) {
        double tb = t + b * BEAT;
        if (g.kick > 0 && b + 1 >= g.first && b + 1 <= g.last) kick(at(tb), g.kick);
        if ((b & 1) == 1) {
            if (g.clap > 0) clap(at(tb), g.clap);
            if (g.snare > 0) snare(at(tb), g.snare);
        }
        for (int s = 0; s < 4; s++) {
            if (g.hats == 0 || (g.hats == 1 && (s & 1))) continue;
            double th = tb + s * SIXTEENTH;
            bool off = s == 2;
            if (off && g.open > 0) { hat(at(th), 0.75f * g.open, 0.15f, at(th + SIXTEENTH * 1.9) - at(th)); continue; }
            float v = g.hat * (s == 0 ? 0.9f : s == 2 ? 0.6f : 0.4f);
            hat(at(th), v, s == 1 ? -0.25f : 0.2f, (long)(0.045f * RATE));
        }
    }
}

// Styles: 0 held roots, 1 off-beat eighths, 2 rolling sixteenths around the kick,
// 3 the Phrygian riff (root, flat second and octave jumps).
void bassline(double t, const int roots[4], int style, float vel, float cutoff) {
    for (int bar = 0; bar < 4; bar++) {
        double tb = t + bar * BAR;
        int root = roots[bar];
        switch (style) {
        case 0: bass(at(tb), at(tb + BAR) - at(tb), root, vel, cutoff); break;
        case 1:
            for (int b = 0; b < 4; b++) {
                double s = tb + b * BEAT + 2 * SIXTEENTH;
                bass(at(s), at(s + 2 * SIXTEENTH) - at(s) - 400, root, vel, cutoff);
            }
            break;
        case 2:
            for (int q = 0; q < 16; q++) {
                if ((q & 3) == 0) continue;
                double s = tb + q * SIXTEENTH;
                int n = root + ((q & 3) == 3 && (q >> 2) == 3 ? 12 : 0);
                bass(at(s), at(s + SIXTEENTH) - at(s) - 300, n, vel * ((q & 3) == 2 ? 1.0f : 0.8f), cutoff);
            }
            break;
        default: {
            static const int RIFF[8]   = { 0, 0, 1, 0, 12, 0, 1, 3 };
            static const int RIFF_Q[8] = { 2, 3, 6, 7, 10, 11, 14, 15 };
            for (int k = 0; k < 8; k++) {
                double s = tb + RIFF_Q[k] * SIXTEENTH;
                bass(at(s), at(s + SIXTEENTH) - at(s) - 300, root + RIFF[k], vel, cutoff * (k == 4 ? 1.6f : 1.0f));
            }
        }
        }
    }
}

void pad_bars(double t, const Chord *const ch[4], float vel, float cut0, float cut1, float duck_depth) {
    for (int bar = 0; bar < 4; bar++) {
        double tb = t + bar * BAR;
        float c0 = cut0 + (cut1 - cut0) * bar / 4.0f, c1 = cut0 + (cut1 - cut0) * (bar + 1) / 4.0f;
        pad(at(tb), at(tb + BAR) - at(tb), *ch[bar], vel, c0, c1, 0.02f, 0.12f, duck_depth);
    }
}

// The theme: a two-bar call (bars 1-2) and a two-bar answer (bars 3-4) in F minor.
struct ThemeNote { int q, midi, len; };
static const ThemeNote THEME[] = {
    { 0, 72, 3 }, { 3, 75, 3 }, { 6, 77, 2 }, { 8, 75, 2 }, { 10, 72, 2 }, { 12, 70, 4 },
    { 16, 68, 3 }, { 19, 70, 3 }, { 22, 72, 6 }, { 28, 68, 4 },
    { 32, 73, 3 }, { 35, 72, 3 }, { 38, 70, 2 }, { 40, 68, 2 }, { 42, 67, 2 }, { 44, 65, 4 },
    { 48, 67, 3 }, { 51, 68, 3 }, { 54, 67, 4 }, { 58, 65, 6 },
};

void theme(double t, int transpose, float vel, float bright, int bars_mask) {
    for (const ThemeNote &n : THEME) {
        if (!(bars_mask & (1 << (n.q / 16)))) continue;
        double s = t + n.q * SIXTEENTH;
        lead(at(s), at(s + n.len * SIXTEENTH) - at(s) - 600, n.midi + transpose, vel, bright);
    }
}

void arp(double t0, double t1, const Chord &c, int step, int octave, float vel, float bright) {
    static const int ORDER[8] = { 0, 1, 2, 3, 2, 1, 3, 0 };
    int k = 0;
    for (double s = t0; s < t1 - 1e-9; s += step * SIXTEENTH, k++) {
        int n = c.notes[ORDER[k & 7] % c.n] + 12 * octave;
        pluck(at(s), n, vel * ((k & 3) == 0 ? 1.0f : 0.75f), (k & 1) ? 0.35f : -0.35f, bright);
    }
}

void accent(double t, const Chord &c, float vel) {
    Chord up = c;
    for (int i = 0; i < up.n; i++) up.notes[i] += 12;
    stab(at(t), up, vel, 7000.0f, 0.16f);
    clap(at(t), 0.8f * vel);
    crash(at(t), 0.5f * vel, 0.7f);
}

void roll(double t0, double t1, int step, float v0, float v1) {
    double len = t1 - t0;
    for (double s = t0; s < t1 - 1e-9; s += step * SIXTEENTH) {
        float u = (float)((s - t0) / len);
        snare(at(s), v0 + (v1 - v0) * u);
    }
}
