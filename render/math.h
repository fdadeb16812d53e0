// render/math.h - the small numeric kit shared by geometry and scenes: clamps and easing,
// 3-vectors as plain float triples (x, y, z), the show's one random sequence, the closed
// camera-path spline and the frame that turns an object along a direction.
// Vector operations write into a caller-supplied `out` and return it, so calls chain.
#pragma once

constexpr double PI = 3.141592653589793;

// One key of a recorded camera path: its number in the table (unused), then x, y, z.
struct SplineKey {
    float key, x, y, z;
};

float clamp01(float x);              // 0 below 0, 1 above 1, else x
int   clamp_byte(int n);             // 0..255
float ease_cos(float x);             // 0.5 - 0.5 cos(pi x), clamped to 0..1 outside [0, 1]

float *vec3_set(float *out, float x, float y, float z);            // out = (x, y, z)
float *vec3_cross(float *out, const float *a, const float *b);     // out = a x b (out may not alias)
float  vec3_dot(const float *a, const float *b);                   // a . b
float *vec3_normalize(float *v);                                   // in place; a zero vector stays zero
float *triangle_normal(const float *a, const float *b, const float *c, float *out);   // unit (a-c)x(b-c)

int  random_int();                   // next value 0..32767 of the one process-wide sequence (41, 18467, ...)
void random_seed(unsigned state);    // restart the sequence (tests only; the show never reseeds)
int  wrap_index(int i, int n);       // (i + n) mod n; valid for i >= -n

float *spline_point(float *out, float u, const SplineKey *keys, int n);   // closed Catmull-Rom loop, u in turns
void   orient_frame(const float *direction, float m[16]);   // column-major frame: x->s, y->u, z->direction
void   orient_to_direction(const float *direction);         // glMultMatrixf(orient_frame(direction))
