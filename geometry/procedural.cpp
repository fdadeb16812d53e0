// geometry/procedural.cpp - the box, spheres and grid.
// Angles are worked out in double precision from the indices and rounded to float before
// sin and cos, so the south ring of a sphere is a tiny mirrored circle (sin(float(pi)) is
// -8.74e-8), not a point. The wrapped sphere nudges its rings by 1e-7 so that neither pole
// collapses; the seam-duplicating sphere's north ring does collapse, and its zero-area
// faces add nothing to the normals (see geometry/mesh.cpp).
#include "geometry/procedural.h"
#include "render/math.h"   // Required for: PI
#include <cmath>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static ShapeArrays new_shape(int vertex_count, int face_count) {
    ShapeArrays s;
    s.vertex_count = vertex_count;
    s.face_count = face_count;
    s.positions = new float[size_t(vertex_count) * 3]();
    s.texcoords = new float[size_t(vertex_count) * 3]();
    s.faces = new int[size_t(face_count) * 3]();
    return s;
}

static void set_vertex(ShapeArrays &s, int i, float x, float y, float z, float u, float v) {
    s.positions[i * 3 + 0] = x;
    s.positions[i * 3 + 1] = y;
    s.positions[i * 3 + 2] = z;
    s.texcoords[i * 3 + 0] = u;
    s.texcoords[i * 3 + 1] = v;
    s.texcoords[i * 3 + 2] = 0;
}

static void set_face(ShapeArrays &s, int k, int a, int b, int c) {
    s.faces[k * 3 + 0] = a;
    s.faces[k * 3 + 1] = b;
    s.faces[k * 3 + 2] = c;
}

// Two triangles per cell of an (a + 1) x (r + 1) vertex lattice, as the sphere and grid share.
static void lattice_faces(ShapeArrays &s, int a, int r) {
    for (int i = 0; i < r; i++) {
        for (int j = 0; j < a; j++) {
            const int q = j + a * i, e = j + (a + 1) * i, below = e + a + 1;
            set_face(s, 2 * q, e, below, below + 1);
            set_face(s, 2 * q + 1, e, below + 1, e + 1);
        }
    }
}

// Sphere rings from the north pole down to phi = ring_span, with the seam column duplicated.
static ShapeArrays latitude_sphere(int a, int r, double ring_span) {
    ShapeArrays s = new_shape((a + 1) * (r + 1), 2 * a * r);
    for (int i = 0; i <= r; i++) {
        const float phi = float(i * ring_span / r);
        for (int j = 0; j <= a; j++) {
            const float theta = float(j * 2 * PI / a);
            set_vertex(s, j + (a + 1) * i, std::sin(phi) * std::sin(theta), std::cos(phi),
                       std::sin(phi) * std::cos(theta), float(j) / a, float(i) / r);
        }
    }
    lattice_faces(s, a, r);
    return s;
}

static MeshObject *build_shape(const ShapeArrays &s, RenderFlags flags) {
    return build_mesh(s.faces, s.positions, s.texcoords, nullptr, nullptr, s.vertex_count,
                      s.face_count, flags);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
ShapeArrays box_arrays() {
    // Per face: four corners, and whether its triangles are (0,2,1),(0,3,2) or (0,1,2),(0,2,3).
    static const struct { float c[4][3]; bool flip; } sides[6] = {
        { { { -1, 1, -1 }, { 1, 1, -1 }, { 1, 1, 1 }, { -1, 1, 1 } }, true },         // top
        { { { -1, -1, -1 }, { 1, -1, -1 }, { 1, -1, 1 }, { -1, -1, 1 } }, false },    // bottom
        { { { -1, -1, -1 }, { 1, -1, -1 }, { 1, 1, -1 }, { -1, 1, -1 } }, true },     // back
        { { { -1, -1, 1 }, { 1, -1, 1 }, { 1, 1, 1 }, { -1, 1, 1 } }, false },        // front
        { { { 1, -1, -1 }, { 1, -1, 1 }, { 1, 1, 1 }, { 1, 1, -1 } }, true },         // right
        { { { -1, -1, -1 }, { -1, -1, 1 }, { -1, 1, 1 }, { -1, 1, -1 } }, false },    // left
    };
    static const float uv[4][2] = { { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } };
    ShapeArrays s = new_shape(24, 12);
    for (int k = 0; k < 6; k++) {
        const int b = 4 * k;
        for (int v = 0; v < 4; v++)
            set_vertex(s, b + v, sides[k].c[v][0], sides[k].c[v][1], sides[k].c[v][2], uv[v][0], uv[v][1]);
        if (sides[k].flip) {
            set_face(s, 2 * k, b, b + 2, b + 1);
            set_face(s, 2 * k + 1, b, b + 3, b + 2);
        } else {
            set_face(s, 2 * k, b, b + 1, b + 2);
            set_face(s, 2 * k + 1, b, b + 2, b + 3);
        }
    }
    return s;
}

ShapeArrays sphere_arrays(int a, int r) { return latitude_sphere(a, r, PI); }

ShapeArrays hemisphere_arrays(int a, int r) { return latitude_sphere(a, r, PI / 2); }

ShapeArrays wrapped_sphere_arrays(int a, int r) {
    ShapeArrays s = new_shape(a * (r + 1), 2 * a * r);
    for (int i = 0; i <= r; i++) {
        const float phi = float((i + 0.0000001) * PI / r);
        for (int j = 0; j < a; j++) {
            const float theta = float(j * 2 * PI / a);
            set_vertex(s, j + a * i, std::sin(phi) * std::sin(theta), std::cos(phi),
                       std::sin(phi) * std::cos(theta), float(j) / a, float(i) / r);
        }
    }
    for (int i = 0; i < r; i++) {
        for (int j = 0; j < a; j++) {
            const int q = j + a * i, e = j + a * i, next = (j + 1) % a;
            set_face(s, 2 * q, e, j + a * (i + 1), next + a * (i + 1));
            set_face(s, 2 * q + 1, e, next + a * (i + 1), next + a * i);
        }
    }
    return s;
}

ShapeArrays grid_arrays(int a, int r, const float spacing[3]) {
    ShapeArrays s = new_shape((a + 1) * (r + 1), 2 * a * r);
    for (int i = 0; i <= r; i++)
        for (int j = 0; j <= a; j++)
            set_vertex(s, j + (a + 1) * i, (j - a / 2 - 0.5f) * spacing[0], 0,
                       (i - r / 2 - 0.5f) * spacing[2], float(j), float(i));
    lattice_faces(s, a, r);
    return s;
}

MeshObject *make_box(RenderFlags flags) { return build_shape(box_arrays(), flags); }
MeshObject *make_sphere(int a, int r, RenderFlags flags) { return build_shape(sphere_arrays(a, r), flags); }
MeshObject *make_hemisphere(int a, int r, RenderFlags flags) { return build_shape(hemisphere_arrays(a, r), flags); }
MeshObject *make_wrapped_sphere(int a, int r, RenderFlags flags) {
    return build_shape(wrapped_sphere_arrays(a, r), flags);
}
MeshObject *make_grid(int a, int r, const float spacing[3], RenderFlags flags) {
    return build_shape(grid_arrays(a, r, spacing), flags);
}
