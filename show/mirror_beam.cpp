// show/mirror_beam.cpp - mirror_beam_scene and its rules.
// Two passes over the same camera. The beam pass draws the mirror room black (it only
// fills the depth buffer, so walls hide the beams behind them) and traces the lit beams
// through it as fogged additive lines; the glow pyramid takes that picture away. The hall
// pass clears, draws the hall in the colours the bounce points gave its vertices, adds
// the blurred beam picture over it as a sphere-mapped sheen, puts a flare on every bounce
// and finally adds the glow levels over everything.
//
// Both room meshes are wound inward, so from the outer orbit the near walls are culled
// and the camera looks into the hall as into a cutaway.
#include "show/mirror_beam.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "geometry/mesh_deformed.h"  // Required for: draw_triangle_arrays()
#include "post/filters.h"            // Required for: glow_chain_build(), glow_chain_composite()
#include "post/sprites.h"            // Required for: draw_sprites()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float ORIGIN[3]       = { 0, 0, 0 };
static const float BEAM_START[3]   = { 0, 1, 0 };
static const float BEAM_RGBA[4]    = { 0.1f, 0.25f, 1.0f, 1.0f };
constexpr float    BEAM_REACH      = 1000.0f;
constexpr float    BEAM_WIDTH      = 2.0f;
constexpr float    WIDE_LENS[2]    = { 0.236f, -0.236f };   // camera 0 frames the hall off-centre
constexpr float    NEAR_PLANE      = 0.1f;
constexpr float    FAR_PLANE       = 200.0f;
constexpr float    BEAM_FOG_END    = 100.0f;
constexpr float    HALL_LIGHT      = 0.4f;    // light at one unit from a full-brightness point
constexpr float    NEAREST_LIGHT   = 1e-3f;   // distances below this count as this (no infinities)
constexpr float    FLARE_SIZE      = 3.0f;
constexpr float    GLOW_SPREAD     = 2.0f;
constexpr int      MASK_STEPS      = 32;      // new beam combinations per pattern
constexpr RenderFlags GLOW_FLAGS   = RF_BLEND_ADD | RF_NO_DEPTH_WRITE;

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    int                calls;                 // 0 only before the first call
    std::vector<float> hall_colours;          // r, g, b per hall vertex, refilled every frame
    float              points[BEAM_COUNT * BEAM_SEGMENTS * 3];
    float              intensities[BEAM_COUNT * BEAM_SEGMENTS];
    BeamPointList      list;
} beams;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static int bit_count(int mask) {
    int n = 0;
    for (; mask; mask >>= 1) n += mask & 1;
    return n;
}

// Clears to black and sets up camera c; both passes start here.
static void start_pass(int camera, float t) {
    reset_render_state(BLACK_RGBA);
    if (camera == 0) {
        render.view.offset[0] = WIDE_LENS[0];
        render.view.offset[1] = WIDE_LENS[1];
    }
    render.view.near_plane = NEAR_PLANE;
    render.view.far_plane = FAR_PLANE;
    set_camera(beam_camera_key(camera, t), ORIGIN, RF_OFFSCREEN);
}

static void draw_beams(float t) {
    glColor3f(0, 0, 0);
    draw_mesh(res.beam_mirror_mesh, 0);   // black: only fills the depth buffer
    glColor3f(1, 1, 1);
    set_fog(BLACK_RGBA, 0.0f, BEAM_FOG_END);

    beams.list.count = 0;
    const int mask = beam_mask(t);
    for (int k = 0; k < BEAM_COUNT; k++) {
        if (!(mask & (1 << k))) continue;
        float dir[3];
        beam_direction(dir, k, t);
        trace_beam(BEAM_START, dir, res.beam_mirror_mesh, BEAM_REACH, BEAM_SEGMENTS, BEAM_WIDTH,
                   BEAM_RGBA, &beams.list, RF_NO_DEPTH_WRITE);
    }
}

static void draw_hall() {
    const MeshObject *hall = res.beam_hall_mesh;
    glDisable(GL_FOG);
    glColor3f(1, 1, 1);
    draw_triangle_arrays(hall->positions, nullptr, beams.hall_colours.data(), hall->indices,
                         hall->vertex_count, hall->face_count, 0);
    // The colour array leaves the current colour undefined: the sheen is white.
    glColor3f(1, 1, 1);
    bind_texture(&res.screen_texture_chain.levels[0], TEX_SPHERE_MAP);
    draw_mesh(hall, RF_BLEND_ADD);
    draw_sprites(beams.points, beams.intensities, beams.list.count, &res.flare1_texture, 1,
                 FLARE_SIZE, 1.0f, GLOW_FLAGS);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void fill_beam_mask_table(int table[BEAM_MASK_ENTRIES]) {
    int n = 0;
    for (int bits = 0; bits <= BEAM_COUNT; bits++)
        for (int mask = 0; mask < 64; mask++)
            if (bit_count(mask) == bits) table[n++] = mask;
    for (int bits = BEAM_COUNT; bits >= 0; bits--)
        for (int mask = 0; mask < 64; mask++)
            if (bit_count(mask) == bits) table[n++] = mask;
}

int beam_mask(float t) {
    static int table[BEAM_MASK_ENTRIES];
    static bool filled = false;
    if (!filled) {
        fill_beam_mask_table(table);
        filled = true;
    }
    // Before the scene's start (never asked for by the show) nothing is lit.
    const int step = int(std::min(t, 2.0f) * float(MASK_STEPS));
    return step < 0 ? 0 : table[step % BEAM_MASK_ENTRIES];
}

int beam_camera(float t) {
    return int(2.0f * t) % 2 == 0 ? 0 : 1;
}

CameraKey beam_camera_key(int camera, float t) {
    const float a = float(PI) * t / 2.0f;
    if (camera == 0) return { 45.0f * std::sin(a), -5.0f, 45.0f * std::cos(a), 50.0f };
    return { 5.0f * std::sin(-a), 20.0f, 5.0f * std::cos(-a), 90.0f };
}

float *beam_direction(float *out, int beam, float t) {
    const float s = std::sin(float(PI) * t), l = (0.1f * s + 0.2f) * float(beam);
    out[0] = std::sin(1.9f * t + l);
    out[1] = 0.5f * std::sin(1.1f * t + l) + 0.35f;
    out[2] = std::sin(1.3f * t + l);
    return out;
}

void light_hall(float *colours, const float *positions, int vertex_count, const BeamPointList &points,
                float t) {
    std::fill(colours, colours + vertex_count * 3, 0.0f);
    if (t > HALL_DARK_AFTER) return;
    for (int v = 0; v < vertex_count; v++) {
        const float *p = &positions[v * 3];
        float sum = 0;
        for (int j = 0; j < points.count; j++) {
            const float *q = &points.points[j * 3];
            const float dx = q[0] - p[0], dy = q[1] - p[1], dz = q[2] - p[2];
            const float d = std::max(std::sqrt(dx * dx + dy * dy + dz * dz), NEAREST_LIGHT);
            sum += HALL_LIGHT / d * points.intensities[j];
        }
        for (int c = 0; c < 3; c++) colours[v * 3 + c] = BEAM_RGBA[c] * sum;
    }
}

void mirror_beam_scene(float t, Texture *target) {
    if (beams.calls++ == 0) beams.list = { beams.points, beams.intensities, 0, BEAM_COUNT * BEAM_SEGMENTS };
    // Sized by the hall in use (the show's never changes; test stand-ins may).
    const size_t colour_count = size_t(res.beam_hall_mesh->vertex_count) * 3;
    if (beams.hall_colours.size() != colour_count) beams.hall_colours.assign(colour_count, 0.0f);
    const int camera = beam_camera(t);

    start_pass(camera, t);
    draw_beams(t);
    light_hall(beams.hall_colours.data(), res.beam_hall_mesh->positions, res.beam_hall_mesh->vertex_count,
               beams.list, t);
    glow_chain_build(res.screen_texture_chain, 0, GLOW_SPREAD, WHITE_RGBA);

    start_pass(camera, t);
    draw_hall();
    glow_chain_composite(res.screen_texture_chain, 1.0f, RF_BLEND_ADD | RF_OFFSCREEN);

    if (target) copy_frame_to_texture(target);
}
