// show/machine_scenes.h - chrome launchers that fire a spinning piston straight up and
// catch it again, over a floor of glowing rings that flash with every shot, while the
// camera shakes: one launcher with a slow heavy pulse, six firing in a fast ripple seen
// from high above, and the same six inside a hexagon-lit shell with the view rolling.
// The timing rules below need no GL, so tests can check them directly.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

enum MachineKind {
    MACHINE_SINGLE,   // machine_scene: one launcher, a pulse per pattern
    MACHINE_LOOP,     // machine_loop_scene: six launchers, a pulse per eighth of a pattern
    MACHINE_HEX,      // machine_hex_scene: the six inside the shell, pistons flying higher
};
constexpr int MACHINE_LAUNCHERS = 3;   // per floor in the loop and hex scenes (two floors)

// Everything the rig and camera do at one moment, from the scene's time argument.
struct MachineBeat {
    float s;          // the rig's own clock
    float pulse;      // q: 1 at each shot, falling off fast
    float shake;      // H: how high the shot lifts the camera target, in mesh units
};

void machine_scene(float x, Texture *target);        // one launcher; x = 2 x (show time - 45.75) or - 51.75
void machine_loop_scene(float x, Texture *target);   // six launchers from above; x loops every 3/8 pattern
void machine_hex_scene(float x, Texture *target);    // the six in the rolling hexagon shell

MachineBeat machine_beat(MachineKind kind, float x);           // clock, pulse and lift at argument x
float machine_piston_height(MachineKind kind, float s, int j); // launcher j's piston; 0 while its sine is negative
CameraKey machine_camera(MachineKind kind, const MachineBeat &b, const float jitter[3],
                         float target[3]);                     // eye and lens; fills the shaken target
