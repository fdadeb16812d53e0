// show/plan_record.h - what the script's planning files share: appending calls to a
// FramePlan with their arguments in order, and the small formulas of the script.
// Internal to show/timeline_plan.cpp and show/timeline_finish.cpp.
#pragma once
#include "show/frame_plan.h"
#include "render/texture.h"   // Required for: TEX_CLAMP (the end picture's layers)
#include <cmath>

// NOTE: short names (add, copy, in), so they live in their own namespace; the two planning
// files open it with `using namespace script;`.
namespace script {

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr double PI_D = 3.141592653589793;
constexpr RenderFlags OFF     = RF_OFFSCREEN;                  // 0x4000
constexpr RenderFlags OFF_ADD = RF_OFFSCREEN | RF_BLEND_ADD;   // 0x4400

//----------------------------------------------------------------------------------
// Recording calls
//----------------------------------------------------------------------------------
inline PlanCall &add(FramePlan &p, PlanOp op) {
    PlanCall &c = p.calls[p.count < MAX_PLAN_CALLS - 1 ? p.count++ : p.count];
    c = PlanCall{};
    c.op = op;
    c.count = -1;
    return c;
}

inline void scene(FramePlan &p, SceneId id, double time, PlanTexture target, int mode = -1) {
    PlanCall &c = add(p, PLAN_SCENE);
    c.scene = id;
    c.arg[0] = float(time);
    c.tex[0] = target;
    c.count = mode;
}

inline void copy(FramePlan &p, PlanTexture tex) { add(p, PLAN_COPY).tex[0] = tex; }

inline void crossfade(FramePlan &p, PlanTexture a, PlanTexture b, double mix, RenderFlags flags = OFF) {
    PlanCall &c = add(p, PLAN_CROSSFADE);
    c.tex[0] = a;
    c.tex[1] = b;
    c.arg[0] = float(mix);
    c.flags = flags;
}

inline void mix_add(FramePlan &p, PlanTexture a, double wa, PlanTexture b, double wb,
                    RenderFlags flags = OFF) {
    PlanCall &c = add(p, PLAN_MIX_ADD);
    c.tex[0] = a;
    c.tex[1] = b;
    c.arg[0] = float(wa);
    c.arg[1] = float(wb);
    c.flags = flags;
}

inline void blur(FramePlan &p, PlanTexture src, PlanTexture scratch, int taps, double spread,
                 double gain, RenderFlags flags) {
    PlanCall &c = add(p, PLAN_BLUR);
    c.tex[0] = src;
    c.tex[1] = scratch;
    c.count = taps;
    c.arg[0] = float(spread);
    c.arg[1] = float(gain);
    c.flags = flags;
}

inline void zoom(FramePlan &p, PlanOp op, PlanTexture src, int copies, double step, double k) {
    PlanCall &c = add(p, op);
    c.tex[0] = src;
    c.count = copies;
    c.arg[0] = float(step);
    c.arg[1] = float(k);
    c.flags = OFF;
}

inline void layer(FramePlan &p, PlanTexture tex, double su, double sv, double zoom_div, double scale_u,
                  double scale_v, double angle, double intensity, RenderFlags flags) {
    PlanCall &c = add(p, PLAN_LAYER);
    c.tex[0] = tex;
    const double a[7] = { su, sv, zoom_div, scale_u, scale_v, angle, intensity };
    for (int i = 0; i < 7; i++) c.arg[i] = float(a[i]);
    c.flags = flags;
}

//----------------------------------------------------------------------------------
// Small formulas
//----------------------------------------------------------------------------------
inline double clamp01d(double x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }
inline bool   in(double t, double a, double b) { return t >= a && t < b; }
inline long   beat16(double t) { return long(std::trunc(16.0 * t)); }

// The end picture: half its width and a quarter of its height, scrolling 0.15 per pattern.
inline double end_scroll(double t) { return (t - 83.5) * 0.15; }

}   // namespace script

void plan_finish(FramePlan &p, double t);   // the finishing chain and beat flash (timeline_finish.cpp)
