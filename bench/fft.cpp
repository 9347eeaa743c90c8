// Times CFFT::Compute against, in the same run, (a) a plain transcription of the textbook
// in-place radix-2 recurrence with the block preparation around it, (b) FFTW's single-precision
// transforms of the same length, and (c) the same work done with FFTW: the real transform with the
// same window, scaling and output layout (every line, real and imaginary parts apart). Prints the
// ratios per block length at the end; the same-work ratio is the headline.
#include "spectral/FFT.h"
#include "support/RecurrenceFFT.h"

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWindow = CFFT::windowHanning;

std::vector<float> RandomBlock(int n)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(static_cast<size_t>(n));
    for (auto& v : x)
        v = dist(rng);
    return x;
}

// The block computation written out plainly: work arrays per call, the window evaluated per
// sample, the transform with its trigonometric recurrence (shared with the transform's tests).
int PlainCompute(const float* samples, int n, int window, float fc, float fs, std::vector<float>& re,
                 std::vector<float>& im)
{
    std::vector<float> x(samples, samples + n);
    if (fc > 0.0f) {
        std::vector<float> u(2 * size_t(n)), y(2 * size_t(n));
        for (int i = 0; i < n; ++i) {
            u[size_t(i)] = x[size_t(n - 1 - i)];
            u[size_t(n + i)] = x[size_t(i)];
        }
        const float a = 1.0f - float(fc * (1.0 / fs) * 6.28318530717959);
        y[0] = u[0];
        for (size_t j = 1; j < 2 * size_t(n); ++j)
            y[j] = (u[j] - u[j - 1]) + a * y[j - 1];
        for (int i = 0; i < n; ++i)
            x[size_t(i)] = y[size_t(n + i)];
    }
    float s = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double w = CFFT::WindowValue(window, i, n);
        x[size_t(i)] = float(x[size_t(i)] * w);
        s = float(s + w * w);
    }
    std::vector<float> data(2 * size_t(n) + 1, 0.0f);
    for (int i = 0; i < n; ++i)
        data[2 * size_t(i) + 1] = x[size_t(i)];
    RecurrenceFFT(data.data(), unsigned(n), 1);
    re.resize(size_t(n));
    im.resize(size_t(n));
    const double scale = std::sqrt(double(float(n)) * double(s));
    for (int k = 0; k < n; ++k) {
        re[size_t(k)] = float(data[2 * size_t(k) + 1] / scale);
        im[size_t(k)] = float(data[2 * size_t(k) + 2] / scale);
    }
    return n / 2;
}

// The block transform, with the high-pass stage in front when fc > 0.
void TimeCompute(benchmark::State& state, float fc)
{
    const int n = int(state.range(0));
    const auto x = RandomBlock(n);
    std::vector<float> re, im;
    for (auto _ : state) {
        CFFT fft;
        fft.SetData(x.data(), n);
        fft.SetSamplingFreq(16384.0f);
        if (fc > 0.0f)
            fft.SetHighPassFreq(fc);
        fft.SetWindowType(kWindow);
        benchmark::DoNotOptimize(fft.Compute(re, im));
        benchmark::ClobberMemory();
    }
}

void TimePlain(benchmark::State& state, float fc)
{
    const int n = int(state.range(0));
    const auto x = RandomBlock(n);
    std::vector<float> re, im;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainCompute(x.data(), n, kWindow, fc, 16384.0f, re, im));
        benchmark::ClobberMemory();
    }
}

void BM_Compute(benchmark::State& state)
{
    TimeCompute(state, 0.0f);
}
void BM_ComputeHighPass(benchmark::State& state)
{
    TimeCompute(state, 5.0f);
}
void BM_PlainRecurrence(benchmark::State& state)
{
    TimePlain(state, 0.0f);
}
void BM_PlainRecurrenceHighPass(benchmark::State& state)
{
    TimePlain(state, 5.0f);
}

void BM_FFTWComplex(benchmark::State& state)
{
    const int n = int(state.range(0));
    auto* in = fftwf_alloc_complex(size_t(n));
    auto* out = fftwf_alloc_complex(size_t(n));
    fftwf_plan plan = fftwf_plan_dft_1d(n, in, out, FFTW_BACKWARD, FFTW_MEASURE);
    const auto x = RandomBlock(n);
    for (int i = 0; i < n; ++i) {
        in[i][0] = x[size_t(i)];
        in[i][1] = 0.0f;
    }
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}

void BM_FFTWReal(benchmark::State& state)
{
    const int n = int(state.range(0));
    float* in = fftwf_alloc_real(size_t(n));
    auto* out = fftwf_alloc_complex(size_t(n / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    const auto x = RandomBlock(n);
    std::copy(x.begin(), x.end(), in);
    for (auto _ : state) {
        fftwf_execute(plan);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}

// What Compute does, done around FFTW's real transform: window from a table, transform, scaled
// lines written to separate real and imaginary arrays of n lines (the upper half mirrored).
void BM_FFTWSameWork(benchmark::State& state)
{
    const int n = int(state.range(0));
    float* in = fftwf_alloc_real(size_t(n));
    auto* out = fftwf_alloc_complex(size_t(n / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    const auto x = RandomBlock(n);
    std::vector<float> window(static_cast<size_t>(n));
    double sumSquares = 0.0;
    for (int i = 0; i < n; ++i) {
        window[size_t(i)] = float(CFFT::WindowValue(kWindow, i, n));
        sumSquares += double(window[size_t(i)]) * window[size_t(i)];
    }
    const float scale = float(1.0 / std::sqrt(double(n) * sumSquares));
    std::vector<float> re, im;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i)
            in[i] = x[size_t(i)] * window[size_t(i)];
        fftwf_execute(plan);
        re.resize(size_t(n));
        im.resize(size_t(n));
        for (int k = 0; k <= n / 2; ++k) {
            re[size_t(k)] = out[k][0] * scale;
            im[size_t(k)] = out[k][1] * scale;
        }
        for (int k = n / 2 + 1; k < n; ++k) {
            re[size_t(k)] = re[size_t(n - k)];
            im[size_t(k)] = -im[size_t(n - k)];
        }
        benchmark::DoNotOptimize(re.data());
        benchmark::DoNotOptimize(im.data());
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}

// Three repetitions each, interleaved with the other benchmarks' (see main): the ratios use the
// fastest one, so that a burst of load on a shared machine does not skew one side of a ratio.
#define ORVEX_FFT_SIZES                                                                                                \
    RangeMultiplier(2)->Range(1024, 65536)->Unit(benchmark::kMicrosecond)->Repetitions(3)->DisplayAggregatesOnly(false)
BENCHMARK(BM_Compute)->ORVEX_FFT_SIZES;
BENCHMARK(BM_ComputeHighPass)->ORVEX_FFT_SIZES;
BENCHMARK(BM_PlainRecurrence)->ORVEX_FFT_SIZES;
BENCHMARK(BM_PlainRecurrenceHighPass)->ORVEX_FFT_SIZES;
BENCHMARK(BM_FFTWComplex)->ORVEX_FFT_SIZES;
BENCHMARK(BM_FFTWReal)->ORVEX_FFT_SIZES;
BENCHMARK(BM_FFTWSameWork)->ORVEX_FFT_SIZES;

// Keeps the fastest time per iteration of each benchmark and length for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::map<long, double>> times; // benchmark -> N -> ns per iteration

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const std::string name = run.run_name.function_name;
            const std::string& args = run.run_name.args;
            const long n = std::stol(args.empty() ? std::string("0") : args);
            const double t = run.GetAdjustedRealTime();
            auto [it, added] = times[name].emplace(n, t);
            if (!added && t < it->second)
                it->second = t;
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchsupport::InitializeInterleaved(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& t = reporter.times;
    std::printf("\n%8s %20s %16s %16s %16s %18s %18s\n", "N", "Compute/FFTWsameWork", "plain/Compute",
                "Compute/FFTWc2c", "Compute/FFTWr2c", "plainHP/ComputeHP", "ComputeHP/FFTWc2c");
    for (const auto& [n, compute] : t["BM_Compute"]) {
        auto ratio = [&](const char* a, double b) {
            auto it = t[a].find(n);
            return it == t[a].end() || b <= 0 ? NAN : it->second / b;
        };
        auto inverse = [&](double a, const char* b) {
            auto it = t[b].find(n);
            return it == t[b].end() || it->second <= 0 ? NAN : a / it->second;
        };
        const double hp = t["BM_ComputeHighPass"].count(n) ? t["BM_ComputeHighPass"][n] : NAN;
        std::printf("%8ld %20.2f %16.2f %16.2f %16.2f %18.2f %18.2f\n", n, inverse(compute, "BM_FFTWSameWork"),
                    ratio("BM_PlainRecurrence", compute), inverse(compute, "BM_FFTWComplex"),
                    inverse(compute, "BM_FFTWReal"), ratio("BM_PlainRecurrenceHighPass", hp),
                    inverse(hp, "BM_FFTWComplex"));
    }
    return 0;
}
