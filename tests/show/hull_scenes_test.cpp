// tests/show/hull_scenes_test.cpp - where the rushing group stands in its two-unit run, and
// the two-pass picture: the smeared sky added over the sharp pass, glowing beyond the sky
// ball's outline, independent of what the target held before, and the group seen only
// while it is in front of the eye.
#include "gl_fixture.h"
#include "show/hull_scenes.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>

TEST(HullHexGroupTest, RunRestartsBehindTheEyeEveryTwoUnits) {
    for (int k : { 0, 1, 17, 54 }) {
        const float t = 2.0f * float(k);
        EXPECT_FLOAT_EQ(hull_hex_group_z(t), 200.0f) << "t = " << t;         // behind the eye at z 110
        EXPECT_FLOAT_EQ(hull_hex_group_z(t + 1.0f), 0.0f) << "t = " << t + 1;   // the centre of the view
        EXPECT_NEAR(hull_hex_group_z(t + 0.5f), 100.0f, 1e-3f) << "t = " << t + 0.5f;
        EXPECT_NEAR(hull_hex_group_z(t + 1.999f), -199.8f, 0.05f) << "t = " << t + 1.999f;
    }
}

// The stand-ins make the sky ball the only coloured thing: a red ball round a tiny box of
// a hull, black planes, so every red pixel is sky light.
class HullScenesTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        Texture *black = make_solid_texture(4, 4, 0, 0, 0, 255, 1, 1, 1, 0);
        res.skyr1_texture = make_solid_texture(4, 4, 200, 0, 0, 255, 1, 1, 1, 0);
        res.irid_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.shakki_texture = res.hex2_texture = res.metal_texture = black;
        res.hull_mesh = make_box(0);
        res.sphere_32 = make_wrapped_sphere(32, 32, 0);
        const float spacing[3] = { 4, 0, 4 };
        res.grid_plane = make_grid(32, 32, spacing, 0);
        res.twin_part_a_mesh = res.twin_part_b_mesh = make_box(RF_FLAT);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    // Red and green of one pixel of the offscreen view, counted from its centre.
    static std::pair<int, int> red_green(int dx, int dy) {
        const std::vector<unsigned char> p = read_pixels(OFFSCREEN_WIDTH / 2 + dx, OFFSCREEN_HEIGHT / 2 + dy, 1, 1);
        return { p[0], p[1] };
    }
};

TEST_F(HullScenesTest, SmearedSkyIsAddedOverTheSharpPassAndGlowsBeyondTheBall) {
    // The sharp pass never draws the ball, so its light at the centre is the added layer.
    // At t = 0.5 the ball (r 70, 121 away, field of view 130) is about 55 pixels across
    // its radius; 100 pixels up only the smear can reach.
    hull_scene(0.5f, res.screen_texture_a);
    auto [r, g] = red_green(0, 0);
    EXPECT_GT(r, 100);
    EXPECT_LT(g, 8);
    std::tie(r, g) = red_green(0, 100);
    EXPECT_GT(r, 10);
    EXPECT_LT(g, 8);
    // Without a target there is nothing to smear through: only the sharp pass, no red.
    hull_scene(0.5f, nullptr);
    std::tie(r, g) = red_green(0, 0);
    EXPECT_LT(r, 8);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HullScenesTest, PictureDoesNotDependOnWhatTheTargetHeld) {
    for (void (*scene)(float, Texture *) : { hull_scene, hull_hex_scene }) {
        fill_target(res.screen_texture_a, WHITE_RGBA);
        scene(3.3f, res.screen_texture_a);
        const long after_white = offscreen_sum();
        fill_target(res.screen_texture_a, BLACK_RGBA);
        scene(3.3f, res.screen_texture_a);
        EXPECT_EQ(offscreen_sum(), after_white);
        EXPECT_GT(after_white, 384L * 288 * 5);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HullScenesTest, RushingGroupFillsTheViewOnlyAtMidRun) {
    for (float t : { 2.0f, 36.0f, 108.0f }) {
        hull_hex_scene(t + 1.0f, res.screen_texture_a);   // at the centre: the ball fills the view
        EXPECT_GT(red_green(0, 0).first, 100) << "t = " << t + 1;
        hull_hex_scene(t, res.screen_texture_a);          // behind the eye: nothing lit ahead
        EXPECT_LT(red_green(0, 0).first, 8) << "t = " << t;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
