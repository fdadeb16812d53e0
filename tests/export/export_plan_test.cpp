// tests/export/export_plan_test.cpp - which show times and which samples of the track each
// exported frame gets: pictures and sound in step at any frame rate, the whole track with
// its end, and the stretches refused.
#include "devtools/export.h"
#include <gtest/gtest.h>
#include <cmath>

constexpr long long TRACK = 28006893;   // samples of the show's track
constexpr int RATE = 44100;
constexpr double PATTERN_SECONDS = 16 * 60 / 130.0;

TEST(ExportPlanTest, EveryFrameHearsTheSamplesOfItsOwnShowTime) {
    for (int fps : { 1, 24, 25, 30, 60, 144 }) {
        for (double from : { 0.0, 2.0, 13.37 }) {
            SCOPED_TRACE(testing::Message() << fps << " fps from " << from);
            ExportPlan plan;
            std::string e;
            ASSERT_TRUE(plan_export(from, from + 0.5, fps, TRACK, RATE, plan, e)) << e;
            // Just enough frames to cover the stretch.
            EXPECT_GE(double(plan.frames) / fps, 0.5 * PATTERN_SECONDS - 1e-9);
            EXPECT_LT(double(plan.frames - 1) / fps, 0.5 * PATTERN_SECONDS);
            EXPECT_NEAR(plan.first_sample, from * PATTERN_SECONDS * RATE, 0.5);
            long long span_min = RATE, span_max = 0;
            for (long long k = 0; k <= plan.frames; k++) {
                // Where the picture's show time falls in the track, against the frame's first sample.
                const double heard = export_frame_time(plan, k) * PATTERN_SECONDS * RATE;
                EXPECT_NEAR(double(export_frame_sample(plan, k)), heard, 1.0) << k;
                if (k == plan.frames) break;
                const long long span = export_frame_sample(plan, k + 1) - export_frame_sample(plan, k);
                span_min = std::min(span_min, span);
                span_max = std::max(span_max, span);
            }
            // Samples per frame differ by at most one: no frame's sound is stretched or squeezed.
            EXPECT_EQ(span_min, RATE / fps);
            EXPECT_LE(span_max - span_min, 1);
            // Sound and pictures of the whole stretch differ by less than one frame.
            const double sound = double(export_frame_sample(plan, plan.frames) - plan.first_sample) / RATE;
            EXPECT_NEAR(sound, double(plan.frames) / fps, 1.0 / RATE);
        }
    }
}

TEST(ExportPlanTest, TheWholeTrackEndsWithTheLastSampleOnScreen) {
    ExportPlan plan;
    std::string e;
    ASSERT_TRUE(plan_export(0, -1, 30, TRACK, RATE, plan, e)) << e;
    EXPECT_EQ(plan.first_sample, 0);
    EXPECT_EQ(export_frame_time(plan, 0), 0.0);
    // The last frame starts before the track's end and lasts past it, into the end picture's last moment.
    const double end = double(TRACK) / RATE / PATTERN_SECONDS;
    EXPECT_GT(end, 86.0);
    EXPECT_LT(export_frame_time(plan, plan.frames - 1), end);
    EXPECT_GE(export_frame_time(plan, plan.frames), end);
    EXPECT_EQ(plan.frames, 19053);

    // A stretch ending exactly at the track's end, and one a whole number of frames long.
    ASSERT_TRUE(plan_export(80, end, 60, TRACK, RATE, plan, e)) << e;
    ASSERT_TRUE(plan_export(2, 2 + 30 / PATTERN_SECONDS, 30, TRACK, RATE, plan, e)) << e;
    EXPECT_EQ(plan.frames, 900);
}

TEST(ExportPlanTest, StretchesOutsideTheTrackOrBackwardsAreRefusedByName) {
    ExportPlan plan;
    std::string e;
    EXPECT_FALSE(plan_export(86.1, -1, 30, TRACK, RATE, plan, e));
    EXPECT_NE(e.find("--from 86.1 is past the end of the music (86.0"), std::string::npos) << e;
    EXPECT_FALSE(plan_export(2, 90, 30, TRACK, RATE, plan, e));
    EXPECT_NE(e.find("--to 90 is past the end"), std::string::npos) << e;
    EXPECT_FALSE(plan_export(2, 2, 30, TRACK, RATE, plan, e));
    EXPECT_NE(e.find("--to must come after --from"), std::string::npos) << e;
    ASSERT_TRUE(plan_export(2, 2.000001, 30, TRACK, RATE, plan, e)) << e;   // a sliver still makes a frame
    EXPECT_EQ(plan.frames, 1);
    EXPECT_FALSE(plan_export(0, -1, 30, 0, RATE, plan, e));   // an empty track
}
