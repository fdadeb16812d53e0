// show/statue_scenes.cpp - statue_scene and twin_parts_scene.
// The statue is two meshes on one graph: opaque chrome rods (big_statue_mesh) wrapped in
// an additive electric shell (statue_mesh), both sphere mapped so the reflections slide
// as the camera circles. The box round them is a cube seen from inside, 200 units wide
// with four chessboards per face; the orbit (radius 90, height within 40) never leaves it,
// and the fog ending at 100 sinks its far walls into black.
//
// The emblem is chrome modulated by an electric sheen. Before t = 16 each face makes a
// whole turn in turn, so its back shows too; from 16 on the faces swap every half turn,
// while edge-on, as in the corner emblem.
#include "show/statue_scenes.h"
#include "geometry/mesh.h"          // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const float     ORIGIN[3]      = { 0, 0, 0 };
static const CameraKey EMBLEM_EYE     = { 0.0f, 0.0f, -200.0f, 45.0f };
constexpr float        STATUE_LENS[2] = { 0.236f, -0.236f };   // projection shift: the structure sits off-centre
constexpr float        STATUE_FOG_END = 100.0f;
constexpr float        BOX_SCALE      = 100.0f;   // unit_cube has corners at +-1
constexpr float        BOARDS_PER_FACE = 4.0f;    // texture repeats along each box edge
constexpr float        EMBLEM_RULE_CHANGE = 16.0f;

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void statue_scene(float t, Texture *target) {
    const RenderFlags view = target ? RF_OFFSCREEN : 0;
    reset_render_state(BLACK_RGBA);
    render.view.offset[0] = STATUE_LENS[0];
    render.view.offset[1] = STATUE_LENS[1];
    const CameraKey eye = { 90.0f * std::sin(5.0f * t), 40.0f * std::sin(2.0f * t),
                            90.0f * std::cos(5.0f * t),
                            120.0f + 30.0f * std::sin(2.0f * float(PI) * t) };
    set_camera(eye, ORIGIN, view);
    set_fog(BLACK_RGBA, 0.0f, STATUE_FOG_END);

    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    draw_mesh(res.big_statue_mesh, 0);
    bind_texture(res.electric_texture, TEX_SPHERE_MAP);
    draw_mesh(res.statue_mesh, RF_BLEND_ADD);

    glScalef(BOX_SCALE, BOX_SCALE, BOX_SCALE);
    bind_texture(res.shakki_texture, 0);
    glMatrixMode(GL_TEXTURE);
    glScalef(BOARDS_PER_FACE, BOARDS_PER_FACE, BOARDS_PER_FACE);
    glMatrixMode(GL_MODELVIEW);
    draw_mesh(res.unit_cube, RF_CULL_FRONT);   // inner faces only

    if (target) copy_frame_to_texture(target);
}

EmblemPose twin_parts_pose(float t) {
    if (t < EMBLEM_RULE_CHANGE) {
        // Two turns per unit: a whole one on the back, then a whole one on the front.
        const float b = std::fmod(720.0f * t + 180.0f, 720.0f);
        return { b + 90.0f, b >= 360.0f };
    }
    const float b = std::fmod(720.0f * t, 360.0f);
    if (b < 180.0f) return { b + 90.0f, false };
    return { b + 90.0f + 180.0f, true };
}

void twin_parts_scene(float t, Texture *target) {
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 10000.0f;
    set_camera(EMBLEM_EYE, ORIGIN, target ? RF_OFFSCREEN : 0);
    bind_texture_pair(res.metal_texture, TEX_SPHERE_MAP, res.electric_texture, TEX_SPHERE_MAP,
                      RF_BLEND_MULTIPLY);
    glColor4f(1, 1, 1, 1);

    const EmblemPose pose = twin_parts_pose(t);
    glRotatef(pose.angle, 0, 1, 0);
    draw_mesh(pose.part_a ? res.twin_part_a_mesh : res.twin_part_b_mesh, 0);
    if (target) copy_frame_to_texture(target);
}
