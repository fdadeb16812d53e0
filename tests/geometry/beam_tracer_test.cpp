// tests/geometry/beam_tracer_test.cpp - beams against one-sided mirrors: escaping and
// trapped beams, what a reflection may and may not do, back faces, ties, the shared point
// list, and the fading lines as GL receives them.
#include "gl_fixture.h"
#include "geometry/beam_tracer.h"
#include "render/render_state.h"
#include "app/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <vector>

// A cube with corners at +-1; OUTWARD faces are counter-clockwise seen from outside.
static const float CUBE_POSITIONS[] = { -1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1,
                                        -1, -1, 1,  1, -1, 1,  1, 1, 1,  -1, 1, 1 };
static const int CUBE_OUTWARD[] = { 0, 3, 2, 0, 2, 1,   4, 5, 6, 4, 6, 7,   0, 1, 5, 0, 5, 4,
                                    3, 7, 6, 3, 6, 2,   0, 4, 7, 0, 7, 3,   1, 2, 6, 1, 6, 5 };

static MeshObject *cube(bool inward) {
    static int flipped[36];
    for (int f = 0; f < 12; f++) {
        flipped[f * 3] = CUBE_OUTWARD[f * 3];
        flipped[f * 3 + 1] = CUBE_OUTWARD[f * 3 + 2];
        flipped[f * 3 + 2] = CUBE_OUTWARD[f * 3 + 1];
    }
    return build_mesh_data(inward ? flipped : CUBE_OUTWARD, CUBE_POSITIONS, nullptr, nullptr, 8, 12, 0);
}

// One triangle in the plane z = 0 facing +z (counter-clockwise seen from +z), and a copy.
static const float PANE_POSITIONS[] = { -1, -1, 0, 1, -1, 0, 0, 1, 0 };
static const int   TWO_PANES[] = { 0, 1, 2, 0, 1, 2 };

static float length(const float *a, const float *b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

struct PointStore {
    std::vector<float> points, intensities;
    BeamPointList list;
    explicit PointStore(int capacity) : points(capacity * 3 + 3, -7.0f), intensities(capacity + 1, -7.0f) {
        list = { points.data(), intensities.data(), 0, capacity };
    }
};

static const float START[3] = { 0.1f, 0.2f, -0.3f };
static const float SLANT[3] = { 0.7f, 0.31f, 0.53f };

TEST(BeamPathTest, ABeamThatHitsNothingDrawsOneFadingProbeAndRecordsItsStart) {
    MeshObject *none = build_mesh_data(TWO_PANES, PANE_POSITIONS, nullptr, nullptr, 3, 1, 0);
    const float start[3] = { 5, 5, 5 }, dir[3] = { 0, 2, 0 };   // not unit: the probe is 2 x reach
    BeamSegment path[10];
    PointStore store(10);
    ASSERT_EQ(trace_beam_path(start, dir, none, 3.0f, 10, path, &store.list), 1);
    EXPECT_FLOAT_EQ(path[0].to[1], 11.0f);
    EXPECT_FLOAT_EQ(path[0].from_k, 1.0f);
    EXPECT_FLOAT_EQ(path[0].to_k, 0.0f);
    EXPECT_EQ(store.list.count, 1);
    EXPECT_FLOAT_EQ(store.points[1], 5.0f);
    EXPECT_FLOAT_EQ(store.intensities[0], 1.0f);
    EXPECT_FLOAT_EQ(dir[1], 2.0f);   // the caller's vectors are copied
}

TEST(BeamPathTest, ATrappedBeamBouncesOnEveryProbeAndNeverEscapes) {
    MeshObject *room = cube(true);
    BeamSegment path[10];
    PointStore store(10);
    ASSERT_EQ(trace_beam_path(START, SLANT, room, 1000.0f, 10, path, &store.list), 10);
    ASSERT_EQ(store.list.count, 10);
    for (int i = 0; i < 10; i++) {
        const float k = 1.0f - 0.1f * float(i);
        EXPECT_NEAR(store.intensities[i], k, 1e-6f);
        EXPECT_NEAR(path[i].from_k, k, 1e-6f);
        EXPECT_NEAR(path[i].to_k, k - 0.1f, 1e-6f);
        // Each segment ends on a wall of the room, where the next one starts. Single
        // precision over a probe 1000 long puts the hit within a few thousandths.
        float most = 0;
        for (int c = 0; c < 3; c++) most = std::max(most, std::fabs(path[i].to[c]));
        EXPECT_NEAR(most, 1.0f, 5e-3f) << "segment " << i;
        if (i > 0) {
            EXPECT_EQ(length(path[i].from, path[i - 1].to), 0.0f);
        }
        EXPECT_EQ(length(&store.points[i * 3], path[i].from), 0.0f);
    }
    EXPECT_NEAR(path[9].to_k, 0.0f, 1e-6f);   // fades out at the last bounce, no escaping tail
}

TEST(BeamPathTest, BackFacesLetTheBeamThrough) {
    MeshObject *solid = cube(false);   // seen from inside, every wall is a back face
    BeamSegment path[10];
    PointStore store(10);
    ASSERT_EQ(trace_beam_path(START, SLANT, solid, 10.0f, 10, path, &store.list), 1);
    EXPECT_FLOAT_EQ(path[0].to[0], START[0] + 10.0f * SLANT[0]);
    // From outside, the same walls are mirrors.
    const float outside[3] = { -5, 0.2f, 0.1f }, in[3] = { 1, 0, 0 };
    ASSERT_GE(trace_beam_path(outside, in, solid, 10.0f, 10, path, &store.list), 2);
    EXPECT_NEAR(path[0].to[0], -1.0f, 1e-5f);
    EXPECT_NEAR(path[1].to[0], -11.0f, 1e-4f);   // straight back, reach 10 exactly after a bounce
}

TEST(BeamFaceTest, AReflectionLeavesFromTheFrontAndCannotHitItsOwnFaceAgain) {
    const float *a = &PANE_POSITIONS[6], *b = &PANE_POSITIONS[3], *c = &PANE_POSITIONS[0];   // reversed
    unsigned state = 7;
    auto rnd = [&] { state = state * 1664525u + 1013904223u; return float(state >> 8) / float(1 << 24) - 0.5f; };
    int hits = 0;
    for (int r = 0; r < 500; r++) {
        const float p0[3] = { rnd(), rnd(), 0.5f + std::fabs(rnd()) };
        const float p1[3] = { 4 * rnd(), 4 * rnd() - 0.5f, -0.01f - 3 * std::fabs(rnd()) };
        float hit[3], dir[3];
        if (!intersect_mirror_face(p0, p1, a, b, c, hit, dir)) continue;
        hits++;
        EXPECT_NEAR(hit[2], 0.0f, 1e-5f);
        EXPECT_NEAR(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2], 1.0f, 1e-5f);
        // Mirror image of the incoming direction: z turned round, x and y kept.
        const float in = length(p0, p1);
        EXPECT_NEAR(dir[0], (p1[0] - p0[0]) / in, 1e-5f);
        EXPECT_NEAR(dir[2], -(p1[2] - p0[2]) / in, 1e-5f);
        const float end[3] = { hit[0] + 1000 * dir[0], hit[1] + 1000 * dir[1], hit[2] + 1000 * dir[2] };
        EXPECT_GT(end[2], 0.0f);   // never behind the face it left
        float again[3] = { 9, 9, 9 }, again_dir[3];
        EXPECT_EQ(intersect_mirror_face(hit, end, a, b, c, again, again_dir), 0);
        EXPECT_EQ(again[0], 9.0f);   // a miss leaves the outputs alone
    }
    EXPECT_GT(hits, 50);
}

TEST(BeamFaceTest, TouchesAreMisses) {
    const float *a = &PANE_POSITIONS[6], *b = &PANE_POSITIONS[3], *c = &PANE_POSITIONS[0];
    float hit[3], dir[3];
    const float on_plane[3] = { 0, 0, 0 }, below[3] = { 0, 0, -1 }, above[3] = { 0, 0, 1 };
    EXPECT_EQ(intersect_mirror_face(on_plane, below, a, b, c, hit, dir), 0);   // starts on the face
    const float edge_top[3] = { 0, -1, 1 }, edge_bottom[3] = { 0, -1, -1 };
    EXPECT_EQ(intersect_mirror_face(edge_top, edge_bottom, a, b, c, hit, dir), 0);   // through an edge
    const float corner_top[3] = { 0, 1, 1 }, corner_bottom[3] = { 0, 1, -1 };
    EXPECT_EQ(intersect_mirror_face(corner_top, corner_bottom, a, b, c, hit, dir), 0);
    EXPECT_EQ(intersect_mirror_face(above, below, a, b, c, hit, dir), 1);
    EXPECT_EQ(intersect_mirror_face(below, above, a, b, c, hit, dir), 0);   // from behind
}

TEST(BeamFaceTest, NearestFaceWinsAndATieGoesToTheEarlierFace) {
    MeshObject *twins = build_mesh_data(TWO_PANES, PANE_POSITIONS, nullptr, nullptr, 3, 2, 0);
    const float p0[3] = { 0, 0, 2 }, p1[3] = { 0, 0, -2 };
    EXPECT_EQ(find_nearest_mirror_face(p0, p1, twins), 0);

    // A farther pane first in the array loses to a nearer one later.
    static const float STACK[] = { -1, -1, -1, 1, -1, -1, 0, 1, -1, -1, -1, 1, 1, -1, 1, 0, 1, 1 };
    static const int STACK_FACES[] = { 0, 1, 2, 3, 4, 5 };
    MeshObject *stack = build_mesh_data(STACK_FACES, STACK, nullptr, nullptr, 6, 2, 0);
    const float from[3] = { 0, 0, 3 }, to[3] = { 0, 0, -3 };
    EXPECT_EQ(find_nearest_mirror_face(from, to, stack), 1);
    const float short_to[3] = { 0, 0, 0 };   // stops between them
    EXPECT_EQ(find_nearest_mirror_face(from, short_to, stack), 1);
    const float miss_to[3] = { 0, 0, 2 };
    EXPECT_EQ(find_nearest_mirror_face(from, miss_to, stack), -1);
}

TEST(BeamPointListTest, CountRunsOnAcrossCallsAndStopsAtCapacity) {
    MeshObject *room = cube(true);
    BeamSegment path[10];
    PointStore store(60);
    for (int k = 0; k < 6; k++) {
        const float dir[3] = { SLANT[0], SLANT[1] + 0.1f * float(k), -SLANT[2] };
        trace_beam_path(START, dir, room, 1000.0f, 10, path, &store.list);
        EXPECT_EQ(store.list.count, 10 * (k + 1));
    }
    EXPECT_FLOAT_EQ(store.intensities[50], 1.0f);   // each beam starts its own fade
    // A seventh beam finds the list full: still traced, nothing written past the end.
    EXPECT_EQ(trace_beam_path(START, SLANT, room, 1000.0f, 10, path, &store.list), 10);
    EXPECT_EQ(store.list.count, 60);
    EXPECT_EQ(store.intensities[60], -7.0f);
    EXPECT_EQ(store.points[180], -7.0f);
    // No list at all is fine too.
    EXPECT_EQ(trace_beam_path(START, SLANT, room, 1000.0f, 10, path, nullptr), 10);
}

class BeamDrawTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        reset_render_state(BLACK_RGBA);
        set_ortho_view(0);
        glTranslatef(0, 0, 2);
        glScalef(0.4f, 0.4f, 0.4f);
    }
};

TEST_F(BeamDrawTest, EachSegmentIsOneLineColouredByItsEndsBrightness) {
    MeshObject *room = cube(true);
    const float blue[4] = { 0.1f, 0.25f, 1.0f, 1.0f };
    PointStore store(10);
    std::vector<float> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    trace_beam(START, SLANT, room, 1000.0f, 4, 2.0f, blue, &store.list, RF_NO_DEPTH_WRITE);
    const int n = glRenderMode(GL_RENDER);
    std::vector<float> ends;   // (b, a) of each line end
    for (int i = 0; i < n; i += 15) {
        EXPECT_TRUE(buffer[i] == float(GL_LINE_TOKEN) || buffer[i] == float(GL_LINE_RESET_TOKEN));
        ends.insert(ends.end(), { buffer[i + 6], buffer[i + 7], buffer[i + 13], buffer[i + 14] });
    }
    ASSERT_EQ(ends.size(), 4u * 4);
    const float k[5] = { 1.0f, 0.75f, 0.5f, 0.25f, 0.0f };
    for (int s = 0; s < 4; s++) {
        EXPECT_NEAR(ends[s * 4 + 0], k[s], 1e-5f);       // blue, scaled
        EXPECT_NEAR(ends[s * 4 + 1], k[s], 1e-5f);       // alpha scaled too
        EXPECT_NEAR(ends[s * 4 + 2], k[s + 1], 1e-5f);
        EXPECT_NEAR(ends[s * 4 + 3], k[s + 1], 1e-5f);
    }
    // Left for the caller: additive smooth lines, no texture.
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
