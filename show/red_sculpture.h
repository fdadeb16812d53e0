// show/red_sculpture.h - the finale's colossus: the flare sculpture's machine, intact and a
// thousand times larger, recedes into the distance with its spark cloud while the emitter
// ripples and rocks in the foreground and the camera swings past on a wide arc, closest at
// t = 2. Scene time t runs from 0 to 3.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

void      red_sculpture_scene(float t, Texture *target);
CameraKey red_sculpture_eye(float t);   // the swinging eye (it always looks at the origin)
