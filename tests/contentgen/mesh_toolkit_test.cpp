// tests/contentgen/mesh_toolkit_test.cpp - the generator's mesh toolkit: the builders and
// count adjusters keep topology and winding as the recipes rely on, and the checks catch
// the faults that must fail the build. The toolkit is not part of the engine, so its source
// is compiled in here.
#include "tools/contentgen/mesh.cpp"

#include <gtest/gtest.h>

#include <map>

namespace {

// A closed genus-0 body from rings of the given sizes between two poles.
Mesh rings_body(const std::vector<int> &sizes)
{
    Mesh m;
    m.name = "test_body";
    int lo = m.add({0, 0, -1});
    std::vector<std::vector<int>> rings;
    for (size_t i = 0; i < sizes.size(); i++) {
        double z = -1 + 2.0 * (i + 1) / (sizes.size() + 1), r = std::sqrt(1 - z * z);
        std::vector<int> ring;
        for (int k = 0; k < sizes[i]; k++) ring.push_back(m.add({r * std::cos(2 * PI * k / sizes[i]), r * std::sin(2 * PI * k / sizes[i]), z}));
        rings.push_back(ring);
    }
    int hi = m.add({0, 0, 1});
    zip_pole(m, lo, rings.front(), true);
    for (size_t i = 0; i + 1 < rings.size(); i++) zip_rings(m, rings[i], rings[i + 1]);
    zip_pole(m, hi, rings.back(), false);
    return m;
}

}    // namespace

TEST(MeshToolkit, ZipperRingsOfAnySizesCloseAnOutwardSphere)
{
    Mesh m = rings_body({5, 9, 4, 12, 7});
    Topology t = topology(m);
    EXPECT_EQ(m.faces(), 2 * m.vertices() - 4);
    EXPECT_EQ(t.boundary_edges, 0);
    EXPECT_EQ(t.nonmanifold_edges, 0);
    EXPECT_EQ(t.euler, 2);
    EXPECT_GT(m.signed_volume(), 0);
    EXPECT_EQ(distribute(3165, 75).size(), 75u);
    int sum = 0;
    for (int c : distribute(3165, 75)) {
        EXPECT_TRUE(c == 42 || c == 43);
        sum += c;
    }
    EXPECT_EQ(sum, 3165);
}

TEST(MeshToolkit, EdgeSplitsAndBridgesChangeCountsAsTheRecipesAssume)
{
    Mesh m = rings_body(std::vector<int>(10, 12));
    int d = m.faces() - 2 * m.vertices();
    split_to(m, 400);
    EXPECT_EQ(m.vertices(), 400);
    EXPECT_EQ(m.faces() - 2 * m.vertices(), d);
    Topology t = topology(m);
    EXPECT_EQ(t.nonmanifold_edges, 0);
    EXPECT_EQ(t.euler, 2);
    // A tunnel between two far-apart faces adds one handle: D + 4, winding still consistent.
    int low = 0, high = 0;
    auto centre_z = [&](int f) { return m.pos[size_t(m.tri[size_t(f) * 3])].z + m.pos[size_t(m.tri[size_t(f) * 3 + 1])].z + m.pos[size_t(m.tri[size_t(f) * 3 + 2])].z; };
    for (int f = 0; f < m.faces(); f++) {
        if (centre_z(f) < centre_z(low)) low = f;
        if (centre_z(f) > centre_z(high)) high = f;
    }
    bridge_faces(m, low, high);
    EXPECT_EQ(m.faces() - 2 * m.vertices(), d + 4);
    t = topology(m);
    EXPECT_EQ(t.nonmanifold_edges, 0);
    EXPECT_EQ(t.euler, 0);
    // A fin: +1 vertex, +1 face.
    int v = m.vertices(), f = m.faces();
    add_fin(m, m.tri[0], m.tri[1], {0, 0, 3});
    EXPECT_EQ(m.vertices(), v + 1);
    EXPECT_EQ(m.faces(), f + 1);
    EXPECT_THROW(split_to(m, 10), std::runtime_error);
}

TEST(MeshToolkit, EarClipTriangulatesConcaveOutlinesCounterClockwise)
{
    // A chevron and a comb: n - 2 triangles, all counter-clockwise, covering the area.
    std::vector<std::vector<Vec3>> outlines = {
        {{0, 40, 0}, {-42, -2, 0}, {-30, -14, 0}, {0, 16, 0}, {30, -14, 0}, {42, -2, 0}},
        {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {8, 5, 0}, {8, 2, 0}, {6, 2, 0}, {6, 5, 0}, {4, 5, 0}, {4, 2, 0}, {2, 2, 0}, {2, 5, 0}, {0, 5, 0}},
    };
    for (auto &poly : outlines) {
        double area = 0;
        for (size_t i = 0; i < poly.size(); i++) area += cross(poly[i], poly[(i + 1) % poly.size()]).z / 2;
        if (area < 0) {
            std::reverse(poly.begin(), poly.end());
            area = -area;
        }
        std::vector<int> t = ear_clip(poly);
        ASSERT_EQ(t.size(), (poly.size() - 2) * 3);
        double sum = 0;
        for (size_t i = 0; i < t.size(); i += 3) {
            double a = cross(poly[size_t(t[i + 1])] - poly[size_t(t[i])], poly[size_t(t[i + 2])] - poly[size_t(t[i])]).z / 2;
            EXPECT_GT(a, 0);
            sum += a;
        }
        EXPECT_NEAR(sum, area, 1e-9);
    }
}

TEST(MeshToolkit, PolygoniserMakesClosedOutwardSurfacesOfTheRightTopology)
{
    // One ball: a closed outward sphere of about the right volume.
    Field f = make_field({-12, -12, -12}, {12, 12, 12}, 1.0, 4);
    splat_capsules(f, {{{0, 0, 0}, {0, 0, 0}, 10, 10}}, 4);
    Mesh ball = polygonise(f);
    Topology t = topology(ball);
    EXPECT_EQ(t.boundary_edges, 0);
    EXPECT_EQ(t.nonmanifold_edges, 0);
    EXPECT_EQ(t.euler, 2);
    EXPECT_NEAR(ball.signed_volume(), 4.0 / 3 * PI * 1000, 0.06 * 4.0 / 3 * PI * 1000);
    // A ladder of two rails and three rungs: genus 2.
    Field g = make_field({-10, -10, -10}, {110, 10, 70}, 2.0, 6);
    splat_capsules(g, {{{0, 0, 0}, {100, 0, 0}, 8, 8}, {{0, 0, 60}, {100, 0, 60}, 8, 8}, {{5, 0, 0}, {5, 0, 60}, 6, 6},
                       {{50, 0, 0}, {50, 0, 60}, 6, 6}, {{95, 0, 0}, {95, 0, 60}, 6, 6}}, 6);
    Mesh ladder = polygonise(g);
    keep_largest_component(ladder);
    t = topology(ladder);
    EXPECT_EQ(t.components, 1);
    EXPECT_EQ(t.euler, 2 - 2 * 2);
    EXPECT_GT(ladder.signed_volume(), 0);
}

TEST(MeshToolkit, ChecksNameTheMeshAndTheFault)
{
    Mesh m = rings_body({6, 6});
    m.name = "probe_mesh";
    EXPECT_NO_THROW(check_mesh(m, m.vertices(), m.faces(), false, false));
    auto message = [&](const Mesh &bad, int v, int f) {
        try {
            check_mesh(bad, v, f, false, false);
        } catch (const std::runtime_error &e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_NE(message(m, m.vertices() + 1, m.faces()).find("probe_mesh"), std::string::npos);
    Mesh unused = m;
    unused.add({5, 5, 5});
    EXPECT_NE(message(unused, unused.vertices(), unused.faces()).find("used by no face"), std::string::npos);
    Mesh out_of_range = m;
    out_of_range.tri[4] = out_of_range.vertices();
    EXPECT_NE(message(out_of_range, m.vertices(), m.faces()).find("out of range"), std::string::npos);
    Mesh nan = m;
    nan.pos[3].y = std::nan("");
    EXPECT_NE(message(nan, m.vertices(), m.faces()).find("not finite"), std::string::npos);
    EXPECT_THROW(check_mesh(m, m.vertices(), m.faces(), true, false), std::runtime_error);    // missing texcoords
}
