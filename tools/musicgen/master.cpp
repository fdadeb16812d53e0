// tools/musicgen/master.cpp - delay, reverb and the master chain.
#include "tools/musicgen/master.h"
#include "tools/musicgen/mix.h"

// Ping-pong delay: the left tap repeats after a dotted eighth, the right one an eighth later,
// each repeat darker. Its output also feeds the reverb a little.
static void run_echo() {
    const long dl = ECHO_DOTTED, dr = ECHO_DOTTED + ECHO_EIGHTH;
    std::vector<float> bl(dl, 0.0f), br(dr, 0.0f);
    OnePole tone_l, tone_r; tone_l.set(3500.0f); tone_r.set(3500.0f);
    OnePole low_l, low_r; low_l.set(250.0f); low_r.set(250.0f);
    long il = 0, ir = 0;
    for (long i = 0; i < TOTAL_FRAMES; i++) {
        float ol = bl[il], or_ = br[ir];
        bl[il] = tone_l.lp(low_l.hp(mix.echo[i] + 0.3f * or_));
        br[ir] = tone_r.lp(low_r.hp(mix.echo[i] * 0.8f + 0.3f * ol));
        mix.l[i] += ol * 0.55f; mix.r[i] += or_ * 0.55f;
        mix.verb[i] += (ol + or_) * 0.1f;
        if (++il == dl) il = 0;
        if (++ir == dr) ir = 0;
    }
}

// A small Schroeder-Moorer reverb: four damped combs and two allpasses per side, the
// right side's lines slightly longer for width.
struct Comb {
    std::vector<float> buf; long i = 0; float store = 0;
    explicit Comb(long n) : buf(n, 0.0f) {}
    float run(float x, float fb, float damp) {
        float y = buf[i];
        store = y * (1.0f - damp) + store * damp;
        buf[i] = x + store * fb;
        if (++i == (long)buf.size()) i = 0;
        return y;
    }
};
struct Allpass {
    std::vector<float> buf; long i = 0;
    explicit Allpass(long n) : buf(n, 0.0f) {}
    float run(float x) {
        float b = buf[i], y = b - x;
        buf[i] = x + b * 0.5f;
        if (++i == (long)buf.size()) i = 0;
        return y;
    }
};

static void run_reverb() {
    const long CL[4] = { 1557, 1617, 1491, 1422 }, AL[2] = { 556, 441 };
    const long SPREAD = 23;
    Comb cl[4] = { Comb(CL[0]), Comb(CL[1]), Comb(CL[2]), Comb(CL[3]) };
    Comb cr[4] = { Comb(CL[0] + SPREAD), Comb(CL[1] + SPREAD), Comb(CL[2] + SPREAD), Comb(CL[3] + SPREAD) };
    Allpass al[2] = { Allpass(AL[0]), Allpass(AL[1]) };
    Allpass ar[2] = { Allpass(AL[0] + SPREAD), Allpass(AL[1] + SPREAD) };
    OnePole low; low.set(200.0f);
    const float fb = 0.84f, damp = 0.3f, wet = 0.32f;
    for (long i = 0; i < TOTAL_FRAMES; i++) {
        float x = low.hp(mix.verb[i]) * 0.1f;
        float yl = 0.0f, yr = 0.0f;
        for (int k = 0; k < 4; k++) { yl += cl[k].run(x, fb, damp); yr += cr[k].run(x, fb, damp); }
        for (int k = 0; k < 2; k++) { yl = al[k].run(yl); yr = ar[k].run(yr); }
        mix.l[i] += yl * wet; mix.r[i] += yr * wet;
    }
}

void run_sends() {
    run_echo();
    run_reverb();
}

void limit(std::vector<float> &l, std::vector<float> &r, float ceiling) {
    const long n = (long)l.size();
    const long LOOKAHEAD = 96;
    std::vector<float> g(n);
    for (long i = 0; i < n; i++) {
        float p = l[i] < 0 ? -l[i] : l[i], q = r[i] < 0 ? -r[i] : r[i];
        if (q > p) p = q;
        g[i] = p > ceiling ? ceiling / p : 1.0f;
    }
    for (long i = n - 2; i >= 0; i--) {          // ramp down ahead of each peak
        float ahead = g[i + 1] + 1.0f / LOOKAHEAD;
        if (ahead < g[i]) g[i] = ahead;
    }
    const float rel = 1.0f - decay_coef(0.08f);
    for (long i = 1; i < n; i++) {               // and recover slowly after it
        float back = g[i - 1] + (1.0f - g[i - 1]) * rel;
        if (back < g[i]) g[i] = back;
    }
    for (long i = 0; i < n; i++) {
        l[i] *= g[i]; r[i] *= g[i];
        if (l[i] > ceiling) l[i] = ceiling;
        if (l[i] < -ceiling) l[i] = -ceiling;
        if (r[i] > ceiling) r[i] = ceiling;
        if (r[i] < -ceiling) r[i] = -ceiling;
    }
}

void run_master(const std::vector<GainPoint> &automation, float gain) {
    OnePole dc_l1, dc_l2, dc_r1, dc_r2;
    dc_l1.set(25.0f); dc_l2.set(25.0f); dc_r1.set(25.0f); dc_r2.set(25.0f);
    std::size_t k = 0;
    for (long i = 0; i < TOTAL_FRAMES; i++) {
        while (k + 1 < automation.size() && automation[k + 1].frame <= i) k++;
        float a = automation[k].gain;
        if (k + 1 < automation.size() && i >= automation[k].frame) {
            const GainPoint &p = automation[k], &q = automation[k + 1];
            a = p.gain + (q.gain - p.gain) * (float)(i - p.frame) / (float)(q.frame - p.frame);
        }
        mix.l[i] = (dc_l2.hp(dc_l1.hp(mix.l[i])) + mix.boom[i]) * gain * a;
        mix.r[i] = (dc_r2.hp(dc_r1.hp(mix.r[i])) + mix.boom[i]) * gain * a;
    }
    limit(mix.l, mix.r, MASTER_CEILING);
}
