// web/fft_web.cpp - the real FFT behind the spectrum in the browser build, with KISS FFT's
// interface (Debian ships its header, but the library only as a native shared object):
// an iterative radix-2 transform of the N real samples, giving bins 0..N/2.
#include <kissfft/kiss_fftr.h>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <vector>

struct kiss_fftr_state {
    int n;
    std::vector<std::complex<double>> work;
};

kiss_fftr_cfg kiss_fftr_alloc(int nfft, int inverse_fft, void *, size_t *) {
    if (inverse_fft || nfft < 2 || (nfft & (nfft - 1))) return nullptr;   // forward, powers of two only
    kiss_fftr_cfg cfg = new kiss_fftr_state;
    cfg->n = nfft;
    cfg->work.resize(size_t(nfft));
    return cfg;
}

void kiss_fftr(kiss_fftr_cfg cfg, const kiss_fft_scalar *timedata, kiss_fft_cpx *freqdata) {
    const int n = cfg->n;
    std::vector<std::complex<double>> &a = cfg->work;
    for (int i = 0, j = 0; i < n; i++) {   // bit-reversed order
        a[size_t(j)] = timedata[i];
        int bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
    }
    for (int len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * 3.14159265358979323846 / len;
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (int start = 0; start < n; start += len) {
            std::complex<double> w(1.0, 0.0);
            for (int k = 0; k < len / 2; k++) {
                const std::complex<double> u = a[size_t(start + k)], v = a[size_t(start + k + len / 2)] * w;
                a[size_t(start + k)] = u + v;
                a[size_t(start + k + len / 2)] = u - v;
                w *= step;
            }
        }
    }
    for (int k = 0; k <= n / 2; k++) {
        freqdata[k].r = kiss_fft_scalar(a[size_t(k)].real());
        freqdata[k].i = kiss_fft_scalar(a[size_t(k)].imag());
    }
}
