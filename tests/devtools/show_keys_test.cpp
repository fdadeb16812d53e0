// tests/devtools/show_keys_test.cpp - the real show under Xvfb, driven by key events from
// xdotool: seeking by patterns, a held key, freezing, beat ticks written on Esc, and a
// screenshot compared with what the window shows. Needs the show's data in build/data.
#include "devtools/keys.h"
#include "scratch_dir.h"
#include <array>
#include <cstdio>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <vector>

static std::string run_shell(const std::string &script) {
    FILE *pipe = popen(("{ " + script + " ; } 2>&1").c_str(), "r");
    std::string out;
    if (!pipe) return out;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe)) out += buffer.data();
    pclose(pipe);
    return out;
}

struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;   // top row first
};

// The window as ImageMagick's import grabs it, through a binary PPM.
static Image read_ppm(const std::string &name) {
    Image img;
    std::string data = read_file(name);
    std::istringstream in(data);
    std::string magic;
    int maxval = 0;
    in >> magic >> img.w >> img.h >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) return Image();
    img.rgb.assign(data.begin() + in.tellg(), data.end());
    if (img.rgb.size() != size_t(img.w) * img.h * 3) return Image();
    return img;
}

// A BMP as the screenshot writes it, turned to top row first, red first.
static Image read_shot(const std::string &name) {
    Image img;
    std::string data = read_file(name);
    if (data.size() < 54) return img;
    img.w = 640;
    img.h = 480;
    if (data.size() != 54 + size_t(img.w) * img.h * 3) return Image();
    img.rgb.resize(size_t(img.w) * img.h * 3);
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++)
            for (int c = 0; c < 3; c++)
                img.rgb[(size_t(y) * img.w + x) * 3 + c] =
                    uint8_t(data[54 + (size_t(img.h - 1 - y) * img.w + x) * 3 + 2 - c]);
    return img;
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
    if (!file_exists(bin + "/data/vlux_q2_final.ogg") || !file_exists(bin + "/data/loading.jpg"))
        GTEST_SKIP() << "the show's music and pictures are not in " << bin << "/data";
    ScratchDir dir;   // shots and ticks land here; the data is linked in
    std::filesystem::create_directory_symlink(bin + "/data", "data");

    const std::string keys =
        "k() { xdotool key --window $wid \"$@\"; sleep 0.3; }; "
        "xdotool windowfocus --sync $wid; "
        "k Next; k Next; k Next; "
        "xdotool keydown Next; sleep 1.5; xdotool keyup Next; sleep 0.3; "   // held: one seek
        "k Pause; k space; sleep 1; k space; "                                // frozen: equal ticks
        "k y; k r; k s; sleep 1.5; timeout 20 import -window $wid -depth 8 window.ppm; "
        "k Pause; sleep 1; k space; "                                         // running again
        "k Home; k Escape";
    const std::string script =
        "flock " + bin + "/display.lock bash -c '" + bin + "/orbplume --no-dialog --windowed --unattended "
        "2> show.log & pid=$!; "
        "wid=$(timeout 60 xdotool search --sync --pid $pid --name \"V-LUX 2004: Orb Plume\" | head -1); "
        "sleep 3; " + keys + "; wait $pid; echo \"status $?\"'";
    const std::string out = run_shell(script);
    const std::string log = read_file("show.log");
    ASSERT_NE(out.find("status 0"), std::string::npos) << out << log;

    // Three presses and a held key: four seeks, one pattern further each; Home goes back.
    const std::vector<int> seeks = numbers_after(log, "KEYS: seek to ");
    EXPECT_EQ(seeks, (std::vector<int>{ 1, 2, 3, 4, 0 })) << log;

    // The two ticks tapped while frozen are equal; the one after the release is later.
    const std::vector<int> ticks = numbers_after(log, "KEYS: tick ");
    ASSERT_EQ(ticks.size(), 3u) << log;
    EXPECT_EQ(ticks[0], ticks[1]);
    EXPECT_GE(ticks[0], 4 * 64);
    EXPECT_LT(ticks[0], 5 * 64);
    EXPECT_GT(ticks[2], ticks[1] + 4);   // a second at 130 bpm is about 8.7 ticks
    std::ostringstream table;
    table << "static int ticktable[]={\n";
    for (int t : ticks) table << " 64*" << t / 64 << " + " << t % 64 << ",\n";
    table << "};\n";
    EXPECT_EQ(read_file("ticks.inc"), table.str());

    // The screenshot shows what the window shows (the frozen frame with two overlay lines).
    const Image shot = read_shot("shot00000.bmp"), window = read_ppm("window.ppm");
    ASSERT_EQ(shot.rgb.size(), 640u * 480 * 3) << log;
    ASSERT_EQ(window.w, 640) << out;
    ASSERT_EQ(window.h, 480);
    size_t close = 0, varied = 0;
    for (size_t i = 0; i < shot.rgb.size(); i += 3) {
        bool near = true;
        for (int c = 0; c < 3; c++) near = near && std::abs(shot.rgb[i + c] - window.rgb[i + c]) <= 24;
        close += near;
        varied += shot.rgb[i] != shot.rgb[0] || shot.rgb[i + 1] != shot.rgb[1];
    }
    EXPECT_GT(close, size_t(640 * 480) * 97 / 100);
    EXPECT_GT(varied, 500u);   // not a blank picture: at least the overlay text
}
