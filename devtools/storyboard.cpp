// devtools/storyboard.cpp - labelled thumbnails of the show on PNG pages, with the exposure of
// every frame: the show's rhythm and brightness seen on a few pages.
#include "devtools/storyboard.h"
#include "devtools/exposure.h"      // Required for: measure_exposure(), frame_washed_out()
#include "devtools/offline.h"       // Required for: start_offline_show(), render_with_preroll(), read_back_frame()
#include "devtools/offline_job.h"   // Required for: finish_offline_job()
#include "devtools/page_text.h"     // Required for: open_page_font(), draw_page_text()
#include "devtools/png_file.h"      // Required for: write_png_file()
#include "audio/music.h"            // Required for: music_length_patterns()
#include "platform/settings.h"      // Required for: app (the picture's place in the window)
#include "show/frame_plan.h"        // Required for: plan_frame(), scene_name(), section_name()
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int CELL_W = STORYBOARD_PAGE_W / STORYBOARD_COLUMNS;
constexpr int CELL_H = (STORYBOARD_PAGE_H - STORYBOARD_HEADER) / STORYBOARD_ROWS;
constexpr int PER_PAGE = STORYBOARD_COLUMNS * STORYBOARD_ROWS;
constexpr int LABEL_PIXELS = 13, TITLE_PIXELS = 16;
constexpr int WASHED_BORDER = 3;              // red frame round a washed-out thumbnail
constexpr int SCENES_LABELLED = 2;            // scenes named under a thumbnail

constexpr unsigned char PAGE_RGB[3]   = { 16, 16, 18 };
constexpr unsigned char TEXT_RGB[3]   = { 230, 230, 230 };
constexpr unsigned char DIM_RGB[3]    = { 150, 155, 165 };
constexpr unsigned char WASHED_RGB[3] = { 235, 50, 40 };

//----------------------------------------------------------------------------------
// Types
//----------------------------------------------------------------------------------
struct StoryboardPage {
    std::vector<unsigned char> rgb;   // the page, top row first
    PageFont *title = nullptr;        // fonts; null when none was found (pages unlabelled)
    PageFont *label = nullptr;
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void fill_rect(StoryboardPage &page, int x, int y, int w, int h, const unsigned char rgb[3]) {
    for (int row = std::max(0, y); row < std::min(STORYBOARD_PAGE_H, y + h); row++)
        for (int col = std::max(0, x); col < std::min(STORYBOARD_PAGE_W, x + w); col++)
            std::copy(rgb, rgb + 3, &page.rgb[(size_t(row) * STORYBOARD_PAGE_W + col) * 3]);
}

static void draw_text(StoryboardPage &page, PageFont *font, int x, int y, int max_width,
                      const unsigned char rgb[3], const char *text) {
    draw_page_text(font, page.rgb.data(), STORYBOARD_PAGE_W, STORYBOARD_PAGE_H, x, y, max_width, rgb, text);
}

// The picture (bars left out, rows bottom first as read back) shrunk into a thumbnail by
// averaging the frame pixels under each thumbnail pixel.
static void place_thumbnail(StoryboardPage &page, const StoryboardCell &cell, const unsigned char *frame,
                            int frame_w) {
    const int px = app.picture_x, py = app.picture_y, pw = app.window_width, ph = app.window_height;
    for (int ty = 0; ty < STORYBOARD_THUMB_H; ty++) {
        const int y0 = ph - 1 - (ty + 1) * ph / STORYBOARD_THUMB_H + 1, y1 = ph - ty * ph / STORYBOARD_THUMB_H;
        for (int tx = 0; tx < STORYBOARD_THUMB_W; tx++) {
            const int x0 = tx * pw / STORYBOARD_THUMB_W, x1 = std::max(x0 + 1, (tx + 1) * pw / STORYBOARD_THUMB_W);
            int sum[3] = { 0, 0, 0 }, n = 0;
            for (int y = y0; y < std::max(y0 + 1, y1); y++)
                for (int x = x0; x < x1; x++, n++)
                    for (int c = 0; c < 3; c++) sum[c] += frame[((size_t(py + y)) * frame_w + px + x) * 3 + c];
            unsigned char *out = &page.rgb[(size_t(cell.y + ty) * STORYBOARD_PAGE_W + cell.x + tx) * 3];
            for (int c = 0; c < 3; c++) out[c] = (unsigned char)((sum[c] + n / 2) / n);
        }
    }
}

static void draw_cell(StoryboardPage &page, int index, float t, const unsigned char *frame, int frame_w,
                      const FrameExposure &e) {
    const StoryboardCell cell = storyboard_cell(index);
    const bool washed = frame_washed_out(e);
    if (washed)
        fill_rect(page, cell.x - WASHED_BORDER, cell.y - WASHED_BORDER, STORYBOARD_THUMB_W + 2 * WASHED_BORDER,
                  STORYBOARD_THUMB_H + 2 * WASHED_BORDER, WASHED_RGB);
    place_thumbnail(page, cell, frame, frame_w);
    char line[96];
    std::snprintf(line, sizeof line, "%.3f  luma %.0f  white %.0f%%", t, e.mean_luma, 100 * e.white_share);
    const int text_y = cell.y + STORYBOARD_THUMB_H + WASHED_BORDER + LABEL_PIXELS;
    draw_text(page, page.label, cell.x, text_y, STORYBOARD_THUMB_W, washed ? WASHED_RGB : TEXT_RGB, line);
    draw_text(page, page.label, cell.x, text_y + LABEL_PIXELS + 2, STORYBOARD_THUMB_W, DIM_RGB,
              storyboard_scene_label(t).c_str());
}

static void start_page(StoryboardPage &page, int number, int pages, double from, double to, double step) {
    page.rgb.assign(size_t(STORYBOARD_PAGE_W) * STORYBOARD_PAGE_H * 3, 0);
    fill_rect(page, 0, 0, STORYBOARD_PAGE_W, STORYBOARD_PAGE_H, PAGE_RGB);
    char title[160];
    std::snprintf(title, sizeof title, "orbplume storyboard   %.3f to %.3f every %g patterns   page %d / %d",
                  from, to, step, number + 1, pages);
    draw_text(page, page.title, 8, STORYBOARD_HEADER - 9, STORYBOARD_PAGE_W - 16, TEXT_RGB, title);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
std::vector<double> storyboard_times(double from, double to, double step) {
    std::vector<double> times;
    if (!(step > 0) || to < from) return times;
    // Each time computed afresh from the start, so that rounding does not pile up.
    const long count = long(std::floor((to - from) / step + 1e-6)) + 1;
    for (long k = 0; k < count; k++) times.push_back(from + double(k) * step);
    return times;
}

StoryboardCell storyboard_cell(int index) {
    const int column = index % STORYBOARD_COLUMNS, row = (index / STORYBOARD_COLUMNS) % STORYBOARD_ROWS;
    return { column * CELL_W + (CELL_W - STORYBOARD_THUMB_W) / 2, STORYBOARD_HEADER + row * CELL_H + WASHED_BORDER };
}

std::string storyboard_page_name(int page) {
    char name[40];
    std::snprintf(name, sizeof name, "storyboard-%03d.png", page + 1);
    return name;
}

std::string storyboard_scene_label(float t) {
    FramePlan plan;
    plan_frame(t, plan);
    std::string label;
    int named = 0;
    for (int i = 0; i < plan.count && named < SCENES_LABELLED; i++) {
        if (plan.calls[i].op != PLAN_SCENE) continue;
        std::string name = scene_name(plan.calls[i].scene);
        if (name.size() > 6 && name.compare(name.size() - 6, 6, "_scene") == 0) name.resize(name.size() - 6);
        if (label.find(name) != std::string::npos) continue;   // a scene drawn twice is named once
        label += (label.empty() ? "" : " + ") + name;
        named++;
    }
    return label.empty() ? section_name(plan.section) : label;
}

int run_storyboard(const Options &opts) {
    if (!make_output_folder(opts.storyboard_dir)) return 2;
    start_offline_show(opts);
    const double music_end = music_length_patterns();
    const double to = opts.to >= 0 ? opts.to : music_end > 0 ? music_end : STORYBOARD_SILENT_END;
    std::vector<double> times = storyboard_times(opts.from, to, opts.step);
    // The last frame of the music is the last one with a picture worth a cell.
    while (!times.empty() && opts.to < 0 && times.back() >= to) times.pop_back();
    if (times.empty()) {
        stop_offline_show();
        std::fprintf(stderr, "orbplume: --from %g is past the end of the show (%.3f patterns)\n", opts.from, to);
        return 2;
    }
    StoryboardPage page;
    page.title = open_page_font("Liberation Sans:bold", TITLE_PIXELS);
    page.label = open_page_font("Liberation Sans", LABEL_PIXELS);
    if (!page.label) std::fprintf(stderr, "STORYBOARD: font \"Liberation Sans\" not found, pages unlabelled\n");

    const int pages = int((times.size() + PER_PAGE - 1) / PER_PAGE);
    std::vector<unsigned char> frame(size_t(opts.width) * opts.height * 3);
    int washed = 0, status = 0;
    for (size_t i = 0; i < times.size() && status == 0; i++) {
        const int slot = int(i % PER_PAGE), number = int(i / PER_PAGE);
        if (slot == 0) start_page(page, number, pages, times.front(), times.back(), opts.step);
        const float t = float(times[i]);
        render_with_preroll(t);
        read_back_frame(opts, frame.data());
        const FrameExposure e = measure_exposure(frame.data(), opts.width, app.picture_x, app.picture_y,
                                                 app.window_width, app.window_height);
        washed += frame_washed_out(e);
        draw_cell(page, slot, t, frame.data(), opts.width, e);
        std::printf("STORYBOARD: t %.5f  luma %.1f  white %.1f %%  %s  %s\n", double(t), e.mean_luma,
                    100 * e.white_share, frame_washed_out(e) ? "WASHED" : "ok", storyboard_scene_label(t).c_str());
        if (slot + 1 < PER_PAGE && i + 1 < times.size()) continue;
        const std::string path = opts.storyboard_dir + "/" + storyboard_page_name(number);
        std::string error;
        if (!write_png_file(path.c_str(), page.rgb.data(), STORYBOARD_PAGE_W, STORYBOARD_PAGE_H, false, error)) {
            std::fprintf(stderr, "orbplume: cannot write %s: %s\n", path.c_str(), error.c_str());
            status = 2;
        }
        std::fflush(stdout);
    }
    if (status == 0)
        std::printf("STORYBOARD: %zu frames on %d pages in %s, %d washed out (%.1f %%)\n", times.size(), pages,
                    opts.storyboard_dir.c_str(), washed, 100.0 * washed / double(times.size()));
    close_page_font(page.title);
    close_page_font(page.label);
    stop_offline_show();
    return finish_offline_job(status);
}
