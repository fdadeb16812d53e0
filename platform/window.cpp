// platform/window.cpp - window and GL context on SDL2.
// Full screen is a real display-mode change to the chosen resolution (SDL restores the
// desktop mode when the window leaves full screen or goes away), unless the display lacks
// that mode or the desktop resolution was asked for: then the window covers the desktop
// at its own resolution, with no mode change. Every step that fails returns null; the
// caller's fatal path then calls destroy_gl_window, which undoes whatever had been done
// so far.
#include "platform/window.h"
#include "platform/settings.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

WindowGlobals win;

// Keeps the reason of the step that failed; always returns null for the caller's return.
static SDL_Window *failed(const char *step, const char *why) {
    std::snprintf(win.failure, sizeof win.failure, "%s: %s", step, why);
    return nullptr;
}

static bool named(const char *variable) {
    const char *value = std::getenv(variable);
    return value && value[0];
}

bool display_video_driver(const char *driver, bool user_named) {
    if (user_named) return true;
    return driver && (!std::strcmp(driver, "x11") || !std::strcmp(driver, "wayland"));
}

bool init_display_video(std::string &why) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        why = std::string("no video: ") + SDL_GetError();
        return false;
    }
    const char *driver = SDL_GetCurrentVideoDriver();
    if (display_video_driver(driver, named("SDL_VIDEODRIVER"))) return true;
    // With no display SDL falls back to a driver that draws nowhere; the show would play
    // unseen and the dialog wait for a click nobody can give.
    why = std::string("no display (SDL chose its \"") + (driver ? driver : "?") +
          "\" video driver): set DISPLAY or WAYLAND_DISPLAY, or name a driver in SDL_VIDEODRIVER";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void prefer_offscreen_video() {
    if (named("SDL_VIDEODRIVER") || named("DISPLAY") || named("WAYLAND_DISPLAY")) return;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}

// True when the display lists a mode of exactly width x height.
static bool display_has_mode(int display, int width, int height) {
    for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w == width && mode.h == height) return true;
    }
    return false;
}

SDL_Window *create_gl_window(bool fullscreen, int width, int height, int colour_bits,
                             int depth_bits, const char *title, int x, int y, bool hidden,
                             bool desktop) {
    win.failure[0] = 0;
    if (hidden) {
        if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return failed("no video", SDL_GetError());
    } else {
        std::string why;
        if (!init_display_video(why)) return failed("window", why.c_str());
    }
    int channel_bits = colour_bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel_bits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel_bits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel_bits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth_bits > 24 ? 24 : depth_bits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);   // a compatibility context:
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);   // fixed function throughout
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);

    if (hidden) fullscreen = false;
    win.hidden = hidden;
    // Full screen opens on the first display (the window's corner is at 0,0).
    if (fullscreen && !desktop && !display_has_mode(0, width, height)) {
        std::fprintf(stderr, "WINDOW: the display has no %dx%d mode; filling the desktop instead\n",
                     width, height);
        desktop = true;
    }
    win.desktop = fullscreen && desktop;
    // A window that covers the desktop is made at the desktop's size, without a frame, in its
    // corner, and only then asked to be full screen: a window manager would resize it anyway,
    // but without one (a bare X server) nobody would, and it would stay small while the
    // picture was laid out for the whole screen.
    Uint32 flags = SDL_WINDOW_OPENGL | (hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    int wx = fullscreen ? 0 : (x == 0 && y == 0 ? SDL_WINDOWPOS_CENTERED : x);
    int wy = fullscreen ? 0 : (x == 0 && y == 0 ? SDL_WINDOWPOS_CENTERED : y);
    SDL_Rect desk;
    if (win.desktop && SDL_GetDisplayBounds(0, &desk) == 0) {
        flags |= SDL_WINDOW_BORDERLESS;
        wx = desk.x;
        wy = desk.y;
        width = desk.w;
        height = desk.h;
    }
    win.window = SDL_CreateWindow(title, wx, wy, width, height, flags);
    if (!win.window) return failed("window", SDL_GetError());

    if (win.desktop && SDL_SetWindowFullscreen(win.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return failed("full screen", SDL_GetError());
    if (fullscreen && !win.desktop) {
        // The window exists before the mode changes, as the failure path expects.
        SDL_DisplayMode mode = {};
        mode.w = width;
        mode.h = height;
        mode.format = SDL_PIXELFORMAT_RGB888;
        if (SDL_SetWindowDisplayMode(win.window, &mode) != 0) return failed("display mode", SDL_GetError());
        win.mode_changed = true;
        if (SDL_SetWindowFullscreen(win.window, SDL_WINDOW_FULLSCREEN) != 0)
            return failed("full screen", SDL_GetError());
    }
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);

    win.context = SDL_GL_CreateContext(win.window);
    if (!win.context) return failed("GL context", SDL_GetError());
    if (SDL_GL_MakeCurrent(win.window, win.context) != 0) return failed("GL context", SDL_GetError());
    if (win.mode_changed) SDL_Delay(1000);   // let the monitor settle into the new mode
    return win.window;
}

void destroy_gl_window() {
    if (win.window && (win.mode_changed || win.desktop)) SDL_SetWindowFullscreen(win.window, 0);
    win.mode_changed = false;
    win.desktop = false;
    if (win.context) {
        SDL_GL_MakeCurrent(win.window, nullptr);
        SDL_GL_DeleteContext(win.context);
        win.context = nullptr;
    }
    if (win.window) {
        SDL_DestroyWindow(win.window);
        win.window = nullptr;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void swap_frame() {
    if (!win.window) return;
    clear_picture_bars();
    SDL_GL_SwapWindow(win.window);
}
