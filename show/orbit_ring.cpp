// show/orbit_ring.cpp - bubble_scene.
// The ring is built in the pieces' own units (radius 15) and scaled by 0.01 into a ring of
// 0.15 round the centre; the camera circles at 2, inside the dome of 10 and the fog's end
// of 16, so the ring fills the middle of the picture and the dome glows faintly behind it.
// All pieces tumble about the same axis, which wanders through the origin with t: at t = 0
// it is the zero vector, and GL leaves a turn about it undone (the angle is 0 there too).
#include "show/orbit_ring.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"      // Required for: draw_corner_emblem()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float RING_SCALE     = 0.01f;
constexpr float RING_RADIUS    = 15.0f;   // in the pieces' units
constexpr float DOME_SCALE     = 10.0f;
constexpr float FOG_END        = 16.0f;
constexpr float ORBIT_RADIUS   = 2.0f;
static const float CENTRE[3]   = { 0, 0, 0 };

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void orbit_ring_piece_axis(float t, float axis[3]) {
    axis[0] = std::sin(8.124f * t);
    axis[1] = std::sin(11.71f * t);
    axis[2] = std::sin(5.412f * t);
}

void bubble_scene(float t, Texture *target) {
    const float pi = float(PI);
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const CameraKey eye = { ORBIT_RADIUS * std::sin(pi * t), 0.0f, ORBIT_RADIUS * std::cos(pi * t), 80.0f };
    set_camera(eye, CENTRE, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FOG_END);

    bind_texture(res.electric_texture, TEX_SPHERE_MAP);
    float axis[3];
    orbit_ring_piece_axis(t, axis);
    glPushMatrix();
        glScalef(RING_SCALE, RING_SCALE, RING_SCALE);
        glRotatef(180.0f * pi * t, 1, 1, 1);
        for (int i = 0; i < RING_PIECES; i++) {
            glPushMatrix();
                glRotatef(45.0f * float(i), 0, 1, 0);
                glTranslatef(RING_RADIUS, 0, 0);
                glRotatef(360.0f * t, axis[0], axis[1], axis[2]);
                draw_mesh(res.bubble_frame_mesh, 0);
            glPopMatrix();
        }
    glPopMatrix();

    glPushMatrix();
        bind_texture(res.bubble_texture, 0);
        glScalef(DOME_SCALE, DOME_SCALE, DOME_SCALE);
        draw_mesh(res.sky_sphere, RF_CULL_FRONT);
    glPopMatrix();

    draw_corner_emblem(t);
    if (target) copy_frame_to_texture(target);
}
