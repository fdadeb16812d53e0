// show/plan_prune.cpp - which calls of a frame's plan can change the picture.
// A call is worth making only if something it writes is read later: by a later call of the
// frame, or by the next frame (every screen texture and the window count as read at the end).
// Walking the plan backwards with the set of live pictures finds the rest: a scene whose
// picture is cross-faded at weight zero, the copy that the finishing chain overwrites before
// anyone reads it. Leaving them out cannot change a single pixel, provided each op's reads
// and writes below are true: the frames tests render with and without this pass to check.
#include "show/frame_plan.h"
#include <cstdint>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
// Pictures a call may read or write: the four screen textures and the frame (the offscreen
// corner and its depth, or the whole window for the final passes).
enum : uint32_t { LIVE_A = 1, LIVE_B = 2, LIVE_C = 4, LIVE_D = 8, LIVE_FRAME = 16, LIVE_ALL = 31 };

// What a scene does besides drawing its view and copying it into its target.
enum : uint8_t {
    SCENE_PLAIN        = 0,
    SCENE_READS_TARGET = 1,   // shows its target's earlier picture (a reflection, a screen)
    SCENE_KEEPS_STATE  = 2,   // draws from the shared random sequence or carries state between calls
};

// A call's effect: what it reads, what it changes, what of that it overwrites whole (so
// that nothing earlier can show through), and whether it must run anyway.
struct CallEffect {
    uint32_t reads;
    uint32_t writes;
    uint32_t kills;
    bool     always;
};

static CallEffect replaces(uint32_t reads, uint32_t writes, bool always) { return { reads, writes, writes, always }; }

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// NOTE: a new scene must be placed here; the compiler warns about a missing case.
static uint8_t scene_traits(SceneId id) {
    switch (id) {
    case SCENE_WATER_FLOCK:        // the walls reflect the target
    case SCENE_CORE_FLOCK:         // the screen shows the target
    case SCENE_CORE_CLOSING:       // the screen shows the beam picture just drawn into the target
    case SCENE_BUBBLE_SCULPTURE:   // the bubbles reflect the target
    case SCENE_BUBBLE_FIELD:
        return SCENE_READS_TARGET;
    case SCENE_WATER_STATUE:       // reflects the target; random sparks on the first call
        return SCENE_READS_TARGET | SCENE_KEEPS_STATE;
    case SCENE_MIRROR_BEAM:        // reflects the glow pyramid's last level
    case SCENE_GLOW_OBJECT:        // random sparks on the first call, the glow pyramid
    case SCENE_PARTICLE_SWARM:     // sprites and formations set up on the first call
    case SCENE_FLARE_SCULPTURE:    // random sparks on the first call
    case SCENE_RED_SCULPTURE:
    case SCENE_SMOKE:              // random puffs on the first call
    case SCENE_MACHINE:            // a random shake every call
    case SCENE_MACHINE_LOOP:
    case SCENE_MACHINE_HEX:
        return SCENE_KEEPS_STATE;
    case SCENE_NOISE_BALL:         // captures its reflections anew every call
    case SCENE_HULL:               // smear and zoom only the picture of this call
    case SCENE_HULL_HEX:
    case SCENE_CUBE_FLASH:
    case SCENE_STATUE:
    case SCENE_TWIN_PARTS:
    case SCENE_BUBBLE:
    case SCENE_TUBE_METAL:
    case SCENE_TUBE_LIGHT:
    case SCENE_SMALL_PARTS_METAL:
    case SCENE_SMALL_PARTS_LIGHT:
    case SCENE_METABALL_SKY:
    case SCENE_METABALL_METAL:
    case SCENE_METABALL_RED:
    case SCENE_TWIRL:
    case SCENE_PAIR:
        return SCENE_PLAIN;
    case SCENE_COUNT:
        break;
    }
    return SCENE_KEEPS_STATE;
}

static uint32_t texture_bit(PlanTexture t) {
    switch (t) {
    case PLAN_A: return LIVE_A;
    case PLAN_B: return LIVE_B;
    case PLAN_C: return LIVE_C;
    case PLAN_D: return LIVE_D;
    default:     return 0;   // the title and end pictures never change
    }
}

// A layer drawn at weight w (vertex colours clamp at 0) reads its texture only if w > 0.
static uint32_t read_if(PlanTexture t, float weight) { return weight > 0.0f ? texture_bit(t) : 0; }

static CallEffect call_effect(const PlanCall &c) {
    const uint32_t a = texture_bit(c.tex[0]);
    const bool offscreen = (c.flags & RF_OFFSCREEN) != 0;
    switch (c.op) {
    case PLAN_SCENE: {
        const uint8_t traits = scene_traits(c.scene);
        return replaces((traits & SCENE_READS_TARGET) ? a : 0u, LIVE_FRAME | a, (traits & SCENE_KEEPS_STATE) != 0);
    }
    case PLAN_COPY:
        return replaces(LIVE_FRAME, a, false);
    case PLAN_CROSSFADE:   // a x (1 - mix) + b x mix, over a cleared frame
        return replaces(read_if(c.tex[0], 1.0f - c.arg[0]) | read_if(c.tex[1], c.arg[0]), LIVE_FRAME, !offscreen);
    case PLAN_MIX_ADD:
        return replaces(read_if(c.tex[0], c.arg[0]) | read_if(c.tex[1], c.arg[1]), LIVE_FRAME, !offscreen);
    case PLAN_BLUR:        // always drawn offscreen; the scratch is written before it is read
        return replaces(a, LIVE_FRAME | texture_bit(c.tex[1]), false);
    case PLAN_ZOOM_BLUR:
    case PLAN_ZOOM_BLUR_FLASH:
        return replaces(a, LIVE_FRAME, !offscreen);
    case PLAN_LAYER:       // may blend over the frame
        return { a | LIVE_FRAME, LIVE_FRAME, 0, !offscreen };
    case PLAN_FILM:        // grain from the shared random sequence
    case PLAN_RIPPLE:
    case PLAN_BEAT_FLASH:
        return { a | LIVE_FRAME, LIVE_FRAME, 0, true };
    }
    return { LIVE_ALL, LIVE_ALL, 0, true };
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
int mark_live_calls(const FramePlan &plan, bool keep[MAX_PLAN_CALLS]) {
    uint32_t live = LIVE_ALL;   // the next frame may read any of them
    int kept = 0;
    for (int i = plan.count - 1; i >= 0; i--) {
        const CallEffect e = call_effect(plan.calls[i]);
        keep[i] = e.always || (e.writes & live) != 0;
        if (!keep[i]) continue;
        live = (live & ~e.kills) | e.reads;
        kept++;
    }
    return kept;
}
