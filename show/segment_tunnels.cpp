// show/segment_tunnels.cpp - small_parts_metal_scene (the funnel) and
// small_parts_light_scene (the rush).
// The funnel camera covers 64 segments per pattern. Segment k's turn about the axis comes
// from k alone, so a segment keeps its angle all the while the camera passes it; only its
// distance from the axis changes. From show time 51 that distance is f^2, capped at 300,
// with f growing by one per segment: f is 2 at the camera (the first two segments drawn
// start behind it and reach past it), so the segments just ahead hang 4 to 9 units off the axis
// and the camera flies through their bores, while the far ones fan out.
// NOTE: the flight runs to a quarter of a million units; the picture is drawn relative to
// the camera's current segment so that the float modelview keeps its precision there.
//
// The rush draws eleven rows 70 mesh units apart, each a pair of segments scaled and
// twisted about the axis differently, lifted off it by up to 300 units, sliding one row
// per 1/32 pattern past a 100-160 degree lens. Rows enter
// beyond the far plane and leave behind the eye, so none pops in or out on screen.
#include "show/segment_tunnels.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, clamp01()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float ORIGIN[3]        = { 0, 0, 0 };
constexpr int      SEGMENT_KINDS     = 7;
constexpr float    FUNNEL_SPACING    = 50.0f;   // units between segments
constexpr float    SEGMENTS_PER_PATTERN = 64.0f;
constexpr float    FUNNEL_AHEAD      = 40.0f;   // segments drawn ahead of the camera's own
constexpr float    FUNNEL_SCATTER    = 200.0f;  // added to f before show time 51: r is always capped
constexpr float    FUNNEL_FOG_END    = 2000.0f;
constexpr float    RUSH_SCALE        = 0.01f;
constexpr float    RUSH_SPACING      = 70.0f;   // mesh units between rows
constexpr float    RUSH_ROWS_PER_PATTERN = 32.0f;
constexpr float    RUSH_LIFT         = 300.0f;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static MeshObject *segment_mesh(int i) {
    MeshObject *const meshes[SEGMENT_KINDS] = {
        res.small_part_2_mesh, res.small_part_1_mesh, res.small_part_3_mesh, res.small_part_4_mesh,
        res.small_part_5_mesh, res.small_part_6_mesh, res.small_part_7_mesh,
    };
    return meshes[i];
}

static float funnel_radius(float x, float f) {
    float r = x < FUNNEL_GATHER ? f + FUNNEL_SCATTER : f;
    r = std::max(r, 0.0f);
    return std::min(r * r, FUNNEL_RADIUS_CAP);
}

// Degrees from an angle that may run to hundreds of turns, kept within one turn.
static float within_turn(double degrees) {
    return float(std::fmod(degrees, 360.0));
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float funnel_eye_z(float x) {
    return FUNNEL_SPACING * (SEGMENTS_PER_PATTERN * x) + FUNNEL_SPACING;
}

int funnel_segments(float x, FunnelSegment *out) {
    const float s = SEGMENTS_PER_PATTERN * x;
    float f = 1.0f - std::fmod(s, 1.0f);
    int n = 0;
    for (int k = int(std::trunc(s)); float(k) < s + FUNNEL_AHEAD && n < FUNNEL_SEGMENTS; k++, f += 1.0f) {
        const double c = 79.618 * k + 64.4 * (k % 7) + 33.4 * (k % 11) - 133.4 * (k % 3);
        out[n++] = { k, ((k % SEGMENT_KINDS) + SEGMENT_KINDS) % SEGMENT_KINDS, within_turn(c),
                     funnel_radius(x, f) };
    }
    return n;
}

void rush_rows(float x, int *first, int *last) {
    const int n = int(std::trunc(RUSH_ROWS_PER_PATTERN * x));
    *first = n - RUSH_REACH;
    *last = n + RUSH_REACH;
}

RushSegment rush_segment(float x, int k, int j) {
    const double pi = PI, K = k, J = j;
    const double up = 1.0 - std::sin(std::fmod(10.25 * K, 50.0) * pi / 8.0);
    const double pick = (0.5 * std::sin(0.753413 * J) + 0.5 * std::sin(0.7237654754 * K)) * 0.5 + 0.5;
    const double twist = (std::sin(0.754 * K) + std::cos(0.53 * J)) * std::sin(0.634 * (K + J)) * 33.0 * x
                         + 45.0 * (K + 0.75 * J);
    return { std::min(int(std::trunc(pick * 3.0 + 2.0)), SEGMENT_KINDS - 1), within_turn(twist),
             clamp01(float(up * up)) };
}

float rush_row_z(float x, int k) {
    return float(RUSH_SCALE * (double(RUSH_SPACING) * k - double(RUSH_SPACING * RUSH_ROWS_PER_PATTERN) * x));
}

void small_parts_metal_scene(float x, Texture *target) {
    FunnelSegment segments[FUNNEL_SEGMENTS];
    const int count = funnel_segments(x, segments);
    const float s = SEGMENTS_PER_PATTERN * x;
    const double base = FUNNEL_SPACING * std::trunc(double(s));   // drawn relative to here
    const float eye_z = float(double(funnel_eye_z(x)) - base);

    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.1f;
    render.view.far_plane = 3000.0f;
    const float aim[3] = { 0, 0, eye_z + FUNNEL_SPACING };
    set_camera({ 0, 0, eye_z, 110.0f }, aim, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, FUNNEL_FOG_END);

    glPushMatrix();
        bind_texture_pair(res.hex2_texture, 0, res.metal_texture, TEX_SPHERE_MAP, RF_BLEND_ADD);
        for (int i = 0; i < count; i++) {
            const FunnelSegment &g = segments[i];
            glPushMatrix();
                glRotatef(g.angle, 0, 0, 1);
                glTranslatef(0, g.radius, float(FUNNEL_SPACING * double(g.k) - base));
                draw_mesh(segment_mesh(g.mesh), 0);
            glPopMatrix();
        }
    glPopMatrix();
    if (target) copy_frame_to_texture(target);
}

void small_parts_light_scene(float x, Texture *target) {
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = RUSH_FAR_PLANE;
    const float fov = 130.0f + 30.0f * std::sin(float(PI) * x / 2.0f);
    set_camera({ 0, 0, RUSH_EYE_Z, fov }, ORIGIN, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, RUSH_FAR_PLANE);

    int first, last;
    rush_rows(x, &first, &last);
    glPushMatrix();
    for (int k = first; k <= last; k++) {
        glPushMatrix();
            glScalef(RUSH_SCALE, RUSH_SCALE, RUSH_SCALE);
            const float z = rush_row_z(x, k) / RUSH_SCALE;
            for (int j = 0; j < 2; j++) {
                const RushSegment g = rush_segment(x, k, j);
                glPushMatrix();
                    glScalef(float(j) + 1.25f, float(j) + 1.25f, 1);
                    glRotatef(g.angle, 0, 0, 1);
                    glTranslatef(0, RUSH_LIFT * g.lift, z);
                    glRotatef(-90.0f, 0, 0, 1);
                    bind_texture_pair(res.hex2_texture, 0, res.valo_texture, TEX_SPHERE_MAP, RF_BLEND_ADD);
                    draw_mesh(segment_mesh(g.mesh), 0);
                glPopMatrix();
            }
        glPopMatrix();
    }
    glPopMatrix();
    if (target) copy_frame_to_texture(target);
}
