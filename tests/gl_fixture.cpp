// tests/gl_fixture.cpp - the hidden GL window for tests.
#include "gl_fixture.h"
#include "platform/gl_caps.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "render/render_state.h"
#include <GL/gl.h>

void GLTest::SetUpTestSuite() {
    if (win.context) return;
    app.unattended = true;
    app.window_width = 640;
    app.window_height = 480;
    app.offscreen_texture_width = 512;
    app.offscreen_texture_height = 512;
    ASSERT_NE(create_gl_window(false, 640, 480, 32, 32, "orbplume tests", 0, 0, WINDOW_HIDDEN), nullptr)
        << "no GL window: run the tests under Xvfb (scripts/test)";
    check_gl_capabilities();
    bind_multitexture_entry_points();
}

void GLTest::SetUp() {
    // Death tests re-run the test program instead of forking it: a forked child would share
    // the parent's X connection and GL context and hang on teardown. (Set here, not by a
    // static initialiser: gtest's own flag may be constructed after it, which undid the
    // setting and leaked its text.)
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_NE(win.context, nullptr);
    glViewport(0, 0, 640, 480);
    while (glGetError() != GL_NO_ERROR) {}
}

std::vector<unsigned char> GLTest::read_pixels(int x, int y, int w, int h) {
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void GLTest::fill_target(const Texture *target, const float rgba[4]) {
    reset_render_state(rgba);
    copy_frame_to_texture(target);
}

long GLTest::offscreen_sum() {
    long sum = 0;
    for (unsigned char c : read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT)) sum += c;
    return sum;
}
