// platform/engine_start.h - everything before the precalc: window, context, font, capability
// checks, and the picture's place in the window. Shared by the show and the offline tools.
#pragma once

// Window, context, font, capability checks and entry points. Fatal ("Init failed!") when no
// window or context can be made. desktop: full screen at the desktop's own resolution (also
// the fallback when the display lacks the mode).
void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden,
                  bool desktop = false);
// Centres the 4:3 picture in the window at its size now (black bars where the shape differs);
// again whenever the window's size changes. Fatal when the window exceeds the GL's viewport
// limit. A shown window logs its size and the picture's place on stderr.
void place_picture_in_window();
