// The sensor window: its views, dialogs and commands over a sensor project.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DlgBlixBundleName.h"
#include "experiments/ui/DlgImportSensorList.h"
#include "experiments/ui/DlgSensorBundle.h"
#include "experiments/ui/DlgSensorGroup.h"
#include "experiments/ui/DlgSensorProperty.h"
#include "experiments/ui/SensorBundleView.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "app/TALVOApp.h"
#include "platform/ui/QtPromptService.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/win/WinTypes.h"
#include "support/WidgetShot.h"
#include "experiments/ui/SensorFrame.h"
#include "experiments/ui/SensorGroupView.h"
#include "experiments/ui/SensorListCtrl.h"
#include "experiments/ui/SensorListView.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"

namespace {

tagSENSORINFO Info(const std::string& id, int dataType, float sensitivity = 1.0f, int unit = 0)
{
    tagSENSORINFO info;
    info.ID = id;
    info.Manufacturer = "Acme";
    info.Model = "X" + id;
    info.SerialNumber = "S-" + id;
    info.ChannelInfo.DataType = dataType;
    info.ChannelInfo.Sensitivity = sensitivity;
    info.ChannelInfo.Unit = unit;
    info.ChannelInfo.Limit = 100.0f;
    return info;
}

// A catalogue with three accelerometers, a microphone and a hammer, two bundles and a group that
// uses the first bundle.
struct Catalogue
{
    CSensorProject project;
    Catalogue()
    {
        for (const char* id : {"A1", "A2", "A3"})
            project.AddSensor(Info(id, SENSOR_DATATYPE_ACCELERATION, 0.102f));
        project.AddSensor(Info("M1", SENSOR_DATATYPE_PRESSURE, 50.0f));
        project.AddSensor(Info("H1", SENSOR_DATATYPE_FORCE, 2.25f));
        CSensorBundle* b1 = project.AddBundle("B1-Front");
        b1->AddSensor("A1");
        b1->AddSensor("A2");
        b1->AddSensor("A3");
        project.AddBundle("B2-Rear")->AddSensor("M1");
        CSensorGroup* g = project.InsertGroup(0);
        g->SetMember({"A1", b1->GetNumber(), 0, 0, 0});
        g->SetMember({"A2", b1->GetNumber(), 1, 1, 0});
    }
};

// Grabs a widget into the test's folder and checks its visible controls have a size.
void GrabAndCheck(QWidget& widget, const QString& name)
{
    static QTemporaryDir dir;
    widget.show();
    QApplication::processEvents();
    const QPixmap image = widget.grab();
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(dir.filePath(name + ".png")));
    for (QWidget* child : widget.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
                             qobject_cast<QAbstractItemView*>(child) || qobject_cast<QComboBox*>(child);
        if (child->isVisible() && control) {
            EXPECT_TRUE(child->width() > 0 && child->height() > 0)
                << name.toStdString() << ": " << child->objectName().toStdString();
        }
    }
    std::printf("grabbed %s\n", dir.filePath(name + ".png").toStdString().c_str());
}

QStringList RowTexts(QTreeWidget* list, int row)
{
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << list->topLevelItem(row)->text(c);
    return texts;
}

} // namespace

TEST(SensorWindow, ShowsTheCatalogueOnItsViews)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    frame.resize(900, 500);
    CSensorListView* list = frame.ListView();
    ASSERT_EQ(list->Tabs()->count(), 3);
    EXPECT_EQ(list->Tabs()->tabText(0), "Accelerometers");
    ASSERT_EQ(list->List(0)->topLevelItemCount(), 3);
    EXPECT_EQ(RowTexts(list->List(0), 0), (QStringList{"A1", "Acme", "XA1", "S-A1", "0.1020", "mV/m/s2", "100"}));
    EXPECT_EQ(RowTexts(list->List(1), 0)[5], "mV/Pa");
    EXPECT_EQ(RowTexts(list->List(2), 0)[5], "mV/N");
    GrabAndCheck(frame, "SensorFrameList");

    QTableWidget* bundles = frame.BundleView()->Grid();
    ASSERT_EQ(bundles->rowCount(), 3); // two bundles and the "*" row
    EXPECT_EQ(bundles->item(0, 0)->text(), "B1-Front");
    EXPECT_EQ(bundles->item(0, 3)->text(), "A3");
    EXPECT_EQ(bundles->item(2, 0)->text(), "*");
    frame.Views()->setCurrentIndex(1);
    GrabAndCheck(frame, "SensorFrameBundles");

    QTableWidget* groups = frame.GroupView()->Grid();
    ASSERT_EQ(groups->rowCount(), 2);
    EXPECT_EQ(groups->columnCount(), 2 + CSensorGroup::kDefaultChannelCount);
    EXPECT_EQ(groups->item(0, 0)->text(), "Group 1");
    EXPECT_EQ(groups->item(0, 1)->text(), "2");
    EXPECT_EQ(groups->item(0, 3)->text(), "B1-Front #2");
    frame.Views()->setCurrentIndex(2);
    GrabAndCheck(frame, "SensorFrameGroups");
    // Commands follow the active view: the group view has no sort, the bundle view does.
    EXPECT_FALSE(frame.Action(ID_SENSOR_SORT)->isEnabled());
    frame.Views()->setCurrentIndex(1);
    EXPECT_TRUE(frame.Action(ID_SENSOR_SORT)->isEnabled());
    // Without a project document there is nothing to copy the properties into.
    EXPECT_FALSE(frame.Action(ID_SENSOR_PUSH)->isEnabled());
}

TEST(SensorWindow, PropertyDialogEditsAndConvertsUnits)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    CSensorListView* list = frame.ListView();
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    // An accelerometer stored per m/s2 opens as choice 1 with the conversion box enabled;
    // converting twice returns to where it started.
    dialogs.Then([](CZuDialog& d) {
        auto& dlg = static_cast<CDlgSensorProperty&>(d);
        EXPECT_EQ(dlg.UnitCombo()->currentIndex(), 1);
        EXPECT_FALSE(dlg.UnitCombo()->isEnabled());
        EXPECT_TRUE(dlg.ConvertBox()->isEnabled());
        dlg.SensitivityEdit()->setText("1");
        dlg.ConvertBox()->click();
        EXPECT_EQ(dlg.SensitivityEdit()->text(), "9.80665");
        EXPECT_EQ(dlg.UnitCombo()->currentIndex(), 0);
        dlg.ConvertBox()->click();
        EXPECT_EQ(dlg.SensitivityEdit()->text(), "1");
        EXPECT_EQ(dlg.UnitCombo()->currentIndex(), 1);
        GrabAndCheck(dlg, "DlgSensorProperty");
        dlg.IdEdit()->setText("");
        EXPECT_EQ(dlg.PressOK(), 0); // refused: no ID
        dlg.IdEdit()->setText("A1-renamed");
        dlg.SensitivityEdit()->setText("2.5");
        return dlg.PressOK();
    });
    list->List(0)->topLevelItem(0)->setSelected(true);
    ASSERT_TRUE(list->OnCommand(ID_SENSOR_PROPERTY));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6027u);
    CSensor* renamed = c.project.FindSensor("A1-renamed");
    ASSERT_NE(renamed, nullptr);
    EXPECT_FLOAT_EQ(renamed->GetChannelInfo().Sensitivity, 2.5f);
    EXPECT_EQ(list->List(0)->topLevelItem(0)->text(0), "A1-renamed");
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

TEST(SensorWindow, NewSensorDialogStaysOpenAndAddsToTheActiveCategory)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    CSensorListView* list = frame.ListView();
    list->Tabs()->setCurrentIndex(1);
    ASSERT_TRUE(list->OnCommand(ID_SENSOR_NEW));
    CDlgSensorProperty* dlg = list->NewSensorDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->UnitCombo()->currentIndex(), 2);
    const std::string id = dlg->IdEdit()->text().toStdString();
    EXPECT_EQ(id.rfind("Sensor", 0), 0u);
    dlg->LimitEdit()->setText("140");
    dlg->PressOK();
    ASSERT_NE(c.project.FindSensor(id), nullptr);
    EXPECT_EQ(c.project.FindSensor(id)->GetChannelInfo().DataType, SENSOR_DATATYPE_PRESSURE);
    EXPECT_EQ(list->List(1)->topLevelItemCount(), 2);
    EXPECT_NE(list->NewSensorDialog(), nullptr); // still open, with the next ID
    EXPECT_NE(dlg->IdEdit()->text().toStdString(), id);
    dlg->PressCancel();
    EXPECT_EQ(list->NewSensorDialog(), nullptr);
}

TEST(SensorWindow, DeletingSensorsLeavesBundlesAsTheyAre)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    CSensorListView* list = frame.ListView();
    list->List(0)->topLevelItem(0)->setSelected(true);
    list->List(0)->topLevelItem(2)->setSelected(true);
    CScriptedPrompts prompts;
    prompts.Answer(IDYES);
    ASSERT_TRUE(list->OnCommand(ID_SENSOR_DELETE));
    EXPECT_EQ(c.project.FindSensor("A1"), nullptr);
    EXPECT_EQ(c.project.FindSensor("A3"), nullptr);
    EXPECT_NE(c.project.FindSensor("A2"), nullptr);
    EXPECT_EQ(list->List(0)->topLevelItemCount(), 1);
    EXPECT_EQ(c.project.GetBundle(0)->GetCount(), 3);
}

TEST(SensorWindow, BundleViewCommands)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    CSensorBundleView* view = frame.BundleView();
    QTableWidget* grid = view->Grid();
    CScriptedPrompts prompts;

    // A bundle used by a group can be neither emptied nor deleted; the message names the group.
    grid->setCurrentCell(0, 2);
    view->OnCommand(ID_SENSOR_DELETE);
    view->OnCommand(ID_SENSOR_DELETE_ROW);
    ASSERT_EQ(prompts.Count(), 2u);
    EXPECT_EQ(prompts.Last().stringId, 7101u);
    EXPECT_NE(prompts.Last().text.find("group #:1,"), std::string::npos);
    EXPECT_EQ(c.project.GetBundleCount(), 2);
    EXPECT_EQ(c.project.GetBundle(0)->GetCount(), 3);

    // Moving the first sensor right swaps slots 0 and 1 and follows it; left of it nothing moves.
    grid->setCurrentCell(0, 1);
    view->OnCommand(ID_SENSOR_LEFT);
    EXPECT_EQ(c.project.GetBundle(0)->GetSensorID(0), "A1");
    view->OnCommand(ID_SENSOR_RIGHT);
    EXPECT_EQ(c.project.GetBundle(0)->GetSensorID(0), "A2");
    EXPECT_EQ(c.project.GetBundle(0)->GetSensorID(1), "A1");
    EXPECT_EQ(grid->currentColumn(), 2);

    // An unused bundle can be emptied; an empty bundle shows its count, 0.
    grid->setCurrentCell(1, 1);
    view->OnCommand(ID_SENSOR_DELETE);
    EXPECT_EQ(c.project.GetBundle(1)->GetCount(), 0);
    EXPECT_EQ(grid->item(1, 1)->text(), "0");

    // New bundles through the name dialog; sorting compares the texts byte by byte.
    CScriptedDialogs dialogs;
    for (const char* number : {"10", "2"})
        dialogs.Then([number](CZuDialog& d) {
            auto& dlg = static_cast<CDlgBlixBundleName&>(d);
            dlg.NumberEdit()->setText(number);
            dlg.NameEdit()->setText("Side");
            if (std::string(number) == "10")
                GrabAndCheck(dlg, "DlgBlixBundleName");
            return dlg.PressOK();
        });
    view->OnCommand(ID_SENSOR_INSERT);
    view->OnCommand(ID_SENSOR_INSERT);
    ASSERT_EQ(c.project.GetBundleCount(), 4);
    EXPECT_EQ(c.project.GetBundle(2)->GetID(), "00010-Side");
    prompts.Answer(IDYES);
    view->OnCommand(ID_SENSOR_SORT);
    std::vector<std::string> order;
    for (int i = 0; i < c.project.GetBundleCount(); ++i)
        order.push_back(c.project.GetBundle(i)->GetID());
    EXPECT_EQ(order, (std::vector<std::string>{"00002-Side", "00010-Side", "B1-Front", "B2-Rear"}));
    EXPECT_EQ(grid->item(1, 0)->text(), "00010-Side");

    // The name dialog refuses characters outside its sets and an ID that exists.
    CDlgBlixBundleName name(&c.project);
    name.EnsureInitialized();
    const struct
    {
        const char* number;
        const char* name;
        uint32_t message;
    } refused[] = {{"1a", "X", 7005}, {"1", "a-b", 7006}, {"2", "Side", 7002}};
    for (const auto& r : refused) {
        name.NumberEdit()->setText(r.number);
        name.NameEdit()->setText(r.name);
        EXPECT_EQ(name.PressOK(), 0) << r.number << r.name;
        EXPECT_EQ(prompts.Last().stringId, r.message);
    }
}

TEST(SensorWindow, DoubleClickAddsToTheBundleOfTheBundleDialog)
{
    Catalogue c;
    c.project.AddBundle("B3-Empty");
    CSensorFrame frame(&c.project, nullptr);
    frame.BundleView()->Grid()->setCurrentCell(2, 0);
    frame.BundleView()->OnCommand(ID_SENSOR_NEW);
    CDlgSensorBundle* dlg = CDlgSensorBundle::GetInstance();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->GetBundleID(), "B3-Empty");
    GrabAndCheck(*dlg, "DlgSensorBundle");
    CSensorListView* list = frame.ListView();
    list->OnDoubleClick(1, 0); // the microphone: an empty bundle takes any kind
    list->OnDoubleClick(0, 0); // an accelerometer: refused, the bundle holds microphones now
    EXPECT_EQ(c.project.GetBundle(2)->GetSensors(), std::vector<std::string>{"M1"});
    delete dlg;
    EXPECT_EQ(CDlgSensorBundle::GetInstance(), nullptr);
}

TEST(SensorWindow, GroupViewCellsAndGroupDialog)
{
    Catalogue c;
    CSensorFrame frame(&c.project, nullptr);
    CSensorGroupView* view = frame.GroupView();
    EXPECT_EQ(view->CellChoices(0), (QStringList{"", "B1-Front #1", "B1-Front #2", "B1-Front #3"}));
    view->OnCellEdited(0, 2 + 5, "B1-Front #3");
    EXPECT_EQ(view->Grid()->item(0, 7)->text(), "B1-Front #3");
    view->OnCellEdited(0, 2 + 5, ""); // the empty choice clears the channel
    EXPECT_EQ(c.project.GetGroup(0)->GetMemberCount(), 2);
    EXPECT_EQ(view->Grid()->item(0, 7), nullptr);

    // Shifting left from Ch.1 does nothing.
    view->Grid()->setCurrentCell(0, 2);
    view->OnCommand(ID_SENSOR_LEFT);
    EXPECT_EQ(c.project.GetGroup(0)->GetMemberValue(0), 0);

    // A group made from two checked bundles of 3 and 4 sensors fills channels 1 to 7 in order.
    for (const char* id : {"A4", "A5", "A6", "A7"})
        c.project.AddSensor(Info(id, SENSOR_DATATYPE_ACCELERATION));
    CSensorBundle* b = c.project.GetBundle(1);
    b->RemoveSensor(0);
    for (const char* id : {"A4", "A5", "A6", "A7"})
        b->AddSensor(id);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& dlg = static_cast<CDlgSensorGroup&>(d);
        EXPECT_EQ(dlg.BundleList()->count(), 2);
        EXPECT_EQ(dlg.BundleList()->item(0)->checkState(), Qt::Unchecked); // the new group uses none
        dlg.BundleList()->item(0)->setCheckState(Qt::Checked);
        dlg.BundleList()->item(1)->setCheckState(Qt::Checked);
        GrabAndCheck(dlg, "DlgSensorGroup");
        return dlg.PressOK();
    });
    view->Grid()->setCurrentCell(1, 0); // the "*" row: the new group goes at the end
    view->OnCommand(ID_SENSOR_INSERT);
    ASSERT_EQ(c.project.GetGroupCount(), 2);
    const CSensorGroup* g = c.project.GetGroup(1);
    ASSERT_EQ(g->GetMemberCount(), 7);
    for (int m = 0; m < 7; ++m)
        EXPECT_EQ(g->GetMemberValue(m), m);
    EXPECT_EQ(g->GetMember(3).text, "A4");
    EXPECT_EQ(prompts.Last().stringId, 6190u);
}

TEST(SensorWindow, DocumentImportExportAndCopyIntoMeasuredData)
{
    QTemporaryDir dir;
    Catalogue c;
    CTALVODoc projectDoc;
    CSensorFrame frame(&c.project, &projectDoc);
    CSensorDoc* doc = frame.GetDocument();
    EXPECT_EQ(CSensorDoc::GetSensorDoc(), doc);
    CScriptedPrompts prompts;

    // Export asks with an ordinary save dialog that asks before overwriting.
    const std::string dat = dir.filePath("sensors.dat").toStdString();
    prompts.ChooseFile(dat);
    ASSERT_TRUE(doc->OnCommand(ID_SENSOR_EXPORT));
    EXPECT_TRUE(prompts.Last().file.overwritePrompt);
    EXPECT_EQ(prompts.Last().kind, PromptKind::SaveFile);
    ASSERT_TRUE(std::filesystem::exists(dat));

    // A file that cannot be read is reported and the catalogue kept.
    const std::string broken = dir.filePath("broken.dat").toStdString();
    std::ofstream(broken) << "#@title\n#\n#\n[Sensor List]\nX1\tm\tm\ts\t1\t7\t0\t1\n";
    prompts.Answer(IDYES).ChooseFile(broken);
    doc->OnCommand(ID_SENSOR_IMPORT);
    EXPECT_NE(prompts.Last().text.find("could not be read"), std::string::npos);
    EXPECT_NE(c.project.FindSensor("A1"), nullptr);
    EXPECT_EQ(c.project.FindSensor("X1"), nullptr);
    EXPECT_EQ(projectDoc.GetTALVOProject().GetFileProperties().GetCount(), 0);

    // A sound file replaces the catalogue and records its title.
    CSensorProject other;
    other.AddSensor(Info("Z9", SENSOR_DATATYPE_FORCE));
    ASSERT_TRUE(WriteSensorListFile(other, dat, "Shaker rig"));
    prompts.Answer(IDYES).ChooseFile(dat);
    doc->OnCommand(ID_SENSOR_IMPORT);
    EXPECT_EQ(c.project.FindSensor("A1"), nullptr);
    EXPECT_NE(c.project.FindSensor("Z9"), nullptr);
    EXPECT_EQ(frame.ListView()->List(2)->topLevelItemCount(), 1);
    EXPECT_TRUE(projectDoc.IsModified());

    // Copying into measured data: off without the measured-data layer; a failure is reported with
    // its reason, never as done.
    EXPECT_FALSE(doc->IsCommandEnabled(ID_SENSOR_PUSH));
    CDaqProject* daq = projectDoc.GetTALVOProject().AddDaqProject();
    ASSERT_NE(daq, nullptr);
    daq->SetType(0); // a project of measured data (not of universal files)
    int calls = 0;
    CSensorDoc::SetMeasuredDataSaver([&](CDaqProject&, const std::vector<CMElement*>&, std::string& error) {
        ++calls;
        error = "The measured data file is read-only.";
        return false;
    });
    prompts.Clear();
    prompts.Answer(IDYES);
    EXPECT_TRUE(doc->OnCommand(ID_SENSOR_PUSH));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(prompts.Last().text, "The measured data file is read-only.");
    CSensorDoc::SetMeasuredDataSaver([&](CDaqProject&, const std::vector<CMElement*>&, std::string&) { return true; });
    prompts.Answer(IDYES);
    doc->OnCommand(ID_SENSOR_PUSH);
    EXPECT_EQ(prompts.Last().stringId, 6324u);
    CSensorDoc::SetMeasuredDataSaver({});
}

TEST(SensorWindow, WorkbookImportDialogHandsOverTheSelectedRows)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("catalogue.xlsx").toStdString();
    {
        CExcelWrapper xl;
        xl.Create(false);
        xl.Open();
        xl.AddSheet("Accel", 0);
        xl.SetCellText(1, 1, "#@Lab catalogue");
        const char* row[] = {"A-9", "Acme", "X1", "1001", "9.80665", " g ", "50", "roof"};
        for (int col = 0; col < 8; ++col)
            xl.SetCellText(5, col + 1, row[col]);
        xl.AddSheet("Mic", 1);
        xl.AddSheet("Hammer", 2);
        xl.SetCellText(2, 1, "H-9");
        xl.SetCellText(2, 4, "77");
        xl.SetCellText(2, 5, "2");
        xl.SetCellText(2, 6, "0"); // limit 0: refused when taken over
        ASSERT_TRUE(xl.SaveAs(path));
    }
    Catalogue c;
    CTALVODoc projectDoc;
    CSensorFrame frame(&c.project, &projectDoc);
    CScriptedPrompts prompts;
    prompts.ChooseFile(path);
    ASSERT_TRUE(frame.ListView()->OnCommand(ID_SENSOR_EXCEL_IMPORT));
    CDlgImportSensorList* dlg = frame.ListView()->ImportDialog();
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->List()->topLevelItemCount(), 2);
    EXPECT_EQ(dlg->List()->topLevelItem(0)->text(5), "mV/G");
    EXPECT_EQ(dlg->GetTitle(), "Lab catalogue");
    GrabAndCheck(*dlg, "DlgImportSensorList");
    dlg->List()->topLevelItem(0)->setSelected(true);
    dlg->List()->topLevelItem(1)->setSelected(true);
    dlg->PressOK();
    const CSensor* added = c.project.FindSensor("A-9");
    ASSERT_NE(added, nullptr);
    EXPECT_FLOAT_EQ(added->GetChannelInfo().Sensitivity, 1.0f);
    EXPECT_EQ(added->GetChannelInfo().Unit, 0);
    EXPECT_EQ(c.project.FindSensor("H-9"), nullptr);
    EXPECT_EQ(prompts.Last().stringId, 7139u);
    const CZuStdData* title = projectDoc.GetTALVOProject().GetFileProperties().GetAt(0);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetID(), CSensorDoc::kFilePropSensorTitle);
    EXPECT_EQ(title->GetText(), "Lab catalogue");
    EXPECT_NE(frame.ListView()->ImportDialog(), nullptr); // stays open for further rows
    delete dlg;
}

// Sensors > Import through the program's own chooser, as a user meets it: a title that says what
// is read, the catalogue files (".dat") in sight under the filter it opens with, and the name
// typed into it read.
TEST(SensorWindow, ImportChooserIsTitledAndShowsTheCatalogueFiles)
{
    QTemporaryDir dir;
    CSensorProject other;
    other.AddSensor(Info("Z9", SENSOR_DATATYPE_FORCE));
    ASSERT_TRUE(WriteSensorListFile(other, dir.filePath("sample-sensors.dat").toStdString(), "Sample"));
    Catalogue c;
    CTALVODoc projectDoc;
    CSensorFrame frame(&c.project, &projectDoc);
    InstallQtPlatformServices();
    struct Restore
    {
        ~Restore() { RemoveQtPlatformServices(); }
    } restore;

    QString title, japaneseTitle;
    QStringList listed;
    // The question first, then the chooser: each answered once its own event loop runs.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            chooser->setProperty(kChooserColumnsFitted, false);
            chooser->setDirectory(dir.path());
            QElapsedTimer waited;
            waited.start();
            while (!chooser->property(kChooserColumnsFitted).toBool() && waited.elapsed() < 10000)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
            title = chooser->windowTitle();
            auto* view = chooser->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(view, nullptr);
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
            // The chooser's own columns and buttons are Qt's; its title is ours, in both languages.
            const QDir images(ShotFolder("orvex_experiments_ui"));
            chooser->grab().save(images.filePath("SensorImportChooser.png"));
            ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
            CUiTextTranslator::Translate(chooser);
            japaneseTitle = chooser->windowTitle();
            chooser->grab().save(images.filePath("SensorImportChooser-jpn.png"));
            ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
            CUiTextTranslator::Translate(chooser);
            auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("sample-sensors.dat"));
            QMetaObject::invokeMethod(chooser, "accept");
        });
        box->button(QMessageBox::Yes)->click();
    });
    ASSERT_TRUE(frame.GetDocument()->OnCommand(ID_SENSOR_IMPORT));
    EXPECT_EQ(title, "Import Sensor List");
    EXPECT_EQ(japaneseTitle, QString::fromUtf8("センサーリストのインポート"));
    EXPECT_TRUE(listed.contains("sample-sensors.dat")) << listed.join(", ").toStdString();
    EXPECT_NE(c.project.FindSensor("Z9"), nullptr);
}
