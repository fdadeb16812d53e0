// tests/post/flash_limit_test.cpp - the reduce-flashing limiter on made-up frame sequences,
// its blends applied the way the picture gets them (each cell by the mean of its corners)
// and the result measured by the flash rule: strobes come out safe at any frame rate, what
// is already safe comes out untouched, and only the part of the screen that strobes changes.
#include "post/flash_limit.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

constexpr int CELLS = GENTLE_COLS * GENTLE_ROWS;
constexpr int CORNERS = (GENTLE_COLS + 1) * (GENTLE_ROWS + 1);

struct Outcome {
    FlashCount worst = { 0, 0 };   // the most swings in any second of what was shown
    int limited_frames = 0;        // frames with any blend
    float most_weight = 0;         // the largest corner weight of any frame
    std::vector<float> weight_sum; // per corner, over all frames
    int bright_frames = 0;         // frames whose first cell was shown at least half white
};

// Frames at times(k) with colour(t, x, y) per cell, through the limiter; what was shown goes
// to the rule's analysis on its own 16 x 12 grid.
static Outcome run_limited(int frames, const std::function<double(int)> &time_of,
                           const std::function<float(double, int, int)> &level, bool limit = true) {
    FlashLimiter limiter;
    start_flash_limiter(limiter, GENTLE_COLS, GENTLE_ROWS);
    FlashAnalysis analysis;
    start_flash_analysis(analysis, FLASH_GRID_COLS * FLASH_GRID_ROWS);
    Outcome out;
    out.weight_sum.assign(CORNERS, 0.0f);
    std::vector<float> fresh(CELLS * 3), shown(CELLS * 3), corners(CORNERS);
    std::vector<CellLight> check(FLASH_GRID_COLS * FLASH_GRID_ROWS);
    for (int k = 0; k < frames; k++) {
        const double t = time_of(k);
        for (int y = 0; y < GENTLE_ROWS; y++)
            for (int x = 0; x < GENTLE_COLS; x++)
                std::fill_n(&fresh[(y * GENTLE_COLS + x) * 3], 3, level(t, x, y));
        const bool any = limit_flashes(limiter, t, fresh.data(), corners.data());
        if (!limit) std::fill(corners.begin(), corners.end(), 0.0f);
        out.limited_frames += any;
        for (int y = 0; y < GENTLE_ROWS; y++)
            for (int x = 0; x < GENTLE_COLS; x++) {
                const float *c = &corners[y * (GENTLE_COLS + 1) + x];
                const float w = k == 0 ? 0.0f : 0.25f * (c[0] + c[1] + c[GENTLE_COLS + 1] + c[GENTLE_COLS + 2]);
                for (int j = 0; j < 3; j++) {
                    float &s = shown[(y * GENTLE_COLS + x) * 3 + j];
                    s = fresh[(y * GENTLE_COLS + x) * 3 + j] + (s - fresh[(y * GENTLE_COLS + x) * 3 + j]) * w;
                }
            }
        for (int i = 0; i < CORNERS; i++) {
            out.weight_sum[i] += corners[i];
            out.most_weight = std::max(out.most_weight, corners[i]);
        }
        out.bright_frames += shown[0] >= 0.5f;
        // Each check cell is the linear mean of 2 x 2 limiter cells.
        for (int y = 0; y < FLASH_GRID_ROWS; y++)
            for (int x = 0; x < FLASH_GRID_COLS; x++) {
                float sum = 0;
                for (int dy = 0; dy < 2; dy++)
                    for (int dx = 0; dx < 2; dx++)
                        sum += srgb_to_linear(shown[((2 * y + dy) * GENTLE_COLS + 2 * x + dx) * 3]);
                check[y * FLASH_GRID_COLS + x] = light_of_linear(sum / 4, sum / 4, sum / 4);
            }
        const FlashCount c = analyse_flash_frame(analysis, t, check.data());
        out.worst.general = std::max(out.worst.general, c.general);
        out.worst.red = std::max(out.worst.red, c.red);
    }
    return out;
}

static bool lit(double t, double per_second) {
    return std::fmod(t * per_second, 1.0) < 0.5 - 1e-9;
}

TEST(FlashLimitTest, AFullScreenStrobeComesOutSafeAtAnyFrameRate) {
    for (int fps : { 30, 60, 144 }) {
        SCOPED_TRACE(fps);
        const Outcome o = run_limited(5 * fps, [fps](int k) { return 20.0 + double(k) / fps; },
                                      [](double t, int, int) { return lit(t, 10) ? 1.0f : 0.0f; });
        EXPECT_LE(o.worst.general, FLASH_MAX_SWINGS);
        EXPECT_GE(o.worst.general, 4);   // a few flashes a second are kept, not all smoothed away
        EXPECT_GT(o.limited_frames, 0);
        // Some whole flashes get through: the white is shown now and then, not only dimmed.
        EXPECT_GT(o.bright_frames, fps / 2);
    }
}

TEST(FlashLimitTest, WhatIsAlreadySafeIsLeftAlone) {
    const auto at60 = [](int k) { return k / 60.0; };
    // A still picture, a slow fade and a two-per-second full strobe.
    EXPECT_EQ(run_limited(240, at60, [](double, int x, int y) { return (x + y) / 60.0f; }).limited_frames, 0);
    EXPECT_EQ(run_limited(240, at60, [](double t, int, int) { return float(0.5 + 0.5 * std::sin(t)); }).limited_frames, 0);
    const Outcome two = run_limited(300, at60, [](double t, int, int) { return lit(t, 2) ? 1.0f : 0.0f; });
    EXPECT_EQ(two.limited_frames, 0);
    EXPECT_EQ(two.worst.general, 4);
}

TEST(FlashLimitTest, OnlyTheStrobingPartIsHeldBack) {
    // The left quarter strobes ten times a second, the rest is still.
    const Outcome o = run_limited(180, [](int k) { return k / 60.0; }, [](double t, int x, int) {
        return x < GENTLE_COLS / 4 ? (lit(t, 10) ? 1.0f : 0.0f) : 0.3f;
    });
    EXPECT_GT(o.limited_frames, 0);
    for (int y = 0; y <= GENTLE_ROWS; y++)
        for (int x = 0; x <= GENTLE_COLS; x++) {
            const float sum = o.weight_sum[y * (GENTLE_COLS + 1) + x];
            if (x <= GENTLE_COLS / 4) EXPECT_GT(sum, 0.0f) << x << "," << y;
            else EXPECT_EQ(sum, 0.0f) << x << "," << y;
        }
}

TEST(FlashLimitTest, HalvesTakingTurnsCannotFlashTheScreenTooOften) {
    // Each half flashes twice a second, well within what one cell may do, but in turn: the
    // screen as a whole swings eight times a second.
    const auto turns = [](double t, int x, int) { return (x < GENTLE_COLS / 2) == lit(t, 2) ? 1.0f : 0.0f; };
    const auto at60 = [](int k) { return k / 60.0; };
    EXPECT_GT(run_limited(240, at60, turns, false).worst.general, FLASH_MAX_SWINGS);
    const Outcome o = run_limited(240, at60, turns);
    EXPECT_LE(o.worst.general, FLASH_MAX_SWINGS);
    EXPECT_GT(o.limited_frames, 0);
}

TEST(FlashLimitTest, TimeStandingStillOpensNoRoom) {
    // A paused clock with a flickering picture: the frames all count as the same moment.
    int frame = 0;
    const Outcome still = run_limited(120, [&frame](int k) { frame = k; return 30.0; },
                                      [&frame](double, int, int) { return frame % 2 ? 1.0f : 0.0f; });
    EXPECT_LE(still.worst.general, FLASH_MAX_SWINGS);
    EXPECT_GT(still.limited_frames, 50);   // every frame that would brighten again
}

TEST(FlashLimitTest, EachCornerTakesItsCellsLargestWeight) {
    std::vector<float> cells(CELLS, 0.0f), corners(CORNERS);
    cells[5 * GENTLE_COLS + 7] = 0.5f;
    cells[5 * GENTLE_COLS + 8] = 0.25f;
    corner_weights(cells.data(), GENTLE_COLS, GENTLE_ROWS, corners.data());
    const auto corner = [&](int x, int y) { return corners[y * (GENTLE_COLS + 1) + x]; };
    EXPECT_EQ(corner(7, 5), 0.5f);
    EXPECT_EQ(corner(8, 6), 0.5f);    // shared by both cells: the larger
    EXPECT_EQ(corner(9, 5), 0.25f);
    EXPECT_EQ(corner(6, 5), 0.0f);
    float total = 0;
    for (float c : corners) total += c;
    EXPECT_FLOAT_EQ(total, 4 * 0.5f + 2 * 0.25f);
}
