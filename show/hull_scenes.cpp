// show/hull_scenes.cpp - hull_scene and hull_hex_scene.
// The sky pass draws the hull untextured in black and the sky ball (x 70, spinning about a
// wandering axis) around it; the ball hides every part of the hull inside it, so what
// reaches the target is sky framed by the black hull. zoom_blur_flash smears that outward
// from the centre and the result goes back into the target. The sharp pass then draws the
// hull (one iridescent texel modulated by the sky as a sphere map) and the two planes, and
// adds the smeared sky over everything: light streams out of the windows and over the
// planes while the hull's body stays dark against it.
//
// In hull_hex_scene the group (hull and sky ball, halved) rides along z from 200, behind
// the eye, to -200 every two units of t. The sky pass and the hexagon planes are seen from
// a camera rolling a full turn every 8 units; the sharp hull from the same eye held upright.
// NOTE: the sharp pass must draw the hull upright, so it resets the state (and the up
// vector) between the two matrix saves of the sky pass; the later restores bring back the
// rolling camera's modelview, while the projection is the same for both.
#include "show/hull_scenes.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "post/filters.h"            // Required for: zoom_blur_flash(), draw_layer()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog(), render.view
#include "show/scene_helpers.h"      // Required for: draw_corner_emblem()
#include <GL/gl.h>
#include <cmath>
#include <initializer_list>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float ORIGIN[3]       = { 0, 0, 0 };
constexpr float    SKY_SCALE       = 70.0f;    // the sky ball, in hull units
constexpr float    SKY_SPIN        = 90.0f;    // degrees per unit of t
constexpr float    SKY_INNER_SCALE = 0.95f;    // the ball's inside, seen as the group passes
constexpr float    PLANE_HEIGHT    = 200.0f;   // the planes at y = -200 and +200
static const float PLANE_SCALE[3]  = { 100.0f, 1.0f, 100.0f };
constexpr float    ROOM_FOG_END    = 1000.0f;
constexpr float    HEX_FOG_END     = 500.0f;
constexpr float    HEX_GROUP_SCALE = 0.5f;
constexpr float    HEX_STREAM      = 4.0f;     // hexagon texture repeats per unit of t
static const CameraKey HEX_EYE     = { 10.0f, 0.0f, 110.0f, 150.0f };
constexpr int      GLOW_COPIES     = 24;
constexpr float    GLOW_STEP       = 1.083f;
constexpr RenderFlags COMBINE_MODULATE = RF_BLEND_MULTIPLY;   // bind_texture_pair's combine word

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// The black hull and the sky ball around it, at the current matrix; `inside` also draws
// the ball's inner wall, for a camera that passes through it.
static void draw_sky_pass_group(float t, bool inside) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    draw_mesh(res.hull_mesh, 0);
    glColor3f(1, 1, 1);
    glPushMatrix();
        glScalef(SKY_SCALE, SKY_SCALE, SKY_SCALE);
        glRotatef(SKY_SPIN * t, std::sin(1.52f * t), std::cos(2.18f * t), 0);
        bind_texture(res.skyr1_texture, 0);
        draw_mesh(res.sphere_32, 0);
        if (inside) {
            glScalef(SKY_INNER_SCALE, SKY_INNER_SCALE, SKY_INNER_SCALE);
            draw_mesh(res.sphere_32, RF_CULL_FRONT);
        }
    glPopMatrix();
}

// The target's picture smeared outward and copied back into the target.
static void smear_into_target(Texture *target) {
    copy_frame_to_texture(target);
    zoom_blur_flash(target, GLOW_COPIES, GLOW_STEP, 1.0f, RF_OFFSCREEN);
    copy_frame_to_texture(target);
}

static void draw_sharp_hull() {
    bind_texture_pair(res.irid_texture, 0, res.skyr1_texture, TEX_SPHERE_MAP, COMBINE_MODULATE);
    draw_mesh(res.hull_mesh, 0);
}

// The two planes, 200 below and 200 above; the caller binds their texture.
static void draw_planes() {
    for (float y : { -PLANE_HEIGHT, PLANE_HEIGHT }) {
        glPushMatrix();
            glScalef(PLANE_SCALE[0], PLANE_SCALE[1], PLANE_SCALE[2]);
            glTranslatef(0, y, 0);
            draw_mesh(res.grid_plane, RF_NO_CULL);
        glPopMatrix();
    }
}

// The smeared sky over the finished picture, the emblem, and the copy into the target.
static void finish(float t, Texture *target) {
    if (target) draw_layer(target, 1.0f, RF_BLEND_ADD | RF_OFFSCREEN);
    draw_corner_emblem(t);
    if (target) copy_frame_to_texture(target);
}

static CameraKey hull_eye(float t) {
    return { 110.0f * std::sin(5.0f * t), 50.0f * std::sin(2.0f * t), 110.0f * std::cos(5.0f * t),
             130.0f + 20.0f * std::sin(float(2.0 * PI) * t) };
}

// The rolling camera of hull_hex_scene: up turns a full circle every 8 units of t.
static void set_rolling_camera(float t, RenderFlags flags) {
    const float roll = float(PI) * t / 4.0f;
    render.view.up[0] = std::sin(roll);
    render.view.up[1] = std::cos(roll);
    render.view.up[2] = 0;
    set_camera(HEX_EYE, ORIGIN, flags);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float hull_hex_group_z(float t) {
    const float s = std::fmod(t / 2.0f, 1.0f);
    return 200.0f - 400.0f * s;
}

void hull_scene(float t, Texture *target) {
    const RenderFlags view = target ? RF_OFFSCREEN : 0;
    const CameraKey eye = hull_eye(t);
    if (target) {
        reset_render_state(BLACK_RGBA);
        set_camera(eye, ORIGIN, view);
        draw_sky_pass_group(t, false);
        smear_into_target(target);
    }

    reset_render_state(BLACK_RGBA);
    set_camera(eye, ORIGIN, view);
    draw_sharp_hull();
    set_fog(BLACK_RGBA, 0.0f, ROOM_FOG_END);
    bind_texture(res.shakki_texture, 0);
    draw_planes();
    finish(t, target);
}

void hull_hex_scene(float t, Texture *target) {
    const RenderFlags view = target ? RF_OFFSCREEN : 0;
    const float z = hull_hex_group_z(t);

    reset_render_state(BLACK_RGBA);
    set_rolling_camera(t, view);
    set_fog(BLACK_RGBA, 0.0f, HEX_FOG_END);
    glPushMatrix();                          // the rolling camera
        glTranslatef(0, 0, z);
        glScalef(HEX_GROUP_SCALE, HEX_GROUP_SCALE, HEX_GROUP_SCALE);
        glPushMatrix();                      // the rolling camera at the group
            if (target) {
                draw_sky_pass_group(t, true);
                smear_into_target(target);
            }

            reset_render_state(BLACK_RGBA);  // the up vector is upright again
            set_fog(BLACK_RGBA, 0.0f, HEX_FOG_END);
            set_camera(HEX_EYE, ORIGIN, view);
            glTranslatef(0, 0, z);
            glScalef(HEX_GROUP_SCALE, HEX_GROUP_SCALE, HEX_GROUP_SCALE);
            draw_sharp_hull();
        glPopMatrix();
    glPopMatrix();

    set_fog(BLACK_RGBA, 0.0f, HEX_FOG_END);
    glPushMatrix();
        glRotatef(90.0f, 0, 0, 1);
        bind_texture(res.hex2_texture, 0);
        glMatrixMode(GL_TEXTURE);
        glTranslatef(0, -HEX_STREAM * t, 0);   // the hexagons stream along the planes
        glMatrixMode(GL_MODELVIEW);
        draw_planes();
    glPopMatrix();
    finish(t, target);
}
