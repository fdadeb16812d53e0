// tests/show/plan_prune_test.cpp - which planned calls can change the picture. Hand-made
// plans check the rules one by one (a layer at weight 0 reads nothing, a scene that shows
// its target keeps the picture before it alive, a scene with side effects always runs);
// the show's own plans check that the finishing chain is never touched and that the
// moments the cuts were made for are found. No GL here.
#include "show/frame_plan.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

static PlanCall call(PlanOp op, PlanTexture a, PlanTexture b = PLAN_A) {
    PlanCall c = {};
    c.op = op;
    c.tex[0] = a;
    c.tex[1] = b;
    c.count = -1;
    c.flags = RF_OFFSCREEN;
    return c;
}

static PlanCall scene_call(SceneId id, PlanTexture target) {
    PlanCall c = call(PLAN_SCENE, target);
    c.scene = id;
    return c;
}

static PlanCall mix_call(PlanOp op, PlanTexture a, float w1, PlanTexture b, float w2) {
    PlanCall c = call(op, a, b);
    c.arg[0] = w1;
    c.arg[1] = w2;
    return c;
}

static std::vector<bool> kept(const std::vector<PlanCall> &calls) {
    FramePlan p = {};
    for (const PlanCall &c : calls) p.calls[p.count++] = c;
    bool keep[MAX_PLAN_CALLS];
    const int n = mark_live_calls(p, keep);
    std::vector<bool> out(keep, keep + p.count);
    EXPECT_EQ(n, int(std::count(out.begin(), out.end(), true)));
    return out;
}

// Everything each of these calls writes is read by what follows, so nothing goes.
TEST(PlanPruneTest, KeepsEveryCallWhoseResultIsRead) {
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_A), scene_call(SCENE_STATUE, PLAN_B),
                     mix_call(PLAN_CROSSFADE, PLAN_A, 0.5f, PLAN_B, 0), call(PLAN_COPY, PLAN_C) }),
              std::vector<bool>(4, true));
    // A layer over the frame keeps what it lies on (the title over a black frame).
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_A), call(PLAN_LAYER, PLAN_TITLE), call(PLAN_COPY, PLAN_D) }),
              std::vector<bool>(3, true));
    // The last writer of each texture stays: the next frame may read any of them.
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_D), call(PLAN_COPY, PLAN_B) }), std::vector<bool>(2, true));
}

TEST(PlanPruneTest, LayersAtWeightZeroReadNothing) {
    // A cross-fade at 1 shows only its second picture: the first scene and its picture go.
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_C), scene_call(SCENE_STATUE, PLAN_B),
                     mix_call(PLAN_CROSSFADE, PLAN_C, 1.0f, PLAN_B, 0), call(PLAN_COPY, PLAN_C) }),
              (std::vector<bool>{ false, true, true, true }));
    // ... at 0 only its first, and a mix at weight 0 on its second layer the same.
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_A), scene_call(SCENE_STATUE, PLAN_C),
                     mix_call(PLAN_CROSSFADE, PLAN_A, 0.0f, PLAN_C, 0), call(PLAN_COPY, PLAN_C) }),
              (std::vector<bool>{ true, false, true, true }));
    EXPECT_EQ(kept({ scene_call(SCENE_HULL, PLAN_A), scene_call(SCENE_STATUE, PLAN_C),
                     mix_call(PLAN_MIX_ADD, PLAN_A, 0.7f, PLAN_C, 0.0f), call(PLAN_COPY, PLAN_C) }),
              (std::vector<bool>{ true, false, true, true }));
}

TEST(PlanPruneTest, ScenesThatShowTheirTargetOrKeepStateAreKept) {
    // The twirl repaints B without looking at it: the statue before it is wasted.
    EXPECT_EQ(kept({ scene_call(SCENE_STATUE, PLAN_B), scene_call(SCENE_TWIRL, PLAN_B) }),
              (std::vector<bool>{ false, true }));
    // The bubble field reflects B: the statue's picture in B is seen.
    EXPECT_EQ(kept({ scene_call(SCENE_STATUE, PLAN_B), scene_call(SCENE_BUBBLE_FIELD, PLAN_B) }),
              (std::vector<bool>{ true, true }));
    // The machine shakes its camera from the shared random sequence: never left out.
    EXPECT_EQ(kept({ scene_call(SCENE_MACHINE, PLAN_B), scene_call(SCENE_TWIRL, PLAN_B) }),
              (std::vector<bool>{ true, true }));
    // A blur reads its source whole, even one it then overwrites as its scratch.
    PlanCall blur = call(PLAN_BLUR, PLAN_B, PLAN_B);
    EXPECT_EQ(kept({ scene_call(SCENE_STATUE, PLAN_B), blur, call(PLAN_COPY, PLAN_B) }),
              (std::vector<bool>{ true, true, true }));
}

static FramePlan plan_at(float t) {
    FramePlan p;
    plan_frame(t, p);
    return p;
}

static std::vector<std::string> skipped_at(float t) {
    const FramePlan p = plan_at(t);
    bool keep[MAX_PLAN_CALLS];
    mark_live_calls(p, keep);
    std::vector<std::string> out;
    for (int i = 0; i < p.count; i++)
        if (!keep[i]) out.push_back(describe_call(p.calls[i]));
    return out;
}

// Over the whole show: the finishing chain, the strobing machines and the scenes with
// random sparks always run, and the window's passes are never touched.
TEST(PlanPruneTest, TheShowsPlansKeepTheirFinishAndSideEffects) {
    int skipped_frames = 0;
    for (float t = -0.5f; t < 84.0f; t += 1.0f / 96.0f) {
        const FramePlan p = plan_at(t);
        bool keep[MAX_PLAN_CALLS];
        mark_live_calls(p, keep);
        bool any = false, after_finish_copy = false;
        for (int i = 0; i < p.count; i++) {
            const PlanCall &c = p.calls[i];
            any |= !keep[i];
            if (c.op == PLAN_FILM) after_finish_copy = true;
            const bool side_effects = c.op == PLAN_FILM || c.op == PLAN_RIPPLE || c.op == PLAN_BEAT_FLASH ||
                (c.op == PLAN_SCENE && (c.scene == SCENE_MACHINE || c.scene == SCENE_MACHINE_LOOP ||
                                        c.scene == SCENE_MACHINE_HEX || c.scene == SCENE_FLARE_SCULPTURE ||
                                        c.scene == SCENE_GLOW_OBJECT || c.scene == SCENE_WATER_STATUE));
            if (side_effects || after_finish_copy) {
                ASSERT_TRUE(keep[i]) << "t = " << t << ": " << describe_call(c);
            }
        }
        ASSERT_TRUE(keep[p.count - 1]) << t;
        skipped_frames += any;
    }
    EXPECT_GT(skipped_frames, 0);
}

TEST(PlanPruneTest, FindsTheWastedScenesOfTheShow) {
    // Section 3 at full cross-fade: the bubbles into C are never shown.
    EXPECT_EQ(skipped_at(34.8f), (std::vector<std::string>{ "bubble_sculpture_scene(278.4, C)" }));
    // Between the sculptures only the bubbles show: the picture into A goes.
    EXPECT_EQ(skipped_at(35.2f), (std::vector<std::string>{ "bubble_sculpture_scene(281.6, A)" }));
    // The flare sculpture is hidden at 43.2 but draws its sparks from the random sequence.
    for (const std::string &s : skipped_at(43.2f)) EXPECT_EQ(s.find("flare"), std::string::npos) << s;
    // The core tunnel strobe at full strength: its picture's copy into A is overwritten by
    // the finishing blur, while the copy into B stays for the next frame.
    EXPECT_EQ(skipped_at(22.13f), (std::vector<std::string>{ "copy_frame_to_texture(A)" }));
    // The mirror balls cover the hexagons and their copy into C.
    const std::vector<std::string> s4 = skipped_at(54.62f);
    ASSERT_EQ(s4.size(), 2u);
    EXPECT_EQ(s4[0].rfind("hull_hex_scene(", 0), 0u) << s4[0];
    EXPECT_EQ(s4[1], "copy_frame_to_texture(C)");
    // A plain frame of section 5, the title and the end picture have nothing to spare.
    for (float t : { 70.5512f, 0.23125f, 80.6f }) EXPECT_TRUE(skipped_at(t).empty()) << t;
}
