// app/main_loop.h - start-up in its fixed order, the per-frame loop and shutdown.
#pragma once
#include "app/options.h"

int run_show(const Options &opts);   // dialog .. shutdown; always returns 0

// Window, context, font, capability checks and entry points: everything before the
// precalc. Fatal ("Init failed!") when no window or context can be made.
void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden);
