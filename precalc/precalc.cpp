// precalc/precalc.cpp - the one-time build of every texture and mesh, in a fixed order.
// The order matters beyond the loading bar: the noise textures and the stripe image draw
// from the one random sequence, so their pictures depend on what was made before them.
// Any missing picture ends the program with "<file> not found" (render/texture_load.cpp).
#include "precalc/precalc.h"
#include "data/embedded_meshes.h"   // Required for: find_embedded_mesh()
#include "geometry/procedural.h"    // Required for: make_box(), make_sphere(), ...
#include "render/math.h"            // Required for: random_int()
#include "platform/messages.h"           // Required for: fatal_error()
#include "platform/data_folder.h"        // Required for: data_file()
#include <cstdio>
#include <cstdlib>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
ShowResources res;

// The pictures after the loading picture (names in the data folder), in load order
// (aijjai.jpg comes in its own group).
static const struct { const char *file; Texture **handle; float scale; } PICTURES[] = {
    { "shakki.jpg", &res.shakki_texture, 1 },     { "skyr1.jpg", &res.skyr1_texture, 1 },
    { "metal.jpg", &res.metal_texture, 1 },       { "electri2.jpg", &res.electri2_texture, 1 },
    { "electric.jpg", &res.electric_texture, 1 }, { "envi6b.jpg", &res.envi6b_texture, 2 },
    { "flare1.jpg", &res.flare1_texture, 1 },     { "flare3.jpg", &res.flare3_texture, 1 },
    { "flare4.jpg", &res.flare4_texture, 1 },     { "red6envi.jpg", &res.red6envi_texture, 1 },
    { "smoketex.jpg", &res.smoketex_texture, 1 }, { "irid.jpg", &res.irid_texture, 1 },
    { "bubble.jpg", &res.bubble_texture, 1 },     { "vesi4.jpg", &res.vesi4_texture, 1 },
    { "atxt.jpg", &res.atxt_texture, 1 },         { "ltxt.jpg", &res.ltxt_texture, 1 },
    { "twirl.jpg", &res.twirl_texture, 1 },       { "crackle.jpg", &res.crackle_texture, 1 },
    { "hex2.jpg", &res.hex2_texture, 1 },         { "valo.jpg", &res.valo_texture, 1 },
    { "hexred.jpg", &res.hexred_texture, 1 },     { "flarer.jpg", &res.flarer_texture, 1 },
    { "flareb.jpg", &res.flareb_texture, 1 },     { "flarey.jpg", &res.flarey_texture, 1 },
    { "flareg.jpg", &res.flareg_texture, 1 },     { "metal2.jpg", &res.metal2_texture, 1 },
};

// The embedded meshes in build order; `step` is the loading frame drawn after the mesh
// that carries it (-1: more of the same group follows).
static const struct { const char *name; MeshObject **handle; RenderFlags flags; int step; } MESHES[] = {
    { "hull_mesh", &res.hull_mesh, 0, -1 },
    { "statue_mesh", &res.statue_mesh, RF_GEN_TEXCOORDS, -1 },
    { "big_statue_mesh", &res.big_statue_mesh, RF_GEN_TEXCOORDS, 8 },
    { "flock_mesh", &res.flock_mesh, RF_GEN_TEXCOORDS, -1 },
    { "core_mesh", &res.core_mesh, 0, 9 },
    { "twirl_mesh", &res.twirl_mesh, RF_FLAT, 10 },
    { "machine_part_a_mesh", &res.machine_part_a_mesh, 0, 11 },
    { "machine_part_b_mesh", &res.machine_part_b_mesh, 0, -1 },
    { "bubble_frame_mesh", &res.bubble_frame_mesh, 0, -1 },
    { "twin_part_a_mesh", &res.twin_part_a_mesh, RF_FLAT, 12 },
    { "twin_part_b_mesh", &res.twin_part_b_mesh, RF_FLAT, -1 },
    { "pedestal_mesh", &res.pedestal_mesh, RF_FLAT, -1 },
    { "tube_mesh", &res.tube_mesh, RF_FLAT, 13 },
    { "water_surface_mesh", &res.water_surface_mesh, RF_GEN_TEXCOORDS, -1 },
    { "sculpture_part_a_mesh", &res.sculpture_part_a_mesh, RF_FLAT, -1 },
    { "sculpture_part_b_mesh", &res.sculpture_part_b_mesh, RF_FLAT, 14 },
    { "sculpture_mesh", &res.sculpture_mesh, RF_FLAT, 15 },
    { "small_part_2_mesh", &res.small_part_2_mesh, RF_FLAT, -1 },
    { "small_part_1_mesh", &res.small_part_1_mesh, RF_FLAT, -1 },
    { "small_part_3_mesh", &res.small_part_3_mesh, RF_FLAT, 16 },
    { "small_part_4_mesh", &res.small_part_4_mesh, RF_FLAT, -1 },
    { "small_part_5_mesh", &res.small_part_5_mesh, RF_FLAT, -1 },
    { "small_part_6_mesh", &res.small_part_6_mesh, RF_FLAT, -1 },
    { "small_part_7_mesh", &res.small_part_7_mesh, RF_FLAT, 17 },
    { "pod_mesh", &res.pod_mesh, RF_GEN_TEXCOORDS, -1 },
    { "beam_mirror_mesh", &res.beam_mirror_mesh, RF_FLAT, -1 },
    { "beam_hall_mesh", &res.beam_hall_mesh, RF_FLAT, 18 },
    { "glow_object_mesh", &res.glow_object_mesh, 0, -1 },
    { "glow_shell_mesh", &res.glow_shell_mesh, RF_FLAT, 19 },
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static Texture *load_picture(const char *name, float scale) {
    return load_texture(data_file(name).c_str(), nullptr, nullptr, scale, scale, scale, 0);
}

static MeshObject *build_embedded(const char *name, RenderFlags flags) {
    const EmbeddedMesh *m = find_embedded_mesh(name);
    if (!m) {
        char text[256];
        std::snprintf(text, sizeof text, "%s missing from the embedded data", name);
        fatal_error(text);
    }
    return build_mesh(m->faces, m->positions, m->texcoords, nullptr, m->colours, m->vertex_count,
                      m->face_count, flags);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
unsigned char *make_stripe_image() {
    constexpr int SIZE = 512;
    unsigned char *rgba = static_cast<unsigned char *>(std::malloc(SIZE * SIZE * 4));
    for (int y = 0; y < SIZE; y++) {
        for (int x = 0; x < SIZE; x++) {
            unsigned char *p = rgba + (size_t(y) * SIZE + x) * 4;
            p[0] = p[1] = p[2] = 128;
            p[x % 3] = (unsigned char)(255.0 - random_int() / 3276.8);   // 245..255
            p[3] = 255;
        }
    }
    return rgba;
}

void precalc() {
    res.loading_texture = load_picture("loading.jpg", 1);
    draw_loading_screen(0);

    res.grain_texture = make_noise_texture(256, 256, 0, 255, 1, 1, 1, 0);
    for (const auto &p : PICTURES) *p.handle = load_picture(p.file, p.scale);
    draw_loading_screen(1);

    res.aijjai_texture = load_picture("aijjai.jpg", 1);
    draw_loading_screen(2);

    res.noise_cube_1 = make_noise_cube_texture(128);
    res.noise_cube_2 = make_noise_cube_texture(128);
    draw_loading_screen(3);

    res.screen_texture_a = make_screen_texture();
    res.screen_texture_b = make_screen_texture();
    res.screen_texture_c = make_screen_texture();
    draw_loading_screen(4);

    res.screen_texture_d = make_screen_texture();
    res.screen_texture_chain = make_screen_texture_chain();
    draw_loading_screen(5);

    res.unit_cube = make_box(RF_FLAT);
    res.sphere_32 = make_wrapped_sphere(32, 32, 0);
    res.sphere_16 = make_wrapped_sphere(16, 16, 0);
    res.sphere_8 = make_wrapped_sphere(8, 8, RF_FLAT);
    draw_loading_screen(6);

    const float grid_spacing[3] = { 4, 4, 4 };
    res.sky_sphere = make_sphere(32, 32, 0);
    res.grid_plane = make_grid(32, 32, grid_spacing, 0);
    res.hemisphere_32 = make_hemisphere(32, 32, 0);
    draw_loading_screen(7);

    for (const auto &m : MESHES) {
        *m.handle = build_embedded(m.name, m.flags);
        if (m.step >= 0) draw_loading_screen(m.step);
    }

    unsigned char *stripes = make_stripe_image();
    res.stripe_texture = make_texture_from_pixels(stripes, 512, 512, 1, 1, 1, 0);
    std::free(stripes);
    draw_loading_screen(LOADING_LAST_STEP);
    draw_loading_screen(LOADING_LAST_STEP);   // the full bar stays up for one more frame
}
