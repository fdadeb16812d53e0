// show/scene_helpers.cpp - the shared scene helpers.
// The tubes are drawn ring by ring around the current position only: rings sit one unit
// apart along z and follow the integer part of the position, while the whole tube slides
// back by the position itself, so a steadily growing position reads as an endless tube
// streaming towards the camera. The texture follows the ring index, so it moves with the walls.
#include "show/scene_helpers.h"
#include "geometry/mesh.h"          // Required for: draw_mesh()
#include "precalc/resources.h"      // Required for: res (emblem meshes, room meshes and textures)
#include "render/math.h"            // Required for: PI, vec3_set()
#include "render/render_state.h"    // Required for: reset_render_state(), set_camera(), set_fog(), render.view
#include "render/texture.h"         // Required for: bind_texture(), TEX_SPHERE_MAP
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const CameraKey EMBLEM_EYE       = { 0.0f, 0.0f, -200.0f, 45.0f };
static const float     EMBLEM_TARGET[3] = { 0, 0, 0 };
constexpr int          EMBLEM_VIEWPORT[4] = { 288, 0, 96, 72 };   // lower-right quarter of the offscreen view
constexpr float        ROOM_FOG_END     = 30.0f;
constexpr float        SKY_SCALE        = 30.0f;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Corner j of ring i: a point on the circle of the given radius at z = i, with its
// texture coordinate; `spiral` winds t on by one repeat per turn.
static void emit_tube_corner(int j, int i, int segments, float radius, bool spiral) {
    const float n = float(segments);
    const float u = float(2.0 * PI * j / segments);
    glTexCoord2f(float(j) / n, spiral ? float(i + j) / n : float(i) / n);
    glVertex3f(radius * std::sin(u), radius * std::cos(u), float(i));
}

static void draw_tube_rings(float a, float r, int n, int c, RenderFlags flags, bool spiral) {
    push_render_state();
        apply_render_flags(flags);
        glTranslatef(0, 0, -a);
        const int f = int(std::floor(a));
        glBegin(GL_TRIANGLES);
        for (int i = f - c; i <= f + c - 1; i++) {
            for (int j = 0; j < n; j++) {
                emit_tube_corner(j, i, n, r, spiral);
                emit_tube_corner(j, i + 1, n, r, spiral);
                emit_tube_corner(j + 1, i + 1, n, r, spiral);
                emit_tube_corner(j, i, n, r, spiral);
                emit_tube_corner(j + 1, i + 1, n, r, spiral);
                emit_tube_corner(j + 1, i, n, r, spiral);
            }
        }
        glEnd();
    pop_render_state();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void draw_corner_emblem(float t) {
    reset_render_state(nullptr);
    glClearDepth(1.0);
    clear_buffers(GL_DEPTH_BUFFER_BIT);
    render.view.offset[0] = render.view.offset[1] = 0;
    render.view.near_plane = 0.01f;
    render.view.far_plane = 10000.0f;
    set_camera(EMBLEM_EYE, EMBLEM_TARGET, 0);
    glViewport(EMBLEM_VIEWPORT[0], EMBLEM_VIEWPORT[1], EMBLEM_VIEWPORT[2], EMBLEM_VIEWPORT[3]);
    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    glColor4f(1, 1, 1, 1);

    // Two turns per unit of t: the front mesh for the first half of each turn, the back
    // mesh (turned to face the other way) for the second; they swap while edge-on.
    const float angle = std::fmod(t * 720.0f, 360.0f);
    glRotatef(angle + 90.0f, 0, 1, 0);
    if (angle < 180.0f) {
        draw_mesh(res.twin_part_a_mesh, 0);
    } else {
        glRotatef(180.0f, 0, 1, 0);
        draw_mesh(res.twin_part_b_mesh, 0);
    }
    render.view.near_plane = 0.01f;
    render.view.far_plane = 1000.0f;
}

void draw_tube(float position, float radius, int segments, int half_rings, RenderFlags flags) {
    draw_tube_rings(position, radius, segments, half_rings, flags, false);
}

void draw_spiral_tube(float position, float radius, int segments, int half_rings, RenderFlags flags) {
    draw_tube_rings(position, radius, segments, half_rings, flags, true);
}

void draw_chess_room() {
    set_fog(BLACK_RGBA, 0.0f, ROOM_FOG_END);
    glPushMatrix();
        bind_texture(res.shakki_texture, 0);
        glMatrixMode(GL_TEXTURE);
        glRotatef(45.0f, 0, 0, 1);
        glMatrixMode(GL_MODELVIEW);
        draw_mesh(res.grid_plane, 0);

        glColor4f(1, 1, 1, 1);
        glPushMatrix();
            glScalef(SKY_SCALE, SKY_SCALE, SKY_SCALE);
            glRotatef(90.0f, 1, 0, 0);
            glDisable(GL_FOG);
            bind_texture(res.bubble_texture, 0);
            draw_mesh(res.sky_sphere, RF_CULL_FRONT);   // seen from inside
        glPopMatrix();
    glPopMatrix();
}

float fold_quarter(float x) {
    float a = std::fmod(x, 0.25f);
    if (a > 0.125f) a = 0.5f - a;
    return 2.0f * a;
}

float *displace_along_normal(float *out, float s, const float *position, const float *normal,
                             float b, float k) {
    return vec3_set(out, position[0] + k * normal[0], position[1] + k * normal[1],
                    position[2] + k * normal[2]);
}

float *wave_deform(float *out, float s, const float *position, const float *normal, float b, float k) {
    const float pi = float(PI);
    const float phase = 80.0f * s + (80.0f * 0.35f / pi) * std::sin(pi * s) + 0.01f * position[2];
    return vec3_set(out, position[0], position[1] + 10.0f * k * std::sin(phase), position[2]);
}
