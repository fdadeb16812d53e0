// tests/show/core_tunnel_test.cpp - the core tunnel's cycle: what each phase puts on screen,
// the tube standing still in the second half, the screen's slide, a camera and flock that
// move without jumps inside a cycle, and (over stand-in meshes) the screen really showing
// the target's previous picture and one swimmer per completed cycle.
#include "gl_fixture.h"
#include "show/core_tunnel.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>

TEST(CoreCycleTest, CycleStartShowsOnlyTheCoreAndTheStreamingTube) {
    const CoreCycle c = core_cycle(8.0f);
    EXPECT_EQ(c.q, 0.0f);
    EXPECT_EQ(c.cycles, 2);
    EXPECT_FALSE(c.second_half);
    EXPECT_FALSE(c.screen);
    EXPECT_EQ(c.tube_position, 0.0f);
    EXPECT_EQ(c.eye_height, 0.0f);
    EXPECT_EQ(c.target[1], 0.0f);
    EXPECT_EQ(c.target[2], 0.0f);
    // q = 4 exactly still belongs to the first half; just after it the swimmers of the two
    // completed cycles come in.
    EXPECT_FALSE(core_cycle(10.0f).second_half);
    const CoreCycle after = core_cycle(10.01f);
    EXPECT_TRUE(after.second_half);
    EXPECT_EQ(after.cycles, 2);
    EXPECT_EQ(core_cycle(3.99f).cycles, 0);
    EXPECT_EQ(core_cycle(4.01f).cycles, 1);
}

TEST(CoreCycleTest, ScreenAppearsSixteenAwayJustAboveThreeAndArrivesAtFour) {
    EXPECT_FALSE(core_cycle(1.5f).screen);   // q = 3 exactly
    const CoreCycle c = core_cycle(1.5001f);
    EXPECT_TRUE(c.screen);
    EXPECT_NEAR(c.screen_distance, SCREEN_SLIDE, 0.01f);
    EXPECT_NEAR(core_cycle(1.75f).screen_distance, 8.0f, 1e-4f);
    for (float t : { 2.0f, 2.5f, 3.0f, 3.99f, 10.5f }) {   // in place through the second half
        EXPECT_TRUE(core_cycle(t).screen) << t;
        EXPECT_EQ(core_cycle(t).screen_distance, 0.0f) << t;
    }
}

TEST(CoreCycleTest, TubeStreamsThenStandsAt128) {
    EXPECT_NEAR(core_cycle(0.5f).tube_position, 32.0f, 1e-4f);
    EXPECT_NEAR(core_cycle(13.0f).tube_position, 64.0f, 1e-3f);   // q = 2 in the fourth cycle
    for (float t = 2.0f; t < 4.0f; t += 0.0625f) EXPECT_EQ(core_cycle(t).tube_position, 128.0f) << t;
    for (float t = 34.0f; t < 36.0f; t += 0.0625f) EXPECT_EQ(core_cycle(t).tube_position, 128.0f) << t;
}

TEST(CoreCycleTest, CameraAndFlockMoveWithoutJumpsWithinACycle) {
    // Steps of 1/512 in t are 1/64 in q: nothing may move further than its steepest rate allows.
    const float step = 1.0f / 512.0f;
    CoreCycle last = core_cycle(32.0f + step);
    for (float t = 32.0f + 2 * step; t < 35.99f; t += step) {
        const CoreCycle c = core_cycle(t);
        EXPECT_NEAR(c.eye_height, last.eye_height, 0.004f) << t;
        EXPECT_NEAR(c.eye_back, last.eye_back, 0.02f) << t;
        for (int k = 0; k < 3; k++) EXPECT_NEAR(c.target[k], last.target[k], 0.02f) << t;
        if (c.second_half && last.second_half) {
            for (int k = 0; k < 3; k++) EXPECT_NEAR(c.flock_offset[k], last.flock_offset[k], 0.02f) << t;
            EXPECT_NEAR(c.flock_size, last.flock_size, 0.02f) << t;
        }
        last = c;
    }
    // q = 6 exactly: the flock rests where it was, it does not leap ahead.
    const CoreCycle six = core_cycle(3.0f);
    EXPECT_EQ(six.flock_offset[2], 0.5f);
    EXPECT_EQ(six.flock_size, 1.5f);
    // The camera has risen and backed off by the end of the cycle.
    const CoreCycle end = core_cycle(3.99f);
    EXPECT_EQ(end.eye_height, 0.375f);
    EXPECT_NEAR(end.target[2], 0.5f + 1.98f / 8.0f, 1e-3f);
}

class CoreTunnelDrawTest : public GLTest {
protected:
    static inline std::vector<float> core;
    static inline ShapeArrays shape;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        shape = sphere_arrays(16, 16);   // radius 50 in mesh units, like the real core
        core.assign(shape.positions, shape.positions + shape.vertex_count * 3);
        for (float &x : core) x *= 50;
        res.core_mesh = build_mesh(shape.faces, core.data(), nullptr, nullptr, nullptr, shape.vertex_count,
                                   shape.face_count, 0);
        res.flock_mesh = make_wrapped_sphere(8, 8, 0);
        res.pod_mesh = make_wrapped_sphere(16, 8, 0);
        const float cells[3] = { 4, 4, 4 };
        res.grid_plane = make_grid(32, 32, cells, 0);
        res.red6envi_texture = make_solid_texture(4, 4, 200, 40, 20, 255, 1, 1, 1, 0);
        res.shakki_texture = make_solid_texture(4, 4, 60, 60, 60, 255, 1, 1, 1, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(CoreTunnelDrawTest, ScreenShowsTheTargetsPreviousPictureOnlyAboveThree) {
    for (float t : { 1.0f, 1.5f }) {   // q = 2 (facing +z) and 3: no screen, the old picture does not matter
        fill_target(res.screen_texture_a, BLACK_RGBA);
        core_flock_scene(t, res.screen_texture_a);
        const long after_black = offscreen_sum();
        fill_target(res.screen_texture_a, WHITE_RGBA);
        core_flock_scene(t, res.screen_texture_a);
        EXPECT_EQ(offscreen_sum(), after_black) << t;
    }
    // Sliding in, in place, and in the second half, each while the orbit faces +z.
    for (float t : { 1.9f, 2.0f, 11.0f }) {
        fill_target(res.screen_texture_a, BLACK_RGBA);
        core_flock_scene(t, res.screen_texture_a);
        const long after_black = offscreen_sum();
        fill_target(res.screen_texture_a, WHITE_RGBA);
        core_flock_scene(t, res.screen_texture_a);
        EXPECT_GT(offscreen_sum(), after_black + 384L * 288 * 3 / 8) << t;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CoreTunnelDrawTest, SecondHalfAddsTheSecondCoreTheFlockAndOneSwimmerPerCycle) {
    const int core_faces = res.core_mesh->face_count, screen = res.grid_plane->face_count;
    core_flock_scene(8.0f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, core_faces);
    for (int n = 0; n < 4; n++) {
        core_flock_scene(4.0f * n + 2.5f, res.screen_texture_a);   // q = 5
        EXPECT_EQ(render.drawn.faces, 2 * core_faces + res.flock_mesh->face_count +
                                          n * res.pod_mesh->face_count + screen) << n;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
