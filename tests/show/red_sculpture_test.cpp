// tests/show/red_sculpture_test.cpp - the swinging camera's nearest point, and the colossus
// drawn through the scene's three patterns with spark directions of its own, made once.
#include "gl_fixture.h"
#include "show/red_sculpture.h"
#include "show/flare_sculpture.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/math.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <vector>

static float eye_distance(float t) {
    const CameraKey e = red_sculpture_eye(t);
    return std::sqrt(e.x * e.x + e.y * e.y + e.z * e.z);
}

TEST(RedSculptureEyeTest, NearestTheOriginAtTwo) {
    const CameraKey e = red_sculpture_eye(2.0f);
    EXPECT_NEAR(e.x, 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(e.y, -15.0f);
    EXPECT_FLOAT_EQ(e.z, 50.0f);
    EXPECT_FLOAT_EQ(e.fov, 70.0f);
    EXPECT_NEAR(eye_distance(2.0f), 52.2f, 0.01f);
    for (float t = 0.0f; t <= 3.0f; t += 1.0f / 64) {
        if (std::fabs(t - 2.0f) > 1e-4f) {
            EXPECT_GT(eye_distance(t), eye_distance(2.0f)) << "t = " << t;
        }
    }
    // The arc swings from one side to the other: left before t = 2, right after.
    EXPECT_LT(red_sculpture_eye(1.0f).x, -300.0f);
    EXPECT_GT(red_sculpture_eye(3.0f).x, 300.0f);
}

// Stand-ins: the machine is a ball of radius 100 (the colossus shell, x 36.75 here, holds
// the camera), the emitter two small balls.
class RedSculptureTest : public GLTest {
protected:
    static inline std::vector<float> ball;
    static inline ShapeArrays shape;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        shape = wrapped_sphere_arrays(16, 16);
        ball.assign(shape.positions, shape.positions + shape.vertex_count * 3);
        for (float &v : ball) v *= 100;
        MeshObject *machine = build_mesh(shape.faces, ball.data(), nullptr, nullptr, nullptr, shape.vertex_count,
                                         shape.face_count, RF_FLAT);
        res.sculpture_mesh = res.sculpture_part_a_mesh = res.sculpture_part_b_mesh = machine;
        res.glow_object_mesh = make_wrapped_sphere(8, 8, 0);
        res.glow_shell_mesh = make_wrapped_sphere(8, 8, RF_FLAT);
        res.metal_texture = make_solid_texture(4, 4, 200, 200, 200, 255, 1, 1, 1, 0);
        res.red6envi_texture = make_solid_texture(4, 4, 255, 0, 0, 255, 1, 1, 1, 0);
        res.flarey_texture = make_solid_texture(4, 4, 255, 255, 0, 255, 1, 1, 1, 0);
        res.flarer_texture = make_solid_texture(4, 4, 255, 0, 0, 255, 1, 1, 1, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    static double offscreen_mean() { return double(offscreen_sum()) / (OFFSCREEN_WIDTH * OFFSCREEN_HEIGHT * 3); }
};

TEST_F(RedSculptureTest, ColossusDrawsThroughTheSceneWithItsOwnSparksMadeOnce) {
    random_seed(5);
    for (float t : { 0.03f, 1.0f, 2.03f, 2.97f }) {
        red_sculpture_scene(t, res.screen_texture_a);
        EXPECT_GT(offscreen_mean(), 20.0) << "t = " << t;   // inside the chrome shell
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "t = " << t;
    }
    const int next = random_int();
    random_seed(5);
    for (int i = 0; i < 3 * SCULPTURE_SPARKS; i++) random_int();
    EXPECT_EQ(next, random_int());
}
