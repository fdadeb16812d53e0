// tools/contentgen/meshes.cpp - recipes of the 29 embedded meshes. Each recipe builds a shape
// whose topology fixes F - 2V, then finishes the exact vertex count with edge splits (or picks
// ring, strip and facet counts that hit it directly). Coordinates are mesh units.
#include "meshes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <array>
#include <stdexcept>
#include <tuple>

const MeshSpec mesh_specs[29] = {
    {"hull_mesh", 9010, 18326, false, false},
    {"statue_mesh", 17639, 35346, false, false},
    {"big_statue_mesh", 21754, 43576, false, false},
    {"flock_mesh", 3167, 6330, false, false},
    {"core_mesh", 4000, 7996, false, false},
    {"twirl_mesh", 657, 1485, false, false},
    {"machine_part_a_mesh", 1316, 506, false, false},
    {"machine_part_b_mesh", 1186, 472, false, false},
    {"bubble_frame_mesh", 375, 126, false, false},
    {"twin_part_a_mesh", 122, 236, false, false},
    {"twin_part_b_mesh", 110, 208, false, false},
    {"pedestal_mesh", 3041, 1222, false, true},
    {"tube_mesh", 384, 768, false, false},
    {"water_surface_mesh", 2500, 5004, false, false},
    {"sculpture_part_a_mesh", 1617, 3200, false, false},
    {"sculpture_part_b_mesh", 2359, 4696, false, false},
    {"sculpture_mesh", 5818, 10944, false, false},
    {"small_part_1_mesh", 150, 100, true, false},
    {"small_part_2_mesh", 102, 64, true, false},
    {"small_part_3_mesh", 106, 68, true, false},
    {"small_part_4_mesh", 792, 520, true, false},
    {"small_part_5_mesh", 368, 216, true, false},
    {"small_part_6_mesh", 368, 216, true, false},
    {"small_part_7_mesh", 368, 216, true, false},
    {"pod_mesh", 300, 596, false, false},
    {"beam_mirror_mesh", 156, 327, false, false},
    {"beam_hall_mesh", 2563, 5048, false, false},
    {"glow_object_mesh", 300, 596, false, false},
    {"glow_shell_mesh", 1500, 1096, false, false},
};

namespace {

//----------------------------------------------------------------------------------------------
// Shared helpers
//----------------------------------------------------------------------------------------------
double smoothstep(double a, double b, double x)
{
    double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// A closed genus-0 body of rings about the z axis: ring i has sizes[i] points given by
// point(i, theta) (theta counter-clockwise about +z), the rings run from low z to high z, with a
// pole below the first and above the last. Wound outward.
Mesh ring_body(const std::vector<int> &sizes, const std::function<Vec3(int, double)> &point, Vec3 pole_lo, Vec3 pole_hi)
{
    Mesh m;
    std::vector<std::vector<int>> rings;
    int lo = m.add(pole_lo);
    for (size_t i = 0; i < sizes.size(); i++) {
        std::vector<int> r;
        for (int k = 0; k < sizes[i]; k++) r.push_back(m.add(point(int(i), 2 * PI * k / sizes[i])));
        rings.push_back(r);
    }
    int hi = m.add(pole_hi);
    zip_pole(m, lo, rings.front(), true);
    for (size_t i = 0; i + 1 < rings.size(); i++) zip_rings(m, rings[i], rings[i + 1]);
    zip_pole(m, hi, rings.back(), false);
    return m;
}

// Closed uniform Catmull-Rom loop through the keys.
Vec3 spline(const std::vector<Vec3> &k, double u)
{
    int n = int(k.size());
    u -= std::floor(u);
    double s = n * u;
    int i = int(std::floor(s));
    double t = s - i;
    auto key = [&](int j) { return k[size_t(((j % n) + n) % n)]; };
    double h = t * t * (3 - 2 * t), w3 = -0.5 * t * t * (1 - t), w1 = (1 - h) - w3, w0 = -0.5 * t * (1 - t) * (1 - t), w2 = h - w0;
    return key(i - 2) * w0 + key(i - 1) * w1 + key(i) * w2 + key(i + 1) * w3;
}

const std::vector<Vec3> cave_keys = {
    {-10.522083, 8.448077, -10.645997}, {6.8224907, 8.938754, -0.821436}, {21.632587, 8.448077, 12.601654},
    {37.026573, 9.918925, 25.237461}, {50.620087, 11.389182, 31.396627}, {64.35681, 11.879859, 37.351475},
    {79.320694, 12.615874, 38.08661}, {87.545395, 11.14857, 32.59104}, {92.77634, 7.7796717, 24.76239},
    {93.91656, 3.957447, 15.630627}, {92.15296, -0.3181038, 6.764433}, {82.00308, -4.672374, -3.385452},
    {68.92761, -4.182288, -10.653961}, {54.639526, -1.2635602, -13.990913}, {35.15427, 2.8776956, -14.709568},
    {16.519054, 4.3450003, -8.030514}, {-1.098125, 5.326354, 1.3860645}, {-18.170094, 3.3660116, 11.618608},
    {-36.162823, 1.405669, 20.128534}, {-50.217976, -0.0645882, 25.157549}, {-60.02583, -0.0645882, 27.108454},
    {-69.679436, -1.0447596, 24.690351}, {-74.79571, -2.024931, 16.154367}, {-77.66714, -0.5576262, 6.688538},
    {-73.954994, 1.8721756, -2.2733822}, {-66.676765, 5.241074, -8.246474}, {-57.835793, 8.143921, -11.908526},
    {-48.825775, 11.512819, -14.641685}, {-34.005997, 13.713776, -13.913634}, {-14.890244, 12.732422, -8.114932},
};

const std::vector<Vec3> cavern_keys = {
    {-7.131753, -5.555702, 4.274608}, {-20.019087, -18.615225, 11.494463}, {-39.221054, -11.399683, 29.561928},
    {-59.72065, 13.426087, 40.719467}, {-73.690956, 15.627044, 45.71812}, {-88.089035, 16.363058, 49.08296},
    {-99.25177, 17.099073, 39.970375}, {-103.52217, 17.344412, 25.947393}, {-99.97267, 16.853735, 11.718889},
    {-87.30008, 16.853735, -3.7226968}, {-70.95744, 18.811716, -14.6594715}, {-51.888393, 19.791887, -8.872471},
    {-29.946524, 17.34146, 2.8556995}, {-11.580057, 15.381117, 10.463339}, {4.789295, 22.215727, 3.6829307},
    {19.757496, 34.888313, -0.0349169}, {37.183994, 44.304893, -2.619894}, {56.341656, 48.65396, -5.4616656},
    {75.68389, 49.143456, -10.306642}, {88.78312, 45.508102, -16.480198}, {97.10271, 35.256977, -23.229137},
    {101.599915, 22.704956, -29.959692}, {102.1347, 8.154486, -33.564945}, {95.61153, -4.6187496, -34.57414},
    {81.8755, -8.97302, -30.40736}, {62.68486, -11.907628, -25.600353}, {46.18319, -21.992117, -22.31797},
    {30.36451, -33.477077, -18.355598}, {12.440667, -41.13075, -13.8659115}, {-1.9378481, -40.168255, -0.871897},
    {-14.946914, -22.534506, 8.345707}, {-10.784162, -8.548729, 7.410204}, {-1.2476983, 8.999246, -4.146264},
    {18.832632, 17.876717, -16.782545}, {38.616627, 19.837059, -14.83399}, {53.33195, 18.856888, -1.5031644},
    {58.444836, 16.660645, 12.116519}, {56.799725, 17.39666, 26.606945}, {43.719753, 16.420033, 41.066418},
    {24.460182, 17.887337, 36.72796}, {7.3056107, 17.887337, 26.4459}, {-0.4607111, 12.627505, 14.822778},
};

// Hash-based lattice value noise in 3D (smooth, about [-1, 1]).
double hash3(int x, int y, int z, uint64_t seed)
{
    uint64_t h = seed ^ (uint64_t(uint32_t(x)) * 0x9E3779B97F4A7C15ull) ^ (uint64_t(uint32_t(y)) * 0xC2B2AE3D27D4EB4Full) ^
                 (uint64_t(uint32_t(z)) * 0x165667B19E3779F9ull);
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return double(h & 0xFFFFFF) / double(0x7FFFFF) - 1.0;
}
double noise3(Vec3 p, uint64_t seed)
{
    int x = int(std::floor(p.x)), y = int(std::floor(p.y)), z = int(std::floor(p.z));
    double fx = p.x - x, fy = p.y - y, fz = p.z - z;
    fx = fx * fx * (3 - 2 * fx); fy = fy * fy * (3 - 2 * fy); fz = fz * fz * (3 - 2 * fz);
    double r = 0;
    for (int c = 0; c < 8; c++) {
        int dx = c & 1, dy = (c >> 1) & 1, dz = (c >> 2) & 1;
        r += hash3(x + dx, y + dy, z + dz, seed) * (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy) * (dz ? fz : 1 - fz);
    }
    return r;
}

// Genus of a closed connected mesh from V - E + F.
int genus_of(const Mesh &m) { return int((2 - topology(m).euler) / 2); }

// Polygonises a capsule set, choosing the finest cell from `cell` upward whose surface stays
// within `max_vertices`; keeps the largest component. `extra` may shape the field afterwards.
Mesh polygonise_capsules(const std::vector<Capsule> &caps, double cell, int max_vertices, double band,
                         const std::function<void(Field &)> &extra = {})
{
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (const Capsule &c : caps)
        for (Vec3 p : {c.a, c.b}) {
            double r = std::max(c.ra, c.rb) + 1;
            lo = {std::min(lo.x, p.x - r), std::min(lo.y, p.y - r), std::min(lo.z, p.z - r)};
            hi = {std::max(hi.x, p.x + r), std::max(hi.y, p.y + r), std::max(hi.z, p.z + r)};
        }
    for (int tries = 0; tries < 60; tries++) {
        Field f = make_field(lo, hi, cell, float(band));
        splat_capsules(f, caps, band);
        if (extra) extra(f);
        Mesh m = polygonise(f);
        keep_largest_component(m);
        if (m.vertices() <= max_vertices) return m;
        // Vertex count goes as 1 / cell^2.
        cell *= std::max(1.01, std::sqrt(double(m.vertices()) / max_vertices) * 1.004);
    }
    throw std::runtime_error("polygoniser found no cell size small enough");
}

//----------------------------------------------------------------------------------------------
// hull_mesh: a perforated spherical shell, 79 round windows (genus 78), plus two fins
//----------------------------------------------------------------------------------------------
Mesh make_hull()
{
    // Geodesic sphere: subdivided icosahedron, vertices shared through a quantised position map.
    const double t = (1 + std::sqrt(5.0)) / 2;
    std::vector<Vec3> ico = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                             {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    const int ifaces[20][3] = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                               {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
                               {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
    const int n = 22;
    Mesh s;
    std::map<std::tuple<long, long, long>, int> seen;
    auto vid = [&](Vec3 p) {
        p = normalize(p);
        auto key = std::make_tuple(std::lround(p.x * 1e6), std::lround(p.y * 1e6), std::lround(p.z * 1e6));
        auto it = seen.find(key);
        if (it != seen.end()) return it->second;
        int id = s.add(p);
        seen.emplace(key, id);
        return id;
    };
    for (auto &f : ifaces) {
        Vec3 A = ico[size_t(f[0])], B = ico[size_t(f[1])], C = ico[size_t(f[2])];
        auto P = [&](int i, int j) { return A + (B - A) * (double(i) / n) + (C - A) * (double(j) / n); };
        for (int i = 0; i < n; i++)
            for (int j = 0; i + j < n; j++) {
                s.face(vid(P(i, j)), vid(P(i + 1, j)), vid(P(i, j + 1)));
                if (i + j + 1 < n) s.face(vid(P(i + 1, j)), vid(P(i + 1, j + 1)), vid(P(i, j + 1)));
            }
    }
    if (s.signed_volume() < 0) s.flip();
    // Window centres on a Fibonacci sphere; a face goes when its centre lies within the window.
    std::vector<Vec3> centre;
    const int windows = 79;
    for (int i = 0; i < windows; i++) {
        double y = 1 - (i + 0.5) * 2.0 / windows, r = std::sqrt(1 - y * y), a = i * PI * (3 - std::sqrt(5.0));
        centre.push_back({r * std::cos(a), y, r * std::sin(a)});
    }
    const double cos_window = std::cos(std::asin(12.0 / 84.5));
    std::vector<int> keep;
    std::vector<int> window_of(size_t(s.vertices()), -1);
    for (int f = 0; f < s.faces(); f++) {
        Vec3 c = normalize(s.pos[size_t(s.tri[size_t(f) * 3])] + s.pos[size_t(s.tri[size_t(f) * 3 + 1])] + s.pos[size_t(s.tri[size_t(f) * 3 + 2])]);
        bool hole = false;
        for (int w = 0; w < windows; w++)
            if (dot(c, centre[size_t(w)]) > cos_window) {
                hole = true;
                for (int k = 0; k < 3; k++) window_of[size_t(s.tri[size_t(f) * 3 + size_t(k)])] = w;
            }
        if (!hole) for (int k = 0; k < 3; k++) keep.push_back(s.tri[size_t(f) * 3 + size_t(k)]);
    }
    // Compact the perforated sphere.
    Mesh o;
    std::vector<int> remap(size_t(s.vertices()), -1);
    std::vector<int> owin;
    for (int &i : keep) {
        if (remap[size_t(i)] < 0) { remap[size_t(i)] = o.add(s.pos[size_t(i)]); owin.push_back(window_of[size_t(i)]); }
        o.tri.push_back(remap[size_t(i)]);
    }
    // Round the windows: rim vertices move onto the window's circle.
    std::map<std::pair<int, int>, int> directed;
    for (int f = 0; f < o.faces(); f++)
        for (int k = 0; k < 3; k++) directed[{o.tri[size_t(f) * 3 + size_t(k)], o.tri[size_t(f) * 3 + size_t((k + 1) % 3)]}]++;
    std::vector<std::pair<int, int>> rim;
    for (auto &[e, c] : directed)
        if (!directed.count({e.second, e.first})) rim.push_back(e);
    for (int v = 0; v < o.vertices(); v++) {
        int w = owin[size_t(v)];
        if (w < 0) continue;
        Vec3 c = centre[size_t(w)], d = o.pos[size_t(v)];
        Vec3 side = normalize(d - c * dot(d, c));
        double a = std::asin(12.0 / 84.5);
        o.pos[size_t(v)] = c * std::cos(a) + side * std::sin(a);
    }
    // Outer shell r 88, inner shell r 81 (flipped), walls with a middle ring at r 84.5.
    Mesh m;
    int nv = o.vertices();
    for (int v = 0; v < nv; v++) m.add(o.pos[size_t(v)] * 88.0);
    for (int v = 0; v < nv; v++) m.add(o.pos[size_t(v)] * 81.0);
    std::vector<int> mid(size_t(nv), -1);
    for (auto &e : rim)
        for (int v : {e.first, e.second})
            if (mid[size_t(v)] < 0) mid[size_t(v)] = m.add(o.pos[size_t(v)] * 84.5);
    for (int f = 0; f < o.faces(); f++) {
        int a = o.tri[size_t(f) * 3], b = o.tri[size_t(f) * 3 + 1], c = o.tri[size_t(f) * 3 + 2];
        m.face(a, b, c);
        m.face(nv + a, nv + c, nv + b);
    }
    for (auto [a, b] : rim) {
        int ma = mid[size_t(a)], mb = mid[size_t(b)];
        m.face(b, a, ma); m.face(b, ma, mb);
        m.face(mb, ma, nv + a); m.face(mb, nv + a, nv + b);
    }
    m.name = "hull_mesh";
    Topology tp = topology(m);
    if (tp.components != 1 || tp.boundary_edges != 0 || tp.nonmanifold_edges != 0 || genus_of(m) != 78)
        throw std::runtime_error("hull_mesh: perforated shell is not a closed genus-78 surface (genus " + std::to_string(genus_of(m)) + ")");
    split_to(m, 9008);
    // Two antenna blades, on the outer edges nearest the poles.
    for (double sy : {1.0, -1.0}) {
        int best = -1;
        double by = -1e9;
        for (int f = 0; f < m.faces(); f++) {
            int a = m.tri[size_t(f) * 3], b = m.tri[size_t(f) * 3 + 1];
            if (length(m.pos[size_t(a)]) < 87.9 || length(m.pos[size_t(b)]) < 87.9) continue;
            double y = sy * (m.pos[size_t(a)].y + m.pos[size_t(b)].y);
            if (y > by) { by = y; best = f; }
        }
        int a = m.tri[size_t(best) * 3], b = m.tri[size_t(best) * 3 + 1];
        Vec3 c = (m.pos[size_t(a)] + m.pos[size_t(b)]) * 0.5;
        add_fin(m, a, b, normalize(c) * 92.0);
    }
    return m;
}

//----------------------------------------------------------------------------------------------
// statue_mesh / big_statue_mesh: the cavern tunnels and the chrome rods inside them
//----------------------------------------------------------------------------------------------
double distance_to_segment(Vec3 p, Vec3 a, Vec3 b)
{
    Vec3 ab = b - a;
    double t = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0, 1.0);
    return length(p - (a + ab * t));
}

struct CavernGraph {
    std::vector<Vec3> loop;                       // dense samples of the cavern path
    std::vector<std::pair<Vec3, Vec3>> struts;    // bypass tunnels
    std::vector<std::pair<Vec3, Vec3>> pillars;   // side loops, three segments each
};

// Side and across directions of the loop at sample c.
void loop_frame(const std::vector<Vec3> &loop, int c, Vec3 &side, Vec3 &across)
{
    int n = int(loop.size());
    Vec3 t = normalize(loop[size_t((c + 1) % n)] - loop[size_t((c + n - 1) % n)]);
    side = normalize(cross(t, {0, 1, 0}));
    if (length(side) < 0.5) side = normalize(cross(t, {1, 0, 0}));
    across = normalize(cross(side, t));
}



// Candidate bypass struts: chords between path points 45-100 apart whose middle stays far
// from the rest of the loop and from the struts already chosen.
std::vector<std::pair<Vec3, Vec3>> strut_candidates(const std::vector<Vec3> &loop, uint64_t seed, int count)
{
    std::vector<std::pair<Vec3, Vec3>> out;
    Rng rng(seed);
    int n = int(loop.size());
    for (int tries = 0; tries < 20000 && int(out.size()) < count; tries++) {
        int i = int(rng.next() % uint64_t(n)), j = int(rng.next() % uint64_t(n));
        int sep = std::abs(i - j);
        sep = std::min(sep, n - sep);
        if (sep < n / 10) continue;
        Vec3 a = loop[size_t(i)], b = loop[size_t(j)];
        double l = length(b - a);
        if (l < 75 || l > 150) continue;
        bool clear = true;
        for (int s = 1; s < 40 && clear; s++) {
            double t = s / 40.0;
            Vec3 p = a + (b - a) * t;
            double from_ends = std::min(t, 1 - t) * l;
            if (from_ends < 8) continue;
            for (int q = 0; q < n; q++) {
                int di = std::min(std::abs(q - i), n - std::abs(q - i)), dj = std::min(std::abs(q - j), n - std::abs(q - j));
                if (from_ends < 34 && (di < 70 || dj < 70)) continue;
                if (length(loop[size_t(q)] - p) < 31) { clear = false; break; }
            }
            for (auto &[c, d] : out) if (distance_to_segment(p, c, d) < 28) { clear = false; break; }
        }
        if (clear) out.push_back({a, b});
    }
    return out;
}

const CavernGraph &cavern_graph()
{
    static CavernGraph g;
    if (!g.loop.empty()) return g;
    for (int i = 0; i < 1200; i++) g.loop.push_back(spline(cavern_keys, i / 1200.0));
    // The tube genus from the loop alone, then as many struts as genus 18 needs.
    std::vector<Capsule> caps;
    for (size_t i = 0; i < g.loop.size(); i++) caps.push_back({g.loop[i], g.loop[(i + 1) % g.loop.size()], 16, 16});
    Mesh base = polygonise_capsules(caps, 4.0, 1 << 30, 8.0);
    int need = 18 - genus_of(base);
    g.struts = strut_candidates(g.loop, 0x5757, std::max(0, need));
    // The rest of the handles: columns across the lonely stretches of tunnel, off the axis.
    // Then side loops: short bowed tunnels leaving a lonely stretch of tube and rejoining it.
    int n = int(g.loop.size());
    std::vector<int> taken;
    for (double bow : {27.0, 36.0, 31.0, 44.0})
    for (int c = 0; c < n; c += 3) {
        bool near = false;
        for (int t : taken) if (std::min(std::abs(t - c), n - std::abs(t - c)) < 40) near = true;
        for (auto &[e, f] : g.struts) if (length(e - g.loop[size_t(c)]) < 30 || length(f - g.loop[size_t(c)]) < 30) near = true;
        if (near) continue;
        int d = (c + 44) % n;
        Vec3 side, across;
        loop_frame(g.loop, (c + 22) % n, side, across);
        for (Vec3 out : {side, side * -1.0, across, across * -1.0, normalize(side + across), normalize(side - across), normalize(across - side), normalize(side + across) * -1.0}) {
            Vec3 a = g.loop[size_t(c)], b = g.loop[size_t(d)], p1 = a + out * bow, p2 = b + out * bow;
            bool ok = true;
            for (Vec3 p : {p1, p2, (p1 + p2) * 0.5}) {
                if (std::fabs(p.x) > 113 || p.y < -51 || p.y > 59 || p.z < -44 || p.z > 59) ok = false;
                for (int q = 0; q < n && ok; q += 2) if (length(g.loop[size_t(q)] - p) < std::min(25.0, bow - 0.5)) ok = false;
                for (auto &[e, f] : g.struts) if (distance_to_segment(p, e, f) < 24) ok = false;
                for (auto &[e, f] : g.pillars) if (distance_to_segment(p, e, f) < 16) ok = false;
            }
            if (!ok) continue;
            g.pillars.push_back({a, p1});
            g.pillars.push_back({p1, p2});
            g.pillars.push_back({p2, b});
            taken.push_back(c);
            break;
        }
    }
    std::fprintf(stderr, "cavern: genus %d + %zu struts + %zu side loops\n", genus_of(base), g.struts.size(), g.pillars.size() / 3);
    if (int(g.struts.size() + g.pillars.size() / 3) < need) throw std::runtime_error("statue_mesh: not enough room for bypass struts and columns");
    return g;
}

// Grows a surface to `target` genus: starts from the base capsules, then tries each option
// (a group of capsules) in order and keeps it only when it adds exactly one handle. The cell
// is chosen once, so that base plus every option stays within `max_vertices`.
Mesh grow_genus(const std::vector<Capsule> &base, const std::vector<std::vector<Capsule>> &options, int target,
                double cell, int max_vertices, double band, std::vector<char> &accepted, const std::string &name)
{
    std::vector<Capsule> all = base;
    for (auto &o : options) all.insert(all.end(), o.begin(), o.end());
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (const Capsule &c : all)
        for (Vec3 p : {c.a, c.b}) {
            double r = std::max(c.ra, c.rb) + 1;
            lo = {std::min(lo.x, p.x - r), std::min(lo.y, p.y - r), std::min(lo.z, p.z - r)};
            hi = {std::max(hi.x, p.x + r), std::max(hi.y, p.y + r), std::max(hi.z, p.z + r)};
        }
    auto mesh_of = [&](const Field &f) { Mesh m = polygonise(f); keep_largest_component(m); return m; };
    for (int tries = 0; tries < 30; tries++) {
        Field f = make_field(lo, hi, cell, float(band));
        splat_capsules(f, all, band);
        int v = mesh_of(f).vertices();
        if (v <= max_vertices) break;
        cell *= std::max(1.01, std::sqrt(double(v) / max_vertices) * 1.004);
    }
    Field f = make_field(lo, hi, cell, float(band));
    splat_capsules(f, base, band);
    Mesh m = mesh_of(f);
    int g = genus_of(m);
    accepted.assign(options.size(), 0);
    for (size_t k = 0; k < options.size() && g < target; k++) {
        Field trial = f;
        splat_capsules(trial, options[k], band);
        Mesh t = mesh_of(trial);
        if (genus_of(t) != g + 1) continue;
        f = std::move(trial);
        m = std::move(t);
        g++;
        accepted[k] = 1;
    }
    if (g != target) throw std::runtime_error(name + ": reached genus " + std::to_string(g) + " only, wants " + std::to_string(target));
    return m;
}

std::vector<char> statue_side_loops;    // the side loops the tunnels use (the rods follow them)

Mesh make_statue()
{
    const CavernGraph &g = cavern_graph();
    std::vector<Capsule> caps;
    for (size_t i = 0; i < g.loop.size(); i++) caps.push_back({g.loop[i], g.loop[(i + 1) % g.loop.size()], 16, 16});
    for (auto &[a, b] : g.struts) caps.push_back({a, b, 10, 10});
    std::vector<std::vector<Capsule>> options;
    for (size_t k = 0; k + 2 < g.pillars.size(); k += 3) {
        std::vector<Capsule> o;
        for (size_t q = k; q < k + 3; q++) o.push_back({g.pillars[q].first, g.pillars[q].second, 6, 6});
        options.push_back(o);
    }
    Mesh m = grow_genus(caps, options, 18, 2.6, 17639, 8.0, statue_side_loops, "statue_mesh");
    m.name = "statue_mesh";
    split_to(m, 17639);
    shuffle_vertices(m, 0x5151);
    return m;
}

Mesh make_big_statue()
{
    const CavernGraph &g = cavern_graph();
    if (statue_side_loops.empty()) make_statue();
    const Vec3 shift{-5, -5, -5};
    // The statue_scene eye, (90 sin 5a, 40 sin 2a, 90 cos 5a) for a in [46, 48), passes close
    // to the rods in places: there they thin down to keep 2.5 units of room.
    std::vector<Vec3> orbit;
    for (int i = 0; i <= 4000; i++) {
        double a = 46 + 2.0 * i / 4000;
        orbit.push_back({90 * std::sin(5 * a), 40 * std::sin(2 * a), 90 * std::cos(5 * a)});
    }
    auto orbit_distance = [&](Vec3 p) {
        double d = 1e9;
        for (const Vec3 &o : orbit) d = std::min(d, length(o - p));
        return d;
    };
    std::vector<Capsule> caps;
    auto rod = [&](Vec3 p) { return std::clamp(orbit_distance(p) - 2.5, 1.5, 5.0); };
    for (size_t i = 0; i < g.loop.size(); i++) {
        Vec3 a = g.loop[i] + shift, b = g.loop[(i + 1) % g.loop.size()] + shift;
        caps.push_back({a, b, rod(a), rod(b)});
    }
    for (auto &[a, b] : g.struts) caps.push_back({a + shift, b + shift, std::min(4.0, rod(a + shift)), std::min(4.0, rod(b + shift))});
    for (size_t i = 0; i < g.loop.size(); i += 60) {    // node spheres along the loop
        Vec3 p = g.loop[i] + shift;
        if (orbit_distance(p) > 10) caps.push_back({p, p, 7, 7});
    }
    // Options: the statue's side loops as rods, then connectors where the loop passes close.
    std::vector<std::vector<Capsule>> options;
    for (size_t k = 0; k < statue_side_loops.size(); k++) {
        if (!statue_side_loops[k]) continue;
        std::vector<Capsule> o;
        bool clear = true;
        for (size_t q = 3 * k; q < 3 * k + 3; q++) {
            Vec3 a = g.pillars[q].first + shift, b = g.pillars[q].second + shift;
            for (int t = 0; t <= 8; t++) clear = clear && orbit_distance(a + (b - a) * (t / 8.0)) > 6;
            o.push_back({a, b, 3, 3});
        }
        if (clear) options.push_back(o);
    }
    int n = int(g.loop.size());
    for (int i = 0; i < n; i += 6)
        for (int j = i + n / 8; j < n && j < i + n - n / 8; j += 6) {
            double d = length(g.loop[size_t(i)] - g.loop[size_t(j)]);
            Vec3 a = g.loop[size_t(i)] + shift, b = g.loop[size_t(j)] + shift;
            if (d > 12 && d < 30 && orbit_distance(a) > 8 && orbit_distance(b) > 8 && orbit_distance((a + b) * 0.5) > 8)
                options.push_back({{a, b, 3, 3}});
        }
    std::vector<char> accepted;
    Mesh m = grow_genus(caps, options, 18, 1.25, 21754, 4.0, accepted, "big_statue_mesh");
    m.name = "big_statue_mesh";
    split_to(m, 21754);
    shuffle_vertices(m, 0xB16);
    return m;
}

//----------------------------------------------------------------------------------------------
// water_surface_mesh: the cave, a thickened figure-eight (genus 2) with a flat water floor
//----------------------------------------------------------------------------------------------
Mesh make_cave()
{
    std::vector<Vec3> loop;
    for (int i = 0; i < 2400; i++) loop.push_back(spline(cave_keys, i / 2400.0));
    std::vector<Capsule> caps;
    for (size_t i = 0; i < loop.size(); i++) caps.push_back({loop[i], loop[(i + 1) % loop.size()], 14.5, 14.5});
    auto rock = [&](Field &f) {
        for (int k = 0; k < f.nz; k++)
            for (int j = 0; j < f.ny; j++)
                for (int i = 0; i < f.nx; i++) {
                    float &v = f.at(i, j, k);
                    if (v > 6) continue;
                    Vec3 p = f.point(i, j, k);
                    v += float(0.8 * noise3(p * 0.09, 0xCA7E) + 0.4 * noise3(p * 0.21, 0xCA7F));
                    // Flattened water floor 12.5 below the path.
                    double best = 1e9, floor_y = 0;
                    for (size_t s = 0; s < loop.size(); s += 24) {
                        double d = length(loop[s] - p);
                        if (d < best) { best = d; floor_y = loop[s].y - 12.5; }
                    }
                    v = std::max(v, float(floor_y - p.y));
                }
    };
    Mesh m = polygonise_capsules(caps, 4.0, 2500, 8.0, rock);
    m.name = "water_surface_mesh";
    if (genus_of(m) != 2) throw std::runtime_error("water_surface_mesh: genus " + std::to_string(genus_of(m)) + ", wants 2");
    split_to(m, 2500);
    shuffle_vertices(m, 0xCA5E);
    return m;
}

//----------------------------------------------------------------------------------------------
// flock_mesh: a manta-like glider, forward +z, up +y
//----------------------------------------------------------------------------------------------
Mesh make_flock()
{
    const int rings = 75;
    std::vector<int> sizes = distribute(3165, rings);
    auto ring_z = [&](int i) {
        double s = (i + 0.5) / rings;    // 0 tail .. 1 nose
        return -140 + 240 * (0.5 - 0.5 * std::cos(PI * s));
    };
    auto half_span = [](double z) {
        if (z > 40) return 2 + 28 * std::pow((100 - z) / 60, 0.6);
        if (z > -30) return 30 + 70 * std::pow((40 - z) / 70, 0.9);
        if (z > -50) return 100 - 88 * std::pow((-30 - z) / 20, 0.6);
        return 1.5 + 10.5 * (z + 140) / 90;
    };
    auto thick = [](double z) { return 2.0 + 16.0 * std::exp(-((z - 15) / 55) * ((z - 15) / 55)); };
    Mesh m = ring_body(sizes, [&](int i, double th) {
        double z = ring_z(i), w = half_span(z), t = thick(z);
        double c = std::cos(th), s = std::sin(th);
        double x = w * c;
        double y = t * s * (1 - 0.82 * std::pow(std::fabs(c), 1.5)) + 7 * (x / 100) * (x / 100) - 2;
        double zz = z - 12 * (std::fabs(x) / 100) * (std::fabs(x) / 100);    // swept wing tips
        return Vec3{x, y, zz};
    }, {0, -2, -140}, {0, 0, 100});
    m.name = "flock_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// core_mesh: a sphere with twelve rounded knobs
//----------------------------------------------------------------------------------------------
Mesh make_core()
{
    const double t = (1 + std::sqrt(5.0)) / 2;
    std::vector<Vec3> knobs;
    for (Vec3 v : std::vector<Vec3>{{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                                   {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}})
        knobs.push_back(normalize(v));
    const int rings = 62;
    Mesh m = ring_body(distribute(3998, rings), [&](int i, double th) {
        double phi = PI * (i + 1) / (rings + 1);    // from -z pole to +z pole
        Vec3 d{std::sin(phi) * std::cos(th), std::sin(phi) * std::sin(th), -std::cos(phi)};
        double bump = 0;
        for (Vec3 k : knobs) bump = std::max(bump, smoothstep(std::cos(0.42), 1.0, dot(d, k)));
        double groove = 0.8 * std::pow(std::fabs(std::sin(6 * phi)), 8);
        return d * (48 + 10 * std::sqrt(bump) - groove);
    }, {0, 0, -48}, {0, 0, 48});
    m.name = "core_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// twirl_mesh: a (3, 5) torus-knot tube, braced by 43 struts, with one fin
//----------------------------------------------------------------------------------------------
Mesh make_twirl()
{
    const int segs = 82, sides = 8;
    const double R = 66, r = 30, tube = 8;
    auto knot = [&](double u) {
        double a = 2 * PI * u;
        double rr = R + r * std::cos(5 * a);
        return Vec3{rr * std::cos(3 * a), rr * std::sin(3 * a), r * std::sin(5 * a)};
    };
    auto core = [&](double u) { double a = 2 * PI * u; return Vec3{R * std::cos(3 * a), R * std::sin(3 * a), 0}; };
    Mesh m;
    std::vector<Vec3> centres;
    for (int i = 0; i < segs; i++) {
        double u = double(i) / segs;
        Vec3 p = knot(u), tng = normalize(knot(u + 1e-4) - knot(u - 1e-4));
        Vec3 nrm = p - core(u);
        nrm = normalize(nrm - tng * dot(nrm, tng));
        Vec3 bin = cross(tng, nrm);
        centres.push_back(p);
        for (int k = 0; k < sides; k++) {
            double a = 2 * PI * k / sides;
            m.add(p + (nrm * std::cos(a) + bin * std::sin(a)) * tube);
        }
    }
    for (int i = 0; i < segs; i++)
        for (int k = 0; k < sides; k++) {
            int a = i * sides + k, b = i * sides + (k + 1) % sides;
            int c = ((i + 1) % segs) * sides + k, d = ((i + 1) % segs) * sides + (k + 1) % sides;
            m.face(a, c, d);
            m.face(a, d, b);
        }
    if (m.signed_volume() < 0) m.flip();
    // Struts: from segment i to the nearest segment of another winding, through the faces that
    // look at each other.
    std::vector<char> used(size_t(m.faces()), 0), vused(size_t(m.vertices()), 0);
    auto facing = [&](int seg, Vec3 target) {
        int best = -1;
        double bd = -2;
        for (int k = 0; k < sides * 2; k++) {
            int f = seg * sides * 2 + k;
            if (used[size_t(f)] || vused[size_t(m.tri[size_t(f) * 3])] || vused[size_t(m.tri[size_t(f) * 3 + 1])] || vused[size_t(m.tri[size_t(f) * 3 + 2])]) continue;
            Vec3 a = m.pos[size_t(m.tri[size_t(f) * 3])], b = m.pos[size_t(m.tri[size_t(f) * 3 + 1])], c = m.pos[size_t(m.tri[size_t(f) * 3 + 2])];
            Vec3 n = normalize(cross(b - a, c - a)), ctr = (a + b + c) * (1.0 / 3);
            double d = dot(n, normalize(target - ctr));
            if (d > bd) { bd = d; best = f; }
        }
        return best;
    };
    int struts = 0;
    std::set<std::pair<int, int>> paired;
    for (int step = 0; step < segs * 4 && struts < 43; step++) {
        int i = (step * 23) % segs;
        int best = -1;
        double bd = 1e9;
        for (int j = 0; j < segs; j++) {
            int sep = std::abs(i - j);
            sep = std::min(sep, segs - sep);
            if (sep < 6 || paired.count({std::min(i, j), std::max(i, j)})) continue;
            double d = length(centres[size_t(i)] - centres[size_t(j)]);
            // The strut must run through free space, clear of every other winding.
            bool clear = true;
            for (int q = 0; q < segs && clear; q++) {
                int di = std::min(std::abs(q - i), segs - std::abs(q - i)), dj = std::min(std::abs(q - j), segs - std::abs(q - j));
                if (di < 2 || dj < 2) continue;
                Vec3 a = centres[size_t(i)], b = centres[size_t(j)], c = centres[size_t(q)];
                double t = std::clamp(dot(c - a, b - a) / dot(b - a, b - a), 0.0, 1.0);
                if (length(a + (b - a) * t - c) < tube * 2.2) clear = false;
            }
            if (!clear) continue;
            if (d < bd) { bd = d; best = j; }
        }
        if (best < 0 || bd > 60) continue;
        int fa = facing(i, centres[size_t(best)]);
        if (fa < 0) continue;
        used[size_t(fa)] = 1;
        // The partner face: facing back, and pairing up with fa with the least twist.
        int fb = -1;
        double best_cost = 1e18;
        for (int k = 0; k < sides * 2; k++) {
            int f = best * sides * 2 + k;
            const int *t = &m.tri[size_t(f) * 3];
            if (used[size_t(f)] || vused[size_t(t[0])] || vused[size_t(t[1])] || vused[size_t(t[2])]) continue;
            Vec3 a = m.pos[size_t(t[0])], b = m.pos[size_t(t[1])], c = m.pos[size_t(t[2])];
            if (dot(normalize(cross(b - a, c - a)), normalize(centres[size_t(i)] - (a + b + c) * (1.0 / 3))) < 0.5) continue;
            const int *u = &m.tri[size_t(fa) * 3];
            for (int rot = 0; rot < 3; rot++) {
                double cost = 0;
                for (int q = 0; q < 3; q++) cost += length(m.pos[size_t(u[q])] - m.pos[size_t(t[((rot - q) % 3 + 3) % 3])]);
                if (cost < best_cost) { best_cost = cost; fb = f; }
            }
        }
        if (fb < 0) { used[size_t(fa)] = 0; continue; }
        used[size_t(fb)] = 1;
        for (int f : {fa, fb})
            for (int k = 0; k < 3; k++) vused[size_t(m.tri[size_t(f) * 3 + size_t(k)])] = 1;
        bridge_faces(m, fa, fb);
        paired.insert({std::min(i, best), std::max(i, best)});
        struts++;
    }
    if (struts != 43) throw std::runtime_error("twirl_mesh: only " + std::to_string(struts) + " struts placed");
    // A fin on the outermost edge.
    int fa = m.tri[0], fb = m.tri[1];
    add_fin(m, fa, fb, (m.pos[size_t(fa)] + m.pos[size_t(fb)]) * 0.5 + normalize(m.pos[size_t(fa)] - centres[0]) * 5.0);
    m.name = "twirl_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// Facet soups: lathe surfaces of quads (and fans of triangles) with their own vertices
//----------------------------------------------------------------------------------------------
struct Soup {
    std::vector<std::vector<Vec3>> quads, tris;
    std::vector<Vec3> quad_out, tri_out;    // facing direction of each
    int faces() const { return int(quads.size() * 2 + tris.size()); }
};

// Lathe of `sides` facets round z through profile points (r, z); a segment touching the axis
// becomes triangles.
void lathe(Soup &s, const std::vector<std::pair<double, double>> &profile, int sides, double phase = 0)
{
    for (size_t p = 0; p + 1 < profile.size(); p++) {
        auto [r0, z0] = profile[p];
        auto [r1, z1] = profile[p + 1];
        for (int k = 0; k < sides; k++) {
            double a0 = 2 * PI * k / sides + phase, a1 = 2 * PI * (k + 1) / sides + phase, am = (a0 + a1) / 2;
            Vec3 p00{r0 * std::cos(a0), r0 * std::sin(a0), z0}, p01{r0 * std::cos(a1), r0 * std::sin(a1), z0};
            Vec3 p10{r1 * std::cos(a0), r1 * std::sin(a0), z1}, p11{r1 * std::cos(a1), r1 * std::sin(a1), z1};
            // Outward: the profile's normal (dz, -dr) rotated to the facet's angle.
            double dr = r1 - r0, dz = z1 - z0;
            Vec3 out{dz * std::cos(am), dz * std::sin(am), -dr};
            if (r0 < 1e-9) { s.tris.push_back({p00, p10, p11}); s.tri_out.push_back(out); }
            else if (r1 < 1e-9) { s.tris.push_back({p00, p01, p10}); s.tri_out.push_back(out); }
            else { s.quads.push_back({p00, p01, p11, p10}); s.quad_out.push_back(out); }
        }
    }
}

// A box (6 quads) from its centre, axes and half sizes.
void box(Soup &s, Vec3 c, Vec3 ax, Vec3 ay, Vec3 az, double hx, double hy, double hz)
{
    Vec3 X = ax * hx, Y = ay * hy, Z = az * hz;
    auto q = [&](Vec3 o, Vec3 u, Vec3 v) {
        s.quads.push_back({o - u - v, o + u - v, o + u + v, o - u + v});
        s.quad_out.push_back(o - c);
    };
    q(c + X, Y, Z); q(c - X, Y, Z); q(c + Y, X, Z); q(c - Y, X, Z); q(c + Z, X, Y); q(c - Z, X, Y);
}

// Writes the soup with exactly `quads_wanted` quads; the other quads become triangle pairs.
Mesh soup_mesh(const Soup &s, int quads_wanted, const char *name)
{
    if (int(s.quads.size()) < quads_wanted) throw std::runtime_error(std::string(name) + ": soup has too few quads");
    Mesh m;
    m.name = name;
    for (size_t i = 0; i < s.quads.size(); i++) {
        const auto &q = s.quads[i];
        // Spread the kept quads evenly over the soup.
        bool keep = (i * size_t(quads_wanted)) / s.quads.size() != ((i + 1) * size_t(quads_wanted)) / s.quads.size();
        if (keep) add_facet(m, q, s.quad_out[i]);
        else { add_facet(m, {q[0], q[1], q[2]}, s.quad_out[i]); add_facet(m, {q[0], q[2], q[3]}, s.quad_out[i]); }
    }
    for (size_t i = 0; i < s.tris.size(); i++) add_facet(m, s.tris[i], s.tri_out[i]);
    return m;
}

// Launcher: stepped octagonal base, barrel with four fins, muzzle ring (bore r 22).
Mesh make_machine_a()
{
    Soup s;
    lathe(s, {{0, 0}, {55, 0}, {55, 6}, {52, 10}, {46, 10}, {46, 20}, {42, 22}, {36, 22}, {36, 32}, {33, 37}, {30, 40}}, 8, PI / 8);
    lathe(s, {{30, 40}, {29, 70}, {28, 100}, {34, 104}, {36, 118}, {32, 124}, {24, 124}, {22, 120}, {22, 60}, {0, 60}}, 18);
    for (int k = 0; k < 4; k++) {
        double a = PI / 2 * k;
        Vec3 ax{std::cos(a), std::sin(a), 0}, ay{-std::sin(a), std::cos(a), 0};
        box(s, ax * 40 + Vec3{0, 0, 62}, ax, ay, {0, 0, 1}, 10, 2, 22);
    }
    return soup_mesh(s, 101, "machine_part_a_mesh");
}

// Piston: a finned dart resting in the bore, z 40 to 140.
Mesh make_machine_b()
{
    Soup s;
    lathe(s, {{0, 40}, {10, 42}, {14, 46}, {16, 52}, {16, 70}, {16, 78}, {16, 100}, {14, 104}, {14, 114}, {15, 118}, {12, 126}, {8, 132}, {0, 140}}, 16);
    for (int k = 0; k < 5; k++) {
        double a = 2 * PI / 5 * k + PI / 10;
        Vec3 ax{std::cos(a), std::sin(a), 0}, ay{-std::sin(a), std::cos(a), 0};
        box(s, ax * 16 + Vec3{0, 0, 60}, ax, ay, {0, 0, 1}, 1.5, 0.8, 10);
        box(s, ax * 15 + Vec3{0, 0, 88}, ax, ay, {0, 0, 1}, 1.2, 0.8, 8);
    }
    return soup_mesh(s, 115, "machine_part_b_mesh");
}

//----------------------------------------------------------------------------------------------
// bubble_frame_mesh: a hexagonal ring of bevelled bars made of loose plates
//----------------------------------------------------------------------------------------------
Mesh make_bubble_frame()
{
    Mesh m;
    m.name = "bubble_frame_mesh";
    auto plate = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 want) {
        Vec3 ctr = (a + b + c) * (1.0 / 3);
        auto in = [&](Vec3 p) { return ctr + (p - ctr) * 0.94; };    // small gaps between plates
        add_facet(m, {in(a), in(b), in(c)}, want);
    };
    for (int bar = 0; bar < 6; bar++) {
        double a0 = PI / 3 * bar, a1 = PI / 3 * (bar + 1);
        Vec3 p0{40 * std::cos(a0), 0, 40 * std::sin(a0)}, p1{40 * std::cos(a1), 0, 40 * std::sin(a1)};
        Vec3 ax = normalize(p1 - p0), up{0, 1, 0}, side = cross(ax, up);
        // Hexagonal bar section, bevelled ends (shorter on the inside).
        std::vector<Vec3> e0, e1;
        for (int k = 0; k < 6; k++) {
            double a = PI / 3 * k;
            Vec3 off = up * (5 * std::sin(a)) + side * (5 * std::cos(a));
            double trim = 2.5 + 2.5 * std::cos(a);
            e0.push_back(p0 + off + ax * trim);
            e1.push_back(p1 + off - ax * trim);
        }
        Vec3 mid = (p0 + p1) * 0.5;
        for (int k = 0; k < 6; k++) {
            int k1 = (k + 1) % 6;
            Vec3 out = ((e0[size_t(k)] + e0[size_t(k1)]) * 0.5) - p0;
            out = out - ax * dot(out, ax);
            plate(e0[size_t(k)], e0[size_t(k1)], e1[size_t(k1)], out);
            plate(e0[size_t(k)], e1[size_t(k1)], e1[size_t(k)], out);
        }
        for (int k = 1; k < 5; k++) {
            plate(e0[0], e0[size_t(k)], e0[size_t(k + 1)], p0 - mid);
            plate(e1[0], e1[size_t(k)], e1[size_t(k + 1)], p1 - mid);
        }
    }
    // A small pyramid of four loose plates at the hub.
    Vec3 tip{0, 12, 0};
    std::vector<Vec3> base = {{-6, -4, -6}, {6, -4, -6}, {6, -4, 6}, {-6, -4, 6}};
    plate(base[0], base[1], tip, {0, 0.4, -1});
    plate(base[1], base[2], tip, {1, 0.4, 0});
    plate(base[2], base[3], tip, {0, 0.4, 1});
    plate(base[3], base[0], tip, {-1, 0.4, 0});
    // One two-sided pennant.
    int a = m.add({0, 16, 0}), b = m.add({0, 28, 0}), c = m.add({10, 22, 0});
    m.face(a, b, c);
    m.face(a, c, b);
    return m;
}

//----------------------------------------------------------------------------------------------
// twin_part_a_mesh / twin_part_b_mesh: the emblem's two faces
//----------------------------------------------------------------------------------------------
// A closed prism from an outline in the xy plane, z from z0 to z1 (+ tilt * y at the front).
void prism(Mesh &m, const std::vector<Vec3> &outline_in, double z0, double z1, double tilt = 0)
{
    std::vector<Vec3> outline = outline_in;
    double area = 0;
    for (size_t i = 0; i < outline.size(); i++) area += cross(outline[i], outline[(i + 1) % outline.size()]).z;
    if (area < 0) std::reverse(outline.begin(), outline.end());
    int n = int(outline.size()), base = m.vertices();
    for (const Vec3 &p : outline) m.add({p.x, p.y, z1 + tilt * p.y});    // a tilted front catches another reflection
    for (const Vec3 &p : outline) m.add({p.x, p.y, z0});
    std::vector<int> t = ear_clip(outline);
    for (size_t i = 0; i < t.size(); i += 3) {
        m.face(base + t[i], base + t[i + 1], base + t[i + 2]);                // front, +z
        m.face(base + n + t[i], base + n + t[i + 2], base + n + t[i + 1]);    // back, -z
    }
    for (int i = 0; i < n; i++) {
        int j = (i + 1) % n;
        m.face(base + i, base + n + i, base + n + j);
        m.face(base + i, base + n + j, base + j);
    }
}

Mesh make_twin_a()
{
    Mesh m;
    m.name = "twin_part_a_mesh";
    std::vector<Vec3> disc;
    for (int i = 0; i < 55; i++) disc.push_back({60 * std::cos(2 * PI * i / 55), 60 * std::sin(2 * PI * i / 55), 0});
    prism(m, disc, -5, 5);
    // Chevron pointing up, in front of the orb.
    std::vector<Vec3> chevron = {{0, 40, 0}, {-42, -2, 0}, {-30, -14, 0}, {0, 16, 0}, {30, -14, 0}, {42, -2, 0}};
    std::reverse(chevron.begin() + 1, chevron.end());
    prism(m, chevron, -9, 8, 0.05);
    return m;
}

Mesh make_twin_b()
{
    Mesh m;
    m.name = "twin_part_b_mesh";
    // A feather: a curved spine with a serrated edge; n corners, rotated by `angle`.
    auto feather = [&](int n, double angle, double len, double z0, double z1) {
        std::vector<Vec3> pts;
        int half = n / 2;
        int other = n - half;
        for (int i = 0; i < half; i++) {    // right edge, tip to root
            double t = double(i) / (half - 1);
            double w = 14 * std::sin(PI * (0.15 + 0.85 * t)) * (1 - 0.5 * t) + (i % 2 ? 3 : 0);
            pts.push_back({w + 6 * std::sin(3 * t), len * (1 - t), 0});
        }
        for (int i = 0; i < other; i++) {    // left edge, root to tip
            double t = 1 - double(i) / (other);
            double w = 10 * std::sin(PI * (0.15 + 0.85 * t)) * (1 - 0.5 * t) + (i % 2 ? 2.5 : 0);
            pts.push_back({-w + 6 * std::sin(3 * t), len * (1 - t) + (i == other - 1 ? 0 : 0), 0});
        }
        std::reverse(pts.begin(), pts.end());
        double c = std::cos(angle), s = std::sin(angle);
        for (Vec3 &p : pts) p = {p.x * c - (p.y - 0) * s, p.x * s + p.y * c - 62, 0};
        // Make sure the outline runs counter-clockwise.
        double area = 0;
        for (size_t i = 0; i < pts.size(); i++) area += cross(pts[i], pts[(i + 1) % pts.size()]).z;
        if (area < 0) std::reverse(pts.begin(), pts.end());
        prism(m, pts, z0, z1);
    };
    feather(19, 0.0, 128, -6, 6);
    feather(18, 0.55, 118, -4, 4);
    feather(18, -0.55, 118, -5, 5);
    return m;
}

//----------------------------------------------------------------------------------------------
// pedestal_mesh: a stepped column in mosaic tiles with per-tile colours
//----------------------------------------------------------------------------------------------
Vec3 hsv(double h, double s, double v)
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

Mesh make_pedestal()
{
    // Tiles on the four sides of square steps (half width, y0, y1, columns, rows) and the
    // annular tops between steps; 599 tiles, 310 of them split into triangle pairs.
    struct Step { double half, y0, y1; int cols, rows; };
    const Step steps[] = {{40, -5, 5, 8, 2}, {32, 5, 15, 8, 2}, {18, 15, 70, 4, 20}, {26, 70, 80, 6, 2}};
    std::vector<std::array<Vec3, 4>> tiles;
    std::vector<Vec3> outs;
    for (const Step &st : steps)
        for (int side = 0; side < 4; side++) {
            double a = PI / 2 * side;
            Vec3 n{std::cos(a), 0, std::sin(a)}, t{-std::sin(a), 0, std::cos(a)};
            for (int r = 0; r < st.rows; r++)
                for (int c = 0; c < st.cols; c++) {
                    double u0 = -st.half + 2 * st.half * c / st.cols, u1 = -st.half + 2 * st.half * (c + 1) / st.cols;
                    double y0 = st.y0 + (st.y1 - st.y0) * r / st.rows, y1 = st.y0 + (st.y1 - st.y0) * (r + 1) / st.rows;
                    Vec3 o = n * st.half;
                    tiles.push_back({o + t * u0 + Vec3{0, y0, 0}, o + t * u1 + Vec3{0, y0, 0}, o + t * u1 + Vec3{0, y1, 0}, o + t * u0 + Vec3{0, y1, 0}});
                    outs.push_back(n);
                }
        }
    // Step tops: the ring between one step's outline and the next, in trapezoid tiles.
    auto ring_top = [&](double outer, double inner, double y, int per_side) {
        for (int side = 0; side < 4; side++) {
            double a = PI / 2 * side;
            Vec3 n{std::cos(a), 0, std::sin(a)}, t{-std::sin(a), 0, std::cos(a)};
            for (int c = 0; c < per_side; c++) {
                double f0 = -1 + 2.0 * c / per_side, f1 = -1 + 2.0 * (c + 1) / per_side;
                tiles.push_back({n * outer + t * (outer * f0) + Vec3{0, y, 0}, n * outer + t * (outer * f1) + Vec3{0, y, 0},
                                 n * inner + t * (inner * f1) + Vec3{0, y, 0}, n * inner + t * (inner * f0) + Vec3{0, y, 0}});
                outs.push_back({0, 1, 0});
            }
        }
    };
    ring_top(40, 32, 5, 6);
    ring_top(32, 18, 15, 6);
    ring_top(26, 18, 70, 4);    // underside of the capital
    outs.resize(outs.size() - 16);
    for (int i = 0; i < 16; i++) outs.push_back({0, -1, 0});
    // The capital top ring outside the round top plate, and three inset plaques on the shaft.
    ring_top(26, 20, 80, 9);
    for (int k = 0; k < 3; k++) {
        double y = 30 + 12 * k;
        tiles.push_back({Vec3{-5, y, 18.4}, Vec3{5, y, 18.4}, Vec3{5, y + 8, 18.4}, Vec3{-5, y + 8, 18.4}});
        outs.push_back({0, 0, 1});
    }
    if (int(tiles.size()) != 599) throw std::runtime_error("pedestal_mesh: tile count " + std::to_string(tiles.size()));
    Mesh m;
    m.name = "pedestal_mesh";
    Rng rng(0xBED);
    int quads = 0;
    for (size_t i = 0; i < tiles.size(); i++) {
        auto &q = tiles[i];
        double y = (q[0].y + q[2].y) * 0.5;
        Vec3 col = hsv(0.62 + 0.35 * (y + 5) / 85 + rng.range(-0.04, 0.04), rng.range(0.65, 0.95), rng.range(0.75, 1.0));
        bool keep = (i * 289) / 599 != ((i + 1) * 289) / 599;
        auto facet = [&](std::vector<Vec3> poly) {
            // Inset each tile a little for grout lines.
            Vec3 c{0, 0, 0};
            for (Vec3 &p : poly) c = c + p * (1.0 / poly.size());
            for (Vec3 &p : poly) p = c + (p - c) * 0.92;
            add_facet(m, poly, outs[i]);
            for (size_t k = 0; k < poly.size(); k++) m.colour.push_back(col);
        };
        if (keep) { facet({q[0], q[1], q[2], q[3]}); quads++; }
        else { facet({q[0], q[1], q[2]}); facet({q[0], q[2], q[3]}); }
    }
    if (quads != 289) throw std::runtime_error("pedestal_mesh: quad count " + std::to_string(quads));
    // Round top plate: a 24-triangle fan.
    int c = m.add({0, 80, 0});
    m.colour.push_back({1.0, 0.85, 0.3});
    for (int k = 0; k < 24; k++) {
        m.add({20 * std::cos(2 * PI * k / 24), 80, 20 * std::sin(2 * PI * k / 24)});
        m.colour.push_back(hsv(0.1 + 0.03 * (k % 2), 0.8, 1.0));
    }
    for (int k = 0; k < 24; k++) face_towards(m, c, c + 1 + k, c + 1 + (k + 1) % 24, {0, 1, 0});
    return m;
}

//----------------------------------------------------------------------------------------------
// tube_mesh: the hoop torus
//----------------------------------------------------------------------------------------------
Mesh make_tube()
{
    Mesh m;
    m.name = "tube_mesh";
    for (int i = 0; i < 24; i++)
        for (int k = 0; k < 16; k++) {
            double a = 2 * PI * i / 24, b = 2 * PI * k / 16;
            double rr = 90 + 8 * std::cos(b);
            m.add({rr * std::cos(a), rr * std::sin(a), 8 * std::sin(b)});
        }
    for (int i = 0; i < 24; i++)
        for (int k = 0; k < 16; k++) {
            int a = i * 16 + k, b = i * 16 + (k + 1) % 16, c = ((i + 1) % 24) * 16 + k, d = ((i + 1) % 24) * 16 + (k + 1) % 16;
            m.face(a, c, d);
            m.face(a, d, b);
        }
    if (m.signed_volume() < 0) m.flip();
    return m;
}

//----------------------------------------------------------------------------------------------
// sculpture parts: lathe cups (pole plus rings, last ring an open rim)
//----------------------------------------------------------------------------------------------
Mesh lathe_cup(const std::vector<int> &sizes, const std::function<Vec3(int, double)> &point, Vec3 pole, const char *name)
{
    // The rings run from the pole (low z) upward; the last ring stays open.
    Mesh m;
    m.name = name;
    int p = m.add(pole);
    std::vector<std::vector<int>> rings;
    for (size_t i = 0; i < sizes.size(); i++) {
        std::vector<int> r;
        for (int k = 0; k < sizes[i]; k++) r.push_back(m.add(point(int(i), 2 * PI * k / sizes[i])));
        rings.push_back(r);
    }
    zip_pole(m, p, rings.front(), true);
    for (size_t i = 0; i + 1 < rings.size(); i++) zip_rings(m, rings[i], rings[i + 1]);
    return m;
}

Mesh make_sculpture_a()
{
    // Spindle-bell: a closed bell dome at -z opening out to r 110, narrowing to a spindle whose
    // open rim sits at +z 150.
    std::vector<int> sizes = {8, 16, 24};
    for (int i = 0; i < 49; i++) sizes.push_back(32);
    int n = int(sizes.size());
    auto prof = [&](double s) {    // s 0 (pole) .. 1 (rim): (r, z)
        double z = -150 + 300 * s;
        double r;
        if (s < 0.3) r = 110 * std::sin(PI / 2 * s / 0.3);
        else r = 18 + 92 * std::pow(1 - (s - 0.3) / 0.7, 2.2) + 6 * std::pow(std::sin(PI * 6 * (s - 0.3) / 0.7), 2);
        return std::pair<double, double>{r, z};
    };
    return lathe_cup(sizes, [&](int i, double th) {
        auto [r, z] = prof(double(i + 1) / n);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -150}, "sculpture_part_a_mesh");
}

Mesh make_sculpture_b()
{
    // Fluted collar: from a pole inside the bell, out to a 20-flute collar of r 120, back in to
    // the rim of 20 round the spindle.
    std::vector<int> sizes = distribute(2338, 23);
    sizes.push_back(20);
    int n = int(sizes.size());
    return lathe_cup(sizes, [&](int i, double th) {
        double s = double(i + 1) / n;
        double r, z;
        if (s < 0.5) { r = 120 * std::sin(PI * s); z = -60 + 60 * s; }
        else { r = 120 * std::sin(PI * s) * 0.85 + 22 * (s - 0.5) * 2; z = -30 + 130 * (s - 0.5); }
        r = std::max(r, 20.0);
        double flute = 1 - 0.08 * std::pow(0.5 + 0.5 * std::cos(20 * th), 3) * std::sin(PI * s);
        return Vec3{r * flute * std::cos(th), r * flute * std::sin(th), z};
    }, {0, 0, -62}, "sculpture_part_b_mesh");
}

//----------------------------------------------------------------------------------------------
// sculpture_mesh: turbine barrel with grooves plus 172 wedge vanes
//----------------------------------------------------------------------------------------------
Mesh make_sculpture()
{
    const int rings = 52;
    Mesh m = ring_body(distribute(4784, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);    // 0 .. 1 from the -z pole
        double z = -110 + 220 * s;
        double r;
        if (std::fabs(z) <= 70) r = 90 - 3 * std::pow(std::fabs(std::sin(z * PI / 14)), 6);
        else r = 90 * std::sqrt(std::max(0.0, 1 - std::pow((std::fabs(z) - 70) / 40, 2)));
        r = std::min(r, std::sqrt(std::max(0.0, 114.0 * 114.0 - z * z)));    // overall r <= 115
        r -= 2 * std::pow(std::fabs(std::cos(th * 46)), 20);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -110}, {0, 0, 110});
    m.name = "sculpture_mesh";
    // 4 tiers of 43 wedges: each a triangular prism (6 vertices, 8 faces).
    const double tiers[4] = {-45, -15, 15, 45};
    for (int t = 0; t < 4; t++)
        for (int k = 0; k < 43; k++) {
            double a = 2 * PI * (k + 0.5 * (t % 2)) / 43;
            double z = tiers[t];
            double tip = std::sqrt(112.0 * 112.0 - (std::fabs(z) + 7) * (std::fabs(z) + 7)) - 3;
            Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
            Mesh w;
            Vec3 r0 = rad * 89.0, r1 = rad * tip;
            // Section: a thin triangle (leading edge, trailing edges), twisted along the span.
            Vec3 s0[3] = {r0 + tan * 3.5 + Vec3{0, 0, 7}, r0 - tan * 3.5 + Vec3{0, 0, 7}, r0 + Vec3{0, 0, -7}};
            Vec3 s1[3] = {r1 + tan * 1.5 + Vec3{0, 0, 3}, r1 - tan * 1.5 + Vec3{0, 0, 3}, r1 + tan * 3 + Vec3{0, 0, -3}};
            for (int c = 0; c < 3; c++) w.add(s0[c]);
            for (int c = 0; c < 3; c++) w.add(s1[c]);
            w.face(0, 1, 2); w.face(3, 5, 4);
            for (int c = 0; c < 3; c++) {
                int d = (c + 1) % 3;
                w.face(c, 3 + c, 3 + d);
                w.face(c, 3 + d, d);
            }
            if (w.signed_volume() < 0) w.flip();
            m.append(w);
        }
    return m;
}

//----------------------------------------------------------------------------------------------
// small_part_*: machined ring segments built from quad strips with their own coordinates
//----------------------------------------------------------------------------------------------
// A strip of `quads` quads: point(i, side) for i = 0..quads and side 0/1; u runs along, v across.
void strip(Mesh &m, int quads, const std::function<Vec3(int, int)> &point, Vec3 want)
{
    int base = m.vertices();
    for (int i = 0; i <= quads; i++)
        for (int s = 0; s < 2; s++) {
            m.add(point(i, s));
            m.uv.push_back({double(i) / quads, double(s), 0});
        }
    for (int i = 0; i < quads; i++) {
        int a = base + 2 * i, b = a + 1, c = a + 2, d = a + 3;
        face_towards(m, a, c, d, want);
        face_towards(m, a, d, b, want);
    }
}

// Polygon ring helper: point at corner k of an n-gon of circumradius r at depth z.
Vec3 ngon(int n, int k, double r, double z, double phase = 0)
{
    double a = 2 * PI * k / n + phase;
    return {r * std::cos(a), r * std::sin(a), z};
}

// The octagonal ring: inner as `inner_strips` strips, outer one strip, front/back 8 single quads.
void octagon_ring(Mesh &m, int inner_strips, double rin, double rout, double z0, double z1)
{
    const double ph = PI / 8;
    int per = 8 / inner_strips;
    for (int s = 0; s < inner_strips; s++)
        strip(m, per, [&](int i, int side) { return ngon(8, s * per + i, rin, side ? z1 : z0, ph); }, {0, 0, 0});
    strip(m, 8, [&](int i, int side) { return ngon(8, i, rout, side ? z1 : z0, ph); }, {0, 0, 0});
    for (int k = 0; k < 8; k++) {
        strip(m, 1, [&](int i, int side) { return ngon(8, k + i, side ? rout : rin, z0, ph); }, {0, 0, -1});
        strip(m, 1, [&](int i, int side) { return ngon(8, k + i, side ? rout : rin, z1, ph); }, {0, 0, 1});
    }
}

// Fixes the facing of the cylindrical strips built with want (0, 0, 0): faces whose centre is
// nearer the axis than `split` face inward, others outward.
void orient_radial(Mesh &m, size_t from_face, double split)
{
    for (size_t f = from_face; f < size_t(m.faces()); f++) {
        Vec3 a = m.pos[size_t(m.tri[f * 3])], b = m.pos[size_t(m.tri[f * 3 + 1])], c = m.pos[size_t(m.tri[f * 3 + 2])];
        Vec3 n = cross(b - a, c - a), ctr = (a + b + c) * (1.0 / 3);
        Vec3 radial{ctr.x, ctr.y, 0};
        if (std::fabs(n.z) > 0.9 * length(n)) continue;
        bool inner = length(radial) < split;
        if ((dot(n, radial) > 0) == inner) std::swap(m.tri[f * 3 + 1], m.tri[f * 3 + 2]);
    }
}

Mesh make_small_part_1()
{
    // The junction: an octagonal frame z 0..100 with an opening in its +x wall (z 25..75).
    Mesh m;
    m.name = "small_part_1_mesh";
    const double rin = 52, rout = 68, ph = PI / 8;
    // Side k spans corners k..k+1; side 7 (corners 7..8, centred on angle 0) is the +x wall.
    for (int k = 0; k < 7; k++) {
        strip(m, 2, [&](int i, int s) { return ngon(8, k + s, rin, 50.0 * i, ph); }, {0, 0, 0});
        strip(m, 2, [&](int i, int s) { return ngon(8, k + s, rout, 50.0 * i, ph); }, {0, 0, 0});
    }
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, rin, 25.0 * i, ph); }, {0, 0, 0});
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, rin, 75 + 25.0 * i, ph); }, {0, 0, 0});
    size_t radial_end = size_t(m.faces());
    // Sill, lintel and the two jambs close the wall round the opening.
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, i ? rout : rin, 25, ph); }, {0, 0, 1});
    strip(m, 1, [&](int i, int s) { return ngon(8, 7 + s, i ? rout : rin, 75, ph); }, {0, 0, -1});
    for (int j = 0; j < 2; j++) {
        Vec3 along = normalize(ngon(8, 7 + j, 1, 0, ph) - ngon(8, 8 - j, 1, 0, ph));
        strip(m, 1, [&](int i, int s) { return ngon(8, 7 + j, s ? rout : rin, 25 + 50.0 * i, ph); }, along * -1.0);
    }
    // Front rim (z 0) in three strips, back rim (z 100) in two.
    const int front[3][2] = {{0, 3}, {3, 6}, {6, 8}};
    for (auto &r : front)
        strip(m, r[1] - r[0], [&](int i, int s) { return ngon(8, r[0] + i, s ? rout : rin, 0, ph); }, {0, 0, -1});
    for (int h = 0; h < 2; h++)
        strip(m, 4, [&](int i, int s) { return ngon(8, 4 * h + i, s ? rout : rin, 100, ph); }, {0, 0, 1});
    orient_radial(m, 0, (rin + rout) / 2);
    (void)radial_end;
    return m;
}

Mesh make_small_part_2()
{
    Mesh m;
    m.name = "small_part_2_mesh";
    octagon_ring(m, 2, 46, 70, 0, 24);
    orient_radial(m, 0, 58);
    return m;
}

Mesh make_small_part_3()
{
    Mesh m;
    m.name = "small_part_3_mesh";
    octagon_ring(m, 1, 44, 62, 0, 30);
    // A two-quad tab sticking out of the outer wall.
    strip(m, 2, [&](int i, int s) { return Vec3{62.0 + 20 * i, s ? 8.0 : -8.0, 15.0}; }, {0, 0, 1});
    orient_radial(m, 0, 53);
    return m;
}

// Flanged ring with 44 radial ribs: body of 4 strips x 21 quads, ribs of 3 strips (4 quads).
Mesh make_small_part_4()
{
    Mesh m;
    m.name = "small_part_4_mesh";
    const int n = 21;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 44, s ? 40.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 72.0 : 44.0, 40.0); }, {0, 0, 1});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 72, s ? 0.0 : 40.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 44.0 : 72.0, 0.0); }, {0, 0, -1});
    size_t body = size_t(m.faces());
    orient_radial(m, 0, 58);
    for (int r = 0; r < 44; r++) {
        double a = 2 * PI * r / 44;
        Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
        double h = (r % 2) ? 108 : 120;
        auto P = [&](double rr, double z, double side) { return rad * rr + tan * side + Vec3{0, 0, z}; };
        strip(m, 1, [&](int i, int s) { return P(i ? h : 71, s ? 34 : 6, 1.8); }, tan);
        strip(m, 1, [&](int i, int s) { return P(i ? h : 71, s ? 34 : 6, -1.8); }, tan * -1.0);
        strip(m, 2, [&](int i, int s) { return P(i == 0 ? 71 : (i == 1 ? h : 71), i == 0 ? 36.0 : (i == 1 ? 20.0 : 4.0), s ? 1.8 : -1.8); }, rad);
    }
    (void)body;
    return m;
}

// Slotted and toothed rings: a body of e strips of n quads plus single-quad plates.
Mesh make_small_part_5()
{
    Mesh m;
    m.name = "small_part_5_mesh";
    const int n = 9;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 46, s ? 36.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 64.0 : 46.0, 36.0); }, {0, 0, 1});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 64, s ? 0.0 : 36.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, s ? 46.0 : 64.0, 0.0); }, {0, 0, -1});
    orient_radial(m, 0, 55);
    // 72 turbine blades on the outside, pitched.
    for (int b = 0; b < 72; b++) {
        double a = 2 * PI * b / 72;
        Vec3 rad{std::cos(a), std::sin(a), 0}, tan{-std::sin(a), std::cos(a), 0};
        strip(m, 1, [&](int i, int s) { return rad * (i ? 100.0 : 64.5) + tan * (s ? 5.0 : -5.0) + Vec3{0, 0, s ? 30.0 : 6.0}; }, tan);
    }
    return m;
}

Mesh make_small_part_6()
{
    Mesh m;
    m.name = "small_part_6_mesh";
    const int n = 17;
    strip(m, n, [&](int i, int s) { return ngon(n, i, 48, s ? 20.0 : 0.0); }, {0, 0, 0});
    strip(m, n, [&](int i, int s) { return ngon(n, i, 80, s ? 0.0 : 20.0); }, {0, 0, 0});
    orient_radial(m, 0, 64);
    // 74 plates: 37 teeth on the rim (two faces each) closing a crown.
    for (int t = 0; t < 37; t++) {
        double a0 = 2 * PI * t / 37, a1 = 2 * PI * (t + 0.5) / 37;
        Vec3 r0{std::cos(a0), std::sin(a0), 0}, r1{std::cos(a1), std::sin(a1), 0};
        strip(m, 1, [&](int i, int s) { return (i ? r1 : r0) * (s ? 110.0 : 80.0) + Vec3{0, 0, 10.0 + (i ? 8 : -8) * (s ? 1 : 0.2)}; }, {0, 0, 1});
        strip(m, 1, [&](int i, int s) { return (i ? r1 : r0) * (s ? 78.0 : 49.0) + Vec3{0, 0, s ? 20.0 : 0.0}; }, r0 * -1.0);
    }
    return m;
}

Mesh make_small_part_7()
{
    Mesh m;
    m.name = "small_part_7_mesh";
    // Body: 8 square slot frames of 4 strips... 16 strips of 3 quads round a 48-gon-like drum.
    for (int s = 0; s < 16; s++) {
        bool inner = s < 8;
        int k = s % 8;
        strip(m, 3, [&](int i, int side) {
            double a = 2 * PI * (k * 3 + i) / 24;
            double r = inner ? 42.0 : 90.0;
            return Vec3{r * std::cos(a), r * std::sin(a), side ? 40.0 : 0.0};
        }, {0, 0, 0});
    }
    orient_radial(m, 0, 66);
    // 60 plates: 30 spokes (two faces) bridging the drum, slotted between them.
    for (int p = 0; p < 30; p++) {
        double a = 2 * PI * p / 30, w = 0.05;
        Vec3 r0{std::cos(a - w), std::sin(a - w), 0}, r1{std::cos(a + w), std::sin(a + w), 0};
        strip(m, 1, [&](int i, int s) { return (s ? r1 : r0) * (i ? 90.0 : 42.0) + Vec3{0, 0, 0}; }, {0, 0, -1});
        strip(m, 1, [&](int i, int s) { return (s ? r1 : r0) * (i ? 90.0 : 42.0) + Vec3{0, 0, 40}; }, {0, 0, 1});
    }
    return m;
}

//----------------------------------------------------------------------------------------------
// pod_mesh: a jellyfish swimmer, bell at +z, five lobes towards -z
//----------------------------------------------------------------------------------------------
Mesh make_pod()
{
    const int rings = 14;
    Mesh m = ring_body(distribute(298, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);    // 0 bottom .. 1 top
        double z = -60 + 120 * s;
        double r;
        if (z > 2) {    // the bell: a dome flaring to a rim
            double q = (z - 2) / 58;
            r = 38 * std::sqrt(std::max(0.0, 1 - q * q)) * (1 - 0.12 * q);
        } else {        // five short lobes: a star section narrowing downward
            double q = -z / 58;
            double lobe = std::pow(0.5 + 0.5 * std::cos(5 * th), 2);
            r = (30 - 22 * q) * (0.3 + 0.7 * lobe);
        }
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -60}, {0, 0, 60});
    m.name = "pod_mesh";
    return m;
}

//----------------------------------------------------------------------------------------------
// beam_mirror_mesh and beam_hall_mesh: the mirror room and the visible hall, wound inward
//----------------------------------------------------------------------------------------------
// Floor (or ceiling) of a 12-gon with 6 square holes, in 6 sectors of 8 triangles.
// Returns the outer ring (12) and the holes' corners (6 x 4, inner-left, inner-right,
// outer-right, outer-left).
struct Plate {
    int centre;
    std::vector<int> outer;
    std::vector<std::array<int, 4>> holes;
};

Plate holed_plate(Mesh &m, double outer_r, double y, double pillar_half, Vec3 up)
{
    Plate p;
    p.centre = m.add({0, y, 0});
    for (int k = 0; k < 12; k++) {
        double a = 2 * PI * (k - 0.5) / 12;    // corners either side of each pillar's angle
        p.outer.push_back(m.add({outer_r * std::cos(a), y, outer_r * std::sin(a)}));
    }
    for (int s = 0; s < 6; s++) {
        double a = 2 * PI * s / 6;
        Vec3 rad{std::cos(a), 0, std::sin(a)}, tan{-std::sin(a), 0, std::cos(a)};
        Vec3 c = rad * 5.0 + Vec3{0, y, 0};
        std::array<int, 4> h = {m.add(c - rad * pillar_half - tan * pillar_half), m.add(c - rad * pillar_half + tan * pillar_half),
                                m.add(c + rad * pillar_half + tan * pillar_half), m.add(c + rad * pillar_half - tan * pillar_half)};
        p.holes.push_back(h);
        int O0 = p.outer[size_t(2 * s)], O1 = p.outer[size_t(2 * s + 1)], O2 = p.outer[size_t((2 * s + 2) % 12)];
        int C = p.centre, il = h[0], ir = h[1], orr = h[2], ol = h[3];
        int t[8][3] = {{C, il, ir}, {C, O0, il}, {C, ir, O2}, {O0, ol, il}, {O0, O1, ol}, {O1, orr, ol}, {O1, O2, orr}, {O2, ir, orr}};
        for (auto &f : t) face_towards(m, f[0], f[1], f[2], up);
    }
    return p;
}

Mesh make_beam_mirror()
{
    Mesh m;
    m.name = "beam_mirror_mesh";
    const double half = 0.6;
    Plate fl = holed_plate(m, 8, -2, half, {0, 1, 0});
    Plate ce = holed_plate(m, 8, 8, half, {0, -1, 0});
    for (int k = 0; k < 12; k++) {
        int a = fl.outer[size_t(k)], b = fl.outer[size_t((k + 1) % 12)], c = ce.outer[size_t(k)], d = ce.outer[size_t((k + 1) % 12)];
        Vec3 in = (m.pos[size_t(a)] + m.pos[size_t(b)]) * -1.0;
        in.y = 0;
        face_towards(m, a, b, d, in);
        face_towards(m, a, d, c, in);
    }
    for (int s = 0; s < 6; s++)
        for (int k = 0; k < 4; k++) {
            int a = fl.holes[size_t(s)][size_t(k)], b = fl.holes[size_t(s)][size_t((k + 1) % 4)];
            int c = ce.holes[size_t(s)][size_t(k)], d = ce.holes[size_t(s)][size_t((k + 1) % 4)];
            double ang = 2 * PI * s / 6;
            Vec3 pc{5 * std::cos(ang), 0, 5 * std::sin(ang)};
            Vec3 out = (m.pos[size_t(a)] + m.pos[size_t(b)]) * 0.5 - pc;
            out.y = 0;
            face_towards(m, a, b, d, out);
            face_towards(m, a, d, c, out);
        }
    Topology t = topology(m);
    if (t.boundary_edges || t.nonmanifold_edges || genus_of(m) != 6)
        throw std::runtime_error("beam_mirror_mesh: room is not a closed genus-6 surface");
    split_to(m, 153);
    // A tilted hanging mirror facing the beam start (0, 1, 0).
    Vec3 c{-2.5, 4.5, 2.5}, n = normalize(Vec3{0, 1, 0} - c), u = normalize(cross(n, {0, 1, 0})), v = cross(u, n);
    int a = m.add(c + u * 1.2 - v * 0.8), b = m.add(c - u * 1.2 - v * 0.8), d = m.add(c + v * 1.2);
    face_towards(m, a, b, d, n);
    return m;
}

Mesh make_beam_hall()
{
    Mesh m;
    m.name = "beam_hall_mesh";
    const double half = 0.4;
    Plate fl = holed_plate(m, 7.6, -2.3, half, {0, 1, 0});
    // Round wall: rings of 76 from the floor edge up to the rim at y 8.
    std::vector<std::vector<int>> rings;
    const int nr = 17;
    for (int r = 0; r < nr; r++) {
        double y = -2.3 + 10.3 * r / (nr - 1);
        std::vector<int> ring;
        for (int k = 0; k < 76; k++) {
            double a = 2 * PI * (k + 0.5 * (r % 2)) / 76;
            ring.push_back(m.add({8.2 * std::cos(a), y, 8.2 * std::sin(a)}));
        }
        rings.push_back(ring);
    }
    // The floor's 12-gon edge zipped to the wall's foot ring.
    auto zip_toward = [&](const std::vector<int> &a, const std::vector<int> &b, Vec3 centre_dir_sign) {
        size_t n = a.size(), k = b.size(), i = 0, j = 0;
        auto ang = [&](int v) { double t = std::atan2(m.pos[size_t(v)].z, m.pos[size_t(v)].x); return t < 0 ? t + 2 * PI : t; };
        // Start both walks at their smallest angle.
        size_t sa = 0, sb = 0;
        for (size_t q = 0; q < n; q++) if (ang(a[q]) < ang(a[sa])) sa = q;
        for (size_t q = 0; q < k; q++) if (ang(b[q]) < ang(b[sb])) sb = q;
        while (i < n || j < k) {
            int a0 = a[(sa + i) % n], b0 = b[(sb + j) % k];
            double na = i < n ? ang(a[(sa + i + 1) % n]) + (sa + i + 1 >= n + sa && i + 1 == n ? 2 * PI : 0) : 1e9;
            double nb = j < k ? ang(b[(sb + j + 1) % k]) + (j + 1 == k ? 2 * PI : 0) : 1e9;
            if (i + 1 == n && na < ang(a0)) na += 2 * PI;
            if (na <= nb) { face_towards(m, a0, a[(sa + i + 1) % n], b0, centre_dir_sign); i++; }
            else { face_towards(m, a0, b[(sb + j + 1) % k], b0, centre_dir_sign); j++; }
        }
    };
    zip_toward(fl.outer, rings[0], {0, 1, 0});
    for (int r = 0; r + 1 < nr; r++)
        for (int k = 0; k < 76; k++) {
            int a = rings[size_t(r)][size_t(k)], b = rings[size_t(r)][size_t((k + 1) % 76)];
            int c = rings[size_t(r + 1)][size_t(k)], d = rings[size_t(r + 1)][size_t((k + 1) % 76)];
            Vec3 in = m.pos[size_t(a)] * -1.0;
            in.y = 0;
            if (r % 2 == 0) { face_towards(m, a, b, c, in); face_towards(m, b, d, c, in); }
            else { face_towards(m, a, b, d, in); face_towards(m, a, d, c, in); }
        }
    // Capped pillars up to the rim height.
    for (int s = 0; s < 6; s++) {
        double ang = 2 * PI * s / 6;
        Vec3 pc{5 * std::cos(ang), 0, 5 * std::sin(ang)};
        std::array<int, 4> top;
        for (int k = 0; k < 4; k++) { Vec3 p = m.pos[size_t(fl.holes[size_t(s)][size_t(k)])]; p.y = 8; top[size_t(k)] = m.add(p); }
        for (int k = 0; k < 4; k++) {
            int a = fl.holes[size_t(s)][size_t(k)], b = fl.holes[size_t(s)][size_t((k + 1) % 4)];
            int c = top[size_t(k)], d = top[size_t((k + 1) % 4)];
            Vec3 out = (m.pos[size_t(a)] + m.pos[size_t(b)]) * 0.5 - pc;
            out.y = 0;
            face_towards(m, a, b, d, out);
            face_towards(m, a, d, c, out);
        }
        face_towards(m, top[0], top[1], top[2], {0, 1, 0});
        face_towards(m, top[0], top[2], top[3], {0, 1, 0});
    }
    Topology t = topology(m);
    if (t.nonmanifold_edges || t.boundary_loops != 1 || t.boundary_edges != 76 || t.components != 1)
        throw std::runtime_error("beam_hall_mesh: hall is not a single open-top surface (" + std::to_string(t.boundary_edges) +
                                 " rim edges, " + std::to_string(t.nonmanifold_edges) + " bad edges)");
    split_to(m, 2563);
    return m;
}

//----------------------------------------------------------------------------------------------
// glow_object_mesh and glow_shell_mesh: the emitter
//----------------------------------------------------------------------------------------------
Mesh make_glow_object()
{
    const int rings = 15;
    Mesh m = ring_body(distribute(298, rings), [&](int i, double th) {
        double s = (i + 1.0) / (rings + 1);
        double z = -7 + 17 * s;
        double q = (z - 1.5) / 8.5;
        double r = 6.5 * std::sqrt(std::max(0.0, 1 - q * q)) * (1 - 0.35 * std::max(0.0, q));
        r *= 1 + 0.07 * std::pow(std::fabs(std::cos(3 * th)), 6);
        return Vec3{r * std::cos(th), r * std::sin(th), z};
    }, {0, 0, -7}, {0, 0, 10});
    m.name = "glow_object_mesh";
    return m;
}

Mesh make_glow_shell()
{
    Mesh m;
    m.name = "glow_shell_mesh";
    // Dish z = -12 + 24 (r / 15)^2; facets tangent to it, facing into the dish.
    auto dish = [](double r, double a) { return Vec3{r * std::cos(a), r * std::sin(a), -12 + 24 * (r / 15) * (r / 15)}; };
    // A facet centred on the dish at radius r, angle a, with half extents along the dish's
    // slope (ring spacing dr_step) and round it (count per ring); 12 % slits between facets.
    auto facet = [&](int sides, double r, double a, double dr_step, int count) {
        Vec3 c = dish(r, a);
        Vec3 dr = normalize(dish(r + 0.01, a) - dish(r - 0.01, a)), da{-std::sin(a), std::cos(a), 0};
        Vec3 n = normalize(cross(dr, da));
        if (dot(n, Vec3{0, 0, 1}) < 0) n = n * -1.0;
        double slope = 48 * r / 225;
        double ext_r = 0.44 * dr_step * std::sqrt(1 + slope * slope), ext_t = 0.44 * 2 * PI * r / count;
        std::vector<Vec3> poly;
        for (int k = 0; k < sides; k++) {
            double t = 2 * PI * (k + 0.5) / sides;
            poly.push_back(c + dr * (std::cos(t) * ext_r) + da * (std::sin(t) * ext_t));
        }
        add_facet(m, poly, n);
    };
    // Hexagons near the centre (rings of 6, 12, 18, 18), octagons outside (6 rings of 24).
    const int hex_rings[4] = {6, 12, 18, 18};
    for (int r = 0; r < 4; r++)
        for (int k = 0; k < hex_rings[r]; k++) {
            double rad = 1.6 + 2.0 * r;
            facet(6, rad, 2 * PI * (k + 0.5 * r) / hex_rings[r], 2.0, hex_rings[r]);
        }
    for (int r = 0; r < 6; r++)
        for (int k = 0; k < 24; k++) {
            double rad = 8.9 + 1.05 * r;
            facet(8, rad, 2 * PI * (k + 0.5 * r) / 24, 1.05, 24);
        }
    // Stalk: four hexagonal plates down to the pivot at y -13.
    for (int k = 0; k < 4; k++) {
        Vec3 c{0, -6.0 - 2.0 * k, -13.5 + 0.4 * k};
        std::vector<Vec3> poly;
        for (int j = 0; j < 6; j++) {
            double t = 2 * PI * j / 6;
            poly.push_back(c + Vec3{1.2 * std::cos(t), 1.1 * std::sin(t), 0});
        }
        add_facet(m, poly, {0, 0, 1});
    }
    return m;
}

}    // namespace

//----------------------------------------------------------------------------------------------
// Dispatch and output
//----------------------------------------------------------------------------------------------
Mesh build_mesh_recipe(const MeshSpec &spec)
{
    static const std::map<std::string, Mesh (*)()> recipes = {
        {"hull_mesh", make_hull}, {"statue_mesh", make_statue}, {"big_statue_mesh", make_big_statue},
        {"flock_mesh", make_flock}, {"core_mesh", make_core}, {"twirl_mesh", make_twirl},
        {"machine_part_a_mesh", make_machine_a}, {"machine_part_b_mesh", make_machine_b},
        {"bubble_frame_mesh", make_bubble_frame}, {"twin_part_a_mesh", make_twin_a}, {"twin_part_b_mesh", make_twin_b},
        {"pedestal_mesh", make_pedestal}, {"tube_mesh", make_tube}, {"water_surface_mesh", make_cave},
        {"sculpture_part_a_mesh", make_sculpture_a}, {"sculpture_part_b_mesh", make_sculpture_b},
        {"sculpture_mesh", make_sculpture}, {"small_part_1_mesh", make_small_part_1}, {"small_part_2_mesh", make_small_part_2},
        {"small_part_3_mesh", make_small_part_3}, {"small_part_4_mesh", make_small_part_4},
        {"small_part_5_mesh", make_small_part_5}, {"small_part_6_mesh", make_small_part_6},
        {"small_part_7_mesh", make_small_part_7}, {"pod_mesh", make_pod}, {"beam_mirror_mesh", make_beam_mirror},
        {"beam_hall_mesh", make_beam_hall}, {"glow_object_mesh", make_glow_object}, {"glow_shell_mesh", make_glow_shell},
    };
    auto it = recipes.find(spec.name);
    if (it == recipes.end()) throw std::runtime_error(std::string(spec.name) + ": no recipe");
    Mesh m;
    try {
        m = it->second();
    } catch (const std::runtime_error &e) {
        std::string what = e.what();
        if (what.rfind(spec.name, 0) != 0) throw std::runtime_error(std::string(spec.name) + ": " + what);
        throw;
    }
    m.name = spec.name;
    // Absorb last-bit libm differences: positions on a 2^-10 grid.
    for (Vec3 &p : m.pos) p = {std::round(p.x * 1024) / 1024, std::round(p.y * 1024) / 1024, std::round(p.z * 1024) / 1024};
    check_mesh(m, spec.vertices, spec.faces, spec.uv, spec.colour);
    return m;
}

void write_mesh_tables(const std::vector<Mesh> &meshes, const std::string &dir)
{
    std::string bin_path = dir + "/embedded_meshes.bin", cpp_path = dir + "/embedded_meshes.cpp";
    std::vector<char> blob;
    auto put = [&](const void *p, size_t n) {
        const char *c = static_cast<const char *>(p);
        blob.insert(blob.end(), c, c + n);
    };
    struct Offsets { size_t pos, tri, uv, col; };
    std::vector<Offsets> offs;
    for (const Mesh &m : meshes) {
        Offsets o{};
        o.pos = blob.size();
        for (const Vec3 &p : m.pos) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        o.tri = blob.size();
        put(m.tri.data(), m.tri.size() * sizeof(int));
        o.uv = o.col = size_t(-1);
        if (!m.uv.empty()) {
            o.uv = blob.size();
            for (const Vec3 &p : m.uv) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        }
        if (!m.colour.empty()) {
            o.col = blob.size();
            for (const Vec3 &p : m.colour) { float f[3] = {float(p.x), float(p.y), float(p.z)}; put(f, sizeof f); }
        }
        offs.push_back(o);
    }
    FILE *f = std::fopen(bin_path.c_str(), "wb");
    if (!f || std::fwrite(blob.data(), 1, blob.size(), f) != blob.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + bin_path);
    std::string src;
    src += "// Generated by tools/contentgen: the embedded mesh tables. Do not edit.\n";
    src += "#include \"data/embedded_meshes.h\"\n#include <cstring>\n\n";
    src += "asm(\".section .rodata\\n.balign 16\\n.globl orbplume_mesh_blob\\norbplume_mesh_blob:\\n.incbin \\\"" + bin_path +
           "\\\"\\n.previous\\n\");\n";
    src += "extern \"C\" const char orbplume_mesh_blob[];\n\n";
    src += "#define F(off) reinterpret_cast<const float *>(orbplume_mesh_blob + (off))\n";
    src += "#define I(off) reinterpret_cast<const int *>(orbplume_mesh_blob + (off))\n\n";
    src += "const EmbeddedMesh embedded_meshes[] = {\n";
    for (size_t i = 0; i < meshes.size(); i++) {
        const Mesh &m = meshes[i];
        const Offsets &o = offs[i];
        char line[512];
        std::snprintf(line, sizeof line, "    {\"%s\", %d, %d, F(%zu), I(%zu), %s, %s},\n", m.name.c_str(), m.vertices(), m.faces(), o.pos,
                      o.tri, o.uv == size_t(-1) ? "nullptr" : ("F(" + std::to_string(o.uv) + ")").c_str(),
                      o.col == size_t(-1) ? "nullptr" : ("F(" + std::to_string(o.col) + ")").c_str());
        src += line;
    }
    src += "};\nconst int embedded_mesh_count = " + std::to_string(meshes.size()) + ";\n\n";
    src += "const EmbeddedMesh *find_embedded_mesh(const char *name)\n{\n";
    src += "    for (int i = 0; i < embedded_mesh_count; i++)\n";
    src += "        if (std::strcmp(embedded_meshes[i].name, name) == 0) return &embedded_meshes[i];\n";
    src += "    return nullptr;\n}\n";
    f = std::fopen(cpp_path.c_str(), "wb");
    if (!f || std::fwrite(src.data(), 1, src.size(), f) != src.size() || std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + cpp_path);
}
