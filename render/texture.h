// render/texture.h - every texture of the show: JPEG images, noise, plain colours, screen
// targets and the noise cube map, all as one Texture record made once in the precalc.
// Textures have power-of-two sides; a smaller image sits in the lower-left corner and the
// record's scale maps coordinates 0..1 onto exactly that corner (bind_texture loads it into
// the texture matrix), so geometry always uses 0..1 whatever the padding.
// Drawing code never touches GL texture state directly: it binds with a TextureFlags word.
#pragma once
#include <cstdint>

using TextureFlags = uint32_t;

constexpr TextureFlags TEX_NEAREST         = 0x1;        // nearest filtering both ways
constexpr TextureFlags TEX_CLAMP           = 0x2;        // wrap S and T with gl_caps.texture_clamp_mode
constexpr TextureFlags TEX_SPHERE_MAP      = 0x4;        // S, T generated as sphere map
constexpr TextureFlags TEX_EYE_LINEAR      = 0x8;        // S, T eye-linear with the default planes
constexpr TextureFlags TEX_PLANAR_YZ       = 0x10;       // S, T object-linear: planes y and z
constexpr TextureFlags TEX_NO_MIPMAP       = 0x20;       // creation: one level; bind: GL_LINEAR minification
constexpr TextureFlags TEX_PLANAR_XZ       = 0x80000;    // planes x and z
constexpr TextureFlags TEX_PLANAR_XY       = 0x100000;   // planes x and y
constexpr TextureFlags TEX_PLANAR_DIAGONAL = 0x400000;   // planes y+z and x+z
constexpr TextureFlags TEX_CUBE_MAP        = 0x8000000;  // cube map; reflection-map coordinates

constexpr TextureFlags TEXTURE_CREATION_MASK = 0x08000020;   // what a created Texture keeps
constexpr TextureFlags TEXTURE_BIND_MASK     = 0x0858003F;   // what a bind looks at

// A texture in GPU memory (the pixels are not kept on the CPU).
struct Texture {
    unsigned     id;               // GL texture name
    float        scale[3];         // texture-matrix scale for S, T, R
    int          width, height;    // allocated size (powers of two)
    TextureFlags flags;            // stored creation flags, ORed into every bind
    Texture     *fallback_faces;   // six 2D faces for a noise cube made without cube maps, else null
};

// Screen texture chain: halving black targets for the blur passes (512 down to 4).
struct TextureChain {
    int      count;
    Texture *levels;
};

using AlphaFunction = unsigned char (*)(unsigned char r, unsigned char g, unsigned char b);

// Texture creation functions (all upload at once; the returned records live forever)
Texture *load_texture(const char *colour_file, const char *alpha_file, AlphaFunction alpha_fn,
                      float fx, float fy, float sz, TextureFlags flags);   // decoded JPEG, white padding
Texture *make_noise_texture(int w, int h, int low, int high, float sx, float sy, float sz,
                            TextureFlags flags);                           // grey low..high-1, opaque
Texture *make_solid_texture(int w, int h, unsigned char r, unsigned char g, unsigned char b,
                            unsigned char a, float sx, float sy, float sz, TextureFlags flags);
Texture *make_texture_from_pixels(const unsigned char *rgba, int w, int h, float sx, float sy,
                                  float sz, TextureFlags flags);           // caller keeps its buffer
Texture *make_screen_texture();                  // 512x512 black target, scale (0.75, 0.5625, 1)
TextureChain make_screen_texture_chain();        // 8 black targets, 512 down to 4 texels
Texture *make_noise_cube_texture(int a);         // noise cube map, or a 2a x 2a 2D fallback + 6 faces

// Image functions (CPU memory)
constexpr unsigned MAX_PICTURE_SIDE = 4096;   // a larger picture is refused before it is decoded
unsigned char *load_jpeg(const char *file, int *width, int *height);   // packed RGB, top row first; fatal on error
unsigned char *pad_image_rgba(const unsigned char *rgb, const unsigned char *alpha_rgb,
                              AlphaFunction alpha_fn, int w, int h, int W, int H);   // W x H RGBA, white padding

// Texture binding functions
void bind_texture(const Texture *tex, TextureFlags mode);   // unit 0 in the mode (mode | tex->flags); unit 1 off
void apply_texture_flags(TextureFlags flags);               // filter, wrap, coordinate generation of the bound texture
void bind_texture_pair(const Texture *a, TextureFlags mode_a, const Texture *b, TextureFlags mode_b,
                       uint32_t combine);                   // a on unit 0, b on unit 1: ADD/MULTIPLY/REPLACE
void copy_frame_to_texture(const Texture *tex);             // lower-left 384x288 into the texture's corner
void copy_frame_rect_to_texture(const Texture *tex, int w, int h);   // lower-left w x h
