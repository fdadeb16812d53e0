// tests/post/post_fixture.h - screen textures filled with known pictures, and reads of the
// offscreen viewport, for the pass tests.
#pragma once
#include "gl_fixture.h"
#include "render/render_state.h"
#include "render/texture.h"
#include <GL/gl.h>
#include <functional>
#include <vector>

class PostTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        reset_render_state(BLACK_RGBA);
    }
    // A screen texture holding colour(x, y) for every pixel of the offscreen viewport.
    static Texture *screen_picture(const std::function<void(int, int, unsigned char *)> &colour) {
        Texture *tex = make_screen_texture();
        std::vector<unsigned char> rgb(OFFSCREEN_WIDTH * OFFSCREEN_HEIGHT * 3);
        for (int y = 0; y < OFFSCREEN_HEIGHT; y++)
            for (int x = 0; x < OFFSCREEN_WIDTH; x++) colour(x, y, &rgb[(y * OFFSCREEN_WIDTH + x) * 3]);
        bind_texture(tex, 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT, GL_RGB,
                        GL_UNSIGNED_BYTE, rgb.data());
        return tex;
    }
    static Texture *flat_picture(unsigned char r, unsigned char g, unsigned char b) {
        return screen_picture([=](int, int, unsigned char *c) { c[0] = r; c[1] = g; c[2] = b; });
    }
    static std::vector<unsigned char> read_offscreen() {
        return read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
    }
    static const unsigned char *at(const std::vector<unsigned char> &rgb, int x, int y, int w = OFFSCREEN_WIDTH) {
        return &rgb[(size_t(y) * w + x) * 3];
    }
};

// Each channel of pixel p within tol of (r, g, b).
#define EXPECT_RGB_NEAR(p, r, g, b, tol)                     \
    do {                                                     \
        EXPECT_NEAR(int((p)[0]), (r), (tol)) << "red";       \
        EXPECT_NEAR(int((p)[1]), (g), (tol)) << "green";     \
        EXPECT_NEAR(int((p)[2]), (b), (tol)) << "blue";      \
    } while (0)
