// precalc/resources.h - every texture and mesh of the show, made once by precalc() and
// only read afterwards. Scenes reach them as `res.statue_mesh`, `res.metal_texture`, ...
// JPEG textures are named after their file ("data/metal.jpg" -> metal_texture).
#pragma once
#include "geometry/mesh.h"     // MeshObject
#include "render/texture.h"    // Texture, TextureChain

struct ShowResources {
    // Pictures from the data folder, in load order
    Texture *loading_texture;    // the loading screen's picture
    Texture *shakki_texture, *skyr1_texture, *metal_texture, *electri2_texture, *electric_texture;
    Texture *envi6b_texture;     // texture-matrix scale (2, 2, 2)
    Texture *flare1_texture, *flare3_texture, *flare4_texture, *red6envi_texture, *smoketex_texture;
    Texture *irid_texture, *bubble_texture, *vesi4_texture;
    Texture *atxt_texture;       // the title picture
    Texture *ltxt_texture;       // the end picture
    Texture *twirl_texture, *crackle_texture, *hex2_texture, *valo_texture, *hexred_texture;
    Texture *flarer_texture, *flareb_texture, *flarey_texture, *flareg_texture, *metal2_texture;
    Texture *aijjai_texture;

    // Made textures
    Texture     *grain_texture;                  // 256x256 grey noise 0..254, read by the film pass
    Texture     *noise_cube_1, *noise_cube_2;    // 128 noise cube maps (or their fallback)
    Texture     *screen_texture_a, *screen_texture_b, *screen_texture_c, *screen_texture_d;   // timeline targets
    TextureChain screen_texture_chain;           // 512 down to 4, for blurs and glows
    Texture     *stripe_texture;                 // 512x512 coloured stripes, read by the film pass

    // Procedural meshes
    MeshObject *unit_cube;       // corners at +-1, flat
    MeshObject *sphere_32, *sphere_16;           // wrapped spheres, smooth
    MeshObject *sphere_8;        // wrapped 8x8, flat (faceted ball)
    MeshObject *sky_sphere;      // 32x32 with a duplicated seam column
    MeshObject *grid_plane;      // 32x32 cells of 4 units in y = 0, -66..62
    MeshObject *hemisphere_32;   // northern half, 32x32 (built, not drawn by any scene)

    // Embedded meshes
    MeshObject *hull_mesh, *statue_mesh, *big_statue_mesh, *flock_mesh, *core_mesh, *twirl_mesh;
    MeshObject *machine_part_a_mesh, *machine_part_b_mesh, *bubble_frame_mesh;
    MeshObject *twin_part_a_mesh, *twin_part_b_mesh, *pedestal_mesh, *tube_mesh, *water_surface_mesh;
    MeshObject *sculpture_part_a_mesh, *sculpture_part_b_mesh, *sculpture_mesh;
    MeshObject *small_part_1_mesh, *small_part_2_mesh, *small_part_3_mesh, *small_part_4_mesh;
    MeshObject *small_part_5_mesh, *small_part_6_mesh, *small_part_7_mesh;
    MeshObject *pod_mesh, *beam_mirror_mesh, *beam_hall_mesh, *glow_object_mesh, *glow_shell_mesh;
};
extern ShowResources res;   // written by precalc() only

// The same resources by name, for tools that walk the whole content (the contact sheet).
// The handles point into `res`, so they are filled once precalc() has run.
struct NamedTexture {
    const char     *name;      // file name ("metal.jpg") or what a made texture is
    Texture *const *handle;    // &res.metal_texture, ...
    float           repeats;   // copies of the picture across 0..1 (envi6b: 2), else 1
};
struct NamedMesh {
    const char        *name;     // "hull_mesh", ... as in data/embedded_meshes.h
    MeshObject *const *handle;   // &res.hull_mesh, ...
};
extern const NamedTexture named_textures[];   // the 28 pictures in load order, then grain and stripes
extern const int          named_texture_count;
extern const NamedMesh    named_meshes[];     // the 29 embedded meshes in build order, then the made ones
extern const int          named_mesh_count;
