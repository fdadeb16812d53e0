// show/core_closing.cpp - core_closing_scene and its rules.
// The set, in world units: the tunnel (radius 3) runs along z; one core (x 0.003) sits at
// the origin with its rotor at (0, 0.225, -0.05) facing -z; a copy of both is turned about
// the vertical line through (0, 0, 1), so it sits at z = 2 facing back; the screen is a
// plane across the tunnel at z = 1.3 whose middle cell (8 x 8 units, wider than the tunnel)
// carries the target picture once.
//
// The screen reads the target before anything overwrites it, so it shows the beam picture
// of this very frame. Only then may camera 1's zoom blur copy the frame into the target.
#include "show/core_closing.h"
#include "geometry/mesh.h"          // Required for: draw_mesh()
#include "post/filters.h"           // Required for: zoom_blur()
#include "precalc/resources.h"      // Required for: res
#include "render/math.h"            // Required for: clamp01()
#include "render/render_state.h"    // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"     // Required for: draw_spiral_tube()
#include <GL/gl.h>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float CORE_SCALE      = 0.003f;
constexpr float ROTOR_SCALE     = 0.0005f;
static const float ROTOR_AT[3]  = { 0.0f, 0.225f, -0.05f };
constexpr float PAIR_PIVOT_Z    = 1.0f;     // the copy is turned about x = 0, z = 1
constexpr float SCREEN_Z        = 1.3f;
constexpr float SCREEN_SCALE    = 2.0f;
constexpr float TUNNEL_RADIUS   = 3.0f;
constexpr int   TUNNEL_SEGMENTS = 16;
constexpr int   TUNNEL_HALF     = 32;
constexpr float FOG_END         = 16.0f;
constexpr float SIDE_VIEW_START = 74.0f;
constexpr float SIDE_VIEW_END   = 75.0f;
constexpr float SPIN_START      = 75.5f;   // full spin here, none two patterns later
constexpr int   ZOOM_COPIES     = 32;
constexpr float ZOOM_STEP       = 1.03f;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void draw_core() {
    bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
    glPushMatrix();
        glScalef(CORE_SCALE, CORE_SCALE, CORE_SCALE);
        draw_mesh(res.core_mesh, 0);
    glPopMatrix();
}

static void draw_rotor(float spin) {
    glPushMatrix();
        bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
        glTranslatef(ROTOR_AT[0], ROTOR_AT[1], ROTOR_AT[2]);
        glRotatef(spin, 0, 1, 0);
        glRotatef(-90.0f, 1, 0, 0);
        glScalef(ROTOR_SCALE, ROTOR_SCALE, ROTOR_SCALE);
        draw_mesh(res.sculpture_mesh, 0);
    glPopMatrix();
}

static void draw_screen(const Texture *target, float level) {
    glPushMatrix();
        bind_texture(target, 0);
        glColor3f(level, level, level);
        glTranslatef(0, 0, SCREEN_Z);
        glScalef(SCREEN_SCALE, SCREEN_SCALE, 1.0f);
        glRotatef(180.0f, 0, 0, 1);
        glRotatef(90.0f, 1, 0, 0);
        draw_mesh(res.grid_plane, RF_BLEND_ADD | RF_NO_DEPTH_WRITE | RF_NO_CULL);
    glPopMatrix();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float closing_level(float a) {
    return 1.0f - (a - 76.0f);
}

float closing_spin(float a) {
    if (a > SPIN_START + 2.0f) return 0.0f;
    const float u = 1.0f - (a - SPIN_START) / 2.0f;
    return 100.0f * u * u;
}

int closing_camera(float a) {
    return (a >= SIDE_VIEW_START && a < SIDE_VIEW_END) ? 0 : 1;
}

CameraKey closing_camera_key(int camera, float a, float target[3]) {
    target[0] = 0;
    if (camera == 0) {   // from the side, behind the first core, towards the screen
        target[1] = 0.2f;
        target[2] = 1.0f;
        return { 0.5f, 0.2f, 0.5f * (a - 75.0f) - 1.0f, 90.0f };
    }
    target[1] = 0.225f;   // just behind the rotor, backing away from it along +z
    target[2] = -10.0f;
    return { 0.0f, 0.225f, 0.15f * (a - 73.0f) + 0.019f, 90.0f };
}

float closing_zoom_amount(float a) {
    return a < SPIN_START ? 1.0f : clamp01(1.0f - (a - SPIN_START));
}

void core_closing_scene(float a, Texture *target) {
    const float level = clamp01(closing_level(a)), spin = closing_spin(a);
    const int camera = closing_camera(a);

    reset_render_state(BLACK_RGBA);
    glColor3f(level, level, level);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    float aim[3];
    set_camera(closing_camera_key(camera, a, aim), aim, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FOG_END);

    draw_core();
    bind_texture(res.shakki_texture, 0);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(spin / 100.0f, 0, 0);   // the board turns with the rotors
    glMatrixMode(GL_MODELVIEW);
    draw_spiral_tube(0.0f, TUNNEL_RADIUS, TUNNEL_SEGMENTS, TUNNEL_HALF, RF_NO_CULL);
    draw_rotor(spin);

    glPushMatrix();
        glTranslatef(0, 0, PAIR_PIVOT_Z);
        glRotatef(180.0f, 0, 1, 0);
        glTranslatef(0, 0, -PAIR_PIVOT_Z);
        draw_core();
        draw_rotor(spin);
    glPopMatrix();

    if (!target) return;   // no picture to show on the screen, nowhere to blur into
    draw_screen(target, level);
    if (camera == 1) {
        copy_frame_to_texture(target);
        zoom_blur(target, ZOOM_COPIES, ZOOM_STEP, closing_zoom_amount(a), RF_BLEND_ADD | RF_OFFSCREEN);
    }
    copy_frame_to_texture(target);
}
