// tests/app/gl_caps_test.cpp - extension tokens, the clamp rule, error names, and the
// outline font on a real context.
#include "platform/gl_caps.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "gl_fixture.h"

TEST(GLCapsTest, ExtensionTokensMatchWholeNamesOnly) {
    const char *list = "GL_ARB_texture_env_combine GL_ARB_multitexture GL_ARB_texture_cube_map";
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_texture_cube_map"));   // last, no trailing blank
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_texture_env"));       // a prefix is no match
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_texture_env_combine_extra"));
    EXPECT_FALSE(extension_list_has(list, nullptr));
    EXPECT_FALSE(extension_list_has(nullptr, "GL_ARB_multitexture"));
    EXPECT_FALSE(extension_list_has("", "GL_ARB_multitexture"));
    EXPECT_TRUE(extension_list_has("GL_A  GL_B ", "GL_B"));             // double blanks are harmless
}

TEST(GLCapsTest, ClampModeFollowsTheVersion) {
    EXPECT_EQ(clamp_mode_for_version("1.1.0 Vendor"), GLenum(GL_CLAMP));
    EXPECT_EQ(clamp_mode_for_version("1.2"), GLenum(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(clamp_mode_for_version("2.0 Mesa"), GLenum(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(clamp_mode_for_version("4.5 (Compatibility Profile) Mesa 22.3.6"), GLenum(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(clamp_mode_for_version("OpenGL"), GLenum(GL_CLAMP));
    EXPECT_EQ(clamp_mode_for_version("3"), GLenum(GL_CLAMP));
    EXPECT_EQ(clamp_mode_for_version(nullptr), GLenum(GL_CLAMP));
}

TEST(GLCapsTest, ErrorNames) {
    EXPECT_STREQ(gl_error_name(0x0500), "GL_INVALID_ENUM");
    EXPECT_STREQ(gl_error_name(0x0502), "GL_INVALID_OPERATION");
    EXPECT_STREQ(gl_error_name(0x0505), "GL_OUT_OF_MEMORY");
    EXPECT_STREQ(gl_error_name(0x0506), "UNKNOWN GL_ERROR");
}

// The checks on made-up drivers: Mesa cannot switch these extensions off for real.
static const char *ALL = "GL_ARB_multitexture GL_ARB_texture_env_combine GL_ARB_texture_cube_map";

TEST(GLCapsDeathTest, WhatTheShowCannotDoWithoutIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    app.unattended = true;
    EXPECT_EXIT(check_driver({16, "1.2", ALL, 4}), ::testing::ExitedWithCode(0),
                "FATAL: Failed to initialize 24bpp mode, buy some decent hardware asshole!");
    EXPECT_EXIT(check_driver({24, "1.2", "GL_ARB_texture_env_combine", 4}), ::testing::ExitedWithCode(0),
                "FATAL: Your shitty 3d card doesnt support GL_ARB_multitexture!");
    EXPECT_EXIT(check_driver({24, "1.2", "GL_ARB_multitexture GL_ARB_texture_env", 4}),
                ::testing::ExitedWithCode(0),
                "FATAL: Your shitty 3d card doesnt support GL_ARB_texture_env_combine!");
    EXPECT_EXIT(check_driver({24, "1.2", ALL, 1}), ::testing::ExitedWithCode(0),
                "FATAL: Your shitty 3d card doesnt have enough multitexturing units!\n"
                "What kind of shitty card tries to do multitexturing with only one texture unit anyway\\?");
}

TEST(GLCapsTest, MissingCubeMapsOnlyWarn) {
    app.unattended = true;
    testing::internal::CaptureStderr();
    check_driver({24, "1.1", "GL_ARB_multitexture GL_ARB_texture_env_combine", 2});
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "WARNING: Your shitty 3d card doesnt support cube map extension, using ugly and slow fallback\n");
    EXPECT_EQ(gl_caps.cube_map_supported, 0);
    EXPECT_EQ(gl_caps.texture_clamp_mode, GLenum(GL_CLAMP));
    check_driver({24, "2.1", ALL, 2});
    EXPECT_EQ(gl_caps.cube_map_supported, 1);
    EXPECT_EQ(gl_caps.texture_clamp_mode, GLenum(GL_CLAMP_TO_EDGE));
}

using GLErrorDeathTest = GLTest;
TEST_F(GLErrorDeathTest, PendingErrorIsFatalWithItsName) {
    EXPECT_EXIT({
        glEnable(0xFFFF);   // GL_INVALID_ENUM
        check_gl_error();
    }, ::testing::ExitedWithCode(0), "FATAL: GL_INVALID_ENUM");
}

using OutlineFontTest = GLTest;
TEST_F(OutlineFontTest, GlyphsDrawAndPrintTextLeavesTheMatrixAlone) {
    static bool made = false;
    if (!made) create_outline_font();
    made = true;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 8, 0, 6, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 1, 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);

    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    print_text("");
    print_text("\xff");   // code 255 has an empty list
    auto blank = read_pixels(0, 0, 640, 480);
    int lit = 0;
    for (unsigned char v : blank) lit += v > 0;
    EXPECT_EQ(lit, 0);

    print_text("HI");
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(before[i], after[i]);
    auto text = read_pixels(80, 80, 160, 80);   // about 2 em right, 1 em up from the origin
    lit = 0;
    for (unsigned char v : text) lit += v > 128;
    EXPECT_GT(lit, 300);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
