// tests/post/gentle_pass_test.cpp - the reduce-flashing pass on the card: a still picture
// comes through it exactly as drawn, frame after frame, and a full-window strobe comes out
// with no more flashes in a second than the rule allows, as read back from the window.
#include "post_fixture.h"
#include "post/gentle_pass.h"
#include "post/flash_rule.h"
#include "platform/settings.h"
#include <GL/gl.h>

class GentlePassTest : public PostTest {
protected:
    void SetUp() override {
        PostTest::SetUp();
        reset_gentle_pass();
    }
    void TearDown() override { reset_gentle_pass(); }
    // The whole window one grey, as a finished frame.
    static void clear_to(float level) {
        glClearColor(level, level, level, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

TEST_F(GentlePassTest, AStillPictureComesThroughExactly) {
    // Stripes and blocks of colour, including the corner the pass measures in.
    for (int frame = 0; frame < 12; frame++) {
        glEnable(GL_SCISSOR_TEST);
        for (int i = 0; i < 8; i++) {
            glScissor(i * 80, 0, 80, 480);
            glClearColor(i / 7.0f, (7 - i) / 7.0f, (i % 3) / 2.0f, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glScissor(3, 2, 17, 9);
        glClearColor(1, 0.2f, 0.6f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        const std::vector<unsigned char> drawn = read_pixels(0, 0, 640, 480);
        gentle_pass(10.0 + frame / 60.0);
        EXPECT_FALSE(gentle_pass_limited()) << frame;
        EXPECT_TRUE(read_pixels(0, 0, 640, 480) == drawn) << frame;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(GentlePassTest, AFullWindowStrobeIsHeldToThreeFlashesASecond) {
    FlashAnalysis analysis;
    start_flash_analysis(analysis, FLASH_GRID_COLS * FLASH_GRID_ROWS);
    std::vector<CellLight> cells(FLASH_GRID_COLS * FLASH_GRID_ROWS);
    int limited = 0, worst = 0;
    for (int frame = 0; frame < 150; frame++) {   // ten flashes a second for 2.5 s at 60 fps
        clear_to(frame % 6 < 3 ? 1.0f : 0.0f);
        const double t = 40.0 + frame / 60.0;
        gentle_pass(t);
        limited += gentle_pass_limited();
        const std::vector<unsigned char> shown = read_pixels(0, 0, 640, 480);
        measure_cells(shown.data(), 640, 480, FLASH_GRID_COLS, FLASH_GRID_ROWS, cells.data());
        worst = std::max(worst, analyse_flash_frame(analysis, t, cells.data()).general);
    }
    EXPECT_GT(limited, 50);
    EXPECT_LE(worst, FLASH_MAX_SWINGS);
    EXPECT_GE(worst, 4);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
