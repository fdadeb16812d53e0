// geometry/beam_tracer.cpp - the beam tracer: segment against one-sided triangle by five
// signed volumes, the nearest crossing over all faces, and the fading lines.
//
// The crossing test needs no plane equation: p0 in front (Vf > 0), p1 behind (Vb > 0) and
// the line passing inside all three edges (e1, e2, e3 > 0) together mean a hit, and the
// crossing lies at Vf / (Vf + Vb) along the segment. After a reflection the new direction
// points back out of the face's front, so the next probe, starting on that face, can never
// cross it again: its end point is in front, not behind.
#include "geometry/beam_tracer.h"
#include "render/render_state.h"   // Required for: apply_render_flags()
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float NO_HIT_DISTANCE = 100000.0f;   // crossings this far from p0 or further are ignored

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void sub3(float *out, const float *a, const float *b) {
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
}

static void normalise3(double *v) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 0) {
        v[0] /= len;
        v[1] /= len;
        v[2] /= len;
    }
}

// The triple product in double: with a probe 1000 long and faces a few units wide, the
// three edge vectors from the far end are nearly parallel and single precision loses about
// two digits there, enough to put hit points a few hundredths off the mirror and let beams
// slip out through the room's corners.
static double volume_d(const float *p, const float *x, const float *y, const float *z) {
    const double a[3] = { double(x[0]) - p[0], double(x[1]) - p[1], double(x[2]) - p[2] };
    const double b[3] = { double(y[0]) - p[0], double(y[1]) - p[1], double(y[2]) - p[2] };
    const double c[3] = { double(z[0]) - p[0], double(z[1]) - p[1], double(z[2]) - p[2] };
    return a[0] * (b[1] * c[2] - b[2] * c[1]) + a[1] * (b[2] * c[0] - b[0] * c[2]) +
           a[2] * (b[0] * c[1] - b[1] * c[0]);
}

// The face's corners in the crossing test's order: vertex c, vertex b, vertex a.
static void face_corners(const MeshObject *mesh, int i, const float **a, const float **b, const float **c) {
    const int *v = mesh->faces[i].v;
    *a = &mesh->positions[v[2] * 3];
    *b = &mesh->positions[v[1] * 3];
    *c = &mesh->positions[v[0] * 3];
}

static void record_point(BeamPointList *list, const float *p, float k) {
    if (!list || list->count >= list->capacity) return;
    float *q = &list->points[list->count * 3];
    q[0] = p[0];
    q[1] = p[1];
    q[2] = p[2];
    list->intensities[list->count++] = k;
}

static void beam_vertex(const float *p, float k, const float *rgba) {
    glColor4f(k * rgba[0], k * rgba[1], k * rgba[2], k * rgba[3]);
    glVertex3fv(p);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float signed_volume(const float *p, const float *x, const float *y, const float *z) {
    return float(volume_d(p, x, y, z));
}

int intersect_mirror_face(const float *p0, const float *p1, const float *a, const float *b,
                          const float *c, float *hit, float *direction) {
    const double vf = volume_d(p0, a, b, c);
    const double vb = volume_d(p1, c, b, a);
    if (!(vf > 0 && vb > 0)) return 0;
    if (!(volume_d(p0, p1, a, b) > 0 && volume_d(p0, p1, b, c) > 0 && volume_d(p0, p1, c, a) > 0))
        return 0;

    const double t = vf / (vf + vb);
    double d[3], ca[3], cb[3], n[3], r[3];
    for (int k = 0; k < 3; k++) {
        d[k] = double(p1[k]) - p0[k];
        ca[k] = double(a[k]) - c[k];
        cb[k] = double(b[k]) - c[k];
    }
    n[0] = ca[1] * cb[2] - ca[2] * cb[1];
    n[1] = ca[2] * cb[0] - ca[0] * cb[2];
    n[2] = ca[0] * cb[1] - ca[1] * cb[0];
    normalise3(n);
    const double nd = 2.0 * (n[0] * d[0] + n[1] * d[1] + n[2] * d[2]);
    for (int k = 0; k < 3; k++) r[k] = d[k] - nd * n[k];
    normalise3(r);
    for (int k = 0; k < 3; k++) {
        hit[k] = float(p0[k] + t * d[k]);
        direction[k] = float(r[k]);
    }
    return 1;
}

int find_nearest_mirror_face(const float *p0, const float *p1, const MeshObject *mesh) {
    float best = NO_HIT_DISTANCE;
    int result = -1;
    for (int i = 0; i < mesh->face_count; i++) {
        const float *a, *b, *c;
        face_corners(mesh, i, &a, &b, &c);
        float hit[3], dir[3];
        if (!intersect_mirror_face(p0, p1, a, b, c, hit, dir)) continue;
        float d[3];
        sub3(d, hit, p0);
        const float dist = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (dist < best) {
            best = dist;
            result = i;
        }
    }
    return result;
}

int trace_beam_path(const float *start, const float *direction, const MeshObject *mesh, float reach,
                    int segments, BeamSegment *out, BeamPointList *list) {
    const int n = std::min(segments, BEAM_MAX_SEGMENTS);
    float origin[3] = { start[0], start[1], start[2] };
    float dir[3] = { direction[0], direction[1], direction[2] };
    for (int i = 0; i < n; i++) {
        BeamSegment &s = out[i];
        float p1[3];
        for (int k = 0; k < 3; k++) {
            s.from[k] = origin[k];
            p1[k] = origin[k] + reach * dir[k];
        }
        s.from_k = 1.0f - float(i) / float(segments);
        record_point(list, s.from, s.from_k);

        const int f = find_nearest_mirror_face(s.from, p1, mesh);
        if (f < 0) {   // escapes: fade out over the whole probe and stop
            std::copy(p1, p1 + 3, s.to);
            s.to_k = 0.0f;
            return i + 1;
        }
        const float *a, *b, *c;
        face_corners(mesh, f, &a, &b, &c);
        intersect_mirror_face(s.from, p1, a, b, c, origin, dir);
        std::copy(origin, origin + 3, s.to);
        s.to_k = 1.0f - float(i + 1) / float(segments);
    }
    return n;
}

void trace_beam(const float *start, const float *direction, const MeshObject *mesh, float reach,
                int segments, float line_width, const float *rgba, BeamPointList *list,
                RenderFlags flags) {
    apply_render_flags(flags);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLineWidth(line_width);
    glDisable(GL_TEXTURE_2D);

    BeamSegment path[BEAM_MAX_SEGMENTS];
    const int n = trace_beam_path(start, direction, mesh, reach, segments, path, list);
    for (int i = 0; i < n; i++) {
        glBegin(GL_LINES);
            beam_vertex(path[i].from, path[i].from_k, rgba);
            beam_vertex(path[i].to, path[i].to_k, rgba);
        glEnd();
    }
}
