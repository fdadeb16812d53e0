// audio/spectrum.h - the music's spectrum and the four band sums the pictures pulse with.
// Once per frame the timeline calls update_band_sums: the last 1024 mono samples the
// listener heard (or, offline, the decoded samples up to the virtual time) go through a
// Hann-windowed FFT into 512 magnitudes, scaled so that a full-scale sine centred on a bin
// reads 1.0 there, and four plain sums over fixed bin ranges become the band sums.
#pragma once

constexpr int SPECTRUM_WINDOW = 1024;   // mono samples per analysis
constexpr int SPECTRUM_BINS   = 512;    // magnitudes, bin k at k x rate / 1024 Hz
constexpr int BAND_COUNT      = 4;
constexpr int BAND_FIRST_BIN[BAND_COUNT + 1] = { 0, 16, 64, 128, 512 };   // band i: [first[i], first[i+1])

struct SpectrumGlobals {
    float magnitudes[SPECTRUM_BINS];    // the latest spectrum
    float band_sums[BAND_COUNT];        // bass, low middle, high middle, treble: read by scenes and passes
};
extern SpectrumGlobals spectrum;   // written only by update_band_sums and clear_band_sums

void compute_spectrum(const float *mono, float *magnitudes);   // 1024 samples -> 512 magnitudes
void sum_bands(const float *magnitudes, float *sums);          // four sums over the bin ranges, ascending
void update_band_sums();                                       // spectrum of what plays now -> spectrum.band_sums
void clear_band_sums();                                        // all four sums (and the spectrum) to 0
