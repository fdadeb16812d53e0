// geometry/isosurface.h - soft merging shapes ("metaballs") from a short list of blobs.
// The summed blob field is sampled on a fixed 32 x 32 x 32 grid of points (coordinates -16
// to 15, one grid unit per world unit); the surface where it equals ISO_LEVEL is cut out
// by marching tetrahedra, five per grid cube, with neighbouring triangles sharing their
// vertices. The vertices are then smoothed, pulled back onto the true surface with one
// Newton step and given field-gradient normals. Closed surfaces come out counter-clockwise
// seen from outside, so ordinary back-face culling shows the outer side.
//
// Only the parts of the grid near some blob are evaluated: boxes of 32, 16 and 8 points a
// side that no blob's bounding box touches are skipped and read as field 0, so a blob whose
// field reaches past its box is cut flat there (the Newton step then pushes such a face
// out by at most half a unit). Blobs must keep their surface off the grid's outermost
// layer; a surface that touches it is clipped there.
//
// Everything is process-wide and reused: one result, valid until the next call.
#pragma once
#include "geometry/mesh.h"   // MeshObject, RenderFlags

constexpr int   ISO_GRID_SIZE    = 32;       // sample points per axis, coordinates -16..15
constexpr float ISO_LEVEL        = 0.12f;    // field at least this: inside
constexpr int   ISO_MAX_VERTICES = 491520;   // vertices past this are not made (their triangles are dropped)

constexpr int BLOB_ROUND = 0;   // field from the squared distance
constexpr int BLOB_CUBE  = 1;   // from the fourth powers: a rounded cube
// Any other kind adds nothing to the field, but its bounding box (that of a round blob)
// still keeps the grid near it from being skipped.

struct Blob {
    float x, y, z;   // centre in grid units from the grid centre
    float radius;    // r: the field is 0.25 at the centre and reaches 0 at m = 0.5
    int   negative;  // non-zero: subtracts from the field (carves)
    int   kind;      // BLOB_ROUND, BLOB_CUBE, or anything else (nothing)
};

// The latest polygonisation (CPU memory, overwritten by the next call).
struct IsoSurface {
    const float *positions;   // vertex_count x 3, grid units from the grid centre
    const float *normals;     // vertex_count x 3, unit, pointing out of the surface
    const int   *triangles;   // triangle_count x 3 vertex indices, counter-clockwise from outside
    int vertex_count;
    int triangle_count;
    int inside_low[3];        // per axis the lowest and highest grid index (0..31) of an
    int inside_high[3];       // inside point; -1 for both when nothing is inside
};

// Polygonisation (CPU only)
const IsoSurface &polygonise_blobs(const Blob *blobs, int count);   // the surface of the blobs' field
float blob_field(const Blob *blobs, int count, const float p[3]);    // summed field at p (grid units, uncut)

// Drawing (GL context current)
void draw_isosurface(const Blob *blobs, int count, RenderFlags flags);   // polygonise, apply the flags, draw; counters untouched
MeshObject *build_isosurface(const Blob *blobs, int count, RenderFlags build_flags);   // polygonise into the one shared
                                                     // display list; the record stays valid (and owned here) until the next call
