// tools/contentgen/meshes.cpp - the table of the 29 embedded meshes (names and counts in the
// precalc's order), the dispatch from a name to its recipe (the recipes live in the
// *_meshes.cpp files, by kind) with the checks every result must pass, and the writer of the
// linked tables (embedded_meshes.bin and embedded_meshes.cpp).
#include "meshes.h"
#include "mesh_recipes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <array>
#include <stdexcept>
#include <tuple>

const MeshSpec mesh_specs[29] = {
    {"hull_mesh", 9010, 18326, false, false},
    {"statue_mesh", 17639, 35346, false, false},
    {"big_statue_mesh", 21754, 43576, false, false},
    {"flock_mesh", 3167, 6330, false, false},
    {"core_mesh", 4000, 7996, false, false},
    {"twirl_mesh", 657, 1485, false, false},
    {"machine_part_a_mesh", 1316, 506, false, false},
    {"machine_part_b_mesh", 1186, 472, false, false},
    {"bubble_frame_mesh", 375, 126, false, false},
    {"twin_part_a_mesh", 122, 236, false, false},
    {"twin_part_b_mesh", 110, 208, false, false},
    {"pedestal_mesh", 3041, 1222, false, true},
    {"tube_mesh", 384, 768, false, false},
    {"water_surface_mesh", 2500, 5004, false, false},
    {"sculpture_part_a_mesh", 1617, 3200, false, false},
    {"sculpture_part_b_mesh", 2359, 4696, false, false},
    {"sculpture_mesh", 5818, 10944, false, false},
    {"small_part_1_mesh", 150, 100, true, false},
    {"small_part_2_mesh", 102, 64, true, false},
    {"small_part_3_mesh", 106, 68, true, false},
    {"small_part_4_mesh", 792, 520, true, false},
    {"small_part_5_mesh", 368, 216, true, false},
    {"small_part_6_mesh", 368, 216, true, false},
    {"small_part_7_mesh", 368, 216, true, false},
    {"pod_mesh", 300, 596, false, false},
    {"beam_mirror_mesh", 156, 327, false, false},
    {"beam_hall_mesh", 2563, 5048, false, false},
    {"glow_object_mesh", 300, 596, false, false},
    {"glow_shell_mesh", 1500, 1096, false, false},
};

using namespace mesh_recipes;

//----------------------------------------------------------------------------------------------
// Dispatch and output
//----------------------------------------------------------------------------------------------
Mesh build_mesh_recipe(const MeshSpec &spec)
{
    static const std::map<std::string, Mesh (*)()> recipes = {
        {"hull_mesh", make_hull}, {"statue_mesh", make_statue}, {"big_statue_mesh", make_big_statue},
        {"flock_mesh", make_flock}, {"core_mesh", make_core}, {"twirl_mesh", make_twirl},
        {"machine_part_a_mesh", make_machine_a}, {"machine_part_b_mesh", make_machine_b},
        {"bubble_frame_mesh", make_bubble_frame}, {"twin_part_a_mesh", make_twin_a}, {"twin_part_b_mesh", make_twin_b},
        {"pedestal_mesh", make_pedestal}, {"tube_mesh", make_tube}, {"water_surface_mesh", make_cave},
        {"sculpture_part_a_mesh", make_sculpture_a}, {"sculpture_part_b_mesh", make_sculpture_b},
        {"sculpture_mesh", make_sculpture}, {"small_part_1_mesh", make_small_part_1}, {"small_part_2_mesh", make_small_part_2},
        {"small_part_3_mesh", make_small_part_3}, {"small_part_4_mesh", make_small_part_4},
        {"small_part_5_mesh", make_small_part_5}, {"small_part_6_mesh", make_small_part_6},
        {"small_part_7_mesh", make_small_part_7}, {"pod_mesh", make_pod}, {"beam_mirror_mesh", make_beam_mirror},
        {"beam_hall_mesh", make_beam_hall}, {"glow_object_mesh", make_glow_object}, {"glow_shell_mesh", make_glow_shell},
    };
    auto it = recipes.find(spec.name);
    if (it == recipes.end()) throw std::runtime_error(std::string(spec.name) + ": no recipe");
    Mesh m;
    try {
        m = it->second();
    } catch (const std::runtime_error &e) {
        std::string what = e.what();
        if (what.rfind(spec.name, 0) != 0) throw std::runtime_error(std::string(spec.name) + ": " + what);
        throw;
    }
    m.name = spec.name;
    // Absorb last-bit libm differences: positions on a 2^-10 grid.
    for (Vec3 &p : m.pos) p = {std::round(p.x * 1024) / 1024, std::round(p.y * 1024) / 1024, std::round(p.z * 1024) / 1024};
    check_mesh(m, spec.vertices, spec.faces, spec.uv, spec.colour);
    return m;
}

void write_mesh_tables(const std::vector<Mesh> &meshes, const std::string &dir)
{
    std::string bin_path = dir + "/embedded_meshes.bin", cpp_path = dir + "/embedded_meshes.cpp";
    std::vector<char> blob;
    auto put = [&](const void *p, size_t n) {
        const char *c = static_cast<const char *>(p);
        blob.insert(blob.end(), c, c + n);
    };
    struct Offsets { size_t pos, tri, uv, col; };
    std::vector<Offsets> offs;
    for (const Mesh &m : meshes) {
        Offsets o{};
        o.pos = blob.size();
        for (const Vec3 &p : m.pos) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        o.tri = blob.size();
        put(m.tri.data(), m.tri.size() * sizeof(int));
        o.uv = o.col = size_t(-1);
        if (!m.uv.empty()) {
            o.uv = blob.size();
            for (const Vec3 &p : m.uv) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        }
        if (!m.colour.empty()) {
            o.col = blob.size();
            for (const Vec3 &p : m.colour) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        }
        offs.push_back(o);
    }
    FILE *f = std::fopen(bin_path.c_str(), "wb");
    if (!f || std::fwrite(blob.data(), 1, blob.size(), f) != blob.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + bin_path);
    std::string src;
    src += "// Generated by tools/contentgen: the embedded mesh tables. Do not edit.\n";
    src += "#include \"data/embedded_meshes.h\"\n#include <cstring>\n\n";
    src += "asm(\".section .rodata\\n.balign 16\\n.globl orbplume_mesh_blob\\norbplume_mesh_blob:\\n.incbin \\\"" + bin_path +
           "\\\"\\n.previous\\n\");\n";
    src += "extern \"C\" const char orbplume_mesh_blob[];\n\n";
    src += "#define F(off) reinterpret_cast<const float *>(orbplume_mesh_blob + (off))\n";
    src += "#define I(off) reinterpret_cast<const int *>(orbplume_mesh_blob + (off))\n\n";
    src += "const EmbeddedMesh embedded_meshes[] = {\n";
    for (size_t i = 0; i < meshes.size(); i++) {
        const Mesh &m = meshes[i];
        const Offsets &o = offs[i];
        char line[512];
        std::snprintf(line, sizeof line, "    {\"%s\", %d, %d, F(%zu), I(%zu), %s, %s},\n", m.name.c_str(), m.vertices(), m.faces(), o.pos,
                      o.tri, o.uv == size_t(-1) ? "nullptr" : ("F(" + std::to_string(o.uv) + ")").c_str(),
                      o.col == size_t(-1) ? "nullptr" : ("F(" + std::to_string(o.col) + ")").c_str());
        src += line;
    }
    src += "};\nconst int embedded_mesh_count = " + std::to_string(meshes.size()) + ";\n\n";
    src += "const EmbeddedMesh *find_embedded_mesh(const char *name)\n{\n";
    src += "    for (int i = 0; i < embedded_mesh_count; i++)\n";
    src += "        if (std::strcmp(embedded_meshes[i].name, name) == 0) return &embedded_meshes[i];\n";
    src += "    return nullptr;\n}\n";
    f = std::fopen(cpp_path.c_str(), "wb");
    if (!f || std::fwrite(src.data(), 1, src.size(), f) != src.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + cpp_path);
}
