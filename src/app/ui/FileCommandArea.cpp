// The document, view, language, help and developer commands of the main frame.
#include "app/CommandRegistry.h"
#include "app/ui/AppCommands.h"

#include "app/CommandContext.h"
#include "app/LastVersionRequest.h"
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/DlgProjectHistory.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MainFrame.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "views/ui/OptionSheets.h"

#include <QKeySequence>

#include <filesystem>

namespace {

bool HasDoc(const CCommandState& s)
{
    return s.Doc() != nullptr;
}

bool Always(const CCommandState&)
{
    return true;
}

bool OpenProject(ICommandContext& frame, const CCommandState&)
{
    FileChooserOptions options;
    options.title = LoadString(IDS_OPEN_FILE);
    options.filter = CMainFrame::kProjectFilter;
    options.defaultExt = "orv";
    std::string path;
    if (PromptOpenFile(options, path))
        frame.OpenDocumentFile(path);
    return true;
}

bool OpenRecentFile(ICommandContext& frame, int index)
{
    const std::vector<std::string> files = GetTALVOApp().GetRecentFiles();
    if (index >= static_cast<int>(files.size()))
        return false;
    const std::string path = files[static_cast<size_t>(index)];
    // The current project goes first; a cancelled save prompt keeps it and opens nothing.
    if (!frame.CloseMainDocument())
        return true;
    std::error_code ec;
    if (!frame.OpenDocumentFile(path) && !std::filesystem::exists(path, ec))
        GetTALVOApp().RemoveFromRecentFileList(path);
    return true;
}

// The text dump of the first selected element, when it offers one, to a file the user names.
void DumpSelectedElement(ICommandContext& frame, const CCommandState& s, bool withParameter)
{
    auto* writer = dynamic_cast<IDataWriter*>(s.selection.First());
    if (!writer)
        return;
    FileChooserOptions options;
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    options.defaultExt = "txt";
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    std::string parameter;
    if (withParameter) {
        if (!InputBox("Please, input the parameter.", "Parameter", parameter, frame.ParentWidget()))
            return;
    }
    CStdioFile file;
    std::string error;
    if (!file.Open(path, CStdioFile::modeWrite, &error)) {
        AfxMessageBox(error, MB_OK | MB_ICONSTOP);
        return;
    }
    try {
        if (!writer->WriteDump(file, parameter)) {
            // Nothing the element knows: no empty file is left behind.
            file.Abort();
            AfxFormatMessageBox(IDS_UNKNOWN_DUMP_PARAMETER, MB_OK | MB_ICONEXCLAMATION, parameter.c_str());
            return;
        }
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        AfxMessageBox(e.what(), MB_OK | MB_ICONSTOP);
    }
}

bool CanDump(const CCommandState& s)
{
    return HasDoc(s) && dynamic_cast<IDataWriter*>(s.selection.First()) != nullptr;
}
} // namespace

void RegisterFileCommands(CCommandRegistry& r)
{
    r.AddMenu({"File", 1, "&File", 10, "FileMenu"});
    r.AddMenu({"File/Recent", 4, "&Recent Files", 500, "RecentMenu"});
    r.AddMenu({"View", 2, "&View", 20, "ViewMenu"});
    r.AddMenu({"View/Language", 5, "&Language", 105, "LanguageMenu"});
    r.AddMenu({"Help", 3, "&Help", 50, "HelpMenu"});
    r.AddMenu({"Developer", 6, "&Developer", 60, "DeveloperMenu", true});

    // ---- File ----
    {
        CCommandEntry e;
        e.id = ID_FILE_NEW;
        e.text = "&New Project...";
        e.icon = "new";
        e.menu = "File";
        e.menuPos = 0;
        e.toolBarPos = 0;
        e.standardKey = QKeySequence::New;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.NewDocument();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_FILE_OPEN;
        e.text = "&Open Project...";
        e.icon = "open";
        e.menu = "File";
        e.menuPos = 1;
        e.toolBarPos = 1;
        e.standardKey = QKeySequence::Open;
        e.run = OpenProject;
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_FILE_CLOSE;
        e.text = "&Close Project";
        e.menu = "File";
        e.menuPos = 2;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.CloseMainDocument();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_SAVE_PROJECT;
        e.text = "&Save Project";
        e.icon = "save";
        e.menu = "File";
        e.menuPos = 100;
        e.toolBarPos = 2;
        e.standardKey = QKeySequence::Save;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.SaveDocument();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_SAVE_PROJECT_AS;
        e.text = "Save Project &As...";
        e.menu = "File";
        e.menuPos = 101;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.SaveDocumentAs();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_PROJECT_HISTORY;
        e.text = "Project &History...";
        e.icon = "history";
        e.menu = "File";
        e.menuPos = 200;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState& s) {
            if (s.Doc()->GetProjectHistory()) {
                CDlgProjectHistory dlg(s.Doc()->GetProjectHistory(), f.ParentWidget());
                dlg.DoModal();
            }
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_APP_EXIT;
        e.text = "E&xit";
        e.menu = "File";
        e.menuPos = 600;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.CloseMainWindow();
            return true;
        };
        r.Add(e);
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        // Listed in the recent-files menu, which the frame fills as it opens.
        CCommandEntry e;
        e.id = ID_FILE_MRU_FILE1 + i;
        e.text = "Recent File";
        e.enabled = [i](const CCommandState& s) { return i < s.recentFileCount; };
        e.run = [i](ICommandContext& f, const CCommandState&) { return OpenRecentFile(f, i); };
        r.Add(e);
    }

    // ---- View ----
    {
        CCommandEntry e;
        e.id = ID_VIEW_PROJECT_WINDOW;
        e.text = "&Project Window";
        e.menu = "View";
        e.menuPos = 0;
        e.checked = [](const CCommandState& s) { return s.treeVisible; };
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.ToggleProjectWindow();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_VIEW_SHORTCUT_BAR;
        e.text = "&Shortcut Bar";
        e.menu = "View";
        e.menuPos = 1;
        e.checked = [](const CCommandState& s) { return s.shortcutBarVisible; };
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.ToggleShortcutBar();
            return true;
        };
        r.Add(e);
    }
    for (const auto& [id, lang, text, pos] : {std::tuple{ID_LANGUAGE_ENGLISH, LANG_ENGLISH, "&English", 0},
                                              std::tuple{ID_LANGUAGE_JAPANESE, LANG_JAPANESE, "&Japanese", 1}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "View/Language";
        e.menuPos = pos;
        const uint32_t language = lang;
        e.checked = [language](const CCommandState& s) { return s.selection.language == language; };
        e.run = [language](ICommandContext&, const CCommandState&) {
            GetTALVOApp().SetLanguage(language, &*CStatusBarFallback(nullptr));
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_SRC_TRG_DEFINITION;
        e.text = "&Target and Sources...";
        e.menu = "View";
        e.menuPos = 200;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState& s) {
            // Modeless and single: asked again, the open dialog comes to the front.
            if (CDlgSrcTrgDefinition* open = CDlgSrcTrgDefinition::GetInstance()) {
                open->raise();
                open->activateWindow();
                return true;
            }
            return CDlgSrcTrgDefinition::CreateInstance(&s.Doc()->GetTALVOProject(), f.ParentWidget()) != nullptr;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_OPTIONS;
        e.text = "&Options...";
        e.menu = "View";
        e.menuPos = 202;
        e.enabled = HasDoc;
        e.run = [](ICommandContext& f, const CCommandState& s) {
            RunOptionsSheet(s.Doc()->GetTALVOProject(), f.ParentWidget());
            return true;
        };
        r.Add(e);
    }
    {
        // The tree's double-click and Enter: every selected element in its window, in tree order.
        CCommandEntry e;
        e.id = ID_OPEN_SELECTION;
        e.text = "&Open";
        e.contextMenus = kContextElement;
        e.contextPos = 0;
        e.enabled = [](const CCommandState& s) { return HasDoc(s) && !s.selection.elements.empty(); };
        e.run = [](ICommandContext&, const CCommandState& s) {
            for (CMElement* element : s.selection.elements)
                GetTALVOApp().OpenDataView(element, &*CStatusBarFallback(nullptr));
            return true;
        };
        r.Add(e);
    }

    // ---- Help ----
    {
        CCommandEntry e;
        e.id = ID_CHECK_LAST_VERSION;
        e.text = "Check for &Updates...";
        e.menu = "Help";
        e.menuPos = 0;
        e.run = [](ICommandContext& f, const CCommandState&) {
            f.CheckLastVersionFromMenu();
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_AUTO_CHECK_LAST_VERSION;
        e.text = "Check for Updates at &Start";
        e.menu = "Help";
        e.menuPos = 1;
        e.checked = [](const CCommandState&) { return GetAutoCheckLastVerOption() != 0; };
        e.run = [](ICommandContext&, const CCommandState&) {
            SetAutoCheckLastVerOption(GetAutoCheckLastVerOption() != 0 ? 0 : 1);
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_VERSION_HISTORY;
        e.text = "&Version History";
        e.menu = "Help";
        e.menuPos = 2;
        // Only where the product page is known.
        e.enabled = [](const CCommandState&) { return IsWebAddress(GetProductPageAddress()); };
        e.run = [](ICommandContext&, const CCommandState&) {
            const std::string page = GetProductPageAddress();
            if (!page.empty())
                CMainFrame::OpenWebPage(GetVersionHistoryAddress(page));
            return true;
        };
        r.Add(e);
    }
    {
        CCommandEntry e;
        e.id = ID_APP_ABOUT;
        e.text = "&About ORVEX...";
        e.icon = "about";
        e.menu = "Help";
        e.menuPos = 100;
        e.toolBarPos = 100;
        e.enabled = Always;
        e.run = [](ICommandContext& f, const CCommandState&) {
            CAboutDlg dlg(f.ParentWidget());
            dlg.DoModal();
            return true;
        };
        r.Add(e);
    }

    // ---- Developer (only with the marker file) ----
    for (const auto& [id, text, pos] : {std::tuple{ID_DUMP_DATA, "&Dump Data ...", 0},
                                        std::tuple{ID_DUMP_DATA_PARAM, "&Dump Data (with Parameter)...", 1}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "Developer";
        e.menuPos = pos;
        e.enabled = CanDump;
        const bool withParameter = id == ID_DUMP_DATA_PARAM;
        e.run = [withParameter](ICommandContext& f, const CCommandState& s) {
            DumpSelectedElement(f, s, withParameter);
            return true;
        };
        r.Add(e);
    }
}
