// tests/show/scene_helpers_test.cpp - the folded saw, the wave deformer, the rings and
// texture coordinates of both tubes (read back through GL feedback) and which emblem face
// shows when, in which corner.
#include "gl_fixture.h"
#include "show/scene_helpers.h"
#include "precalc/resources.h"
#include "render/math.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

TEST(FoldQuarterTest, RisesToAQuarterThenJumpsAndFallsBack) {
    EXPECT_FLOAT_EQ(fold_quarter(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(fold_quarter(0.0625f), 0.125f);
    EXPECT_FLOAT_EQ(fold_quarter(0.125f), 0.25f);
    EXPECT_NEAR(fold_quarter(0.126f), 0.748f, 1e-5f);
    EXPECT_NEAR(fold_quarter(0.2f), 0.6f, 1e-5f);
    EXPECT_NEAR(fold_quarter(0.3f), 0.1f, 1e-5f);   // the next quarter starts over
    EXPECT_NEAR(fold_quarter(83.1f), 0.2f, 1e-4f);
    EXPECT_NEAR(fold_quarter(83.2f), 0.6f, 1e-4f);
}

TEST(VertexDeformerTest, WaveLiftsOnlyYAndVanishesWithZeroStrength) {
    const float p[3] = { 3, -2, 7 }, n[3] = { 0, 0, 1 };
    float out[3];
    for (float s : { 0.0f, 0.37f, 6.0f }) {
        EXPECT_EQ(wave_deform(out, s, p, n, 1, 0), out);
        EXPECT_FLOAT_EQ(out[0], 3);
        EXPECT_FLOAT_EQ(out[1], -2);
        EXPECT_FLOAT_EQ(out[2], 7);
    }
    // At s = 0 the phase is 0.01 z: a quarter wave at z = 50 pi lifts by 10 k.
    const float crest[3] = { 1, 2, float(50 * PI) };
    wave_deform(out, 0, crest, n, 0, 1.5f);
    EXPECT_NEAR(out[1], 2 + 15, 1e-3f);
    EXPECT_FLOAT_EQ(out[2], crest[2]);
    wave_deform(out, 0, p, n, 0, 1);
    EXPECT_NEAR(out[1], -2 + 10 * std::sin(0.07f), 1e-5f);
}

class TubeTest : public GLTest {
protected:
    struct Corner { float z, s, t; };

    // Draws the tube with z mapped onto window x (1 unit = 3.2 pixels around x = 320) and
    // returns every corner's tube z and texture coordinates.
    static std::vector<Corner> corners(void (*tube)(float, float, int, int, RenderFlags), float a) {
        app.show_started = 0;
        reset_render_state(BLACK_RGBA);
        set_ortho_view(0);
        const float to_x[16] = { 0, 0.01f, 0, 0,  0, 0, 0.01f, 0,  0.01f, 0, 0, 0,  0, 0, 0.5f, 1 };
        glMultMatrixf(to_x);   // x' = z / 100, y' = x / 100, z' = y / 100 + 0.5
        std::vector<float> buffer(200000);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        tube(a, 3, 16, 32, RF_NO_CULL);
        const int n = glRenderMode(GL_RENDER);
        std::vector<Corner> out;
        for (int i = 0; i < n;) {
            EXPECT_EQ(buffer[i], float(GL_POLYGON_TOKEN));
            const int count = int(buffer[i + 1]);
            EXPECT_EQ(count, 3);
            i += 2;
            for (int v = 0; v < count; v++, i += 11)
                out.push_back({ (buffer[i] / 320.0f - 1) * 100, buffer[i + 7], buffer[i + 8] });
        }
        return out;
    }
};

TEST_F(TubeTest, DrawsTheSixtyFourRingsAroundThePositionShiftedBack) {
    const auto c = corners(draw_tube, 10.5f);
    ASSERT_EQ(c.size(), 64u * 16 * 2 * 3);
    auto [lo, hi] = std::minmax_element(c.begin(), c.end(), [](auto &a, auto &b) { return a.z < b.z; });
    EXPECT_NEAR(lo->z, -22 - 10.5f, 0.05f);   // ring -22 ...
    EXPECT_NEAR(hi->z, 42 - 10.5f, 0.05f);    // ... to the far edge of ring 41
    for (const Corner &k : c) {
        EXPECT_NEAR(k.t * 16, k.z + 10.5f, 0.05f);   // t follows the ring index
        EXPECT_GE(k.s, 0.0f);
        EXPECT_LE(k.s, 1.0f);
    }
}

TEST_F(TubeTest, SpiralWindsTheTextureOneRepeatPerTurn) {
    const auto c = corners(draw_spiral_tube, 0.25f);
    ASSERT_EQ(c.size(), 64u * 16 * 2 * 3);
    float top = 0;
    for (const Corner &k : c) {
        EXPECT_NEAR((k.t - k.s) * 16, k.z + 0.25f, 0.05f);   // ring index once the turn is taken off
        top = std::max(top, k.t);
    }
    EXPECT_NEAR(top, (32 + 16) / 16.0f, 1e-4f);   // last ring, last segment
}

class EmblemTest : public GLTest {
protected:
    // Part a: one square facing +z, 70 wide. Part b: the same square as two faces more.
    static inline const float SQUARE[] = { -70, -70, 0, 70, -70, 0, 70, 70, 0, -70, 70, 0 };
    static inline const int A_FACES[] = { 0, 1, 2, 0, 2, 3 };
    static inline const int B_FACES[] = { 0, 1, 2, 0, 2, 3, 0, 1, 2, 0, 2, 3 };
    // The emblem's own parts, made once and kept (like the show's records, they live on); each
    // test puts them in place of whatever an earlier test of the program left in res.
    struct Parts { MeshObject *a, *b; Texture *metal; };
    static const Parts &parts() {
        static const Parts made = { build_mesh(A_FACES, SQUARE, nullptr, nullptr, nullptr, 4, 2, RF_FLAT),
                                    build_mesh(B_FACES, SQUARE, nullptr, nullptr, nullptr, 4, 4, RF_FLAT),
                                    make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0) };
        return made;
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        saved_ = { res.twin_part_a_mesh, res.twin_part_b_mesh, res.metal_texture };
        res.twin_part_a_mesh = parts().a;
        res.twin_part_b_mesh = parts().b;
        res.metal_texture = parts().metal;
        reset_render_state(BLACK_RGBA);
    }
    void TearDown() override {
        res.twin_part_a_mesh = saved_.a;
        res.twin_part_b_mesh = saved_.b;
        res.metal_texture = saved_.metal;
    }
    Parts saved_ = {};
};

TEST_F(EmblemTest, FrontForTheFirstHalfTurnBackForTheSecondInTheLowerRightCorner) {
    const struct { float t; int faces; } cases[] = { { 0, 2 }, { 0.25f, 4 }, { 0.4f, 4 }, { 0.5f, 2 }, { 2.3f, 4 } };
    for (const auto &c : cases) {
        draw_corner_emblem(c.t);
        EXPECT_EQ(render.drawn.faces, c.faces) << "t = " << c.t;   // the emblem's own reset zeroes the count
    }
    EXPECT_FLOAT_EQ(render.view.far_plane, 1000.0f);
    reset_render_state(BLACK_RGBA);
    draw_corner_emblem(0.125f);   // a quarter turn on: face-on
    EXPECT_GT(read_pixels(288 + 48, 36, 1, 1)[0], 200);
    EXPECT_EQ(read_pixels(288 - 4, 36, 1, 1)[0], 0);
    EXPECT_EQ(read_pixels(288 + 48, 72 + 4, 1, 1)[0], 0);
}
