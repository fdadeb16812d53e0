// tools/musicgen/instruments.cpp - bass, pads, stabs, lead, plucks and FM bells.
#include "tools/musicgen/instruments.h"
#include "tools/musicgen/mix.h"

static float end_fade(long i, long len, long n) { return i > len - n ? (float)(len - i) / n : 1.0f; }

void bass(long s0, long len, int midi, float vel, float cutoff) {
    Osc sub, saw;
    Svf lp;
    float env = 1.0f;
    const float env_c = decay_coef(0.09f);
    const float dsub = note_hz((float)midi) / RATE, dsaw = note_hz((float)midi + 12) / RATE;
    for (long i = 0; i < len; i++) {
        if ((i & 15) == 0) lp.set(280.0f + (cutoff - 280.0f) * env, 1.4f);
        lp.run(saw.saw(dsaw));
        float a = i < 500 ? i / 500.0f : 1.0f;
        float v = (sub.sine(dsub) * 0.62f + lp.lp * 0.42f) * a * end_fade(i, len, 220);
        mix.add(s0 + i, v * vel * duck(s0 + i, 0.5f), 0.0f, 0.0f, 0.0f);
        env *= env_c;
    }
}

void pad(long s0, long len, const Chord &c, float vel, float cut0, float cut1,
         float attack, float release, float duck_depth) {
    const float DETUNE[3] = { -0.11f, 0.0f, 0.12f };
    Osc osc[5][3];
    float dt[5][3];
    for (int n = 0; n < c.n; n++)
        for (int k = 0; k < 3; k++) {
            dt[n][k] = note_hz(c.notes[n] + DETUNE[k]) / RATE;
            osc[n][k].phase = 0.13f * n + 0.31f * k;
        }
    Svf fl, fr;
    long total = len + (long)(release * 4.0f * RATE);
    Adsr env(attack, 1.0f, 1.0f, release, len);
    const float gain = vel * 0.16f / c.n;
    const double octaves = log2_d((double)cut1 / cut0);   // exponential sweep cut0 -> cut1
    for (long i = 0; i < total; i++) {
        if ((i & 31) == 0) {
            double u = i < len ? (double)i / len : 1.0;
            float hz = (float)(cut0 * exp2_d(u * octaves));
            fl.set(hz, 0.9f); fr.set(hz, 0.9f);
        }
        float sl = 0.0f, sr = 0.0f;
        for (int n = 0; n < c.n; n++) {
            float mid = 0.6f * osc[n][1].saw(dt[n][1]);
            sl += osc[n][0].saw(dt[n][0]) + mid;
            sr += osc[n][2].saw(dt[n][2]) + mid;
        }
        fl.run(sl); fr.run(sr);
        float e = env.next() * gain * end_fade(i, total, 400) * duck(s0 + i, duck_depth);
        mix.add_lr(s0 + i, fl.lp * e, fr.lp * e, 0.35f, 0.0f);
    }
}

void stab(long s0, const Chord &c, float vel, float cutoff, float decay) {
    Osc osc[5][2];
    float dt[5][2];
    for (int n = 0; n < c.n; n++) {
        dt[n][0] = note_hz(c.notes[n] - 0.08f) / RATE;
        dt[n][1] = note_hz(c.notes[n] + 0.08f) / RATE;
        osc[n][1].phase = 0.37f;
    }
    Svf fl, fr;
    long len = (long)(decay * 5.0f * RATE);
    float e = 1.0f, fe = 1.0f;
    const float c_amp = decay_coef(decay), c_f = decay_coef(decay * 0.6f);
    const float gain = vel * 0.5f / c.n;
    for (long i = 0; i < len; i++) {
        if ((i & 15) == 0) {
            float hz = 500.0f + cutoff * fe;
            fl.set(hz, 1.1f); fr.set(hz * 1.03f, 1.1f);
        }
        float sl = 0.0f, sr = 0.0f;
        for (int n = 0; n < c.n; n++) { sl += osc[n][0].saw(dt[n][0]); sr += osc[n][1].saw(dt[n][1]); }
        fl.run(sl); fr.run(sr);
        float a = (i < 60 ? i / 60.0f : 1.0f) * e * gain * end_fade(i, len, 300);
        mix.add_lr(s0 + i, fl.lp * a, fr.lp * a, 0.3f, 0.12f);
        e *= c_amp; fe *= c_f;
    }
}

void lead(long s0, long len, int midi, float vel, float bright) {
    Osc a, b, vib;
    Svf lp;
    long total = len + (long)(0.12f * RATE);
    Adsr env(0.012f, 0.18f, 0.55f, 0.04f, len);
    float fe = 1.0f;
    const float c_f = decay_coef(0.12f);
    const float hz = note_hz((float)midi);
    for (long i = 0; i < total; i++) {
        float v_mod = i > (long)(0.15f * RATE) ? 0.004f * vib.sine(5.5f / RATE) : 0.0f;
        float dt = hz * (1.0f + v_mod) / RATE;
        if ((i & 15) == 0) lp.set((900.0f + 2600.0f * fe) * bright, 1.3f);
        lp.run(a.saw(dt) * 0.6f + b.pulse(dt * 1.003f, 0.3f) * 0.4f);
        float v = lp.lp * env.next() * vel * 0.3f * end_fade(i, total, 200);
        mix.add(s0 + i, v, 0.0f, 0.2f, 0.28f);
        fe *= c_f;
    }
}

void pluck(long s0, int midi, float vel, float pan, float bright) {
    Osc a;
    Svf lp;
    long len = (long)(0.35f * RATE);
    float e = 1.0f, fe = 1.0f;
    const float c_a = decay_coef(0.11f), c_f = decay_coef(0.05f);
    const float dt = note_hz((float)midi) / RATE;
    for (long i = 0; i < len; i++) {
        if ((i & 15) == 0) lp.set(400.0f + 5000.0f * bright * fe, 1.5f);
        lp.run(a.saw(dt));
        float atk = i < 300 ? i / 300.0f : 1.0f;
        mix.add(s0 + i, lp.lp * e * atk * vel * 0.28f * end_fade(i, len, 200), pan, 0.2f, 0.3f);
        e *= c_a; fe *= c_f;
    }
}

void bell(long s0, int midi, float vel, float ratio, float index, float decay) {
    Osc car, mod;
    long len = (long)(decay * 5.0f * RATE);
    float e = 1.0f, ie = 1.0f;
    const float c_a = decay_coef(decay), c_i = decay_coef(decay * 0.4f);
    const float dc = note_hz((float)midi) / RATE, dm = dc * ratio;
    for (long i = 0; i < len; i++) {
        float m = mod.sine(dm) * index * ie;
        car.phase += m * 0.159f;                 // phase modulation, kept within the table's wrap
        float v = car.sine(dc);
        car.phase -= m * 0.159f;
        if (car.phase < 0.0f) car.phase += 1.0f;
        if (car.phase >= 1.0f) car.phase -= 1.0f;
        float atk = i < 40 ? i / 40.0f : 1.0f;
        mix.add(s0 + i, v * e * atk * vel * 0.25f * end_fade(i, len, 300), 0.0f, 0.4f, 0.25f);
        e *= c_a; ie *= c_i;
    }
}
