// tests/frames/reference_frames_test.cpp - what reaches the screen. The show is rendered
// offline (orbplume --render, no X server) at a fixed list of show times; each 640x480 frame
// is shrunk to a 128x96 thumbnail and compared with its reference in tests/frames/reference.
// On a mismatch the test writes build/frames-mismatch/tNNN.NNN.png: the new thumbnail, the
// reference and their difference (x4) side by side, twice enlarged, and names the scenes.
// scripts/refresh-frames rewrites the references after an intended change of the picture.
#include "devtools/png_file.h"
#include "show/frame_plan.h"
#include "thumbnails.h"          // frame_name(), read_png(), thumbnail(), compare(), the limits
#include <gtest/gtest.h>
#include <png.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

struct FrameGroup {
    const char *name;
    std::vector<float> times;   // off the beats: the beat flash would grey whole frames
};

// A few frames per scene that exists, every section as it lands.
static const FrameGroup GROUPS[] = {
    { "opening", { 0.53125f, 1.03125f } },
    { "section1a", { 2.40625f, 3.40625f, 5.03125f, 7.40625f, 8.90625f } },
    { "section1b", { 10.40625f, 11.40625f, 13.40625f, 15.03125f, 17.40625f, 19.53125f, 20.53125f } },
    // cube flash, mirror balls (both cameras), statue, pair corridor
    { "section2a", { 21.03125f, 21.21875f, 21.53125f, 22.46875f, 23.53125f, 24.53125f, 25.03125f } },
    // twirl, orbit ring, smoke, core tunnel, the cavern rushing back
    { "section2b", { 25.53125f, 26.515625f, 27.21875f, 27.71875f, 28.28125f, 29.40625f, 30.96875f, 31.15625f,
                     32.96875f } },
    // sky ball, the three metaball scenes, the intact flare sculpture
    { "section3a", { 34.609375f, 34.796875f, 36.53125f, 38.03125f, 40.03125f, 42.78125f } },
    // metal hoops strobed in, the flare sculpture's break
    { "section3b", { 42.96875f, 43.46875f, 44.28125f, 44.78125f, 45.28125f } },
    // launcher loop, segment tunnels, light hoops, pair corridor again, the hex machine
    { "section4a", { 46.15625f, 46.34375f, 49.53125f, 49.71875f, 51.03125f, 51.78125f, 53.46875f } },
    // the launcher on the drop, the busiest frame, the hull hexagons, core tunnel, metal metaballs
    { "section4b", { 54.03125f, 54.09375f, 54.40625f, 56.78125f, 57.40625f, 60.53125f, 61.53125f } },
    // the glow object's ride and burst, the rushing segments, the last frame before the cut
    { "section4c", { 62.59375f, 64.15625f, 65.15625f, 65.65625f, 65.96875f } },
    // mirror beams, the red colossus, the closing tunnel
    { "section5", { 66.53125f, 68.53125f, 70.53125f, 72.03125f, 74.03125f, 75.53125f, 77.03125f, 78.53125f } },
    { "ending", { 79.53125f, 80.53125f, 83.03125f } },
};


// new | reference | 4 x difference, each twice enlarged.
static bool write_report(const std::string &path, const Picture &now, const Picture &ref, std::string &error) {
    const int w = THUMB_W * 2 * 3, h = THUMB_H * 2;
    Picture sheet(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const int panel = x / (THUMB_W * 2), src = ((y / 2) * THUMB_W + (x % (THUMB_W * 2)) / 2) * 3;
            for (int c = 0; c < 3; c++) {
                const int a = now[src + c], b = ref[src + c];
                const int v = panel == 0 ? a : panel == 1 ? b : std::min(255, 4 * std::abs(a - b));
                sheet[(size_t(y) * w + x) * 3 + c] = (unsigned char)v;
            }
        }
    fs::create_directories(fs::path(path).parent_path());
    return write_png_file(path.c_str(), sheet.data(), w, h, false, error);
}

static std::string scenes_at(float t) {
    FramePlan plan;
    plan_frame(t, plan);
    std::string names = section_name(plan.section);
    for (int i = 0; i < plan.count; i++)
        if (plan.calls[i].op == PLAN_SCENE) names += std::string(", ") + scene_name(plan.calls[i].scene);
    return names;
}

static int run_command(const std::string &command, std::string &output) {
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe)) output += buffer.data();
    const int raw = pclose(pipe);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Test names and failure messages show the group by its name.
static void PrintTo(const FrameGroup &group, std::ostream *os) { *os << group.name; }

class ReferenceFramesTest : public ::testing::TestWithParam<FrameGroup> {};

TEST_P(ReferenceFramesTest, FramesMatchTheirReferences) {
    const FrameGroup &group = GetParam();
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!fs::exists(bin + "/data/vlux_q2_final.ogg") || !fs::exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    const std::string out = bin + "/frames/" + group.name;
    fs::remove_all(out);

    std::string list;
    for (float t : group.times) list += (list.empty() ? "" : ",") + std::to_string(t);
    // Offline and without an X server: SDL's offscreen driver gives the same pixels.
    std::string log;
    const int status = run_command("cd " + bin + " && env -u DISPLAY SDL_VIDEODRIVER=offscreen "
                                   "./orbplume --render " + list + " --out " + out, log);
    ASSERT_EQ(status, 0) << log;

    const bool refresh = std::getenv("ORBPLUME_REFRESH_FRAMES") != nullptr;
    const std::string ref_dir = std::string(ORBPLUME_SOURCE_DIR) + "/tests/frames/reference";
    for (float t : group.times) {
        const std::string name = frame_name(t);
        Picture frame, ref;
        ASSERT_TRUE(read_png(out + "/" + name, FRAME_W, FRAME_H, frame)) << name << "\n" << log;
        const Picture now = thumbnail(frame);
        std::string error;
        if (refresh) {
            fs::create_directories(ref_dir);
            EXPECT_TRUE(write_png_file((ref_dir + "/" + name).c_str(), now.data(), THUMB_W, THUMB_H, false, error))
                << error;
            continue;
        }
        if (!read_png(ref_dir + "/" + name, THUMB_W, THUMB_H, ref)) {
            ADD_FAILURE() << "t = " << t << " (" << scenes_at(t) << "): no reference " << ref_dir << "/" << name
                          << "; scripts/refresh-frames makes it";
            continue;
        }
        const Difference d = compare(now, ref);
        std::printf("%s  mean %.3f  off %.2f %%  largest %d\n", name.c_str(), d.mean, 100 * d.share, d.largest);
        if (acceptable(d)) continue;
        const std::string report = bin + "/frames-mismatch/" + name;
        write_report(report, now, ref, error);
        ADD_FAILURE() << "t = " << t << " (" << scenes_at(t) << ") differs from its reference: mean "
                      << d.mean << " (limit " << MEAN_LIMIT << "), " << 100 * d.share << " % of pixels off by more than "
                      << PIXEL_LIMIT << " (limit " << 100 * SHARE_LIMIT << " %), largest " << d.largest
                      << "\n  new | reference | 4 x difference: " << report << (error.empty() ? "" : " (" + error + ")");
    }
}

INSTANTIATE_TEST_SUITE_P(Show, ReferenceFramesTest, ::testing::ValuesIn(GROUPS),
                         [](const ::testing::TestParamInfo<FrameGroup> &info) { return std::string(info.param.name); });

// The comparison itself: identical thumbnails pass, a slight shift of every level passes, a
// tint a viewer sees fails, and a small bright object appearing fails.
TEST(ThumbnailCompareTest, PassesNoiseAndFailsVisibleChanges) {
    Picture base(size_t(THUMB_W) * THUMB_H * 3);
    for (size_t i = 0; i < base.size(); i++) base[i] = (unsigned char)(40 + (i * 7) % 150);
    EXPECT_TRUE(acceptable(compare(base, base)));

    Picture noise = base;
    for (size_t i = 0; i < noise.size(); i += 11) noise[i] += 2;
    EXPECT_TRUE(acceptable(compare(base, noise)));

    Picture tint = base;   // red up, blue down by 12 levels: a haze of another colour
    for (size_t i = 0; i < tint.size(); i += 3) { tint[i] += 12; tint[i + 2] -= 12; }
    EXPECT_FALSE(acceptable(compare(base, tint)));

    Picture spot = base;   // a 16 x 12 thumbnail patch (80 x 60 frame pixels) gone white
    for (int y = 40; y < 52; y++)
        for (int x = 50; x < 66; x++)
            for (int c = 0; c < 3; c++) spot[(y * THUMB_W + x) * 3 + c] = 255;
    EXPECT_FALSE(acceptable(compare(base, spot)));

    Picture frame(size_t(FRAME_W) * FRAME_H * 3, 0);   // the thumbnail averages whole boxes
    for (int x = 0; x < BOX; x++) frame[x * 3] = 255;   // one row of the first box lit red
    EXPECT_EQ(thumbnail(frame)[0], 51);
    EXPECT_EQ(thumbnail(frame)[3], 0);
}
