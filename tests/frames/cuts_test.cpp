// tests/frames/cuts_test.cpp - the work the show leaves out never shows. Forty times spread
// over the whole show, with the sections' tricky moments among them (a cross-fade at weight
// 0 or 1, strobes at full strength, a scene drawn only for its side effects), are rendered
// twice: as drawn, and with ORBPLUME_NO_CUTS=1, which makes every call the script plans and
// every clear and layer the passes would draw. The two must agree to the last bit.
// A short pre-roll is enough: both runs make the same frames in the same order, and any
// skipped work that mattered to the next frame would show in it.
#include "tool_run.h"
#include "show/frame_plan.h"
#include <gtest/gtest.h>
#include <png.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

constexpr int CUT_W = 512, CUT_H = 384;   // larger than the offscreen corner, so the clears that stop there are tried

// 28 times evenly over the show, then moments where the cuts do the most.
static const float CUT_TIMES[] = {
    0.23125f, 3.16125f, 6.09125f, 9.02125f, 11.9512f, 14.8812f, 17.8113f, 20.7413f, 23.6713f, 26.6013f,
    29.5312f, 32.4612f, 35.3912f, 38.3212f, 41.2512f, 44.1812f, 47.1112f, 50.0412f, 52.9712f, 55.9012f,
    58.8312f, 61.7612f, 64.6912f, 67.6213f, 70.5512f, 73.4813f, 76.4112f, 79.3413f,
    10.38f,    // the sculpture's bubbles at full strength
    17.38f,    // the cave flock cross-faded in whole
    22.13f,    // the core tunnel strobe at full strength
    25.9f,     // the twirl's glow, strobed
    29.6f,
    34.8f,     // the hull alone: the bubbles behind it drawn for nothing
    35.2f,     // the bubbles alone
    37.2f,     // the bubbles alone, the parts zoomed over them
    43.2f,     // the flare sculpture unseen, yet drawn for its sparks
    54.62f,    // the hexagons hidden by the mirror balls
    58.12f,    // the core tunnel hidden by the mirror balls
    80.6f,
};

static bool read_rgb(const std::string &path, std::vector<unsigned char> &rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    const bool ok = int(image.width) == CUT_W && int(image.height) == CUT_H;
    if (!ok) png_image_free(&image);
    return ok && png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

static std::string file_name(float t) {
    char name[32];
    std::snprintf(name, sizeof name, "t%07.3f.png", t);
    return name;
}

static std::string skipped_at(float t) {
    FramePlan plan;
    plan_frame(t, plan);
    bool keep[MAX_PLAN_CALLS];
    mark_live_calls(plan, keep);
    std::string text;
    for (int i = 0; i < plan.count; i++)
        if (!keep[i]) text += "\n  skipped " + describe_call(plan.calls[i]);
    return text.empty() ? "\n  (no call skipped: the passes' own cuts differ)" : text;
}

TEST(CutsTest, FramesAreBitIdenticalWithAndWithoutTheCuts) {
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!fs::exists(bin + "/data/loading.jpg")) GTEST_SKIP() << "the show's pictures are not in " << bin << "/data";
    std::string list;
    for (float t : CUT_TIMES) list += (list.empty() ? "" : ",") + std::to_string(t);
    const std::string out = bin + "/cuts";
    fs::remove_all(out);
    const std::string render = "ORBPLUME_PREROLL_FRAMES=4 " + bin + "/orbplume --size 512x384 --render " + list;
    const ToolRun lean = run_shell_in(bin, render + " --out " + out + "/lean");
    ASSERT_EQ(lean.status, 0) << lean.output;
    const ToolRun full = run_shell_in(bin, "ORBPLUME_NO_CUTS=1 " + render + " --out " + out + "/full");
    ASSERT_EQ(full.status, 0) << full.output;

    int compared = 0;
    for (float t : CUT_TIMES) {
        std::vector<unsigned char> a, b;
        ASSERT_TRUE(read_rgb(out + "/lean/" + file_name(t), a)) << t;
        ASSERT_TRUE(read_rgb(out + "/full/" + file_name(t), b)) << t;
        long differing = 0;
        for (size_t i = 0; i < a.size(); i += 3)
            differing += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        EXPECT_EQ(differing, 0) << "t = " << t << ": " << differing << " pixels differ" << skipped_at(t);
        compared++;
    }
    EXPECT_EQ(compared, 40);
}
