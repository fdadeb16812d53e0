// show/hull_scenes.h - the iridescent perforated hull in front of a huge sky ball, between
// a chessboard (or hexagon) plane above and one below. Each frame is made in two passes:
// the sky ball behind the hull's black silhouette is rendered first, smeared outward with a
// zoom blur and kept in the target texture; then the sharp hull and the planes are drawn
// and the smeared sky is added back on top, so the sky glows out of the hull's windows and
// around its outline. The target is the scratch for that first pass, so the timeline always
// gives one; without a target only the sharp pass is drawn.
#pragma once
#include "render/texture.h"   // Texture

void  hull_scene(float t, Texture *target);       // the camera circles the group
void  hull_hex_scene(float t, Texture *target);   // a rolling camera; the group rushes past every 2 units of t
float hull_hex_group_z(float t);                  // the group's z: 200 at t = 2k (behind the eye), 0 at 2k + 1
