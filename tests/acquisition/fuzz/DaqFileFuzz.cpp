// The measurement-file reader (CDAQIO::LoadOne) on arbitrary bytes: every input either loads as a
// whole, consistent project with no error recorded, or fails with exactly one error record whose
// code is a reader's code (1 to 6). Nothing may crash, throw or hang.
//
// The reader needs the project model (a document with a work folder, its DAQ project and a data
// set), so the target is built with the program's own libraries. Without libFuzzer (the default
// build) its main replays a bounded, deterministic set of inputs: a few valid files written by the
// program itself, and seeded mutations of them (bit flips, cut files, duplicated and removed
// blocks, spliced files, huge counts written over the data). Arguments: [runs] [seed].
#include "../MeasuredFixture.h"

#include "acquisition/DAQIO.h"
#include "experiments/ExpData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Message boxes of the reader are answered silently.
class CQuietPrompts : public IPromptService
{
public:
    PromptAnswer Ask(const PromptRecord& request) override
    {
        PromptAnswer answer;
        answer.result = request.kind == PromptKind::MessageBox ? DefaultButtonOf(request.style) : IDCANCEL;
        return answer;
    }
};

struct CTarget
{
    CTarget()
    {
        LoadLanguageStrings(9);
        SetPromptService(&prompts);
        set = fixture.AddDataSet("Fuzz", 2);
        path = set ? CDAQIO::GetDaqFilePath(set) : std::string();
    }
    ~CTarget() { SetPromptService(nullptr); }

    CQuietPrompts prompts;
    CMeasuredFixture fixture;
    CDAQExperiment* set = nullptr;
    std::string path;
};

CTarget& Target()
{
    static CTarget target;
    return target;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "daq file fuzz: %s\n", what);
    std::abort();
}

// Every element of a loaded tree can be walked, and every channel's samples read.
double Walk(const CMElement& e)
{
    double sum = 0.0;
    if (const auto* data = DynamicDowncast<CExpData>(&e)) {
        if (static_cast<size_t>(data->GetSampleCount()) != data->GetSamples().size())
            Fail("a channel's sample count differs from its samples");
        for (float x : data->GetSamples())
            sum += static_cast<double>(x);
    }
    for (int i = 0; i < e.GetChildCount(); ++i)
        sum += Walk(*e.GetChild(i));
    return sum;
}

// 1 when the bytes loaded, 0 when they were refused.
int LoadBytes(const uint8_t* data, size_t size)
{
    CTarget& t = Target();
    if (!t.set || t.path.empty())
        Fail("no data set to read into");
    {
        std::ofstream out(t.path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            Fail("the input could not be written");
    }
    CDAQIO io(t.set);
    std::unique_ptr<CExpProject> project;
    try {
        project = io.LoadOne(t.set);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "daq file fuzz: exception %s\n", e.what());
        std::abort();
    } catch (...) {
        Fail("an exception left the reader");
    }
    const std::vector<tagERRORINFO>& errors = io.GetErrorList();
    if (project) {
        if (!errors.empty())
            Fail("a loaded file recorded an error");
        volatile double sum = Walk(*project);
        (void)sum;
        return 1;
    }
    if (errors.size() != 1)
        Fail("a refused file did not record exactly one error");
    if (errors.front().code < CDAQIO::errNotFound || errors.front().code > CDAQIO::errMissing)
        Fail("a refused file recorded an unknown error code");
    if (errors.front().element != t.set)
        Fail("the error names another data set");
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadBytes(data, size);
    return 0;
}

#ifndef ORVEX_LIBFUZZER

namespace {

using Bytes = std::vector<uint8_t>;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Valid files as the program writes them: data sets of 1, 2 and 16 channels.
std::vector<Bytes> MakeSeeds()
{
    CTarget& t = Target();
    std::vector<Bytes> seeds;
    const int channels[] = {1, 2, 16};
    const int samples[] = {16, 48, 8};
    for (int i = 0; i < 3; ++i) {
        CDAQExperiment* set = t.fixture.AddDataSet("Seed" + std::to_string(i), channels[i]);
        if (!set)
            Fail("no seed data set");
        auto base = t.fixture.MakeMeasurement(set, channels[i], samples[i], i + 1);
        if (!base || CDAQIO(set).SaveAll(base.get()) != 1)
            Fail("a seed file could not be written");
        const std::string bytes = ReadAll(CDAQIO::GetDaqFilePath(set));
        seeds.emplace_back(bytes.begin(), bytes.end());
    }
    return seeds;
}

Bytes Mutate(const std::vector<Bytes>& seeds, std::mt19937& rng)
{
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : static_cast<size_t>(rng() % n); };
    Bytes b = seeds[pick(seeds.size())];
    const int steps = 1 + static_cast<int>(rng() % 4);
    for (int s = 0; s < steps && !b.empty(); ++s) {
        switch (rng() % 7) {
        case 0: // bit flips
            for (int k = 0, n = 1 + static_cast<int>(rng() % 8); k < n; ++k)
                b[pick(b.size())] ^= static_cast<uint8_t>(1u << (rng() % 8));
            break;
        case 1: // cut short
            b.resize(pick(b.size()));
            break;
        case 2: { // a block duplicated in place
            const size_t at = pick(b.size());
            const size_t len = std::min<size_t>(b.size() - at, 1 + pick(256));
            const Bytes block(b.begin() + static_cast<std::ptrdiff_t>(at),
                              b.begin() + static_cast<std::ptrdiff_t>(at + len));
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(pick(b.size() + 1)), block.begin(), block.end());
            break;
        }
        case 3: { // a block removed
            const size_t at = pick(b.size());
            const size_t len = std::min<size_t>(b.size() - at, 1 + pick(64));
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + len));
            break;
        }
        case 4: { // a huge or negative count written over the data
            static const uint32_t counts[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u,
                                              0x40000000u, 0x0000FFFFu, 0x00FFFFFFu};
            const uint32_t v = counts[pick(std::size(counts))];
            const size_t at = pick(b.size());
            for (size_t k = 0; k < 4 && at + k < b.size(); ++k)
                b[at + k] = static_cast<uint8_t>(v >> (8 * k));
            if (rng() % 2 && at + 1 < b.size()) { // 16-bit counts, as the archive's short forms have
                b[at] = 0xFF;
                b[at + 1] = 0xFF;
            }
            break;
        }
        case 5: { // the tail of another file spliced on
            const Bytes& other = seeds[pick(seeds.size())];
            const size_t at = pick(b.size());
            const size_t from = pick(other.size());
            b.resize(at);
            b.insert(b.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
            break;
        }
        default: // special byte values
            b[pick(b.size())] = static_cast<uint8_t>((rng() % 2) ? 0xFF : 0x00);
            break;
        }
    }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    const std::vector<Bytes> seeds = MakeSeeds();
    int loaded = 0;
    // The files as written load; nothing at all and every cut of the smallest file are refused.
    for (const Bytes& b : seeds)
        if (LoadBytes(b.data(), b.size()) != 1)
            Fail("a file as the program wrote it did not load");
    if (LoadBytes(nullptr, 0) != 0)
        Fail("an empty file loaded");
    const Bytes& small = seeds.front();
    for (size_t cut = 0; cut < small.size(); cut += 1 + small.size() / 400)
        if (LoadBytes(small.data(), cut) != 0)
            Fail("a cut file loaded");
    std::mt19937 rng(seed);
    for (long i = 0; i < runs; ++i) {
        const Bytes b = Mutate(seeds, rng);
        loaded += LoadBytes(b.data(), b.size());
    }
    std::printf("daq file fuzz: %ld mutated inputs, %d loaded, the rest refused cleanly\n", runs, loaded);
    return 0;
}

#endif
