// tests/tool_run.h - runs the built orbplume as a user would, from a chosen folder, and
// keeps what it printed (stdout and stderr together) and how it ended.
#pragma once
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ToolRun {
    int status;           // exit status; -1 when it did not exit normally
    std::string output;   // stdout and stderr together
};

inline ToolRun run_orbplume_in(const std::string &dir, const std::string &args) {
    const std::string command = "cd " + dir + " && " ORBPLUME_BINARY_DIR "/orbplume " + args + " 2>&1";
    ToolRun r{ -1, "" };
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe)) r.output += buffer.data();
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}
