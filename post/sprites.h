// post/sprites.h - particles (sparks, flares, bubbles) as camera-facing textured squares.
// The scenes own the particle positions; draw_sprites only draws them, in the current 3D
// view, turning each square towards the camera with the right and up directions read from
// the current modelview matrix.
#pragma once
#include "render/render_types.h"   // RenderFlags
#include "render/texture.h"        // Texture

// Draws n squares of half size `half_size` at `positions` (x, y, z each); sprite j uses
// textures[j mod m] and colour brightness x intensities[j] (or brightness without
// intensities). `flags` serve both the draw and the binds; the scenes pass 0x600
// (additive, no depth writes): hidden by nearer geometry but never by each other.
void draw_sprites(const float *positions, const float *intensities, int n, Texture *const *textures,
                  int m, float half_size, float brightness, RenderFlags flags);
