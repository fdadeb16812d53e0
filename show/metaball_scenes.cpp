// show/metaball_scenes.cpp - metaball_sky_scene, metaball_metal_scene, metaball_red_scene.
// The polygoniser works in grid units (its grid spans -16..15); each scene places the
// surface with its own matrix: the sky and metal scenes draw it at unit scale, the red
// scene shrinks it twenty times to fit six copies round a narrow tube.
//
// The surfaces carry no texture coordinates of their own. Where a texture pair puts a
// plain texture on the first unit (sky, red), that unit reads the current texture
// coordinate, so the picture there is one texel's colour tinting the sphere map on the
// second unit; the scenes pin that coordinate so that the tint does not depend on what
// was drawn before, and pick the spot: a cyan one under the sky picture, an orange one
// that keeps the red environment red (the iridescent picture has no neutral spot).
#include "show/metaball_scenes.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"      // Required for: draw_spiral_tube()
#include <GL/gl.h>
#include <cmath>
#include <initializer_list>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float ORIGIN[3]      = { 0, 0, 0 };
static const float SKY_TINT[2]    = { 0.5f, 0.5f };        // where the first unit samples the 256-texel
static const float RED_TINT[2]    = { 122.5f / 256, 131.5f / 256 };   // iridescent picture: texel centres
constexpr float    CHROME_SCALE   = 10.0f / 4.0f;          // chrome ball: blob radius / 4
constexpr float    RED_SCALE      = 0.05f;
constexpr float    RING_RADIUS    = 15.0f;                 // copies' distance from the axis, before RED_SCALE
constexpr RenderFlags GLOW_FLAGS  = RF_BLEND_ADD | RF_NO_DEPTH_WRITE | RF_NO_CULL;

const MetaballStretch metaball_stretches[] = {
    { "metaball_sky_scene", metaball_sky_balls, 79.0f, 82.0f },
    { "metaball_metal_scene", metaball_metal_balls, 44.0f, 47.0f },
    { "metaball_metal_scene", metaball_metal_balls, 120.0f, 124.125f },
    { "metaball_red_scene", metaball_red_balls, 53.25f, 55.5f },
};
const int metaball_stretch_count = int(sizeof metaball_stretches / sizeof metaball_stretches[0]);

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void pin_tint_texcoord(const float st[2]) {
    glTexCoord2f(st[0], st[1]);   // the first unit's current coordinate
}

// Two hexagon planes at y = -height and +height, each 50 times the grid's size.
static void draw_hex_planes(float height, RenderFlags flags) {
    for (float y : { -height, height }) {
        glPushMatrix();
            glScalef(50.0f, 1.0f, 50.0f);
            glTranslatef(0.0f, y, 0.0f);
            draw_mesh(res.grid_plane, flags);
        glPopMatrix();
    }
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
Blob *metaball_sky_balls(float t, Blob out[METABALLS]) {
    out[0] = { 0, 0, 0, 15.0f, 0, BLOB_CUBE };
    for (int i = 1; i < METABALLS; i++) {
        const float n = float(i);
        out[i] = { 7.5f * std::sin(1.817f * t + 1.9f * n), 7.5f * std::sin(4.182f * t + 2.2f * n),
                   7.5f * std::sin(5.752f * t + 3.1f * n), 12.0f, 1, BLOB_ROUND };
    }
    return out;
}

Blob *metaball_metal_balls(float t, Blob out[METABALLS]) {
    for (int i = 0; i < METABALLS; i++) {
        const float n = float(i);
        out[i] = { 6.0f * std::sin(15.817f * t + 2.9f * n), 6.0f * std::sin(10.182f * t + 5.2f * n),
                   6.0f * std::sin(9.752f * t + 3.1f * n), 10.0f, 0, BLOB_ROUND };
    }
    return out;
}

Blob *metaball_red_balls(float t, Blob out[METABALLS]) {
    for (int i = 0; i < METABALLS; i++) {
        const float n = float(i);
        out[i] = { 6.0f * std::sin(1.1f * n + 5.9182f * t), 6.0f * std::sin(0.7f * n + 9.1231f * t),
                   6.0f * std::sin(1.0f * n - 8.2419f * t), 6.0f, 0, BLOB_CUBE };
    }
    return out;
}

void metaball_sky_scene(float t, Texture *target) {
    Blob balls[METABALLS];
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    set_camera(CameraKey{ 0, 0, -18, 110 }, ORIGIN, target ? RF_OFFSCREEN : 0);

    push_render_state();
        glRotatef(180.0f * t, 0, 1, 0);
        bind_texture_pair(res.irid_texture, 0, res.skyr1_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
        pin_tint_texcoord(SKY_TINT);
        draw_isosurface(metaball_sky_balls(t, balls), METABALLS, 0);
    pop_render_state();

    set_fog(BLACK_RGBA, 0.0f, 20.0f);
    push_render_state();
        bind_texture_pair(res.shakki_texture, 0, res.bubble_texture, TEX_SPHERE_MAP, RF_BLEND_ADD);
        draw_spiral_tube(128.0f * t, 13.0f, 32, 32, RF_NO_CULL);
    pop_render_state();
    if (target) copy_frame_to_texture(target);
}

void metaball_metal_scene(float t, Texture *target) {
    const float pi = float(PI);
    Blob balls[METABALLS];
    metaball_metal_balls(t, balls);
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.001f;
    render.view.far_plane = 300.0f;
    const CameraKey eye = { 16.0f * std::sin(-2.0f * pi * t), 10.0f * std::sin(pi * t),
                            16.0f * std::cos(-2.0f * pi * t), 90.0f };
    set_camera(eye, ORIGIN, target ? RF_OFFSCREEN : 0);

    // Chrome balls at the centres, seen through the additive skin drawn last.
    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    for (const Blob &b : balls) {
        push_render_state();
            glTranslatef(b.x, b.y, b.z);
            glScalef(CHROME_SCALE, CHROME_SCALE, CHROME_SCALE);
            draw_mesh(res.sphere_8, 0);
        pop_render_state();
    }

    set_fog(BLACK_RGBA, 0.0f, 300.0f);
    bind_texture(res.hex2_texture, 0);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(2.0f * t, 0.0f, 0.0f);   // the outer pair scrolls
    glScalef(4.0f, 4.0f, 4.0f);
    glMatrixMode(GL_MODELVIEW);
    draw_hex_planes(30.0f, RF_NO_CULL);

    bind_texture(res.hex2_texture, 0);
    glMatrixMode(GL_TEXTURE);
    glScalef(4.0f, 4.0f, 4.0f);
    glMatrixMode(GL_MODELVIEW);
    draw_hex_planes(20.0f, RF_BLEND_ADD | RF_NO_CULL);

    bind_texture(res.metal2_texture, TEX_SPHERE_MAP);
    draw_isosurface(balls, METABALLS, GLOW_FLAGS);
    if (target) copy_frame_to_texture(target);
}

void metaball_red_scene(float t, Texture *target) {
    const float pi = float(PI);
    Blob balls[METABALLS];
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    set_camera(CameraKey{ 0, 0, -1.5f, 100 }, ORIGIN, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, 16.0f);

    // One shape per frame, so all six copies are the same.
    MeshObject *shape = build_isosurface(metaball_red_balls(t, balls), METABALLS, 0);
    bind_texture_pair(res.irid_texture, 0, res.red6envi_texture, TEX_SPHERE_MAP, RF_BLEND_MULTIPLY);
    pin_tint_texcoord(RED_TINT);
    glPushMatrix();
        glScalef(RED_SCALE, RED_SCALE, RED_SCALE);
        glRotatef(90.0f * t, 0, 1, 0);
        glRotatef(180.0f * pi * t, 1, 1, 1);
        for (int k = 0; k < 6; k++) {
            glPushMatrix();
                glRotatef(60.0f * float(k), 0, 1, 0);
                glTranslatef(RING_RADIUS, 0, 0);
                glRotatef(360.0f * t, std::sin(8.124f * t), std::sin(11.71f * t), std::sin(5.412f * t));
                draw_mesh(shape, 0);
            glPopMatrix();
        }
    glPopMatrix();

    push_render_state();
        bind_texture(res.skyr1_texture, 0);
        draw_spiral_tube(64.0f * t, 3.0f, 16, 32, RF_NO_CULL);
    pop_render_state();
    // The shape's list is the polygoniser's own and is rebuilt by the next call: nothing to free.
    if (target) copy_frame_to_texture(target);
}
