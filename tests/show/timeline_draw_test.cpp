// tests/show/timeline_draw_test.cpp - the plan executed: every kind of frame of the script
// drawn through the placeholder scenes, with stand-in pictures, leaving no GL error.
#include "gl_fixture.h"
#include "show/frame_plan.h"
#include "precalc/precalc.h"       // res, make_stripe_image()
#include "render/render_state.h"
#include <GL/gl.h>
#include <cstdlib>
#include <vector>

class TimelineDrawTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (res.screen_texture_a) return;
        res.screen_texture_a = make_screen_texture();
        res.screen_texture_b = make_screen_texture();
        res.screen_texture_c = make_screen_texture();
        res.screen_texture_d = make_screen_texture();
        res.atxt_texture = make_solid_texture(64, 64, 255, 255, 255, 255, 1, 1, 1, 0);
        res.ltxt_texture = make_solid_texture(64, 64, 40, 220, 40, 255, 1, 1, 1, 0);
        res.grain_texture = make_noise_texture(256, 256, 0, 255, 1, 1, 1, 0);
        unsigned char *stripes = make_stripe_image();
        res.stripe_texture = make_texture_from_pixels(stripes, 512, 512, 1, 1, 1, 0);
        std::free(stripes);
    }
};

TEST_F(TimelineDrawTest, EveryKindOfFrameDrawsWithoutGLErrors) {
    // One time for each branch of the script that runs passes, the busiest frame included.
    const float times[] = { 0.3f, 2.375f, 6.375f, 10.375f, 12.375f, 20.375f, 21.03f, 21.2f, 25.25f,
                            29.5f, 31.0f, 32.3f, 32.96f, 34.0f, 38.0f, 42.45f, 45.8f, 46.1f, 47.5f,
                            53.8f, 54.03f, 54.1f, 61.0f, 64.5f, 65.95f, 70.0f, 76.0f, 80.0f };
    for (float t : times) {
        FramePlan plan;
        plan_frame(t, plan);
        reset_render_state(BLACK_RGBA);
        run_frame_plan(plan);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << t;
    }
}

TEST_F(TimelineDrawTest, TitleFadesFromBlackToFull) {
    auto mean_at = [](float t) {
        FramePlan plan;
        plan_frame(t, plan);
        run_frame_plan(plan);
        std::vector<unsigned char> px = read_pixels(0, 0, 640, 460);   // below the black top rows
        double sum = 0;
        for (unsigned char v : px) sum += v;
        return sum / double(px.size());
    };
    EXPECT_LT(mean_at(0.0f), 40);     // black title, grain only
    EXPECT_GT(mean_at(1.0f), 120);    // white title through grain, mask and glow
    EXPECT_GT(mean_at(0.25f), mean_at(0.0f) + 30);
}
