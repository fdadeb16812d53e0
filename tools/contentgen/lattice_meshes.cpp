// tools/contentgen/lattice_meshes.cpp - the two many-handled closed shells: the hull, a
// perforated spherical shell with round windows and two fins (hull_mesh), and the twirl, a
// torus-knot tube braced by struts, with one fin (twirl_mesh).
#include "mesh_recipes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace mesh_recipes {

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

}    // namespace mesh_recipes
