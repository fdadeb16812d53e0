// tools/contentgen/meshes.h - the show's 29 embedded meshes: their names and counts as the
// precalc lists them, the recipe for each, and the writer of the linked tables.
#pragma once

#include "mesh.h"

#include <string>
#include <vector>

struct MeshSpec {
    const char *name;
    int vertices, faces;
    bool uv, colour;
};
extern const MeshSpec mesh_specs[29];    // in the precalc's order

// Builds one mesh by name, checks it against its spec; throws (naming it) on any fault.
Mesh build_mesh_recipe(const MeshSpec &spec);

// Writes embedded_meshes.bin (all tables, little-endian) and embedded_meshes.cpp (the
// EmbeddedMesh table pointing into it) into `dir`.
void write_mesh_tables(const std::vector<Mesh> &meshes, const std::string &dir);
