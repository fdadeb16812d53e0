// tests/browser/web_page_test.cpp - the browser build as a visitor sees it, in headless
// Chromium (software WebGL): the page drawn at ten show times over all five sections against
// the native offline renderer at the same times, thumbnail for thumbnail with the reference
// frames' tolerance; a console free of GL errors and missing functions; and the music's clock
// advancing once the show is started (with reduced flashing). Needs build-web/ (scripts/web; scripts/test builds it);
// registered only where emcc and chromium are installed. tests/web/page_run.py serves the page
// on 127.0.0.1 and stops the browser and itself.
#include "thumbnails.h"   // frame_name(), read_png(), thumbnail(), compare(), the limits
#include <gtest/gtest.h>
#include <png.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Two per section, off the beats.
static const char *const TIMES = "5.03125,13.40625,21.53125,27.71875,36.53125,44.28125,51.03125,60.53125,68.53125,75.53125";

static std::string read_file(const fs::path &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

static int run(const std::string &command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

class WebPage : public ::testing::Test {
protected:
    const fs::path source = ORBPLUME_SOURCE_DIR, binary = ORBPLUME_BINARY_DIR;
    const fs::path page = source / "build-web", out = binary / "web-page";
    void SetUp() override {
        ASSERT_TRUE(fs::exists(page / "index.html")) << "no browser build: run scripts/web";
        fs::remove_all(out);
        fs::create_directories(out);
    }
    int open_page(const std::string &query, const fs::path &dir, int timeout_s) {
        return run("python3 '" + (source / "tests/web/page_run.py").string() + "' '" + page.string() + "' '" +
                   dir.string() + "' '" + query + "' --timeout " + std::to_string(timeout_s));
    }
};

// The console of a page that drew: no GL error, no missing function, no stop.
static void expect_clean_console(const std::string &console) {
    for (const char *bad : { "GL error", "GL_INVALID", "missing function", "FATAL", "Aborted", "TODO", "error:" })
        EXPECT_EQ(console.find(bad), std::string::npos) << "console has \"" << bad << "\":\n" << console;
}

TEST_F(WebPage, TenShowTimesMatchTheOfflineRenderer) {
    const fs::path native = out / "native", web = out / "web";
    ASSERT_EQ(run("'" + (binary / "orbplume").string() + "' --render " + TIMES + " --out '" + native.string() +
                  "' > /dev/null"), 0);
    ASSERT_EQ(open_page(std::string("t=") + TIMES, web, 600), 0) << read_file(web / "console.txt");
    expect_clean_console(read_file(web / "console.txt"));

    std::stringstream list(TIMES);
    std::string item;
    int compared = 0;
    while (std::getline(list, item, ',')) {
        const std::string name = frame_name(std::stof(item));
        Picture a, b;
        ASSERT_TRUE(read_png((native / name).string(), FRAME_W, FRAME_H, a)) << name;
        ASSERT_TRUE(read_png((web / name).string(), FRAME_W, FRAME_H, b)) << "the page gave no picture for " << name;
        const Difference d = compare(thumbnail(a), thumbnail(b));
        const double mean = d.mean, share = d.share;
        std::printf("%s: mean difference %.3f, %.2f %% of thumbnail pixels off\n", name.c_str(), mean, share * 100);
        EXPECT_LE(mean, MEAN_LIMIT) << name << ": mean difference " << mean;
        EXPECT_LE(share, SHARE_LIMIT) << name << ": " << share * 100 << " % of thumbnail pixels off";
        compared++;
    }
    EXPECT_EQ(compared, 10);
}

// Played with "Reduce flashing" ticked, so its pass runs in the browser too: the limiter reads
// the picture back and blends the last one over it, and the console must stay clean.
TEST_F(WebPage, StartedShowFollowsTheMusicsClock) {
    const fs::path dir = out / "live";
    ASSERT_EQ(open_page("autostart&gentle", dir, 300), 0) << read_file(dir / "console.txt");
    expect_clean_console(read_file(dir / "console.txt"));
    // "clock A B": the show time read at the start and again a second later.
    const std::string events = read_file(dir / "events.txt");
    const size_t at = events.find("clock ");
    ASSERT_NE(at, std::string::npos) << events;
    double first = -1, second = -1;
    ASSERT_EQ(std::sscanf(events.c_str() + at, "clock %lf %lf", &first, &second), 2) << events;
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 0.1) << "the show starts at the music's start";
    EXPECT_GT(second, first) << "the music's clock does not advance";
}

TEST_F(WebPage, BadShowTimeStopsThePageWithAMessage) {
    const fs::path dir = out / "bad";
    EXPECT_NE(open_page("t=abc", dir, 120), 0);
    EXPECT_NE(read_file(dir / "console.txt").find("?t= takes show times"), std::string::npos)
        << read_file(dir / "console.txt");
}
