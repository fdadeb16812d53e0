// tools/musicgen/analyse.h - what the player sees of the track: decoding, the per-frame
// band sums (1024-frame Hann FFT of the mono mix, 512 magnitudes where a full-scale sine
// reads 1.0 in its bin, summed over bins 0-15, 16-63, 64-127, 128-511), and a per-section
// report of peak, RMS and band medians against the targets.
#pragma once
#include <vector>

constexpr int FFT_SIZE  = 1024;
constexpr int BAND_HOP  = 735;   // one analysis per 60 Hz frame

struct BandAnalyser {
    BandAnalyser();
    ~BandAnalyser();
    void sums(const float *mono, float out[4]);   // mono = the FFT_SIZE frames ending at the play position
    void magnitudes(const float *mono, float *mag512);
    void *cfg;                                    // kiss_fftr configuration
    float window[FFT_SIZE];
    float window_sum;
};

bool decode_ogg(const char *path, std::vector<float> &l, std::vector<float> &r);   // whole file
struct BandFrame { float b[4]; };
std::vector<BandFrame> band_frames(const std::vector<float> &mono);   // one per BAND_HOP, from frame 0
int  analyse_file(const char *path);   // prints the report; returns the number of targets missed
