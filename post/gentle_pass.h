// post/gentle_pass.h - the reduce-flashing mode's last pass over the finished picture.
// It reads the picture back, averages each cell of the limiter's grid (post/flash_limit.h)
// in linear light on the CPU, and where the limiter asks, blends the picture shown last over
// the new one, the blend running smoothly from corner to corner of the grid. A picture that
// needs no limiting is left exactly as drawn. The pass keeps the last shown picture (a
// window-sized texture of its own) and the limiter between frames.
#pragma once

void gentle_pass(double seconds);   // limit the finished picture of show time seconds
void reset_gentle_pass();           // forget the frames so far and free the textures
bool gentle_pass_limited();         // the last pass blended anything
