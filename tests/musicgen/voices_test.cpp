// tests/musicgen/voices_test.cpp - the synthesiser's parts: envelopes and filters behave,
// each drum and voice lands in the band the picture expects, ducking follows the kicks,
// varispeed replays what it should, and the encoder writes the same bytes twice.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>
#include "tools/musicgen/analyse.h"
#include "tools/musicgen/drums.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/encode.h"
#include "tools/musicgen/instruments.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

TEST(MusicEnvelope, RisesHoldsAndReleases) {
    Adsr env(0.01f, 0.05f, 0.5f, 0.02f, RATE / 4);
    std::vector<float> v;
    for (int i = 0; i < RATE / 2; i++) v.push_back(env.next());
    EXPECT_NEAR(v[(long)(0.01f * RATE)], 1.0f, 0.01f);     // peak at the end of the attack
    EXPECT_NEAR(v[RATE / 4 - 1], 0.5f, 0.01f);             // settled on the sustain level
    EXPECT_LT(v[RATE / 2 - 1], 0.001f);                    // gone ten release e-folds later
    for (int i = 1; i < (int)(0.01f * RATE); i++) EXPECT_GT(v[i], v[i - 1]);
}

TEST(MusicFilter, StateVariableFilterSeparatesLowFromHigh) {
    auto rms_through = [](float hz, float cutoff, int mode) {
        Svf f; f.set(cutoff, 0.7f);
        Osc o;
        double sq = 0.0;
        for (int i = 0; i < RATE; i++) {
            f.run(o.sine(hz / RATE));
            float y = mode == 0 ? f.lp : mode == 1 ? f.hp : f.bp;
            if (i > RATE / 2) sq += y * y;
        }
        return std::sqrt(sq / (RATE / 2 - 1));
    };
    EXPECT_NEAR(rms_through(100.0f, 2000.0f, 0), 0.707, 0.02);   // low-pass passes the low tone
    EXPECT_LT(rms_through(10000.0f, 1000.0f, 0), 0.01);          // and kills a tone ten times higher
    EXPECT_LT(rms_through(100.0f, 5000.0f, 1), 0.01);            // high-pass the reverse
    EXPECT_NEAR(rms_through(9000.0f, 500.0f, 1), 0.707, 0.02);
}

TEST(MusicOsc, SawAndPulseHaveNoOffsetAndTheRightPitch) {
    Osc saw, pulse;
    double sum_saw = 0.0, sum_pulse = 0.0;
    int rises = 0;
    float prev = 0.0f;
    for (int i = 0; i < RATE; i++) {
        float s = saw.saw(220.0f / RATE);
        if (prev > 0.0f && s <= 0.0f) rises++;                  // the ramp only falls through 0 at its reset
        prev = s;
        sum_saw += s;
        sum_pulse += pulse.pulse(220.0f / RATE, 0.5f);
    }
    EXPECT_NEAR(sum_saw / RATE, 0.0, 0.01);
    EXPECT_NEAR(sum_pulse / RATE, 0.0, 0.01);
    EXPECT_NEAR(rises, 220, 1);
}

// One shared mix for the voice tests: allocating ten minutes of buses is the slow part.
class MusicVoices : public ::testing::Test {
protected:
    static void SetUpTestSuite() { mix.reset(); }
    void SetUp() override { clear(0, 4 * RATE); }
    static void clear(long a, long b) {
        for (long i = a; i < b; i++) mix.l[i] = mix.r[i] = mix.verb[i] = mix.echo[i] = mix.boom[i] = 0.0f;
        std::fill(mix.kick_beat.begin(), mix.kick_beat.end(), 0);
    }
    static void bands_at(long end, float out[4]) {   // the player's band sums with the play position at `end`
        BandAnalyser an;
        std::vector<float> mono(FFT_SIZE);
        for (int i = 0; i < FFT_SIZE; i++) mono[i] = 0.5f * (mix.l[end - FFT_SIZE + i] + mix.r[end - FFT_SIZE + i]);
        an.sums(mono.data(), out);
    }
};

TEST_F(MusicVoices, EachVoiceFeedsItsBand) {
    const long T = RATE;                  // every hit starts at one second; read 1024 frames later
    float b[4];
    kick(T, 1.0f);
    bands_at(T + FFT_SIZE, b);
    EXPECT_GT(b[0], 4.0f * (b[1] + b[2] + b[3])) << "kick";
    clear(0, 4 * RATE);
    hat(T, 1.0f, 0.0f, (long)(0.045f * RATE));
    bands_at(T + FFT_SIZE, b);
    EXPECT_GT(b[3], 3.0f * (b[0] + b[1] + b[2])) << "hat";
    clear(0, 4 * RATE);
    clap(T, 1.0f);
    bands_at(T + FFT_SIZE, b);
    EXPECT_GT(b[1] * b[2], 10.0f * b[0] * b[0] + 1e-6f) << "clap";
    clear(0, 4 * RATE);
    stab(T, FM, 1.0f, 7000.0f, 0.16f);
    bands_at(T + FFT_SIZE, b);
    EXPECT_GT(b[1], b[0]) << "stab";
    EXPECT_GT(b[2], 0.05f) << "stab";
    clear(0, 4 * RATE);
    bass(T, RATE / 2, R_F, 1.0f, 700.0f);
    bands_at(T + 4 * FFT_SIZE, b);
    EXPECT_GT(b[0], 5.0f * (b[2] + b[3])) << "bass";
}

TEST_F(MusicVoices, DuckingFollowsTheKicksOnly) {
    EXPECT_EQ(duck(grid_sample(8) + 10, 0.5f), 1.0f);         // no kick on beat 2 yet
    kick(grid_sample(8), 1.0f);                                 // a kick on beat 2
    EXPECT_NEAR(duck(grid_sample(8) + 1, 0.5f), 0.5f, 0.01f);
    EXPECT_GT(duck(grid_sample(8) + RATE / 10, 0.5f), 0.8f);    // recovering within 0.2 s
    EXPECT_EQ(duck(grid_sample(8) + RATE / 4, 0.5f), 1.0f);     // and fully back after it
    EXPECT_EQ(duck(grid_sample(12) + 10, 0.5f), 1.0f);         // the next beat has no kick
}

TEST_F(MusicVoices, VarispeedReplaysForwardsAndBackwards) {
    for (long i = 0; i < 3 * RATE; i++) mix.l[i] = mix.r[i] = (float)i;
    varispeed(RATE, 2 * RATE, [](float) { return 1.0f; });
    for (long i = RATE; i < 2 * RATE; i += 997) EXPECT_FLOAT_EQ(mix.l[i], (float)i);   // unit speed changes nothing
    varispeed(RATE, 2 * RATE, [](float) { return -1.0f; });
    for (long i = RATE + 1; i < 2 * RATE; i += 997) EXPECT_FLOAT_EQ(mix.l[i], (float)(2 * RATE - i));   // a mirror
}

TEST(MusicEncode, SameSamplesGiveTheSameBytes) {
    std::vector<float> l(RATE), r(RATE);
    Rng rng(3);
    for (int i = 0; i < RATE; i++) { l[i] = 0.3f * sin_turns(440.0f * i / RATE); r[i] = 0.1f * rng.noise(); }
    const char *a = ORBPLUME_BINARY_DIR "/musicgen_test_a.ogg", *b = ORBPLUME_BINARY_DIR "/musicgen_test_b.ogg";
    ASSERT_TRUE(write_ogg(a, l.data(), r.data(), RATE));
    ASSERT_TRUE(write_ogg(b, l.data(), r.data(), RATE));
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba((std::istreambuf_iterator<char>(fa)), {}), bb((std::istreambuf_iterator<char>(fb)), {});
    EXPECT_GT(ba.size(), 1000u);
    EXPECT_EQ(ba, bb);
    std::vector<float> dl, dr;
    ASSERT_TRUE(decode_ogg(a, dl, dr));
    EXPECT_EQ((long)dl.size(), RATE);
    remove(a);
    remove(b);
}

TEST(MusicScore, MasterAutomationFadesAndBlanksOnCue) {
    std::vector<GainPoint> a = master_automation();
    for (size_t i = 1; i < a.size(); i++) EXPECT_LE(a[i - 1].frame, a[i].frame);
    EXPECT_EQ(a.front().frame, 0);
    EXPECT_EQ(a.front().gain, 0.0f);                            // the show starts from silence
    EXPECT_EQ(a.back().gain, 0.0f);
    bool blank = false;
    for (const GainPoint &p : a) blank |= p.frame == at(65.9375) && p.gain == 0.0f;
    EXPECT_TRUE(blank);
}
