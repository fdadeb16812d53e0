// show/core_tunnel.h - the core tunnel: cycles of 4 units of t. In the first half a red
// chrome core sits in a chessboard tube streaming towards the camera, and near its end a
// glowing screen showing the scene's own previous frame slides up the tube. In the second
// half the tube stops, a second core stands behind, a rippling flock grows out of the core
// and drifts off, swimmers bob round the view (one more each completed cycle) and the
// camera rises and backs away. core_cycle() holds every rule of the cycle, GL-free.
#pragma once
#include "render/texture.h"   // Texture

constexpr float CORE_CYCLE_LENGTH = 4.0f;    // units of t per cycle
constexpr float CORE_TUBE_SPEED   = 32.0f;   // rings per unit of the phase q
constexpr float SCREEN_SLIDE      = 16.0f;   // how far away the screen starts its slide

// Where one moment falls in its cycle and what that puts on screen.
struct CoreCycle {
    float q;                 // phase, 0 <= q < 8: the first half is q <= 4
    int   cycles;            // completed cycles: the swimmers of the second half
    bool  second_half;       // q > 4: second core, flock and swimmers drawn, camera lifting
    float target[3];         // camera target
    float eye_height;        // camera height
    float eye_back;          // look offset z0; the orbit's centre moves back by half of it
    float tube_position;     // streams 32 rings per unit of q, then stands at 128
    bool  screen;            // q > 3: the screen is drawn
    float screen_distance;   // extra distance of the screen: 16 just above q = 3, 0 from q = 4
    float flock_offset[3];   // where the flock sits (second half only)
    float flock_size;        // and its size factor
};

void core_flock_scene(float t, Texture *target);              // the target's previous picture feeds the screen
CoreCycle core_cycle(float t);                                // the rules above at time t
float *core_screen_tint(float t, float q, float rgba[4]);     // the screen's flickering green-cyan colour
