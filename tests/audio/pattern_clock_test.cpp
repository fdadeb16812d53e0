// tests/audio/pattern_clock_test.cpp - the live clock on SDL's dummy audio driver: the
// pattern formula and seek rounding, smooth and monotonic play, frozen time, the end of
// the music with and without looping.
#include "ogg_fixture.h"
#include "audio/sound_player.h"
#include "audio/spectrum.h"
#include <SDL.h>
#include <vector>

static std::string tone_track() {   // 2 s, stereo
    return write_test_ogg("clock_tone.ogg", 88200, 2, 44100, sine_wave(440.0, 0.3));
}
static std::string blip_track() {   // 0.25 s: ends (or wraps) quickly
    return write_test_ogg("clock_blip.ogg", 11025, 1, 44100, sine_wave(880.0, 0.3));
}
static std::string long_track() {   // 23 s of silence: room to seek to pattern 3
    return write_test_ogg("clock_long.ogg", 23 * 44100, 1, 44100, silence);
}

struct ClockSample { double wall, show; };

// Reads the clock about every millisecond for `ms` milliseconds of wall time.
static std::vector<ClockSample> sample_clock(int ms) {
    std::vector<ClockSample> samples;
    Uint64 start = SDL_GetPerformanceCounter();
    double freq = double(SDL_GetPerformanceFrequency());
    for (;;) {
        double wall = double(SDL_GetPerformanceCounter() - start) / freq;
        if (wall * 1000.0 > ms) return samples;
        samples.push_back({ wall, double(pattern_clock()) });
        SDL_Delay(1);
    }
}

static bool wait_for_quit(int ms) {
    for (int waited = 0; waited < ms && app.quit_requests == 0; waited++) SDL_Delay(1);
    return app.quit_requests != 0;
}

using PatternClockTest = MusicTest;

TEST_F(PatternClockTest, SeekRoundsToWholeMillisecondsAndTheClockReadsThemBack) {
    open_music(long_track().c_str(), 130.0f, false);
    sound_set_paused(true);   // hold the position so that the reading is exact
    seek_patterns(3.0f);
    EXPECT_NEAR(sound_stream_time(), 22153.0, 0.05);
    EXPECT_NEAR(pattern_clock(), 2.99989f, 1e-5f);
    seek_patterns(1.0f);      // 7384.6 ms truncated
    EXPECT_NEAR(pattern_clock(), 7384.0 / 60000.0 * 130.0 / 16.0, 1e-5);
    seek_patterns(-0.5f);     // before the start: clamped to 0
    EXPECT_EQ(pattern_clock(), 0.0f);
    EXPECT_EQ(app.quit_requests, 0);
}

TEST_F(PatternClockTest, ShowTimeStartsAtZeroAndRisesSmoothly) {
    open_music(tone_track().c_str(), 130.0f, false);
    EXPECT_LT(pattern_clock(), 0.01f);
    std::vector<ClockSample> s = sample_clock(500);
    ASSERT_GT(s.size(), 50u);
    double error_ms = 0.0;   // clock step against wall step, summed after a settling time
    int steps = 0;
    for (size_t i = 1; i < s.size(); i++) {
        ASSERT_GE(s[i].show, s[i - 1].show) << "show time ran backwards at sample " << i;
        if (s[i].wall < 0.1) continue;
        double clock_s = (s[i].show - s[i - 1].show) * 16.0 / 130.0 * 60.0;
        error_ms += std::fabs(clock_s - (s[i].wall - s[i - 1].wall)) * 1000.0;
        steps++;
    }
    // A clock that stepped once per 23 ms device buffer would average about 2 ms here.
    EXPECT_LT(error_ms / steps, 0.5);
    double pace = (s.back().show - s[0].show) * 16.0 / 130.0 * 60.0 / (s.back().wall - s[0].wall);
    EXPECT_GT(pace, 0.5);
    EXPECT_LT(pace, 1.5);
}

TEST_F(PatternClockTest, FrozenTimeHoldsTheClockUntilReleased) {
    open_music(tone_track().c_str(), 130.0f, false);
    SDL_Delay(60);   // the device is under way
    music.frozen_time = 0.1f;
    for (int i = 0; i < 6; i++) EXPECT_EQ(pattern_clock(), 0.1f);
    update_band_sums();   // the repeated snippet still sounds: the 440 Hz tone in the bass band
    EXPECT_GT(spectrum.band_sums[0], 0.2f);
    double heard = sound_stream_time();   // re-seeked to 738 ms (738.46 truncated) by each call
    EXPECT_GE(heard, 738.0);
    EXPECT_LT(heard, 738.0 + 30.0);       // at most one device buffer has played since
    music.frozen_time = 0.0f;
    float released = pattern_clock();
    EXPECT_NEAR(released, 0.1f, 0.005f);
    SDL_Delay(120);
    EXPECT_GT(pattern_clock(), released);
}

TEST_F(PatternClockTest, EndOfMusicEndsTheShowWithoutLoop) {
    open_music(blip_track().c_str(), 130.0f, false);
    ASSERT_TRUE(wait_for_quit(3000));
    EXPECT_EQ(app.quit_requests, 1);
    EXPECT_NEAR(pattern_clock(), music_length_patterns(), 1e-4);   // the clock stops at the end
    SDL_Delay(60);
    EXPECT_EQ(app.quit_requests, 1);   // notified once
}

TEST_F(PatternClockTest, SeekingPastTheEndEndsTheShowWithoutLoop) {
    open_music(tone_track().c_str(), 130.0f, false);
    seek_patterns(1.0f);   // 7.4 s into a 2 s track
    EXPECT_EQ(app.quit_requests, 1);
}

TEST_F(PatternClockTest, LoopWrapsShowTimeToZero) {
    open_music(blip_track().c_str(), 130.0f, true);
    float length = music_length_patterns();
    std::vector<ClockSample> s = sample_clock(700);
    int wraps = 0;
    for (size_t i = 1; i < s.size(); i++) {
        if (s[i].show >= s[i - 1].show) continue;
        wraps++;
        EXPECT_GT(s[i - 1].show, length * 0.8);   // fell back from near the end...
        EXPECT_LT(s[i].show, length * 0.2);       // ...to near the start
    }
    EXPECT_GE(wraps, 1);
    EXPECT_EQ(app.quit_requests, 0);

    sound_set_paused(true);
    seek_patterns(length + 0.01f);   // past the end: wraps to 0.01
    EXPECT_NEAR(pattern_clock(), 0.01f, 2e-4f);
    EXPECT_EQ(app.quit_requests, 0);
}

TEST_F(PatternClockTest, OnlyTheEndOfStreamNotificationCountsAsQuit) {
    int sync_data = 7;
    EXPECT_TRUE(music_notification(&sync_data));
    EXPECT_EQ(app.quit_requests, 0);
    EXPECT_TRUE(music_notification(nullptr));
    EXPECT_EQ(app.quit_requests, 1);
}
