// tests/show/timeline_plan_test.cpp - the script's decisions, read from the same plan the
// timeline draws: section choice, overlay weights, strobes, cuts, flash gating and the
// finishing chain's grain and ripple strengths. No GL here.
// Section 1 is never sampled at whole-numbered times, where the pulse sits on a rounding edge.
#include "show/frame_plan.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

static FramePlan plan_at(float t) {
    FramePlan p;
    plan_frame(t, p);
    return p;
}

static std::vector<std::string> lines(const FramePlan &p) {
    std::vector<std::string> out;
    for (int i = 0; i < p.count; i++) out.push_back(describe_call(p.calls[i]));
    return out;
}

// The calls before the finishing chain (which always starts by copying into D).
static std::vector<std::string> section_calls(float t) {
    std::vector<std::string> all = lines(plan_at(t)), out;
    for (const std::string &l : all) {
        if (l == "copy_frame_to_texture(D)") break;
        out.push_back(l);
    }
    return out;
}

// Call lists compared as text, numbers within 1e-4 (relative): the plan works on float times.
static ::testing::AssertionResult same_calls(const std::vector<std::string> &got,
                                             const std::vector<std::string> &want) {
    const std::regex number(R"(-?[0-9]+(\.[0-9]+)?(e-?[0-9]+)?)");
    auto shape = [&](const std::string &s) { return std::regex_replace(s, number, "#"); };
    auto numbers = [&](const std::string &s) {
        std::vector<double> v;
        for (auto it = std::sregex_iterator(s.begin(), s.end(), number); it != std::sregex_iterator(); ++it)
            v.push_back(std::stod(it->str()));
        return v;
    };
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); i++) {
        std::vector<double> a = numbers(got[i]), b = numbers(want[i]);
        same = shape(got[i]) == shape(want[i]) && a.size() == b.size();
        for (size_t k = 0; same && k < a.size(); k++)
            same = std::abs(a[k] - b[k]) <= 1e-4 * std::max(1.0, std::abs(b[k]));
    }
    if (same) return ::testing::AssertionSuccess();
    std::string text = "got:\n";
    for (const std::string &l : got) text += "  " + l + "\n";
    text += "want:\n";
    for (const std::string &l : want) text += "  " + l + "\n";
    return ::testing::AssertionFailure() << text;
}

static const PlanCall *find_op(const FramePlan &p, PlanOp op, int nth = 0) {
    for (int i = 0; i < p.count; i++)
        if (p.calls[i].op == op && nth-- == 0) return &p.calls[i];
    return nullptr;
}

static const PlanCall *find_scene(const FramePlan &p, SceneId id) {
    for (int i = 0; i < p.count; i++)
        if (p.calls[i].op == PLAN_SCENE && p.calls[i].scene == id) return &p.calls[i];
    return nullptr;
}

static bool flashes(float t) { return find_op(plan_at(t), PLAN_BEAT_FLASH) != nullptr; }

TEST(TimelinePlanTest, SectionsChangeAtTheirFirstPattern) {
    const struct { float t; ShowSection s; } cases[] = {
        { 0.0f, SECTION_OPENING }, { 1.99f, SECTION_OPENING }, { 2.0f, SECTION_1 }, { 20.99f, SECTION_1 },
        { 21.0f, SECTION_2 }, { 32.99f, SECTION_2 }, { 33.0f, SECTION_3 }, { 45.99f, SECTION_3 },
        { 46.0f, SECTION_4 }, { 65.99f, SECTION_4 }, { 66.0f, SECTION_5 }, { 78.99f, SECTION_5 },
        { 79.0f, SECTION_ENDING }, { 500.0f, SECTION_ENDING },
    };
    for (const auto &c : cases) EXPECT_EQ(plan_at(c.t).section, c.s) << c.t;
    EXPECT_EQ(describe_frame(plan_at(46.5f)).substr(0, 20), "t = 46.5: section 4\n");
}

TEST(TimelinePlanTest, TitleFadesInHoldsAndFadesOut) {
    const struct { float t, brightness; } cases[] = { { 0, 0 }, { 0.25f, 0.5f }, { 1, 1 }, { 1.75f, 0.5f } };
    for (const auto &c : cases) {
        FramePlan p = plan_at(c.t);
        const PlanCall *title = find_op(p, PLAN_LAYER);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->tex[0], PLAN_TITLE);
        EXPECT_NEAR(title->arg[6], c.brightness, 1e-6) << c.t;
        EXPECT_EQ(title->flags, RF_OFFSCREEN);
        EXPECT_FALSE(p.flash_allowed);
    }
    EXPECT_NEAR(plan_at(0).film_intensity, 1.0f, 1e-6);
}

TEST(TimelinePlanTest, SectionOneOverlaysFollowThePulse) {
    // The pulse is negative here: the main scene stays alone (5.125 is such a time too).
    EXPECT_TRUE(same_calls(section_calls(2.1f), std::vector<std::string>{ "water_flock_scene(0.1, A)" }));
    EXPECT_TRUE(same_calls(section_calls(5.125f), std::vector<std::string>{ "water_flock_scene(3.125, A)" }));
    // Clamped to 1 outside every window: the main scene cross-faded with itself.
    EXPECT_EQ(section_calls(5.375f)[1], "crossfade(A, A, 0.5, 0x4000)");
    // In [2, 4) the zoom-blurred emblem fades out over two patterns.
    EXPECT_TRUE(same_calls(section_calls(2.375f), (std::vector<std::string>{
        "water_flock_scene(0.375, A)", "twin_parts_scene(0.375, B)", "zoom_blur(B, 32, 1.02, 1, 0x4000)",
        "copy_frame_to_texture(B)", "crossfade(A, B, 0.8125, 0x4000)" })));
    // [6, 10) eases in: w = 1.05 (1 - (1 - 0.09375)^2) at the pulse's crest.
    FramePlan eased = plan_at(6.375f);
    EXPECT_NEAR(find_op(eased, PLAN_CROSSFADE)->arg[0], 1.05 * (1 - 0.90625 * 0.90625), 1e-5);
    EXPECT_EQ(find_scene(eased, SCENE_BUBBLE_FIELD)->arg[0], 25.5f);
    EXPECT_TRUE(same_calls(section_calls(10.375f), (std::vector<std::string>{
        "water_statue_scene(9.875, A)", "bubble_sculpture_scene(83, B)", "crossfade(A, B, 1, 0x4000)" })));
    EXPECT_TRUE(same_calls(section_calls(12.375f), (std::vector<std::string>{
        "particle_swarm_scene(14.375, A)", "bubble_field_scene(49.5, B)", "mix_add(A, 0.8, B, 1, 0x4000)" })));
    // [17, 21): the flock returns over the swarm, w' = 2 w (1 - (t - 17)/4)^2.
    EXPECT_TRUE(same_calls(section_calls(20.375f), (std::vector<std::string>{
        "particle_swarm_scene(22.375, A)", "water_flock_scene(18.375, B)",
        "crossfade(B, A, 0.951172, 0x4000)", "copy_frame_to_texture(C)" })));
}

TEST(TimelinePlanTest, SectionTwoCutsStrobesAndRushesBack) {
    for (float t : { 21.03f, 23.03f, 25.03f, 29.03f })
        EXPECT_NE(find_scene(plan_at(t), SCENE_CUBE_FLASH), nullptr) << t;
    for (float t : { 22.03f, 27.03f, 31.03f, 21.07f })
        EXPECT_EQ(find_scene(plan_at(t), SCENE_CUBE_FLASH), nullptr) << t;

    // Strobe f = clamp01(2 sin(1.1 pi) + 1) over the noise ball.
    std::vector<std::string> strobe = section_calls(21.2f);
    ASSERT_EQ(strobe.size(), 5u);
    EXPECT_TRUE(same_calls({ strobe[0], strobe[2] }, { "noise_ball_scene(42.4, A)", "core_flock_scene(0.2, A)" }));
    EXPECT_NEAR(plan_at(21.2f).calls[3].arg[0], 2 * -0.309017 + 1, 1e-4);
    EXPECT_EQ(section_calls(21.25f).size(), 1u);   // f clamped to 0: no strobe

    EXPECT_TRUE(same_calls(section_calls(25.25f), (std::vector<std::string>{
        "twirl_scene(25.25, B, 1)", "zoom_blur_flash(B, 24, 1.03, 1, 0x4000)", "copy_frame_to_texture(B)",
        "blur_separable(B, B, 3, 2, 1, 0x4000)", "twirl_scene(25.25, A, 0)", "mix_add(A, 1, B, 1, 0x4000)",
        "copy_frame_to_texture(A)" })));
    EXPECT_NEAR(find_scene(plan_at(32.96f), SCENE_WATER_STATUE)->arg[0], 32.95 - (1.5 * 32.96 - 32.95) * 8, 1e-3);
    FramePlan bubble = plan_at(32.275f);
    EXPECT_NEAR(find_scene(bubble, SCENE_BUBBLE)->arg[0], 30.275, 1e-4);
    EXPECT_NEAR(find_op(bubble, PLAN_CROSSFADE)->arg[0], 0.375, 1e-4);
    EXPECT_EQ(find_scene(plan_at(32.5f), SCENE_BUBBLE), nullptr);
}

TEST(TimelinePlanTest, SectionThreeStrobeWindows) {
    const struct { float t; float h; } on[] = { { 42.45f, 0.8f }, { 42.95f, 0.9f }, { 43.45f, 0.865f }, { 43.76f, 1.0f } };
    for (const auto &c : on) {
        FramePlan p = plan_at(c.t);
        const PlanCall *tube = find_scene(p, SCENE_TUBE_METAL);
        ASSERT_NE(tube, nullptr) << c.t;
        EXPECT_NEAR(tube->arg[0], (c.t - 2) * 2, 1e-4);
        EXPECT_NEAR(find_op(p, PLAN_CROSSFADE, 1)->arg[0], c.h, 1e-6) << c.t;
    }
    for (float t : { 42.4f, 42.6f, 43.2f, 43.8f, 43.93f })
        EXPECT_EQ(find_scene(plan_at(t), SCENE_TUBE_METAL), nullptr) << t;

    // Each bar opens on the bubble sculpture, then cross-fades to the main scene.
    EXPECT_EQ(section_calls(34.0f)[2], "crossfade(C, A, 0.5, 0x4000)");
    EXPECT_EQ(section_calls(33.25f)[0], "bubble_sculpture_scene(266, A)");
    FramePlan late = plan_at(45.8f);
    EXPECT_FALSE(late.flash_allowed);
    EXPECT_TRUE(same_calls(section_calls(45.8f), (std::vector<std::string>{
        "flare_sculpture_scene(43.8, A)", "machine_scene(0.1, B)", "crossfade(A, B, 0.15, 0x4000)" })));
}

TEST(TimelinePlanTest, SectionFourMainScenesOverlaysAndGlow) {
    // Only machine_scene, still through the section glow.
    EXPECT_TRUE(same_calls(section_calls(54.03f), (std::vector<std::string>{
        "machine_scene(4.56, B)", "copy_frame_to_texture(A)", "blur_separable(A, B, 2, 4, 0.5, 0x4400)",
        "copy_frame_to_texture(C)", "mix_add(A, 0.75, C, 0.6, 0x4000)" })));
    // Four scenes at once, the busiest frame of the show.
    FramePlan busy = plan_at(54.1f);
    EXPECT_NE(find_scene(busy, SCENE_HULL_HEX), nullptr);
    EXPECT_NEAR(find_op(busy, PLAN_CROSSFADE)->arg[0], 0.99, 1e-5);
    EXPECT_NE(find_scene(busy, SCENE_NOISE_BALL), nullptr);
    EXPECT_NE(find_scene(busy, SCENE_TUBE_LIGHT), nullptr);
    // The hull scratches back and forth every half beat.
    EXPECT_LT(find_scene(plan_at(53.77f), SCENE_HULL)->arg[0], 0);
    EXPECT_GT(find_scene(plan_at(53.8f), SCENE_HULL)->arg[0], 0);
    // The black title frame is not the frame: the tube light still shines through.
    std::vector<std::string> black = section_calls(65.95f);
    EXPECT_EQ(black[0], "draw_layer_transformed(title, 0, 0, 1, 1, 1, 0, 0, 0x4000)");
    EXPECT_TRUE(same_calls({ black[3] }, { "mix_add(C, 0.983513, B, 0.0824367, 0x4000)" }));   // l at 65.95f
    EXPECT_TRUE(same_calls({ section_calls(46.1f)[0] }, { "machine_loop_scene(0.5375, A)" }));
    EXPECT_EQ(section_calls(62.125f)[0], "glow_object_scene(59.625, A)");
    EXPECT_EQ(section_calls(61.0f)[0], "metaball_metal_scene(122, A)");
}

TEST(TimelinePlanTest, FlashIsGatedBySectionsBeatsAndTheEnd) {
    EXPECT_FALSE(flashes(1.0f));
    EXPECT_TRUE(flashes(3.7f));
    EXPECT_FALSE(flashes(3.8f));
    EXPECT_FALSE(flashes(19.03f));
    EXPECT_FALSE(flashes(20.7f));   // a double-flash window the section has already closed
    EXPECT_TRUE(flashes(46.1f));    // beat 737: odd
    EXPECT_FALSE(flashes(46.13f));  // beat 738: even
    EXPECT_FALSE(flashes(44.1f));
    EXPECT_TRUE(flashes(77.4f));
    EXPECT_FALSE(flashes(77.6f));
    EXPECT_FALSE(flashes(80.0f));
    // Two flashes per beat in [26, 27) and [42, 42.25), one elsewhere.
    EXPECT_NEAR(find_op(plan_at(26.5f), PLAN_BEAT_FLASH)->arg[0], 53.0f, 1e-4);
    EXPECT_NEAR(find_op(plan_at(42.1f), PLAN_BEAT_FLASH)->arg[0], 84.2f, 1e-4);
    EXPECT_EQ(describe_call(*find_op(plan_at(23.5f), PLAN_BEAT_FLASH)), "beat_flash(23.5, 0.5, 16, 2)");
}

TEST(TimelinePlanTest, DescribeSaysHowMuchGreyTheBeatFlashAdds) {
    const std::string note = "# the beat flash adds ";
    // On a beat the flash is at its peak; a quarter beat later at half; from half a beat on gone.
    const std::string on_beat = describe_frame(plan_at(5.0625f));
    EXPECT_NE(on_beat.find("\nbeat_flash(5.0625, 0.5, 16, 2)\n" + note + "0.50 grey"), std::string::npos)
        << on_beat;
    EXPECT_NE(describe_frame(plan_at(5.078125f)).find(note + "0.25 grey"), std::string::npos);
    EXPECT_EQ(describe_frame(plan_at(5.09375f)).find(note), std::string::npos);
    EXPECT_EQ(describe_frame(plan_at(3.875f)).find(note), std::string::npos);   // gated, on a beat
}

TEST(TimelinePlanTest, GrainFlaresAfterCutsAndTheRippleEveryThreePatterns) {
    const struct { float t; double c; } grain[] = {
        { 0, 1 }, { 2.06f, 0.93125 * 0.93125 }, { 2.07f, 0.5 }, { 21.03f, 0.971875 * 0.971875 },
        { 21.07f, 0.5 }, { 36.01f, 0.990625 * 0.990625 }, { 36.04f, 0.5 }, { 81.02f, 0.98125 * 0.98125 },
    };
    for (const auto &g : grain) {
        FramePlan p = plan_at(g.t);
        EXPECT_NEAR(p.film_intensity, g.c, 1e-4) << g.t;
        EXPECT_NEAR(find_op(p, PLAN_FILM)->arg[1], g.c, 1e-4) << g.t;
    }
    const struct { float t; double r; } ripple[] = {
        { 0.9f, 0.64 + 0.15625 * 0.15625 - 0.5 }, { 4.05f, 0.36 }, { 4.2f, 0 }, { 7.05f, 0.36 },
        { 0.8f, 0.0625 - 0.5 }, { 5.05f, 0 },
    };
    for (const auto &r : ripple) {
        FramePlan p = plan_at(r.t);
        EXPECT_NEAR(p.spread_pulse, r.r, 1e-4) << r.t;
        EXPECT_NEAR(find_op(p, PLAN_RIPPLE)->arg[1], r.r * 0.1, 1e-5) << r.t;
    }
}

// Every cut of the grain table: the flare starts at the cut, decays over its length, and is
// gone just before and just after it.
TEST(TimelinePlanTest, GrainFlaresAtEveryMainCutAndNowhereElse) {
    const struct { double at, length; } cuts[] = {
        { 21, 0.0625 }, { 36, 0.03125 }, { 41, 0.03125 }, { 66, 0.03125 }, { 76, 0.03125 }, { 81, 0.03125 },
    };
    for (const auto &cut : cuts) {
        const double half = cut.length / 2;
        EXPECT_NEAR(plan_at(float(cut.at + half)).film_intensity, (1 - 0.9375 * half) * (1 - 0.9375 * half), 1e-4)
            << cut.at;
        EXPECT_NEAR(plan_at(float(cut.at - 0.01)).film_intensity, 0.5, 1e-6) << cut.at;
        EXPECT_NEAR(plan_at(float(cut.at + cut.length + 0.005)).film_intensity, 0.5, 1e-6) << cut.at;
    }
    for (float t : { 11.0f, 26.0f, 33.0f, 46.0f, 54.0f, 72.0f, 79.0f })   // other cuts keep the plain grain
        EXPECT_NEAR(plan_at(t + 0.01f).film_intensity, 0.5, 1e-6) << t;
}

TEST(TimelinePlanTest, EndPictureScrollsWithItsShadow) {
    FramePlan p = plan_at(80.0f);
    EXPECT_TRUE(same_calls(section_calls(80.0f), std::vector<std::string>{
        "draw_layer_transformed(end, 0, -0.525, 1, 0.5, 0.25, 0, 1, 0x4002)" }));
    const PlanCall *shadow = find_op(p, PLAN_LAYER, 1);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->flags, 0x802u);
    EXPECT_NEAR(shadow->arg[1], -0.525 - 0.00075, 1e-6);
    EXPECT_EQ(find_op(plan_at(78.9f), PLAN_LAYER), nullptr);
}

TEST(TimelinePlanTest, NoFrameRunsMoreThanFourScenes) {
    for (int i = 0; i < 86 * 512; i++) {
        const float t = (i + 0.37f) / 512.0f;
        FramePlan p = plan_at(t);
        ASSERT_LT(p.count, MAX_PLAN_CALLS - 1) << t;
        int scenes = 0;
        for (int k = 0; k < p.count; k++) scenes += p.calls[k].op == PLAN_SCENE;
        if (t >= 54.0625f && t < 54.125f) EXPECT_EQ(scenes, 4) << t;
        else                              EXPECT_LE(scenes, 3) << t;
    }
}
