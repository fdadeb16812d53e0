// tools/musicgen/mix.cpp - bus storage and grid-driven sidechain ducking.
#include "tools/musicgen/mix.h"

Mix mix;

void Mix::reset() {
    l.assign(TOTAL_FRAMES, 0.0f);
    r.assign(TOTAL_FRAMES, 0.0f);
    verb.assign(TOTAL_FRAMES, 0.0f);
    echo.assign(TOTAL_FRAMES, 0.0f);
    boom.assign(TOTAL_FRAMES, 0.0f);
    kick_beat.assign(TOTAL_FRAMES / 20353 + 2, 0);
}

float duck(long i, float depth) {
    if (i < 0) return 1.0f;
    long b = (long)((int64_t)i * 13 / 264600);
    if (b >= (long)mix.kick_beat.size() || !mix.kick_beat[b]) return 1.0f;
    float x = (float)(i - grid_sample(4 * b)) / (0.2f * RATE);
    if (x >= 1.0f || x < 0.0f) return 1.0f;
    return 1.0f - depth * (1.0f - x) * (1.0f - x);
}
