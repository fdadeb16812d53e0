// show/mirror_beam.h - blue laser beams bouncing through a mirrored hall. Up to six beams
// from one point are traced against a coarse mirror room; the detailed hall around it is
// lit vertex by vertex from every bounce, mirrors a blurred copy of the beams and carries a
// flare at each bounce. The camera cuts between a wide, shifted orbit and a close look from
// above every half pattern. The scene clock t runs 0..6 in the first showing and 73..77 in
// the second, where the hall stays dark and only its mirrored glow shows.
// The pure rules below need no GL, so tests can check them directly.
#pragma once
#include "geometry/beam_tracer.h"   // BeamPointList
#include "render/render_types.h"    // CameraKey
#include "render/texture.h"         // Texture

constexpr int   BEAM_COUNT         = 6;
constexpr int   BEAM_SEGMENTS      = 10;
constexpr int   BEAM_MASK_ENTRIES  = 128;
constexpr float HALL_DARK_AFTER    = 72.0f;   // scene times past this leave the hall unlit

void mirror_beam_scene(float t, Texture *target);

// The 64 six-bit masks by rising bit count, then the same by falling bit count; masks with
// the same count keep rising numeric order.
void fill_beam_mask_table(int table[BEAM_MASK_ENTRIES]);
int  beam_mask(float t);      // beams lit at t: a new combination every 1/32, all six from t = 2
int  beam_camera(float t);    // 0 (wide orbit) or 1 (close, from above), cutting every half pattern
CameraKey beam_camera_key(int camera, float t);   // both aim at the origin
float *beam_direction(float *out, int beam, float t);   // beam k's unnormalised direction

// Hall lighting: every vertex gets (0.1, 0.25, 1) x 0.4 / distance x intensity from each
// point of the list, summed; all black for t past HALL_DARK_AFTER.
void light_hall(float *colours, const float *positions, int vertex_count, const BeamPointList &points,
                float t);
