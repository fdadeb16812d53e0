// tools/musicgen/effects.cpp - risers, impacts, zaps, clangs and varispeed replays.
#include "tools/musicgen/effects.h"
#include "tools/musicgen/drums.h"
#include "tools/musicgen/mix.h"

void riser(long s0, long s1, float vel, float power) {
    long len = s1 - s0;
    Rng rng((uint64_t)s0 * 31 + 7);
    Svf bp, bp2;
    Osc tone;
    for (long i = 0; i < len; i++) {
        float u = (float)i / len;
        if ((i & 31) == 0) {
            float hz = (float)(350.0 * exp2_d(u * 4.6));   // 350 Hz -> ~8.5 kHz
            bp.set(hz, 1.6f); bp2.set(hz * 1.5f, 1.2f);
        }
        float n = rng.noise();
        bp.run(n); bp2.run(n);
        float a = u;
        for (float p = 1.0f; p < power; p += 1.0f) a *= u;
        float t = tone.saw(note_hz(53.0f + 24.0f * u) / RATE) * 0.08f;
        float fade = i > len - 64 ? (len - i) / 64.0f : 1.0f;
        float v = (bp.bp * 0.6f + bp2.bp * 0.4f + t) * a * vel * fade;
        mix.add_lr(s0 + i, v, v * 0.96f, 0.3f, 0.0f);
    }
}

void downlifter(long s0, long len, float vel) {
    Rng rng((uint64_t)s0 * 37 + 11);
    Svf bp;
    Osc tone;
    for (long i = 0; i < len; i++) {
        float u = (float)i / len;
        if ((i & 31) == 0) bp.set((float)(9000.0 * exp2_d(-u * 5.0)), 1.4f);
        bp.run(rng.noise());
        float a = (1.0f - u) * (1.0f - u) * (i < 200 ? i / 200.0f : 1.0f);
        float t = tone.sine(note_hz(77.0f - 36.0f * u) / RATE) * 0.15f;
        mix.add(s0 + i, (bp.bp * 0.6f + t) * a * vel, 0.0f, 0.3f, 0.0f);
    }
}

void sub_boom(long s0, float vel, float seconds, float drive) {
    Osc o;
    long len = (long)(seconds * 3.0f * RATE);
    float e = 1.0f, p = 1.0f;
    const float c = decay_coef(seconds), cp = decay_coef(0.05f);
    for (long i = 0; i < len; i++) {
        float v = o.sine((43.65f + 20.0f * p) / RATE) * e * (i < 60 ? i / 60.0f : 1.0f);
        float fade = i > len - 400 ? (len - i) / 400.0f : 1.0f;
        if (s0 + i < TOTAL_FRAMES) mix.boom[s0 + i] += soft_clip(drive * v) * vel * 0.7f * fade;
        e *= c; p *= cp;
    }
}

void impact(long s0, float vel) {
    Osc o;
    Rng rng((uint64_t)s0 * 41 + 3);
    Svf lp; lp.set(1800.0f, 0.8f);
    long len = (long)(1.6f * RATE);
    float e = 1.0f, en = 1.0f, p = 1.0f;
    const float c = decay_coef(0.45f), cn = decay_coef(0.12f), cp = decay_coef(0.35f);
    for (long i = 0; i < len; i++) {
        lp.run(rng.noise());
        float s = o.sine((30.0f + 30.0f * p) / RATE) * e;
        float fade = i > len - 600 ? (len - i) / 600.0f : 1.0f;
        float v = (soft_clip(1.5f * s) * 0.6f + lp.lp * en * 0.5f) * fade * (i < 40 ? i / 40.0f : 1.0f);
        mix.add(s0 + i, v * vel, 0.0f, 0.25f, 0.0f);
        e *= c; en *= cn; p *= cp;
    }
    crash(s0, 0.6f * vel, 0.9f);
}

void zap(long s0, float vel) {
    Osc o;
    Svf bp;
    long len = (long)(0.4f * RATE);
    float p = 1.0f, e = 1.0f;
    const float cp = decay_coef(0.06f), ce = decay_coef(0.12f);
    for (long i = 0; i < len; i++) {
        float hz = 90.0f + 4200.0f * p;
        if ((i & 15) == 0) bp.set(hz * 1.5f, 4.0f);
        bp.run(o.saw(hz / RATE));
        float fade = i > len - 200 ? (len - i) / 200.0f : 1.0f;
        mix.add(s0 + i, bp.bp * 1.2f * e * vel * fade, 0.0f, 0.2f, 0.35f);
        p *= cp; e *= ce;
    }
}

void clang(long s0, int midi, float vel, float decay) {
    Osc a, b, c2, m;
    long len = (long)(decay * 4.0f * RATE);
    float e = 1.0f, ie = 1.0f;
    const float ce = decay_coef(decay), ci = decay_coef(decay * 0.3f);
    const float fa = note_hz((float)midi) / RATE, fb = note_hz((float)midi + 1) / RATE;   // F against G-flat
    for (long i = 0; i < len; i++) {
        float mod = m.sine(fa * 3.51f) * 2.5f * ie;
        a.phase += mod * 0.05f; if (a.phase >= 1.0f) a.phase -= 1.0f; if (a.phase < 0.0f) a.phase += 1.0f;
        float v = a.sine(fa) * b.sine(fb * 2.76f) * 0.7f + c2.sine(fb * 5.4f) * 0.3f * ie;
        float fade = i > len - 300 ? (len - i) / 300.0f : 1.0f;
        mix.add_lr(s0 + i, v * e * vel * 0.35f * fade, v * e * vel * 0.33f * fade, 0.5f, 0.1f);
        e *= ce; ie *= ci;
    }
}

void varispeed_span(long s0, long s1, const float *speed) {
    if (s1 > TOTAL_FRAMES) s1 = TOTAL_FRAMES;
    long len = s1 - s0;
    // Find how far the head wanders, then copy that window of each bus before overwriting.
    double p = 0.0, lo = 0.0, hi = 0.0;
    for (long i = 0; i < len; i++) { p += speed[i]; if (p < lo) lo = p; if (p > hi) hi = p; }
    long w0 = s0 + (long)lo - 2, w1 = s0 + (long)hi + 2;
    if (w0 < 0) w0 = 0;
    if (w1 > TOTAL_FRAMES) w1 = TOTAL_FRAMES;
    std::vector<float> *buses[4] = { &mix.l, &mix.r, &mix.verb, &mix.echo };
    std::vector<float> copy[4];
    for (int b = 0; b < 4; b++) copy[b].assign(buses[b]->begin() + w0, buses[b]->begin() + w1);
    p = 0.0;
    for (long i = 0; i < len; i++) {
        double pos = (double)(s0 - w0) + p;
        long k = (long)pos;
        float f = (float)(pos - k);
        for (int b = 0; b < 4; b++) {
            const std::vector<float> &c = copy[b];
            float x0 = k >= 0 && k < (long)c.size() ? c[k] : 0.0f;
            float x1 = k + 1 >= 0 && k + 1 < (long)c.size() ? c[k + 1] : 0.0f;
            (*buses[b])[s0 + i] = x0 + f * (x1 - x0);
        }
        p += speed[i];
    }
}
