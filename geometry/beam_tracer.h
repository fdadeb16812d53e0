// geometry/beam_tracer.h - light beams bouncing inside a mesh of one-sided mirrors.
// A beam probes a straight segment, stops at the nearest mirror face it crosses from front
// to back, reflects about that face and goes on, up to a fixed number of segments. Each
// segment is drawn as a smooth additive line whose brightness falls linearly along the
// whole path, and the start of every segment goes into the caller's point list, so the
// scene can light its surroundings and place flares there. Works on the mesh's own vertex
// and face arrays on the CPU; the stored face normals are not used.
#pragma once
#include "geometry/mesh.h"   // MeshObject, RenderFlags

constexpr int BEAM_MAX_SEGMENTS = 64;   // longest path one trace_beam call follows

// The caller's list of segment starts, shared by every beam of a frame: zero `count` once
// a frame. Each drawn segment records its start and brightness and advances count; once
// count reaches capacity further starts are drawn but not recorded.
struct BeamPointList {
    float *points;        // capacity x (x, y, z)
    float *intensities;   // capacity
    int    count;
    int    capacity;
};

// One straight piece of a beam, with the brightness at either end.
struct BeamSegment {
    float from[3], to[3];
    float from_k, to_k;
};

// (x - p) . ((y - p) x (z - p)): six times the signed volume of the tetrahedron p, x, y, z.
float signed_volume(const float *p, const float *x, const float *y, const float *z);

// Does p0 -> p1 cross triangle (a, b, c) from its front to its back? The front is the side
// from which c, b, a run counter-clockwise (mesh faces are passed in reverse: a = vertex c,
// c = vertex a). A touch (start on the plane, line through an edge or corner) is a miss.
// On a hit, writes the crossing point and the reflected unit direction and returns 1;
// returns 0 and leaves both untouched otherwise.
int intersect_mirror_face(const float *p0, const float *p1, const float *a, const float *b,
                          const float *c, float *hit, float *direction);

// Index of the face that p0 -> p1 crosses nearest to p0 (ties: the lower index), or -1.
int find_nearest_mirror_face(const float *p0, const float *p1, const MeshObject *mesh);

// Follows a beam without drawing it: fills `out` (room for `segments`, at most
// BEAM_MAX_SEGMENTS used) and the point list, returns the number of segments. Every probe
// is `reach` times the direction long; the first uses the caller's direction as given,
// later ones the reflected unit directions. A path ends at its first escaping segment.
int trace_beam_path(const float *start, const float *direction, const MeshObject *mesh, float reach,
                    int segments, BeamSegment *out, BeamPointList *list);

// Follows and draws a beam in the current matrices: flags applied, then smooth lines of
// `line_width`, texturing off, blended SRC_ALPHA, ONE, each end coloured rgba x its
// brightness (left set for the caller).
void trace_beam(const float *start, const float *direction, const MeshObject *mesh, float reach,
                int segments, float line_width, const float *rgba, BeamPointList *list,
                RenderFlags flags);
