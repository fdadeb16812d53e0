// tests/geometry/procedural_test.cpp - counts, positions and winding of the generated
// shapes (CPU arrays), and that they build into meshes without not-a-number normals.
#include "gl_fixture.h"
#include "geometry/procedural.h"
#include "render/math.h"
#include <cmath>

// Face normal (unnormalised) of face k, from the same corner order build_mesh uses.
static void face_cross(const ShapeArrays &s, int k, float out[3]) {
    const float *a = &s.positions[s.faces[k * 3] * 3], *b = &s.positions[s.faces[k * 3 + 1] * 3],
                *c = &s.positions[s.faces[k * 3 + 2] * 3];
    const float ac[3] = { a[0] - c[0], a[1] - c[1], a[2] - c[2] };
    const float bc[3] = { b[0] - c[0], b[1] - c[1], b[2] - c[2] };
    vec3_cross(out, ac, bc);
}

static void face_centre(const ShapeArrays &s, int k, float out[3]) {
    for (int i = 0; i < 3; i++)
        out[i] = (s.positions[s.faces[k * 3] * 3 + i] + s.positions[s.faces[k * 3 + 1] * 3 + i] +
                  s.positions[s.faces[k * 3 + 2] * 3 + i]) / 3;
}

// The arrays a shape function hands out belong to whoever keeps them; a test that builds no
// mesh from them gives them back.
struct OwnedShape {
    ShapeArrays s;
    ~OwnedShape() {
        delete[] s.positions;
        delete[] s.texcoords;
        delete[] s.faces;
    }
};

static void expect_indices_in_range(const ShapeArrays &s) {
    for (int i = 0; i < s.face_count * 3; i++) {
        ASSERT_GE(s.faces[i], 0);
        ASSERT_LT(s.faces[i], s.vertex_count);
    }
}

TEST(ProceduralTest, BoxHasSeparateFacesAllFacingOutward) {
    const OwnedShape owned = { box_arrays() };
    const ShapeArrays &s = owned.s;
    EXPECT_EQ(s.vertex_count, 24);
    EXPECT_EQ(s.face_count, 12);
    for (int k = 0; k < 12; k++) {
        float n[3], c[3];
        face_cross(s, k, n);
        face_centre(s, k, c);
        EXPECT_GT(vec3_dot(n, c), 0) << "triangle " << k;
        for (int v = 0; v < 3; v++) EXPECT_EQ(s.faces[k * 3 + v] / 4, k / 2);   // its own side's corners
    }
    EXPECT_EQ(s.texcoords[2 * 3], 1.0f);   // corner 2 of every side: (1, 1)
    EXPECT_EQ(s.texcoords[2 * 3 + 1], 1.0f);
    EXPECT_EQ(s.positions[23 * 3], -1.0f);
}

TEST(ProceduralTest, SphereHasASeamColumnAndFacesOutward) {
    const OwnedShape owned = { sphere_arrays(32, 32) };
    const ShapeArrays &s = owned.s;
    EXPECT_EQ(s.vertex_count, 1089);
    EXPECT_EQ(s.face_count, 2048);
    expect_indices_in_range(s);
    EXPECT_EQ(s.positions[1], 1.0f);                          // ring 0: north pole
    EXPECT_FLOAT_EQ(s.positions[(32 + 33 * 16) * 3 + 2], 1);   // equator, last column: +z again
    EXPECT_FLOAT_EQ(s.texcoords[32 * 3], 1.0f);               // seam duplicate has u = 1
    EXPECT_FLOAT_EQ(s.positions[(8 + 33 * 16) * 3], 1.0f);    // theta = pi/2 points along +x
    int inward = 0;
    for (int k = 0; k < s.face_count; k++) {
        float n[3], c[3];
        face_cross(s, k, n);
        face_centre(s, k, c);
        if (vec3_dot(n, c) < 0) inward++;
    }
    EXPECT_EQ(inward, 32);   // only the mirrored slivers of the south ring
}

TEST(ProceduralTest, HemisphereEndsAtTheEquator) {
    const OwnedShape owned = { hemisphere_arrays(32, 32) };
    const ShapeArrays &s = owned.s;
    EXPECT_EQ(s.vertex_count, 1089);
    EXPECT_EQ(s.face_count, 2048);
    EXPECT_NEAR(s.positions[(33 * 32) * 3 + 1], 0.0f, 1e-6f);   // last ring at y = 0
    EXPECT_NEAR(s.positions[(33 * 32) * 3 + 2], 1.0f, 1e-6f);
}

TEST(ProceduralTest, WrappedSphereHasNoSeamColumnAndNoDegenerateFaces) {
    const OwnedShape owned = { wrapped_sphere_arrays(32, 32) };
    const ShapeArrays &s = owned.s;
    EXPECT_EQ(s.vertex_count, 1056);
    EXPECT_EQ(s.face_count, 2048);
    expect_indices_in_range(s);
    for (int k = 0; k < s.face_count; k++) {
        float n[3];
        face_cross(s, k, n);
        ASSERT_GT(vec3_dot(n, n), 0) << "triangle " << k;
    }
    // The last quad of a ring wraps to column 0.
    EXPECT_EQ(s.faces[(2 * 31) * 3 + 2], 0 + 32 * 1);
    const OwnedShape small = { wrapped_sphere_arrays(8, 8) };
    EXPECT_EQ(small.s.face_count, 128);
}

TEST(ProceduralTest, GridIsHalfACellOffCentreAndFacesUp) {
    const float spacing[3] = { 4, 4, 4 };
    const OwnedShape owned = { grid_arrays(32, 32, spacing) };
    const ShapeArrays &s = owned.s;
    EXPECT_EQ(s.vertex_count, 1089);
    EXPECT_EQ(s.face_count, 2048);
    EXPECT_EQ(s.positions[0], -66.0f);
    EXPECT_EQ(s.positions[2], -66.0f);
    EXPECT_EQ(s.positions[1088 * 3], 62.0f);
    EXPECT_EQ(s.positions[1088 * 3 + 2], 62.0f);
    EXPECT_EQ(s.texcoords[1088 * 3], 32.0f);
    for (int k = 0; k < s.face_count; k++) {
        float n[3];
        face_cross(s, k, n);
        ASSERT_GT(n[1], 0) << "triangle " << k;
    }
}

class ProceduralMeshTest : public GLTest {};

TEST_F(ProceduralMeshTest, ShowShapesBuildWithFiniteNormals) {
    const float spacing[3] = { 4, 4, 4 };
    MeshObject *meshes[] = { make_box(RF_FLAT), make_wrapped_sphere(16, 16, 0), make_wrapped_sphere(8, 8, RF_FLAT),
                             make_sphere(32, 32, 0), make_grid(32, 32, spacing, 0), make_hemisphere(32, 32, 0) };
    for (MeshObject *m : meshes) {
        EXPECT_NE(m->list, 0u);
        for (int i = 0; i < m->vertex_count * 3; i++) ASSERT_FALSE(std::isnan(m->normals[i]));
    }
    EXPECT_GT(meshes[3]->normals[1], 0.99f);   // north pole: one real face each, the slivers add nothing
    EXPECT_NEAR(meshes[0]->normals[1], 1.0f, 1e-6f);    // box top corner keeps the side's normal
}
