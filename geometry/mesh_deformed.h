// geometry/mesh_deformed.h - meshes whose vertices change every frame, so they cannot live
// in a display list. draw_mesh_deformed moves every vertex of a MeshObject through a
// scene-supplied deformer; draw_triangle_arrays draws raw position and face arrays with
// colours the scene fills each frame. Both rebuild normals the way build_mesh does (unit
// face normals averaged per vertex, zero-area faces adding nothing), both honour RF_FLAT
// and both add their full counts to render.drawn.
#pragma once
#include "geometry/mesh.h"   // MeshObject, RenderFlags

// Moves one vertex: writes the new position into out and returns out. `a`, `b` and `c` are
// passed through untouched from draw_mesh_deformed (the scenes pass a time and two factors).
using VertexDeformer = float *(*)(float *out, float a, const float *position, const float *normal,
                                  float b, float c);

void draw_mesh_deformed(MeshObject *mesh, float a, VertexDeformer deform, float b, float c,
                        RenderFlags flags);   // deformed copy in the work arrays; stored tables untouched
void draw_triangle_arrays(const float *positions, const float *texcoords, const float *colours,
                          const int *faces, int vertex_count, int face_count,
                          RenderFlags flags);   // RF_GEN_* replace the given arrays for this call only
