// show/cave_flights.cpp - water_flock_scene and water_statue_scene.
// Both fly a closed camera path through a mesh drawn with front faces culled, so its
// inside shows. The walls are iridescent, modulated by a sphere-mapped reflection of the
// target texture, which still holds the scene's own previous frame: the picture feeds
// back into itself, and the first frame of a run reflects whatever the target held. A
// second, additive pass reflects the water texture; additive flares fill the space.
//
// In the cave the fog turns white and closes in just before t = 2, then clears to a dark
// blue haze within a tenth of a unit while the water pass and the corner emblem appear.
#include "show/cave_flights.h"
#include "data/camera_paths.h"       // Required for: cave_path, cavern_path
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: spline_point(), orient_to_direction(), vec3_*
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"      // Required for: draw_corner_emblem(), wave_deform()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float HAZE_RGBA[4]    = { 0.05f, 0.05f, 0.15f, 1 };   // the cave after the flash
static const float CAVERN_RGBA[4]  = { 0.1f, 0.1f, 0.3f, 1 };
constexpr float    CAVE_FOG_END    = 100.0f;
constexpr float    CAVERN_FOG_END  = 50.0f;
constexpr float    SPARK_DEPTH     = 25.0f;   // cave sparks sit this far inside the wall, in the air
constexpr float    SPARK_SCATTER   = 10.0f;   // cavern sparks: 0..10 added on each axis
constexpr RenderFlags WATER_PASS   = RF_CULL_FRONT | RF_NO_DEPTH_WRITE | RF_BLEND_ADD;   // 0x680
constexpr RenderFlags SPARK_FLAGS  = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;                   // 0x600

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct { int calls; float sparks[CAVE_SPARKS * 3]; } cave;       // first-call data
static struct { int calls; float sparks[CAVERN_SPARKS * 3]; } cavern;   // first-call data

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Cave sparks: every fifth wall vertex, moved 25 units against its normal into the air.
// NOTE: indices wrap only for meshes smaller than the show's (stand-in data).
static void cave_setup() {
    const MeshObject *m = res.water_surface_mesh;
    for (int i = 0; i < CAVE_SPARKS; i++) {
        const int v = (5 * i) % m->vertex_count;
        for (int k = 0; k < 3; k++)
            cave.sparks[i * 3 + k] = m->positions[v * 3 + k] - SPARK_DEPTH * m->normals[v * 3 + k];
    }
}

// Cavern sparks: every twentieth vertex of the chrome structure, scattered by the random
// sequence (x, y, then z).
static void cavern_setup() {
    const MeshObject *m = res.big_statue_mesh;
    for (int i = 0; i < CAVERN_SPARKS; i++) {
        const int v = (20 * i) % m->vertex_count;
        for (int k = 0; k < 3; k++)
            cavern.sparks[i * 3 + k] = m->positions[v * 3 + k] + float(random_int()) / 32768.0f * SPARK_SCATTER;
    }
}

static float *vec3_direction(float *out, const float *from, const float *to) {
    return vec3_normalize(vec3_set(out, to[0] - from[0], to[1] - from[1], to[2] - from[2]));
}

// Two cameras alternating every quarter unit: one circling the path point, one trailing it.
static void set_cave_camera(float t, const float *P0, const float *D) {
    CameraKey eye;
    if ((int(4.0f * t) & 1) == 0) {
        eye = { P0[0] + 2.0f * std::sin(7.71f * t), P0[1] + std::sin(3.28f * t),
                P0[2] + 2.0f * std::cos(7.71f * t), 90.0f };
    } else {
        const float y = std::fmod(t, 2.0f) < 1.0f ? P0[1] - D[1] + 1.0f : P0[1] + D[1] - 1.0f;
        eye = { P0[0] - D[0] + 0.1f, y, P0[2] + 0.4f * D[2], 70.0f };
    }
    render.view.near_plane = 0.01f;
    render.view.far_plane = 200.0f;
    set_camera(eye, P0, RF_OFFSCREEN);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float water_flock_fog(float t, float rgba[4]) {
    rgba[3] = 1;
    if (t < 1.75f) {
        rgba[0] = rgba[1] = rgba[2] = 0;
        return CAVE_FOG_END;
    }
    if (t > 1.75f && t < 2.0f) {   // brightening to white while closing in
        const float d = 4.0f * (t - 1.75f), e = d * d * d * d;
        rgba[0] = e * e * e;
        rgba[1] = e * e;
        rgba[2] = e;
        return CAVE_FOG_END - 50.0f * e * e;
    }
    if (t > 2.0f && t < 2.1f) {    // clearing to the haze
        const float d = 1.0f - 10.0f * (t - 2.0f), e = d * d * d * d;
        rgba[0] = 0.9f * e * e * e + 0.1f;
        rgba[1] = 0.9f * e * e + 0.1f;
        rgba[2] = 0.7f * e + 0.3f;
        return CAVE_FOG_END * (1.0f - e);
    }
    for (int i = 0; i < 4; i++) rgba[i] = HAZE_RGBA[i];
    return CAVE_FOG_END;
}

void water_flock_scene(float t, Texture *target) {
    if (cave.calls++ == 0) cave_setup();
    float fog[4];
    const float fog_end = water_flock_fog(t, fog);
    reset_render_state(BLACK_RGBA);

    // Flight frame on the cave loop (one turn per 4 units of t).
    float P0[3], P1[3], P2[3], D[3], S[3], T[3];
    spline_point(P0, t / 4.0f, cave_path, CAVE_PATH_KEYS);
    spline_point(P1, t / 4.0f + 0.05f, cave_path, CAVE_PATH_KEYS);
    spline_point(P2, t / 4.0f + 0.1f, cave_path, CAVE_PATH_KEYS);
    vec3_direction(D, P0, P1);
    vec3_normalize(vec3_cross(S, D, render.view.up));
    vec3_direction(T, P1, P2);

    set_cave_camera(t, P0, D);
    set_fog(fog, 0.0f, fog_end);

    // Walls: iridescence times the reflected previous frame, then the water on top.
    bind_texture_pair(res.irid_texture, TEX_PLANAR_DIAGONAL, target, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
    draw_mesh(res.water_surface_mesh, RF_CULL_FRONT);
    if (t > 2.0f) {
        bind_texture_pair(res.irid_texture, 0, res.vesi4_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
        draw_mesh(res.water_surface_mesh, WATER_PASS);
    }

    // The flock rides the path point, banking into the turns. The mirror frame of
    // orient_to_direction is undone by culling front faces.
    glTranslatef(P0[0], P0[1], P0[2]);
    orient_to_direction(D);
    glRotatef(-45.0f * vec3_dot(T, S), 0, 0, 1);
    glScalef(0.01f, 0.01f, 0.01f);
    if (t < 4.0f) glColor4f(0, 0, 0, 1);
    else          glColor4f(1, 1, 1, 1);
    bind_texture_pair(res.irid_texture, 0, res.metal_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
    draw_mesh_deformed(res.flock_mesh, t, wave_deform, 1.0f, 1.0f, RF_CULL_FRONT);

    set_cave_camera(t, P0, D);   // back to the bare camera for the sparks
    if (t > 4.0f) {
        Texture *flares[2] = { res.flare4_texture, res.flare3_texture };
        const float pulse = clamp01(0.5f * std::sin(16.0f * float(PI) * (t - 0.125f)) + 1.0f);
        set_fog(BLACK_RGBA, 0.0f, fog_end);
        draw_sprites(cave.sparks, nullptr, CAVE_SPARKS, flares, 2, 2.0f, pulse, SPARK_FLAGS);
    }
    if (t >= 2.0f) draw_corner_emblem(t);
    copy_frame_to_texture(target);
}

void water_statue_scene(float t, Texture *target) {
    if (cavern.calls++ == 0) cavern_setup();
    reset_render_state(BLACK_RGBA);

    // One turn of the cavern loop per 2 units of t, looking about 60 units ahead.
    float eye[3], ahead[3];
    spline_point(eye, t / 2.0f, cavern_path, CAVERN_PATH_KEYS);
    spline_point(ahead, t / 2.0f + 0.075f, cavern_path, CAVERN_PATH_KEYS);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 1000.0f;
    set_camera({ eye[0], eye[1], eye[2], 110.0f }, ahead, RF_OFFSCREEN);
    set_fog(CAVERN_RGBA, 0.0f, CAVERN_FOG_END);

    bind_texture_pair(res.irid_texture, 0, target, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
    draw_mesh(res.statue_mesh, RF_CULL_FRONT);
    bind_texture_pair(res.irid_texture, 0, res.vesi4_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
    draw_mesh(res.statue_mesh, WATER_PASS);

    glDisable(GL_FOG);
    Texture *flares[2] = { res.flare4_texture, res.flare3_texture };
    draw_sprites(cavern.sparks, nullptr, CAVERN_SPARKS, flares, 2, 3.0f, 1.0f, SPARK_FLAGS);
    copy_frame_to_texture(target);
}
