// tests/show/particle_swarm_test.cpp - the swarm's timing rules (which camera films when,
// the staggered formation ease, the flare table with its dark stretch from 19.05 to 21,
// the stage fade and the zoom flashes) and what the scene draws in each stretch.
#include "gl_fixture.h"
#include "show/particle_swarm.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>

static bool sprites_drawn(float m) {
    const SwarmSprites s = swarm_sprite_look(m);
    return s.size > 0 && s.brightness > 0;
}

TEST(SwarmCameraTest, SetUpsTakeTurnsByTime) {
    const struct { float m; int camera; } cuts[] = {
        { 14.0f, 2 }, { 14.49f, 2 }, { 14.5f, 4 }, { 15.49f, 4 }, { 15.5f, 5 }, { 15.99f, 5 },
        { 16.0f, 4 }, { 16.99f, 4 },
        { 17.0f, 0 }, { 17.49f, 0 }, { 17.5f, 1 }, { 17.99f, 1 }, { 18.0f, 0 }, { 18.49f, 0 },
        { 18.5f, 1 }, { 20.99f, 1 }, { 21.0f, 3 }, { 22.99f, 3 }, { 24.99f, 3 },
        { 25.0f, 1 }, { 25.25f, 2 }, { 25.5f, 0 },   // past the show's use: trunc(4m) mod 3
    };
    for (const auto &c : cuts) EXPECT_EQ(swarm_camera(c.m), c.camera) << "m = " << c.m;
}

TEST(SwarmCameraTest, OpeningCameraDropsFrom490To90) {
    float aim[3];
    EXPECT_NEAR(swarm_camera_key(2, 14.0f, aim).y, 490.0f, 1e-3f);
    EXPECT_NEAR(swarm_camera_key(2, 14.25f, aim).y, 90.0f + 400.0f / 16.0f, 1e-3f);
    EXPECT_NEAR(swarm_camera_key(2, 14.5f, aim).y, 90.0f, 1e-3f);
    EXPECT_FLOAT_EQ(aim[1], 50.0f);
}

TEST(SwarmCameraTest, EveryShotStaysAboveTheFloorInsideTheDome) {
    for (float m = 14.0f; m < 23.0f; m += 1.0f / 64) {
        float aim[3];
        const CameraKey k = swarm_camera_key(swarm_camera(m), m, aim);
        EXPECT_GT(k.y, 1.0f) << "m = " << m;
        EXPECT_LT(std::hypot(k.x, k.z), 1000.0f) << "m = " << m;
        EXPECT_GT(std::hypot(k.x - aim[0], k.y - aim[1], k.z - aim[2]), 1.0f) << "m = " << m;
    }
}

TEST(SwarmFormationTest, ParticleILeavesIThousandthsOfAPatternLate) {
    for (int i : { 0, 1, 500, 999 }) {
        const float leave = 17.0f + float(i) / SWARM_PARTICLES;
        EXPECT_EQ(swarm_formation_ease(leave - 0.002f, 17.0f, i), 0.0f) << "i = " << i;
        EXPECT_GT(swarm_formation_ease(leave + 0.01f, 17.0f, i), 0.0f) << "i = " << i;
        EXPECT_NEAR(swarm_formation_ease(leave + 0.5f, 17.0f, i), 0.5f, 1e-3f) << "i = " << i;
        EXPECT_EQ(swarm_formation_ease(leave + 1.0f, 17.0f, i), 1.0f) << "i = " << i;
    }
    // The last particle is still waiting when the first has arrived.
    EXPECT_EQ(swarm_formation_ease(18.0f, 17.0f, 0), 1.0f);
    EXPECT_LT(swarm_formation_ease(18.0f, 17.0f, 999), 1e-3f);
}

TEST(SwarmFormationTest, ArrivalHoldsTheFlockShapeThenSnapsUnderTheFloor) {
    const float flock[3] = { 80.0f, 10.0f, -1450.0f };
    float p[3];
    for (int i : { 0, 700 }) {
        const float leave = 16.0f + float(i) / SWARM_PARTICLES;
        // Halfway through its ease the 32nd power keeps it on the flock, within the wobble.
        swarm_arrival_point(p, leave + 0.5f, i, flock);
        EXPECT_NEAR(p[0], flock[0], 10.01f);
        EXPECT_NEAR(p[1], flock[1], 10.01f);
        EXPECT_NEAR(p[2], flock[2], 10.01f);
        // A pattern later it is at the gathering point (0, 100 (m - 17) - 200, 0).
        const float m = leave + 1.0f;
        swarm_arrival_point(p, m, i, flock);
        EXPECT_NEAR(p[0], 0.0f, 10.01f);
        EXPECT_NEAR(p[1], 100.0f * (m - 17.0f) - 200.0f, 10.01f);
        EXPECT_NEAR(p[2], 0.0f, 10.01f);
    }
}

TEST(SwarmSpriteTest, SizeAndBrightnessByTime) {
    struct { float m, size, brightness; } rows[] = {
        { 16.5f, 500, -0.125f },   // negative: nothing drawn
        { 17.5f, 500, 0.125f },
        { 18.25f, 500, 1 },
        { 18.75f, 500 + 500 * std::pow(0.5f, 30.0f), 1 },
        { 19.0f, 1000, 1 },
        { 19.025f, 500, 1 },
        { 21.5f, 500, 0.125f },
        { 22.5f, 500, 1 },         // clamped
    };
    for (const auto &r : rows) {
        const SwarmSprites s = swarm_sprite_look(r.m);
        EXPECT_NEAR(s.size, r.size, 0.05f) << "m = " << r.m;
        EXPECT_NEAR(s.brightness, r.brightness, 1e-4f) << "m = " << r.m;
    }
    // The burst before the core: 500 doubling towards 1000 just before 19, no jump at 19.
    EXPECT_NEAR(swarm_sprite_look(18.99999f).size, 1000.0f, 1.0f);
}

TEST(SwarmSpriteTest, NothingDrawnFromTheShrinkToTheGrid) {
    EXPECT_FALSE(sprites_drawn(16.9f));
    EXPECT_TRUE(sprites_drawn(17.01f));
    EXPECT_TRUE(sprites_drawn(19.04f));
    // NOTE: 19.05 as a float lies just below 19.05, so the size there is a speck (+0.015).
    EXPECT_NEAR(swarm_sprite_look(19.05f).size, 0.015f, 0.005f);
    for (float m = 19.0501f; m < 21.0f; m += 1.0f / 256)
        EXPECT_FALSE(sprites_drawn(m)) << "m = " << m;
    EXPECT_FALSE(sprites_drawn(20.9999f));
    EXPECT_FALSE(sprites_drawn(21.0f));   // brightness 0 exactly
    EXPECT_TRUE(sprites_drawn(21.01f));
}

TEST(SwarmTimingTest, StageFadesOverTheLastPatternAndFlashesPeakAtNineteenAndTwentyThree) {
    EXPECT_FLOAT_EQ(swarm_stage_level(22.0f), 1.0f);
    EXPECT_FLOAT_EQ(swarm_stage_level(22.5f), 0.5f);
    EXPECT_NEAR(swarm_stage_level(22.999f), 0.001f, 1e-4f);
    for (float m : { 18.5f, 19.5f, 21.0f, 22.5f }) EXPECT_EQ(swarm_zoom_flash(m), 0.0f) << "m = " << m;
    EXPECT_FLOAT_EQ(swarm_zoom_flash(19.0f), 1.0f);
    EXPECT_FLOAT_EQ(swarm_zoom_flash(23.0f), 1.0f);
}

class ParticleSwarmTest : public GLTest {
protected:
    static inline int stage_faces;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        Texture *white = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.shakki_texture = res.bubble_texture = res.metal_texture = res.red6envi_texture = white;
        res.electric_texture = res.flare1_texture = res.flare3_texture = white;
        res.flarer_texture = res.flarey_texture = res.flareg_texture = res.flareb_texture = white;
        const float spacing[3] = { 4, 0, 4 };
        res.grid_plane = make_grid(32, 32, spacing, 0);
        res.sky_sphere = make_sphere(32, 32, 0);
        res.pedestal_mesh = make_box(RF_FLAT);
        res.flock_mesh = make_wrapped_sphere(8, 8, RF_GEN_TEXCOORDS);
        res.core_mesh = make_wrapped_sphere(16, 16, 0);
        res.screen_texture_a = make_screen_texture();
        stage_faces = res.grid_plane->face_count + res.sky_sphere->face_count + res.pedestal_mesh->face_count;
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(ParticleSwarmTest, EachStretchDrawsItsOwnObjects) {
    const int flares = 2 * SWARM_PARTICLES;   // two triangles per sprite
    particle_swarm_scene(14.2f, res.screen_texture_a);   // flocks flying in
    EXPECT_EQ(render.drawn.faces, stage_faces + 4 * res.flock_mesh->face_count);
    particle_swarm_scene(16.5f, res.screen_texture_a);   // flocks and the gathering cloud
    EXPECT_EQ(render.drawn.faces, stage_faces + 4 * res.flock_mesh->face_count + 4 * flares);
    particle_swarm_scene(17.5f, res.screen_texture_a);   // swarm and arrival
    EXPECT_EQ(render.drawn.faces, stage_faces + flares + 4 * flares);
    particle_swarm_scene(20.0f, res.screen_texture_a);   // the core alone
    EXPECT_EQ(render.drawn.faces, stage_faces + res.core_mesh->face_count);
    particle_swarm_scene(21.5f, res.screen_texture_a);   // core and grid
    EXPECT_EQ(render.drawn.faces, stage_faces + res.core_mesh->face_count + flares);
    for (float m : { 18.9f, 19.2f, 22.8f }) particle_swarm_scene(m, res.screen_texture_a);   // zoom flashes
    particle_swarm_scene(19.2f, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
