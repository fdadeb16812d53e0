// precalc/resource_tables.cpp - every picture and mesh of `res` listed with its name.
// Nothing in the show reads these tables; developer tools use them to reach all content
// without naming each field. A resource added to ShowResources belongs here too.
#include "precalc/resources.h"

const NamedTexture named_textures[] = {
    { "loading.jpg", &res.loading_texture, 1 },   { "shakki.jpg", &res.shakki_texture, 1 },
    { "skyr1.jpg", &res.skyr1_texture, 1 },       { "metal.jpg", &res.metal_texture, 1 },
    { "electri2.jpg", &res.electri2_texture, 1 }, { "electric.jpg", &res.electric_texture, 1 },
    { "envi6b.jpg", &res.envi6b_texture, 2 },     { "flare1.jpg", &res.flare1_texture, 1 },
    { "flare3.jpg", &res.flare3_texture, 1 },     { "flare4.jpg", &res.flare4_texture, 1 },
    { "red6envi.jpg", &res.red6envi_texture, 1 }, { "smoketex.jpg", &res.smoketex_texture, 1 },
    { "irid.jpg", &res.irid_texture, 1 },         { "bubble.jpg", &res.bubble_texture, 1 },
    { "vesi4.jpg", &res.vesi4_texture, 1 },       { "atxt.jpg", &res.atxt_texture, 1 },
    { "ltxt.jpg", &res.ltxt_texture, 1 },         { "twirl.jpg", &res.twirl_texture, 1 },
    { "crackle.jpg", &res.crackle_texture, 1 },   { "hex2.jpg", &res.hex2_texture, 1 },
    { "valo.jpg", &res.valo_texture, 1 },         { "hexred.jpg", &res.hexred_texture, 1 },
    { "flarer.jpg", &res.flarer_texture, 1 },     { "flareb.jpg", &res.flareb_texture, 1 },
    { "flarey.jpg", &res.flarey_texture, 1 },     { "flareg.jpg", &res.flareg_texture, 1 },
    { "metal2.jpg", &res.metal2_texture, 1 },     { "aijjai.jpg", &res.aijjai_texture, 1 },
    { "grain (made)", &res.grain_texture, 1 },    { "stripes (made)", &res.stripe_texture, 1 },
};
const int named_texture_count = int(sizeof named_textures / sizeof named_textures[0]);

const NamedMesh named_meshes[] = {
    { "hull_mesh", &res.hull_mesh },
    { "statue_mesh", &res.statue_mesh },
    { "big_statue_mesh", &res.big_statue_mesh },
    { "flock_mesh", &res.flock_mesh },
    { "core_mesh", &res.core_mesh },
    { "twirl_mesh", &res.twirl_mesh },
    { "machine_part_a_mesh", &res.machine_part_a_mesh },
    { "machine_part_b_mesh", &res.machine_part_b_mesh },
    { "bubble_frame_mesh", &res.bubble_frame_mesh },
    { "twin_part_a_mesh", &res.twin_part_a_mesh },
    { "twin_part_b_mesh", &res.twin_part_b_mesh },
    { "pedestal_mesh", &res.pedestal_mesh },
    { "tube_mesh", &res.tube_mesh },
    { "water_surface_mesh", &res.water_surface_mesh },
    { "sculpture_part_a_mesh", &res.sculpture_part_a_mesh },
    { "sculpture_part_b_mesh", &res.sculpture_part_b_mesh },
    { "sculpture_mesh", &res.sculpture_mesh },
    { "small_part_1_mesh", &res.small_part_1_mesh },
    { "small_part_2_mesh", &res.small_part_2_mesh },
    { "small_part_3_mesh", &res.small_part_3_mesh },
    { "small_part_4_mesh", &res.small_part_4_mesh },
    { "small_part_5_mesh", &res.small_part_5_mesh },
    { "small_part_6_mesh", &res.small_part_6_mesh },
    { "small_part_7_mesh", &res.small_part_7_mesh },
    { "pod_mesh", &res.pod_mesh },
    { "beam_mirror_mesh", &res.beam_mirror_mesh },
    { "beam_hall_mesh", &res.beam_hall_mesh },
    { "glow_object_mesh", &res.glow_object_mesh },
    { "glow_shell_mesh", &res.glow_shell_mesh },
    { "unit_cube", &res.unit_cube },
    { "sphere_32", &res.sphere_32 },
    { "sphere_16", &res.sphere_16 },
    { "sphere_8", &res.sphere_8 },
    { "sky_sphere", &res.sky_sphere },
    { "grid_plane", &res.grid_plane },
    { "hemisphere_32", &res.hemisphere_32 },
};
const int named_mesh_count = int(sizeof named_meshes / sizeof named_meshes[0]);
