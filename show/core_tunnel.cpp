// show/core_tunnel.cpp - core_flock_scene.
// Everything sits on the tube's axis (z) in world units of about a core's size: the core
// (scale 0.003, radius about 0.18) at the origin, the second core 2.6 further along +z
// turned to face it, the flock growing out of the first core and drifting along +z, the
// swimmers round z = 1.75. The camera orbits the axis at 0.675 once per unit of t.
//
// The screen is grid_plane (one texture repeat per 4-unit cell) scaled 1.3 and stood up
// across the tube at z = 1.3, so each of its cells shows the whole previous frame, added
// over the picture in a flickering green-cyan. That frame already holds the screen, so
// the pictures nest a little deeper every frame.
//
// NOTE: the flock's second-half rule treats q = 6 as part of its rest at (0, 0.25, 0.5);
// taking the growing rule there would throw it to z = 2 at double size for one instant.
#include "show/core_tunnel.h"
#include "show/scene_helpers.h"      // Required for: draw_spiral_tube(), wave_deform()
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "precalc/resources.h"       // Required for: res
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float       PI_F            = 3.14159265f;   // the value this scene's rhythms were tuned with
constexpr float       ORBIT_RADIUS    = 0.675f;
constexpr float       ORBIT_PHASE     = 0.425f;        // turns ahead at t = 0
constexpr float       FOG_END         = 16.0f;
constexpr float       CORE_SCALE      = 0.02f * 0.15f;
constexpr float       SECOND_CORE_Z   = 2.6f;
constexpr float       FLOCK_BASE      = 0.1f * 0.01f;  // times the flock's size factor
constexpr float       FLOCK_NUDGE     = -0.05f;        // back into the core
constexpr float       SWIMMER_Z       = 1.75f;
constexpr float       SWIMMER_BASE    = 0.1f * 0.01f;
constexpr float       TUBE_RADIUS     = 3.0f;
constexpr int         TUBE_SEGMENTS   = 16;
constexpr int         TUBE_HALF_RINGS = 32;
constexpr float       SCREEN_Z        = 1.3f;
constexpr float       SCREEN_SCALE    = 1.3f;
constexpr RenderFlags SCREEN_FLAGS    = RF_NO_CULL | RF_NO_DEPTH_WRITE | RF_BLEND_ADD;   // 0x640

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void draw_cores(const CoreCycle &c) {
    bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
    glPushMatrix();
        glScalef(CORE_SCALE, CORE_SCALE, CORE_SCALE);
        draw_mesh(res.core_mesh, 0);
    glPopMatrix();
    if (!c.second_half) return;
    glPushMatrix();
        glTranslatef(0, 0, SECOND_CORE_Z);
        glRotatef(180.0f, 0, 1, 0);
        glScalef(CORE_SCALE, CORE_SCALE, CORE_SCALE);
        draw_mesh(res.core_mesh, 0);
    glPopMatrix();
}

// The flock and the swimmers ripple with the red chrome still bound.
static void draw_flock_and_swimmers(float t, const CoreCycle &c) {
    glPushMatrix();
        glTranslatef(c.flock_offset[0], c.flock_offset[1], c.flock_offset[2] + FLOCK_NUDGE);
        const float s = c.flock_size * FLOCK_BASE;
        glScalef(s, s, s);
        draw_mesh_deformed(res.flock_mesh, t, wave_deform, 1.0f, 1.0f, 0);
    glPopMatrix();
    for (int i = 0; i < c.cycles; i++) {
        const float fi = float(i);
        const float w = 0.5f * std::sin(PI_F * t + 0.3f * fi) + 0.5f;
        const float s = (0.3f * w + 2.2f) * SWIMMER_BASE;
        glPushMatrix();
            glTranslatef(0.7f * std::cos(2.0f * fi), 0.6f * std::sin(0.75f * fi) + 0.25f, SWIMMER_Z);
            glScalef(s, s, s);
            glRotatef(90.0f, -1, 0, 0);   // the bell up
            draw_mesh_deformed(res.pod_mesh, t + 0.3f * fi, wave_deform, 1.0f, 1.0f, 0);
        glPopMatrix();
    }
}

static void draw_screen(float t, const CoreCycle &c, const Texture *target) {
    float tint[4];
    bind_texture(target, 0);
    glColor4fv(core_screen_tint(t, c.q, tint));
    glPushMatrix();
        glTranslatef(0, 0, c.screen_distance + SCREEN_Z);
        glScalef(SCREEN_SCALE, SCREEN_SCALE, 1.0f);
        glRotatef(180.0f, 0, 0, 1);
        glRotatef(90.0f, 1, 0, 0);
        draw_mesh(res.grid_plane, SCREEN_FLAGS);
    glPopMatrix();
    glColor4f(1, 1, 1, 1);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
CoreCycle core_cycle(float t) {
    CoreCycle c = {};
    const float u = t / CORE_CYCLE_LENGTH, whole = std::floor(u);
    c.q = std::min(8.0f * (u - whole), std::nextafter(8.0f, 0.0f));
    c.cycles = std::max(0, int(whole));
    c.second_half = c.q > 4.0f;
    const float q = c.q;

    if (q <= 4.0f) {
        c.eye_back = 0;
    } else if (q <= 4.5f) {
        c.eye_back = q - 4.0f;
        c.target[1] = 0.5f * (q - 4.0f);
    } else if (q < 6.0f) {
        c.eye_back = 0.5f;
        c.target[1] = 0.25f;
    } else {
        c.eye_back = 0.5f + (q - 6.0f) / 8.0f;
        c.target[1] = 0.25f;
    }
    c.target[2] = c.eye_back;
    c.eye_height = q <= 4.0f ? 0.0f : q < 6.0f ? 0.1875f * (q - 4.0f) : 0.375f;

    c.tube_position = CORE_TUBE_SPEED * std::min(q, 4.0f);
    c.screen = q > 3.0f;
    c.screen_distance = q < 4.0f ? SCREEN_SLIDE - SCREEN_SLIDE * (q - 3.0f) : 0.0f;

    c.flock_offset[1] = 0.25f;
    if (q <= 4.5f) {          // grows out of the core
        c.flock_offset[2] = q - 4.0f;
        c.flock_size = 1.0f + (q - 4.0f);
    } else if (q <= 6.0f) {   // rests
        c.flock_offset[2] = 0.5f;
        c.flock_size = 1.5f;
    } else {                  // drifts away along the tube
        c.flock_offset[2] = 0.5f + 0.65f * (q - 6.0f);
        c.flock_size = 1.5f;
    }
    return c;
}

float *core_screen_tint(float t, float q, float rgba[4]) {
    const float A = 0.25f * std::sin(7.0f * PI_F * t) + 0.75f;
    const float u = (0.4f * std::cos(3.75f * PI_F * q) + 0.6f) * A;
    const float c = 0.2f * (0.45f * std::cos(3.0f * PI_F * t) + 0.55f);
    const float v = (0.5f * std::sin(9.75f * q) + 0.5f) * c;
    rgba[0] = v + 0.1f * u;
    rgba[1] = v + 0.5f * u;
    rgba[2] = u - 0.3f * v;
    rgba[3] = 1.0f;
    return rgba;
}

void core_flock_scene(float t, Texture *target) {
    const CoreCycle c = core_cycle(t);
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const float a = 2.0f * PI_F * (t + ORBIT_PHASE);
    const CameraKey eye = { ORBIT_RADIUS * std::sin(a), c.eye_height,
                            ORBIT_RADIUS * std::cos(a) + 0.5f * c.eye_back, 90.0f };
    set_camera(eye, c.target, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FOG_END);

    draw_cores(c);
    if (c.second_half) draw_flock_and_swimmers(t, c);

    bind_texture(res.shakki_texture, 0);
    draw_spiral_tube(c.tube_position, TUBE_RADIUS, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_NO_CULL);

    if (c.screen && target) draw_screen(t, c, target);
    if (target) copy_frame_to_texture(target);
}
