// post/quad.cpp - the full-screen quad every 2D pass is made of, and the common post state.
// The quad spans -1..1 in both axes of the flat view at depth near plane + 0.001, with
// texture coordinates 0..1 (the screen texture's matrix maps them onto the copied corner).
#include "post/filters.h"
#include "platform/gl_caps.h"            // Required for: gl_caps.texture_clamp_mode
#include "render/render_state.h"    // Required for: render.view.near_plane
#include <GL/gl.h>

float quad_max_s() { return 1.0f; }
float quad_max_t() { return 1.0f; }
float quad_depth() { return render.view.near_plane + 0.001f; }

void draw_screen_quad(float dx, float dy) {
    const float z = quad_depth(), s = quad_max_s(), t = quad_max_t();
    if (render.fill.on) count_fill(FILL_PASS, viewport_pixels());
    glBegin(GL_POLYGON);
        glTexCoord2f(0, 0); glVertex3f(-1 + dx, -1 + dy, z);
        glTexCoord2f(s, 0); glVertex3f( 1 + dx, -1 + dy, z);
        glTexCoord2f(s, t); glVertex3f( 1 + dx,  1 + dy, z);
        glTexCoord2f(0, t); glVertex3f(-1 + dx,  1 + dy, z);
    glEnd();
}

void draw_screen_quad_flipped() {
    const float z = quad_depth();
    if (render.fill.on) count_fill(FILL_PASS, viewport_pixels());
    glBegin(GL_POLYGON);
        glTexCoord2f(0, 1); glVertex3f(-1, -1, z);
        glTexCoord2f(1, 1); glVertex3f( 1, -1, z);
        glTexCoord2f(1, 0); glVertex3f( 1,  1, z);
        glTexCoord2f(0, 0); glVertex3f(-1,  1, z);
    glEnd();
}

void set_post_state() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(gl_caps.texture_clamp_mode));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(gl_caps.texture_clamp_mode));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
