// tests/audio/ogg_fixture.h - short Ogg Vorbis files made on the spot with libvorbisenc,
// and a fixture that leaves the music closed and the quit counter at 0 after each test.
#pragma once
#include "platform/settings.h"
#include "audio/music.h"
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include <unistd.h>
#include <vector>

constexpr double TEST_PI = 3.141592653589793;

// Test files carry the process id (ctest runs tests side by side) and go at exit.
inline struct TestFiles {
    std::vector<std::string> paths;
    std::string make(const std::string &name) {
        paths.push_back(::testing::TempDir() + std::to_string(getpid()) + "_" + name);
        return paths.back();
    }
    ~TestFiles() {
        for (const std::string &p : paths) std::remove(p.c_str());
    }
} test_files;

// Encodes `frames` frames of wave(frame, channel) at `rate` into TempDir()/name; returns the path.
inline std::string write_test_ogg(const std::string &name, long frames, int channels, int rate,
                                  const std::function<float(long, int)> &wave) {
    std::string path = test_files.make(name);
    std::FILE *out = std::fopen(path.c_str(), "wb");
    vorbis_info vi;
    vorbis_info_init(&vi);
    vorbis_encode_init_vbr(&vi, channels, rate, 0.4f);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    ogg_page og;
    ogg_packet op, head, comments, codebooks;
    auto write_page = [&] {
        std::fwrite(og.header, 1, size_t(og.header_len), out);
        std::fwrite(og.body, 1, size_t(og.body_len), out);
    };
    vorbis_analysis_headerout(&vd, &vc, &head, &comments, &codebooks);
    ogg_stream_packetin(&os, &head);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    while (ogg_stream_flush(&os, &og)) write_page();
    auto drain = [&] {
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) write_page();
            }
        }
    };
    for (long at = 0; at < frames; at += 1024) {
        int n = int(std::min(1024L, frames - at));
        float **buffer = vorbis_analysis_buffer(&vd, n);
        for (int i = 0; i < n; i++)
            for (int c = 0; c < channels; c++) buffer[c][i] = wave(at + i, c);
        vorbis_analysis_wrote(&vd, n);
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    while (ogg_stream_flush(&os, &og)) write_page();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    std::fclose(out);
    return path;
}

// A sine of the given amplitude, the same on every channel.
inline std::function<float(long, int)> sine_wave(double hz, double amplitude, int rate = 44100) {
    return [=](long i, int) { return float(amplitude * std::sin(2.0 * TEST_PI * hz * double(i) / rate)); };
}

inline float silence(long, int) { return 0.0f; }

// Every test starts and ends with no music open, nothing frozen and no quit request.
class MusicTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { close_music(); reset(); }
    static void reset() {
        music.frozen_time = 0.0f;
        music.required_version = 0.0f;
        app.quit_requests = 0;
        app.unattended = true;
    }
};
