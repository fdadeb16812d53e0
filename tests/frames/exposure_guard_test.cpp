// tests/frames/exposure_guard_test.cpp - the show is never washed out by accident. The real
// executable draws a storyboard of the whole show (384x288, no X server) at times spread so
// that they fall on every phase of the beat and the bar, one eighth of a beat apart; every
// frame whose mean luma reaches 200 or which is more than half near-white fails, unless its
// time lies in one of the flashes the show means to make, each listed with its reason.
// The beat flash is one of those: it adds up to half of white over the whole picture for
// the first half of each beat. A frame it lifts past the limit passes only when the picture
// under it is well exposed: its mean luma less the grey the flash adds (a lower bound of the
// picture's own level, since the sum clips at white) stays at or below FLASHED_BASE_LIMIT.
#include "devtools/exposure.h"
#include "devtools/storyboard.h"
#include "post/final_passes.h"
#include "show/frame_plan.h"
#include "tool_run.h"
#include <gtest/gtest.h>
#include <png.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// 109/128 pattern apart: 3 13/32 bars, so the times walk through all 32 eighth-beat phases of
// the bar, and about a hundred of them cover the show.
constexpr double GUARD_FROM = 0.0234375;
constexpr double GUARD_STEP = 0.8515625;
constexpr double BAR = 0.25;   // patterns: four beats of 1/16
constexpr double FLASHED_BASE_LIMIT = 160.0;   // the picture's own mean luma under a lit beat flash

struct IntendedFlash {
    double from, to;   // show times, patterns
    bool intended;     // false: a known bright moment waiting for its content fix
    const char *why;
};

// The flashes the script makes on purpose: a white frame there is the picture, not a fault.
// An entry that is not intended names a known fault, so that it stays in sight.
static const IntendedFlash INTENDED_FLASHES[] = {
    { 23.0, 23.125, true, "the cube flash: the electric cube bursts over the whole view on the beat" },
    { 29.0, 29.125, true, "the cube flash again, on the second hit of the section" },
};

struct GuardFrame {
    double t;
    FrameExposure e;
    std::string scenes;
};

static const IntendedFlash *intended_flash_at(double t) {
    for (const IntendedFlash &f : INTENDED_FLASHES)
        if (t >= f.from && t < f.to) return &f;
    return nullptr;
}

// The grey the beat flash adds over the whole picture at t (luma 0..255), 0 where it is off.
static double beat_flash_luma(double t) {
    FramePlan plan;
    plan_frame(float(t), plan);
    for (int i = 0; i < plan.count; i++) {
        const PlanCall &c = plan.calls[i];
        if (c.op == PLAN_BEAT_FLASH) return 255.0 * c.arg[1] * beat_flash_level(c.arg[0], c.arg[2], c.arg[3]);
    }
    return 0;
}

// Washed out by the picture itself, not only by the beat flash over it.
static bool washed_by_picture(const GuardFrame &f) {
    if (!frame_washed_out(f.e)) return false;
    const double flash = beat_flash_luma(f.t);
    return flash < 1 || f.e.mean_luma - flash > FLASHED_BASE_LIMIT;
}

static std::vector<GuardFrame> parse_frames(const std::string &output) {
    std::vector<GuardFrame> frames;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        GuardFrame f;
        double white_percent = 0;
        char state[16] = "", scenes[256] = "";
        if (std::sscanf(line.c_str(), "STORYBOARD: t %lf luma %lf white %lf %% %15s %255[^\n]", &f.t, &f.e.mean_luma,
                        &white_percent, state, scenes) < 4)
            continue;
        f.e.white_share = white_percent / 100;
        f.scenes = scenes;
        frames.push_back(f);
    }
    return frames;
}

static bool png_size(const std::string &path, int &w, int &h) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    w = int(image.width);
    h = int(image.height);
    png_image_free(&image);
    return true;
}

TEST(ExposureGuardTest, NoFrameIsWashedOutOutsideTheIntendedFlashes) {
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!fs::exists(bin + "/data/vlux_q2_final.ogg") || !fs::exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    const std::string out = bin + "/frames/exposure";
    fs::remove_all(out);
    char args[160];
    std::snprintf(args, sizeof args, "--storyboard %s --from %.7f --step %.7f", out.c_str(), GUARD_FROM, GUARD_STEP);
    const ToolRun run = run_orbplume_in(bin, args);
    ASSERT_EQ(run.status, 0) << run.output;

    // The whole show was sampled, at every eighth-beat phase of the bar, and every scene shows.
    const std::vector<GuardFrame> frames = parse_frames(run.output);
    ASSERT_GE(frames.size(), 95u) << run.output;
    EXPECT_GT(frames.back().t, 85.0);
    std::set<int> phases;
    std::set<int> scenes;
    for (const GuardFrame &f : frames) {
        phases.insert(int(std::lround(std::fmod(f.t, BAR) / BAR * 32)) % 32);
        FramePlan plan;
        plan_frame(float(f.t), plan);
        for (int i = 0; i < plan.count; i++)
            if (plan.calls[i].op == PLAN_SCENE) scenes.insert(plan.calls[i].scene);
    }
    EXPECT_EQ(phases.size(), 32u);
    for (int s = 0; s < SCENE_COUNT; s++)
        EXPECT_TRUE(scenes.count(s)) << scene_name(SceneId(s)) << " is never sampled";

    // Every page is written and whole.
    const int pages = int((frames.size() + 19) / 20);
    for (int p = 0; p < pages; p++) {
        int w = 0, h = 0;
        EXPECT_TRUE(png_size(out + "/" + storyboard_page_name(p), w, h)) << storyboard_page_name(p);
        EXPECT_EQ(w, STORYBOARD_PAGE_W);
        EXPECT_EQ(h, STORYBOARD_PAGE_H);
    }
    EXPECT_FALSE(fs::exists(out + "/" + storyboard_page_name(pages)));

    int washed = 0, flashed = 0;
    for (const GuardFrame &f : frames) {
        if (!frame_washed_out(f.e)) continue;
        if (!washed_by_picture(f)) {
            flashed++;
            continue;
        }
        washed++;
        if (intended_flash_at(f.t)) continue;
        ADD_FAILURE() << "t = " << f.t << " (" << f.scenes << ") is washed out: mean luma " << f.e.mean_luma
                      << " (the beat flash adds " << beat_flash_luma(f.t) << "), " << 100 * f.e.white_share
                      << " % near white; see " << out;
    }
    std::printf("exposure: %zu frames, %d washed by the picture (intended flashes included), %d more only under the "
                "beat flash\n", frames.size(), washed, flashed);
    // Even the intended flashes stay a small share of the show.
    EXPECT_LE(washed, int(frames.size()) * 3 / 100 + 1) << washed << " of " << frames.size() << " washed out";
}

// The flash list itself: short, ordered, apart, and each entry says why.
TEST(ExposureGuardTest, IntendedFlashesAreShortAndExplained) {
    double previous_end = 0;
    for (const IntendedFlash &f : INTENDED_FLASHES) {
        EXPECT_LT(f.from, f.to);
        EXPECT_LE(f.to - f.from, 0.5) << f.why;   // never more than half a pattern
        EXPECT_GE(f.from, previous_end);
        EXPECT_GT(std::string(f.why).size(), 20u);
        previous_end = f.to;
    }
    EXPECT_NE(intended_flash_at(23.03125), nullptr);
    EXPECT_EQ(intended_flash_at(40.03125), nullptr);
}

// The beat flash's grey comes from the frame's own plan: full on the beat, half a quarter of a
// beat later, gone from mid-beat on; a frame washed out under it passes only when the picture
// beneath is well exposed, and a washed frame with no flash lit always counts.
TEST(ExposureGuardTest, TheBeatFlashIsTakenOffOnlyWhereItIsLit) {
    const double on_beat = beat_flash_luma(40.0);
    EXPECT_NEAR(on_beat, 127.5, 0.5);
    EXPECT_NEAR(beat_flash_luma(40.0 + 1.0 / 64), on_beat / 2, 0.5);
    EXPECT_EQ(beat_flash_luma(40.0 + 1.0 / 32), 0.0);
    EXPECT_EQ(beat_flash_luma(85.5), 0.0);   // the ending has none
    GuardFrame lifted{ 40.0, {}, "" };
    lifted.e.mean_luma = 210;                // 82.5 of its own
    EXPECT_FALSE(washed_by_picture(lifted));
    lifted.e.mean_luma = 250;                // 122.5 of its own: still well exposed underneath
    EXPECT_FALSE(washed_by_picture(lifted));
    GuardFrame bright{ 40.0 + 1.0 / 64, {}, "" };
    bright.e.mean_luma = 240;                // 176 of its own
    EXPECT_TRUE(washed_by_picture(bright));
    GuardFrame unflashed{ 40.0 + 1.0 / 32, {}, "" };
    unflashed.e.mean_luma = 150;
    unflashed.e.white_share = 0.6;           // white by itself
    EXPECT_TRUE(washed_by_picture(unflashed));
}
