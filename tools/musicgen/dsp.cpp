// tools/musicgen/dsp.cpp - the deterministic maths behind the oscillators and filters.
#include "tools/musicgen/dsp.h"

double exp2_d(double x) {
    if (x < -60.0) return 0.0;
    if (x > 60.0) x = 60.0;
    int n = (int)(x + 64.0) - 64;                  // floor for the clamped range
    double f = (x - n) * 0.6931471805599453;       // e^f with f in [0, ln 2)
    double term = 1.0, sum = 1.0;
    for (int i = 1; i < 16; i++) { term *= f / i; sum += term; }
    double scale = 1.0;
    if (n >= 0) for (int i = 0; i < n; i++) scale *= 2.0;
    else        for (int i = 0; i < -n; i++) scale *= 0.5;
    return sum * scale;
}

double log2_d(double x) {
    if (!(x > 1e-18)) return -60.0;
    if (x > 1e18) return 60.0;
    int e = 0;
    while (x >= 2.0) { x *= 0.5; e++; }
    while (x < 1.0) { x *= 2.0; e--; }
    double y = (x - 1.0) / (x + 1.0), y2 = y * y, term = y, sum = 0.0;
    for (int i = 0; i < 20; i++) { sum += term / (2 * i + 1); term *= y2; }
    return e + 2.0 * sum * 1.4426950408889634;
}

double sin_d(double x) {
    double turns = x / (2.0 * PI);
    long n = (long)(turns + (turns >= 0 ? 0.5 : -0.5));
    double r = x - n * 2.0 * PI;                   // -pi..pi
    if (r > PI / 2) r = PI - r;
    if (r < -PI / 2) r = -PI - r;                  // -pi/2..pi/2
    double r2 = r * r, term = r, sum = r;
    for (int i = 1; i < 12; i++) { term *= -r2 / ((2 * i) * (2 * i + 1)); sum += term; }
    return sum;
}

static struct SineTable {
    float v[4097];
    SineTable() { for (int i = 0; i <= 4096; i++) v[i] = (float)sin_d(2.0 * PI * i / 4096.0); }
} sine_table;

float sin_turns(float phase) {
    phase -= (float)(int)phase;
    if (phase < 0) phase += 1.0f;
    float x = phase * 4096.0f;
    int i = (int)x;
    if (i > 4095) i = 4095;
    float f = x - i;
    return sine_table.v[i] + f * (sine_table.v[i + 1] - sine_table.v[i]);
}

Adsr::Adsr(float a, float d, float s, float r, long gate_samples) {
    attack = (long)(a * RATE) + 1;
    step   = 1.0f / (float)attack;
    dcoef  = decay_coef(d);
    sus    = s;
    rcoef  = decay_coef(r);
    gate   = gate_samples;
}

void Svf::set(float hz, float q) {
    if (hz > 0.45f * RATE) hz = 0.45f * RATE;
    if (hz < 10.0f) hz = 10.0f;
    double w = PI * hz / RATE;
    g = (float)(sin_d(w) / sin_d(w + PI / 2));     // tan(w)
    k = 1.0f / q;
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}
