// web/engine_start_web.cpp - the start-up steps before the precalc, in the page: the canvas's
// context, the capability checks, and the picture's place in the canvas.
#include "platform/engine_start.h"
#include "platform/gl_caps.h"
#include "platform/messages.h"
#include "platform/settings.h"
#include "platform/window.h"

void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden, bool desktop) {
    if (!create_gl_window(fullscreen, width, height, 32, 32, title, 0, 0, hidden, desktop))
        fatal_error_because("Init failed!", win.failure);
    app.offscreen_texture_width = next_power_of_two(384);
    app.offscreen_texture_height = next_power_of_two(288);
    create_outline_font();
    check_gl_capabilities();
    bind_multitexture_entry_points();
}

void place_picture_in_window() { set_picture_area(app.window_width, app.window_height); }
