// post/blur.cpp - the soft passes: the glow pyramid, the separable box blur and the two
// zoom blurs. All of them filter by drawing shifted or scaled copies of a texture with
// additive blending; nothing is read back to main memory.
//
// The glow pyramid halves the picture level by level: each level is eight taps of the level
// above, set on a circle of `spread` texels of the smaller level, drawn into a viewport half
// the size and copied into the next texture. Stretched back over the view together, the
// small levels become wide soft halos around whatever is bright.
#include "post/filters.h"
#include "render/render_state.h"    // Required for: push/pop_render_state, set_ortho_view, render.view
#include "platform/settings.h"           // Required for: set_picture_viewport()
#include <GL/gl.h>
#include <GL/glu.h>                 // Required for: gluOrtho2D()
#include <cmath>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void clear_colour_transparent() {
    glClearColor(0, 0, 0, 0);
    clear_buffers(GL_COLOR_BUFFER_BIT);
}

// Post state with source bound in the mode of flags.
static void bind_post_source(const Texture *source, RenderFlags flags) {
    bind_texture(source, flags);
    set_post_state();
}

static void zoom_copies(const Texture *source, int copies, float step, float intensity,
                        RenderFlags flags, bool flash) {
    push_render_state();
        clear_colour_transparent();
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(-1, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (!(flags & RF_OFFSCREEN)) set_picture_viewport();
        bind_post_source(source, flags);

        glPushMatrix();
        for (int i = 0; i < copies; i++) {
            float c = intensity / float(i + 1);
            if (!flash) c = std::pow(c, 1.25f);
            glColor4f(c, c, c, 1);
            draw_screen_quad(0, 0);
            glScalef(step, step, 0);
        }
        glPopMatrix();

        if (flash) {
            // The few texels at the centre cover the view: the whole picture is lifted by them.
            glColor4f(1, 1, 1, 1);
            glPushMatrix();
            glScalef(128, 128, 1);
            draw_screen_quad(0, 0);
            glPopMatrix();
        }

        if (flags & RF_BLEND_ADD) {
            reset_render_state(nullptr);
            set_ortho_view(flags & 0xFFFF);
            bind_post_source(source, flags);
            glColor4f(1, 1, 1, 1);
            draw_screen_quad(0, 0);
        }
    pop_render_state();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void glow_chain_build(const TextureChain &chain, int contrast, float spread, const float tint[4]) {
    bind_texture(&chain.levels[0], 0);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
    count_fill(FILL_COPY, double(OFFSCREEN_WIDTH) * OFFSCREEN_HEIGHT);

    push_render_state();
        render.view.near_plane = 0.01f;
        render.view.far_plane = 100.0f;
        set_ortho_view(0);
        for (int i = 0; i + 1 < chain.count; i++) {
            const Texture &next = chain.levels[i + 1];
            const int w = OFFSCREEN_WIDTH >> (i + 1), h = OFFSCREEN_HEIGHT >> (i + 1);
            reset_render_state(BLACK_RGBA);   // wipes the whole window
            glViewport(0, 0, w, h);
            bind_texture(&chain.levels[i], TEX_CLAMP);
            glDisable(GL_LIGHTING);
            glDisable(GL_FOG);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_CULL_FACE);
            glDisable(GL_TEXTURE_GEN_S);
            glDisable(GL_TEXTURE_GEN_T);
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            if (i == 0) glColor4f(tint[0] * 0.125f, tint[1] * 0.125f, tint[2] * 0.125f, tint[3] * 0.125f);
            else        glColor4f(0.125f, 0.125f, 0.125f, 0.125f);
            for (int k = 0; k < 8; k++) {
                const double angle = k * 2.0 * 3.141592653589793 / 8.0;
                draw_screen_quad(float(std::sin(angle) * spread / next.width),
                                 float(std::cos(angle) * spread / next.height));
            }
            copy_frame_rect_to_texture(&next, w, h);

            if (i == 0 && contrast) {
                // Multiply the first small level by itself: bright parts stay, dim ones sink.
                bind_texture(&next, 0);
                glColor4f(1, 1, 1, 1);
                glBlendFunc(GL_ZERO, GL_SRC_COLOR);
                draw_screen_quad(0, 0);
                copy_frame_rect_to_texture(&next, w, h);
            }
        }
    pop_render_state();
}

void glow_chain_composite(const TextureChain &chain, float, RenderFlags flags) {
    push_render_state();
        reset_render_state((flags & RF_BLEND_ADD) ? nullptr : BLACK_RGBA);
        set_ortho_view(flags);
        for (int i = 0; i < chain.count; i++) {
            bind_texture(&chain.levels[i], TEX_CLAMP);
            apply_render_flags(flags | RF_NO_CULL | RF_NO_DEPTH_TEST | RF_BLEND_ADD);
            glColor4f(1, 1, 1, 1);
            draw_screen_quad(0, 0);
        }
    pop_render_state();
}

void blur_separable(const Texture *source, const Texture *scratch, int taps, float spread,
                    float gain, RenderFlags flags) {
    const RenderFlags v = flags | RF_OFFSCREEN;
    const float w = 0.5f / float(taps);
    push_render_state();
        set_ortho_view(v);
        clear_colour_transparent();
        bind_post_source(source, flags);
        glColor4f(w, w, w, w);
        for (int j = -taps; j < taps; j++)
            draw_screen_quad(spread * float(j) / OFFSCREEN_WIDTH, 0);

        // Only now may scratch be overwritten: source and scratch can be one texture.
        set_ortho_view(v);
        copy_frame_to_texture(scratch);

        clear_colour_transparent();
        bind_post_source(scratch, flags);
        glColor4f(gain * w, gain * w, gain * w, gain * w);
        for (int j = -taps; j < taps; j++)
            draw_screen_quad(0, spread * float(j) / OFFSCREEN_HEIGHT);

        if (flags & RF_BLEND_ADD) {
            reset_render_state(nullptr);
            set_ortho_view(v);
            bind_post_source(source, flags);
            glColor4f(1, 1, 1, 1);
            draw_screen_quad(0, 0);
        }
    pop_render_state();
}

void zoom_blur(const Texture *source, int copies, float step, float intensity, RenderFlags flags) {
    zoom_copies(source, copies, step, intensity, flags, false);
}

void zoom_blur_flash(const Texture *source, int copies, float step, float intensity,
                     RenderFlags flags) {
    zoom_copies(source, copies, step, intensity, flags, true);
}
