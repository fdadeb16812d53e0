// tests/show/segment_tunnels_test.cpp - the funnel's scattered tube and its closing in at
// show time 51, segments that keep their place while the camera passes, the rush's
// eleven-row window, and both flights drawn over the show's own meshes.
#include "grey_show_fixture.h"
#include "show/segment_tunnels.h"
#include "render/render_state.h"
#include "precalc/resources.h"
#include <GL/gl.h>
#include <cmath>

constexpr float SEGMENT_DEPTH = 0.45f;   // how far a rush segment reaches along +z from its row

TEST(FunnelTest, ScatteredTubeBeforeShowTimeFiftyOne) {
    for (float x : { 47.01f, 49.3f, 50.999f }) {
        FunnelSegment g[FUNNEL_SEGMENTS];
        const int n = funnel_segments(x, g);
        EXPECT_EQ(n, FUNNEL_SEGMENTS) << x;
        EXPECT_EQ(g[0].k, int(std::trunc(64.0f * x))) << x;
        for (int i = 0; i < n; i++) EXPECT_EQ(g[i].radius, FUNNEL_RADIUS_CAP) << x << " " << i;
    }
}

TEST(FunnelTest, ClosesInFromFiftyOneWithTheCapNearTheEighteenthSegment) {
    for (float x : { 51.0f, 51.0039f, 51.37f, 52.9f, 70.12f }) {
        FunnelSegment g[FUNNEL_SEGMENTS];
        const int n = funnel_segments(x, g);
        EXPECT_GE(g[0].radius, 0.0f) << x;
        EXPECT_LE(g[0].radius, 1.0f) << x;
        int capped = 0;
        while (capped < n && g[capped].radius < FUNNEL_RADIUS_CAP) capped++;
        EXPECT_GE(capped, 17) << x;   // f reaches sqrt(300) = 17.3 at the 18th or 19th segment
        EXPECT_LE(capped, 18) << x;
        for (int i = 1; i < capped; i++) EXPECT_GT(g[i].radius, g[i - 1].radius) << x;
        for (int i = capped; i < n; i++) EXPECT_EQ(g[i].radius, FUNNEL_RADIUS_CAP) << x;
    }
}

TEST(FunnelTest, SegmentKeepsItsAngleWhileTheCameraPassesIt) {
    const float x1 = 51.2f, x2 = 51.2f + 3.5f / 64.0f;   // the camera flies on 3.5 segments
    FunnelSegment a[FUNNEL_SEGMENTS], b[FUNNEL_SEGMENTS];
    const int na = funnel_segments(x1, a), nb = funnel_segments(x2, b);
    EXPECT_NEAR(funnel_eye_z(x2) - funnel_eye_z(x1), 175.0f, 0.05f);
    int shared = 0;
    for (int i = 0; i < na; i++) {
        for (int j = 0; j < nb; j++) {
            if (a[i].k != b[j].k) continue;
            shared++;
            EXPECT_EQ(a[i].angle, b[j].angle) << a[i].k;
            EXPECT_EQ(a[i].mesh, b[j].mesh) << a[i].k;
            if (a[i].radius < FUNNEL_RADIUS_CAP) {
                EXPECT_LT(b[j].radius, a[i].radius) << a[i].k;   // closing in
            }
        }
    }
    EXPECT_GE(shared, 37);
    // Neighbours are turned differently, and all seven meshes take their turn.
    int seen = 0;
    for (int i = 1; i < na; i++) EXPECT_NE(a[i].angle, a[i - 1].angle);
    for (int i = 0; i < 7; i++) seen |= 1 << a[i].mesh;
    EXPECT_EQ(seen, 0x7f);
}

TEST(RushTest, ElevenRowsEnterBeyondTheFarPlaneAndLeaveBehindTheEye) {
    int first = 0, last = 0;
    for (float x : { 64.0f, 64.51f, 65.93f }) {
        rush_rows(x, &first, &last);
        EXPECT_EQ(last - first, 10) << x;
        EXPECT_EQ(first + 5, int(std::trunc(32.0f * x))) << x;
    }
    const int k = 2070;   // one row, followed from before it appears until after it has gone
    float shown_from = -1, shown_to = -1;
    for (int step = 0; step <= 20000; step++) {
        const float x = 64.5f + float(step) / 20000.0f;
        rush_rows(x, &first, &last);
        if (k < first || k > last) continue;
        if (shown_from < 0) shown_from = x;
        shown_to = x;
    }
    EXPECT_NEAR(shown_from, (k - 5) / 32.0f, 1e-4f);
    EXPECT_NEAR(shown_to - shown_from, 11.0f / 32.0f, 2e-4f);   // drawn 11 steps, the last 10/32 after the first
    EXPECT_GT(rush_row_z(shown_from, k) - RUSH_EYE_Z, RUSH_FAR_PLANE);   // appears unseen, out of reach
    EXPECT_LT(rush_row_z(shown_to, k) + SEGMENT_DEPTH, RUSH_EYE_Z);      // gone wholly behind the eye
}

TEST(RushTest, LiftAndMeshStayInRange) {
    for (int k = 1900; k < 2200; k++) {
        for (int j = 0; j < 2; j++) {
            const RushSegment g = rush_segment(64.7f, k, j);
            EXPECT_GE(g.mesh, 2) << k;
            EXPECT_LE(g.mesh, 6) << k;
            EXPECT_GE(g.lift, 0.0f) << k;
            EXPECT_LE(g.lift, 1.0f) << k;
        }
    }
}

using SegmentDrawTest = GreyShowTest;

TEST_F(SegmentDrawTest, BothFlightsShowSegmentsWithoutGLErrors) {
    for (float x : { 47.3f, 50.97f, 51.03f, 52.9f, 76.2f, 64.03f, 65.9f }) {
        if (x >= 64.0f && x < 66.0f) small_parts_light_scene(x, res.screen_texture_b);
        else                         small_parts_metal_scene(x, res.screen_texture_b);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << x;
        long sum = 0;
        for (unsigned char c : read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT)) sum += c;
        EXPECT_GT(sum, 384L * 288 * 3 * 5) << x;   // on average brighter than 5 of 255
    }
}
