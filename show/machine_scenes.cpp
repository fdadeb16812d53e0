// show/machine_scenes.cpp - machine_scene, machine_loop_scene and machine_hex_scene.
// A launcher stands with its bore upright (the meshes' +z turned to +y); its piston rises
// out of the bore by the height h and spins (h/100)^5 degrees, so it whirls only near the
// top of its flight. Heights follow a sine clipped at zero: the piston rests in the bore
// for half of each cycle. The six-launcher scenes offset each launcher by an eighth of a
// cycle, so the shots ripple round the ring.
//
// Each frame draws three values of the shared random sequence for the camera jitter, even
// when the pulse makes them count for nothing, so the scenes that run after these see the
// same sequence whatever the pulse. The floor of three additive flare rings flashes with
// the pulse and turns at three different speeds; the crackle floor below glows with it.
#include "show/machine_scenes.h"
#include "geometry/mesh.h"           // Required for: draw_mesh()
#include "precalc/resources.h"       // Required for: res
#include "render/math.h"             // Required for: PI, random_int()
#include "render/render_state.h"     // Required for: reset_render_state(), set_camera(), set_fog()
#include "show/scene_helpers.h"      // Required for: draw_corner_emblem()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float    PART_SCALE        = 0.05f;   // launcher and piston mesh units per world unit
constexpr float    MACHINE_FOG_END   = 50.0f;
constexpr float    SINGLE_FLOOR      = 5.0f;    // crackle floor: times the 128-unit grid, under the single launcher
constexpr float    LOOP_FLOOR        = 20.0f;
constexpr float    FLOOR_HEIGHT      = 5.0f;    // the six launchers stand this far from the centre plane
constexpr float    LAUNCHER_RADIUS   = 10.0f;
constexpr float    SHELL_SCALE       = 0.35f;
constexpr float    RING_GAP          = 0.05f;   // the three rings sit this far apart in height
constexpr RenderFlags FLOOR_GLOW     = RF_BLEND_ADD | RF_NO_CULL;   // 0x440

struct MachineLook {
    float pulse_period, pulse_power;   // q = (1 - fmod(s + 0.5, period))^power
    float shake_amplitude;             // H = max(0, amplitude sin 2 pi s)
    float piston_amplitude;            // 0: the piston follows H (the single launcher)
    float eye_radius, eye_height, eye_turn;   // eye on a circle; turn in radians per unit of s
    float fov, jitter_scale;           // lens; how far the target jitters sideways
};

static const MachineLook LOOKS[3] = {
    { 1.0f,   4.0f,  600.0f,   0.0f, 12.0f,  8.0f, float(-2.0 * PI),        90.0f,  1.0f  },
    { 0.125f, 20.0f, 300.0f, 450.0f,  1.0f, 26.0f, float(-0.1875 * 19 * PI), 130.0f, 0.15f },
    { 0.125f, 20.0f, 300.0f, 800.0f,  1.0f, 26.0f, float(-0.1875 * 19 * PI), 130.0f, 0.15f },
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static float positive_sine(float amplitude, float turns) {
    return std::max(0.0f, amplitude * std::sin(2.0f * float(PI) * turns));
}

// One launcher at the current matrix with its piston at height h (mesh units).
static void draw_launcher(float h) {
    glPushMatrix();
        glScalef(PART_SCALE, PART_SCALE, PART_SCALE);
        glRotatef(-90.0f, 1, 0, 0);
        draw_mesh(res.machine_part_a_mesh, 0);
        glTranslatef(0, 0, h);
        glRotatef(std::pow(h / 100.0f, 5.0f), 0, 0, 1);
        draw_mesh(res.machine_part_b_mesh, 0);
    glPopMatrix();
}

// Three launchers 120 degrees apart on the floor, and the same three upside down on the
// ceiling; in the hex scene each binds the hexagon light added to the chrome.
static void draw_launcher_ring(const MachineBeat &b, MachineKind kind) {
    for (int i = 0; i < 2; i++) {
        glPushMatrix();
            glRotatef(180.0f * float(i), 0, 0, 1);
            glTranslatef(0, FLOOR_HEIGHT, 0);
            for (int j = 0; j < MACHINE_LAUNCHERS; j++) {
                if (kind == MACHINE_HEX)
                    bind_texture_pair(res.hex2_texture, 0, res.metal_texture, TEX_SPHERE_MAP, RF_BLEND_ADD);
                else
                    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
                glPushMatrix();
                    glRotatef(120.0f * float(j), 0, 1, 0);
                    glTranslatef(-LAUNCHER_RADIUS, 0, 0);
                    draw_launcher(machine_piston_height(kind, b.s, j));
                glPopMatrix();
            }
        glPopMatrix();
    }
}

// One flat additive ring of flares, turned `angle` degrees and scaled `size` across;
// `red` below q warms the flash towards cyan-white at its weaker moments.
static void draw_ring(Texture *flare, float red, float height, float angle, float size, float q) {
    glPushMatrix();
        bind_texture(flare, 0);
        glColor3f(red, q, q);
        glTranslatef(0, height, 0);
        glRotatef(angle, 0, 1, 0);
        glScalef(size, 1, size);
        draw_mesh(res.grid_plane, FLOOR_GLOW);
    glPopMatrix();
}

// The three flashing rings; x is the scene's raw time argument. The hex scene swaps the
// heights of the first and third.
static void draw_ring_floor(float q, float x, bool swapped) {
    const float low = swapped ? RING_GAP : -RING_GAP;
    draw_ring(res.flare1_texture, q, low, 121.0f * x, 60.0f - 30.0f * q, q);
    draw_ring(res.flare3_texture, q * q, 0.0f, -174.0f * x, 30.0f * q + 30.0f, q);
    draw_ring(res.flare3_texture, q * q, -low, -74.0f * x, 45.0f - 10.0f * q, q);
}

// A swirl floor with two additive layers of glowing cracks, w x the grid's size.
static void draw_crackle_floor(float q, float w) {
    glPushMatrix();
        glScalef(w, 1, w);
        bind_texture(res.twirl_texture, 0);
        draw_mesh(res.grid_plane, RF_NO_CULL);
        for (int k = 0; k < 2; k++) {
            bind_texture(res.crackle_texture, 0);
            glColor3f(q, q, q);
            draw_mesh(res.grid_plane, FLOOR_GLOW);
        }
    glPopMatrix();
}

// The shaken camera of this frame: always three draws from the shared sequence.
static void set_machine_camera(MachineKind kind, const MachineBeat &b, RenderFlags view) {
    float jitter[3];
    for (float &r : jitter) r = float(random_int()) / 32768.0f;
    float target[3];
    const CameraKey eye = machine_camera(kind, b, jitter, target);
    render.view.near_plane = 0.01f;
    render.view.far_plane = 100.0f;
    set_camera(eye, target, view);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
MachineBeat machine_beat(MachineKind kind, float x) {
    const MachineLook &look = LOOKS[kind];
    MachineBeat b;
    b.s = kind == MACHINE_HEX ? std::fmod(x, 0.375f) + 0.1875f : x;
    b.pulse = std::pow(1.0f - std::fmod(b.s + 0.5f, look.pulse_period), look.pulse_power);
    b.shake = positive_sine(look.shake_amplitude, b.s);
    return b;
}

float machine_piston_height(MachineKind kind, float s, int j) {
    const MachineLook &look = LOOKS[kind];
    if (look.piston_amplitude == 0.0f) return positive_sine(look.shake_amplitude, s);
    return positive_sine(look.piston_amplitude, s + float(j) / 8.0f);
}

CameraKey machine_camera(MachineKind kind, const MachineBeat &b, const float jitter[3], float target[3]) {
    const MachineLook &look = LOOKS[kind];
    const float k = look.jitter_scale, q = b.pulse;
    target[0] = k * q * jitter[0];
    target[1] = q * jitter[1] + 2.0f + b.shake / 50.0f;
    target[2] = k * q * jitter[2];
    const float c = look.eye_turn * b.s;
    return { look.eye_radius * std::sin(c), look.eye_height, look.eye_radius * std::cos(c), look.fov };
}

void machine_scene(float x, Texture *target) {
    const MachineBeat b = machine_beat(MACHINE_SINGLE, x);
    reset_render_state(BLACK_RGBA);
    set_machine_camera(MACHINE_SINGLE, b, target ? RF_OFFSCREEN : 0);

    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
    draw_launcher(machine_piston_height(MACHINE_SINGLE, b.s, 0));

    set_fog(BLACK_RGBA, 0.0f, MACHINE_FOG_END);
    draw_crackle_floor(b.pulse, SINGLE_FLOOR);
    glPushMatrix();
        glTranslatef(0, 0.1f, 0);
        draw_ring_floor(b.pulse, x, false);
    glPopMatrix();

    draw_corner_emblem(x);
    if (target) copy_frame_to_texture(target);
}

void machine_loop_scene(float x, Texture *target) {
    const MachineBeat b = machine_beat(MACHINE_LOOP, x);
    reset_render_state(BLACK_RGBA);
    set_machine_camera(MACHINE_LOOP, b, target ? RF_OFFSCREEN : 0);

    draw_launcher_ring(b, MACHINE_LOOP);

    set_fog(BLACK_RGBA, 0.0f, MACHINE_FOG_END);
    glPushMatrix();
        glTranslatef(0, FLOOR_HEIGHT, 0);
        draw_crackle_floor(b.pulse, LOOP_FLOOR);
    glPopMatrix();
    glPushMatrix();
        glTranslatef(0, FLOOR_HEIGHT + 0.1f, 0);
        draw_ring_floor(b.pulse, x, false);
    glPopMatrix();

    if (target) copy_frame_to_texture(target);
}

void machine_hex_scene(float x, Texture *target) {
    const MachineBeat b = machine_beat(MACHINE_HEX, x);
    reset_render_state(BLACK_RGBA);
    set_machine_camera(MACHINE_HEX, b, target ? RF_OFFSCREEN : 0);
    glRotatef(45.0f * x, 0, 0, 1);   // the roll follows the raw argument, not the rig's clock

    draw_launcher_ring(b, MACHINE_HEX);

    set_fog(BLACK_RGBA, 0.0f, MACHINE_FOG_END);
    bind_texture_pair(res.hex2_texture, 0, res.metal_texture, TEX_SPHERE_MAP, RF_BLEND_ADD);
    glPushMatrix();
        glScalef(SHELL_SCALE, SHELL_SCALE, SHELL_SCALE);
        glRotatef(-90.0f, 1, 0, 0);
        draw_mesh(res.sculpture_mesh, RF_CULL_FRONT);   // seen from inside
    glPopMatrix();

    glPushMatrix();
        draw_ring_floor(b.pulse, x, true);
    glPopMatrix();
    if (target) copy_frame_to_texture(target);
}
