// web/gl_layer_state.cpp - the GL layer's state calls: each records the value in the shadow
// and passes it on to the browser's emulation, so that glPushAttrib/glPopAttrib can save and
// set again the groups the show pushes. Values the emulation or WebGL refuse (GL_CLAMP,
// sized texture formats, hints, material emission) are translated here.
#include "web/gl_layer.h"
#include "web/gl_layer_state.h"
#include "web/gl_layer_math.h"
#include <emscripten.h>
#include <cstring>
#include <string>
#include <vector>

LayerState gl_shadow;

extern "C" {   // WebGL's own calls, which GL 1.x headers do not declare
void glClearDepthf(GLclampf depth);
void glGenerateMipmap(GLenum target);
}

EM_JS(void, web_set_material_emission, (float r, float g, float b, float a), {
    if (GLEmulation.materialEmission) GLEmulation.materialEmission.set([r, g, b, a]);
});

bool layer_texturing(int unit) { return gl_shadow.unit[unit].tex_2d || gl_shadow.unit[unit].tex_cube; }

static LayerUnit &unit_now() { return gl_shadow.unit[gl_shadow.active_unit & 1]; }

// Capabilities the layer answers itself (coordinate generation) or the browser lacks.
static bool layer_cap(GLenum cap, bool on) {
    LayerUnit &u = unit_now();
    switch (cap) {
    case GL_TEXTURE_GEN_S: u.gen[0] = on; return true;
    case GL_TEXTURE_GEN_T: u.gen[1] = on; return true;
    case GL_TEXTURE_GEN_R: u.gen[2] = on; return true;
    case GL_TEXTURE_GEN_Q: case GL_TEXTURE_1D: case GL_NORMALIZE: case GL_AUTO_NORMAL:
    case GL_LINE_SMOOTH: case GL_POLYGON_SMOOTH: case GL_POINT_SMOOTH: case GL_LINE_STIPPLE:
    case GL_COLOR_LOGIC_OP: case GL_COLOR_MATERIAL:
        return true;
    default:
        return false;
    }
}

void web_gl_enable(GLenum cap, bool on) {
    if (layer_cap(cap, on)) return;
    LayerState &s = gl_shadow;
    switch (cap) {
    case GL_BLEND: s.blend = on; break;
    case GL_DEPTH_TEST: s.depth_test = on; break;
    case GL_CULL_FACE: s.cull = on; break;
    case GL_FOG: s.fog = on; break;
    case GL_ALPHA_TEST: s.alpha_test = on; break;
    case GL_STENCIL_TEST: s.stencil = on; break;
    case GL_SCISSOR_TEST: s.scissor = on; break;
    case GL_LIGHTING: s.lighting = on; break;
    case GL_TEXTURE_2D: unit_now().tex_2d = on; break;
    case GL_TEXTURE_CUBE_MAP: unit_now().tex_cube = on; break;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + 8) s.lights[cap - GL_LIGHT0] = on;
        break;
    }
    if (on) glEnable(cap);
    else    glDisable(cap);
}

void web_gl_blend_func(GLenum src, GLenum dst) {
    gl_shadow.blend_src = src;
    gl_shadow.blend_dst = dst;
    glBlendFunc(src, dst);
}
void web_gl_depth_func(GLenum f) { gl_shadow.depth_func = f; glDepthFunc(f); }
void web_gl_depth_mask(GLboolean on) { gl_shadow.depth_mask = on; glDepthMask(on); }
void web_gl_cull_face(GLenum face) { gl_shadow.cull_face = face; glCullFace(face); }
void web_gl_front_face(GLenum dir) { gl_shadow.front_face = dir; glFrontFace(dir); }
void web_gl_alpha_func(GLenum f, GLclampf ref) {
    gl_shadow.alpha_func = f;
    gl_shadow.alpha_ref = ref;
    glAlphaFunc(f, ref);
}
void web_gl_colour_mask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    const GLboolean m[4] = { r, g, b, a };
    std::memcpy(gl_shadow.colour_mask, m, sizeof m);
    glColorMask(r, g, b, GL_FALSE);   // the buffer's alpha stays 1 (web/window_web.cpp)
}
void web_gl_clear_colour(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    const float c[4] = { r, g, b, a };
    std::memcpy(gl_shadow.clear_colour, c, sizeof c);
    glClearColor(r, g, b, a);
}
void web_gl_clear_depth(GLclampd d) { gl_shadow.clear_depth = d; glClearDepthf(GLfloat(d)); }
void web_gl_viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    const GLint v[4] = { x, y, w, h };
    std::memcpy(gl_shadow.viewport, v, sizeof v);
    glViewport(x, y, w, h);
}
void web_gl_scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    const GLint v[4] = { x, y, w, h };
    std::memcpy(gl_shadow.scissor_box, v, sizeof v);
    glScissor(x, y, w, h);
}
void web_gl_stencil_func(GLenum f, GLint ref, GLuint mask) {
    gl_shadow.stencil_func = f;
    gl_shadow.stencil_ref = ref;
    gl_shadow.stencil_mask = mask;
    glStencilFunc(f, ref, mask);
}
void web_gl_stencil_op(GLenum fail, GLenum zfail, GLenum zpass) {
    const GLenum o[3] = { fail, zfail, zpass };
    std::memcpy(gl_shadow.stencil_ops, o, sizeof o);
    glStencilOp(fail, zfail, zpass);
}
void web_gl_line_width(GLfloat w) { gl_shadow.line_width = w; glLineWidth(w); }
void web_gl_matrix_mode(GLenum mode) { gl_shadow.matrix_mode = mode; glMatrixMode(mode); }

void web_gl_fog_f(GLenum pname, GLfloat v) {
    switch (pname) {
    case GL_FOG_MODE: gl_shadow.fog_mode = v; glFogi(pname, GLint(v)); return;
    case GL_FOG_DENSITY: gl_shadow.fog_density = v; break;
    case GL_FOG_START: gl_shadow.fog_start = v; break;
    case GL_FOG_END: gl_shadow.fog_end = v; break;
    default: return;
    }
    glFogf(pname, v);
}
void web_gl_fog_fv(GLenum pname, const GLfloat *v) {
    if (pname == GL_FOG_COLOR) {
        std::memcpy(gl_shadow.fog_colour, v, 4 * sizeof(float));
        glFogfv(pname, v);
    } else {
        web_gl_fog_f(pname, v[0]);
    }
}

void web_gl_material_fv(GLenum face, GLenum pname, const GLfloat *v) {
    int slot = -1;
    switch (pname) {
    case GL_AMBIENT: slot = 0; break;
    case GL_DIFFUSE: slot = 1; break;
    case GL_SPECULAR: slot = 2; break;
    case GL_EMISSION: slot = 3; break;
    case GL_SHININESS: slot = 4; break;
    default: return;
    }
    std::memcpy(gl_shadow.material[slot], v, (slot == 4 ? 1 : 4) * sizeof(float));
    if (slot == 3) web_set_material_emission(v[0], v[1], v[2], v[3]);
    else           glMaterialfv(face == GL_FRONT_AND_BACK || face == GL_FRONT ? face : GL_FRONT, pname, v);
}

void web_gl_tex_env_i(GLenum target, GLenum pname, GLint v) {
    static const GLenum names[6] = { GL_TEXTURE_ENV_MODE, GL_COMBINE_RGB, GL_SOURCE0_RGB, GL_OPERAND0_RGB,
                                     GL_SOURCE1_RGB, GL_OPERAND1_RGB };
    for (int i = 0; i < 6; i++)
        if (names[i] == pname) unit_now().env[i] = v;
    glTexEnvi(target, pname, v);
}
void web_gl_tex_env_fv(GLenum target, GLenum pname, const GLfloat *v) {
    if (pname == GL_TEXTURE_ENV_COLOR) std::memcpy(unit_now().env_colour, v, 4 * sizeof(float));
    glTexEnvfv(target, pname, v);
}

void web_gl_active_texture(GLenum unit) {
    gl_shadow.active_unit = int(unit - GL_TEXTURE0) & 1;
    glActiveTexture(unit);
}
void web_gl_multi_tex_coord_2f(GLenum, GLfloat, GLfloat) {}

void web_gl_bind_texture(GLenum target, GLuint id) {
    if (target == GL_TEXTURE_CUBE_MAP) unit_now().bound_cube = id;
    else                               unit_now().bound_2d = id;
    glBindTexture(target, id);
}

void web_gl_tex_parameter_i(GLenum target, GLenum pname, GLint v) {
    if (v == GL_CLAMP) v = GL_CLAMP_TO_EDGE;   // WebGL has edge clamping only
    glTexParameteri(target, pname, v);
}

void web_gl_tex_image_2d(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                         GLenum format, GLenum type, const void *pixels) {
    if (internal == GL_RGBA8 || internal == 4) internal = GL_RGBA;   // WebGL 1 takes unsized formats only
    if (internal == GL_RGB8 || internal == 3) internal = GL_RGB;
    glTexImage2D(target, level, internal, w, h, border, format, type, pixels);
}

GLint web_glu_build_2d_mipmaps(GLenum target, GLint internal, GLsizei w, GLsizei h, GLenum format,
                               GLenum type, const void *pixels) {
    web_gl_tex_image_2d(target, 0, internal, w, h, 0, format, type, pixels);
    const bool power_of_two = w > 0 && h > 0 && !(w & (w - 1)) && !(h & (h - 1));
    if (!power_of_two) return 0;   // WebGL 1 takes mipmaps of such sizes only
    const int components = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0;
    if (type != GL_UNSIGNED_BYTE || components == 0) {
        glGenerateMipmap(target);
        return 0;
    }
    // The levels are averaged here as natively rather than by the browser, whose filter
    // rounds differently and shifts every minified surface by a few levels.
    std::vector<unsigned char> level(static_cast<const unsigned char *>(pixels),
                                     static_cast<const unsigned char *>(pixels) + size_t(w) * h * components),
                               smaller;
    for (int n = 1; w > 1 || h > 1; n++) {
        halve_image(level, w, h, components, smaller);
        level.swap(smaller);
        web_gl_tex_image_2d(target, n, internal, w, h, 0, format, type, level.data());
    }
    return 0;
}

const GLubyte *web_gl_get_string(GLenum name) {
    if (name != GL_EXTENSIONS) return glGetString(name);
    // The emulation combines textures as GL_ARB_texture_env_combine describes, under another name.
    static std::string extensions;
    if (extensions.empty())
        extensions = std::string(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS))) +
                     " GL_ARB_texture_env_combine";
    return reinterpret_cast<const GLubyte *>(extensions.c_str());
}

void web_gl_get_floatv(GLenum pname, GLfloat *v) {
    if (pname == GL_COLOR_CLEAR_VALUE) std::memcpy(v, gl_shadow.clear_colour, 4 * sizeof(float));
    else                               glGetFloatv(pname, v);
}

void web_glu_perspective(GLdouble fovy, GLdouble aspect, GLdouble near_plane, GLdouble far_plane) {
    float m[16];
    perspective_matrix(fovy, aspect, near_plane, far_plane, m);
    glMultMatrixf(m);
}

void web_glu_look_at(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
                     GLdouble ux, GLdouble uy, GLdouble uz) {
    const double eye[3] = { ex, ey, ez }, centre[3] = { cx, cy, cz }, up[3] = { ux, uy, uz };
    float m[16];
    look_at_matrix(eye, centre, up, m);
    glMultMatrixf(m);
}

void web_gl_ignored() {}
