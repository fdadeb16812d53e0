// post/gentle_pass.h - the reduce-flashing mode's last pass over the finished picture.
// It copies the picture into a texture, shrinks it on the card to 4 x 4 pixels per cell of the
// limiter's grid (post/flash_limit.h) and reads those few pixels back; where the limiter
// asks, it blends the picture shown last over the new one, the blend running smoothly from
// corner to corner of the grid. A picture that needs no limiting is left exactly as drawn.
// The pass keeps the last shown picture and the limiter between frames; it owns its two
// textures directly (they need automatic mipmaps, which the show's textures never use).
#pragma once

void gentle_pass(double seconds);   // limit the finished picture of show time seconds
void reset_gentle_pass();           // forget the frames so far and free the textures
bool gentle_pass_limited();         // the last pass blended anything
