// geometry/procedural.h - shapes made from formulas: a box, three kinds of sphere and a flat
// grid. Each fills position, texture-coordinate (u, v, 0) and face arrays that live for the
// program's life and hands them to build_mesh with the caller's build flags.
#pragma once
#include "geometry/mesh.h"

// Filled arrays of a generated shape (owned by whoever keeps the MeshObject built from them).
struct ShapeArrays {
    float *positions;   // vertex_count x 3
    float *texcoords;   // vertex_count x 3 (u, v, 0)
    int   *faces;       // face_count x 3
    int    vertex_count;
    int    face_count;
};

// Shape generation functions (CPU only)
ShapeArrays box_arrays();                                // cube with corners at +-1, 24 vertices, 12 triangles
ShapeArrays sphere_arrays(int a, int r);                 // unit sphere, duplicated seam column, exact poles
ShapeArrays hemisphere_arrays(int a, int r);             // northern half of sphere_arrays, open at the equator
ShapeArrays wrapped_sphere_arrays(int a, int r);         // unit sphere, no seam column, no exact poles
ShapeArrays grid_arrays(int a, int r, const float spacing[3]);   // plane y = 0, one texture repeat per cell

// Mesh generation functions (build the display list; GL context current)
MeshObject *make_box(RenderFlags flags);
MeshObject *make_sphere(int a, int r, RenderFlags flags);
MeshObject *make_hemisphere(int a, int r, RenderFlags flags);
MeshObject *make_wrapped_sphere(int a, int r, RenderFlags flags);
MeshObject *make_grid(int a, int r, const float spacing[3], RenderFlags flags);
