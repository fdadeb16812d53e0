// show/core_closing.h - the last scene of the show. In a chessboard spiral tunnel two small
// red cores, each with a tiny rotor in front of it, face each other across a glowing screen
// that shows the mirror beams (rendered into the same target just before). The camera
// drifts back from one rotor, cuts to a side view of the whole set for one pattern, comes
// back while the rotors spin down and the picture, smeared by a fading zoom blur, dims to
// black. Its clock a runs from 73 to 77 (show time - 2); every threshold is in a.
// The pure rules below need no GL, so tests can check them directly.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

void core_closing_scene(float a, Texture *target);   // target holds the beam picture on entry

float     closing_level(float a);          // brightness: 1 (and above) until 76, 0 at 77
float     closing_spin(float a);           // rotor angle in degrees: 100 at 75.5, 0 from 77.5
int       closing_camera(float a);         // 0: the side view over [74, 75); 1 otherwise
CameraKey closing_camera_key(int camera, float a, float target[3]);   // fills target
float     closing_zoom_amount(float a);    // zoom-blur strength of camera 1's frames
