// app/main_loop.h - start-up in its fixed order, the per-frame loop and shutdown.
#pragma once
#include "app/options.h"

int run_show(const Options &opts);   // dialog .. shutdown; always returns 0

// Window, context, font, capability checks and entry points: everything before the
// precalc. Fatal ("Init failed!") when no window or context can be made. desktop: full
// screen at the desktop's own resolution (also the fallback when the display lacks the mode).
void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden,
                  bool desktop = false);
// Centres the 4:3 picture in the window as made (black bars where the shape differs); fatal
// when the window exceeds the GL's viewport limit.
void place_picture_in_window();
