// devtools/export.cpp - --export: the offline show and the stretch of its track, frame by
// frame into a video file. Ctrl-C or SIGTERM stop it between frames and remove the
// unfinished file; a second signal removes it at once and leaves.
#include "devtools/export.h"
#include "platform/data_folder.h"    // Required for: data_file(), read_plain_file()
#include "audio/music.h"             // Required for: MUSIC_FILE_NAME
#include "audio/ogg_memory.h"        // Required for: open_ogg_memory(), read_ogg_frames()
#include "devtools/export_progress.h"
#include "devtools/offline.h"        // Required for: start_offline_show(), render_with_preroll(), OFFLINE_TEMPO
#include "devtools/offline_job.h"    // Required for: offline_job_partial_file()
#include "devtools/video_file.h"
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>                  // Required for: isatty(), unlink(), _exit()
#include <vector>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static volatile sig_atomic_t stop_signal = 0;   // set by the handler: the signal that asked to stop
static char unfinished_path[4096];              // the temporary file while it exists, for the handlers

// The track, decoded in stereo as the frames ask for it.
static struct {
    std::vector<unsigned char> bytes;   // the whole Ogg file
    OggMemory memory;                   // libvorbisfile's view of bytes
    OggVorbis_File vorbis;
    long long samples;                  // length of the track in samples
    int rate;                           // samples per second
    long long next;                     // the sample the decoder stands at
} track;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double seconds_now() {
    return double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

static double patterns_to_seconds(double patterns) {
    return patterns * 16.0 / OFFLINE_TEMPO * 60.0;
}

// Called from the signal: only a flag, unless this is the second one.
static void on_stop_signal(int signal) {
    if (stop_signal) {
        if (unfinished_path[0]) unlink(unfinished_path);
        _exit(128 + signal);
    }
    stop_signal = signal;
}

static void watch_stop_signals(bool on) {
    static struct sigaction old_int, old_term, old_hup;
    if (on) {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = on_stop_signal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &old_int);
        sigaction(SIGTERM, &action, &old_term);
        sigaction(SIGHUP, &action, &old_hup);   // the terminal closed
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");   // SDL must not take them over
    } else {
        sigaction(SIGINT, &old_int, nullptr);
        sigaction(SIGTERM, &old_term, nullptr);
        sigaction(SIGHUP, &old_hup, nullptr);
    }
}

static bool open_track(std::string &error) {
    const std::string file = data_file(MUSIC_FILE_NAME);
    std::string why;
    bool ok = read_plain_file(file.c_str(), OGG_MAX_FILE_BYTES, track.bytes, why);
    track.memory = { track.bytes.data(), track.bytes.size(), 0 };
    ok = ok && open_ogg_memory(&track.vorbis, &track.memory, why);
    if (!ok) {
        track.bytes.clear();
        error = "cannot read the music " + file + ": " + why + " (the export needs the whole track)";
        return false;
    }
    track.samples = ov_pcm_total(&track.vorbis, -1);
    track.rate = int(ov_info(&track.vorbis, -1)->rate);
    track.next = 0;
    return true;
}

static void close_track() {
    ov_clear(&track.vorbis);
    track.bytes.clear();
    track.bytes.shrink_to_fit();
}

// The final name can take the finished file: a folder there would refuse the rename only
// after every frame had been rendered.
static bool destination_usable(const std::string &path, std::string &error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot export to " + path + ": a folder of that name is in the way";
        return false;
    }
    return true;
}

// count stereo samples of the track from sample first on; silence past its end.
static void read_track(long long first, int count, float *stereo) {
    std::fill(stereo, stereo + 2 * size_t(count), 0.0f);
    if (first != track.next && first < track.samples) {
        ov_pcm_seek(&track.vorbis, first);
        track.next = first;
    }
    std::vector<float> mono(static_cast<size_t>(count));
    int done = 0;
    while (done < count && track.next < track.samples) {
        const long got = read_ogg_frames(&track.vorbis, stereo + 2 * done, count - done, mono.data());
        if (got <= 0) break;
        done += int(got);
        track.next += got;
    }
}

// The frames, one by one; 0, 2 on a failure or 128 + signal. Fills times.
static int export_frames(const Options &opts, const ExportPlan &plan, VideoFile *file, ExportTimes &times) {
    std::vector<unsigned char> rgb(size_t(opts.width) * opts.height * 3);
    std::vector<float> sound;
    std::string error;
    const double loop_start = seconds_now();
    for (long long k = 0; k < plan.frames; k++) {
        if (stop_signal) return 128 + stop_signal;
        const double t0 = seconds_now();
        if (k == 0) render_with_preroll(export_frame_time(plan, 0));
        else render_frame_at(export_frame_time(plan, k));
        read_back_frame(opts, rgb.data());
        const double t1 = seconds_now();
        const long long first = export_frame_sample(plan, k);
        const int count = int(export_frame_sample(plan, k + 1) - first);
        sound.resize(2 * size_t(count));
        read_track(first, count, sound.data());
        if (!add_video_picture(file, rgb.data(), error) || !add_video_sound(file, sound.data(), count, error)) {
            std::fprintf(stderr, "orbplume: cannot export %s: %s\n", opts.export_file.c_str(), error.c_str());
            return 2;
        }
        const double t2 = seconds_now();
        times.render += t1 - t0;
        times.encode += t2 - t1;
        times.total = times.precalc + (t2 - loop_start);
        show_export_progress(k + 1, times);
    }
    return 0;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
bool plan_export(double from, double to, int fps, long long track_samples, int rate, ExportPlan &plan,
                 std::string &error) {
    const double track_seconds = double(track_samples) / rate;
    const double track_patterns = track_seconds / patterns_to_seconds(1.0);
    char text[160];
    const double from_s = patterns_to_seconds(from);
    const double to_s = to < 0 ? track_seconds : patterns_to_seconds(to);
    if (to >= 0 && to <= from) {
        error = "--to must come after --from";
        return false;
    }
    if (from_s >= track_seconds) {
        std::snprintf(text, sizeof text, "--from %g is past the end of the music (%.3f patterns)", from, track_patterns);
        error = text;
        return false;
    }
    if (to_s > track_seconds + 1e-6) {
        std::snprintf(text, sizeof text, "--to %g is past the end of the music (%.3f patterns)", to, track_patterns);
        error = text;
        return false;
    }
    plan.from_seconds = from_s;
    plan.fps = fps;
    plan.rate = rate;
    plan.first_sample = std::llround(from_s * rate);
    plan.frames = std::max(1LL, (long long)std::ceil((to_s - from_s) * fps - 1e-6));
    return true;
}

double export_frame_time(const ExportPlan &plan, long long k) {
    // The clock's own formula: patterns = ms / 60000 x tempo / 16.
    const double ms = plan.from_seconds * 1000.0 + double(k) * 1000.0 / plan.fps;
    return ms / 60000.0 * OFFLINE_TEMPO / 16.0;
}

long long export_frame_sample(const ExportPlan &plan, long long k) {
    return plan.first_sample + k * plan.rate / plan.fps;
}

int run_export(const Options &opts) {
    const double start = seconds_now();
    std::string error;
    ExportPlan plan;
    if (container_for_path(opts.export_file) == CONTAINER_UNKNOWN) {
        std::fprintf(stderr, "orbplume: cannot tell the video format of %s: name it .mp4, .mkv or .webm\n",
                     opts.export_file.c_str());
        return 2;
    }
    if (!destination_usable(opts.export_file, error) || !open_track(error) || !plan_export(opts.from, opts.to, opts.fps, track.samples, track.rate, plan, error)) {
        std::fprintf(stderr, "orbplume: %s\n", error.c_str());
        if (!track.bytes.empty()) close_track();
        return 2;
    }
    // From the moment the file exists, a stop signal ends the export here, between frames.
    stop_signal = 0;
    watch_stop_signals(true);
    VideoFile *file = open_video_file({ opts.export_file, opts.width, opts.height, opts.fps, track.rate }, error);
    if (!file) {
        std::fprintf(stderr, "orbplume: %s\n", error.c_str());
        watch_stop_signals(false);
        close_track();
        return 2;
    }
    const std::string temporary = temporary_video_path(opts.export_file);
    std::snprintf(unfinished_path, sizeof unfinished_path, "%s", temporary.c_str());
    offline_job_partial_file(temporary);   // a fatal error removes it on the way out

    std::fprintf(stderr, "EXPORT: %s, %lld frames %dx%d at %d fps, show time %.3f to %.3f\n",
                 opts.export_file.c_str(), plan.frames, opts.width, opts.height, opts.fps,
                 export_frame_time(plan, 0), export_frame_time(plan, plan.frames));
    ExportTimes times = { 0, 0, 0, 0 };
    start_offline_show(opts);
    times.precalc = seconds_now() - start;
    start_export_progress(plan.frames, isatty(STDERR_FILENO));
    int status = export_frames(opts, plan, file, times);
    end_export_progress();

    if (status == 0) {
        const double t0 = seconds_now();
        if (!finish_video_file(file, error)) {
            std::fprintf(stderr, "orbplume: cannot export %s: %s\n", opts.export_file.c_str(), error.c_str());
            status = 2;
        }
        times.encode += seconds_now() - t0;
        file = nullptr;
    }
    if (file) abandon_video_file(file);
    if (status > 128) std::fprintf(stderr, "orbplume: export stopped by %s, %s not written\n",
                                   status == 128 + SIGINT ? "Ctrl-C" : status == 128 + SIGHUP ? "SIGHUP" : "SIGTERM",
                                   opts.export_file.c_str());
    unfinished_path[0] = 0;
    offline_job_partial_file("");
    stop_offline_show();
    close_track();
    watch_stop_signals(false);
    if (status == 0) {
        std::error_code ec;
        const long long bytes = (long long)std::filesystem::file_size(opts.export_file, ec);
        times.total = seconds_now() - start;
        std::printf("%s\n", export_summary(opts.export_file, plan.frames, opts.width, opts.height, opts.fps,
                                           bytes, times).c_str());
    }
    return status;
}
