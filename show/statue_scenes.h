// show/statue_scenes.h - two short single-pass scenes: the chrome structure in its electric
// shell, circled inside a huge chessboard box, and the two-faced emblem full size, spinning
// about its vertical axis. The timeline mostly blurs the emblem and mixes it over other scenes.
#pragma once
#include "render/texture.h"   // Texture

// How the full-size emblem stands at time t.
struct EmblemPose {
    float angle;    // total turn about y in degrees
    bool  part_a;   // true: twin_part_a_mesh (front), false: twin_part_b_mesh (back)
};

void statue_scene(float t, Texture *target);       // orbit inside the box; lens shifted (0.236, -0.236)
void twin_parts_scene(float t, Texture *target);   // emblem, two turns per unit of t
EmblemPose twin_parts_pose(float t);               // before 16 whole turns per face, from 16 on half turns
