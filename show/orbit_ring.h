// show/orbit_ring.h - eight electric-chrome pieces set in a small ring, each tumbling about
// its own wobbling axis while the whole ring turns about the diagonal, inside a bubble dome;
// the camera circles close round the centre.
#pragma once
#include "render/texture.h"   // Texture

constexpr int RING_PIECES = 8;

void bubble_scene(float t, Texture *target);   // without a target, the whole window
void orbit_ring_piece_axis(float t, float axis[3]);   // the axis every piece tumbles about at t
