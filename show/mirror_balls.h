// show/mirror_balls.h - two chrome balls hovering over the fogged chessboard room, each
// reflecting the room and the other ball. Both reflections are captured live every frame
// into the balls' own cube maps (res.noise_cube_1 for ball A, res.noise_cube_2 for ball B),
// which keep their pictures from frame to frame and from one appearance of the scene to
// the next, so reflections of reflections build up. Two cameras cut every quarter unit of
// the scene's time. The rules below need no GL, so tests can check them directly.
#pragma once
#include "render/render_types.h"   // CameraKey
#include "render/texture.h"        // Texture

constexpr float BALL_A_CENTRE[3] = { 1.5f, 1.0f, 0.0f };
constexpr float BALL_B_CENTRE[3] = { -1.5f, 1.0f, 0.0f };

void      noise_ball_scene(float t, Texture *target);   // the whole scene; without a target, the whole window
int       mirror_ball_camera(float t);                   // 0 or 1: which camera films at t
CameraKey mirror_ball_camera_key(int camera, float t, float target[3]);   // its eye and field of view; fills target
float    *mirror_ball_capture_point(float *out, const float centre[3], const float eye[3],
                                    int camera);         // where a ball's environment camera stands
