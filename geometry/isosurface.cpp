// geometry/isosurface.cpp - the blob field, its polygonisation and the two ways to draw it.
//
// One polygonisation, in order:
//   1. the field on the grid, by octree: a box no blob's bounding box touches is zero; a
//      4 x 4 x 4 leaf inside a touched box is evaluated point by point for all blobs;
//   2. the cells from one before the first inside point to one after the last, per axis;
//   3. five tetrahedra per cell. Corner "bit 0" on an axis is the cell's origin when the
//      origin index is even and origin + 1 when it is odd, so the split mirrors from cell to
//      cell and neighbouring cells cut their shared face along the same diagonal; an odd
//      number of mirrored axes turns every tetrahedron inside out, which swapping two of
//      its corners undoes;
//   4. one vertex per crossed edge, found again through the edge cache: an entry addressed
//      by the edge's doubled midpoint, valid only while its stamp is the current
//      generation, so the cache is never cleared;
//   5. each vertex moved to the mean centroid of its triangles, then one Newton step along
//      the field gradient back onto the level, limited to half a unit outward.
#include "geometry/isosurface.h"
#include "render/render_state.h"   // Required for: apply_render_flags()
#include <GL/gl.h>
#include <cmath>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int   N          = ISO_GRID_SIZE;
constexpr int   POINTS     = N * N * N;
constexpr int   HALF       = N / 2;          // index of coordinate 0
constexpr int   LEAF_SIZE  = 4;              // boxes this small are evaluated whole
constexpr int   CACHE_SIDE = 2 * N;          // doubled coordinates run 0..62
constexpr float ROUND_BOX  = 0.707f;         // bounding half size / radius
constexpr float CUBE_BOX   = 0.707f * 0.70710677f;
constexpr float PROBE      = 0.01f;          // finite-difference step for the gradient
constexpr float INV_PROBE  = 100.0f;
constexpr float MAX_STEP   = 0.5f;           // furthest a vertex moves outward

// Corner labels x + 2y + 4z of the five tetrahedra for a cell of even parity; a cell of
// odd parity swaps the third and fourth corner of each.
static const int TETRAHEDRA[5][4] = {
    { 7, 5, 3, 6 }, { 1, 5, 0, 3 }, { 4, 5, 6, 0 }, { 2, 6, 3, 0 }, { 0, 6, 3, 5 },
};

//----------------------------------------------------------------------------------
// Types and Structures
//----------------------------------------------------------------------------------
struct PreparedBlob {
    float c[3];     // centre in index space (coordinates + 16)
    float h;        // bounding-box half size
    float inv_r2;   // 1 / r^2 (round) or 1 / r^4 (cube)
    float sign;     // +1 or -1
    int   kind;
};

struct CacheEntry {
    int vertex;
    int stamp;
};

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    bool          ready;                 // cache stamps set
    float         value[POINTS];         // field per grid point
    unsigned char inside[POINTS];        // value >= ISO_LEVEL
    int           occupancy[3][N];       // inside points per index, per axis
    CacheEntry    cache[CACHE_SIDE * CACHE_SIDE * CACHE_SIDE];
    int           generation;            // stamp of this polygonisation's cache entries
    std::vector<PreparedBlob> blobs;     // this call's blobs
    std::vector<float> positions, normals, sums;   // sums: smoothing accumulators (x, y, z, weight)
    std::vector<int>   triangles;
    IsoSurface    result;
    unsigned      list;                  // the shared display list, made on the first build
    MeshObject    mesh;                  // what build_isosurface returns
} ISO;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void prepare_blobs(const Blob *blobs, int count) {
    ISO.blobs.clear();
    for (int i = 0; i < count; i++) {
        const Blob &b = blobs[i];
        PreparedBlob p;
        p.c[0] = b.x + HALF;
        p.c[1] = b.y + HALF;
        p.c[2] = b.z + HALF;
        const float r2 = b.radius * b.radius;
        p.kind = b.kind;
        p.h = (b.kind == BLOB_CUBE ? CUBE_BOX : ROUND_BOX) * b.radius;
        p.inv_r2 = b.kind == BLOB_CUBE ? 1.0f / (r2 * r2) : 1.0f / r2;
        p.sign = b.negative ? -1.0f : 1.0f;
        ISO.blobs.push_back(p);
    }
}

// Summed field at a point in index space.
static float field_at(float x, float y, float z) {
    float sum = 0.0f;
    for (const PreparedBlob &b : ISO.blobs) {
        const float dx = x - b.c[0], dy = y - b.c[1], dz = z - b.c[2];
        float m;
        if (b.kind == BLOB_ROUND) {
            m = (dx * dx + dy * dy + dz * dz) * b.inv_r2;
        } else if (b.kind == BLOB_CUBE) {
            const float xx = dx * dx, yy = dy * dy, zz = dz * dz;
            m = (xx * xx + yy * yy + zz * zz) * b.inv_r2;
        } else {
            continue;
        }
        if (m < 0.5f) sum += b.sign * (m * m - m + 0.25f);
    }
    return sum;
}

static bool box_touched(int x0, int y0, int z0, int size) {
    const int lo[3] = { x0, y0, z0 };
    for (const PreparedBlob &b : ISO.blobs) {
        bool touches = true;
        for (int a = 0; a < 3 && touches; a++)
            touches = float(lo[a]) <= b.c[a] + b.h && float(lo[a] + size) >= b.c[a] - b.h;
        if (touches) return true;
    }
    return false;
}

static void evaluate_leaf(int x0, int y0, int z0, int size) {
    for (int z = z0; z < z0 + size; z++)
        for (int y = y0; y < y0 + size; y++)
            for (int x = x0; x < x0 + size; x++) {
                const int p = x + N * y + N * N * z;
                const float v = field_at(float(x), float(y), float(z));
                ISO.value[p] = v;
                ISO.inside[p] = v >= ISO_LEVEL;
                if (v >= ISO_LEVEL) {
                    ISO.occupancy[0][x]++;
                    ISO.occupancy[1][y]++;
                    ISO.occupancy[2][z]++;
                }
            }
}

static void clear_box(int x0, int y0, int z0, int size) {
    for (int z = z0; z < z0 + size; z++)
        for (int y = y0; y < y0 + size; y++) {
            const int p = x0 + N * y + N * N * z;
            for (int x = 0; x < size; x++) {
                ISO.value[p + x] = 0.0f;
                ISO.inside[p + x] = 0;
            }
        }
}

static void evaluate_box(int x0, int y0, int z0, int size) {
    if (size <= LEAF_SIZE) {
        evaluate_leaf(x0, y0, z0, size);
    } else if (box_touched(x0, y0, z0, size)) {
        const int h = size / 2;
        for (int k = 0; k < 8; k++)
            evaluate_box(x0 + (k & 1) * h, y0 + ((k >> 1) & 1) * h, z0 + ((k >> 2) & 1) * h, h);
    } else {
        clear_box(x0, y0, z0, size);
    }
}

// Cells to visit on one axis: origins lo .. hi - 1. The upper end stays below the last
// index so that every cell lies inside the grid even when the surface reaches its edge.
static void cell_range(int axis, int *lo, int *hi) {
    int first = -1, last = -1;
    for (int i = 0; i < N; i++)
        if (ISO.occupancy[axis][i]) {
            if (first < 0) first = i;
            last = i;
        }
    ISO.result.inside_low[axis] = first;
    ISO.result.inside_high[axis] = last;
    if (first < 0) {
        *lo = 0;
        *hi = N - 1;
        return;
    }
    *lo = first > 0 ? first - 1 : 0;
    *hi = last + 1 < N - 1 ? last + 1 : N - 1;
}

// The vertex where the level crosses the edge from inside point a to outside point b.
static int edge_vertex(int a, int b) {
    const int ax = a & (N - 1), ay = (a >> 5) & (N - 1), az = a >> 10;
    const int bx = b & (N - 1), by = (b >> 5) & (N - 1), bz = b >> 10;
    CacheEntry &e = ISO.cache[(ax + bx) + CACHE_SIDE * (ay + by) + CACHE_SIDE * CACHE_SIDE * (az + bz)];
    if (e.stamp == ISO.generation) return e.vertex;
    const int index = int(ISO.positions.size() / 3);
    if (index >= ISO_MAX_VERTICES) return -1;
    const float va = ISO.value[a], t = (va - ISO_LEVEL) / (va - ISO.value[b]);
    ISO.positions.push_back(float(ax - HALF) + t * float(bx - ax));
    ISO.positions.push_back(float(ay - HALF) + t * float(by - ay));
    ISO.positions.push_back(float(az - HALF) + t * float(bz - az));
    e.vertex = index;
    e.stamp = ISO.generation;
    return index;
}

static void emit(int a, int b, int c) {
    if (a < 0 || b < 0 || c < 0) return;   // past the vertex limit
    ISO.triangles.push_back(a);
    ISO.triangles.push_back(b);
    ISO.triangles.push_back(c);
}

// The triangles of one tetrahedron with grid points t[0..3].
static void polygonise_tetrahedron(const int t[4]) {
    const bool in[4] = { ISO.inside[t[0]] != 0, ISO.inside[t[1]] != 0, ISO.inside[t[2]] != 0,
                         ISO.inside[t[3]] != 0 };
    const int n = in[0] + in[1] + in[2] + in[3];
    auto e = [t](int i, int j) { return edge_vertex(t[i], t[j]); };
    if (n == 1) {
        if (in[0])      { const int p = e(0, 3), q = e(0, 2), r = e(0, 1); emit(p, q, r); }
        else if (in[1]) { const int p = e(1, 0), q = e(1, 2), r = e(1, 3); emit(p, q, r); }
        else if (in[2]) { const int p = e(2, 3), q = e(2, 1), r = e(2, 0); emit(p, q, r); }
        else            { const int p = e(3, 0), q = e(3, 1), r = e(3, 2); emit(p, q, r); }
    } else if (n == 3) {
        if (!in[0])      { const int p = e(1, 0), q = e(2, 0), r = e(3, 0); emit(p, q, r); }
        else if (!in[1]) { const int p = e(3, 1), q = e(2, 1), r = e(0, 1); emit(p, q, r); }
        else if (!in[2]) { const int p = e(0, 2), q = e(1, 2), r = e(3, 2); emit(p, q, r); }
        else             { const int p = e(2, 3), q = e(1, 3), r = e(0, 3); emit(p, q, r); }
    } else if (n == 2) {
        int ins[2], outs[2], ni = 0, no = 0;
        for (int k = 0; k < 4; k++) {
            if (in[k]) ins[ni++] = k;
            else outs[no++] = k;
        }
        int p, q, r, s;
        if (in[0] != in[2]) {
            p = e(ins[0], outs[0]); q = e(ins[1], outs[0]); r = e(ins[0], outs[1]); s = e(ins[1], outs[1]);
        } else {
            p = e(ins[0], outs[0]); q = e(ins[0], outs[1]); r = e(ins[1], outs[0]); s = e(ins[1], outs[1]);
        }
        emit(p, q, r);
        emit(q, s, r);
    }
}

static void polygonise_cells() {
    int lo[3], hi[3];
    for (int a = 0; a < 3; a++) cell_range(a, &lo[a], &hi[a]);
    for (int z = lo[2]; z < hi[2]; z++)
        for (int y = lo[1]; y < hi[1]; y++)
            for (int x = lo[0]; x < hi[0]; x++) {
                // Grid point of each corner label: bit 0 is the even index of the pair.
                const int cx[2] = { x + (x & 1), x + 1 - (x & 1) };
                const int cy[2] = { y + (y & 1), y + 1 - (y & 1) };
                const int cz[2] = { z + (z & 1), z + 1 - (z & 1) };
                int corner[8], inside = 0;
                for (int k = 0; k < 8; k++) {
                    corner[k] = cx[k & 1] + N * cy[(k >> 1) & 1] + N * N * cz[k >> 2];
                    inside += ISO.inside[corner[k]];
                }
                if (inside == 0 || inside == 8) continue;
                const bool odd = ((x + y + z) & 1) != 0;
                for (const int *tet : TETRAHEDRA) {
                    int t[4] = { corner[tet[0]], corner[tet[1]], corner[tet[2]], corner[tet[3]] };
                    if (odd) {
                        const int swap = t[2];
                        t[2] = t[3];
                        t[3] = swap;
                    }
                    polygonise_tetrahedron(t);
                }
            }
}

// Every vertex to the mean of the centroids of the triangles around it.
static void smooth_vertices() {
    const int vertices = int(ISO.positions.size() / 3), triangles = int(ISO.triangles.size() / 3);
    ISO.sums.assign(size_t(vertices) * 4, 0.0f);
    float *p = ISO.positions.data(), *s = ISO.sums.data();
    for (int k = 0; k < triangles; k++) {
        const int *v = &ISO.triangles[size_t(k) * 3];
        float c[3];
        for (int i = 0; i < 3; i++) c[i] = p[v[0] * 3 + i] + p[v[1] * 3 + i] + p[v[2] * 3 + i];
        for (int j = 0; j < 3; j++) {
            float *sum = &s[v[j] * 4];
            sum[0] += c[0];
            sum[1] += c[1];
            sum[2] += c[2];
            sum[3] += 3.0f;
        }
    }
    for (int v = 0; v < vertices; v++)
        if (s[v * 4 + 3] > 0)
            for (int i = 0; i < 3; i++) p[v * 3 + i] = s[v * 4 + i] / s[v * 4 + 3];
}

// Gradient normals and one Newton step onto the level. Where the field is flat (no
// gradient at all) the vertex stays and its normal is left zero.
static void project_vertices() {
    const int vertices = int(ISO.positions.size() / 3);
    ISO.normals.assign(size_t(vertices) * 3, 0.0f);
    for (int v = 0; v < vertices; v++) {
        float *p = &ISO.positions[size_t(v) * 3], *n = &ISO.normals[size_t(v) * 3];
        const float x = p[0] + HALF, y = p[1] + HALF, z = p[2] + HALF;
        const float f = field_at(x, y, z);
        const float g[3] = { (f - field_at(x + PROBE, y, z)) * INV_PROBE, (f - field_at(x, y + PROBE, z)) * INV_PROBE,
                             (f - field_at(x, y, z + PROBE)) * INV_PROBE };
        const float length = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
        if (!(length > 0.0f)) continue;
        const float k = 1.0f / length;
        float step = k > 100.0f ? 100.0f : k * (f - ISO_LEVEL);
        if (step > MAX_STEP) step = MAX_STEP;
        for (int i = 0; i < 3; i++) {
            n[i] = g[i] * k;
            p[i] += n[i] * step;
        }
    }
}

static void draw_arrays() {
    if (ISO.triangles.empty()) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, ISO.positions.data());
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, ISO.normals.data());
        glDrawElements(GL_TRIANGLES, GLsizei(ISO.triangles.size()), GL_UNSIGNED_INT, ISO.triangles.data());
    glPopClientAttrib();
    glPopAttrib();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float blob_field(const Blob *blobs, int count, const float p[3]) {
    prepare_blobs(blobs, count);
    return field_at(p[0] + HALF, p[1] + HALF, p[2] + HALF);
}

const IsoSurface &polygonise_blobs(const Blob *blobs, int count) {
    if (!ISO.ready) {
        for (CacheEntry &e : ISO.cache) e = { 0, -1 };
        ISO.generation = 0;
        ISO.ready = true;
    }
    prepare_blobs(blobs, count);
    for (auto &axis : ISO.occupancy)
        for (int &n : axis) n = 0;
    ISO.positions.clear();
    ISO.triangles.clear();

    evaluate_box(0, 0, 0, N);
    polygonise_cells();
    smooth_vertices();
    project_vertices();
    ISO.generation++;

    IsoSurface &r = ISO.result;
    r.positions = ISO.positions.data();
    r.normals = ISO.normals.data();
    r.triangles = ISO.triangles.data();
    r.vertex_count = int(ISO.positions.size() / 3);
    r.triangle_count = int(ISO.triangles.size() / 3);
    return r;
}

void draw_isosurface(const Blob *blobs, int count, RenderFlags flags) {
    polygonise_blobs(blobs, count);
    apply_render_flags(flags);
    draw_arrays();
}

MeshObject *build_isosurface(const Blob *blobs, int count, RenderFlags) {
    const IsoSurface &s = polygonise_blobs(blobs, count);
    if (!ISO.list) ISO.list = glGenLists(1);
    glNewList(ISO.list, GL_COMPILE);
        draw_arrays();   // the arrays are read now, into the list
    glEndList();
    ISO.mesh = MeshObject{};
    ISO.mesh.list = ISO.list;
    ISO.mesh.vertex_count = s.vertex_count;
    ISO.mesh.face_count = s.triangle_count;
    return &ISO.mesh;
}
