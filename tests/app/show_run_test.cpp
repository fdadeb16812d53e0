// tests/app/show_run_test.cpp - the real executable under Xvfb: how the show starts, ends
// and fails. Each case runs orbplume in a shell and reads its exit status and stderr.
#include "live_show.h"
#include "audio/ogg_fixture.h"
#include <gtest/gtest.h>
#include <array>
#include <cstdio>
#include <regex>
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
    EXPECT_NE(r.output.find("FATAL: Init failed!\nFATAL: window: no video: "), std::string::npos) << r.output;
}

// With no display at all SDL would fall back to a driver that draws nowhere: the show would
// play unseen, the dialog wait unseen for a click. Both must stop with "Init failed!" and
// say why. (timeout turns a wait into a failure here instead of a hung test.)
TEST(ShowRunTest, WithoutAnyDisplayTheShowAndTheDialogAreInitFailed) {
    const std::string bare = "unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER; timeout 60 ./orbplume --unattended";
    for (const std::string &args : { std::string(" --no-dialog --windowed"), std::string("") }) {
        RunResult r = run(bare + args);
        EXPECT_EQ(r.status, 0) << args << "\n" << r.output;
        EXPECT_NE(r.output.find("FATAL: Init failed!\nFATAL: "), std::string::npos) << args << "\n" << r.output;
        EXPECT_NE(r.output.find("no display"), std::string::npos) << args << "\n" << r.output;
        EXPECT_EQ(r.output.find("MUSIC:"), std::string::npos) << args << "\n" << r.output;
    }
}

// Full screen on a bare X server (no window manager, as under the tests' Xvfb): the window
// really covers the screen, and the picture is laid out for the window as it really is.
TEST(ShowRunTest, FullScreenWithoutAWindowManagerCoversTheScreenAndThePictureFollows) {
    for (const char *mode : { "--desktop", "--fullscreen" }) {
        const std::string show = ORBPLUME_BINARY_DIR "/orbplume --no-dialog --unattended " + std::string(mode);
        RunResult r = run("d=$(mktemp -d) && ln -s \"$PWD/data\" $d/data && cd $d && " +
                          live_show_script(show, "echo screen $(xdotool getdisplaygeometry); "
                                                 "echo window $(xdotool getwindowgeometry $wid | grep -o \"[0-9]*x[0-9]*\"); quit_show", 60) +
                          "; cat show.log; rm -rf $d");
        std::smatch screen, window, placed;
        ASSERT_TRUE(std::regex_search(r.output, screen, std::regex("screen ([0-9]+) ([0-9]+)"))) << mode << "\n" << r.output;
        ASSERT_TRUE(std::regex_search(r.output, window, std::regex("window ([0-9]+)x([0-9]+)"))) << mode << "\n" << r.output;
        ASSERT_TRUE(std::regex_search(r.output, placed, std::regex("WINDOW: ([0-9]+)x([0-9]+), the picture"))) << mode << "\n" << r.output;
        EXPECT_EQ(window[1].str() + "x" + window[2].str(), screen[1].str() + "x" + screen[2].str()) << mode;
        EXPECT_EQ(placed[1].str() + "x" + placed[2].str(), window[1].str() + "x" + window[2].str()) << mode;
        EXPECT_NE(r.output.find("status 0"), std::string::npos) << mode << "\n" << r.output;
    }
}

// A driver named in SDL_VIDEODRIVER that draws nowhere shows the dialog to nobody: instead of
// waiting for a click that cannot come, the show stops at once and says how to play without it.
TEST(ShowRunTest, TheDialogOnAnUnseenDriverIsInitFailedNamingTheWayOut) {
    for (const char *driver : { "offscreen", "dummy" }) {
        RunResult r = run(std::string("SDL_VIDEODRIVER=") + driver + " timeout 60 ./orbplume --unattended");
        EXPECT_EQ(r.status, 0) << driver << "\n" << r.output;
        EXPECT_NE(r.output.find("FATAL: Init failed!\nFATAL: the start-up dialog cannot be shown on SDL's \"" +
                                std::string(driver) + "\" video driver"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("--no-dialog"), std::string::npos) << r.output;
    }
}

// Ticks tapped with Space are written however the show ends, not only on Esc: here by the
// music's end (a short track, long enough for a tap on a loaded machine) and by closing
// the window.
TEST(ShowRunTest, TicksAreWrittenWhenTheMusicEndsOrTheWindowCloses) {
    const std::string track = write_test_ogg("show_run_short.ogg", 8 * 44100, 2, 44100,
                                             [](long i, int) { return float(std::sin(i * 0.05)) * 0.2f; });
    const std::string dir = std::string(ORBPLUME_BINARY_DIR) + "/show_run_ticks";
    const std::string start =
        "rm -rf " + dir + " && mkdir -p " + dir + "/data && ln -s " ORBPLUME_BINARY_DIR "/data/*.jpg " + dir +
        "/data/ && cp " + track + " " + dir + "/data/vlux_q2_final.ogg && cd " + dir + "; "
        ORBPLUME_BINARY_DIR "/orbplume --no-dialog --windowed --unattended 2> log & pid=$!; "
        "wid=$(timeout 60 xdotool search --sync --pid $pid --name \"V-LUX 2004: Orb Plume\" | head -1); "
        "xdotool windowfocus --sync $wid key space; ";
    const std::string show_ticks = "; wait $pid; echo \"status $?\"; cat log; echo ===; cat ticks.inc";
    const std::string file_start = "===\nstatic int ticktable[]={\n 64*";

    RunResult at_end = run("flock display.lock bash -c '" + start + "true" + show_ticks + "'");
    EXPECT_NE(at_end.output.find("status 0"), std::string::npos) << at_end.output;
    EXPECT_NE(at_end.output.find("KEYS: tick"), std::string::npos) << at_end.output;
    EXPECT_NE(at_end.output.find(file_start), std::string::npos) << at_end.output;

    RunResult closed = run("flock display.lock bash -c '" + start +
                           "for i in $(seq 300); do grep -q \"KEYS: tick\" log && break; sleep 0.1; done; "
                           "kill -TERM $pid" + show_ticks + "'");
    EXPECT_NE(closed.output.find("status 0"), std::string::npos) << closed.output;
    EXPECT_NE(closed.output.find(file_start), std::string::npos) << closed.output;
}

TEST(ShowRunTest, BadOptionsExitTwoWithUsage) {
    RunResult r = run("./orbplume --size 320x200");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage: orbplume"), std::string::npos) << r.output;
    r = run("./orbplume --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("--no-dialog"), std::string::npos);
}
