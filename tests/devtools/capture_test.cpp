// tests/devtools/capture_test.cpp - the BMP layout, the screenshot of a drawn picture, shot
// numbering, unwritable folders, the depth-of-field blur on synthetic buffers, and the
// tick table's text.
#include "app/settings.h"
#include "devtools/capture.h"
#include "devtools/ticks.h"
#include "gl_fixture.h"
#include "scratch_dir.h"
#include <GL/gl.h>
#include <cmath>
#include <cstdint>
#include <vector>

static uint32_t u32(const std::string &s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--) v = v << 8 | uint8_t(s[at + i]);
    return v;
}

static uint16_t u16(const std::string &s, size_t at) { return uint16_t(uint8_t(s[at]) | uint8_t(s[at + 1]) << 8); }

class CaptureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        capture = {};
    }
    // A black window with a red 10x10 square at the lower-left corner and a green one at
    // the top-right corner.
    static void draw_corners() {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 10, 10);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(630, 470, 10, 10);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
};

TEST(BmpHeaderTest, FieldsAt640x480) {
    unsigned char h[BMP_HEADER_SIZE];
    make_bmp_header(h, 640, 480);
    const std::string s(reinterpret_cast<char *>(h), sizeof h);
    EXPECT_EQ(s.substr(0, 2), "BM");
    EXPECT_EQ(u32(s, 2), 921654u);
    EXPECT_EQ(u32(s, 6), 0u);
    EXPECT_EQ(u32(s, 10), 54u);
    EXPECT_EQ(u32(s, 14), 40u);
    EXPECT_EQ(u32(s, 18), 640u);
    EXPECT_EQ(u32(s, 22), 480u);
    EXPECT_EQ(u16(s, 26), 1);
    EXPECT_EQ(u16(s, 28), 24);
    EXPECT_EQ(u32(s, 30), 0u);
    EXPECT_EQ(u32(s, 34), 921600u);
    for (size_t i = 38; i < 54; i++) EXPECT_EQ(h[i], 0) << i;
    make_bmp_header(h, 1024, 768);
    EXPECT_EQ(u32(std::string(reinterpret_cast<char *>(h), sizeof h), 2), 54u + 1024 * 768 * 3);
}

TEST_F(CaptureTest, ScreenshotIsTheWindowBottomUpInBlueGreenRed) {
    ScratchDir dir;
    draw_corners();
    ASSERT_TRUE(take_screenshot());
    const std::string bmp = read_file("shot00000.bmp");
    ASSERT_EQ(bmp.size(), 921654u);
    unsigned char header[BMP_HEADER_SIZE];
    make_bmp_header(header, 640, 480);
    EXPECT_EQ(bmp.substr(0, 54), std::string(reinterpret_cast<char *>(header), 54));
    auto pixel = [&](int x, int y) {   // y counts from the bottom, like GL
        size_t at = 54 + (size_t(y) * 640 + x) * 3;
        return std::vector<int>{ uint8_t(bmp[at]), uint8_t(bmp[at + 1]), uint8_t(bmp[at + 2]) };
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{ 0, 0, 255 }));       // red, stored blue first
    EXPECT_EQ(pixel(9, 9), (std::vector<int>{ 0, 0, 255 }));
    EXPECT_EQ(pixel(639, 479), (std::vector<int>{ 0, 255, 0 }));
    EXPECT_EQ(pixel(10, 0), (std::vector<int>{ 0, 0, 0 }));
    EXPECT_EQ(pixel(629, 479), (std::vector<int>{ 0, 0, 0 }));
    EXPECT_EQ(capture.shot_counter, 1);
}

TEST_F(CaptureTest, ShotsNeverOverwriteEachOther) {
    ScratchDir dir;
    { std::ofstream("shot00001.bmp") << "earlier run"; }
    draw_corners();
    ASSERT_TRUE(take_screenshot());            // shot00000
    ASSERT_TRUE(take_screenshot());            // skips 00001
    EXPECT_TRUE(file_exists("shot00002.bmp"));
    EXPECT_EQ(read_file("shot00001.bmp"), "earlier run");

    // The depth-of-field shots count from 0 too, and step over the plain ones.
    app.window_width = 64;   // keep the blur quick: a 64x48 corner of the window
    app.window_height = 48;
    const bool dof = take_depth_of_field_shot();
    app.window_width = 640;
    app.window_height = 480;
    ASSERT_TRUE(dof);
    EXPECT_EQ(read_file("shot00003.bmp").size(), 54u + 64 * 48 * 3);
    EXPECT_EQ(read_file("shot00000.bmp").size(), 921654u);
    EXPECT_EQ(capture.dof_counter, 4);
    EXPECT_EQ(capture.shot_counter, 3);
}

TEST_F(CaptureTest, UnwritableFolderOnlyWarns) {
    ScratchDir dir;
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(std::filesystem::path(dir.path()) / "gone");   // no file can be made here
    draw_corners();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(take_screenshot());
    ASSERT_TRUE(tick_table.count == 0);
    tick_table.ticks[0] = 5;
    tick_table.count = 1;
    EXPECT_FALSE(write_tick_table());
    tick_table = {};
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SHOT: cannot write shot00000.bmp"), std::string::npos) << err;
    EXPECT_NE(err.find("TICKS: cannot write ticks.inc"), std::string::npos) << err;
    EXPECT_EQ(capture.shot_counter, 0);
}

TEST(TickTableTest, OneLinePerTickInRecordingOrder) {
    ScratchDir dir;
    tick_table = {};
    for (float t : { 3.14f, 0.0f, 0.99f, 1.0f, 78.5f }) ASSERT_TRUE(record_tick(t));
    ASSERT_TRUE(write_tick_table());
    EXPECT_EQ(read_file("ticks.inc"),
              "static int ticktable[]={\n"
              " 64*3 + 8,\n"
              " 64*0 + 0,\n"
              " 64*0 + 63,\n"
              " 64*1 + 0,\n"
              " 64*78 + 32,\n"
              "};\n");
    tick_table = {};
}

// Depth of field on synthetic buffers: W x H, one colour and depth per pixel.
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
    int out(int x, int y, int channel = 0) { return bgr[(size_t(y) * w + x) * 3 + channel]; }
    void blur() { depth_of_field(rgb.data(), depth.data(), w, h, bgr.data()); }
};

TEST(DepthOfFieldTest, RadiusFollowsDepth) {
    EXPECT_NEAR(depth_of_field_radius(0.9507f), 1.0f, 1e-3f);
    EXPECT_NEAR(depth_of_field_radius(0.0f), 9.0f, 1e-5f);
    EXPECT_NEAR(depth_of_field_radius(1.0f), 5.8f, 1e-5f);
    EXPECT_NEAR(depth_of_field_radius(0.5f), 8.0f * 2.0f * (std::pow(0.5f, 0.4f) - 0.3f) + 1.0f, 1e-5f);
}

TEST(DepthOfFieldTest, FlatPicturesKeepTheirBrightnessAtEveryDepth) {
    for (float z : { 0.0f, 0.5f, 0.9507f, 1.0f }) {
        for (unsigned char grey : { 255, 200, 37 }) {
            Picture p(24, 20, grey, z);
            p.blur();
            for (size_t i = 0; i < p.bgr.size(); i++) ASSERT_EQ(p.bgr[i], grey) << "depth " << z << " byte " << i;
        }
    }
}

TEST(DepthOfFieldTest, FocalPlaneStaysSharpNearPixelsSpreadToRadiusNine) {
    Picture sharp(31, 31, 0, 0.9507f);
    sharp.set(15, 15, 255, 0.9507f);
    sharp.blur();
    EXPECT_EQ(sharp.out(15, 15), 255);
    for (int y = 0; y < 31; y++) {
        for (int x = 0; x < 31; x++) {
            if (x != 15 || y != 15) ASSERT_EQ(sharp.out(x, y), 0) << x << "," << y;
        }
    }

    Picture near(31, 31, 0, 0.9507f);
    near.set(15, 15, 255, 0.0f);
    near.blur();
    EXPECT_GT(near.out(15, 15), 0);
    EXPECT_LT(near.out(15, 15), 255);        // spread out, so dimmer than the source
    EXPECT_GT(near.out(15 + 8, 15), 0);      // inside the disc of radius 9
    EXPECT_GT(near.out(15, 15 - 8), 0);
    EXPECT_GT(near.out(15 + 5, 15 + 6), 0);  // distance 7.8
    EXPECT_EQ(near.out(15 + 9, 15), 0);      // on the rim: weight 0
    EXPECT_EQ(near.out(15 + 7, 15 + 6), 0);  // distance 9.2
    EXPECT_EQ(near.out(15 + 10, 15), 0);
}

TEST(DepthOfFieldTest, ChannelsComeOutBlueGreenRedAndEdgesPileUp) {
    Picture p(8, 6, 0, 0.9507f);
    p.rgb[0] = 10;   // pixel (0, 0): red 10, green 20, blue 30
    p.rgb[1] = 20;
    p.rgb[2] = 30;
    p.blur();
    EXPECT_EQ(p.out(0, 0, 0), 30);
    EXPECT_EQ(p.out(0, 0, 1), 20);
    EXPECT_EQ(p.out(0, 0, 2), 10);

    // A blurred pixel in the corner keeps all its light in the picture: what its disc
    // loses past the border lands on the edge pixels.
    Picture c(20, 20, 0, 0.0f);
    c.set(0, 0, 255, 0.0f);
    c.blur();
    EXPECT_GT(c.out(0, 0), c.out(1, 1));
    EXPECT_GT(c.out(0, 5), c.out(1, 5));
}
