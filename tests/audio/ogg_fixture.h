// tests/audio/ogg_fixture.h - short Ogg Vorbis files made on the spot with libvorbisenc,
// and a fixture that leaves the music closed and the quit counter at 0 after each test.
#pragma once
#include "platform/settings.h"
#include "audio/music.h"
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

constexpr double TEST_PI = 3.141592653589793;

// Test files go in the running test's own temporary folder (tests/test_main.cpp), which is
// removed when the test ends: each test writes the tracks it plays.
inline struct TestFiles {
    std::string make(const std::string &name) { return ::testing::TempDir() + name; }
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

// The stream's bytes with the sample count on its last page changed to `claimed` and that
// page's checksum made good again: a valid file that lies about its length.
inline std::string with_claimed_length(const std::string &ogg, long long claimed) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char *buffer = ogg_sync_buffer(&sync, long(ogg.size()));
    std::memcpy(buffer, ogg.data(), ogg.size());
    ogg_sync_wrote(&sync, long(ogg.size()));
    ogg_page page;
    size_t at = 0, last = 0;
    long step;
    while ((step = ogg_sync_pageseek(&sync, &page)) != 0) {
        if (step > 0) last = at;
        at += size_t(step < 0 ? -step : step);
    }
    ogg_sync_clear(&sync);
    std::string out = ogg;
    unsigned char *header = reinterpret_cast<unsigned char *>(&out[last]);
    for (int i = 0; i < 8; i++) header[6 + i] = (unsigned char)((unsigned long long)claimed >> (8 * i));
    const int segments = header[26];
    long body = 0;
    for (int i = 0; i < segments; i++) body += header[27 + i];
    ogg_page fixed = { header, 27 + segments, header + 27 + segments, body };
    ogg_page_checksum_set(&fixed);
    return out;
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
