// show/bubble_scenes.h - slowly rising soap bubbles, seen from a camera circling just inside
// the group. Each bubble is an additive iridescent skin over a faint sphere-mapped reflection
// of the scene's own target texture, so the target must always be given: the bubbles mirror
// the picture it held when the frame began. The shaft scene rises with its bubbles in the
// second half of every eight-unit cycle; the field scene floats them in a bluish haze.
#pragma once
#include "render/texture.h"   // Texture

constexpr int BUBBLES = 10;   // small bubbles in either scene

void  bubble_sculpture_scene(float x, Texture *target);   // ten bubbles and a big one in a chrome shaft
void  bubble_field_scene(float x, Texture *target);       // ten bubbles in open fog
float shaft_lift(float x);                      // camera and bubble lift: 0, then 10 per unit over d = 4..8
float shaft_bubble_height(float x, int i);      // bubble i's extra height: wraps +8 -> -8, rides the lift after d = 4
bool  big_bubble_height(float x, float *a);     // false before d = 3; else its height, -3 rising to 5, then lift + 5
float field_bubble_height(float x, int i);      // wraps +3 -> -3
