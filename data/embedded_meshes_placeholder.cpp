// data/embedded_meshes_placeholder.cpp - stand-in mesh tables used until the content
// generator (tools/contentgen) is part of the build: every one of the 29 names resolves to a
// small tetrahedron carrying the optional array its real mesh has, so the precalc and the
// scenes run end to end. CMakeLists.txt drops this file as soon as tools/contentgen exists.
#include "data/embedded_meshes.h"
#include <cstring>

static const float TETRA_POSITIONS[] = { 0, 1, 0, -1, -1, 1, 1, -1, 1, 0, -1, -1 };
static const int   TETRA_FACES[]     = { 0, 1, 2, 0, 2, 3, 0, 3, 1, 1, 3, 2 };
static const float TETRA_TEXCOORDS[] = { 0.5f, 1, 0, 0, 0, 0, 1, 0, 0, 0.5f, 0, 0 };
static const float TETRA_COLOURS[]   = { 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1 };

constexpr EmbeddedMesh tetra(const char *name, const float *texcoords = nullptr,
                            const float *colours = nullptr) {
    return { name, 4, 4, TETRA_POSITIONS, TETRA_FACES, texcoords, colours };
}
constexpr EmbeddedMesh plain(const char *name) { return tetra(name); }
constexpr EmbeddedMesh textured(const char *name) { return tetra(name, TETRA_TEXCOORDS); }

const EmbeddedMesh embedded_meshes[] = {
    plain("hull_mesh"), plain("statue_mesh"), plain("big_statue_mesh"), plain("flock_mesh"),
    plain("core_mesh"), plain("twirl_mesh"), plain("machine_part_a_mesh"),
    plain("machine_part_b_mesh"), plain("bubble_frame_mesh"), plain("twin_part_a_mesh"),
    plain("twin_part_b_mesh"),
    tetra("pedestal_mesh", nullptr, TETRA_COLOURS),
    plain("tube_mesh"), plain("water_surface_mesh"), plain("sculpture_part_a_mesh"),
    plain("sculpture_part_b_mesh"), plain("sculpture_mesh"), textured("small_part_1_mesh"),
    textured("small_part_2_mesh"), textured("small_part_3_mesh"), textured("small_part_4_mesh"),
    textured("small_part_5_mesh"), textured("small_part_6_mesh"), textured("small_part_7_mesh"),
    plain("pod_mesh"), plain("beam_mirror_mesh"), plain("beam_hall_mesh"),
    plain("glow_object_mesh"), plain("glow_shell_mesh"),
};
const int embedded_mesh_count = int(sizeof embedded_meshes / sizeof embedded_meshes[0]);

const EmbeddedMesh *find_embedded_mesh(const char *name) {
    for (int i = 0; i < embedded_mesh_count; i++)
        if (std::strcmp(embedded_meshes[i].name, name) == 0) return &embedded_meshes[i];
    return nullptr;
}
