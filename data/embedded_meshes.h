// data/embedded_meshes.h - the show's embedded triangle meshes, generated at build time by
// tools/contentgen into build/generated and linked into the engine. Each is the three-table
// layout the mesh builder reads: counts, positions (x, y, z per vertex), faces (three vertex
// indices each, counter-clockwise from the front), and optionally one per-vertex array of
// float triples (texture coordinates u, v, 0 or colours r, g, b). The builder keeps
// pointers into these tables and never changes them.
#pragma once

struct EmbeddedMesh {
    const char  *name;           // "statue_mesh", ... as the precalc names them
    int          vertex_count;
    int          face_count;
    const float *positions;      // vertex_count x 3
    const int   *faces;          // face_count x 3
    const float *texcoords;      // vertex_count x 3 (u, v, 0), or null
    const float *colours;        // vertex_count x 3 (r, g, b), or null
};

extern const EmbeddedMesh embedded_meshes[];   // all of them, in the precalc's order
extern const int embedded_mesh_count;

const EmbeddedMesh *find_embedded_mesh(const char *name);   // null when unknown
