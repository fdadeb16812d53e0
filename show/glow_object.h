// show/glow_object.h - a chrome emitter at the origin facing a bubble-skinned target 30
// units along +z. The camera orbits the pair, then rides the axis from the emitter
// towards the target; at x = 61.5 the emitter fires a glowing red beam, the target bursts
// and two spark streams pour out of it, growing, the red one emptying as the blue one
// fills. The beam and its glow stop at 63; the streams go on. x is the scene's own clock
// (show time - 2.5). The rules below need no GL.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

constexpr int   GLOW_SPARKS     = 500;     // points in each stream and in the burst
constexpr float GLOW_FIRE       = 61.5f;   // beam, burst and streams start here
constexpr float GLOW_BURST_END  = 62.0f;   // the burst has faded out
constexpr float GLOW_BEAM_END   = 63.0f;   // the beam and its glow stop

// What a frame at x draws on top of the orbiting pair.
struct GlowPasses {
    bool beam;     // black silhouettes, the red line and the glow pyramid over the frame
    bool streams;  // the two spark streams out of the target
    bool burst;    // the fading burst
};

void glow_object_scene(float x, Texture *target);

GlowPasses glow_passes(float x);
int        glow_camera_choice(float x);                       // 1 or 2 orbiting, 0 riding the axis
CameraKey  glow_camera(int camera, float x, float target[3]); // eye and lens; fills the target point
float      glow_stream_point(float *out, float x, int i, const float *direction,
                             float phase);                    // one stream spark; returns its brightness factor
void       glow_stream_counts(float x, int *red, int *blue);  // sparks drawn in each stream
float      glow_burst_reach(float x);                         // k: how far the burst has flown, 0..2
