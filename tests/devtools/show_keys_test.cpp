// tests/devtools/show_keys_test.cpp - the real show under Xvfb, driven by xdotool: seeks by
// pattern, a held key, freezing, ticks written on Esc, and a screenshot compared with the
// window as ImageMagick's import grabs it. Needs the show's data in build/data.
#include "scratch_dir.h"
#include <array>
#include <cstdio>
#include <regex>
#include <vector>

static std::string run_shell(const std::string &script) {
    FILE *pipe = popen(("{ " + script + " ; } 2>&1").c_str(), "r");
    std::string out;
    std::array<char, 512> buffer;
    while (pipe && fgets(buffer.data(), int(buffer.size()), pipe)) out += buffer.data();
    if (pipe) pclose(pipe);
    return out;
}

static std::vector<int> numbers_after(const std::string &text, const std::string &label) {
    std::vector<int> found;
    std::regex re(label + "([0-9]+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back(std::stoi((*it)[1]));
    return found;
}

TEST(ShowKeysTest, SeekFreezeTicksAndScreenshotInTheRunningShow) {
    const std::string bin = ORBPLUME_BINARY_DIR;
    if (!std::filesystem::exists(bin + "/data/vlux_q2_final.ogg") || !std::filesystem::exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    ScratchDir dir;   // shots and ticks land here
    std::filesystem::create_directory_symlink(bin + "/data", "data");

    const std::string keys =
        "k() { xdotool key --window $wid \"$@\"; sleep 0.3; }; xdotool windowfocus --sync $wid; "
        "k Next; k Next; k Next; xdotool keydown Next; sleep 1.5; xdotool keyup Next; sleep 0.3; "
        "k Pause; k space; sleep 1; k space; "   // frozen: equal ticks
        "k y; k r; k s; sleep 1.5; timeout 20 import -window $wid -depth 8 window.rgb; "
        "k Pause; sleep 1; k space; k Home; k Escape";
    const std::string out = run_shell(
        "flock " + bin + "/display.lock bash -c '" + bin + "/orbplume --no-dialog --windowed --unattended "
        "2> show.log & pid=$!; "
        "wid=$(timeout 60 xdotool search --sync --pid $pid --name \"V-LUX 2004: Orb Plume\" | head -1); "
        "sleep 3; " + keys + "; wait $pid; echo \"status $?\"'");
    const std::string log = read_file("show.log");
    ASSERT_NE(out.find("status 0"), std::string::npos) << out << log;

    // Three presses and a held key (Xvfb repeats it): one pattern further each; Home: 0.
    EXPECT_EQ(numbers_after(log, "KEYS: seek to "), (std::vector<int>{ 1, 2, 3, 4, 0 })) << log;

    const std::vector<int> ticks = numbers_after(log, "KEYS: tick ");
    ASSERT_EQ(ticks.size(), 3u) << log;
    EXPECT_EQ(ticks[0], ticks[1]);        // tapped a second apart while frozen
    EXPECT_EQ(ticks[0] / 64, 4);
    EXPECT_GT(ticks[2], ticks[1] + 4);    // running again: a second is about 8.7 ticks
    std::string table = "static int ticktable[]={\n";
    for (int t : ticks) table += " 64*" + std::to_string(t / 64) + " + " + std::to_string(t % 64) + ",\n";
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
