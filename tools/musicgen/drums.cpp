// tools/musicgen/drums.cpp - kick, snare, clap, hats and cymbals.
#include "tools/musicgen/drums.h"
#include "tools/musicgen/mix.h"

static uint64_t hit_seed(long s0, uint64_t voice) { return (uint64_t)s0 * 2654435761ULL + voice; }

void kick(long s0, float vel) {
    long b = (long)((s0 + 0.5 * BEAT_SAMPLES) / BEAT_SAMPLES);
    if (grid_sample(4 * b) == s0 && b < (long)mix.kick_beat.size()) mix.kick_beat[b] = 1;
    const long len = (long)(0.36f * RATE);
    Rng rng(hit_seed(s0, 1));
    Osc osc;
    float sweep = 1.0f, amp = 1.0f;
    const float sweep_c = decay_coef(0.011f), amp_c = decay_coef(0.105f);
    Svf click_hp; click_hp.set(4000.0f, 0.7f);
    for (long i = 0; i < len; i++) {
        float hz = 44.0f + 116.0f * sweep;
        float body = osc.sine(hz / RATE) * amp;
        float click = 0.0f;
        if (i < 140) { click_hp.run(rng.noise()); click = click_hp.hp * (1.0f - i / 140.0f) * 0.55f; }
        float tail = i > len - 400 ? (len - i) / 400.0f : 1.0f;
        float v = soft_clip(1.6f * (body + click)) * 0.72f * tail;
        mix.add(s0 + i, v * vel, 0.0f, 0.0f, 0.0f);
        if (!mix.kick_stem.empty() && s0 + i < TOTAL_FRAMES) mix.kick_stem[s0 + i] += v * vel;
        sweep *= sweep_c; amp *= amp_c;
    }
}

void snare(long s0, float vel) {
    const long len = (long)(0.3f * RATE);
    Rng rng(hit_seed(s0, 2));
    Osc body;
    Svf crack; crack.set(2600.0f, 0.9f);
    OnePole hp; hp.set(3000.0f);
    float eb = 1.0f, en = 1.0f, et = 1.0f;
    const float cb = decay_coef(0.045f), cn = decay_coef(0.05f), ct = decay_coef(0.11f);
    for (long i = 0; i < len; i++) {
        float n = rng.noise();
        crack.run(n);
        float v = body.sine((190.0f + 40.0f * eb) / RATE) * eb * 0.55f
                + crack.bp * en * 1.2f + hp.hp(n) * et * 0.22f;
        float fade = i > len - 300 ? (len - i) / 300.0f : 1.0f;
        mix.add(s0 + i, v * vel * fade, 0.0f, 0.25f, 0.0f);
        eb *= cb; en *= cn; et *= ct;
    }
}

void clap(long s0, float vel) {
    const long len = (long)(0.25f * RATE);
    Rng rng(hit_seed(s0, 3));
    Svf body; body.set(1500.0f, 1.1f);
    Svf bright; bright.set(3800.0f, 1.0f);
    const long burst = (long)(0.010f * RATE);
    const float cb = decay_coef(0.0035f), ct = decay_coef(0.055f);
    float eb = 1.0f, et = 1.0f;
    for (long i = 0; i < len; i++) {
        if (i == burst || i == 2 * burst) eb = 1.0f;
        float e = i < 3 * burst ? eb : 0.0f;
        if (i >= 2 * burst) { e += et; et *= ct; }
        float n = rng.noise();
        body.run(n); bright.run(n);
        float v = (body.bp * 1.4f + bright.bp * 1.0f) * e;
        float fade = i > len - 300 ? (len - i) / 300.0f : 1.0f;
        mix.add(s0 + i, v * vel * fade, 0.0f, 0.35f, 0.0f);
        eb *= cb;
    }
}

// Six detuned squares and noise, high-passed and band-passed around 9 kHz.
static const float METAL_HZ[6] = { 205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f };

void hat(long s0, float vel, float pan, long len) {
    Rng rng(hit_seed(s0, 4));
    Osc sq[6];
    Svf hp; hp.set(7000.0f, 0.7f);
    Svf bp; bp.set(9500.0f, 1.2f);
    float e = 1.0f;
    const float c = decay_coef(len < (long)(0.08f * RATE) ? 0.012f : 0.085f);
    for (long i = 0; i < len; i++) {
        float m = 0.0f;
        for (int k = 0; k < 6; k++) m += sq[k].pulse(METAL_HZ[k] * 1.7f / RATE, 0.5f);
        float x = m * 0.12f + rng.noise() * 0.8f;
        hp.run(x); bp.run(hp.hp);
        float fade = i > len - 200 ? (len - i) / 200.0f : 1.0f;
        float v = (hp.hp * 0.5f + bp.bp * 0.9f) * e * fade;
        mix.add(s0 + i, v * vel * 0.82f, pan, 0.08f, 0.0f);
        e *= c;
    }
}

// One cymbal wash into a callback-free loop: `env(i)` gives the envelope at step i.
template <class Env>
static void cymbal(long s0, long len, float vel, uint64_t seed, Env env) {
    Rng rl(seed), rr(seed + 99);
    Osc sq[6];
    Svf hl, hr, bl; hl.set(5200.0f, 0.7f); hr.set(5200.0f, 0.7f); bl.set(7500.0f, 0.8f);
    for (long i = 0; i < len; i++) {
        float m = 0.0f;
        for (int k = 0; k < 6; k++) m += sq[k].pulse(METAL_HZ[k] * 2.3f / RATE, 0.5f);
        float common = rl.noise();
        hl.run(common * 0.6f + rr.noise() * 0.4f + m * 0.08f);
        hr.run(common * 0.6f + rr.noise() * 0.4f + m * 0.08f);
        bl.run(m * 0.1f + common * 0.3f);
        float e = env(i) * vel;
        mix.add_lr(s0 + i, (hl.hp * 0.55f + bl.bp * 0.8f) * e, (hr.hp * 0.55f + bl.bp * 0.8f) * e, 0.2f, 0.0f);
    }
}

void crash(long s0, float vel, float seconds) {
    long len = (long)(seconds * 3.5f * RATE);
    float c = decay_coef(seconds), e = 1.0f;
    cymbal(s0, len, vel, hit_seed(s0, 5), [&](long i) {
        float fade = i > len - 1000 ? (len - i) / 1000.0f : 1.0f;
        float attack = i < 40 ? i / 40.0f : 1.0f;
        float v = e * fade * attack; e *= c; return v;
    });
}

void reverse_crash(long end, float vel, float seconds) {
    long len = (long)(seconds * RATE);
    float tau = seconds * 0.35f;
    float c = decay_coef(tau), e = (float)exp_d(-seconds / tau);
    float inv_c = 1.0f / c;
    cymbal(end - len, len, vel, hit_seed(end, 6), [&](long i) {
        float v = e; e *= inv_c; if (e > 1.0f) e = 1.0f;
        return i > len - 30 ? v * (len - i) / 30.0f : v;
    });
}
