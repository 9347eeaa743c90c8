// The measurement window over simulated acquisition units: the document's block rules and stores,
// the frame with its tree, diagnosis and data views, the property dialog, and a whole measurement
// from the channel set-up to the measurement files read back.
#include <gtest/gtest.h>

#include "../../acquisition/MeasuredFixture.h"
#include "SimUnits.h"
#include "acquisition/DAQIO.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/FormProgress.h"
#include "acquisition/ui/DlgDaqDataCheck.h"
#include "acquisition/ui/PSheetDAQOptions.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "experiments/DAQConfig.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DlgExpProperty.h"
#include "experiments/ui/ExpDataView.h"
#include "experiments/ui/ExpDiagView.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/CmbEx.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace {
constexpr int kUnits = 2;
constexpr int kChannels = 32;
constexpr int kRpmChannel = 15;

// A project container with the sample model, a DAQ project set up for the simulated units and
// sensors S1..S32; sensor group 1 measures the response subsystem on channels 0-7, group 2 the
// excitation on every other channel but the pulse channel.
struct CMeasurementProject
{
    CMeasurementProject()
    {
        dir = std::filesystem::temp_directory_path() /
              ("orvex_expwin_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(dir);
        container.SetDocumentPath((dir / "project.orv").string());
        const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
        EXPECT_NE(container.CreateModelProjectFromFile(0, model.string()), nullptr);
        const CZuSubsystemTable* table = container.GetModelSubsystemTable();
        for (int i = 0; table && i < table->GetCount(); ++i) {
            if (structure.empty() && container.IsStructure((*table)[i]))
                structure = (*table)[i];
            else if (response.empty() && container.IsStructure((*table)[i]) && structure != (*table)[i])
                response = (*table)[i];
        }
        container.SetTargetSubsystem(response);
        container.SetSystemChannelCount(kChannels);
        daq = container.AddDaqProject();
        CDAQConfig* config = daq->GetDAQConfig();
        config->SetSamplingFreq(25600.0f);
        config->SetRpmChannel(kRpmChannel);
        config->SetOption60(0);
        config->SetTimeSpan(0.5f);
        CSensorProject* sensors = container.GetSensorProject();
        for (int i = 1; i <= kChannels; ++i) {
            tagSENSORINFO info;
            info.ID = Format("S%d", i);
            info.ChannelInfo.Channel = i - 1;
            info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
            info.ChannelInfo.Sensitivity = 10.0f;
            info.ChannelInfo.Unit = 0;
            info.ChannelInfo.Scale = 10.0f;
            info.ChannelInfo.Coupling = 2;
            EXPECT_NE(sensors->AddSensor(info), nullptr);
        }
        CSensorGroup* reference = sensors->InsertGroup(0);
        CSensorGroup* excited = sensors->InsertGroup(1);
        for (int c = 0; c < 8; ++c)
            reference->SetMember({Format("S%d", c + 1), 1, c, c, 0}, kChannels);
        for (int c = 8; c < kChannels; ++c)
            if (c != kRpmChannel)
                excited->SetMember({Format("S%d", c + 1), 2, c - 8, c, 0}, kChannels);
    }
    ~CMeasurementProject()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    CExpInfo MakeInfo() const
    {
        CExpInfo info;
        info.SetName(0, structure);
        info.SetName(1, response);
        info.SetInt(0, 1);
        info.SetInt(1, 0);
        info.SetSensorGroup(0, *container.GetSensorProject()->GetGroup(1));
        info.SetSensorGroup(1, *container.GetSensorProject()->GetGroup(0));
        info.SetLabel("Run-up");
        return info;
    }

    static inline int counter = 0;
    std::filesystem::path dir;
    CTALVOProject container;
    CDaqProject* daq = nullptr;
    std::string structure;
    std::string response;
};

int DataSetCount(const CMElement* parent)
{
    return parent ? parent->GetChildCount() : -1;
}

// Lets the units' time run on (20 ms per look) until the run has ended in the window.
bool WaitForRunEnd(CExpDoc& doc, CSimUnits& units)
{
    // The run's channel ranges restart the units' settling time.
    units.Settle();
    // The run samples from the sampling window's Start on, pressed once the units are ready.
    bool started = false;
    return QTest::qWaitFor(
        [&] {
            CFormProgress* form = CFormProgress::GetInstance();
            if (!started && form && form->StartButton()->isEnabled()) {
                form->StartButton()->click();
                started = true;
            }
            units.AdvanceUs(20000);
            return !doc.IsRunActive();
        },
        10000);
}

} // namespace

TEST(ExpDoc, DataReadFromAFileAreStoredData)
{
    CExpDoc doc;
    doc.SetSavedFlag(0);
    doc.SetReadData(std::make_unique<CExpProject>("DAQ System", nullptr, -1), {});
    EXPECT_EQ(doc.GetSavedFlag(), 1);
}

TEST(ExpDoc, BlockLengthFollowsTheModeAndTheSampleRate)
{
    struct Case
    {
        int mode, blockMode;
        double projectLength;
        float rate;
        int n, length, blocks;
    };
    const Case cases[] = {
        {0, 0, 0.0, 0.0f, 100000, 100000, 1},   // a run-up is one block
        {1, 1, 0.0, 16384.0f, 50000, 16384, 3}, // the last 848 samples are dropped
        {1, 1, 0.0, 12800.0f, 50000, 16384, 3},
        {1, 0, 4096.0, 0.0f, 10000, 4096, 2},
        {1, 0, 0.5, 0.0f, 10000, 0, 0}, // a project block below one sample cuts nothing
        {1, 1, 0.0, 0.0f, 10000, 0, 0}, // no rate
        {0, 0, 0.0, 0.0f, 0, 0, 0},     // nothing acquired
    };
    for (const Case& c : cases) {
        const int length = CExpDoc::BlockLengthOf(c.mode, c.blockMode, c.projectLength, c.rate, c.n);
        EXPECT_EQ(length, c.length) << c.mode << "/" << c.blockMode << " n=" << c.n;
        EXPECT_EQ(length > 0 ? c.n / length : 0, c.blocks);
    }
}

TEST(ExpDoc, RpmListAndDecimation)
{
    CMeasurementProject p;
    CExpDoc doc;
    CExpInfo info = p.MakeInfo();
    ASSERT_EQ(p.daq->OpenDAQSystemDoc(&doc, {&info}), 1);
    EXPECT_EQ(doc.GetTitle(), "DAQ System");
    const std::vector<double> rpms = doc.MakeRpmList();
    ASSERT_EQ(rpms.size(), 101u);
    EXPECT_EQ(rpms.front(), 1000.0);
    EXPECT_EQ(rpms.back(), 6000.0);
    p.daq->GetDAQConfig()->SetRpmMargin(0);
    EXPECT_EQ(doc.MakeRpmList().size(), 1u) << "a step of 0 never loops";
    p.daq->GetDAQConfig()->SetRpmMargin(50);
    doc.GetProject()->SetMode(1);
    EXPECT_EQ(doc.MakeRpmList(), std::vector<double>{3000.0});

    EXPECT_EQ(CExpDataView::DecimationStep(1000, 16384.0f), 1);
    EXPECT_EQ(CExpDataView::DecimationStep(163840, 16384.0f), 5);
    CExpDataView view(&doc);
    view.OnMessage(WM_ZU_SET_RPM_INDEX, 3, 0);
    EXPECT_EQ(view.GetRpm(), 1150.0);

    // A dump only of what can write one, and only to a path.
    const std::string path = (p.dir / "dump.txt").string();
    EXPECT_EQ(doc.WriteDump(doc.GetProject(), path, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A whole measurement: the property dialog prepares it and opens the window, two runs fill it, the
// views show what came in, the measurement files are read back equal, a failed store and a lost
// unit keep what was there.
TEST(ExpWindow, MeasurementThroughTheWindowAgainstSimulatedUnits)
{
    CMeasurementProject p;
    CSimUnits rig(kUnits);
    const QString shots = ShotFolder("ExpWindow");

    CExpFrame* frame = nullptr;
    GetTALVOApp().SetDAQSystemViewOpener([&](int) -> IDAQSystemDocument* {
        auto* doc = new CExpDoc;
        doc->SetDAQInterface(rig.Daq());
        frame = new CExpFrame(doc, p.dir.string());
        frame->resize(1100, 760);
        frame->show();
        return doc;
    });

    // ---- set up the channels in the property dialog ----
    CScriptedPrompts prompts;
    CDlgExpProperty* dialog = CDlgExpProperty::CreateInstance(&p, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgExpProperty::CreateInstance(&p, nullptr), nullptr) << "one per key";
    dialog->SetMode(CDlgExpProperty::modeNew);
    dialog->SetDAQProject(p.daq);
    dialog->Create();
    CFlexGridEx* grid = dialog->ExperimentGrid();
    EXPECT_EQ(grid->GetTextMatrix(1, 1), p.response);
    EXPECT_EQ(dialog->CanEditCell(CFlexGridEx::CellParam(1, 1)), 0) << "the reference row keeps its subsystem";
    ASSERT_TRUE(grid->StartEdit(2, 1));
    EXPECT_GE(grid->Combo()->findText(QString::fromStdString(p.structure)), 0);
    EXPECT_LT(grid->Combo()->findText(QString::fromStdString(p.response)), 0) << "used by another row";
    grid->Combo()->setCurrentText(QString::fromStdString(p.structure));
    grid->OnComboKey(Qt::Key_Return);
    EXPECT_EQ(grid->GetTextMatrix(2, 1), p.structure);
    dialog->OnCellChanged(1, 3, "1");
    dialog->OnCellChanged(2, 3, "2");
    EXPECT_EQ(grid->GetTextMatrix(2, 4), "23");
    EXPECT_EQ(dialog->ChannelGrid()->GetTextMatrix(1, 1), "2-1");
    ASSERT_EQ(dialog->PageCombo()->count(), 2);
    EXPECT_EQ(dialog->PageCombo()->itemText(1), "Ch17 - Ch32");
    dialog->TextEdit(4)->setText("Run-up 1");
    EXPECT_TRUE(dialog->IsBlinking());
    EXPECT_EQ(GrabAndCheckLayout(*dialog, shots, "DlgExpProperty").join(QLatin1Char('\n')).toStdString(), "");
    QPointer<CDlgExpProperty> alive(dialog);
    dialog->PressOK();
    ASSERT_NE(frame, nullptr) << "the measurement window opened";
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000)) << "the dialog is done";
    for (const PromptRecord& r : prompts.Records())
        ADD_FAILURE() << r.stringId << " " << r.text;

    CExpDoc* doc = frame->GetDocument();
    CExpProject* project = doc->GetProject();
    ASSERT_NE(project, nullptr);
    ASSERT_EQ(project->GetExperimentCount(), 1);
    EXPECT_EQ(project->GetExcitationNameCount(), 2);
    EXPECT_EQ(frame->RpmCombo()->count(), 101);
    EXPECT_EQ(frame->RpmCombo()->itemText(100), "6000 RPM");

    // ---- run ----
    std::vector<quint32> heard;
    QObject::connect(frame->TreeView(), &CExpTreeView::MessageHandled, [&](quint32 m) { heard.push_back(m); });
    ASSERT_TRUE(frame->IsCommandEnabled(CExpTreeView::ID_START_RUN));
    ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_START_RUN));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CFormProgress::GetInstance() != nullptr; }, 5000)) << "progress shown";
    ASSERT_TRUE(WaitForRunEnd(*doc, rig));
    const std::vector<quint32> expected = {WM_ZU_DAQ_STARTED, WM_ZU_DAQ_TRANSFER_BEGIN, WM_ZU_DAQ_TRANSFER_DONE,
                                           WM_ZU_DAQ_COMPLETE};
    std::vector<quint32> order;
    for (quint32 m : heard)
        if (std::find(expected.begin(), expected.end(), m) != expected.end())
            order.push_back(m);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(CFormProgress::GetInstance(), nullptr) << "the progress window goes with the data";
    const int n = static_cast<int>(25600 * 0.5f);
    CExcitation* excited = project->FindExcitation(p.structure);
    CExcitation* responding = project->FindExcitation(p.response);
    ASSERT_NE(excited, nullptr);
    ASSERT_NE(responding, nullptr);
    ASSERT_EQ(DataSetCount(excited), 1);
    ASSERT_EQ(DataSetCount(responding), 1);
    auto* set = ElementCast<CExpDataSet>(excited->GetChild(0));
    ASSERT_EQ(set->GetChildCount(), 23);
    auto* first = set->FindByLocalPoint(0);
    ASSERT_EQ(first->GetSampleCount(), n);
    // Channel 8 (S9) as the simulation generated it, in physical units.
    const std::vector<float> volts = rig.Signal(0, 8, n, 25600.0);
    EXPECT_NEAR(first->GetSamples()[100], volts[100] * 1000.0f / 10.0f, 1e-3f);
    EXPECT_NE(CDlgDaqDataCheck::GetInstance(), nullptr) << "the data check opens after a run";
    EXPECT_FALSE(doc->IsModified()) << "saved";

    // ---- the files read back equal ----
    CMElement* dataSet = project->GetExperimentList()[0];
    const std::string file = CDAQIO::GetDaqFilePath(dataSet);
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    {
        CExpDoc reread;
        ASSERT_NE(reread.MergeProjects(project->GetExperimentList()), nullptr);
        ExpectSameTree(*project->GetRPMSignalData(), *reread.GetProject()->GetRPMSignalData());
        ExpectSameTree(*excited, *reread.GetProject()->FindExcitation(p.structure));
    }

    // ---- the stored data open from the project's tree: the experiment and one data set ----
    {
        CMElement* experiment = dataSet->GetParent();
        ASSERT_NE(experiment, nullptr);
        std::vector<CExpFrame*> opened;
        GetTALVOApp().SetDAQSystemViewOpener([&](int) -> IDAQSystemDocument* {
            auto* stored = new CExpDoc;
            stored->SetSavedFlag(0);
            opened.push_back(new CExpFrame(stored, p.dir.string()));
            opened.back()->resize(900, 600);
            opened.back()->show();
            return stored;
        });
        for (CMElement* element : {experiment, dataSet}) {
            ASSERT_TRUE(GetTALVOApp().OpenDataView(element)) << element->GetName();
            ASSERT_FALSE(opened.empty());
            CExpDoc* stored = opened.back()->GetDocument();
            ASSERT_NE(stored->GetProject(), nullptr);
            EXPECT_EQ(stored->GetSavedFlag(), 1) << "stored data";
            const CExcitation* shownRun = stored->GetProject()->FindExcitation(p.structure);
            ASSERT_NE(shownRun, nullptr);
            EXPECT_EQ(DataSetCount(shownRun), 1);
        }
        EXPECT_EQ(opened.size(), 2u);
        EXPECT_EQ(GrabAndCheckLayout(*opened.front(), shots, "StoredExperiment").join(QLatin1Char('\n')).toStdString(),
                  "");
        for (CExpFrame* f : opened)
            delete f;
        GetTALVOApp().SetDAQSystemViewOpener([&](int) -> IDAQSystemDocument* {
            auto* next = new CExpDoc;
            next->SetDAQInterface(rig.Daq());
            frame = new CExpFrame(next, p.dir.string());
            return next;
        });
    }

    // ---- look at it ----
    frame->TreeView()->SelectElement(first);
    doc->UpdateAllViews(frame->TreeView(), CExpDoc::kHintSelect, first);
    EXPECT_EQ(frame->DataView()->GetPlot(), CExpDataView::plotTime);
    EXPECT_EQ(frame->DataView()->Chart()->xAxis->label(), "Time[ms]");
    EXPECT_EQ(frame->DataView()->Chart()->yAxis->label(), "m/s2");
    EXPECT_EQ(frame->DiagView()->GetElement(), set);
    EXPECT_EQ(frame->DiagView()->AxisTitle(), "Max Voltage, mv");
    EXPECT_TRUE(frame->IsCommandEnabled(CExpFrame::ID_CHANNEL_FREQ));
    ASSERT_TRUE(frame->OnCommand(CExpFrame::ID_CHANNEL_FREQ));
    EXPECT_EQ(frame->DataView()->GetPlot(), CExpDataView::plotLineSpectrum);
    EXPECT_EQ(frame->DataView()->Chart()->xAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_EQ(frame->DataView()->Chart()->xAxis->label(), "Freq. [Hz]");
    EXPECT_TRUE(frame->RpmCombo()->isEnabled());
    // A click on the third bar shows local point 2.
    ASSERT_TRUE(frame->DiagView()->OnBarClicked(2));
    EXPECT_EQ(frame->DataView()->GetElement(), set->FindByLocalPoint(2));
    frame->OnCommand(CExpFrame::ID_DIAG_INTEGRAL);
    EXPECT_EQ(frame->DiagView()->AxisTitle(), "Int. Value, (m/s2)^2 s");
    frame->OnCommand(CExpFrame::ID_CHANNEL_TIME);
    CDlgDaqDataCheck::DestroyInstance(); // a window of its own
    const QStringList faults = GrabAndCheckLayout(*frame, shots, "ExpFrame");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    // The chart's picture through its context menu's command.
    prompts.ChooseFile((p.dir / "chart.pdf").string(), 2);
    EXPECT_TRUE(frame->DataView()->Chart()->ExportWithPrompt(2));
    EXPECT_GT(std::filesystem::file_size(p.dir / "chart.pdf"), 0u);

    // ---- a store that fails leaves the data as they were ----
    const int before = DataSetCount(excited);
    prompts.Answer(IDOK);
    EXPECT_EQ(doc->StoreRun(n + 1), 0) << "more samples than acquired cannot be read";
    EXPECT_EQ(prompts.Last().stringId, 6070u);
    EXPECT_EQ(DataSetCount(excited), before);
    EXPECT_EQ(DataSetCount(project->GetRPMSignalData()), before);
    EXPECT_EQ(frame->DataView()->GetElement(), project) << "the views are told what is left";

    // ---- a second run loses a unit: what the answering unit measured is kept, the lost unit's
    // channels are marked missing, and the message says which is which ----
    rig.LoseSystemAt(1, 2560);
    heard.clear();
    ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_START_RUN));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CFormProgress::GetInstance() != nullptr; }, 5000));
    prompts.Answer(IDOK);
    ASSERT_TRUE(WaitForRunEnd(*doc, rig));
    ASSERT_EQ(DataSetCount(excited), 2) << "the run is stored";
    ASSERT_EQ(DataSetCount(responding), 2);
    ASSERT_EQ(DataSetCount(project->GetRPMSignalData()), 2);
    EXPECT_EQ(ElementCast<CExpDataSet>(excited->GetChild(0))->FindByLocalPoint(0)->GetSampleCount(), n)
        << "the first run is as it was";
    auto* lostRun = ElementCast<CExpDataSet>(excited->GetChild(1));
    ASSERT_NE(lostRun, nullptr);
    int kept = 0;
    int marked = 0;
    for (int j = 0; j < lostRun->GetChildCount(); ++j) {
        auto* record = ElementCast<CExpData>(lostRun->GetChild(j));
        ASSERT_NE(record, nullptr);
        const int channel = project->GetGroupItemValue(p.structure, record->GetLocalPointNumber());
        if (channel < kChannels / kUnits) {
            EXPECT_GT(record->GetSampleCount(), 0) << "channel " << channel << " of the answering unit";
            ++kept;
        } else {
            EXPECT_EQ(record->GetSampleCount(), 0) << "channel " << channel << " of the lost unit";
            ++marked;
        }
    }
    EXPECT_EQ(kept, 7);
    EXPECT_EQ(marked, 16);
    auto* keptRef = ElementCast<CExpDataSet>(responding->GetChild(1));
    ASSERT_NE(keptRef, nullptr);
    for (int j = 0; j < keptRef->GetChildCount(); ++j)
        EXPECT_GT(ElementCast<CExpData>(keptRef->GetChild(j))->GetSampleCount(), 0);
    EXPECT_FALSE(doc->IsModified()) << "the kept run is saved";
    {
        // The measurement file of the run reads back with its missing channels.
        CExpDoc reread;
        ASSERT_NE(reread.MergeProjects(project->GetExperimentList()), nullptr);
        ExpectSameTree(*excited, *reread.GetProject()->FindExcitation(p.structure));
    }
    ASSERT_FALSE(prompts.Records().empty());
    const std::string told = prompts.Last().text;
    EXPECT_NE(told.find("unit 2 stopped answering"), std::string::npos) << told;
    EXPECT_NE(told.find("Kept: "), std::string::npos) << told;
    EXPECT_NE(told.find("Not kept: channels 17, 18,"), std::string::npos) << told;
    EXPECT_NE(told.find("marked missing"), std::string::npos) << told;

    // ---- deleting a block: every view is told what is left ----
    frame->TreeView()->SelectElement(excited->GetChild(1));
    prompts.Answer(IDYES);
    ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_DELETE));
    ASSERT_EQ(DataSetCount(excited), 1);
    CExpData* shown = ElementCast<CExpDataSet>(excited->GetChild(0))->FindByLocalPoint(1);
    frame->TreeView()->SelectElement(shown);
    doc->UpdateAllViews(frame->TreeView(), CExpDoc::kHintSelect, shown);
    EXPECT_TRUE(frame->DataView()->HasChart());
    EXPECT_FALSE(frame->IsCommandEnabled(CExpTreeView::ID_DELETE)) << "a channel is not deleted alone";
    frame->TreeView()->SelectElement(excited->GetChild(0));
    prompts.Answer(IDYES);
    ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_DELETE));
    EXPECT_EQ(prompts.Last().stringId, 6048u);
    EXPECT_EQ(DataSetCount(excited), 0);
    EXPECT_EQ(DataSetCount(responding), 0) << "the block goes from every excitation";
    EXPECT_EQ(DataSetCount(project->GetRPMSignalData()), 0);
    EXPECT_EQ(frame->DataView()->GetElement(), excited);
    EXPECT_FALSE(frame->DataView()->HasChart());
    EXPECT_FALSE(frame->DiagView()->HasChart());
    EXPECT_EQ(frame->TreeView()->GetCurrentElement(), excited);

    // ---- DAQ options: the graph pages write into the window's display options ----
    ASSERT_TRUE(frame->IsCommandEnabled(CExpTreeView::ID_DAQ_OPTIONS));
    CScriptedDialogs sheets;
    const int band = doc->GetExpOptions().GetGraphBandType() == 0 ? 1 : 0;
    sheets.Then([band](CZuDialog& d) {
        auto& sheet = static_cast<CPSheetDAQOptions&>(d);
        EXPECT_EQ(sheet.windowTitle(), "DAQ Options");
        EXPECT_TRUE(sheet.SetActivePage(3));
        sheet.m_page2.BandRadio(band)->click();
        return sheet.PressOK();
    });
    ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_DAQ_OPTIONS));
    EXPECT_EQ(sheets.Records().size(), 1u);
    EXPECT_EQ(doc->GetExpOptions().GetGraphBandType(), band);

    CFormProgress::DestroyInstance();
    CDlgDaqDataCheck::DestroyInstance();
    GetTALVOApp().SetDAQSystemViewOpener({});
    delete frame;
}

// Channel pages cover every channel; a refused window or channel set-up shows the dialog again
// with what was entered; two experiments on one channel cannot be confirmed.
TEST(DlgExpProperty, PagesValidationAndARefusedWindow)
{
    CMeasurementProject p;
    p.container.SetSystemChannelCount(40);
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    GetTALVOApp().SetDAQSystemViewOpener({});
    CDlgExpProperty* dialog = CDlgExpProperty::CreateInstance(&p, nullptr);
    ASSERT_NE(dialog, nullptr);
    dialog->SetMode(CDlgExpProperty::modeNew);
    dialog->SetDAQProject(p.daq);
    dialog->Create();
    ASSERT_EQ(dialog->PageCombo()->count(), 3);
    EXPECT_EQ(dialog->PageCombo()->itemText(0), "Ch1 - Ch16");
    EXPECT_EQ(dialog->PageCombo()->itemText(2), "Ch33 - Ch40");
    dialog->PageCombo()->setCurrentIndex(2);
    EXPECT_EQ(dialog->ChannelGrid()->GetCols(), 9);
    EXPECT_EQ(dialog->ChannelGrid()->GetTextMatrix(0, 8), "Ch 40");

    dialog->OnCellChanged(2, 1, p.structure);
    dialog->OnCellChanged(1, 3, "1");
    dialog->OnCellChanged(2, 3, "1");
    prompts.Answer(IDOK);
    dialog->PressOK();
    EXPECT_EQ(prompts.Last().stringId, 7013u) << "channel 1 in both parts";
    dialog->OnCellChanged(2, 3, "2");
    EXPECT_EQ(dialog->ExperimentGrid()->GetTextMatrix(2, 3), "2");
    EXPECT_EQ(dialog->ExperimentGrid()->GetTextMatrix(1, 2).empty(), dialog->Infos().front().GetValue(1) <= 0.0);

    prompts.Answer(IDOK);
    dialog->PressOK();
    EXPECT_EQ(prompts.Last().stringId, 6230u);
    EXPECT_TRUE(dialog->isVisible()) << "shown again to try once more";
    EXPECT_EQ(CDlgExpProperty::GetInstance(&p), dialog);
    EXPECT_EQ(dialog->ExperimentGrid()->GetTextMatrix(2, 1), p.structure);
    CDlgExpProperty::DestroyInstance(&p);
    EXPECT_EQ(CDlgExpProperty::GetInstance(&p), nullptr);
}

// The properties of a stored experiment close when the experiment is deleted: they would edit it
// after it went otherwise.
TEST(DlgExpProperty, ClosesWithTheExperimentItShows)
{
    CMeasurementProject p;
    CMElement* experiment = p.daq->AddChild(std::make_unique<CMElement>("Run-up", p.daq, 1));
    QPointer<CDlgExpProperty> dialog = CDlgExpProperty::CreateInstance(experiment, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CDlgExpProperty::CreateInstance(experiment, nullptr), nullptr) << "one per experiment";
    p.daq->DeleteChild(experiment);
    EXPECT_EQ(CDlgExpProperty::GetInstance(experiment), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

namespace {
// A measurement window over the simulated units, set up to measure p's run-up as the property
// dialog's OK sets one up.
CExpFrame* OpenMeasuring(CMeasurementProject& p, CSimUnits& rig)
{
    auto* doc = new CExpDoc;
    doc->SetDAQInterface(rig.Daq());
    doc->SetSavedFlag(0);
    auto* frame = new CExpFrame(doc, p.dir.string());
    frame->resize(1100, 760);
    frame->show();
    CExpInfo info = p.MakeInfo();
    EXPECT_EQ(p.daq->OpenDAQSystemDoc(doc, {&info}), 1);
    EXPECT_EQ(doc->SetupChannels(), 1);
    return frame;
}

// Starts a run and lets the units measure a few blocks of it.
void StartAndMeasureAFewBlocks(CExpFrame& frame, CSimUnits& rig)
{
    int blocks = 0;
    QObject::connect(frame.TreeView(), &CExpTreeView::MessageHandled, [&blocks](quint32 m) {
        if (m == WM_ZU_DAQ_DATA)
            ++blocks;
    });
    ASSERT_TRUE(frame.OnCommand(CExpTreeView::ID_START_RUN));
    ASSERT_TRUE(QTest::qWaitFor([] { return CFormProgress::GetInstance() != nullptr; }, 5000)) << "progress shown";
    rig.Settle();
    // The units wait armed until the user presses the sampling window's Start.
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            const CFormProgress* form = CFormProgress::GetInstance();
            return form && form->StartButton()->isEnabled() && form->StatusText() == "<< Start >>";
        },
        5000));
    CFormProgress::GetInstance()->StartButton()->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rig.AdvanceUs(2000);
            return blocks >= 3;
        },
        10000));
    ASSERT_TRUE(frame.GetDocument()->IsRunActive());
    QObject::disconnect(frame.TreeView(), &CExpTreeView::MessageHandled, nullptr, nullptr);
}

// Stored: the measurement files in the project's measurement folder.
int MeasurementFileCount(const CMeasurementProject& p)
{
    int n = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(p.dir, ec))
        n += entry.path().extension() == ".daq" ? 1 : 0;
    return n;
}
} // namespace

// The close box of a measuring window: the run ends first (the units stop, the sampling window
// goes), the unfinished run-up is not stored, the carry-on question is asked as for any
// measurement window, and nothing reaches the window once it is gone.
TEST(ExpWindow, ClosingTheWindowDuringARunEndsTheRunFirst)
{
    CMeasurementProject p;
    CSimUnits rig(kUnits);
    CScriptedPrompts prompts;
    prompts.Answer(IDNO);
    CScriptedDialogs dialogs;
    dialogs.PressCancel(); // the experiment-data comparison that follows "No"
    QPointer<CExpFrame> frame = OpenMeasuring(p, rig);
    ASSERT_NO_FATAL_FAILURE(StartAndMeasureAFewBlocks(*frame, rig));

    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
    ASSERT_EQ(prompts.Records().size(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6243u) << "the carry-on question";
    EXPECT_EQ(CFormProgress::GetInstance(), nullptr);
    EXPECT_TRUE(rig.Daq()->IsNotifyWindow(nullptr)) << "no window is told about runs any more";
    EXPECT_EQ(rig.Daq()->AreAllUnitsIdle(), 1);
    // The units' time runs on: whatever the worker still posts finds nobody.
    for (int i = 0; i < 20; ++i) {
        rig.AdvanceUs(20000);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(MeasurementFileCount(p), 0) << "the unfinished run-up is not stored";
}

// A lost unit that carried the engine-speed (pulse) channel: the other unit's channels are kept,
// the engine-speed record and the lost unit's channels are marked missing, and the message tells
// the true reason. When the measurement file cannot be written, the message says the run is held
// in the window only.
TEST(ExpWindow, LosingThePulseUnitKeepsTheOtherUnitsChannelsAndSaysWhy)
{
    const struct
    {
        const char* what;
        bool diskFull;
    } cases[] = {{"the file written", false}, {"the file cannot be written", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMeasurementProject p;
        if (c.diskFull)
            std::ofstream(p.dir / "DAQ") << "a file where the measurement folder goes";
        CSimUnits rig(kUnits);
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) {
            PromptAnswer answer;
            answer.result = IDOK;
            return answer;
        };
        QPointer<CExpFrame> frame = OpenMeasuring(p, rig);
        CExpDoc* doc = frame->GetDocument();
        CExpProject* project = doc->GetProject();
        rig.LoseSystemAt(0, 2560);
        ASSERT_TRUE(frame->OnCommand(CExpTreeView::ID_START_RUN));
        ASSERT_TRUE(WaitForRunEnd(*doc, rig));

        CExcitation* excited = project->FindExcitation(p.structure);
        ASSERT_NE(excited, nullptr);
        ASSERT_EQ(DataSetCount(excited), 1) << "the run is kept";
        ASSERT_EQ(DataSetCount(project->GetRPMSignalData()), 1);
        auto* pulse = ElementCast<CExpData>(project->GetRPMSignalData()->GetChild(0)->GetChild(0));
        ASSERT_NE(pulse, nullptr);
        EXPECT_EQ(pulse->GetSampleCount(), 0) << "the engine-speed signal is marked missing";
        auto* run = ElementCast<CExpDataSet>(excited->GetChild(0));
        int kept = 0;
        for (int j = 0; j < run->GetChildCount(); ++j) {
            auto* record = ElementCast<CExpData>(run->GetChild(j));
            const int channel = project->GetGroupItemValue(p.structure, record->GetLocalPointNumber());
            EXPECT_EQ(record->GetSampleCount() > 0, channel >= kChannels / kUnits) << "channel " << channel;
            kept += record->GetSampleCount() > 0 ? 1 : 0;
        }
        EXPECT_EQ(kept, 16) << "every channel of the answering unit";

        ASSERT_FALSE(prompts.Records().empty());
        const std::string told = prompts.Last().text;
        EXPECT_NE(told.find("unit 1 stopped answering"), std::string::npos) << told;
        EXPECT_NE(told.find("engine-speed signal was lost"), std::string::npos) << told;
        EXPECT_EQ(told.find("no samples were acquired"), std::string::npos) << told;
        EXPECT_EQ(doc->IsModified(), c.diskFull);
        if (c.diskFull) {
            EXPECT_EQ(told.find("stored as"), std::string::npos) << told;
            EXPECT_NE(told.find("in this window only, not stored"), std::string::npos) << told;
        } else {
            EXPECT_NE(told.find("stored as 1 new data set"), std::string::npos) << told;
            CExpDoc reread;
            ASSERT_NE(reread.MergeProjects(project->GetExperimentList()), nullptr);
            ExpectSameTree(*excited, *reread.GetProject()->FindExcitation(p.structure));
        }
        delete frame.data();
    }
}
