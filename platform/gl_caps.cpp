// platform/gl_caps.cpp - capability checks and the per-frame error check.
#include "platform/gl_caps.h"
#include "platform/messages.h"
#include <SDL.h>
#include <cstdio>
#include <cstring>

GLCaps gl_caps = { GL_CLAMP, 0, nullptr, nullptr };

bool extension_list_has(const char *list, const char *name) {
    if (!name || !list) return false;
    size_t length = std::strlen(name);
    const char *p = list;
    while (*p) {
        const char *end = std::strchr(p, ' ');
        size_t token = end ? size_t(end - p) : std::strlen(p);
        if (token == length && std::strncmp(p, name, length) == 0) return true;
        if (!end) break;
        p = end + 1;
    }
    return false;
}

bool has_gl_extension(const char *name) {
    return extension_list_has(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)), name);
}

GLenum clamp_mode_for_version(const char *version) {
    int major = 0, minor = 0;
    if (version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && major * 10 + minor >= 12)
        return GL_CLAMP_TO_EDGE;
    return GL_CLAMP;
}

const char *gl_error_name(GLenum code) {
    switch (code) {
    case 0x0500: return "GL_INVALID_ENUM";
    case 0x0501: return "GL_INVALID_VALUE";
    case 0x0502: return "GL_INVALID_OPERATION";
    case 0x0503: return "GL_STACK_OVERFLOW";
    case 0x0504: return "GL_STACK_UNDERFLOW";
    case 0x0505: return "GL_OUT_OF_MEMORY";
    default:     return "UNKNOWN GL_ERROR";
    }
}

void check_gl_capabilities() {
    GLint red = 0, green = 0, blue = 0, units = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    check_driver({ red + green + blue, reinterpret_cast<const char *>(glGetString(GL_VERSION)),
                   reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)), units });
}

void check_driver(const GLDriverInfo &driver) {
    if (driver.colour_bits < 24)
        fatal_error("Failed to initialize 24bpp mode, buy some decent hardware asshole!");
    gl_caps.texture_clamp_mode = clamp_mode_for_version(driver.version);
    if (!extension_list_has(driver.extensions, "GL_ARB_multitexture"))
        fatal_error("Your shitty 3d card doesnt support GL_ARB_multitexture!");
    if (!extension_list_has(driver.extensions, "GL_ARB_texture_env_combine"))
        fatal_error("Your shitty 3d card doesnt support GL_ARB_texture_env_combine!");
    if (driver.texture_units < 2)
        fatal_error("Your shitty 3d card doesnt have enough multitexturing units!\n"
                    "What kind of shitty card tries to do multitexturing with only one texture unit anyway?");
    if (extension_list_has(driver.extensions, "GL_ARB_texture_cube_map")) {
        gl_caps.cube_map_supported = 1;
    } else {
        gl_caps.cube_map_supported = 0;
        warn("Your shitty 3d card doesnt support cube map extension, using ugly and slow fallback");
    }
}

void bind_multitexture_entry_points() {
#ifdef __EMSCRIPTEN__   // the browser build's GL layer (web/gl_layer.h) keeps the active unit
    gl_caps.multi_tex_coord_2f = web_gl_multi_tex_coord_2f;
    gl_caps.active_texture = web_gl_active_texture;
    return;
#endif
    gl_caps.multi_tex_coord_2f =
        reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(SDL_GL_GetProcAddress("glMultiTexCoord2fARB"));
    gl_caps.active_texture =
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB"));
    if (!gl_caps.multi_tex_coord_2f || !gl_caps.active_texture)
        fatal_error("wglGetProcAddress error on multitexture!");
}

void check_gl_error() {
    GLenum code = glGetError();
    if (code != GL_NO_ERROR) fatal_error(gl_error_name(code));
}
