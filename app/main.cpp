// app/main.cpp - orbplume's entry: parse the command line, then play the show.
#include "platform/data_folder.h"
#include "app/main_loop.h"
#include "platform/options.h"
#include "devtools/offline.h"
#include "devtools/contact_sheet.h"
#include "devtools/export.h"
#include "devtools/flash_check.h"
#include "devtools/storyboard.h"
#include "devtools/offline_job.h"
#include <SDL.h>
#include <cstdio>

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
    if (opts.tool != TOOL_SHOW) begin_offline_job();
    if (opts.tool == TOOL_DESCRIBE) return describe_show_time(opts.describe_time);
    // Data comes from the first folder that holds it; everything written (pictures, videos,
    // screenshots, ticks) goes where we were started.
    resolve_data_folder();
    if (opts.tool == TOOL_CONTACT_SHEET) return run_contact_sheet(opts.contact_sheet.c_str());
    if (opts.tool == TOOL_RENDER) return render_show_times(opts);
    if (opts.tool == TOOL_BENCHMARK) return run_benchmark(opts);
    if (opts.tool == TOOL_EXPORT) return run_export(opts);
    if (opts.tool == TOOL_FLASH_CHECK) return run_flash_check(opts);
    if (opts.tool == TOOL_STORYBOARD) return run_storyboard(opts);
    return run_show(opts);
}
