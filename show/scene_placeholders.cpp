// show/scene_placeholders.cpp - black stand-ins for the scenes not built yet: each clears
// the offscreen viewport and copies it into its target. A scene's own file replaces its
// function here; the README's scene table lists those still standing in.
#include "show/scenes.h"
#include "render/render_state.h"   // Required for: reset_render_state(), BLACK_RGBA

static void clear_scene(Texture *target) {
    reset_render_state(BLACK_RGBA);
    if (target) copy_frame_to_texture(target);
}

void metaball_sky_scene(float, Texture *target) { clear_scene(target); }
void metaball_metal_scene(float, Texture *target) { clear_scene(target); }
void metaball_red_scene(float, Texture *target) { clear_scene(target); }
