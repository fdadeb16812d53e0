// tests/devtools/overlay_test.cpp - the frame statistics, the text of the eight lines, and
// the overlay drawn over a real picture: inverted text, nothing when every line is off.
#include "platform/gl_caps.h"
#include "platform/window.h"
#include "devtools/keys.h"
#include "devtools/overlay.h"
#include "gl_fixture.h"
#include "render/render_state.h"
#include <GL/gl.h>

TEST(FrameStatsTest, RatesMinimumMaximumAndAverage) {
    FrameStats s = { 0.0, 999.0, 0.0, 0.0, 0.0, 0, 0 };
    update_frame_stats(s, 1000);   // the first call only starts the clock
    EXPECT_EQ(s.min_fps, 999.0);
    for (uint32_t now : { 1020, 1030, 1070 }) update_frame_stats(s, now);
    EXPECT_EQ(s.fps, 25.0);
    EXPECT_EQ(s.min_fps, 25.0);
    EXPECT_EQ(s.max_fps, 100.0);
    EXPECT_DOUBLE_EQ(s.avg_fps, 175.0 / 3.0);
    update_frame_stats(s, 1070);   // same millisecond: counted as 1 ms, never infinite
    EXPECT_EQ(s.fps, 1000.0);
    EXPECT_EQ(s.frames, 5u);
}

class OverlayTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        if (!win.font_base) create_outline_font();
    }
    void TearDown() override { devkeys = {}; }
};

TEST_F(OverlayTest, LinesReadAsFormatted) {
    frame_stats = { 62.5, 12.25, 400.0, 0.0, 60.123456789, 9, 0 };
    render.drawn.vertices = 1089;
    render.drawn.faces = 2048;
    devkeys.yaw = -3.0f;
    const PixelFormatInfo gl = { "2.1 Test", 24, 8, 24, 8 };
    EXPECT_EQ(overlay_line(1, -2.0f, gl), "-2.00  62.50");
    EXPECT_EQ(overlay_line(2, 0, gl),
              "fps:           62.50  min:          12.25  max:   400.00000000  avg:    60.12345679");
    EXPECT_EQ(overlay_line(3, 0, gl), "vc:1089 pc:2048");
    EXPECT_EQ(overlay_line(4, 0, gl), "bpp:24  abits:8  zbits:24  stencilbits:8");
    EXPECT_EQ(overlay_line(5, 0, gl), "xpos: 0.00  ypos: 0.00  zpos: 0.00  xrot: 0.00  yrot:-3.00");
    EXPECT_EQ(overlay_line(6, 0, gl), "OpenGL version: 2.1 Test");
    EXPECT_EQ(overlay_line(7, 0, gl).substr(0, 33), "multitexture:yes  env_combine:yes");
    EXPECT_EQ(overlay_line(7, 0, gl).substr(overlay_line(7, 0, gl).rfind("  ")),
              gl_caps.cube_map_supported ? "  cube_map:yes" : "  cube_map:no");
    // The window-system names are never in a GL extension list.
    EXPECT_EQ(overlay_line(8, 0, gl),
              "WGL_: ext_strs:no  pix_format:no  mk_cur_read:no  pbuf:no  rend_txtr:no  multisamp:no");
}

TEST_F(OverlayTest, TextInvertsWhatLiesBeneathAndNothingShowsWhenOff) {
    // Lower-left 400x200 pixels (where the lines sit) that differ from grey, and how
    // many of them are its exact inverse.
    auto count = [](int grey, int &inverted) {
        std::vector<unsigned char> p = read_pixels(0, 0, 400, 200);
        int differ = 0;
        inverted = 0;
        for (size_t i = 0; i < p.size(); i += 3) {
            differ += p[i] != grey;
            inverted += p[i] == 255 - grey && p[i + 1] == 255 - grey && p[i + 2] == 255 - grey;
        }
        return differ;
    };
    for (int grey : { 0, 128, 255 }) {
        for (int line : { 0, 1, 6 }) {   // 0: every line off
            devkeys = {};
            if (line) devkeys.overlay_line[line - 1] = 1;
            glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            draw_overlay(3.0f);
            int inverted;
            const int differ = count(grey, inverted);
            EXPECT_GE(inverted, line ? 100 : 0) << "line " << line << " over " << grey;
            EXPECT_GE(inverted, line ? differ * 9 / 10 : differ) << "line " << line << " over " << grey;
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
