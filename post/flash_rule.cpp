// post/flash_rule.cpp - cells, swings and the one-second count of flashes.
// Each cell follows its value with two extremes: the darkest since it last swung up and the
// brightest since it last swung down. A swing up counts once the value has risen far enough
// above that darkest point (and the darkest point is dark enough); a swing down once it has
// fallen far enough below the brightest point (and has reached the dark side). Swings
// alternate, so slow drifts and small jitter never count, and a fade counts once at most.
#include "post/flash_rule.h"
#include <algorithm>
#include <cmath>
#include <cstdint>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr double WINDOW_SECONDS = 1.0;      // the rule's sliding window
constexpr double TIME_SLACK = 1e-6;         // frame times a microsecond apart are the same time
constexpr float  RED_SCALE = 320.0f;        // red level of pure red: 320

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Steps one kind of flash by a frame; returns the screen's swings in the last second.
static int step_channel(FlashChannel &ch, double t, const CellLight *cells, float CellLight::*field,
                        float swing, float dark_side, bool first) {
    const int n = int(ch.cells.size());
    for (int i = 0; i < n; i++) {
        const float v = cells[i].*field;
        if (first) {
            start_swing(ch.cells[i], v);
            continue;
        }
        const int way = track_swing(ch.cells[i], v, swing, dark_side);
        if (way) {
            ch.cell_way[i] = way;
            ch.cell_time[i] = t;
        }
    }
    // The screen swings when enough cells have swung the other way from its last swing, together.
    const int needed = int(std::ceil(FLASH_AREA * n - 1e-9));
    const double since = std::max(ch.screen_time, t - FLASH_TOGETHER_SECONDS + TIME_SLACK);
    for (int way : { +1, -1 }) {
        if (way == ch.screen_way) continue;
        int together = 0;
        for (int i = 0; i < n; i++)
            if (ch.cell_way[i] == way && ch.cell_time[i] >= since) together++;
        if (together >= needed && n > 0) {
            ch.screen_way = way;
            ch.screen_time = t;
            ch.swings.push_back(t);
            break;
        }
    }
    while (!ch.swings.empty() && ch.swings.front() <= t - WINDOW_SECONDS + TIME_SLACK) ch.swings.pop_front();
    return int(ch.swings.size());
}

static void start_channel(FlashChannel &ch, int cells) {
    ch.cells.assign(size_t(cells), SwingTracker{ 0, 0, 0 });
    ch.cell_way.assign(size_t(cells), 0);
    ch.cell_time.assign(size_t(cells), -1e9);
    ch.screen_way = 0;
    ch.screen_time = -1e9;
    ch.swings.clear();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float srgb_to_linear(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float linear_to_srgb(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return c <= 0.0031308f ? 12.92f * c : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f;
}

CellLight light_of_linear(float r, float g, float b) {
    CellLight light;
    light.luminance = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float sum = r + g + b;
    light.red = sum > 0 && r >= RED_SATURATION * sum ? std::max(0.0f, r - g - b) * RED_SCALE : 0.0f;
    return light;
}

CellLight light_of_encoded(float r, float g, float b) {
    return light_of_linear(srgb_to_linear(r), srgb_to_linear(g), srgb_to_linear(b));
}

void mean_linear_cells(const unsigned char *pixels, int channels, int width, int height, int cols, int rows,
                       int samples, float *linear_rgb) {
    static float linear[256];   // the 256 display levels in linear light, made on first use
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 256; i++) linear[i] = srgb_to_linear(float(i) / 255.0f);
        made = true;
    }
    for (int cy = 0; cy < rows; cy++) {
        const int y0 = int(int64_t(cy) * height / rows), y1 = int(int64_t(cy + 1) * height / rows);
        const int ys = samples > 0 ? std::max(1, (y1 - y0) / samples) : 1;
        for (int cx = 0; cx < cols; cx++) {
            const int x0 = int(int64_t(cx) * width / cols), x1 = int(int64_t(cx + 1) * width / cols);
            const int xs = samples > 0 ? std::max(1, (x1 - x0) / samples) : 1;
            double sum[3] = { 0, 0, 0 };
            int count = 0;
            // Centred, so that a cell's edges weigh no more than its middle.
            for (int y = y0 + (y1 - y0 - 1) % ys / 2; y < y1; y += ys) {
                const unsigned char *row = pixels + size_t(y) * width * channels;
                for (int x = x0 + (x1 - x0 - 1) % xs / 2; x < x1; x += xs, count++) {
                    const unsigned char *p = row + size_t(x) * channels;
                    sum[0] += linear[p[0]];
                    sum[1] += linear[p[1]];
                    sum[2] += linear[p[2]];
                }
            }
            for (int k = 0; k < 3; k++) linear_rgb[(cy * cols + cx) * 3 + k] = count ? float(sum[k] / count) : 0.0f;
        }
    }
}

void measure_cells(const unsigned char *rgb, int width, int height, int cols, int rows, CellLight *cells) {
    std::vector<float> mean(size_t(cols) * rows * 3);
    mean_linear_cells(rgb, 3, width, height, cols, rows, 0, mean.data());
    for (int i = 0; i < cols * rows; i++) cells[i] = light_of_linear(mean[3 * i], mean[3 * i + 1], mean[3 * i + 2]);
}

void start_swing(SwingTracker &s, float value) {
    s.low = s.high = value;
    s.last = 0;
}

int track_swing(SwingTracker &s, float value, float swing, float dark_side) {
    s.low = std::min(s.low, value);
    s.high = std::max(s.high, value);
    if (s.last != +1 && value - s.low >= swing && s.low < dark_side) {
        s.last = +1;
        s.high = value;   // the brightest point of the new bright side, so far
        return +1;
    }
    if (s.last != -1 && s.high - value >= swing && value < dark_side) {
        s.last = -1;
        s.low = value;
        return -1;
    }
    return 0;
}

bool swing_would_count(const SwingTracker &s, float value, float swing, float dark_side) {
    SwingTracker copy = s;
    return track_swing(copy, value, swing, dark_side) != 0;
}

void start_flash_analysis(FlashAnalysis &a, int cells) {
    start_channel(a.general, cells);
    start_channel(a.red, cells);
    a.started = false;
}

FlashCount analyse_flash_frame(FlashAnalysis &a, double seconds, const CellLight *cells) {
    const bool first = !a.started;
    a.started = true;
    FlashCount count;
    count.general = step_channel(a.general, seconds, cells, &CellLight::luminance, FLASH_SWING,
                                 FLASH_DARK_SIDE, first);
    count.red = step_channel(a.red, seconds, cells, &CellLight::red, RED_SWING, NO_DARK_SIDE, first);
    return count;
}

bool flash_count_fails(const FlashCount &c) {
    return c.general > FLASH_MAX_SWINGS || c.red > FLASH_MAX_SWINGS;
}
