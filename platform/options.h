// platform/options.h - the command line. Without options the start-up dialog decides; options
// let scripts and tests skip it. Tools that do not play the show (offline rendering, the
// benchmark, the video export, the contact sheet) add their own fields here and run from main().
#pragma once
#include <string>
#include <vector>

// What the program does after parsing: play the show, or one of the offline tools. One run
// does one thing: a second, different tool on the command line is refused.
enum ProgramTool { TOOL_SHOW, TOOL_DESCRIBE, TOOL_RENDER, TOOL_BENCHMARK, TOOL_EXPORT, TOOL_CONTACT_SHEET,
                   TOOL_FLASH_CHECK, TOOL_STORYBOARD };

struct Options {
    bool        dialog = true;         // false with --no-dialog (or any of the options below)
    bool        help = false;          // --help: print usage, exit 0
    bool        size_given = false;    // --size WxH
    int         width = 640, height = 480;   // the show's three modes; the offline tools take any even size
    int         fullscreen = -1;       // -1 unset, 0 --windowed, 1 --fullscreen
    bool        desktop = false;       // --desktop: full screen at the desktop's resolution
    bool        loop = false;          // --loop
    bool        unattended = false;    // --unattended: messages to stderr only
    ProgramTool tool = TOOL_SHOW;      // --describe, --render, --benchmark, --export, --contact-sheet, --flash-check or --storyboard
    float       describe_time = 0;     // --describe T
    std::vector<float> render_times;   // --render TIMES, ascending as given
    std::string out_dir;               // --out DIR (required with --render)
    std::string export_file;           // --export FILE: the video to write
    int         fps = 60;              // --fps N (with --export or --flash-check)
    float       from = 0;              // --from T (with --export, --flash-check or --storyboard): first show time, patterns
    float       to = -1;               // --to T (the same): end show time; below 0, the music's end
    bool        gentle = false;        // --gentle: reduce flashing (the show, and the offline tools' frames)
    std::string contact_sheet;         // --contact-sheet DIR: write the content pages there, no show
    std::string storyboard_dir;        // --storyboard DIR: the pages of thumbnails go there
    float       step = 0.5f;           // --step S (with --storyboard): patterns between thumbnails
};

// The storyboard starts 1/32 pattern (half a beat) into the show unless --from says otherwise:
// off the beats, where the beat flash has faded. It renders 384x288 unless --size says otherwise.
constexpr float STORYBOARD_DEFAULT_FROM = 0.03125f;

// Show times the offline tools take, in patterns: from 0 to far past the end of the music.
constexpr float MAX_SHOW_TIME = 1000.0f;
constexpr const char *SHOW_TIME_RANGE = "show times run from 0 to below 1000";

// Parses argv into opts. Returns true on success; on failure fills error with the reason.
bool parse_options(int argc, char **argv, Options &opts, std::string &error);
const char *usage_text();          // the --help text
// Smallest and largest --size (the offscreen passes draw a 384x288 view inside the window;
// the GL's own viewport limit is checked once the window exists).
constexpr int MIN_WIDTH = 384, MIN_HEIGHT = 288, MAX_SIZE = 16384;
// Parses "a,b,c" or "a:b:step" (b included) into show times; false with a reason otherwise,
// also for times outside 0..MAX_SHOW_TIME and for two times that make the same file name.
bool parse_time_list(const char *text, std::vector<float> &times, std::string &error);
std::string render_file_name(float t);   // "tNNN.NNN.png", the file --render writes for t
