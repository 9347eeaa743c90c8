#include "calculation/CalcData.h"

#include <cmath>
#include <cstdint>
#include <memory>

#include "calculation/CalcProject.h"
#include "experiments/CalcOptions.h"
#include "experiments/ExpData.h"
#include "experiments/ExpProject.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/BandInfoManager.h"
#include "spectral/FFT.h"
#include "spectral/OTBandMgr.h"
#include "spectral/OrderBand.h"

IMPLEMENT_DYNAMIC(CCalcData, CMElement)

namespace {
constexpr double kTwoPi = 6.28318530717959;
// The reference band set against which refined bands are scaled.
constexpr double kReferenceLow = 2.0;
constexpr double kReferenceHigh = 16000.0;
// A band of a user-built set that refines one band of the reference set.
constexpr int kRefinedBand = 3;

// Blocks and spectra of the RPMs a run has finished with. The next RPM's channels take this
// storage, already of a block's size, rather than allocating and zero-filling it afresh for every
// channel. Per thread, as blocks are computed on several; a bounded number of vectors, and emptied
// when a run ends.
class CSpareBlocks
{
public:
    static CSpareBlocks& OfThisThread()
    {
        thread_local CSpareBlocks spare;
        return spare;
    }

    void Give(std::vector<float>& v)
    {
        const size_t bytes = v.capacity() * sizeof(float);
        if (bytes > 0 && m_vectors.size() < kMaxVectors && m_bytes + bytes <= kMaxBytes) {
            m_bytes += bytes;
            m_vectors.push_back(std::move(v));
        }
        v = std::vector<float>();
    }

    // A vector of unspecified contents and size: callers overwrite all of it.
    std::vector<float> Take()
    {
        if (m_vectors.empty())
            return {};
        std::vector<float> v = std::move(m_vectors.back());
        m_vectors.pop_back();
        m_bytes -= v.capacity() * sizeof(float);
        return v;
    }

    void Release()
    {
        std::vector<std::vector<float>>().swap(m_vectors);
        m_bytes = 0;
    }

private:
    // Three vectors for each channel of 64, and never more memory than a few long blocks take.
    static constexpr size_t kMaxVectors = 192;
    static constexpr size_t kMaxBytes = size_t(32) << 20;
    std::vector<std::vector<float>> m_vectors;
    size_t m_bytes = 0;
};

// 1 / omega of every line of a spectrum. Every block of a run has the same lines, so the table of
// the last block is kept (per thread) and the lines are not divided again for each channel.
const double* ReciprocalOmegas(int lines, double df)
{
    thread_local std::vector<double> table;
    thread_local double tableDf = 0.0;
    if (static_cast<int>(table.size()) != lines || tableDf != df) {
        table.assign(static_cast<size_t>(std::max(lines, 1)), 0.0);
        for (int k = 1; k < lines; ++k)
            table[static_cast<size_t>(k)] = 1.0 / (kTwoPi * k * df);
        tableDf = df;
    }
    return table.data();
}
} // namespace

void CCalcData::ReleaseSpareStorage()
{
    CSpareBlocks::OfThisThread().Release();
}

CCalcData::CCalcData(CExpData* source, CMElement* parent)
    : CMElement(source ? source->GetName() : std::string(), parent, source ? source->GetType() : -1), m_source(source)
{}

CCalcData::~CCalcData() = default;

CCalcProject* CCalcData::GetCalcProject() const
{
    CMElement* set = GetParent();
    CMElement* excitation = set ? set->GetParent() : nullptr;
    return excitation ? ElementCast<CCalcProject>(excitation->GetParent()) : nullptr;
}

CExpProject* CCalcData::GetExpProject() const
{
    const CCalcProject* project = GetCalcProject();
    return project ? project->GetExpProject() : nullptr;
}

int CCalcData::CheckLocalPoint() const
{
    return m_source ? m_source->CheckLocalPoint() : 0;
}

int CCalcData::LoadRawData()
{
    const CCalcProject* calc = GetCalcProject();
    const CExpProject* project = calc ? calc->GetExpProject() : nullptr;
    // Nothing of the previous RPM may survive: a channel without a block for this RPM must not
    // show the last block's spectrum or levels.
    Reset();
    if (!m_source || !project)
        return 0;
    if (project->GetMode() == 0) {
        const float* block = nullptr;
        int length = 0;
        if (!m_source->GetRpmBlock(calc->GetRpm(), block, length))
            return 0;
        m_raw = CSpareBlocks::OfThisThread().Take();
        m_raw.assign(block, block + length);
        return 1;
    }
    const CSampleArray& samples = m_source->GetSamples();
    size_t count = samples.size();
    if (project->GetBlockMode() == 0) {
        const double length = project->GetBlockLength(m_source->GetSamplingFrequency(), 0.0f, 0.0f);
        if (!(length >= 1.0) || length > static_cast<double>(count))
            return 0;
        count = static_cast<size_t>(length);
    }
    m_raw.assign(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(count));
    return 1;
}

int CCalcData::ComputeFFT()
{
    if (m_fftDone == 1)
        return 1;
    const CExpProject* project = GetExpProject();
    if (!m_source || !project || m_raw.empty())
        return 0;
    CFFT fft;
    fft.SetData(m_raw.data(), static_cast<int>(m_raw.size()));
    fft.SetSamplingFreq(m_source->GetSamplingFrequency());
    fft.SetHighPassFreq(project->GetHighPassFreq());
    fft.SetWindowType(project->GetWindowType());
    // The transform overwrites every line, so storage left by an earlier RPM serves as it is.
    if (m_re.capacity() == 0)
        m_re = CSpareBlocks::OfThisThread().Take();
    if (m_im.capacity() == 0)
        m_im = CSpareBlocks::OfThisThread().Take();
    if (!fft.Compute(m_re, m_im)) {
        m_lineCount = 0;
        m_df = 0.0f;
        return 0;
    }
    m_lineCount = fft.GetLineCount();
    m_df = fft.GetDf();
    m_fftDone = 1;
    return 1;
}

int CCalcData::Integrate()
{
    CHANNELINFO info;
    if (!m_source || !m_source->GetChannelInfo(info))
        return 0;
    // Acceleration in m/s2 becomes velocity: each line divided by j*omega.
    if (info.DataType != SENSOR_DATATYPE_ACCELERATION || info.Unit != 0)
        return 1;
    const int lines = std::min<int>(m_lineCount, static_cast<int>(std::min(m_re.size(), m_im.size())));
    // Through unaliased pointers, so that several lines are done at a time.
    float* __restrict re = m_re.data();
    float* __restrict im = m_im.data();
    // Products with the reciprocals, rounded to float, match the quotients but for a tie once in
    // hundreds of millions of values.
    const double* perOmega = ReciprocalOmegas(lines, m_df);
    for (int k = 1; k < lines; ++k) {
        const double a = re[k];
        const double b = im[k];
        re[k] = static_cast<float>(b * perOmega[k]);
        im[k] = static_cast<float>(-a * perOmega[k]);
    }
    // The spectrum is no longer the plain transform: a new FFT request recomputes it.
    m_fftDone = 0;
    return 1;
}

float CCalcData::BandLevel(const std::vector<float>& re, const std::vector<float>& im, int lineCount, int first,
                           int count)
{
    // The whole band must lie in the spectrum, not only its start.
    if (first < 0 || count <= 0 || first >= lineCount || count >= lineCount ||
        static_cast<int64_t>(first) + count > lineCount ||
        static_cast<size_t>(first) + static_cast<size_t>(count) > std::min(re.size(), im.size()))
        return kInvalidLevel;
    double sum = 0.0;
    for (int k = first; k < first + count; ++k) {
        const double r = re[static_cast<size_t>(k)];
        const double i = im[static_cast<size_t>(k)];
        sum += r * r + i * i;
    }
    return static_cast<float>(std::sqrt(2.0 * sum));
}

namespace {
// Where each band of a band set lies in a spectrum, and the factor a refined band's level is
// scaled with. Every block of a run has the same line count, line spacing and band sets, so the
// tables of the last block are kept (per thread, as blocks are computed on several) and reused
// while all of these stay the same.
struct BandTables
{
    int referenceKind = -1;
    int lineCount = 0;
    float df = 0.0f;
    std::unique_ptr<COctaveManager> bands; // a copy of the set the tables were made for
    struct Band
    {
        int first = -1;
        int count = 0;
        float refinedScale = 1.0f;
        bool refined = false;
    };
    std::vector<Band> list;

    bool Fits(int kind, int lines, float spacing, const COctaveManager& set) const
    {
        return bands && kind == referenceKind && lines == lineCount && spacing == df && *bands == set;
    }

    void Build(int kind, int lines, float spacing, const COctaveManager& set)
    {
        const COctaveManager reference(kind, kReferenceLow, kReferenceHigh);
        CBandInfoManager referenceLines;
        referenceLines.SetOctaveManager(&reference);
        referenceLines.SetLineCount(lines);
        referenceLines.SetDf(spacing);
        referenceLines.CreateBandInfoList();

        CBandInfoManager bandLines;
        bandLines.SetOctaveManager(&set);
        bandLines.SetLineCount(lines);
        bandLines.SetDf(spacing);
        bandLines.UpdateBandInfoList();

        list.clear();
        for (const tagBandInfo& band : bandLines.GetBandList()) {
            Band b;
            b.first = band.nFirstLine;
            b.count = band.nLineCount;
            const int entry = set.FindBand(band.dCentre);
            if (entry >= 0 && set.GetFreqInfo(entry).GetDomainType() == kRefinedBand) {
                // A refined band stands for the whole reference band that holds it.
                const int r = referenceLines.FindBand(band.dCentre);
                if (r >= 0) {
                    b.refined = true;
                    b.refinedScale = static_cast<float>(std::sqrt(
                        double(referenceLines.GetBandList()[static_cast<size_t>(r)].nLineCount) / band.nLineCount));
                }
            }
            list.push_back(b);
        }
        referenceKind = kind;
        lineCount = lines;
        df = spacing;
        bands = std::make_unique<COctaveManager>(set);
    }
};
} // namespace

int CCalcData::ComputeBandLevels()
{
    const CExpProject* project = GetExpProject();
    const COctaveManager* bands = project ? project->GetOctaveManager() : nullptr;
    const COctaveManager* definition = project ? project->GetFreqBandInfo() : nullptr;
    m_bandLevels.clear();
    if (!bands || m_lineCount <= 0)
        return 0;

    thread_local BandTables tables;
    const int referenceKind = definition ? definition->GetBandType() : OCTAVE_BAND_THIRD;
    if (!tables.Fits(referenceKind, m_lineCount, m_df, *bands))
        tables.Build(referenceKind, m_lineCount, m_df, *bands);

    m_bandLevels.assign(static_cast<size_t>(bands->GetFreqCount()), kInvalidLevel);
    for (size_t i = 0; i < tables.list.size() && i < m_bandLevels.size(); ++i) {
        const BandTables::Band& band = tables.list[i];
        float level = BandLevel(m_re, m_im, m_lineCount, band.first, band.count);
        if (level != kInvalidLevel && band.refined)
            level *= band.refinedScale;
        m_bandLevels[i] = level;
    }
    return 1;
}

int CCalcData::ComputeOrderLevels()
{
    const CCalcProject* calc = GetCalcProject();
    const CExpProject* project = calc ? calc->GetExpProject() : nullptr;
    const CCalcOptions* options = project ? project->GetCalcOptionsData() : nullptr;
    m_orderLevels.clear();
    m_orderFreqs.clear();
    if (!m_source || !options || m_lineCount <= 0)
        return 0;
    COTBandMgr finder;
    finder.SetDf(m_df);
    finder.SetLineCount(m_lineCount);
    const COrderList& orders = options->GetOrderList();
    const float gear = m_source->GetGearCount();
    const double rpm = calc->GetRpm();
    m_orderLevels.assign(static_cast<size_t>(orders.GetSize()), 0.0f);
    m_orderFreqs.assign(static_cast<size_t>(orders.GetSize()), 0.0f);
    for (int o = 0; o < orders.GetSize(); ++o) {
        int first = 0;
        int count = 0;
        if (finder.FindOrderLines(orders[o], gear, rpm, project->GetCalcOptionFloat2(), &first, &count) == 0.0)
            continue;
        const double centre = GetOrderFrequency(rpm, orders[o], gear);
        if (centre == 0.0)
            continue;
        m_orderLevels[static_cast<size_t>(o)] = BandLevel(m_re, m_im, m_lineCount, first, count);
        m_orderFreqs[static_cast<size_t>(o)] = static_cast<float>(centre);
    }
    return 1;
}

void CCalcData::Reset()
{
    m_lineCount = 0;
    m_df = 0.0f;
    m_fftDone = 0;
    // The storage goes too: a run keeps a calculation project per RPM, and released ones holding
    // their blocks' capacity would add up to the whole run. The blocks' storage passes to the next
    // RPM's channels instead.
    CSpareBlocks& spare = CSpareBlocks::OfThisThread();
    spare.Give(m_raw);
    spare.Give(m_re);
    spare.Give(m_im);
    std::vector<float>().swap(m_bandLevels);
    std::vector<float>().swap(m_orderLevels);
    std::vector<float>().swap(m_orderFreqs);
}

int CCalcData::WriteDump(CStdioFile& file, const std::string&)
{
    const CMElement* set = GetParent();
    const CMElement* excitation = set ? set->GetParent() : nullptr;
    file.WriteString(Format("[%s]-[%s]-[%s]\n", excitation ? excitation->GetName().c_str() : "",
                            set ? set->GetName().c_str() : "", GetName().c_str()));
    file.WriteString("\n##### Raw Data #####\n\n");
    for (size_t i = 0; i < m_raw.size(); ++i)
        file.WriteString(Format("%d\t%e\n", static_cast<int>(i), double(m_raw[i])));
    file.WriteString("\n##### FFT Data #####\n\n");
    file.WriteString(Format("DeltaF:%e\n", double(m_df)));
    file.WriteString(Format("FFT Lines:%d\n", m_lineCount));
    const int lines = std::min<int>(m_lineCount, static_cast<int>(std::min(m_re.size(), m_im.size())));
    for (int k = 0; k < lines; ++k)
        file.WriteString(
            Format("%d\t%e\t%e\n", k, double(m_re[static_cast<size_t>(k)]), double(m_im[static_cast<size_t>(k)])));
    file.WriteString("\n##### BAND INFO LIST #####\n\n");
    if (const CExpProject* project = GetExpProject(); project && project->GetFreqBandInfo()) {
        CBandInfoManager info;
        info.SetOctaveManager(project->GetFreqBandInfo());
        info.SetLineCount(m_lineCount);
        info.SetDf(m_df);
        info.CreateBandInfoList();
        for (const tagBandInfo& band : info.GetBandList())
            file.WriteString(Format("%g\t%d\t%d\n", band.dCentre, band.nFirstLine, band.nLineCount));
    }
    file.WriteString("\n##### BAND AVE AMP #####\n\n");
    for (size_t i = 0; i < m_bandLevels.size(); ++i)
        file.WriteString(Format("%d\t%e\n", static_cast<int>(i), double(m_bandLevels[i])));
    return 1;
}
