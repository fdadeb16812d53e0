// precalc/loading_screen.cpp - the picture shown while the precalc works.
// The lower half of the loading picture is revealed from the left as a progress bar:
// 37.5 % of the width at step 0, all of it at step 20. The upper half of the picture shows
// only during the first ten steps, after which that half of the screen stays black.
#include "precalc/precalc.h"
#include "render/render_state.h"   // Required for: reset_render_state(), set_ortho_view(), render.view
#include "platform/window.h"            // Required for: swap_frame()
#include <GL/gl.h>

PrecalcGlobals loading = { 0, -1 };

void draw_loading_frame(int step) {
    reset_render_state(BLACK_RGBA);
    set_ortho_view(0);
    bind_texture(res.loading_texture, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);

    const float z = render.view.near_plane + 0.001f;   // just inside the flat view's depth slab
    const float p = (step + 12) / 16.0f;
    glBegin(GL_QUADS);
        if (step < 10) {   // upper half of the picture: t = 0 at the top, 0.5 at the middle
            glTexCoord2f(0, 0.5f); glVertex3f(-1, 0, z);
            glTexCoord2f(1, 0.5f); glVertex3f(1, 0, z);
            glTexCoord2f(1, 0);    glVertex3f(1, 1, z);
            glTexCoord2f(0, 0);    glVertex3f(-1, 1, z);
        }
        // the bar: lower half of the picture, undistorted, p / 2 of its width
        glTexCoord2f(0, 1);        glVertex3f(-1, -1, z);
        glTexCoord2f(p / 2, 1);    glVertex3f(p - 1, -1, z);
        glTexCoord2f(p / 2, 0.5f); glVertex3f(p - 1, 0, z);
        glTexCoord2f(0, 0.5f);     glVertex3f(-1, 0, z);
    glEnd();
}

void draw_loading_screen(int step) {
    draw_loading_frame(step);
    swap_frame();
    loading.frames_shown++;
    loading.last_step = step;
}
