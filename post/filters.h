// post/filters.h - the screen-space passes: pictures already copied out of the frame buffer
// drawn back as textured full-screen quads, blurred, zoomed, layered, mixed and sheared.
// Scenes leave their picture in the 384x288 offscreen viewport and copy it into a screen
// texture; the passes below draw screen textures back, usually into the offscreen viewport
// again, so the next pass can copy the result. Only the last passes of a frame fill the window.
// Every pass brackets its work in push_render_state/pop_render_state: the caller's matrices
// and attributes survive, the frame buffer does not (most passes clear the colour first).
// The last argument is always a RenderFlags word, also handed to bind_texture as TextureFlags.
#pragma once
#include "render/render_types.h"   // RenderFlags, RF_* bits
#include "render/texture.h"        // Texture, TextureChain

// Glow pyramid (post/blur.cpp)
void glow_chain_build(const TextureChain &chain, int contrast, float spread,
                      const float tint[4]);                        // fill every level from the frame
void glow_chain_composite(const TextureChain &chain, float unused,
                          RenderFlags flags);                      // add every level over the view

// Blurs (post/blur.cpp)
void blur_separable(const Texture *source, const Texture *scratch, int taps, float spread,
                    float gain, RenderFlags flags);   // 2n-tap box blur, always into the offscreen viewport
void zoom_blur(const Texture *source, int copies, float step, float intensity,
               RenderFlags flags);                    // copies grown by step^i, weights (k/(i+1))^1.25
void zoom_blur_flash(const Texture *source, int copies, float step, float intensity,
                     RenderFlags flags);              // weights k/(i+1), plus the centre blown up

// Layers and mixes (post/layers.cpp)
void draw_layer_transformed(const Texture *tex, float shift_u, float shift_v, float zoom,
                            float scale_u, float scale_v, float angle_deg, float intensity,
                            RenderFlags flags);       // whole texture through a coordinate transform
void draw_layer(const Texture *tex, float intensity, RenderFlags flags);   // in the blend mode of flags
void crossfade(const Texture *first, const Texture *second, float mix,
               RenderFlags flags);                    // first (1 - mix) + second mix
void mix_add(const Texture *first, float weight1, const Texture *second, float weight2,
             RenderFlags flags);                      // first weight1 + second weight2

// Row wobbles (post/wobble.cpp); offsets holds one value per band of rows
void wobble_split(const Texture *source, const float *offsets, float amplitude, int rows,
                  float intensity, RenderFlags flags);   // red one way, blue the other, green still
void wobble_spread(const Texture *source, const float *offsets, float amplitude, int rows,
                   float intensity, RenderFlags flags);  // red, green, blue by 1, 1.5, 2 x the offset

// Quad helpers shared by the passes (post/quad.cpp)
float quad_max_s();                                       // largest s put on a pass quad: 1.0
float quad_max_t();                                       // largest t put on a pass quad: 1.0
float quad_depth();                                       // z of a pass quad: near plane + 0.001
void  draw_screen_quad(float dx, float dy);               // the full-screen quad moved by (dx, dy)
void  draw_screen_quad_flipped();                         // the same quad with v flipped (pictures upright)
void  set_post_state();                                   // additive, no cull/depth/light/fog, linear clamped texture
