#pragma once
// Steps that the road tests share: a main window from an empty start, a new project from the
// sample model through File > New, a menu command clicked through its action, an element selected
// in the project window, the calculation's subsystems confirmed, the answers of the new DAQ
// project's dialogs and of the subsystem picker, the target and a source set, the measurement
// window put on simulated units, and the result window grabbed into the build folder (grabs/) with
// its controls checked for a size, and the language switched through the menu with the windows open.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "acquisition/ui/DlgQMXConnection.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/DlgNewModel.h"
#include "app/ui/DlgNewProject.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "app/ui/ModelInformationDlg.h"
#include "platform/elements/MElement.h"
#include "platform/ui/SXButton.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/WinTypes.h"
#include "support/PromptsShown.h"
#include "support/WidgetShot.h"
#include "uff/ui/DlgSelectDAQSystem.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "wiring/WindowServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace road {

inline const std::string kSamples = std::string(ORVEX_SOURCE_DIR) + "/samples/";

// The program as main() starts it: English texts, the document templates and the window services.
inline void StartProgram()
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    InstallWindowServices();
}

// The main window at the size the road images are taken at.
inline void ShowFrame(CMainFrame& frame)
{
    frame.resize(1280, 800);
    frame.show();
}

// What the message boxes said, one a line, for a failure's report.
using ::Shown;

// The sample the build wrote, with the files beside it, copied into folder as a user's own. False
// when the build wrote no sample project.
inline bool CopyBuiltSample(const std::filesystem::path& folder)
{
    const std::filesystem::path built = std::filesystem::path(ORVEX_BINARY_DIR) / "samples";
    if (!std::filesystem::exists(built / "sample.orv"))
        return false;
    std::filesystem::copy(built, folder,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    return true;
}

// Runs a menu command the way a click does: only through its enabled action.
inline bool Click(CMainFrame& frame, int id)
{
    frame.UpdateCommandUI();
    QAction* action = frame.Action(id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

// Selects an element of a project's tree in the project window.
inline void Select(CMainFrame& frame, int projectIndex, CMElement* element)
{
    frame.TreeWindow()->SetActiveIndex(projectIndex);
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    tree->setCurrentIndex(tree->Model()->IndexOf(element));
    frame.UpdateCommandUI();
}

// Confirms the open calculation-subsystem selection and lets it go.
inline void ConfirmCalcSubsystems()
{
    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::GetInstance();
    ASSERT_NE(dialog, nullptr);
    dialog->PressOK();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CDlgSelectCalcSubsystem::DestroyInstance();
}

// The first child of the element that is a T, or null.
template <class T>
T* FirstChild(CMElement& parent)
{
    for (int i = 0; i < parent.GetChildCount(); ++i)
        if (auto* child = DynamicDowncast<T>(parent.GetChild(i)))
            return child;
    return nullptr;
}

// The first DAQ project of the container and its index among the projects, which stays as it is
// without one.
inline CDaqProject* FirstDaqProject(CTALVOProject& container, int& index)
{
    for (int i = 0; i < container.GetProjectCount(); ++i)
        if (auto* daq = DynamicDowncast<CDaqProject>(container.GetProject(i))) {
            index = i;
            return daq;
        }
    return nullptr;
}

// The subsystem picker's answer: the subsystem chosen and OK, or Cancel when it is not offered (or
// another dialog came).
inline CZuDialog::ModalHandler PickSubsystem(const char* subsystem)
{
    return [subsystem](CZuDialog& d) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&d);
        const int at = picker ? picker->Combo()->findText(QString::fromUtf8(subsystem)) : -1;
        if (at < 0)
            return d.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return d.PressOK();
    };
}

// The first question of Project > New DAQ project answered: measured here (0) or from universal
// files measured elsewhere (1).
inline CZuDialog::ModalHandler ChooseDaqSystem(int choice)
{
    return [choice](CZuDialog& d) {
        auto& dialog = dynamic_cast<CDlgSelectDAQSystem&>(d);
        dialog.Choices()->button(choice)->click();
        return dialog.PressOK();
    };
}

// The dialogs of Project > New DAQ project measured here: the units at the address of the settings
// connected in the connection dialog, which is then closed, and the settings that follow confirmed
// as they stand.
inline CScriptedDialogs& AnswerNewMeasuredDaqProject(CScriptedDialogs& dialogs)
{
    return dialogs.Then(ChooseDaqSystem(0))
        .Then([](CZuDialog& d) {
            dynamic_cast<CDlgQMXConnection&>(d).Button(2001)->click();
            return IDCANCEL;
        })
        .PressOK()
        .PressOK()
        .PressOK();
}

// View > Target and Sources: the source added with the picker unless it is listed already, the
// target chosen from its list, OK.
inline void SetTargetAndSource(CMainFrame& frame, const std::string& target, const std::string& source)
{
    ASSERT_TRUE(Click(frame, ID_SRC_TRG_DEFINITION));
    CDlgSrcTrgDefinition* definition = CDlgSrcTrgDefinition::GetInstance();
    ASSERT_NE(definition, nullptr);
    if (definition->SourceList()->findItems(QString::fromStdString(source), Qt::MatchExactly).isEmpty()) {
        definition->OnAdd();
        ASSERT_NE(definition->Picker(), nullptr);
        definition->Picker()->Combo()->setCurrentText(QString::fromStdString(source));
        definition->Picker()->PressOK();
        if (definition->Picker())
            definition->Picker()->PressCancel();
    }
    definition->TargetCombo()->setCurrentText(QString::fromStdString(target));
    definition->PressOK();
    ASSERT_NE(frame.GetDocument(), nullptr);
    ASSERT_EQ(frame.GetDocument()->GetTALVOProject().GetTargetSubsystem(), target);
}

// The measurement window the program opens from now on runs on the given units; measuring is set
// to the window of the document opened. The program's own opener comes back with
// GetTALVOApp().SetDAQSystemViewOpener({}).
inline void MeasureOn(CMainFrame& frame, CMultiQMXInterface* units, CExpFrame*& measuring)
{
    GetTALVOApp().SetDAQSystemViewOpener([&frame, units, &measuring](int checkUnsaved) -> IDAQSystemDocument* {
        IDAQSystemDocument* doc = frame.OpenDAQSystemView(checkUnsaved);
        if (auto* exp = dynamic_cast<CExpDoc*>(doc)) {
            exp->SetDAQInterface(units);
            for (CExpFrame* open : CExpFrame::OpenFrames())
                if (open->GetDocument() == exp)
                    measuring = open;
        }
        return doc;
    });
}

// File > New: the question, the project's folder and name, the model from the sample files.
inline void NewProjectFromSample(CMainFrame& frame, const QString& folder, const QString& name)
{
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs
        .Then([&](CZuDialog& d) {
            auto& dlg = dynamic_cast<CDlgNewProject&>(d);
            dlg.FolderEdit()->setText(folder);
            dlg.NameEdit()->setText(name);
            return dlg.PressOK();
        })
        .Then([](CZuDialog& d) {
            auto& source = dynamic_cast<CDlgNewModel&>(d);
            source.SourceButton(CDlgNewModel::kFromFile)->setChecked(true);
            return source.PressOK();
        })
        .Then([](CZuDialog& d) {
            // The vehicle model file, chosen with the dialog's browse button.
            auto& info = dynamic_cast<CModelInformationDlg&>(d);
            info.BrowseButton()->click();
            return info.PressOK();
        });
    prompts.Answer(IDYES).ChooseFile(kSamples + "sample-model.ntf").ChooseFiles({kSamples + "sample-model.dmd"});
    ASSERT_TRUE(Click(frame, ID_FILE_NEW));
    ASSERT_NE(frame.GetDocument(), nullptr) << Shown(prompts);
    EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
}

// The window as a user sees it, kept as <build>/grabs/<name>.png; every visible control has a size.
inline void GrabResult(QWidget& window, const char* name)
{
    window.show();
    QApplication::processEvents();
    const QString dir = QStringLiteral(ORVEX_BINARY_DIR "/grabs");
    QDir().mkpath(dir);
    EXPECT_TRUE(window.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png")));
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isVisible()) {
            EXPECT_FALSE(child->size().isEmpty()) << child->metaObject()->className();
        }
    }
}

// Switches the language through the View menu to Japanese and back with every window left open;
// returns the texts of the open windows left in the other language each time. The main window in
// Japanese is kept as <build>/window-images/roads/<name>-jpn.png, each other open window as
// <name>-<class>-jpn.png.
inline QStringList SwitchLanguageThroughTheMenu(CMainFrame& frame, const char* name)
{
    QStringList faults;
    auto windows = [] {
        QList<QWidget*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<QMenu*>(w))
                out << w;
        return out;
    };
    if (!Click(frame, ID_LANGUAGE_JAPANESE))
        return {QStringLiteral("View > Language > Japanese is not there")};
    QApplication::processEvents();
    const QDir shots(ShotFolder(QStringLiteral("roads")));
    frame.grab().save(shots.filePath(QString::fromLatin1(name) + "-jpn.png"));
    for (QWidget* w : windows())
        if (w != &frame)
            w->grab().save(shots.filePath(QStringLiteral("%1-%2-jpn.png").arg(name, w->metaObject()->className())));
    for (QWidget* w : windows())
        for (const QString& fault : UntranslatedTexts(*w))
            faults << w->metaObject()->className() + QStringLiteral(": ") + fault;
    if (!Click(frame, ID_LANGUAGE_ENGLISH))
        return faults << QStringLiteral("View > Language > English is not there");
    QApplication::processEvents();
    for (QWidget* w : windows())
        for (const QString& fault : JapaneseTexts(*w))
            faults << w->metaObject()->className() + QStringLiteral(": ") + fault;
    return faults;
}

} // namespace road
