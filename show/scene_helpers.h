// show/scene_helpers.h - drawing routines many scenes share: the spinning corner emblem,
// two endless textured tubes to fly through, the fogged chessboard room, a folded saw
// wave for jittery rotations, and two vertex deformers for draw_mesh_deformed.
// They draw into the calling scene's viewport and camera (the emblem sets its own) and
// leave GL in a state that the scene's next reset_render_state puts right.
#pragma once
#include "render/render_types.h"   // RenderFlags, RF_* bits

void draw_corner_emblem(float t);   // emblem, two turns per unit of t, in the 96x72 lower-right corner
void draw_tube(float position, float radius, int segments, int half_rings,
               RenderFlags flags);  // tube along z, 2 x half_rings rings around `position`; texture bound by caller
void draw_spiral_tube(float position, float radius, int segments, int half_rings,
                      RenderFlags flags);   // the same tube with the texture wound round it
void draw_chess_room();             // chessboard floor and bubble sky dome in black fog 0..30
float fold_quarter(float x);        // folded saw: 0..0.25 over the first half of each quarter, 0.75..0.5 over the second

// Vertex deformers (see VertexDeformer in geometry/mesh_deformed.h); `k` is the strength.
float *displace_along_normal(float *out, float s, const float *position, const float *normal,
                             float b, float k);   // position + k x normal
float *wave_deform(float *out, float s, const float *position, const float *normal,
                   float b, float k);             // y lifted by a wave along z travelling with time s
