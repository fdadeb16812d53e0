// platform/engine_start.cpp - the start-up steps the show and the offline tools share.
#include "platform/engine_start.h"
#include "platform/gl_caps.h"
#include "platform/messages.h"
#include "platform/settings.h"
#include "platform/window.h"
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>

void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden, bool desktop) {
    if (!create_gl_window(fullscreen, width, height, 32, 32, title, 0, 0, hidden, desktop))
        fatal_error_because("Init failed!", win.failure);
    // The live show swaps in step with the display where the driver lets it; the offline
    // tools never swap and must not wait.
    SDL_GL_SetSwapInterval(hidden ? 0 : 1);
    app.offscreen_texture_width = next_power_of_two(384);
    app.offscreen_texture_height = next_power_of_two(288);
    create_outline_font();
    check_gl_capabilities();
    bind_multitexture_entry_points();
}

void place_picture_in_window() {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(win.window, &w, &h);
    GLint limit[2] = { 0, 0 };
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limit);
    if (w > limit[0] || h > limit[1]) {
        char text[160];
        std::snprintf(text, sizeof text, "A %dx%d window is larger than this GL allows (%dx%d).", w, h,
                      int(limit[0]), int(limit[1]));
        fatal_error(text);
    }
    set_picture_area(w, h);
    if (!win.hidden)
        std::fprintf(stderr, "WINDOW: %dx%d, the picture %dx%d at %d,%d\n", w, h, app.window_width,
                     app.window_height, app.picture_x, app.picture_y);
}
