// devtools/export_progress.cpp - the export's progress bar, tenth-step lines and summary.
#include "devtools/export_progress.h"
#include <SDL.h>       // Required for: SDL_GetPerformanceCounter()
#include <algorithm>
#include <cstdio>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr int BAR_CELLS = 24;                 // characters of the progress bar
constexpr double REDRAW_SECONDS = 0.25;       // the bar is redrawn at most this often

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    long long total;      // frames to make
    bool terminal;        // redraw one line in place, else a line per tenth
    int tenths_shown;     // tenths already reported (lines without a terminal)
    double last_redraw;   // seconds of the last bar drawn
    bool bar_shown;       // a bar line is open and needs its newline
    const char *label;    // "EXPORT", or the tool's own name
    const char *second;   // "encode", or the tool's own second step
} progress;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double seconds_now() {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

static double per_second(long long count, double seconds) {
    return seconds > 0 ? double(count) / seconds : 0.0;
}

// "render 24.1 fps, encode 310 fps, 9:12 left" from the frames done so far.
static std::string speeds_text(long long done, const ExportTimes &t, const char *separator) {
    const double spent = t.render + t.encode;   // the frames' own time, without the precalc
    const double left = done > 0 ? spent / double(done) * double(progress.total - done) : 0.0;
    char text[160];
    std::snprintf(text, sizeof text, "render %.1f fps%s%s %.0f fps%s%s left", per_second(done, t.render),
                  separator, progress.second, per_second(done, t.encode), separator, clock_text(left).c_str());
    return text;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
std::string clock_text(double seconds) {
    long long s = (long long)(std::max(0.0, seconds) + 0.5);
    char text[32];
    if (s >= 3600) std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

void start_export_progress(long long total_frames, bool terminal, const char *label, const char *second_step) {
    progress.label = label;
    progress.second = second_step;
    progress.total = std::max(1LL, total_frames);
    progress.terminal = terminal;
    progress.tenths_shown = 0;
    progress.last_redraw = -1e9;
    progress.bar_shown = false;
}

void show_export_progress(long long done, const ExportTimes &times) {
    const bool last = done >= progress.total;
    if (progress.terminal) {
        const double now = seconds_now();
        if (!last && now - progress.last_redraw < REDRAW_SECONDS) return;
        progress.last_redraw = now;
        const int filled = int(done * BAR_CELLS / progress.total);
        std::string bar(size_t(filled), '#');
        bar.resize(BAR_CELLS, '.');
        std::fprintf(stderr, "\r%s [%s] %lld/%lld frames  %s\033[K", progress.label, bar.c_str(), done, progress.total,
                     speeds_text(done, times, "  ").c_str());
        std::fflush(stderr);
        progress.bar_shown = true;
        return;
    }
    const int tenths = int(done * 10 / progress.total);
    if (tenths <= progress.tenths_shown) return;
    progress.tenths_shown = tenths;
    std::fprintf(stderr, "%s: %3d%%  %lld/%lld frames, %s\n", progress.label, tenths * 10, done, progress.total,
                 speeds_text(done, times, ", ").c_str());
    std::fflush(stderr);
}

void end_export_progress() {
    if (progress.bar_shown) std::fputc('\n', stderr);
    progress.bar_shown = false;
}

std::string export_summary(const std::string &file, long long frames, int width, int height, int fps,
                           long long bytes, const ExportTimes &t) {
    const double total = std::max(t.total, 1e-9);
    char text[512];
    std::snprintf(text, sizeof text,
                  "EXPORT: %s: %lld frames %dx%d at %d fps (%s of video), %.1f MB, in %s: precalc %.1f s, "
                  "rendering %s (%.0f%%), encoding %s (%.0f%%)",
                  file.c_str(), frames, width, height, fps, clock_text(double(frames) / fps).c_str(),
                  double(bytes) / 1e6, clock_text(t.total).c_str(), t.precalc, clock_text(t.render).c_str(),
                  100.0 * t.render / total, clock_text(t.encode).c_str(), 100.0 * t.encode / total);
    return text;
}
