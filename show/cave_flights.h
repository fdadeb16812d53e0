// show/cave_flights.h - the two flights along recorded camera paths through large meshes
// seen from inside: the water cave with its wave-riding flock, and the statue's cavern
// full of sparks. Both reflect their own previous frame, so the timeline must always pass
// the same target texture.
#pragma once
#include "render/texture.h"   // Texture

constexpr int CAVE_SPARKS   = 500;    // flares floating in the water cave
constexpr int CAVERN_SPARKS = 1000;   // flares in the statue's cavern

void water_flock_scene(float t, Texture *target);    // cave flight; white fog flash at t = 2, sparks after 4
void water_statue_scene(float t, Texture *target);   // cavern flight, one loop per 2 units of t
float water_flock_fog(float t, float rgba[4]);       // the cave's fog colour at t; returns the fog end
