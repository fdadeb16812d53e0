// tests/show/cave_flights_test.cpp - the cave's fog schedule, and both
// flights drawn inside a stand-in wall (an inward-seen ball round the whole path): what is
// drawn when, the reflection of the previous frame, and spark tables made only once.
#include "gl_fixture.h"
#include "show/cave_flights.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/math.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <array>

static void expect_fog(float t, float r, float g, float b, float end, float tolerance) {
    float rgba[4];
    const float e = water_flock_fog(t, rgba);
    EXPECT_NEAR(rgba[0], r, tolerance) << "t = " << t;
    EXPECT_NEAR(rgba[1], g, tolerance) << "t = " << t;
    EXPECT_NEAR(rgba[2], b, tolerance) << "t = " << t;
    EXPECT_EQ(rgba[3], 1.0f);
    EXPECT_NEAR(e, end, 0.1f) << "t = " << t;
}

TEST(CaveFogTest, BlackThenWhiteFlashThenBlueHaze) {
    expect_fog(0.0f, 0, 0, 0, 100, 1e-6f);
    expect_fog(1.7f, 0, 0, 0, 100, 1e-6f);
    expect_fog(1.75f, 0.05f, 0.05f, 0.15f, 100, 1e-6f);   // the boundaries belong to the haze
    expect_fog(1.99f, 0.613f, 0.721f, 0.849f, 63.9f, 1e-3f);
    expect_fog(1.998f, 0.908f, 0.938f, 0.968f, 53.1f, 1e-3f);   // nearly white, closest
    expect_fog(2.0f, 0.05f, 0.05f, 0.15f, 100, 1e-6f);
    expect_fog(2.05f, 0.9f * 0.0625f * 0.0625f * 0.0625f + 0.1f, 0.9f * 0.0625f * 0.0625f + 0.1f,
               0.7f * 0.0625f + 0.3f, 93.75f, 1e-4f);
    expect_fog(2.1f, 0.05f, 0.05f, 0.15f, 100, 1e-6f);
    expect_fog(7.0f, 0.05f, 0.05f, 0.15f, 100, 1e-6f);
}

class CaveFlightTest : public GLTest {
protected:
    static inline std::vector<float> ball;   // unit sphere scaled to 110: the stand-in wall
    static inline ShapeArrays shape;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        shape = sphere_arrays(32, 32);
        ball.assign(shape.positions, shape.positions + shape.vertex_count * 3);
        for (float &x : ball) x *= 110;
        MeshObject *wall = build_mesh(shape.faces, ball.data(), nullptr, nullptr, nullptr, shape.vertex_count,
                                      shape.face_count, RF_GEN_TEXCOORDS);
        MeshObject *small = make_wrapped_sphere(8, 8, RF_GEN_TEXCOORDS);
        res.water_surface_mesh = res.statue_mesh = res.big_statue_mesh = wall;
        res.flock_mesh = small;
        res.twin_part_a_mesh = make_box(RF_FLAT);
        res.twin_part_b_mesh = make_wrapped_sphere(8, 8, RF_FLAT);
        res.irid_texture = make_solid_texture(4, 4, 200, 180, 255, 255, 1, 1, 1, 0);
        res.vesi4_texture = make_solid_texture(4, 4, 40, 60, 90, 255, 1, 1, 1, 0);
        res.metal_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.flare4_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.flare3_texture = make_solid_texture(4, 4, 255, 128, 0, 255, 1, 1, 1, 0);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(CaveFlightTest, WaterPassFromTwoAndTheEmblemLastFromTwoOn) {
    water_flock_scene(1.9f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, res.water_surface_mesh->face_count + res.flock_mesh->face_count);
    water_flock_scene(2.0f, res.screen_texture_a);   // the emblem's reset leaves only its own count
    EXPECT_EQ(render.drawn.faces, res.twin_part_a_mesh->face_count);
    water_flock_scene(2.3f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, res.twin_part_b_mesh->face_count);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CaveFlightTest, WallsReflectTheTargetsPreviousPicture) {
    fill_target(res.screen_texture_a, BLACK_RGBA);
    water_flock_scene(1.0f, res.screen_texture_a);
    const long after_black = offscreen_sum();
    fill_target(res.screen_texture_a, WHITE_RGBA);
    water_flock_scene(1.0f, res.screen_texture_a);
    const long after_white = offscreen_sum();
    EXPECT_GT(after_white, after_black + 384L * 288 * 10);
}

TEST_F(CaveFlightTest, CavernSparksDrawFromTheRandomSequenceOnlyOnce) {
    random_seed(7);
    water_statue_scene(0.3f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, 2 * res.statue_mesh->face_count + 2 * CAVERN_SPARKS);
    water_statue_scene(0.4f, res.screen_texture_a);
    const int next = random_int();
    random_seed(7);
    for (int i = 0; i < 3 * CAVERN_SPARKS; i++) random_int();
    EXPECT_EQ(next, random_int());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The fog each flight fills its space with. The stand-in wall lies beyond both fog ends, so
// it shows as pure fog colour: the cave's blue haze, the cavern's deeper blue (before t = 2,
// ahead of the emblem's own drawing, the cave's fog is read back from GL as well). Last in
// this file: the cavern's first call makes its spark table, which the test above watches.
TEST_F(CaveFlightTest, EachFlightFillsItsSpaceWithItsOwnFog) {
    water_flock_scene(1.99f, res.screen_texture_a);
    float rgba[4], end = 0;
    glGetFloatv(GL_FOG_COLOR, rgba);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_NEAR(rgba[0], 0.613f, 1e-3f);
    EXPECT_NEAR(rgba[2], 0.849f, 1e-3f);
    EXPECT_NEAR(end, 63.9f, 0.1f);

    const auto mean_rgb = [] {
        std::array<double, 3> m{};
        const auto px = read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
        for (size_t i = 0; i < px.size(); i++) m[i % 3] += px[i];
        for (double &c : m) c /= double(px.size() / 3);
        return m;
    };
    water_flock_scene(5.0f, res.screen_texture_a);
    const auto cave = mean_rgb();
    water_statue_scene(3.0f, res.screen_texture_a);
    const auto cavern = mean_rgb();
    // Measured: cave (80, 76, 119), cavern (78, 78, 168); a red-violet cavern haze gives (134, 78, 168).
    EXPECT_GT(cave[2] - cave[0], 25);
    EXPECT_NEAR(cave[0], cave[1], 10);
    EXPECT_GT(cavern[2] - cavern[0], 60);
    EXPECT_NEAR(cavern[0], cavern[1], 10);
}
