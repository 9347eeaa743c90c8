// The HSEA data-table and switchable-axis windows, opened offscreen over the sample project's
// model tables and over an SPL table calculated on it: grid cells against the elements, chart
// curves against their numbers, clipboard round trips, pastes and undo through the grids, the RPM
// selector and the axis bar, one window per element.
#include "SampleProject.h"
#include "TableGridCheck.h"
#include "app/AnalysisProject.h"
#include "app/TALVOApp.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAOptions.h"
#include "calculation/InputPowerFolder.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/ZuControlBar.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/ZuTableModel.h"
#include "platform/ui/ZuTableSelectView.h"
#include "platform/ui/SearchDataInMatrixDlg.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "support/WidgetShot.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/HSEADataGraphView.h"
#include "views/ui/HSEADataTableDoc.h"
#include "views/ui/HSEADataTableFrame.h"
#include "views/ui/HSEADataTableView.h"
#include "views/ui/SwAxisGraphView.h"
#include "views/ui/SwAxisTableDoc.h"
#include "views/ui/SwAxisTableFrame.h"
#include "views/ui/SwAxisTableView.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// The sample project with a hybrid model and an SPL table by input powers over three RPMs.
struct Sample
{
    CTALVODoc doc;
    CAnalysisProject* analysis = nullptr;
    CZuRpmMultiVecFunc* spl = nullptr;

    static Sample& Get()
    {
        static Sample* s = [] {
            auto* sample = new Sample;
            sample->Build();
            return sample;
        }();
        return *s;
    }

    void Build()
    {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
        const fs::path file = fs::path(::testing::TempDir()) / "orvex_views_ui_tables" /
                              ("sample-" + std::to_string(::getpid())) / "sample.orv";
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        CModelProject* model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        analysis = dynamic_cast<CAnalysisProject*>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(analysis, nullptr);
        analysis->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
        const std::vector<double> f = analysis->GetOctaveManager()->GetFreqArray();
        const std::vector<double> rpms = {1000.0, 1100.0, 1200.0};
        CMElementList powers;
        for (auto [name, scale] : {std::pair{"Roof", 1e-3}, std::pair{"Floor", 4e-3}}) {
            auto map = CZuRpmFunc::NewRpmFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                              static_cast<int>(f.size()), rpms.data(), 3);
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < map->GetFreqCount(); ++b)
                    map->DataValue(r, b) = scale * (1.0 + 0.1 * b) * rpms[static_cast<size_t>(r)] / 1000.0;
            powers.Add(map.release());
        }
        CInputPowerFolder* folder = analysis->GetInputPowerFolder();
        if (!folder)
            folder = analysis->AddChild(std::make_unique<CInputPowerFolder>(analysis));
        folder->AddItems(powers);
        CZuSubsystemTable inputs;
        inputs.Add("Roof");
        inputs.Add("Floor");
        spl = dynamic_cast<CZuRpmMultiVecFunc*>(analysis->BuildSPLByInputPowers("Front Cabin-R", inputs, 0));
        ASSERT_NE(spl, nullptr);
    }

    CHSEAOptions& Options() { return doc.GetTALVOProject().GetHSEAOptions(); }
};

template <class T>
T* FindNamed(CMElement* root, const std::string& name)
{
    if (!root)
        return nullptr;
    if (auto* hit = dynamic_cast<T*>(root); hit && root->GetName() == name)
        return hit;
    for (int i = 0; i < root->GetChildCount(); ++i)
        if (T* hit = FindNamed<T>(root->GetChild(i), name))
            return hit;
    return nullptr;
}

CZuVecFunc* ModalDensity()
{
    return Sample::Get().doc.GetTALVOProject().GetModelProject()->GetASEAModelData()->GetModalDensity(0);
}

CZuMatFunc* EtaMatrix()
{
    return Sample::Get().doc.GetTALVOProject().GetModelProject()->GetASEAModelData()->GetEtaMatrix(0);
}

void ExpectLayout(QWidget& w, const char* name)
{
    const QStringList faults = GrabAndCheckLayout(w, "orvex_views_ui", name);
    EXPECT_TRUE(faults.isEmpty()) << name << ": " << faults.join("; ").toStdString();
}

// Selects the body cells (top, left) .. (bottom, right) in table coordinates.
void SelectBlock(CZuTableGrid& grid, int top, int left, int bottom, int right)
{
    CZuTableModel* m = grid.TableModel();
    grid.setCurrentIndex(m->IndexOf(top, left));
    grid.selectionModel()->select(QItemSelection(m->IndexOf(top, left), m->IndexOf(bottom, right)),
                                  QItemSelectionModel::ClearAndSelect);
}

struct Holder
{
    explicit Holder(QWidget* f) : frame(f) {}
    ~Holder()
    {
        if (frame)
            delete frame.data();
    }
    QPointer<QWidget> frame;
};
} // namespace

TEST(HSEADataTableWindow, ShowsAVectorOfTheModelInGridAndChart)
{
    CZuVecFunc* density = ModalDensity();
    ASSERT_NE(density, nullptr);
    ASSERT_GT(density->GetDataCount(), 2);
    Sample::Get().Options().HSS_DecimalPlaces = 2;
    Sample::Get().Options().HSS_ShowDataInDB = 0;
    Holder holder(CHSEADataTableFrame::Open(nullptr, density));
    auto* frame = qobject_cast<CHSEADataTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(CHSEADataTableFrame::Open(nullptr, density), frame) << "one window per element";

    ExpectTableGrid(*frame->GetTableView(), *density, 0, 2);
    EXPECT_FALSE(frame->IsListPaneShown());
    EXPECT_FALSE(frame->GetGraphView()->isHidden());
    EXPECT_FALSE(frame->RpmCombo()->isEnabled());
    EXPECT_EQ(frame->SelectorLabel()->text(), "RPM :");

    // One curve per subsystem over the bands: the values themselves, not their two-decimal texts.
    CHSEADataGraphView* chart = frame->GetGraphView();
    ASSERT_EQ(chart->CurveCount(), density->GetSubsystemCount());
    const int n = density->GetDataCount(), last = density->GetSubsystemCount() - 1;
    QCPGraph* g = chart->Curve(last);
    ASSERT_EQ(g->dataCount(), n);
    EXPECT_DOUBLE_EQ(g->data()->at(0)->key, density->DataIndex(0));
    EXPECT_DOUBLE_EQ(g->data()->at(n - 1)->key, density->DataIndex(n - 1));
    EXPECT_DOUBLE_EQ(g->data()->at(0)->value, density->DataValue(0, last));
    EXPECT_DOUBLE_EQ(g->data()->at(n - 1)->value, density->DataValue(n - 1, last));
    EXPECT_EQ(chart->xAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_EQ(chart->xAxis->label(), "Freq. [Hz]");

    // A grid click on a column draws its curve bold.
    emit frame->GetTableView()->CellClicked(1, 2);
    EXPECT_EQ(chart->HighlightedCurve(), 1);

    frame->resize(1000, 560);
    ExpectLayout(*frame, "hsea-data-table-vector");
}

TEST(HSEADataTableWindow, CopyPasteUndoThroughTheGrid)
{
    CZuVecFunc* density = ModalDensity();
    ASSERT_NE(density, nullptr);
    Holder holder(CHSEADataTableFrame::Open(nullptr, density));
    auto* frame = qobject_cast<CHSEADataTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    CHSEADataTableView* grid = frame->GetTableView();
    const double before[2] = {density->DataValue(2, 0), density->DataValue(3, 1)};

    SelectBlock(*grid, 1, 1, 2, 2);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_COPY));
    grid->SelectCell(3, 1);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(density->DataValue(r + 2, k), density->DataValue(r, k), 1e-12 * density->DataValue(r, k));
    // The chart follows the pasted numbers.
    EXPECT_DOUBLE_EQ(frame->GetGraphView()->Curve(0)->data()->at(2)->value, density->DataValue(2, 0));

    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));
    EXPECT_EQ(density->DataValue(2, 0), before[0]);
    EXPECT_EQ(density->DataValue(3, 1), before[1]);
    EXPECT_EQ(density->GetUndoBufferSize(), 0);

    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    grid->SelectCell(0, 2);
    EXPECT_FALSE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6111u);
}

TEST(HSEADataTableWindow, MatrixListsItsBandsAndFindsACellByNames)
{
    CZuMatFunc* eta = EtaMatrix();
    ASSERT_NE(eta, nullptr);
    Holder holder(CHSEADataTableFrame::Open(nullptr, eta));
    auto* frame = qobject_cast<CHSEADataTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsListPaneShown());
    EXPECT_TRUE(frame->GetGraphView()->isHidden());
    ASSERT_EQ(frame->GetSelectView()->ListModel()->rowCount(), eta->GetDataCount());
    frame->GetSelectView()->SelectSubset(3);
    EXPECT_EQ(frame->GetHSEADocument()->GetCurrentSubset(), 3);
    ExpectTableGrid(*frame->GetTableView(), *eta, 3, 2);

    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CSearchDataInMatrixDlg&>(d);
        dlg.RowCombo()->setCurrentIndex(2);
        dlg.ColCombo()->setCurrentIndex(4);
        return d.PressOK();
    });
    ASSERT_TRUE(frame->FindCell());
    EXPECT_EQ(frame->GetTableView()->CurrentCell().y, 3);
    EXPECT_EQ(frame->GetTableView()->CurrentCell().x, 5);

    frame->resize(1000, 560);
    ExpectLayout(*frame, "hsea-data-table-matrix");
}

TEST(HSEADataTableWindow, RpmSelectorShowsTheTableOfEachRpm)
{
    CZuRpmMultiVecFunc* spl = Sample::Get().spl;
    ASSERT_NE(spl, nullptr);
    Holder holder(CHSEADataTableFrame::Open(nullptr, spl));
    auto* frame = qobject_cast<CHSEADataTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(CHSEADataTableFrame::Open(nullptr, spl), frame);
    ASSERT_EQ(frame->RpmCombo()->count(), spl->GetRpmCount());
    EXPECT_EQ(frame->RpmCombo()->itemText(2), "1200");
    frame->RpmCombo()->setCurrentIndex(2);
    frame->OnRpmSelected(2);
    CZuTableData* shown = frame->GetHSEADocument()->GetData();
    EXPECT_EQ(shown, spl->GetRpmData(2));
    ExpectTableGrid(*frame->GetTableView(), *shown, 0, Sample::Get().Options().HSS_DecimalPlaces);
}

// The measured channel levels of the sample, one table per RPM: the chart says whose levels and at
// which RPM, and its values axis names the subsystem's quantity (velocity on the roof, pressure in
// the cabin) in the units the cells show (linear numbers carry no dB label).
TEST(HSEADataTableWindow, ChannelLevelsSayWhatTheyHoldAndAtWhichRpm)
{
    const struct
    {
        const char* subsystem;
        const char* quantity;
        const char* linearUnit;
    } cases[] = {{sample::kExcited, "Velocity", "m/s"}, {sample::kResponse, "Pressure", "Pa"}};
    Sample::Get().Options().HSS_ShowDataInDB = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subsystem);
        const std::string name = FormatString(IDS_CHANNEL_LEVELS, c.subsystem);
        CZuRpmSelFunc* levels = nullptr;
        CTALVOProject& container = Sample::Get().doc.GetTALVOProject();
        for (int p = 0; p < container.GetProjectCount() && !levels; ++p)
            levels = FindNamed<CZuRpmSelFunc>(container.GetProject(p), name);
        if (!levels && c.subsystem != std::string(sample::kExcited))
            continue; // the sample measures the cabin only where it holds its levels
        ASSERT_NE(levels, nullptr) << name;
        ASSERT_GT(levels->GetRpmCount(), 0);
        Holder holder(CHSEADataTableFrame::Open(nullptr, levels));
        auto* frame = qobject_cast<CHSEADataTableFrame*>(holder.frame.data());
        ASSERT_NE(frame, nullptr);
        frame->resize(1000, 560);
        frame->show();
        QApplication::processEvents();
        CHSEADataGraphView* chart = frame->GetGraphView();
        const QString rpm = frame->RpmCombo()->currentText();
        EXPECT_TRUE(chart->Title().contains(QString::fromStdString(name))) << chart->Title().toStdString();
        EXPECT_TRUE(chart->Title().contains(rpm + " RPM")) << chart->Title().toStdString();
        const QString label = chart->yAxis->label();
        EXPECT_TRUE(label.startsWith(QString::fromUtf8(c.quantity) + " [")) << label.toStdString();
        // The first curve's first point against the cell it is drawn from.
        auto* shown = dynamic_cast<CZuVecFunc*>(frame->GetHSEADocument()->GetData());
        ASSERT_NE(shown, nullptr);
        ASSERT_GT(chart->CurveCount(), 0);
        const bool linear = chart->Curve(0)->data()->at(0)->value == shown->DataValue(0, 0);
        if (linear)
            EXPECT_EQ(label, QString::fromUtf8(c.quantity) + " [" + c.linearUnit + "]");
        else
            EXPECT_TRUE(label.contains("dB (ref=")) << label.toStdString();
        if (c.subsystem == std::string(sample::kExcited))
            ExpectLayout(*frame, "hsea-data-table-channel-levels");
    }
}

TEST(HSEADataTableWindow, ClosesWhenItsElementIsDeleted)
{
    CZuSubsystemTable names;
    names.Add("Roof");
    auto* vec = new CZuVecFunc("Loss", &names, 3, nullptr, 4);
    QPointer<CHSEADataTableFrame> frame = CHSEADataTableFrame::Open(nullptr, vec);
    ASSERT_FALSE(frame.isNull());
    delete vec;
    QApplication::sendPostedEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
}

// Tiled narrow, the bars of both table windows wrap: every control stays whole in sight.
TEST(TableWindowBars, WrapInANarrowWindow)
{
    Holder hsea(CHSEADataTableFrame::Open(nullptr, EtaMatrix()));
    Holder axis(CSwAxisTableFrame::Open(nullptr, Sample::Get().spl));
    for (QWidget* frame : {hsea.frame.data(), axis.frame.data()}) {
        ASSERT_NE(frame, nullptr);
        SCOPED_TRACE(frame->metaObject()->className());
        auto* bar = frame->findChild<CZuControlBar*>();
        ASSERT_NE(bar, nullptr);
        frame->resize(180, 420);
        frame->show();
        QApplication::processEvents();
        EXPECT_TRUE(bar->ShowsEveryControl());
        int controls = 0;
        for (QWidget* w : bar->findChildren<QWidget*>()) {
            if (!qobject_cast<QComboBox*>(w) && !qobject_cast<QPushButton*>(w))
                continue;
            ++controls;
            const QRect at(w->mapTo(frame, QPoint(0, 0)), w->size());
            EXPECT_TRUE(frame->rect().contains(at)) << w->objectName().toStdString() << " at " << at.x() << ","
                                                    << at.y() << " " << at.width() << "x" << at.height();
        }
        EXPECT_GE(controls, 3);
    }
}

TEST(SwAxisTableWindow, ShowsTheSplTableOnEitherAxis)
{
    CZuRpmMultiVecFunc* spl = Sample::Get().spl;
    ASSERT_NE(spl, nullptr);
    Sample::Get().Options().HSS_DecimalPlaces = 2;
    Holder holder(CSwAxisTableFrame::Open(nullptr, spl));
    auto* frame = qobject_cast<CSwAxisTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(CSwAxisTableFrame::Open(nullptr, spl), frame);
    CSwAxisTableDoc* doc = frame->GetSwAxisDocument();
    ASSERT_EQ(frame->AxisCombo()->count(), 2);
    EXPECT_EQ(frame->FirstIndexLabel()->text(), "RPM :");
    ASSERT_EQ(frame->FirstIndexCombo()->count(), 3);

    // Frequency rows of 1100 RPM.
    frame->FirstIndexCombo()->setCurrentIndex(1);
    frame->OnFirstIndexSelected(1);
    auto* entry = dynamic_cast<CZuVecFunc*>(spl->GetRpmData(1));
    ASSERT_NE(entry, nullptr);
    CZuTableModel* model = frame->GetTableView()->TableModel();
    ASSERT_EQ(model->rowCount(), entry->GetDataCount());
    ASSERT_EQ(model->columnCount(), entry->GetSubsystemCount());
    const int n = entry->GetDataCount();
    for (int r : {0, n - 1})
        for (int k = 0; k < entry->GetSubsystemCount(); ++k)
            EXPECT_EQ(model->index(r, k).data().toString().toStdString(), entry->GetTableCellData(r + 1, k + 1, 0, 2));
    CSwAxisGraphView* chart = frame->GetGraphView();
    ASSERT_EQ(chart->CurveCount(), entry->GetSubsystemCount());
    QCPGraph* g = chart->Curve(1);
    ASSERT_EQ(g->dataCount(), n);
    EXPECT_DOUBLE_EQ(g->data()->at(0)->key, entry->DataIndex(0));
    EXPECT_DOUBLE_EQ(g->data()->at(n - 1)->key, entry->DataIndex(n - 1));
    EXPECT_DOUBLE_EQ(g->data()->at(0)->value, doc->Core().GetValue(0, 1));
    EXPECT_DOUBLE_EQ(g->data()->at(n - 1)->value, doc->Core().GetValue(n - 1, 1));
    EXPECT_EQ(chart->xAxis->label(), "Freq. [Hz]");

    // RPM rows at one band: the first index restarts at the first band.
    frame->AxisCombo()->setCurrentIndex(1);
    frame->OnAxisSelected(1);
    EXPECT_EQ(frame->FirstIndexLabel()->text(), "Freq :");
    EXPECT_EQ(frame->FirstIndexCombo()->count(), n);
    EXPECT_EQ(doc->GetCurrentSubset(), 0);
    frame->OnFirstIndexSelected(n - 1);
    ASSERT_EQ(model->rowCount(), spl->GetRpmCount());
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toString(), "1200");
    ASSERT_EQ(chart->Curve(0)->dataCount(), 3);
    EXPECT_DOUBLE_EQ(chart->Curve(0)->data()->at(2)->key, 1200.0);
    EXPECT_DOUBLE_EQ(chart->Curve(0)->data()->at(2)->value,
                     dynamic_cast<CZuVecFunc*>(spl->GetRpmData(2))->DataValue(n - 1, 0));
    EXPECT_EQ(chart->xAxis->label(), "RPM");

    frame->resize(1000, 560);
    ExpectLayout(*frame, "sw-axis-table");
}

// The SPL of the calculation commands holds one plain function (the target's level) per RPM: the
// window shows it as one column, on either axis, and edits reach the function.
TEST(SwAxisTableWindow, ShowsTheSplOfTheCalculationWhoseEntriesArePlainFunctions)
{
    Sample& sample = Sample::Get();
    CScriptedPrompts prompts;
    CZuSubsystemTable inputs;
    inputs.Add("Roof");
    inputs.Add("Floor");
    auto* set = dynamic_cast<CZuRpmResultData*>(sample.analysis->CalcEnergyResult(inputs, 0));
    ASSERT_NE(set, nullptr);
    CZuRpmMultiVecFunc* spl = sample.analysis->AddResult(set, sample.analysis->CalcSPL(set, "Front Cabin-R"));
    ASSERT_NE(spl, nullptr);
    ASSERT_EQ(spl->GetRpmCount(), 3);
    auto* entry = dynamic_cast<CZuFunc*>(spl->GetRpmData(2));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(dynamic_cast<CZuVecFunc*>(spl->GetRpmData(2)), nullptr) << "a plain function";
    sample.Options().HSS_DecimalPlaces = 2;

    Holder holder(CSwAxisTableFrame::Open(nullptr, spl));
    auto* frame = qobject_cast<CSwAxisTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->FirstIndexCombo()->count(), 3);
    frame->FirstIndexCombo()->setCurrentIndex(2);
    frame->OnFirstIndexSelected(2);
    CZuTableModel* model = frame->GetTableView()->TableModel();
    const int n = entry->GetDataCount();
    ASSERT_GT(n, 2);
    ASSERT_EQ(model->rowCount(), n);
    ASSERT_EQ(model->columnCount(), 1);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString().toStdString(), entry->GetTableCellData(0, 1, 0, 0));
    int shown = 0;
    for (int r = 0; r < n; ++r) {
        EXPECT_EQ(model->index(r, 0).data().toString().toStdString(), entry->GetTableCellData(r + 1, 1, 0, 2)) << r;
        shown += std::isfinite(entry->DataValue(r)) ? 1 : 0;
    }
    EXPECT_GT(shown, 0) << "the cells hold the levels";
    CSwAxisGraphView* chart = frame->GetGraphView();
    ASSERT_EQ(chart->CurveCount(), 1);
    EXPECT_EQ(chart->Curve(0)->dataCount(), n);

    // RPM rows at the last band: one level per RPM.
    frame->AxisCombo()->setCurrentIndex(1);
    frame->OnAxisSelected(1);
    frame->OnFirstIndexSelected(n - 1);
    ASSERT_EQ(model->rowCount(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(model->index(r, 0).data().toString().toStdString(), spl->GetRpmData(r)->GetTableCellData(n, 1, 0, 2))
            << r;

    // A pasted level lands in the function and undoes.
    CSwAxisTableView* grid = frame->GetTableView();
    const double old = entry->DataValue(n - 1);
    SetClipboardText("61.25\r\n");
    grid->SelectCell(3, 1);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_EQ(entry->DataValue(n - 1), 61.25);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));
    EXPECT_EQ(entry->DataValue(n - 1), old);

    frame->AxisCombo()->setCurrentIndex(0);
    frame->OnAxisSelected(0);
    frame->resize(900, 520);
    ExpectLayout(*frame, "sw-axis-spl-by-rpm");
}

TEST(SwAxisTableWindow, PasteAtTheCurrentCellKeepsEmptyFieldsInPlaceAndUndoes)
{
    CZuRpmMultiVecFunc* spl = Sample::Get().spl;
    Holder holder(CSwAxisTableFrame::Open(nullptr, spl));
    auto* frame = qobject_cast<CSwAxisTableFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    frame->OnFirstIndexSelected(0);
    auto* entry = dynamic_cast<CZuVecFunc*>(spl->GetRpmData(0));
    CSwAxisTableView* grid = frame->GetTableView();
    const double kept = entry->DataValue(3, 0);
    const double old[2] = {entry->DataValue(4, 0), entry->DataValue(4, 1)};

    // Copy of two rows, pasted two rows further down: the same values there.
    SelectBlock(*grid, 1, 1, 2, 2);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_COPY));
    grid->SelectCell(5, 1);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    for (int k = 0; k < 2; ++k)
        EXPECT_NEAR(entry->DataValue(4, k), entry->DataValue(0, k), 1e-9);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));
    EXPECT_EQ(entry->DataValue(4, 0), old[0]);
    EXPECT_EQ(entry->DataValue(4, 1), old[1]);

    // An empty first field leaves its cell and the second lands in the second column.
    SetClipboardText("\t77.5\r\n");
    grid->SelectCell(4, 1);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_EQ(entry->DataValue(3, 0), kept);
    EXPECT_DOUBLE_EQ(frame->GetSwAxisDocument()->Core().GetValue(3, 1), 77.5);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));

    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    grid->SelectCell(2, 0);
    EXPECT_FALSE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6111u);
}

TEST(TableWindowOpeners, TheOptionChoosesTheWindowOfAnRpmSelectedTable)
{
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    InstallDataViewOpeners(nullptr);
    std::string option;
    ASSERT_TRUE(LoadString(IDS_OPT_ALT_DATA_VIEWS, option));
    auto setOption = [&](uint32_t value) {
        CZuRegOptions reg(GetOptionsKeyPath().c_str());
        ASSERT_TRUE(reg.Open());
        ASSERT_TRUE(reg.SetDWORD(option.c_str(), value));
    };
    CZuRpmMultiVecFunc* spl = Sample::Get().spl;
    ASSERT_NE(spl, nullptr);

    setOption(0);
    ASSERT_TRUE(GetTALVOApp().OpenDataView(spl));
    {
        Holder hsea(dynamic_cast<CHSEADataTableFrame*>(CZuTableDataFrame::FindFrame(spl)));
        ASSERT_FALSE(hsea.frame.isNull());
    }
    EXPECT_EQ(spl->GetThisFrameWnd(), nullptr);

    setOption(1);
    ASSERT_TRUE(GetTALVOApp().OpenDataView(spl));
    Holder sw(dynamic_cast<CSwAxisTableFrame*>(CZuTableDataFrame::FindFrame(spl)));
    ASSERT_FALSE(sw.frame.isNull());
    EXPECT_TRUE(GetTALVOApp().OpenDataView(spl));
    EXPECT_EQ(CZuTableDataFrame::FindFrame(spl), sw.frame.data()) << "one window per element";

    // Any other table of the model opens in the HSEA data-table window.
    ASSERT_TRUE(GetTALVOApp().OpenDataView(EtaMatrix()));
    Holder eta(dynamic_cast<CHSEADataTableFrame*>(CZuTableDataFrame::FindFrame(EtaMatrix())));
    EXPECT_FALSE(eta.frame.isNull());
    setOption(0);
    RemoveDataViewOpeners();
}
