// show/bubble_scenes.cpp - bubble_sculpture_scene and bubble_field_scene.
// A bubble is two nested spheres, both additive and drawn without depth test or culling,
// so the far side of each shows through the near side. The skin is iridescence modulated
// by a sphere-mapped bubble picture; the reflection just inside it is the target texture
// sphere mapped, faint (0.3 in the shaft, 0.15 in the field). Reading the target before
// the closing copy means each frame reflects the previous one: a target never drawn into
// gives black reflections.
//
// The shaft is the rotor's shell turned inside out and stretched 16 times along its axis.
// In each cycle of 8 units of x the bubbles rise on their own for 4 units (wrapping from
// the top of the shaft back to its bottom), then stop and ride up with the camera, which
// climbs 40 units; the big bubble appears for d >= 3 and rises to meet the camera.
// NOTE: from d = 4 the big bubble rides at the eye's height with the eye inside it, so the
// whole climb is seen through its iridescent skin.
#include "show/bubble_scenes.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float FIELD_FOG_RGBA[4] = { 0.02f, 0.035f, 0.05f, 1.0f };
static const float SPIN_AXIS[3]      = { 0.5f, 1.0f, 0.364f };
constexpr float    BUBBLE_FOG_END    = 10.0f;
constexpr float    BUBBLE_SCALE      = 0.45f;
constexpr float    BIG_BUBBLE_SCALE  = 0.5f;
constexpr float    REFLECTION_SCALE  = 0.99f;   // just inside the skin
constexpr float    SHAFT_GLOSS       = 0.3f;    // reflection brightness
constexpr float    FIELD_GLOSS       = 0.15f;
constexpr float    SHAFT_SWAY        = 1.5f;    // vertical sway amplitude
constexpr float    FIELD_SWAY        = 0.5f;
constexpr float    SHAFT_STRETCH[3]  = { 2.0f, 16.0f, 1.0f };
constexpr float    SHAFT_SCALE       = 0.03675f;
constexpr float    CYCLE             = 8.0f;    // units of x per rise
constexpr RenderFlags SKIN_FLAGS     = RF_BLEND_ADD | RF_NO_DEPTH_TEST | RF_NO_CULL;   // 0x540

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static float cycle_phase(float x) { return std::fmod(x, CYCLE); }

// The bubble at the current matrix; spin in degrees (the field passes 0).
static void draw_bubble(Texture *target, float spin, float gloss) {
    glPushMatrix();
        glRotatef(spin, SPIN_AXIS[0], SPIN_AXIS[1], SPIN_AXIS[2]);
        bind_texture_pair(res.irid_texture, 0, res.bubble_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
        draw_mesh(res.sphere_16, SKIN_FLAGS);
    glPopMatrix();
    glPushMatrix();
        glScalef(REFLECTION_SCALE, REFLECTION_SCALE, REFLECTION_SCALE);
        bind_texture(target, TEX_SPHERE_MAP);
        glColor4f(gloss, gloss, gloss, 1);
        draw_mesh(res.sphere_16, SKIN_FLAGS);
    glPopMatrix();
}

// Moves to bubble i's place on its little orbit (before its own height is added).
static void translate_to_bubble(float x, int i, float sway) {
    const float h = 0.5f * x, n = float(i);
    glTranslatef(std::sin(h + 0.7542f * n), sway * std::cos(h + 0.932754f * n), -std::sin(h + 1.7f * n));
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float shaft_lift(float x) {
    const float d = cycle_phase(x);
    return d > 4.0f ? 10.0f * (d - 4.0f) : 0.0f;
}

float shaft_bubble_height(float x, int i) {
    const float d = cycle_phase(x), n = float(i);
    if (d <= 4.0f) return 16.0f * std::fmod(0.5f * x + 0.3754f * n, 1.0f) - 8.0f;
    return 16.0f * std::fmod(0.3754f * n + 2.0f, 1.0f) - 8.0f + shaft_lift(x);
}

bool big_bubble_height(float x, float *a) {
    const float d = cycle_phase(x);
    if (d < 3.0f) return false;
    *a = d <= 4.0f ? 8.0f * std::fmod(d, 1.0f) - 3.0f : shaft_lift(x) + 5.0f;
    return true;
}

float field_bubble_height(float x, int i) {
    return 6.0f * std::fmod(0.333f * x + 0.3754f * float(i), 1.0f) - 3.0f;
}

void bubble_sculpture_scene(float x, Texture *target) {
    const float pi = float(PI), lift = shaft_lift(x), e = pi * x / 8.0f;
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const CameraKey eye = { 0.2f * std::sin(e), 0.1f * std::cos(e) + lift + 5.0f, 0.2f * std::cos(e), 90.0f };
    const float aim[3] = { -0.0435f * std::sin(0.16f * pi * x), lift, 0.03625f * std::cos(0.233f * pi * x) };
    set_camera(eye, aim, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, BUBBLE_FOG_END);

    bind_texture(res.metal2_texture, TEX_SPHERE_MAP);
    glPushMatrix();
        glScalef(SHAFT_STRETCH[0], SHAFT_STRETCH[1], SHAFT_STRETCH[2]);
        glScalef(SHAFT_SCALE, SHAFT_SCALE, SHAFT_SCALE);
        glRotatef(-90.0f, 1, 0, 0);
        draw_mesh(res.sculpture_mesh, RF_CULL_FRONT);   // the shell's inside: a tall chrome shaft
    glPopMatrix();

    for (int i = 0; i < BUBBLES; i++) {
        glPushMatrix();
            translate_to_bubble(x, i, SHAFT_SWAY);
            glTranslatef(0, shaft_bubble_height(x, i), 0);
            glScalef(BUBBLE_SCALE, BUBBLE_SCALE, BUBBLE_SCALE);
            draw_bubble(target, 30.0f * (x + 0.7542f * float(i)), SHAFT_GLOSS);
        glPopMatrix();
    }
    float a;
    if (big_bubble_height(x, &a)) {
        glPushMatrix();
            glTranslatef(0, a, 0);
            glScalef(BIG_BUBBLE_SCALE, BIG_BUBBLE_SCALE, BIG_BUBBLE_SCALE);
            draw_bubble(target, 30.0f * x, SHAFT_GLOSS);
        glPopMatrix();
    }
    if (target) copy_frame_to_texture(target);
}

void bubble_field_scene(float x, Texture *target) {
    const float pi = float(PI);
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const CameraKey eye = { 0.725f * std::sin(0.5f * pi * x), 0.2f * std::cos(0.25f * pi * x),
                            0.725f * std::cos(0.5f * pi * x), 90.0f };
    const float aim[3] = { -0.0435f * std::sin(0.16f * pi * x), 0, 0.03625f * std::cos(0.33f * pi * x) };
    set_camera(eye, aim, target ? RF_OFFSCREEN : 0);
    set_fog(FIELD_FOG_RGBA, 0.0f, BUBBLE_FOG_END);

    for (int i = 0; i < BUBBLES; i++) {
        glPushMatrix();
            translate_to_bubble(x, i, FIELD_SWAY);
            glTranslatef(0, field_bubble_height(x, i), 0);
            glScalef(BUBBLE_SCALE, BUBBLE_SCALE, BUBBLE_SCALE);
            draw_bubble(target, 0.0f, FIELD_GLOSS);
        glPopMatrix();
    }
    if (target) copy_frame_to_texture(target);
}
