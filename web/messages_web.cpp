// web/messages_web.cpp - fatal_error and warn in the page: the text goes to the browser's
// console and, for a fatal error, onto the page in place of the show, which then stops.
#include "platform/messages.h"
#include "platform/window.h"
#include <emscripten.h>
#include <cstdio>
#include <cstdlib>

EM_JS(void, web_show_failure, (const char *text), {
    if (Module.showFailure) Module.showFailure(UTF8ToString(text));
});

static int fatal_status = 0;

void set_fatal_exit(int status, FatalCleanup) { fatal_status = status; }

void fatal_error(const char *text) { fatal_error_because(text, nullptr); }

void fatal_error_because(const char *text, const char *reason) {
    std::fprintf(stderr, "FATAL: %s\n", text);
    if (reason && reason[0]) std::fprintf(stderr, "FATAL: %s\n", reason);
    std::fflush(stderr);
    web_show_failure(text);
    destroy_gl_window();
    emscripten_cancel_main_loop();
    emscripten_force_exit(fatal_status);
    std::_Exit(fatal_status);
}

void warn(const char *text) {
    std::fprintf(stderr, "WARNING: %s\n", text);
}
