// devtools/flash_check.cpp - --flash-check: render, read back, measure the grid, count.
// A failing frame is one whose second (the second ending with it) holds more than three
// flashes; a failing stretch runs from a second before its first failing frame to its last.
#include "devtools/flash_check.h"
#include "devtools/export_progress.h"   // Required for: start/show/end_export_progress()
#include "devtools/offline.h"           // Required for: start_offline_show(), render_frame_at(), read_back_frame()
#include "devtools/offline_job.h"       // Required for: finish_offline_job()
#include "audio/music.h"                // Required for: music_length_patterns()
#include "show/frame_plan.h"            // Required for: plan_frame(), section_name()
#include "show/timeline.h"              // Required for: show_seconds()
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>                     // Required for: isatty()

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int   CHECK_WIDTH = 384, CHECK_HEIGHT = 288;   // the default size: small and fast
constexpr float SILENT_SHOW_END = 82.0f;   // without the track: the script's last pattern

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double seconds_now() {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

static int worst_swings(const FlashCount &c) {
    return std::max(c.general, c.red);
}

// "2:35.3" for seconds of show time.
static std::string minutes_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%04.1f", int(seconds) / 60, seconds - 60 * (int(seconds) / 60));
    return text;
}

static double patterns_of(double seconds) {
    return seconds / show_seconds(1.0f);
}

// "show time 54.213 (6:40.3)"
static std::string time_text(double s) {
    char text[64];
    std::snprintf(text, sizeof text, "show time %.3f (%s)", patterns_of(s), minutes_text(s).c_str());
    return text;
}

// "show time 21.031-23.402 (2:35.3-2:52.8)"
static std::string stretch_text(double from_s, double to_s) {
    char text[96];
    std::snprintf(text, sizeof text, "show time %.3f-%.3f (%s-%s)", patterns_of(from_s), patterns_of(to_s),
                  minutes_text(from_s).c_str(), minutes_text(to_s).c_str());
    return text;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
std::string flash_report(const std::vector<CheckedFrame> &frames, int fps, const char *const *section_names,
                         int sections) {
    std::vector<int> worst(size_t(sections), -1), failing(size_t(sections), 0);
    for (const CheckedFrame &f : frames) {
        worst[f.section] = std::max(worst[f.section], worst_swings(f.count));
        if (flash_count_fails(f.count)) failing[f.section]++;
    }
    char line[256];
    std::string text = "section      worst second   failing\n";
    for (int s = 0; s < sections; s++) {
        if (worst[s] < 0) continue;
        std::snprintf(line, sizeof line, "%-12s %4g flashes   %5.1f s\n", section_names[s], worst[s] / 2.0,
                      failing[s] / double(fps));
        text += line;
    }
    // The stretches: runs of failing frames, each reaching back over the second that fails;
    // runs whose stretches overlap make one.
    struct Stretch { double from, to; int most; bool general, red; };
    std::vector<Stretch> found;
    int failing_frames = 0;
    const double first_s = frames.empty() ? 0 : frames.front().seconds;
    for (const CheckedFrame &f : frames) {
        if (!flash_count_fails(f.count)) continue;
        failing_frames++;
        const double from = std::max(first_s, f.seconds - 1.0);
        if (found.empty() || from > found.back().to + 0.5 / fps) found.push_back({ from, f.seconds, 0, false, false });
        Stretch &s = found.back();
        s.to = f.seconds;
        s.most = std::max(s.most, worst_swings(f.count));
        s.general = s.general || f.count.general > FLASH_MAX_SWINGS;
        s.red = s.red || f.count.red > FLASH_MAX_SWINGS;
    }
    for (const Stretch &s : found) {
        std::snprintf(line, sizeof line, "FAILS: %s: up to %g flashes in a second (%s)\n",
                      stretch_text(s.from, s.to).c_str(), s.most / 2.0,
                      s.general && s.red ? "general and red" : s.red ? "red" : "general");
        text += line;
    }
    const int stretches = int(found.size());
    const auto worst_frame = std::max_element(frames.begin(), frames.end(), [](const CheckedFrame &a,
                                              const CheckedFrame &b) { return worst_swings(a.count) < worst_swings(b.count); });
    if (worst_frame != frames.end()) {
        std::snprintf(line, sizeof line, "worst second: %g flashes, the second up to %s\n",
                      worst_swings(worst_frame->count) / 2.0,
                      time_text(worst_frame->seconds).c_str());
        text += line;
    }
    if (stretches) std::snprintf(line, sizeof line, "FLASH CHECK: fails: %d stretches, %.1f s in all\n",
                                 stretches, failing_frames / double(fps));
    else std::snprintf(line, sizeof line, "FLASH CHECK: passes: no second holds more than three flashes\n");
    return text + line;
}

int run_flash_check(const Options &given) {
    Options opts = given;
    if (!opts.size_given) {
        opts.width = CHECK_WIDTH;
        opts.height = CHECK_HEIGHT;
    }
    const double start = seconds_now();
    start_offline_show(opts);
    const float length = music_length_patterns();
    const double to = opts.to >= 0 ? opts.to : length > 0 ? length : SILENT_SHOW_END;
    if (opts.from >= to) {
        std::fprintf(stderr, "orbplume: --from %g is past the end of the show (%.3f patterns)\n", opts.from, to);
        stop_offline_show();
        return 2;
    }
    const double from_s = show_seconds(opts.from);
    const long long count = std::max(1LL, (long long)std::ceil((show_seconds(float(to)) - from_s) * opts.fps - 1e-6));
    std::fprintf(stderr, "FLASH CHECK: %lld frames %dx%d at %d fps, show time %.3f to %.3f, reduce flashing %s\n",
                 count, opts.width, opts.height, opts.fps, double(opts.from), to, opts.gentle ? "on" : "off");

    std::vector<unsigned char> rgb(size_t(opts.width) * opts.height * 3);
    std::vector<CellLight> cells(FLASH_GRID_COLS * FLASH_GRID_ROWS);
    std::vector<CheckedFrame> frames;
    frames.reserve(size_t(count));
    FlashAnalysis analysis;
    start_flash_analysis(analysis, FLASH_GRID_COLS * FLASH_GRID_ROWS);
    ExportTimes times = { seconds_now() - start, 0, 0, 0 };
    start_export_progress(count, isatty(STDERR_FILENO), "FLASH CHECK", "analyse");
    for (long long k = 0; k < count; k++) {
        const double t0 = seconds_now();
        const double seconds = from_s + double(k) / opts.fps;
        const double patterns = patterns_of(seconds);
        if (k == 0) render_with_preroll(patterns);
        else render_frame_at(patterns);
        read_back_frame(opts, rgb.data());
        const double t1 = seconds_now();
        measure_cells(rgb.data(), opts.width, opts.height, FLASH_GRID_COLS, FLASH_GRID_ROWS, cells.data());
        FramePlan plan;
        plan_frame(float(patterns), plan);
        frames.push_back({ seconds, int(plan.section), analyse_flash_frame(analysis, seconds, cells.data()) });
        times.render += t1 - t0;
        times.encode += seconds_now() - t1;
        times.total = seconds_now() - start;
        show_export_progress(k + 1, times);
    }
    end_export_progress();
    stop_offline_show();

    std::vector<const char *> names;
    for (int s = 0; s < SECTION_COUNT; s++) names.push_back(section_name(ShowSection(s)));
    std::printf("FLASH CHECK: %dx%d at %d fps, %s, reduce flashing %s\n", opts.width, opts.height, opts.fps,
                stretch_text(from_s, show_seconds(float(to))).c_str(), opts.gentle ? "on" : "off");
    const std::string report = flash_report(frames, opts.fps, names.data(), SECTION_COUNT);
    std::fputs(report.c_str(), stdout);
    const bool fails = std::any_of(frames.begin(), frames.end(), [](const CheckedFrame &f) {
        return flash_count_fails(f.count);
    });
    return finish_offline_job(fails ? FLASH_CHECK_FAILS : FLASH_CHECK_PASSES);
}
