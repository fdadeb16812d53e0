// tests/geometry/isosurface_test.cpp - the blob polygoniser as a library: empty fields,
// the lone round blob (exact counts, closed, wound outward, on the level), the octree cut
// of a rounded cube and what a kind-2 blob does to it, repeatability through the edge
// cache, and drawing at once or through the shared display list.
#include "gl_fixture.h"
#include "surface_checks.h"
#include "geometry/isosurface.h"
#include "render/render_state.h"
#include <GL/gl.h>
#include <cmath>
#include <vector>

//----------------------------------------------------------------------------------
// Surface checks
//----------------------------------------------------------------------------------
static float axis_extent(const IsoSurface &s, int axis, bool highest) {
    float e = highest ? -1e9f : 1e9f;
    for (int v = 0; v < s.vertex_count; v++)
        e = highest ? std::fmax(e, s.positions[v * 3 + axis]) : std::fmin(e, s.positions[v * 3 + axis]);
    return e;
}

// A snapshot, since the library reuses its arrays.
struct SurfaceCopy {
    std::vector<float> positions, normals;
    std::vector<int> triangles;
    explicit SurfaceCopy(const IsoSurface &s)
        : positions(s.positions, s.positions + s.vertex_count * 3),
          normals(s.normals, s.normals + s.vertex_count * 3),
          triangles(s.triangles, s.triangles + s.triangle_count * 3) {}
    bool operator==(const SurfaceCopy &o) const {
        return positions == o.positions && normals == o.normals && triangles == o.triangles;
    }
};

static const Blob ROUND_10 = { 0, 0, 0, 10, 0, BLOB_ROUND };
static const Blob CUBE_15  = { 0, 0, 0, 15, 0, BLOB_CUBE };

//----------------------------------------------------------------------------------
// Polygonisation
//----------------------------------------------------------------------------------
TEST(IsosurfaceTest, NothingInsideGivesNoSurface) {
    const Blob negatives[2] = { { 0, 0, 0, 10, 1, BLOB_ROUND }, { 2, -3, 1, 12, 1, BLOB_CUBE } };
    const Blob kind2 = { 0, 0, 0, 20, 0, 2 };
    struct { const Blob *blobs; int count; const char *what; } cases[] = {
        { nullptr, 0, "no blob" }, { negatives, 2, "only negative blobs" }, { &kind2, 1, "kind 2 alone" },
    };
    for (const auto &c : cases) {
        polygonise_blobs(&ROUND_10, 1);   // a full surface first: nothing of it may remain
        const IsoSurface &s = polygonise_blobs(c.blobs, c.count);
        EXPECT_EQ(s.vertex_count, 0) << c.what;
        EXPECT_EQ(s.triangle_count, 0) << c.what;
        EXPECT_EQ(s.inside_low[0], -1) << c.what;
        EXPECT_EQ(s.inside_high[2], -1) << c.what;
    }
}

TEST(IsosurfaceTest, LoneRoundBlobIsAClosedOutwardSphereOnTheLevel) {
    const IsoSurface &s = polygonise_blobs(&ROUND_10, 1);
    ASSERT_EQ(s.vertex_count, 690);
    ASSERT_EQ(s.triangle_count, 1376);
    EXPECT_EQ(open_or_miswound_edges(s), 0);

    const double level_radius = 10.0 * std::sqrt(0.5 - std::sqrt(double(ISO_LEVEL)));   // 3.9191
    for (int v = 0; v < s.vertex_count; v++) {
        const float *p = &s.positions[v * 3], *n = &s.normals[v * 3];
        const float r = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        EXPECT_NEAR(r, level_radius, 1e-3) << "vertex " << v;
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-5f) << "vertex " << v;
        EXPECT_GT((p[0] * n[0] + p[1] * n[1] + p[2] * n[2]) / r, 0.9999f) << "vertex " << v;
        EXPECT_NEAR(blob_field(&ROUND_10, 1, p), ISO_LEVEL, 1e-4f) << "vertex " << v;
    }
    // Every triangle faces away from the centre (counter-clockwise seen from outside).
    for (int k = 0; k < s.triangle_count; k++) {
        const float *a = surface_corner(s, k, 0), *b = surface_corner(s, k, 1), *c = surface_corner(s, k, 2);
        const float u[3] = { b[0] - a[0], b[1] - a[1], b[2] - a[2] }, w[3] = { c[0] - a[0], c[1] - a[1], c[2] - a[2] };
        const float n[3] = { u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0] };
        EXPECT_GT(n[0] * (a[0] + b[0] + c[0]) + n[1] * (a[1] + b[1] + c[1]) + n[2] * (a[2] + b[2] + c[2]), 0.0f)
            << "triangle " << k;
    }
}

TEST(IsosurfaceTest, OffGridAndMergingBlobsStayClosedAndOutward) {
    // Centres between grid points and on odd and even indices exercise every mirrored
    // cell split; two overlapping blobs merge into one surface, two apart stay two.
    const Blob merged[2] = { { -3.3f, 0.45f, 1.7f, 9.0f, 0, BLOB_ROUND }, { 2.9f, -1.2f, -0.6f, 8.0f, 0, BLOB_CUBE } };
    const Blob apart[2] = { { -8.5f, 0.5f, 0, 8.0f, 0, BLOB_ROUND }, { 8.25f, -0.75f, 0.1f, 8.0f, 0, BLOB_ROUND } };
    const Blob carved[3] = { { 0.5f, 0, 0, 15, 0, BLOB_CUBE }, { 3.1f, 2.2f, -1.3f, 12, 1, BLOB_ROUND },
                             { -4.6f, -1.1f, 3.7f, 12, 1, BLOB_ROUND } };
    // euler: V - E + F for closed pieces (2 per sphere-like piece); 0 means not checked.
    struct { const Blob *blobs; int count; int euler; const char *what; } cases[] = {
        { merged, 2, 2, "merged" }, { apart, 2, 4, "apart" }, { carved, 3, 0, "carved cube" },
    };
    for (const auto &c : cases) {
        const IsoSurface &s = polygonise_blobs(c.blobs, c.count);
        EXPECT_GT(s.triangle_count, 100) << c.what;
        EXPECT_EQ(open_or_miswound_edges(s), 0) << c.what;
        EXPECT_GT(signed_volume(s), 0.0) << c.what;
        if (c.euler) {
            EXPECT_EQ(s.vertex_count - s.triangle_count / 2, c.euler) << c.what;   // E = 3F / 2
        }
    }
}

TEST(IsosurfaceTest, RoundedCubeIsCutAtItsBoundingBoxes) {
    const IsoSurface &s = polygonise_blobs(&CUBE_15, 1);
    for (int a = 0; a < 3; a++) {
        // Its box (16 +- 7.5) touches the 8-point boxes from 8 to 23 only, although its own
        // field is above the level out to indices 7 and 25.
        EXPECT_EQ(s.inside_low[a], 8) << "axis " << a;
        EXPECT_EQ(s.inside_high[a], 23) << "axis " << a;
        // The flat faces lie where the cut puts them (-8.317 and 7.412), pushed out 0.5.
        EXPECT_NEAR(axis_extent(s, a, false), -8.817f, 2e-3f) << "axis " << a;
        EXPECT_NEAR(axis_extent(s, a, true), 7.912f, 3e-3f) << "axis " << a;
    }
    const float beyond_cut[3] = { 9.0f, 0, 0 };
    EXPECT_GT(blob_field(&CUBE_15, 1, beyond_cut), ISO_LEVEL);   // the uncut field really is inside there
    EXPECT_EQ(open_or_miswound_edges(s), 0);
    EXPECT_GT(signed_volume(s), 0.0);
}

TEST(IsosurfaceTest, Kind2BlobAddsNothingButKeepsItsBoxEvaluated) {
    const float probe[3] = { 9.0f, 0.5f, -0.25f };
    const Blob with_marker[2] = { CUBE_15, { 10, 0, 0, 4, 0, 2 } };   // its box reaches 23.2 .. 28.8 in x
    EXPECT_EQ(blob_field(with_marker, 2, probe), blob_field(&CUBE_15, 1, probe));

    const IsoSurface &s = polygonise_blobs(with_marker, 2);
    EXPECT_EQ(s.inside_low[0], 8);
    EXPECT_EQ(s.inside_high[0], 25);   // the +x side is evaluated now
    EXPECT_EQ(s.inside_low[1], 8);     // the x >= 24 boxes it opens span only y and z 8..23
    EXPECT_EQ(s.inside_high[1], 23);
    // +x reaches the true surface of the rounded cube (fourth root of 0.1536 x 15^4 = 9.39).
    EXPECT_NEAR(axis_extent(s, 0, true), 9.39f, 0.02f);
    EXPECT_NEAR(axis_extent(s, 0, false), -8.817f, 2e-3f);
    EXPECT_EQ(open_or_miswound_edges(s), 0);
}

TEST(IsosurfaceTest, SameBlobsGiveTheSameSurfaceWhateverCameBefore) {
    const Blob a[2] = { { -2.1f, 1.3f, 0.4f, 10, 0, BLOB_ROUND }, { 3.6f, -0.8f, 1.1f, 9, 0, BLOB_ROUND } };
    const Blob b[2] = { { -2.6f, 1.3f, 0.4f, 10, 0, BLOB_ROUND }, { 3.1f, -0.3f, 1.6f, 9, 0, BLOB_ROUND } };
    const SurfaceCopy first(polygonise_blobs(a, 2));
    const SurfaceCopy again(polygonise_blobs(a, 2));
    EXPECT_TRUE(first == again);
    // A different surface in between must leave no stale vertex behind.
    const SurfaceCopy other(polygonise_blobs(b, 2));
    EXPECT_FALSE(other == first);
    const SurfaceCopy after(polygonise_blobs(a, 2));
    EXPECT_TRUE(after == first);
    EXPECT_EQ(open_or_miswound_edges(polygonise_blobs(a, 2)), 0);
}

//----------------------------------------------------------------------------------
// Drawing
//----------------------------------------------------------------------------------
class IsosurfaceDrawTest : public GLTest {
protected:
    // Looks at the origin from +z, 20 units away, in the offscreen viewport.
    static void look_at_origin() {
        reset_render_state(BLACK_RGBA);
        const CameraKey eye = { 0, 0, 20, 60 };
        const float aim[3] = { 0, 0, 0 };
        set_camera(eye, aim, RF_OFFSCREEN);
        glColor4f(1, 1, 1, 1);
    }
    static int lit_pixels() {
        const std::vector<unsigned char> px = read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 3) n += px[i] > 100;
        return n;
    }
};

TEST_F(IsosurfaceDrawTest, DrawsTheOuterSideAtOnceAndLeavesTheCountersAlone) {
    look_at_origin();
    render.drawn.faces = render.drawn.vertices = 0;
    draw_isosurface(&ROUND_10, 1, 0);   // back faces culled: only the outer side can show
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const int front = lit_pixels();
    EXPECT_GT(front, 1000);   // a disc of radius 3.9 at distance 20 under 60 degrees
    EXPECT_EQ(render.drawn.faces, 0);

    look_at_origin();
    draw_isosurface(&ROUND_10, 1, RF_CULL_FRONT);   // the outer side culled: the inside shows through
    EXPECT_NEAR(lit_pixels(), front, front / 20);

    look_at_origin();
    draw_isosurface(nullptr, 0, 0);
    EXPECT_EQ(lit_pixels(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(IsosurfaceDrawTest, BuiltMeshIsRecompiledByTheNextBuild) {
    look_at_origin();
    draw_isosurface(&ROUND_10, 1, 0);
    const int sphere = lit_pixels();

    MeshObject *m = build_isosurface(&ROUND_10, 1, 0);
    EXPECT_EQ(m->vertex_count, 690);
    EXPECT_EQ(m->face_count, 1376);
    look_at_origin();
    render.drawn.faces = 0;
    draw_mesh(m, 0);
    EXPECT_EQ(lit_pixels(), sphere);
    EXPECT_EQ(render.drawn.faces, 1376);

    // The same list holds the next shape; an empty build leaves an empty list.
    const Blob bigger = { 0, 0, 0, 14, 0, BLOB_ROUND };
    MeshObject *n = build_isosurface(&bigger, 1, 0);
    EXPECT_EQ(n->list, m->list);
    look_at_origin();
    draw_mesh(n, 0);
    EXPECT_GT(lit_pixels(), sphere * 3 / 2);
    n = build_isosurface(nullptr, 0, 0);
    EXPECT_EQ(n->face_count, 0);
    look_at_origin();
    draw_mesh(n, 0);
    EXPECT_EQ(lit_pixels(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
