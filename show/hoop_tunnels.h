// show/hoop_tunnels.h - three nested chrome hoops spinning at the centre of a tube that
// streams past the camera, in two looks: metal hoops in a chessboard spiral tube (which
// snaps its hoops back and forth in the last unit it is shown), and bubble-sheened hoops
// in a straight tube of light bars. The hoops' angles are GL-free so tests can check them.
#pragma once
#include "render/texture.h"   // Texture

constexpr int HOOPS = 3;   // nested tube_mesh copies, each 0.8 the size of the one outside it

void tube_metal_scene(float t, Texture *target);   // spiral chessboard tube, jitter for 83 <= t < 84
void tube_light_scene(float t, Texture *target);   // straight light tube, steady spin
float hoop_turn(float t, bool jitter);             // rotation parameter: t, or folded within [83, 84) when jitter
void  hoop_angles(float r, float degrees[HOOPS]);  // each hoop's own turn (outermost first) for parameter r
