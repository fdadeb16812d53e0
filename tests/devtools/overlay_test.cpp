// tests/devtools/overlay_test.cpp - the frame statistics, the text of the eight lines, and
// the overlay drawn over a real picture: inverted text, nothing at all when every line is off.
#include "app/gl_caps.h"
#include "app/window.h"
#include "devtools/keys.h"
#include "devtools/overlay.h"
#include "gl_fixture.h"
#include "render/render_state.h"
#include <GL/gl.h>
#include <cstring>

static const PixelFormatInfo FORMAT = { "2.1 Test", 24, 8, 24, 8 };

class OverlayTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        if (!win.font_base) create_outline_font();
    }
    void SetUp() override {
        GLTest::SetUp();
        devkeys = {};
        frame_stats = { 0.0, 999.0, 0.0, 0.0, 0.0, 0, 0 };
    }
    void TearDown() override { devkeys = {}; }
    static void clear_to(float grey) {
        glClearColor(grey, grey, grey, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // Pixels of the window's lower-left 400x200, where the lines are drawn, that differ
    // from the given grey level.
    static int pixels_not(int grey, int *opposite = nullptr) {
        std::vector<unsigned char> p = read_pixels(0, 0, 400, 200);
        int differ = 0, inverted = 0;
        for (size_t i = 0; i < p.size(); i += 3) {
            if (p[i] != grey) differ++;
            if (p[i] == 255 - grey && p[i + 1] == 255 - grey && p[i + 2] == 255 - grey) inverted++;
        }
        if (opposite) *opposite = inverted;
        return differ;
    }
};

TEST(FrameStatsTest, RatesMinimumMaximumAndAverage) {
    FrameStats s = { 0.0, 999.0, 0.0, 0.0, 0.0, 0, 0 };
    update_frame_stats(s, 1000);   // the first call only starts the clock
    EXPECT_EQ(s.frames, 1u);
    EXPECT_EQ(s.fps, 0.0);
    EXPECT_EQ(s.min_fps, 999.0);
    update_frame_stats(s, 1020);
    EXPECT_DOUBLE_EQ(s.fps, 50.0);
    update_frame_stats(s, 1030);
    EXPECT_DOUBLE_EQ(s.fps, 100.0);
    update_frame_stats(s, 1070);
    EXPECT_DOUBLE_EQ(s.fps, 25.0);
    EXPECT_DOUBLE_EQ(s.min_fps, 25.0);
    EXPECT_DOUBLE_EQ(s.max_fps, 100.0);
    EXPECT_DOUBLE_EQ(s.avg_fps, 175.0 / 3.0);
    EXPECT_EQ(s.frames, 4u);
    update_frame_stats(s, 1070);   // same millisecond: counted as 1 ms, never infinite
    EXPECT_DOUBLE_EQ(s.fps, 1000.0);
    EXPECT_DOUBLE_EQ(s.avg_fps, 1175.0 / 4.0);
}

TEST_F(OverlayTest, LinesReadAsFormatted) {
    frame_stats.fps = 62.5;
    frame_stats.min_fps = 12.25;
    frame_stats.max_fps = 400.0;
    frame_stats.avg_fps = 60.123456789;
    render.drawn.vertices = 1089;
    render.drawn.faces = 2048;
    devkeys.yaw = -3.0f;
    EXPECT_EQ(overlay_line(1, -2.0f, FORMAT), "-2.00  62.50");
    EXPECT_EQ(overlay_line(1, 17.456f, FORMAT), "17.46  62.50");
    EXPECT_EQ(overlay_line(2, 0, FORMAT),
              "fps:           62.50  min:          12.25  max:   400.00000000  avg:    60.12345679");
    EXPECT_EQ(overlay_line(3, 0, FORMAT), "vc:1089 pc:2048");
    EXPECT_EQ(overlay_line(4, 0, FORMAT), "bpp:24  abits:8  zbits:24  stencilbits:8");
    EXPECT_EQ(overlay_line(5, 0, FORMAT), "xpos: 0.00  ypos: 0.00  zpos: 0.00  xrot: 0.00  yrot:-3.00");
    EXPECT_EQ(overlay_line(6, 0, FORMAT), "OpenGL version: 2.1 Test");

    auto yn = [](bool b) { return std::string(b ? "yes" : "no"); };
    EXPECT_EQ(overlay_line(7, 0, FORMAT),
              "multitexture:" + yn(has_gl_extension("GL_ARB_multitexture")) +
              "  env_combine:" + yn(has_gl_extension("GL_ARB_texture_env_combine")) +
              "  dot3:" + yn(has_gl_extension("GL_ARB_texture_env_dot3")) +
              "  arb_vbo:" + yn(has_gl_extension("GL_ARB_vertex_buffer_object")) +
              "  point_sprite:" + yn(has_gl_extension("GL_ARB_point_sprite")) +
              "  cube_map:" + yn(gl_caps.cube_map_supported));
    EXPECT_EQ(overlay_line(7, 0, FORMAT).substr(0, 33), "multitexture:yes  env_combine:yes");
    // The window-system names are never in a GL extension list.
    EXPECT_EQ(overlay_line(8, 0, FORMAT),
              "WGL_: ext_strs:no  pix_format:no  mk_cur_read:no  pbuf:no  rend_txtr:no  multisamp:no");
}

TEST_F(OverlayTest, AllLinesOffLeavesThePictureAndStillCountsFrames) {
    clear_to(0.5f);
    const int grey = read_pixels(0, 0, 1, 1)[0];
    draw_overlay(1.0f);
    draw_overlay(1.0f);
    EXPECT_EQ(pixels_not(grey), 0);
    EXPECT_EQ(frame_stats.frames, 2u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OverlayTest, TextInvertsWhatLiesBeneath) {
    for (int line : { 1, 6 }) {
        devkeys = {};
        devkeys.overlay_line[line - 1] = 1;
        for (float grey : { 0.0f, 1.0f }) {
            clear_to(grey);
            draw_overlay(3.0f);
            int inverted = 0;
            const int differ = pixels_not(int(grey * 255), &inverted);
            EXPECT_GT(inverted, 100) << "line " << line << " over " << grey;
            EXPECT_GT(inverted, differ * 9 / 10) << "line " << line << " over " << grey;
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OverlayTest, LinesStackUpFromTheBottom) {
    auto rows_with_text = [](int line) {
        devkeys = {};
        devkeys.overlay_line[line - 1] = 1;
        clear_to(0.0f);
        draw_overlay(3.0f);
        std::vector<unsigned char> p = read_pixels(0, 0, 640, 480);
        int lowest = -1, highest = -1;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                if (p[(size_t(y) * 640 + x) * 3]) {
                    if (lowest < 0) lowest = y;
                    highest = y;
                    break;
                }
        return std::pair<int, int>(lowest, highest);
    };
    const auto first = rows_with_text(1), fourth = rows_with_text(4);
    // Line n sits at n x 0.05 of the height (24 pixels per line at 480), 0.025 high.
    EXPECT_NEAR(first.first, 24, 6);
    EXPECT_NEAR(fourth.first, 96, 6);
    EXPECT_LE(first.second - first.first, 20);
}
