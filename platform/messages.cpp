// platform/messages.cpp - fatal_error and warn on SDL message boxes.
#include "platform/messages.h"
#include "platform/settings.h"
#include "platform/window.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>

static struct {
    int          status;    // exit status of a fatal error
    FatalCleanup cleanup;   // run before leaving, or null
} fatal_exit = { 0, nullptr };

// The text on stderr, then the cause on a line of its own, then the box (which may wait).
static void show_box(Uint32 kind, const char *label, const char *text, const char *reason = nullptr) {
    std::fprintf(stderr, "%s: %s\n", label, text);
    if (reason && reason[0]) std::fprintf(stderr, "%s: %s\n", label, reason);
    std::fflush(stderr);
    if (!app.unattended) SDL_ShowSimpleMessageBox(kind, SHOW_TITLE, text, nullptr);
}

void set_fatal_exit(int status, FatalCleanup cleanup) {
    fatal_exit.status = status;
    fatal_exit.cleanup = cleanup;
}

void fatal_error(const char *text) {
    fatal_error_because(text, nullptr);
}

void fatal_error_because(const char *text, const char *reason) {
    show_box(SDL_MESSAGEBOX_ERROR, "FATAL", text, reason);
    destroy_gl_window();
    std::fprintf(stderr, "WINDOW: closed\n");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);   // stops the music's audio thread, if it runs
    if (fatal_exit.cleanup) fatal_exit.cleanup();
    std::fflush(nullptr);
    // Window, context and display mode are already undone. Leave without the exit handlers
    // and without closing the display connection: some GL drivers stall there, tearing down
    // their worker threads from inside an error path.
    std::_Exit(fatal_exit.status);
}

void warn(const char *text) {
    show_box(SDL_MESSAGEBOX_WARNING, "WARNING", text);
}
