// tests/show/hoop_tunnels_test.cpp - the hoops' turns (the metal tunnel's snapping last
// unit, the light tunnel's steady spin) and both tunnels drawn over stand-in hoops.
#include "gl_fixture.h"
#include "show/hoop_tunnels.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>

static float outer_hoop_degrees(float t, bool jitter) {
    float a[HOOPS];
    hoop_angles(hoop_turn(t, jitter), a);
    return std::fmod(a[0], 360.0f);
}

TEST(HoopTurnTest, MetalHoopsSnapBackAndForthOnlyInTheirLastUnit) {
    EXPECT_NEAR(outer_hoop_degrees(83.1f, true), 74.2f, 0.01f);
    EXPECT_NEAR(outer_hoop_degrees(83.2f, true), 222.6f, 0.01f);
    EXPECT_NEAR(outer_hoop_degrees(84.0f, true), std::fmod(371.0f * 84.0f, 360.0f), 0.01f);   // plain again
    EXPECT_FLOAT_EQ(hoop_turn(82.99f, true), 82.99f);
    // Within the unit the turn never leaves a quarter's fold: the hoops snap, they do not spin.
    for (float t = 83.0f; t < 84.0f; t += 1.0f / 256.0f) {
        const float r = hoop_turn(t, true);
        EXPECT_GE(r, 0.0f) << t;
        EXPECT_LE(r, 0.75f) << t;
    }
}

TEST(HoopTurnTest, LightHoopsNeverJitter) {
    for (float t : { 83.1f, 83.5f, 120.0f }) EXPECT_FLOAT_EQ(hoop_turn(t, false), t);
}

class HoopTunnelDrawTest : public GLTest {
protected:
    static inline std::vector<float> torus;
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        // A flattened ring of radius 90 stands in for the torus.
        ShapeArrays s = wrapped_sphere_arrays(24, 8);
        torus.assign(s.positions, s.positions + s.vertex_count * 3);
        for (int i = 0; i < s.vertex_count; i++) {
            torus[i * 3] *= 90;
            torus[i * 3 + 1] *= 90;
            torus[i * 3 + 2] *= 8;
        }
        res.tube_mesh = build_mesh(s.faces, torus.data(), nullptr, nullptr, nullptr, s.vertex_count,
                                   s.face_count, RF_FLAT);
        delete[] s.positions;   // copied above; the mesh keeps only the faces
        delete[] s.texcoords;
        res.metal_texture = res.bubble_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.shakki_texture = res.valo_texture = make_solid_texture(4, 4, 90, 80, 40, 255, 1, 1, 1, 0);
        res.screen_texture_b = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(HoopTunnelDrawTest, BothTunnelsDrawThreeHoopsInsideALitTube) {
    for (void (*scene)(float, Texture *) : { tube_metal_scene, tube_light_scene }) {
        for (float t : { 83.1f, 100.03f }) {
            scene(t, res.screen_texture_b);
            EXPECT_EQ(render.drawn.faces, HOOPS * res.tube_mesh->face_count) << t;
            // The tube fills the corners of the view; the hoops cover part of its middle.
            const std::vector<unsigned char> corner = read_pixels(2, 2, 1, 1);
            EXPECT_GT(corner[0], 20) << t;
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << t;
        }
    }
}
