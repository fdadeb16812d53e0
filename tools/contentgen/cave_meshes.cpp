// tools/contentgen/cave_meshes.cpp - the cave and the cavern: the cavern tunnels and the
// chrome rods inside them (statue_mesh, big_statue_mesh), and the water cave, a thickened
// figure-eight with a flat water floor (water_surface_mesh). All are polygonised from capsules
// along closed splines and grown to an exact genus.
#include "mesh_recipes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace mesh_recipes {

namespace {

//----------------------------------------------------------------------------------------------
// Closed splines, 3D noise and the capsule polygoniser
//----------------------------------------------------------------------------------------------
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

}    // namespace

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

}    // namespace mesh_recipes
