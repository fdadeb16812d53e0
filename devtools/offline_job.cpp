// devtools/offline_job.cpp - signals, fatal exits and partial files of the offline tools.
// SDL would turn SIGINT and SIGTERM into quit events, which a job that reads no events never
// sees; the job installs its own handlers first (SDL leaves non-default handlers alone) and
// tells SDL to install none.
#include "devtools/offline_job.h"
#include "platform/messages.h"   // Required for: set_fatal_exit()
#include "platform/window.h"     // Required for: prefer_offscreen_video()
#include <SDL.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static volatile std::sig_atomic_t caught_signal = 0;   // the signal that asked us to stop
static std::string partial_file;                       // output being written, "" if none

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void on_stop_signal(int signal_number) {
    caught_signal = signal_number;
}

static void remove_partial_file() {
    if (!partial_file.empty()) std::remove(partial_file.c_str());
    partial_file.clear();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
// Catches the signal, unless it was ignored when we started (nohup, a background job).
static void catch_stop_signal(int signal_number) {
    struct sigaction old;
    if (sigaction(signal_number, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) return;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

void begin_offline_job() {
    catch_stop_signal(SIGINT);
    catch_stop_signal(SIGTERM);
    catch_stop_signal(SIGHUP);   // the terminal was closed
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    set_fatal_exit(OFFLINE_FATAL_STATUS, remove_partial_file);
    prefer_offscreen_video();
}

bool offline_job_interrupted() {
    return caught_signal != 0;
}

void offline_job_partial_file(const std::string &path) {
    partial_file = path;
}

void end_interrupted_offline_job() {
    const int signal_number = caught_signal ? int(caught_signal) : SIGTERM;
    remove_partial_file();
    std::fprintf(stderr, "orbplume: stopped by %s\n", strsignal(signal_number));
    std::fflush(nullptr);
    // Die by the same signal, so that the caller (a shell, timeout, make) sees why.
    signal(signal_number, SIG_DFL);
    raise(signal_number);
    _exit(128 + signal_number);
}

int finish_offline_job(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "orbplume: cannot write to standard output\n");
        return status ? status : 1;
    }
    return status;
}
