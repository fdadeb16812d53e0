// show/red_sculpture.cpp - red_sculpture_scene.
// The emitter sits at the origin at its own scale: the red core rides a ripple of y +-10
// that runs along its axis, and the chrome dish around it bobs with the ripple while it
// rocks about its foot, 13 units below. Behind it the machine stands 100 units away along
// -z at start and recedes by 800 units per unit of t; scaled by 1000 it is still large
// enough that the camera, 50 to 430 units off the origin, stays inside its inside-out
// shell. The upper rotor precesses slowly about the axis while both rotors spin.
#include "show/red_sculpture.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_mesh_deformed()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog(), render.view
#include "show/flare_sculpture.h"    // Required for: draw_sculpture_machine(), make_spark_directions(), spark_stream()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float NEAR_PLANE      = 1.0f;
constexpr float FAR_PLANE       = 10000.0f;
constexpr float RIPPLE_HEIGHT   = 10.0f;
constexpr float RIPPLE_RATE     = 64.0f;     // radians per unit of t
constexpr float DISH_PIVOT      = 13.0f;     // the dish rocks about a point this far below it
constexpr float DISH_ROCK       = 3.3f;      // degrees either way
constexpr float MACHINE_START   = 100.0f;    // the machine's distance along -z at t = 0
constexpr float MACHINE_RECEDE  = 800.0f;    // and how far it recedes per unit of t
constexpr float MACHINE_SCALE   = 1000.0f;
constexpr float PRECESSION      = -39.2875f; // degrees per t squared
constexpr float SPARK_SIZE      = 0.0001f;   // 0.1 after the machine's scale
constexpr RenderFlags GLOW_FLAGS = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;   // 0x600

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int      calls;                              // 0 only before the first call
    float    directions[SCULPTURE_SPARKS * 3];   // the scene's own spark directions
    float    sparks[SCULPTURE_SPARKS * 3];       // per frame
    float    factors[SCULPTURE_SPARKS];
} colossus;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// The core's ripple: y lifted by a wave running along z (time s; b and c unused).
static float *ripple(float *out, float s, const float *p, const float *, float, float) {
    out[0] = p[0];
    out[1] = p[1] + RIPPLE_HEIGHT * std::sin(RIPPLE_RATE * s + 0.01f * p[2]);
    out[2] = p[2];
    return out;
}

static void draw_emitter(float t) {
    bind_texture(res.red6envi_texture, TEX_SPHERE_MAP);
    draw_mesh_deformed(res.glow_object_mesh, t, ripple, 1.0f, 1.0f, 0);
    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    glPushMatrix();
        glTranslatef(0, RIPPLE_HEIGHT * std::sin(RIPPLE_RATE * t), 0);
        glTranslatef(0, -DISH_PIVOT, 0);
        glRotatef(DISH_ROCK * std::sin(RIPPLE_RATE * t + 5.0f), 1, 0, 0);
        glTranslatef(0, DISH_PIVOT, 0);
        draw_mesh(res.glow_shell_mesh, 0);
    glPopMatrix();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
CameraKey red_sculpture_eye(float t) {
    const float h = 0.3f * float(PI) * (t - 2.0f), d = std::fabs(t - 2.0f);
    return { 400.0f * std::sin(h), -15.0f, 50.0f * std::cos(h) - 100.0f * d * d * d, 70.0f };
}

void red_sculpture_scene(float t, Texture *target) {
    if (colossus.calls++ == 0) make_spark_directions(colossus.directions);
    spark_stream(colossus.directions, t, colossus.sparks, colossus.factors);

    reset_render_state(BLACK_RGBA);
    render.view.near_plane = NEAR_PLANE;
    render.view.far_plane = FAR_PLANE;
    const float aim[3] = { 0, 0, 0 };
    set_camera(red_sculpture_eye(t), aim, RF_OFFSCREEN);
    set_fog(BLACK_RGBA, 0.0f, FAR_PLANE);

    draw_emitter(t);

    // The machine's frame for the rest of the frame; the texture stays the chrome.
    glTranslatef(0, 0, -MACHINE_RECEDE * t - MACHINE_START);
    glScalef(MACHINE_SCALE, MACHINE_SCALE, MACHINE_SCALE);
    const SculptureLook look = { PRECESSION * t * t, RF_FLAT, RF_FLAT | RF_CULL_FRONT };
    draw_sculpture_machine(t, look);
    Texture *const flares[2] = { res.flarey_texture, res.flarer_texture };
    draw_sprites(colossus.sparks, colossus.factors, SCULPTURE_SPARKS, flares, 2, SPARK_SIZE,
                 1.0f, GLOW_FLAGS);

    if (target) copy_frame_to_texture(target);
}
