// platform/messages.cpp - fatal_error and warn on SDL message boxes.
#include "platform/messages.h"
#include "platform/settings.h"
#include "platform/window.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>

static void (*fatal_cleanup)() = nullptr;   // e.g. the video export's removal of its unfinished file

static void show_box(Uint32 kind, const char *label, const char *text) {
    std::fprintf(stderr, "%s: %s\n", label, text);
    std::fflush(stderr);
    if (!app.unattended) SDL_ShowSimpleMessageBox(kind, SHOW_TITLE, text, nullptr);
}

void fatal_error(const char *text) {
    show_box(SDL_MESSAGEBOX_ERROR, "FATAL", text);
    if (fatal_cleanup) fatal_cleanup();
    destroy_gl_window();
    std::fprintf(stderr, "WINDOW: closed\n");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);   // stops the music's audio thread, if it runs
    std::fflush(nullptr);
    // Window, context and display mode are already undone. Leave without the exit handlers
    // and without closing the display connection: some GL drivers stall there, tearing down
    // their worker threads from inside an error path.
    std::_Exit(0);
}

void set_fatal_cleanup(void (*cleanup)()) {
    fatal_cleanup = cleanup;
}

void warn(const char *text) {
    show_box(SDL_MESSAGEBOX_WARNING, "WARNING", text);
}
