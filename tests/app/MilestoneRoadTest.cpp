// The whole road without a window: a project made as a user makes it (model from the sample model
// data file, a DAQ project with a measured run-up, an analysis project), saved, opened into a fresh
// document and found exactly as it was: the same element trees and samples, and the same bytes
// when stored again. The sample project written at build time passes the same check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/ProjectHistory.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "platform/archive/Archive.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";

Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes StoreContainer(CTALVOProject& container)
{
    Bytes bytes;
    CArchive ar(&bytes, CArchive::store);
    container.Serialize(ar);
    return bytes;
}

// The same elements of the same classes under the same names, types and order, and channel records
// with the same samples and settings.
void ExpectSameTree(const CMElement& a, const CMElement& b, const std::string& path)
{
    const std::string here = path + "/" + a.GetName();
    ASSERT_STREQ(a.GetRuntimeClass()->m_lpszClassName, b.GetRuntimeClass()->m_lpszClassName) << here;
    ASSERT_EQ(a.GetName(), b.GetName()) << here;
    ASSERT_EQ(a.GetType(), b.GetType()) << here;
    ASSERT_EQ(a.GetChildCount(), b.GetChildCount()) << here;
    if (const auto* da = DynamicDowncast<CExpData>(&a)) {
        const auto* db = DynamicDowncast<CExpData>(&b);
        EXPECT_TRUE(da->GetSamples() == db->GetSamples()) << here;
        EXPECT_EQ(da->GetSamplingFrequency(), db->GetSamplingFrequency()) << here;
        EXPECT_EQ(da->GetLocalPointNumber(), db->GetLocalPointNumber()) << here;
        tagSENSORINFO sa, sb;
        EXPECT_EQ(da->GetSensorInfo(sa), db->GetSensorInfo(sb)) << here;
        EXPECT_EQ(sa, sb) << here;
    }
    for (int i = 0; i < a.GetChildCount(); ++i)
        ExpectSameTree(*a.GetChild(i), *b.GetChild(i), here);
}

void ExpectSameContainer(const CTALVOProject& a, const CTALVOProject& b)
{
    ASSERT_EQ(a.GetProjectCount(), b.GetProjectCount());
    for (int i = 0; i < a.GetProjectCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.GetProject(i)->GetID(), b.GetProject(i)->GetID());
        ExpectSameTree(*a.GetProject(i), *b.GetProject(i), "");
    }
    EXPECT_EQ(a.GetPID(), b.GetPID());
    EXPECT_EQ(a.GetNextProjectID(), b.GetNextProjectID());
}

// The measured-data tree below the DAQ project's one data set; null (with a failure) when the
// project does not hold it as the sample builder makes it.
const CExpProject* FindMeasurement(const CTALVOProject& container)
{
    const CDaqProject* daq = container.GetDaqProject(0);
    EXPECT_NE(daq, nullptr);
    if (!daq)
        return nullptr;
    const auto* exp = ElementCast<CTALVOExp>(daq->FindExp(sample::kExcited, sample::kResponse));
    EXPECT_NE(exp, nullptr);
    if (!exp)
        return nullptr;
    const CDAQExperiment* set = exp->FindDataSetBySerial(1);
    EXPECT_NE(set, nullptr);
    if (!set)
        return nullptr;
    EXPECT_EQ(set->GetName(), "01");
    EXPECT_EQ(set->GetExpInfo()->GetName(0), sample::kExcited);
    EXPECT_EQ(set->GetExpInfo()->GetName(1), sample::kResponse);
    const auto* measurement = ElementCast<CExpProject>(set->FindOneChild(sample::kMeasurementName));
    EXPECT_NE(measurement, nullptr);
    return measurement;
}

// The run-up as the builder makes it: the pulse channel in the RPM signal data, both order
// channels in the excited structure's first data set, the responding side without data.
void ExpectRunUp(const CExpProject& measurement)
{
    const CRPMSignalData* rpm = measurement.GetRPMSignalData();
    ASSERT_NE(rpm, nullptr);
    ASSERT_EQ(rpm->GetChildCount(), 1);
    ASSERT_EQ(rpm->GetChild(0)->GetChildCount(), 1);
    const auto* pulse = ElementCast<CExpData>(rpm->GetChild(0)->GetChild(0));
    ASSERT_NE(pulse, nullptr);
    const int n = sample::SampleCount();
    ASSERT_EQ(pulse->GetSampleCount(), n);
    EXPECT_EQ(pulse->GetSamplingFrequency(), sample::kSamplingFrequency);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(pulse->GetSamples()[static_cast<size_t>(i)], sample::PulseSample(i)) << i;

    const CExcitation* excited = measurement.FindExcitation(sample::kExcited);
    ASSERT_NE(excited, nullptr);
    ASSERT_EQ(excited->GetChildCount(), 1);
    EXPECT_EQ(excited->GetChild(0)->GetName(), "DataSet1");
    ASSERT_EQ(excited->GetChild(0)->GetChildCount(), 2);
    for (int c = 0; c < 2; ++c) {
        const auto* data = ElementCast<CExpData>(excited->GetChild(0)->GetChild(c));
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(data->GetSampleCount(), n);
        EXPECT_EQ(data->GetLocalPointNumber(), c);
        tagSENSORINFO sensor;
        ASSERT_EQ(data->GetSensorInfo(sensor), 1);
        EXPECT_EQ(sensor.ID, sample::kSensorIds[c]);
        EXPECT_EQ(sensor.ChannelInfo.Channel, c);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(data->GetSamples()[static_cast<size_t>(i)], sample::OrderSample(c, i)) << c << ":" << i;
    }
    // The cabin's microphone, as sound pressure.
    const CExcitation* response = measurement.FindExcitation(sample::kResponse);
    ASSERT_NE(response, nullptr);
    ASSERT_EQ(response->GetChildCount(), 1);
    ASSERT_EQ(response->GetChild(0)->GetChildCount(), 1);
    const auto* mic = ElementCast<CExpData>(response->GetChild(0)->GetChild(0));
    ASSERT_NE(mic, nullptr);
    ASSERT_EQ(mic->GetSampleCount(), n);
    tagSENSORINFO sensor;
    ASSERT_EQ(mic->GetSensorInfo(sensor), 1);
    EXPECT_EQ(sensor.ID, sample::kMicrophoneId);
    EXPECT_EQ(sensor.ChannelInfo.DataType, SENSOR_DATATYPE_PRESSURE);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(mic->GetSamples()[static_cast<size_t>(i)], sample::MicSample(i)) << i;
}

// Where the container's own data begin: after the header and the four strings that stamp the
// program that wrote the file (its path and file time among them).
size_t AfterProgramStamp(const Bytes& bytes)
{
    CArchive ar(bytes.data(), bytes.size());
    std::string text;
    for (int i = 0; i < 5; ++i)
        ar >> text;
    return bytes.size() - static_cast<size_t>(ar.BytesRemaining());
}

// Opens the file into a fresh document and stores its container again: the bytes are the file's
// container bytes. A file written by another program (the sample writer) differs in the program's
// stamp only.
void ExpectReopensByteForByte(const fs::path& file, CTALVODoc& reopened, bool sameProgram)
{
    const Bytes bytes = ReadFile(file);
    ASSERT_FALSE(bytes.empty());
    std::string error;
    ASSERT_TRUE(reopened.OnOpenDocument(file.string(), &error)) << error;
    const Bytes container = StoreContainer(reopened.GetTALVOProject());
    const size_t stored = sameProgram ? 0 : AfterProgramStamp(container);
    const size_t read = sameProgram ? 0 : AfterProgramStamp(bytes);
    const size_t length = container.size() - stored;
    ASSERT_LT(read + length, bytes.size()) << "the stored container is longer than the file";
    const auto at = std::mismatch(container.begin() + static_cast<long>(stored), container.end(),
                                  bytes.begin() + static_cast<long>(read));
    EXPECT_TRUE(at.first == container.end()) << "the stored container differs from the file at byte "
                                             << (at.second - bytes.begin()) << " of " << bytes.size();
}

// The document's own part after the container: the file properties and the history.
void ExpectSameDocumentPart(CTALVODoc& a, CTALVODoc& b)
{
    for (int id : {kFilePropAppName, kFilePropModuleName, kFilePropFileVersion, kFilePropProductVersion})
        EXPECT_EQ(a.GetFileProperties().GetString(id), b.GetFileProperties().GetString(id)) << id;
    EXPECT_EQ(a.GetFileProperties().GetLong(kFilePropModuleTime), b.GetFileProperties().GetLong(kFilePropModuleTime));
    const CProjectHistory* before = a.GetProjectHistory();
    const CProjectHistory* after = b.GetProjectHistory();
    ASSERT_NE(before, nullptr);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->GetAppName(), before->GetAppName());
    EXPECT_EQ(after->GetType(), before->GetType());
    EXPECT_EQ(after->GetAppVersion(), before->GetAppVersion());
    EXPECT_EQ(after->GetPathName(), before->GetPathName());
    EXPECT_EQ(after->GetCreationTime(), before->GetCreationTime());
    EXPECT_EQ(after->GetModifiedTime(), before->GetModifiedTime());
    EXPECT_EQ(after->GetChildCount(), before->GetChildCount());
}

} // namespace

TEST(MilestoneRoad, AProjectMadeAsAUserMakesItReopensExactly)
{
    CScriptedPrompts prompts;
    CRecordingMessageTarget progress;
    CMainWindowTargetScope scope(&progress);
    const fs::path file = AppTestTempDir() / "road" / "Road Project.orv";

    CTALVODoc made;
    CStatusBarFeedback statusBar; // the main window gives its document the status bar
    made.SetFeedback(&statusBar);
    std::string error;
    ASSERT_TRUE(sample::Build(made, kSamples, file.string(), &error)) << error;
    const CTALVOProject& container = made.GetTALVOProject();
    ASSERT_EQ(container.GetProjectCount(), 3);
    ASSERT_NE(container.GetModelProject(), nullptr);
    const CDaqProject* daq = container.GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    const auto* analysis = DynamicDowncast<CAnalysisProject>(container.GetProject(2));
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->GetDaqProject(), daq);
    const CExpProject* measurement = FindMeasurement(container);
    ASSERT_NE(measurement, nullptr);
    ExpectRunUp(*measurement);
    EXPECT_FALSE(made.IsModified());
    EXPECT_EQ(made.GetPathName(), file.string());

    // The measured data nested in the project file step the file's progress like every element and
    // neither reset nor hide it midway.
    const auto records = progress.Records();
    size_t lastSave = 0;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].msg == WM_ZU_PROGRESS_RANGE)
            lastSave = i;
    ASSERT_LT(lastSave, records.size());
    int steps = 0, hides = 0;
    for (size_t i = lastSave; i < records.size(); ++i) {
        steps += records[i].msg == WM_ZU_PROGRESS_STEP ? 1 : 0;
        hides += records[i].msg == WM_ZU_PROGRESS_HIDE ? 1 : 0;
    }
    EXPECT_EQ(static_cast<uintptr_t>(steps), records[lastSave].wParam >> 16) << "one step per element";
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(records.back().msg, WM_ZU_PROGRESS_HIDE);

    CTALVODoc reopened;
    ExpectReopensByteForByte(file, reopened, true);
    ExpectSameContainer(container, reopened.GetTALVOProject());
    ExpectSameDocumentPart(made, reopened);
    const CExpProject* read = FindMeasurement(reopened.GetTALVOProject());
    ASSERT_NE(read, nullptr);
    ExpectRunUp(*read);
    EXPECT_EQ(read->GetChannelRanges(), measurement->GetChannelRanges());
    EXPECT_EQ(read->GetMode(), measurement->GetMode());
    const auto* readAnalysis = DynamicDowncast<CAnalysisProject>(reopened.GetTALVOProject().GetProject(2));
    ASSERT_NE(readAnalysis, nullptr);
    EXPECT_EQ(readAnalysis->GetDaqProject(), reopened.GetTALVOProject().GetDaqProject(0));
    EXPECT_EQ(reopened.GetTALVOProject().GetDaqProject(0)->GetDAQConfig()->GetSamplingFreq(),
              sample::kSamplingFrequency);

    EXPECT_EQ(prompts.Count(), 0u) << "the road asks nothing";
    reopened.OnCloseDocument();
    made.OnCloseDocument();
}

TEST(MilestoneRoad, TheBuiltSampleProjectReopensExactly)
{
    const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples" / "sample.orv";
    if (!fs::exists(built))
        GTEST_SKIP() << "no sample project was built at " << built;
    // Opened from a copy: opening makes the work folder beside the file.
    const fs::path file = AppTestTempDir() / "sample" / "sample.orv";
    fs::create_directories(file.parent_path());
    fs::copy_file(built, file, fs::copy_options::overwrite_existing);

    CScriptedPrompts prompts;
    CTALVODoc reopened;
    ExpectReopensByteForByte(file, reopened, false);
    const CTALVOProject& container = reopened.GetTALVOProject();
    ASSERT_EQ(container.GetProjectCount(), 4);
    ASSERT_NE(container.GetModelProject(), nullptr);
    EXPECT_NE(container.GetModelProject()->GetHSEAModelData(), nullptr);
    EXPECT_NE(DynamicDowncast<CAnalysisProject>(container.GetProject(2)), nullptr);
    // The second analysis project holds the results of the run-up.
    const auto* results = DynamicDowncast<CAnalysisProject>(container.GetProject(3));
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->GetName(), sample::kResultsProjectName);
    CZuSubsystemTable roof;
    roof.Add(sample::kExcited);
    EXPECT_NE(results->FindEnergyResult(roof), nullptr);
    const CExpProject* measurement = FindMeasurement(container);
    ASSERT_NE(measurement, nullptr);
    ExpectRunUp(*measurement);
    EXPECT_EQ(prompts.Count(), 0u);
    reopened.OnCloseDocument();
}
