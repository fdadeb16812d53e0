// tools/contentgen/mesh_recipe_shapes.cpp - shape builders that several mesh recipe files
// share: closed ring bodies about the z axis, the genus of a closed mesh, and closed prisms
// extruded from an outline (the emblem faces and the turbine vanes).
#include "mesh_recipes.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace mesh_recipes {

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

// Genus of a closed connected mesh from V - E + F.
int genus_of(const Mesh &m) { return int((2 - topology(m).euler) / 2); }

// A closed prism from an outline in the xy plane, z from z0 to z1 (+ tilt * y at the front).
void prism(Mesh &m, const std::vector<Vec3> &outline_in, double z0, double z1, double tilt)
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

}    // namespace mesh_recipes
