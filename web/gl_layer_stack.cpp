// web/gl_layer_stack.cpp - glPushAttrib and glPopAttrib over the layer's shadow state: a push
// keeps a copy, a pop sets every value of the pushed groups again through the layer's own
// state calls (so the shadow and the emulation agree afterwards).
#include "web/gl_layer.h"
#include "web/gl_layer_state.h"
#include <vector>

struct SavedState {
    GLbitfield mask;
    LayerState state;
};
static std::vector<SavedState> attribute_stack;

void web_gl_push_attrib(GLbitfield mask) { attribute_stack.push_back({ mask, gl_shadow }); }

static void set_enables(const LayerState &s, GLbitfield mask) {
    if (mask & (GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT)) {
        if (s.blend) glEnable(GL_BLEND); else glDisable(GL_BLEND);   // through the layer's own calls
        if (s.alpha_test) glEnable(GL_ALPHA_TEST); else glDisable(GL_ALPHA_TEST);
    }
    if (mask & (GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT)) {
        if (s.depth_test) glEnable(GL_DEPTH_TEST); else glDisable(GL_DEPTH_TEST);
    }
    if (mask & (GL_ENABLE_BIT | GL_POLYGON_BIT)) {
        if (s.cull) glEnable(GL_CULL_FACE); else glDisable(GL_CULL_FACE);
    }
    if (mask & (GL_ENABLE_BIT | GL_FOG_BIT)) {
        if (s.fog) glEnable(GL_FOG); else glDisable(GL_FOG);
    }
    if (mask & (GL_ENABLE_BIT | GL_LIGHTING_BIT)) {
        if (s.lighting) glEnable(GL_LIGHTING); else glDisable(GL_LIGHTING);
        for (int i = 0; i < 8; i++) {
            if (s.lights[i]) glEnable(GL_LIGHT0 + i); else glDisable(GL_LIGHT0 + i);
        }
    }
    if (mask & (GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT)) {
        if (s.stencil) glEnable(GL_STENCIL_TEST); else glDisable(GL_STENCIL_TEST);
    }
    if (mask & (GL_ENABLE_BIT | GL_SCISSOR_BIT)) {
        if (s.scissor) glEnable(GL_SCISSOR_TEST); else glDisable(GL_SCISSOR_TEST);
    }
}

// Each unit's targets and generated coordinates (enable group), bindings and combiners (texture group).
static void set_units(const LayerState &s, GLbitfield mask) {
    const int active = gl_shadow.active_unit;
    for (int i = 0; i < 2; i++) {
        const LayerUnit &u = s.unit[i];
        web_gl_active_texture(GL_TEXTURE0 + i);
        if (mask & GL_TEXTURE_BIT) {
            glBindTexture(GL_TEXTURE_2D, u.bound_2d);
            glBindTexture(GL_TEXTURE_CUBE_MAP, u.bound_cube);
            static const GLenum names[6] = { GL_TEXTURE_ENV_MODE, GL_COMBINE_RGB, GL_SOURCE0_RGB,
                                             GL_OPERAND0_RGB, GL_SOURCE1_RGB, GL_OPERAND1_RGB };
            for (int k = 0; k < 6; k++) glTexEnvi(GL_TEXTURE_ENV, names[k], u.env[k]);
            glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, u.env_colour);
            LayerUnit &now = gl_shadow.unit[i];
            for (int c = 0; c < 3; c++) {
                now.gen_mode[c] = u.gen_mode[c];
                for (int k = 0; k < 4; k++) now.object_plane[c][k] = u.object_plane[c][k];
            }
        }
        if (mask & (GL_TEXTURE_BIT | GL_ENABLE_BIT)) {
            if (u.tex_2d) glEnable(GL_TEXTURE_2D); else glDisable(GL_TEXTURE_2D);
            if (u.tex_cube) glEnable(GL_TEXTURE_CUBE_MAP); else glDisable(GL_TEXTURE_CUBE_MAP);
            for (int c = 0; c < 3; c++) gl_shadow.unit[i].gen[c] = u.gen[c];
        }
    }
    web_gl_active_texture(GL_TEXTURE0 + ((mask & GL_TEXTURE_BIT) ? s.active_unit : active));
}

void web_gl_pop_attrib() {
    if (attribute_stack.empty()) return;
    const SavedState saved = attribute_stack.back();
    attribute_stack.pop_back();
    const LayerState &s = saved.state;
    const GLbitfield mask = saved.mask;
    set_enables(s, mask);
    if (mask & GL_COLOR_BUFFER_BIT) {
        glBlendFunc(s.blend_src, s.blend_dst);
        glAlphaFunc(s.alpha_func, s.alpha_ref);
        glColorMask(s.colour_mask[0], s.colour_mask[1], s.colour_mask[2], s.colour_mask[3]);
        glClearColor(s.clear_colour[0], s.clear_colour[1], s.clear_colour[2], s.clear_colour[3]);
    }
    if (mask & GL_DEPTH_BUFFER_BIT) {
        glDepthFunc(s.depth_func);
        glDepthMask(s.depth_mask);
        glClearDepth(s.clear_depth);
    }
    if (mask & GL_POLYGON_BIT) {
        glCullFace(s.cull_face);
        glFrontFace(s.front_face);
    }
    if (mask & GL_CURRENT_BIT) {
        glColor4fv(s.colour);
        glNormal3fv(s.normal);
        web_gl_texcoord3f(s.texcoord[0], s.texcoord[1], s.texcoord[2]);
    }
    if (mask & GL_FOG_BIT) {
        glFogi(GL_FOG_MODE, GLint(s.fog_mode));
        glFogf(GL_FOG_DENSITY, s.fog_density);
        glFogf(GL_FOG_START, s.fog_start);
        glFogf(GL_FOG_END, s.fog_end);
        glFogfv(GL_FOG_COLOR, s.fog_colour);
    }
    if (mask & GL_LIGHTING_BIT) {
        static const GLenum names[5] = { GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION, GL_SHININESS };
        for (int k = 0; k < 5; k++) glMaterialfv(GL_FRONT_AND_BACK, names[k], s.material[k]);
    }
    if (mask & (GL_TEXTURE_BIT | GL_ENABLE_BIT)) set_units(s, mask);
    if (mask & GL_VIEWPORT_BIT) glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    if (mask & GL_SCISSOR_BIT) glScissor(s.scissor_box[0], s.scissor_box[1], s.scissor_box[2], s.scissor_box[3]);
    if (mask & GL_STENCIL_BUFFER_BIT) {
        glStencilFunc(s.stencil_func, s.stencil_ref, s.stencil_mask);
        glStencilOp(s.stencil_ops[0], s.stencil_ops[1], s.stencil_ops[2]);
    }
    if (mask & GL_LINE_BIT) glLineWidth(s.line_width);
    if (mask & GL_TRANSFORM_BIT) glMatrixMode(s.matrix_mode);
}
