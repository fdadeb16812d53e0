// tests/devtools/show_keys_test.cpp - the real show under Xvfb, driven by xdotool: seeks by
// pattern, a held key, freezing, ticks written on Esc and a screenshot compared with the
// window as ImageMagick's import grabs it. Needs the show's data in build/data.
#include "scratch_dir.h"
#include "live_show.h"
#include <algorithm>
#include <vector>

TEST(ShowKeysTest, SeekFreezeTicksAndScreenshotInTheRunningShow) {
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!std::filesystem::exists(bin + "/data/vlux_q2_final.ogg") || !std::filesystem::exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    ScratchDir dir;   // shots and ticks land here
    std::filesystem::create_directory_symlink(bin + "/data", "data");

    const std::string keys =
        "press Next \"seek to\"; press Next \"seek to\"; press Next \"seek to\"; hold Next \"seek to\"; "
        "press Pause \"frozen at\"; press space \"tick\"; sleep 1; press space \"tick\"; "   // frozen: equal ticks
        "key y; key r; key s; for w in $(seq 20); do [ -s shot00000.bmp ] && break; sleep 0.5; done; "
        "timeout 20 import -window $wid -depth 8 window.rgb; "
        "press Pause \"time runs\"; sleep 1; press space \"tick\"; press Home \"seek to\"; quit_show";
    const std::string out = run_shell(live_show_script(bin + "/orbplume --no-dialog --windowed --unattended", keys, 90));
    const std::string log = read_file("show.log");
    ASSERT_NE(out.find("status 0"), std::string::npos) << out << log;
    EXPECT_EQ(out.find("lost key"), std::string::npos) << out << log;

    // Three presses and a held key (Xvfb repeats it): one pattern further each; Home: 0.
    // (The leading zeros are Home pressed until the window took input.)
    std::vector<long long> seeks = numbers_after(log, "KEYS: seek to ");
    seeks.erase(seeks.begin(), std::find_if(seeks.begin(), seeks.end(), [](long long s) { return s != 0; }));
    EXPECT_EQ(seeks, (std::vector<long long>{ 1, 2, 3, 4, 0 })) << log;

    const std::vector<long long> ticks = numbers_after(log, "KEYS: tick ");
    ASSERT_EQ(ticks.size(), 3u) << log;
    EXPECT_EQ(ticks[0], ticks[1]);        // tapped a second apart while frozen
    EXPECT_EQ(ticks[0] / 64, 4);
    EXPECT_GT(ticks[2], ticks[1] + 4);    // running again: a second is about 8.7 ticks
    std::string table = "static int ticktable[]={\n";
    for (long long t : ticks) table += " 64*" + std::to_string(t / 64) + " + " + std::to_string(t % 64) + ",\n";
    EXPECT_EQ(read_file("ticks.inc"), table + "};\n");

    // The shot (bottom-up BGR) against the window (top-down RGB) of the frozen frame.
    const std::string shot = read_file("shot00000.bmp"), window = read_file("window.rgb");
    ASSERT_EQ(shot.size(), 921654u) << log;
    ASSERT_EQ(window.size(), 921600u) << out;
    int close = 0, lit = 0;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            const char *s = &shot[54 + ((479 - y) * 640 + x) * 3], *w = &window[(y * 640 + x) * 3];
            close += std::abs(uint8_t(s[2]) - uint8_t(w[0])) <= 24 && std::abs(uint8_t(s[1]) - uint8_t(w[1])) <= 24 &&
                     std::abs(uint8_t(s[0]) - uint8_t(w[2])) <= 24;
            lit += uint8_t(s[0]) > 128;
        }
    }
    EXPECT_GT(close, 640 * 480 * 97 / 100);
    EXPECT_GT(lit, 500);   // not blank: the two overlay lines at least
}

