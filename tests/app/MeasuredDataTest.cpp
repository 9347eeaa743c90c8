// Measured data of a DAQ project: experiments and data sets, the measured-data tree of synthetic
// run-up signals stored and read back, RPM intervals, blocks and order levels of a channel record,
// averaging over experiments and the recalculation's outcome messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "ProjectTestEnv.h"
#include "experiments/DAQConfig.h"
#include "acquisition/QmxBlixChMgr.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "common/WorkFolder.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorProject.h"
#include "models/HSEAOptions.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/FFT.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {

const std::filesystem::path kSamples = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples";

constexpr float kFs = 16384.0f;
constexpr double kSeconds = 10.2; // 1000 RPM rising by 500 RPM per second: past 6000 at the end
constexpr double kOrder1 = 2.0, kAmp1 = 3.0;
constexpr double kOrder2 = 4.0, kAmp2 = 0.5;

double RpmAt(double t)
{
    return 1000.0 + 500.0 * t;
}
double RevolutionsAt(double t)
{
    return (1000.0 * t + 250.0 * t * t) / 60.0;
}

// A container with the sample model, a DAQ project, and two accelerometers in two bundles.
struct MeasuredProject
{
    CTALVOProject container;
    CDaqProject* daq = nullptr;
    std::string structure; // a structural subsystem of the model (the excited side, name 0)
    std::string response;  // another subsystem (the responding side, name 1)

    MeasuredProject()
    {
        EXPECT_NE(container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string(), StatusBarBoxes()),
                  nullptr);
        const CZuSubsystemTable* table = container.GetModelSubsystemTable();
        for (int i = 0; table && i < table->GetCount(); ++i) {
            if (structure.empty() && container.IsStructure((*table)[i]))
                structure = (*table)[i];
            else if (response.empty() && structure != (*table)[i])
                response = (*table)[i];
        }
        daq = container.AddDaqProject();
        daq->GetDAQConfig()->SetSamplingFreq(kFs);
        daq->GetCalcOptions()->SetWindowType(CFFT::windowHanning);
        container.GetHSEAOptions().m_nMeanMethod = 0;

        CSensorProject* sensors = container.GetSensorProject();
        for (const char* id : {"A1", "A2"}) {
            tagSENSORINFO info;
            info.ID = id;
            info.Manufacturer = "Maker";
            info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
            info.ChannelInfo.Sensitivity = 10.0f;
            EXPECT_NE(sensors->AddSensor(info), nullptr);
        }
    }

    // A description with the two accelerometers on channels 0 and 1 of the excited side and A1 on
    // channel 2 of the responding side.
    CExpInfo MakeInfo(const std::string& secondSensor = "A2") const
    {
        CExpInfo info;
        info.SetName(0, structure);
        info.SetName(1, response);
        CSensorGroup excited;
        excited.SetMember({"A1", 1, 0, 0, 0});
        excited.SetMember({secondSensor, 1, 1, 1, 0});
        info.SetSensorGroup(0, excited);
        CSensorGroup responding;
        responding.SetMember({"A1", 2, 0, 2, 0});
        info.SetSensorGroup(1, responding);
        info.SetLabel("Run-up");
        info.SetNote("synthetic");
        if (auto* inventory = DynamicDowncast<CQmxBlixChMgr>(info.GetHardwareInventory())) {
            CQmxBoardInfo board;
            board.SetSerial("BRD1");
            inventory->GetBoardInfoList().Add(board);
        }
        return info;
    }
};

// The measured-data tree of one data set: a pulse channel (one pulse per revolution) and two
// channels with orders kOrder1 and kOrder2 over the run-up.
std::unique_ptr<CExpProject> MakeRunUp(MeasuredProject& p, CDAQExperiment* set)
{
    auto exp = std::make_unique<CExpProject>("Measurement", nullptr, -1);
    exp->SetDAQProject(p.daq);
    exp->SetExperiment(set);
    exp->CreateDefaultChildren();
    CExpDataSet* pulseSet = exp->AddRpmSignalDataSet();
    CExpDataSet* dataSet = exp->AddExcitationDataSet(exp->GetExcitationIndex(p.structure));
    EXPECT_NE(pulseSet, nullptr);
    EXPECT_NE(dataSet, nullptr);
    if (!pulseSet || !dataSet)
        return exp;
    const int n = static_cast<int>(kSeconds * kFs);
    auto* pulse = ElementCast<CExpData>(pulseSet->GetChild(0));
    pulse->SetSampleCount(n);
    float* x = pulse->GetData();
    for (int i = 0; i < n; ++i)
        x[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * RevolutionsAt(i / double(kFs))));
    for (int c = 0; c < dataSet->GetChildCount(); ++c) {
        auto* data = ElementCast<CExpData>(dataSet->GetChild(c));
        data->SetSampleCount(n);
        float* y = data->GetData();
        for (int i = 0; i < n; ++i) {
            const double phase = 2.0 * std::numbers::pi * RevolutionsAt(i / double(kFs));
            y[i] =
                static_cast<float>((c + 1) * (kAmp1 * std::sin(kOrder1 * phase) + kAmp2 * std::sin(kOrder2 * phase)));
        }
    }
    return exp;
}

void StoreBoth(const std::string& path, CDaqProject& daq, CExpProject& exp)
{
    CArchive ar(path, CArchive::store);
    ar.WriteObject(&daq);
    ar.WriteObject(&exp);
    ar.Close();
}

void ExpectSameRecords(const CMElement& a, const CMElement& b)
{
    ASSERT_EQ(a.GetName(), b.GetName());
    ASSERT_EQ(a.GetType(), b.GetType());
    ASSERT_EQ(a.GetChildCount(), b.GetChildCount()) << a.GetName();
    const auto* da = DynamicDowncast<CExpData>(&a);
    const auto* db = DynamicDowncast<CExpData>(&b);
    ASSERT_EQ(da == nullptr, db == nullptr);
    if (da) {
        EXPECT_TRUE(da->GetSamples() == db->GetSamples()) << a.GetName();
        EXPECT_EQ(da->GetSamplingFrequency(), db->GetSamplingFrequency());
        EXPECT_EQ(da->GetLocalPointNumber(), db->GetLocalPointNumber());
        EXPECT_EQ(da->GetEngineCount(), db->GetEngineCount());
        EXPECT_EQ(da->GetPulseCount(), db->GetPulseCount());
        EXPECT_EQ(da->GetDetectionLevel(), db->GetDetectionLevel());
        EXPECT_EQ(da->GetGearCount(), db->GetGearCount());
        tagSENSORINFO sa, sb;
        EXPECT_EQ(da->GetSensorInfo(sa), 1);
        EXPECT_EQ(db->GetSensorInfo(sb), 1);
        EXPECT_EQ(sa, sb);
    }
    for (int i = 0; i < a.GetChildCount(); ++i)
        ExpectSameRecords(*a.GetChild(i), *b.GetChild(i));
}

TEST(MeasuredData, RunUpProjectIsStoredAndReadBackEqual)
{
    MeasuredProject p;
    ASSERT_FALSE(p.structure.empty());
    ASSERT_FALSE(p.response.empty());
    CDAQExperiment* set = p.daq->AddDataSet(p.MakeInfo());
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetName(), "01");
    EXPECT_EQ(set->GetSerial(), 1);
    EXPECT_EQ(set->GetDaqProjectID(), p.daq->GetID());
    CDAQExperiment* second = p.daq->AddDataSet(p.MakeInfo());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetName(), "02");
    EXPECT_EQ(second->GetParent(), set->GetParent()) << "the same pair files into the same experiment";
    EXPECT_EQ(p.daq->FindExp(p.structure, p.response), set->GetParent());
    EXPECT_EQ(p.daq->FindExp("", p.response), nullptr);

    auto exp = MakeRunUp(p, set);
    // Excitation names: the responding side first, then the excited side of each experiment.
    ASSERT_EQ(exp->GetExcitationNameCount(), 2);
    EXPECT_EQ(exp->GetExcitationName(0), p.response);
    EXPECT_EQ(exp->GetExcitationName(1), p.structure);
    CExcitation* excitation = exp->FindExcitation(p.structure);
    ASSERT_NE(excitation, nullptr);
    ASSERT_EQ(excitation->GetChildCount(), 1);
    EXPECT_EQ(excitation->GetChild(0)->GetName(), "DataSet1");
    EXPECT_EQ(excitation->GetChild(0)->GetChildCount(), 2);

    const std::string path = (AppTestTempDir() / "runup.bin").string();
    StoreBoth(path, *p.daq, *exp);

    CArchive ar(path, CArchive::load);
    auto daq = ar.ReadOwned<CDaqProject>();
    auto read = ar.ReadOwned<CExpProject>();
    ASSERT_NE(daq, nullptr);
    ASSERT_NE(read, nullptr);
    ExpectSameRecords(*exp, *read);
    EXPECT_EQ(read->GetChannelRanges(), exp->GetChannelRanges());
    EXPECT_EQ(read->GetMode(), exp->GetMode());

    auto* readExp = ElementCast<CTALVOExp>(daq->FindExp(p.structure, p.response));
    ASSERT_NE(readExp, nullptr);
    EXPECT_EQ(readExp->GetLastSerial(), 2);
    EXPECT_EQ(readExp->GetDescription(), ElementCast<CTALVOExp>(set->GetParent())->GetDescription());
    CDAQExperiment* readSet = readExp->FindDataSetBySerial(1);
    ASSERT_NE(readSet, nullptr);
    const CExpInfo* info = readSet->GetExpInfo();
    EXPECT_EQ(info->GetName(0), p.structure);
    EXPECT_EQ(info->GetName(1), p.response);
    EXPECT_EQ(info->GetLabel(), "Run-up");
    EXPECT_EQ(info->GetNote(), "synthetic");
    ASSERT_NE(info->GetSensorGroup(0), nullptr);
    EXPECT_EQ(info->GetSensorGroup(0)->GetMemberCount(), 2);
    auto* inventory = DynamicDowncast<CQmxBlixChMgr>(info->GetHardwareInventory());
    ASSERT_NE(inventory, nullptr);
    ASSERT_EQ(inventory->GetBoardInfoList().GetSize(), 1);
    EXPECT_EQ(inventory->GetBoardInfoList()[0].GetSerial(), "BRD1");
    // The local points of the data set's options name the two subsystems.
    ASSERT_EQ(readSet->GetCalcOptions()->GetSubsystemLPInfoList().GetSize(), 2);
    EXPECT_EQ(readSet->GetCalcOptions()->GetSubsystemLPInfoList()[1].GetName(), p.response);
}

TEST(MeasuredData, IntervalsBlocksAndOrderLevelsFollowTheSyntheticRunUp)
{
    MeasuredProject p;
    CDAQExperiment* set = p.daq->AddDataSet(p.MakeInfo());
    ASSERT_NE(set, nullptr);
    auto exp = MakeRunUp(p, set);
    auto* pulse = ElementCast<CExpData>(exp->GetRPMSignalData()->GetChild(0)->GetChild(0));
    ASSERT_NE(pulse, nullptr);

    // Every grid RPM from 1000 to 6000 by 50 finds its interval, in order, each at the sample where
    // the run-up passes that speed.
    const CRPMInfoListInt& list = pulse->GetRpmInfoList();
    ASSERT_EQ(list.size(), 101u);
    for (size_t k = 0; k < list.size(); ++k) {
        EXPECT_EQ(list[k].nRpm, 1000 + 50 * static_cast<int>(k));
        EXPECT_NEAR(RpmAt(list[k].nStart / double(kFs)), list[k].nRpm, 40.0) << list[k].nRpm;
        if (k > 0) {
            EXPECT_GT(list[k].nStart, list[k - 1].nStart);
        }
    }

    auto* data = ElementCast<CExpData>(exp->FindExcitation(p.structure)->GetChild(0)->GetChild(0));
    ASSERT_NE(data, nullptr);
    const float* block = nullptr;
    int length = 0;
    ASSERT_EQ(data->GetRpmBlock(3000.0, block, length), 1);
    EXPECT_EQ(length, 2048); // 16384 Hz x 800 lines / 5000 Hz, to a power of two
    const double middle = (block - data->GetSamples().data() + length / 2) / double(kFs);
    EXPECT_NEAR(RpmAt(middle), 3000.0, 40.0);
    EXPECT_EQ(data->GetRpmBlock(3010.0, block, length), 0) << "no interval for an RPM off the grid";

    // At 3600 RPM both orders fall on spectral lines (df = 8 Hz). The RMS of the lines around an
    // order is the amplitude put in over the square root of 2.
    ASSERT_EQ(data->CalcSpectrum(3600.0), 1);
    EXPECT_FLOAT_EQ(data->GetLineSpacing(), 8.0f);
    auto orderLevel = [&](double order) {
        const int line = static_cast<int>(std::lround(order * 3600.0 / 60.0 / data->GetLineSpacing()));
        double power = 0.0;
        for (int i = line - 3; i <= line + 3; ++i)
            power += std::pow(data->GetLineMagnitude(i), 2.0);
        return std::sqrt(2.0 * power);
    };
    EXPECT_NEAR(orderLevel(kOrder1), kAmp1 / std::sqrt(2.0), 0.05 * kAmp1);
    EXPECT_NEAR(orderLevel(kOrder2), kAmp2 / std::sqrt(2.0), 0.05 * kAmp2);
    // Between the orders there is (almost) nothing.
    EXPECT_LT(orderLevel(3.0), 0.05 * kAmp2);
}

TEST(MeasuredData, ADataSetWhoseChannelsCannotAllBeMadeIsRemovedAgain)
{
    MeasuredProject p;
    CDAQExperiment* set = p.daq->AddDataSet(p.MakeInfo("NoSuchSensor"));
    ASSERT_NE(set, nullptr);
    CExpProject exp("Measurement", nullptr, -1);
    exp.SetDAQProject(p.daq);
    exp.SetExperiment(set);
    exp.CreateDefaultChildren();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    // On the run's feedback (the measurement window's boxes).
    EXPECT_EQ(exp.AddExcitationDataSet(exp.GetExcitationIndex(p.structure), StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, "No sensor for NoSuchSensor.");
    EXPECT_EQ(exp.FindExcitation(p.structure)->GetChildCount(), 0) << "no half-filled data set stays";
    // The other side has its sensor: its data set is made whole.
    EXPECT_NE(exp.AddExcitationDataSet(0), nullptr);
}

// A data set with a map of the response subsystem over the project's bands at two RPMs.
CDAQExperiment* AddMeasuredMap(MeasuredProject& p, double first, double second)
{
    CDAQExperiment* set = p.daq->AddDataSet(p.MakeInfo());
    set->SetUseFlag(1); // new data sets take part once the user says so
    const std::vector<double> freqs = p.daq->GetOctaveManager()->GetFreqArray();
    const std::vector<double> rpms = {1000.0, 2000.0};
    auto map = CZuRpmFunc::NewRpmFunc(p.response, 5, set, p.response, freqs.data(), static_cast<int>(freqs.size()),
                                      rpms.data(), 2);
    map->DataValue(0, 0) = first;
    map->DataValue(1, 0) = second;
    map->DataValue(1, 1) = 2.0;
    set->AddChild(std::move(map));
    return set;
}

TEST(MeasuredData, AveragingLeavesZeroCellsOutAndSumsInLinearPower)
{
    MeasuredProject p;
    AddMeasuredMap(p, 1.0, 1.0);
    AddMeasuredMap(p, 0.0, 3.0);
    auto* averaged = ElementCast<CZuRpmFunc>(p.daq->AverageRpmFuncs(p.response, 0, nullptr));
    ASSERT_NE(averaged, nullptr);
    ASSERT_EQ(averaged->GetRpmCount(), 2);
    EXPECT_EQ(averaged->GetRpm(1), 2000.0);
    EXPECT_EQ(averaged->GetRowFunc(1)->GetName(), "2000.00");
    EXPECT_DOUBLE_EQ(averaged->DataValue(0, 0), 1.0) << "the zero of the second experiment is missing, not 0";
    EXPECT_DOUBLE_EQ(averaged->DataValue(1, 0), std::sqrt((1.0 + 9.0) / 2.0));
    EXPECT_DOUBLE_EQ(averaged->DataValue(1, 1), 2.0);
    EXPECT_DOUBLE_EQ(averaged->DataValue(0, 1), 0.0);

    // Options of another axis: the maps are brought onto it first, and nothing is written beyond
    // the result's rows.
    CRPMOptions list;
    list.SetMode(CRPMOptions::modeList);
    *list.GetRpmList() = {1500.0f};
    auto* regridded = ElementCast<CZuRpmFunc>(p.daq->AverageRpmFuncs(p.response, 0, &list));
    ASSERT_NE(regridded, nullptr);
    ASSERT_EQ(regridded->GetRpmCount(), 1);
    // Halfway: the first experiment gives 1.0, the second 1.5 (0 and 3 interpolated).
    EXPECT_DOUBLE_EQ(regridded->DataValue(0, 0), std::sqrt((1.0 + 2.25) / 2.0));
    EXPECT_EQ(p.daq->GetAveragedData(), regridded) << "averaging again replaces the averaged data";
}

TEST(MeasuredData, AddFuncsFilesCopiesOfTheFittingFunctionsAndReplacesTheirNamesakes)
{
    MeasuredProject p;
    CDAQExperiment* set = p.daq->AddDataSet(p.MakeInfo());
    ASSERT_NE(set, nullptr);
    const std::vector<double> freqs = {100.0, 200.0};
    const std::vector<double> rpms = {1000.0};
    auto map = [&](const std::string& name, int kind, double value) {
        auto f = CZuRpmFunc::NewRpmFunc(name, kind, nullptr, name, freqs.data(), 2, rpms.data(), 1);
        f->DataValue(0, 0) = value;
        return f;
    };
    std::vector<std::unique_ptr<CMElement>> owned;
    owned.push_back(map(p.response, 5, 1.0));  // fits by name 1
    owned.push_back(map("Elsewhere", 5, 1.0)); // no subsystem of the set
    owned.push_back(std::make_unique<CMElement>(FormatString(IDS_ORDER_LEVELS, p.structure.c_str()), nullptr, 93));
    owned.push_back(std::make_unique<CMElement>(FormatString(IDS_ORDER_FREQUENCIES, p.response.c_str()), nullptr, 94));
    owned.push_back(std::make_unique<CMElement>(p.structure, nullptr, 50)); // a code that is not filed
    // The local-point levels of a subsystem of the set, and of one that is not.
    owned.push_back(std::make_unique<CMElement>(FormatString(7080, p.structure.c_str()), nullptr, 106));
    owned.push_back(std::make_unique<CMElement>(FormatString(7080, "Elsewhere"), nullptr, 106));
    CMElementList list;
    for (auto& e : owned)
        list.Add(e.get());
    set->AddFuncs(list);
    ASSERT_EQ(set->GetChildCount(), 4);
    EXPECT_NE(set->FindOneChild(FormatString(7080, p.structure.c_str())), nullptr);
    EXPECT_NE(set->FindRpmFuncOfSecondName(), nullptr);
    EXPECT_NE(set->FindRpmFuncOfSecondName(), owned[0].get()) << "a copy is filed, the caller keeps its own";
    EXPECT_NE(set->FindFuncByNameAndType(FormatString(IDS_ORDER_LEVELS, p.structure.c_str()), 93), nullptr);
    EXPECT_NE(set->FindFuncByNameAndType(FormatString(IDS_ORDER_FREQUENCIES, p.response.c_str()), 94), nullptr);
    EXPECT_EQ(set->FindRpmFuncByName("Elsewhere"), nullptr);

    // Filing again replaces the function of that name.
    CMElementList again;
    auto newer = map(p.response, 5, 7.0);
    again.Add(newer.get());
    set->AddFuncs(again);
    ASSERT_EQ(set->GetChildCount(), 4);
    ASSERT_NE(set->FindRpmFuncOfSecondName(), nullptr);
    EXPECT_EQ(set->FindRpmFuncOfSecondName()->DataValue(0, 0), 7.0);
}

TEST(MeasuredData, EnergyFactorsOfTheModelsSubsystems)
{
    MeasuredProject p;
    const CModelData* model = p.container.GetModelData();
    ASSERT_NE(model, nullptr);
    const CModelSubsystem* cavity = nullptr;
    const CModelSubsystem* structure = model->GetSubsystem(p.structure, 0, 1);
    const CZuSubsystemTable* table = p.container.GetModelSubsystemTable();
    for (int i = 0; table && i < table->GetCount() && !cavity; ++i)
        if (const CModelSubsystem* s = model->GetSubsystem((*table)[i], 0, 1); s && s->IsAcoustic())
            cavity = s;
    ASSERT_NE(cavity, nullptr);
    ASSERT_NE(structure, nullptr);
    ASSERT_GT(cavity->GetVolume(), 0.0);
    EXPECT_DOUBLE_EQ(p.daq->GetSubsystemEnergyFactor(cavity->GetName()), cavity->GetVolume() / (343.0 * 343.0 * 1.21));
    EXPECT_DOUBLE_EQ(p.daq->GetSubsystemEnergyFactor(p.structure), structure->GetMass());
    EXPECT_EQ(p.daq->GetSubsystemEnergyFactor("No such subsystem"), 0.0);
}

using Bytes = std::vector<uint8_t>;

// Rewrites the schema word of a class's first class record (new-class tag, schema, name).
void PatchSchema(Bytes& bytes, const std::string& cls, uint16_t schema)
{
    Bytes record = {0xFF, 0xFF, 0, 0, static_cast<uint8_t>(cls.size()), 0};
    record.insert(record.end(), cls.begin(), cls.end());
    for (size_t i = 0; i + record.size() <= bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xFF &&
            std::equal(record.begin() + 4, record.end(), bytes.begin() + static_cast<long>(i) + 4)) {
            bytes[i + 2] = static_cast<uint8_t>(schema & 0xFF);
            bytes[i + 3] = static_cast<uint8_t>(schema >> 8);
            return;
        }
    ADD_FAILURE() << "no class record of " << cls;
}

// The position just after a class's first class record (where its object's own data begin).
size_t AfterClassRecord(const Bytes& bytes, const std::string& cls)
{
    const std::string name = std::string(1, static_cast<char>(cls.size())) + '\0' + cls;
    const std::string text(bytes.begin(), bytes.end());
    const size_t at = text.find(name);
    return at == std::string::npos ? 0 : at + name.size();
}

TEST(MeasuredData, OlderExperimentsAndDataSetsReadByTheirSchemaAndUnknownOnesAreRefused)
{
    MeasuredProject p;
    CDAQExperiment* first = p.daq->AddDataSet(p.MakeInfo());
    CDAQExperiment* second = p.daq->AddDataSet(p.MakeInfo());
    ASSERT_NE(second, nullptr);
    second->SetSerial(5);
    auto* exp = ElementCast<CTALVOExp>(first->GetParent());
    exp->SetUseFlag(0);
    exp->SetFirstSubsystem("kept-first");
    exp->SetSecondSubsystem("kept-second");
    Bytes stored;
    {
        CArchive ar(&stored, CArchive::store);
        ar.WriteObject(exp);
    }

    struct Case
    {
        const char* cls;
        uint16_t schema;
        bool reads;
        int use, lastSerial;
        bool namesFromDataSet;
    } cases[] = {
        {"CTALVOExp", 0, true, 1, 5, true}, // no flag or counter yet: in use, numbering after the largest
        {"CTALVOExp", 1, true, 0, 2, true}, // no subsystem names yet: from the first data set
        {"CTALVOExp", 2, true, 0, 2, false},       {"CTALVOExp", 3, false, 0, 0, false},
        {"CDAQExperiment", 4, false, 0, 0, false}, {"CDAQExperiment", 5, true, 0, 2, false},
        {"CDAQExperiment", 7, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        Bytes bytes = stored;
        PatchSchema(bytes, c.cls, c.schema);
        CArchive ar(bytes.data(), bytes.size());
        const std::string what = std::string(c.cls) + " schema " + std::to_string(c.schema);
        if (!c.reads) {
            EXPECT_THROW(ar.ReadOwned<CTALVOExp>(), CArchiveException) << what;
            continue;
        }
        auto read = ar.ReadOwned<CTALVOExp>();
        ASSERT_NE(read, nullptr) << what;
        EXPECT_EQ(read->GetUseFlag(), c.use) << what;
        EXPECT_EQ(read->GetLastSerial(), c.lastSerial) << what;
        EXPECT_EQ(read->GetFirstSubsystem(), c.namesFromDataSet ? p.response : "kept-first") << what;
        EXPECT_EQ(read->GetSecondSubsystem(), c.namesFromDataSet ? p.structure : "kept-second") << what;
        ASSERT_EQ(read->GetChildCount(), 2) << what;
        EXPECT_EQ(read->NextSerial(), c.lastSerial + 1) << what;
    }

    // A DAQ project reads versions 5 to 8 only.
    Bytes project;
    {
        CArchive ar(&project, CArchive::store);
        ar.WriteObject(p.daq);
    }
    const size_t versionAt = AfterClassRecord(project, "CDaqProject");
    ASSERT_GT(versionAt, 0u);
    ASSERT_EQ(project[versionAt], CDaqProject::kVersion);
    for (uint8_t version : {uint8_t(4), uint8_t(9)}) {
        Bytes bytes = project;
        bytes[versionAt] = version;
        CArchive ar(bytes.data(), bytes.size());
        EXPECT_THROW(ar.ReadOwned<CDaqProject>(), CArchiveException) << int(version);
    }
}

struct FakeRecalculator : IDAQRecalculator
{
    int result;
    std::string* reported;
    FakeRecalculator(int r, std::string* out) : result(r), reported(out) {}
    int Calculate(CMElementList&, CFeedback*) override { return result; }
    int ReportErrors(const std::string& path) override
    {
        *reported = path;
        return 1;
    }
};

TEST(MeasuredData, ARecalculationThatFailsShowsItsErrorReportNotTheSuccessMessage)
{
    MeasuredProject p;
    std::string reported;
    for (int outcome : {1, 0}) {
        CDaqProject::SetRecalculatorFactory(
            [&](CDaqProject&) { return std::make_unique<FakeRecalculator>(outcome, &reported); });
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        CMElementList list;
        EXPECT_EQ(p.daq->Recalculate(list, StatusBarBoxes()), outcome); // the command's
        ASSERT_EQ(prompts.Count(), 1u);
        if (outcome) {
            EXPECT_EQ(prompts.Last().stringId, 6170u);
            EXPECT_TRUE(reported.empty());
        } else {
            EXPECT_NE(prompts.Last().stringId, 6170u);
            EXPECT_NE(prompts.Last().text.find("_daq_recalc.err"), std::string::npos) << prompts.Last().text;
            EXPECT_NE(reported.find("_daq_recalc.err"), std::string::npos);
        }
    }
    CDaqProject::SetRecalculatorFactory(nullptr);
}

TEST(MeasuredData, CollectForRecalcCopiesChangedOptionsAndListsDataSetsWithoutResults)
{
    MeasuredProject p;
    CDAQExperiment* set = AddMeasuredMap(p, 1.0, 1.0);
    CMElementList out;
    // The response map is there but not the excited side's: listed although nothing changed.
    EXPECT_EQ(p.daq->CollectForRecalc(out, nullptr, 0), 1);
    CCalcOptions changed = *p.daq->GetCalcOptions();
    changed.SetLineCount(1600.0f);
    out.Clear();
    p.daq->CollectForRecalc(out, &changed, 0);
    EXPECT_EQ(set->GetCalcOptions()->GetLineCount(), 1600.0f);
    EXPECT_EQ(set->GetCalcOptions()->GetSubsystemLPInfoList().GetSize(), 2) << "local points are kept";
}

} // namespace
