// devtools/export_progress.h - what the video export tells its user while it runs: on a
// terminal one progress bar redrawn in place (frames done, render and encode speed, time
// left), elsewhere (a log, a pipe) a line at every tenth of the frames; then one summary line.
// Everything goes to stderr except the summary, which goes to stdout.
#pragma once
#include <string>

struct ExportTimes {
    double precalc;   // seconds before the first frame: window, content, music
    double render;    // seconds drawing frames and reading them back
    double encode;    // seconds converting, encoding and writing pictures and sound (or the
                      // second step of another tool, named at start_export_progress)
    double total;     // seconds from start to the finished file
};

void start_export_progress(long long total_frames, bool terminal, const char *label = "EXPORT",
                           const char *second_step = "encode");   // terminal: redraw in place
void show_export_progress(long long done, const ExportTimes &times);  // after each frame
void end_export_progress();                                           // ends the bar's line

std::string clock_text(double seconds);   // "0:07", "12:34", "1:02:03"
std::string export_summary(const std::string &file, long long frames, int width, int height, int fps,
                           long long bytes, const ExportTimes &times);   // the closing line
