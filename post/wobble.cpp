// post/wobble.cpp - the two row wobbles: the picture redrawn once per colour channel, each
// channel a triangle strip whose rows slide sideways by a per-row offset. Where the offsets
// are zero the three channels add back to the picture; where they are not, the channels
// part into red and blue fringes. Used by the film pass (split) and the ripple pass (spread).
#include "post/filters.h"
#include "render/render_state.h"    // Required for: push/pop_render_state, set_ortho_view
#include <GL/gl.h>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// One strip with a vertex pair per row, row i shifted by scale x amplitude x offsets[i].
// NOTE: the last pair sits at y = 1 - 2/rows, so the top band gets nothing from a strip.
static void draw_row_strip(const float *offsets, float amplitude, float scale, int rows) {
    const float z = quad_depth(), s = quad_max_s(), t = quad_max_t();
    if (render.fill.on) count_fill(FILL_PASS, viewport_pixels());
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < rows; i++) {
        const float d = scale * amplitude * offsets[i];
        const float y = 2.0f * float(i) / float(rows) - 1.0f;
        const float v = t * float(i) / float(rows);
        glTexCoord2f(0, v); glVertex3f(d - 1, y, z);
        glTexCoord2f(s, v); glVertex3f(d + 1, y, z);
    }
    glEnd();
}

static void begin_wobble(const Texture *source, RenderFlags flags) {
    set_ortho_view(flags & 0xFFFF);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_FOG);
    bind_texture(source, flags);
    set_post_state();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void wobble_split(const Texture *source, const float *offsets, float amplitude, int rows,
                  float intensity, RenderFlags flags) {
    push_render_state();
        glClearColor(0, 0, 0, 0);
        glClearDepth(0);
        clear_buffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        begin_wobble(source, flags);
        glColor4f(intensity, 0, 0, 1);
        draw_row_strip(offsets, amplitude, 1.0f, rows);
        glColor4f(0, intensity, 0, 1);
        draw_screen_quad(0, 0);
        glColor4f(0, 0, intensity, 1);
        draw_row_strip(offsets, amplitude, -1.0f, rows);
    pop_render_state();
}

void wobble_spread(const Texture *source, const float *offsets, float amplitude, int rows,
                   float intensity, RenderFlags flags) {
    push_render_state();
        reset_render_state(BLACK_RGBA);
        begin_wobble(source, flags);
        glColor4f(intensity, 0, 0, 1);
        draw_row_strip(offsets, amplitude, 1.0f, rows);
        glColor4f(0, intensity, 0, 1);
        draw_row_strip(offsets, amplitude, 1.5f, rows);
        glColor4f(0, 0, intensity, 1);
        draw_row_strip(offsets, amplitude, 2.0f, rows);
    pop_render_state();
}
