// post/final_passes.cpp - film grain, the ripple over the whole window and the beat flash.
// The film pass draws two layers of the noise texture at random offsets, one added and one
// subtracted, so the grain both brightens and dims, then multiplies the picture by the stripe
// mask that keeps one colour channel per texel column. The band sums make both wobbles
// dance with the music: treble and bass in the film pass, bass and the middles in the ripple.
#include "post/final_passes.h"
#include "post/filters.h"            // Required for: wobble_split/spread, draw_screen_quad_flipped
#include "audio/spectrum.h"           // Required for: spectrum.band_sums
#include "precalc/resources.h"       // Required for: res.grain_texture, res.stripe_texture
#include "render/math.h"             // Required for: random_int(), clamp01(), PI
#include "render/render_state.h"     // Required for: set_ortho_view()
#include <GL/gl.h>
#include <cmath>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void flat_no_tests() {
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

// The grain texture bound with its matrix moved to a random place.
static void bind_grain_at_random() {
    bind_texture(res.grain_texture, 0);
    const int r1 = random_int();
    const int r2 = random_int();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(float(r2) / 32768.0f, float(r1) / 32768.0f, 0);
    glMatrixMode(GL_MODELVIEW);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void film_row_offsets(const float bands[4], float rows[FINAL_PASS_ROWS]) {
    for (int p = 0; p < FINAL_PASS_ROWS; p++)
        rows[p] = float(bands[3] * std::sin(p * PI / 3.0) +
                        2.0 * bands[0] * std::sin(0.5 * std::sin(p / 78.941) + p / 128.0));
}

void ripple_row_offsets(const float bands[4], float rows[FINAL_PASS_ROWS]) {
    for (int p = 0; p < FINAL_PASS_ROWS; p++) {
        const double e = p / 128.0;
        double q = std::pow(e, 9.0);
        if (p > 112) {   // the top fifteen rows get a strong extra push
            const double f = p - 112, g = f / 16.0 + 0.3754;
            q += 2.0 * (0.1 * std::sin(f * PI / 3.0) + g * g * g);
        }
        rows[p] = float(std::sin(std::sin(0.8 * p) + 1.9 * p) * 0.0001 * p * bands[0] +
                        q * bands[1] * bands[2]);
    }
}

float beat_flash_level(float s, float rate, float decay) {
    return clamp01(1.0f - rate * std::fmod(s, 1.0f / rate) * decay);
}

void film_pass(const Texture *picture, float, float strength, float intensity, RenderFlags flags) {
    float rows[FINAL_PASS_ROWS];
    film_row_offsets(spectrum.band_sums, rows);
    wobble_split(picture, rows, 0.005f * strength, FINAL_PASS_ROWS, intensity,
                 RF_OFFSCREEN | RF_NO_DEPTH_TEST);

    set_ortho_view(flags | RF_OFFSCREEN);
    flat_no_tests();
    glDepthMask(GL_FALSE);

    const float g = strength / 4.0f;
    bind_grain_at_random();
    glColor4f(g, g, g, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    draw_screen_quad_flipped();

    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    bind_grain_at_random();
    draw_screen_quad_flipped();

    glColor4f(1, 1, 1, 1);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    flat_no_tests();
    bind_texture(res.stripe_texture, 0);
    draw_screen_quad_flipped();
}

void ripple_pass(const Texture *picture, float, float amplitude, float intensity) {
    float rows[FINAL_PASS_ROWS];
    ripple_row_offsets(spectrum.band_sums, rows);
    wobble_spread(picture, rows, amplitude, FINAL_PASS_ROWS, intensity, RF_NO_DEPTH_TEST);
}

void beat_flash(float s, float gain, float rate, float decay) {
    const float e = beat_flash_level(s, rate, decay);
    // Between flashes nothing is added to the colours (only to the window's alpha, which
    // no picture reads and the window is not asked to have).
    if (render.cuts && gain * e <= 0) return;
    set_ortho_view(0);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(gain * e, gain * e, gain * e, 1);
    const float z = quad_depth();
    if (render.fill.on) count_fill(FILL_PASS, viewport_pixels());
    glBegin(GL_POLYGON);
        glVertex3f(-1,  1, z);
        glVertex3f( 1,  1, z);
        glVertex3f( 1, -1, z);
        glVertex3f(-1, -1, z);
    glEnd();
}
