// The project and model commands of the main frame: new, copy, merge, rename and removal of
// projects, model variants, the model's files and window, the analysis options and the results'
// removal.
#include "app/CommandRegistry.h"
#include "app/ui/AppCommands.h"

#include "app/CommandContext.h"
#include "platform/win/CommandIds.h"
#include "app/AnalysisProject.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/AnalysisRoadCommands.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/ModelImporter.h"
#include "app/ui/ProjectFileCommands.h"
#include "platform/elements/MElement.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"
#include "models/HSEAModelData.h"
#include "views/ui/DlgImportedFileList.h"
#include "views/ui/DlgMergeAnaProjects.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/OptionSheets.h"

namespace {
using C = CFrameCommands;

bool HasDoc(const CCommandState& s)
{
    return s.Doc() != nullptr;
}

bool HasModel(const CCommandState& s)
{
    return HasDoc(s) && s.Doc()->GetTALVOProject().GetModelProject() != nullptr;
}

bool HasModelShell(const CCommandState& s)
{
    return HasModel(s) && s.Doc()->GetTALVOProject().GetModelProject()->GetModelShell(0) != nullptr;
}

// The rules of the project commands.
bool AnalysisSelected(const CCommandState& s)
{
    return s.selection.Analysis() != nullptr;
}

bool AnalysisOrDaqSelected(const CCommandState& s)
{
    return s.selection.Analysis() || s.selection.Daq();
}

// Any project after the model's own (the model project itself stays).
bool LaterProjectSelected(const CCommandState& s)
{
    return HasDoc(s) && s.selection.project && s.selection.projectIndex > 0;
}

// Loss factors come out of the hybrid model of the selected model project.
bool HseaModelSelected(const CCommandState& s)
{
    const CModelProject* model = s.selection.ModelProject();
    return model && model->GetHSEAModelData() != nullptr;
}

} // namespace

void RegisterProjectCommands(CCommandRegistry& r)
{
    r.AddMenu({"Project", 9, "&Project", 40, "ProjectMenu"});

    {
        CCommandEntry e = MenuEntry(C::ID_NEW_ANALYSIS_PROJECT, "New &Analysis Project...", "Project", 0, HasModel);
        e.icon = "analysis-new";
        e.shortcutItem = 7;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.Projects().NewAnalysisProject();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_ADD_MODEL_VARIANT, "Add Model &Variant...", "Project", 2, HasDoc);
        e.icon = "model-variant";
        e.shortcutItem = 4;
        e.run = [](ICommandContext&, const CCommandState& s) {
            s.Doc()->AddModelVariant(&*CStatusBarFallback(nullptr));
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e =
            MenuEntry(C::ID_COPY_ANALYSIS_PROJECT, "&Copy Analysis Project", "Project", 100, AnalysisSelected);
        e.run = [](ICommandContext&, const CCommandState& s) {
            if (AfxMessageBox(IDS_COPY_ANALYSIS_PROJECT, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
                CWaitCursor wait;
                C::CopyAnalysisProject(*s.Doc(), *DynamicDowncast<CAnalysisProject>(s.selection.project));
            }
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e =
            MenuEntry(C::ID_MERGE_ANALYSIS_PROJECTS, "&Merge Analysis Projects...", "Project", 101, AnalysisSelected);
        e.run = [](ICommandContext& f, const CCommandState& s) {
            CDlgMergeAnaProjects dialog(&s.Doc()->GetTALVOProject(),
                                        DynamicDowncast<CAnalysisProject>(s.selection.project), f.ParentWidget());
            if (dialog.DoModal() == IDOK)
                s.Doc()->SetModifiedFlag(1);
            return true;
        };
        r.Add(e);
    }
    for (const auto& [id, text, pos] : {std::tuple{int(C::ID_RENAME_PROJECT), "Re&name Project...", 102},
                                        std::tuple{int(C::ID_RENAME_PROJECT_AT), "Rena&me Project...", -1}}) {
        CCommandEntry e =
            MenuEntry(id, text, pos < 0 ? "" : "Project", pos, pos < 0 ? LaterProjectSelected : AnalysisOrDaqSelected);
        if (pos < 0) {
            // Any project after the model's own, model variants too, from the tree.
            e.contextMenus = kContextElement;
            e.contextPos = 901;
        }
        e.run = [](ICommandContext& f, const CCommandState& s) {
            f.Projects().RenameProject(s.selection.project);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_REMOVE_PROJECT, "&Delete Project", "Project", 103, AnalysisOrDaqSelected);
        e.run = [](ICommandContext&, const CCommandState& s) {
            if (AfxFormatMessageBox(IDS_REMOVE_PROJECT_NAMED, MB_YESNO | MB_ICONQUESTION,
                                    s.selection.project->GetName().c_str()) == IDYES)
                s.Doc()->RemoveProject(s.selection.project);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_REMOVE_PROJECT_AT, "&Remove Project", "", 0, LaterProjectSelected);
        e.contextMenus = kContextElement;
        e.contextPos = 900;
        e.run = [](ICommandContext&, const CCommandState& s) {
            CProjectFileCommands::RemoveProjectAt(*s.Doc(), s.selection.projectIndex);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_MODEL_UPDATE, "&Model Update Log", "Project", 300, HasModel);
        e.icon = "model-update";
        e.shortcutItem = 5;
        e.shortcutPos = 0;
        e.run = [](ICommandContext&, const CCommandState& s) {
            CWaitCursor wait;
            const int ok = s.Doc()->GetTALVOProject().ApplyModelUpdate(&*CStatusBarFallback(nullptr));
            AfxMessageBox(ok ? IDS_CALCULATION_FINISHED : IDS_OPERATION_FAILED,
                          MB_OK | (ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
            return true;
        };
        r.Add(e);
    }
    for (const auto& [id, text, pos] :
         {std::tuple{int(C::ID_EXTRACT_CLF), "Extract &Coupling Loss Factor...", 301},
          std::tuple{int(C::ID_EXTRACT_INTRINSIC_DLF), "Extract &Internal Loss Factor...", 302},
          // The pair picker over the cavities; a confirmed pair starts no operation yet.
          std::tuple{int(C::ID_CAVITY_PAIR_PICKER), "Ca&vity Pairs...", 303}}) {
        CCommandEntry e = MenuEntry(id, text, "Project", pos, HseaModelSelected);
        const int command = id;
        e.run = [command](ICommandContext& f, const CCommandState& s) {
            // The project window's picker asks for the subsystems and runs the extraction.
            const C::PickerCommand* picker = C::FindPickerCommand(command);
            CMElement* hsea = DynamicDowncast<CModelProject>(s.selection.project)->GetHSEAModelData();
            if (picker && hsea)
                f.SendToProjectTree(picker->pair ? WM_ZU_SUBSYSTEM_PAIR_PICKED : WM_ZU_SUBSYSTEM_PICKED,
                                    static_cast<uintptr_t>(command), reinterpret_cast<intptr_t>(hsea));
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_IMPORTED_FILE_LIST, "&Imported Files...", "Project", 304, HasDoc);
        e.run = [](ICommandContext& f, const CCommandState& s) {
            CDlgImportedFileList dialog(s.Doc(), f.ParentWidget());
            dialog.DoModal();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_EDIT_CUT, "&Delete Result", "Project", 400, [](const CCommandState& s) {
            return HasDoc(s) && C::IsResultElement(s.selection.First());
        });
        // Also where the user points at the result.
        e.contextMenus = kContextResultSet | kContextElement;
        e.contextPos = 800;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.DeleteSelectedElements();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e = MenuEntry(C::ID_MODEL_VIEW, "&Model View", "View", 101, [](const CCommandState& s) {
            const CModelProject* model = s.selection.DocModel();
            return s.selection.project && model && model->GetModelData(0) != nullptr;
        });
        e.icon = "model-view";
        e.shortcutItem = 2;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.Projects().OpenModelView();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = CommandId::ID_ANALYSIS_OPTIONS;
        e.text = "&Analysis Options...";
        e.menu = "View";
        e.menuPos = 201;
        e.enabled = [](const CCommandState& s) {
            return HasDoc(s) && DynamicDowncast<CAnalysisProject>(s.selection.project) != nullptr;
        };
        e.run = [](ICommandContext& f, const CCommandState& s) {
            RunAnalysisOptionsSheet(*DynamicDowncast<CAnalysisProject>(s.selection.project), 3, f.ParentWidget());
            return true;
        };
        r.Add(e);
    }

    // ---- the model's and the analysis projects' files, in the File menu ----
    {
        CCommandEntry e;
        e.id = CommandId::ID_READ_MODEL_DATA;
        e.text = "&Read Model Data...";
        e.icon = "model-data";
        e.menu = "File";
        e.menuPos = 300;
        e.shortcutItem = 3;
        e.enabled = HasDoc;
        e.run = [](ICommandContext&, const CCommandState& s) {
            CProjectFileCommands::ReadModelData(*s.Doc());
            return true;
        };
        r.Add(e);
    }
    for (const auto& [id, text, pos] : {std::tuple{CommandId::ID_IMPORT_ASEA_MODEL, "Import Analytical &Model...", 301},
                                        std::tuple{CommandId::ID_IMPORT_MODEL_DATA, "Import Model &Data...", 302}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "File";
        e.menuPos = pos;
        if (id == CommandId::ID_IMPORT_MODEL_DATA) {
            e.shortcutItem = 5;
            e.shortcutPos = 1;
        }
        const bool asea = id == CommandId::ID_IMPORT_ASEA_MODEL;
        // An analytical model goes into the model element, which a model project may lack.
        e.enabled = asea ? HasModelShell : HasModel;
        e.run = [asea](ICommandContext& f, const CCommandState& s) {
            // New model data change what the analysis projects' input powers were solved with.
            if (!asea) {
                CAnalysisRoadCommands::ImportModelData(*s.Doc(), f.ParentWidget());
                return true;
            }
            CModelImporter importer(*s.Doc(), f.ParentWidget());
            if (importer.ImportASEAModel())
                s.Doc()->SetModifiedFlag(1);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = CommandId::ID_EXPORT_HSEA_MODEL;
        e.text = "Export &HSEA Model...";
        e.menu = "File";
        e.menuPos = 303;
        e.enabled = [](const CCommandState& s) { return HasDoc(s) && s.Doc()->CanExportHSEAModelText(); };
        e.run = [](ICommandContext&, const CCommandState& s) {
            CProjectFileCommands::ExportHSEAModelText(*s.Doc());
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = CommandId::ID_EXPORT_ANALYSIS_PROJECT;
        e.text = "Export Analysis &Project...";
        e.menu = "File";
        e.menuPos = 400;
        e.enabled = [](const CCommandState& s) { return HasDoc(s) && s.Doc()->CanExportAnalysisProject(); };
        e.run = [](ICommandContext&, const CCommandState& s) {
            CProjectFileCommands::ExportAnalysisProject(*s.Doc());
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = CommandId::ID_IMPORT_ANALYSIS_PROJECT;
        e.text = "&Import Analysis Project...";
        e.menu = "File";
        e.menuPos = 401;
        e.enabled = HasDoc;
        e.run = [](ICommandContext&, const CCommandState& s) {
            CProjectFileCommands::ImportAnalysisProject(*s.Doc());
            return true;
        };
        r.Add(e);
    }
}
