// platform/gl_caps.h - what the driver must offer, checked once after the context exists,
// and the per-frame GL error check. Whatever the show cannot do without is fatal; a
// missing cube-map extension only warns and switches the textures to their fallback.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

struct GLCaps {
    GLenum texture_clamp_mode;     // GL_CLAMP_TO_EDGE from GL 1.2 on, else GL_CLAMP
    int    cube_map_supported;     // 1 when GL_ARB_texture_cube_map is present
    PFNGLACTIVETEXTUREARBPROC     active_texture;      // glActiveTextureARB
    PFNGLMULTITEXCOORD2FARBPROC   multi_tex_coord_2f;  // glMultiTexCoord2fARB (must exist, unused)
};
extern GLCaps gl_caps;   // written by check_gl_capabilities and bind_multitexture_entry_points

bool   has_gl_extension(const char *name);                         // exact token in GL_EXTENSIONS
bool   extension_list_has(const char *list, const char *name);    // the tokenizer behind it
GLenum clamp_mode_for_version(const char *version);                // "1.2..." -> GL_CLAMP_TO_EDGE
const char *gl_error_name(GLenum code);                            // "GL_INVALID_ENUM", ...

// What the capability checks look at, gathered from the current context.
struct GLDriverInfo {
    int         colour_bits;     // red + green + blue
    const char *version;         // GL_VERSION
    const char *extensions;      // GL_EXTENSIONS
    int         texture_units;   // GL_MAX_TEXTURE_UNITS_ARB
};

void check_gl_capabilities();                     // gathers GLDriverInfo, then check_driver
void check_driver(const GLDriverInfo &driver);    // colour depth, clamp mode, extensions, cube maps
void bind_multitexture_entry_points(); // fetch glActiveTextureARB and glMultiTexCoord2fARB
void check_gl_error();                 // fatal on the first pending GL error of the frame
