// tests/show/orbit_ring_test.cpp - the orbit ring stays a small cluster in the middle of the
// picture wherever the camera is on its circle, including t = 0 where the pieces' common
// tumbling axis is the zero vector.
#include "gl_fixture.h"
#include "show/orbit_ring.h"
#include "platform/settings.h"
#include "data/embedded_meshes.h"
#include "geometry/mesh.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include <GL/gl.h>

class OrbitRingTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        res.electric_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.bubble_texture = res.metal_texture = make_solid_texture(4, 4, 0, 0, 0, 255, 1, 1, 1, 0);
        const EmbeddedMesh *piece = find_embedded_mesh("bubble_frame_mesh");   // the show's own piece
        ASSERT_NE(piece, nullptr);
        res.bubble_frame_mesh = build_mesh(piece->faces, piece->positions, piece->texcoords, nullptr,
                                           piece->colours, piece->vertex_count, piece->face_count, 0);
        res.sky_sphere = make_sphere(8, 8, 0);
        res.twin_part_a_mesh = res.twin_part_b_mesh = make_box(0);
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(OrbitRingTest, RingSitsInTheMiddleOfThePictureAllRoundTheOrbit) {
    for (float t : { 0.0f, 0.3f, 0.77f, 1.5f, 27.4f }) {
        SCOPED_TRACE(t);
        bubble_scene(t, nullptr);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        const auto rgb = read_pixels(0, 0, 640, 480);
        long middle = 0, outside = 0;
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++) {
                if (x >= 480 && y < 120) continue;   // the corner emblem
                const bool lit = rgb[(size_t(y) * 640 + x) * 3] > 30;
                const bool centre = x > 200 && x < 440 && y > 120 && y < 360;
                (centre ? middle : outside) += lit;
            }
        EXPECT_GT(middle, 500) << "the pieces show";
        EXPECT_EQ(outside, 0) << "and stay in the middle";
    }
}
