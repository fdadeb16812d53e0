// show/hoop_tunnels.cpp - tube_metal_scene and tube_light_scene.
// The hoops are tube_mesh (a torus of radius 90) drawn three times, each inside the last
// one's frame: scaled 0.8 and turned about another axis, so the inner hoops tumble on top
// of the outer hoops' turns. The camera sits 3 units in front of them on the axis of a
// tube of radius 3 that moves 64 rings per unit of t; the fog hides where it ends.
#include "show/hoop_tunnels.h"
#include "show/scene_helpers.h"      // Required for: draw_tube(), draw_spiral_tube(), fold_quarter()
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include <GL/gl.h>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
static const CameraKey HOOP_EYE        = { 0.0f, 0.0f, -3.0f, 90.0f };
static const float     HOOP_TARGET[3]  = { 0, 0, 0 };
constexpr float        HOOP_SCALE      = 0.02f;   // the outer hoop: radius 1.8
constexpr float        HOOP_SHRINK     = 0.8f;    // each inner hoop
static const float     HOOP_SPIN[HOOPS]    = { 371.0f, 599.0f, 404.0f };   // degrees per unit of r
static const float     HOOP_AXIS[HOOPS][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 1, 0, 0 } };
constexpr float        JITTER_START    = 83.0f;   // tube_metal_scene folds r over [83, 84)
constexpr float        JITTER_END      = 84.0f;
constexpr float        TUBE_SPEED      = 64.0f;   // rings per unit of t
constexpr float        TUBE_RADIUS     = 3.0f;
constexpr int          TUBE_SEGMENTS   = 16;
constexpr int          TUBE_HALF_RINGS = 32;
constexpr float        LIGHT_REPEAT    = 2.0f;    // light bars per ring of the straight tube

// What tells the two looks apart.
struct HoopLook {
    float    fog_end;
    Texture *hoops;     // sphere-mapped onto the hoops
    Texture *walls;
    bool     jitter;    // fold the hoops' rotation in the last unit
    bool     spiral;    // wind the wall texture round the tube
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void draw_hoop_tunnel(float t, Texture *target, const HoopLook &look) {
    reset_render_state(BLACK_RGBA);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    set_camera(HOOP_EYE, HOOP_TARGET, target ? RF_OFFSCREEN : 0);
    set_fog(BLACK_RGBA, 0.0f, look.fog_end);

    bind_texture(look.hoops, TEX_SPHERE_MAP);
    float angle[HOOPS];
    hoop_angles(hoop_turn(t, look.jitter), angle);
    glPushMatrix();
        glScalef(HOOP_SCALE, HOOP_SCALE, HOOP_SCALE);
        for (int i = 0; i < HOOPS; i++) {
            if (i > 0) glScalef(HOOP_SHRINK, HOOP_SHRINK, HOOP_SHRINK);
            glRotatef(angle[i], HOOP_AXIS[i][0], HOOP_AXIS[i][1], HOOP_AXIS[i][2]);
            draw_mesh(res.tube_mesh, 0);
        }
    glPopMatrix();

    bind_texture(look.walls, 0);
    if (look.spiral) {
        draw_spiral_tube(TUBE_SPEED * t, TUBE_RADIUS, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_NO_CULL);
    } else {
        glMatrixMode(GL_TEXTURE);
        glScalef(LIGHT_REPEAT, LIGHT_REPEAT, LIGHT_REPEAT);
        glMatrixMode(GL_MODELVIEW);
        draw_tube(TUBE_SPEED * t, TUBE_RADIUS, TUBE_SEGMENTS, TUBE_HALF_RINGS, RF_NO_CULL);
    }
    if (target) copy_frame_to_texture(target);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float hoop_turn(float t, bool jitter) {
    if (jitter && t >= JITTER_START && t < JITTER_END) return fold_quarter(t);
    return t;
}

void hoop_angles(float r, float degrees[HOOPS]) {
    for (int i = 0; i < HOOPS; i++) degrees[i] = HOOP_SPIN[i] * r;
}

void tube_metal_scene(float t, Texture *target) {
    draw_hoop_tunnel(t, target, { 16.0f, res.metal_texture, res.shakki_texture, true, true });
}

void tube_light_scene(float t, Texture *target) {
    draw_hoop_tunnel(t, target, { 32.0f, res.bubble_texture, res.valo_texture, false, false });
}
