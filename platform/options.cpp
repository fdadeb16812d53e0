// platform/options.cpp - command-line parsing.
#include "platform/options.h"
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

constexpr int MAX_RENDER_TIMES = 10000;   // a longer list is surely a typing error
// Offline pictures hold at least the 384x288 offscreen viewport every scene renders into.
constexpr int OFFLINE_MIN_WIDTH = 384, OFFLINE_MIN_HEIGHT = 288, OFFLINE_MAX_SIZE = 4096;
constexpr int MAX_EXPORT_FPS = 240;
constexpr size_t MAX_ECHO = 60;           // characters of a refused argument repeated back

const char *usage_text() {
    return
        "usage: orbplume [options]\n"
        "  (no options)      show the start-up dialog, then play the show\n"
        "  --no-dialog       skip the dialog: 640x480 full screen, no loop, unless changed below\n"
        "  --size WxH        640x480, 800x600, 1024x768, or any size from 384x288 up; a\n"
        "                    shape other than 4:3 gets black bars (implies --no-dialog)\n"
        "  --windowed        play in a window (implies --no-dialog)\n"
        "  --fullscreen      play full screen (implies --no-dialog)\n"
        "  --desktop         play full screen at the desktop's own resolution, without a\n"
        "                    mode change, the picture centred (implies --no-dialog)\n"
        "  --loop            start again when the music ends (implies --no-dialog)\n"
        "  --unattended      errors and warnings go to stderr only, nothing waits for a click\n"
        "  --describe T      print the section and every scene and pass call at show time T\n"
        "  --render TIMES --out DIR\n"
        "                    render show times (\"1,2.5,79.5\" or \"a:b:step\") offline into\n"
        "                    DIR/tNNN.NNN.png, in a hidden window (--size sets its size)\n"
        "  --benchmark       render a fixed sample of the script offline; print the precalc\n"
        "                    time and frames per second per section and at the busiest\n"
        "                    frame (--size sets the size)\n"
        "  --export FILE [--fps N] [--from T] [--to T]\n"
        "                    render the show offline into a video with its music: .mp4 (H.264,\n"
        "                    AAC), .mkv or .webm (VP9, Opus); 60 fps, 640x480 (--size), show\n"
        "                    times T in patterns, by default from 0 to the end of the music\n"
        "                    (the offline tools take any even --size from 384x288 to 4096x4096)\n"
        "  --flash-check [--from T] [--to T]\n"
        "                    render the show offline at 60 fps, 384x288 (--fps, --size), and\n"
        "                    find flashing that is unsafe for photosensitive viewers: more\n"
        "                    than three flashes in a second over a quarter of the screen;\n"
        "                    prints the worst second and each failing stretch, exits 1 on any\n"
        "  --gentle          reduce flashing: limit the picture's flashes to a safe rate (the\n"
        "                    show, --export, --flash-check, --render, --benchmark)\n"
        "  --storyboard DIR [--from T] [--to T] [--step S]\n"
        "                    PNG pages of labelled thumbnails of the show into DIR: show\n"
        "                    time, scenes, mean luma and near-white share, washed-out frames\n"
        "                    marked; by default the whole show every 0.5 patterns, off the\n"
        "                    beats, at 384x288 (--size)\n"
        "  --contact-sheet DIR  write PNG pages of every mesh and texture into DIR, then exit\n"
        "  --help            this text\n";
}

static bool parse_size(const char *text, int &w, int &h) {
    // Digits, "x", digits, nothing else; strtol's own sign and space handling is kept out.
    if (!std::isdigit((unsigned char)text[0])) return false;
    char *end = nullptr;
    errno = 0;
    const long pw = std::strtol(text, &end, 10);
    if (errno || *end != 'x' || !std::isdigit((unsigned char)end[1])) return false;
    const long ph = std::strtol(end + 1, &end, 10);
    if (errno || *end != 0 || pw > MAX_SIZE || ph > MAX_SIZE) return false;
    w = int(pw);
    h = int(ph);
    return true;
}

// The tools that draw the show offline into a picture of the size asked for.
static bool renders_offline(ProgramTool tool) {
    return tool == TOOL_RENDER || tool == TOOL_BENCHMARK || tool == TOOL_EXPORT || tool == TOOL_FLASH_CHECK ||
           tool == TOOL_STORYBOARD;
}

// A window takes any size from the smallest up (a shape other than 4:3 gets bars); the
// offline tools render any even size up to 4096x4096 (the video encoders want even sizes).
static bool size_allowed(ProgramTool tool, int w, int h) {
    if (renders_offline(tool))
        return w >= OFFLINE_MIN_WIDTH && h >= OFFLINE_MIN_HEIGHT && w <= OFFLINE_MAX_SIZE &&
               h <= OFFLINE_MAX_SIZE && w % 2 == 0 && h % 2 == 0;
    return w >= MIN_WIDTH && h >= MIN_HEIGHT && w <= MAX_SIZE && h <= MAX_SIZE;
}

// One finite number filling the whole text (as a float it may still be infinite).
static bool parse_number(const std::string &text, float &value) {
    if (text.empty()) return false;
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (errno || *end != 0 || !std::isfinite(v)) return false;
    value = v == 0.0 ? 0.0f : float(v);   // "-0" is 0: no "t-00.000.png" beside "t000.000.png"
    return true;
}

static bool valid_show_time(float t) {
    return std::isfinite(t) && t >= 0.0f && t < MAX_SHOW_TIME;
}

// The argument as the user typed it, cut short when long.
static std::string echo(const std::string &text) {
    if (text.size() <= MAX_ECHO) return text;
    return text.substr(0, MAX_ECHO - 3) + "... (" + std::to_string(text.size()) + " characters)";
}

std::string render_file_name(float t) {
    char name[64];
    std::snprintf(name, sizeof name, "t%07.3f.png", t);
    return name;
}

// Two times whose files would share a name: the second picture would silently replace
// the first. False with both times named.
static bool distinct_file_names(const std::vector<float> &times, std::string &error) {
    std::map<std::string, float> seen;
    for (float t : times) {
        const auto [at, fresh] = seen.emplace(render_file_name(t), t);
        if (fresh) continue;
        char text[160];
        std::snprintf(text, sizeof text, "times %g and %g both make %s (keep times 0.001 apart)",
                      double(at->second), double(t), at->first.c_str());
        error += text;
        return false;
    }
    return true;
}

bool parse_time_list(const char *text, std::vector<float> &times, std::string &error) {
    times.clear();
    const std::string s = text;
    error = "bad time list \"" + echo(s) + "\": ";
    if (s.find(':') != std::string::npos) {
        const size_t c1 = s.find(':'), c2 = s.find(':', c1 + 1);
        float a, b, step;
        if (c2 == std::string::npos || s.find(':', c2 + 1) != std::string::npos ||
            !parse_number(s.substr(0, c1), a) || !parse_number(s.substr(c1 + 1, c2 - c1 - 1), b) ||
            !parse_number(s.substr(c2 + 1), step)) {
            error += "want a:b:step with three numbers";
            return false;
        }
        if (!valid_show_time(a) || !valid_show_time(b)) {
            error += SHOW_TIME_RANGE;
            return false;
        }
        if (step <= 0 || b < a) {
            error += "want a <= b and step > 0";
            return false;
        }
        if ((double(b) - a) / step >= MAX_RENDER_TIMES) {
            error += "more than " + std::to_string(MAX_RENDER_TIMES) + " times";
            return false;
        }
        // Times are a + i step, computed afresh each time so that errors do not pile up. The
        // count allows for the step's float rounding (0.001 is stored a little high), so
        // that b itself is still reached.
        const long steps = long(std::floor((double(b) - a) / step + 1e-4));
        for (long i = 0; i <= steps; i++)
            times.push_back(float(double(a) + double(i) * double(step)));
    } else {
        size_t start = 0;
        while (true) {
            const size_t comma = s.find(',', start);
            float v;
            if (!parse_number(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start), v)) {
                error += "want numbers separated by commas";
                return false;
            }
            times.push_back(v);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (times.size() > size_t(MAX_RENDER_TIMES)) {
            error += "more than " + std::to_string(MAX_RENDER_TIMES) + " times";
            return false;
        }
    }
    for (float t : times) {
        if (!valid_show_time(t)) {
            error += SHOW_TIME_RANGE;
            return false;
        }
    }
    if (!distinct_file_names(times, error)) return false;
    error.clear();
    return true;
}

// Records the tool an option asks for; false when another option already chose a different one.
static bool choose_tool(Options &opts, ProgramTool tool, const char *option, const char *&chosen_by,
                        std::string &error) {
    if (chosen_by && opts.tool != tool) {
        error = std::string(chosen_by) + " and " + option + " cannot be used together";
        return false;
    }
    opts.tool = tool;
    chosen_by = option;
    return true;
}

bool parse_options(int argc, char **argv, Options &opts, std::string &error) {
    const char *export_only = nullptr;   // the last option given that needs --export
    const char *tool_option = nullptr;   // the option that chose opts.tool
    const char *range_only = nullptr;    // the last --from or --to: a tool that runs over a stretch
    bool step_given = false;             // --step: --storyboard only
    bool from_given = false;             // --from: the storyboard's own start otherwise
    for (int i = 1; i < argc; i++) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            opts.help = true;
        } else if (!std::strcmp(a, "--no-dialog")) {
            opts.dialog = false;
        } else if (!std::strcmp(a, "--size")) {
            if (i + 1 >= argc || !parse_size(argv[i + 1], opts.width, opts.height)) {
                error = "--size wants WxH, e.g. 640x480 or 1280x720";
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
        } else if (!std::strcmp(a, "--desktop")) {
            opts.desktop = true;
            opts.fullscreen = 1;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--loop")) {
            opts.loop = true;
            opts.dialog = false;
        } else if (!std::strcmp(a, "--unattended")) {
            opts.unattended = true;
        } else if (!std::strcmp(a, "--describe")) {
            if (i + 1 >= argc || !parse_number(argv[i + 1], opts.describe_time) ||
                !valid_show_time(opts.describe_time)) {
                error = std::string("--describe wants a show time in patterns, e.g. --describe 12.5 (") +
                        SHOW_TIME_RANGE + ")";
                return false;
            }
            i++;
            if (!choose_tool(opts, TOOL_DESCRIBE, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--render")) {
            if (i + 1 >= argc) {
                error = "--render wants a list of show times";
                return false;
            }
            if (!parse_time_list(argv[++i], opts.render_times, error)) return false;
            if (!choose_tool(opts, TOOL_RENDER, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--out")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                error = "--out wants a folder";
                return false;
            }
            opts.out_dir = argv[++i];
        } else if (!std::strcmp(a, "--benchmark")) {
            if (!choose_tool(opts, TOOL_BENCHMARK, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--export")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                error = "--export wants a file name ending in .mp4, .mkv or .webm";
                return false;
            }
            opts.export_file = argv[++i];
            if (!choose_tool(opts, TOOL_EXPORT, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--flash-check")) {
            if (!choose_tool(opts, TOOL_FLASH_CHECK, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--gentle")) {
            opts.gentle = true;
        } else if (!std::strcmp(a, "--fps")) {
            char *end = nullptr;
            const long fps = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : 0;
            if (i + 1 >= argc || *end || fps < 1 || fps > MAX_EXPORT_FPS) {
                error = "--fps wants a whole number of frames per second from 1 to " + std::to_string(MAX_EXPORT_FPS);
                return false;
            }
            opts.fps = int(fps);
            i++;
            export_only = a;
        } else if (!std::strcmp(a, "--from") || !std::strcmp(a, "--to")) {
            float &t = a[2] == 'f' ? opts.from : opts.to;
            if (i + 1 >= argc || !parse_number(argv[i + 1], t) || t < 0) {
                error = std::string(a) + " wants a show time in patterns, 0 or more, e.g. " + a + " 2.5";
                return false;
            }
            i++;
            range_only = a;
            from_given |= a[2] == 'f';
        } else if (!std::strcmp(a, "--storyboard")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                error = "--storyboard wants a folder";
                return false;
            }
            opts.storyboard_dir = argv[++i];
            if (!choose_tool(opts, TOOL_STORYBOARD, a, tool_option, error)) return false;
        } else if (!std::strcmp(a, "--step")) {
            if (i + 1 >= argc || !parse_number(argv[i + 1], opts.step) || !(opts.step >= 0.001f) ||
                opts.step >= MAX_SHOW_TIME) {
                error = "--step wants the patterns between thumbnails, at least 0.001, e.g. --step 0.25";
                return false;
            }
            i++;
            step_given = true;
        } else if (!std::strcmp(a, "--contact-sheet")) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                error = "--contact-sheet wants a folder";
                return false;
            }
            opts.contact_sheet = argv[++i];
            opts.dialog = false;
            if (!choose_tool(opts, TOOL_CONTACT_SHEET, a, tool_option, error)) return false;
        } else {
            error = "unknown option " + echo(a);
            return false;
        }
    }
    if (opts.tool == TOOL_RENDER && opts.out_dir.empty()) {
        error = "--render needs --out DIR";
        return false;
    }
    if (opts.tool != TOOL_RENDER && !opts.out_dir.empty()) {
        error = "--out goes with --render";
        return false;
    }
    const bool stretch_tool = opts.tool == TOOL_EXPORT || opts.tool == TOOL_FLASH_CHECK;
    if (!stretch_tool && export_only) {
        error = std::string(export_only) + " goes with --export or --flash-check";
        return false;
    }
    if (range_only && !stretch_tool && opts.tool != TOOL_STORYBOARD) {
        error = std::string(range_only) + " goes with --export, --flash-check or --storyboard";
        return false;
    }
    if (step_given && opts.tool != TOOL_STORYBOARD) {
        error = "--step goes with --storyboard";
        return false;
    }
    if (opts.tool == TOOL_STORYBOARD) {
        if (!from_given) opts.from = STORYBOARD_DEFAULT_FROM;
        if (!opts.size_given) opts.width = MIN_WIDTH, opts.height = MIN_HEIGHT;
        if (opts.from >= MAX_SHOW_TIME || (opts.to >= 0 && opts.to < opts.from)) {
            error = std::string("--storyboard wants --from before --to (") + SHOW_TIME_RANGE + ")";
            return false;
        }
    }
    if (stretch_tool && opts.to >= 0 && opts.to <= opts.from) {
        error = "--to must come after --from";
        return false;
    }
    if (opts.size_given && !size_allowed(opts.tool, opts.width, opts.height)) {
        error = !renders_offline(opts.tool)
                    ? "--size wants a window from 384x288 to 16384x16384"
                    : "--size wants even sizes from 384x288 to 4096x4096 for the offline tools";
        return false;
    }
    return true;
}
