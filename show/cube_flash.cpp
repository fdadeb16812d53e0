// show/cube_flash.cpp - cube_flash_scene and its seven cube sculptures.
// Every sculpture is made of unit_cube (corners at +-1) scaled down, each cube in its own
// matrix push and pop. The sculptures that pulse read the band sums: the bars stretch with
// the bass, the sphere's cubes lengthen with it, the eight corner cubes grow each with one
// band, the fan's blades with the four bands in turn and the tumbling ten with the bass.
// The grid's 125 cubes each turn to face one far wandering point; their matrix puts 1 into
// the w row of the facing axis, so each cube also tapers in perspective along it.
#include "show/cube_flash.h"
#include "audio/spectrum.h"          // Required for: spectrum.band_sums
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "post/filters.h"            // Required for: zoom_blur_flash()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, vec3_*
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float DOME_SCALE   = 30.0f;
constexpr int   ZOOM_COPIES  = 24;
constexpr float ZOOM_STEP    = 1.03f;
static const float TARGET_ORIGIN[3] = { 0, 0, 0 };

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void cube(float sx, float sy, float sz) {
    glPushMatrix();
        glEnable(GL_NORMALIZE);
        glScalef(sx, sy, sz);
        draw_mesh(res.unit_cube, 0);
    glPopMatrix();
}

static void cube_at(float s, const float *p) {
    glPushMatrix();
        glTranslatef(p[0], p[1], p[2]);
        glScalef(s, s, s);
        draw_mesh(res.unit_cube, 0);
    glPopMatrix();
}

// A cube at p turned to face along d, tapering in perspective along it.
static void cube_facing(float s, const float *p, const float *d) {
    float z[3] = { d[0], d[1], d[2] }, x[3], y[3];
    const float up[3] = { 0, 1, 0 };
    vec3_normalize(z);
    vec3_normalize(vec3_cross(x, z, up));
    vec3_cross(y, x, z);
    const float m[16] = { x[0], x[1], x[2], 0, y[0], y[1], y[2], 0, z[0], z[1], z[2], 1, p[0], p[1], p[2], 1 };
    glPushMatrix();
        glMultMatrixf(m);
        glScalef(s, s, s);
        draw_mesh(res.unit_cube, 0);
    glPopMatrix();
}

static void axis_of(float *out, int i) {   // the bars' and the tumbling ten's turning axes
    const float n = float(i);
    vec3_set(out, std::sin(2.51f * n), std::cos(3.77f * n), -std::sin(1.92f * n));
}

static void three_rings(float t) {
    const float pi = float(PI);
    const float axes[3][3] = {
        { std::sin(1.582f * t), std::sin(2.182f * t), std::sin(1.827f * t) },
        { std::sin(2.582f * t), std::sin(1.928f * t), std::sin(2.11f * t) },
        { std::sin(3.198f * t), std::sin(2.588f * t), std::sin(1.553f * t) },
    };
    const float radius[3] = { 2.5f, 2.0f, 1.5f };
    glScalef(1.5f, 1.5f, 1.5f);
    for (int r = 0; r < 3; r++) {
        glPushMatrix();
            glRotatef(90.0f * t, axes[r][0], axes[r][1], axes[r][2]);
            for (int i = 0; i < 16; i++) {
                glPushMatrix();
                    glRotatef(22.5f * float(i), 0, 0, 1);
                    glTranslatef(0, radius[r] + 0.2f * std::sin(float(i) * pi / 2.0f + 4.0f * pi * t), 0);
                    cube(0.2f, 0.2f, 0.2f);
                glPopMatrix();
            }
        glPopMatrix();
    }
}

static void ten_bars(const float *band) {
    for (int i = 0; i < 10; i++) {
        float a[3];
        axis_of(a, i);
        glPushMatrix();
            glRotatef(200.0f * float(i), a[0], a[1], a[2]);
            glTranslatef(2, 0, 0);
            cube(1.0f + 0.1f * band[0], 1, 1);
        glPopMatrix();
    }
}

static void cube_sphere(float t, const float *band) {
    const float pi = float(PI), w = 0.1f * std::sin(2.0f * pi * t) + 0.2f;
    const float length = 0.2f * std::sin(pi * t) + 0.1f * band[0] + 0.4f;
    for (int i = 0; i < 8; i++) {
        for (int j = 0; j < 9; j++) {
            if (i > 0 && (j == 0 || j == 8)) continue;   // the poles once only
            glPushMatrix();
                glRotatef(45.0f * float(i), 1, 0, 0);
                glRotatef(22.5f * float(j), 0, 1, 0);
                glTranslatef(3, 0, 0);
                cube(length, w, w);
            glPopMatrix();
        }
    }
}

static void spectrum_corners(float t, const float *band) {
    float cubes[8][4];
    cube_flash_corners(band, cubes);
    glScalef(3, 3, 3);
    for (const auto &c : cubes) cube_at(c[0], &c[1]);
    const float orbit[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } };
    const float place[3][3] = { { 0.5f, 1, 0 }, { 1, 0, 0 }, { 1.5f, 0, 0 } };
    for (int k = 0; k < 3; k++) {
        glPushMatrix();
            glRotatef(1440.0f * t, orbit[k][0], orbit[k][1], orbit[k][2]);
            glTranslatef(place[k][0], place[k][1], place[k][2]);
            cube(0.2f, 0.2f, 0.2f);
        glPopMatrix();
    }
}

static void spinning_fan(float t, const float *band) {
    for (int i = 0; i < 5; i++) {
        for (int j = 0; j < 5; j++) {
            if (i >= 1 && (j == 0 || j == 4)) continue;
            glPushMatrix();
                glScalef(5, 5, 5);
                glRotatef(72.0f * float(i), 1, 0, 0);
                glRotatef(45.0f * float(j), 0, 1, 0);
                glTranslatef(0.5f, 0, 0);
                glRotatef(720.0f * t, 0, 0, 1);
                cube(0.05f * band[3 - j % 4] + 0.1f, 0.15f, 0.15f);
            glPopMatrix();
        }
    }
}

static void tumbling_ten(float t, const float *band) {
    const float s = 0.05f * band[0] + 0.1f;
    glScalef(1.5f, 1.5f, 1.5f);
    for (int i = 0; i < 10; i++) {
        float a[3];
        axis_of(a, i);
        glPushMatrix();
            glScalef(2, 2, 2);
            glRotatef(100.0f * cube_flash_step16(16.0f * t + 17.8f * float(i)) + 100.0f * float(i), a[0], a[1], a[2]);
            glTranslatef(1, 0, 0);
            cube(s, s, s);
        glPopMatrix();
    }
}

static void cube_grid(float t) {
    const float pi = float(PI);
    const float far_point[3] = { 100.0f * std::sin(2.0f * pi * t), 100.0f * std::sin(3.0f * pi * t),
                                 100.0f * std::sin(1.3f * pi * t) };
    for (int i = 0; i < 5; i++)
        for (int j = 0; j < 5; j++)
            for (int k = 0; k < 5; k++) {
                const float p[3] = { float(k) - 2.5f, float(j) - 2.5f, float(i) - 2.5f };
                const float d[3] = { far_point[0] - p[0], far_point[1] - p[1], far_point[2] - p[2] };
                glPushMatrix();
                    glRotatef(90.0f * t, 1, 1, 0);
                    cube_facing(0.2f, p, d);
                glPopMatrix();
            }
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
int cube_flash_sculpture(float t) {
    return int(long(std::trunc(4.0f * t)) % CUBE_SCULPTURES);
}

int cube_flash_chrome(float t) {
    return int(long(std::trunc(4.0f * t)) % 3);
}

float cube_flash_step16(float x) {
    float a = std::fmod(x, 16.0f);
    if (a < 0) a += 16.0f;
    if (a < 7.0f) return 0.0f;
    if (a < 8.0f) return a - 7.0f;
    if (a < 15.0f) return 1.0f;
    return 16.0f - a;
}

void cube_flash_corners(const float band[4], float out[8][4]) {
    float s[4];
    for (int b = 0; b < 4; b++) s[b] = 0.03f * band[b] + 0.2f;
    // Each band owns two corners, one above and one below: (+,+), (-,+), (-,-), (+,-) in x and z.
    const float sign_x[4] = { 1, -1, -1, 1 }, sign_z[4] = { 1, 1, -1, -1 };
    for (int c = 0; c < 8; c++) {
        const int b = c % 4;
        const float a = s[b], above = c < 4 ? 1.0f : -1.0f;
        out[c][0] = a;
        out[c][1] = sign_x[b] * a;
        out[c][2] = above * a;
        out[c][3] = sign_z[b] * a;
    }
}

void draw_cube_sculpture(int sculpture, float t, const float band[4]) {
    glPushMatrix();
    switch (sculpture) {
    case 0:  three_rings(t);               break;
    case 1:  ten_bars(band);               break;
    case 2:  cube_sphere(t, band);         break;
    case 3:  spectrum_corners(t, band);    break;
    case 4:  spinning_fan(t, band);        break;
    case 5:  tumbling_ten(t, band);        break;
    default: cube_grid(t);                 break;
    }
    glPopMatrix();
}

void cube_flash_scene(float t, Texture *target) {
    const float pi = float(PI);
    Texture *const chromes[3] = { res.metal_texture, res.electric_texture, res.envi6b_texture };
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    const CameraKey eye = { 6.0f * std::sin(2.0f * pi * t), 0.0f, 6.0f * std::cos(2.0f * pi * t), 90.0f };
    set_camera(eye, TARGET_ORIGIN, target ? RF_OFFSCREEN : 0);

    bind_texture(chromes[cube_flash_chrome(t)], TEX_SPHERE_MAP);
    draw_cube_sculpture(cube_flash_sculpture(t), t, spectrum.band_sums);

    glPushMatrix();
        glScalef(DOME_SCALE, DOME_SCALE, DOME_SCALE);
        bind_texture(res.hex2_texture, 0);
        glColor3f(0.5f, 0.5f, 0.5f);
        glMatrixMode(GL_TEXTURE);
        glTranslatef(0, 2.0f * t, 0);
        glScalef(2, 2, 2);
        glMatrixMode(GL_MODELVIEW);
        draw_mesh(res.sky_sphere, RF_CULL_FRONT);
    glPopMatrix();

    // NOTE: the flash works on the target, so without one the picture stays unsmeared.
    if (!target) return;
    copy_frame_to_texture(target);
    zoom_blur_flash(target, ZOOM_COPIES, ZOOM_STEP, 1.0f, RF_OFFSCREEN);
    copy_frame_to_texture(target);
}
