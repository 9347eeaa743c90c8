// A damaged project file never brings the program down: copies of a saved project (model, DAQ
// project with a measured run-up, analysis project) with flipped bytes, counts and lengths forged
// to 0, all ones or large values, cuts, and repeated or missing ranges all either load or fail with
// an archive or file error, never a crash, a hang or an allocation the file cannot justify. What
// loads is stored again. Run under AddressSanitizer too.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";
constexpr uint32_t kSeed = 20241209; // ORVEX_MUTATION_SEED overrides it
constexpr int kMutations = 3000;     // ORVEX_MUTATIONS overrides it for longer runs
// More resident memory than this after a load means a reader believed a forged count.
constexpr long kMaxGrowthKiB = 512L * 1024L;

Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The saved project of the end-to-end road, made once.
const Bytes& SavedProject()
{
    static const Bytes bytes = [] {
        CScriptedPrompts prompts;
        const fs::path file = AppTestTempDir() / "mutation" / "saved.orv";
        CTALVODoc doc;
        std::string error;
        EXPECT_TRUE(sample::Build(doc, kSamples, file.string(), &error)) << error;
        doc.OnCloseDocument();
        return ReadFile(file);
    }();
    return bytes;
}

// Loads the bytes as a project document; what loads is stored again.
struct Outcome
{
    bool loaded = false;
    std::string fault; // empty unless it failed with something other than an archive or file error
};

Outcome Load(const Bytes& bytes)
{
    try {
        CTALVODoc doc;
        {
            CArchive ar(bytes.data(), bytes.size());
            doc.Serialize(ar);
        }
        Bytes again;
        CArchive ar(&again, CArchive::store);
        doc.GetTALVOProject().Serialize(ar);
        return {true, {}};
    } catch (const CArchiveException&) {
        return {};
    } catch (const CFileException&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {false, "an allocation failed (a forged count was believed)"};
    } catch (const std::exception& e) {
        return {false, std::string("an exception that is no archive error: ") + e.what()};
    }
}

// The positions worth damaging: all of them except the inside of the measured samples, which
// only hold values; the edges of each block stay.
std::vector<size_t> StructurePositions(const Bytes& bytes)
{
    std::vector<bool> inside(bytes.size(), false);
    const int n = sample::SampleCount();
    std::vector<std::vector<float>> channels(4, std::vector<float>(static_cast<size_t>(n)));
    for (int i = 0; i < n; ++i) {
        channels[0][static_cast<size_t>(i)] = sample::PulseSample(i);
        channels[1][static_cast<size_t>(i)] = sample::OrderSample(0, i);
        channels[2][static_cast<size_t>(i)] = sample::OrderSample(1, i);
        channels[3][static_cast<size_t>(i)] = sample::MicSample(i);
    }
    for (const auto& channel : channels) {
        Bytes block(channel.size() * sizeof(float));
        std::memcpy(block.data(), channel.data(), block.size());
        const auto at = std::search(bytes.begin(), bytes.end(), block.begin(), block.end());
        EXPECT_NE(at, bytes.end()) << "a channel's samples are not in the file as one block";
        if (at == bytes.end())
            continue;
        const auto from = static_cast<size_t>(at - bytes.begin());
        std::fill(inside.begin() + static_cast<long>(from + 16),
                  inside.begin() + static_cast<long>(from + block.size() - 16), true);
    }
    std::vector<size_t> positions;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!inside[i])
            positions.push_back(i);
    return positions;
}

struct Mutator
{
    std::mt19937 random{kSeed};
    std::vector<size_t> positions;

    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); }
    size_t Position() { return positions[Below(positions.size())]; }

    // One damaged copy and what was done to it.
    Bytes Mutate(const Bytes& original, std::string& what)
    {
        Bytes b = original;
        std::ostringstream text;
        const size_t at = Position();
        switch (Below(7)) {
        case 0: { // one byte flipped
            const auto mask = static_cast<uint8_t>(1 + Below(255));
            b[at] ^= mask;
            text << "byte " << at << " ^= " << int(mask);
            break;
        }
        case 1: { // a 2-byte value replaced
            // Besides counts and lengths: tags of objects and classes read before (a forged
            // reference to an object that already has an owner, or to a class of another kind).
            static const uint16_t values[] = {0x0000, 0xFFFF, 0x7FFF, 0x8000, 0xFFFE, 0x0100,
                                              0x0001, 0x0003, 0x0010, 0x8001, 0x8002, 0x8005};
            const uint16_t v = values[Below(std::size(values))];
            for (size_t k = 0; k < 2 && at + k < b.size(); ++k)
                b[at + k] = static_cast<uint8_t>(v >> (8 * k));
            text << "u16 at " << at << " = " << v;
            break;
        }
        case 2: { // a 4-byte value replaced
            static const uint32_t values[] = {0x00000000, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000,
                                              0x00100000, 0x10000000, 0x0000FFFF, 0xFFFFFFFE};
            const uint32_t v = values[Below(std::size(values))];
            for (size_t k = 0; k < 4 && at + k < b.size(); ++k)
                b[at + k] = static_cast<uint8_t>(v >> (8 * k));
            text << "u32 at " << at << " = " << v;
            break;
        }
        case 3: { // a count in its long form (0xFFFF, then 4 bytes)
            static const uint32_t values[] = {0x7FFFFFFF, 0x10000000, 0x00100000, 0x0000FFFF, 0xFFFFFFFF};
            const uint32_t v = values[Below(std::size(values))];
            const uint8_t form[6] = {0xFF, 0xFF, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
            for (size_t k = 0; k < 6 && at + k < b.size(); ++k)
                b[at + k] = form[k];
            text << "long count at " << at << " = " << v;
            break;
        }
        case 4: // cut short
            b.resize(at);
            text << "cut at " << at;
            break;
        case 5: { // a range repeated
            const size_t length = std::min(1 + Below(64), b.size() - at);
            const Bytes range(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + length));
            const size_t to = Position();
            b.insert(b.begin() + static_cast<long>(to), range.begin(), range.end());
            text << "bytes " << at << "+" << length << " repeated at " << to;
            break;
        }
        default: { // a range removed
            const size_t length = std::min(1 + Below(64), b.size() - at);
            b.erase(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + length));
            text << "bytes " << at << "+" << length << " removed";
            break;
        }
        }
        what = text.str();
        return b;
    }
};

} // namespace

TEST(ProjectFileMutation, DamagedCopiesOfASavedProjectLoadOrFailCleanly)
{
    const Bytes& saved = SavedProject();
    ASSERT_GT(saved.size(), 100000u);
    ASSERT_TRUE(Load(saved).loaded);

    Mutator mutator;
    if (const char* seed = std::getenv("ORVEX_MUTATION_SEED"))
        mutator.random.seed(static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)));
    mutator.positions = StructurePositions(saved);
    // The inside of each of the four channels' samples is left out of the positions damaged.
    const size_t samples = static_cast<size_t>(sample::SampleCount()) * sizeof(float);
    ASSERT_EQ(mutator.positions.size(), saved.size() - 4 * (samples - 32));

    CScriptedPrompts prompts; // the refusals of too old or too new files are answered
    const bool trace = std::getenv("ORVEX_MUTATION_TRACE") != nullptr;
    const char* count = std::getenv("ORVEX_MUTATIONS");
    const int mutations = count ? std::max(1, std::atoi(count)) : kMutations;
    const long baseline = PeakResidentKiB();
    int faults = 0, loaded = 0;
    for (int i = 0; i < mutations; ++i) {
        std::string what;
        const Bytes damaged = mutator.Mutate(saved, what);
        if (trace)
            std::fprintf(stderr, "mutation %d: %s\n", i, what.c_str());
        const Outcome outcome = Load(damaged);
        loaded += outcome.loaded ? 1 : 0;
        if (!outcome.fault.empty() && ++faults <= 20)
            ADD_FAILURE() << "mutation " << i << " (" << what << "): " << outcome.fault;
        const long growth = PeakResidentKiB() - baseline;
        if (growth > kMaxGrowthKiB) {
            ADD_FAILURE() << "mutation " << i << " (" << what << ") made the process grow by " << growth / 1024
                          << " MiB";
            break;
        }
    }
    EXPECT_EQ(faults, 0);
    std::printf("%d damaged copies: %d loaded, %d refused\n", mutations, loaded, mutations - loaded - faults);
}
