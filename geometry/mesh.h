// geometry/mesh.h - indexed triangle meshes compiled into one display list each.
// build_mesh takes the three-table layout (positions, faces, optional per-vertex texture
// coordinates or colours), works out face and vertex normals (every face counts the same;
// zero-area faces count not at all), optionally derives sphere coordinates or colours from
// the normals, and compiles the list: immediate mode for flat or seam-fixed meshes, vertex
// arrays for everything else. The record keeps pointers into the caller's tables.
#pragma once
#include "render/render_types.h"   // RenderFlags, RF_FLAT, MESH_SEAM_FIX, RF_GEN_*

constexpr RenderFlags MESH_FLAGS_MASK = 0x03808000;   // the four build bits build_mesh reads

struct MeshFace {
    int   v[3];        // vertex indices, counter-clockwise from the front
    float normal[3];   // unit face normal; (0, 0, 0) for a zero-area face
};

struct MeshObject {
    unsigned     list;            // GL display list holding the whole mesh
    int          vertex_count;
    int          face_count;
    MeshFace    *faces;           // owned
    const float *positions;       // the caller's table, vertex_count x 3
    float       *normals;         // owned unit vertex normals, vertex_count x 3
    const float *texcoords;       // the caller's (u, v, w) table, one generated here, or null
    const float *colours;         // the caller's (r, g, b) table, one generated here, or null
    float       *work_positions;  // scratch for deformed drawing, vertex_count x 3
    float       *work_normals;    // scratch for deformed drawing
    float       *work_colours;    // scratch, only with RF_GEN_COLOURS; else null
    const int   *indices;         // the caller's face table, face_count x 3
};

MeshObject *build_mesh(const int *faces, const float *positions, const float *texcoords,
                       const void *neighbours, const float *colours, int vertex_count,
                       int face_count, RenderFlags flags);   // neighbours must be null (fatal otherwise)
MeshObject *build_mesh_data(const int *faces, const float *positions, const float *texcoords,
                            const float *colours, int vertex_count, int face_count,
                            RenderFlags flags);             // the CPU half: record and normals, no list
void compile_mesh_list(MeshObject *mesh, RenderFlags flags);   // the GL half: the display list
void draw_mesh(const MeshObject *mesh, RenderFlags flags);      // push, apply flags, call list, count, pop

float *normals_to_sphere_texcoords(const float *normals, int count);   // new (u, v, 0): u = atan2(x, z)/2pi + 0.5
float *normals_to_colours(const float *normals, int count);            // new (r, g, b) = n * 0.5 + 0.5
void   fix_texcoord_seam(float uv[3][2]);   // a face straddling the u or v wrap: lift corners < 0.2 by 1
