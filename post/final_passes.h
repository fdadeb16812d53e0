// post/final_passes.h - the passes that finish every frame: the film pass (row wobble driven
// by the music, moving grain and a coloured stripe mask), the ripple pass that writes the
// finished picture over the whole window with a second wobble, and the beat flash.
// The row tables and the flash level are plain functions of their inputs, so tests can
// check them without a context. None of the three drawing passes saves or restores GL state.
#pragma once
#include "render/render_types.h"   // RenderFlags
#include "render/texture.h"        // Texture

constexpr int FINAL_PASS_ROWS = 128;   // rows of both wobble tables

void  film_row_offsets(const float bands[4], float rows[FINAL_PASS_ROWS]);     // sixfold ripple + bass bend
void  ripple_row_offsets(const float bands[4], float rows[FINAL_PASS_ROWS]);   // tears the top rows apart
float beat_flash_level(float s, float rate, float decay);                      // 1 at each beat, fading to 0

void film_pass(const Texture *picture, float unused, float strength, float intensity,
               RenderFlags flags);     // wobble, grain up, grain down, stripe mask: offscreen viewport
void ripple_pass(const Texture *picture, float unused, float amplitude,
                 float intensity);     // spread wobble over the whole window
void beat_flash(float s, float gain, float rate, float decay);   // additive grey over the whole window
