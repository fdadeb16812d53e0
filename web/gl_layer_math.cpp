// web/gl_layer_math.cpp - triangulation and texture coordinate generation for the GL layer.
#include "web/gl_layer_math.h"
#include <cmath>

constexpr unsigned MODE_TRIANGLES = 0x0004, MODE_TRIANGLE_STRIP = 0x0005, MODE_TRIANGLE_FAN = 0x0006,
                   MODE_QUADS = 0x0007, MODE_QUAD_STRIP = 0x0008, MODE_POLYGON = 0x0009;

unsigned triangulate(unsigned mode, const std::vector<LayerVertex> &in, std::vector<LayerVertex> &out,
                     bool strips_too) {
    out.clear();
    const size_t n = in.size();
    auto tri = [&](size_t a, size_t b, size_t c) {
        out.push_back(in[a]);
        out.push_back(in[b]);
        out.push_back(in[c]);
    };
    switch (mode) {
    case MODE_QUADS:
        for (size_t q = 0; q + 3 < n; q += 4) {
            tri(q, q + 1, q + 2);
            tri(q, q + 2, q + 3);
        }
        return MODE_TRIANGLES;
    case MODE_QUAD_STRIP:   // quad k: 2k, 2k+1, 2k+3, 2k+2 counter-clockwise as GL orders it
        for (size_t k = 0; 2 * k + 3 < n; k++) {
            tri(2 * k, 2 * k + 1, 2 * k + 3);
            tri(2 * k, 2 * k + 3, 2 * k + 2);
        }
        return MODE_TRIANGLES;
    case MODE_POLYGON:
    case MODE_TRIANGLE_FAN:
        if (mode == MODE_TRIANGLE_FAN && !strips_too) break;
        for (size_t k = 1; k + 1 < n; k++) tri(0, k, k + 1);
        return MODE_TRIANGLES;
    case MODE_TRIANGLE_STRIP:
        if (!strips_too) break;
        for (size_t k = 0; k + 2 < n; k++) {
            if (k % 2 == 0) tri(k, k + 1, k + 2);
            else            tri(k + 1, k, k + 2);   // every other triangle keeps the strip's winding
        }
        return MODE_TRIANGLES;
    default:
        break;
    }
    out = in;
    return mode;
}

void normal_matrix(const float m[16], float n[9]) {
    // a = the upper 3x3, column-major: a[col][row] = m[col * 4 + row]
    const float a00 = m[0], a01 = m[4], a02 = m[8];    // row 0
    const float a10 = m[1], a11 = m[5], a12 = m[9];    // row 1
    const float a20 = m[2], a21 = m[6], a22 = m[10];   // row 2
    const float c00 = a11 * a22 - a12 * a21, c01 = a12 * a20 - a10 * a22, c02 = a10 * a21 - a11 * a20;
    const float c10 = a02 * a21 - a01 * a22, c11 = a00 * a22 - a02 * a20, c12 = a01 * a20 - a00 * a21;
    const float c20 = a01 * a12 - a02 * a11, c21 = a02 * a10 - a00 * a12, c22 = a00 * a11 - a01 * a10;
    const float det = a00 * c00 + a01 * c01 + a02 * c02;
    if (std::fabs(det) < 1e-30f) {
        const float id[9] = { 1, 0, 0, 0, 1, 0, 0, 0, 1 };
        for (int i = 0; i < 9; i++) n[i] = id[i];
        return;
    }
    // inverse transpose = cofactor matrix / det; stored column-major: n[col * 3 + row]
    const float k = 1.0f / det;
    n[0] = c00 * k; n[3] = c01 * k; n[6] = c02 * k;
    n[1] = c10 * k; n[4] = c11 * k; n[7] = c12 * k;
    n[2] = c20 * k; n[5] = c21 * k; n[8] = c22 * k;
}

void transform_point(const float m[16], const float p[3], float out[4]) {
    for (int r = 0; r < 4; r++) out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
}

// The reflection of the eye's ray off the surface, in eye space.
static void reflect(const float eye_pos[3], const float n[3], float r[3]) {
    float len = std::sqrt(eye_pos[0] * eye_pos[0] + eye_pos[1] * eye_pos[1] + eye_pos[2] * eye_pos[2]);
    if (len <= 0.0f) len = 1.0f;
    const float u[3] = { eye_pos[0] / len, eye_pos[1] / len, eye_pos[2] / len };
    const float d = 2.0f * (n[0] * u[0] + n[1] * u[1] + n[2] * u[2]);
    for (int i = 0; i < 3; i++) r[i] = u[i] - d * n[i];
}

void sphere_map_coords(const float eye_pos[3], const float eye_normal[3], float st[2]) {
    float r[3];
    reflect(eye_pos, eye_normal, r);
    float m = 2.0f * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1.0f) * (r[2] + 1.0f));
    if (m <= 0.0f) m = 1.0f;
    st[0] = r[0] / m + 0.5f;
    st[1] = r[1] / m + 0.5f;
}

void reflection_coords(const float eye_pos[3], const float eye_normal[3], float str[3]) {
    reflect(eye_pos, eye_normal, str);
}

float plane_coord(const float plane[4], const float p[3], float w) {
    return plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] + plane[3] * w;
}

void perspective_matrix(double fovy_deg, double aspect, double near_plane, double far_plane, float m[16]) {
    const double f = 1.0 / std::tan(fovy_deg * 3.14159265358979323846 / 360.0);
    for (int i = 0; i < 16; i++) m[i] = 0.0f;
    m[0] = float(f / aspect);
    m[5] = float(f);
    m[10] = float((far_plane + near_plane) / (near_plane - far_plane));
    m[11] = -1.0f;
    m[14] = float(2.0 * far_plane * near_plane / (near_plane - far_plane));
}

void look_at_matrix(const double eye[3], const double centre[3], const double up[3], float m[16]) {
    double f[3] = { centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2] };
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl > 0) for (double &c : f) c /= fl;
    double s[3] = { f[1] * up[2] - f[2] * up[1], f[2] * up[0] - f[0] * up[2], f[0] * up[1] - f[1] * up[0] };
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl > 0) for (double &c : s) c /= sl;
    const double u[3] = { s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0] };
    const double rows[3][3] = { { s[0], s[1], s[2] }, { u[0], u[1], u[2] }, { -f[0], -f[1], -f[2] } };
    for (int i = 0; i < 16; i++) m[i] = 0.0f;
    for (int r = 0; r < 3; r++) {
        for (int c = 0; c < 3; c++) m[c * 4 + r] = float(rows[r][c]);
        m[12 + r] = float(-(rows[r][0] * eye[0] + rows[r][1] * eye[1] + rows[r][2] * eye[2]));
    }
    m[15] = 1.0f;
}

void halve_image(const std::vector<unsigned char> &in, int &w, int &h, int components,
                 std::vector<unsigned char> &out) {
    const int nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
    out.assign(size_t(nw) * nh * components, 0);
    const size_t row = size_t(w) * components;
    for (int y = 0; y < nh; y++)
        for (int x = 0; x < nw; x++)
            for (int c = 0; c < components; c++) {
                unsigned char &dest = out[(size_t(y) * nw + x) * components + c];
                if (w > 1 && h > 1) {
                    const size_t s = size_t(2 * y) * row + size_t(2 * x) * components + c;
                    dest = (unsigned char)((in[s] + in[s + components] + in[s + row] + in[s + row + components] + 2) / 4);
                } else {
                    const size_t s = (w > 1 ? size_t(2 * x) : size_t(2 * y)) * components + c;
                    dest = (unsigned char)((in[s] + in[s + components]) / 2);
                }
            }
    w = nw;
    h = nh;
}
