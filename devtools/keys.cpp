// devtools/keys.cpp - the show window's events and the developer keys.
// Every key acts once per press: SDL repeats a held key's key-down (and its text) with the
// repeat flag set, and those repeats are dropped, so holding Page Down seeks once.
#include "devtools/keys.h"
#include "platform/settings.h"     // Required for: app.quit_requests
#include "audio/music.h"      // Required for: pattern_clock(), seek_patterns(), music.frozen_time
#include "devtools/ticks.h"
#include <cmath>
#include <cstdio>

DevKeyGlobals devkeys = {};

// The player places a seek on a whole millisecond at or before the asked time, so right
// after a seek to pattern 3 the clock reads 2.99989. Times that close below a pattern
// start count as that pattern, or pressing Page Down twice would land on 3 both times.
constexpr float SEEK_SLACK = 0.0002f;   // patterns: 1.5 ms at 130 beats per minute

static float whole_pattern(float show_time) {
    return std::trunc(show_time + SEEK_SLACK);
}

float previous_pattern_start(float show_time) {
    return std::fmax(whole_pattern(show_time) - 1.0f, 0.0f);
}

float next_pattern_start(float show_time) {
    return whole_pattern(show_time) + 1.0f;
}

static void seek_to(float patterns) {
    seek_patterns(patterns);
    std::fprintf(stderr, "KEYS: seek to %.2f\n", patterns);
}

static void toggle_freeze() {
    if (music.frozen_time == 0.0f) {
        music.frozen_time = pattern_clock();   // 0.0 at the very start: nothing freezes
        std::fprintf(stderr, "KEYS: frozen at %.4f\n", music.frozen_time);
    } else {
        music.frozen_time = 0.0f;
        std::fprintf(stderr, "KEYS: time runs\n");
    }
}

static void end_show() {
    if (tick_table.count > 0) write_tick_table();
    app.quit_requests++;
}

static void handle_key(SDL_Keycode key) {
    switch (key) {
    case SDLK_PAUSE:    toggle_freeze(); break;
    case SDLK_ESCAPE:   end_show(); break;
    case SDLK_SPACE:
        if (record_tick(pattern_clock()))
            std::fprintf(stderr, "KEYS: tick %d\n", tick_table.ticks[tick_table.count - 1]);
        break;
    case SDLK_PAGEUP:   seek_to(previous_pattern_start(pattern_clock())); break;
    case SDLK_PAGEDOWN: seek_to(next_pattern_start(pattern_clock())); break;
    case SDLK_HOME:     seek_to(0.0f); break;
    case SDLK_LEFT:     devkeys.yaw += 1.0f; break;
    case SDLK_RIGHT:    devkeys.yaw -= 1.0f; break;
    default: break;
    }
}

static void handle_character(char c) {
    static const char LINE_KEYS[OVERLAY_LINES + 1] = "qwertyui";
    for (int i = 0; i < OVERLAY_LINES; i++)
        if (c == LINE_KEYS[i]) devkeys.overlay_line[i] = (devkeys.overlay_line[i] + 1) % 2;
    if (c == 's') devkeys.shot_pending = true;
    if (c == 'f') devkeys.dof_shot_pending = true;
}

void handle_show_event(const SDL_Event &e) {
    switch (e.type) {
    case SDL_QUIT:
        app.quit_requests++;
        break;
    case SDL_KEYDOWN:
        devkeys.repeating = e.key.repeat != 0;
        if (!devkeys.repeating) handle_key(e.key.keysym.sym);
        break;
    case SDL_TEXTINPUT:
        // One character per event; longer text comes from input methods, not from keys.
        if (!devkeys.repeating && e.text.text[0] && !e.text.text[1]) handle_character(e.text.text[0]);
        break;
    default:
        break;
    }
}
