#include "spectral/FFT.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>

// The transform is computed with precomputed twiddles (a Stockham radix-4/radix-8 complex transform
// in split real/imaginary arrays) and, for the real blocks of Compute, as a half-length complex
// transform of the even and odd samples followed by one untangling pass. It gives the values of
// the textbook in-place radix-2 recurrence to single-precision accuracy and is several times
// faster. The hot loops are compiled three times, for the baseline, for AVX2/FMA and for AVX-512
// machines, and the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVEX_FFT_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define ORVEX_FFT_CLONES
#endif
#define ORVEX_FFT_INLINE inline __attribute__((always_inline))

// The loops below never alias their inputs and outputs; GCC is told so, as Clang vectorises them
// without the hint and warns about GCC's pragma.
#if defined(__GNUC__) && !defined(__clang__)
#define ORVEX_IVDEP _Pragma("GCC ivdep")
#else
#define ORVEX_IVDEP
#endif

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717959;

bool IsPowerOfTwo(uint64_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

int Log2Exact(uint64_t n)
{
    return 63 - __builtin_clzll(n);
}

// Everything a complex transform of length m (a power of two) needs, built once per length.
// The stages run over the lengths m, m/r1, m/(r1 r2), ... down to 1, each of radix 2, 4 or 8: the
// first always of radix 4 (when m >= 4, so that the real transform can read its block in it), then
// radix 8, with stages of radix 4 or 2 last for what remains: each pass over the data saved is a
// pass through the cache saved. Per stage of radix r and length n, tw holds the 2(r-1) arrays of
// w^p, w^2p, ..., w^(r-1)p (real and imaginary parts, p < n/r) with w = exp(+2 pi i / n).
// rwr/rwi hold exp(+2 pi i k / 2m), k = 0 .. m/2, for untangling a real transform of length 2m.
struct Stage
{
    unsigned radix = 0;
    unsigned n = 0; // length of the sub-transforms the stage combines
    unsigned s = 0; // stride: number of transforms of length n side by side
    size_t tw = 0;  // offset of the stage's twiddles
};

struct Plan
{
    unsigned m = 0;
    std::vector<Stage> stages;
    std::vector<float> tw;
    std::vector<float> rwr, rwi;
};

std::vector<unsigned> Radices(unsigned m)
{
    std::vector<unsigned> radices;
    int bits = Log2Exact(m);
    if (bits >= 2) {
        radices.push_back(4);
        bits -= 2;
    }
    // Four bits left go as two radix-4 stages rather than a radix-8 and a radix-2 one.
    while (bits >= 3 && bits != 4) {
        radices.push_back(8);
        bits -= 3;
    }
    while (bits >= 2) {
        radices.push_back(4);
        bits -= 2;
    }
    if (bits == 1)
        radices.push_back(2);
    return radices;
}

std::unique_ptr<Plan> BuildPlan(unsigned m)
{
    auto plan = std::make_unique<Plan>();
    plan->m = m;
    unsigned n = m, s = 1;
    for (const unsigned r : Radices(m)) {
        const unsigned q = n / r;
        Stage stage{r, n, s, plan->tw.size()};
        if (r > 2) {
            plan->tw.resize(stage.tw + 2 * size_t(r - 1) * q);
            float* t = plan->tw.data() + stage.tw;
            for (unsigned p = 0; p < q; ++p) {
                for (unsigned j = 1; j < r; ++j) {
                    // Reduce the angle index exactly before the trigonometry, so every twiddle is
                    // the correctly rounded value of its angle.
                    const double angle = 2.0 * M_PI * double((uint64_t(j) * p) % n) / double(n);
                    t[(2 * (j - 1)) * size_t(q) + p] = float(std::cos(angle));
                    t[(2 * (j - 1) + 1) * size_t(q) + p] = float(std::sin(angle));
                }
            }
        }
        plan->stages.push_back(stage);
        n = q;
        s *= r;
    }
    const unsigned half = m / 2;
    plan->rwr.resize(half + 1);
    plan->rwi.resize(half + 1);
    for (unsigned k = 0; k <= half; ++k) {
        const double angle = 2.0 * M_PI * double(k) / double(2 * uint64_t(m));
        plan->rwr[k] = float(std::cos(angle));
        plan->rwi[k] = float(std::sin(angle));
    }
    return plan;
}

const Plan& GetPlan(unsigned m)
{
    static std::atomic<const Plan*> slots[32];
    static std::unique_ptr<Plan> owners[32];
    static std::mutex guard;
    const int e = Log2Exact(m);
    if (const Plan* p = slots[e].load(std::memory_order_acquire))
        return *p;
    std::lock_guard<std::mutex> lock(guard);
    if (!owners[e]) {
        owners[e] = BuildPlan(m);
        slots[e].store(owners[e].get(), std::memory_order_release);
    }
    return *owners[e];
}

// Window of one type and length with the sum of its squares, accumulated in single precision in
// sample order as the level correction expects.
struct WindowTable
{
    std::vector<float> w; // empty for the rectangular window
    float sumSquares = 0.0f;
};

int NormalisedWindowType(int type)
{
    return (type >= 1 && type <= 4) ? type : 0;
}

const WindowTable& GetWindow(int type, int n)
{
    static std::atomic<const WindowTable*> slots[5][32];
    static std::unique_ptr<WindowTable> owners[5][32];
    static std::mutex guard;
    const int t = NormalisedWindowType(type);
    const int e = Log2Exact(unsigned(n));
    if (const WindowTable* p = slots[t][e].load(std::memory_order_acquire))
        return *p;
    std::lock_guard<std::mutex> lock(guard);
    if (!owners[t][e]) {
        auto table = std::make_unique<WindowTable>();
        float s = 0.0f;
        if (t != 0)
            table->w.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            const double w = CFFT::WindowValue(t, i, n);
            if (t != 0)
                table->w[size_t(i)] = float(w);
            s = float(s + w * w);
        }
        table->sumSquares = s;
        owners[t][e] = std::move(table);
        slots[t][e].store(owners[t][e].get(), std::memory_order_release);
    }
    return *owners[t][e];
}

// ---- complex transform kernels (split arrays) ----

// Product (tr + i ti)(wr + i SIGN wi).
template <int SIGN>
ORVEX_FFT_INLINE void Twiddle(float tr, float ti, float wr, float wi, float& outr, float& outi)
{
    if constexpr (SIGN > 0) {
        outr = tr * wr - ti * wi;
        outi = ti * wr + tr * wi;
    } else {
        outr = tr * wr + ti * wi;
        outi = ti * wr - tr * wi;
    }
}

// One radix-4 butterfly of the inputs a, b, c, d; the outputs before their twiddles.
template <int SIGN>
ORVEX_FFT_INLINE void Butterfly4(float ar, float ai, float br, float bi, float cr, float ci, float dr, float di,
                                 float* o)
{
    const float apcr = ar + cr, apci = ai + ci, amcr = ar - cr, amci = ai - ci;
    const float bpdr = br + dr, bpdi = bi + di, bmdr = br - dr, bmdi = bi - di;
    // SIGN * i * (b - d)
    const float jr = SIGN > 0 ? -bmdi : bmdi;
    const float ji = SIGN > 0 ? bmdr : -bmdr;
    o[0] = apcr + bpdr;
    o[1] = apci + bpdi;
    o[2] = amcr + jr;
    o[3] = amci + ji;
    o[4] = apcr - bpdr;
    o[5] = apci - bpdi;
    o[6] = amcr - jr;
    o[7] = amci - ji;
}

// Radix-4 stage of length n with stride 1 (the first stage): outputs interleave by four.
template <int SIGN>
ORVEX_FFT_INLINE void StageFirst(unsigned n, const float* __restrict xr, const float* __restrict xi,
                                 float* __restrict yr, float* __restrict yi, const float* __restrict tw)
{
    const size_t q = n / 4;
    const float* w1r = tw;
    const float* w1i = tw + q;
    const float* w2r = tw + 2 * q;
    const float* w2i = tw + 3 * q;
    const float* w3r = tw + 4 * q;
    const float* w3i = tw + 5 * q;
    ORVEX_IVDEP
    for (size_t p = 0; p < q; ++p) {
        float o[8];
        Butterfly4<SIGN>(xr[p], xi[p], xr[p + q], xi[p + q], xr[p + 2 * q], xi[p + 2 * q], xr[p + 3 * q], xi[p + 3 * q],
                         o);
        yr[4 * p] = o[0];
        yi[4 * p] = o[1];
        Twiddle<SIGN>(o[2], o[3], w1r[p], w1i[p], yr[4 * p + 1], yi[4 * p + 1]);
        Twiddle<SIGN>(o[4], o[5], w2r[p], w2i[p], yr[4 * p + 2], yi[4 * p + 2]);
        Twiddle<SIGN>(o[6], o[7], w3r[p], w3i[p], yr[4 * p + 3], yi[4 * p + 3]);
    }
}

// Radix-4 stage of length n with stride s >= 4 (S = s when known at compile time, else 0).
template <int SIGN, unsigned S>
ORVEX_FFT_INLINE void StageStrided(unsigned n, unsigned sRuntime, const float* __restrict xr,
                                   const float* __restrict xi, float* __restrict yr, float* __restrict yi,
                                   const float* __restrict tw)
{
    // Counted in size_t: with a 32-bit counter the compiler has to allow for its wrap-around in
    // the run-time stride's index arithmetic and leaves the inner loop scalar.
    const size_t s = S ? S : sRuntime;
    const size_t q = n / 4;
    const size_t sq = s * q;
    for (size_t p = 0; p < q; ++p) {
        const float w1r = tw[p], w1i = tw[q + p];
        const float w2r = tw[2 * q + p], w2i = tw[3 * q + p];
        const float w3r = tw[4 * q + p], w3i = tw[5 * q + p];
        const size_t in = s * p;
        const size_t out = s * 4 * p;
        const float* __restrict ar = xr + in;
        const float* __restrict ai = xi + in;
        float* __restrict y0r = yr + out;
        float* __restrict y0i = yi + out;
        ORVEX_IVDEP
        for (size_t k = 0; k < s; ++k) {
            float o[8];
            Butterfly4<SIGN>(ar[k], ai[k], ar[k + sq], ai[k + sq], ar[k + 2 * sq], ai[k + 2 * sq], ar[k + 3 * sq],
                             ai[k + 3 * sq], o);
            y0r[k] = o[0];
            y0i[k] = o[1];
            Twiddle<SIGN>(o[2], o[3], w1r, w1i, y0r[k + s], y0i[k + s]);
            Twiddle<SIGN>(o[4], o[5], w2r, w2i, y0r[k + 2 * s], y0i[k + 2 * s]);
            Twiddle<SIGN>(o[6], o[7], w3r, w3i, y0r[k + 3 * s], y0i[k + 3 * s]);
        }
    }
}

// One radix-8 butterfly of the inputs in[0..15] (real and imaginary parts of eight values): two
// radix-4 butterflies of the even and odd inputs, joined through the eighth roots of unity. The
// outputs before their twiddles, real and imaginary parts in turn.
template <int SIGN>
ORVEX_FFT_INLINE void Butterfly8(const float* in, float* o)
{
    constexpr float kHalfRoot2 = 0.70710678118654752f;
    float e[8], d[8];
    Butterfly4<SIGN>(in[0], in[1], in[4], in[5], in[8], in[9], in[12], in[13], e);
    Butterfly4<SIGN>(in[2], in[3], in[6], in[7], in[10], in[11], in[14], in[15], d);
    // d_k times exp(SIGN 2 pi i k / 8), k = 1, 2, 3.
    float r1, i1, r2, i2, r3, i3;
    if constexpr (SIGN > 0) {
        r1 = (d[2] - d[3]) * kHalfRoot2;
        i1 = (d[3] + d[2]) * kHalfRoot2;
        r2 = -d[5];
        i2 = d[4];
        r3 = (-d[6] - d[7]) * kHalfRoot2;
        i3 = (d[6] - d[7]) * kHalfRoot2;
    } else {
        r1 = (d[2] + d[3]) * kHalfRoot2;
        i1 = (d[3] - d[2]) * kHalfRoot2;
        r2 = d[5];
        i2 = -d[4];
        r3 = (d[7] - d[6]) * kHalfRoot2;
        i3 = (-d[6] - d[7]) * kHalfRoot2;
    }
    o[0] = e[0] + d[0];
    o[1] = e[1] + d[1];
    o[8] = e[0] - d[0];
    o[9] = e[1] - d[1];
    o[2] = e[2] + r1;
    o[3] = e[3] + i1;
    o[10] = e[2] - r1;
    o[11] = e[3] - i1;
    o[4] = e[4] + r2;
    o[5] = e[5] + i2;
    o[12] = e[4] - r2;
    o[13] = e[5] - i2;
    o[6] = e[6] + r3;
    o[7] = e[7] + i3;
    o[14] = e[6] - r3;
    o[15] = e[7] - i3;
}

// Radix-8 stage of length n with stride s >= 4 (S = s when known at compile time, else 0).
template <int SIGN, unsigned S>
ORVEX_FFT_INLINE void Stage8(size_t n, size_t sRuntime, const float* __restrict xr, const float* __restrict xi,
                             float* __restrict yr, float* __restrict yi, const float* __restrict tw)
{
    const size_t s = S ? S : sRuntime;
    const size_t q = n / 8;
    const size_t sq = s * q;
    for (size_t p = 0; p < q; ++p) {
        float wr[8], wi[8];
        for (size_t j = 1; j < 8; ++j) {
            wr[j] = tw[(2 * j - 2) * q + p];
            wi[j] = tw[(2 * j - 1) * q + p];
        }
        const float* __restrict ar = xr + s * p;
        const float* __restrict ai = xi + s * p;
        float* __restrict y0r = yr + s * 8 * p;
        float* __restrict y0i = yi + s * 8 * p;
        ORVEX_IVDEP
        for (size_t k = 0; k < s; ++k) {
            float in[16], o[16];
            for (size_t j = 0; j < 8; ++j) {
                in[2 * j] = ar[k + j * sq];
                in[2 * j + 1] = ai[k + j * sq];
            }
            Butterfly8<SIGN>(in, o);
            y0r[k] = o[0];
            y0i[k] = o[1];
            for (size_t j = 1; j < 8; ++j)
                Twiddle<SIGN>(o[2 * j], o[2 * j + 1], wr[j], wi[j], y0r[k + j * s], y0i[k + j * s]);
        }
    }
}

// Final radix-2 stage (length 2, stride s = m/2, no twiddles).
ORVEX_FFT_INLINE void StageRadix2(size_t s, const float* __restrict xr, const float* __restrict xi,
                                  float* __restrict yr, float* __restrict yi)
{
    ORVEX_IVDEP
    for (size_t k = 0; k < s; ++k) {
        const float ar = xr[k], ai = xi[k], br = xr[k + s], bi = xi[k + s];
        yr[k] = ar + br;
        yi[k] = ai + bi;
        yr[k + s] = ar - br;
        yi[k + s] = ai - bi;
    }
}

// Runs the plan's stages from stage first on, ping-ponging between (xr, xi) and (yr, yi); inY
// tells where the input lies. Returns true when the result ends in (yr, yi), false when it is in
// (xr, xi).
template <int SIGN>
ORVEX_FFT_INLINE bool RunStagesFrom(const Plan& plan, size_t first, bool inY, float* xr, float* xi, float* yr,
                                    float* yi)
{
    for (size_t k = first; k < plan.stages.size(); ++k) {
        const Stage& st = plan.stages[k];
        const float* tw = plan.tw.data() + st.tw;
        float* sr = inY ? yr : xr;
        float* si = inY ? yi : xi;
        float* dr = inY ? xr : yr;
        float* di = inY ? xi : yi;
        if (st.radix == 8) {
            if (st.s == 4)
                Stage8<SIGN, 4>(st.n, st.s, sr, si, dr, di, tw);
            else
                Stage8<SIGN, 0>(st.n, st.s, sr, si, dr, di, tw);
        } else if (st.radix == 4) {
            if (st.s == 1)
                StageFirst<SIGN>(st.n, sr, si, dr, di, tw);
            else if (st.s == 4)
                StageStrided<SIGN, 4>(st.n, st.s, sr, si, dr, di, tw);
            else
                StageStrided<SIGN, 0>(st.n, st.s, sr, si, dr, di, tw);
        } else {
            StageRadix2(st.s, sr, si, dr, di);
        }
        inY = !inY;
    }
    return inY;
}

template <int SIGN>
ORVEX_FFT_INLINE bool RunStages(const Plan& plan, float* xr, float* xi, float* yr, float* yi)
{
    return RunStagesFrom<SIGN>(plan, 0, false, xr, xi, yr, yi);
}

// The first radix-4 stage of the half-length transform of a real block, reading the block itself:
// the even samples are the real parts and the odd ones the imaginary parts of the complex input,
// each windowed on the way. This spares a pass that would write the windowed, split block first.
template <bool WINDOWED>
ORVEX_FFT_INLINE void StageFirstReal(size_t n, const float* __restrict x, const float* __restrict w,
                                     float* __restrict yr, float* __restrict yi, const float* __restrict tw)
{
    const size_t q = n / 4;
    const float* w1r = tw;
    const float* w1i = tw + q;
    const float* w2r = tw + 2 * q;
    const float* w2i = tw + 3 * q;
    const float* w3r = tw + 4 * q;
    const float* w3i = tw + 5 * q;
    auto re = [&](size_t k) { return WINDOWED ? x[2 * k] * w[2 * k] : x[2 * k]; };
    auto im = [&](size_t k) { return WINDOWED ? x[2 * k + 1] * w[2 * k + 1] : x[2 * k + 1]; };
    ORVEX_IVDEP
    for (size_t p = 0; p < q; ++p) {
        float o[8];
        Butterfly4<1>(re(p), im(p), re(p + q), im(p + q), re(p + 2 * q), im(p + 2 * q), re(p + 3 * q), im(p + 3 * q),
                      o);
        yr[4 * p] = o[0];
        yi[4 * p] = o[1];
        Twiddle<1>(o[2], o[3], w1r[p], w1i[p], yr[4 * p + 1], yi[4 * p + 1]);
        Twiddle<1>(o[4], o[5], w2r[p], w2i[p], yr[4 * p + 2], yi[4 * p + 2]);
        Twiddle<1>(o[6], o[7], w3r[p], w3i[p], yr[4 * p + 3], yi[4 * p + 3]);
    }
}

// The half-length transform (sign +1) of the real block x of length 2m with the window w (null:
// rectangular), for m >= 4; the same result as WindowSplit into (xr, xi) followed by TransformPlus.
ORVEX_FFT_CLONES bool TransformRealPlus(const Plan& plan, const float* x, const float* w, float* xr, float* xi,
                                        float* yr, float* yi)
{
    const unsigned m = plan.m;
    if (w)
        StageFirstReal<true>(m, x, w, yr, yi, plan.tw.data());
    else
        StageFirstReal<false>(m, x, w, yr, yi, plan.tw.data());
    return RunStagesFrom<1>(plan, 1, true, xr, xi, yr, yi);
}

ORVEX_FFT_CLONES bool TransformPlus(const Plan& plan, float* xr, float* xi, float* yr, float* yi)
{
    return RunStages<1>(plan, xr, xi, yr, yi);
}

ORVEX_FFT_CLONES bool TransformMinus(const Plan& plan, float* xr, float* xi, float* yr, float* yi)
{
    return RunStages<-1>(plan, xr, xi, yr, yi);
}

// Windowed samples split into the even (real part) and odd (imaginary part) samples of the
// half-length complex block.
ORVEX_FFT_CLONES void WindowSplit(const float* __restrict x, const float* __restrict w, ptrdiff_t m,
                                  float* __restrict zr, float* __restrict zi)
{
    if (w) {
        for (ptrdiff_t k = 0; k < m; ++k) {
            zr[k] = x[2 * k] * w[2 * k];
            zi[k] = x[2 * k + 1] * w[2 * k + 1];
        }
    } else {
        for (ptrdiff_t k = 0; k < m; ++k) {
            zr[k] = x[2 * k];
            zi[k] = x[2 * k + 1];
        }
    }
}

// Spectrum of the real block of length 2m from the half-length transform Z, scaled, written as
// the whole block of 2m values (the upper half the complex conjugate of the lower).
ORVEX_FFT_CLONES void Untangle(const Plan& plan, const float* __restrict zr, const float* __restrict zi, float scale,
                               float* __restrict re, float* __restrict im)
{
    const ptrdiff_t m = plan.m;
    const float* __restrict wr = plan.rwr.data();
    const float* __restrict wi = plan.rwi.data();
    re[0] = (zr[0] + zi[0]) * scale;
    im[0] = 0.0f;
    re[m] = (zr[0] - zi[0]) * scale;
    im[m] = 0.0f;
    const float h = 0.5f * scale;
    // Reversed views: rev[-k] is element m-k, so every access below is a plain (reversed) stream.
    const float* __restrict zrRev = zr + m;
    const float* __restrict ziRev = zi + m;
    float* __restrict reTop = re + 2 * m; // reTop[-k] is element n-k
    float* __restrict imTop = im + 2 * m;
    float* __restrict reMid = re + m; // reMid[-k] is element m-k, reMid[k] element m+k
    float* __restrict imMid = im + m;
    const ptrdiff_t half = m / 2;
    ORVEX_IVDEP
    for (ptrdiff_t k = 1; k <= half; ++k) {
        const float ar = zr[k], ai = zi[k], br = zrRev[-k], bi = ziRev[-k];
        const float er = (ar + br) * h, ei = (ai - bi) * h;
        const float orr = (ai + bi) * h, oi = (br - ar) * h;
        const float tr = orr * wr[k] - oi * wi[k];
        const float ti = oi * wr[k] + orr * wi[k];
        const float xr = er + tr, xi = ei + ti; // X[k]
        const float ur = er - tr, ui = ti - ei; // X[m-k] = conj(E - W O)
        re[k] = xr;
        im[k] = xi;
        reTop[-k] = xr;
        imTop[-k] = -xi;
        reMid[-k] = ur;
        imMid[-k] = ui;
        reMid[k] = ur;
        imMid[k] = -ui;
    }
}

// First-order high-pass over the block mirrored in front of itself: the lead-in lets the filter
// settle on the block's own signal. y[j] = (u[j] - u[j-1]) + a*y[j-1] over the 2n-sample sequence
// u = x[n-1], ..., x[0], x[0], ..., x[n-1], starting at y[0] = u[0]; out[i] = y[n+i].
void HighPassSequential(const float* x, unsigned n, float a, float* out)
{
    float y = x[n - 1];
    for (unsigned j = 1; j < n; ++j)
        y = (x[n - 1 - j] - x[n - j]) + a * y;
    // The block's first sample repeats the last lead-in sample: its difference is 0.
    y = 0.0f + a * y;
    out[0] = y;
    for (unsigned i = 1; i < n; ++i) {
        y = (x[i] - x[i - 1]) + a * y;
        out[i] = y;
    }
}

// The same filter with the recursion split into independent chains over eight chunks, so the
// processor overlaps them instead of waiting on one long chain; the chunks are joined through the
// powers of the pole. scratch holds n/8 floats.
void HighPass(const float* x, unsigned n, float a, float* out, float* scratch)
{
    constexpr unsigned K = 8;
    if (n < 32 * K) {
        HighPassSequential(x, n, a, out);
        return;
    }
    const unsigned c = n / K;
    // State at the end of the lead-in: sum over k of a^k * coef_k, coef_k = x[k] - x[k+1] and
    // coef_{n-1} = x[n-1]; one Horner chain per chunk of k, the chunks joined with a^c.
    float h[K];
    for (unsigned b = 0; b + 1 < K; ++b)
        h[b] = x[b * c + c - 1] - x[b * c + c];
    h[K - 1] = x[n - 1];
    for (unsigned t = c - 1; t-- > 0;) {
        for (unsigned b = 0; b < K; ++b) {
            const unsigned k = b * c + t;
            h[b] = h[b] * a + (x[k] - x[k + 1]);
        }
    }
    const float ac = float(std::pow(double(a), double(c)));
    float lead = h[K - 1];
    for (unsigned b = K - 1; b-- > 0;)
        lead = h[b] + ac * lead;

    // The block: each chunk filtered from a zero state (chunk 0 from the lead-in's state) ...
    // The differences go to out first, so that the chains below update out in place: eight
    // streams a power of two apart rather than sixteen (reading x and writing out), which would
    // all fall into the same cache set and evict each other on long blocks.
    for (unsigned i = 1; i < n; ++i)
        out[i] = x[i] - x[i - 1];
    float st[K];
    st[0] = 0.0f + a * lead;
    out[0] = st[0];
    for (unsigned b = 1; b < K; ++b)
        st[b] = out[b * c];
    for (unsigned t = 1; t < c; ++t) {
        for (unsigned b = 0; b < K; ++b) {
            const unsigned i = b * c + t;
            st[b] = out[i] + a * st[b];
            out[i] = st[b];
        }
    }
    // ... then the state carried over from the chunk before, decaying as a^(t+1). The powers are
    // accumulated in double so that they stay exact to float precision over a whole chunk.
    unsigned used = 0;
    double p = 1.0;
    while (used < c) {
        p *= double(a);
        if (std::fabs(p) < 1e-30)
            break; // the carried state no longer reaches float precision
        scratch[used++] = float(p);
    }
    for (unsigned b = 1; b < K; ++b) {
        const float carry = out[b * c - 1];
        float* o = out + size_t(b) * c;
        for (unsigned t = 0; t < used; ++t)
            o[t] += scratch[t] * carry;
    }
}

// Work space of the calling thread, kept between blocks of the same thread.
std::vector<float>& WorkSpace(size_t size)
{
    thread_local std::vector<float> work;
    if (work.size() < size)
        work.resize(size);
    return work;
}

} // namespace

CFFT::CFFT() = default;

CFFT::~CFFT() = default;

void CFFT::SetData(const float* samples, int count)
{
    m_samples = samples;
    m_sampleCount = count;
}

int CFFT::GetFFTSize(bool padded) const
{
    const int n = m_sampleCount;
    if (n < 1)
        return 0;
    // Largest power of two not above n.
    const int floorPow = int(1u << Log2Exact(unsigned(n)));
    if (!padded)
        return floorPow;
    // Power of two nearest v (the rounding of its base-2 logarithm), v the larger of the sampling
    // rate and the count.
    auto nearestPow = [](double v) -> int64_t {
        if (!(v >= 1.0))
            return 1;
        const double k = std::floor(std::log2(v) + 0.5);
        return k >= 30 ? (int64_t(1) << 30) : (int64_t(1) << int(k));
    };
    const double v = (double(n) <= double(m_fs)) ? double(m_fs) : double(n);
    const int64_t n1 = nearestPow(v);
    const int64_t n2 = nearestPow(2.0 * double(n));
    return int(std::max(n1, n2));
}

double CFFT::WindowValue(int type, int i, int n)
{
    if (n <= 1)
        return 1.0; // a one-sample block has no shape to taper
    const double h = double(n - 1) * 0.5;
    switch (type) {
    case windowTriangular:
        return 1.0 - std::fabs((i - h) / h);
    case windowWelch: {
        const double r = (i - h) / h;
        return 1.0 - r * r;
    }
    case windowHanning:
        return 0.5 - 0.5 * std::cos(kPi * i / h);
    case windowHamming:
        return 0.54 - 0.46 * std::cos(kPi * i / h);
    default:
        return 1.0;
    }
}

int CFFT::Compute(std::vector<float>& re, std::vector<float>& im)
{
    m_lineCount = 0;
    m_df = 0.0f;
    auto reject = [&]() {
        re.clear();
        im.clear();
        return 0;
    };
    if (!m_samples || m_sampleCount < 1 || !(m_fs > 0.0f) || !std::isfinite(m_fs))
        return reject();
    const double dt = 1.0 / double(m_fs);
    const bool filter = m_fc > 0.0f;
    const double step = filter ? double(m_fc) * dt * kTwoPi : 0.0;
    const float a = 1.0f - float(step);
    // At fc >= fs/pi the pole reaches -1 and the filter output would grow without bound.
    if (filter && (!(step < 2.0) || !(a > -1.0f)))
        return reject();

    const int nInt = GetFFTSize(false);
    const unsigned n = unsigned(nInt);
    re.resize(n);
    im.resize(n);

    const WindowTable& window = GetWindow(m_windowType, nInt);
    const double scaleDen = std::sqrt(double(float(nInt)) * double(window.sumSquares));
    const float scale = float(1.0 / scaleDen);

    if (n == 1) {
        // The mirrored one-sample block: its single difference is 0, leaving a times the lead-in.
        const float x0 = filter ? 0.0f + a * m_samples[0] : m_samples[0];
        re[0] = float(double(x0) / scaleDen);
        im[0] = 0.0f;
    } else {
        const unsigned m = n / 2;
        std::vector<float>& work = WorkSpace(size_t(filter ? 3 : 2) * n);
        float* zr = work.data();
        float* zi = zr + m;
        float* tr = zi + m;
        float* ti = tr + m;
        const float* x = m_samples;
        if (filter) {
            float* filtered = ti + m;
            HighPass(m_samples, n, a, filtered, zr);
            x = filtered;
        }
        const float* w = window.w.empty() ? nullptr : window.w.data();
        const Plan& plan = GetPlan(m);
        bool inT;
        if (m >= 4)
            inT = TransformRealPlus(plan, x, w, zr, zi, tr, ti);
        else {
            WindowSplit(x, w, m, zr, zi);
            inT = TransformPlus(plan, zr, zi, tr, ti);
        }
        if (inT)
            Untangle(plan, tr, ti, scale, re.data(), im.data());
        else
            Untangle(plan, zr, zi, scale, re.data(), im.data());
    }
    m_lineCount = nInt / 2;
    m_df = m_fs / float(nInt);
    return m_lineCount;
}

bool CFFT::FFT(float* data, unsigned nn, int isign)
{
    if (!data || !IsPowerOfTwo(nn) || (isign != 1 && isign != -1))
        return false;
    if (nn == 1)
        return true;
    std::vector<float>& work = WorkSpace(size_t(4) * nn);
    float* xr = work.data();
    float* xi = xr + nn;
    float* yr = xi + nn;
    float* yi = yr + nn;
    for (unsigned k = 0; k < nn; ++k) {
        xr[k] = data[2 * size_t(k) + 1];
        xi[k] = data[2 * size_t(k) + 2];
    }
    const Plan& plan = GetPlan(nn);
    const bool inY = isign > 0 ? TransformPlus(plan, xr, xi, yr, yi) : TransformMinus(plan, xr, xi, yr, yi);
    const float* rr = inY ? yr : xr;
    const float* ri = inY ? yi : xi;
    for (unsigned k = 0; k < nn; ++k) {
        data[2 * size_t(k) + 1] = rr[k];
        data[2 * size_t(k) + 2] = ri[k];
    }
    return true;
}

int CeilPowerOfTwo(int n)
{
    if (n <= 1)
        return 1;
    if (n > (1 << 30))
        return 0;
    const unsigned u = unsigned(n);
    const int e = Log2Exact(u);
    return IsPowerOfTwo(u) ? n : (1 << (e + 1));
}

int GetPowerOfTwoCeil(int n)
{
    return CeilPowerOfTwo(n);
}

int NearestPowerOfTwo(int n)
{
    if (n <= 1)
        return 1;
    const int64_t p = int64_t(1) << Log2Exact(unsigned(n));
    if (int64_t(n) - p < 2 * p - int64_t(n))
        return int(p);
    // The tie goes to the larger power; past the int range the nearest representable one is kept.
    return 2 * p > INT_MAX ? int(p) : int(2 * p);
}

double NearestPowerOfTwoOfRatio(float a, float b, float c)
{
    const float q = a * b / c;
    if (std::isnan(q))
        return 1.0;
    int n = 0;
    if (q >= float(INT_MAX))
        n = INT_MAX;
    else if (q > 0.0f)
        n = int(q);
    return double(NearestPowerOfTwo(n));
}
