// tools/contentgen/mesh.h - the generator's triangle-mesh toolkit: a plain mesh record, the
// builders the recipes share (zipper rings, lathes, facet soups, quad strips, a narrow-band
// signed-distance polygoniser), count adjusters (edge splits) and the checks every mesh
// must pass before it is written.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a) { double l = length(a); return l > 0 ? a * (1.0 / l) : Vec3{0, 0, 0}; }

// A colour from hue (wrapping at 1), saturation and value, all 0..1.
inline Vec3 hsv(double h, double s, double v)
{
    h = (h - std::floor(h)) * 6;
    int i = int(h);
    double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

constexpr double PI = 3.14159265358979323846;

// Deterministic generator (splitmix64), one fixed seed per asset.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed) {}
    uint64_t next() {
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }   // [0, 1)
    double range(double a, double b) { return a + (b - a) * uniform(); }
};

struct Mesh {
    std::string name;
    std::vector<Vec3> pos;
    std::vector<int> tri;        // 3 per face
    std::vector<Vec3> uv;        // optional: (u, v, 0) per vertex
    std::vector<Vec3> colour;    // optional: (r, g, b) per vertex

    int vertices() const { return int(pos.size()); }
    int faces() const { return int(tri.size() / 3); }
    int add(Vec3 p) { pos.push_back(p); return int(pos.size()) - 1; }
    void face(int a, int b, int c) { tri.push_back(a); tri.push_back(b); tri.push_back(c); }
    void append(const Mesh &m);           // adds m's vertices and faces (and optional arrays)
    void flip();                          // reverses every face's winding
    double signed_volume() const;         // sum a.(b x c) / 6
};

// Faces ---------------------------------------------------------------------------------------
// Face (a, b, c) wound so that its normal points along `want`.
void face_towards(Mesh &m, int a, int b, int c, Vec3 want);
// A planar polygon with its own vertices, fan-triangulated, facing along `want`.
void add_facet(Mesh &m, const std::vector<Vec3> &poly, Vec3 want);
// Ear-clipped concave polygon (points in the xy plane, counter-clockwise); returns triangles as
// index triples into `poly`.
std::vector<int> ear_clip(const std::vector<Vec3> &poly);

// Rings ---------------------------------------------------------------------------------------
// Joins ring a (n points) to ring b (m points) with n + m triangles, walking both by angle.
// Faces are wound (a[i], a[i+1], b[j]) style: with rings running counter-clockwise about +z
// and b above a, the normals point outward.
void zip_rings(Mesh &m, const std::vector<int> &a, const std::vector<int> &b);
// Fan from a pole to a ring (pole below the ring when `below`).
void zip_pole(Mesh &m, int pole, const std::vector<int> &ring, bool below);
// Splits `total` into `count` sizes differing by at most one.
std::vector<int> distribute(int total, int count);

// Count adjusters -----------------------------------------------------------------------------
// Splits the longest edges shared by two faces until the mesh has `target` vertices
// (+1 vertex, +2 faces each).
void split_to(Mesh &m, int target);
// Joins two faces of a closed mesh by a three-quad tunnel (removes both, adds six).
void bridge_faces(Mesh &m, int fa, int fb);
// A one-sided blade on edge (a, b) with a new vertex at `tip`.
void add_fin(Mesh &m, int a, int b, Vec3 tip);
// Deterministic shuffle of the vertex order (so every k-th vertex covers the shape evenly).
void shuffle_vertices(Mesh &m, uint64_t seed);

// Signed-distance polygoniser ----------------------------------------------------------------
struct Capsule {
    Vec3 a, b;
    double ra, rb;    // radius at a and at b
};
struct Field {
    Vec3 origin;
    double cell;
    int nx, ny, nz;
    std::vector<float> value;    // negative inside
    float &at(int i, int j, int k) { return value[(size_t(k) * ny + j) * nx + i]; }
    Vec3 point(int i, int j, int k) const { return {origin.x + i * cell, origin.y + j * cell, origin.z + k * cell}; }
};
// A field covering [lo, hi] with the given cell, every value `outside`.
Field make_field(Vec3 lo, Vec3 hi, double cell, float outside);
// Splats capsules into the field (minimum of their distances), each only within its box.
void splat_capsules(Field &f, const std::vector<Capsule> &caps, double band);
// Marching tetrahedra (Freudenthal split of each cell), faces wound outward.
Mesh polygonise(const Field &f);
// Keeps the largest connected component only.
void keep_largest_component(Mesh &m);

// Checks --------------------------------------------------------------------------------------
struct Topology {
    int components = 0;
    int boundary_edges = 0;
    int boundary_loops = 0;
    int nonmanifold_edges = 0;    // edges used by more than two faces, or twice in one direction
    long euler = 0;               // V - E + F
};
Topology topology(const Mesh &m);
// Throws std::runtime_error naming the mesh on any count, index, unused-vertex or NaN fault.
void check_mesh(const Mesh &m, int want_v, int want_f, bool want_uv, bool want_colour);
