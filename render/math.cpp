// render/math.cpp - vectors, the random sequence, the camera-path spline.
#include "render/math.h"
#include <GL/gl.h>     // Required for: glMultMatrixf()
#include <cmath>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static unsigned random_state = 1;   // one sequence for the whole process; the precalc draws first

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float clamp01(float x) { return x < 0 ? 0.0f : (x > 1 ? 1.0f : x); }
int clamp_byte(int n) { return n < 0 ? 0 : (n > 255 ? 255 : n); }

float ease_cos(float x) {
    if (x < 0) return 0.0f;
    if (x > 1) return 1.0f;
    return 1.0f - (0.5f * std::cos(float(PI) * x) + 0.5f);
}

float *vec3_set(float *out, float x, float y, float z) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
    return out;
}

float *vec3_cross(float *out, const float *a, const float *b) {
    return vec3_set(out, a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

float vec3_dot(const float *a, const float *b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

float *vec3_normalize(float *v) {
    const float len2 = vec3_dot(v, v);
    // NOTE: a zero vector (the normal of a zero-area face) stays zero instead of turning
    // into not-a-number, so it adds nothing when normals are summed.
    if (!(len2 > 0)) return vec3_set(v, 0, 0, 0);
    const float k = 1.0f / std::sqrt(len2);
    v[0] *= k;
    v[1] *= k;
    v[2] *= k;
    return v;
}

float *triangle_normal(const float *a, const float *b, const float *c, float *out) {
    const float ac[3] = { a[0] - c[0], a[1] - c[1], a[2] - c[2] };
    const float bc[3] = { b[0] - c[0], b[1] - c[1], b[2] - c[2] };
    return vec3_normalize(vec3_cross(out, ac, bc));
}

int random_int() {
    random_state = random_state * 214013u + 2531011u;
    return int((random_state >> 16) & 0x7FFF);
}

void random_seed(unsigned state) { random_state = state; }

int wrap_index(int i, int n) { return (i + n) % n; }

float *spline_point(float *out, float u, const SplineKey *keys, int n) {
    u -= std::floor(u);   // whole turns do not matter; keeps wrap_index in range for u < 0
    const float s = float(n) * u;
    int i = int(std::floor(s));
    const float t = s - float(i);
    i %= n;
    const SplineKey &p0 = keys[wrap_index(i - 2, n)];
    const SplineKey &p1 = keys[wrap_index(i - 1, n)];
    const SplineKey &p2 = keys[wrap_index(i, n)];
    const SplineKey &p3 = keys[wrap_index(i + 1, n)];
    const float h = t * t * (3 - 2 * t);
    const float w3 = -0.5f * t * t * (1 - t);
    const float w1 = (1 - h) - w3;
    const float w0 = -0.5f * t * (1 - t) * (1 - t);
    const float w2 = h - w0;
    return vec3_set(out, w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
                         w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y,
                         w0 * p0.z + w1 * p1.z + w2 * p2.z + w3 * p3.z);
}

void orient_frame(const float *direction, float m[16]) {
    const float up[3] = { 0, 1, 0 };
    float f[3], s[3], u[3];
    vec3_normalize(vec3_set(f, direction[0], direction[1], direction[2]));
    vec3_normalize(vec3_cross(s, f, up));
    vec3_cross(u, s, f);
    // Columns (s, 0), (u, 0), (f, 0), (0, 0, 0, 1); a mirror frame (determinant -1).
    const float cols[16] = { s[0], s[1], s[2], 0, u[0], u[1], u[2], 0,
                             f[0], f[1], f[2], 0, 0, 0, 0, 1 };
    for (int i = 0; i < 16; i++) m[i] = cols[i];
}

void orient_to_direction(const float *direction) {
    float m[16];
    orient_frame(direction, m);
    glMultMatrixf(m);
}
