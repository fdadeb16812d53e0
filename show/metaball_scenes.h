// show/metaball_scenes.h - three short scenes of soft merging shapes, each made from five
// blobs whose centres wander on Lissajous paths and polygonised anew every frame:
//   sky:   a rounded box at the origin hollowed by four negative spheres, spinning in
//          front of a spiral chessboard tube;
//   metal: five spheres merged into one glowing additive skin with a small chrome ball at
//          each centre, between two pairs of scrolling hexagon planes;
//   red:   five rounded boxes merged into one shape, shown as six tumbling copies on a ring
//          inside a sky-textured spiral tube.
// The ball lists are pure functions of the scene time, so tests and tools can sample them.
#pragma once
#include "geometry/isosurface.h"   // Blob
#include "render/texture.h"        // Texture

constexpr int METABALLS = 5;   // blobs in every scene

void metaball_sky_scene(float t, Texture *target);
void metaball_metal_scene(float t, Texture *target);
void metaball_red_scene(float t, Texture *target);

Blob *metaball_sky_balls(float t, Blob out[METABALLS]);     // box of radius 15 fixed at the origin, four carving spheres
Blob *metaball_metal_balls(float t, Blob out[METABALLS]);   // five spheres of radius 10, amplitude 6
Blob *metaball_red_balls(float t, Blob out[METABALLS]);     // five rounded boxes of radius 6, amplitude 6

// The stretches of scene time the show plays each scene for (sky 79..82, metal 44..47 and
// 120..124.125, red 53.25..55.5), for tools that sample the surfaces.
struct MetaballStretch {
    const char *scene;
    Blob *(*balls)(float t, Blob out[METABALLS]);
    float from, to;
};
extern const MetaballStretch metaball_stretches[];
extern const int             metaball_stretch_count;
