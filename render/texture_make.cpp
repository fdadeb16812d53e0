// render/texture_make.cpp - textures computed by the program: noise, plain colours, the
// caller's pixels, the black screen targets and the noise cube map with its fallback.
// Every creation draws its noise from the one random sequence, so the pictures depend only
// on the order the precalc makes them in.
#include "render/texture.h"
#include "render/math.h"     // Required for: random_int()
#include "platform/gl_caps.h"     // Required for: gl_caps.cube_map_supported
#include "platform/settings.h"    // Required for: app.offscreen_texture_width/height
#include <GL/gl.h>
#include <GL/glu.h>          // Required for: gluBuild2DMipmaps()
#include <cstdlib>
#include <cstring>
#include <vector>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
// Every record made: they live for the process's life, and are kept here where they stay
// reachable (to the leak checker too) even when their maker keeps none of them.
// The list itself is never freed, so it outlasts the destructors run at exit, when the leak
// checker looks.
static void keep_record(Texture *record) {
    static std::vector<Texture *> *made_records = new std::vector<Texture *>;
    made_records->push_back(record);
}

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void fill_record(Texture *tex, int w, int h, float sx, float sy, float sz, TextureFlags stored) {
    glGenTextures(1, &tex->id);
    tex->width = w;
    tex->height = h;
    tex->scale[0] = sx;
    tex->scale[1] = sy;
    tex->scale[2] = sz;
    tex->flags = stored;
    tex->fallback_faces = nullptr;
}

// Uploads w x h RGBA pixels to a new 2D texture; the stored flags are used as given.
static void upload_2d(Texture *tex, const unsigned char *rgba, int w, int h, float sx, float sy,
                      float sz, TextureFlags stored) {
    fill_record(tex, w, h, sx, sy, sz, stored);
    glBindTexture(GL_TEXTURE_2D, tex->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (stored & TEX_NO_MIPMAP)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

static Texture *make_black(int w, int h, float sx, float sy, float sz, TextureFlags stored) {
    std::vector<unsigned char> zero(size_t(w) * h * 4, 0);
    Texture *tex = new Texture;
    upload_2d(tex, zero.data(), w, h, sx, sy, sz, stored);
    return tex;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
Texture *make_texture_from_pixels(const unsigned char *rgba, int w, int h, float sx, float sy,
                                  float sz, TextureFlags flags) {
    Texture *tex = new Texture;
    keep_record(tex);
    upload_2d(tex, rgba, w, h, sx, sy, sz, flags & TEXTURE_CREATION_MASK);
    return tex;
}

Texture *make_noise_texture(int w, int h, int low, int high, float sx, float sy, float sz,
                            TextureFlags flags) {
    std::vector<unsigned char> rgba(size_t(w) * h * 4);
    for (size_t i = 0; i < size_t(w) * h; i++) {
        const unsigned char g = (unsigned char)(low + random_int() % (high - low));
        rgba[i * 4 + 0] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = g;
        rgba[i * 4 + 3] = 255;
    }
    return make_texture_from_pixels(rgba.data(), w, h, sx, sy, sz, flags);
}

Texture *make_solid_texture(int w, int h, unsigned char r, unsigned char g, unsigned char b,
                            unsigned char a, float sx, float sy, float sz, TextureFlags flags) {
    std::vector<unsigned char> rgba(size_t(w) * h * 4);
    for (size_t i = 0; i < size_t(w) * h; i++) {
        rgba[i * 4 + 0] = r;
        rgba[i * 4 + 1] = g;
        rgba[i * 4 + 2] = b;
        rgba[i * 4 + 3] = a;
    }
    return make_texture_from_pixels(rgba.data(), w, h, sx, sy, sz, flags);
}

Texture *make_screen_texture() {
    const int w = app.offscreen_texture_width, h = app.offscreen_texture_height;
    return make_solid_texture(w, h, 0, 0, 0, 0, 384.0f / w, 288.0f / h, 1, TEX_CLAMP | TEX_NO_MIPMAP);
}

TextureChain make_screen_texture_chain() {
    std::vector<Texture *> made;
    for (int a = app.offscreen_texture_width, b = app.offscreen_texture_height; a + b >= 6; a /= 2, b /= 2)
        made.push_back(make_black(a, b, 0.75f, 0.5625f, 1, TEX_NO_MIPMAP));
    TextureChain chain = { int(made.size()), new Texture[made.size()] };
    keep_record(chain.levels);
    for (size_t i = 0; i < made.size(); i++) {
        chain.levels[i] = *made[i];
        delete made[i];
    }
    return chain;
}

Texture *make_noise_cube_texture(int a) {
    std::vector<unsigned char> rgba(size_t(2 * a) * (2 * a) * 4);
    for (unsigned char &byte : rgba) byte = (unsigned char)(random_int() & 0xFF);

    Texture *tex = new Texture;
    keep_record(tex);
    if (gl_caps.cube_map_supported) {
        fill_record(tex, a, a, 1, 1, 1, TEX_CUBE_MAP | TEX_NO_MIPMAP);
        glEnable(GL_TEXTURE_CUBE_MAP_ARB);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, tex->id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int face = 0; face < 6; face++)   // +X, -X, +Y, -Y, +Z, -Z
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + face, 0, GL_RGBA8, a, a, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, rgba.data());
        return tex;
    }
    // Without cube maps: the whole buffer as a sphere-mapped 2D texture, plus six black faces
    // that the environment capture renders into.
    glEnable(GL_TEXTURE_2D);
    upload_2d(tex, rgba.data(), 2 * a, 2 * a, 1, 1, 1, TEX_CUBE_MAP | TEX_NO_MIPMAP);
    tex->fallback_faces = new Texture[6];
    for (int face = 0; face < 6; face++) {
        Texture *f = make_black(a, a, 1, 1, 1, TEX_CLAMP | TEX_NO_MIPMAP);
        tex->fallback_faces[face] = *f;
        delete f;
    }
    return tex;
}
