// tests/post/flash_rule_test.cpp - the flash rule on made-up picture sequences: strobes just
// under and over three flashes a second, the quarter-screen area, slow fades, bright and
// small swings that are no flashes, and saturated red counted on its own. Also the cells'
// light from pixels and the check's report.
#include "post/flash_rule.h"
#include "devtools/flash_check.h"
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

constexpr int CELLS = FLASH_GRID_COLS * FLASH_GRID_ROWS;

// Every cell i at time t gets light(t, i); returns the most swings of each kind in any second.
static FlashCount worst_of(int fps, double seconds, const std::function<CellLight(double, int)> &light) {
    FlashAnalysis a;
    start_flash_analysis(a, CELLS);
    FlashCount worst = { 0, 0 };
    std::vector<CellLight> cells(CELLS);
    for (int k = 0; k <= int(seconds * fps); k++) {
        const double t = double(k) / fps;
        for (int i = 0; i < CELLS; i++) cells[i] = light(t, i);
        const FlashCount c = analyse_flash_frame(a, t, cells.data());
        worst.general = std::max(worst.general, c.general);
        worst.red = std::max(worst.red, c.red);
    }
    return worst;
}

static CellLight grey(float luminance) { return CellLight{ luminance, 0.0f }; }

// On for the first half of each period, off for the second.
static bool lit(double t, double per_second) {
    return std::fmod(t * per_second, 1.0) < 0.5 - 1e-9;
}

TEST(FlashRuleTest, ThreeFlashesASecondPassAndFourFail) {
    for (int fps : { 30, 60, 144 }) {
        SCOPED_TRACE(fps);
        const FlashCount three = worst_of(fps, 4, [](double t, int) { return grey(lit(t, 3) ? 1.0f : 0.0f); });
        EXPECT_EQ(three.general, 6);
        EXPECT_FALSE(flash_count_fails(three));
        const FlashCount four = worst_of(fps, 4, [](double t, int) { return grey(lit(t, 4) ? 1.0f : 0.0f); });
        EXPECT_EQ(four.general, 8);
        EXPECT_TRUE(flash_count_fails(four));
        EXPECT_EQ(four.red, 0);   // grey has no red in it
    }
}

TEST(FlashRuleTest, OnlyAQuarterOfTheScreenOrMoreCounts) {
    // A 10 per second strobe over the first n cells, the rest still.
    const int quarter = CELLS / 4;
    for (int n : { quarter - 1, quarter }) {
        SCOPED_TRACE(n);
        const FlashCount c = worst_of(60, 3, [n](double t, int i) {
            return grey(i < n && lit(t, 10) ? 0.9f : 0.05f);
        });
        EXPECT_EQ(flash_count_fails(c), n >= quarter);
    }
    // Two far-apart eighths strobing in step make a quarter together.
    const FlashCount apart = worst_of(60, 3, [quarter](double t, int i) {
        const bool strobing = i < quarter / 2 || i >= CELLS - quarter / 2;
        return grey(strobing && lit(t, 10) ? 0.9f : 0.05f);
    });
    EXPECT_TRUE(flash_count_fails(apart));
}

TEST(FlashRuleTest, FadesSmallSwingsAndBrightSwingsAreNoFlashes) {
    // Black to white and back once a second, with a little noise on top.
    const FlashCount fade = worst_of(60, 4, [](double t, int i) {
        const double up = std::fmod(t, 1.0);
        return grey(float((up < 0.5 ? 2 * up : 2 - 2 * up) * 0.95 + 0.02 * std::sin(37.0 * t + i)));
    });
    EXPECT_LE(fade.general, 3);
    // A 10 per second flicker of 15 cd/m²: too small.
    EXPECT_EQ(worst_of(60, 3, [](double t, int) { return grey(lit(t, 10) ? 0.3f : 0.225f); }).general, 0);
    // Between 170 and 200 cd/m²: the darker side is too bright to count.
    EXPECT_EQ(worst_of(60, 3, [](double t, int) { return grey(lit(t, 10) ? 1.0f : 0.85f); }).general, 0);
    // The same swing reaching down to 150 cd/m² counts.
    EXPECT_TRUE(flash_count_fails(worst_of(60, 3, [](double t, int) { return grey(lit(t, 10) ? 1.0f : 0.75f); })));
}

TEST(FlashRuleTest, SaturatedRedIsCountedApart) {
    // Pure red against a grey of the same luminance: no general flash, but a red one.
    const CellLight red = light_of_encoded(1, 0, 0);
    float lo = 0, hi = 1;
    for (int i = 0; i < 30; i++) {
        const float mid = (lo + hi) / 2;
        (light_of_encoded(mid, mid, mid).luminance < red.luminance ? lo : hi) = mid;
    }
    const CellLight matched = light_of_encoded(lo, lo, lo);
    EXPECT_NEAR(matched.luminance, red.luminance, 1e-4);
    EXPECT_NEAR(red.red, 320.0f, 1e-3);
    EXPECT_EQ(matched.red, 0.0f);
    const FlashCount c = worst_of(60, 3, [&](double t, int) { return lit(t, 5) ? red : matched; });
    EXPECT_EQ(c.general, 0);
    EXPECT_EQ(c.red, 10);
    EXPECT_TRUE(flash_count_fails(c));
    // An orange that is not 80 % red does not count as red.
    EXPECT_EQ(light_of_encoded(1, 0.6f, 0).red, 0.0f);
    EXPECT_GT(light_of_encoded(1, 0.3f, 0.2f).red, 0.0f);
}

TEST(FlashRuleTest, CellsAverageLinearLight) {
    EXPECT_NEAR(srgb_to_linear(0.5f), 0.214f, 1e-3);
    EXPECT_NEAR(srgb_to_linear(0.02f), 0.02f / 12.92f, 1e-6);
    // 4 x 2 pixels, 2 x 1 cells: left cell half white, half black; right cell mid grey.
    const unsigned char rgb[] = { 255, 255, 255, 0, 0, 0, 128, 128, 128, 128, 128, 128,
                                  0, 0, 0, 255, 255, 255, 128, 128, 128, 128, 128, 128 };
    CellLight cells[2];
    measure_cells(rgb, 4, 2, 2, 1, cells);
    EXPECT_NEAR(cells[0].luminance, 0.5f, 1e-5);   // linear light averages, not display levels
    EXPECT_NEAR(cells[1].luminance, srgb_to_linear(128 / 255.0f), 1e-5);
}

TEST(FlashReportTest, NamesTheWorstSecondAndEveryFailingStretch) {
    const char *const names[] = { "first", "second" };
    std::vector<CheckedFrame> frames;
    // 10 s at 60 fps; too many flashes from 2 to 3 s, 3.2 to 3.4 s (whose second overlaps the
    // first stretch) and 7 to 7.5 s.
    for (int k = 0; k < 600; k++) {
        const double t = k / 60.0;
        const int swings = ((t >= 2 && t < 3) || (t >= 3.2 && t < 3.4)) ? 8 : (t >= 7 && t < 7.5) ? 12 : 4;
        frames.push_back({ t, t < 5 ? 0 : 1, FlashCount{ swings, t >= 7 && t < 7.5 ? 14 : 0 } });
    }
    const std::string text = flash_report(frames, 60, names, 2);
    EXPECT_NE(text.find("first           4 flashes     1.2 s\n"), std::string::npos) << text;
    EXPECT_NE(text.find("second          7 flashes     0.5 s\n"), std::string::npos) << text;
    EXPECT_NE(text.find("(0:01.0-0:03.4): up to 4 flashes in a second (general)"), std::string::npos) << text;
    EXPECT_NE(text.find("(0:06.0-0:07.5): up to 7 flashes in a second (general and red)"), std::string::npos) << text;
    EXPECT_NE(text.find("worst second: 7 flashes"), std::string::npos) << text;
    EXPECT_NE(text.find("fails: 2 stretches, 1.7 s in all"), std::string::npos) << text;

    for (CheckedFrame &f : frames) f.count = FlashCount{ 6, 6 };
    EXPECT_NE(flash_report(frames, 60, names, 2).find("FLASH CHECK: passes"), std::string::npos);
}
