// render/render_state.h - default GL state, RenderFlags, cameras and fog.
// Every scene calls reset_render_state() first, may then change the view settings in
// `render.view`, sets its camera (or the flat view) and draws through apply_render_flags(),
// usually inside push_render_state()/pop_render_state() via draw_mesh.
#pragma once
#include "render/render_types.h"   // RenderFlags, RF_* bits, CameraKey

// What the drawing fills, by kind, for the benchmark's fill table. Pixels are counted from
// our own calls (the area each clear, pass quad, copy or scene view covers), not asked of
// the driver; overdraw inside a scene's own geometry is not seen.
enum FillKind { FILL_CLEAR, FILL_SCENE, FILL_PASS, FILL_COPY, FILL_KINDS };

struct RenderGlobals {
    struct {
        float up[3];          // camera up vector for set_camera
        float near_plane;     // near and far planes of both view set-ups
        float far_plane;
        float offset[2];      // projection shift in normalised device units (x right, y up)
    } view;                   // defaults restored by reset_render_state; scenes tweak after it
    struct {
        int faces;            // triangles drawn since the last reset
        int vertices;         // vertices drawn since the last reset
    } drawn;                  // summed by the draws, read by the overlay
    int startup_wipes;        // resets made while show_started == 1; the first 8 wipe the window
    struct {
        bool   on;                     // counting (the benchmark); off, each count is one test
        double pixels[FILL_KINDS];     // summed since the caller last zeroed them
        int    calls[FILL_KINDS];
    } fill;
    bool cuts;                // skip work that cannot change the picture (off only to prove that)
    bool clears_in_corner;    // clears may stop at the offscreen corner: nothing outside it is read
};
extern RenderGlobals render;   // written by render/ and by scenes between reset and set_camera

constexpr float BLACK_RGBA[4] = { 0, 0, 0, 1 };   // most scenes' clear and fog colour
constexpr float WHITE_RGBA[4] = { 1, 1, 1, 1 };   // the texture environment colour

void reset_render_state(const float *clear_rgba);   // show defaults; clears colour+depth unless null
void apply_render_flags(RenderFlags flags);         // culling, depth and blending for the next draw
void apply_blend_flags(RenderFlags flags);          // blending (and its depth function) alone
void push_render_state();                           // save attributes, texture and modelview matrices
void pop_render_state();                            // undo the matching push
void set_ortho_view(RenderFlags flags);             // flat -1..1 view; RF_OFFSCREEN = 384x288 corner
void set_perspective(float fov_deg, RenderFlags flags);   // aspect 1.2, shifted by view.offset
void set_camera(const CameraKey &cam, const float target[3], RenderFlags flags);   // perspective + look-at
void set_fog(const float rgba[4], float start, float end);   // linear; off at the next reset

// Fill accounting and clears
void   count_fill(FillKind kind, double pixels);   // adds to render.fill while it is on
double viewport_pixels();                          // area of the current viewport
void   clear_buffers(unsigned mask);               // glClear (the corner alone while clears_in_corner), counted
