// devtools/overlay.cpp - frame statistics, the eight overlay lines and their drawing.
#include "devtools/overlay.h"
#include "platform/gl_caps.h"          // Required for: has_gl_extension(), gl_caps.cube_map_supported
#include "platform/settings.h"         // Required for: set_picture_viewport()
#include "platform/window.h"           // Required for: print_text()
#include "audio/music.h"          // Required for: pattern_clock(), music.frozen_time
#include "devtools/capture.h"
#include "devtools/keys.h"        // Required for: devkeys (toggles, camera, pending shots)
#include "render/render_state.h"  // Required for: push/pop_render_state(), render.drawn
#include <GL/gl.h>
#include <GL/glu.h>               // Required for: gluOrtho2D()
#include <SDL.h>                  // Required for: SDL_GetTicks()
#include <cstdio>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
FrameStats frame_stats = { 0.0, 999.0, 0.0, 0.0, 0.0, 0, 0 };

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static const char *yes_no(bool b) { return b ? "yes" : "no"; }

static PixelFormatInfo read_pixel_format() {
    PixelFormatInfo gl;
    gl.version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
    if (!gl.version) gl.version = "";
    GLint red = 0, green = 0, blue = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    gl.colour_bits = red + green + blue;
    glGetIntegerv(GL_ALPHA_BITS, &gl.alpha_bits);
    glGetIntegerv(GL_DEPTH_BITS, &gl.depth_bits);
    glGetIntegerv(GL_STENCIL_BITS, &gl.stencil_bits);
    return gl;
}

// White text blended with (1 - destination) inverts whatever lies beneath it, over a
// 0..1 square that covers the whole window.
static void set_text_state() {
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ZERO);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    set_picture_viewport();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------

// NOTE: the timeline reads the pattern clock itself. While time is frozen every clock
// reading sleeps 1 to 21 ms and seeks again, so a second reading per frame would halve the
// frozen frame rate for nothing: the frozen time is what the timeline has just read.
float overlay_show_time() {
    return music.frozen_time != 0.0f ? music.frozen_time : pattern_clock();
}

// Two frames in the same millisecond count as 1 ms apart (1000 fps), so no rate is ever
// infinite and the average stays finite.
void update_frame_stats(FrameStats &s, uint32_t now_ms) {
    if (s.frames > 0) {
        const uint32_t elapsed = now_ms - s.previous_ms;
        s.fps = 1000.0 / double(elapsed > 0 ? elapsed : 1);
        if (s.fps < s.min_fps) s.min_fps = s.fps;
        if (s.fps > s.max_fps) s.max_fps = s.fps;
        s.sum_fps += s.fps;
        s.avg_fps = s.sum_fps / double(s.frames);
    }
    s.frames++;
    s.previous_ms = now_ms;
}

std::string overlay_line(int line, float time, const PixelFormatInfo &gl) {
    char text[512];
    const FrameStats &s = frame_stats;
    switch (line) {
    case 1:
        std::snprintf(text, sizeof text, "%5.2f  %5.2f", time, s.fps);
        break;
    case 2:
        std::snprintf(text, sizeof text, "fps: %15.2f  min:%15.2f  max:%15.8f  avg:%15.8f",
                      s.fps, s.min_fps, s.max_fps, s.avg_fps);
        break;
    case 3:
        std::snprintf(text, sizeof text, "vc:%i pc:%i", render.drawn.vertices, render.drawn.faces);
        break;
    case 4:
        std::snprintf(text, sizeof text, "bpp:%i  abits:%i  zbits:%i  stencilbits:%i",
                      gl.colour_bits, gl.alpha_bits, gl.depth_bits, gl.stencil_bits);
        break;
    case 5:
        std::snprintf(text, sizeof text, "xpos:%5.2f  ypos:%5.2f  zpos:%5.2f  xrot:%5.2f  yrot:%5.2f",
                      devkeys.eye[0], devkeys.eye[1], devkeys.eye[2], devkeys.pitch, devkeys.yaw);
        break;
    case 6:
        std::snprintf(text, sizeof text, "OpenGL version: %s", gl.version);
        break;
    case 7:
        std::snprintf(text, sizeof text,
                      "multitexture:%s  env_combine:%s  dot3:%s  arb_vbo:%s  point_sprite:%s  cube_map:%s",
                      yes_no(has_gl_extension("GL_ARB_multitexture")),
                      yes_no(has_gl_extension("GL_ARB_texture_env_combine")),
                      yes_no(has_gl_extension("GL_ARB_texture_env_dot3")),
                      yes_no(has_gl_extension("GL_ARB_vertex_buffer_object")),
                      yes_no(has_gl_extension("GL_ARB_point_sprite")),
                      yes_no(gl_caps.cube_map_supported));
        break;
    case 8:
        // The window-system names are looked for in the GL list, as the show always has.
        std::snprintf(text, sizeof text,
                      "WGL_: ext_strs:%s  pix_format:%s  mk_cur_read:%s  pbuf:%s  rend_txtr:%s  multisamp:%s",
                      yes_no(has_gl_extension("WGL_ARB_extensions_string")),
                      yes_no(has_gl_extension("WGL_ARB_pixel_format")),
                      yes_no(has_gl_extension("WGL_ARB_make_current_read")),
                      yes_no(has_gl_extension("WGL_ARB_pbuffer")),
                      yes_no(has_gl_extension("WGL_ARB_render_texture")),
                      yes_no(has_gl_extension("WGL_ARB_multisample")));
        break;
    default:
        text[0] = 0;
        break;
    }
    return text;
}

void draw_overlay(float time) {
    push_render_state();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    const PixelFormatInfo gl = read_pixel_format();
    update_frame_stats(frame_stats, SDL_GetTicks());

    set_text_state();
    for (int line = 1; line <= OVERLAY_LINES; line++) {
        if (!devkeys.overlay_line[line - 1]) continue;
        glPushMatrix();
            glTranslatef(0.05f, 0.05f * line, 1.0f);
            glScalef(0.025f, 0.025f, 0.025f);
            print_text(overlay_line(line, time, gl).c_str());
        glPopMatrix();
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    pop_render_state();

    // Shots asked for since the last frame take this one, overlay included, before the swap.
    if (devkeys.shot_pending) {
        devkeys.shot_pending = false;
        take_screenshot();
    }
    if (devkeys.dof_shot_pending) {
        devkeys.dof_shot_pending = false;
        take_depth_of_field_shot();
    }
}
