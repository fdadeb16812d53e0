// tests/export/video_file_test.cpp - the video writer on made-up pictures and sound, read
// back with FFmpeg's decoders: codecs and containers, lengths, colours, the index at the
// front of an MP4, bit-exact repeats, and files that must never be left half-written.
#include "devtools/video_file.h"
#include "video_reader.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

constexpr int W = 96, H = 64, FPS = 30, RATE = 44100;

struct TempFolder {
    std::string path = ::testing::TempDir() + "orbplume_video_XXXXXX";
    TempFolder() { mkdtemp(path.data()); }
    ~TempFolder() { fs::remove_all(path); }
};

// Picture k: a bar moving over a colour ramp, bottom row first as glReadPixels gives it.
static std::vector<unsigned char> test_picture(int k) {
    std::vector<unsigned char> rgb(size_t(W) * H * 3);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            unsigned char *p = &rgb[(size_t(y) * W + x) * 3];
            const bool bar = (x / 8) == (k % (W / 8));
            p[0] = (unsigned char)(x * 255 / W);
            p[1] = (unsigned char)(y * 255 / H);   // y = 0 is the bottom row: dark green there
            p[2] = bar ? 255 : 40;
        }
    return rgb;
}

// Writes frames pictures and sound_frames samples of a 440 Hz tone; "" or the failure.
static std::string write_test_video(const std::string &path, int frames, long long sound_frames) {
    std::string error;
    VideoFile *file = open_video_file({ path, W, H, FPS, RATE }, error);
    if (!file) return error;
    long long sent = 0;
    for (int k = 0; k < frames; k++) {
        if (!add_video_picture(file, test_picture(k).data(), error)) return error;
        const long long until = std::min(sound_frames, (long long)(k + 1) * RATE / FPS);
        std::vector<float> tone;
        for (; sent < until; sent++) {
            const float v = 0.5f * float(std::sin(2 * M_PI * 440.0 * double(sent) / RATE));
            tone.push_back(v);
            tone.push_back(-v);
        }
        if (!add_video_sound(file, tone.data(), int(tone.size() / 2), error)) return error;
    }
    return finish_video_file(file, error) ? "" : error;
}

static std::string file_bytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(VideoFileTest, EachContainerHoldsItsCodecsWithSoundAsLongAsThePictures) {
    TempFolder dir;
    struct Case { const char *name; AVCodecID picture, sound; int rate; };
    for (const Case &c : { Case{ "a.mp4", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, 44100 },
                           Case{ "b.mkv", AV_CODEC_ID_VP9, AV_CODEC_ID_OPUS, 48000 },
                           Case{ "c.WebM", AV_CODEC_ID_VP9, AV_CODEC_ID_OPUS, 48000 } }) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path + "/" + c.name;
        const int frames = 15;
        ASSERT_EQ(write_test_video(path, frames, (long long)frames * RATE / FPS), "");
        EXPECT_FALSE(fs::exists(temporary_video_path(path)));
        const VideoReadBack r = read_video_back(path);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.kinds, (std::vector<AVMediaType>{ AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO }));
        EXPECT_EQ(r.picture_codec, c.picture);
        EXPECT_EQ(r.sound_codec, c.sound);
        EXPECT_EQ(r.width, W);
        EXPECT_EQ(r.height, H);
        EXPECT_EQ(r.pixel_format, AV_PIX_FMT_YUV420P);
        EXPECT_NEAR(r.fps, FPS, 0.01);
        EXPECT_EQ(r.pictures, frames);
        EXPECT_EQ(r.sound_rate, c.rate);
        EXPECT_EQ(r.sound_channels, 2);
        EXPECT_NEAR(r.sound_seconds, double(frames) / FPS, 0.002);   // cut to the pictures, not a frame off
        EXPECT_GE(r.sound_samples + 1, (long long)(r.sound_seconds * r.sound_rate));   // and all of it decodes
        EXPECT_NEAR(r.picture_start, 0.0, 1e-3);
        EXPECT_NEAR(r.sound_start, 0.0, 1e-3);

        // The first picture, top row first now: colours within compression's reach, the right way up.
        ASSERT_EQ(r.first_rgb.size(), size_t(W) * H * 3);
        const std::vector<unsigned char> want = test_picture(0);
        double error = 0;
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
                for (int k = 0; k < 3; k++)
                    error += std::abs(r.first_rgb[(size_t(y) * W + x) * 3 + k] - want[(size_t(H - 1 - y) * W + x) * 3 + k]);
        EXPECT_LT(error / (double(W) * H * 3), 8.0);
        fs::remove(path);
    }
}

TEST(VideoFileTest, Mp4HasItsIndexBeforeTheData) {
    TempFolder dir;
    const std::string path = dir.path + "/web.mp4";
    ASSERT_EQ(write_test_video(path, 10, 10 * RATE / FPS), "");
    long moov, mdat;
    mp4_box_offsets(path, moov, mdat);
    ASSERT_GE(moov, 0);
    ASSERT_GE(mdat, 0);
    EXPECT_LT(moov, mdat);
}

TEST(VideoFileTest, SoundIsPaddedOrCutToThePictures) {
    TempFolder dir;
    for (const long long sound : { 0LL, 12345LL, 3LL * RATE }) {   // none, too little, far too much
        SCOPED_TRACE(sound);
        const std::string path = dir.path + "/s.mkv";
        ASSERT_EQ(write_test_video(path, 12, sound), "");
        const VideoReadBack r = read_video_back(path);
        EXPECT_EQ(r.pictures, 12);
        EXPECT_NEAR(r.sound_seconds, 12.0 / FPS, 1.0 / FPS);
    }
}

TEST(VideoFileTest, TheSameInputGivesTheSameBytes) {
    TempFolder dir;
    for (const char *ext : { ".mp4", ".webm" }) {
        SCOPED_TRACE(ext);
        ASSERT_EQ(write_test_video(dir.path + "/one" + ext, 8, 8 * RATE / FPS), "");
        ASSERT_EQ(write_test_video(dir.path + "/two" + ext, 8, 8 * RATE / FPS), "");
        const std::string one = file_bytes(dir.path + "/one" + ext);
        EXPECT_GT(one.size(), 1000u);
        EXPECT_TRUE(one == file_bytes(dir.path + "/two" + ext));
    }
}

TEST(VideoFileTest, RefusalsAndAbandonedFilesLeaveNothingBehind) {
    TempFolder dir;
    std::string error;
    EXPECT_EQ(open_video_file({ dir.path + "/x.avi", W, H, FPS, RATE }, error), nullptr);
    EXPECT_NE(error.find(".mp4, .mkv or .webm"), std::string::npos) << error;
    EXPECT_EQ(open_video_file({ dir.path + "/noextension", W, H, FPS, RATE }, error), nullptr);
    EXPECT_EQ(open_video_file({ dir.path + "/odd.mp4", W + 1, H, FPS, RATE }, error), nullptr);
    EXPECT_TRUE(fs::is_empty(dir.path));

    // A folder below a plain file cannot be made or written: the message names the file.
    const std::string plain = dir.path + "/plain";
    std::ofstream(plain) << "x";
    EXPECT_EQ(open_video_file({ plain + "/v.mp4", W, H, FPS, RATE }, error), nullptr);
    EXPECT_NE(error.find(plain + "/v.mp4"), std::string::npos) << error;
    fs::remove(plain);

    // Abandoned part-way: the temporary file goes, and an older video of that name stays as it was.
    const std::string path = dir.path + "/keep.mp4";
    std::ofstream(path) << "older video";
    VideoFile *file = open_video_file({ path, W, H, FPS, RATE }, error);
    ASSERT_NE(file, nullptr) << error;
    EXPECT_TRUE(fs::exists(temporary_video_path(path)));
    for (int k = 0; k < 5; k++) ASSERT_TRUE(add_video_picture(file, test_picture(k).data(), error)) << error;
    abandon_video_file(file);
    EXPECT_FALSE(fs::exists(temporary_video_path(path)));
    EXPECT_EQ(file_bytes(path), "older video");

    // Finished: it replaces the older file.
    ASSERT_EQ(write_test_video(path, 4, 4 * RATE / FPS), "");
    EXPECT_EQ(read_video_back(path).pictures, 4);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}
