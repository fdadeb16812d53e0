// app/options.h - the command line. Without options the start-up dialog decides; options
// let scripts and tests skip it. Tools that do not play the show (offline rendering, the
// benchmark, the contact sheet) add their own fields here and run from main().
#pragma once
#include <string>

struct Options {
    bool        dialog = true;         // false with --no-dialog (or any of the options below)
    bool        help = false;          // --help: print usage, exit 0
    bool        size_given = false;    // --size WxH
    int         width = 640, height = 480;
    int         fullscreen = -1;       // -1 unset, 0 --windowed, 1 --fullscreen
    bool        loop = false;          // --loop
    bool        unattended = false;    // --unattended: messages to stderr only
    std::string contact_sheet;         // --contact-sheet DIR: write the content pages there, no show
};

// Parses argv into opts. Returns true on success; on failure fills error with the reason.
bool parse_options(int argc, char **argv, Options &opts, std::string &error);
const char *usage_text();          // the --help text
