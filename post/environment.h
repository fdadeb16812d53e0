// post/environment.h - live reflections: the surroundings of a point rendered six times, once
// per cube face, into a reflecting object's environment texture (made by
// make_noise_cube_texture). With cube maps the six pictures are the cube's faces; without,
// they land in the texture's six fallback faces and are then redrawn into its sphere map.
// Either way the object is afterwards drawn with bind_texture, whose TEX_CUBE_MAP mode
// picks reflection-map or sphere-map coordinates to suit.
//
// Every face is oriented relative to the line from the capture point to the viewer: the
// view straight along it is cube face +Z (sphere-map centre), the one straight away from
// it face -Z (sphere-map rim).
// WARNING: the capture leaves the caller's matrices, attributes and view settings as they
// were, but not the frame buffer: its lower-left 128 x 128 (256 x 256 without cube maps)
// pixels hold the last face or the sphere map. Clear before drawing the main view.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

// Draws the surroundings for one face; called by the capture on the caller's thread with
// clear = 1 ("clear first"), under the face's projection and modelview.
using EnvironmentView = void (*)(float time, int clear);

constexpr int SPHERE_MAP_SIZE = 256;   // side of the fallback's sphere map, in pixels

void capture_environment(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                         const float eye[3], float near_plane, float far_plane);   // six faces into tex
void capture_cube_faces(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                        const float eye[3], float near_plane, float far_plane);    // into the cube map
void capture_fallback_faces(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                            const float eye[3], float near_plane, float far_plane); // into the six 2D faces
void assemble_sphere_map(Texture *tex);   // the six fallback faces redrawn into tex's sphere map
float *sphere_map_point(float *out, const float *direction);   // unit direction -> (x, y) in -1..1
