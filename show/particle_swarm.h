// show/particle_swarm.h - the particle swarm, the long scene that closes the first section.
// On a chessboard stage under a dome, four flocks fly in from the four sides; 1000 glowing
// particles peel off their vertices, stream into the shape of a red core that flashes into
// being in the middle, then scatter into a flat grid while the core drifts away and the
// stage fades out. Its clock m runs from 14 to 23 (show time + 2); every threshold is in m.
// The pure timing rules below need no GL, so tests can check them directly.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

constexpr int SWARM_PARTICLES = 1000;   // particles in each formation

// Size and brightness of the swarm's flares at one moment; nothing is drawn unless both are > 0.
struct SwarmSprites {
    float size;         // sprite half size, in the swarm's own (x 0.05) units
    float brightness;
};

void particle_swarm_scene(float m, Texture *target);   // the whole scene at scene time m
void chess_floor_set(int clear, float level);          // stage: floor, dome and pedestal at colour level

int          swarm_camera(float m);                    // which of the six set-ups films at m
CameraKey    swarm_camera_key(int camera, float m, float target[3]);   // its eye and field of view; fills target
float        swarm_formation_ease(float m, float start, int i);        // 0..1; particle i leaves i/1000 after start
float       *swarm_arrival_point(float *out, float m, int i, const float *flock_point);   // first formation
SwarmSprites swarm_sprite_look(float m);               // the swarm's flares by time (the arrival's are separate)
float        swarm_core_drift(float m);                // z of the centre point: 0, then away along +z from 20
float        swarm_stage_level(float m);               // 1, falling to 0 over 22..23
float        swarm_zoom_flash(float m);                // zoom-blur amount; 0 outside the two flashes
