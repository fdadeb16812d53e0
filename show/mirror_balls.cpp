// show/mirror_balls.cpp - noise_ball_scene.
// Each frame first captures ball B's surroundings (the room and ball A, still wearing the
// map it got last frame), then ball A's (the room and ball B with the map just made), and
// only then draws the main view. The capture cameras stand on each ball's near side and
// look at the viewer's eye, so a ball's map is oriented towards the camera that shows it.
// With camera 1 the capture point sits lower (its height scaled by 0.7) than the ball.
//
// NOTE: the maps are never cleared. The very first frame of the show that uses them shows
// the precalc's noise reflected once; every later appearance starts from the reflections
// its previous appearance left behind.
#include "show/mirror_balls.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "post/environment.h"        // Required for: capture_environment()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, vec3_*
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera()
#include "show/scene_helpers.h"      // Required for: draw_chess_room(), draw_corner_emblem()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float CAPTURE_NEAR   = 0.01f;
constexpr float CAPTURE_FAR    = 100.0f;
constexpr float VIEW_FAR       = 10000.0f;
constexpr float LOW_STANDOFF   = 0.7f;   // camera 1: capture point distance and height factor

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// A ball wearing its map, at the current camera.
static void draw_ball(const float centre[3], const Texture *map) {
    bind_texture(map, 0);   // its own flags make it a reflection-mapped cube map (or sphere map)
    glPushMatrix();
        glTranslatef(centre[0], centre[1], centre[2]);
        draw_mesh(res.sphere_32, 0);
    glPopMatrix();
}

// The environment cameras' views: the room and the other ball.
static void ball_a_view(float, int clear) {
    if (clear) reset_render_state(BLACK_RGBA);
    draw_chess_room();
    draw_ball(BALL_A_CENTRE, res.noise_cube_1);
}

static void ball_b_view(float, int clear) {
    if (clear) reset_render_state(BLACK_RGBA);
    draw_chess_room();
    draw_ball(BALL_B_CENTRE, res.noise_cube_2);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
int mirror_ball_camera(float t) {
    return int(std::trunc(4.0f * t)) & 1;
}

CameraKey mirror_ball_camera_key(int camera, float t, float target[3]) {
    const float pi = float(PI);
    target[0] = target[2] = 0;
    if (camera == 0) {   // high orbit, once round per unit of t
        target[1] = 1.5f;
        return { 4.0f * std::sin(2.0f * pi * t), 2.0f, 2.5f * std::cos(2.0f * pi * t), 70.0f };
    }
    target[1] = 1.0f;    // low and wide, the other way round, one and a half turns per unit
    return { 2.5f * std::sin(-3.0f * pi * t), 0.2f, 2.5f * std::cos(-3.0f * pi * t), 90.0f };
}

float *mirror_ball_capture_point(float *out, const float centre[3], const float eye[3], int camera) {
    float d[3] = { centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2] };
    vec3_normalize(d);
    if (camera == 1)
        return vec3_set(out, centre[0] - LOW_STANDOFF * d[0], LOW_STANDOFF * (centre[1] - d[1]),
                        centre[2] - LOW_STANDOFF * d[2]);
    return vec3_set(out, centre[0] - d[0], centre[1] - d[1], centre[2] - d[2]);
}

void noise_ball_scene(float t, Texture *target) {
    const int k = mirror_ball_camera(t);
    float aim[3];
    const CameraKey cam = mirror_ball_camera_key(k, t, aim);
    const float eye[3] = { cam.x, cam.y, cam.z };
    float pa[3], pb[3];
    mirror_ball_capture_point(pa, BALL_A_CENTRE, eye, k);
    mirror_ball_capture_point(pb, BALL_B_CENTRE, eye, k);

    capture_environment(res.noise_cube_2, t, ball_a_view, cam, pb, CAPTURE_NEAR, CAPTURE_FAR);
    capture_environment(res.noise_cube_1, t, ball_b_view, cam, pa, CAPTURE_NEAR, CAPTURE_FAR);

    reset_render_state(BLACK_RGBA);
    render.view.near_plane = CAPTURE_NEAR;
    render.view.far_plane = VIEW_FAR;
    set_camera(cam, aim, target ? RF_OFFSCREEN : 0);
    draw_chess_room();
    draw_ball(BALL_A_CENTRE, res.noise_cube_1);
    draw_ball(BALL_B_CENTRE, res.noise_cube_2);
    draw_corner_emblem(t);
    if (target) copy_frame_to_texture(target);
}
