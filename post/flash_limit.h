// post/flash_limit.h - what the reduce-flashing mode decides, without GL. Each frame it gets
// the finished picture's mean light per cell of a coarse grid (as the display colour of that
// light, 0..1 per channel) and answers, per grid corner,
// how far to blend towards the picture shown last (0: the new picture as it is, 1: the last
// one again). A cell keeps its new picture unless showing it would make one swing more than
// the flash rule allows in a second; then the blend stops the swing just short of counting.
//
// The limiter follows its own swings with smaller steps than the rule (post/flash_rule.h), so
// that it sees every swing the rule would see despite its coarse measure, and it counts them
// over a little more than a second. It counts the screen's swings the rule's way too (a
// quarter of the cells together): different parts of the picture taking turns could flash
// the screen more often than any one cell, so once the screen has used up its swings for the
// second, every cell is held until one expires. The screen is counted both on the limiter's
// grid and by the rule's own analysis of the shown cells (on the rule's grid), whichever is
// fuller, so the two never disagree about the screen's turns.
//
// Time is the show's time in seconds, taken frame by frame:
// the limiter's clock advances by each frame's step (none when time stands still or runs
// back, at most a second at a jump), so the same frames at the same times always give the
// same answer, whatever the frame rate.
#pragma once
#include "post/flash_rule.h"   // SwingTracker
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int   GENTLE_COLS = 32, GENTLE_ROWS = 24;   // the limiter's grid
constexpr float GENTLE_SWING = 0.07f;         // a luminance swing, for the limiter (rule: 0.1)
constexpr float GENTLE_DARK_SIDE = 0.85f;     // its darker side (rule: 0.8)
constexpr float GENTLE_RED_SWING = 14.0f;     // a red swing, for the limiter (rule: 20)
constexpr float GENTLE_HOLD = 0.9f;           // a held-back swing stops at this share of a swing
constexpr int   GENTLE_MAX_SWINGS = 5;        // swings a cell may make in a window (rule: 6, less
                                              // one for what the coarse measure may miss)
constexpr double GENTLE_WINDOW = 1.1;         // that window, seconds (rule: 1, plus its 0.1 s together)
constexpr int   GENTLE_RECENT = 8;            // swings remembered per cell and kind

//----------------------------------------------------------------------------------
// Types
//----------------------------------------------------------------------------------
struct RecentSwings {
    double at[GENTLE_RECENT];   // limiter-clock times, oldest first
    int    count;
};

struct GentleCell {
    SwingTracker light, red;        // the cell's swings as shown
    RecentSwings light_at, red_at;  // and when they came
    int    light_way, red_way;      // direction of the latest swing of each kind (+1, -1, 0)
    double light_when, red_when;    // and its limiter-clock time
    float shown[3];                 // display colour last shown, 0..1
};

// The whole screen's swings of one kind, counted the rule's way.
struct ScreenSwings {
    int    way;        // direction of its latest swing
    double when;       // and when it came
    RecentSwings at;   // its swings in the window
};

struct FlashLimiter {
    int    cols = 0, rows = 0;         // grid size
    std::vector<GentleCell> cells;     // row by row
    std::vector<float> cell_weight;    // this frame's blend per cell, before the corners
    ScreenSwings light_screen, red_screen;   // the screen's swings as shown
    FlashAnalysis rule;                      // and as the rule itself counts them, on its own grid
    FlashCount rule_count = { 0, 0 };        // the rule's swings in the second up to the last frame
    double clock = 0;                  // seconds of frames shown
    double last_seconds = 0;           // show time of the last frame
    bool   started = false;            // false until the first frame
};

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void start_flash_limiter(FlashLimiter &f, int cols, int rows);   // forget every frame
// One frame at show time seconds: cell_rgb holds cols x rows display colours (3 floats each,
// 0..1); corners gets (cols + 1) x (rows + 1) blend weights, row by row. True when any is > 0.
bool limit_flashes(FlashLimiter &f, double seconds, const float *cell_rgb, float *corners);
void corner_weights(const float *cells, int cols, int rows, float *corners);   // each corner: its cells' largest
