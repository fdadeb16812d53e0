// devtools/keys.h - the show window's events: closing it, Esc, and the developer keys.
// Keys act on key-down; a key held down acts once (SDL's repeats are ignored).
//
//   Pause       freeze show time at the current time, or let it run again
//   Esc         write the recorded ticks (if any) to ticks.inc, then end the show
//   Space       record a beat tick at the current show time
//   Page Up     seek to the start of the previous pattern (0 in the first pattern)
//   Page Down   seek to the start of the next pattern
//   Home        seek to the start of the show
//   Left/Right  turn the overlay camera's yaw by one 1/128 turn
//
// Typed characters (so Shift+q is not q): q w e r t y u i toggle overlay lines 1 to 8,
// s takes a screenshot and f a depth-of-field shot of the next finished frame.
#pragma once
#include <SDL.h>

constexpr int OVERLAY_LINES = 8;

struct DevKeyGlobals {
    int   overlay_line[OVERLAY_LINES];  // toggles, 0 or 1; line 1 is [0]
    float eye[3];                       // free-camera eye shown by line 5 (stays 0)
    float pitch;                        // free-camera pitch, 1/128 turns (stays 0)
    float yaw;                          // free-camera yaw, 1/128 turns; the arrows turn it
    bool  shot_pending;                 // s typed: the overlay saves the next finished frame
    bool  dof_shot_pending;             // f typed: the same for a depth-of-field shot
    bool  repeating;                    // the latest key-down was a repeat: its text is ignored too
};
extern DevKeyGlobals devkeys;   // written by handle_show_event, read and cleared by the overlay

void  handle_show_event(const SDL_Event &event);   // one event from the main loop's queue
float previous_pattern_start(float show_time);     // Page Up target: trunc(t) - 1, never below 0
float next_pattern_start(float show_time);         // Page Down target: trunc(t) + 1
