// Work told "no feedback" runs silent: each class that takes a feedback through SetFeedback is
// given null and runs its operation on the sample project, the way that reports (a refusal, a
// failure) where it has one. Nothing crashes and nothing pops up in place of the reports.
#include "support/PrivateSessionBus.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "SampleProject.h"
#include "acquisition/BaseDAQInterface.h"
#include "acquisition/DAQ.h"
#include "acquisition/DAQIO.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/WhiteNoiseGenerator.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ExpDataChecker.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/CalcProjectManager.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerCalculator.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/Solver.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "planning/ExpPlanIO.h"
#include "platform/archive/Archive.h"
#include "platform/audio/WaveOut.h"
#include "platform/automation/Dispatch.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "support/fuzz/MemoryPlanOwner.h"

namespace {
namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class NullFeedback : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = fs::path(dir.path().toStdString()) / "car" / "Silent.orv";
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        std::vector<std::string> written;
        ASSERT_TRUE(sample::WriteCompanions(doc, file.parent_path(), &written, &error)) << error;
        daq = doc.GetTALVOProject().GetDaqProject(0);
        ASSERT_NE(daq, nullptr);
        CMElementList sets;
        ASSERT_GE(daq->GetUsedDAQExperiments(sets), 1);
        dataSet = ElementCast<CDAQExperiment>(sets[0]);
        analysis = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(analysis, nullptr);
        // The hybrid model over the analytical one and the roof's input powers, which the solver
        // and the input-power calculation start from.
        CModelProject* model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        roof.Add(sample::kExcited);
        ASSERT_EQ(analysis->CalcInputPowerChain(roof, 0, 0), 1);
    }
    void TearDown() override { doc.OnCloseDocument(); }

    QTemporaryDir dir;
    fs::path file;
    CTALVODoc doc;
    CDaqProject* daq = nullptr;
    CDAQExperiment* dataSet = nullptr;
    CAnalysisProject* analysis = nullptr;
    CZuSubsystemTable roof;
};
} // namespace

TEST_F(NullFeedback, EveryWorkGivenNullRunsSilent)
{
    struct SCase
    {
        const char* what;
        // Gives the work a null feedback and runs it; true when it ended as it should.
        std::function<bool()> run;
    };
    const SCase cases[] = {
        {"the energy solver",
         [&] {
             CMElementList inputs;
             analysis->GetInputPowerFolder()->GetFunctionsForSubsystems(roof, inputs);
             CSolver solver;
             solver.SetFeedback(nullptr);
             solver.SetProject(analysis);
             solver.SetModelData(analysis->GetHSEAModelData());
             solver.SetInputs(inputs);
             solver.SetMode(CSolver::MODE_RPM);
             return solver.Run() == 1 && solver.GetResult() != nullptr;
         }},
        {"the input-power calculation",
         [&] {
             CMElementList inputs;
             analysis->GetInputEnergyFolder()->GetItems(roof, inputs);
             CInputPowerCalculator calc(analysis);
             calc.SetFeedback(nullptr);
             calc.SetInputs(inputs);
             calc.SetModelData(analysis->GetHSEAModelData());
             calc.SetInputKind(0);
             calc.SetOrderFactor(static_cast<float>(analysis->GetDaqConfigValue()));
             calc.SetBandSet(analysis->GetOctaveManager());
             calc.SetRevise(1);
             return calc.Calculate() == 1;
         }},
        {"the spectra of measured data, and an RPM step that is refused",
         [&] {
             CDAQIO reader(dataSet);
             std::unique_ptr<CExpProject> measured = reader.LoadOne(dataSet);
             if (!measured)
                 return false;
             CCalcProjectManager manager(measured.get());
             manager.SetFeedback(nullptr);
             const int all = manager.CalculateAll("", nullptr, 1);
             // An acquisition RPM step of 0 would never end the RPM list: refused with a warning.
             CDAQConfig* config = measured->GetDAQConfig();
             const int step = config->GetRpmMargin();
             config->SetRpmMargin(0);
             const int refused = manager.CalculateAll("", nullptr, 1);
             config->SetRpmMargin(step);
             return all > 0 && refused == 0;
         }},
        {"the data check with a database the sibling cannot open",
         [&] {
             daq->SetExtraText((fs::path(dir.path().toStdString()) / "no-such.db").string());
             CExpDataChecker checker;
             checker.SetFeedback(nullptr);
             return checker.Run(daq) == 0;
         }},
        {"a call into the sibling",
         [&] {
             GetTALVOApp().ReleasePlovaDataChecker();
             CDispatch sibling;
             sibling.SetFeedback(nullptr);
             if (!sibling.CreateDispatch("PLOVA.Application"))
                 return false;
             const bool answered = sibling.GetIDOfName("NoSuchMember") == -1;
             // The sibling the bus started for these cases goes again: the next tests start their own.
             sibling.Call("QuitApplication");
             sibling.ReleaseDispatch();
             return answered && WaitForBusName(QStringLiteral("PLOVA.Application"), false);
         }},
        {"a project file read",
         [&] {
             const std::vector<uint8_t> bytes = ReadBytes(file);
             CArchive ar(bytes.data(), bytes.size());
             ar.SetFeedback(nullptr);
             CTALVOProject read;
             read.SetFeedback(nullptr);
             read.Serialize(ar);
             return read.GetDaqProject(0) != nullptr;
         }},
        {"an analysis project too old to read",
         [&] {
             const uint8_t nothing = 0;
             CArchive ar(&nothing, 0);
             ar.SetObjectSchema(7);
             ar.SetFeedback(nullptr);
             CAnalysisProject old;
             try {
                 old.Serialize(ar);
             } catch (const CArchiveException&) {
                 return true;
             }
             return false;
         }},
        {"the document saved and opened",
         [&] {
             doc.SetFeedback(nullptr);
             std::string error;
             const fs::path copy = file.parent_path() / "Copy.orv";
             if (!doc.OnSaveDocument(copy.string(), &error))
                 return false;
             CTALVODoc reopened;
             reopened.SetFeedback(nullptr);
             const bool opened = reopened.OnOpenDocument(copy.string());
             reopened.OnCloseDocument();
             return opened;
         }},
        {"a measurement file cut short",
         [&] {
             const std::string path = CDAQIO::GetDaqFilePath(dataSet);
             const std::vector<uint8_t> whole = ReadBytes(path);
             std::ofstream(path, std::ios::binary | std::ios::trunc)
                 .write(reinterpret_cast<const char*>(whole.data()), static_cast<std::streamsize>(whole.size() / 2));
             CDAQIO reader(dataSet);
             reader.SetFeedback(nullptr);
             return reader.LoadOne(dataSet) == nullptr;
         }},
        {"noise without a sound device",
         [&] {
             CWaveOut::SetMode(WaveOutMode::None);
             CWhiteNoiseGenerator noise(1, 16, 44100);
             noise.SetFeedback(nullptr);
             const bool refused = !noise.Open();
             CBaseDAQInterface unit;
             unit.SetFeedback(nullptr);
             const bool unitRefused = !unit.SetNoiseType(1);
             CWaveOut::SetMode(WaveOutMode::Auto);
             return refused && unitRefused;
         }},
        {"the acquisition units without a sound device",
         [&] {
             CWaveOut::SetMode(WaveOutMode::None);
             CDAQ::SetFeedback(nullptr);
             CMultiQMXInterface* units = CDAQ::GetMultiInterface();
             const bool refused = units && !units->SetNoiseType(1);
             units->SetFeedback(nullptr);
             const bool again = units && !units->SetNoiseType(2);
             CDAQ::Destroy();
             CWaveOut::SetMode(WaveOutMode::Auto);
             return refused && again;
         }},
        {"a plan workbook that is not there",
         [&] {
             CMemoryPlanOwner owner;
             CExpPlanIO io(&owner);
             io.SetFeedback(nullptr);
             return io.ImportFromExcel((fs::path(dir.path().toStdString()) / "no-such.xlsx").string()) == 0;
         }},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CScriptedPrompts prompts;
        EXPECT_TRUE(c.run());
        EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
    }
}
