// show/timeline_plan.cpp - the show's script: which scenes run at a show time and how their
// pictures are composed (the finishing chain is in timeline_finish.cpp). Nothing here draws;
// plan_frame only lists the calls (show/frame_plan.h), and run_frame_plan makes them.
//
// The script runs in sections of show time (patterns). Inside a section scenes and overlays
// switch at fractions of a pattern so that cuts, strobes and pulses land on beats: one
// pattern is 16 beats, so 1/16 pattern is a beat. Formulas run in double precision on the
// frame's float show time; scenes and passes receive the results as floats.
#include "show/plan_record.h"

using namespace script;

//----------------------------------------------------------------------------------
// Internal Functions: the sections
//----------------------------------------------------------------------------------
static void plan_opening(FramePlan &p, double t) {
    double a = 1.0;
    if (t < 0.5)      a = 2.0 * t;
    else if (t > 1.5) a = 1.0 - (t - 1.5) * 2.0;
    layer(p, PLAN_TITLE, 0, 0, 1, 1, 1, 0, a, OFF);
    p.flash_allowed = false;
}

static void plan_section_1(FramePlan &p, double t) {
    if ((t > 3.76 && t < 4) || t > 19.02) p.flash_allowed = false;

    if (t < 10)      scene(p, SCENE_WATER_FLOCK, t - 2, PLAN_A);
    else if (t < 12) scene(p, SCENE_WATER_STATUE, t - 0.5, PLAN_A);
    else             scene(p, SCENE_PARTICLE_SWARM, t + 2, PLAN_A);

    // Two overlay pulses per pattern, easing in over [6, 10).
    double w = std::sin((t - 0.25) * 4.0 * PI_D) * 1.05;
    if (in(t, 6, 10)) {
        const double u = (t - 6) / 4;
        w *= 1 - (1 - u) * (1 - u);
    }
    w = clamp01d(w);
    if (w <= 0) return;

    if (in(t, 6, 10)) {
        scene(p, SCENE_BUBBLE_FIELD, 4 * t, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, w);
    } else if (t > 12 && t < 16) {
        scene(p, SCENE_BUBBLE_FIELD, 4 * t, PLAN_B);
        mix_add(p, PLAN_A, 1 - 0.2 * w, PLAN_B, w);
    } else if (in(t, 10, 12)) {
        scene(p, SCENE_BUBBLE_SCULPTURE, 8 * t, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, w);
    } else if (in(t, 17, 21)) {
        const double fade = 1 - (t - 17) / 4;
        const double w2 = clamp01d(2 * w * fade * fade);
        scene(p, SCENE_WATER_FLOCK, t - 2, PLAN_B);
        crossfade(p, PLAN_B, PLAN_A, 1 - w2);
        copy(p, PLAN_C);
    } else if (in(t, 2, 4)) {
        scene(p, SCENE_TWIN_PARTS, t - 2, PLAN_B);
        zoom(p, PLAN_ZOOM_BLUR, PLAN_B, 32, 1.02, 1.0);
        copy(p, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, 1 - (t - 2) / 2);
    } else {
        crossfade(p, PLAN_A, PLAN_A, 0.5);
    }
}

static void plan_section_2(FramePlan &p, double t) {
    long s16 = beat16(t) % 32;
    if (in(t, 26, 29) || t >= 30) s16 = 0;

    if (t >= 32.95) {
        scene(p, SCENE_WATER_STATUE, 32.95 - (1.5 * t - 32.95) * 8, PLAN_A);   // rushes backwards
    } else if (s16 == 16) {
        scene(p, SCENE_CUBE_FLASH, t, PLAN_A);
    } else if (t < 23) {
        scene(p, SCENE_NOISE_BALL, 2 * t, PLAN_A);
    } else if (t < 24) {
        scene(p, SCENE_STATUE, 2 * t, PLAN_A);
    } else if (t < 25) {
        scene(p, SCENE_PAIR, (t - 24) * 5 - 0.25, PLAN_A);
    } else if (t < 27) {
        scene(p, SCENE_TWIRL, t, PLAN_B, 1);
        zoom(p, PLAN_ZOOM_BLUR_FLASH, PLAN_B, 24, 1.03, 1.0);
        copy(p, PLAN_B);
        blur(p, PLAN_B, PLAN_B, 3, 2.0, 1.0, OFF);
        scene(p, SCENE_TWIRL, t, PLAN_A, 0);
        mix_add(p, PLAN_A, 1.0, PLAN_B, 1.0);
        copy(p, PLAN_A);
    } else if (t < 28) {
        scene(p, SCENE_BUBBLE, t, PLAN_A);
    } else if (t < 29) {
        scene(p, SCENE_SMOKE, t, PLAN_A);
    } else if (t < 30) {
        scene(p, SCENE_CORE_FLOCK, t - 21, PLAN_A);
        blur(p, PLAN_A, PLAN_C, 3, 2.0, 1.0, OFF_ADD);
    } else if (t < 32) {
        const double x = std::pow((t - 30) / 2, 3.0);
        scene(p, SCENE_CORE_FLOCK, t - 21, PLAN_A);
        blur(p, PLAN_A, PLAN_C, 3, 2.0, 1.0, OFF_ADD);
        copy(p, PLAN_C);
        scene(p, SCENE_WATER_STATUE, t, PLAN_B);
        crossfade(p, PLAN_C, PLAN_B, x);
    } else {
        scene(p, SCENE_WATER_STATUE, 1.5 * t, PLAN_A);
    }

    // Four strobes of the core flock per pattern.
    if (t < 30) {
        const double f = clamp01d(2 * std::sin((t - 0.0625) * 8 * PI_D) + 1);
        if (f > 0) {
            copy(p, PLAN_B);
            scene(p, SCENE_CORE_FLOCK, t - 21, PLAN_A);
            crossfade(p, PLAN_B, PLAN_A, f);
            copy(p, PLAN_A);
        }
    }

    if (in(t, 32.25, 32.45) || in(t, 32.75, 32.95)) {
        const double k = (0.5 * std::sin((t - 32.275) * 8 * PI_D) + 0.5) * 0.75;
        scene(p, SCENE_BUBBLE, t - 2, PLAN_B);
        blur(p, PLAN_B, PLAN_C, 3, 2.0, 1.0, OFF_ADD);
        copy(p, PLAN_C);
        crossfade(p, PLAN_A, PLAN_C, k);
    }
}

static double section_3_strobe(double t) {
    double h = 0;
    if (in(t, 42.4375, 42.5))      h = 0.8;
    else if (in(t, 42.9375, 43))   h = 0.9;
    else if (in(t, 43.4375, 43.5)) h = 0.865;
    else if (t >= 43.7375)         h = std::sin(32 * PI_D * t) + 0.5;
    return clamp01d(h);
}

static void plan_section_3(FramePlan &p, double t) {
    if (t < 44) {
        const double o = clamp01d(std::fmod(t - 33, 2) - 0.5);
        if (in(t, 33.5, 35))        scene(p, SCENE_HULL, 2 * t, PLAN_A);
        else if (in(t, 35.5, 37))   scene(p, SCENE_METABALL_RED, 1.5 * t, PLAN_A);
        else if (in(t, 37.5, 39))   scene(p, SCENE_METABALL_METAL, (t - 15.5) * 2, PLAN_A);
        else if (in(t, 39.5, 41))   scene(p, SCENE_METABALL_SKY, 2 * t, PLAN_A);
        else if (t >= 41.5)         scene(p, SCENE_FLARE_SCULPTURE, t - 42.5, PLAN_A);
        else                        scene(p, SCENE_BUBBLE_SCULPTURE, 8 * t, PLAN_A);   // the gaps
        scene(p, SCENE_BUBBLE_SCULPTURE, 8 * t, PLAN_C);
        crossfade(p, PLAN_C, PLAN_A, o);

        if (in(t, 42.4375, 43.92)) {
            const double h = section_3_strobe(t);
            if (h > 0) {
                scene(p, SCENE_TUBE_METAL, (t - 2) * 2, PLAN_B);
                crossfade(p, PLAN_A, PLAN_B, h);
            }
        }
    } else {
        p.flash_allowed = false;
        scene(p, SCENE_FLARE_SCULPTURE, t - 2, PLAN_A);
    }

    if (in(t, 37, 42)) {
        const double g = clamp01d(std::pow(std::sin(2 * PI_D * t) + 0.5, 3.0) * 1.25);
        if (g > 0) {
            copy(p, PLAN_C);
            scene(p, SCENE_TWIN_PARTS, t + 2, PLAN_B);
            zoom(p, PLAN_ZOOM_BLUR, PLAN_B, 32, 1.02, 1.0);
            copy(p, PLAN_B);
            mix_add(p, PLAN_C, 1.0, PLAN_B, g);
        }
    }

    if (t >= 45.75) {
        const double k = std::fmin(1.0, (t - 45.75) * 3);
        scene(p, SCENE_MACHINE, (t - 45.75) * 2, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, k);
    }
}

static void plan_section_4_main(FramePlan &p, double t) {
    if (t < 49) {
        scene(p, SCENE_MACHINE_LOOP, std::fmod(t, 0.375) + 0.1875, PLAN_A);   // a 3/8-pattern loop
    } else if (t < 50) {
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_A);
    } else if (t < 52) {
        scene(p, SCENE_PAIR, (t - 50) * 5 + 2, PLAN_A);
    } else if (t < 53.75) {
        scene(p, SCENE_MACHINE_HEX, 0.5 * t + 0.0625, PLAN_A);
    } else if (t < 54) {
        const bool even = long(std::trunc(32 * t)) % 2 == 0;   // scratching every half beat
        scene(p, SCENE_HULL, even ? -(t - 3) * 0.5 : (t - 3) * 0.5, PLAN_A);
    } else if (t < 60) {
        if (in(t, 54, 55) || in(t, 56, 56.5) || in(t, 57, 57.5))
            scene(p, SCENE_HULL_HEX, 2 * t, PLAN_A);
        else
            scene(p, SCENE_CORE_FLOCK, t - 21.75, PLAN_A);
    } else if (t < 65.9375) {
        if (t < 62.0625 && beat16(t) % 4 == 0)
            scene(p, SCENE_METABALL_METAL, 2 * t, PLAN_A);
        else
            scene(p, SCENE_GLOW_OBJECT, t - 2.5, PLAN_A);
        if (t >= 64) {
            const double q = std::pow((t - 64) * 0.5, 5.0);
            scene(p, SCENE_SMALL_PARTS_LIGHT, t, PLAN_B);
            crossfade(p, PLAN_A, PLAN_B, q);
            copy(p, PLAN_A);
        }
    } else {
        layer(p, PLAN_TITLE, 0, 0, 1, 1, 1, 0, 0, OFF);   // a black frame
    }
}

static void plan_section_4_overlays(FramePlan &p, double t) {
    if (t < 46.25) {
        const double k = std::fmin(1.0, 1.5 * std::pow(1 - 4 * (t - 46), 3.0));
        scene(p, SCENE_MACHINE, (t - 45.75) * 2, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, k);
    }
    if (in(t, 47, 48)) {
        const double v = std::fmin(1.0, 1.25 * (t - 47) * (t - 47));
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
        mix_add(p, PLAN_A, 1.0, PLAN_B, v);
    }
    if (in(t, 48, 49)) {
        const double u = clamp01d(1.25 * std::pow(1 - (t - 48), 2.0));
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
        mix_add(p, PLAN_A, u, PLAN_B, 1.0);
    }
    if (in(t, 50, 51)) {
        const double u = clamp01d(1.25 * std::pow(1 - (t - 50), 2.0));
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, u);
    }
    if (in(t, 51, 52)) {
        const double v = std::fmin(1.0, 1.25 * (t - 51) * (t - 51));
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, v);
    }
    if (in(t, 52, 53)) {
        const double u = clamp01d(1.25 * std::pow(1 - (t - 52), 2.0));
        scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, u);
    }
    if (in(t, 54, 54.125)) {
        const double o = clamp01d(1 - (t - 54) * (t - 54));
        scene(p, SCENE_MACHINE_HEX, 0.5 * t + 0.0625, PLAN_B);
        crossfade(p, PLAN_A, PLAN_B, o);
    }
    if (in(t, 54, 60)) {
        const double m = clamp01d(std::pow(std::sin(4 * PI_D * t) + 0.5, 2.0));
        if (m > 0) {
            copy(p, PLAN_C);
            scene(p, SCENE_NOISE_BALL, 2 * t, PLAN_B);
            crossfade(p, PLAN_C, PLAN_B, m);
        }
    }
    if (in(t, 49, 66)) {
        double l = t < 60 ? std::pow(1.5 * std::sin(8 * PI_D * t) + 1, 2.0)
                          : 0.2 * std::sin(4 * PI_D * t) + 0.2;
        l = clamp01d(l);
        if (l > 0) {
            copy(p, PLAN_C);
            scene(p, SCENE_TUBE_LIGHT, 2 * t, PLAN_B);
            mix_add(p, PLAN_C, 1 - 0.2 * l, PLAN_B, l);
        }
    }
}

static void plan_section_4(FramePlan &p, double t) {
    p.flash_allowed = beat16(t) % 2 != 0;   // every other beat
    if (in(t, 54, 54.0625)) {
        scene(p, SCENE_MACHINE, (t - 51.75) * 2, PLAN_B);
    } else {
        plan_section_4_main(p, t);
        plan_section_4_overlays(p, t);
    }
    // The section glow, every frame of the section.
    copy(p, PLAN_A);
    blur(p, PLAN_A, PLAN_B, 2, 4.0, 0.5, OFF_ADD);
    copy(p, PLAN_C);
    mix_add(p, PLAN_A, 0.75, PLAN_C, 0.6);
}

static void plan_section_5(FramePlan &p, double t) {
    if (t < 72) {
        scene(p, SCENE_MIRROR_BEAM, t - 66, PLAN_A);
    } else if (t < 75) {
        scene(p, SCENE_RED_SCULPTURE, t - 72, PLAN_A);
    } else {
        scene(p, SCENE_MIRROR_BEAM, t - 2, PLAN_A);
        scene(p, SCENE_CORE_CLOSING, t - 2, PLAN_A);
    }
    if (in(t, 68, 77.5)) {
        double v = t < 74 ? 0.3 * std::sin(4 * PI_D * t) + 0.3 : 0.2 * std::sin(PI_D * t) + 0.2;
        v = clamp01d(v);
        if (v > 0) {
            scene(p, SCENE_SMALL_PARTS_METAL, t, PLAN_B);
            crossfade(p, PLAN_A, PLAN_B, v);
        }
    }
}

static void plan_ending(FramePlan &p, double t) {
    layer(p, PLAN_END, 0, end_scroll(t), 1.0, 0.5, 0.25, 0, 1.0, RF_OFFSCREEN | TEX_CLAMP);
    p.flash_allowed = false;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void plan_frame(float tf, FramePlan &p) {
    const double t = tf;
    p.t = tf;
    p.count = 0;
    p.flash_allowed = true;
    if (t < 0)        p.section = SECTION_BEFORE_START;
    else if (t < 2)   p.section = SECTION_OPENING;
    else if (t < 21)  p.section = SECTION_1;
    else if (t < 33)  p.section = SECTION_2;
    else if (t < 46)  p.section = SECTION_3;
    else if (t < 66)  p.section = SECTION_4;
    else if (t < 79)  p.section = SECTION_5;
    else              p.section = SECTION_ENDING;

    switch (p.section) {
    case SECTION_OPENING: plan_opening(p, t);   break;
    case SECTION_1:       plan_section_1(p, t); break;
    case SECTION_2:       plan_section_2(p, t); break;
    case SECTION_3:       plan_section_3(p, t); break;
    case SECTION_4:       plan_section_4(p, t); break;
    case SECTION_5:       plan_section_5(p, t); break;
    case SECTION_ENDING:  plan_ending(p, t);    break;
    default:              break;
    }
    plan_finish(p, t);
}
