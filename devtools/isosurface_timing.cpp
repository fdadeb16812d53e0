// devtools/isosurface_timing.cpp - timing the polygoniser on the scenes' densest surfaces.
// Pure CPU work: nothing is drawn, so it needs no GL context.
#include "devtools/isosurface_timing.h"
#include "geometry/isosurface.h"      // Required for: polygonise_blobs()
#include "show/metaball_scenes.h"     // Required for: metaball_stretches
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr float SAMPLE_STEP = 1.0f / 128.0f;   // about two frames of scene time at 60 fps
constexpr int   REPEATS     = 25;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double clock_ms(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) * 1e-6;
}

static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
IsosurfaceTiming time_densest_isosurface(int stretch) {
    const MetaballStretch &s = metaball_stretches[stretch];
    IsosurfaceTiming r = { s.scene, s.from, -1, 0, 0, 0 };
    Blob balls[METABALLS];
    for (int k = 0; s.from + k * SAMPLE_STEP < s.to; k++) {
        const float t = s.from + k * SAMPLE_STEP;
        const IsoSurface &surface = polygonise_blobs(s.balls(t, balls), METABALLS);
        if (surface.triangle_count > r.triangles) {
            r.t = t;
            r.triangles = surface.triangle_count;
            r.vertices = surface.vertex_count;
        }
    }
    std::vector<double> wall, cpu;
    s.balls(r.t, balls);
    for (int i = 0; i < REPEATS; i++) {
        const double w0 = clock_ms(CLOCK_MONOTONIC), c0 = clock_ms(CLOCK_THREAD_CPUTIME_ID);
        polygonise_blobs(balls, METABALLS);
        cpu.push_back(clock_ms(CLOCK_THREAD_CPUTIME_ID) - c0);
        wall.push_back(clock_ms(CLOCK_MONOTONIC) - w0);
    }
    r.wall_ms = median(wall);
    r.cpu_ms = median(cpu);
    return r;
}

void print_isosurface_timings() {
    std::printf("densest blob surfaces, one polygonisation each (median of %d):\n", REPEATS);
    std::printf("%-22s %9s %9s %8s %8s %8s\n", "scene", "time", "triangles", "vertices", "wall ms", "cpu ms");
    for (int i = 0; i < metaball_stretch_count; i++) {
        const IsosurfaceTiming r = time_densest_isosurface(i);
        std::printf("%-22s %9.4f %9d %8d %8.2f %8.2f\n", r.scene, r.t, r.triangles, r.vertices, r.wall_ms,
                    r.cpu_ms);
    }
}
