// tests/show/timeline_draw_test.cpp - the plan executed: every kind of frame of the script
// drawn after a whole precalc over small stand-in pictures, leaving no GL error.
#include "grey_show_fixture.h"
#include "show/frame_plan.h"
#include "render/render_state.h"
#include <GL/gl.h>

using TimelineDrawTest = GreyShowTest;

TEST_F(TimelineDrawTest, EveryKindOfFrameDrawsWithoutGLErrors) {
    // One time for each branch of the script that runs passes, the busiest frame included.
    const float times[] = { 0.3f, 2.375f, 6.375f, 10.375f, 12.375f, 20.375f, 21.03f, 21.2f, 22.6f,
                            23.03f, 24.53f, 25.03f, 25.25f, 27.5f, 28.53f, 29.03f, 29.5f, 31.0f, 32.3f,
                            32.96f, 34.0f, 36.8f, 38.0f, 40.8f, 42.45f, 43.46f, 43.76f, 45.8f, 46.1f,
                            47.5f, 51.03f, 53.8f, 54.03f, 54.1f, 58.03f, 61.0f, 64.5f, 65.95f, 66.02f,
                            69.6f, 70.0f, 75.3f, 76.0f, 78.8f, 80.0f };
    for (float t : times) {
        FramePlan plan;
        plan_frame(t, plan);
        reset_render_state(BLACK_RGBA);
        run_frame_plan(plan);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << t;
    }
}
