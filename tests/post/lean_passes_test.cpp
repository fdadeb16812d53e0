// tests/post/lean_passes_test.cpp - the passes' short cuts give the very pixels of the long
// way, and the fill counters count what was drawn. Every case is drawn both ways over the
// same leftover picture, so a clear that was needed and skipped would show.
#include "post_fixture.h"
#include "post/filters.h"
#include "post/final_passes.h"

static void gradient(int x, int y, unsigned char *c) {
    c[0] = (unsigned char)(x * 255 / OFFSCREEN_WIDTH);
    c[1] = (unsigned char)(y * 255 / OFFSCREEN_HEIGHT);
    c[2] = (unsigned char)((x / 8 + y / 8) % 2 ? 230 : 17);
}

class LeanPassTest : public PostTest {
protected:
    void TearDown() override {
        render.cuts = true;
        render.clears_in_corner = false;
        render.fill.on = false;
    }
    // The corner after draw, with or without the cuts, over the same leftover picture.
    std::vector<unsigned char> drawn(bool cuts, const float clear_rgba[4], const std::function<void()> &draw) {
        render.cuts = false;
        draw_layer(leftover, 1.0f, RF_OFFSCREEN);
        glClearColor(clear_rgba[0], clear_rgba[1], clear_rgba[2], clear_rgba[3]);
        render.cuts = cuts;
        draw();
        render.cuts = true;
        return read_offscreen();
    }
    Texture *leftover = screen_picture([](int x, int y, unsigned char *c) { c[0] = c[1] = c[2] = (x ^ y) & 255; });
};

TEST_F(LeanPassTest, CrossfadesAndMixesAtAnyWeightMatchTheFullPasses) {
    Texture *a = screen_picture(gradient), *b = flat_picture(90, 30, 200);
    const float black[4] = { 0, 0, 0, 0 }, haze[4] = { 0.2f, 0.1f, 0.0f, 0.0f };
    struct Case { bool mix; float w1, w2; };
    const Case cases[] = { { false, 0, 0.0f }, { false, 0, 1.0f }, { false, 0, 0.3f },
                           { true, 1.0f, 0.0f }, { true, 0.0f, 1.0f }, { true, 0.7f, 0.4f }, { true, 0.0f, 0.0f } };
    for (const float *clear : { black, haze }) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << (c.mix ? "mix " : "crossfade ") << c.w1 << " " << c.w2
                                            << (clear == haze ? " over a haze" : ""));
            auto draw = [&] {
                if (c.mix) mix_add(a, c.w1, b, c.w2, RF_OFFSCREEN);
                else       crossfade(a, b, c.w2, RF_OFFSCREEN);
            };
            EXPECT_EQ(drawn(true, clear, draw), drawn(false, clear, draw));
        }
    }
    // The long way's picture is what it should be: a mix adds to its clear colour.
    EXPECT_RGB_NEAR(at(drawn(true, haze, [&] { mix_add(a, 0.0f, b, 1.0f, RF_OFFSCREEN); }), 5, 5),
                    141, 56, 200, 2);
}

TEST_F(LeanPassTest, TheBeatFlashBetweenBeatsLeavesTheColoursAlone) {
    const float black[4] = { 0, 0, 0, 1 };
    auto flash_at = [](float s) { return [s] { beat_flash(s, 0.5f, 16.0f, 2.0f); }; };
    EXPECT_EQ(drawn(true, black, flash_at(0.05f)), drawn(false, black, flash_at(0.05f)));
    // On the beat it still greys the picture.
    EXPECT_NE(drawn(true, black, flash_at(0.0625f)), drawn(false, black, flash_at(0.05f)));
}

TEST_F(LeanPassTest, CornerClearsStopAtTheCornerAndAreCounted) {
    const float white[4] = { 1, 1, 1, 1 };
    fill_target(leftover, white);
    render.cuts = false;
    set_ortho_view(0);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    render.fill = {};
    render.fill.on = true;
    render.cuts = true;
    render.clears_in_corner = true;
    glClearColor(0, 0, 0, 1);
    clear_buffers(GL_COLOR_BUFFER_BIT);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    std::vector<unsigned char> all = read_pixels(0, 0, 640, 480);
    EXPECT_RGB_NEAR(at(all, 383, 287, 640), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(at(all, 384, 100, 640), 255, 255, 255, 0);
    EXPECT_RGB_NEAR(at(all, 100, 288, 640), 255, 255, 255, 0);
    EXPECT_EQ(render.fill.pixels[FILL_CLEAR], 384.0 * 288);

    render.clears_in_corner = false;   // the final passes clear the whole window
    clear_buffers(GL_COLOR_BUFFER_BIT);
    EXPECT_RGB_NEAR(at(read_pixels(0, 0, 640, 480), 600, 400, 640), 0, 0, 0, 0);
    EXPECT_EQ(render.fill.pixels[FILL_CLEAR], 384.0 * 288 + 640.0 * 480);
    EXPECT_EQ(render.fill.calls[FILL_CLEAR], 2);
}

TEST_F(LeanPassTest, PassesAndCopiesCountTheirAreaOnlyWhileCounting) {
    Texture *a = screen_picture(gradient), *b = flat_picture(90, 30, 200);
    render.fill = {};
    crossfade(a, b, 0.5f, RF_OFFSCREEN);
    EXPECT_EQ(render.fill.calls[FILL_PASS], 0);

    render.fill.on = true;
    crossfade(a, b, 0.5f, RF_OFFSCREEN);       // two quads over the corner
    copy_frame_rect_to_texture(a, 100, 50);
    beat_flash(0.0f, 0.5f, 16.0f, 2.0f);       // one quad over the window
    render.fill.on = false;
    EXPECT_EQ(render.fill.calls[FILL_PASS], 3);
    EXPECT_EQ(render.fill.pixels[FILL_PASS], 2 * 384.0 * 288 + 640.0 * 480);
    EXPECT_EQ(render.fill.pixels[FILL_COPY], 5000.0);
    EXPECT_EQ(render.fill.pixels[FILL_CLEAR], 0.0);   // the cross-fade's first layer replaces its clear
}
