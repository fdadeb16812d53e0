// tests/audio/spectrum_test.cpp - the analyser's scale and band ranges, silence, a sine
// landing in its band, and the offline clock agreeing with the live player.
#include "ogg_fixture.h"
#include "audio/sound_player.h"
#include "audio/spectrum.h"
#include <SDL.h>

constexpr double BIN_HZ = 44100.0 / 1024.0;

TEST(SpectrumTest, FullScaleSineCentredOnABinReadsOne) {
    float mono[SPECTRUM_WINDOW], mags[SPECTRUM_BINS];
    for (int bin : { 5, 40, 300 }) {
        for (int i = 0; i < SPECTRUM_WINDOW; i++) mono[i] = float(std::sin(2.0 * TEST_PI * bin * i / SPECTRUM_WINDOW + 0.3));
        compute_spectrum(mono, mags);
        EXPECT_NEAR(mags[bin], 1.0f, 1e-3f) << "bin " << bin;
        EXPECT_NEAR(mags[bin + 1], 0.5f, 1e-3f);   // the Hann window's two neighbours
        EXPECT_NEAR(mags[bin - 1], 0.5f, 1e-3f);
        EXPECT_LT(mags[bin + 3], 1e-3f);
    }
    for (float &m : mono) m = 0.0f;
    compute_spectrum(mono, mags);
    for (float m : mags) ASSERT_EQ(m, 0.0f);
}

TEST(SpectrumTest, BandRangesPartitionTheBins) {
    float mags[SPECTRUM_BINS], sums[BAND_COUNT];
    for (int k = 0; k < SPECTRUM_BINS; k++) {
        for (float &m : mags) m = 0.0f;
        mags[k] = 1.0f;
        sum_bands(mags, sums);
        int band = k < 16 ? 0 : k < 64 ? 1 : k < 128 ? 2 : 3;
        for (int b = 0; b < BAND_COUNT; b++) ASSERT_EQ(sums[b], b == band ? 1.0f : 0.0f) << "bin " << k;
    }
    for (float &m : mags) m = 1.0f;
    sum_bands(mags, sums);
    EXPECT_EQ(sums[0], 16.0f);
    EXPECT_EQ(sums[1], 48.0f);
    EXPECT_EQ(sums[2], 64.0f);
    EXPECT_EQ(sums[3], 384.0f);
}

using SpectrumMusicTest = MusicTest;

TEST_F(SpectrumMusicTest, SilenceGivesFourZerosLiveAndOffline) {
    std::string path = write_test_ogg("spectrum_silence.ogg", 22050, 2, 44100, silence);
    open_music(path.c_str(), 130.0f, false);
    SDL_Delay(80);
    pattern_clock();
    update_band_sums();
    for (float s : spectrum.band_sums) EXPECT_EQ(s, 0.0f);
    close_music();

    open_music_offline(path.c_str(), 130.0f);
    set_virtual_time(0.03);
    pattern_clock();
    update_band_sums();
    for (float s : spectrum.band_sums) EXPECT_EQ(s, 0.0f);
}

TEST_F(SpectrumMusicTest, SineLandsInItsBandAtAboutFullScale) {
    // bin 70 (3015 Hz) is in the high middle band; bin 8 (345 Hz) in the bass
    struct { int bin, band; } cases[] = { { 70, 2 }, { 8, 0 }, { 200, 3 } };
    for (auto c : cases) {
        std::string path = write_test_ogg("spectrum_sine.ogg", 22050, 2, 44100, sine_wave(c.bin * BIN_HZ, 1.0));
        open_music_offline(path.c_str(), 130.0f);
        set_virtual_time(0.03);   // 221 ms in
        EXPECT_NEAR(pattern_clock(), 0.03f, 1e-6f);
        update_band_sums();
        EXPECT_NEAR(spectrum.magnitudes[c.bin], 1.0f, 0.05f) << "bin " << c.bin;
        for (int b = 0; b < BAND_COUNT; b++) {
            if (b == c.band) EXPECT_GT(spectrum.band_sums[b], 1.9f);   // peak and its two halves
            else EXPECT_LT(spectrum.band_sums[b], 0.2f) << "bin " << c.bin << " band " << b;
        }
        close_music();
    }
}

TEST_F(SpectrumMusicTest, OfflineGivesTheLiveBandSumsAtTheSamePosition) {
    // a rising chirp: every position has its own spectrum
    auto chirp = [](long i, int c) {
        double t = double(i) / 44100.0;
        return float(0.5 * std::sin(2.0 * TEST_PI * (200.0 * t + 4000.0 * t * t)) * (c ? 0.8 : 1.0));
    };
    std::string path = write_test_ogg("spectrum_chirp.ogg", 44100, 2, 44100, chirp);
    open_music(path.c_str(), 130.0f, false);
    SDL_Delay(250);
    sound_set_paused(true);
    SDL_Delay(150);           // the clock settles where the device stopped
    pattern_clock();
    double ms = sound_stream_time();
    ASSERT_GT(ms, 50.0);
    update_band_sums();
    SpectrumGlobals live = spectrum;
    close_music();

    open_music_offline(path.c_str(), 130.0f);
    set_virtual_time(ms / 60000.0 * 130.0 / 16.0);
    update_band_sums();
    float total = 0.0f;
    for (int b = 0; b < BAND_COUNT; b++) {
        EXPECT_FLOAT_EQ(spectrum.band_sums[b], live.band_sums[b]) << "band " << b;
        total += live.band_sums[b];
    }
    EXPECT_GT(total, 0.5f);
}

TEST_F(SpectrumMusicTest, OpenMusicStartsWithValidSums) {
    spectrum.band_sums[2] = 5.0f;
    std::string path = write_test_ogg("spectrum_start.ogg", 4410, 1, 44100, sine_wave(3000.0, 0.5));
    open_music_offline(path.c_str(), 130.0f);   // time 0: nothing heard yet
    for (float s : spectrum.band_sums) EXPECT_EQ(s, 0.0f);
    EXPECT_NEAR(music_length_patterns(), 0.1 / (16.0 * 60.0 / 130.0), 1e-6);
}
