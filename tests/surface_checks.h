// tests/surface_checks.h - properties of a polygonised blob surface that tests of the
// polygoniser and of the scenes built on it both check.
#pragma once
#include "geometry/isosurface.h"
#include <algorithm>
#include <utility>
#include <vector>

// Edges not used exactly once in each direction: 0 for a closed, consistently wound surface.
inline int open_or_miswound_edges(const IsoSurface &s) {
    std::vector<std::pair<int, int>> edges;
    edges.reserve(size_t(s.triangle_count) * 3);
    for (int k = 0; k < s.triangle_count; k++)
        for (int j = 0; j < 3; j++)
            edges.push_back({ s.triangles[k * 3 + j], s.triangles[k * 3 + (j + 1) % 3] });
    std::sort(edges.begin(), edges.end());
    int bad = 0;
    for (size_t i = 0; i < edges.size(); i++) {
        const bool repeated = (i > 0 && edges[i - 1] == edges[i]) || (i + 1 < edges.size() && edges[i + 1] == edges[i]);
        const bool reversed = std::binary_search(edges.begin(), edges.end(),
                                                 std::make_pair(edges[i].second, edges[i].first));
        if (repeated || !reversed) bad++;
    }
    return bad;
}

inline const float *surface_corner(const IsoSurface &s, int triangle, int corner) {
    return &s.positions[s.triangles[triangle * 3 + corner] * 3];
}

// Enclosed volume; positive when the triangles turn counter-clockwise seen from outside.
inline double signed_volume(const IsoSurface &s) {
    double v = 0;
    for (int k = 0; k < s.triangle_count; k++) {
        const float *a = surface_corner(s, k, 0), *b = surface_corner(s, k, 1), *c = surface_corner(s, k, 2);
        v += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
              a[2] * (b[0] * c[1] - b[1] * c[0])) / 6.0;
    }
    return v;
}
