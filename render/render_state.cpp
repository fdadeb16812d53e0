// render/render_state.cpp - the show's default pipeline state, the per-draw RenderFlags,
// the two view set-ups and fog. Nothing here remembers GL state: every call sets what it
// owns outright, so a scene's picture never depends on what the previous scene left behind
// (except the blend function, which push/pop deliberately does not save).
#include "render/render_state.h"
#include "platform/gl_caps.h"     // Required for: gl_caps.cube_map_supported
#include "platform/settings.h"    // Required for: set_picture_viewport(), app.show_started
#include <GL/gl.h>
#include <GL/glu.h>          // Required for: gluPerspective(), gluLookAt()

RenderGlobals render = {
    { { 0, 1, 0 }, 0.1f, 1000.0f, { 0, 0 } },
    { 0, 0 },
    0,
    { false, {}, {} },
    true,
    false,
};

// Attribute groups push_render_state saves: everything a draw may change except the
// colour-buffer, line, transform, evaluator and scissor groups.
constexpr GLbitfield PUSHED_ATTRIBUTES = GL_CURRENT_BIT | GL_POINT_BIT | GL_POLYGON_BIT |
    GL_POLYGON_STIPPLE_BIT | GL_PIXEL_MODE_BIT | GL_LIGHTING_BIT | GL_FOG_BIT |
    GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_VIEWPORT_BIT |
    GL_ENABLE_BIT | GL_HINT_BIT | GL_LIST_BIT | GL_TEXTURE_BIT;   // == 0x6AFFB
static_assert(PUSHED_ATTRIBUTES == 0x6AFFB);

static void set_material_defaults() {
    const float ambient[4]  = { 0, 0, 0, 1 };
    const float diffuse[4]  = { 0.8f, 0.8f, 0.8f, 1 };
    const float specular[4] = { 0, 0, 0, 1 };
    const float emission[4] = { 0, 0, 0, 1 };
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
}

void reset_render_state(const float *clear_rgba) {
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_TEXTURE_GEN_Q);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0);
    const GLenum off[] = { GL_COLOR_MATERIAL, GL_DITHER, GL_LINE_SMOOTH, GL_POLYGON_SMOOTH,
                           GL_POINT_SMOOTH, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_LINE_STIPPLE,
                           GL_COLOR_LOGIC_OP };
    for (GLenum cap : off) glDisable(cap);
    for (int i = 0; i < 6; i++) glDisable(GL_CLIP_PLANE0 + i);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glColor4f(1, 1, 1, 1);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    set_material_defaults();
    if (gl_caps.cube_map_supported) glDisable(GL_TEXTURE_CUBE_MAP_ARB);

    // The first resets after the show starts wipe the whole window, borders included.
    if (app.show_started == 1) {
        if (render.startup_wipes++ < 8) {
            set_picture_viewport();
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    if (clear_rgba) {
        glClearColor(clear_rgba[0], clear_rgba[1], clear_rgba[2], clear_rgba[3]);
        glClearDepth(1.0);
        clear_buffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    render.drawn.faces = 0;
    render.drawn.vertices = 0;
    render.view.offset[0] = render.view.offset[1] = 0;
    render.view.up[0] = 0;
    render.view.up[1] = 1;
    render.view.up[2] = 0;
    render.view.near_plane = 0.1f;
    render.view.far_plane = 1000.0f;
}

void apply_render_flags(RenderFlags flags) {
    const RenderFlags f = flags & RENDER_FLAGS_MASK;

    if (f & RF_NO_CULL) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace((f & RF_CULL_FRONT) ? GL_FRONT : GL_BACK);
    }

    if (f & RF_NO_DEPTH_TEST) {
        glDisable(GL_DEPTH_TEST);
        glDepthMask(GL_FALSE);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthMask((f & RF_NO_DEPTH_WRITE) ? GL_FALSE : GL_TRUE);
    }

    apply_blend_flags(f);

    // NOTE: nothing here turns the stencil test off again; pop_render_state does.
    if (f & RF_STENCIL_MARK) {
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 1, 0xFFFFFFFFu);
        glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    }
}

void apply_blend_flags(RenderFlags f) {
    // The first blend bit in this order wins; a blended draw also passes equal depths.
    static const struct { RenderFlags bit; GLenum src, dst; } blends[] = {
        { RF_BLEND_ADD,      GL_ONE,       GL_ONE },
        { RF_BLEND_DARKEN,   GL_ZERO,      GL_ONE_MINUS_SRC_COLOR },
        { RF_BLEND_MULTIPLY, GL_ZERO,      GL_SRC_COLOR },
        { RF_BLEND_ALPHA,    GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA },
        { RF_BLEND_SCREEN,   GL_ONE,       GL_ONE_MINUS_SRC_COLOR },
    };
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    for (const auto &b : blends) {
        if (f & b.bit) {
            glEnable(GL_BLEND);
            glBlendFunc(b.src, b.dst);
            glDepthFunc(GL_LEQUAL);
            break;
        }
    }
}

void push_render_state() {
    glPushAttrib(PUSHED_ATTRIBUTES);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void pop_render_state() {
    glPopAttrib();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

static void set_view_viewport(RenderFlags flags) {
    if (flags & RF_OFFSCREEN)
        glViewport(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
    else
        set_picture_viewport();
}

void set_ortho_view(RenderFlags flags) {
    set_view_viewport(flags);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Eye-space z from +near to +far is visible: 2D passes draw at z = near + 0.001.
    glOrtho(-1, 1, -1, 1, -render.view.near_plane, -render.view.far_plane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_perspective(float fov_deg, RenderFlags flags) {
    set_view_viewport(flags);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(render.view.offset[0], render.view.offset[1], 0);
    gluPerspective(fov_deg, 1.2, render.view.near_plane, render.view.far_plane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_camera(const CameraKey &cam, const float target[3], RenderFlags flags) {
    set_perspective(cam.fov == 0.0f ? 90.0f : cam.fov, flags);
    gluLookAt(cam.x, cam.y, cam.z, target[0], target[1], target[2],
              render.view.up[0], render.view.up[1], render.view.up[2]);
}

void set_fog(const float rgba[4], float start, float end) {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_DENSITY, 1.0f);
    glFogfv(GL_FOG_COLOR, rgba);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
}

// The area a clear covers now: the window, or the scissor box.
static double cleared_pixels() {
    if (!glIsEnabled(GL_SCISSOR_TEST)) return double(app.drawable_width) * double(app.drawable_height);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    return double(box[2]) * double(box[3]);
}

void count_fill(FillKind kind, double pixels) {
    if (!render.fill.on) return;
    render.fill.pixels[kind] += pixels;
    render.fill.calls[kind]++;
}

double viewport_pixels() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return double(v[2]) * double(v[3]);
}

// While a frame is drawn in the offscreen corner, the rest of the window is never read
// before the final passes clear it whole: a clear may stop at the corner. The driver then
// clears a third of a 640x480 window, and less of a larger one.
void clear_buffers(unsigned mask) {
    const bool corner = render.cuts && render.clears_in_corner && !glIsEnabled(GL_SCISSOR_TEST);
    if (corner) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
    }
    glClear(mask);
    if (render.fill.on) count_fill(FILL_CLEAR, cleared_pixels());
    if (corner) glDisable(GL_SCISSOR_TEST);
}

