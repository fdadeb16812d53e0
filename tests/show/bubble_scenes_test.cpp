// tests/show/bubble_scenes_test.cpp - bubble heights in the shaft and the field (where they
// wrap, how the shaft's lift takes over), the big bubble's path, and the reflection of the
// target's previous picture.
#include "gl_fixture.h"
#include "show/bubble_scenes.h"
#include "geometry/procedural.h"
#include "precalc/resources.h"
#include "render/render_state.h"
#include "platform/settings.h"
#include <GL/gl.h>
#include <cmath>

TEST(ShaftBubbleTest, HeightsWrapFromTopToBottomWhileRisingAlone) {
    // Bubble i wraps where 0.5 x + 0.3754 i crosses a whole number.
    for (int i = 0; i < BUBBLES; i++) {
        const float wrap = 2.0f * (std::ceil(0.3754f * i + 0.5f) - 0.3754f * i);   // in (1, 3]
        EXPECT_NEAR(shaft_bubble_height(wrap - 0.002f, i), 8.0f, 0.02f) << "i = " << i;
        EXPECT_NEAR(shaft_bubble_height(wrap + 0.002f, i), -8.0f, 0.02f) << "i = " << i;
    }
}

TEST(ShaftBubbleTest, SecondHalfOfTheCycleRidesTheLiftWithoutAJump) {
    EXPECT_EQ(shaft_lift(84.0f), 0.0f);   // d = 4
    EXPECT_NEAR(shaft_lift(86.0f), 20.0f, 1e-4f);
    EXPECT_NEAR(shaft_lift(87.999f), 40.0f, 0.02f);
    EXPECT_EQ(shaft_lift(88.0f), 0.0f);   // the next cycle starts at the bottom
    for (int i = 0; i < BUBBLES; i++) {
        EXPECT_NEAR(shaft_bubble_height(84.0f, i), shaft_bubble_height(84.001f, i), 0.02f) << "i = " << i;
        EXPECT_NEAR(shaft_bubble_height(86.0f, i) - shaft_bubble_height(84.001f, i), 20.0f, 0.02f);
    }
}

TEST(ShaftBubbleTest, BigBubbleRisesFromMinusThreeThenLeadsTheLift) {
    float a = 0;
    EXPECT_FALSE(big_bubble_height(82.99f, &a));
    ASSERT_TRUE(big_bubble_height(83.0f, &a));
    EXPECT_FLOAT_EQ(a, -3.0f);
    ASSERT_TRUE(big_bubble_height(83.999f, &a));
    EXPECT_NEAR(a, 5.0f, 0.01f);
    ASSERT_TRUE(big_bubble_height(84.0f, &a));   // d = 4 exactly still belongs to the rise
    EXPECT_FLOAT_EQ(a, -3.0f);
    ASSERT_TRUE(big_bubble_height(86.0f, &a));
    EXPECT_NEAR(a, 25.0f, 1e-3f);
    EXPECT_FALSE(big_bubble_height(88.5f, &a));
}

TEST(FieldBubbleTest, HeightsWrapFromPlusToMinusThree) {
    for (int i = 0; i < BUBBLES; i++) {
        const float wrap = (std::ceil(0.3754f * i + 0.01f) - 0.3754f * i) / 0.333f;
        EXPECT_NEAR(field_bubble_height(wrap - 0.002f, i), 3.0f, 0.01f) << "i = " << i;
        EXPECT_NEAR(field_bubble_height(wrap + 0.002f, i), -3.0f, 0.01f) << "i = " << i;
    }
}

class BubbleScenesTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        res.irid_texture = make_solid_texture(4, 4, 40, 30, 50, 255, 1, 1, 1, 0);
        res.bubble_texture = res.metal2_texture = make_solid_texture(4, 4, 255, 255, 255, 255, 1, 1, 1, 0);
        res.sphere_16 = make_wrapped_sphere(16, 16, 0);
        res.sculpture_mesh = make_box(RF_FLAT);
        res.screen_texture_b = make_screen_texture();
    }
    void SetUp() override {
        GLTest::SetUp();
        app.show_started = 0;
    }
};

TEST_F(BubbleScenesTest, ShaftDrawsTwoSpheresPerBubbleAndTheBigOneLate) {
    const int bubble = 2 * res.sphere_16->face_count;
    bubble_sculpture_scene(82.0f, res.screen_texture_b);
    EXPECT_EQ(render.drawn.faces, res.sculpture_mesh->face_count + BUBBLES * bubble);
    bubble_sculpture_scene(85.0f, res.screen_texture_b);
    EXPECT_EQ(render.drawn.faces, res.sculpture_mesh->face_count + (BUBBLES + 1) * bubble);
    bubble_field_scene(30.0f, res.screen_texture_b);
    EXPECT_EQ(render.drawn.faces, BUBBLES * bubble);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BubbleScenesTest, BubblesReflectTheTargetsPreviousPicture) {
    for (void (*scene)(float, Texture *) : { bubble_sculpture_scene, bubble_field_scene }) {
        fill_target(res.screen_texture_b, BLACK_RGBA);
        scene(41.0f, res.screen_texture_b);
        const long after_black = offscreen_sum();
        fill_target(res.screen_texture_b, WHITE_RGBA);
        scene(41.0f, res.screen_texture_b);
        EXPECT_GT(offscreen_sum(), after_black + 384L * 288);
    }
}
