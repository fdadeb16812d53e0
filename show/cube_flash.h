// show/cube_flash.h - the cube flash: a one-beat hard-cut insert of one of seven sculptures
// of small chrome cubes, spinning inside a scrolling hexagon dome and smeared by a radial
// zoom flash. The sculpture and its chrome change every quarter pattern (seven sculptures,
// three chromes: the pair repeats every 21 quarters); several pulse with the band sums.
// The rules below need no GL (but draw_cube_sculpture), so tests can check them directly.
#pragma once
#include "render/texture.h"   // Texture

constexpr int CUBE_SCULPTURES = 7;

void  cube_flash_scene(float t, Texture *target);   // t is show time; always copies into target when given
int   cube_flash_sculpture(float t);                // 0..6, anew every quarter pattern
int   cube_flash_chrome(float t);                   // 0 metal, 1 electric, 2 envi6b
float cube_flash_step16(float x);                   // 0 below 7, up to 1 over 7..8, 1 until 15, down over 15..16 (period 16)
void  cube_flash_corners(const float band[4], float size_position[8][4]);   // sculpture 3: each cube's size, then its centre
void  draw_cube_sculpture(int sculpture, float t, const float band[4]);     // at the current camera; chrome bound by the caller
