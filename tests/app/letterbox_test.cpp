// tests/app/letterbox_test.cpp - pictures in windows that are not 4:3: the 4:3 picture sits
// centred between black bars and is the same picture a window of its own size shows; a
// 4:3 window is filled edge to edge. Checked on real renders of the show.
#include "platform/settings.h"
#include <gtest/gtest.h>
#include <png.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

// A time inside the first section whose picture is lit right up to its edges (its top four
// rows are black in any window, so the top is checked a little lower).
static const char *const TIME = "8.03125";
static const char *const FILE_NAME = "t008.031.png";

struct Picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;   // top row first
    const unsigned char *at(int x, int y) const { return &rgb[(size_t(y) * w + x) * 3]; }
};

static Picture render_at(const std::string &size) {
    const std::string out = ::testing::TempDir() + "orbplume_letterbox_" + size;
    fs::remove_all(out);
    const std::string command = "cd " ORBPLUME_BINARY_DIR " && ./orbplume --render " + std::string(TIME) +
                                " --size " + size + " --out " + out + " >/dev/null 2>&1";
    Picture p;
    if (std::system(command.c_str()) != 0) return p;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    const std::string file = out + "/" + FILE_NAME;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return p;
    image.format = PNG_FORMAT_RGB;
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) return Picture{};
    p.w = int(image.width);
    p.h = int(image.height);
    fs::remove_all(out);
    return p;
}

// Summed RGB of the columns [x0, x1) over every row.
static long column_sum(const Picture &p, int x0, int x1) {
    long sum = 0;
    for (int y = 0; y < p.h; y++)
        for (int x = x0; x < x1; x++) sum += p.at(x, y)[0] + p.at(x, y)[1] + p.at(x, y)[2];
    return sum;
}

TEST(LetterboxTest, PictureAreaIsTheLargestCentredFourByThree) {
    const PictureArea same = fit_picture_area(640, 480);
    EXPECT_EQ(same.x, 0); EXPECT_EQ(same.y, 0); EXPECT_EQ(same.width, 640); EXPECT_EQ(same.height, 480);
    const PictureArea wide = fit_picture_area(1280, 720);
    EXPECT_EQ(wide.x, 160); EXPECT_EQ(wide.y, 0); EXPECT_EQ(wide.width, 960); EXPECT_EQ(wide.height, 720);
    const PictureArea tall = fit_picture_area(800, 800);
    EXPECT_EQ(tall.x, 0); EXPECT_EQ(tall.y, 100); EXPECT_EQ(tall.width, 800); EXPECT_EQ(tall.height, 600);
    // Shapes that do not divide evenly stay inside the window and within a pixel of 4:3.
    for (auto wh : std::vector<std::array<int, 2>>{ { 1366, 768 }, { 1920, 1200 }, { 385, 289 }, { 2560, 1080 } }) {
        const PictureArea a = fit_picture_area(wh[0], wh[1]);
        EXPECT_GE(a.x, 0); EXPECT_GE(a.y, 0);
        EXPECT_LE(a.x * 2 + a.width, wh[0]); EXPECT_LE(a.y * 2 + a.height, wh[1]);
        EXPECT_LE(std::abs(a.width * 3 - a.height * 4), 3) << wh[0] << "x" << wh[1];
        EXPECT_TRUE(a.width == wh[0] || a.height == wh[1]) << wh[0] << "x" << wh[1];
    }
}

TEST(LetterboxTest, WideWindowShowsTheFourByThreePictureBetweenBlackBars) {
    const Picture wide = render_at("1280x720");
    const Picture own = render_at("960x720");
    ASSERT_EQ(wide.w, 1280);
    ASSERT_EQ(wide.h, 720);
    ASSERT_EQ(own.w, 960);
    EXPECT_EQ(column_sum(wide, 0, 160), 0) << "left bar not black";
    EXPECT_EQ(column_sum(wide, 1120, 1280), 0) << "right bar not black";
    ASSERT_GT(column_sum(own, 0, 960) / (960L * 720), 20) << "the reference picture is black";
    // The picture's edges are lit, so the bars start exactly where the picture ends.
    EXPECT_GT(column_sum(wide, 160, 161), 0);
    EXPECT_GT(column_sum(wide, 1119, 1120), 0);

    // Pixel for pixel the same picture (allowing for rounding in the driver).
    long differing = 0, total_diff = 0;
    for (int y = 0; y < 720; y++)
        for (int x = 0; x < 960; x++)
            for (int c = 0; c < 3; c++) {
                const int d = std::abs(int(wide.at(x + 160, y)[c]) - int(own.at(x, y)[c]));
                total_diff += d;
                differing += d > 8;
            }
    EXPECT_LT(differing, 960L * 720 * 3 / 100) << "more than 1% of the samples differ";
    EXPECT_LT(double(total_diff) / (960.0 * 720 * 3), 1.5);
}

TEST(LetterboxTest, FourByThreeWindowIsFilledEdgeToEdge) {
    const Picture p = render_at("640x480");
    ASSERT_EQ(p.w, 640);
    ASSERT_EQ(p.h, 480);
    EXPECT_GT(column_sum(p, 0, 1), 0);
    EXPECT_GT(column_sum(p, 639, 640), 0);
    long top = 0, bottom = 0;
    for (int x = 0; x < 640; x++) {
        top += p.at(x, 8)[0] + p.at(x, 8)[1] + p.at(x, 8)[2];
        bottom += p.at(x, 479)[0] + p.at(x, 479)[1] + p.at(x, 479)[2];
    }
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
}
