// post/flash_limit.cpp - the reduce-flashing mode's decisions: per cell, the smallest blend
// towards the last shown picture that keeps a swing from counting once the cell has used up
// its swings for the second, then the corners, then the cell as the viewer will see it.
#include "post/flash_limit.h"
#include <algorithm>
#include <cmath>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr double MAX_STEP_SECONDS = 1.0;   // a longer gap between frames counts as a second
constexpr int    BISECTION_STEPS = 14;     // the blend found to 1/16384

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void forget_before(RecentSwings &r, double clock) {
    int keep = 0;
    for (int i = 0; i < r.count; i++)
        if (r.at[i] > clock - GENTLE_WINDOW) r.at[keep++] = r.at[i];
    r.count = keep;
}

static void remember(RecentSwings &r, double clock) {
    if (r.count == GENTLE_RECENT) {   // full: the oldest goes
        std::copy(r.at + 1, r.at + GENTLE_RECENT, r.at);
        r.count--;
    }
    r.at[r.count++] = clock;
}

static void mix(const float *fresh, const float *shown, float weight, float *out) {
    for (int k = 0; k < 3; k++) out[k] = fresh[k] + (shown[k] - fresh[k]) * weight;
}

// Which kinds of swing a cell has no room for this frame.
struct Room { bool light, red; };

// Whether showing rgb would make a swing the cell has no room for.
static bool over_the_limit(const GentleCell &c, const float *rgb, Room full) {
    const CellLight l = light_of_encoded(rgb[0], rgb[1], rgb[2]);
    if (full.light && swing_would_count(c.light, l.luminance, GENTLE_HOLD * GENTLE_SWING, GENTLE_DARK_SIDE))
        return true;
    return full.red && swing_would_count(c.red, l.red, GENTLE_HOLD * GENTLE_RED_SWING, NO_DARK_SIDE);
}

// The smallest blend towards the last shown colour that stays within the limit.
static float needed_weight(const GentleCell &c, const float *fresh, Room full) {
    if (!over_the_limit(c, fresh, full)) return 0.0f;
    float lo = 0.0f, hi = 1.0f, rgb[3];   // over the limit at lo, within at hi
    mix(fresh, c.shown, hi, rgb);
    if (over_the_limit(c, rgb, full)) return 1.0f;
    for (int i = 0; i < BISECTION_STEPS; i++) {
        const float mid = 0.5f * (lo + hi);
        mix(fresh, c.shown, mid, rgb);
        (over_the_limit(c, rgb, full) ? lo : hi) = mid;
    }
    return hi;
}

// The cell as shown: its new colour blended by the mean of its corners, and its swings.
static void show_cell(GentleCell &c, const float *fresh, float weight, double clock) {
    mix(fresh, c.shown, weight, c.shown);
    const CellLight l = light_of_encoded(c.shown[0], c.shown[1], c.shown[2]);
    if (const int way = track_swing(c.light, l.luminance, GENTLE_SWING, GENTLE_DARK_SIDE)) {
        remember(c.light_at, clock);
        c.light_way = way;
        c.light_when = clock;
    }
    if (const int way = track_swing(c.red, l.red, GENTLE_RED_SWING, NO_DARK_SIDE)) {
        remember(c.red_at, clock);
        c.red_way = way;
        c.red_when = clock;
    }
}

// The screen swings when a quarter of the cells have swung the other way from its last
// swing, together (as the rule counts).
static void step_screen(const FlashLimiter &f, ScreenSwings &s, int GentleCell::*way, double GentleCell::*when) {
    const int needed = int(std::ceil(FLASH_AREA * double(f.cells.size()) - 1e-9));
    const double since = std::max(s.when, f.clock - FLASH_TOGETHER_SECONDS + 1e-6);
    for (int w : { +1, -1 }) {
        if (w == s.way) continue;
        int together = 0;
        for (const GentleCell &c : f.cells) together += c.*way == w && c.*when >= since;
        if (together < needed) continue;
        s.way = w;
        s.when = f.clock;
        remember(s.at, f.clock);
        return;
    }
}

// The shown cells as the rule sees them: its grid, each of its cells the mean light of ours.
static FlashCount count_as_the_rule(FlashLimiter &f) {
    std::vector<CellLight> cells(size_t(FLASH_GRID_COLS) * FLASH_GRID_ROWS);
    for (int y = 0; y < FLASH_GRID_ROWS; y++)
        for (int x = 0; x < FLASH_GRID_COLS; x++) {
            float sum[3] = { 0, 0, 0 };
            int n = 0;
            for (int cy = y * f.rows / FLASH_GRID_ROWS; cy < (y + 1) * f.rows / FLASH_GRID_ROWS; cy++)
                for (int cx = x * f.cols / FLASH_GRID_COLS; cx < (x + 1) * f.cols / FLASH_GRID_COLS; cx++, n++)
                    for (int k = 0; k < 3; k++) sum[k] += srgb_to_linear(f.cells[cy * f.cols + cx].shown[k]);
            n = n > 0 ? n : 1;
            cells[y * FLASH_GRID_COLS + x] = light_of_linear(sum[0] / n, sum[1] / n, sum[2] / n);
        }
    return analyse_flash_frame(f.rule, f.clock, cells.data());
}

static void start_screen(ScreenSwings &s) {
    s.way = 0;
    s.when = -1e9;
    s.at.count = 0;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void start_flash_limiter(FlashLimiter &f, int cols, int rows) {
    f.cols = cols;
    f.rows = rows;
    f.cells.assign(size_t(cols) * rows, GentleCell{});
    f.cell_weight.assign(size_t(cols) * rows, 0.0f);
    f.clock = 0;
    f.last_seconds = 0;
    f.started = false;
}

void corner_weights(const float *cells, int cols, int rows, float *corners) {
    for (int y = 0; y <= rows; y++)
        for (int x = 0; x <= cols; x++) {
            float w = 0.0f;
            for (int cy = std::max(0, y - 1); cy <= std::min(rows - 1, y); cy++)
                for (int cx = std::max(0, x - 1); cx <= std::min(cols - 1, x); cx++)
                    w = std::max(w, cells[cy * cols + cx]);
            corners[y * (cols + 1) + x] = w;
        }
}

bool limit_flashes(FlashLimiter &f, double seconds, const float *cell_rgb, float *corners) {
    const int n = f.cols * f.rows;
    std::fill(corners, corners + (f.cols + 1) * (f.rows + 1), 0.0f);
    if (!f.started) {
        for (int i = 0; i < n; i++) {
            GentleCell &c = f.cells[i];
            std::copy(cell_rgb + 3 * i, cell_rgb + 3 * i + 3, c.shown);
            const CellLight l = light_of_encoded(c.shown[0], c.shown[1], c.shown[2]);
            start_swing(c.light, l.luminance);
            start_swing(c.red, l.red);
            c.light_at.count = c.red_at.count = 0;
            c.light_way = c.red_way = 0;
            c.light_when = c.red_when = -1e9;
        }
        start_screen(f.light_screen);
        start_screen(f.red_screen);
        start_flash_analysis(f.rule, FLASH_GRID_COLS * FLASH_GRID_ROWS);
        f.rule_count = count_as_the_rule(f);
        f.started = true;
        f.clock = 0;
        f.last_seconds = seconds;
        return false;
    }
    f.clock += std::clamp(seconds - f.last_seconds, 0.0, MAX_STEP_SECONDS);
    f.last_seconds = seconds;

    forget_before(f.light_screen.at, f.clock);
    forget_before(f.red_screen.at, f.clock);
    const bool light_screen_full = f.light_screen.at.count >= GENTLE_MAX_SWINGS ||
                                   f.rule_count.general >= GENTLE_MAX_SWINGS;
    const bool red_screen_full = f.red_screen.at.count >= GENTLE_MAX_SWINGS || f.rule_count.red >= GENTLE_MAX_SWINGS;
    bool any = false;
    for (int i = 0; i < n; i++) {
        GentleCell &c = f.cells[i];
        forget_before(c.light_at, f.clock);
        forget_before(c.red_at, f.clock);
        const Room full = { light_screen_full || c.light_at.count >= GENTLE_MAX_SWINGS,
                            red_screen_full || c.red_at.count >= GENTLE_MAX_SWINGS };
        f.cell_weight[i] = needed_weight(c, cell_rgb + 3 * i, full);
        any = any || f.cell_weight[i] > 0;
    }
    if (any) corner_weights(f.cell_weight.data(), f.cols, f.rows, corners);
    for (int y = 0; y < f.rows; y++)
        for (int x = 0; x < f.cols; x++) {
            const float *k = corners + y * (f.cols + 1) + x;   // lower-left corner of the cell
            const float weight = 0.25f * (k[0] + k[1] + k[f.cols + 1] + k[f.cols + 2]);
            show_cell(f.cells[y * f.cols + x], cell_rgb + 3 * (y * f.cols + x), weight, f.clock);
        }
    step_screen(f, f.light_screen, &GentleCell::light_way, &GentleCell::light_when);
    step_screen(f, f.red_screen, &GentleCell::red_way, &GentleCell::red_when);
    f.rule_count = count_as_the_rule(f);
    return any;
}
