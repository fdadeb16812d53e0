// tests/post/environment_test.cpp - the environment capture inside a box whose six walls
// have six colours (each wall two-toned, so a mirrored picture shows): what the caller's
// state looks like afterwards, where face +Z looks, what the fallback's sphere map holds,
// and what a ball wearing the captured texture reflects, with and without cube maps.
#include "post_fixture.h"
#include "post/environment.h"
#include "platform/gl_caps.h"
#include "geometry/mesh.h"
#include "geometry/procedural.h"
#include "render/render_state.h"
#include <GL/glu.h>
#include <cmath>

// World direction -> wall colour. Walls: +z red, -z blue, +x green, -x yellow, +y white,
// -y magenta. The z walls are full on their x > 0 half, the others on their z > 0 half,
// and half as bright on the other half.
static const unsigned char WALL[6][3] = {
    { 0, 255, 0 }, { 255, 255, 0 }, { 255, 255, 255 }, { 255, 0, 255 }, { 255, 0, 0 }, { 0, 0, 255 },
};
static float box_centre[3];

static void wall_colour(int wall, bool full) {
    const float k = full ? 1.0f : 0.5f;
    glColor3f(k * WALL[wall][0] / 255.0f, k * WALL[wall][1] / 255.0f, k * WALL[wall][2] / 255.0f);
}

// Two half quads of the wall whose outward axis is `axis` (0 x, 1 y, 2 z), on side `sign`.
static void draw_wall(int axis, float sign) {
    const int wall = axis * 2 + (sign < 0 ? 1 : 0);
    const int split = axis == 2 ? 0 : 2, other = 3 - axis - split;
    const float h = 5.0f;
    for (int half = 0; half < 2; half++) {
        wall_colour(wall, half == 0);
        const float lo = half == 0 ? 0.0f : -h, hi = half == 0 ? h : 0.0f;
        const float corners[4][2] = { { lo, -h }, { hi, -h }, { hi, h }, { lo, h } };
        glBegin(GL_QUADS);
        for (const auto &c : corners) {
            float p[3];
            p[axis] = sign * h;
            p[split] = c[0];
            p[other] = c[1];
            glVertex3f(box_centre[0] + p[0], box_centre[1] + p[1], box_centre[2] + p[2]);
        }
        glEnd();
    }
}

static void coloured_box_view(float, int clear) {
    if (clear) reset_render_state(BLACK_RGBA);
    glDisable(GL_CULL_FACE);
    for (int axis = 0; axis < 3; axis++) {
        draw_wall(axis, 1.0f);
        draw_wall(axis, -1.0f);
    }
}

class EnvironmentTest : public PostTest {
protected:
    void SetUp() override {
        PostTest::SetUp();
        saved_cube_maps = gl_caps.cube_map_supported;
        box_centre[0] = box_centre[1] = box_centre[2] = 0;
    }
    void TearDown() override {
        use_cube_maps(saved_cube_maps);
        reset_render_state(BLACK_RGBA);
    }
    // Mesa has cube maps; the fallback is tested by pretending it has none. The resets
    // only switch cube-map texturing off when the driver has them, so do it here.
    static void use_cube_maps(int on) {
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
        gl_caps.cube_map_supported = on;
    }
    // Captures the box round the origin for a viewer at `eye`.
    static void capture_box(Texture *env, const CameraKey &eye) {
        const float origin[3] = { 0, 0, 0 };
        capture_environment(env, 0.0f, coloured_box_view, eye, origin, 0.01f, 100.0f);
    }
    // A unit ball at the origin wearing env, seen from (0, 0, 10); returns the picture's
    // pixel at the ball's surface point (x, y, sqrt(1 - x^2 - y^2)).
    static std::vector<unsigned char> ball_pixel(const Texture *env, float x, float y) {
        static MeshObject *ball = make_wrapped_sphere(32, 32, 0);
        reset_render_state(BLACK_RGBA);
        const CameraKey eye = { 0, 0, 10, 20 };
        const float origin[3] = { 0, 0, 0 };
        set_camera(eye, origin, RF_OFFSCREEN);
        bind_texture(env, 0);
        draw_mesh(ball, 0);
        double mv[16], pr[16], sx, sy, sz;
        int vp[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        glGetDoublev(GL_PROJECTION_MATRIX, pr);
        glGetIntegerv(GL_VIEWPORT, vp);
        gluProject(x, y, std::sqrt(1.0 - x * x - y * y), mv, pr, vp, &sx, &sy, &sz);
        return read_pixels(int(sx), int(sy), 1, 1);
    }
    // Probes across the ball: straight back (both halves), the four sides (both halves of
    // the right one) and the rim, where the reflection points away from the viewer.
    static void expect_reflections(const Texture *env) {
        const struct { float x, y; int r, g, b; const char *what; } probes[] = {
            { 0.15f, 0, 255, 0, 0, "centre, right: +z wall, x > 0" },
            { -0.15f, 0, 128, 0, 0, "centre, left: +z wall, x < 0" },
            { 0.6f, 0, 0, 255, 0, "right: +x wall, z > 0" },
            { 0.85f, 0, 0, 128, 0, "far right: +x wall, z < 0" },
            { -0.6f, 0, 255, 255, 0, "left: -x wall" },
            { 0, 0.6f, 255, 255, 255, "top: +y wall" },
            { 0, -0.6f, 255, 0, 255, "bottom: -y wall" },
            { 0.97f, 0, 0, 0, 255, "right rim: -z wall, x > 0" },
        };
        for (const auto &p : probes) {
            SCOPED_TRACE(p.what);
            EXPECT_RGB_NEAR(ball_pixel(env, p.x, p.y).data(), p.r, p.g, p.b, 40);
        }
    }
    int saved_cube_maps = 0;
};

TEST_F(EnvironmentTest, CaptureLeavesTheCallersMatricesAndAttributesAlone) {
    for (int cube_maps : { 1, 0 }) {
        SCOPED_TRACE(cube_maps ? "cube map" : "fallback");
        use_cube_maps(cube_maps);
        Texture *env = make_noise_cube_texture(128);

        reset_render_state(BLACK_RGBA);
        render.view.near_plane = 0.5f;
        render.view.far_plane = 40.0f;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-3, 3, -2, 2, 1, 9);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glScalef(0.5f, 2, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        glViewport(10, 20, 300, 200);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glClearColor(0.25f, 0.5f, 0.75f, 1);
        glEnable(GL_FOG);

        GLfloat before[3][16], after[3][16], clear_before[4], clear_after[4];
        GLint viewport[4], blend_src, blend_dst;
        glGetFloatv(GL_PROJECTION_MATRIX, before[0]);
        glGetFloatv(GL_TEXTURE_MATRIX, before[1]);
        glGetFloatv(GL_MODELVIEW_MATRIX, before[2]);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_before);

        const CameraKey viewer = { 0, 0, 10, 60 };
        capture_box(env, viewer);

        glGetFloatv(GL_PROJECTION_MATRIX, after[0]);
        glGetFloatv(GL_TEXTURE_MATRIX, after[1]);
        glGetFloatv(GL_MODELVIEW_MATRIX, after[2]);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_after);
        for (int m = 0; m < 3; m++)
            for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(before[m][i], after[m][i]) << "matrix " << m;
        for (int i = 0; i < 4; i++) EXPECT_FLOAT_EQ(clear_before[i], clear_after[i]);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 10);
        EXPECT_EQ(viewport[3], 200);
        glGetIntegerv(GL_BLEND_SRC, &blend_src);
        glGetIntegerv(GL_BLEND_DST, &blend_dst);
        EXPECT_EQ(blend_src, GL_ONE);
        EXPECT_EQ(blend_dst, GL_ONE);
        GLint mode;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));
        EXPECT_FLOAT_EQ(render.view.near_plane, 0.5f);   // the views' resets are undone too
        EXPECT_FLOAT_EQ(render.view.far_plane, 40.0f);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(EnvironmentTest, CubeFacePlusZLooksFromTheCapturePointAtTheViewersEye) {
    if (!gl_caps.cube_map_supported) GTEST_SKIP() << "driver without cube maps";
    Texture *env = make_noise_cube_texture(128);
    std::vector<unsigned char> texels(128 * 128 * 4);
    auto texel = [&](int s, int t) { return &texels[(size_t(t) * 128 + s) * 4]; };
    auto read_face_plus_z = [&] {
        glEnable(GL_TEXTURE_CUBE_MAP_ARB);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, env->id);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_Z_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    };

    // Viewer on +z: the red wall, seen upright from inside, its x > 0 half on the left.
    capture_box(env, { 0, 0, 10, 60 });
    read_face_plus_z();
    EXPECT_RGB_NEAR(texel(32, 64), 255, 0, 0, 2);
    EXPECT_RGB_NEAR(texel(96, 64), 128, 0, 0, 2);
    // Viewer on +x, off the axis in z: the green wall, its z > 0 half to the right.
    capture_box(env, { 10, 0, 1, 60 });
    read_face_plus_z();
    EXPECT_RGB_NEAR(texel(64, 64), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(texel(100, 64), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(texel(10, 64), 0, 128, 0, 2);
    // Viewer below: the magenta floor fills the face.
    capture_box(env, { 0, -10, 0.01f, 60 });
    read_face_plus_z();
    EXPECT_RGB_NEAR(texel(64, 64), 255, 0, 255, 130);
    EXPECT_EQ(int(texel(64, 64)[1]), 0);
}

TEST_F(EnvironmentTest, FallbackWritesASphereMapOfTheSixFaces) {
    use_cube_maps(0);
    Texture *env = make_noise_cube_texture(128);
    ASSERT_NE(env->fallback_faces, nullptr);
    capture_box(env, { 0, 0, 10, 60 });

    ASSERT_EQ(env->width, SPHERE_MAP_SIZE);
    std::vector<unsigned char> map(SPHERE_MAP_SIZE * SPHERE_MAP_SIZE * 4);
    glBindTexture(GL_TEXTURE_2D, env->id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, map.data());
    // Where GL_SPHERE_MAP generation looks up a reflection direction (x, y, z) of the
    // viewer's eye space (x right, y up, z towards the viewer): the box seen from +z has
    // world axes for eye axes.
    auto lookup = [&](float x, float y, float z) {
        const float len = std::sqrt(x * x + y * y + z * z);
        x /= len, y /= len, z /= len;
        const float m = 2.0f * std::sqrt(x * x + y * y + (z + 1) * (z + 1));
        const int s = int((x / m + 0.5f) * SPHERE_MAP_SIZE), t = int((y / m + 0.5f) * SPHERE_MAP_SIZE);
        return &map[(size_t(t) * SPHERE_MAP_SIZE + s) * 4];
    };
    EXPECT_RGB_NEAR(lookup(0.2f, 0, 1), 255, 0, 0, 8);        // towards the viewer
    EXPECT_RGB_NEAR(lookup(-0.2f, 0.1f, 1), 128, 0, 0, 8);
    EXPECT_RGB_NEAR(lookup(1, 0.1f, 0.3f), 0, 255, 0, 8);     // the four sides
    EXPECT_RGB_NEAR(lookup(1, 0.1f, -0.3f), 0, 128, 0, 8);
    EXPECT_RGB_NEAR(lookup(-1, 0.1f, 0.3f), 255, 255, 0, 8);
    EXPECT_RGB_NEAR(lookup(0.1f, 1, 0.3f), 255, 255, 255, 8);
    EXPECT_RGB_NEAR(lookup(0.1f, -1, 0.3f), 255, 0, 255, 8);
    EXPECT_RGB_NEAR(lookup(0.3f, 0.1f, -1), 0, 0, 255, 8);    // away from the viewer
    EXPECT_RGB_NEAR(lookup(-0.3f, 0.1f, -1), 0, 0, 128, 8);
    // Outside the circle: the colour straight behind (the -z wall at its split: either half).
    const unsigned char *corner = &map[(size_t(3) * SPHERE_MAP_SIZE + 3) * 4];
    EXPECT_EQ(int(corner[0]), 0);
    EXPECT_GE(int(corner[2]), 127);
}

TEST_F(EnvironmentTest, ABallWearingTheCaptureReflectsTheBoxBothWays) {
    for (int cube_maps : { 1, 0 }) {
        SCOPED_TRACE(cube_maps ? "cube map" : "fallback");
        use_cube_maps(cube_maps);
        Texture *env = make_noise_cube_texture(128);
        capture_box(env, { 0, 0, 10, 20 });
        expect_reflections(env);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}
