// tests/geometry/mesh_test.cpp - normals, generated coordinates and colours, the seam
// correction, the display lists (read back through GL feedback) and the draw counters.
#include "gl_fixture.h"
#include "geometry/mesh.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <memory>
#include <vector>

// Two faces folded along the y axis: face 0 lies in z = 0, face 1 leans 45 degrees towards
// +x. Face 2 is a zero-area sliver, as the embedded data has a few of.
static const float FOLD_POSITIONS[] = { 0, -1, 0, 1, 0, 0, 0, 1, 0, -1, 0, 1 };
static const int FOLD_FACES[] = { 0, 1, 2, 0, 2, 3, 1, 1, 2 };

static void expect_vec(const float *v, float x, float y, float z) {
    EXPECT_NEAR(v[0], x, 1e-5f);
    EXPECT_NEAR(v[1], y, 1e-5f);
    EXPECT_NEAR(v[2], z, 1e-5f);
}

TEST(MeshDataTest, VertexNormalsAverageFacesEquallyAndIgnoreZeroAreaFaces) {
    MeshObject *m = build_mesh_data(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, 4, 3, 0);
    expect_vec(m->faces[0].normal, 0, 0, 1);
    const float s = 1 / std::sqrt(2.0f);
    expect_vec(m->faces[1].normal, s, 0, s);
    expect_vec(m->faces[2].normal, 0, 0, 0);
    expect_vec(&m->normals[1 * 3], 0, 0, 1);             // only face 0 (and the sliver) touch it
    expect_vec(&m->normals[3 * 3], s, 0, s);
    // corners 0 and 2: direction of (0,0,1) + (s,0,s)
    const float len = std::sqrt(s * s + (1 + s) * (1 + s));
    expect_vec(&m->normals[0], s / len, 0, (1 + s) / len);
    expect_vec(&m->normals[2 * 3], s / len, 0, (1 + s) / len);
    for (int i = 0; i < 12; i++) EXPECT_FALSE(std::isnan(m->normals[i]));
    EXPECT_EQ(m->texcoords, nullptr);
    EXPECT_EQ(m->work_colours, nullptr);
}

TEST(MeshDataTest, GeneratedArraysOnlyWhenNoneGivenAndOtherBitsIgnored) {
    const float given[12] = { 0.5f, 0.5f, 0 };
    MeshObject *keep = build_mesh_data(FOLD_FACES, FOLD_POSITIONS, given, nullptr, 4, 2, RF_GEN_TEXCOORDS);
    EXPECT_EQ(keep->texcoords, given);
    MeshObject *gen = build_mesh_data(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, 4, 2,
                                      RF_GEN_TEXCOORDS | RF_GEN_COLOURS);
    ASSERT_NE(gen->texcoords, nullptr);
    ASSERT_NE(gen->colours, nullptr);
    ASSERT_NE(gen->work_colours, nullptr);
    EXPECT_NEAR(gen->texcoords[1 * 3 + 0], 0.5f, 1e-6f);   // normal +z
    EXPECT_NEAR(gen->colours[1 * 3 + 2], 1.0f, 1e-6f);
    MeshObject *other = build_mesh_data(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, 4, 2,
                                        RF_BLEND_ADD | RF_NO_CULL);
    EXPECT_EQ(other->texcoords, nullptr);
    EXPECT_EQ(other->colours, nullptr);
}

TEST(MeshDataTest, SphereCoordinatesOfTheAxisNormals) {
    const float normals[] = { 0, 0, 1, 1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1, 0 };
    const std::unique_ptr<float[]> t(normals_to_sphere_texcoords(normals, 5));
    EXPECT_FLOAT_EQ(t[0 * 3], 0.5f);    // +z
    EXPECT_FLOAT_EQ(t[1 * 3], 0.75f);   // +x
    EXPECT_FLOAT_EQ(t[2 * 3], 0.25f);   // -x
    EXPECT_FLOAT_EQ(t[3 * 3 + 1], 1.0f);   // +y
    EXPECT_FLOAT_EQ(t[4 * 3 + 1], 0.0f);   // -y
    EXPECT_EQ(t[3 * 3 + 2], 0.0f);
    const std::unique_ptr<float[]> c(normals_to_colours(normals, 5));
    EXPECT_FLOAT_EQ(c[2 * 3], 0.0f);
    EXPECT_FLOAT_EQ(c[2 * 3 + 1], 0.5f);
}

TEST(MeshDataTest, SeamCorrectionLiftsCornersAcrossTheWrap) {
    float uv[3][2] = { { 0.95f, 0.5f }, { 0.05f, 0.5f }, { 0.9f, 0.5f } };
    fix_texcoord_seam(uv);
    EXPECT_FLOAT_EQ(uv[0][0], 0.95f);
    EXPECT_FLOAT_EQ(uv[1][0], 1.05f);
    EXPECT_FLOAT_EQ(uv[2][0], 0.9f);
    EXPECT_FLOAT_EQ(uv[1][1], 0.5f);   // v does not cross: untouched
    float v_wrap[3][2] = { { 0.1f, 0.05f }, { 0.1f, 0.9f }, { 0.15f, 0.5f } };
    fix_texcoord_seam(v_wrap);
    EXPECT_FLOAT_EQ(v_wrap[0][1], 1.05f);
    EXPECT_FLOAT_EQ(v_wrap[2][1], 0.5f);
    EXPECT_FLOAT_EQ(v_wrap[0][0], 0.1f);
    float inside[3][2] = { { 0.1f, 0.1f }, { 0.8f, 0.1f }, { 0.5f, 0.7f } };
    fix_texcoord_seam(inside);         // 0.7 apart is not a crossing
    EXPECT_FLOAT_EQ(inside[0][0], 0.1f);
}

class MeshListTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        reset_render_state(BLACK_RGBA);
        set_ortho_view(0);
        glTranslatef(0, 0, 0.5f);
        glScalef(0.4f, 0.4f, 0.4f);
    }

    // Draws the mesh lit from +z in feedback mode; returns (r, g, b, s, t) per vertex.
    static std::vector<float> lit_vertices(const MeshObject *m) {
        std::vector<float> buffer(4096);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        draw_mesh(m, RF_NO_CULL);
        glDisable(GL_LIGHTING);
        const int n = glRenderMode(GL_RENDER);
        std::vector<float> out;
        for (int i = 0; i < n;) {
            EXPECT_EQ(buffer[i], float(GL_POLYGON_TOKEN));
            const int count = int(buffer[i + 1]);
            i += 2;
            for (int v = 0; v < count; v++, i += 11) {   // x y z, r g b a, s t r q
                out.insert(out.end(), { buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 7], buffer[i + 8] });
            }
        }
        return out;
    }
};

TEST_F(MeshListTest, FlatListsLightEachFaceEvenlyAndSmoothListsPerVertex) {
    MeshObject *flat = build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, nullptr, 4, 2, RF_FLAT);
    std::vector<float> f = lit_vertices(flat);
    ASSERT_EQ(f.size(), 2u * 3 * 5);
    for (int v = 0; v < 3; v++) EXPECT_NEAR(f[v * 5], 0.8f, 0.01f);              // face 0 faces the light
    for (int v = 3; v < 6; v++) EXPECT_NEAR(f[v * 5], 0.8f * 0.7071f, 0.01f);    // face 1 at 45 degrees

    MeshObject *smooth = build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, nullptr, 4, 3, 0);
    std::vector<float> s = lit_vertices(smooth);
    ASSERT_GE(s.size(), 2u * 3 * 5);
    EXPECT_NEAR(s[1 * 5], 0.8f, 0.01f);                      // corner 1: face 0's normal only
    EXPECT_LT(s[0 * 5], 0.79f);                              // corner 0 averages both faces
    EXPECT_GT(s[0 * 5], 0.8f * 0.7071f + 0.01f);
    for (float x : s) EXPECT_FALSE(std::isnan(x));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshListTest, SeamFixedListEmitsCorrectedCoordinates) {
    const float positions[] = { 0, 0, 0, 1, 0, 0, 0, 1, 0 };
    const int faces[] = { 0, 1, 2 };
    const float uv[] = { 0.95f, 0.2f, 0, 0.05f, 0.2f, 0, 0.9f, 0.3f, 0 };
    MeshObject *m = build_mesh(faces, positions, uv, nullptr, nullptr, 3, 1, MESH_SEAM_FIX);
    std::vector<float> out = lit_vertices(m);
    ASSERT_EQ(out.size(), 15u);
    EXPECT_NEAR(out[0 * 5 + 3], 0.95f, 1e-5f);
    EXPECT_NEAR(out[1 * 5 + 3], 1.05f, 1e-5f);
    EXPECT_NEAR(out[2 * 5 + 3], 0.9f, 1e-5f);
}

TEST_F(MeshListTest, EachDrawAddsItsCountsOnce) {
    MeshObject *m = build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, nullptr, nullptr, 4, 2, 0);
    for (int i = 0; i < 3; i++) draw_mesh(m, RF_BLEND_ADD);
    EXPECT_EQ(render.drawn.faces, 6);
    EXPECT_EQ(render.drawn.vertices, 12);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));   // popped
    reset_render_state(nullptr);
    EXPECT_EQ(render.drawn.faces, 0);
}

TEST(MeshFailureTest, NeighbourTableIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    const int neighbours[6] = {};
    EXPECT_EXIT(build_mesh(FOLD_FACES, FOLD_POSITIONS, nullptr, neighbours, nullptr, 4, 2, 0),
                ::testing::ExitedWithCode(0), "remove neighbours, you're not using shadows you idiot!");
}
