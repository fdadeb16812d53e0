// web/main_web.cpp - the browser build's entry. The page loads the packed data, then main()
// makes the canvas's context and runs the precalc (the loading screen shows its last
// picture). Then, as the address asks: one show time drawn and held (?t=T, with the same
// pre-roll as the offline renderer), the benchmark printed onto the page (?benchmark), or the
// show waiting for the start button. Once started, every frame is drawn from the music's play
// position, as natively; the music's end stops the loop and tells the page.
#include "web/web_start.h"
#include "platform/data_folder.h"
#include "platform/engine_start.h"
#include "platform/gl_caps.h"
#include "platform/messages.h"
#include "platform/options.h"
#include "platform/settings.h"
#include "platform/window.h"
#include "audio/music.h"
#include "audio/offline_music.h"
#include "audio/spectrum.h"
#include "precalc/precalc.h"
#include "render/render_state.h"
#include "show/frame_plan.h"
#include "show/timeline.h"
#include <emscripten.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

constexpr double TEMPO = 130.0;
constexpr double FRAME_PATTERNS = TEMPO / 60.0 / 16.0 / 60.0;   // one frame at 60 fps
constexpr int PREROLL_FRAMES = 30;                               // as the offline renderer

EM_JS(void, web_page_event, (const char *what, double value), {
    if (Module.onShowEvent) Module.onShowEvent(UTF8ToString(what), value);
});

EM_JS(void, web_page_print, (const char *line), {
    if (Module.printLine) Module.printLine(UTF8ToString(line));
});

PageRequest parse_page_request(int argc, const char *const *argv) {
    PageRequest r;
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i];
        if (word == "benchmark") r.benchmark = true;
        else if (word == "loop") r.loop = true;
        else if (word == "gentle") r.gentle = true;
        else if (word.rfind("t=", 0) == 0) {
            std::string error;
            if (!parse_time_list(word.c_str() + 2, r.hold_times, error)) r.valid = false;
        }
    }
    return r;
}

static void frame() {
    if (app.quit_requests) {
        emscripten_cancel_main_loop();
        web_page_event("ended", double(pattern_clock()));
        close_music();
        return;
    }
    timeline();
    swap_frame();
    check_gl_error();
}

void orbplume_start() {
    if (app.show_started) return;
    app.show_started++;
    open_music(data_file(MUSIC_FILE_NAME).c_str(), float(TEMPO), app.loop_music);
    web_page_event("playing", 0);
    emscripten_set_main_loop(frame, 0, 0);
}

double orbplume_show_time() { return app.show_started ? double(pattern_clock()) : -1.0; }

void orbplume_set_loop(int loop) { app.loop_music = loop != 0; }

void orbplume_set_gentle(int on) { app.gentle = on != 0; }

static void render_at(double t) {
    set_virtual_time(t);
    timeline();
}

// Each time after its pre-roll; the page takes each picture when told (a test reads them all).
static void hold_show_times(const std::vector<float> &times) {
    open_offline_show_music(float(TEMPO));
    app.show_started = 1;
    for (const float time : times) {
        const double t = time;
        for (int k = PREROLL_FRAMES; k >= 1; k--)
            if (t - k * FRAME_PATTERNS >= 0) render_at(t - k * FRAME_PATTERNS);
        render_at(t);
        swap_frame();
        glFinish();
        check_gl_error();
        web_page_event("held", t);
    }
}

// WebGL's glFinish does not wait for the drawing; reading a pixel back does.
static void wait_for_gpu() {
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// The native --benchmark's sample: per section, four runs of eight 60 fps frames.
static void run_benchmark(double precalc_ms) {
    static const struct { const char *name; double from, to; } SECTIONS[] = {
        { "opening", 0, 2 }, { "section 1", 2, 21 }, { "section 2", 21, 33 }, { "section 3", 33, 46 },
        { "section 4", 46, 66 }, { "section 5", 66, 79 }, { "ending", 79, 82 },
    };
    open_offline_show_music(float(TEMPO));
    app.show_started = 1;
    char line[200];
    std::snprintf(line, sizeof line, "BENCHMARK: %dx%d, %s", app.window_width, app.window_height,
                  reinterpret_cast<const char *>(glGetString(GL_RENDERER)));
    web_page_print(line);
    std::snprintf(line, sizeof line, "BENCHMARK: precalc %.2f s", precalc_ms / 1000.0);
    web_page_print(line);
    web_page_print("section    frames  fps median   fps p5");
    for (const auto &s : SECTIONS) {
        std::vector<double> fps;
        for (int run = 0; run < 4; run++) {
            const double start = s.from + (s.to - s.from) * (run + 0.37) / 4;
            for (int f = 0; f < 8; f++) {
                const double t0 = emscripten_get_now();
                render_at(start + f * FRAME_PATTERNS);
                wait_for_gpu();
                fps.push_back(1000.0 / std::max(emscripten_get_now() - t0, 1e-6));
            }
        }
        std::sort(fps.begin(), fps.end());
        const double median = (fps[15] + fps[16]) / 2, p5 = fps[1] + 0.55 * (fps[2] - fps[1]);
        std::snprintf(line, sizeof line, "%-10s %6zu %11.1f %8.1f", s.name, fps.size(), median, p5);
        web_page_print(line);
    }
    check_gl_error();
    web_page_event("benchmarked", 0);
}

int main(int argc, char **argv) {
    const PageRequest request = parse_page_request(argc, argv);
    app.unattended = true;
    app.fullscreen = false;
    app.loop_music = request.loop;
    app.gentle = request.gentle;
    if (!request.valid) fatal_error("?t= takes show times from 0 to below 1000");
    resolve_data_folder();
    load_mesh_blob("/generated/embedded_meshes.bin");
    start_engine(false, 640, 480, SHOW_TITLE, false);
    place_picture_in_window();
    const double start = emscripten_get_now();
    precalc();
    const double precalc_ms = emscripten_get_now() - start;
    std::printf("PRECALC: %.0f ms\n", precalc_ms);
    reset_render_state(BLACK_RGBA);
    if (!request.hold_times.empty()) hold_show_times(request.hold_times);
    else if (request.benchmark) run_benchmark(precalc_ms);
    else web_page_event("ready", precalc_ms);
    return 0;
}
