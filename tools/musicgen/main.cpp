// tools/musicgen/main.cpp - the soundtrack generator, run by the build.
//   musicgen OUT.ogg          render the score, master it and encode it to OUT.ogg
//   musicgen --analyse FILE   decode FILE and report peak, RMS and band sums per section
//   musicgen OUT.ogg --kick-stem KICK.wav   also write the kicks alone, for onset-grid checks
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include "tools/musicgen/analyse.h"
#include "tools/musicgen/encode.h"
#include "tools/musicgen/master.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

static double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// 16-bit mono WAV of a float buffer (the kick stem); plain RIFF, little-endian host.
static bool write_wav(const char *path, const std::vector<float> &x) {
    FILE *f = fopen(path, "wb");
    if (!f) return false;
    uint32_t data = (uint32_t)x.size() * 2, riff = 36 + data, fmt_len = 16, rate = RATE, bytes = RATE * 2;
    uint16_t pcm = 1, channels = 1, align = 2, bits = 16;
    fwrite("RIFF", 1, 4, f); fwrite(&riff, 4, 1, f); fwrite("WAVEfmt ", 1, 8, f);
    fwrite(&fmt_len, 4, 1, f); fwrite(&pcm, 2, 1, f); fwrite(&channels, 2, 1, f);
    fwrite(&rate, 4, 1, f); fwrite(&bytes, 4, 1, f); fwrite(&align, 2, 1, f); fwrite(&bits, 2, 1, f);
    fwrite("data", 1, 4, f); fwrite(&data, 4, 1, f);
    for (float v : x) {
        float c = v > 1.0f ? 1.0f : v < -1.0f ? -1.0f : v;
        int16_t s = (int16_t)(c * 32767.0f);
        fwrite(&s, 2, 1, f);
    }
    return fclose(f) == 0;
}

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "--analyse") == 0) return analyse_file(argv[2]) ? 2 : 0;
    const char *kick_path = argc == 4 && strcmp(argv[2], "--kick-stem") == 0 ? argv[3] : nullptr;
    if (argc != 2 && !kick_path) {
        fprintf(stderr, "usage: musicgen OUT.ogg [--kick-stem KICK.wav] | musicgen --analyse FILE.ogg\n");
        return 1;
    }
    auto t0 = std::chrono::steady_clock::now();
    mix.reset();
    if (kick_path) mix.kick_stem.assign(TOTAL_FRAMES, 0.0f);
    render_score();
    double t_score = seconds_since(t0);
    run_sends();
    run_master(master_automation(), MASTER_GAIN);
    double t_master = seconds_since(t0);
    for (long i = 0; i < TOTAL_FRAMES; i++)
        if (!(mix.l[i] == mix.l[i]) || !(mix.r[i] == mix.r[i])) { fprintf(stderr, "MUSICGEN: NaN at frame %ld\n", i); return 1; }
    if (!write_ogg(argv[1], mix.l.data(), mix.r.data(), TOTAL_FRAMES)) {
        fprintf(stderr, "MUSICGEN: cannot write %s\n", argv[1]);
        return 1;
    }
    if (kick_path && !write_wav(kick_path, mix.kick_stem)) {
        fprintf(stderr, "MUSICGEN: cannot write %s\n", kick_path);
        return 1;
    }
    printf("MUSICGEN: %s, %ld frames: score %.1f s, sends+master %.1f s, encode %.1f s\n", argv[1], TOTAL_FRAMES,
           t_score, t_master - t_score, seconds_since(t0) - t_master);
    return 0;
}
