// tests/show/core_closing_test.cpp - the closing scene's schedule (camera cut, spin-down,
// zoom and dimming), the rotor clear of camera 1's near plane, and the screen showing the
// picture its target held when the scene began.
#include "gl_fixture.h"
#include "show/core_closing.h"
#include "data/embedded_meshes.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

TEST(ClosingScheduleTest, SideViewForOnePatternSpinDownZoomAndFade) {
    const struct { float a; int camera; } cuts[] = { { 73.99f, 1 }, { 74.0f, 0 }, { 74.99f, 0 }, { 75.0f, 1 } };
    for (const auto &c : cuts) EXPECT_EQ(closing_camera(c.a), c.camera) << "a = " << c.a;

    EXPECT_FLOAT_EQ(closing_spin(75.5f), 100.0f);
    EXPECT_FLOAT_EQ(closing_spin(76.5f), 25.0f);
    float last = closing_spin(73.0f);
    for (float a = 73.0f; a <= 79.0f; a += 1.0f / 64) {   // always slowing, at rest from 77.5 on
        EXPECT_LE(closing_spin(a), last) << "a = " << a;
        last = closing_spin(a);
        if (a > 77.5f) {
            EXPECT_EQ(last, 0.0f) << "a = " << a;
        }
    }

    for (float a : { 73.0f, 75.49f }) EXPECT_EQ(closing_zoom_amount(a), 1.0f) << "a = " << a;
    EXPECT_FLOAT_EQ(closing_zoom_amount(76.0f), 0.5f);
    for (float a : { 76.5f, 77.0f }) EXPECT_EQ(closing_zoom_amount(a), 0.0f) << "a = " << a;
    EXPECT_GE(closing_level(75.9f), 1.0f);
    EXPECT_FLOAT_EQ(closing_level(76.5f), 0.5f);
    EXPECT_FLOAT_EQ(closing_level(77.0f), 0.0f);
}

TEST(ClosingScheduleTest, CameraOneNeverReachesIntoTheRotor) {
    // The rotor at (0, 0.225, -0.05), sculpture_mesh x 0.0005; the near plane is 0.01.
    const EmbeddedMesh *rotor = find_embedded_mesh("sculpture_mesh");
    ASSERT_NE(rotor, nullptr);
    float radius = 0;
    for (int v = 0; v < rotor->vertex_count; v++) {
        const float *p = &rotor->positions[v * 3];
        radius = std::max(radius, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
    float aim[3];
    for (float a = 73.0f; a < 77.0f; a += 1.0f / 32) {
        const CameraKey eye = closing_camera_key(1, a, aim);
        const float gap = std::hypot(eye.x, eye.y - 0.225f, eye.z + 0.05f);
        EXPECT_GT(gap, radius * 0.0005f + 0.01f) << "a = " << a;
        EXPECT_LT(aim[2], eye.z);   // looking at it, along -z
    }
}

class CoreClosingTest : public GLTest {
protected:
    static inline Texture *target;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        // Everything but the screen is black, so whatever colour shows came from the target.
        Texture *black = make_solid_texture(4, 4, 0, 0, 0, 255, 1, 1, 1, 0);
        res.red6envi_texture = res.shakki_texture = black;
        const float spacing[3] = { 4, 4, 4 };
        res.grid_plane = make_grid(32, 32, spacing, 0);
        res.core_mesh = make_wrapped_sphere(16, 16, 0);   // radius 1: scaled to 0.003
        res.sculpture_mesh = make_box(RF_FLAT);
        target = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    // The target filled with one colour, as a scene drawn just before would leave it.
    static void paint_target(float r, float g, float b) {
        const float rgba[4] = { r, g, b, 1 };
        reset_render_state(rgba);
        set_ortho_view(RF_OFFSCREEN);
        copy_frame_to_texture(target);
    }
    static void centre_mean(float rgb[3]) {
        const auto pixels = read_pixels(OFFSCREEN_WIDTH / 2 - 20, OFFSCREEN_HEIGHT / 2 - 20, 40, 40);
        rgb[0] = rgb[1] = rgb[2] = 0;
        for (size_t i = 0; i < pixels.size(); i++) rgb[i % 3] += pixels[i] / float(pixels.size() / 3);
    }
};

TEST_F(CoreClosingTest, TheScreenShowsThePictureTheTargetHeldOnEntry) {
    float rgb[3];
    paint_target(1, 0, 0);
    core_closing_scene(74.5f, target);   // the side view looks straight at the screen
    centre_mean(rgb);
    EXPECT_GT(rgb[0], 150.0f);
    EXPECT_LT(rgb[1], 10.0f);
    paint_target(0, 0, 1);               // and again with another picture: no stale copy
    core_closing_scene(74.6f, target);
    centre_mean(rgb);
    EXPECT_GT(rgb[2], 150.0f);
    EXPECT_LT(rgb[0], 10.0f);
    for (float a : { 73.1f, 75.6f, 76.99f }) core_closing_scene(a, target);   // camera 1 with its zoom
    core_closing_scene(74.5f, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
