// show/timeline.cpp - one frame of the show: read show time, refresh the band sums, plan
// the frame (show/timeline_plan.cpp) and make the planned calls. Also the plan's text form
// for `orbplume --describe`.
#include "show/timeline.h"
#include "show/frame_plan.h"
#include "show/scenes.h"
#include "audio/music.h"           // Required for: pattern_clock()
#include "audio/spectrum.h"        // Required for: update_band_sums()
#include "post/filters.h"
#include "post/final_passes.h"
#include "post/gentle_pass.h"       // Required for: gentle_pass()
#include "platform/settings.h"     // Required for: app.gentle
#include "precalc/resources.h"     // Required for: res.screen_texture_*, res.atxt/ltxt_texture
#include "render/render_state.h"   // Required for: count_fill()
#include <cstdarg>
#include <cstdio>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static const char *const SCENE_NAMES[SCENE_COUNT] = {
    "noise_ball_scene", "hull_scene", "hull_hex_scene", "statue_scene", "twin_parts_scene",
    "water_flock_scene", "water_statue_scene", "bubble_scene", "tube_metal_scene", "tube_light_scene",
    "core_flock_scene", "mirror_beam_scene", "particle_swarm_scene", "cube_flash_scene",
    "flare_sculpture_scene", "glow_object_scene", "red_sculpture_scene", "core_closing_scene",
    "bubble_sculpture_scene", "bubble_field_scene", "small_parts_metal_scene", "small_parts_light_scene",
    "machine_scene", "machine_loop_scene", "machine_hex_scene", "metaball_sky_scene",
    "metaball_metal_scene", "metaball_red_scene", "twirl_scene", "smoke_scene", "pair_scene",
};

static const char *const SECTION_NAMES[SECTION_COUNT] = {
    "before start", "opening", "section 1", "section 2", "section 3", "section 4", "section 5", "ending",
};

static const char *const TEXTURE_NAMES[] = { "A", "B", "C", "D", "title", "end" };

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static Texture *plan_texture(PlanTexture t) {
    switch (t) {
    case PLAN_A:     return res.screen_texture_a;
    case PLAN_B:     return res.screen_texture_b;
    case PLAN_C:     return res.screen_texture_c;
    case PLAN_D:     return res.screen_texture_d;
    case PLAN_TITLE: return res.atxt_texture;
    case PLAN_END:   return res.ltxt_texture;
    }
    return nullptr;
}

static void run_scene(SceneId id, float t, Texture *target, int mode) {
    switch (id) {
    case SCENE_NOISE_BALL:        noise_ball_scene(t, target);        break;
    case SCENE_HULL:              hull_scene(t, target);              break;
    case SCENE_HULL_HEX:          hull_hex_scene(t, target);          break;
    case SCENE_STATUE:            statue_scene(t, target);            break;
    case SCENE_TWIN_PARTS:        twin_parts_scene(t, target);        break;
    case SCENE_WATER_FLOCK:       water_flock_scene(t, target);       break;
    case SCENE_WATER_STATUE:      water_statue_scene(t, target);      break;
    case SCENE_BUBBLE:            bubble_scene(t, target);            break;
    case SCENE_TUBE_METAL:        tube_metal_scene(t, target);        break;
    case SCENE_TUBE_LIGHT:        tube_light_scene(t, target);        break;
    case SCENE_CORE_FLOCK:        core_flock_scene(t, target);        break;
    case SCENE_MIRROR_BEAM:       mirror_beam_scene(t, target);       break;
    case SCENE_PARTICLE_SWARM:    particle_swarm_scene(t, target);    break;
    case SCENE_CUBE_FLASH:        cube_flash_scene(t, target);        break;
    case SCENE_FLARE_SCULPTURE:   flare_sculpture_scene(t, target);   break;
    case SCENE_GLOW_OBJECT:       glow_object_scene(t, target);       break;
    case SCENE_RED_SCULPTURE:     red_sculpture_scene(t, target);     break;
    case SCENE_CORE_CLOSING:      core_closing_scene(t, target);      break;
    case SCENE_BUBBLE_SCULPTURE:  bubble_sculpture_scene(t, target);  break;
    case SCENE_BUBBLE_FIELD:      bubble_field_scene(t, target);      break;
    case SCENE_SMALL_PARTS_METAL: small_parts_metal_scene(t, target); break;
    case SCENE_SMALL_PARTS_LIGHT: small_parts_light_scene(t, target); break;
    case SCENE_MACHINE:           machine_scene(t, target);           break;
    case SCENE_MACHINE_LOOP:      machine_loop_scene(t, target);      break;
    case SCENE_MACHINE_HEX:       machine_hex_scene(t, target);       break;
    case SCENE_METABALL_SKY:      metaball_sky_scene(t, target);      break;
    case SCENE_METABALL_METAL:    metaball_metal_scene(t, target);    break;
    case SCENE_METABALL_RED:      metaball_red_scene(t, target);      break;
    case SCENE_TWIRL:             twirl_scene(t, target, mode);       break;
    case SCENE_SMOKE:             smoke_scene(t, target);             break;
    case SCENE_PAIR:              pair_scene(t, target);              break;
    case SCENE_COUNT:             break;
    }
}

static void run_call(const PlanCall &c) {
    Texture *a = plan_texture(c.tex[0]), *b = plan_texture(c.tex[1]);
    const float *v = c.arg;
    switch (c.op) {
    case PLAN_SCENE:
        count_fill(FILL_SCENE, double(OFFSCREEN_WIDTH) * OFFSCREEN_HEIGHT);
        run_scene(c.scene, v[0], a, c.count);
        break;
    case PLAN_COPY:            copy_frame_to_texture(a);                                      break;
    case PLAN_CROSSFADE:       crossfade(a, b, v[0], c.flags);                                break;
    case PLAN_MIX_ADD:         mix_add(a, v[0], b, v[1], c.flags);                            break;
    case PLAN_BLUR:            blur_separable(a, b, c.count, v[0], v[1], c.flags);            break;
    case PLAN_ZOOM_BLUR:       zoom_blur(a, c.count, v[0], v[1], c.flags);                    break;
    case PLAN_ZOOM_BLUR_FLASH: zoom_blur_flash(a, c.count, v[0], v[1], c.flags);              break;
    case PLAN_LAYER:           draw_layer_transformed(a, v[0], v[1], v[2], v[3], v[4], v[5], v[6], c.flags); break;
    case PLAN_FILM:            film_pass(a, v[0], v[1], v[2], c.flags);                       break;
    case PLAN_RIPPLE:          ripple_pass(a, v[0], v[1], v[2]);                              break;
    case PLAN_BEAT_FLASH:      beat_flash(v[0], v[1], v[2], v[3]);                            break;
    }
}

static std::string format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static std::string format(const char *fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
// The calls before the first one that draws into the window work in the offscreen corner.
static bool draws_in_window(const PlanCall &c) {
    switch (c.op) {
    case PLAN_SCENE:
    case PLAN_COPY:
    case PLAN_BLUR:   // always offscreen
    case PLAN_FILM:
        return false;
    case PLAN_RIPPLE:
    case PLAN_BEAT_FLASH:
        return true;
    default:
        return !(c.flags & RF_OFFSCREEN);
    }
}

void run_frame_plan(const FramePlan &plan) {
    bool keep[MAX_PLAN_CALLS];
    if (render.cuts) mark_live_calls(plan, keep);
    render.clears_in_corner = true;
    for (int i = 0; i < plan.count; i++) {
        if (draws_in_window(plan.calls[i])) render.clears_in_corner = false;
        if (!render.cuts || keep[i]) run_call(plan.calls[i]);
    }
    render.clears_in_corner = false;
}

void timeline() {
    const float t = pattern_clock();
    update_band_sums();
    FramePlan plan;
    plan_frame(t, plan);
    run_frame_plan(plan);
    if (app.gentle) gentle_pass(show_seconds(t));
}

double show_seconds(float patterns) {
    return double(patterns) * 16.0 * 60.0 / SHOW_TEMPO;
}

const char *section_name(ShowSection section) { return SECTION_NAMES[section]; }
const char *scene_name(SceneId scene) { return SCENE_NAMES[scene]; }

std::string describe_call(const PlanCall &c) {
    const char *a = TEXTURE_NAMES[c.tex[0]], *b = TEXTURE_NAMES[c.tex[1]];
    const float *v = c.arg;
    switch (c.op) {
    case PLAN_SCENE:
        if (c.count >= 0) return format("%s(%g, %s, %d)", SCENE_NAMES[c.scene], v[0], a, c.count);
        return format("%s(%g, %s)", SCENE_NAMES[c.scene], v[0], a);
    case PLAN_COPY:
        return format("copy_frame_to_texture(%s)", a);
    case PLAN_CROSSFADE:
        return format("crossfade(%s, %s, %g, 0x%x)", a, b, v[0], c.flags);
    case PLAN_MIX_ADD:
        return format("mix_add(%s, %g, %s, %g, 0x%x)", a, v[0], b, v[1], c.flags);
    case PLAN_BLUR:
        return format("blur_separable(%s, %s, %d, %g, %g, 0x%x)", a, b, c.count, v[0], v[1], c.flags);
    case PLAN_ZOOM_BLUR:
    case PLAN_ZOOM_BLUR_FLASH:
        return format("%s(%s, %d, %g, %g, 0x%x)", c.op == PLAN_ZOOM_BLUR ? "zoom_blur" : "zoom_blur_flash",
                      a, c.count, v[0], v[1], c.flags);
    case PLAN_LAYER:
        return format("draw_layer_transformed(%s, %g, %g, %g, %g, %g, %g, %g, 0x%x)", a,
                      v[0], v[1], v[2], v[3], v[4], v[5], v[6], c.flags);
    case PLAN_FILM:
        return format("film_pass(%s, %g, %g, %g, 0x%x)", a, v[0], v[1], v[2], c.flags);
    case PLAN_RIPPLE:
        return format("ripple_pass(%s, %g, %g, %g)", a, v[0], v[1], v[2]);
    case PLAN_BEAT_FLASH:
        return format("beat_flash(%g, %g, %g, %g)", v[0], v[1], v[2], v[3]);
    }
    return "";
}

std::string describe_frame(const FramePlan &plan) {
    std::string text = format("t = %g: %s\n", plan.t, section_name(plan.section));
    for (int i = 0; i < plan.count; i++) text += describe_call(plan.calls[i]) + "\n";
    bool keep[MAX_PLAN_CALLS];
    mark_live_calls(plan, keep);
    for (int i = 0; i < plan.count; i++)
        if (!keep[i]) text += "# skipped, its result is overwritten unread: " + describe_call(plan.calls[i]) + "\n";
    // A time on a beat catches the flash at its peak, which greys out the whole picture;
    // say so, because such round times are the ones people pick for --render.
    for (int i = 0; i < plan.count; i++) {
        const PlanCall &c = plan.calls[i];
        if (c.op != PLAN_BEAT_FLASH) continue;
        const float grey = c.arg[1] * beat_flash_level(c.arg[0], c.arg[2], c.arg[3]);
        if (grey > 0) text += format("# the beat flash adds %.2f grey over the whole picture\n", grey);
    }
    return text;
}
