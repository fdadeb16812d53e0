// show/timeline_finish.cpp - the end of every frame's plan: grain, glow and ripple over the
// composed picture, the beat flash where the section allows it, and the end picture's shadow.
// The grain flares right after the main cuts; the ripple pulses once every three patterns.
#include "show/plan_record.h"

using namespace script;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Grain strength: flares right after the main cuts and at the very start, else 0.5.
static double film_intensity(double t) {
    static const struct { double at, length; } cuts[] = {
        { 21, 0.0625 }, { 36, 0.03125 }, { 41, 0.03125 }, { 66, 0.03125 }, { 76, 0.03125 }, { 81, 0.03125 },
    };
    for (const auto &cut : cuts)
        if (in(t, cut.at, cut.at + cut.length)) return std::pow(1 - 0.9375 * (t - cut.at), 2.0);
    if (t < 2.0625) return std::pow(1 - 0.9375 * t, 2.0);
    return 0.5;
}

// Ripple strength: a pulse once every three patterns, plus the grain's excess over 0.5.
static double spread_pulse(double t, double c) {
    double r = 0;
    if (long(std::trunc((t - 1) * 8)) % 24 == 0) r = std::pow(1 - std::fmod(8 * t, 1.0), 2.0);
    return clamp01d(r) + c - 0.5;
}

static bool double_flash(double t) {
    return in(t, 20.5, 21) || in(t, 26, 27) || in(t, 42, 42.25) || in(t, 44, 44.25);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void plan_finish(FramePlan &p, double t) {
    const double c = film_intensity(t), r = spread_pulse(t, c);
    p.film_intensity = float(c);
    p.spread_pulse = float(r);

    copy(p, PLAN_D);
    PlanCall &film = add(p, PLAN_FILM);
    film.tex[0] = PLAN_D;
    film.arg[0] = p.t;
    film.arg[1] = float(c);
    film.arg[2] = 1.0f;
    film.flags = OFF;
    copy(p, PLAN_D);
    blur(p, PLAN_D, PLAN_A, 3, 2.0, 0.75, RF_BLEND_ADD);
    copy(p, PLAN_C);
    PlanCall &ripple = add(p, PLAN_RIPPLE);
    ripple.tex[0] = PLAN_C;
    ripple.arg[0] = p.t;
    ripple.arg[1] = float(r * 0.1);
    ripple.arg[2] = 1.0f;

    if (p.flash_allowed && t < 77.5) {
        PlanCall &flash = add(p, PLAN_BEAT_FLASH);
        flash.arg[0] = float(double_flash(t) ? 2 * t : t);
        flash.arg[1] = 0.5f;
        flash.arg[2] = 16.0f;
        flash.arg[3] = 2.0f;
    }

    if (t >= 79) {
        // The end picture's shadow: five unrelated periods make it jitter and flicker.
        const double a1 = std::fmod(1.7214 * t, 1.0) + 0.2;
        const double a2 = (std::fmod(2.43 * t, 0.7564) + 0.2) * a1;
        const double n = (1 - std::fmod(3.1313 * t, 0.83)) * a2;
        const double a3 = std::fmod(t, 0.1532) + 0.1;
        const double e = (0.3 - std::fmod(1.214 * t, 0.2223)) * a3;
        layer(p, PLAN_END, e - 0.03, end_scroll(t) - 0.00075, 1.0, 0.5, 0.25, 0, n,
              RF_BLEND_DARKEN | TEX_CLAMP);
    }
}

