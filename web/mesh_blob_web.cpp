// web/mesh_blob_web.cpp - the embedded mesh tables' data in the browser build. Natively the
// blob is assembled into the executable; here it travels in the page's packed data and is
// read into this array before the precalc builds the meshes.
#include "web/web_start.h"
#include "platform/messages.h"
#include <cstdio>

extern "C" {
alignas(16) char orbplume_mesh_blob[ORBPLUME_MESH_BLOB_SIZE];
}

void load_mesh_blob(const char *file) {
    std::FILE *f = std::fopen(file, "rb");
    const size_t got = f ? std::fread(orbplume_mesh_blob, 1, sizeof orbplume_mesh_blob, f) : 0;
    if (f) std::fclose(f);
    if (got != sizeof orbplume_mesh_blob) fatal_error_because("Init failed!", "the mesh tables are missing or cut short");
}
