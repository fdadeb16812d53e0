// audio/spectrum.cpp - KISS FFT of the heard samples and the band sums.
#include "audio/spectrum.h"
#include "audio/music.h"
#include <kissfft/kiss_fftr.h>   // Required for: kiss_fftr_alloc, kiss_fftr
#include <cmath>                 // Required for: std::cos, std::sqrt

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
SpectrumGlobals spectrum;

static struct {
    kiss_fftr_cfg fft;                // real FFT of SPECTRUM_WINDOW points, made on first use
    float window[SPECTRUM_WINDOW];    // periodic Hann weights
} analyser;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static void make_analyser() {
    analyser.fft = kiss_fftr_alloc(SPECTRUM_WINDOW, 0, nullptr, nullptr);
    for (int i = 0; i < SPECTRUM_WINDOW; i++)
        analyser.window[i] = float(0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / SPECTRUM_WINDOW));
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void compute_spectrum(const float *mono, float *magnitudes) {
    if (!analyser.fft) make_analyser();
    float shaped[SPECTRUM_WINDOW];
    kiss_fft_cpx bins[SPECTRUM_WINDOW / 2 + 1];
    for (int i = 0; i < SPECTRUM_WINDOW; i++) shaped[i] = mono[i] * analyser.window[i];
    kiss_fftr(analyser.fft, shaped, bins);
    // A sine of amplitude A centred on bin k gives |X_k| = A x N / 4 through the Hann window.
    const float scale = 4.0f / SPECTRUM_WINDOW;
    for (int k = 0; k < SPECTRUM_BINS; k++)
        magnitudes[k] = std::sqrt(bins[k].r * bins[k].r + bins[k].i * bins[k].i) * scale;
}

void sum_bands(const float *magnitudes, float *sums) {
    for (int b = 0; b < BAND_COUNT; b++) {
        sums[b] = 0.0f;
        for (int k = BAND_FIRST_BIN[b]; k < BAND_FIRST_BIN[b + 1]; k++) sums[b] += magnitudes[k];
    }
}

void update_band_sums() {
    float mono[SPECTRUM_WINDOW];
    copy_music_window(mono, SPECTRUM_WINDOW);
    compute_spectrum(mono, spectrum.magnitudes);
    sum_bands(spectrum.magnitudes, spectrum.band_sums);
}

void clear_band_sums() {
    for (float &m : spectrum.magnitudes) m = 0.0f;
    for (float &s : spectrum.band_sums) s = 0.0f;
}
