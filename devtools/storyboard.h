// devtools/storyboard.h - the whole show at a glance: `orbplume --storyboard DIR` renders show
// times from --from to --to every --step patterns (by default the whole show every half
// pattern, 1/32 after the beats so that the beat flash has faded) and lays them out as
// labelled thumbnails on PNG pages, DIR/storyboard-001.png and on. Each thumbnail carries its
// show time, the first scenes the frame's plan calls, its mean luma and its share of near-white
// pixels; washed-out frames are framed in red. One line per frame and a summary go to stdout.
#pragma once
#include "platform/options.h"   // Options
#include <string>
#include <vector>

constexpr int    STORYBOARD_PAGE_W   = 1024;     // page size in pixels
constexpr int    STORYBOARD_PAGE_H   = 768;
constexpr int    STORYBOARD_HEADER   = 28;       // title strip across the top
constexpr int    STORYBOARD_COLUMNS  = 5;        // 20 frames to a page
constexpr int    STORYBOARD_ROWS     = 4;
constexpr int    STORYBOARD_THUMB_W  = 192;      // thumbnail size (half of 384x288)
constexpr int    STORYBOARD_THUMB_H  = 144;
constexpr double STORYBOARD_SILENT_END = 86.0;   // the show's end when no music is open

struct StoryboardCell {
    int x, y;   // the thumbnail's top-left corner on its page, y down from the top
};

std::vector<double> storyboard_times(double from, double to, double step);   // from, from + step, ... up to to
StoryboardCell storyboard_cell(int index);            // index on its page, row by row
std::string    storyboard_page_name(int page);        // "storyboard-001.png" for page 0
std::string    storyboard_scene_label(float t);       // the first scenes the plan calls at t ("cube_flash + pair")
int            run_storyboard(const Options &opts);   // exit status: 0 written, 1 fatal, 2 bad folder or range
