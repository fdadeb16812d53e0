// app/main_loop.cpp - the spine of the program.
// Start-up runs in a fixed order: dialog, window, font, capability checks, precalc, a
// black pause, music. The loop takes one event per iteration and draws a frame only when
// the queue is empty; there is no frame cap and no frame counting: every picture is a
// function of the music's position. Shutdown closes the music before the window.
#include "app/main_loop.h"
#include "platform/data_folder.h"
#include "platform/engine_start.h"
#include "app/dialog.h"
#include "platform/gl_caps.h"
#include "platform/messages.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "audio/music.h"
#include "devtools/keys.h"
#include "devtools/ticks.h"
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
            // Whatever the window manager makes of the window, the picture follows its real size.
            if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                place_picture_in_window();
            handle_show_event(event);
            continue;
        }
        timeline();
        draw_overlay(overlay_show_time() - 2.0f);   // no second frozen-clock sleep per frame
        swap_frame();
        check_gl_error();
    }
}

int run_show(const Options &opts) {
    app.fullscreen = true;
    app.window_width = 640;
    app.window_height = 480;
    app.unattended = opts.unattended;
    app.gentle = opts.gentle;   // the dialog starts with it, and may change it
    if (opts.dialog) {
        std::string why;
        const DialogOutcome outcome = run_settings_dialog(why);
        if (outcome == DIALOG_FAILED) fatal_error_because("Init failed!", why.c_str());
        if (outcome == DIALOG_EXITED) {
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
    // However the show ended (Esc, the music's end, the window closed), taps are kept.
    save_recorded_ticks();

    close_music();
    std::fprintf(stderr, "MUSIC: closed\n");
    destroy_gl_window();
    std::fprintf(stderr, "WINDOW: closed\n");
    SDL_Quit();
    return 0;
}
