// tests/show/offline_tool_test.cpp - orbplume's offline tools as a user runs them: the
// script printed for a show time, refused arguments, three pictures rendered from a data
// folder of stand-in pictures (white title, green end picture), failures that must show in
// the exit status, and a stop signal. The tools run without any display, as documented.
#include "../test_jpeg.h"
#include "devtools/offline.h"
#include "tool_run.h"
#include <gtest/gtest.h>
#include <png.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

// Mean red, green and blue of a PNG file (0..255 each), or -1s when it does not read.
static std::array<double, 3> png_mean(const std::string &path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    std::array<double, 3> mean = { -1, -1, -1 };
    if (!png_image_begin_read_from_file(&image, path.c_str())) return mean;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return mean;
    mean = { 0, 0, 0 };
    for (size_t i = 0; i < rgb.size(); i++) mean[i % 3] += rgb[i];
    for (double &m : mean) m /= double(rgb.size() / 3);
    return mean;
}

static const char *const PICTURES[] = {
    "loading", "shakki", "skyr1", "metal", "electri2", "electric", "envi6b", "flare1", "flare3", "flare4",
    "red6envi", "smoketex", "irid", "bubble", "vesi4", "atxt", "ltxt", "twirl", "crackle", "hex2", "valo",
    "hexred", "flarer", "flareb", "flarey", "flareg", "metal2", "aijjai",
};

// A fresh dir/data with all pictures but `missing` (64x64, grey; atxt white, ltxt green).
static void make_picture_folder(const std::string &dir, const char *missing = "") {
    fs::remove_all(dir);
    fs::create_directories(dir + "/data");
    for (const char *name : PICTURES) {
        if (!std::strcmp(name, missing)) continue;
        unsigned char r = 60, g = 60, b = 60;
        if (!std::strcmp(name, "atxt")) r = g = b = 255;
        if (!std::strcmp(name, "ltxt")) { r = 40; g = 220; b = 40; }
        ASSERT_TRUE(write_test_jpeg((dir + "/data/" + name + ".jpg").c_str(), 64, 64, 3,
                                    [=](int, int, unsigned char *c) { c[0] = r; c[1] = g; c[2] = b; }));
    }
}

static std::vector<std::string> files_in(const std::string &dir) {
    std::vector<std::string> files;
    if (fs::is_directory(dir))
        for (const auto &entry : fs::directory_iterator(dir)) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(OfflineToolTest, DescribePrintsTheFrameWithoutAWindow) {
    ToolRun r = run_orbplume_in("/", "--describe 2.375");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output.rfind("t = 2.375: section 1\nwater_flock_scene(0.375, A)\n", 0), 0u) << r.output;
    EXPECT_NE(r.output.find("\ncrossfade(A, B, 0.8125, 0x4000)\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nbeat_flash(2.375, 0.5, 16, 2)\n"), std::string::npos) << r.output;
}

TEST(OfflineToolTest, BadTimesOrFolderExitTwoAndWriteNothing) {
    const std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/offline_refusals";
    fs::remove_all(dir);
    fs::create_directories(dir);
    ToolRun bad_list = run_orbplume_in(dir, "--render 1,,2 --out pics");
    EXPECT_EQ(bad_list.status, 2);
    EXPECT_NE(bad_list.output.find("bad time list"), std::string::npos) << bad_list.output;
    EXPECT_NE(bad_list.output.find("usage:"), std::string::npos);

    ToolRun bad_folder = run_orbplume_in(dir, "--render 1 --out /etc/passwd/pics");   // under a plain file
    EXPECT_EQ(bad_folder.status, 2);
    EXPECT_NE(bad_folder.output.find("/etc/passwd/pics"), std::string::npos) << bad_folder.output;
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(OfflineToolTest, RendersTitleStartFullTitleAndEndPicture) {
    const std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/offline_render";
    make_picture_folder(dir);
    ToolRun r = run_orbplume_in(dir, "--render 0,1,79.5 --out pics");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(files_in(dir + "/pics"), (std::vector<std::string>{ "t000.000.png", "t001.000.png", "t079.500.png" }));

    const auto start = png_mean(dir + "/pics/t000.000.png");   // black title under heavy grain
    const auto title = png_mean(dir + "/pics/t001.000.png");   // white title through the mask
    const auto end = png_mean(dir + "/pics/t079.500.png");     // green end picture
    for (int k = 0; k < 3; k++) EXPECT_LT(start[k], 40) << k;
    for (int k = 0; k < 3; k++) EXPECT_GT(title[k], 120) << k;
    EXPECT_GT(end[1], 2 * end[0]);
    EXPECT_GT(end[1], 2 * end[2]);
}

// Each rendered time follows half a second of 60 fps frames, so the scenes that feed on their
// own previous picture have settled, but no frame is rendered before the show starts.
TEST(OfflineToolTest, PrerollIsThirtyFramesAtSixtyPerSecondNeverBeforeTheStart) {
    const double frame = 130.0 / 60.0 / 16.0 / 60.0;   // one 60 fps frame in patterns
    const std::vector<double> before = preroll_times(5.0);
    ASSERT_EQ(before.size(), 30u);
    EXPECT_NEAR(before.front(), 5.0 - 30 * frame, 1e-9);
    for (size_t i = 1; i < before.size(); i++) EXPECT_NEAR(before[i] - before[i - 1], frame, 1e-9);
    EXPECT_NEAR(before.back(), 5.0 - frame, 1e-9);
    EXPECT_EQ(preroll_times(22.5 * frame).size(), 22u);
    EXPECT_TRUE(preroll_times(0.0).empty());
}

// The show ends with status 0 on a fatal error; a tool must not, or a script takes an empty
// folder for pictures written.
TEST(OfflineToolTest, FatalErrorsFailTheRunAndWriteNothing) {
    const std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/offline_fatal";
    make_picture_folder(dir, "hexred");
    ToolRun render = run_orbplume_in(dir, "--render 1,2 --out pics");
    EXPECT_EQ(render.status, 1) << render.output;
    EXPECT_NE(render.output.find("FATAL: data/hexred.jpg not found"), std::string::npos) << render.output;
    EXPECT_NE(render.output.find("No such file"), std::string::npos) << render.output;
    EXPECT_EQ(files_in(dir + "/pics"), std::vector<std::string>{});

    ToolRun sheet = run_orbplume_in(dir, "--contact-sheet sheet");
    EXPECT_EQ(sheet.status, 1) << sheet.output;
    EXPECT_EQ(files_in(dir + "/sheet"), std::vector<std::string>{});
    ToolRun bench = run_orbplume_in(dir, "--benchmark");
    EXPECT_EQ(bench.status, 1) << bench.output;
}

// SIGTERM (and Ctrl-C) stop a long render at the next frame: the process dies by that signal
// within moments, and the pictures already written are whole, with no temporary files left.
TEST(OfflineToolTest, TermSignalStopsALongRenderLeavingWholePicturesOnly) {
    const std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/offline_signal";
    make_picture_folder(dir);
    const std::string script =
        "timeout -s KILL 120 " ORBPLUME_BINARY_DIR "/orbplume --render 0:80:0.5 --out pics > log 2>&1 & "
        "pid=$!; for i in $(seq 1200); do grep -q RENDER: log && break; sleep 0.1; done; "
        "start=$(date +%s); kill -TERM $pid; wait $pid; echo \"status $? after $(( $(date +%s) - start ))\"; cat log";
    ToolRun r = run_shell_in(dir, script);
    EXPECT_NE(r.output.find("RENDER:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("status 143 after"), std::string::npos) << r.output;   // 128 + SIGTERM
    const size_t after = r.output.find(" after ");
    ASSERT_NE(after, std::string::npos) << r.output;
    EXPECT_LE(std::stoi(r.output.substr(after + 7)), 20) << r.output;
    EXPECT_NE(r.output.find("stopped by"), std::string::npos) << r.output;

    const std::vector<std::string> files = files_in(dir + "/pics");
    EXPECT_FALSE(files.empty());
    EXPECT_LT(files.size(), 161u);
    for (const std::string &f : files) {
        EXPECT_EQ(f.substr(f.size() - 4), ".png") << f;
        EXPECT_GE(png_mean(dir + "/pics/" + f)[0], 0.0) << f << " does not read";
    }
}
