// app/main_loop.cpp - the spine of the program.
// Start-up runs in a fixed order: dialog, window, font, capability checks, precalc, a
// black pause, music. The loop takes one event per iteration and draws a frame only when
// the queue is empty; there is no frame cap and no frame counting: every picture is a
// function of the music's position. Shutdown closes the music before the window.
#include "app/main_loop.h"
#include "app/data_folder.h"
#include "app/dialog.h"
#include "app/gl_caps.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/window.h"
#include "audio/music.h"
#include "devtools/keys.h"
#include "devtools/overlay.h"
#include "precalc/precalc.h"
#include "render/render_state.h"
#include "show/timeline.h"
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>

static void main_loop() {
    while (app.quit_requests == 0) {
        SDL_Event event;
        if (SDL_PollEvent(&event)) {
            handle_show_event(event);
            continue;
        }
        timeline();
        draw_overlay(overlay_show_time() - 2.0f);   // no second frozen-clock sleep per frame
        swap_frame();
        check_gl_error();
    }
}

void start_engine(bool fullscreen, int width, int height, const char *title, bool hidden, bool desktop) {
    if (!create_gl_window(fullscreen, width, height, 32, 32, title, 0, 0, hidden, desktop))
        fatal_error("Init failed!");
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
}

int run_show(const Options &opts) {
    app.fullscreen = true;
    app.window_width = 640;
    app.window_height = 480;
    app.unattended = opts.unattended;
    if (opts.dialog) {
        if (!run_settings_dialog()) {
            SDL_Quit();
            return 0;
        }
    } else {
        app.window_width = opts.width;
        app.window_height = opts.height;
        if (opts.fullscreen >= 0) app.fullscreen = opts.fullscreen == 1;
        app.desktop = opts.desktop;
        if (app.desktop) app.fullscreen = true;
        app.loop_music = opts.loop;
    }

    start_engine(app.fullscreen, app.window_width, app.window_height, SHOW_TITLE, false, app.desktop);
    place_picture_in_window();
    precalc();

    reset_render_state(BLACK_RGBA);
    swap_frame();
    SDL_Delay(2000);
    app.show_started++;
    open_music(data_file(MUSIC_FILE_NAME).c_str(), 130.0f, app.loop_music);

    main_loop();

    close_music();
    std::fprintf(stderr, "MUSIC: closed\n");
    destroy_gl_window();
    std::fprintf(stderr, "WINDOW: closed\n");
    SDL_Quit();
    return 0;
}
