// post/layers.cpp - whole textures laid over the view: the transformed layer that shows the
// title and end pictures, the plain layer in a chosen blend mode, and the two mixes of a
// pair of screen textures that every cross-fade of the timeline goes through.
#include "post/filters.h"
#include "render/render_state.h"    // Required for: push/pop_render_state, set_ortho_view, apply_render_flags
#include <GL/gl.h>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void flat_unlit_untested() {
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

static bool clear_colour_is_zero() {
    float c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    return c[0] == 0 && c[1] == 0 && c[2] == 0 && c[3] == 0;
}

// The same picture as draw_pair with less work: a layer at weight 0 (vertex colours clamp
// at 0) adds nothing, and over a zero base the first layer drawn may simply replace what
// is there. In the offscreen corner nothing outside the viewport is read before the window
// is cleared again, so no clear is needed. Returns false where this does not apply.
static bool draw_pair_lean(const Texture *first, float weight1, const Texture *second, float weight2,
                           RenderFlags flags, bool blend_first) {
    const bool draw_first = weight1 > 0, draw_second = weight2 > 0;
    if (!render.cuts || !(flags & RF_OFFSCREEN) || !(draw_first || draw_second)) return false;
    // A cross-fade's first layer replaces the clear; a mix adds to it, so it must be zero.
    if (blend_first && !clear_colour_is_zero()) return false;
    push_render_state();
        set_ortho_view(flags);
        flat_unlit_untested();
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        if (draw_first) {
            glColor4f(weight1, weight1, weight1, weight1);
            bind_texture(first, flags);
            draw_screen_quad(0, 0);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
        }
        if (draw_second) {
            bind_texture(second, flags);
            glColor4f(weight2, weight2, weight2, weight2);
            draw_screen_quad(0, 0);
        }
    pop_render_state();
    return true;
}

// Clears, then draws first x weight1 and, added on top, second x weight2.
static void draw_pair(const Texture *first, float weight1, const Texture *second, float weight2,
                      RenderFlags flags, bool blend_first) {
    if (draw_pair_lean(first, weight1, second, weight2, flags, blend_first)) return;
    push_render_state();
        set_ortho_view(flags);
        clear_buffers(GL_COLOR_BUFFER_BIT);
        flat_unlit_untested();
        glEnable(GL_TEXTURE_2D);
        if (blend_first) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
        } else {
            glDisable(GL_BLEND);
        }
        glColor4f(weight1, weight1, weight1, weight1);
        bind_texture(first, flags);
        draw_screen_quad(0, 0);

        bind_texture(second, flags);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glColor4f(weight2, weight2, weight2, weight2);
        draw_screen_quad(0, 0);
    pop_render_state();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void draw_layer_transformed(const Texture *tex, float shift_u, float shift_v, float zoom,
                            float scale_u, float scale_v, float angle_deg, float intensity,
                            RenderFlags flags) {
    push_render_state();
        bind_texture(tex, flags);
        apply_render_flags(flags);
        set_ortho_view(flags);
        // Replaces the bind's scale: the layer addresses the whole texture.
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(shift_u, shift_v, 0);
        glTranslatef(0.5f, 0.5f, 0);
        glScalef(scale_u / zoom, scale_v / zoom, 1);
        glRotatef(angle_deg, 0, 0, 1);
        glTranslatef(-0.5f, -0.5f, 0);
        glMatrixMode(GL_MODELVIEW);
        flat_unlit_untested();
        glColor4f(intensity, intensity, intensity, intensity);
        draw_screen_quad_flipped();
    pop_render_state();
}

void draw_layer(const Texture *tex, float intensity, RenderFlags flags) {
    push_render_state();
        apply_blend_flags(flags);
        set_ortho_view(flags);
        bind_texture(tex, flags);
        flat_unlit_untested();
        glColor4f(intensity, intensity, intensity, intensity);
        draw_screen_quad(0, 0);
    pop_render_state();
}

void crossfade(const Texture *first, const Texture *second, float mix, RenderFlags flags) {
    draw_pair(first, 1.0f - mix, second, mix, flags, false);
}

void mix_add(const Texture *first, float weight1, const Texture *second, float weight2,
             RenderFlags flags) {
    draw_pair(first, weight1, second, weight2, flags, true);
}
