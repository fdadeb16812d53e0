// tools/musicgen/main.cpp - the soundtrack generator, run by the build.
//   musicgen OUT.ogg          render the score, master it and encode it to OUT.ogg
//   musicgen --analyse FILE   decode FILE and report peak, RMS and band sums per section
#include <chrono>
#include <cstdio>
#include <cstring>
#include "tools/musicgen/analyse.h"
#include "tools/musicgen/encode.h"
#include "tools/musicgen/master.h"
#include "tools/musicgen/mix.h"
#include "tools/musicgen/score.h"

static double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "--analyse") == 0) return analyse_file(argv[2]) ? 2 : 0;
    if (argc != 2) {
        fprintf(stderr, "usage: musicgen OUT.ogg | musicgen --analyse FILE.ogg\n");
        return 1;
    }
    auto t0 = std::chrono::steady_clock::now();
    mix.reset();
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
    printf("MUSICGEN: %s, %ld frames: score %.1f s, sends+master %.1f s, encode %.1f s\n", argv[1], TOTAL_FRAMES,
           t_score, t_master - t_score, seconds_since(t0) - t_master);
    return 0;
}
