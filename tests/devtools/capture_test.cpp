// tests/devtools/capture_test.cpp - the BMP layout and pixel order of a drawn picture, shot
// numbering, unwritable folders, the tick table's text, and the depth-of-field blur on
// synthetic buffers.
#include "platform/settings.h"
#include "devtools/capture.h"
#include "devtools/ticks.h"
#include "gl_fixture.h"
#include "scratch_dir.h"
#include <GL/gl.h>
#include <cstdint>
#include <vector>

static uint32_t u32(const std::string &s, size_t at) {
    return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8 | uint8_t(s[at + 2]) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

class CaptureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        capture = {};
        // Black, with a red 10x10 square in the lower-left corner.
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 10, 10);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
};

TEST_F(CaptureTest, ScreenshotIsAHeaderAndTheWindowBottomUpInBlueGreenRed) {
    ScratchDir dir;
    ASSERT_TRUE(take_screenshot());
    const std::string bmp = read_file("shot00000.bmp");
    ASSERT_EQ(bmp.size(), 921654u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    const uint32_t fields[] = { 921654, 0, 54, 40, 640, 480, 1 | 24 << 16, 0, 921600, 0, 0, 0, 0 };
    for (int i = 0; i < 13; i++) EXPECT_EQ(u32(bmp, 2 + 4 * i), fields[i]) << "offset " << 2 + 4 * i;
    EXPECT_EQ(bmp.substr(54, 3), std::string("\0\0\xff", 3));           // (0, 0): red, blue first
    EXPECT_EQ(bmp.substr(54 + 9 * 3, 3), std::string("\0\0\xff", 3));   // (9, 0)
    EXPECT_EQ(bmp.substr(54 + 10 * 3, 3), std::string(3, '\0'));        // (10, 0)
    EXPECT_EQ(bmp.substr(54 + 10 * 640 * 3, 3), std::string(3, '\0'));  // (0, 10)
}

TEST_F(CaptureTest, ShotsNeverOverwriteEachOtherOrAnEarlierRun) {
    ScratchDir dir;
    std::ofstream("shot00001.bmp") << "earlier run";
    ASSERT_TRUE(take_screenshot());   // 00000
    app.window_width = 64;            // a quick blur: the window's 64x48 corner
    app.window_height = 48;
    const bool dof = take_depth_of_field_shot();   // its own count starts at 0 too
    app.window_width = 640;
    app.window_height = 480;
    ASSERT_TRUE(dof);
    EXPECT_EQ(read_file("shot00001.bmp"), "earlier run");
    EXPECT_EQ(read_file("shot00002.bmp").size(), 54u + 64 * 48 * 3);
    EXPECT_EQ(read_file("shot00000.bmp").size(), 921654u);
    EXPECT_EQ(capture.dof_counter, 3);
}

TEST_F(CaptureTest, UnwritableFolderOnlyWarns) {
    ScratchDir dir;
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(std::filesystem::path(dir.path) / "gone");   // nothing can be made here
    tick_table = { { 5 }, 1, 0 };
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(take_screenshot());
    EXPECT_FALSE(write_tick_table());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SHOT: cannot write shot00000.bmp"), std::string::npos) << err;
    EXPECT_NE(err.find("TICKS: cannot write ticks.inc"), std::string::npos) << err;
    tick_table = {};
}

TEST(TickTableTest, OneLinePerTickInRecordingOrder) {
    ScratchDir dir;
    tick_table = {};
    for (float t : { 3.14f, 0.0f, 0.99f, 78.5f }) record_tick(t);
    ASSERT_TRUE(write_tick_table());
    EXPECT_EQ(read_file("ticks.inc"),
              "static int ticktable[]={\n 64*3 + 8,\n 64*0 + 0,\n 64*0 + 63,\n 64*78 + 32,\n};\n");
    tick_table = {};
}

// A grey picture at one depth, W x H, blurred into bgr.
struct Picture {
    int w, h;
    std::vector<unsigned char> rgb, bgr;
    std::vector<float> depth;
    Picture(int w_, int h_, unsigned char grey, float z)
        : w(w_), h(h_), rgb(size_t(w_) * h_ * 3, grey), bgr(rgb.size()), depth(size_t(w_) * h_, z) {}
    void set(int x, int y, unsigned char grey, float z) {
        for (int c = 0; c < 3; c++) rgb[(size_t(y) * w + x) * 3 + c] = grey;
        depth[size_t(y) * w + x] = z;
    }
    int at(int x, int y) const { return bgr[(size_t(y) * w + x) * 3]; }
    void blur() { depth_of_field(rgb.data(), depth.data(), w, h, bgr.data()); }
};

TEST(DepthOfFieldTest, FlatPicturesKeepTheirBrightnessAtEveryDepth) {
    for (float z : { 0.0f, 0.5f, 0.9507f, 1.0f }) {
        for (unsigned char grey : { 255, 200, 37 }) {
            Picture p(24, 20, grey, z);
            p.blur();
            EXPECT_EQ(p.bgr, p.rgb) << "depth " << z << " grey " << int(grey);
        }
    }
}

TEST(DepthOfFieldTest, FocalPlaneStaysSharpNearPixelsSpreadToRadiusNine) {
    Picture sharp(31, 31, 0, 0.9507f);
    sharp.set(15, 15, 255, 0.9507f);
    sharp.blur();
    EXPECT_EQ(sharp.bgr, sharp.rgb);

    Picture near(31, 31, 0, 0.9507f);
    near.set(15, 15, 255, 0.0f);
    near.blur();
    EXPECT_LT(near.at(15, 15), 255);      // spread out, so dimmer than the source
    EXPECT_GT(near.at(15 + 8, 15), 0);    // inside the disc of radius 9
    EXPECT_GT(near.at(15 + 5, 15 - 6), 0);    // distance 7.8
    EXPECT_EQ(near.at(15 + 9, 15), 0);    // on the rim: weight 0
    EXPECT_EQ(near.at(15 + 7, 15 + 6), 0);    // distance 9.2
}

TEST(DepthOfFieldTest, LightPushedPastTheBorderPilesUpOnTheEdge) {
    Picture p(20, 20, 0, 0.0f);
    p.set(0, 0, 255, 0.0f);
    p.rgb[2] = 0;   // no blue: the output's first byte of each pixel is blue
    p.blur();
    EXPECT_EQ(p.at(0, 0), 0);
    EXPECT_GT(p.bgr[2], p.bgr[(21) * 3 + 2]);   // red at (0, 0) above (1, 1)
    EXPECT_GT(p.bgr[5 * 20 * 3 + 2], p.bgr[(5 * 20 + 1) * 3 + 2]);   // (0, 5) above (1, 5)
}
