// tests/geometry/mesh_deformed_test.cpp - per-frame normals of the deformed and raw-array
// draws, their flat mode and the draw counters.
#include "gl_fixture.h"
#include "geometry/mesh_deformed.h"
#include "geometry/procedural.h"
#include "render/math.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <functional>
#include <vector>

// Face 0 in z = 0, face 1 leaning 45 degrees towards +x (as in mesh_test.cpp).
static const float FOLD_POSITIONS[] = { 0, -1, 0, 1, 0, 0, 0, 1, 0, -1, 0, 1 };
static const int FOLD_FACES[] = { 0, 1, 2, 0, 2, 3 };

static float *keep_vertex(float *out, float, const float *p, const float *, float, float) {
    return vec3_set(out, p[0], p[1], p[2]);
}
// Presses every vertex into z = 0: face 1 then faces +z like face 0.
static float *flatten_vertex(float *out, float, const float *p, const float *, float, float) {
    return vec3_set(out, p[0], p[1], 0);
}
static float *collapse_vertex(float *out, float, const float *, const float *, float, float) {
    return vec3_set(out, 0, 0, 0);
}

class DeformedDrawTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        reset_render_state(BLACK_RGBA);
        set_ortho_view(0);
        glTranslatef(0, 0, 0.5f);
        glScalef(0.4f, 0.4f, 0.4f);
    }

    // Runs draw in feedback mode, lit from +z; returns (r, g, b, s, t) per vertex.
    static std::vector<float> feedback(const std::function<void()> &draw) {
        std::vector<float> buffer(8192);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        draw();
        glDisable(GL_LIGHTING);
        const int n = glRenderMode(GL_RENDER);
        std::vector<float> out;
        for (int i = 0; i < n;) {
            EXPECT_EQ(buffer[i], float(GL_POLYGON_TOKEN));
            const int count = int(buffer[i + 1]);
            i += 2;
            for (int v = 0; v < count; v++, i += 11)
                out.insert(out.end(), { buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 7], buffer[i + 8] });
        }
        return out;
    }
};

TEST_F(DeformedDrawTest, IdentityDeformerDrawsWhatTheDisplayListDraws) {
    for (RenderFlags flags : { RenderFlags(0), RF_FLAT }) {
        MeshObject *m = make_wrapped_sphere(8, 8, flags);
        const auto listed = feedback([&] { draw_mesh(m, flags); });
        const auto deformed = feedback([&] { draw_mesh_deformed(m, 0, keep_vertex, 0, 0, flags); });
        ASSERT_EQ(listed.size(), deformed.size());
        ASSERT_GT(listed.size(), 40u * 3 * 5);   // the lit half at least
        for (size_t i = 0; i < listed.size(); i++) EXPECT_NEAR(listed[i], deformed[i], 1e-5f) << "flags " << flags;
    }
}

TEST_F(DeformedDrawTest, FlatModeKeepsTheFacetNormalsOfTheStoredShape) {
    MeshObject *m = build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, nullptr, 4, 2, RF_FLAT);
    const auto flat = feedback([&] { draw_mesh_deformed(m, 0, flatten_vertex, 0, 0, RF_FLAT | RF_NO_CULL); });
    ASSERT_EQ(flat.size(), 6u * 5);
    for (int v = 0; v < 3; v++) EXPECT_NEAR(flat[v * 5], 0.8f, 0.01f);
    for (int v = 3; v < 6; v++) EXPECT_NEAR(flat[v * 5], 0.8f * 0.7071f, 0.01f);   // still leaning

    // Smooth mode recomputes from the pressed shape: everything faces the light.
    const auto smooth = feedback([&] { draw_mesh_deformed(m, 0, flatten_vertex, 0, 0, RF_NO_CULL); });
    ASSERT_EQ(smooth.size(), 6u * 5);
    for (int v = 0; v < 6; v++) EXPECT_NEAR(smooth[v * 5], 0.8f, 0.01f);
    EXPECT_FLOAT_EQ(m->positions[3 * 3 + 2], 1.0f);   // stored table untouched
    EXPECT_FLOAT_EQ(m->work_positions[3 * 3 + 2], 0.0f);
}

TEST_F(DeformedDrawTest, EveryCallCountsTheWholeMeshWhateverTheShape) {
    MeshObject *m = build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, nullptr, 4, 2, 0);
    draw_mesh_deformed(m, 0, collapse_vertex, 0, 0, 0);   // every face now has zero area
    draw_mesh_deformed(m, 0, keep_vertex, 0, 0, RF_FLAT);
    draw_triangle_arrays(FOLD_POSITIONS, nullptr, nullptr, FOLD_FACES, 4, 2, RF_BLEND_ADD);
    EXPECT_EQ(render.drawn.faces, 6);
    EXPECT_EQ(render.drawn.vertices, 12);
    for (int i = 0; i < 12; i++) EXPECT_FALSE(std::isnan(m->work_normals[i]));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));   // popped
}
