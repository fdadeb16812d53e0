// show/scene_placeholders.cpp - black stand-ins for the scenes not built yet: each clears
// the offscreen viewport and copies it into its target. A scene's own file replaces its
// function here; the README's scene table lists those still standing in.
#include "show/scenes.h"
#include "render/render_state.h"   // Required for: reset_render_state(), BLACK_RGBA

static void clear_scene(Texture *target) {
    reset_render_state(BLACK_RGBA);
    if (target) copy_frame_to_texture(target);
}

void noise_ball_scene(float, Texture *target) { clear_scene(target); }
void hull_scene(float, Texture *target) { clear_scene(target); }
void hull_hex_scene(float, Texture *target) { clear_scene(target); }
void bubble_scene(float, Texture *target) { clear_scene(target); }
void tube_metal_scene(float, Texture *target) { clear_scene(target); }
void tube_light_scene(float, Texture *target) { clear_scene(target); }
void core_flock_scene(float, Texture *target) { clear_scene(target); }
void mirror_beam_scene(float, Texture *target) { clear_scene(target); }
void cube_flash_scene(float, Texture *target) { clear_scene(target); }
void flare_sculpture_scene(float, Texture *target) { clear_scene(target); }
void glow_object_scene(float, Texture *target) { clear_scene(target); }
void red_sculpture_scene(float, Texture *target) { clear_scene(target); }
void core_closing_scene(float, Texture *target) { clear_scene(target); }
void small_parts_metal_scene(float, Texture *target) { clear_scene(target); }
void small_parts_light_scene(float, Texture *target) { clear_scene(target); }
void machine_scene(float, Texture *target) { clear_scene(target); }
void machine_loop_scene(float, Texture *target) { clear_scene(target); }
void machine_hex_scene(float, Texture *target) { clear_scene(target); }
void twirl_scene(float, Texture *target, int) { clear_scene(target); }
void smoke_scene(float, Texture *target) { clear_scene(target); }
void pair_scene(float, Texture *target) { clear_scene(target); }
