// tests/geometry/beam_tracer_test.cpp - beams against one-sided mirrors: escaping and
// trapped beams, what a reflection may and may not do, back faces, touches, ties, the
// shared point list, and the fading lines as GL receives them.
#include "gl_fixture.h"
#include "geometry/beam_tracer.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <vector>

// A cube with corners at +-1, faces counter-clockwise seen from outside (or from inside).
static MeshObject *cube(bool inward) {
    static const float corners[] = { -1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1,
                                      -1, -1, 1,  1, -1, 1,  1, 1, 1,  -1, 1, 1 };
    static const int out[] = { 0, 3, 2, 0, 2, 1, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                               3, 7, 6, 3, 6, 2, 0, 4, 7, 0, 7, 3, 1, 2, 6, 1, 6, 5 };
    static int in[36];
    for (int i = 0; i < 36; i++) in[i] = out[i - i % 3 + (3 - i % 3) % 3];   // swap corners 1 and 2
    return build_mesh_data(inward ? in : out, corners, nullptr, nullptr, 8, 12, 0);
}

// One triangle in z = 0 facing +z, passed to the crossing test in reverse (c, b, a).
static const float PANE[] = { -1, -1, 0, 1, -1, 0, 0, 1, 0 };
static const float *const PA = &PANE[6], *const PB = &PANE[3], *const PC = &PANE[0];
static const float START[3] = { 0.1f, 0.2f, -0.3f }, SLANT[3] = { 0.7f, 0.31f, 0.53f };

static float dist(const float *a, const float *b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

struct PointStore {   // a list of `capacity` entries with one guard entry behind it
    std::vector<float> points, intensities;
    BeamPointList list;
    explicit PointStore(int capacity) : points(capacity * 3 + 3, -7.0f), intensities(capacity + 1, -7.0f) {
        list = { points.data(), intensities.data(), 0, capacity };
    }
};

TEST(BeamPathTest, EscapingTrappedAndPassingBeams) {
    BeamSegment path[10];
    // Hits nothing: one probe reach x |direction| long, fading to 0; only the start recorded.
    PointStore lone(10);
    const float far[3] = { 5, 5, 5 }, up[3] = { 0, 2, 0 };
    ASSERT_EQ(trace_beam_path(far, up, cube(true), 3.0f, 10, path, &lone.list), 1);
    EXPECT_FLOAT_EQ(path[0].to[1], 11.0f);
    EXPECT_FLOAT_EQ(path[0].to_k, 0.0f);
    EXPECT_EQ(lone.list.count, 1);
    EXPECT_FLOAT_EQ(lone.intensities[0], 1.0f);

    // Trapped in a mirror room: every probe bounces, each segment ends on a wall where the
    // next begins (single precision over a 1000-long probe: within a few thousandths), the
    // intensities step down by 1/N and the path ends at 0 on its last bounce, no tail.
    PointStore trapped(10);
    ASSERT_EQ(trace_beam_path(START, SLANT, cube(true), 1000.0f, 10, path, &trapped.list), 10);
    ASSERT_EQ(trapped.list.count, 10);
    for (int i = 0; i < 10; i++) {
        EXPECT_NEAR(trapped.intensities[i], 1.0f - 0.1f * float(i), 1e-6f);
        EXPECT_NEAR(path[i].to_k, 0.9f - 0.1f * float(i), 1e-6f);
        EXPECT_NEAR(std::max({ std::fabs(path[i].to[0]), std::fabs(path[i].to[1]), std::fabs(path[i].to[2]) }),
                    1.0f, 5e-3f) << "segment " << i;
        if (i > 0) {
            EXPECT_EQ(dist(path[i].from, path[i - 1].to), 0.0f);
        }
    }

    // Inside a cube wound outward every wall is a back face: straight through.
    ASSERT_EQ(trace_beam_path(START, SLANT, cube(false), 10.0f, 10, path, nullptr), 1);
    EXPECT_FLOAT_EQ(path[0].to[0], START[0] + 10.0f * SLANT[0]);
    // From outside, the same walls are mirrors; after a bounce a probe is reach long exactly.
    const float outside[3] = { -5, 0.2f, 0.1f }, in[3] = { 1, 0, 0 };
    ASSERT_EQ(trace_beam_path(outside, in, cube(false), 10.0f, 10, path, nullptr), 2);
    EXPECT_NEAR(path[0].to[0], -1.0f, 1e-5f);
    EXPECT_NEAR(path[1].to[0], -11.0f, 1e-4f);
}

TEST(BeamFaceTest, AReflectionLeavesFromTheFrontAndCannotHitItsOwnFaceAgain) {
    unsigned state = 7;
    auto rnd = [&] { state = state * 1664525u + 1013904223u; return float(state >> 8) / float(1 << 24) - 0.5f; };
    int hits = 0;
    for (int r = 0; r < 500; r++) {
        const float p0[3] = { rnd(), rnd(), 0.5f + std::fabs(rnd()) };
        const float p1[3] = { 4 * rnd(), 4 * rnd() - 0.5f, -0.01f - 3 * std::fabs(rnd()) };
        float hit[3], dir[3];
        if (!intersect_mirror_face(p0, p1, PA, PB, PC, hit, dir)) continue;
        hits++;
        EXPECT_NEAR(hit[2], 0.0f, 1e-5f);
        // The mirror image of the incoming direction, unit length: z turned round, x kept.
        EXPECT_NEAR(dir[0], (p1[0] - p0[0]) / dist(p0, p1), 1e-5f);
        EXPECT_NEAR(dir[2], -(p1[2] - p0[2]) / dist(p0, p1), 1e-5f);
        const float end[3] = { hit[0] + 1000 * dir[0], hit[1] + 1000 * dir[1], hit[2] + 1000 * dir[2] };
        EXPECT_GT(end[2], 0.0f);   // never behind the face it left
        float again[3] = { 9, 9, 9 }, again_dir[3];
        EXPECT_EQ(intersect_mirror_face(hit, end, PA, PB, PC, again, again_dir), 0);
        EXPECT_EQ(again[0], 9.0f);   // a miss leaves the outputs alone
    }
    EXPECT_GT(hits, 50);
}

TEST(BeamFaceTest, TouchesAndCrossingsFromBehindAreMissesAndTiesGoToTheEarlierFace) {
    const float lines[][6] = { { 0, 0, 0, 0, 0, -1 },     // starts on the face
                               { 0, -1, 1, 0, -1, -1 },   // through an edge
                               { 0, 1, 1, 0, 1, -1 },     // through a corner
                               { 0, 0, -1, 0, 0, 1 } };   // from behind
    float hit[3], dir[3];
    for (const auto &l : lines) EXPECT_EQ(intersect_mirror_face(l, l + 3, PA, PB, PC, hit, dir), 0) << l[1];

    static const int twice[] = { 0, 1, 2, 0, 1, 2 };
    const float p0[3] = { 0, 0, 2 }, p1[3] = { 0, 0, -2 };
    EXPECT_EQ(find_nearest_mirror_face(p0, p1, build_mesh_data(twice, PANE, nullptr, nullptr, 3, 2, 0)), 0);
    // A farther pane first in the array loses to a nearer one later.
    static const float stack[] = { -1, -1, -1, 1, -1, -1, 0, 1, -1, -1, -1, 1, 1, -1, 1, 0, 1, 1 };
    static const int stack_faces[] = { 0, 1, 2, 3, 4, 5 };
    MeshObject *panes = build_mesh_data(stack_faces, stack, nullptr, nullptr, 6, 2, 0);
    const float from[3] = { 0, 0, 3 }, to[3] = { 0, 0, -3 }, short_of[3] = { 0, 0, 2 };
    EXPECT_EQ(find_nearest_mirror_face(from, to, panes), 1);
    EXPECT_EQ(find_nearest_mirror_face(from, short_of, panes), -1);
}

TEST(BeamPointListTest, CountRunsOnAcrossCallsAndStopsAtCapacity) {
    BeamSegment path[10];
    PointStore store(60);
    for (int k = 0; k < 6; k++) {
        const float dir[3] = { SLANT[0], SLANT[1] + 0.1f * float(k), -SLANT[2] };
        trace_beam_path(START, dir, cube(true), 1000.0f, 10, path, &store.list);
        EXPECT_EQ(store.list.count, 10 * (k + 1));
    }
    EXPECT_FLOAT_EQ(store.intensities[50], 1.0f);   // each beam starts its own fade
    // A seventh beam finds the list full: still traced, nothing written past the end.
    EXPECT_EQ(trace_beam_path(START, SLANT, cube(true), 1000.0f, 10, path, &store.list), 10);
    EXPECT_EQ(store.list.count, 60);
    EXPECT_EQ(store.intensities[60], -7.0f);
    EXPECT_EQ(store.points[180], -7.0f);
}

class BeamDrawTest : public GLTest {};

TEST_F(BeamDrawTest, EachSegmentIsOneLineColouredByItsEndsBrightness) {
    app.show_started = 0;
    reset_render_state(BLACK_RGBA);
    set_ortho_view(0);
    glTranslatef(0, 0, 2);
    glScalef(0.4f, 0.4f, 0.4f);
    const float blue[4] = { 0.1f, 0.25f, 1.0f, 1.0f };
    std::vector<float> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    trace_beam(START, SLANT, cube(true), 1000.0f, 4, 2.0f, blue, nullptr, RF_NO_DEPTH_WRITE);
    const int n = glRenderMode(GL_RENDER);
    ASSERT_EQ(n, 4 * 15);   // four lines: a token and two (x, y, z, r, g, b, a) ends each
    for (int s = 0; s < 4; s++) {
        const float *line = &buffer[s * 15];
        EXPECT_TRUE(line[0] == float(GL_LINE_TOKEN) || line[0] == float(GL_LINE_RESET_TOKEN));
        EXPECT_NEAR(line[6], 1.0f - 0.25f * float(s), 1e-5f);    // blue and alpha both scaled
        EXPECT_NEAR(line[7], 1.0f - 0.25f * float(s), 1e-5f);
        EXPECT_NEAR(line[13], 0.75f - 0.25f * float(s), 1e-5f);
        EXPECT_NEAR(line[14], 0.75f - 0.25f * float(s), 1e-5f);
    }
    GLint src = 0, dst = 0;   // left for the caller: additive smooth lines, no texture
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH) && !glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
