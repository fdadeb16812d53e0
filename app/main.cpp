// app/main.cpp - orbplume's entry: parse the command line, then play the show.
#include "app/main_loop.h"
#include "app/options.h"
#include "devtools/offline.h"
#include "devtools/contact_sheet.h"
#include "devtools/export.h"
#include "devtools/offline_job.h"
#include <SDL.h>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

// Run-time data lives in data/ beside the executable; when started from elsewhere, move
// there so that the show finds it (screenshots and ticks then land there too).
static void enter_data_folder() {
    if (access("data", F_OK) == 0) return;
    char *base = SDL_GetBasePath();
    if (base && chdir(base) != 0) std::fprintf(stderr, "orbplume: cannot enter %s\n", base);
    SDL_free(base);
}

int main(int argc, char **argv) {
    Options opts;
    std::string error;
    if (!parse_options(argc, argv, opts, error)) {
        std::fprintf(stderr, "orbplume: %s\n%s", error.c_str(), usage_text());
        return 2;
    }
    if (opts.help) {
        std::fputs(usage_text(), stdout);
        return 0;
    }
    // Everything but the show itself reports failure by its status and stops on a signal.
    if (opts.tool != TOOL_SHOW || !opts.contact_sheet.empty()) begin_offline_job();
    if (opts.tool == TOOL_DESCRIBE) return describe_show_time(opts.describe_time);
    // Output folders are named from where we were started, before moving to the data.
    if (!opts.out_dir.empty()) opts.out_dir = std::filesystem::absolute(opts.out_dir).string();
    if (!opts.export_file.empty()) opts.export_file = std::filesystem::absolute(opts.export_file).string();
    if (!opts.contact_sheet.empty())
        opts.contact_sheet = std::filesystem::absolute(opts.contact_sheet).string();
    enter_data_folder();
    if (!opts.contact_sheet.empty()) return run_contact_sheet(opts.contact_sheet.c_str());
    if (opts.tool == TOOL_RENDER) return render_show_times(opts);
    if (opts.tool == TOOL_BENCHMARK) return run_benchmark(opts);
    if (opts.tool == TOOL_EXPORT) return run_export(opts);
    return run_show(opts);
}
