// post/flash_rule.h - when flashing pictures become unsafe to watch, without GL. The picture
// is cut into a grid of cells; each cell gives its relative luminance and its saturated-red
// level. A flash is a pair of opposing swings of the same cell: a swing counts when the
// luminance changes by 20 cd/m² or more on a 200 cd/m² display while its darker side stays
// below 160 cd/m², or when the red level ((R - G - B) x 320 of a colour that is at least 80 %
// red) changes by 20 or more. A swing of the whole screen is one that a quarter of the cells
// make in the same direction within a tenth of a second, since the last opposite swing of the
// screen. More than three flashes (six swings) in any one second, of either kind, fail.
//
// Cells stand in for the screen area: a quarter of the cells is a quarter of the screen, in
// any shape (the grid is 16 x 12, so a cell is about 6 % of a 10 degree field's width).
#pragma once
#include <deque>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int   FLASH_GRID_COLS = 16, FLASH_GRID_ROWS = 12;   // the check's grid over the picture
constexpr float FLASH_SWING = 20.0f / 200.0f;      // a luminance swing that counts, in white's units
constexpr float FLASH_DARK_SIDE = 160.0f / 200.0f; // ... only while its darker side is below this
constexpr float RED_SWING = 20.0f;                 // a red-level swing that counts
constexpr float RED_SATURATION = 0.8f;             // R / (R + G + B) of a saturated red
constexpr float NO_DARK_SIDE = 1e30f;              // red swings have no darker-side condition
constexpr double FLASH_AREA = 0.25;                // share of the cells a screen swing needs
constexpr double FLASH_TOGETHER_SECONDS = 0.1;     // cells swinging within this make one swing
constexpr int   FLASH_MAX_SWINGS = 6;              // swings allowed in any one second (3 flashes)

//----------------------------------------------------------------------------------
// Types
//----------------------------------------------------------------------------------
struct CellLight {
    float luminance;   // relative luminance, 0 black .. 1 white
    float red;         // (R - G - B) x 320 of a saturated red, else 0
};

// One cell's swings: the extremes since its last swing each way, and that last swing.
struct SwingTracker {
    float low;    // darkest value since the last upward swing
    float high;   // brightest value since the last downward swing
    int   last;   // +1 up, -1 down, 0 none yet
};

// One kind of flash (general or red) over the whole screen.
struct FlashChannel {
    std::vector<SwingTracker> cells;   // every cell's own swings
    std::vector<int>    cell_way;      // direction of each cell's latest swing (+1, -1, 0)
    std::vector<double> cell_time;     // and when it came, seconds
    int    screen_way = 0;             // direction of the screen's latest swing
    double screen_time = -1e9;         // and when it came
    std::deque<double> swings;         // the screen's swings in the last second
};

struct FlashAnalysis {
    FlashChannel general, red;
    bool started = false;              // false until the first frame
};

struct FlashCount {
    int general;   // the screen's luminance swings in the second up to this frame
    int red;       // the screen's red swings in the same second
};

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float     srgb_to_linear(float encoded);                       // 0..1 display value to linear light
float     linear_to_srgb(float linear);                        // and back
CellLight light_of_linear(float r, float g, float b);          // a cell's linear mean colour
CellLight light_of_encoded(float r, float g, float b);         // a cell's display colour, 0..1
void      measure_cells(const unsigned char *rgb, int width, int height, int cols, int rows,
                        CellLight *cells);                     // RGB rows, mean linear light per cell
// The mean linear colour of each cell (3 floats a cell, row by row) of a picture with
// `channels` bytes a pixel, red, green and blue first: over every pixel of the cell, or, when
// samples > 0, over at most samples x samples of them, evenly spaced and centred in the cell.
void      mean_linear_cells(const unsigned char *pixels, int channels, int width, int height, int cols,
                            int rows, int samples, float *linear_rgb);

void start_swing(SwingTracker &s, float value);                              // first value seen
int  track_swing(SwingTracker &s, float value, float swing, float dark_side); // +1 / -1 when a swing counts, else 0
bool swing_would_count(const SwingTracker &s, float value, float swing,
                       float dark_side);                                     // the same test, state untouched

void       start_flash_analysis(FlashAnalysis &a, int cells);                 // no frame seen yet
FlashCount analyse_flash_frame(FlashAnalysis &a, double seconds,
                               const CellLight *cells);                       // frames in time order
bool       flash_count_fails(const FlashCount &c);                            // more than three flashes
