// tests/live/live_clock_test.cpp - the running show's own clock, started the way a user
// starts it (not the offline tools' virtual clock): Space records the show time in 1/64
// pattern at six presses four seconds apart on the wall clock, and the fitted rate must be
// the music's 130 beats per minute, 8.667 ticks a second, within a few per cent.
// Without a sound card the clock is SDL's dummy device, which only keeps time while its
// thread gets the processor: this program runs alone (RUN_SERIAL), the show rasterises on one
// thread, and a measurement that is off is taken once more before the test fails.
#include "../devtools/scratch_dir.h"
#include "live_show.h"
#include <cmath>
#include <filesystem>

// Ticks per wall-clock second over one run of the show; 0 when the run went wrong (why).
static double measure_tick_rate(const std::string &bin, std::string &why) {
    const std::string presses =
        "for n in 1 2 3 4 5 6; do date +wall%s%N; xdotool key --window $wid space; sleep 4; done; quit_show";
    const std::string out = run_shell(live_show_script(bin + "/orbplume --no-dialog --windowed --unattended",
                                                       presses, 90, "LP_NUM_THREADS=1"));
    const std::string log = read_file("show.log");
    const std::vector<long long> wall_ns = numbers_after(out, "wall"), ticks = numbers_after(log, "KEYS: tick ");
    why = out + log;
    if (out.find("status 0") == std::string::npos || wall_ns.size() != 6) return 0;
    if (ticks.size() != 6) {
        why = "a key press was lost\n" + why;
        return 0;
    }
    double mw = 0, mt = 0, cov = 0, var = 0;
    for (size_t i = 0; i < 6; i++) mw += double(wall_ns[i] - wall_ns[0]) * 1e-9 / 6, mt += double(ticks[i]) / 6;
    for (size_t i = 0; i < 6; i++) {
        const double w = double(wall_ns[i] - wall_ns[0]) * 1e-9 - mw;
        cov += w * (double(ticks[i]) - mt);
        var += w * w;
    }
    return cov / var;
}

TEST(LiveClockTest, RunningShowKeepsTheMusicsTempo) {
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!std::filesystem::exists(bin + "/data/vlux_q2_final.ogg") || !std::filesystem::exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    const double expected = 130.0 / 60.0 / 16.0 * 64.0;
    std::string report;
    for (int attempt = 0; attempt < 2; attempt++) {
        ScratchDir dir;   // ticks.inc and the log land here
        std::filesystem::create_directory_symlink(bin + "/data", "data");
        std::string why;
        const double rate = measure_tick_rate(bin, why);
        report += "attempt " + std::to_string(attempt + 1) + ": " + std::to_string(rate) + " ticks/s (expected " +
                  std::to_string(expected) + ")\n";
        if (rate > 0 && std::fabs(rate / expected - 1) <= 0.05) return;
        report += why;
    }
    ADD_FAILURE() << report;
}
