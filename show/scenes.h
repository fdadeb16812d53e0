// show/scenes.h - every scene the timeline calls. A scene renders its picture into the
// offscreen viewport and, given a target, copies it there with copy_frame_to_texture; its
// time argument is its own clock, chosen by the timeline. Each scene (or family of scenes)
// lives in a file of its own under show/.
#pragma once
#include "render/texture.h"   // Texture

// Mirror balls
void noise_ball_scene(float t, Texture *target);

// Sky balls
void hull_scene(float t, Texture *target);
void hull_hex_scene(float t, Texture *target);

// Metal core and emblem
void statue_scene(float t, Texture *target);
void twin_parts_scene(float t, Texture *target);

// Cave and cavern flights
void water_flock_scene(float t, Texture *target);
void water_statue_scene(float t, Texture *target);

// Orbit ring
void bubble_scene(float t, Texture *target);

// Hoop tunnels
void tube_metal_scene(float t, Texture *target);
void tube_light_scene(float t, Texture *target);

// Core tunnel
void core_flock_scene(float t, Texture *target);

// Mirror beam
void mirror_beam_scene(float t, Texture *target);

// Particle swarm
void particle_swarm_scene(float t, Texture *target);

// Cube flash
void cube_flash_scene(float t, Texture *target);

// Flare sculpture
void flare_sculpture_scene(float t, Texture *target);

// Glow object
void glow_object_scene(float t, Texture *target);

// Red sculpture
void red_sculpture_scene(float t, Texture *target);

// Core closing
void core_closing_scene(float t, Texture *target);

// Bubbles
void bubble_sculpture_scene(float t, Texture *target);
void bubble_field_scene(float t, Texture *target);

// Segment tunnels
void small_parts_metal_scene(float t, Texture *target);
void small_parts_light_scene(float t, Texture *target);

// Machines
void machine_scene(float t, Texture *target);
void machine_loop_scene(float t, Texture *target);
void machine_hex_scene(float t, Texture *target);

// Metaballs
void metaball_sky_scene(float t, Texture *target);
void metaball_metal_scene(float t, Texture *target);
void metaball_red_scene(float t, Texture *target);

// Tube flights
void twirl_scene(float t, Texture *target, int mode);   // mode 1: only the glow round the knot
void smoke_scene(float t, Texture *target);
void pair_scene(float t, Texture *target);
