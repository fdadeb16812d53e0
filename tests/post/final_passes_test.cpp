// tests/post/final_passes_test.cpp - the finishing passes: the beat flash's level and
// picture, the music-driven row tables, the film pass's grain and mask, and the ripple pass
// over the whole window.
#include "post_fixture.h"
#include "post/final_passes.h"
#include "precalc/precalc.h"     // make_stripe_image(), res
#include <cmath>
#include <cstdlib>

class FinalPassTest : public PostTest {
protected:
    void SetUp() override {
        PostTest::SetUp();
        if (!res.grain_texture) {
            res.grain_texture = make_noise_texture(256, 256, 0, 255, 1, 1, 1, 0);
            unsigned char *stripes = make_stripe_image();
            res.stripe_texture = make_texture_from_pixels(stripes, 512, 512, 1, 1, 1, 0);
            std::free(stripes);
        }
    }
};

TEST(FinalPassTables, BeatFlashFadesOutHalfwayToTheNextSixteenth) {
    EXPECT_FLOAT_EQ(beat_flash_level(0.0f, 16, 2), 1.0f);
    EXPECT_FLOAT_EQ(beat_flash_level(1.0f / 64, 16, 2), 0.5f);
    EXPECT_FLOAT_EQ(beat_flash_level(1.0f / 32, 16, 2), 0.0f);
    EXPECT_FLOAT_EQ(beat_flash_level(3.0f / 64, 16, 2), 0.0f);
    EXPECT_NEAR(beat_flash_level(5.0f + 1.0f / 64, 16, 2), 0.5f, 1e-3);
}

TEST(FinalPassTables, SilenceLeavesBothRowTablesFlat) {
    const float silence[4] = { 0, 0, 0, 0 };
    float film[FINAL_PASS_ROWS], ripple[FINAL_PASS_ROWS];
    film_row_offsets(silence, film);
    ripple_row_offsets(silence, ripple);
    for (int p = 0; p < FINAL_PASS_ROWS; p++) {
        EXPECT_EQ(film[p], 0.0f) << p;
        EXPECT_EQ(ripple[p], 0.0f) << p;
    }
}

TEST(FinalPassTables, RippleTearsTheTopFifteenRows) {
    const float middles[4] = { 0, 1, 1, 0 };   // no bass: only the q term remains
    float rows[FINAL_PASS_ROWS];
    ripple_row_offsets(middles, rows);
    EXPECT_NEAR(rows[64], std::pow(0.5, 9), 1e-6);
    EXPECT_NEAR(rows[112], std::pow(112 / 128.0, 9), 1e-5);
    EXPECT_GT(rows[113] - rows[112], 0.3f);   // the extra push begins above row 112
    for (int p = 114; p < FINAL_PASS_ROWS; p++) EXPECT_GT(rows[p], 0.5f) << p;
}

TEST_F(FinalPassTest, BeatFlashLiftsTheWholeWindow) {
    const struct { float s; int grey; } cases[] = { { 0, 128 }, { 1.0f / 64, 64 }, { 1.0f / 32, 0 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.s);
        reset_render_state(BLACK_RGBA);
        beat_flash(c.s, 0.5f, 16, 2);
        std::vector<unsigned char> px = read_pixels(0, 0, 640, 480);
        EXPECT_RGB_NEAR(at(px, 320, 240, 640), c.grey, c.grey, c.grey, 1);
        EXPECT_RGB_NEAR(at(px, 630, 470, 640), c.grey, c.grey, c.grey, 1);
    }
}

TEST_F(FinalPassTest, FilmPassWithoutStrengthOnlyMasks) {
    Texture *white = flat_picture(255, 255, 255);
    film_pass(white, 0, 0.0f, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> first = read_offscreen();
    film_pass(white, 0, 0.0f, 1.0f, RF_OFFSCREEN);
    EXPECT_EQ(read_offscreen(), first);   // no grain, so nothing moves between frames

    // The mask keeps about one channel in three whole and halves the others.
    double sum[3] = {};
    for (int y = 0; y < 280; y++)   // below the wobble's green-only top band
        for (int x = 0; x < OFFSCREEN_WIDTH; x++)
            for (int k = 0; k < 3; k++) sum[k] += at(first, x, y)[k];
    for (double s : sum) EXPECT_NEAR(s / (280.0 * OFFSCREEN_WIDTH), (250 + 128 + 128) / 3.0, 8);

    Texture *grey = flat_picture(128, 128, 128);
    film_pass(grey, 0, 0.5f, 1.0f, RF_OFFSCREEN);
    first = read_offscreen();
    film_pass(grey, 0, 0.5f, 1.0f, RF_OFFSCREEN);
    EXPECT_NE(read_offscreen(), first);   // the grain moves every frame
}

TEST_F(FinalPassTest, RippleInSilenceFillsTheWindowUnshifted) {
    Texture *picture = flat_picture(90, 160, 230);
    ripple_pass(picture, 0, 0.1f, 1.0f);
    std::vector<unsigned char> px = read_pixels(0, 0, 640, 480);
    EXPECT_RGB_NEAR(at(px, 5, 5, 640), 90, 160, 230, 2);
    EXPECT_RGB_NEAR(at(px, 634, 470, 640), 90, 160, 230, 2);
    EXPECT_RGB_NEAR(at(px, 320, 479, 640), 0, 0, 0, 0);   // the strips stop short of the top
}
