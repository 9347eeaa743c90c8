#include "app/ui/TreePickers.h"

#include "app/FrameCommands.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "models/HSEAResultData.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuData.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSelectSubsystemPair.h"

namespace {

CBaseProject* ProjectOf(CMElement* element)
{
    for (CMElement* e = element; e; e = e->GetParent())
        if (auto* project = dynamic_cast<CBaseProject*>(e))
            return project;
    return nullptr;
}

// The model project of the document that holds element, found through the element's project.
CModelProject* ModelProjectOf(CMElement* element)
{
    CBaseProject* project = ProjectOf(element);
    CTALVOProject* container = project ? project->GetOwner() : nullptr;
    return container ? container->GetModelProject() : nullptr;
}
} // namespace

CTreePickers::CTreePickers(IMessageTarget& owner, QWidget* parent) : m_owner(owner), m_parent(parent) {}

CTreePickers::~CTreePickers()
{
    Close(false);
    Close(true);
}

CDlgSelectSubsystem* CTreePickers::SinglePicker() const
{
    return m_single;
}

CDlgSelectSubsystemPair* CTreePickers::PairPicker() const
{
    return m_pair;
}

void CTreePickers::OnMessage(bool pair, uintptr_t wParam, CMElement* element)
{
    if (wParam == kPickerOK)
        RunPicked(pair);
    else if (wParam == kPickerCancel)
        Close(pair);
    else
        Open(pair, static_cast<int>(wParam), element);
}

void CTreePickers::Open(bool pair, int command, CMElement* element)
{
    const CFrameCommands::PickerCommand* entry = CFrameCommands::FindPickerCommand(command);
    if (!entry || entry->pair != pair || !element)
        return;
    m_command[pair] = command;
    m_element[pair] = element;
    const std::string caption = element->GetName();
    if (pair) {
        if (!m_pair) {
            m_pair = new CDlgSelectSubsystemPair(ModelProjectOf(element), m_parent);
            m_pair->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_pair->SetModeless(true, &m_owner, 0);
        m_pair->SetSubsystemKind(entry->filter);
        m_pair->SetConnectionCheck(entry->pairFlag1 != 0);
        m_pair->EnableWaveType(entry->pairFlag2 != 0);
        m_pair->SetModelElement(element);
        m_pair->SetCaption(caption);
        if (!m_pair->isVisible())
            m_pair->Create();
        m_pair->raise();
        m_pair->activateWindow();
        return;
    }
    if (!m_single) {
        m_single = new CDlgSelectSubsystem(ModelProjectOf(element), m_parent);
        m_single->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_single->SetModeless(true, &m_owner, 0);
    m_single->SetSubsystemKind(entry->filter);
    m_single->SetCaption(caption);
    if (!m_single->isVisible())
        m_single->Create();
    m_single->raise();
    m_single->activateWindow();
}

void CTreePickers::Close(bool pair)
{
    if (pair && m_pair)
        m_pair->deleteLater();
    if (!pair && m_single)
        m_single->deleteLater();
}

CMElement* CTreePickers::RunOperation(int command, CMElement* element, const std::string& name1,
                                      const std::string& name2)
{
    auto* data = dynamic_cast<CZuData*>(element);
    const CFrameCommands::PickerCommand* entry = CFrameCommands::FindPickerCommand(command);
    if (!data || !entry || !entry->operation)
        return nullptr;
    // The name the result-name step gives the command's function.
    const std::string resultName = entry->resultNameId ? FormatString(entry->resultNameId, name1.c_str()) : "";
    // Why a pick failed shows as the box it always was.
    return entry->operation(*data, name1, name2, resultName, &*CStatusBarFallback(nullptr));
}

void CTreePickers::RunPicked(bool pair)
{
    const int command = m_command[pair];
    CMElement* element = m_element[pair];
    // The element must still belong to a project of an open document.
    CBaseProject* project = ProjectOf(element);
    if (!project || !project->GetOwner() || project->GetProjectIndex() < 0)
        return;
    const std::string name1 = pair ? (m_pair ? m_pair->m_strName1 : "") : (m_single ? m_single->m_strName : "");
    const std::string name2 = pair && m_pair ? m_pair->m_strName2 : "";
    // A function of the same name made before is replaced once the new one is there: its tree
    // item and the element go, so that the result holds one function of each name.
    const CFrameCommands::PickerCommand* entry = CFrameCommands::FindPickerCommand(command);
    CMElement* old = nullptr;
    if (entry && entry->resultNameId && dynamic_cast<CHSEAResultData*>(element))
        old = element->FindOneChild(FormatString(entry->resultNameId, name1.c_str()));
    CMElement* made = RunOperation(command, element, name1, name2);
    if (!made) {
        AfxMessageBox(IDS_PICKED_COMMAND_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (old && old != made)
        element->DeleteChild(old, 1);
    GetTALVOApp().OpenDataView(made, &*CStatusBarFallback(nullptr));
}
