// web/gl_layer_state.h - the shadow of the GL state the show sets, kept by the browser
// build's GL layer: what glPushAttrib saves, and what the draw path needs to know
// (texture coordinate generation, the current vertex attributes, the active unit).
#pragma once
#include <GL/gl.h>

struct LayerUnit {
    bool   tex_2d = false, tex_cube = false;        // enabled targets
    GLuint bound_2d = 0, bound_cube = 0;
    GLint  env[8] = { GL_MODULATE, GL_MODULATE, GL_TEXTURE, GL_SRC_COLOR, GL_PREVIOUS, GL_SRC_COLOR, 0, 0 };
    float  env_colour[4] = { 0, 0, 0, 0 };
    bool   gen[3] = { false, false, false };         // S, T, R generated
    GLint  gen_mode[3] = { GL_EYE_LINEAR, GL_EYE_LINEAR, GL_EYE_LINEAR };
    float  object_plane[3][4] = { { 1, 0, 0, 0 }, { 0, 1, 0, 0 }, { 0, 0, 0, 0 } };
};

struct LayerState {
    bool  blend = false, depth_test = false, cull = false, fog = false, alpha_test = false;
    bool  stencil = false, scissor = false, lighting = false, lights[8] = {};
    GLenum blend_src = GL_ONE, blend_dst = GL_ZERO, depth_func = GL_LESS, cull_face = GL_BACK;
    GLenum front_face = GL_CCW, alpha_func = GL_ALWAYS;
    float  alpha_ref = 0;
    GLboolean depth_mask = GL_TRUE, colour_mask[4] = { GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE };
    float  clear_colour[4] = { 0, 0, 0, 0 };
    double clear_depth = 1.0;
    GLint  viewport[4] = { 0, 0, 0, 0 }, scissor_box[4] = { 0, 0, 0, 0 };
    GLenum stencil_func = GL_ALWAYS, stencil_ops[3] = { GL_KEEP, GL_KEEP, GL_KEEP };
    GLint  stencil_ref = 0;
    GLuint stencil_mask = ~0u;
    float  line_width = 1;
    GLenum matrix_mode = GL_MODELVIEW;
    float  fog_mode = float(GL_EXP), fog_density = 1, fog_start = 0, fog_end = 1, fog_colour[4] = { 0, 0, 0, 0 };
    float  material[5][4] = { { 0.2f, 0.2f, 0.2f, 1 }, { 0.8f, 0.8f, 0.8f, 1 }, { 0, 0, 0, 1 }, { 0, 0, 0, 1 }, { 0 } };
    float  colour[4] = { 1, 1, 1, 1 }, normal[3] = { 0, 0, 1 }, texcoord[3] = { 0, 0, 0 };
    int    active_unit = 0;
    LayerUnit unit[2];
};
extern LayerState gl_shadow;   // written only by the layer's state calls

bool layer_texturing(int unit);   // unit has a 2D or cube texture switched on
