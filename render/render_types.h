// render/render_types.h - the RenderFlags word and the camera record.
// One 32-bit word selects culling, depth and blending for a draw (the RF_* render bits) and
// carries the mesh-build bits in the same word; apply_render_flags looks only at the bits
// RENDER_FLAGS_MASK passes, build_mesh only at MESH_FLAGS_MASK (geometry/mesh.h).
#pragma once
#include <cstdint>

using RenderFlags = uint32_t;

constexpr RenderFlags RF_NO_CULL        = 0x40;       // face culling off
constexpr RenderFlags RF_CULL_FRONT     = 0x80;       // cull front faces (ignored with RF_NO_CULL)
constexpr RenderFlags RF_NO_DEPTH_TEST  = 0x100;      // depth test and depth writes off
constexpr RenderFlags RF_NO_DEPTH_WRITE = 0x200;      // depth test on, writes off
constexpr RenderFlags RF_BLEND_ADD      = 0x400;      // ONE, ONE
constexpr RenderFlags RF_BLEND_DARKEN   = 0x800;      // ZERO, ONE_MINUS_SRC_COLOR
constexpr RenderFlags RF_BLEND_MULTIPLY = 0x1000;     // ZERO, SRC_COLOR
constexpr RenderFlags RF_BLEND_ALPHA    = 0x2000;     // SRC_ALPHA, ONE_MINUS_SRC_ALPHA
constexpr RenderFlags RF_OFFSCREEN      = 0x4000;     // view set-ups: the 384x288 lower-left viewport
constexpr RenderFlags RF_FLAT           = 0x8000;     // mesh build: one normal per face
constexpr RenderFlags RF_BLEND_SCREEN   = 0x40000;    // ONE, ONE_MINUS_SRC_COLOR
constexpr RenderFlags RF_STENCIL_MARK   = 0x200000;   // stencil ALWAYS 1, DECR on pass
constexpr RenderFlags MESH_SEAM_FIX     = 0x800000;   // mesh build: smooth normals, u/v seam repair
constexpr RenderFlags RF_GEN_COLOURS    = 0x1000000;  // mesh build: colours from the normals
constexpr RenderFlags RF_GEN_TEXCOORDS  = 0x2000000;  // mesh build: sphere coordinates from the normals

constexpr RenderFlags RENDER_FLAGS_MASK = 0x0024BFC0; // bits apply_render_flags tests (+RF_FLAT)

constexpr int OFFSCREEN_WIDTH  = 384;   // the offscreen viewport every scene renders into
constexpr int OFFSCREEN_HEIGHT = 288;

// Eye position and vertical field of view in degrees (0 means 90), looking at a target point.
struct CameraKey {
    float x, y, z;
    float fov;
};
