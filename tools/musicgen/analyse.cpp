// tools/musicgen/analyse.cpp - decoding and the band-sum report.
#include "tools/musicgen/analyse.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <kissfft/kiss_fftr.h>        // Required for: kiss_fftr_alloc(), kiss_fftr()
#include <vorbis/vorbisfile.h>        // Required for: ov_fopen(), ov_read_float()
#include "tools/musicgen/dsp.h"

static const int BAND_FIRST[4] = { 0, 16, 64, 128 }, BAND_END[4] = { 16, 64, 128, 512 };

BandAnalyser::BandAnalyser() {
    cfg = kiss_fftr_alloc(FFT_SIZE, 0, nullptr, nullptr);
    window_sum = 0.0f;
    for (int i = 0; i < FFT_SIZE; i++) {   // periodic Hann
        window[i] = (float)(0.5 - 0.5 * std::cos(2.0 * PI * i / FFT_SIZE));
        window_sum += window[i];
    }
}
BandAnalyser::~BandAnalyser() { kiss_fftr_free(cfg); }

void BandAnalyser::magnitudes(const float *mono, float *mag) {
    float in[FFT_SIZE];
    kiss_fft_cpx out[FFT_SIZE / 2 + 1];
    for (int i = 0; i < FFT_SIZE; i++) in[i] = mono[i] * window[i];
    kiss_fftr((kiss_fftr_cfg)cfg, in, out);
    for (int k = 0; k < FFT_SIZE / 2; k++)
        mag[k] = 2.0f * std::sqrt(out[k].r * out[k].r + out[k].i * out[k].i) / window_sum;
}

void BandAnalyser::sums(const float *mono, float s[4]) {
    float mag[FFT_SIZE / 2];
    magnitudes(mono, mag);
    for (int b = 0; b < 4; b++) {
        s[b] = 0.0f;
        for (int k = BAND_FIRST[b]; k < BAND_END[b]; k++) s[b] += mag[k];
    }
}

bool decode_ogg(const char *path, std::vector<float> &l, std::vector<float> &r) {
    OggVorbis_File vf;
    if (ov_fopen(path, &vf) != 0) return false;
    l.clear(); r.clear();
    int section = 0;
    for (;;) {
        float **pcm;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n <= 0) break;
        int ch = ov_info(&vf, -1)->channels;
        l.insert(l.end(), pcm[0], pcm[0] + n);
        r.insert(r.end(), pcm[ch > 1 ? 1 : 0], pcm[ch > 1 ? 1 : 0] + n);
    }
    ov_clear(&vf);
    return true;
}

std::vector<BandFrame> band_frames(const std::vector<float> &mono) {
    BandAnalyser an;
    std::vector<BandFrame> frames;
    float win[FFT_SIZE];
    for (long p = 0; p <= (long)mono.size(); p += BAND_HOP) {
        for (int i = 0; i < FFT_SIZE; i++) {
            long k = p - FFT_SIZE + i;
            win[i] = k >= 0 ? mono[k] : 0.0f;
        }
        BandFrame f;
        an.sums(win, f.b);
        frames.push_back(f);
    }
    return frames;
}

//---- The report ----
static double frame_t(long k) { return (double)k * BAND_HOP / RATE / (7.3846153846 ); }
static long   t_frame(double t) { return (long)(t * 7.3846153846 * RATE / BAND_HOP + 0.5); }

static float median(std::vector<float> v) {
    if (v.empty()) return 0.0f;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}
static float band_median(const std::vector<BandFrame> &f, double t0, double t1, int b) {
    std::vector<float> v;
    for (long k = t_frame(t0); k < t_frame(t1) && k < (long)f.size(); k++) v.push_back(f[k].b[b]);
    return median(v);
}
static float band_max(const std::vector<BandFrame> &f, double t0, double t1, int b) {
    float m = 0.0f;
    for (long k = t_frame(t0); k <= t_frame(t1) && k < (long)f.size(); k++) m = std::max(m, f[k].b[b]);
    return m;
}
static float product_median(const std::vector<BandFrame> &f, double t0, double t1) {
    std::vector<float> v;
    for (long k = t_frame(t0); k < t_frame(t1) && k < (long)f.size(); k++) v.push_back(f[k].b[1] * f[k].b[2]);
    return median(v);
}
static float product_max(const std::vector<BandFrame> &f, double t0, double t1) {
    float m = 0.0f;
    for (long k = t_frame(t0); k <= t_frame(t1) && k < (long)f.size(); k++) m = std::max(m, f[k].b[1] * f[k].b[2]);
    return m;
}

struct Target { const char *name; double t0, t1; float lo[4], hi[4]; };
static const Target TARGETS[] = {
    { "title",       0.0,  2.0,   { 0, 0.05f, 0, 0 },          { 0.3f, 0.3f, 0.1f, 0.15f } },
    { "intro",       2.0,  3.75,  { 0.4f, 0.05f, 0, 0.05f },   { 1.2f, 0.3f, 0.15f, 0.4f } },
    { "section 1",   4.0,  19.0,  { 0.6f, 0.15f, 0.04f, 0.15f }, { 1.8f, 0.6f, 0.3f, 0.8f } },
    { "breakdown",   19.1, 21.0,  { 0, 0.1f, 0, 0.1f },        { 0.6f, 0.5f, 0.3f, 1.0f } },
    { "section 2",   21.0, 33.0,  { 0.8f, 0.2f, 0.06f, 0.2f }, { 2.0f, 0.7f, 0.4f, 1.0f } },
    { "section 3",   33.0, 44.0,  { 0.6f, 0.2f, 0.05f, 0.15f }, { 1.8f, 0.6f, 0.3f, 0.8f } },
    { "break",       44.0, 45.75, { 0, 0.1f, 0, 0 },           { 0.8f, 0.5f, 0.3f, 0.5f } },
    { "section 4",   46.0, 65.9,  { 0.7f, 0.2f, 0.06f, 0.2f }, { 2.0f, 0.7f, 0.4f, 1.0f } },
    { "section 5",   66.0, 77.5,  { 0.8f, 0.25f, 0.08f, 0.25f }, { 2.2f, 0.8f, 0.5f, 1.2f } },
    { "power-down",  78.0, 79.0,  { 0, 0, 0, 0 },              { 0.6f, 0.4f, 0.2f, 0.3f } },
    { "coda",        79.0, 84.0,  { 0, 0.1f, 0, 0 },           { 0.5f, 0.4f, 0.15f, 0.3f } },
};
static const struct { const char *name; double t0, t1; } SECTIONS[] = {
    { "title", 0, 2 }, { "section 1", 2, 21 }, { "section 2", 21, 33 }, { "section 3", 33, 46 },
    { "section 4", 46, 66 }, { "section 5", 66, 79 }, { "ending", 79, 86 },
};
static const double DRIVING_ACCENTS[] = { 4, 7, 10, 13, 16, 21, 22, 25, 28, 31, 34, 36, 37, 40, 41, 43,
                                          46, 49, 52, 55, 58, 61, 64, 66, 67, 70, 73, 76 };

static double db(double x) { return x > 0 ? 20.0 * std::log10(x) : -999.0; }

int analyse_file(const char *path) {
    std::vector<float> l, r;
    if (!decode_ogg(path, l, r)) { printf("MUSICGEN: cannot decode %s\n", path); return 1; }
    std::vector<float> mono(l.size());
    for (size_t i = 0; i < l.size(); i++) mono[i] = 0.5f * (l[i] + r[i]);
    std::vector<BandFrame> f = band_frames(mono);
    int missed = 0;
    printf("MUSICGEN: %s: %zu frames\n", path, l.size());
    printf("%-11s %8s %8s %7s %7s %7s %7s\n", "section", "peak dB", "RMS dB", "band0", "band1", "band2", "band3");
    for (const auto &s : SECTIONS) {
        long a = (long)(s.t0 * 7.3846153846 * RATE), b = std::min((long)l.size(), (long)(s.t1 * 7.3846153846 * RATE));
        double pk = 0.0, sq = 0.0;
        for (long i = a; i < b; i++) {
            pk = std::max(pk, (double)std::max(std::fabs(l[i]), std::fabs(r[i])));
            sq += 0.5 * ((double)l[i] * l[i] + (double)r[i] * r[i]);
        }
        printf("%-11s %8.2f %8.2f", s.name, db(pk), db(std::sqrt(sq / std::max(1L, b - a))));
        for (int k = 0; k < 4; k++) printf(" %7.3f", band_median(f, s.t0, s.t1, k));
        printf("\n");
        if (db(pk) > -1.0) { printf("  MISS peak above -1 dBFS\n"); missed++; }
    }
    printf("targets (median per band, [lo, hi]):\n");
    for (const Target &t : TARGETS) {
        printf("  %-11s", t.name);
        for (int k = 0; k < 4; k++) {
            float m = band_median(f, t.t0, t.t1, k);
            bool ok = m >= t.lo[k] && m <= t.hi[k];
            printf(" %6.3f%s", m, ok ? "  " : "!!");
            if (!ok) missed++;
        }
        printf("\n");
    }
    printf("accents:\n");
    for (double t : { 23.0, 25.0 }) {
        float m = band_max(f, t, t + 1.0 / 16, 0), local = band_median(f, t - 1, t + 1, 0);
        bool ok = m >= 2.0f && m >= 1.5f * local;
        printf("  cube %.1f: band0 max %.2f, local %.2f %s\n", t, m, local, ok ? "ok" : "MISS");
        missed += !ok;
    }
    {
        bool ok = true;
        printf("  cube 29.0:");
        for (int k = 0; k < 4; k++) {
            float m = band_max(f, 29.0, 29.0 + 1.0 / 16, k), local = band_median(f, 28, 30, k);
            printf(" b%d %.2f/%.2f", k, m, local);
            ok = ok && m >= 1.5f * local && (k != 3 || m >= 1.0f);
        }
        printf(" %s\n", ok ? "ok" : "MISS");
        missed += !ok;
    }
    std::vector<float> all_products;
    for (const BandFrame &x : f) all_products.push_back(x.b[1] * x.b[2]);
    std::sort(all_products.begin(), all_products.end());
    float top1 = all_products[all_products.size() * 99 / 100];
    int weak = 0;
    for (double t : DRIVING_ACCENTS) {
        float m = product_max(f, t, t + 2.0 / 16), local = product_median(f, t - 1, t + 1);
        if (m < 2.0f * local) { printf("  pulse %.0f: band1*band2 max %.3f < 2 x local %.3f MISS\n", t, m, local); weak++; }
    }
    printf("  pulses and flares: %d of %zu below twice their local band1*band2\n", weak, std::size(DRIVING_ACCENTS));
    missed += weak;
    float p76 = product_max(f, 76.0, 76.0 + 2.0 / 16);
    printf("  76.0: band1*band2 %.3f, track top 1%% from %.3f %s\n", p76, top1, p76 >= top1 ? "ok" : "MISS");
    missed += p76 < top1;
    float gap = 0.0f;
    for (int k = 0; k < 4; k++) gap = std::max(gap, band_max(f, 65.9375 + 0.004, 66.0 - 0.004, k));
    printf("  black frame 65.9375: largest band %.3f %s\n", gap, gap < 0.2f ? "ok" : "MISS");
    missed += gap >= 0.2f;
    float tail = 0.0f;
    for (long i = (long)l.size() - RATE / 4; i < (long)l.size(); i++) tail = std::max(tail, std::max(std::fabs(l[i]), std::fabs(r[i])));
    printf("  last 0.25 s: peak %.6f %s\n", tail, tail < 1e-4f ? "ok" : "MISS");
    missed += tail >= 1e-4f;
    printf("MUSICGEN: %d targets missed\n", missed);
    (void)frame_t;
    return missed;
}
