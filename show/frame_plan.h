// show/frame_plan.h - one frame of the script as a list of calls.
// The timeline decides in plan_frame, a pure function of show time that lists every scene
// and pass of the frame with its arguments; run_frame_plan then makes those calls in order.
// Tests and `orbplume --describe` read the same list the drawing executes.
//
// Argument layout of a PlanCall by op (tex[] in argument order, then arg[] in order):
//   PLAN_SCENE          tex[0] target, arg[0] scene time, count = mode (twirl_scene) or -1
//   PLAN_COPY           tex[0]
//   PLAN_CROSSFADE      tex[0], tex[1], arg[0] mix, flags
//   PLAN_MIX_ADD        tex[0], arg[0] weight 1, tex[1], arg[1] weight 2, flags
//   PLAN_BLUR           tex[0] source, tex[1] scratch, count taps, arg[0] spread, arg[1] gain, flags
//   PLAN_ZOOM_BLUR(_FLASH) tex[0], count copies, arg[0] step, arg[1] intensity, flags
//   PLAN_LAYER          tex[0], arg[0..6] shift u, shift v, zoom, scale u, scale v, angle, intensity, flags
//   PLAN_FILM           tex[0], arg[0] show time, arg[1] strength, arg[2] intensity, flags
//   PLAN_RIPPLE         tex[0], arg[0] show time, arg[1] amplitude, arg[2] intensity
//   PLAN_BEAT_FLASH     arg[0] phase, arg[1] gain, arg[2] rate, arg[3] decay
#pragma once
#include "render/render_types.h"   // RenderFlags
#include <cstdint>
#include <string>

enum SceneId : uint8_t {
    SCENE_NOISE_BALL, SCENE_HULL, SCENE_HULL_HEX, SCENE_STATUE, SCENE_TWIN_PARTS,
    SCENE_WATER_FLOCK, SCENE_WATER_STATUE, SCENE_BUBBLE, SCENE_TUBE_METAL, SCENE_TUBE_LIGHT,
    SCENE_CORE_FLOCK, SCENE_MIRROR_BEAM, SCENE_PARTICLE_SWARM, SCENE_CUBE_FLASH,
    SCENE_FLARE_SCULPTURE, SCENE_GLOW_OBJECT, SCENE_RED_SCULPTURE, SCENE_CORE_CLOSING,
    SCENE_BUBBLE_SCULPTURE, SCENE_BUBBLE_FIELD, SCENE_SMALL_PARTS_METAL, SCENE_SMALL_PARTS_LIGHT,
    SCENE_MACHINE, SCENE_MACHINE_LOOP, SCENE_MACHINE_HEX, SCENE_METABALL_SKY,
    SCENE_METABALL_METAL, SCENE_METABALL_RED, SCENE_TWIRL, SCENE_SMOKE, SCENE_PAIR,
    SCENE_COUNT
};

enum PlanOp : uint8_t {
    PLAN_SCENE, PLAN_COPY, PLAN_CROSSFADE, PLAN_MIX_ADD, PLAN_BLUR, PLAN_ZOOM_BLUR,
    PLAN_ZOOM_BLUR_FLASH, PLAN_LAYER, PLAN_FILM, PLAN_RIPPLE, PLAN_BEAT_FLASH
};

// The textures a plan names: the four screen textures and the two pictures.
enum PlanTexture : uint8_t { PLAN_A, PLAN_B, PLAN_C, PLAN_D, PLAN_TITLE, PLAN_END };

enum ShowSection : uint8_t {
    SECTION_BEFORE_START,   // t < 0: nothing but the finishing chain
    SECTION_OPENING, SECTION_1, SECTION_2, SECTION_3, SECTION_4, SECTION_5, SECTION_ENDING,
    SECTION_COUNT
};

struct PlanCall {
    PlanOp      op;
    SceneId     scene;      // PLAN_SCENE only
    PlanTexture tex[2];     // textures in argument order
    int         count;      // taps, copies, or the scene's mode (-1: none)
    float       arg[7];     // float arguments in order
    RenderFlags flags;      // the pass's flags word
};

constexpr int MAX_PLAN_CALLS = 64;

struct FramePlan {
    float       t;                 // show time of the frame
    ShowSection section;
    bool        flash_allowed;     // what the section left of the beat-flash gate
    float       film_intensity;    // c: grain strength of the film pass
    float       spread_pulse;      // r: the ripple pass gets r x 0.1
    int         count;             // calls used
    PlanCall    calls[MAX_PLAN_CALLS];
};

void        plan_frame(float t, FramePlan &plan);       // the whole frame at show time t (pure)
void        run_frame_plan(const FramePlan &plan);      // make the plan's calls that can change the picture, in order
int         mark_live_calls(const FramePlan &plan, bool keep[MAX_PLAN_CALLS]);   // keep[i]: call i can change the picture; returns the count kept
std::string describe_call(const PlanCall &call);        // "crossfade(A, B, 0.25, 0x4000)"
std::string describe_frame(const FramePlan &plan);      // section line, then one call per line
const char *section_name(ShowSection section);          // "opening", "section 1", ... "ending"
const char *scene_name(SceneId scene);                  // "water_flock_scene", ...
