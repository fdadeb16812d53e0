// tests/export/export_tool_test.cpp - orbplume --export as a user runs it, on the real
// content and music: short stretches to each kind of file, read back and set against
// --render's picture of the same time; refusals; Ctrl-C and SIGTERM part-way.
#include "devtools/video_file.h"   // temporary_video_path()
#include "audio/ogg_fixture.h"     // with_claimed_length()
#include "tool_run.h"
#include "video_reader.h"
#include <gtest/gtest.h>
#include <png.h>
#include <array>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

struct ExportFolder {
    std::string path = ::testing::TempDir() + "orbplume_export_XXXXXX";
    ExportFolder() { mkdtemp(path.data()); }
    ~ExportFolder() { fs::remove_all(path); }
};

static std::vector<unsigned char> read_png_rgb(const std::string &path, int &w, int &h) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
    w = int(image.width);
    h = int(image.height);
    return rgb;
}

static double mean_of(const std::vector<unsigned char> &v) {
    double sum = 0;
    for (unsigned char c : v) sum += c;
    return v.empty() ? 0 : sum / double(v.size());
}

TEST(ExportToolTest, Mp4OfHalfAPatternMatchesTheRenderedPicture) {
    ExportFolder dir;
    const std::string video = dir.path + "/flight.mp4";
    // Section 1 between two beat flashes; 0.5 pattern at 6 fps is 22.2 frames, so 23.
    const ToolRun r = run_orbplume_in(ORBPLUME_BINARY_DIR, "--export " + video + " --size 384x288 --fps 6 --from 2.03125 --to 2.53125");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("EXPORT: 100%  23/23 frames"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("EXPORT: " + video + ": 23 frames 384x288 at 6 fps"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(temporary_video_path(video)));

    const VideoReadBack back = read_video_back(video);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.picture_codec, AV_CODEC_ID_H264);
    EXPECT_EQ(back.sound_codec, AV_CODEC_ID_AAC);
    EXPECT_EQ(back.pictures, 23);
    EXPECT_EQ(back.width, 384);
    EXPECT_EQ(back.height, 288);
    EXPECT_NEAR(back.sound_seconds, 23.0 / 6, 1.0 / 6);

    const ToolRun render = run_orbplume_in(ORBPLUME_BINARY_DIR, "--render 2.03125 --size 384x288 --out " + dir.path + "/pics");
    ASSERT_EQ(render.status, 0) << render.output;
    int w = 0, h = 0;
    const std::vector<unsigned char> still = read_png_rgb(dir.path + "/pics/t002.031.png", w, h);
    ASSERT_EQ(still.size(), back.first_rgb.size());
    EXPECT_GT(mean_of(still), 15.0);   // a real picture, not the black of a missing scene
    double difference = 0;
    for (size_t i = 0; i < still.size(); i++) difference += std::abs(int(still[i]) - int(back.first_rgb[i]));
    EXPECT_LT(difference / double(still.size()), 6.0);
    EXPECT_NEAR(mean_of(back.first_rgb), mean_of(still), 3.0);
}

TEST(ExportToolTest, WebmIsVp9WithOpusAndTheSameTwice) {
    ExportFolder dir;
    const std::string args = " --size 384x288 --fps 4 --from 5.03125 --to 5.28125";   // 1.85 s: 8 frames
    const ToolRun one = run_orbplume_in(ORBPLUME_BINARY_DIR, "--export " + dir.path + "/one.webm" + args);
    ASSERT_EQ(one.status, 0) << one.output;
    const ToolRun two = run_orbplume_in(ORBPLUME_BINARY_DIR, "--export " + dir.path + "/two.webm" + args);
    ASSERT_EQ(two.status, 0) << two.output;
    const VideoReadBack back = read_video_back(dir.path + "/one.webm");
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.format.find("matroska,webm"), 0u);
    EXPECT_EQ(back.picture_codec, AV_CODEC_ID_VP9);
    EXPECT_EQ(back.sound_codec, AV_CODEC_ID_OPUS);
    EXPECT_EQ(back.pictures, 8);
    EXPECT_NEAR(back.sound_seconds, 8.0 / 4, 1.0 / 4);
    EXPECT_GT(mean_of(back.first_rgb), 15.0);
    std::ifstream a(dir.path + "/one.webm", std::ios::binary), b(dir.path + "/two.webm", std::ios::binary);
    const std::string bytes_a((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
    const std::string bytes_b((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(bytes_a == bytes_b) << "the same command gave two different files";
}

TEST(ExportToolTest, RefusalsExitTwoNamingTheProblemAndWriteNothing) {
    ExportFolder dir;
    const std::string plain = dir.path + "/plain", taken = dir.path + "/taken.mp4";
    std::ofstream(plain) << "x";
    fs::create_directory(taken);
    const struct { std::string args, says; } cases[] = {
        { "--export " + dir.path + "/v.avi", ".mp4, .mkv or .webm" },
        { "--export " + plain + "/v.mp4", plain + "/v.mp4" },              // a folder below a plain file
        { "--export " + dir.path + "/v.mp4 --from 87", "--from 87 is past the end of the music" },
        { "--export " + dir.path + "/v.mp4 --to 99", "--to 99 is past the end of the music" },
        { "--export " + dir.path + "/v.mp4 --from 3 --to 2", "--to must come after --from" },
        { "--export " + dir.path + "/v.mp4 --fps 0", "--fps wants" },
        { "--export " + dir.path + "/v.mp4 --size 320x240", "--size wants even sizes" },
        { "--export " + dir.path + "/v.mp4 --size 641x480", "--size wants even sizes" },
        { "--render 2 --out " + dir.path + " --fps 30", "--fps goes with --export" },
        { "--export " + taken + " --to 0.1", "cannot export to " + taken + ": a folder" },   // before any frame
        { "--export " + dir.path + "/v.mp4 --render 2 --out " + dir.path, "--export and --render cannot be used together" },
    };
    for (const auto &c : cases) {
        const ToolRun r = run_orbplume_in(ORBPLUME_BINARY_DIR, c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.output;
        EXPECT_EQ(r.output.rfind("orbplume: ", 0), 0u) << r.output;
        EXPECT_NE(r.output.substr(0, r.output.find('\n')).find(c.says), std::string::npos) << r.output;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);   // plain and taken.mp4
    EXPECT_TRUE(fs::is_empty(taken));
}

// The track as a hostile or careless user might leave it in the data folder: a folder, a
// named pipe, a valid file whose last page claims 2^60 samples. Each is refused at once
// (exit 2, before the content is built), naming the file and the reason; none crashes or hangs.
TEST(ExportToolTest, AnUnusableTrackIsRefusedNamingItBeforeAnyFrame) {
    ExportFolder dir;
    std::ifstream in(ORBPLUME_BINARY_DIR "/data/vlux_q2_final.ogg", std::ios::binary);
    const std::string track((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(track.size(), 1000u);
    const struct { const char *name; std::function<void(const std::string &)> make; const char *says; } cases[] = {
        { "folder", [](const std::string &p) { fs::create_directory(p); }, "a folder, not a file" },
        { "pipe", [](const std::string &p) { mkfifo(p.c_str(), 0644); }, "a named pipe, not a file" },
        { "claim", [&](const std::string &p) { std::ofstream(p, std::ios::binary) << with_claimed_length(track, 1LL << 60); },
          "too large" },
    };
    for (const auto &c : cases) {
        const std::string root = dir.path + "/" + c.name;
        fs::create_directories(root + "/data");
        fs::create_symlink(ORBPLUME_BINARY_DIR "/data/loading.jpg", root + "/data/loading.jpg");
        c.make(root + "/data/vlux_q2_final.ogg");
        const ToolRun r = run_shell_in(root, "timeout 60 " ORBPLUME_BINARY_DIR "/orbplume --export v.mp4");
        EXPECT_EQ(r.status, 2) << c.name << "\n" << r.output;
        EXPECT_EQ(r.output.rfind("orbplume: cannot read the music data/vlux_q2_final.ogg: " + std::string(c.says), 0), 0u)
            << c.name << "\n" << r.output;
        EXPECT_FALSE(fs::exists(root + "/v.mp4.partial")) << c.name;
    }
}

// A disk that fills up part-way (here a file size limit, which fails a write the same way):
// the message names the video and the system's reason, and nothing is left behind.
TEST(ExportToolTest, AFullDiskNamesTheVideoAndTheReason) {
    ExportFolder dir;
    const std::string video = dir.path + "/full.mp4";
    const ToolRun r = run_shell_in(ORBPLUME_BINARY_DIR, "trap '' XFSZ; ulimit -f 24; ./orbplume --export " + video +
                                                            " --size 384x288 --fps 10 --from 2.03125 --to 2.53125");
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("orbplume: cannot export " + video + ": "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("File too large"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(temporary_video_path(video)));
    EXPECT_FALSE(fs::exists(video));
}

// Starts an export in the background with its output in log; returns its process id.
static pid_t start_export(const std::string &video, const std::string &log) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        if (chdir(ORBPLUME_BINARY_DIR) != 0) _exit(99);
        execl("./orbplume", "orbplume", "--export", video.c_str(), "--size", "384x288", "--fps", "5", "--from",
              "2.03125", "--to", "4", nullptr);
        _exit(98);
    }
    return pid;
}

static bool wait_for(const std::function<bool()> &ready) {
    for (int i = 0; i < 1200; i++) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

static std::string read_text(const std::string &path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ExportToolTest, CtrlCOrSigtermPartWayRemoveTheUnfinishedFile) {
    ExportFolder dir;
    // SIGTERM and SIGHUP (the terminal closed) while the content is still being built,
    // Ctrl-C once frames are being encoded.
    for (const int signal : { SIGTERM, SIGHUP, SIGINT }) {
        SCOPED_TRACE(signal);
        const std::string video = dir.path + "/stopped.mkv", log = dir.path + "/log";
        const pid_t pid = start_export(video, log);
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(wait_for([&] { return fs::exists(temporary_video_path(video)); }));
        if (signal == SIGINT) {
            ASSERT_TRUE(wait_for([&] { return read_text(log).find("10%") != std::string::npos; }));
        }
        kill(pid, signal);
        int raw = 0;
        ASSERT_EQ(waitpid(pid, &raw, 0), pid);
        const std::string output = read_text(log);
        ASSERT_TRUE(WIFEXITED(raw)) << output;
        EXPECT_EQ(WEXITSTATUS(raw), 128 + signal) << output;
        EXPECT_NE(output.find(" not written"), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(temporary_video_path(video)));
        EXPECT_FALSE(fs::exists(video));
    }
}

// Closing the terminal (SIGHUP) stops --render like Ctrl-C: at the next frame, saying so,
// by that signal, with no half-written picture left under any name.
TEST(RenderToolTest, SighupStopsAtTheNextFrameAndLeavesNoPartialPicture) {
    ExportFolder dir;
    const std::string log = dir.path + "/log", out = dir.path + "/pics";
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        if (chdir(ORBPLUME_BINARY_DIR) != 0) _exit(99);
        execl("./orbplume", "orbplume", "--render", "2.03125:40:0.5", "--size", "384x288", "--out", out.c_str(), nullptr);
        _exit(98);
    }
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(wait_for([&] { return read_text(log).find("RENDER: ") != std::string::npos; }));
    kill(pid, SIGHUP);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    const std::string output = read_text(log);
    ASSERT_TRUE(WIFSIGNALED(raw)) << output;
    EXPECT_EQ(WTERMSIG(raw), SIGHUP);
    EXPECT_NE(output.find("orbplume: stopped by Hangup"), std::string::npos) << output;
    for (const auto &e : fs::directory_iterator(out)) EXPECT_EQ(e.path().extension(), ".png") << e.path();
}
