// show/particle_swarm.cpp - particle_swarm_scene and its stage, chess_floor_set.
// Everything but the stage and the cameras lives in one frame centred on the point Pc,
// scaled by 0.05: the flocks, the core and all three particle formations.
//
// The formations are tables of 1000 points made on the first call: every third vertex of
// the flock (shifted to where the copy turned 180 degrees flies), every fourth of the core
// pushed one unit out along its normal, and a 20 x 50 grid below. Each frame the particles
// are blended between two of them with a cosine ease that starts particle i i/1000 pattern
// late, so a formation peels off one particle after another over almost a whole pattern,
// and a small wobble keeps the cloud alive. The arrival (copied four times round the
// centre, one flare colour per side) gathers under the floor; the swarm rises from there
// into the core, later drops back below and spreads into the grid.
//
// NOTE: the arrival stops moving at m = 18.5 and stays drawn until 19. It is computed from
// min(m, 18.5) rather than kept from the last frame, so a seek or an offline render lands
// on the same picture as playback.
#include "show/particle_swarm.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "post/filters.h"            // Required for: zoom_blur()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, clamp01(), ease_cos()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"      // Required for: wave_deform()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float    STAGE_FOG_END     = 500.0f;
constexpr float    FLOOR_SCALE       = 50.0f;
static const float DOME_SCALE[3]     = { 1000.0f, 100.0f, 1000.0f };   // a low, wide dome
constexpr float    PEDESTAL_SCALE    = 0.2f;
constexpr float    CENTRE_HEIGHT     = 20.0f;   // Pc = (0, 20, drift)
constexpr float    SWARM_SCALE       = 0.05f;   // swarm units per world unit
constexpr float    FLOCK_DISTANCE    = 1500.0f; // where the flocks hover, in swarm units
constexpr float    ARRIVAL_START     = 16.0f;   // the arrival shows from here
constexpr float    ARRIVAL_FREEZE    = 18.5f;   // stops moving here
constexpr float    ARRIVAL_END       = 19.0f;   // and is gone from here
constexpr float    ARRIVAL_WOBBLE    = 10.0f;
constexpr float    SWARM_WOBBLE      = 25.0f;
constexpr float    FLARE_SIZE        = 500.0f;
constexpr int      ZOOM_COPIES       = 24;
constexpr float    ZOOM_STEP         = 1.03f;
constexpr RenderFlags GLOW_FLAGS     = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;   // 0x600

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int      calls;                              // 0 only before the first call
    float    flock[SWARM_PARTICLES * 3];         // source: every third flock vertex, z - 1500
    float    core[SWARM_PARTICLES * 3];          // source: every fourth core vertex, one unit out
    float    grid[SWARM_PARTICLES * 3];          // source: the 20 x 50 grid under the floor
    float    arrival[SWARM_PARTICLES * 3];       // positions of the first formation, per frame
    float    swarm[SWARM_PARTICLES * 3];         // positions of the core and grid formations
    Texture *white_flares[2];                    // the swarm's sprites
    Texture *side_flares[4];                     // one arrival copy each: red, yellow, green, blue
} swarm;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// NOTE: indices wrap only for meshes smaller than the show's (test stand-ins).
static void swarm_setup() {
    const MeshObject *flock = res.flock_mesh, *core = res.core_mesh;
    for (int i = 0; i < SWARM_PARTICLES; i++) {
        const int f = (3 * i) % flock->vertex_count, c = (4 * i) % core->vertex_count;
        float *p = &swarm.flock[i * 3], *q = &swarm.core[i * 3], *g = &swarm.grid[i * 3];
        for (int k = 0; k < 3; k++) {
            p[k] = flock->positions[f * 3 + k];
            q[k] = core->positions[c * 3 + k] + core->normals[c * 3 + k];
        }
        p[2] -= FLOCK_DISTANCE;
        g[0] = float(i % 20) * 40.0f - 400.0f;
        g[1] = -100.0f;
        g[2] = float(i / 20) * 40.0f - 1000.0f;
    }
    swarm.white_flares[0] = res.flare1_texture;
    swarm.white_flares[1] = res.flare3_texture;
    swarm.side_flares[0] = res.flarer_texture;
    swarm.side_flares[1] = res.flarey_texture;
    swarm.side_flares[2] = res.flareg_texture;
    swarm.side_flares[3] = res.flareb_texture;
}

// Each particle sways on its own phase, a few units either way.
static float *add_wobble(float *p, float m, int i, float amount) {
    p[0] += amount * std::sin(4.182f * m + 1.82f * float(i));
    p[1] += amount * std::sin(7.418f * m + 2.37f * float(i));
    p[2] += amount * std::sin(3.765f * m + 0.96f * float(i));
    return p;
}

// The swarm rises from under the floor into the core, and later drops and spreads into the grid.
static void update_swarm(float m) {
    if (m <= 17.0f) return;   // not drawn yet
    const bool grid = m >= 19.5f;
    const float start = grid ? 21.0f : 17.0f, from_y = grid ? -150.0f : -200.0f;
    const float *to = grid ? swarm.grid : swarm.core;
    for (int i = 0; i < SWARM_PARTICLES; i++) {
        const float k = swarm_formation_ease(m, start, i);
        float *p = &swarm.swarm[i * 3];
        p[0] = k * to[i * 3];
        p[1] = (1.0f - k) * from_y + k * to[i * 3 + 1];
        p[2] = k * to[i * 3 + 2];
        add_wobble(p, m, i, SWARM_WOBBLE);
    }
}

// Four flocks fly in from the four sides, rippling, and go rigid between 15 and 16.
static void draw_flocks(float m) {
    const float d = m < 16.0f ? FLOCK_DISTANCE - 2000.0f * (m - 16.0f) : FLOCK_DISTANCE;
    const float amount = m < 15.0f ? 1.0f : clamp01(1.0f - (m - 15.0f));
    for (int j = 0; j < 4; j++) {
        glPushMatrix();
            glRotatef(90.0f * float(j), 0, 1, 0);
            glTranslatef(0, 0, d);
            glRotatef(180.0f, 0, 1, 0);
            bind_texture(res.metal_texture, 0);
            draw_mesh_deformed(res.flock_mesh, m, wave_deform, 1.0f, amount, 0);
        glPopMatrix();
    }
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
int swarm_camera(float m) {
    if (m < 14.5f) return 2;
    if (m >= 15.5f && m < 16.0f) return 5;
    if (m < 17.0f) return 4;
    if (m < 18.5f) return int(2.0f * m) % 2;   // cuts between 0 and 1 every half pattern
    if (m < 21.0f) return 1;
    if (m < 25.0f) return 3;
    return int(4.0f * m) % 3;
}

CameraKey swarm_camera_key(int camera, float m, float target[3]) {
    const float pi = float(PI), B = pi * m;
    target[0] = target[1] = target[2] = 0;
    switch (camera) {
    case 0: {   // wide orbit, breathing in and out twice a turn
        const float s = 0.5f * std::sin(2.0f * B) + 0.5f, r = 100.0f * s * s + 120.0f;
        return { r * std::sin(B), 20.0f * std::sin(0.5f * B) + 60.0f, r * std::cos(B), 50.0f };
    }
    case 1:     // close orbit round the core
        target[1] = 20.0f;
        return { 15.0f * std::sin(B), 4.0f * std::sin(1.5f * B) + 16.0f, 15.0f * std::cos(B), 100.0f };
    case 2: {   // drops from 490 units up to 90 by m = 14.5, spinning
        const float D = pi - 1.5f * B, h = 1.0f - 2.0f * (m - 14.0f);
        target[1] = 50.0f;
        return { 30.0f * std::sin(D), 400.0f * h * h * h * h + 90.0f, 30.0f * std::cos(D), 80.0f };
    }
    case 3: {   // follows the core away
        const float z = 0.3f * (m - 19.25f);
        target[1] = CENTRE_HEIGHT;
        target[2] = swarm_core_drift(m);
        return { 10.0f, 20.0f, 510.0f * z * z * z * z * z, 80.0f };
    }
    case 4: {   // low orbit closing in from 195 to 120 units
        const float h = 1.0f - 0.5f * (m - 15.0f), r = 75.0f * h * h * h * h * h + 120.0f;
        target[1] = 10.0f;
        return { r * std::sin(B + 0.5f * pi), 10.0f * std::sin(B) + 20.0f, r * std::cos(B + 0.5f * pi), 80.0f };
    }
    default: {  // 5: a long lens sliding along z
        const float u = m - 15.5f, h = 1.0f - 2.0f * u;
        target[1] = 20.0f;
        target[2] = 110.0f;
        return { 10.0f, 30.0f, -70.0f * u + 200.0f * h * h, 40.0f };
    }
    }
}

float swarm_formation_ease(float m, float start, int i) {
    return ease_cos(clamp01(m - start - float(i) / float(SWARM_PARTICLES)));
}

float *swarm_arrival_point(float *out, float m, int i, const float *flock_point) {
    const float e = swarm_formation_ease(m, ARRIVAL_START, i);
    const float k = std::pow(e, 32.0f);   // held on the flock almost to the end, then a snap
    out[0] = (1.0f - k) * flock_point[0];
    out[1] = k * (100.0f * (m - 17.0f) - 200.0f) + (1.0f - k) * flock_point[1];
    out[2] = (1.0f - k) * flock_point[2];
    return add_wobble(out, m, i, ARRIVAL_WOBBLE);
}

SwarmSprites swarm_sprite_look(float m) {
    if (m < 18.0f) {
        const float u = m - 17.0f;
        return { FLARE_SIZE, u * u * u };   // negative before 17
    }
    if (m < 18.5f) return { FLARE_SIZE, 1.0f };
    if (m < 19.0f) return { FLARE_SIZE + FLARE_SIZE * std::pow(2.0f * (m - 18.5f), 30.0f), 1.0f };
    // Shrinks to nothing by 19.05, then stays below zero (and dark) until 21.
    if (m < 19.5f) return { 1000.0f - 20000.0f * (m - 19.0f), 1.0f };
    if (m < 21.0f) return { 1000.0f - 20000.0f * (m - 19.0f), 0.0f };
    const float u = m - 21.0f;
    return { FLARE_SIZE, clamp01(u * u * u) };
}

float swarm_core_drift(float m) {
    if (m < 20.0f) return 0.0f;
    return 1000.0f * std::pow((m - 20.0f) * 0.33f, 5.0f);
}

float swarm_stage_level(float m) {
    return (m >= 22.0f && m < 23.0f) ? 1.0f - (m - 22.0f) : 1.0f;
}

float swarm_zoom_flash(float m) {
    if (m > 18.5f && m < 19.5f) return std::pow(1.0f - 2.0f * std::fabs(m - 19.0f), 5.0f);
    if (m > 22.5f && m < 24.0f) {
        const float u = 2.0f * (m - 22.5f);
        return u * u * u;
    }
    return 0.0f;
}

void chess_floor_set(int clear, float level) {
    if (clear) reset_render_state(BLACK_RGBA);
    set_fog(BLACK_RGBA, 0.0f, STAGE_FOG_END);
    glColor3f(level, level, level);
    glPushMatrix();
        glScalef(FLOOR_SCALE, FLOOR_SCALE, FLOOR_SCALE);
        bind_texture(res.shakki_texture, 0);
        draw_mesh(res.grid_plane, 0);
    glPopMatrix();
    glPushMatrix();
        glScalef(DOME_SCALE[0], DOME_SCALE[1], DOME_SCALE[2]);
        glRotatef(90.0f, 1, 0, 0);
        bind_texture(res.bubble_texture, 0);
        draw_mesh(res.sky_sphere, RF_CULL_FRONT);   // seen from inside
    glPopMatrix();
    glPushMatrix();
        glTranslatef(0, 1, 0);
        glScalef(PEDESTAL_SCALE, PEDESTAL_SCALE, PEDESTAL_SCALE);
        bind_texture(res.metal_texture, TEX_SPHERE_MAP);
        draw_mesh(res.pedestal_mesh, 0);
    glPopMatrix();
}

void particle_swarm_scene(float m, Texture *target) {
    if (swarm.calls++ == 0) swarm_setup();
    if (m >= ARRIVAL_START && m < ARRIVAL_END) {
        const float a = std::min(m, ARRIVAL_FREEZE);
        for (int i = 0; i < SWARM_PARTICLES; i++)
            swarm_arrival_point(&swarm.arrival[i * 3], a, i, &swarm.flock[i * 3]);
    }
    update_swarm(m);

    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 2000.0f;
    float aim[3];
    const CameraKey eye = swarm_camera_key(swarm_camera(m), m, aim);
    set_camera(eye, aim, target ? RF_OFFSCREEN : 0);
    chess_floor_set(0, swarm_stage_level(m));

    // From here on everything lives in the swarm's frame round the centre point.
    glColor3f(1, 1, 1);
    glTranslatef(0, CENTRE_HEIGHT, swarm_core_drift(m));
    glScalef(SWARM_SCALE, SWARM_SCALE, SWARM_SCALE);

    if (m >= 19.0f) {
        bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
        draw_mesh(res.core_mesh, 0);
        if (m < 19.5f) {   // the electric flash as the core appears
            const float g = 1.0f - 2.0f * (m - 19.0f);
            bind_texture(res.electric_texture, TEX_SPHERE_MAP);
            glColor3f(g, g, g);
            draw_mesh(res.core_mesh, GLOW_FLAGS);
            glColor3f(1, 1, 1);
        }
    }

    const SwarmSprites look = swarm_sprite_look(m);
    if (look.size > 0 && look.brightness > 0)
        draw_sprites(swarm.swarm, nullptr, SWARM_PARTICLES, swarm.white_flares, 2, look.size,
                     look.brightness, GLOW_FLAGS);

    if (m < 17.0f) draw_flocks(m);

    if (m >= ARRIVAL_START && m < ARRIVAL_END) {
        const float u = m - ARRIVAL_START, b = m < 17.0f ? u * u * u : 1.0f;
        for (int j = 0; j < 4; j++) {
            glPushMatrix();
                glRotatef(90.0f * float(j), 0, 1, 0);
                draw_sprites(swarm.arrival, nullptr, SWARM_PARTICLES, &swarm.side_flares[j], 1,
                             FLARE_SIZE, b, GLOW_FLAGS);
            glPopMatrix();
        }
    }

    const float flash = swarm_zoom_flash(m);
    if (flash > 0 && target) {
        copy_frame_to_texture(target);
        zoom_blur(target, ZOOM_COPIES, ZOOM_STEP, flash, RF_BLEND_ADD | RF_OFFSCREEN);
    }
    if (target) copy_frame_to_texture(target);
}
