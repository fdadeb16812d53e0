// tests/contentgen/contentgen_test.cpp - the generated content: the embedded mesh tables as
// linked into the engine, the JPEG pictures in build/data, and the generator's determinism.
#include "data/camera_paths.h"
#include "data/embedded_meshes.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char *name;
    int v, f;
    bool uv, colour;
};
const Expected expected[29] = {
    {"hull_mesh", 9010, 18326, false, false},          {"statue_mesh", 17639, 35346, false, false},
    {"big_statue_mesh", 21754, 43576, false, false},   {"flock_mesh", 3167, 6330, false, false},
    {"core_mesh", 4000, 7996, false, false},           {"twirl_mesh", 657, 1485, false, false},
    {"machine_part_a_mesh", 1316, 506, false, false},  {"machine_part_b_mesh", 1186, 472, false, false},
    {"bubble_frame_mesh", 375, 126, false, false},     {"twin_part_a_mesh", 122, 236, false, false},
    {"twin_part_b_mesh", 110, 208, false, false},      {"pedestal_mesh", 3041, 1222, false, true},
    {"tube_mesh", 384, 768, false, false},             {"water_surface_mesh", 2500, 5004, false, false},
    {"sculpture_part_a_mesh", 1617, 3200, false, false}, {"sculpture_part_b_mesh", 2359, 4696, false, false},
    {"sculpture_mesh", 5818, 10944, false, false},     {"small_part_1_mesh", 150, 100, true, false},
    {"small_part_2_mesh", 102, 64, true, false},       {"small_part_3_mesh", 106, 68, true, false},
    {"small_part_4_mesh", 792, 520, true, false},      {"small_part_5_mesh", 368, 216, true, false},
    {"small_part_6_mesh", 368, 216, true, false},      {"small_part_7_mesh", 368, 216, true, false},
    {"pod_mesh", 300, 596, false, false},              {"beam_mirror_mesh", 156, 327, false, false},
    {"beam_hall_mesh", 2563, 5048, false, false},      {"glow_object_mesh", 300, 596, false, false},
    {"glow_shell_mesh", 1500, 1096, false, false},
};

struct V3 {
    double x, y, z;
};
V3 sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double len(V3 a) { return std::sqrt(dot(a, a)); }

V3 vertex(const EmbeddedMesh &m, int i) { return {m.positions[i * 3], m.positions[i * 3 + 1], m.positions[i * 3 + 2]}; }

const EmbeddedMesh &mesh(const char *name)
{
    const EmbeddedMesh *m = find_embedded_mesh(name);
    if (!m) throw std::runtime_error(std::string("missing ") + name);
    return *m;
}

// Genus of a closed connected mesh from V - E + F, with the rim edge count.
struct Shape {
    long euler;
    int rim_edges;
    double volume;
};
Shape shape(const EmbeddedMesh &m)
{
    std::map<std::pair<int, int>, int> edges;
    double vol = 0;
    for (int f = 0; f < m.face_count; f++) {
        const int *t = m.faces + f * 3;
        for (int k = 0; k < 3; k++) {
            int a = t[k], b = t[(k + 1) % 3];
            edges[{std::min(a, b), std::max(a, b)}]++;
        }
        vol += dot(vertex(m, t[0]), cross(vertex(m, t[1]), vertex(m, t[2]))) / 6;
    }
    int rim = 0;
    for (auto &[e, n] : edges) rim += n == 1;
    return {long(m.vertex_count) - long(edges.size()) + m.face_count, rim, vol};
}

// Nearest distance from p to any face of m (point-triangle distance).
double distance_to_mesh(const EmbeddedMesh &m, V3 p)
{
    double best = 1e30;
    for (int f = 0; f < m.face_count; f++) {
        V3 a = vertex(m, m.faces[f * 3]), b = vertex(m, m.faces[f * 3 + 1]), c = vertex(m, m.faces[f * 3 + 2]);
        // Cheap reject by the distance to the first corner.
        double da = len(sub(p, a));
        if (da - 40 > best) continue;
        // Closest point on the triangle (barycentric clamping, Ericson).
        V3 ab = sub(b, a), ac = sub(c, a), ap = sub(p, a);
        double d1 = dot(ab, ap), d2 = dot(ac, ap);
        V3 q;
        if (d1 <= 0 && d2 <= 0) q = a;
        else {
            V3 bp = sub(p, b);
            double d3 = dot(ab, bp), d4 = dot(ac, bp);
            V3 cp = sub(p, c);
            double d5 = dot(ab, cp), d6 = dot(ac, cp);
            double vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
            if (d3 >= 0 && d4 <= d3) q = b;
            else if (d6 >= 0 && d5 <= d6) q = c;
            else if (vc <= 0 && d1 >= 0 && d3 <= 0) { double v = d1 / (d1 - d3); q = {a.x + ab.x * v, a.y + ab.y * v, a.z + ab.z * v}; }
            else if (vb <= 0 && d2 >= 0 && d6 <= 0) { double w = d2 / (d2 - d6); q = {a.x + ac.x * w, a.y + ac.y * w, a.z + ac.z * w}; }
            else if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
                double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
                q = {b.x + (c.x - b.x) * w, b.y + (c.y - b.y) * w, b.z + (c.z - b.z) * w};
            } else {
                double den = 1 / (va + vb + vc), v = vb * den, w = vc * den;
                q = {a.x + ab.x * v + ac.x * w, a.y + ab.y * v + ac.y * w, a.z + ab.z * v + ac.z * w};
            }
        }
        best = std::min(best, len(sub(p, q)));
    }
    return best;
}

// Odd number of crossings along +x means inside a closed mesh.
bool inside(const EmbeddedMesh &m, V3 p)
{
    int hits = 0;
    V3 d{1, 0.000123, 0.000457};
    for (int f = 0; f < m.face_count; f++) {
        V3 a = vertex(m, m.faces[f * 3]), b = vertex(m, m.faces[f * 3 + 1]), c = vertex(m, m.faces[f * 3 + 2]);
        V3 e1 = sub(b, a), e2 = sub(c, a), h = cross(d, e2);
        double det = dot(e1, h);
        if (std::fabs(det) < 1e-12) continue;
        V3 s = sub(p, a);
        double u = dot(s, h) / det;
        if (u < 0 || u > 1) continue;
        V3 q = cross(s, e1);
        double v = dot(d, q) / det;
        if (v < 0 || u + v > 1) continue;
        if (dot(e2, q) / det > 0) hits++;
    }
    return hits % 2 == 1;
}

std::string data_path(const std::string &file) { return std::string(ORBPLUME_BINARY_DIR) + "/data/" + file; }

struct Picture {
    int w = 0, h = 0, components = 0;
    std::vector<unsigned char> px;
    int at(int x, int y, int c) const { return px[(size_t(y) * size_t(w) + size_t(x)) * 3 + size_t(c)]; }
};

Picture read_jpeg(const std::string &path)
{
    Picture p;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return p;
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    p.w = int(d.output_width);
    p.h = int(d.output_height);
    p.components = d.num_components;
    p.px.resize(size_t(p.w) * size_t(p.h) * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = p.px.data() + size_t(d.output_scanline) * size_t(p.w) * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    std::fclose(f);
    return p;
}

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}    // namespace

//----------------------------------------------------------------------------------------------
// Mesh tables
//----------------------------------------------------------------------------------------------
TEST(EmbeddedMeshes, AllTwentyNineInPrecalcOrderWithExactCountsAndArrays)
{
    ASSERT_EQ(embedded_mesh_count, 29);
    for (int i = 0; i < 29; i++) {
        const EmbeddedMesh &m = embedded_meshes[i];
        SCOPED_TRACE(m.name);
        EXPECT_STREQ(m.name, expected[i].name);
        EXPECT_EQ(m.vertex_count, expected[i].v);
        EXPECT_EQ(m.face_count, expected[i].f);
        EXPECT_EQ(m.texcoords != nullptr, expected[i].uv);
        EXPECT_EQ(m.colours != nullptr, expected[i].colour);
        EXPECT_EQ(find_embedded_mesh(expected[i].name), &m);
    }
    EXPECT_EQ(find_embedded_mesh("teapot_mesh"), nullptr);
}

TEST(EmbeddedMeshes, EveryIndexValidEveryVertexUsedEveryValueFinite)
{
    for (int i = 0; i < embedded_mesh_count; i++) {
        const EmbeddedMesh &m = embedded_meshes[i];
        SCOPED_TRACE(m.name);
        std::vector<char> used(size_t(m.vertex_count), 0);
        int bad = 0;
        for (int k = 0; k < m.face_count * 3; k++) {
            int v = m.faces[k];
            if (v < 0 || v >= m.vertex_count) bad++;
            else used[size_t(v)] = 1;
        }
        EXPECT_EQ(bad, 0);
        int unused = 0, nonfinite = 0;
        for (int v = 0; v < m.vertex_count; v++) {
            unused += !used[size_t(v)];
            for (int c = 0; c < 3; c++) nonfinite += !std::isfinite(m.positions[v * 3 + c]);
        }
        EXPECT_EQ(unused, 0);
        EXPECT_EQ(nonfinite, 0);
        for (int v = 0; m.texcoords && v < m.vertex_count; v++) {
            EXPECT_GE(m.texcoords[v * 3], -0.08f);
            EXPECT_LE(m.texcoords[v * 3 + 1], 1.0f);
        }
        for (int v = 0; m.colours && v < m.vertex_count * 3; v++) {
            EXPECT_GE(m.colours[v], 0.0f);
            EXPECT_LE(m.colours[v], 1.0f);
        }
    }
}

TEST(EmbeddedMeshes, ClosedSurfacesHaveTheirGenusAndFaceOutwardOrInward)
{
    struct Case {
        const char *name;
        long euler;    // V - E + F
        int rim;
        int volume_sign;
    };
    const Case cases[] = {
        {"hull_mesh", 2 - 2 * 78, 4, +1},    // the two fins are open blades
        {"statue_mesh", 2 - 2 * 18, 0, +1},  {"big_statue_mesh", 2 - 2 * 18, 0, +1},
        {"flock_mesh", 2, 0, +1},            {"core_mesh", 2, 0, +1},
        {"tube_mesh", 0, 0, +1},             {"water_surface_mesh", 2 - 2 * 2, 0, +1},
        {"pod_mesh", 2, 0, +1},              {"glow_object_mesh", 2, 0, +1},
        {"sculpture_mesh", 2 * 173, 0, +1},  {"twin_part_a_mesh", 4, 0, +1},
        {"twin_part_b_mesh", 6, 0, +1},      {"beam_mirror_mesh", 2 - 2 * 6 + 1, 3, -1},
        {"beam_hall_mesh", 1, 76, -1},       {"sculpture_part_a_mesh", 1, 32, +1},
        {"sculpture_part_b_mesh", 1, 20, +1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Shape s = shape(mesh(c.name));
        EXPECT_EQ(s.euler, c.euler);
        EXPECT_EQ(s.rim_edges, c.rim);
        EXPECT_GT(s.volume * c.volume_sign, 0);
    }
}

TEST(EmbeddedMeshes, ShapesFitTheirScenes)
{
    auto max_radius = [](const EmbeddedMesh &m) {
        double r = 0;
        for (int v = 0; v < m.vertex_count; v++) r = std::max(r, len(vertex(m, v)));
        return r;
    };
    EXPECT_LE(max_radius(mesh("core_mesh")), 60.0);
    EXPECT_LE(max_radius(mesh("hull_mesh")), 92.01);
    EXPECT_LE(max_radius(mesh("sculpture_mesh")), 115.0);
    EXPECT_LE(max_radius(mesh("glow_object_mesh")), 10.0);
    EXPECT_LE(max_radius(mesh("twirl_mesh")), 110.0);
    const EmbeddedMesh &flock = mesh("flock_mesh");
    for (int v = 0; v < flock.vertex_count; v++) {
        V3 p = vertex(flock, v);
        ASSERT_LE(std::fabs(p.x), 100.0);
        ASSERT_LE(std::fabs(p.y), 25.0);
        ASSERT_TRUE(p.z >= -140 && p.z <= 100);
    }
    const EmbeddedMesh &shell = mesh("glow_shell_mesh");
    for (int v = 0; v < shell.vertex_count; v++) ASSERT_LE(vertex(shell, v).z, 15.0);
    // The hoops nest: r < R / 9.
    const EmbeddedMesh &tube = mesh("tube_mesh");
    double rmin = 1e9, rmax = 0;
    for (int v = 0; v < tube.vertex_count; v++) {
        V3 p = vertex(tube, v);
        double r = std::hypot(p.x, p.y);
        rmin = std::min(rmin, r);
        rmax = std::max(rmax, r);
    }
    EXPECT_LT(0.8 * rmax, rmin);
    // The sculpture shell leaves room for the camera: inner radius >= 80 for |z| <= 50.
    const EmbeddedMesh &sc = mesh("sculpture_mesh");
    for (int v = 0; v < sc.vertex_count; v++) {
        V3 p = vertex(sc, v);
        if (std::fabs(p.z) <= 50) {
            ASSERT_GE(std::hypot(p.x, p.y), 80.0);
        }
    }
}

TEST(EmbeddedMeshes, CameraPathsFlyInsideTheCaveAndCavernWithRoom)
{
    // The very paths the flights use, evaluated the way they evaluate them.
    struct Case { const char *mesh; const SplineKey *keys; int count; };
    for (Case c : {Case{"water_surface_mesh", cave_path, CAVE_PATH_KEYS},
                   Case{"statue_mesh", cavern_path, CAVERN_PATH_KEYS}}) {
        SCOPED_TRACE(c.mesh);
        const EmbeddedMesh &m = mesh(c.mesh);
        for (int i = 0; i < 60; i++) {
            float q[3];
            spline_point(q, i / 60.0f, c.keys, c.count);
            V3 p = {q[0], q[1], q[2]};
            EXPECT_TRUE(inside(m, p)) << "path sample " << i;
            EXPECT_GE(distance_to_mesh(m, p), 6.0) << "path sample " << i;
        }
    }
}

TEST(EmbeddedMeshes, SparksLandInTheAirOfTheCaveAndCavern)
{
    // Cave: vertex 5i minus 25 times its (equal-weight) vertex normal.
    const EmbeddedMesh &cave = mesh("water_surface_mesh");
    std::vector<V3> normal(size_t(cave.vertex_count), V3{0, 0, 0});
    for (int f = 0; f < cave.face_count; f++) {
        const int *t = cave.faces + f * 3;
        V3 n = cross(sub(vertex(cave, t[1]), vertex(cave, t[0])), sub(vertex(cave, t[2]), vertex(cave, t[0])));
        double l = len(n);
        if (l == 0) continue;
        for (int k = 0; k < 3; k++) {
            V3 &a = normal[size_t(t[k])];
            a = {a.x + n.x / l, a.y + n.y / l, a.z + n.z / l};
        }
    }
    int in = 0;
    for (int i = 0; i < 500; i++) {
        V3 n = normal[size_t(5 * i)];
        double l = len(n);
        V3 p = vertex(cave, 5 * i);
        in += inside(cave, {p.x - 25 * n.x / l, p.y - 25 * n.y / l, p.z - 25 * n.z / l});
    }
    EXPECT_GE(in, 450);
    // Cavern: big_statue vertex 20i plus its average offset (5, 5, 5), inside statue_mesh.
    const EmbeddedMesh &rods = mesh("big_statue_mesh"), &shell = mesh("statue_mesh");
    int inside_shell = 0;
    for (int i = 0; i < 1000; i += 4) {
        V3 p = vertex(rods, 20 * i);
        inside_shell += inside(shell, {p.x + 5, p.y + 5, p.z + 5});
    }
    EXPECT_GE(inside_shell, 175);
}

TEST(EmbeddedMeshes, StatueSceneOrbitClearsTheChromeRods)
{
    // statue_scene runs with a in [46, 48); its eye circles through the cavern structure.
    const EmbeddedMesh &rods = mesh("big_statue_mesh");
    double nearest = 1e9;
    for (int i = 0; i <= 400; i++) {
        double a = 46 + 2.0 * i / 400;
        nearest = std::min(nearest, distance_to_mesh(rods, {90 * std::sin(5 * a), 40 * std::sin(2 * a), 90 * std::cos(5 * a)}));
    }
    EXPECT_GE(nearest, 1.9);
}

TEST(EmbeddedMeshes, BeamsFromTheStartAlwaysHitAMirrorFrontFace)
{
    const EmbeddedMesh &m = mesh("beam_mirror_mesh");
    V3 o{0, 1, 0};
    unsigned state = 12345;
    auto rnd = [&] { state = state * 1664525u + 1013904223u; return (state >> 8) / double(1 << 24); };
    int misses = 0;
    for (int r = 0; r < 2000; r++) {
        double a = rnd() * 2 * 3.14159265358979, y = -0.15 + rnd();
        V3 d{std::cos(a), y, std::sin(a)};
        double best = 1e30;
        bool front = false;
        for (int f = 0; f < m.face_count; f++) {
            V3 p0 = vertex(m, m.faces[f * 3]), p1 = vertex(m, m.faces[f * 3 + 1]), p2 = vertex(m, m.faces[f * 3 + 2]);
            V3 e1 = sub(p1, p0), e2 = sub(p2, p0), h = cross(d, e2);
            double det = dot(e1, h);
            if (std::fabs(det) < 1e-12) continue;
            V3 s = sub(o, p0);
            double u = dot(s, h) / det;
            if (u < 0 || u > 1) continue;
            V3 q = cross(s, e1);
            double v = dot(d, q) / det;
            if (v < 0 || u + v > 1) continue;
            double t = dot(e2, q) / det;
            if (t > 1e-6 && t < best) { best = t; front = dot(cross(e1, e2), d) < 0; }
        }
        if (!(best < 30 && front)) misses++;
    }
    EXPECT_EQ(misses, 0);
}

//----------------------------------------------------------------------------------------------
// Pictures
//----------------------------------------------------------------------------------------------
TEST(GeneratedPictures, AllTwentyEightAreColourJpegsOfTheirSizes)
{
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"loading.jpg", {640, 480}}, {"skyr1.jpg", {512, 256}}, {"atxt.jpg", {512, 512}}, {"ltxt.jpg", {1024, 2048}}};
    const char *files[] = {"loading", "shakki", "skyr1", "metal", "electri2", "electric", "envi6b", "flare1", "flare3", "flare4",
                           "red6envi", "smoketex", "irid", "bubble", "vesi4", "atxt", "ltxt", "twirl", "crackle", "hex2",
                           "valo", "hexred", "flarer", "flareb", "flarey", "flareg", "metal2", "aijjai"};
    for (const char *f : files) {
        std::string file = std::string(f) + ".jpg";
        SCOPED_TRACE(file);
        Picture p = read_jpeg(data_path(file));
        ASSERT_EQ(p.components, 3);
        auto it = sizes.find(file);
        auto [w, h] = it == sizes.end() ? std::pair<int, int>{256, 256} : it->second;
        EXPECT_EQ(p.w, w);
        EXPECT_EQ(p.h, h);
    }
}

TEST(GeneratedPictures, SpritesFadeToBlackAndTilesWrapSeamlessly)
{
    for (const char *f : {"flare1.jpg", "flare3.jpg", "flare4.jpg", "flarer.jpg", "flareb.jpg", "flarey.jpg", "flareg.jpg"}) {
        SCOPED_TRACE(f);
        Picture p = read_jpeg(data_path(f));
        int bright = 0;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
                if ((x < 8 || y < 8 || x >= p.w - 8 || y >= p.h - 8) && std::max({p.at(x, y, 0), p.at(x, y, 1), p.at(x, y, 2)}) > 1) bright++;
        EXPECT_EQ(bright, 0);
        EXPECT_GT(p.at(p.w / 2, p.h / 2, 0) + p.at(p.w / 2, p.h / 2, 1) + p.at(p.w / 2, p.h / 2, 2), 300);
    }
    // Across the wrap, neighbouring texels differ about as much as anywhere inside.
    for (const char *f : {"shakki.jpg", "skyr1.jpg", "envi6b.jpg", "smoketex.jpg", "irid.jpg", "bubble.jpg", "twirl.jpg",
                          "crackle.jpg", "hex2.jpg", "valo.jpg", "aijjai.jpg", "vesi4.jpg"}) {
        SCOPED_TRACE(f);
        Picture p = read_jpeg(data_path(f));
        double seam = 0, inner = 0;
        for (int y = 0; y < p.h; y++)
            for (int c = 0; c < 3; c++) {
                seam += std::abs(p.at(0, y, c) - p.at(p.w - 1, y, c));
                inner += std::abs(p.at(p.w / 2, y, c) - p.at(p.w / 2 - 1, y, c));
            }
        for (int x = 0; x < p.w; x++)
            for (int c = 0; c < 3; c++) {
                seam += std::abs(p.at(x, 0, c) - p.at(x, p.h - 1, c));
                inner += std::abs(p.at(x, p.h / 2, c) - p.at(x, p.h / 2 - 1, c));
            }
        EXPECT_LT(seam, 2.5 * inner + 3.0 * (p.w + p.h));
    }
    // Every irid texel is bright (it is read as one texel on several meshes).
    Picture irid = read_jpeg(data_path("irid.jpg"));
    int dark = 0;
    for (int y = 0; y < irid.h; y++)
        for (int x = 0; x < irid.w; x++)
            if (std::max({irid.at(x, y, 0), irid.at(x, y, 1), irid.at(x, y, 2)}) < 191) dark++;
    EXPECT_EQ(dark, 0);
    // hex2 corners sit in dark cells.
    Picture hex = read_jpeg(data_path("hex2.jpg"));
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) {
        EXPECT_LT(hex.at(x, y, 1), 60);
    }
}

TEST(GeneratedPictures, SphereMapsShowTheSkyInTheirLowerHalf)
{
    for (const char *f : {"metal.jpg", "red6envi.jpg", "metal2.jpg"}) {
        SCOPED_TRACE(f);
        Picture p = read_jpeg(data_path(f));
        long upper = 0, lower = 0;
        for (int y = 0; y < p.h; y++)
            for (int x = 0; x < p.w; x++)
                (y < p.h / 2 ? upper : lower) += p.at(x, y, 0) + p.at(x, y, 1) + p.at(x, y, 2);
        EXPECT_GT(lower, upper * 3 / 2);
    }
}

//----------------------------------------------------------------------------------------------
// Determinism
//----------------------------------------------------------------------------------------------
TEST(Generator, RunsTwiceToTheSameBytes)
{
    std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/contentgen_rerun";
    std::string gen = std::string(ORBPLUME_BINARY_DIR) + "/contentgen";
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    ASSERT_EQ(std::system(("'" + gen + "' textures '" + dir + "' 2>/dev/null").c_str()), 0);
    ASSERT_EQ(std::system(("'" + gen + "' meshes '" + dir + "' 2>/dev/null").c_str()), 0);
    for (const char *f : {"loading.jpg", "metal.jpg", "flare1.jpg", "hex2.jpg", "atxt.jpg", "ltxt.jpg", "irid.jpg", "aijjai.jpg"}) {
        SCOPED_TRACE(f);
        std::string again = slurp(dir + "/" + f);
        EXPECT_FALSE(again.empty());
        EXPECT_TRUE(again == slurp(data_path(f)));
    }
    std::string blob = slurp(dir + "/embedded_meshes.bin");
    EXPECT_FALSE(blob.empty());
    EXPECT_TRUE(blob == slurp(std::string(ORBPLUME_BINARY_DIR) + "/generated/embedded_meshes.bin"));
    std::system(("rm -rf '" + dir + "'").c_str());
}
