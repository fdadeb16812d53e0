// post/gentle_pass.cpp - measuring the finished picture on a coarse grid and blending the
// last shown picture over it where a flash would be one too many.
// The picture is read back once and each cell's light averaged on the CPU from a regular
// lattice of its pixels. Two window-sized textures take turns: one holds the picture shown
// last, the other takes the new frame. When nothing is blended the new frame is what was
// shown, so the two simply swap; after a blend the blended picture is copied in instead.
#include "post/gentle_pass.h"
#include "post/flash_limit.h"      // Required for: limit_flashes(), GENTLE_COLS/ROWS, mean_linear_cells()
#include "platform/gl_caps.h"      // Required for: gl_caps.active_texture, has_gl_extension()
#include "platform/settings.h"     // Required for: app, next_power_of_two(), set_picture_viewport()
#include <GL/gl.h>
#include <GL/glext.h>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
// Each cell is averaged in linear light (averaging display levels would hide a bright patch
// covering part of a cell: half a cell of white would read as a fifth of its light) over at
// most SAMPLES x SAMPLES of its pixels, evenly spaced, so that big windows cost no more.
constexpr int SAMPLES = 10;

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    GLuint texture[2];          // window-sized copies of the picture, 0 before the first frame
    int    tex_width, tex_height;   // their allocated size (powers of two)
    int    width, height;       // the picture size they were made for
    int    shown;               // which texture holds the picture shown last
    bool   limited;             // the last frame blended anything
    FlashLimiter limiter;       // what was shown, cell by cell
    std::vector<unsigned char> pixels;  // the picture read back, RGBA
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
    // Textures of the picture's own size where the driver takes them.
    const bool any_size = has_gl_extension("GL_ARB_texture_non_power_of_two");
    gentle.tex_width = any_size ? gentle.width : next_power_of_two(gentle.width);
    gentle.tex_height = any_size ? gentle.height : next_power_of_two(gentle.height);
    const std::vector<unsigned char> black(size_t(gentle.tex_width) * gentle.tex_height * 3, 0);
    glGenTextures(2, gentle.texture);
    for (GLuint id : gentle.texture) {
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(gl_caps.texture_clamp_mode));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(gl_caps.texture_clamp_mode));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, gentle.tex_width, gentle.tex_height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, black.data());
    }
    start_flash_limiter(gentle.limiter, GENTLE_COLS, GENTLE_ROWS);
    gentle.pixels.resize(size_t(gentle.width) * gentle.height * 4);
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

// The new picture's light per cell, as the display colour of that light.
static void measure_picture() {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(app.picture_x, app.picture_y, gentle.width, gentle.height, GL_RGBA, GL_UNSIGNED_BYTE,
                 gentle.pixels.data());
    mean_linear_cells(gentle.pixels.data(), 4, gentle.width, gentle.height, GENTLE_COLS, GENTLE_ROWS, SAMPLES,
                      gentle.cell_rgb.data());
    for (float &c : gentle.cell_rgb) c = linear_to_srgb(c);
}

// The last shown picture over the new one, each grid corner with its own weight.
static void blend_last_picture() {
    glBindTexture(GL_TEXTURE_2D, gentle.texture[gentle.shown]);
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

// The picture into a texture.
static void copy_picture_into(int which) {
    glBindTexture(GL_TEXTURE_2D, gentle.texture[which]);
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
    measure_picture();
    gentle.limited = limit_flashes(gentle.limiter, seconds, gentle.cell_rgb.data(), gentle.corners.data());
    if (gentle.limited) blend_last_picture();
    copy_picture_into(fresh);   // what is shown now, for the next frame's blend
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
