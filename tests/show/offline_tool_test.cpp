// tests/show/offline_tool_test.cpp - orbplume's offline tools as a user runs them: the
// script printed for a show time, refused arguments, and three pictures rendered from a
// data folder of stand-in pictures (white title, green end picture).
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
    fs::remove_all(dir);
    fs::create_directories(dir + "/data");
    for (const char *name : PICTURES) {
        unsigned char r = 60, g = 60, b = 60;
        if (!std::strcmp(name, "atxt")) r = g = b = 255;
        if (!std::strcmp(name, "ltxt")) { r = 40; g = 220; b = 40; }
        ASSERT_TRUE(write_test_jpeg((dir + "/data/" + name + ".jpg").c_str(), 64, 64, 3,
                                    [=](int, int, unsigned char *c) { c[0] = r; c[1] = g; c[2] = b; }));
    }
    ToolRun r = run_orbplume_in(dir, "--render 0,1,79.5 --out pics");
    ASSERT_EQ(r.status, 0) << r.output;

    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(dir + "/pics")) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{ "t000.000.png", "t001.000.png", "t079.500.png" }));

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
