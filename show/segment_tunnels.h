// show/segment_tunnels.h - two flights along +z through machined ring segments, seven
// segment meshes one after another, each turned about the axis by its own fixed angle.
// The funnel flies fast through segments 50 units apart: before show time 51 they hang 300
// units off the axis as a wide scattered tube, from 51 on they close in round the camera
// and fan out with distance. The rush is a close, wide-angle pass between two twisting
// rows of segments. Both take the show time itself. The placement rules need no GL.
#pragma once
#include "render/texture.h"   // Texture

constexpr int   FUNNEL_SEGMENTS   = 41;      // at most this many ahead of the camera
constexpr float FUNNEL_GATHER     = 51.0f;   // show time at which the funnel closes in
constexpr float FUNNEL_RADIUS_CAP = 300.0f;
constexpr int   RUSH_REACH        = 5;       // rows drawn on either side of the camera's row
constexpr float RUSH_FAR_PLANE    = 4.0f;
constexpr float RUSH_EYE_Z        = -2.0f;

// One funnel segment: which mesh, where and how it is turned.
struct FunnelSegment {
    int   k;        // its number along the flight; it sits at z = 50 k
    int   mesh;     // 0..6: small_part_2, _1, _3, _4, _5, _6, _7
    float angle;    // degrees about z, from k alone
    float radius;   // how far off the axis
};

// One of the two segments of a rush row.
struct RushSegment {
    int   mesh;     // 2..6, as for the funnel
    float angle;    // degrees about z
    float lift;     // 0..1 of the 300-unit lift off the axis
};

void small_parts_metal_scene(float x, Texture *target);   // the funnel flight
void small_parts_light_scene(float x, Texture *target);   // the rush past the twisting rows

int   funnel_segments(float x, FunnelSegment *out);   // the segments ahead at x, nearest first; their count
float funnel_eye_z(float x);                          // where the camera is along the flight
void  rush_rows(float x, int *first, int *last);      // the rows drawn at x, first..last inclusive
RushSegment rush_segment(float x, int k, int j);      // row k's segment j (0 or 1) at x
float rush_row_z(float x, int k);                     // world z of row k's front at x (the eye is at -2)
