// render/texture_bind.cpp - making textures current: one unit (bind_texture) or two units
// combined by GL_ARB_texture_env_combine (bind_texture_pair), the filter, wrap and
// coordinate-generation modes of a TextureFlags word, and copies of the offscreen viewport.
// WARNING: bind_texture_pair leaves unit 1 switched on until the next bind_texture;
// reset_render_state only switches unit 0 off.
#include "render/texture.h"
#include "render/render_types.h"   // Required for: RF_BLEND_ADD, RF_BLEND_MULTIPLY, OFFSCREEN_*
#include "render/render_state.h"   // Required for: count_fill()
#include "platform/gl_caps.h"           // Required for: gl_caps (clamp mode, cube maps, active_texture)
#include <GL/gl.h>
#include <GL/glext.h>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static const float WHITE[4] = { 1, 1, 1, 1 };   // texture environment colour of every bind

static bool is_cube(const Texture *tex) {
    return (tex->flags & TEX_CUBE_MAP) && gl_caps.cube_map_supported;
}

// Switches the right target on for tex on the active unit and binds it.
static void enable_and_bind(const Texture *tex) {
    GLenum target = GL_TEXTURE_2D;
    if (is_cube(tex)) {
        glDisable(GL_TEXTURE_2D);
        target = GL_TEXTURE_CUBE_MAP_ARB;
    } else if (gl_caps.cube_map_supported) {
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    }
    glEnable(target);
    glBindTexture(target, tex->id);
}

// Loads tex's scale into the active unit's texture matrix; a cube map mirrors S and T.
static void load_texture_matrix(const Texture *tex) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    if (is_cube(tex)) glScalef(-tex->scale[0], -tex->scale[1], tex->scale[2]);
    else              glScalef(tex->scale[0], tex->scale[1], tex->scale[2]);
    glMatrixMode(GL_MODELVIEW);
}

static void generate_st(GLint mode) {
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
}

static void generate_object_planes(const float s_plane[4], const float t_plane[4]) {
    generate_st(GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, s_plane);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, t_plane);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void apply_texture_flags(TextureFlags flags) {
    const TextureFlags f = flags & TEXTURE_BIND_MASK;
    const bool cube = (f & TEX_CUBE_MAP) && gl_caps.cube_map_supported;

    if (cube) {
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_T, GL_CLAMP);
    } else {
        GLint min = (f & TEX_NO_MIPMAP) ? GL_LINEAR : GL_LINEAR_MIPMAP_LINEAR, mag = GL_LINEAR;
        if (f & TEX_NEAREST) min = mag = GL_NEAREST;
        const GLint wrap = (f & TEX_CLAMP) ? GLint(gl_caps.texture_clamp_mode) : GL_REPEAT;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    }

    // Coordinate generation: the first bit in this order wins.
    static const float X[4] = { 1, 0, 0, 0 }, Y[4] = { 0, 1, 0, 0 }, Z[4] = { 0, 0, 1, 0 };
    static const float YZ[4] = { 0, 1, 1, 0 }, XZ[4] = { 1, 0, 1, 0 };
    if (f & TEX_SPHERE_MAP)           generate_st(GL_SPHERE_MAP);
    else if (f & TEX_PLANAR_YZ)       generate_object_planes(Y, Z);
    else if (f & TEX_PLANAR_XZ)       generate_object_planes(X, Z);
    else if (f & TEX_PLANAR_XY)       generate_object_planes(X, Y);
    else if (f & TEX_PLANAR_DIAGONAL) generate_object_planes(YZ, XZ);
    else if (f & TEX_EYE_LINEAR)      generate_st(GL_EYE_LINEAR);
    else if (f & TEX_CUBE_MAP) {
        if (gl_caps.cube_map_supported) {
            generate_st(GL_REFLECTION_MAP_ARB);
            glEnable(GL_TEXTURE_GEN_R);
            glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP_ARB);
        } else {
            generate_st(GL_SPHERE_MAP);
        }
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
    }
}

void bind_texture(const Texture *tex, TextureFlags mode) {
    gl_caps.active_texture(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    gl_caps.active_texture(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_1D);
    enable_and_bind(tex);
    apply_texture_flags(mode | tex->flags);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, WHITE);
    load_texture_matrix(tex);
}

void bind_texture_pair(const Texture *a, TextureFlags mode_a, const Texture *b, TextureFlags mode_b,
                       uint32_t combine) {
    // Unit 0: A's colour alone (the vertex colour does not reach the result).
    gl_caps.active_texture(GL_TEXTURE0_ARB);
    enable_and_bind(a);
    apply_texture_flags(mode_a | a->flags);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, WHITE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);

    // Unit 1: previous combined with B.
    gl_caps.active_texture(GL_TEXTURE1_ARB);
    enable_and_bind(b);
    apply_texture_flags(mode_b | b->flags);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, WHITE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PREVIOUS_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
    GLint op = GL_REPLACE;
    if (combine & RF_BLEND_ADD)           op = GL_ADD;
    else if (combine & RF_BLEND_MULTIPLY) op = GL_MODULATE;
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, op);

    load_texture_matrix(b);
    gl_caps.active_texture(GL_TEXTURE0_ARB);
    load_texture_matrix(a);
}

void copy_frame_rect_to_texture(const Texture *tex, int w, int h) {
    bind_texture(tex, 0);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
    count_fill(FILL_COPY, double(w) * double(h));
}

void copy_frame_to_texture(const Texture *tex) {
    copy_frame_rect_to_texture(tex, OFFSCREEN_WIDTH, OFFSCREEN_HEIGHT);
}
