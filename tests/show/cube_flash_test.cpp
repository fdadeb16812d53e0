// tests/show/cube_flash_test.cpp - which sculpture and chrome a quarter pattern gets (and
// the 21-quarter repeat), the tumbling ten's step curve, the cubes each sculpture is made
// of, the spectrum corners in silence and with sound, and what moves the bars.
#include "gl_fixture.h"
#include "show/cube_flash.h"
#include "show/frame_plan.h"
#include "platform/settings.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include <GL/gl.h>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

TEST(CubeFlashChoiceTest, SculptureAndChromeChangeTogetherAndRepeatEvery21Quarters) {
    std::set<std::pair<int, int>> seen;
    for (int k = 0; k < 21; k++) {
        const float t = 21.0f + k / 4.0f + 0.1f;
        const auto pair = std::make_pair(cube_flash_sculpture(t), cube_flash_chrome(t));
        EXPECT_TRUE(seen.insert(pair).second) << "quarter " << k << " repeats an earlier pair";
        EXPECT_EQ(cube_flash_sculpture(t + 5.25f), pair.first);   // 21 quarters on
        EXPECT_EQ(cube_flash_chrome(t + 5.25f), pair.second);
        // Within a quarter nothing changes; the next quarter changes both.
        EXPECT_EQ(cube_flash_sculpture(t + 0.14f), pair.first);
        EXPECT_NE(cube_flash_sculpture(t + 0.25f), pair.first);
        EXPECT_NE(cube_flash_chrome(t + 0.25f), pair.second);
    }
    EXPECT_EQ(seen.size(), 21u);
}

TEST(CubeFlashChoiceTest, TheScriptFlashesFourBeatsWithFourDifferentSculptures) {
    std::set<int> shown;
    int frames = 0;
    for (float t = 21.0f; t < 33.0f; t += 1.0f / 256.0f) {
        FramePlan plan;
        plan_frame(t, plan);
        for (int c = 0; c < plan.count; c++)
            if (plan.calls[c].op == PLAN_SCENE && plan.calls[c].scene == SCENE_CUBE_FLASH) {
                EXPECT_FLOAT_EQ(plan.calls[c].arg[0], t) << "the flash runs on show time";
                shown.insert(cube_flash_sculpture(plan.calls[c].arg[0]));
                frames++;
            }
    }
    EXPECT_EQ(frames, 4 * 16);   // one beat each at 21, 23, 25 and 29
    EXPECT_EQ(shown, (std::set<int>{ 0, 1, 2, 4 }));
}

TEST(CubeFlashStepTest, StepRisesHoldsFallsAndRepeatsWithoutJumps) {
    EXPECT_EQ(cube_flash_step16(3.0f), 0.0f);
    EXPECT_FLOAT_EQ(cube_flash_step16(7.5f), 0.5f);
    EXPECT_EQ(cube_flash_step16(12.0f), 1.0f);
    EXPECT_FLOAT_EQ(cube_flash_step16(15.25f), 0.75f);
    EXPECT_FLOAT_EQ(cube_flash_step16(16.0f + 7.5f), 0.5f);
    EXPECT_FLOAT_EQ(cube_flash_step16(-0.5f), 0.5f);   // 15.5 of the period before
    float last = cube_flash_step16(-32.0f);
    for (float x = -32.0f; x < 48.0f; x += 1.0f / 64.0f) {
        const float y = cube_flash_step16(x);
        EXPECT_GE(y, 0.0f);
        EXPECT_LE(y, 1.0f);
        ASSERT_LT(std::fabs(y - last), 0.02f) << "jump at " << x;
        last = y;
    }
}

TEST(CubeFlashCornersTest, SilenceGivesEightEqualCubesOnTheCorners) {
    const float silence[4] = { 0, 0, 0, 0 };
    float cubes[8][4];
    cube_flash_corners(silence, cubes);
    std::set<std::vector<int>> corners;
    for (const auto &c : cubes) {
        EXPECT_FLOAT_EQ(c[0], 0.2f);
        for (int k = 1; k < 4; k++) EXPECT_FLOAT_EQ(std::fabs(c[k]), 0.2f);
        corners.insert({ c[1] > 0, c[2] > 0, c[3] > 0 });
    }
    EXPECT_EQ(corners.size(), 8u) << "every corner once";
}

TEST(CubeFlashCornersTest, EachBandGrowsTwoCubesOneAboveOneBelow) {
    for (int b = 0; b < 4; b++) {
        float band[4] = { 0, 0, 0, 0 }, cubes[8][4];
        band[b] = 10.0f;
        cube_flash_corners(band, cubes);
        int grown = 0, above = 0;
        for (const auto &c : cubes) {
            if (c[0] < 0.25f) continue;
            grown++;
            above += c[2] > 0;
            EXPECT_FLOAT_EQ(c[0], 0.5f);
            EXPECT_FLOAT_EQ(std::fabs(c[1]), 0.5f) << "a corner cube stays on its diagonal";
        }
        EXPECT_EQ(grown, 2) << "band " << b;
        EXPECT_EQ(above, 1) << "band " << b;
    }
}

class CubeSculptureTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        res.unit_cube = make_box(RF_FLAT);
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
    // The sculpture in white from a fixed camera; returns the window's pixels.
    static std::vector<unsigned char> draw(int sculpture, float t, const float band[4]) {
        reset_render_state(BLACK_RGBA);
        const CameraKey eye = { 0, 2, 9, 90 };
        const float origin[3] = { 0, 0, 0 };
        set_camera(eye, origin, 0);
        glEnable(GL_LIGHTING);   // shaded, so turned cubes change the picture
        glEnable(GL_LIGHT0);
        draw_cube_sculpture(sculpture, t, band);
        return read_pixels(0, 0, 640, 480);
    }
    static long lit(const std::vector<unsigned char> &rgb) {
        long n = 0;
        for (unsigned char c : rgb) n += c > 20;
        return n;
    }
};

TEST_F(CubeSculptureTest, EachSculptureHasItsNumberOfCubes) {
    const int cubes[CUBE_SCULPTURES] = { 48, 10, 58, 11, 17, 10, 125 };
    const float band[4] = { 1, 2, 3, 4 };
    for (int v = 0; v < CUBE_SCULPTURES; v++) {
        draw(v, 21.3f, band);
        EXPECT_EQ(render.drawn.faces, 12 * cubes[v]) << "sculpture " << v;
        EXPECT_GT(lit(read_pixels(0, 0, 640, 480)), 1000) << "sculpture " << v << " is in view";
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CubeSculptureTest, BarsStandStillAndOnlyTheBassStretchesThem) {
    const float quiet[4] = { 0, 5, 5, 5 }, loud[4] = { 8, 5, 5, 5 };
    const auto early = draw(1, 21.1f, quiet), late = draw(1, 27.9f, quiet);
    EXPECT_EQ(early, late);
    const auto stretched = draw(1, 21.1f, loud);
    EXPECT_GT(lit(stretched), lit(early) + 500);
    // The rings, by contrast, turn with time.
    EXPECT_NE(draw(0, 21.1f, quiet), draw(0, 21.2f, quiet));
}

TEST_F(CubeSculptureTest, PulsingSculpturesFollowTheBands) {
    const float silence[4] = { 0, 0, 0, 0 }, loud[4] = { 6, 6, 6, 6 };
    for (int v : { 2, 3, 4, 5 }) {
        EXPECT_GT(lit(draw(v, 21.1f, loud)), lit(draw(v, 21.1f, silence)) + 200) << "sculpture " << v;
    }
    for (int v : { 0, 6 }) EXPECT_EQ(draw(v, 21.1f, loud), draw(v, 21.1f, silence)) << "sculpture " << v;
}
