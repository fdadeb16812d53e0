// tests/show/timeline_draw_test.cpp - the plan executed: every kind of frame of the script
// drawn after a whole precalc over small stand-in pictures, leaving no GL error.
#include "gl_fixture.h"
#include "test_jpeg.h"
#include "show/frame_plan.h"
#include "precalc/precalc.h"
#include "render/render_state.h"
#include <GL/gl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

static const char *const PICTURE_NAMES[] = {
    "loading", "shakki", "skyr1", "metal", "electri2", "electric", "envi6b", "flare1", "flare3", "flare4",
    "red6envi", "smoketex", "irid", "bubble", "vesi4", "atxt", "ltxt", "twirl", "crackle", "hex2", "valo",
    "hexred", "flarer", "flareb", "flarey", "flareg", "metal2", "aijjai",
};

class TimelineDrawTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        const std::string root = std::string(ORBPLUME_BINARY_DIR) + "/timeline_draw";
        std::filesystem::create_directories(root + "/data");
        for (const char *name : PICTURE_NAMES)
            ASSERT_TRUE(write_test_jpeg((root + "/data/" + name + ".jpg").c_str(), 64, 64, 3,
                                        [](int, int, unsigned char *c) { c[0] = c[1] = c[2] = 200; }));
        ASSERT_EQ(chdir(root.c_str()), 0);
        precalc();
    }
};

TEST_F(TimelineDrawTest, EveryKindOfFrameDrawsWithoutGLErrors) {
    // One time for each branch of the script that runs passes, the busiest frame included.
    const float times[] = { 0.3f, 2.375f, 6.375f, 10.375f, 12.375f, 20.375f, 21.03f, 21.2f, 25.25f,
                            29.5f, 31.0f, 32.3f, 32.96f, 34.0f, 36.8f, 38.0f, 40.8f, 42.45f, 45.8f, 46.1f, 47.5f,
                            53.8f, 54.03f, 54.1f, 61.0f, 64.5f, 65.95f, 70.0f, 76.0f, 80.0f };
    for (float t : times) {
        FramePlan plan;
        plan_frame(t, plan);
        reset_render_state(BLACK_RGBA);
        run_frame_plan(plan);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << t;
    }
}
