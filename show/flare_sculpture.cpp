// show/flare_sculpture.cpp - flare_sculpture_scene and the machine it shares with the red
// colossus.
// The machine is built from two meshes: the rotor (also, 4.9 times larger and seen from
// inside, the shell around everything) and the two halves of a hub. Rotors sit 2.1125 above
// and below the centre and spin opposite ways; the hubs sit 0.5 above and below it, facing
// each other. The camera circles at 2.5 from the axis, between the rotors and the shell.
//
// The break runs on q, eight units per four patterns: the strike at q = 4 (burst, zoom
// flash, hub shudder), the first tilt and sink over q 4..6, a second jolt with a second
// burst over q 6..7 with the rotor shuddering too, a slow drift over q 7..8. Each phase
// starts from the end pose of the one before; the shudder is strongest at the start of
// every pattern. The whole machine dims from q = 6 and is black at q = 8.
#include "show/flare_sculpture.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "post/filters.h"            // Required for: zoom_blur()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, clamp01(), ease_cos(), random_int(), vec3_normalize()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog(), render.view
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float ROTOR_HEIGHT    = 2.1125f;
constexpr float ROTOR_SCALE     = 0.0075f;
constexpr float ROTOR_SPIN      = 112.25f;    // degrees per unit of t
constexpr float HUB_HEIGHT      = 0.5f;
constexpr float HUB_SCALE       = 0.003f;
constexpr float SHELL_SCALE     = 0.03675f;
constexpr float SHUDDER_WAVE    = 0.005f;     // radial factor of the shudder's waves
constexpr float SPARK_SIZE      = 0.1f;
constexpr float LATE_BURST_SIZE = 0.25f;
static const float LATE_BURST_AT[3] = { -0.5f, 1.9f, 0.5f };
constexpr float LATE_BURST_SCALE = 2.0f;
constexpr float FOG_END         = 5.0f;
constexpr int   FLASH_COPIES    = 32;
constexpr float FLASH_STEP      = 1.03f;
constexpr RenderFlags GLOW_FLAGS = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;   // 0x600
static const SculptureLook FLARE_LOOK = { 0.0f, 0, RF_CULL_FRONT };

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int      calls;                                  // 0 only before the first call
    float    directions[SCULPTURE_SPARKS * 3];       // the scene's own spark directions
    float    sparks[SCULPTURE_SPARKS * 3];           // per frame
    float    factors[SCULPTURE_SPARKS];
    float    burst[SCULPTURE_SPARKS * 3];
} flare;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// side +1 is the upper part, -1 the lower one; each leaves local z along the axis.
static void rotor_pose(float t, float side) {
    glTranslatef(0, side * ROTOR_HEIGHT, 0);
    glScalef(ROTOR_SCALE, ROTOR_SCALE, ROTOR_SCALE);
    glRotatef(side * ROTOR_SPIN * t, 0, 1, 0);
    glRotatef(-90.0f, 1, 0, 0);
}

static void hub_pose(float side) {
    glTranslatef(0, side * HUB_HEIGHT, 0);
    glScalef(HUB_SCALE, HUB_SCALE, HUB_SCALE);
    glRotatef(side * 90.0f, 1, 0, 0);   // both hubs point their +z end at the centre
}

static void draw_hub_meshes(RenderFlags flags) {
    draw_mesh(res.sculpture_part_a_mesh, flags);
    draw_mesh(res.sculpture_part_b_mesh, flags);
}

// Everything the break leaves alone: the lower rotor and hub and the shell.
static void draw_lower_half_and_shell(float t, const SculptureLook &look) {
    glPushMatrix();
        rotor_pose(t, -1.0f);
        draw_mesh(res.sculpture_mesh, 0);
    glPopMatrix();
    glPushMatrix();
        hub_pose(-1.0f);
        draw_hub_meshes(look.hub_flags);
    glPopMatrix();
    glPushMatrix();
        glScalef(SHELL_SCALE, SHELL_SCALE, SHELL_SCALE);
        glRotatef(-90.0f, 1, 0, 0);
        draw_mesh(res.sculpture_mesh, look.shell_flags);
    glPopMatrix();
}

// The struck upper half: posed by the phase and shuddering where the phase says so.
static void draw_broken_upper_half(float t, float q) {
    const float c = 1.0f - std::fmod(t, 1.0f);
    const bool rotor_shudders = q >= 6.0f && q < 7.0f;
    const bool hub_shudders = (q >= 4.0f && q < 5.0f) || rotor_shudders;
    glPushMatrix();
        flare_upper_rotor_break(q);
        rotor_pose(t, 1.0f);
        if (rotor_shudders) draw_mesh_deformed(res.sculpture_mesh, q, flare_shudder, SHUDDER_WAVE, c, RF_FLAT);
        else                draw_mesh(res.sculpture_mesh, 0);
    glPopMatrix();
    glPushMatrix();
        flare_upper_hub_break(q);
        hub_pose(1.0f);
        if (hub_shudders) {
            draw_mesh_deformed(res.sculpture_part_a_mesh, q, flare_shudder, SHUDDER_WAVE, c, RF_FLAT);
            draw_mesh_deformed(res.sculpture_part_b_mesh, q, flare_shudder, SHUDDER_WAVE, c, RF_FLAT);
        } else {
            draw_hub_meshes(0);
        }
    glPopMatrix();
}

static void draw_spark_layers(float q) {
    Texture *const flares[2] = { res.flarey_texture, res.flarer_texture };
    if (q < 6.0f)
        draw_sprites(flare.sparks, flare.factors, SCULPTURE_SPARKS, flares, 2, SPARK_SIZE,
                     flare_spark_brightness(q), GLOW_FLAGS);
    if (q >= 4.0f && q < 5.0f)
        draw_sprites(flare.burst, nullptr, SCULPTURE_SPARKS, flares, 2, SPARK_SIZE,
                     1.0f - (q - 4.0f), GLOW_FLAGS);
    if (q >= 6.0f && q < 7.0f) {   // the second burst bursts from the tilted rotor's rim
        glPushMatrix();
            glTranslatef(LATE_BURST_AT[0], LATE_BURST_AT[1], LATE_BURST_AT[2]);
            glScalef(LATE_BURST_SCALE, LATE_BURST_SCALE, LATE_BURST_SCALE);
            draw_sprites(flare.burst, nullptr, SCULPTURE_SPARKS, flares, 2, LATE_BURST_SIZE,
                         1.0f - (q - 6.0f), GLOW_FLAGS);
        glPopMatrix();
    }
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float flare_phase(float t) {
    return 8.0f * std::fmod(t / 4.0f, 1.0f);
}

float flare_fade(float q) {
    if (q < 6.0f) return 1.0f;
    const float g = 1.0f - (q - 6.0f) / 2.0f;
    return g * g;
}

float flare_spark_brightness(float q) {
    return q < 4.0f ? 1.0f : clamp01(1.0f - (q - 4.0f) / 2.0f);
}

float flare_burst_scale(float q) {
    if (q >= 4.0f && q < 5.0f) return 2.0f * std::sqrt(ease_cos(q - 4.0f));
    if (q >= 6.0f && q < 7.0f) return 2.0f * std::sqrt(ease_cos(q - 6.0f));
    return 0.0f;
}

float flare_zoom_flash(float q) {
    if (q < 4.0f || q >= 5.0f) return 0.0f;
    const float u = 1.0f - (q - 4.0f);
    return u * u * u;
}

void flare_upper_rotor_break(float q) {
    if (q < 4.0f) return;
    if (q < 6.0f) {
        const float u = q - 4.0f;
        glTranslatef(0, -0.128f * u, 0.02f * u);
        glRotatef(7.0f * u * u, 0.5f, 0.2f, 0.6f);
        glRotatef(-39.2875f * u * u, 0, 1, 0);
    } else if (q < 7.0f) {
        const float v = q - 6.0f;
        glTranslatef(0.01f * v, -0.07f * v, 0.03f * v);
        glTranslatef(0, -0.256f, 0.04f);
        glRotatef(13.0f * v + 28.0f, 0.5f, 0.2f, 0.6f);
        glRotatef(20.0f * v - 157.15f, 0, 1, 0);
    } else {
        const float w = q - 7.0f;
        glRotatef(1.24f * w, 0.3f, 0.7f, 0.8f);
        glTranslatef(0.09f * w, -0.03f * w, 0.02f * w);
        glTranslatef(0.01f, -0.07f, 0.03f);
        glTranslatef(0, -0.256f, 0.04f);
        glRotatef(2.24f * w + 41.0f, 0.5f, 0.2f, 0.6f);
        glRotatef(20.0f * (q - 6.0f) - 157.15f, 0, 1, 0);
    }
}

void flare_upper_hub_break(float q) {
    if (q < 4.0f) return;
    if (q < 6.0f) {
        const float u = q - 4.0f;
        glTranslatef(0, -0.118f * u, -0.02f * u);
        glRotatef(7.0f * u * u, 0.7f, 0.3f, 0.9f);
    } else if (q < 7.0f) {
        const float v = q - 6.0f;
        glTranslatef(0.0031f * v, -0.0044f * v, -0.0073f * v);
        glTranslatef(0, -0.236f, -0.04f);
        glRotatef(3.0f * v + 28.0f, 0.7f, 0.3f, 0.9f);
    } else {
        const float w = q - 7.0f;
        glRotatef(0.24f * w, 0.3f, 1.0f, 0.8f);
        glTranslatef(0.09f * w, -0.02f * w, 0.02f * w);
        glTranslatef(0.0031f, -0.0044f, -0.0073f);
        glTranslatef(0, -0.236f, -0.04f);
        glRotatef(1.24f * w + 31.0f, 0.7f, 0.3f, 0.9f);
    }
}

float *flare_shudder(float *out, float q, const float *p, const float *, float a, float c) {
    const float r = std::sqrt(p[0] * p[0] + p[1] * p[1]);
    const float g = std::sin(4.0f * q + 2.35f * a * r);
    const float h = std::cos(512.0f * q + 8.0f * a * r);
    const float c5 = c * c * c * c * c;
    const float o = 5.0f * h * c5 + 30.0f * g * c5 * c * c * c;
    out[0] = p[0] + 0.4f * o;
    out[1] = p[1] + 0.4f * o;
    out[2] = p[2] + o;
    return out;
}

void draw_sculpture_machine(float t, const SculptureLook &look) {
    glPushMatrix();
        glRotatef(look.precession, 0, 1, 0);
        rotor_pose(t, 1.0f);
        draw_mesh(res.sculpture_mesh, 0);
    glPopMatrix();
    glPushMatrix();
        hub_pose(1.0f);
        draw_hub_meshes(look.hub_flags);
    glPopMatrix();
    draw_lower_half_and_shell(t, look);
}

void make_spark_directions(float *directions) {
    for (int i = 0; i < SCULPTURE_SPARKS; i++) {
        float *d = &directions[i * 3];
        for (int k = 0; k < 3; k++) d[k] = float(random_int()) / 32768.0f - 0.5f;   // x, y, z in turn
        vec3_normalize(d);
    }
}

void spark_stream(const float *directions, float t, float *positions, float *factors) {
    for (int i = 0; i < SCULPTURE_SPARKS; i++) {
        const float f = std::fmod(t + 0.01f * float(i), 1.0f);   // negative before t = 0
        for (int k = 0; k < 3; k++) positions[i * 3 + k] = f * directions[i * 3 + k];
        factors[i] = 1.0f - f;                                   // so above 1 there, unclamped
    }
}

void flare_sculpture_scene(float t, Texture *target) {
    if (flare.calls++ == 0) make_spark_directions(flare.directions);
    const float q = flare_phase(t), k = flare_burst_scale(q);
    spark_stream(flare.directions, t, flare.sparks, flare.factors);
    for (int i = 0; i < SCULPTURE_SPARKS; i++)
        for (int j = 0; j < 3; j++) flare.burst[i * 3 + j] = k * flare.directions[(SCULPTURE_SPARKS - 1 - i) * 3 + j];

    const float pi = float(PI), h = 0.5f * pi * (t - 2.0f);
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.001f;
    render.view.far_plane = 10.0f;
    const CameraKey eye = { 2.5f * std::sin(h), 1.5f * std::cos(0.505f * pi * (t - 2.0f)) + 0.03f,
                            2.5f * std::cos(h), 100.0f };
    const float aim[3] = { 0, 0, 0 };
    set_camera(eye, aim, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FOG_END);

    glPushMatrix();
        bind_texture(res.metal_texture, TEX_SPHERE_MAP);
        const float g = flare_fade(q);
        glColor3f(g, g, g);
        if (q < 4.0f) {
            draw_sculpture_machine(t, FLARE_LOOK);
        } else {
            draw_broken_upper_half(t, q);
            draw_lower_half_and_shell(t, FLARE_LOOK);
        }
        draw_spark_layers(q);
    glPopMatrix();

    const float flash = flare_zoom_flash(q);
    if (flash > 0 && target) {
        copy_frame_to_texture(target);
        zoom_blur(target, FLASH_COPIES, FLASH_STEP, flash, RF_BLEND_ADD | RF_OFFSCREEN);
    }
    if (target) copy_frame_to_texture(target);
}
