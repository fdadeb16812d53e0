// show/tube_flights.cpp - twirl_scene, smoke_scene and pair_scene.
// All three sit inside tubes of radius 3 along z (draw_tube), the camera circling the axis
// once per unit of t with the projection swung sideways in step, so the tube's far end
// sweeps across the picture.
//
// The pair corridor is ring meshes 100 units apart, scaled by half, scrolling 800 units per
// unit of x and recycled over 2000 units. Ring 0 is the junction with a side corridor of
// half-size rings leaving it along +x. Over the last twentieth of each loop the whole
// corridor turns 90 degrees about y and grows to twice its size, so the side corridor ends
// up close to where the main one was and the loop restarts with hardly a cut. The ball is
// drawn afterwards over the same depth buffer, its black fog from 4 to 5 leaving only its
// near cap lit.
#include "show/tube_flights.h"
#include "show/scene_helpers.h"      // Required for: draw_tube(), draw_corner_emblem(), displace_along_normal()
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, ease_cos(), random_int()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float ORIGIN[3]        = { 0, 0, 0 };
constexpr float    TUBE_SPEED       = 64.0f;    // rings per unit of t
constexpr int      TUBE_SEGMENTS    = 16;
constexpr int      TUBE_HALF_RINGS  = 32;
constexpr float    FLIGHT_FOG_END   = 24.0f;
constexpr float    LENS_SWING       = 0.5f;     // projection shift amplitude
constexpr float    KNOT_SCALE       = 0.01f;
constexpr float    SMOKE_ORBIT      = 1.5f;
constexpr float    SMOKE_RADIUS     = 5.0f;     // the flares fill a cylinder this wide
constexpr float    FLARE_SIZE       = 0.5f;
constexpr RenderFlags GLOW_FLAGS    = RF_BLEND_ADD | RF_NO_DEPTH_TEST;
static const CameraKey PAIR_EYE     = { 0.0f, 0.0f, -5.0f, 90.0f };
constexpr float    PAIR_SPEED       = 800.0f;   // corridor units per unit of x
constexpr float    PAIR_LOOP        = 2000.0f;
constexpr float    PAIR_SPACING     = 100.0f;
constexpr float    PAIR_TURN_PHASE  = 1143.0f;  // where in the loop the turn falls
constexpr float    CORRIDOR_AHEAD   = 800.0f;
constexpr int      SIDE_SEGMENTS    = 20;
constexpr float    CORRIDOR_FOG[2]  = { 100.0f, 800.0f };
constexpr float    BALL_FOG[2]      = { 4.0f, 5.0f };      // only the near cap stays lit

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int      calls;                          // 0 only before the first call
    float    flares[SMOKE_FLARES * 3];       // x and y fixed, z streamed per frame
    float    depth[SMOKE_FLARES];            // each flare's offset along the tube, 0..64
    Texture *textures[2];                    // flare1, flare3 by turns
} smoke;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static float unit_random() { return float(random_int()) / 32768.0f; }

static void smoke_setup() {
    const float pi = float(PI);
    for (int i = 0; i < SMOKE_FLARES; i++) {
        const float angle = 2.0f * pi * unit_random();
        const float radius = SMOKE_RADIUS * unit_random();
        smoke.depth[i] = SMOKE_DEPTH * unit_random();
        smoke.flares[i * 3] = radius * std::sin(angle);
        smoke.flares[i * 3 + 1] = radius * std::cos(angle);
        smoke.flares[i * 3 + 2] = smoke.depth[i];
    }
    smoke.textures[0] = res.flare1_texture;
    smoke.textures[1] = res.flare3_texture;
}

// Camera circling the tube's axis at `orbit`, the lens swung in step; fog 0..24.
static void orbit_camera(float t, float orbit, Texture *target) {
    const float a = 2.0f * float(PI) * t;
    reset_render_state(BLACK_RGBA);
    render.view.offset[0] = LENS_SWING * std::sin(a);
    render.view.offset[1] = 0;
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const CameraKey eye = { orbit * std::sin(a), 0.0f, orbit * std::cos(a), 90.0f };
    set_camera(eye, ORIGIN, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FLIGHT_FOG_END);
}

// The side corridor of half-size rings leaving the junction along +x.
static void draw_side_corridor() {
    glPushMatrix();
        glRotatef(-90.0f, 0, 1, 0);
        glScalef(0.5f, 0.5f, 0.5f);
        glTranslatef(100.0f, 0, -200.0f);
        for (int j = 0; j < SIDE_SEGMENTS; j++) {
            glTranslatef(0, 0, -PAIR_SPACING);
            draw_mesh(res.small_part_2_mesh, 0);
        }
    glPopMatrix();
}

static void draw_corridor(float x, Texture *target) {
    reset_render_state(BLACK_RGBA);
    render.view.offset[0] = render.view.offset[1] = 0;
    set_fog(BLACK_RGBA, CORRIDOR_FOG[0], CORRIDOR_FOG[1]);
    const float k = pair_turn(x);
    for (int p = 0; p < PAIR_SEGMENTS; p++) {
        render.view.near_plane = 0.01f;
        render.view.far_plane = 1000.0f;
        set_camera(PAIR_EYE, ORIGIN, target ? RF_OFFSCREEN : 0);
        const float s = 0.5f * k + 0.5f;
        glScalef(s, s, s);
        glRotatef(-90.0f * k, 0, 1, 0);
        glTranslatef(-100.0f * k, 0, 0);
        glTranslatef(0, 0, pair_segment_z(x, p));
        bind_texture(res.valo_texture, 0);
        if (p > 0) {
            draw_mesh(res.small_part_2_mesh, 0);
        } else {
            draw_mesh(res.small_part_1_mesh, 0);
            draw_side_corridor();
        }
    }
}

static void draw_ball(float x, Texture *target) {
    reset_render_state(nullptr);
    render.view.offset[0] = render.view.offset[1] = 0;
    set_fog(BLACK_RGBA, BALL_FOG[0], BALL_FOG[1]);
    bind_texture(res.aijjai_texture, 0);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 1000.0f;
    set_camera(PAIR_EYE, ORIGIN, target ? RF_OFFSCREEN : 0);
    glRotatef(90.0f, 1, 0, 0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0, -2.0f * x, 0);   // the bands scroll over the ball
    glMatrixMode(GL_MODELVIEW);
    draw_mesh(res.sky_sphere, 0);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float twirl_pulse(float t) { return 2.0f * std::sin(16.0f * float(PI) * t); }

float twirl_orbit(float t) { return 0.5f * std::sin(float(PI) * t / 4.0f) + 1.5f; }

float smoke_flare_z(float t, float depth) {
    float z = std::fmod(TUBE_SPEED * t + depth, SMOKE_DEPTH);
    if (z < 0) z += SMOKE_DEPTH;   // the same stream before t = 0
    if (z >= SMOKE_DEPTH) z = 0;   // a tiny negative remainder rounded up
    return z - 0.5f * SMOKE_DEPTH;
}

float pair_turn(float x) {
    const float a = std::fabs(std::fmod(PAIR_SPEED * x + PAIR_TURN_PHASE, PAIR_LOOP) / 100.0f - 20.0f);
    return 1.0f - ease_cos(a);
}

// NOTE: the remainder keeps the sign of -800x + 100p, so rings not yet reached (positive)
// wait beyond the fog at 800 to 2800 while the others stream through -1200 to 800.
float pair_segment_z(float x, int p) {
    return std::fmod(-PAIR_SPEED * x + PAIR_SPACING * float(p), PAIR_LOOP) + CORRIDOR_AHEAD;
}

void twirl_scene(float t, Texture *target, int mode) {
    orbit_camera(t, twirl_orbit(t), target);
    if (mode == 1) {
        bind_texture(res.crackle_texture, 0);
        draw_tube(TUBE_SPEED * t, 2.99f, TUBE_SEGMENTS, TUBE_HALF_RINGS,
                  RF_BLEND_ADD | RF_NO_DEPTH_TEST | RF_NO_CULL);
        glColor4f(0, 0, 0, 0);   // the knot cuts a black silhouette into the glow
    } else {
        bind_texture(res.twirl_texture, 0);
        draw_tube(TUBE_SPEED * t, 3.0f, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_NO_CULL);
        bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    }
    glScalef(KNOT_SCALE, KNOT_SCALE, KNOT_SCALE);
    glRotatef(360.0f * t, 0, 0, 1);
    glRotatef(-90.0f, 0, 1, 0);
    draw_mesh_deformed(res.twirl_mesh, t, displace_along_normal, 1.0f, twirl_pulse(t), RF_FLAT);
    glColor4f(1, 1, 1, 1);
    if (target) copy_frame_to_texture(target);
}

void smoke_scene(float t, Texture *target) {
    if (smoke.calls++ == 0) smoke_setup();
    for (int i = 0; i < SMOKE_FLARES; i++) smoke.flares[i * 3 + 2] = smoke_flare_z(t, smoke.depth[i]);

    orbit_camera(t, SMOKE_ORBIT, target);
    bind_texture(res.envi6b_texture, 0);
    draw_tube(TUBE_SPEED * t, 3.0f, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_NO_CULL);
    bind_texture(res.smoketex_texture, 0);
    draw_tube(TUBE_SPEED * t, 1.5f, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_BLEND_ADD | RF_NO_DEPTH_TEST | RF_NO_CULL);
    draw_sprites(smoke.flares, nullptr, SMOKE_FLARES, smoke.textures, 2, FLARE_SIZE, 1.0f, GLOW_FLAGS);
    draw_corner_emblem(t);
    if (target) copy_frame_to_texture(target);
}

void pair_scene(float x, Texture *target) {
    draw_corridor(x, target);
    draw_ball(x, target);
    if (target) copy_frame_to_texture(target);
}
