// post/gentle_pass.cpp - measuring the finished picture on a coarse grid and blending the
// last shown picture over it where a flash would be one too many.
// Two window-sized textures take turns: one holds the picture shown last, the other takes
// the new frame. When nothing is blended the new frame is what was shown, so the two simply
// swap; after a blend the blended picture is copied in instead.
#include "post/gentle_pass.h"
#include "post/flash_limit.h"      // Required for: limit_flashes(), GENTLE_COLS/ROWS
#include "platform/gl_caps.h"      // Required for: gl_caps.active_texture, has_gl_extension()
#include "platform/settings.h"     // Required for: app, next_power_of_two(), set_picture_viewport()
#include <GL/gl.h>
#include <GL/glext.h>
#include <cmath>
#include <cstdlib>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
// Each cell is read back as PROBES x PROBES pixels of the shrunken picture and averaged in
// linear light here: the card's mipmaps average display levels, which would hide a bright
// patch covering part of a cell (half a cell of white reads as a fifth of its light).
constexpr int PROBES = 4;
constexpr int PROBE_COLS = GENTLE_COLS * PROBES, PROBE_ROWS = GENTLE_ROWS * PROBES;

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    GLuint texture[2];          // window-sized copies of the picture, 0 before the first frame
    int    tex_width, tex_height;   // their allocated size (powers of two)
    int    width, height;       // the picture size they were made for
    int    shown;               // which texture holds the picture shown last
    bool   mipmaps;             // the driver makes mipmaps of copied pictures
    bool   limited;             // the last frame blended anything
    FlashLimiter limiter;       // what was shown, cell by cell
    std::vector<unsigned char> probe;   // the shrunken picture read back, RGB
    std::vector<float> cell_rgb;        // each cell's mean light as a display colour, 0..1
    std::vector<float> corners;         // blend weights per grid corner
} gentle;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void make_textures() {
    reset_gentle_pass();
    gentle.width = app.window_width;
    gentle.height = app.window_height;
    // Textures of the picture's own size where the driver takes them: the mipmaps then cover
    // the picture and nothing else, which halves their cost at 640x480.
    const bool any_size = has_gl_extension("GL_ARB_texture_non_power_of_two");
    gentle.tex_width = any_size ? gentle.width : next_power_of_two(gentle.width);
    gentle.tex_height = any_size ? gentle.height : next_power_of_two(gentle.height);
    const char *version = (const char *)glGetString(GL_VERSION);
    gentle.mipmaps = (version && std::atof(version) >= 1.4) || has_gl_extension("GL_SGIS_generate_mipmap");
    // Black padding, so that the shrunken picture's edge only ever mixes in black.
    const std::vector<unsigned char> black(size_t(gentle.tex_width) * gentle.tex_height * 3, 0);
    glGenTextures(2, gentle.texture);
    for (GLuint id : gentle.texture) {
        glBindTexture(GL_TEXTURE_2D, id);
        if (gentle.mipmaps) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(gl_caps.texture_clamp_mode));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(gl_caps.texture_clamp_mode));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, gentle.tex_width, gentle.tex_height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, black.data());
    }
    start_flash_limiter(gentle.limiter, GENTLE_COLS, GENTLE_ROWS);
    gentle.probe.resize(PROBE_COLS * PROBE_ROWS * 3);
    gentle.cell_rgb.resize(GENTLE_COLS * GENTLE_ROWS * 3);
    gentle.corners.resize((GENTLE_COLS + 1) * (GENTLE_ROWS + 1));
}

// Flat drawing in picture pixels, nothing but the texture on unit 0.
static void begin_flat_pixels() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    for (GLenum m : { GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE }) {
        glMatrixMode(m);
        glPushMatrix();
        glLoadIdentity();
    }
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, gentle.width, 0, gentle.height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    set_picture_viewport();
    for (GLenum cap : { GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_CULL_FACE, GL_ALPHA_TEST, GL_SCISSOR_TEST,
                        GL_STENCIL_TEST, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_BLEND })
        glDisable(cap);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1, 1, 1, 1);
}

static void end_flat_pixels() {
    for (GLenum m : { GL_TEXTURE, GL_MODELVIEW, GL_PROJECTION }) {
        glMatrixMode(m);
        glPopMatrix();
    }
    glPopAttrib();
}

static void bind_picture(int which, GLint min_filter) {
    glBindTexture(GL_TEXTURE_2D, gentle.texture[which]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

// A rectangle of picture pixels showing a rectangle of texels.
static void draw_rect(float x1, float y1, float s1, float t1) {
    glBegin(GL_QUADS);
        glTexCoord2f(0, 0);   glVertex2f(0, 0);
        glTexCoord2f(s1, 0);  glVertex2f(x1, 0);
        glTexCoord2f(s1, t1); glVertex2f(x1, y1);
        glTexCoord2f(0, t1);  glVertex2f(0, y1);
    glEnd();
}

static float linear_to_srgb(float c) {
    return c <= 0.0031308f ? 12.92f * c : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f;
}

// Each cell's probes averaged in linear light, given back as the display colour of that light.
static void average_probes() {
    static float linear[256];   // the 256 display levels in linear light
    if (linear[255] == 0)
        for (int i = 0; i < 256; i++) linear[i] = srgb_to_linear(i / 255.0f);
    for (int cy = 0; cy < GENTLE_ROWS; cy++)
        for (int cx = 0; cx < GENTLE_COLS; cx++) {
            float sum[3] = { 0, 0, 0 };
            for (int py = 0; py < PROBES; py++) {
                const unsigned char *p = &gentle.probe[((cy * PROBES + py) * PROBE_COLS + cx * PROBES) * 3];
                for (int k = 0; k < PROBES * 3; k++) sum[k % 3] += linear[p[k]];
            }
            for (int k = 0; k < 3; k++)
                gentle.cell_rgb[(cy * GENTLE_COLS + cx) * 3 + k] = linear_to_srgb(sum[k] / (PROBES * PROBES));
        }
}

// The new picture's light per cell, read from its copy shrunk into the lower-left corner,
// which is then drawn back exactly as it was.
static void measure_picture(int fresh) {
    const float s = float(gentle.width) / gentle.tex_width, t = float(gentle.height) / gentle.tex_height;
    bind_picture(fresh, gentle.mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    draw_rect(PROBE_COLS, PROBE_ROWS, s, t);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(app.picture_x, app.picture_y, PROBE_COLS, PROBE_ROWS, GL_RGB, GL_UNSIGNED_BYTE,
                 gentle.probe.data());
    bind_picture(fresh, GL_NEAREST);
    draw_rect(PROBE_COLS, PROBE_ROWS, float(PROBE_COLS) / gentle.tex_width, float(PROBE_ROWS) / gentle.tex_height);
    average_probes();
}

// The last shown picture over the new one, each grid corner with its own weight.
static void blend_last_picture() {
    bind_picture(gentle.shown, GL_NEAREST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
    const float sx = float(gentle.width) / GENTLE_COLS, sy = float(gentle.height) / GENTLE_ROWS;
    for (int y = 0; y < GENTLE_ROWS; y++) {
        glBegin(GL_QUAD_STRIP);
        for (int x = 0; x <= GENTLE_COLS; x++)
            for (int row : { y + 1, y }) {
                const float px = x * sx, py = row * sy;
                glColor4f(1, 1, 1, gentle.corners[row * (GENTLE_COLS + 1) + x]);
                glTexCoord2f(px / gentle.tex_width, py / gentle.tex_height);
                glVertex2f(px, py);
            }
        glEnd();
    }
}

// The picture into a texture; its mipmaps are made only when it is to be measured.
static void copy_picture_into(int which, bool measure) {
    glBindTexture(GL_TEXTURE_2D, gentle.texture[which]);
    if (gentle.mipmaps) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, measure ? GL_TRUE : GL_FALSE);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, app.picture_x, app.picture_y, gentle.width, gentle.height);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void gentle_pass(double seconds) {
    if (gentle.texture[0] == 0 || gentle.width != app.window_width || gentle.height != app.window_height)
        make_textures();
    if (gl_caps.active_texture) gl_caps.active_texture(GL_TEXTURE0_ARB);
    begin_flat_pixels();
    const int fresh = 1 - gentle.shown;
    copy_picture_into(fresh, true);
    measure_picture(fresh);
    gentle.limited = limit_flashes(gentle.limiter, seconds, gentle.cell_rgb.data(), gentle.corners.data());
    if (gentle.limited) {
        blend_last_picture();
        copy_picture_into(fresh, false);   // only its full-size picture is ever drawn again
    }
    gentle.shown = fresh;
    end_flat_pixels();
}

void reset_gentle_pass() {
    if (gentle.texture[0]) glDeleteTextures(2, gentle.texture);
    gentle.texture[0] = gentle.texture[1] = 0;
    gentle.width = gentle.height = 0;
    gentle.shown = 0;
    gentle.limited = false;
    gentle.limiter.started = false;
}

bool gentle_pass_limited() {
    return gentle.limited;
}
