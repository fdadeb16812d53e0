// web/gl_layer_math.h - the arithmetic of the browser build's GL layer, free of any GL state
// so that it is checked natively: the vertex every draw sends, primitives the browser lacks
// turned into triangles, and the texture coordinates fixed-function GL generates.
#pragma once
#include <vector>

// One vertex as the layer sends it: every attribute, always (a block that gives an attribute
// for only some vertices draws nothing in the browser's emulation).
struct LayerVertex {
    float pos[3];
    float normal[3];
    float colour[4];
    float tex[2][3];   // texture units 0 and 1: s, t, r
};

// GL 1.x primitives the browser lacks (quads, quad strips, polygons) as triangles, and
// triangle strips and fans too when asked (long batches are split into pieces).
// Returns the WebGL mode of out: GL_TRIANGLES, or mode itself when it is kept.
unsigned triangulate(unsigned mode, const std::vector<LayerVertex> &in, std::vector<LayerVertex> &out,
                     bool strips_too);

// The upper 3x3 of the inverse transpose of a column-major 4x4 matrix: turns normals into eye
// space (identity when the matrix is singular).
void normal_matrix(const float m[16], float n[9]);
void transform_point(const float m[16], const float p[3], float out[4]);   // m x (p, 1)

// Texture coordinate generation, for one vertex given in eye space (position, unit normal).
void sphere_map_coords(const float eye_pos[3], const float eye_normal[3], float st[2]);
void reflection_coords(const float eye_pos[3], const float eye_normal[3], float str[3]);
float plane_coord(const float plane[4], const float p[3], float w);   // plane . (p, w)

// The matrices of gluPerspective and gluLookAt, column-major (the browser's versions set the
// current matrix instead of multiplying it, and take their arguments in another order).
void perspective_matrix(double fovy_deg, double aspect, double near_plane, double far_plane, float m[16]);
void look_at_matrix(const double eye[3], const double centre[3], const double up[3], float m[16]);

// The next smaller mipmap level of a w x h image of `components` bytes per pixel (w and h
// powers of two, not both 1), averaged the way the native GLU does it: 2x2 boxes rounded to
// nearest, or pairs rounded down once one side is a single pixel. Sets w and h to the new size.
void halve_image(const std::vector<unsigned char> &in, int &w, int &h, int components,
                 std::vector<unsigned char> &out);
