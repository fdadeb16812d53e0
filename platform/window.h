// platform/window.h - the show's one window, its GL context, and the outline font.
// create_gl_window makes an SDL window with a double-buffered RGBA GL 1.x context and a
// depth buffer; full screen switches the display to the chosen mode, or (desktop, or no
// such mode) covers the desktop at its own resolution. destroy_gl_window
// always leaves the desktop as it was, also after a creation that failed part-way.
#pragma once
#include <SDL.h>
#include <string>

struct WindowGlobals {
    SDL_Window   *window;        // null when no window exists
    SDL_GLContext context;       // null when no context exists
    unsigned      font_base;     // first of the 256 glyph display lists
    bool          mode_changed;  // the display mode was switched for full screen
    bool          hidden;        // made for offline rendering or tests: never shown
    char          failure[320];  // why the last create_gl_window returned null
    bool          desktop;       // full screen at the desktop's resolution (no mode change)
};
extern WindowGlobals win;   // written by platform/window.cpp only

// Window flags for offline rendering and tests: never shown, never full screen.
constexpr bool WINDOW_HIDDEN = true;

// Video drivers. The show and the dialog need one that shows windows on a display: X11 or
// Wayland, or whichever the user names in SDL_VIDEODRIVER. Hidden windows (offline tools,
// tests) take any driver, and with no display at all they use SDL's offscreen one, which
// draws through EGL and needs no X server.
bool display_video_driver(const char *driver, bool user_named);   // driver fit for a shown window
bool init_display_video(std::string &why);   // video on a display, else false with the reason
void prefer_offscreen_video();               // offscreen driver when no display and no driver is named

SDL_Window *create_gl_window(bool fullscreen, int width, int height, int colour_bits,
                             int depth_bits, const char *title, int x, int y,
                             bool hidden = false, bool desktop = false);   // null on any failure (reason in win.failure)
void destroy_gl_window();    // mode restore, context, window, cursor; safe at any stage
void swap_frame();           // present the back buffer

void create_outline_font();            // 255 extruded glyph lists (codes 0..254), Liberation Sans Bold
void print_text(const char *text);     // draws text at the current model-view origin
std::string find_font_file(const char *pattern);   // fontconfig's best match ("Liberation Sans:bold"), "" if none
