// post/sprites.cpp - camera-facing squares, one immediate-mode polygon each, grouped so
// that all sprites sharing a texture are drawn under one bind.
// The modelview's first two rows are the camera's right and up directions in the
// coordinates the positions are given in, so a camera rolled about its view axis rolls
// the squares with it and they always stay aligned with the screen.
#include "post/sprites.h"
#include "render/render_state.h"   // Required for: push/pop_render_state(), apply_render_flags(), render.drawn
#include <GL/gl.h>

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void draw_sprites(const float *positions, const float *intensities, int n, Texture *const *textures,
                  int m, float half_size, float brightness, RenderFlags flags) {
    push_render_state();
        apply_render_flags(flags);
        float mv[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, mv);
        const float h = half_size;
        const float R[3] = { h * mv[0], h * mv[4], h * mv[8] };   // right, scaled by the half size
        const float U[3] = { h * mv[1], h * mv[5], h * mv[9] };   // up
        glDisable(GL_FOG);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);

        for (int k = 0; k < m; k++) {
            bind_texture(textures[k], flags | TEX_CLAMP);
            for (int j = k; j < n; j += m) {
                const float v = intensities ? brightness * intensities[j] : brightness;
                const float *p = &positions[j * 3];
                glColor4f(v, v, v, v);
                glBegin(GL_POLYGON);
                    glTexCoord2f(0, 0);
                    glVertex3f(p[0] - R[0] - U[0], p[1] - R[1] - U[1], p[2] - R[2] - U[2]);
                    glTexCoord2f(1, 0);
                    glVertex3f(p[0] + R[0] - U[0], p[1] + R[1] - U[1], p[2] + R[2] - U[2]);
                    glTexCoord2f(1, 1);
                    glVertex3f(p[0] + R[0] + U[0], p[1] + R[1] + U[1], p[2] + R[2] + U[2]);
                    glTexCoord2f(0, 1);
                    glVertex3f(p[0] - R[0] + U[0], p[1] - R[1] + U[1], p[2] - R[2] + U[2]);
                glEnd();
            }
        }
        render.drawn.faces += 2 * n;
        render.drawn.vertices += 4 * n;
    pop_render_state();
}
