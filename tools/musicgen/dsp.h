// tools/musicgen/dsp.h - the synthesiser's building blocks: PRNG, table sine, own exp2 and
// tanh, band-limited oscillators, envelopes and filters. Everything is plain float maths
// with fixed seeds and no libm transcendental calls in the sample loops, so the track comes
// out bit-identical on every machine that builds it (the build uses -ffp-contract=off).
#pragma once
#include <cstdint>

constexpr int    RATE = 44100;          // frames per second
constexpr double PI   = 3.14159265358979323846;

//---- Random numbers: PCG32, one generator per voice, seeded by the score ----
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    uint32_t next() {
        uint64_t old = state;
        state = old * 6364136223846793005ULL + 1442695040888963407ULL;
        uint32_t x = (uint32_t)(((old >> 18u) ^ old) >> 27u), rot = (uint32_t)(old >> 59u);
        return (x >> rot) | (x << ((32 - rot) & 31));
    }
    float noise() { return (float)(int32_t)next() * (1.0f / 2147483648.0f); }   // -1..1, white
    float uniform() { return (float)(next() >> 8) * (1.0f / 16777216.0f); }     // 0..1
};

//---- Deterministic maths ----
double exp2_d(double x);                 // 2^x from a fixed polynomial, any x in [-60, 60]
double log2_d(double x);                 // log base 2 of x > 0
inline double exp_d(double x) { return exp2_d(x * 1.4426950408889634); }
double sin_d(double x);                  // sine of x radians, Taylor series after range reduction
float  sin_turns(float phase);           // sine of phase * 2 pi from a 4096-entry table
inline float soft_clip(float x) {        // tanh-like drive, exact +-1 beyond +-3
    if (x > 3.0f) return 1.0f;
    if (x < -3.0f) return -1.0f;
    float x2 = x * x;
    return x * (27.0f + x2) / (27.0f + 9.0f * x2);
}
inline float note_hz(float midi) { return (float)(440.0 * exp2_d((midi - 69.0) / 12.0)); }
inline float decay_coef(float seconds) { return (float)exp_d(-1.0 / (seconds * RATE)); }  // per-sample e-fold

//---- Oscillators: phase in turns, polyBLEP-smoothed steps ----
inline float poly_blep(float t, float dt) {
    if (t < dt) { t /= dt; return t + t - t * t - 1.0f; }
    if (t > 1.0f - dt) { t = (t - 1.0f) / dt; return t * t + t + t + 1.0f; }
    return 0.0f;
}
struct Osc {
    float phase = 0.0f;
    float saw(float dt) {                            // dt = hz / RATE
        float v = 2.0f * phase - 1.0f - poly_blep(phase, dt);
        phase += dt; if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
    float pulse(float dt, float width) {
        float p2 = phase + 1.0f - width; if (p2 >= 1.0f) p2 -= 1.0f;
        float v = (phase < width ? 1.0f : -1.0f) + poly_blep(phase, dt) - poly_blep(p2, dt);
        phase += dt; if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
    float sine(float dt) {
        float v = sin_turns(phase);
        phase += dt; if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
    float tri(float dt) {
        float v = phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
        phase += dt; if (phase >= 1.0f) phase -= 1.0f;
        return v;
    }
};

//---- Envelopes ----
// Linear attack, exponential decay to sustain, exponential release after `gate` samples;
// stepped once per sample with next().
struct Adsr {
    float level = 0, step = 0, dcoef = 0, sus = 0, rcoef = 0;
    long  i = 0, attack = 1, gate = 0;
    Adsr(float a, float d, float s, float r, long gate_samples);   // seconds; d and r are e-folds
    float next() {
        if (i < attack) level = step * (float)(i + 1);
        else if (i < gate) level = sus + (level - sus) * dcoef;
        else level *= rcoef;
        i++;
        return level;
    }
};

//---- Filters ----
// Zero-delay state-variable filter (trapezoidal); set() may run every few samples.
struct Svf {
    float g = 0, k = 1, ic1 = 0, ic2 = 0, a1 = 0, a2 = 0, a3 = 0;
    float lp = 0, bp = 0, hp = 0;
    void set(float hz, float q);         // cutoff in Hz (clamped below Nyquist), resonance q >= 0.5
    void run(float x) {
        float v3 = x - ic2;
        float v1 = a1 * ic1 + a2 * v3;
        float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1; ic2 = 2.0f * v2 - ic2;
        lp = v2; bp = v1; hp = x - k * v1 - v2;
    }
};
struct OnePole {                         // one-pole low-pass; high-pass is x - lp
    float c = 0, z = 0;
    void set(float hz) { c = 1.0f - (float)exp_d(-2.0 * PI * hz / RATE); }
    float lp(float x) { z += c * (x - z); return z; }
    float hp(float x) { return x - lp(x); }
};
