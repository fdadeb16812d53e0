// tests/post/filters_test.cpp - the screen-space passes on small known pictures: what each
// leaves in the viewport, and where.
#include "post_fixture.h"
#include "post/filters.h"

static void stripes(int x, int, unsigned char *c) {   // 16-pixel white bars on black
    c[0] = c[1] = c[2] = (x / 16) % 2 ? 255 : 0;
}

TEST_F(PostTest, CrossfadeEndsShowOneTextureAndMixesBetween) {
    Texture *red = flat_picture(200, 0, 0), *blue = flat_picture(0, 0, 200);
    crossfade(red, blue, 0.0f, RF_OFFSCREEN);
    EXPECT_RGB_NEAR(at(read_offscreen(), 192, 144), 200, 0, 0, 1);
    crossfade(red, blue, 1.0f, RF_OFFSCREEN);
    EXPECT_RGB_NEAR(at(read_offscreen(), 192, 144), 0, 0, 200, 1);
    crossfade(red, blue, 0.25f, RF_OFFSCREEN);
    EXPECT_RGB_NEAR(at(read_offscreen(), 192, 144), 150, 0, 50, 2);
    mix_add(red, 0.5f, blue, 1.0f, RF_OFFSCREEN);
    EXPECT_RGB_NEAR(at(read_offscreen(), 10, 10), 100, 0, 200, 2);
}

TEST_F(PostTest, BlurWithOneTextureEqualsBlurWithTwo) {
    Texture *a = screen_picture(stripes), *scratch = make_screen_texture();
    blur_separable(a, scratch, 3, 2.0f, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> two = read_offscreen();
    blur_separable(a, a, 3, 2.0f, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> one = read_offscreen();
    EXPECT_EQ(one, two);
    // The bars are softened: a pixel next to an edge is neither black nor white.
    EXPECT_GT(int(at(two, 16, 100)[0]), 20);
    EXPECT_LT(int(at(two, 16, 100)[0]), 235);
}

TEST_F(PostTest, BlurKeepsFlatAreasTimesGainAndAlwaysEndsOffscreen) {
    Texture *grey = flat_picture(120, 120, 120), *scratch = make_screen_texture();
    blur_separable(grey, scratch, 2, 4.0f, 0.5f, 0);   // no RF_OFFSCREEN: still the corner
    std::vector<unsigned char> all = read_pixels(0, 0, 640, 480);
    EXPECT_RGB_NEAR(at(all, 192, 144, 640), 60, 60, 60, 2);
    EXPECT_RGB_NEAR(at(all, 500, 400, 640), 0, 0, 0, 0);
    // With RF_BLEND_ADD the sharp source is added over the blur.
    blur_separable(grey, scratch, 2, 4.0f, 0.5f, RF_OFFSCREEN | RF_BLEND_ADD);
    EXPECT_RGB_NEAR(at(read_offscreen(), 192, 144), 180, 180, 180, 2);
}

// The glow of the finishing chain uses the cave's target as scratch, and the cave reflects
// that texture on its walls next frame: the scratch must hold the plain horizontal blur, at
// gain 1, or the picture would feed on its own glow.
TEST_F(PostTest, BlurLeavesTheUngainedHorizontalPassInScratch) {
    Texture *picture = flat_picture(60, 100, 140), *scratch = flat_picture(255, 255, 255);
    blur_separable(picture, scratch, 3, 2.0f, 0.75f, RF_BLEND_ADD);
    // Source plus 0.75 x blur; each of the twelve added quads rounds to a byte.
    EXPECT_RGB_NEAR(at(read_offscreen(), 192, 144), 105, 175, 245, 4);

    std::vector<unsigned char> texels(size_t(scratch->width) * scratch->height * 4);
    glBindTexture(GL_TEXTURE_2D, scratch->id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (const auto &xy : { std::make_pair(192, 144), std::make_pair(20, 10), std::make_pair(370, 280) }) {
        SCOPED_TRACE(xy.first);
        const unsigned char *t = &texels[(size_t(xy.second) * scratch->width + xy.first) * 4];
        EXPECT_RGB_NEAR(t, 60, 100, 140, 2);
    }
}

TEST_F(PostTest, ZoomBlursDrawIntoTheCallersViewport) {
    Texture *grey = flat_picture(40, 40, 40);
    glViewport(0, 0, 100, 100);
    zoom_blur(grey, 32, 1.02f, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> all = read_pixels(0, 0, 640, 480);
    EXPECT_GT(int(at(all, 50, 50, 640)[0]), 40);   // copies add up above the source
    EXPECT_EQ(int(at(all, 200, 150, 640)[0]), 0);  // outside the caller's viewport: cleared
    glViewport(0, 0, 100, 100);
    zoom_blur_flash(grey, 24, 1.03f, 1.0f, RF_OFFSCREEN);
    all = read_pixels(0, 0, 640, 480);
    EXPECT_GT(int(at(all, 50, 50, 640)[0]), 40);
    EXPECT_EQ(int(at(all, 200, 150, 640)[0]), 0);
}

TEST_F(PostTest, LayersStandUprightAndBlendByFlags) {
    // Top rows of the picture first: red over green.
    std::vector<unsigned char> rgba(64 * 64 * 4, 255);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            unsigned char *p = &rgba[(y * 64 + x) * 4];
            p[0] = y < 32 ? 255 : 0;
            p[1] = y < 32 ? 0 : 255;
            p[2] = 0;
        }
    Texture *picture = make_texture_from_pixels(rgba.data(), 64, 64, 1, 1, 1, TEX_NO_MIPMAP);
    draw_layer_transformed(picture, 0, 0, 1, 1, 1, 0, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> px = read_offscreen();
    EXPECT_RGB_NEAR(at(px, 192, 270), 255, 0, 0, 2);   // top of the view
    EXPECT_RGB_NEAR(at(px, 192, 20), 0, 255, 0, 2);
    draw_layer_transformed(picture, 0, 0, 1, 1, 1, 180, 0.5f, RF_OFFSCREEN);   // turned over, half bright
    px = read_offscreen();
    EXPECT_RGB_NEAR(at(px, 192, 20), 128, 0, 0, 2);

    // draw_layer multiplies with RF_BLEND_MULTIPLY: a flat 50% grey halves the frame.
    Texture *grey = flat_picture(128, 128, 128);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_layer(grey, 1.0f, RF_OFFSCREEN | RF_BLEND_MULTIPLY);
    EXPECT_RGB_NEAR(at(read_offscreen(), 100, 100), 128, 128, 128, 2);
    draw_layer(grey, 1.0f, RF_OFFSCREEN | RF_BLEND_MULTIPLY);
    EXPECT_RGB_NEAR(at(read_offscreen(), 100, 100), 64, 64, 64, 2);
}

TEST_F(PostTest, WobblesWithZeroOffsetsReproduceTheSource) {
    Texture *picture = screen_picture([](int x, int y, unsigned char *c) {
        c[0] = (unsigned char)(x / 2); c[1] = (unsigned char)(y * 255 / 287); c[2] = 200;
    });
    float zero[128] = {};
    wobble_split(picture, zero, 0.01f, 128, 1.0f, RF_OFFSCREEN);
    std::vector<unsigned char> px = read_offscreen();
    for (int y : { 0, 100, 280 })
        for (int x : { 5, 191, 380 }) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_RGB_NEAR(at(px, x, y), x / 2, y * 255 / 287, 200, 2);
        }
    EXPECT_RGB_NEAR(at(px, 100, 287), 0, 255, 0, 2);   // the top band: only the green quad reaches it

    wobble_spread(picture, zero, 0.01f, 128, 1.0f, RF_OFFSCREEN);
    px = read_offscreen();
    EXPECT_RGB_NEAR(at(px, 191, 100), 95, 100 * 255 / 287, 200, 2);
    EXPECT_RGB_NEAR(at(px, 100, 287), 0, 0, 0, 0);     // no channel reaches the top band

    // Non-zero offsets pull red and blue apart: a flat white picture gets coloured edges.
    Texture *white = flat_picture(255, 255, 255);
    float push[128];
    for (float &o : push) o = 0.5f;
    wobble_split(white, push, 0.1f, 128, 1.0f, RF_OFFSCREEN);
    px = read_offscreen();
    EXPECT_RGB_NEAR(at(px, 2, 100), 0, 255, 255, 2);     // red moved right, off the left edge
    EXPECT_RGB_NEAR(at(px, 381, 100), 255, 255, 0, 2);   // blue moved left
}

TEST_F(PostTest, GlowChainWipesTheWindowAndFillsEveryLevel) {
    TextureChain chain = make_screen_texture_chain();
    ASSERT_EQ(chain.count, 8);
    glClearColor(0.4f, 0.4f, 0.4f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const float white[4] = { 1, 1, 1, 1 };
    glow_chain_build(chain, 0, 2.0f, white);
    EXPECT_RGB_NEAR(at(read_pixels(0, 0, 640, 480), 500, 400, 640), 0, 0, 0, 0);

    // A flat frame stays flat in the middle of each level (the taps sum to 1).
    for (int level : { 1, 3 }) {
        const Texture &tex = chain.levels[level];
        std::vector<unsigned char> texels(size_t(tex.width) * tex.height * 4);
        glBindTexture(GL_TEXTURE_2D, tex.id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        const int cx = (384 >> level) / 2, cy = (288 >> level) / 2;
        EXPECT_NEAR(int(texels[(size_t(cy) * tex.width + cx) * 4]), 102, 3) << level;
    }

    // The composite adds all eight levels over the view.
    reset_render_state(BLACK_RGBA);
    glow_chain_composite(chain, 0, RF_OFFSCREEN | RF_BLEND_ADD);
    EXPECT_GT(int(at(read_offscreen(), 192, 144)[0]), 2 * 102);
}
