// show/flare_sculpture.h - the chrome machine of two counter-rotating rotors and two hubs
// on a vertical axis, seen from inside a huge inside-out copy of the rotor while sparks
// stream out of its centre. On a four-pattern cycle of break phases q (one unit of q is
// half a pattern) the upper half is struck at q = 4: a burst of sparks and a zoom flash,
// then the upper rotor and hub tilt and sink in three steps while their surfaces shudder,
// and from q = 6 the picture fades to black. A negative q (negative time) counts as intact.
//
// The machine and the spark recipe are shared: the red colossus draws the same machine
// intact, a thousand times larger, with a spark cloud made the same way.
#pragma once
#include "render/render_types.h"   // RenderFlags
#include "render/texture.h"        // Texture

constexpr int SCULPTURE_SPARKS = 500;   // sparks and burst points per scene

void flare_sculpture_scene(float t, Texture *target);

// Timing rules of the break, all in the phase q (GL-free)
float flare_phase(float t);              // q = 8 fmod(t / 4, 1); negative for negative t
float flare_fade(float q);               // machine brightness: 1, then (1 - (q - 6) / 2)^2 from q = 6
float flare_spark_brightness(float q);   // 1 until q = 4, down to 0 at q = 6 (sparks stop there)
float flare_burst_scale(float q);        // spread of the two bursts (q 4..5 and 6..7); else 0
float flare_zoom_flash(float q);         // zoom-blur amount (1 - (q - 4))^3 over q 4..5; else 0

// The upper half's break pose: multiplies the current matrix (nothing before q = 4).
void flare_upper_rotor_break(float q);
void flare_upper_hub_break(float q);

// Shudder deformer for draw_mesh_deformed: time q, `a` the radial wave factor, `c` the
// strength, 1 at the start of a pattern dying to 0 at its end.
float *flare_shudder(float *out, float q, const float *position, const float *normal, float a, float c);

// Shared with the red colossus
struct SculptureLook {
    float       precession;    // degrees about y applied before the upper rotor's own pose
    RenderFlags hub_flags;     // flags of the four hub draws
    RenderFlags shell_flags;   // flags of the inside-out shell (RF_CULL_FRONT at least)
};
void draw_sculpture_machine(float t, const SculptureLook &look);   // the intact machine; texture bound by the caller
void make_spark_directions(float *directions);   // SCULPTURE_SPARKS unit vectors from the shared random sequence
void spark_stream(const float *directions, float t, float *positions,
                  float *factors);   // spark i at fmod(t + 0.01 i, 1) along its direction, factor 1 - that
