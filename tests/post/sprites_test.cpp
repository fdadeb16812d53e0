// tests/post/sprites_test.cpp - which texture each sprite gets, brightness and intensity,
// screen alignment under a rolled view, and the draw counters.
#include "gl_fixture.h"
#include "post/sprites.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>

class SpritesTest : public GLTest {
protected:
    Texture *red = nullptr, *green = nullptr;
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        red = make_solid_texture(4, 4, 255, 0, 0, 255, 1, 1, 1, 0);
        green = make_solid_texture(4, 4, 0, 255, 0, 255, 1, 1, 1, 0);
        reset_render_state(BLACK_RGBA);
        set_ortho_view(0);
    }
    // Pixel at normalised device coordinates (x, y) of the 640x480 window.
    static std::vector<unsigned char> at(float x, float y) {
        return read_pixels(int((x + 1) * 320), int((y + 1) * 240), 1, 1);
    }
};

TEST_F(SpritesTest, TexturesTakeTurnsAndIntensityScalesTheColour) {
    const float positions[15] = { -0.8f, 0, 0.5f, -0.4f, 0, 0.5f, 0, 0, 0.5f, 0.4f, 0, 0.5f, 0.8f, 0, 0.5f };
    const float intensities[5] = { 1, 1, 0.5f, 0, 1 };
    Texture *const pair[2] = { red, green };
    draw_sprites(positions, intensities, 5, pair, 2, 0.1f, 1.0f, RF_BLEND_ADD | RF_NO_DEPTH_WRITE);

    auto p0 = at(-0.8f, 0), p1 = at(-0.4f, 0), p2 = at(0, 0), p3 = at(0.4f, 0), p4 = at(0.8f, 0);
    EXPECT_GT(p0[0], 250); EXPECT_EQ(p0[1], 0);     // sprites 0, 2, 4: first texture
    EXPECT_NEAR(p2[0], 128, 2); EXPECT_EQ(p2[1], 0);   // at half intensity
    EXPECT_GT(p4[0], 250); EXPECT_EQ(p4[1], 0);
    EXPECT_EQ(p1[0], 0); EXPECT_GT(p1[1], 250);     // sprite 1: second texture
    EXPECT_EQ(p3[0] + p3[1] + p3[2], 0);            // sprite 3: intensity 0 adds nothing
    EXPECT_EQ(at(-0.6f, 0)[0], 0);                  // gaps between the squares stay black
    EXPECT_EQ(render.drawn.faces, 10);
    EXPECT_EQ(render.drawn.vertices, 20);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(SpritesTest, RolledViewKeepsTheSquaresAlignedWithTheScreen) {
    glRotatef(45, 0, 0, 1);
    const float positions[3] = { 0, 0, 0.5f };
    Texture *const one[1] = { red };
    draw_sprites(positions, nullptr, 1, one, 1, 0.2f, 1.0f, RF_BLEND_ADD | RF_NO_DEPTH_WRITE);
    EXPECT_GT(at(0.18f, 0.18f)[0], 250);   // a corner: outside the square turned 45 degrees
    EXPECT_EQ(at(0.25f, 0)[0], 0);         // beyond the edge: inside the turned square
}
