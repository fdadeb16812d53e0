// tests/render/render_state_test.cpp - the default state, RenderFlags precedence, what
// push/pop restores, the view set-ups and the start-up wipe, read back with glGet.
#include "gl_fixture.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>

static GLint get_int(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

static void expect_blend(GLenum src, GLenum dst) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GLint(src));
    EXPECT_EQ(get_int(GL_BLEND_DST), GLint(dst));
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
}

class RenderStateTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
        reset_render_state(nullptr);
    }
};

TEST_F(RenderStateTest, ResetGivesTheShowDefaultsAndViewSettings) {
    glEnable(GL_BLEND);
    glDepthFunc(GL_ALWAYS);
    render.view.near_plane = 5;
    render.view.offset[0] = 0.2f;
    render.drawn.faces = 99;
    reset_render_state(nullptr);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CCW);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(get_int(GL_ALPHA_TEST_FUNC), GL_ALWAYS);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_DITHER));
    EXPECT_EQ(render.view.near_plane, 0.1f);
    EXPECT_EQ(render.view.far_plane, 1000.0f);
    EXPECT_EQ(render.view.offset[0], 0.0f);
    EXPECT_EQ(render.view.up[1], 1.0f);
    EXPECT_EQ(render.drawn.faces, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(RenderStateTest, ResetClearsOnlyWhenGivenAColour) {
    const float red[4] = { 1, 0, 0, 1 };
    reset_render_state(red);
    EXPECT_EQ(read_pixels(10, 10, 1, 1)[0], 255);
    reset_render_state(nullptr);
    EXPECT_EQ(read_pixels(10, 10, 1, 1)[0], 255);
    reset_render_state(BLACK_RGBA);
    EXPECT_EQ(read_pixels(10, 10, 1, 1)[0], 0);
}

TEST_F(RenderStateTest, PlainFlagsCullBackAndTestDepthWithLess) {
    apply_render_flags(0);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderStateTest, BlendBitsTakePrecedenceAddDarkenMultiplyAlphaScreen) {
    apply_render_flags(RF_BLEND_ALPHA | RF_BLEND_ADD);
    expect_blend(GL_ONE, GL_ONE);
    apply_render_flags(RF_BLEND_SCREEN | RF_BLEND_MULTIPLY | RF_BLEND_DARKEN);
    expect_blend(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    apply_render_flags(RF_BLEND_SCREEN | RF_BLEND_MULTIPLY);
    expect_blend(GL_ZERO, GL_SRC_COLOR);
    apply_render_flags(RF_BLEND_SCREEN | RF_BLEND_ALPHA);
    expect_blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    apply_render_flags(RF_BLEND_SCREEN);
    expect_blend(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
    apply_render_flags(RF_NO_CULL);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LESS);
}

TEST_F(RenderStateTest, CullAndDepthCombinations) {
    apply_render_flags(RF_CULL_FRONT | RF_NO_CULL);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    apply_render_flags(RF_CULL_FRONT);
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_FRONT);
    apply_render_flags(RF_NO_DEPTH_TEST | RF_NO_DEPTH_WRITE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_FALSE);
    apply_render_flags(RF_NO_DEPTH_WRITE);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_FALSE);
    apply_render_flags(RF_OFFSCREEN);   // a view bit: no effect here
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_TRUE);
}

TEST_F(RenderStateTest, PopRestoresEnablesFogAndViewportButNotTheBlendFunction) {
    glViewport(0, 0, 640, 480);
    glBlendFunc(GL_ONE, GL_ZERO);
    push_render_state();
        apply_render_flags(RF_BLEND_ADD | RF_NO_CULL);
        set_fog(BLACK_RGBA, 0, 16);
        glViewport(0, 0, 384, 288);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(1, 2, 3);
    pop_render_state();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ONE);   // the colour-buffer group is not saved
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
    EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(RenderStateTest, ViewSetupsPickTheViewportAndTheFieldOfView) {
    const float target[3] = { 0, 0, 0 };
    set_camera({ 0, 0, 5, 0 }, target, RF_OFFSCREEN);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[0], 0);
    EXPECT_EQ(vp[1], 0);
    EXPECT_EQ(vp[2], 384);
    EXPECT_EQ(vp[3], 288);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1.0f, 1e-5f);          // fov 0 means 90 degrees: cot(45) = 1
    EXPECT_NEAR(p[0], 1.0f / 1.2f, 1e-5f);   // aspect 1.2 always
    set_ortho_view(0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 480);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    // z = +0.1 (eye space) maps to the near clip plane, +1000 to the far one
    EXPECT_NEAR(p[10] * 0.1f + p[14], -1.0f, 1e-4f);
    EXPECT_NEAR(p[10] * 1000.0f + p[14], 1.0f, 1e-4f);
}

TEST_F(RenderStateTest, ProjectionOffsetShiftsThePicture) {
    render.view.offset[0] = 0.236f;
    render.view.offset[1] = -0.236f;
    set_perspective(60, 0);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    // A point on the axis lands at (0.236, -0.236) in normalised device units.
    const float z = -10, w = p[11] * z;
    EXPECT_NEAR((p[8] * z + p[12]) / w, 0.236f, 1e-5f);
    EXPECT_NEAR((p[9] * z + p[13]) / w, -0.236f, 1e-5f);
}

TEST_F(RenderStateTest, OnlyTheFirstEightResetsAfterTheStartWipeTheWindow) {
    render.startup_wipes = 0;
    app.show_started = 1;
    for (int i = 0; i < 8; i++) {
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        reset_render_state(nullptr);
        EXPECT_EQ(read_pixels(600, 400, 1, 1)[1], 0) << "reset " << i;
    }
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    reset_render_state(nullptr);
    EXPECT_EQ(read_pixels(600, 400, 1, 1)[1], 255);
    EXPECT_EQ(render.startup_wipes, 9);
    app.show_started = 0;
}
