// web/web_start.h - the page's entry points into the show, and what the browser build needs
// before the precalc.
#pragma once
#include <vector>

void load_mesh_blob(const char *file);   // the embedded meshes' data from the packed files; fatal if short

// What the page's address asks for: ?t=T holds show time T, ?benchmark measures, else the
// show waits for the start button. ?loop plays it again at the music's end; ?gentle reduces
// flashing, as natively.
struct PageRequest {
    std::vector<float> hold_times;   // ?t=T (or a list, for tests: each drawn in turn, the last held)
    bool   benchmark = false; // ?benchmark
    bool   loop = false;      // ?loop
    bool   gentle = false;    // ?gentle
    bool   valid = true;      // false: a value that is not a show time
};
PageRequest parse_page_request(int argc, const char *const *argv);   // the query's words, "t=5.03125" ...

extern "C" {
void   orbplume_start();             // the start button: the music starts, the show plays
double orbplume_show_time();         // show time in patterns now (the pattern clock)
void   orbplume_set_loop(int loop);  // the loop box, read when the show starts
void   orbplume_set_gentle(int on);  // the "Reduce flashing" box, read when the show starts
}
