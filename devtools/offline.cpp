// devtools/offline.cpp - describe, render and benchmark: the show driven by a virtual clock
// in a hidden window, for whoever edits the script, reviews pictures or measures speed.
#include "devtools/offline.h"
#include "platform/engine_start.h"      // Required for: start_engine(), place_picture_in_window()
#include "devtools/offline_job.h"   // Required for: offline_job_interrupted(), end_interrupted_offline_job()
#include "devtools/png_file.h"      // Required for: write_png_file()
#include "devtools/isosurface_timing.h"   // Required for: print_isosurface_timings()
#include "devtools/fill_report.h"   // Required for: fill_frame_begin/end(), print_fill_table()
#include "render/render_state.h"  // Required for: render.cuts
#include "platform/gl_caps.h"           // Required for: check_gl_capabilities(), bind_multitexture_entry_points()
#include "platform/messages.h"          // Required for: fatal_error()
#include "platform/settings.h"          // Required for: app, clear_picture_bars()
#include "platform/window.h"            // Required for: create_gl_window(), WINDOW_HIDDEN
#include "audio/music.h"           // Required for: set_virtual_time(), pattern_clock()
#include "audio/offline_music.h"   // Required for: open_offline_show_music()
#include "precalc/precalc.h"       // Required for: precalc()
#include "show/frame_plan.h"       // Required for: plan_frame(), describe_frame()
#include "show/timeline.h"         // Required for: timeline()
#include "audio/spectrum.h"        // Required for: update_band_sums()
#include "post/gentle_pass.h"      // Required for: gentle_pass(), reset_gentle_pass()
#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
constexpr double PATTERNS_PER_SECOND = OFFLINE_TEMPO / 60.0 / 16.0;
constexpr double FRAME_PATTERNS = PATTERNS_PER_SECOND / 60.0;  // one frame at 60 fps

// Benchmark sample: per section, RUNS stretches of RUN_FRAMES consecutive 60 fps frames.
constexpr int BENCH_RUNS = 4;
constexpr int BENCH_RUN_FRAMES = 8;
static const struct { const char *name; double from, to; } BENCH_SECTIONS[] = {
    { "opening", 0, 2 }, { "section 1", 2, 21 }, { "section 2", 21, 33 }, { "section 3", 33, 46 },
    { "section 4", 46, 66 }, { "section 5", 66, 79 }, { "ending", 79, 82 },
};
constexpr double BENCH_BUSIEST_TIME = 54.09375;   // the only frame of the script with four scene calls

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double seconds_now() {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

//----------------------------------------------------------------------------------
// Module Functions: the offline show, shared with the video export
//----------------------------------------------------------------------------------
double start_offline_show(const Options &opts) {
    app.unattended = true;
    app.fullscreen = false;
    // Only the check that the cuts leave the picture alone turns them off.
    const char *no_cuts = std::getenv("ORBPLUME_NO_CUTS");
    render.cuts = !(no_cuts && *no_cuts && std::strcmp(no_cuts, "0") != 0);
    app.gentle = opts.gentle;
    start_engine(false, opts.width, opts.height, "orbplume offline", WINDOW_HIDDEN);
    place_picture_in_window();
    const double start = seconds_now();
    precalc();
    const double took = seconds_now() - start;
    app.show_started = 1;
    open_offline_show_music(float(OFFLINE_TEMPO));
    return took;
}

void stop_offline_show() {
    reset_gentle_pass();
    close_music();
    destroy_gl_window();
    SDL_Quit();
}

// Between frames: a stop signal ends the job here, with the window closed.
static void stop_if_interrupted() {
    if (!offline_job_interrupted()) return;
    stop_offline_show();
    end_interrupted_offline_job();
}

void render_frame_at(double t) {
    stop_if_interrupted();
    set_virtual_time(t);
    timeline();
}

// The pre-roll frames before t, then t itself. ORBPLUME_PREROLL_FRAMES=N (for tests that
// only compare two ways of drawing the same frames) keeps just the last N of them.
void render_with_preroll(double t) {
    std::vector<double> times = preroll_times(t);
    const char *frames = std::getenv("ORBPLUME_PREROLL_FRAMES");
    if (frames && *frames) {
        const size_t keep = size_t(std::clamp(std::atoi(frames), 0, OFFLINE_PREROLL_FRAMES));
        if (times.size() > keep) times.erase(times.begin(), times.end() - long(keep));
    }
    for (double at : times) render_frame_at(at);
    render_frame_at(t);
}

void read_back_frame(const Options &opts, unsigned char *rgb) {
    clear_picture_bars();   // the whole window is read: bars and all
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, opts.width, opts.height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    check_gl_error();
}

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// The folder exists (made if missing) and takes a new file; else says why on stderr.
bool make_output_folder(const std::string &dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir)) {
        std::fprintf(stderr, "orbplume: cannot make folder %s\n", dir.c_str());
        return false;
    }
    const std::string probe = dir + "/.orbplume-probe";
    FILE *fp = std::fopen(probe.c_str(), "wb");
    if (!fp) {
        std::fprintf(stderr, "orbplume: cannot write into %s\n", dir.c_str());
        return false;
    }
    std::fclose(fp);
    std::remove(probe.c_str());
    return true;
}

static double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double at = p * double(v.size() - 1);
    const size_t i = size_t(at);
    if (i + 1 >= v.size()) return v.back();
    return v[i] + (at - double(i)) * (v[i + 1] - v[i]);
}

// Frames measured one by one: frames per second and where the time went.
struct BenchSample {
    std::vector<double> fps;
    double plan_s = 0, issue_s = 0, finish_s = 0;
    FillTally fill = {};
    double gentle_s = 0;   // the reduce-flashing pass after the frame, when on (not in fps)
    double frame_cpu_s = 0, gentle_cpu_s = 0;   // processor time of the plain frames and of the pass
};

// One frame at show time t, timeline() taken apart: the script's decisions, then the
// calls, then the driver.
static void measure_frame(double t, BenchSample &sample) {
    stop_if_interrupted();
    fill_frame_begin();
    const double c0 = process_cpu_seconds();
    const double t0 = seconds_now();
    set_virtual_time(t);
    FramePlan plan;
    plan_frame(pattern_clock(), plan);
    update_band_sums();
    const double t1 = seconds_now();
    run_frame_plan(plan);
    const double t2 = seconds_now();   // every command of the frame issued
    glFinish();
    const double t3 = seconds_now();   // and carried out
    fill_frame_end(sample.fill);
    sample.plan_s += t1 - t0;
    sample.issue_s += t2 - t1;
    sample.finish_s += t3 - t2;
    sample.fps.push_back(1.0 / std::max(t3 - t0, 1e-9));
    if (!app.gentle) return;
    const double c3 = process_cpu_seconds();
    gentle_pass(show_seconds(float(t)));   // the frame as the show limits it, timed on its own
    glFinish();
    sample.gentle_s += seconds_now() - t3;
    sample.gentle_cpu_s += process_cpu_seconds() - c3;
    sample.frame_cpu_s += c3 - c0;
}

static void print_sample(const char *name, const BenchSample &b) {
    const double total = b.plan_s + b.issue_s + b.finish_s;
    std::printf("%-10s %6zu %11.1f %8.1f %6.1f%% %6.0f%% %6.0f%%", name, b.fps.size(),
                percentile(b.fps, 0.5), percentile(b.fps, 0.05), 100 * b.plan_s / total,
                100 * b.issue_s / total, 100 * b.finish_s / total);
    if (app.gentle)
        std::printf(" %8.2f %7.1f%%", 1000 * b.gentle_s / double(b.fps.size()),
                    100 * b.gentle_cpu_s / std::max(b.frame_cpu_s, 1e-9));
    std::printf("\n");
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
// 60 fps frames before t, none before show time 0.
std::vector<double> preroll_times(double t) {
    std::vector<double> times;
    for (int k = OFFLINE_PREROLL_FRAMES; k >= 1; k--) {
        const double at = t - k * FRAME_PATTERNS;
        if (at >= 0) times.push_back(at);
    }
    return times;
}

int describe_show_time(float t) {
    FramePlan plan;
    plan_frame(t, plan);
    std::fputs(describe_frame(plan).c_str(), stdout);
    return finish_offline_job(0);
}

int render_show_times(const Options &opts) {
    if (!make_output_folder(opts.out_dir)) return 2;
    start_offline_show(opts);
    std::vector<unsigned char> rgb(size_t(opts.width) * opts.height * 3);
    int status = 0;
    for (float t : opts.render_times) {
        render_with_preroll(t);
        read_back_frame(opts, rgb.data());

        // write_png_file writes under a temporary name: a file with the final name is whole.
        const std::string final_path = opts.out_dir + "/" + render_file_name(t);
        std::string error;
        if (!write_png_file(final_path.c_str(), rgb.data(), opts.width, opts.height, true, error)) {
            std::fprintf(stderr, "orbplume: cannot write %s: %s\n", final_path.c_str(), error.c_str());
            status = 2;
            break;
        }
        std::printf("RENDER: %s\n", final_path.c_str());
        std::fflush(stdout);
    }
    stop_offline_show();
    return finish_offline_job(status);
}

int run_benchmark(const Options &opts) {
    const double precalc_seconds = start_offline_show(opts);
    std::printf("BENCHMARK: %dx%d, %s\n", opts.width, opts.height, (const char *)glGetString(GL_RENDERER));
    std::printf("BENCHMARK: precalc %.2f s\n", precalc_seconds);
    std::printf("%-10s %6s %11s %8s %7s %7s %7s%s\n", "section", "frames", "fps median", "fps p5",
                "plan", "issue", "finish", app.gentle ? "   gentle  of frame" : "");
    constexpr int SECTIONS = int(sizeof BENCH_SECTIONS / sizeof BENCH_SECTIONS[0]);
    const char *fill_names[SECTIONS + 1];
    FillTally fills[SECTIONS + 1];
    int rows = 0;
    for (const auto &section : BENCH_SECTIONS) {
        BenchSample sample;
        for (int run = 0; run < BENCH_RUNS; run++) {
            // Runs spread evenly over the section, off whole-numbered times.
            const double start = section.from + (section.to - section.from) * (run + 0.37) / BENCH_RUNS;
            for (int f = 0; f < BENCH_RUN_FRAMES; f++) measure_frame(start + f * FRAME_PATTERNS, sample);
        }
        print_sample(section.name, sample);
        fill_names[rows] = section.name;
        fills[rows++] = sample.fill;
    }
    BenchSample busiest;
    for (int f = 0; f < BENCH_RUNS * BENCH_RUN_FRAMES; f++) measure_frame(BENCH_BUSIEST_TIME, busiest);
    print_sample("busiest", busiest);
    fill_names[rows] = "busiest";
    fills[rows++] = busiest.fill;
    std::printf("busiest: the script's heaviest frame, show time %.5f (four scenes), drawn again and again\n",
                BENCH_BUSIEST_TIME);
    std::printf("plan: the script and band sums (our own CPU work); issue: making the scene and pass\n"
                "calls, including whatever the driver does before returning (a software renderer\n"
                "draws at every copy into a texture); finish: waiting in glFinish for the rest\n");
    if (app.gentle)
        std::printf("gentle: the reduce-flashing pass after each frame, wall-clock milliseconds per frame,\n"
                    "and its processor time (all threads, the driver's too) as a share of the plain\n"
                    "frame's; the fps columns are the frames without it\n");
    print_fill_table(fill_names, fills, rows, opts.width, opts.height);
    print_isosurface_timings();
    check_gl_error();
    stop_offline_show();
    return finish_offline_job(0);
}
