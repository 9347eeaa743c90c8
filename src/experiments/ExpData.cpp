#include "experiments/ExpData.h"

#include <cmath>

#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "experiments/Sensor.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "spectral/FFT.h"
#include "spectral/RPMOptions.h"

IMPLEMENT_SERIAL(CExpData, CMElement, CExpData::kSchema | VERSIONABLE_SCHEMA)

CExpData::CExpData() : m_sensor(std::make_unique<CSensor>(std::string(), nullptr, -1)) {}

CExpData::CExpData(const std::string& name, CMElement* parent, int type)
    : CMElement(name, parent, type), m_sensor(std::make_unique<CSensor>(std::string(), nullptr, -1))
{}

CExpData::~CExpData() = default;

// ---- parameters ----

void CExpData::SetEngineCount(int n)
{
    if (n < 0)
        if (const CExpProject* project = GetExpProject(); project && project->GetDAQConfig())
            n = project->GetDefaultEngineCount();
    m_engineCount = n;
}

void CExpData::SetPulseCount(int n)
{
    if (n < 0)
        if (const CExpProject* project = GetExpProject(); project && project->GetDAQConfig())
            n = project->GetDefaultPulseCount();
    m_pulseCount = n;
}

void CExpData::SetDetectionLevel(float level)
{
    if (level == 0.0f)
        if (const CExpProject* project = GetExpProject(); project && project->GetDAQConfig())
            level = project->GetDefaultDetectionLevel();
    m_detectionLevel = level;
}

// ---- samples ----

CExpDataSet* CExpData::GetDataSet() const
{
    return ElementCast<CExpDataSet>(GetParent());
}

CExpProject* CExpData::GetExpProject() const
{
    const CExpDataSet* set = GetDataSet();
    const CMElement* group = set ? set->GetParent() : nullptr;
    return group ? ElementCast<CExpProject>(group->GetParent()) : nullptr;
}

float* CExpData::GetData()
{
    return GetExpProject() ? m_samples.data() : nullptr;
}

// The kept RPM intervals describe the samples they were detected in; other samples detect anew.
void CExpData::SetSampleCount(int n)
{
    m_samples.resize(static_cast<size_t>(n < 0 ? 0 : n), 0.0f);
    m_rpmInfo.reset();
}

void CExpData::SetSamples(const float* samples, int n)
{
    m_rpmInfo.reset();
    if (!samples || n <= 0) {
        m_samples.clear();
        return;
    }
    m_samples.assign(samples, samples + n);
}

// ---- sensor ----

int CExpData::GetSensorInfo(tagSENSORINFO& info) const
{
    if (!m_sensor)
        return 0;
    info = m_sensor->GetSensorInfo();
    return 1;
}

int CExpData::GetChannelInfo(CHANNELINFO& info) const
{
    if (!m_sensor)
        return 0;
    info = m_sensor->GetChannelInfo();
    return 1;
}

int CExpData::ReplaceSensorInfo(const tagSENSORINFO& info)
{
    if (!m_sensor)
        return 0;
    const float oldSensitivity = m_sensor->GetChannelInfo().Sensitivity;
    m_sensor->SetID(info.ID);
    m_sensor->SetManufacturer(info.Manufacturer);
    m_sensor->SetModel(info.Model);
    m_sensor->SetSerialNumber(info.SerialNumber);
    m_sensor->SetChannelInfo(info.ChannelInfo);
    const float newSensitivity = info.ChannelInfo.Sensitivity;
    // The samples follow a new calibration; a sensitivity of 0 (none known yet, or a blank
    // record) carries no calibration, so nothing is rescaled from or to it.
    if (oldSensitivity > 0.0f && newSensitivity > 0.0f && oldSensitivity != newSensitivity) {
        const float factor = oldSensitivity / newSensitivity;
        for (float& v : m_samples)
            v *= factor;
    }
    return 1;
}

int CExpData::CheckLocalPoint() const
{
    const CExpDataSet* set = GetDataSet();
    const CMElement* group = set ? set->GetParent() : nullptr;
    if (ElementCast<CRPMSignalData>(const_cast<CMElement*>(group)))
        return 1;
    const auto* excitation = ElementCast<CExcitation>(const_cast<CMElement*>(group));
    const CExpProject* project = GetExpProject();
    if (!excitation || !project)
        return 0;
    return project->IsLocalPointValid(excitation->GetSubsystemName(), m_localPoint);
}

// ---- levels ----

double CExpData::GetPeak() const
{
    float peak = 0.0f;
    for (float v : m_samples)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

double CExpData::GetMaxVoltage() const
{
    return GetPeak() * (m_sensor ? m_sensor->GetChannelInfo().Sensitivity : 0.0f);
}

double CExpData::GetEnergy() const
{
    if (m_samples.empty() || !(m_fs > 0.0f))
        return 0.0;
    double sum = 0.0;
    for (float v : m_samples)
        sum += double(v) * double(v);
    return sum / m_fs;
}

int CExpData::IsOverLimit(float ratio) const
{
    const float limit = m_sensor ? m_sensor->GetChannelInfo().Limit : 0.0f;
    return limit != 0.0f && ratio != 0.0f && GetPeak() >= double(limit) * double(ratio) ? 1 : 0;
}

// ---- RPM intervals ----

int CExpData::DetectRpmInfoInt(CRPMInfoListInt& list) const
{
    CRpmDetection detection;
    detection.SetEngineCount(m_engineCount);
    detection.SetPulseCount(m_pulseCount);
    detection.SetSamplingFreq(m_fs);
    return detection.DetectRpmIntList(m_samples.data(), GetSampleCount(), list);
}

int CExpData::DetectRpmInfoFloat(CRPMInfoListFloat& list) const
{
    CRpmDetection detection;
    detection.SetEngineCount(m_engineCount);
    detection.SetPulseCount(m_pulseCount);
    detection.SetSamplingFreq(m_fs);
    return detection.DetectRpmFloatList(m_samples.data(), GetSampleCount(), list);
}

void CExpData::MapToGrid(const CRPMInfoListFloat& intervals, const std::vector<float>& grid, CRPMInfoListInt& out)
{
    out.clear();
    size_t cursor = 0;
    for (float g : grid) {
        const int r = static_cast<int>(g);
        for (size_t k = cursor; k < intervals.size(); ++k) {
            if (intervals[k].dRpm >= r) {
                tagIRPMINFO entry;
                entry.nRpm = r;
                entry.nStart = static_cast<int>(intervals[k].dStart + 0.5);
                entry.nLength = 0;
                out.push_back(entry);
                cursor = k + 1;
                break;
            }
        }
    }
}

const CRPMInfoListInt& CExpData::BuildRpmInfo(const CRPMOptions* options)
{
    if (m_rpmInfo)
        return *m_rpmInfo;
    m_rpmInfo = std::make_unique<CRPMInfoListInt>();
    const CExpProject* project = GetExpProject();
    if (project && project->GetDAQConfig()) {
        SetEngineCount(project->GetDefaultEngineCount());
        SetPulseCount(project->GetDefaultPulseCount());
    }
    CRPMInfoListFloat intervals;
    DetectRpmInfoFloat(intervals);
    std::vector<float> grid;
    if (options) {
        options->MakeRpmArray(grid);
    } else if (project && project->GetDAQConfig()) {
        // The acquisition's range; one that makes no axis (a step of 0) gives no intervals rather
        // than intervals of some other axis.
        CRPMOptions range;
        if (range.SetRange(static_cast<float>(project->GetRpmLow()), static_cast<float>(project->GetRpmHigh()),
                           static_cast<float>(project->GetRpmStep())))
            range.MakeRpmArray(grid);
    } else {
        CRPMOptions().MakeRpmArray(grid);
    }
    MapToGrid(intervals, grid, *m_rpmInfo);
    return *m_rpmInfo;
}

int CExpData::DetectRpmInfo(const CRPMOptions* options)
{
    return static_cast<int>(BuildRpmInfo(options).size());
}

const CRPMInfoListInt& CExpData::GetRpmInfoList()
{
    return BuildRpmInfo(nullptr);
}

CExpData* CExpData::FindPulseChannel() const
{
    const CExpDataSet* set = GetDataSet();
    const CExpProject* project = GetExpProject();
    const CRPMSignalData* signal = project ? project->GetRPMSignalData() : nullptr;
    if (!set || !signal)
        return nullptr;
    const CMElement* pulseSet = signal->FindOne(set->GetName(), -1, 1);
    return pulseSet ? ElementCast<CExpData>(pulseSet->GetChild(0)) : nullptr;
}

int CExpData::GetRpmBlock(double rpm, const float*& block, int& length)
{
    CExpData* pulse = FindPulseChannel();
    const CExpProject* project = GetExpProject();
    if (!pulse || !project)
        return 0;
    const int wanted = static_cast<int>(rpm);
    const CRPMInfoListInt& list = pulse->GetRpmInfoList();
    const tagIRPMINFO* entry = nullptr;
    for (const auto& e : list)
        if (e.nRpm == wanted) {
            entry = &e;
            break;
        }
    if (!entry)
        return 0;
    const int start = entry->nStart;
    int n = entry->nLength;
    if (project->GetBlockMode() == 0)
        n = static_cast<int>(project->GetBlockLength(m_fs, 0.0f, 0.0f));
    const int count = GetSampleCount();
    if (start >= count || n < 1 || n > count)
        return 0;
    int first = start - n / 2;
    if (first < 0)
        first = 0;
    if (first + n > count)
        first = count - n;
    block = m_samples.data() + first;
    length = n;
    return 1;
}

int CExpData::CalcSpectrum(double rpm)
{
    if (rpm <= 0.0)
        return 1;
    const CExpProject* project = GetExpProject();
    const float* block = m_samples.data();
    int length = GetSampleCount();
    if (!project || project->GetMode() == 0) {
        if (!GetRpmBlock(rpm, block, length))
            return 0;
    }
    CFFT fft;
    fft.SetData(block, length);
    fft.SetSamplingFreq(m_fs);
    if (project) {
        fft.SetHighPassFreq(project->GetHighPassFreq());
        fft.SetWindowType(project->GetWindowType());
    }
    std::vector<float> re;
    std::vector<float> im;
    fft.Compute(re, im);
    m_re = std::move(re);
    m_im = std::move(im);
    m_df = fft.GetDf();
    m_lineCount = fft.GetLineCount();
    m_spectrumRpm = rpm;
    return 1;
}

float CExpData::GetLineMagnitude(int i) const
{
    if (i < 0 || i >= m_lineCount || i >= static_cast<int>(m_re.size()) || i >= static_cast<int>(m_im.size()))
        return kNoMagnitude;
    const float re = m_re[static_cast<size_t>(i)];
    const float im = m_im[static_cast<size_t>(i)];
    return std::sqrt(re * re + im * im);
}

float CExpData::GetBandMagnitude(int first, int count) const
{
    // The band must lie inside the spectrum as a whole, not only start in it.
    if (!(first > 0 && count > 0 && first < m_lineCount && count < m_lineCount) ||
        static_cast<int64_t>(first) + count > m_lineCount)
        return kNoMagnitude;
    double sum = 0.0;
    for (int i = first; i < first + count; ++i)
        sum += GetLineMagnitude(i);
    return static_cast<float>(sum / count);
}

// ---- text dump ----

int CExpData::WriteDump(CStdioFile& file, const std::string& param)
{
    const CExpDataSet* set = GetDataSet();
    const CMElement* group = set ? set->GetParent() : nullptr;
    const std::string header = Format("[%s]-[%s]-[%s]\n", group ? group->GetName().c_str() : "",
                                      set ? set->GetName().c_str() : "", GetName().c_str());
    if (param == "PulsePosList") {
        file.WriteString(header);
        file.WriteString("\n##### PULSE POS LIST #####\n\n");
        CRpmDetection detection;
        detection.SetPulseCount(m_pulseCount);
        detection.SetEngineCount(m_engineCount);
        detection.SetSamplingFreq(m_fs);
        if (const CExpProject* project = GetExpProject())
            detection.SetOctaveManager(project->GetFreqBandInfo());
        std::vector<int> crossings;
        detection.FindCrossings(m_samples.data(), GetSampleCount(), crossings, 0.0f);
        for (size_t k = 0; k < crossings.size(); ++k)
            file.WriteString(Format("%d\t%d\n", static_cast<int>(k), crossings[k]));
        return 1;
    }
    if (!param.empty())
        return 0;
    file.WriteString(header);
    file.WriteString("\n##### RAW DATA #####\n\n");
    for (size_t i = 0; i < m_samples.size(); ++i)
        file.WriteString(Format("%d\t%e\n", static_cast<int>(i), double(m_samples[i])));
    file.WriteString("\n##### RPM INFO LIST #####\n\n");
    for (const auto& e : GetRpmInfoList())
        file.WriteString(Format("%d\t%d\t%d\n", e.nRpm, e.nStart, e.nLength));
    file.WriteString("\n##### ALL RPM INFO LIST #####\n\n");
    CRPMInfoListFloat all;
    DetectRpmInfoFloat(all);
    for (const auto& e : all)
        file.WriteString(Format("%e\t%e\t%d\n", e.dRpm, e.dStart, e.nLength));
    file.WriteString("\n##### VARIABLES #####\n\n");
    file.WriteString(Format("Sampling Freq:\t%e\n", double(m_fs)));
    file.WriteString(Format("Local Point Number:\t%d\n", m_localPoint));
    file.WriteString(Format("Engine Count:\t%d\n", m_engineCount));
    file.WriteString(Format("Pulse Count:\t%d\n", m_pulseCount));
    file.WriteString(Format("Detection Level:\t%e\n", double(m_detectionLevel)));
    file.WriteString(Format("Gear Count:\t%e\n", double(m_gearCount)));
    tagSENSORINFO info;
    GetSensorInfo(info);
    file.WriteString("\n##### SENSOR INFO #####\n\n");
    file.WriteString(Format("ID:\t%s\n", info.ID.c_str()));
    file.WriteString(Format("Manufacturer:\t%s\n", info.Manufacturer.c_str()));
    file.WriteString(Format("Model:\t%s\n", info.Model.c_str()));
    file.WriteString(Format("Serial Number:\t%s\n", info.SerialNumber.c_str()));
    const CHANNELINFO& ch = info.ChannelInfo;
    file.WriteString("\n##### CHANNEL INFO #####\n\n");
    file.WriteString(Format("Channel:\t%d\n", ch.Channel));
    file.WriteString(Format("Attach Point:\t%s\n", ch.AttachPoint.c_str()));
    file.WriteString(Format("Comment:\t%s\n", ch.Comment.c_str()));
    file.WriteString(Format("Data Type:\t%d\n", ch.DataType));
    file.WriteString(Format("Sensitivity:\t%e\n", double(ch.Sensitivity)));
    file.WriteString(Format("Unit:\t%d\n", ch.Unit));
    file.WriteString(Format("Range:\t%e\n", double(ch.Range)));
    file.WriteString(Format("Auto Range:\t%d\n", ch.AutoRange));
    file.WriteString(Format("Coupling:\t%d\n", ch.Coupling));
    file.WriteString(Format("Scale:\t%e\n", double(ch.Scale)));
    file.WriteString(Format("Limit:\t%e\n", double(ch.Limit)));
    return 1;
}

// ---- storage ----

void CExpData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CMElement::Serialize(ar);
        ar << m_fs;
        {
            // The sensor copy is no element of the tree: it takes no step of the progress that
            // counts the tree's elements.
            CArchive::CFeedbackScope noStep(ar, nullptr);
            ar.WriteObject(m_sensor.get());
        }
        ar << m_localPoint << m_engineCount << m_pulseCount << m_detectionLevel << m_gearCount;
        ar << static_cast<int32_t>(m_samples.size());
        // The samples go out as one block, straight from the array.
        if (!m_samples.empty())
            ar.Write(m_samples.data(), m_samples.size() * sizeof(float));
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema != 0xFFFFFFFFu && schema != kSchema)
        CArchive::ThrowBadSchema(Format("channel record of schema %u", schema));
    CMElement::Serialize(ar);
    float fs = 0.0f;
    ar >> fs;
    auto sensor = ar.ReadOwned<CSensor>();
    int32_t localPoint = -1;
    int32_t engineCount = 0;
    int32_t pulseCount = 0;
    float detectionLevel = 0.0f;
    float gearCount = 1.0f;
    ar >> localPoint >> engineCount >> pulseCount >> detectionLevel >> gearCount;
    // Refused before allocating when the file cannot hold that many samples; read straight into
    // the array that keeps them.
    const std::string what = Format("samples of channel record \"%s\"", GetName().c_str());
    const int32_t n = ar.ReadSignedCount(sizeof(float), what.c_str());
    CSampleArray samples;
    samples.resize(static_cast<size_t>(n)); // filled from the file next, so not cleared first
    if (n > 0)
        ar.Read(samples.data(), samples.size() * sizeof(float));
    m_fs = fs;
    m_sensor = std::move(sensor);
    m_localPoint = localPoint;
    m_engineCount = engineCount;
    m_pulseCount = pulseCount;
    m_detectionLevel = detectionLevel;
    m_gearCount = gearCount == 0.0f ? 1.0f : gearCount;
    m_samples = std::move(samples);
    m_rpmInfo.reset();
    m_re.clear();
    m_im.clear();
    m_lineCount = 0;
    m_df = 0.0f;
    m_spectrumRpm = 0.0;
}
