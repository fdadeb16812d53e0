// tests/app/show_run_test.cpp - the real executable under Xvfb: how the show starts, ends
// and fails. Each case runs orbplume in a shell and reads its exit status and stderr.
#include "live_show.h"
#include <gtest/gtest.h>
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct RunResult {
    int status;
    std::string output;   // stdout and stderr together
};

static RunResult run(const std::string &script) {
    std::string command = "cd " ORBPLUME_BINARY_DIR " && { " + script + " ; } 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    RunResult result{-1, ""};
    if (!pipe) return result;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe)) result.output += buffer.data();
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

static const std::string SHOW = "./orbplume --no-dialog --windowed --unattended";

// Starts the show in a folder of its own (beside a link to the data), waits until its window
// takes input, runs `action` (with $pid and $wid set), then reports the show's exit status as
// "status N" followed by the show's stderr. The run is bounded: a lost key costs seconds.
static RunResult run_show_and(const std::string &action) {
    return run("d=$(mktemp -d) && ln -s \"$PWD/data\" $d/data && cd $d && " +
               live_show_script(ORBPLUME_BINARY_DIR "/" + SHOW.substr(2), action, 60) + "; cat show.log; rm -rf $d");
}

TEST(ShowRunTest, EscEndsTheShowWithStatusZeroAfterClosingTheMusic) {
    RunResult r = run_show_and("quit_show");
    EXPECT_NE(r.output.find("status 0"), std::string::npos) << r.output;
    size_t music = r.output.find("MUSIC: closed");
    size_t window = r.output.find("WINDOW: closed");
    ASSERT_NE(music, std::string::npos) << r.output;
    ASSERT_NE(window, std::string::npos) << r.output;
    EXPECT_LT(music, window);
}

TEST(ShowRunTest, CloseRequestEndsTheShowWithStatusZero) {
    // SDL turns a termination request into the same quit event as the close box.
    RunResult r = run_show_and("kill -TERM $pid");
    EXPECT_NE(r.output.find("status 0"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("WINDOW: closed"), std::string::npos) << r.output;
}

TEST(ShowRunTest, NoDisplayIsInitFailed) {
    RunResult r = run("DISPLAY=:7777 SDL_VIDEODRIVER=x11 " + SHOW);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("FATAL: Init failed!"), std::string::npos) << r.output;
}

TEST(ShowRunTest, BadOptionsExitTwoWithUsage) {
    RunResult r = run("./orbplume --size 320x200");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage: orbplume"), std::string::npos) << r.output;
    r = run("./orbplume --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("--no-dialog"), std::string::npos);
}
