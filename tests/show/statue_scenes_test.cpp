// tests/show/statue_scenes_test.cpp - which face of the full-size emblem shows, turned how
// far, on both sides of the rule change at t = 16; what each scene draws.
#include "gl_fixture.h"
#include "show/statue_scenes.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>

static void expect_pose(float t, bool part_a, float angle) {
    const EmblemPose pose = twin_parts_pose(t);
    EXPECT_EQ(pose.part_a, part_a) << "t = " << t;
    EXPECT_NEAR(pose.angle, angle, 1e-2f) << "t = " << t;
}

TEST(EmblemPoseTest, WholeTurnsOnEachFaceBeforeSixteen) {
    expect_pose(0.0f, false, 270.0f);     // b = 180: the back, turned 270 degrees
    expect_pose(0.125f, false, 360.0f);
    expect_pose(0.25f, true, 450.0f);     // b = 360: the front takes over
    expect_pose(0.5f, true, 630.0f);
    expect_pose(0.75f, false, 90.0f);     // b wraps to 0: the back again
    expect_pose(15.9f, false, 198.0f);      // b = 108
}

TEST(EmblemPoseTest, FacesSwapEveryHalfTurnFromSixteen) {
    expect_pose(16.0f, false, 90.0f);     // b = 0: the back turned 90 degrees
    expect_pose(16.125f, false, 180.0f);
    expect_pose(16.25f, true, 450.0f);    // b = 180: the front, turned the other way round
    expect_pose(16.375f, true, 540.0f);
    expect_pose(16.5f, false, 90.0f);
}

class StatueScenesTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        Texture *grey = make_solid_texture(4, 4, 128, 128, 128, 255, 1, 1, 1, 0);
        res.metal_texture = res.electric_texture = res.shakki_texture = grey;
        res.big_statue_mesh = make_wrapped_sphere(8, 8, RF_GEN_TEXCOORDS);
        res.statue_mesh = make_wrapped_sphere(16, 16, RF_GEN_TEXCOORDS);
        res.unit_cube = make_box(RF_FLAT);
        res.twin_part_a_mesh = make_box(RF_FLAT);
        res.twin_part_b_mesh = make_wrapped_sphere(8, 8, RF_FLAT);
        res.screen_texture_a = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(StatueScenesTest, EmblemDrawsTheChosenFaceOnly) {
    twin_parts_scene(0.0f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, res.twin_part_b_mesh->face_count);
    twin_parts_scene(0.25f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, res.twin_part_a_mesh->face_count);
    twin_parts_scene(16.0f, res.screen_texture_a);
    EXPECT_EQ(render.drawn.faces, res.twin_part_b_mesh->face_count);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(StatueScenesTest, StatueOrbitSeesTheBoxFromInside) {
    for (float t : { 23.0f, 46.3f, 47.9f }) {
        statue_scene(t, res.screen_texture_a);
        EXPECT_EQ(render.drawn.faces, res.big_statue_mesh->face_count + res.statue_mesh->face_count +
                                          res.unit_cube->face_count);
        // The stand-in statue is a speck; the near chessboard walls (inner faces, within the
        // fog) show round the edges wherever the orbit is, the far ones sink into black.
        const std::vector<unsigned char> rgb = read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
        int lit = 0;
        for (size_t p = 0; p < rgb.size(); p += 3) lit += rgb[p] > 0;
        EXPECT_GT(lit, OFFSCREEN_WIDTH * OFFSCREEN_HEIGHT / 10) << "t = " << t;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
