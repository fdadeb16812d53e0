// app/options.cpp - command-line parsing.
#include "app/options.h"
#include <cstdio>
#include <cstring>

const char *usage_text() {
    return
        "usage: orbplume [options]\n"
        "  (no options)      show the start-up dialog, then play the show\n"
        "  --no-dialog       skip the dialog: 640x480 full screen, no loop, unless changed below\n"
        "  --size WxH        640x480, 800x600 or 1024x768 (implies --no-dialog)\n"
        "  --windowed        play in a window (implies --no-dialog)\n"
        "  --fullscreen      play full screen (implies --no-dialog)\n"
        "  --loop            start again when the music ends (implies --no-dialog)\n"
        "  --unattended      errors and warnings go to stderr only, nothing waits for a click\n"
        "  --contact-sheet DIR  write PNG pages of every mesh and texture into DIR, then exit\n"
        "  --help            this text\n";
}

static bool parse_size(const char *text, int &w, int &h) {
    char tail = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &tail) != 2) return false;
    return (w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768);
}

bool parse_options(int argc, char **argv, Options &opts, std::string &error) {
    for (int i = 1; i < argc; i++) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            opts.help = true;
        } else if (!std::strcmp(a, "--no-dialog")) {
            opts.dialog = false;
        } else if (!std::strcmp(a, "--size")) {
            if (i + 1 >= argc || !parse_size(argv[i + 1], opts.width, opts.height)) {
                error = "--size wants 640x480, 800x600 or 1024x768";
                return false;
            }
            i++;
            opts.size_given = true;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--windowed")) {
            opts.fullscreen = 0;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--fullscreen")) {
            opts.fullscreen = 1;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--loop")) {
            opts.loop = true;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--unattended")) {
            opts.unattended = true;
        } else if (!std::strcmp(a, "--contact-sheet")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                error = "--contact-sheet wants a folder";
                return false;
            }
            opts.contact_sheet = argv[++i];
            opts.dialog = false;
        } else {
            error = std::string("unknown option ") + a;
            return false;
        }
    }
    return true;
}
