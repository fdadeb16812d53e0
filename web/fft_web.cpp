// web/fft_web.cpp - the real FFT behind the spectrum in the browser build, with KISS FFT's
// interface (Debian ships its header, but the library only as a native shared object):
// an iterative radix-2 transform of the N real samples, giving bins 0..N/2. The state is one
// malloc'd block, so that kiss_fftr_free (free) releases it, as with the library.
#include <kissfft/kiss_fftr.h>
#include <cmath>
#include <cstdlib>

struct kiss_fftr_state {
    int n;
    double *re, *im;   // work arrays inside the same block
};

kiss_fftr_cfg kiss_fftr_alloc(int nfft, int inverse_fft, void *, size_t *) {
    if (inverse_fft || nfft < 2 || (nfft & (nfft - 1))) return nullptr;   // forward, powers of two only
    void *block = std::malloc(sizeof(kiss_fftr_state) + 2 * sizeof(double) * size_t(nfft));
    if (!block) return nullptr;
    kiss_fftr_cfg cfg = static_cast<kiss_fftr_cfg>(block);
    cfg->n = nfft;
    cfg->re = reinterpret_cast<double *>(cfg + 1);
    cfg->im = cfg->re + nfft;
    return cfg;
}

void kiss_fftr(kiss_fftr_cfg cfg, const kiss_fft_scalar *timedata, kiss_fft_cpx *freqdata) {
    const int n = cfg->n;
    double *re = cfg->re, *im = cfg->im;
    for (int i = 0, j = 0; i < n; i++) {   // bit-reversed order
        re[j] = timedata[i];
        im[j] = 0.0;
        int bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
    }
    for (int len = 2; len <= n; len <<= 1) {
        const int half = len / 2;
        for (int k = 0; k < half; k++) {
            const double angle = -2.0 * 3.14159265358979323846 * k / len;
            const double wr = std::cos(angle), wi = std::sin(angle);
            for (int start = 0; start < n; start += len) {
                const int a = start + k, b = a + half;
                const double vr = re[b] * wr - im[b] * wi, vi = re[b] * wi + im[b] * wr;
                re[b] = re[a] - vr;
                im[b] = im[a] - vi;
                re[a] += vr;
                im[a] += vi;
            }
        }
    }
    for (int k = 0; k <= n / 2; k++) {
        freqdata[k].r = kiss_fft_scalar(re[k]);
        freqdata[k].i = kiss_fft_scalar(im[k]);
    }
}
