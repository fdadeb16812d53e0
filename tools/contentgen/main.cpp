// tools/contentgen/main.cpp - the content generator, run by the build:
//   contentgen meshes DIR     writes embedded_meshes.bin/.cpp (the 29 meshes) into DIR
//   contentgen textures DIR   writes the 28 JPEG pictures into DIR
//   contentgen icon FILE      writes the 256x256 desktop icon (PNG) to FILE
// Output is deterministic: the same bytes on every run. Any fault (a mesh missing its counts,
// a bad index, an unused vertex, a picture that cannot be written) ends with a message naming
// the item and a non-zero exit status, which fails the build.
#include "meshes.h"
#include "textures.h"

#include <fontconfig/fontconfig.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "meshes") != 0 && std::strcmp(argv[1], "textures") != 0 &&
                     std::strcmp(argv[1], "icon") != 0)) {
        std::fprintf(stderr, "usage: contentgen meshes|textures DIR [NAME...] | icon FILE\n");
        return 2;
    }
    std::string what = argv[1], dir = argv[2];
    auto start = std::chrono::steady_clock::now();
    try {
        if (what == "meshes") {
            std::vector<Mesh> meshes;
            for (const MeshSpec &spec : mesh_specs) {
                if (argc > 3) {
                    bool wanted = false;
                    for (int i = 3; i < argc; i++) wanted |= spec.name == std::string(argv[i]);
                    if (!wanted) continue;
                }
                Mesh m = build_mesh_recipe(spec);
                Topology t = topology(m);
                std::fprintf(stderr, "contentgen: %-22s %6d V %6d F  %d component(s), %d rim edge(s), %d bad edge(s), euler %ld, volume %.0f\n",
                             spec.name, m.vertices(), m.faces(), t.components, t.boundary_edges, t.nonmanifold_edges, t.euler, m.signed_volume());
                meshes.push_back(std::move(m));
            }
            if (argc == 3) write_mesh_tables(meshes, dir);
        } else if (what == "icon") {
            write_icon(dir, 256);
        } else {
            write_textures(dir, argc > 3 ? argv[3] : nullptr);
            FcFini();   // the text pictures' font lookups: give fontconfig's memory back
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "contentgen: error: %s\n", e.what());
        return 1;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "contentgen: %s done in %.2f s\n", what.c_str(), secs);
    return 0;
}
