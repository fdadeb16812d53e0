// tools/contentgen/mesh.cpp - mesh toolkit of the content generator (see mesh.h).
#include "mesh.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <queue>
#include <stdexcept>
#include <unordered_map>

//----------------------------------------------------------------------------------------------
// Mesh record
//----------------------------------------------------------------------------------------------
void Mesh::append(const Mesh &m)
{
    int base = vertices();
    pos.insert(pos.end(), m.pos.begin(), m.pos.end());
    uv.insert(uv.end(), m.uv.begin(), m.uv.end());
    colour.insert(colour.end(), m.colour.begin(), m.colour.end());
    for (int i : m.tri) tri.push_back(i + base);
}

void Mesh::flip()
{
    for (size_t f = 0; f < tri.size(); f += 3) std::swap(tri[f + 1], tri[f + 2]);
}

double Mesh::signed_volume() const
{
    double v = 0;
    for (size_t f = 0; f < tri.size(); f += 3)
        v += dot(pos[tri[f]], cross(pos[tri[f + 1]], pos[tri[f + 2]]));
    return v / 6.0;
}

//----------------------------------------------------------------------------------------------
// Faces
//----------------------------------------------------------------------------------------------
void face_towards(Mesh &m, int a, int b, int c, Vec3 want)
{
    Vec3 n = cross(m.pos[b] - m.pos[a], m.pos[c] - m.pos[a]);
    if (dot(n, want) >= 0) m.face(a, b, c);
    else m.face(a, c, b);
}

void add_facet(Mesh &m, const std::vector<Vec3> &poly, Vec3 want)
{
    int base = m.vertices();
    for (const Vec3 &p : poly) m.add(p);
    Vec3 n{0, 0, 0};
    for (size_t i = 0; i < poly.size(); i++) n = n + cross(poly[i], poly[(i + 1) % poly.size()]);
    bool reverse = dot(n, want) < 0;
    for (size_t i = 1; i + 1 < poly.size(); i++) {
        if (reverse) m.face(base, base + int(i) + 1, base + int(i));
        else m.face(base, base + int(i), base + int(i) + 1);
    }
}

static double cross2(Vec3 o, Vec3 a, Vec3 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

std::vector<int> ear_clip(const std::vector<Vec3> &poly)
{
    std::vector<int> idx(poly.size());
    std::iota(idx.begin(), idx.end(), 0);
    std::vector<int> out;
    int guard = 0;
    while (idx.size() > 3 && guard < 100000) {
        guard++;
        size_t n = idx.size();
        bool clipped = false;
        for (size_t i = 0; i < n; i++) {
            int a = idx[(i + n - 1) % n], b = idx[i], c = idx[(i + 1) % n];
            if (cross2(poly[a], poly[b], poly[c]) <= 1e-12) continue;    // reflex corner
            bool inside = false;
            for (size_t j = 0; j < n && !inside; j++) {
                int p = idx[j];
                if (p == a || p == b || p == c) continue;
                if (cross2(poly[a], poly[b], poly[p]) >= 0 && cross2(poly[b], poly[c], poly[p]) >= 0 &&
                    cross2(poly[c], poly[a], poly[p]) >= 0)
                    inside = true;
            }
            if (inside) continue;
            out.insert(out.end(), {a, b, c});
            idx.erase(idx.begin() + long(i));
            clipped = true;
            break;
        }
        if (!clipped) throw std::runtime_error("ear_clip: polygon is not simple");
    }
    out.insert(out.end(), {idx[0], idx[1], idx[2]});
    return out;
}

//----------------------------------------------------------------------------------------------
// Rings
//----------------------------------------------------------------------------------------------
void zip_rings(Mesh &m, const std::vector<int> &a, const std::vector<int> &b)
{
    size_t n = a.size(), k = b.size(), i = 0, j = 0;
    while (i < n || j < k) {
        bool advance_a = j == k || (i < n && (double(i) + 0.5) / double(n) < (double(j) + 0.5) / double(k));
        if (advance_a) {
            m.face(a[i % n], a[(i + 1) % n], b[j % k]);
            i++;
        } else {
            m.face(a[i % n], b[(j + 1) % k], b[j % k]);
            j++;
        }
    }
}

void zip_pole(Mesh &m, int pole, const std::vector<int> &ring, bool below)
{
    size_t n = ring.size();
    for (size_t i = 0; i < n; i++) {
        if (below) m.face(pole, ring[(i + 1) % n], ring[i]);
        else m.face(ring[i], ring[(i + 1) % n], pole);
    }
}

std::vector<int> distribute(int total, int count)
{
    std::vector<int> out(size_t(count), total / count);
    for (int i = 0; i < total % count; i++) out[size_t(i) * size_t(count) / size_t(total % count)]++;
    return out;
}

//----------------------------------------------------------------------------------------------
// Count adjusters
//----------------------------------------------------------------------------------------------
static uint64_t edge_key(int a, int b)
{
    if (a > b) std::swap(a, b);
    return (uint64_t(uint32_t(a)) << 32) | uint32_t(b);
}

void split_to(Mesh &m, int target)
{
    if (m.vertices() > target) throw std::runtime_error(m.name + ": too many vertices to split up to the target");
    struct Pair { int f0 = -1, f1 = -1, count = 0; };
    std::unordered_map<uint64_t, Pair> edges;
    edges.reserve(m.tri.size() * 2);
    auto attach = [&](int a, int b, int f) {
        Pair &p = edges[edge_key(a, b)];
        if (p.count == 0) p.f0 = f; else p.f1 = f;
        p.count++;
    };
    for (int f = 0; f < m.faces(); f++)
        for (int k = 0; k < 3; k++) attach(m.tri[f * 3 + k], m.tri[f * 3 + (k + 1) % 3], f);
    auto len2 = [&](uint64_t key) {
        Vec3 d = m.pos[int(key >> 32)] - m.pos[int(key & 0xffffffffu)];
        return dot(d, d);
    };
    using Item = std::pair<double, uint64_t>;
    std::priority_queue<Item> heap;
    for (auto &[key, p] : edges)
        if (p.count == 2) heap.push({len2(key), key});
    auto replace = [&](int a, int b, int from, int to) {
        Pair &p = edges[edge_key(a, b)];
        if (p.f0 == from) p.f0 = to; else if (p.f1 == from) p.f1 = to;
    };
    bool has_uv = !m.uv.empty(), has_col = !m.colour.empty();
    while (m.vertices() < target) {
        if (heap.empty()) throw std::runtime_error(m.name + ": no edge left to split");
        auto [l, key] = heap.top();
        heap.pop();
        auto it = edges.find(key);
        if (it == edges.end() || it->second.count != 2 || len2(key) != l) continue;
        int a = int(key >> 32), b = int(key & 0xffffffffu);
        int f1 = it->second.f0, f2 = it->second.f1;
        // f1 must hold a->b, f2 b->a.
        auto directed = [&](int f, int x, int y) {
            for (int k = 0; k < 3; k++)
                if (m.tri[f * 3 + k] == x && m.tri[f * 3 + (k + 1) % 3] == y) return k;
            return -1;
        };
        if (directed(f1, a, b) < 0) std::swap(f1, f2);
        int k1 = directed(f1, a, b), k2 = directed(f2, b, a);
        if (k1 < 0 || k2 < 0) continue;    // inconsistent winding here: leave the edge alone
        int c = m.tri[f1 * 3 + (k1 + 2) % 3], d = m.tri[f2 * 3 + (k2 + 2) % 3];
        int mid = m.add((m.pos[a] + m.pos[b]) * 0.5);
        if (has_uv) m.uv.push_back((m.uv[a] + m.uv[b]) * 0.5);
        if (has_col) m.colour.push_back((m.colour[a] + m.colour[b]) * 0.5);
        int f3 = m.faces(), f4 = f3 + 1;
        m.tri[f1 * 3 + 0] = a; m.tri[f1 * 3 + 1] = mid; m.tri[f1 * 3 + 2] = c;
        m.tri[f2 * 3 + 0] = b; m.tri[f2 * 3 + 1] = mid; m.tri[f2 * 3 + 2] = d;
        m.face(mid, b, c);
        m.face(mid, a, d);
        edges.erase(key);
        replace(b, c, f1, f3);
        replace(a, d, f2, f4);
        for (auto [x, y, p, q] : {std::tuple{a, mid, f1, f4}, {mid, b, f3, f2}, {mid, c, f1, f3}, {mid, d, f2, f4}}) {
            Pair &e = edges[edge_key(x, y)];
            e = Pair{p, q, 2};
            heap.push({len2(edge_key(x, y)), edge_key(x, y)});
        }
    }
}

void bridge_faces(Mesh &m, int fa, int fb)
{
    int a[3], b[3];
    for (int k = 0; k < 3; k++) { a[k] = m.tri[fa * 3 + k]; b[k] = m.tri[fb * 3 + k]; }
    // Pair a[i] with b[(c - i) mod 3], the pairing that keeps the winding consistent; pick the
    // rotation with the shortest struts.
    int best = 0;
    double best_len = 1e300;
    for (int c = 0; c < 3; c++) {
        double l = 0;
        for (int i = 0; i < 3; i++) l += length(m.pos[a[i]] - m.pos[b[((c - i) % 3 + 3) % 3]]);
        if (l < best_len) { best_len = l; best = c; }
    }
    auto mate = [&](int i) { return b[((best - i) % 3 + 3) % 3]; };
    std::vector<int> nt;
    for (int i = 0; i < 3; i++) {
        int i1 = (i + 1) % 3;
        nt.insert(nt.end(), {a[i], a[i1], mate(i1)});
        nt.insert(nt.end(), {a[i], mate(i1), mate(i)});
    }
    for (int k = 0; k < 3; k++) { m.tri[fa * 3 + k] = nt[k]; m.tri[fb * 3 + k] = nt[3 + k]; }
    m.tri.insert(m.tri.end(), nt.begin() + 6, nt.end());
}

void add_fin(Mesh &m, int a, int b, Vec3 tip)
{
    int t = m.add(tip);
    m.face(a, b, t);
}

void shuffle_vertices(Mesh &m, uint64_t seed)
{
    int n = m.vertices();
    std::vector<int> order(size_t(n), 0);
    std::iota(order.begin(), order.end(), 0);
    Rng rng(seed);
    for (int i = n - 1; i > 0; i--) std::swap(order[size_t(i)], order[size_t(rng.next() % uint64_t(i + 1))]);
    std::vector<int> where(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) where[size_t(order[size_t(i)])] = i;
    std::vector<Vec3> p(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) p[size_t(i)] = m.pos[size_t(order[size_t(i)])];
    m.pos = p;
    for (int &i : m.tri) i = where[size_t(i)];
}

//----------------------------------------------------------------------------------------------
// Signed-distance polygoniser
//----------------------------------------------------------------------------------------------
Field make_field(Vec3 lo, Vec3 hi, double cell, float outside)
{
    Field f;
    f.origin = lo - Vec3{cell, cell, cell} * 2.0;
    f.cell = cell;
    f.nx = int(std::ceil((hi.x - lo.x) / cell)) + 5;
    f.ny = int(std::ceil((hi.y - lo.y) / cell)) + 5;
    f.nz = int(std::ceil((hi.z - lo.z) / cell)) + 5;
    f.value.assign(size_t(f.nx) * f.ny * f.nz, outside);
    return f;
}

static double capsule_distance(Vec3 p, const Capsule &c)
{
    Vec3 ab = c.b - c.a;
    double l2 = dot(ab, ab);
    double t = l2 > 0 ? std::clamp(dot(p - c.a, ab) / l2, 0.0, 1.0) : 0.0;
    Vec3 q = c.a + ab * t;
    return length(p - q) - (c.ra + (c.rb - c.ra) * t);
}

void splat_capsules(Field &f, const std::vector<Capsule> &caps, double band)
{
    for (const Capsule &c : caps) {
        double r = std::max(c.ra, c.rb) + band;
        Vec3 lo{std::min(c.a.x, c.b.x) - r, std::min(c.a.y, c.b.y) - r, std::min(c.a.z, c.b.z) - r};
        Vec3 hi{std::max(c.a.x, c.b.x) + r, std::max(c.a.y, c.b.y) + r, std::max(c.a.z, c.b.z) + r};
        int i0 = std::max(0, int(std::floor((lo.x - f.origin.x) / f.cell)));
        int j0 = std::max(0, int(std::floor((lo.y - f.origin.y) / f.cell)));
        int k0 = std::max(0, int(std::floor((lo.z - f.origin.z) / f.cell)));
        int i1 = std::min(f.nx - 1, int(std::ceil((hi.x - f.origin.x) / f.cell)));
        int j1 = std::min(f.ny - 1, int(std::ceil((hi.y - f.origin.y) / f.cell)));
        int k1 = std::min(f.nz - 1, int(std::ceil((hi.z - f.origin.z) / f.cell)));
        for (int k = k0; k <= k1; k++)
            for (int j = j0; j <= j1; j++)
                for (int i = i0; i <= i1; i++) {
                    float d = float(capsule_distance(f.point(i, j, k), c));
                    float &v = f.at(i, j, k);
                    if (d < v) v = d;
                }
    }
}

Mesh polygonise(const Field &f)
{
    Mesh m;
    std::unordered_map<uint64_t, int> cache;
    cache.reserve(1 << 16);
    auto gindex = [&](int i, int j, int k) { return (uint64_t(k) * uint64_t(f.ny) + uint64_t(j)) * uint64_t(f.nx) + uint64_t(i); };
    auto value = [&](uint64_t g) {
        float v = f.value[size_t(g)];
        return (v > -1e-5f && v < 1e-5f) ? 1e-5f : v;    // no vertex exactly on a grid point
    };
    auto gpoint = [&](uint64_t g) {
        int i = int(g % uint64_t(f.nx)), j = int((g / uint64_t(f.nx)) % uint64_t(f.ny)), k = int(g / (uint64_t(f.nx) * uint64_t(f.ny)));
        return f.point(i, j, k);
    };
    auto vertex = [&](uint64_t a, uint64_t b) {    // a inside, b outside
        uint64_t key = std::min(a, b) * (uint64_t(f.nx) * f.ny * f.nz) + std::max(a, b);
        auto it = cache.find(key);
        if (it != cache.end()) return it->second;
        double va = value(a), vb = value(b);
        double t = std::clamp(va / (va - vb), 0.02, 0.98);
        int id = m.add(gpoint(a) + (gpoint(b) - gpoint(a)) * t);
        cache.emplace(key, id);
        return id;
    };
    auto emit = [&](int p, int q, int r, Vec3 out) { face_towards(m, p, q, r, out); };
    static const int perms[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (int k = 0; k + 1 < f.nz; k++)
        for (int j = 0; j + 1 < f.ny; j++)
            for (int i = 0; i + 1 < f.nx; i++) {
                bool any_in = false, any_out = false;
                for (int c = 0; c < 8; c++) {
                    float v = value(gindex(i + (c & 1), j + ((c >> 1) & 1), k + ((c >> 2) & 1)));
                    (v < 0 ? any_in : any_out) = true;
                }
                if (!any_in || !any_out) continue;
                for (auto &pm : perms) {
                    int off[4][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}};
                    off[1][pm[0]] = 1;
                    off[2][pm[0]] = 1; off[2][pm[1]] = 1;
                    uint64_t g[4];
                    for (int t = 0; t < 4; t++) g[t] = gindex(i + off[t][0], j + off[t][1], k + off[t][2]);
                    int in[4], out[4], ni = 0, no = 0;
                    for (int t = 0; t < 4; t++) (value(g[t]) < 0 ? in[ni++] : out[no++]) = t;
                    if (ni == 0 || no == 0) continue;
                    Vec3 cin{0, 0, 0}, cout{0, 0, 0};
                    for (int t = 0; t < ni; t++) cin = cin + gpoint(g[in[t]]) * (1.0 / ni);
                    for (int t = 0; t < no; t++) cout = cout + gpoint(g[out[t]]) * (1.0 / no);
                    Vec3 dir = cout - cin;
                    if (ni == 1) emit(vertex(g[in[0]], g[out[0]]), vertex(g[in[0]], g[out[1]]), vertex(g[in[0]], g[out[2]]), dir);
                    else if (ni == 3) emit(vertex(g[in[0]], g[out[0]]), vertex(g[in[1]], g[out[0]]), vertex(g[in[2]], g[out[0]]), dir);
                    else {
                        int ac = vertex(g[in[0]], g[out[0]]), ad = vertex(g[in[0]], g[out[1]]);
                        int bd = vertex(g[in[1]], g[out[1]]), bc = vertex(g[in[1]], g[out[0]]);
                        emit(ac, ad, bd, dir);
                        emit(ac, bd, bc, dir);
                    }
                }
            }
    return m;
}

static int find_root(std::vector<int> &p, int x)
{
    while (p[size_t(x)] != x) { p[size_t(x)] = p[size_t(p[size_t(x)])]; x = p[size_t(x)]; }
    return x;
}

void keep_largest_component(Mesh &m)
{
    std::vector<int> parent(size_t(m.vertices()));
    std::iota(parent.begin(), parent.end(), 0);
    for (size_t f = 0; f < m.tri.size(); f += 3)
        for (int k = 1; k < 3; k++) {
            int a = find_root(parent, m.tri[f]), b = find_root(parent, m.tri[f + k]);
            if (a != b) parent[size_t(std::max(a, b))] = std::min(a, b);
        }
    std::map<int, int> size;
    for (size_t f = 0; f < m.tri.size(); f += 3) size[find_root(parent, m.tri[f])]++;
    int best = -1, best_n = -1;
    for (auto [r, n] : size) if (n > best_n) { best = r; best_n = n; }
    std::vector<int> remap(size_t(m.vertices()), -1);
    Mesh out;
    out.name = m.name;
    for (size_t f = 0; f < m.tri.size(); f += 3) {
        if (find_root(parent, m.tri[f]) != best) continue;
        int v[3];
        for (int k = 0; k < 3; k++) {
            int &r = remap[size_t(m.tri[f + size_t(k)])];
            if (r < 0) r = out.add(m.pos[size_t(m.tri[f + size_t(k)])]);
            v[k] = r;
        }
        out.face(v[0], v[1], v[2]);
    }
    m = out;
}

//----------------------------------------------------------------------------------------------
// Checks
//----------------------------------------------------------------------------------------------
Topology topology(const Mesh &m)
{
    Topology t;
    std::unordered_map<uint64_t, int> undirected;
    std::unordered_map<uint64_t, int> directed;
    for (size_t f = 0; f < m.tri.size(); f += 3)
        for (int k = 0; k < 3; k++) {
            int a = m.tri[f + size_t(k)], b = m.tri[f + size_t((k + 1) % 3)];
            undirected[edge_key(a, b)]++;
            directed[(uint64_t(uint32_t(a)) << 32) | uint32_t(b)]++;
        }
    std::vector<int> parent(size_t(m.vertices()));
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<int> bparent = parent;
    std::vector<char> on_boundary(size_t(m.vertices()), 0);
    for (auto [key, n] : undirected) {
        int a = int(key >> 32), b = int(key & 0xffffffffu);
        int ra = find_root(parent, a), rb = find_root(parent, b);
        if (ra != rb) parent[size_t(std::max(ra, rb))] = std::min(ra, rb);
        if (n == 1) {
            t.boundary_edges++;
            on_boundary[size_t(a)] = on_boundary[size_t(b)] = 1;
            int qa = find_root(bparent, a), qb = find_root(bparent, b);
            if (qa != qb) bparent[size_t(std::max(qa, qb))] = std::min(qa, qb);
        }
        if (n > 2) t.nonmanifold_edges++;
    }
    for (auto [key, n] : directed) if (n > 1) t.nonmanifold_edges++;
    for (int v = 0; v < m.vertices(); v++) {
        if (find_root(parent, v) == v) t.components++;
        if (on_boundary[size_t(v)] && find_root(bparent, v) == v) t.boundary_loops++;
    }
    t.euler = long(m.vertices()) - long(undirected.size()) + long(m.faces());
    return t;
}

void check_mesh(const Mesh &m, int want_v, int want_f, bool want_uv, bool want_colour)
{
    auto fail = [&](const std::string &why) { throw std::runtime_error(m.name + ": " + why); };
    if (m.vertices() != want_v || m.faces() != want_f)
        fail("has " + std::to_string(m.vertices()) + " vertices / " + std::to_string(m.faces()) + " faces, wants " +
             std::to_string(want_v) + " / " + std::to_string(want_f));
    std::vector<char> used(size_t(m.vertices()), 0);
    for (int i : m.tri) {
        if (i < 0 || i >= m.vertices()) fail("index " + std::to_string(i) + " out of range");
        used[size_t(i)] = 1;
    }
    for (int v = 0; v < m.vertices(); v++)
        if (!used[size_t(v)]) fail("vertex " + std::to_string(v) + " is used by no face");
    for (const Vec3 &p : m.pos)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) fail("position is not finite");
    if (want_uv != !m.uv.empty() || (want_uv && int(m.uv.size()) != m.vertices())) fail("texture coordinate array is wrong");
    if (want_colour != !m.colour.empty() || (want_colour && int(m.colour.size()) != m.vertices())) fail("colour array is wrong");
    for (const Vec3 &c : m.uv)
        if (!(c.x >= -0.08 && c.x <= 1.0 && c.y >= -0.08 && c.y <= 1.0)) fail("texture coordinate out of range");
    for (const Vec3 &c : m.colour)
        if (!(c.x >= 0 && c.x <= 1 && c.y >= 0 && c.y <= 1 && c.z >= 0 && c.z <= 1)) fail("colour out of range");
}
