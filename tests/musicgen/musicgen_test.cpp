// tests/musicgen/musicgen_test.cpp - the soundtrack generator: grid arithmetic, its own
// maths, the band analyser's scale, the master limiter, and the generated track itself.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>
#include "tools/musicgen/analyse.h"
#include "tools/musicgen/dsp.h"
#include "tools/musicgen/master.h"
#include "tools/musicgen/mix.h"

TEST(MusicGrid, SectionStartsLandOnTheirFrames) {
    const struct { double t; long frame; } STARTS[] = {
        { 0, 0 }, { 2, 651323 }, { 21, 6838892 }, { 33, 10746831 }, { 46, 14980431 },
        { 66, 21493662 }, { 79, 25727262 }, { 32.953125, 10731565 },
    };
    for (const auto &s : STARTS) EXPECT_EQ(at(s.t), s.frame) << "t = " << s.t;
    EXPECT_EQ(at(13.0), 4233600);                  // 13 patterns are exactly 96 s
    EXPECT_EQ(at(86.0) + 1, TOTAL_FRAMES);
    for (long b = 0; b < 86 * 16; b++)             // every beat within half a frame of b * 264600 / 13
        EXPECT_LE(std::fabs(grid_sample(4 * b) - b * 264600.0 / 13.0), 0.5) << "beat " << b;
}

TEST(MusicMaths, OwnFunctionsMatchTheLibrary) {
    for (double x : { -20.0, -3.3, -0.5, 0.0, 0.25, 1.0, 7.9 }) EXPECT_NEAR(exp2_d(x) / std::exp2(x), 1.0, 1e-12);
    for (double x : { 0.001, 0.3, 1.0, 2.0, 1000.0 }) EXPECT_NEAR(log2_d(x), std::log2(x), 1e-12);
    for (double x : { -7.0, -1.5, 0.0, 0.7, 3.1, 12.0 }) EXPECT_NEAR(sin_d(x), std::sin(x), 1e-12);
    for (float p : { 0.0f, 0.1f, 0.25f, 0.6f, 0.999f }) EXPECT_NEAR(sin_turns(p), std::sin(2 * PI * p), 1e-5);
    EXPECT_NEAR(note_hz(69), 440.0f, 1e-3f);
    EXPECT_NEAR(note_hz(29), 43.654f, 1e-3f);      // the tonic F1
}

TEST(MusicMaths, NoiseIsSeededAndBounded) {
    Rng a(7), b(7), c(8);
    bool differs = false;
    double sum = 0.0;
    for (int i = 0; i < 10000; i++) {
        float x = a.noise();
        EXPECT_EQ(x, b.noise());
        differs |= x != c.noise();
        EXPECT_GE(x, -1.0f);
        EXPECT_LT(x, 1.0f);
        sum += x;
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 10000, 0.0, 0.03);
}

TEST(MusicAnalyser, FullScaleSineReadsOneInItsBin) {
    BandAnalyser an;
    std::vector<float> x(FFT_SIZE);
    for (int k : { 5, 23, 100, 300 }) {
        for (int i = 0; i < FFT_SIZE; i++) x[i] = (float)std::sin(2 * PI * k * i / FFT_SIZE);
        float mag[FFT_SIZE / 2], sums[4];
        an.magnitudes(x.data(), mag);
        an.sums(x.data(), sums);
        EXPECT_NEAR(mag[k], 1.0f, 1e-3f);
        int band = k < 16 ? 0 : k < 64 ? 1 : k < 128 ? 2 : 3;
        EXPECT_NEAR(sums[band], 2.0f, 1e-2f);
        float total = 0.0f;
        for (int i = 0; i < FFT_SIZE / 2; i++) total += mag[i];
        EXPECT_NEAR(sums[0] + sums[1] + sums[2] + sums[3], total, 1e-4f);   // ranges cover every bin once
    }
    std::vector<float> silence(FFT_SIZE, 0.0f);
    float sums[4];
    an.sums(silence.data(), sums);
    for (float s : sums) EXPECT_EQ(s, 0.0f);
}

TEST(MusicMaster, LimiterHoldsTheCeilingAndLeavesQuietPassagesAlone) {
    std::vector<float> l(40000), r(40000);
    for (int i = 0; i < 40000; i++) {
        float quiet = 0.3f * (float)std::sin(i * 0.05);
        l[i] = i > 8000 && i < 9000 ? 1.8f * (float)std::sin(i * 0.01) : quiet;
        r[i] = -l[i];
    }
    std::vector<float> before = l;
    limit(l, r, MASTER_CEILING);
    for (int i = 0; i < 40000; i++) {
        EXPECT_LE(std::fabs(l[i]), MASTER_CEILING);
        EXPECT_LE(std::fabs(r[i]), MASTER_CEILING);
    }
    for (int i = 0; i < 7000; i++) ASSERT_EQ(l[i], before[i]) << i;   // untouched well before the burst
    EXPECT_NEAR(l[39999], before[39999], 1e-3f);                      // and recovered after it
}

//---- The generated file ----
class MusicTrack : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ok = decode_ogg(ORBPLUME_BINARY_DIR "/data/vlux_q2_final.ogg", l, r);
        if (!ok) return;
        std::vector<float> mono(l.size());
        for (size_t i = 0; i < l.size(); i++) mono[i] = 0.5f * (l[i] + r[i]);
        frames = band_frames(mono);
    }
    static float median(double t0, double t1, int band) {
        std::vector<float> v;
        for (long k = (long)(at(t0) / BAND_HOP); k < (long)(at(t1) / BAND_HOP) && k < (long)frames.size(); k++)
            v.push_back(frames[k].b[band]);
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }
    static inline bool ok = false;
    static inline std::vector<float> l, r;
    static inline std::vector<BandFrame> frames;
};

TEST_F(MusicTrack, HasTheShowLengthWithoutClippingOrClicksAndFallsSilentOnCue) {
    ASSERT_TRUE(ok);
    ASSERT_EQ((long)l.size(), TOTAL_FRAMES);
    float peak = 0.0f;
    for (size_t i = 0; i < l.size(); i++) peak = std::max(peak, std::max(std::fabs(l[i]), std::fabs(r[i])));
    EXPECT_LT(peak, 0.891f);                                    // -1 dBFS
    for (int i = 0; i < 64; i++) EXPECT_LT(std::fabs(l[i]), 0.001f);   // starts from silence
    for (long i = TOTAL_FRAMES - RATE / 4; i < TOTAL_FRAMES; i++) ASSERT_LT(std::fabs(l[i]) + std::fabs(r[i]), 1e-4f);
    for (long i = at(65.9375) + 1100; i < at(66.0) - 1100; i++)   // the black frame before the last drop
        ASSERT_LT(std::fabs(l[i]) + std::fabs(r[i]), 0.01f) << i;
}

TEST_F(MusicTrack, BandsCarryEachSectionsEnergyAndItsAccents) {
    ASSERT_TRUE(ok);
    const struct { double t0, t1; float lo[4], hi[4]; } REGIONS[] = {
        { 0.0, 2.0,   { 0, 0.05f, 0, 0 },               { 0.3f, 0.3f, 0.1f, 0.15f } },
        { 4.0, 19.0,  { 0.6f, 0.15f, 0.04f, 0.15f },    { 1.8f, 0.6f, 0.3f, 0.8f } },
        { 19.1, 21.0, { 0, 0.1f, 0, 0.1f },             { 0.6f, 0.5f, 0.3f, 1.0f } },
        { 21.0, 33.0, { 0.8f, 0.2f, 0.06f, 0.2f },      { 2.0f, 0.7f, 0.4f, 1.0f } },
        { 33.0, 44.0, { 0.6f, 0.2f, 0.05f, 0.15f },     { 1.8f, 0.6f, 0.3f, 0.8f } },
        { 46.0, 65.9, { 0.7f, 0.2f, 0.06f, 0.2f },      { 2.0f, 0.7f, 0.4f, 1.0f } },
        { 66.0, 77.5, { 0.8f, 0.25f, 0.08f, 0.25f },    { 2.2f, 0.8f, 0.5f, 1.2f } },
        { 79.0, 84.0, { 0, 0.1f, 0, 0 },                { 0.5f, 0.4f, 0.15f, 0.3f } },
    };
    for (const auto &g : REGIONS)
        for (int b = 0; b < 4; b++) {
            float m = median(g.t0, g.t1, b);
            EXPECT_GE(m, g.lo[b]) << "t " << g.t0 << "-" << g.t1 << " band " << b;
            EXPECT_LE(m, g.hi[b]) << "t " << g.t0 << "-" << g.t1 << " band " << b;
        }
    // The kick carries the groove sections harder than the breaks that surround them.
    EXPECT_GT(median(21.0, 33.0, 0), 2.0f * median(44.0, 45.75, 0) - 0.5f);
    EXPECT_LT(median(19.1, 21.0, 0), 0.5f * median(4.0, 19.0, 0));

    auto max_in = [](double t0, double t1, auto value) {
        float m = 0.0f;
        for (long k = at(t0) / BAND_HOP; k <= at(t1) / BAND_HOP && k < (long)frames.size(); k++) m = std::max(m, value(frames[k]));
        return m;
    };
    auto band0 = [](const BandFrame &f) { return f.b[0]; };
    auto mids = [](const BandFrame &f) { return f.b[1] * f.b[2]; };
    for (double t : { 23.0, 25.0 }) {                // the cubes swell with the sub boom
        EXPECT_GE(max_in(t, t + 1.0 / 16, band0), 2.0f) << t;
        EXPECT_GE(max_in(t, t + 1.0 / 16, band0), 1.5f * median(t - 1, t + 1, 0)) << t;
    }
    std::vector<float> products;
    for (const BandFrame &f : frames) products.push_back(mids(f));
    std::sort(products.begin(), products.end());
    EXPECT_GE(max_in(76.0, 76.125, mids), products[products.size() * 99 / 100]);   // the show's largest tear
}
