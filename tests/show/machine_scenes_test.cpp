// tests/show/machine_scenes_test.cpp - the launchers' pulse against the show's beats, the
// pistons resting for half of each cycle, the camera's jitter and lift, and the three
// values of the shared random sequence every frame draws.
#include "grey_show_fixture.h"
#include "show/machine_scenes.h"
#include "show/frame_plan.h"
#include "render/math.h"
#include "render/render_state.h"
#include "precalc/resources.h"
#include <GL/gl.h>

// The argument the script passes to `scene` at show time t (the first such call).
static float scene_argument(float t, SceneId scene) {
    FramePlan plan;
    plan_frame(t, plan);
    for (int i = 0; i < plan.count; i++)
        if (plan.calls[i].op == PLAN_SCENE && plan.calls[i].scene == scene) return plan.calls[i].arg[0];
    ADD_FAILURE() << scene_name(scene) << " not called at " << t;
    return 0;
}

TEST(MachinePulseTest, PeaksOncePerPeriodAndDropsJustBeforeTheNext) {
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, 0.5f).pulse, 1.0f, 1e-5f);
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, 1.5f).pulse, 1.0f, 1e-5f);
    EXPECT_LT(machine_beat(MACHINE_SINGLE, 1.49f).pulse, 1e-6f);   // a sawtooth, not a sine
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, 1.0f).pulse, 0.0625f, 1e-5f);
    for (int k = 0; k < 8; k++) {   // the six-launcher rig fires every eighth of a pattern
        const float s = 0.125f * float(k);
        EXPECT_NEAR(machine_beat(MACHINE_LOOP, s).pulse, 1.0f, 1e-4f) << s;
        EXPECT_LT(machine_beat(MACHINE_LOOP, s + 0.0625f).pulse, 0.3f) << s;
    }
    // The hex rig runs its own 3/8-pattern loop of the argument: 0.1875 is its s = 0.375.
    EXPECT_NEAR(machine_beat(MACHINE_HEX, 0.1875f).s, 0.375f, 1e-6f);
    EXPECT_NEAR(machine_beat(MACHINE_HEX, 0.1875f + 0.375f).s, 0.375f, 1e-5f);
    EXPECT_NEAR(machine_beat(MACHINE_HEX, 0.1875f).pulse, 1.0f, 1e-4f);
}

TEST(MachinePulseTest, ShotsFallOnTheShowsBeatGrid) {
    // The loop rig fires on every odd beat of 46..49, just where the section lets the beat flash in.
    for (int k = 0; k < 24; k++) {
        const float t = 46.0625f + 0.125f * float(k);
        EXPECT_NEAR(machine_beat(MACHINE_LOOP, scene_argument(t, SCENE_MACHINE_LOOP)).pulse, 1.0f, 2e-3f) << t;
        FramePlan plan;
        plan_frame(t + 0.01f, plan);
        EXPECT_TRUE(plan.flash_allowed) << t;
        EXPECT_LT(machine_beat(MACHINE_LOOP, scene_argument(t - 0.0625f, SCENE_MACHINE_LOOP)).pulse, 0.3f) << t;
    }
    // The hex rig fires every quarter pattern; the single launcher at its inserts' first beat.
    for (float t : { 52.0f, 52.25f, 53.5f })
        EXPECT_NEAR(machine_beat(MACHINE_HEX, scene_argument(t, SCENE_MACHINE_HEX)).pulse, 1.0f, 2e-3f) << t;
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, scene_argument(54.0f, SCENE_MACHINE)).pulse, 1.0f, 2e-3f);
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, scene_argument(46.0f, SCENE_MACHINE)).pulse, 1.0f, 2e-3f);
}

TEST(MachinePistonTest, RestInTheBoreWhileTheSineIsNegative) {
    for (MachineKind kind : { MACHINE_LOOP, MACHINE_HEX }) {
        for (int j = 0; j < MACHINE_LAUNCHERS; j++) {
            const float lead = float(j) / 8.0f;   // launcher j fires an eighth of a cycle ahead of j - 1
            for (float u : { 0.51f, 0.7f, 0.99f })
                EXPECT_EQ(machine_piston_height(kind, u - lead + 2.0f, j), 0.0f) << kind << " " << j << " " << u;
            for (float u : { 0.01f, 0.25f, 0.49f })
                EXPECT_GT(machine_piston_height(kind, u - lead + 2.0f, j), 0.0f) << kind << " " << j << " " << u;
        }
    }
    // Highest flights: the shell of the hex scene must take 800 units, the loop's 450.
    EXPECT_NEAR(machine_piston_height(MACHINE_HEX, 0.25f, 0), 800.0f, 0.01f);
    EXPECT_NEAR(machine_piston_height(MACHINE_LOOP, 0.125f, 1), 450.0f, 0.01f);
    // The single launcher's piston is the shot itself, resting with the camera's lift.
    for (float s : { 0.1f, 0.25f, 0.6f, 0.9f })
        EXPECT_EQ(machine_piston_height(MACHINE_SINGLE, s, 0), machine_beat(MACHINE_SINGLE, s).shake) << s;
    EXPECT_EQ(machine_beat(MACHINE_SINGLE, 0.75f).shake, 0.0f);
    EXPECT_NEAR(machine_beat(MACHINE_SINGLE, 0.25f).shake, 600.0f, 0.01f);
}

TEST(MachineCameraTest, JitterFollowsThePulseAndTheShotLiftsTheTarget) {
    const float ones[3] = { 1, 1, 1 };
    float target[3];
    machine_camera(MACHINE_LOOP, { 0.1f, 0.0f, 150.0f }, ones, target);   // no pulse: no jitter
    EXPECT_EQ(target[0], 0.0f);
    EXPECT_FLOAT_EQ(target[1], 5.0f);
    EXPECT_EQ(target[2], 0.0f);
    machine_camera(MACHINE_LOOP, { 0.1f, 1.0f, 0.0f }, ones, target);     // full pulse: small sideways
    EXPECT_FLOAT_EQ(target[0], 0.15f);
    EXPECT_FLOAT_EQ(target[1], 3.0f);
    machine_camera(MACHINE_SINGLE, { 0.1f, 1.0f, 0.0f }, ones, target);
    EXPECT_FLOAT_EQ(target[2], 1.0f);   // the single launcher shakes the view fully
}

using MachineDrawTest = GreyShowTest;

TEST_F(MachineDrawTest, EveryFrameShowsTheRigAndDrawsThreeRandomValues) {
    void (*const scenes[3])(float, Texture *) = { machine_scene, machine_loop_scene, machine_hex_scene };
    for (auto scene : scenes) {
        for (float x : { 0.2f, 0.5f, 0.99f }) {   // pulse low, at its peak, nearly gone
            random_seed(77);
            int fourth = 0;
            for (int k = 0; k < 4; k++) fourth = random_int();
            random_seed(77);
            scene(x, res.screen_texture_a);
            EXPECT_EQ(random_int(), fourth) << x;
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << x;
            long sum = 0;
            for (unsigned char c : read_pixels(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT)) sum += c;
            EXPECT_GT(sum, 384L * 288 * 3 * 10) << x;   // on average brighter than 10 of 255
        }
    }
}
