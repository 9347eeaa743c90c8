// The measured-data tree without a project model: experiment descriptions, hardware inventories,
// channel records (calibration, spectra bounds, RPM grid, blocks, storage) and the tree's names.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <numbers>

#include "MeasuredDataTestSupport.h"
#include "acquisition/QmxBlixChMgr.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorGroup.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes StoreObject(const CObject& object)
{
    Bytes bytes;
    CArchive ar(&bytes, CArchive::store);
    ar.WriteObject(&object);
    return bytes;
}

template <class T>
std::unique_ptr<T> LoadObject(const Bytes& bytes)
{
    CArchive ar(bytes.data(), bytes.size());
    return ar.ReadOwned<T>();
}

// An experiment data set that only carries a description, as the project model's data sets do.
class CTestExperiment : public CMElement, public IDaqExperimentData
{
public:
    CExpInfo info;
    CCalcOptions calc;
    CExpInfo* GetExpInfo() override { return &info; }
    CCalcOptions* GetCalcOptions() override { return &calc; }
    CZuRpmFunc* FindRpmFuncByName(const std::string&) const override { return nullptr; }
    CMultiVectorFunction* FindMultiVecFuncByName(const std::string&) const override { return nullptr; }
};

CQmxBlixChMgr MakeInventory()
{
    CQmxBlixChMgr inventory;
    for (int b = 0; b < 2; ++b) {
        CQmxBoardInfo board;
        board.SetSlot(static_cast<uint8_t>(b));
        board.SetSerial("BRD" + std::to_string(b));
        inventory.GetBoardInfoList().Add(board);
    }
    for (int u = 0; u < 3; ++u) {
        CQmxBlixInfo unit;
        unit.SetSerialNumber("0000" + std::to_string(u + 1));
        unit.SetBoardSerial("BRD" + std::to_string(u % 2));
        inventory.GetBlixInfoList().Add(unit);
    }
    for (int c = 0; c < 24; ++c) {
        CQmxBlixChInfo ch;
        ch.SetBlixSerial("0000" + std::to_string(c / 8 + 1));
        ch.SetUnitChannel(static_cast<uint8_t>(c % 8 + 1));
        ch.SetDeviceAddress(static_cast<uint8_t>(128 + c));
        ch.SetChannelNumber(static_cast<int16_t>(c));
        inventory.GetBlixChInfoList().Add(ch);
    }
    inventory.Relink();
    return inventory;
}

void ExpectLinked(const CQmxBlixChMgr& inventory)
{
    for (const auto& unit : inventory.GetBlixInfoList().Items()) {
        ASSERT_NE(unit.GetBoard(), nullptr);
        EXPECT_EQ(unit.GetBoard()->GetSerial(), unit.GetBoardSerial());
        EXPECT_GE(unit.GetBoard(), &inventory.GetBoardInfoList().Items().front());
        EXPECT_LE(unit.GetBoard(), &inventory.GetBoardInfoList().Items().back());
    }
    for (const auto& ch : inventory.GetBlixChInfoList().Items()) {
        ASSERT_NE(ch.GetBlix(), nullptr);
        EXPECT_EQ(ch.GetBlix()->GetSerialNumber(), ch.GetBlixSerial());
    }
}

TEST(HardwareInventory, ReloadsAndCopiesWithLinksIntoItsOwnRecords)
{
    auto copy = std::make_unique<CQmxBlixChMgr>();
    {
        CQmxBlixChMgr source = MakeInventory();
        auto loaded = LoadObject<CQmxBlixChMgr>(StoreObject(source));
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->GetBlixChInfoList().GetSize(), 24);
        ExpectLinked(*loaded);
        copy->Copy(source);
    }
    // The source is gone: the copy's links are its own.
    ExpectLinked(*copy);
    EXPECT_TRUE(copy->HasHardware());
    EXPECT_EQ(copy->GetBlixChInfoList()[0].GetUnitChannelIndex(), 0);
    copy->GetBlixChInfoList().RemoveAll();
    EXPECT_FALSE(copy->HasHardware());

    CQmxBlixChMgr orphan;
    CQmxBlixChInfo ch;
    ch.SetBlixSerial("99999");
    orphan.GetBlixChInfoList().Add(ch);
    orphan.Relink();
    EXPECT_EQ(orphan.GetBlixChInfoList()[0].GetBlix(), nullptr);
    EXPECT_EQ(orphan.GetBlixInfoList().FindBySerial("99999"), -1);
    EXPECT_EQ(orphan.GetBlixInfoList().FindBySerial(""), -1);
}

// Records appended after the links were made (as the hardware reader appends units and channels in
// turn) make the lists grow into new storage: the links must follow, never point into the old one.
TEST(HardwareInventory, LinksFollowRecordsAddedAndRemovedLater)
{
    CQmxBlixChMgr inventory = MakeInventory();
    for (int i = 0; i < 40; ++i) {
        CQmxBoardInfo board;
        board.SetSerial("LATE" + std::to_string(i));
        inventory.GetBoardInfoList().Add(board);
        CQmxBlixInfo unit;
        unit.SetSerialNumber(std::to_string(50000 + i));
        unit.SetBoardSerial("BRD0");
        inventory.GetBlixInfoList().Add(unit);
        CQmxBlixChInfo ch;
        ch.SetBlixSerial(std::to_string(50000 + i));
        ch.SetUnitChannel(1);
        inventory.GetBlixChInfoList().Add(ch);
    }
    ExpectLinked(inventory);
    for (const auto& ch : inventory.GetBlixChInfoList().Items())
        EXPECT_GE(ch.GetBlix(), &inventory.GetBlixInfoList().Items().front());

    // A channel added before its unit is linked once the unit arrives; a unit before its board too.
    CQmxBlixChInfo early;
    early.SetBlixSerial("77777");
    inventory.GetBlixChInfoList().Add(early);
    CQmxBlixInfo unitFirst;
    unitFirst.SetSerialNumber("77777");
    unitFirst.SetBoardSerial("BRD9");
    inventory.GetBlixInfoList().Add(unitFirst);
    CQmxBoardInfo boardLast;
    boardLast.SetSerial("BRD9");
    inventory.GetBoardInfoList().Add(boardLast);
    ExpectLinked(inventory);

    // Emptied lists leave null links behind, not links into freed records.
    inventory.GetBoardInfoList().RemoveAll();
    for (const auto& unit : inventory.GetBlixInfoList().Items())
        EXPECT_EQ(unit.GetBoard(), nullptr);
    inventory.GetBlixInfoList().RemoveAll();
    for (const auto& ch : inventory.GetBlixChInfoList().Items())
        EXPECT_EQ(ch.GetBlix(), nullptr);

    // Assigning a whole list from another inventory relinks to this one's records.
    CQmxBlixChMgr other = MakeInventory();
    {
        const CQmxBlixChMgr source = MakeInventory();
        other.GetBoardInfoList() = source.GetBoardInfoList();
        other.GetBlixInfoList() = source.GetBlixInfoList();
    }
    ExpectLinked(other);
    const CQmxBlixChMgr copied(other);
    ExpectLinked(copied);
}

TEST(HardwareInventory, AForgedRecordCountIsRefused)
{
    Bytes bytes = StoreObject(MakeInventory());
    // The channel list's count sits after the boards and units: forge every 4-byte window that
    // holds 24 into a huge count.
    bool forged = false;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (bytes[i] == 24 && bytes[i + 1] == 0 && bytes[i + 2] == 0 && bytes[i + 3] == 0) {
            bytes[i + 3] = 0x70;
            forged = true;
        }
    ASSERT_TRUE(forged);
    EXPECT_THROW(LoadObject<CQmxBlixChMgr>(bytes), CArchiveException);
}

TEST(ExpInfo, StoredVersionsAndDeepCopies)
{
    CExpInfo info;
    info.SetName(0, "S-Engine");
    info.SetName(1, "A-Cabin");
    info.SetValue(1, 4.0);
    info.SetInt(0, 7);
    CSensorGroup group;
    group.SetMember({"A1", 1, 0, 3, 0});
    info.SetSensorGroup(0, group);
    info.SetTime(1700000000);
    info.SetLabel("label");
    info.SetNote("note");
    static_cast<CQmxBlixChMgr*>(info.GetHardwareInventory())->Copy(MakeInventory());

    auto loaded = LoadObject<CExpInfo>(StoreObject(info));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetName(1), "A-Cabin");
    EXPECT_EQ(loaded->GetValue(1), 4.0);
    EXPECT_EQ(loaded->GetInt(0), 7);
    EXPECT_EQ(loaded->GetInt(1), -1);
    EXPECT_EQ(loaded->GetTime(), 1700000000);
    EXPECT_EQ(loaded->GetLabel(), "label");
    EXPECT_EQ(loaded->GetNote(), "note");
    ASSERT_EQ(loaded->GetSensorGroup(0)->GetMemberCount(), 1);
    auto* inventory = DynamicDowncast<CQmxBlixChMgr>(loaded->GetHardwareInventory());
    ASSERT_NE(inventory, nullptr);
    EXPECT_EQ(inventory->GetBlixChInfoList().GetSize(), 24);

    // A copy owns its group and inventory.
    CExpInfo copy;
    copy.Copy(info);
    info.GetSensorGroup(0)->Clear();
    static_cast<CQmxBlixChMgr*>(info.GetHardwareInventory())->RemoveAll();
    EXPECT_EQ(copy.GetSensorGroup(0)->GetMemberCount(), 1);
    EXPECT_TRUE(static_cast<CQmxBlixChMgr*>(copy.GetHardwareInventory())->HasHardware());

    // Version 2 has no inventory (the empty one stays); version 1 is refused.
    for (uint8_t version : {uint8_t(2), uint8_t(1)}) {
        Bytes bytes;
        {
            CArchive ar(&bytes, CArchive::store);
            ar << version << int32_t(2) << std::string("a") << std::string("b") << int32_t(0) << int32_t(0)
               << int32_t(0) << int64_t(5);
            for (int i = 0; i < 8; ++i)
                ar << std::string();
        }
        CExpInfo old;
        CArchive ar(bytes.data(), bytes.size());
        if (version == 2) {
            old.Serialize(ar);
            EXPECT_EQ(old.GetName(1), "b");
            EXPECT_EQ(old.GetValue(1), 0.0);
            ASSERT_NE(old.GetSensorGroup(1), nullptr);
            EXPECT_FALSE(static_cast<CQmxBlixChMgr*>(old.GetHardwareInventory())->HasHardware());
        } else {
            EXPECT_THROW(old.Serialize(ar), CArchiveException);
        }
    }
}

// A project with one experiment (names 0 "S-Engine", 1 "A-Cabin") over the stand-in DAQ project.
struct TreeFixture : ::testing::Test
{
    CStubDaqProject daq;
    CTestExperiment experiment;
    CExpProject project{"Exp", nullptr, -1};

    void SetUp() override
    {
        experiment.info.SetName(0, "S-Engine");
        experiment.info.SetName(1, "A-Cabin");
        project.SetDAQProject(&daq);
        project.SetExperiment(&experiment);
    }
};

TEST_F(TreeFixture, ExcitationNamesIndexesAndDataSetLabels)
{
    CExpProject empty;
    empty.CreateDefaultChildren();
    EXPECT_EQ(empty.GetChildCount(), 1);
    EXPECT_EQ(empty.GetExcitationNameCount(), 0);
    EXPECT_EQ(empty.GetChannelRange(3), 10.0f);
    EXPECT_EQ(empty.GetChannelRanges().size(), static_cast<size_t>(CSensorGroup::kDefaultChannelCount));

    ASSERT_EQ(project.GetExcitationNameCount(), 2);
    EXPECT_EQ(project.GetExcitationName(0), "A-Cabin");
    EXPECT_EQ(project.GetExcitationName(1), "S-Engine");
    EXPECT_EQ(project.GetExcitationName(-1), "");
    EXPECT_EQ(project.GetExcitationIndex("A-Cabin"), 0);
    EXPECT_EQ(project.GetExcitationIndex("S-Engine"), 1);
    EXPECT_EQ(project.GetExcitationIndex("s-engine"), -1);

    project.CreateDefaultChildren();
    ASSERT_EQ(project.GetChildCount(), 3);
    CExcitation* excitation = project.FindExcitation("S-Engine");
    ASSERT_NE(excitation, nullptr);
    EXPECT_EQ(excitation->GetIndex(), 1);
    for (int i = 0; i < 3; ++i)
        excitation->AddDataSet();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(excitation->GetDataSet(i)->GetName(), "DataSet" + std::to_string(i + 1));
    EXPECT_EQ(excitation->GetDataSet(3), nullptr);
}

TEST_F(TreeFixture, ChannelsOfADataSetComeFromTheSensorGroupOrNotAtAll)
{
    tagSENSORINFO a1;
    a1.ID = "A1";
    a1.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
    a1.ChannelInfo.Sensitivity = 10.0f;
    ASSERT_NE(daq.sensors.AddSensor(a1), nullptr);
    CSensorGroup group;
    group.SetMember({"A1", 1, 0, 4, 0});
    experiment.info.SetSensorGroup(0, group);
    project.CreateDefaultChildren();
    project.SetChannelRange(4, 2.5f);

    CExpDataSet* set = project.AddExcitationDataSet(1);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->GetChildCount(), 1);
    auto* data = ElementCast<CExpData>(set->GetChild(0));
    EXPECT_EQ(data->GetName(), "S-Engine:01");
    EXPECT_EQ(data->GetType(), ElementType::StructureChannel);
    CHANNELINFO ch;
    ASSERT_EQ(data->GetChannelInfo(ch), 1);
    EXPECT_EQ(ch.Channel, 4);
    EXPECT_EQ(ch.Scale, 2.5f);
    EXPECT_EQ(ch.Sensitivity, 10.0f);
    EXPECT_EQ(set->FindByLocalPoint(0), data);

    // The other side's group is empty: no channels, so no data set.
    EXPECT_EQ(project.AddExcitationDataSet(0), nullptr);
    EXPECT_EQ(project.FindExcitation("A-Cabin")->GetChildCount(), 0);

    CExpDataSet* pulse = project.AddRpmSignalDataSet();
    ASSERT_NE(pulse, nullptr);
    EXPECT_EQ(pulse->GetChild(0)->GetName(), "RPM");
    EXPECT_EQ(pulse->GetChild(0)->GetType(), ElementType::RpmSignal);
    EXPECT_EQ(project.HasRpmSignalData(), 1);
}

TEST(ExpData, ReplacingTheSensorRescalesOnlyBetweenTwoKnownSensitivities)
{
    struct Case
    {
        float before, after, factor;
    } cases[] = {
        {10.0f, 10.0f, 1.0f}, {10.0f, 20.0f, 0.5f}, {0.0f, 10.0f, 1.0f}, {10.0f, 0.0f, 1.0f}, {-5.0f, 10.0f, 1.0f}};
    for (const Case& c : cases) {
        CExpData data("ch", nullptr, 11);
        tagSENSORINFO info;
        info.ChannelInfo.Sensitivity = c.before;
        data.ReplaceSensorInfo(info);
        const std::vector<float> samples = {1.0f, -2.0f, 4.0f};
        data.SetSamples(samples.data(), 3);
        info.ID = "new";
        info.ChannelInfo.Sensitivity = c.after;
        EXPECT_EQ(data.ReplaceSensorInfo(info), 1);
        for (size_t i = 0; i < samples.size(); ++i)
            EXPECT_FLOAT_EQ(data.GetSamples()[i], samples[i] * c.factor) << c.before << " -> " << c.after;
        tagSENSORINFO now;
        data.GetSensorInfo(now);
        EXPECT_EQ(now.ID, "new");
    }
}

TEST(ExpData, StorageKeepsEverythingAndRefusesForgedSampleCounts)
{
    CExpData data("ch", nullptr, 12);
    std::vector<float> samples(1000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::sin(0.01f * i);
    data.SetSamples(samples.data(), 1000);
    data.SetSamplingFrequency(2048.0f);
    data.SetLocalPointNumber(3);
    data.SetEngineCount(2);
    data.SetPulseCount(4);
    data.SetDetectionLevel(0.5f);
    data.SetGearCount(0.0f);
    const Bytes bytes = StoreObject(data);
    auto loaded = LoadObject<CExpData>(bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(std::equal(loaded->GetSamples().begin(), loaded->GetSamples().end(), samples.begin(), samples.end()));
    EXPECT_EQ(loaded->GetSamplingFrequency(), 2048.0f);
    EXPECT_EQ(loaded->GetLocalPointNumber(), 3);
    EXPECT_EQ(loaded->GetEngineCount(), 2);
    EXPECT_EQ(loaded->GetPulseCount(), 4);
    EXPECT_EQ(loaded->GetDetectionLevel(), 0.5f);
    EXPECT_EQ(loaded->GetGearCount(), 1.0f) << "a stored gear count of 0 means 1";

    // Cut anywhere, or with a sample count beyond the data: an archive error, never a crash.
    for (size_t cut : {size_t(10), bytes.size() / 2, bytes.size() - 1}) {
        const Bytes part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_THROW(LoadObject<CExpData>(part), CArchiveException) << cut;
    }
    Bytes forged = bytes;
    const size_t countAt = bytes.size() - 4000 - 4;
    forged[countAt + 3] = 0x40;
    EXPECT_THROW(LoadObject<CExpData>(forged), CArchiveException);
}

TEST(ExpData, ARecordWithoutSamples)
{
    CExpData data("empty", nullptr, 11);
    EXPECT_EQ(data.GetPeak(), 0.0);
    EXPECT_EQ(data.GetEnergy(), 0.0);
    EXPECT_EQ(data.DetectRpmInfo(), 0);
    EXPECT_EQ(data.GetData(), nullptr) << "outside a project the samples are not handed out";
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(data.WriteDump(file, ""), 1);
    const std::string& text = file.GetMemoryText();
    EXPECT_NE(text.find("##### RAW DATA #####\n\n\n##### RPM INFO LIST #####\n\n\n##### ALL RPM INFO LIST"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Gear Count:\t1.000000e+00\n"), std::string::npos);
    EXPECT_EQ(data.WriteDump(file, "Other"), 0);
}

TEST(ExpData, GridValuesFinerThanThePulsesTakeSuccessiveIntervalsOnce)
{
    const CRPMInfoListFloat intervals = {{1000.0, 10.0, 60}, {1100.0, 70.4, 55}, {1200.0, 125.6, 50}};
    CRPMInfoListInt out;
    CExpData::MapToGrid(intervals, {900.0f, 1000.0f, 1010.0f, 1020.0f, 1030.0f}, out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].nRpm, 900);
    EXPECT_EQ(out[0].nStart, 10);
    EXPECT_EQ(out[1].nRpm, 1000);
    EXPECT_EQ(out[1].nStart, 70);
    EXPECT_EQ(out[2].nRpm, 1010);
    EXPECT_EQ(out[2].nStart, 126);
    EXPECT_EQ(out[2].nLength, 0);
}

TEST_F(TreeFixture, BlocksSpectraAndTheirBounds)
{
    // One pulse every 10 samples at 1000 Hz: 6000 RPM; the grid is the single RPM 5000.
    daq.config.SetSamplingFreq(1000.0f);
    daq.config.SetMaxFreq(1000.0f);
    daq.config.SetRpmLow(5000);
    daq.config.SetRpmHigh(5000);
    daq.calc.SetLineCount(100.0f); // blocks of 1000 x 100 / 1000 -> 128 samples
    daq.calc.SetHighPassFreq(0.0f);
    project.CreateDefaultChildren();
    CExpDataSet* pulseSet = project.AddRpmSignalDataSet();
    ASSERT_NE(pulseSet, nullptr);
    auto* pulse = ElementCast<CExpData>(pulseSet->GetChild(0));
    const int n = 1000;
    pulse->SetSampleCount(n);
    for (int i = 0; i < n; ++i)
        pulse->GetData()[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * (i - 5) / 10.0));
    ASSERT_EQ(pulse->DetectRpmInfo(), 1);
    EXPECT_LT(pulse->GetRpmInfoList()[0].nStart, 20);
    // Intervals are kept for the samples they came from: new samples (here silence) detect anew.
    {
        const std::vector<float> pulses(pulse->GetSamples().begin(), pulse->GetSamples().end());
        const std::vector<float> silence(pulses.size(), 0.0f);
        pulse->SetSamples(silence.data(), n);
        EXPECT_EQ(pulse->DetectRpmInfo(), 0);
        pulse->SetSamples(pulses.data(), n);
        ASSERT_EQ(pulse->DetectRpmInfo(), 1);
    }

    // A record of the same data set name elsewhere uses the pulse channel's intervals.
    CExpDataSet* set = project.FindExcitation("S-Engine")->AddDataSet();
    auto* data = set->AddChild(std::make_unique<CExpData>("ch", set, 11));
    data->SetSamplingFrequency(1000.0f);
    data->SetSampleCount(n);
    for (int i = 0; i < n; ++i)
        data->GetData()[i] = static_cast<float>(std::cos(2.0 * std::numbers::pi * 125.0 * i / 1000.0));
    const float* block = nullptr;
    int length = 0;
    ASSERT_EQ(data->GetRpmBlock(5000.0, block, length), 1);
    EXPECT_EQ(length, 128);
    EXPECT_EQ(block, data->GetSamples().data()) << "a block that would start before the samples starts at 0";
    EXPECT_EQ(data->GetRpmBlock(4000.0, block, length), 0);

    ASSERT_EQ(data->CalcSpectrum(5000.0), 1);
    const int lines = data->GetLineCount();
    ASSERT_EQ(lines, 64);
    EXPECT_EQ(data->GetSpectrumRpm(), 5000.0);
    EXPECT_EQ(data->GetLineMagnitude(-1), CExpData::kNoMagnitude);
    EXPECT_EQ(data->GetLineMagnitude(lines), CExpData::kNoMagnitude);
    struct Band
    {
        int first, count;
        bool inside;
    } bands[] = {{1, 2, true},  {10, 53, true}, {62, 2, true},  {62, 3, false}, {0, 2, false},
                 {5, 0, false}, {63, 1, true},  {64, 1, false}, {1, 64, false}};
    for (const Band& b : bands)
        EXPECT_EQ(data->GetBandMagnitude(b.first, b.count) != CExpData::kNoMagnitude, b.inside)
            << b.first << "+" << b.count;

    // Records of a sample count below the block are refused; the cache stays as it was.
    data->SetSampleCount(100);
    EXPECT_EQ(data->CalcSpectrum(5000.0), 0);
    EXPECT_EQ(data->GetLineCount(), 64);
}

TEST_F(TreeFixture, AnAcquisitionRangeThatMakesNoAxisGivesNoIntervals)
{
    daq.config.SetSamplingFreq(1000.0f);
    daq.config.SetRpmLow(1000);
    daq.config.SetRpmHigh(6000);
    daq.config.SetRpmMargin(0);
    project.CreateDefaultChildren();
    CExpDataSet* pulseSet = project.AddRpmSignalDataSet();
    ASSERT_NE(pulseSet, nullptr);
    auto* pulse = ElementCast<CExpData>(pulseSet->GetChild(0));
    pulse->SetSampleCount(1000);
    for (int i = 0; i < 1000; ++i)
        pulse->GetData()[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * i / 20.0));
    CRPMInfoListInt all;
    ASSERT_GT(pulse->DetectRpmInfoInt(all), 0) << "the pulses are there";
    EXPECT_EQ(pulse->DetectRpmInfo(), 0) << "but a step of 0 makes no grid to map them onto";
}

} // namespace
