// devtools/isosurface_timing.h - how long one polygonisation of each blob scene's densest
// surface takes, for the benchmark. The densest moment of each stretch of scene time the
// show plays is found by sampling; that one surface is then made again and timed.
#pragma once

struct IsosurfaceTiming {
    const char *scene;
    float t;              // scene time of the densest sampled surface
    int   triangles, vertices;
    double wall_ms;       // median wall-clock time of one polygonisation
    double cpu_ms;        // median thread CPU time (the honest figure on a busy machine)
};

IsosurfaceTiming time_densest_isosurface(int stretch);   // one of metaball_stretches
void print_isosurface_timings();                         // one line per stretch to stdout
