// The sample's results read as a user reads them: a result sub-menu of the Calculation menu lists
// the selected project's result sets and calculates on the one chosen, and the new result opens
// in its window with the values of the element, its unit and a chart; the windows of the paths and
// contributions give the table the room; and the averaged energy an automation client asks for
// over the session bus is the input energy the window shows. On the model project every result
// sub-menu, and the context menu of the hybrid model's own solve, make a function of that solve.
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtDBus/QDBusConnection>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/automation/AutomationService.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "app/ui/TreePickers.h"
#include "calculation/InputEnergyFolder.h"
#include "models/HSEAResultData.h"
#include "platform/elements/ElementType.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringTable.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "support/GdbusCall.h"
#include "support/PrivateSessionBus.h"
#include "support/RoadSteps.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/HSEADataGraphView.h"
#include "views/ui/DlgSelectSubsystemPair.h"
#include "views/ui/HSEADataTableFrame.h"
#include "views/ui/TALDataSelectView.h"

namespace {
namespace fs = std::filesystem;
using Calc = CCalcCommands;

class ResultRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(road::StartProgram());
        root = fs::path(dir.path().toStdString());
        ASSERT_TRUE(road::CopyBuiltSample(root)) << "no sample project was built";
        frame = std::make_unique<CMainFrame>();
        road::ShowFrame(*frame);
        // File > Open, the sample chosen in the file chooser.
        CScriptedPrompts prompts;
        prompts.ChooseFile((root / "sample.orv").string());
        ASSERT_TRUE(road::Click(*frame, ID_FILE_OPEN));
        ASSERT_NE(frame->GetDocument(), nullptr) << road::Shown(prompts);
        CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
        for (int i = 0; i < container.GetProjectCount() && !results; ++i)
            if (container.GetProject(i)->GetName() == sample::kResultsProjectName)
                results = DynamicDowncast<CAnalysisProject>(container.GetProject(i));
        ASSERT_NE(results, nullptr);
        resultsIndex = container.GetProjectIndex(results);
        for (int i = 0; i < results->GetChildCount() && !set; ++i)
            set = DynamicDowncast<CZuRpmResultData>(results->GetChild(i));
        ASSERT_NE(set, nullptr) << "the sample keeps an energy result";
    }
    void TearDown() override
    {
        frame.reset();
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    }

    // The sub-menu as it opens from the Calculation menu; its items' texts.
    QStringList OpenSubMenu(QMenu* popup)
    {
        popup->popup(frame->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::processEvents();
        QStringList items;
        for (QAction* a : popup->actions())
            items << a->text();
        return items;
    }

    // Opens an element of the results project from the tree, as a double click does.
    QMdiSubWindow* Open(CMElement* element)
    {
        road::Select(*frame, resultsIndex, element);
        EXPECT_TRUE(road::Click(*frame, ID_OPEN_SELECTION));
        QMdiSubWindow* window = frame->MdiArea()->activeSubWindow();
        if (window) {
            window->resize(760, 520);
            QCoreApplication::processEvents();
        }
        return window;
    }

    // The text of the grid cell in the row headed rowHeading and column col (0 the first value).
    static QString Cell(QWidget* window, const QString& rowHeading, int col)
    {
        for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
            const QAbstractItemModel* model = view->model();
            for (int r = 0; model && r < model->rowCount(); ++r) {
                // The heading in the row header, or in a first column of its own.
                if (model->headerData(r, Qt::Vertical).toString() == rowHeading && col < model->columnCount())
                    return model->data(model->index(r, col)).toString();
                if (model->data(model->index(r, 0)).toString() == rowHeading && col + 1 < model->columnCount())
                    return model->data(model->index(r, col + 1)).toString();
            }
        }
        return {};
    }

    // The tree's context menu over the selected element, as the right button opens it.
    QMenu* RightClickSelection()
    {
        CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
        const QPoint point = tree->visualRect(tree->currentIndex()).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, point, tree->viewport()->mapToGlobal(point));
        const QList<QMenu*> before = frame->findChildren<QMenu*>(QStringLiteral("ResultContextMenu"));
        QCoreApplication::sendEvent(tree->viewport(), &click);
        QCoreApplication::processEvents();
        for (QMenu* menu : frame->findChildren<QMenu*>(QStringLiteral("ResultContextMenu")))
            if (!before.contains(menu) && menu->isVisible())
                return menu;
        return nullptr;
    }

    // The project window's picker, open for a command: the subsystem (or the two) chosen, OK.
    void Pick(const char* first, const char* second)
    {
        QCoreApplication::processEvents();
        CTreePickers* pickers = frame->TreeWindow()->Pickers();
        ASSERT_NE(pickers, nullptr);
        if (second) {
            CDlgSelectSubsystemPair* pair = pickers->PairPicker();
            ASSERT_NE(pair, nullptr);
            ASSERT_TRUE(pair->isVisible());
            pair->ChooseFirst(QString::fromUtf8(first));
            pair->ChooseSecond(QString::fromUtf8(second));
            ASSERT_TRUE(pair->OkButton()->isEnabled()) << first << " / " << second;
            ASSERT_NO_FATAL_FAILURE(road::GrabResult(*pair, "result-pair-picker"));
            pair->PressOK();
        } else {
            CDlgSelectSubsystem* single = pickers->SinglePicker();
            ASSERT_NE(single, nullptr);
            ASSERT_TRUE(single->isVisible());
            const int at = single->Combo()->findText(QString::fromUtf8(first));
            ASSERT_GE(at, 0) << first;
            single->Combo()->setCurrentIndex(at);
            single->PressOK();
        }
        QCoreApplication::processEvents();
    }

    // The numbers in the window's grids, the row and column headings left out.
    static std::vector<double> Numbers(QWidget* window)
    {
        std::vector<double> numbers;
        for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
            const QAbstractItemModel* model = view->model();
            for (int r = 0; model && r < model->rowCount(); ++r)
                for (int c = 0; c < model->columnCount(); ++c) {
                    bool ok = false;
                    const double v = model->data(model->index(r, c)).toString().toDouble(&ok);
                    if (ok)
                        numbers.push_back(v);
                }
        }
        return numbers;
    }

    QTemporaryDir dir;
    fs::path root;
    std::unique_ptr<CMainFrame> frame;
    CAnalysisProject* results = nullptr;
    int resultsIndex = -1;
    CZuRpmResultData* set = nullptr;
};
} // namespace

TEST_F(ResultRoad, ASubMenuListsTheResultSetsAndItsResultOpensWithValuesUnitAndChart)
{
    // The results project's tab, as the user clicks it.
    road::Select(*frame, resultsIndex, results);
    QMenu* spl = frame->ResultPopup(Calc::ID_CALC_SPL);
    ASSERT_NE(spl, nullptr);
    EXPECT_EQ(spl->title(), QStringLiteral("Sound &Pressure Level"));
    const QStringList offered = OpenSubMenu(spl);
    ASSERT_EQ(offered, QStringList{QString::fromStdString(set->GetName())});
    ASSERT_TRUE(spl->actions()[0]->isEnabled());
    // The hybrid model's energy commands have nothing to work on in an analysis project.
    QMenu* energy = frame->ResultPopup(Calc::ID_CALC_SUBSYSTEM_ENERGY);
    ASSERT_NE(energy, nullptr);
    EXPECT_EQ(OpenSubMenu(energy), QStringList{QStringLiteral("no result")});
    EXPECT_FALSE(energy->actions()[0]->isEnabled());
    energy->hide();

    // The result set chosen: the cavity picker, the cabin, OK; the SPL is made anew.
    CZuRpmSelFunc* old = nullptr;
    for (int i = 0; i < set->GetChildCount() && !old; ++i)
        if (set->GetChild(i)->GetType() == ElementType::Spl)
            old = DynamicDowncast<CZuRpmSelFunc>(set->GetChild(i));
    ASSERT_NE(old, nullptr);
    const std::string name = old->GetName();
    {
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&d);
            const int at = picker ? picker->Combo()->findText(QString::fromUtf8(sample::kResponse)) : -1;
            if (at < 0)
                return d.PressCancel();
            picker->Combo()->setCurrentIndex(at);
            return d.PressOK();
        });
        QAction* item = spl->actions()[0];
        spl->hide();
        item->trigger();
        ASSERT_EQ(dialogs.Records().size(), 1u);
    }
    auto* made = DynamicDowncast<CZuRpmSelFunc>(set->FindOne(name, 1, 1));
    ASSERT_NE(made, nullptr);
    auto* row = dynamic_cast<CZuFunc*>(made->GetRpmData(made->FindRpmIndex(sample::kRpmStart)));
    ASSERT_NE(row, nullptr);

    // Opened from the tree: the table at the first RPM with the level of each band, its unit and
    // reference in the heading, and a chart of it.
    QMdiSubWindow* window = Open(made);
    ASSERT_NE(window, nullptr);
    auto* table = qobject_cast<CHSEADataTableFrame*>(window->widget());
    ASSERT_NE(table, nullptr);
    ASSERT_GT(row->GetDataCount(), 1);
    for (int b : {0, 1}) {
        const QString heading = QString::fromStdString(CGfxUtil::GetManipulatedFrequencyString(row->DataIndex(b)));
        EXPECT_NEAR(Cell(table, heading, 0).toDouble(), row->DataValue(b), 0.006) << heading.toStdString();
    }
    const QAbstractItemModel* grid = table->GridPane()->findChild<QAbstractItemView*>()
                                         ? table->GridPane()->findChild<QAbstractItemView*>()->model()
                                         : qobject_cast<QAbstractItemView*>(table->GridPane())->model();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->headerData(0, Qt::Horizontal).toString(),
              QString::fromStdString(name) + QStringLiteral(" [dB (ref=2E-5Pa)]"));
    CHSEADataGraphView* chart = table->GetGraphView();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    ASSERT_GE(chart->graphCount(), 1);
    EXPECT_GT(chart->graph(0)->dataCount(), 1);
    EXPECT_EQ(chart->yAxis->label(), QStringLiteral("SPL [dB (ref=2E-5Pa)]")) << "levels as calculated, unweighted";
    ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, "result-menu-spl"));

    // In Japanese the sub-menus and the window follow.
    ASSERT_TRUE(road::Click(*frame, ID_LANGUAGE_JAPANESE));
    QCoreApplication::processEvents();
    QMenu* jpn = frame->ResultPopup(Calc::ID_CALC_SUBSYSTEM_ENERGY);
    ASSERT_NE(jpn, nullptr);
    road::Select(*frame, resultsIndex, results);
    EXPECT_EQ(OpenSubMenu(jpn), QStringList{QString::fromStdString(TranslateText("no result"))});
    EXPECT_NE(jpn->actions()[0]->text(), QStringLiteral("no result"));
    EXPECT_NE(jpn->title(), QStringLiteral("Subsystem &Energy"));
    jpn->hide();
    ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, "result-menu-spl-jpn"));
}

TEST_F(ResultRoad, PathAndContributionWindowsGiveTheTableTheRoomAndReadableCells)
{
    std::vector<std::pair<QMdiSubWindow*, const char*>> opened;
    for (int type : {ElementType::DominantPath, ElementType::PowerContribution}) {
        SCOPED_TRACE(type);
        CMElement* result = nullptr;
        for (int i = 0; i < set->GetChildCount() && !result; ++i)
            if (set->GetChild(i)->GetType() == type)
                result = set->GetChild(i);
        ASSERT_NE(result, nullptr);
        QMdiSubWindow* window = Open(result);
        ASSERT_NE(window, nullptr);
        auto* table = qobject_cast<CHSEADataTableFrame*>(window->widget());
        ASSERT_NE(table, nullptr);
        ASSERT_TRUE(table->IsListPaneShown());
        // The band list stays narrow; the table takes the rest.
        EXPECT_LT(table->SelectPane()->width(), 200);
        EXPECT_GT(table->GridPane()->width(), 2 * table->SelectPane()->width());
        const QAbstractItemModel* grid = nullptr;
        for (QAbstractItemView* view : table->GridPane()->findChildren<QAbstractItemView*>())
            grid = view->model();
        if (auto* view = qobject_cast<QAbstractItemView*>(table->GridPane()))
            grid = view->model();
        ASSERT_NE(grid, nullptr);
        bool coloured = false;
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c) {
                const QModelIndex at = grid->index(r, c);
                const QString text = grid->data(at).toString();
                // Every text can be read whole: a cut one in its tip.
                if (!text.isEmpty()) {
                    EXPECT_EQ(grid->data(at, Qt::ToolTipRole).toString(), text);
                }
                const QVariant background = grid->data(at, Qt::BackgroundRole);
                if (!background.isValid())
                    continue;
                coloured = true;
                const QColor b = background.value<QColor>(), f = grid->data(at, Qt::ForegroundRole).value<QColor>();
                // Text and cell differ in brightness by half the scale at least.
                EXPECT_GT(std::abs(b.lightness() - f.lightness()), 110) << text.toStdString();
            }
        EXPECT_EQ(coloured, type == ElementType::PowerContribution);
        opened.emplace_back(window,
                            type == ElementType::DominantPath ? "result-dominant-paths" : "result-contributions");
        ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, opened.back().second));
    }
    // The same windows in Japanese.
    ASSERT_TRUE(road::Click(*frame, ID_LANGUAGE_JAPANESE));
    QCoreApplication::processEvents();
    for (const auto& [window, name] : opened) {
        const std::string jpn = std::string(name) + "-jpn";
        ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, jpn.c_str()));
    }
}

// An automation client asks the DAQ project for the roof's averaged energy over the session bus:
// it is the input energy of the roof at the same RPM and band that the window shows.
TEST_F(ResultRoad, TheAveragedEnergyOverTheBusIsTheInputEnergyShownInTheWindow)
{
    // A bus of the test's own, which gdbus finds through the environment; the next tests get the
    // one they had back.
    struct BusGuard
    {
        QByteArray previous = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        CPrivateSessionBus bus;
        ~BusGuard() { qputenv("DBUS_SESSION_BUS_ADDRESS", previous); }
    } guard;
    QString error;
    ASSERT_TRUE(guard.bus.Start(&error)) << error.toStdString();
    CMainFrameAutomationHost host(*frame);
    CAutomationService service(
        host, false, QDBusConnection::connectToBus(guard.bus.Address(), QStringLiteral("result-road-server")));
    ASSERT_TRUE(service.RegisterAppActiveObject());
    const auto call = [](const QString& path, const QString& member, const QStringList& args = {}) {
        const GdbusResult r =
            GdbusCall(QStringLiteral("ORVEX.Application"), path, QStringLiteral("ORVEX.Automation.") + member, args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out;
    };
    const auto pathOf = [](const QString& answer) {
        return QRegularExpression(QStringLiteral("objectpath '([^']*)'")).match(answer).captured(1);
    };
    const QString doc = pathOf(call(QStringLiteral("/Application"), QStringLiteral("ProjectFile")));
    ASSERT_FALSE(doc.isEmpty());
    const QString daq = pathOf(call(doc, QStringLiteral("Project"), {QStringLiteral("1")}));
    ASSERT_FALSE(daq.isEmpty());
    EXPECT_EQ(call(daq, QStringLiteral("FreqEx"), {QStringLiteral("0")}).trimmed(), QStringLiteral("(100.0,)"));
    const QString answer = call(daq, QStringLiteral("GetAveragedEnergy"),
                                {QStringLiteral("'Roof'"), QStringLiteral("1000"), QStringLiteral("<0>")});
    const auto m = QRegularExpression(QStringLiteral("<([-+.0-9eE]+)>")).match(answer);
    ASSERT_TRUE(m.hasMatch()) << answer.toStdString();
    const double energy = m.captured(1).toDouble();
    EXPECT_GT(energy, 0.0);

    // The roof's input energy opened from the tree: the window lists the bands with the first,
    // 100 Hz, chosen, and shows its energy over RPM, in decibels referred to 1 J.
    CMElement* input = results->GetInputEnergyFolder()->FindRpmItem(sample::kExcited);
    ASSERT_NE(input, nullptr);
    QMdiSubWindow* window = Open(input);
    ASSERT_NE(window, nullptr);
    auto* bands = window->widget()->findChild<CTALDataSelectView*>();
    ASSERT_NE(bands, nullptr);
    EXPECT_EQ(bands->model()->data(bands->currentIndex()).toString(), QStringLiteral("100"));
    const QString shown = Cell(window->widget(), QStringLiteral("1000"), 0);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_NEAR(shown.toDouble(), 10.0 * std::log10(energy), 0.006) << shown.toStdString();
    ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, "result-input-energy"));
}

// The sample's own solve of the hybrid model, on the model project: on that project's tab every
// result sub-menu of the Calculation menu lists it, the result's context menu offers the same
// commands, and each, through its picker, makes a function of the result that opens in a window
// with its values.
TEST_F(ResultRoad, EveryResultSubMenuAndTheContextMenuMakeAFunctionOfTheSampleThatOpensWithValues)
{
    CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model, nullptr);
    CHSEAResultData* solved = nullptr;
    for (int i = 0; i < model->GetChildCount() && !solved; ++i)
        solved = dynamic_cast<CHSEAResultData*>(model->GetChild(i));
    ASSERT_NE(solved, nullptr) << "the sample keeps a solve of its hybrid model";
    const int modelIndex = container.GetProjectIndex(model);
    const QString name = QString::fromStdString(solved->GetName());

    struct Row
    {
        int id;
        const char* title;
        const char* first;
        const char* second; // the pair pickers' second subsystem
        int type;
        // What the window says its values are in: the grid's first column heading, or a text a
        // heading holds where the grid has no single value column; the chart's value axis
        // (nullptr: no chart), empty for a ratio, which has no unit.
        const char* heading;
        const char* axis;
    };
    const Row rows[] = {
        {Calc::ID_CALC_VIBRATION_LEVEL, "&Vibration Level", sample::kExcited, nullptr, ElementType::VibrationLevel,
         "Vibration Level [Roof-F] [dB (ref=1m/s)]", "Vibration Level [dB (ref=1m/s)]"},
        {Calc::ID_CALC_SPL, "Sound &Pressure Level", sample::kResponse, nullptr, ElementType::Spl,
         "SPL [Front Cabin-R-] [dB (ref=2E-5Pa)]", "SPL [dB (ref=2E-5Pa)]"},
        {Calc::ID_SEARCH_DOMINANT_PATH, "&Dominant Paths", sample::kResponse, nullptr, ElementType::DominantPath,
         "Step 1", nullptr},
        {Calc::ID_CALC_POWER_CONTRIBUTION, "Power &Contributions", sample::kResponse, nullptr,
         ElementType::PowerContribution, "Inflow Power (W)", nullptr},
        // The energies are kept in joules and shown as they are kept: no decibels on the axis.
        {Calc::ID_CALC_SUBSYSTEM_ENERGY, "Subsystem &Energy", sample::kExcited, nullptr, ElementType::Energy,
         "Energy [Roof-F] [J]", "Energy [J]"},
        {Calc::ID_CALC_ENERGY_RATIO, "Energy &Ratio", sample::kExcited, sample::kResponse, ElementType::EnergyRatio,
         "ER(Roof-F, Front Cabin-R-)", ""},
    };
    for (const bool context : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.title) + (context ? " from the context menu" : " from the menu"));
            frame->MdiArea()->closeAllSubWindows();
            QCoreApplication::processEvents();
            if (!context) {
                road::Select(*frame, modelIndex, model);
                QMenu* popup = frame->ResultPopup(row.id);
                ASSERT_NE(popup, nullptr);
                EXPECT_EQ(popup->title(), QString::fromUtf8(row.title));
                ASSERT_EQ(OpenSubMenu(popup), QStringList{name});
                QAction* item = popup->actions()[0];
                ASSERT_TRUE(item->isEnabled());
                popup->hide();
                item->trigger();
            } else {
                road::Select(*frame, modelIndex, solved);
                QMenu* menu = RightClickSelection();
                ASSERT_NE(menu, nullptr);
                QAction* item = frame->Action(row.id);
                ASSERT_TRUE(menu->actions().contains(item));
                ASSERT_TRUE(item->isEnabled());
                menu->close();
                item->trigger();
            }
            CScriptedPrompts prompts;
            ASSERT_NO_FATAL_FAILURE(Pick(row.first, row.second));
            EXPECT_EQ(prompts.Count(), 0u) << road::Shown(prompts);
            CMElement* made = nullptr;
            for (int i = 0; i < solved->GetChildCount(); ++i)
                if (solved->GetChild(i)->GetType() == row.type)
                    made = solved->GetChild(i);
            ASSERT_NE(made, nullptr);
            QMdiSubWindow* window = frame->MdiArea()->activeSubWindow();
            ASSERT_NE(window, nullptr);
            window->resize(760, 520);
            QCoreApplication::processEvents();
            const std::vector<double> numbers = Numbers(window->widget());
            int shown = 0;
            for (double v : numbers)
                shown += std::isfinite(v) && v != 0.0;
            EXPECT_GT(shown, 1) << made->GetName() << ": " << numbers.size() << " numbers";
            // A function over the bands shows its value at the first band; the energy and the
            // ratio are those of the subsystems picked, as the solve has them.
            if (auto* f = dynamic_cast<CZuFunc*>(made)) {
                const QString band = QString::fromStdString(CGfxUtil::GetManipulatedFrequencyString(f->DataIndex(0)));
                EXPECT_NEAR(Cell(window->widget(), band, 0).toDouble(), f->DataValue(0), 0.006) << made->GetName();
                const double roof = solved->GetSubsystemValue("Roof-F", 0, 0);
                const double cabin = solved->GetSubsystemValue("Front Cabin-R-", 0, 0);
                ASSERT_GT(roof, 0.0);
                ASSERT_GT(cabin, 0.0);
                if (row.type == ElementType::Energy) {
                    EXPECT_DOUBLE_EQ(f->DataValue(0), roof);
                }
                if (row.type == ElementType::EnergyRatio) {
                    EXPECT_DOUBLE_EQ(f->DataValue(0), roof / cabin);
                }
            }
            // Titled by the function, the result it was made from and the project, alike for all.
            EXPECT_EQ(window->widget()->windowTitle(), QString::fromStdString(made->GetName()) + " - " + name + " - " +
                                                           QString::fromStdString(model->GetName()));
            auto* table = qobject_cast<CHSEADataTableFrame*>(window->widget());
            ASSERT_NE(table, nullptr);
            QStringList headings;
            for (QAbstractItemView* view : table->GridPane()->findChildren<QAbstractItemView*>())
                for (int c = 0; view->model() && c < view->model()->columnCount(); ++c)
                    headings << view->model()->headerData(c, Qt::Horizontal).toString();
            if (auto* view = qobject_cast<QAbstractItemView*>(table->GridPane()))
                for (int c = 0; view->model() && c < view->model()->columnCount(); ++c)
                    headings << view->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_TRUE(headings.contains(QString::fromUtf8(row.heading))) << headings.join(" | ").toStdString();
            CHSEADataGraphView* chart = table->GetGraphView();
            ASSERT_NE(chart, nullptr);
            EXPECT_EQ(chart->isVisible(), row.axis != nullptr);
            if (row.axis) {
                EXPECT_EQ(chart->yAxis->label(), QString::fromUtf8(row.axis));
                // Every tick of the value axis reads apart, a flat curve's too.
                chart->replot();
                const QVector<QString> ticks = chart->yAxis->tickVectorLabels();
                EXPECT_GE(ticks.size(), 2);
                EXPECT_EQ(QSet<QString>(ticks.begin(), ticks.end()).size(), ticks.size())
                    << QStringList(ticks.begin(), ticks.end()).join(" | ").toStdString();
            }
            if (!context) {
                const std::string shot = std::string("result-menu-") + std::to_string(row.id);
                ASSERT_NO_FATAL_FAILURE(road::GrabResult(*window, shot.c_str()));
            }
        }
    }
}
