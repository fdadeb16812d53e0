// data/camera_paths.h - the two recorded camera paths of the flights, as closed loops of
// SplineKey (evaluate with spline_point): the cave loop, a figure-eight through the water
// cave, and the cavern loop through the statue's tunnels.
#pragma once
#include "render/math.h"   // SplineKey

constexpr int CAVE_PATH_KEYS   = 30;
constexpr int CAVERN_PATH_KEYS = 42;

extern const SplineKey cave_path[CAVE_PATH_KEYS];       // water_flock_scene, sampled at t / 4
extern const SplineKey cavern_path[CAVERN_PATH_KEYS];   // water_statue_scene, sampled at t / 2
