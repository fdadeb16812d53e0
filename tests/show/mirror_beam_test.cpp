// tests/show/mirror_beam_test.cpp - the beam scene's rules (the mask schedule, the camera
// cuts, the hall lighting and its dark second showing), its beams against the show's own
// mirror room, and what the scene leaves in the frame.
#include "gl_fixture.h"
#include "show/mirror_beam.h"
#include "data/embedded_meshes.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>
#include <set>
#include <vector>

static int bits(int mask) {
    int n = 0;
    for (; mask; mask >>= 1) n += mask & 1;
    return n;
}

static MeshObject *embedded(const char *name, bool compile) {
    const EmbeddedMesh *e = find_embedded_mesh(name);
    if (!e) return nullptr;
    return compile ? build_mesh(e->faces, e->positions, nullptr, nullptr, nullptr, e->vertex_count, e->face_count, RF_FLAT)
                   : build_mesh_data(e->faces, e->positions, nullptr, nullptr, e->vertex_count, e->face_count, RF_FLAT);
}

TEST(BeamMaskTest, BeamsComeOnOneCombinationPerThirtySecondUntilAllSixAtTwo) {
    int table[BEAM_MASK_ENTRIES];
    fill_beam_mask_table(table);
    EXPECT_EQ(table[64], 63);   // the falling half starts where the rising one ends
    EXPECT_EQ(table[127], 0);
    const int first[] = { 0, 1, 2, 4, 8, 16, 32, 3 };   // none, each beam alone, the first pair
    for (int i = 0; i < 8; i++) EXPECT_EQ(beam_mask(float(i) / 32 + 0.001f), first[i]) << i;
    std::set<int> seen;
    int lit = 0;
    for (float t = 0; t < 2.0f; t += 1.0f / 256) {
        const int mask = beam_mask(t);
        EXPECT_GE(bits(mask), lit) << "t = " << t;   // never fewer beams than a moment ago
        lit = bits(mask);
        seen.insert(mask);
    }
    EXPECT_EQ(seen.size(), 64u);
    EXPECT_LT(beam_mask(1.96f), 63);
    for (float t : { 1.97f, 2.0f, 5.99f, 73.0f, 76.99f }) EXPECT_EQ(beam_mask(t), 63) << "t = " << t;
}

TEST(BeamCameraTest, CutsEveryHalfPatternInBothShowings) {
    const struct { float t; int camera; } cuts[] = {
        { 0.0f, 0 }, { 0.49f, 0 }, { 0.5f, 1 }, { 0.99f, 1 }, { 1.0f, 0 }, { 1.5f, 1 }, { 5.75f, 1 },
        { 73.0f, 0 }, { 73.25f, 0 }, { 73.5f, 1 }, { 74.0f, 0 }, { 76.6f, 1 },
    };
    for (const auto &c : cuts) EXPECT_EQ(beam_camera(c.t), c.camera) << "t = " << c.t;
}

TEST(HallLightTest, BouncePointsLightNearVerticesBlueAndNothingAfterSeventyTwo) {
    const float positions[] = { 0, 0, 0, 0.5f, 0, 0, 10, 0, 0 };
    float points[] = { 0, 0, 0, 0, 3, 0 }, intensities[] = { 1.0f, 0.1f }, colours[9], alone[9];
    BeamPointList list = { points, intensities, 1, 2 };
    light_hall(alone, positions, 3, list, 3.0f);
    list.count = 2;
    light_hall(colours, positions, 3, list, 3.0f);
    for (float c : colours) EXPECT_TRUE(std::isfinite(c));   // a point right on a vertex
    EXPECT_GT(colours[1 * 3 + 2], colours[2 * 3 + 2] * 10);   // nearer is brighter
    EXPECT_GT(colours[2 * 3 + 2], alone[2 * 3 + 2]);          // the points add up
    EXPECT_NEAR(colours[1 * 3 + 0] / colours[1 * 3 + 2], 0.1f, 1e-5f);
    EXPECT_NEAR(colours[1 * 3 + 1] / colours[1 * 3 + 2], 0.25f, 1e-5f);
    for (float t : { 72.01f, 73.0f, 76.9f }) {
        std::fill(colours, colours + 9, 5.0f);
        light_hall(colours, positions, 3, list, t);
        for (float c : colours) EXPECT_EQ(c, 0.0f) << "t = " << t;
    }
}

TEST(BeamRoomTest, EveryBeamOfTheShowStaysInsideTheMirrorRoom) {
    MeshObject *room = embedded("beam_mirror_mesh", false);
    ASSERT_NE(room, nullptr);
    const float start[3] = { 0, 1, 0 };
    BeamSegment path[BEAM_SEGMENTS];
    int escaped = 0, traced = 0;
    for (float t : { 0.0f, 73.0f }) {
        const float end = t + (t == 0.0f ? 6.0f : 4.0f);
        for (float s = t; s < end; s += 1.0f / 64)
            for (int k = 0; k < BEAM_COUNT; k++) {
                if (!(beam_mask(s) & (1 << k))) continue;
                traced++;
                float dir[3];
                beam_direction(dir, k, s);
                const int n = trace_beam_path(start, dir, room, 1000.0f, BEAM_SEGMENTS, path, nullptr);
                if (n < BEAM_SEGMENTS) escaped++;
                for (int i = 0; i < n; i++) {
                    EXPECT_LT(std::hypot(path[i].to[0], path[i].to[2]), 8.6f) << "t = " << s << ", beam " << k;
                    EXPECT_GT(path[i].to[1], -2.1f);
                    EXPECT_LT(path[i].to[1], 8.1f);
                }
            }
    }
    EXPECT_GT(traced, 2000);
    EXPECT_EQ(escaped, 0);
}

class MirrorBeamTest : public GLTest {
protected:
    static inline Texture *target;

    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        res.beam_mirror_mesh = embedded("beam_mirror_mesh", true);
        res.beam_hall_mesh = embedded("beam_hall_mesh", true);
        res.flare1_texture = make_solid_texture(4, 4, 0, 0, 0, 255, 1, 1, 1, 0);   // flares add nothing here
        res.screen_texture_chain = make_screen_texture_chain();
        target = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    // Sums of red, green and blue over the offscreen viewport.
    static void frame_sums(long sums[3]) {
        const auto pixels = read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
        sums[0] = sums[1] = sums[2] = 0;
        for (size_t i = 0; i < pixels.size(); i++) sums[i % 3] += pixels[i];
    }
};

TEST_F(MirrorBeamTest, LitBeamsShowBlueAndTheNextUnlitFrameIsBlackAgain) {
    ASSERT_NE(res.beam_mirror_mesh, nullptr);
    long sums[3];
    for (float t : { 3.1f, 3.6f }) {   // one frame from each camera, six beams
        mirror_beam_scene(t, target);
        frame_sums(sums);
        EXPECT_GT(sums[2], 384L * 288 * 4) << "t = " << t;
        EXPECT_GT(sums[2], 2 * sums[0]) << "t = " << t << ": " << sums[0] << " " << sums[1] << " " << sums[2];
    }
    // Nothing from the lit frames may linger: at t = 0 no beam is traced.
    mirror_beam_scene(0.0f, target);
    frame_sums(sums);
    EXPECT_EQ(sums[0] + sums[1] + sums[2], 0L);

    mirror_beam_scene(74.1f, nullptr);   // the dark-hall showing, without a target
    frame_sums(sums);
    EXPECT_GT(sums[2], 0L);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
