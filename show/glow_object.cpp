// show/glow_object.cpp - glow_object_scene.
// The emitter is a red chrome core in a faceted metal dish, a tenth of its mesh size; the
// target is the mirror room's mesh doubled, drawn additively with a bubble reflection that
// slides across it, so it reads as a translucent bubble; a small zigzag-skinned lens sits
// just in front of the emitter, its pattern scrolling.
//
// While the beam fires (61.5 to 63) the frame is drawn twice: first only the beam, a red
// line over black silhouettes of both objects, which the glow pyramid takes in; then the
// normal picture, with the pyramid added on top, so the beam glows where nothing hides it.
//
// The sparks live in the target's frame, scaled by s = 8c + 8 (c the time since firing)
// while their sprite size is 0.1/s: the streams spread wider without the sparks growing
// on screen. Each stream spark flies out along its own direction once per pattern, fading
// as it goes; stream B runs half a pattern behind A. The burst flies all 500 sparks out at
// once, five times further, fading out within half a pattern.
#include "show/glow_object.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "post/filters.h"            // Required for: glow_chain_build(), glow_chain_composite()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, clamp01(), ease_cos(), random_int(), vec3_normalize()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float    TARGET_DISTANCE  = 30.0f;   // along +z from the emitter
constexpr float    TARGET_SCALE     = 2.0f;
constexpr float    TARGET_TURN      = 20.0f;   // degrees about y
constexpr float    EMITTER_SCALE    = 0.1f;
constexpr float    LENS_Z           = 1.9f;
constexpr float    LENS_SCALE       = 0.1f;
constexpr float    BEAM_WIDTH       = 2.0f;    // pixels
constexpr float    GLOW_SPREAD      = 2.0f;
constexpr float    SPARK_SIZE       = 0.1f;    // on screen, whatever the spread
constexpr float    BURST_SPREAD     = 5.0f;    // the burst flies this much further than the streams
constexpr float    BURST_SIZE       = 0.0025f;
constexpr RenderFlags VIEW          = RF_OFFSCREEN;
constexpr RenderFlags SPARK_FLAGS   = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;   // 0x600

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int   calls;                          // 0 only before the first call
    float directions[GLOW_SPARKS * 3];    // unit vectors from the shared random sequence
    float red[GLOW_SPARKS * 3], blue[GLOW_SPARKS * 3], burst[GLOW_SPARKS * 3];   // this frame's points
    float red_fade[GLOW_SPARKS], blue_fade[GLOW_SPARKS];
} glow;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void glow_setup() {
    for (int i = 0; i < GLOW_SPARKS; i++) {
        float *d = &glow.directions[i * 3];
        for (int k = 0; k < 3; k++) d[k] = float(random_int()) / 32768.0f - 0.5f;   // x, y, then z
        vec3_normalize(d);
    }
}

static void update_sparks(float x) {
    const float k = glow_burst_reach(x);
    for (int i = 0; i < GLOW_SPARKS; i++) {
        glow.red_fade[i] = glow_stream_point(&glow.red[i * 3], x, i, &glow.directions[i * 3], 0.0f);
        glow.blue_fade[i] = glow_stream_point(&glow.blue[i * 3], x, i, &glow.directions[i * 3], 0.5f);
        const float *d = &glow.directions[(GLOW_SPARKS - 1 - i) * 3];
        for (int a = 0; a < 3; a++) glow.burst[i * 3 + a] = k * d[a];
    }
}

static void set_glow_camera(float x) {
    float aim[3];
    const CameraKey eye = glow_camera(glow_camera_choice(x), x, aim);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 1000.0f;
    set_camera(eye, aim, VIEW);
}

// The target's frame: 30 units ahead, doubled, turned a little.
static void enter_target_frame() {
    glTranslatef(0, 0, TARGET_DISTANCE);
    glScalef(TARGET_SCALE, TARGET_SCALE, TARGET_SCALE);
    glRotatef(TARGET_TURN, 0, 1, 0);
}

// Only the beam, over black shapes of what may hide it, taken into the glow pyramid.
static void draw_beam_pass(float x) {
    set_glow_camera(x);
    glColor3f(0, 0, 0);
    glPushMatrix();
        enter_target_frame();
        draw_mesh(res.beam_mirror_mesh, 0);
    glPopMatrix();
    glPushMatrix();
        glScalef(EMITTER_SCALE, EMITTER_SCALE, EMITTER_SCALE);
        draw_mesh(res.glow_object_mesh, 0);
        draw_mesh(res.glow_shell_mesh, 0);
    glPopMatrix();

    push_render_state();
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glLineWidth(BEAM_WIDTH);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1.0f, 0.1f, 0.1f);
        glBegin(GL_LINES);
            glVertex3f(0, 0, 0);
            glVertex3f(0, 0, TARGET_DISTANCE);
        glEnd();
    pop_render_state();
    glColor3f(1, 1, 1);
    glow_chain_build(res.screen_texture_chain, 0, GLOW_SPREAD, WHITE_RGBA);
}

static void draw_pair(float x) {
    glColor3f(1, 1, 1);
    glPushMatrix();
        glScalef(EMITTER_SCALE, EMITTER_SCALE, EMITTER_SCALE);
        bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
        draw_mesh(res.glow_object_mesh, 0);
        bind_texture(res.metal_texture, TEX_SPHERE_MAP);
        draw_mesh(res.glow_shell_mesh, 0);
    glPopMatrix();

    glPushMatrix();
        enter_target_frame();
        bind_texture(res.bubble_texture, TEX_SPHERE_MAP);
        glMatrixMode(GL_TEXTURE);
        glTranslatef(2.0f * x, 0, 0);
        glMatrixMode(GL_MODELVIEW);
        draw_mesh(res.beam_mirror_mesh, RF_BLEND_ADD | RF_NO_DEPTH_WRITE);
    glPopMatrix();

    glPushMatrix();
        glTranslatef(0, 0, LENS_Z);
        glRotatef(90.0f, 1, 0, 0);
        glScalef(LENS_SCALE, LENS_SCALE, LENS_SCALE);
        bind_texture(res.aijjai_texture, 0);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(0, -2.0f * x, 0);
        glMatrixMode(GL_MODELVIEW);
        draw_mesh(res.sky_sphere, 0);
    glPopMatrix();
}

static void draw_sparks(float x, bool burst) {
    const float c = x - GLOW_FIRE, s = 8.0f * c + 8.0f, b = clamp01(c);
    int red, blue;
    glow_stream_counts(x, &red, &blue);
    glTranslatef(0, 0, TARGET_DISTANCE);
    glScalef(s, s, s);
    draw_sprites(glow.red, glow.red_fade, red, &res.flarer_texture, 1, SPARK_SIZE / s, b, SPARK_FLAGS);
    draw_sprites(glow.blue, glow.blue_fade, blue, &res.flareb_texture, 1, SPARK_SIZE / s, b, SPARK_FLAGS);
    if (burst) {
        glScalef(BURST_SPREAD, BURST_SPREAD, BURST_SPREAD);
        draw_sprites(glow.burst, nullptr, GLOW_SPARKS, &res.flarer_texture, 1, BURST_SIZE,
                     1.0f - 2.0f * c, SPARK_FLAGS);
    }
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
GlowPasses glow_passes(float x) {
    const bool fired = x >= GLOW_FIRE;
    return { fired && x < GLOW_BEAM_END, fired, fired && x < GLOW_BURST_END };
}

int glow_camera_choice(float x) {
    if (x < 60.0f) return 1 + int(std::trunc(x)) % 2;          // a new orbit every pattern
    if (x < 62.0f) return 0;                                    // the ride along the axis
    return 1 + int(std::trunc(2.0f * x)) % 2;                   // every half pattern
}

CameraKey glow_camera(int camera, float x, float target[3]) {
    const float pi = float(PI);
    target[0] = target[1] = 0;
    target[2] = TARGET_DISTANCE;
    if (camera == 0) {   // from just in front of the emitter, looking back, out past the target
        const float u = x - 60.0f, z = 5.0f * u * u * u;
        target[2] = z;
        return { 3.0f * u * u * u * u, 0, z + 2.4f, 90.0f };
    }
    if (camera == 1)     // wide level orbit round the target, through the emitter's side
        return { 70.0f * std::cos(pi * x), 0, 70.0f * std::sin(pi * x) + TARGET_DISTANCE, 90.0f };
    return { 20.0f * std::cos(2.0f * pi * x), 5.0f * std::sin(pi * x) + 15.0f,   // close, from above
             20.0f * std::sin(2.0f * pi * x) + TARGET_DISTANCE, 90.0f };
}

float glow_stream_point(float *out, float x, int i, const float *direction, float phase) {
    const float f = std::fmod(x + phase + 0.01f * float(i), 1.0f);
    for (int a = 0; a < 3; a++) out[a] = f * direction[a];
    return 1.0f - f;
}

void glow_stream_counts(float x, int *red, int *blue) {
    const float m = clamp01(0.5f * (x - GLOW_FIRE));
    *red = int(std::trunc((1.0f - m) * float(GLOW_SPARKS)));
    *blue = int(std::trunc(m * float(GLOW_SPARKS)));
}

float glow_burst_reach(float x) {
    if (x < GLOW_FIRE) return 0.0f;
    return 2.0f * std::pow(ease_cos(x - GLOW_FIRE), 0.25f);
}

void glow_object_scene(float x, Texture *target) {
    if (glow.calls++ == 0) glow_setup();
    const GlowPasses passes = glow_passes(x);
    reset_render_state(BLACK_RGBA);
    if (passes.beam) {
        draw_beam_pass(x);
        reset_render_state(BLACK_RGBA);   // the pyramid leaves its smallest level in the corner
    }

    set_glow_camera(x);
    draw_pair(x);
    if (passes.streams) {
        update_sparks(x);
        draw_sparks(x, passes.burst);
    }
    if (passes.beam) glow_chain_composite(res.screen_texture_chain, 1.0f, RF_BLEND_ADD | VIEW);
    if (target) copy_frame_to_texture(target);
}
