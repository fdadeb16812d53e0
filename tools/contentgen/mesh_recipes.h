// tools/contentgen/mesh_recipes.h - inside the mesh generator only: the recipe of each of the
// 29 meshes (one function per mesh, in the *_meshes.cpp files by kind) and the shape builders
// more than one recipe file uses. Each recipe builds a shape whose topology fixes F - 2V, then
// finishes the exact vertex count with edge splits (or picks ring, strip and facet counts that
// hit it directly). Coordinates are mesh units. meshes.cpp dispatches on the mesh name.
#pragma once

#include "mesh.h"

#include <functional>
#include <vector>

namespace mesh_recipes {

// Shared shapes (mesh_recipe_shapes.cpp) --------------------------------------------------------
// A closed genus-0 body of rings about the z axis: ring i has sizes[i] points given by
// point(i, theta), rings from low z to high z, a pole below the first and above the last.
Mesh ring_body(const std::vector<int> &sizes, const std::function<Vec3(int, double)> &point, Vec3 pole_lo, Vec3 pole_hi);
int genus_of(const Mesh &m);    // genus of a closed connected mesh from V - E + F
// A closed prism from an outline in the xy plane, z from z0 to z1 (+ tilt * y at the front).
void prism(Mesh &m, const std::vector<Vec3> &outline_in, double z0, double z1, double tilt = 0);

// The cave and the cavern (cave_meshes.cpp) ------------------------------------------------------
Mesh make_statue();          // statue_mesh: the cavern tunnels
Mesh make_big_statue();      // big_statue_mesh: the chrome rods inside them
Mesh make_cave();            // water_surface_mesh

// Many-handled shells (lattice_meshes.cpp) --------------------------------------------------------
Mesh make_hull();            // hull_mesh
Mesh make_twirl();           // twirl_mesh

// Rounded bodies (body_meshes.cpp) ----------------------------------------------------------------
Mesh make_flock();           // flock_mesh
Mesh make_core();            // core_mesh
Mesh make_pod();             // pod_mesh
Mesh make_glow_object();     // glow_object_mesh
Mesh make_glow_shell();      // glow_shell_mesh

// Machine parts (machine_meshes.cpp) --------------------------------------------------------------
Mesh make_machine_a();       // machine_part_a_mesh: the launcher
Mesh make_machine_b();       // machine_part_b_mesh: the piston
Mesh make_bubble_frame();    // bubble_frame_mesh

// Emblem, pedestal and hoop (prop_meshes.cpp) -----------------------------------------------------
Mesh make_twin_a();          // twin_part_a_mesh
Mesh make_twin_b();          // twin_part_b_mesh
Mesh make_pedestal();        // pedestal_mesh
Mesh make_tube();            // tube_mesh

// Sculptures (sculpture_meshes.cpp) ---------------------------------------------------------------
Mesh make_sculpture_a();     // sculpture_part_a_mesh
Mesh make_sculpture_b();     // sculpture_part_b_mesh
Mesh make_sculpture();       // sculpture_mesh

// Small parts (small_part_meshes.cpp) -------------------------------------------------------------
Mesh make_small_part_1();    // small_part_1_mesh ... small_part_7_mesh
Mesh make_small_part_2();
Mesh make_small_part_3();
Mesh make_small_part_4();
Mesh make_small_part_5();
Mesh make_small_part_6();
Mesh make_small_part_7();

// Rooms (room_meshes.cpp) -------------------------------------------------------------------------
Mesh make_beam_mirror();     // beam_mirror_mesh
Mesh make_beam_hall();       // beam_hall_mesh

}    // namespace mesh_recipes
