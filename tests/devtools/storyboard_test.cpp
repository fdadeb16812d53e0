// tests/devtools/storyboard_test.cpp - the storyboard's parts that need no window: how a
// frame's exposure is judged, which show times make the pages and where each lands, the
// labels, and the command line that asks for it.
#include "devtools/exposure.h"
#include "devtools/page_text.h"
#include "devtools/storyboard.h"
#include "platform/options.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

//----------------------------------------------------------------------------------
// Helpers
//----------------------------------------------------------------------------------
static std::vector<unsigned char> grey_frame(int w, int h, unsigned char level) {
    return std::vector<unsigned char>(size_t(w) * h * 3, level);
}

static bool parse(std::vector<const char *> args, Options &o, std::string &e) {
    args.insert(args.begin(), "orbplume");
    return parse_options(int(args.size()), const_cast<char **>(args.data()), o, e);
}

//----------------------------------------------------------------------------------
// Exposure
//----------------------------------------------------------------------------------
// Luma weighs green most and blue least; a frame is washed out by its mean or by a white
// majority, and only the measured rectangle counts.
TEST(ExposureTest, MeanLumaAndWhiteShareJudgeTheMeasuredRectangle) {
    const unsigned char red[3] = { 255, 0, 0 }, green[3] = { 0, 255, 0 }, blue[3] = { 0, 0, 255 };
    EXPECT_EQ(pixel_luma(red), 76);
    EXPECT_EQ(pixel_luma(green), 150);
    EXPECT_EQ(pixel_luma(blue), 29);

    std::vector<unsigned char> frame = grey_frame(40, 30, 60);
    // The right half white: mean (60 + 255) / 2, half the pixels white (not more than half).
    for (int y = 0; y < 30; y++)
        for (int x = 20; x < 40; x++) std::fill_n(&frame[(size_t(y) * 40 + x) * 3], 3, 255);
    FrameExposure e = measure_exposure(frame.data(), 40, 0, 0, 40, 30);
    EXPECT_NEAR(e.mean_luma, 157.5, 1e-9);
    EXPECT_NEAR(e.white_share, 0.5, 1e-9);
    EXPECT_FALSE(frame_washed_out(e));

    // One more white column tips the share past half, though the mean stays under 200.
    for (int y = 0; y < 30; y++) std::fill_n(&frame[(size_t(y) * 40 + 19) * 3], 3, 255);
    e = measure_exposure(frame.data(), 40, 0, 0, 40, 30);
    EXPECT_GT(e.white_share, 0.5);
    EXPECT_LT(e.mean_luma, WASHED_MEAN_LUMA);
    EXPECT_TRUE(frame_washed_out(e));

    // Only the rectangle counts: the white half alone, or the dark half alone.
    EXPECT_NEAR(measure_exposure(frame.data(), 40, 20, 5, 20, 20).mean_luma, 255, 1e-9);
    EXPECT_NEAR(measure_exposure(frame.data(), 40, 0, 0, 19, 30).mean_luma, 60, 1e-9);

    // A milky frame with no white at all is washed out by its mean; one level less is not.
    const std::vector<unsigned char> milky = grey_frame(16, 12, 200), grey = grey_frame(16, 12, 199);
    EXPECT_TRUE(frame_washed_out(measure_exposure(milky.data(), 16, 0, 0, 16, 12)));
    EXPECT_FALSE(frame_washed_out(measure_exposure(grey.data(), 16, 0, 0, 16, 12)));
    // Just below near white is not white.
    const std::vector<unsigned char> pale = grey_frame(16, 12, NEAR_WHITE_LUMA - 1);
    EXPECT_EQ(measure_exposure(pale.data(), 16, 0, 0, 16, 12).white_share, 0);
}

//----------------------------------------------------------------------------------
// Times, cells, labels
//----------------------------------------------------------------------------------
TEST(StoryboardLayoutTest, TimesRunFromStartToEndAndCellsTileThePage) {
    // Both ends included; rounding of the step does not lose the last time or add one.
    std::vector<double> t = storyboard_times(0.03125, 85.53125, 0.5);
    ASSERT_EQ(t.size(), 172u);
    EXPECT_DOUBLE_EQ(t[1], 0.53125);
    EXPECT_NEAR(t.back(), 85.53125, 1e-9);
    EXPECT_EQ(storyboard_times(1.0, 1.3, 0.1).size(), 4u);
    EXPECT_EQ(storyboard_times(2.0, 2.0, 0.5).size(), 1u);
    EXPECT_TRUE(storyboard_times(3.0, 2.0, 0.5).empty());
    EXPECT_TRUE(storyboard_times(0.0, 2.0, 0.0).empty());

    // Every cell's thumbnail and two label lines stay on the page, under the title strip,
    // and no two cells overlap; the next page starts again at the top left.
    const int per_page = STORYBOARD_COLUMNS * STORYBOARD_ROWS;
    const int cell_h = STORYBOARD_THUMB_H + 36;   // thumbnail, border, two lines of 13 px and descenders
    for (int i = 0; i < per_page; i++) {
        const StoryboardCell a = storyboard_cell(i);
        EXPECT_GE(a.x, 3);
        EXPECT_GE(a.y, STORYBOARD_HEADER);
        EXPECT_LE(a.x + STORYBOARD_THUMB_W + 3, STORYBOARD_PAGE_W);
        EXPECT_LE(a.y + cell_h, STORYBOARD_PAGE_H) << i;
        for (int j = 0; j < i; j++) {
            const StoryboardCell b = storyboard_cell(j);
            const bool apart = a.x >= b.x + STORYBOARD_THUMB_W + 6 || b.x >= a.x + STORYBOARD_THUMB_W + 6 ||
                               a.y >= b.y + cell_h || b.y >= a.y + cell_h;
            EXPECT_TRUE(apart) << i << " and " << j;
        }
    }
    EXPECT_EQ(storyboard_cell(per_page).x, storyboard_cell(0).x);
    EXPECT_EQ(storyboard_cell(per_page).y, storyboard_cell(0).y);
    EXPECT_EQ(storyboard_page_name(0), "storyboard-001.png");
    EXPECT_EQ(storyboard_page_name(11), "storyboard-012.png");
}

// The label names the first two distinct scenes of the plan, without the "_scene" suffix;
// a frame without scenes is named by its section.
TEST(StoryboardLayoutTest, LabelsNameTheFirstScenesOfThePlan) {
    const std::string busiest = storyboard_scene_label(54.09375f);
    EXPECT_EQ(std::count(busiest.begin(), busiest.end(), '+'), 1) << busiest;
    EXPECT_EQ(busiest.find("_scene"), std::string::npos) << busiest;
    EXPECT_FALSE(storyboard_scene_label(23.03125f).empty());
    EXPECT_NE(storyboard_scene_label(23.03125f).find("cube_flash"), std::string::npos)
        << storyboard_scene_label(23.03125f);
    EXPECT_EQ(storyboard_scene_label(85.9f), "ending");
}

// Text is drawn inside the page and cut short with an ellipsis rather than run past its width.
TEST(StoryboardLayoutTest, PageTextStaysInsideItsWidth) {
    PageFont *font = open_page_font("Liberation Sans", 13);
    if (!font) GTEST_SKIP() << "no Liberation Sans on this machine";
    std::vector<unsigned char> page = grey_frame(200, 20, 0);
    const unsigned char white[3] = { 255, 255, 255 };
    const char *text = "metaball_sky + metaball_metal + metaball_red";
    EXPECT_GT(page_text_width(font, text), 120);
    const int drawn = draw_page_text(font, page.data(), 200, 20, 10, 15, 120, white, text);
    EXPECT_LE(drawn, 120);
    EXPECT_GT(drawn, 60);
    int rightmost = -1;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 200; x++)
            if (page[(size_t(y) * 200 + x) * 3] > 0) rightmost = std::max(rightmost, x);
    EXPECT_GT(rightmost, 10);
    EXPECT_LT(rightmost, 10 + 120);
    close_page_font(font);
}

//----------------------------------------------------------------------------------
// Command line
//----------------------------------------------------------------------------------
TEST(StoryboardOptionsTest, DefaultsRangesAndRefusals) {
    Options o;
    std::string e;
    ASSERT_TRUE(parse({ "--storyboard", "pages" }, o, e)) << e;
    EXPECT_EQ(o.tool, TOOL_STORYBOARD);
    EXPECT_EQ(o.storyboard_dir, "pages");
    EXPECT_EQ(o.from, STORYBOARD_DEFAULT_FROM);   // off the beat unless asked
    EXPECT_LT(o.to, 0);                           // the music's end
    EXPECT_EQ(o.step, 0.5f);
    EXPECT_EQ(o.width, 384);
    EXPECT_EQ(o.height, 288);

    Options r;
    ASSERT_TRUE(parse({ "--from", "0", "--storyboard", "p", "--to", "10", "--step", "0.25", "--size", "640x480" },
                      r, e)) << e;
    EXPECT_EQ(r.from, 0.0f);   // an explicit 0 is kept
    EXPECT_EQ(r.to, 10.0f);
    EXPECT_EQ(r.step, 0.25f);
    EXPECT_EQ(r.width, 640);

    const std::vector<std::vector<const char *>> refused = {
        { "--storyboard" }, { "--storyboard", "" }, { "--storyboard", "p", "--step", "0" },
        { "--storyboard", "p", "--step", "-1" }, { "--storyboard", "p", "--step", "x" },
        { "--storyboard", "p", "--from", "5", "--to", "4" }, { "--storyboard", "p", "--size", "383x288" },
        { "--render", "1", "--out", "p", "--step", "1" },   // the step belongs to the storyboard
        { "--render", "1", "--out", "p", "--from", "1" },   // the range to the storyboard and export
    };
    for (const auto &args : refused) {
        Options x;
        EXPECT_FALSE(parse(args, x, e)) << args[0] << " " << (args.size() > 2 ? args[2] : "");
        EXPECT_FALSE(e.empty());
    }
}
