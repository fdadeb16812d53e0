// show/tube_flights.h - three flights down endless tubes: a pulsing tiled knot circled
// inside a swirl tube (mode 0), or only the crackling glow round its black silhouette
// (mode 1, which the timeline blurs and adds over mode 0); a rush down a tube of smoke
// through a thousand flares; and a corridor of machined rings that turns into a half-size
// side corridor at each junction and so loops forever, under a foggy striped ball.
// The timing rules are GL-free so tests can check them.
#pragma once
#include "render/texture.h"   // Texture

constexpr int   SMOKE_FLARES       = 1000;
constexpr float SMOKE_DEPTH        = 64.0f;    // the flares' z wraps over this length
constexpr float PAIR_PERIOD        = 2.5f;     // units of x per corridor loop
constexpr int   PAIR_SEGMENTS      = 20;       // rings of the main corridor, 100 apart

void twirl_scene(float t, Texture *target, int mode);   // mode 0: knot and tube; 1: glow round a black knot
void smoke_scene(float t, Texture *target);             // smoke tube, flares, corner emblem
void pair_scene(float x, Texture *target);              // corridor loop and the ball

float twirl_pulse(float t);                 // how far the knot's tiles stand out: 2 sin(16 pi t)
float twirl_orbit(float t);                 // the camera's distance from the knot, 1 to 2
float smoke_flare_z(float t, float depth);  // a flare's z: streams 64 per unit of t, wrapping in [-32, 32)
float pair_turn(float x);                   // 0, rising to 1 over the last twentieth before each loop ends
float pair_segment_z(float x, int p);       // ring p's distance along the corridor (before the turn)
