// tests/show/mirror_balls_test.cpp - which camera films when (in the scene's own time and
// through the script), where the environment cameras stand, and the order and persistence
// of the two balls' maps: ball B's map is captured first, seeing ball A in the map it
// wore before the frame, and nothing ever clears them.
#include "gl_fixture.h"
#include "show/mirror_balls.h"
#include "show/frame_plan.h"
#include "platform/gl_caps.h"
#include "platform/settings.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <cmath>
#include <cstdlib>
#include <vector>

TEST(MirrorBallCameraTest, CamerasCutFourTimesPerUnitOfSceneTime) {
    EXPECT_EQ(mirror_ball_camera(0.24f), 0);
    EXPECT_EQ(mirror_ball_camera(0.26f), 1);
    EXPECT_EQ(mirror_ball_camera(0.5f), 0);
    EXPECT_EQ(mirror_ball_camera(0.76f), 1);
    EXPECT_EQ(mirror_ball_camera(43.1f), 0);   // the values the script passes: 2 x show time
    EXPECT_EQ(mirror_ball_camera(43.3f), 1);
    int cuts = 0;
    for (int i = 1; i < 4000; i++)
        cuts += mirror_ball_camera(i / 1000.0f) != mirror_ball_camera((i - 1) / 1000.0f);
    EXPECT_EQ(cuts, 15);   // 0.25, 0.5, ..., 3.75: four per unit
}

TEST(MirrorBallCameraTest, ThroughTheScriptTheViewCutsEightTimesAPattern) {
    // Over show time 21.5 .. 22.5, away from the cube-flash beats: scene time 43 .. 45.
    int cuts = 0, last = -1;
    for (int i = 0; i <= 1024; i++) {
        FramePlan plan;
        plan_frame(21.5f + (float(i) + 0.5f) / 1024.0f, plan);
        for (int c = 0; c < plan.count; c++) {
            if (plan.calls[c].op != PLAN_SCENE || plan.calls[c].scene != SCENE_NOISE_BALL) continue;
            const int k = mirror_ball_camera(plan.calls[c].arg[0]);
            if (last >= 0 && k != last) cuts++;
            last = k;
        }
    }
    EXPECT_EQ(cuts, 8);
}

TEST(MirrorBallCameraTest, CamerasLookAtTheBallsFromOutsideThem) {
    for (int k = 0; k < 2; k++)
        for (float t = 0; t < 2; t += 0.01f) {
            float aim[3];
            const CameraKey c = mirror_ball_camera_key(k, t, aim);
            for (const float *ball : { BALL_A_CENTRE, BALL_B_CENTRE })
                EXPECT_GT(std::hypot(c.x - ball[0], c.y - ball[1], c.z - ball[2]), 1.0f) << k << " " << t;
            EXPECT_GT(c.fov, 0);
        }
}

TEST(MirrorBallCaptureTest, CapturePointsSitOnTheBallsNearSide) {
    for (int k = 0; k < 2; k++)
        for (float t = 0; t < 2; t += 0.05f) {
            float aim[3], p[3];
            const CameraKey c = mirror_ball_camera_key(k, t, aim);
            const float eye[3] = { c.x, c.y, c.z };
            for (const float *ball : { BALL_A_CENTRE, BALL_B_CENTRE }) {
                mirror_ball_capture_point(p, ball, eye, k);
                const float to_ball = std::hypot(p[0] - ball[0], p[1] - ball[1], p[2] - ball[2]);
                const float eye_ball = std::hypot(eye[0] - ball[0], eye[1] - ball[1], eye[2] - ball[2]);
                const float eye_point = std::hypot(eye[0] - p[0], eye[1] - p[1], eye[2] - p[2]);
                EXPECT_LT(eye_point, eye_ball) << "nearer the eye than the centre";
                if (k == 0) EXPECT_NEAR(to_ball, 1.0f, 1e-4f) << "on the surface, towards the eye";
                else        EXPECT_LT(to_ball, 1.0f) << "inside the ball, lower down";
            }
        }
    // Camera 1 stands the point lower: its height is 0.7 x (centre height - direction height).
    float aim[3], p[3];
    const CameraKey c = mirror_ball_camera_key(1, 0.3f, aim);
    const float eye[3] = { c.x, c.y, c.z };
    mirror_ball_capture_point(p, BALL_A_CENTRE, eye, 1);
    EXPECT_LT(p[1], 0.7f * BALL_A_CENTRE[1]);
}

// The room in flat grey, the maps starting as one colour each (A red, B blue), so the
// colours tell whose picture ended up where.
class MirrorBallSceneTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        Texture *grey = make_solid_texture(4, 4, 90, 90, 90, 255, 1, 1, 1, 0);
        res.shakki_texture = res.bubble_texture = res.metal_texture = grey;
        res.sky_sphere = make_sphere(8, 8, 0);
        const float spacing[3] = { 4, 0, 4 };
        res.grid_plane = make_grid(32, 32, spacing, 0);
        res.sphere_32 = make_wrapped_sphere(16, 16, 0);
        res.twin_part_a_mesh = res.twin_part_b_mesh = make_box(0);
        res.noise_cube_1 = make_noise_cube_texture(128);
        res.noise_cube_2 = make_noise_cube_texture(128);
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        if (!gl_caps.cube_map_supported) GTEST_SKIP() << "driver without cube maps";
        fill_map(res.noise_cube_1, 255, 0, 0);
        fill_map(res.noise_cube_2, 0, 0, 255);
    }
    static void fill_map(const Texture *map, unsigned char r, unsigned char g, unsigned char b) {
        std::vector<unsigned char> rgba(size_t(map->width) * map->height * 4);
        for (size_t i = 0; i < rgba.size(); i += 4) rgba[i] = r, rgba[i + 1] = g, rgba[i + 2] = b, rgba[i + 3] = 255;
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, map->id);
        for (int f = 0; f < 6; f++)
            glTexSubImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + f, 0, 0, 0, map->width, map->height, GL_RGBA,
                            GL_UNSIGNED_BYTE, rgba.data());
    }
    // Texels of all six faces whose channel c stands out (> 60 and twice the others).
    static int texels_of(const Texture *map, int c) {
        std::vector<unsigned char> rgba(size_t(map->width) * map->height * 4);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, map->id);
        int n = 0;
        for (int f = 0; f < 6; f++) {
            glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + f, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
            for (size_t i = 0; i < rgba.size(); i += 4) {
                const int v = rgba[i + c], o1 = rgba[i + (c + 1) % 3], o2 = rgba[i + (c + 2) % 3];
                n += v > 60 && v > 2 * o1 && v > 2 * o2;
            }
        }
        return n;
    }
};

TEST_F(MirrorBallSceneTest, BallBSeesBallAInLastFramesMapAndReflectionsFadeIntoReflections) {
    const float t = 43.1f;
    noise_ball_scene(t, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // Map B was captured first: ball A in it still wears its initial red.
    const int red_in_b = texels_of(res.noise_cube_2, 0);
    EXPECT_GT(red_in_b, 200);
    // Map A was captured second: ball B in it already wears the new map B, so no initial
    // blue is left anywhere; the red it holds is ball A seen in ball B seen from ball A.
    EXPECT_EQ(texels_of(res.noise_cube_1, 2), 0);
    EXPECT_LT(texels_of(res.noise_cube_1, 0), red_in_b / 4);

    // The maps are kept: the next frame's map B shows ball A's grey room, with only the
    // reflection of a reflection left of the red.
    noise_ball_scene(t, nullptr);
    EXPECT_LT(texels_of(res.noise_cube_2, 0), red_in_b / 4);
}

TEST_F(MirrorBallSceneTest, WithoutCubeMapsTheBallsWearSphereMapsOfTheirCaptures) {
    Texture *const cube_maps[2] = { res.noise_cube_1, res.noise_cube_2 };
    glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    gl_caps.cube_map_supported = 0;
    res.noise_cube_1 = make_noise_cube_texture(128);
    res.noise_cube_2 = make_noise_cube_texture(128);
    auto sphere_map = [](const Texture *map) {
        std::vector<unsigned char> rgba(size_t(map->width) * map->height * 4);
        glBindTexture(GL_TEXTURE_2D, map->id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    };
    const auto noise = sphere_map(res.noise_cube_2);
    noise_ball_scene(44.1f, nullptr);
    noise_ball_scene(44.1f, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // The room is flat grey and the fog black: a captured map holds only greys.
    for (const Texture *map : { res.noise_cube_1, res.noise_cube_2 }) {
        const auto rgba = sphere_map(map);
        EXPECT_NE(rgba, noise);
        int coloured = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            coloured += std::abs(rgba[i] - rgba[i + 1]) > 8 || std::abs(rgba[i + 1] - rgba[i + 2]) > 8;
        EXPECT_EQ(coloured, 0);
    }
    gl_caps.cube_map_supported = 1;
    res.noise_cube_1 = cube_maps[0];
    res.noise_cube_2 = cube_maps[1];
}
