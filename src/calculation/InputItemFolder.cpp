#include "calculation/InputItemFolder.h"

#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"

IMPLEMENT_DYNAMIC(CInputItemFolder, CMElement)

CInputItemFolder::CInputItemFolder() = default;

CInputItemFolder::CInputItemFolder(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type)
{}

CInputItemFolder::~CInputItemFolder() = default;

CMElement* CInputItemFolder::FindRpmItem(const std::string& subsystem) const
{
    for (int i = 0; i < GetChildCount(); ++i) {
        CMElement* child = GetChild(i);
        if (HoldsItem(child) && SubsystemOfItem(child) == subsystem)
            return child;
    }
    return nullptr;
}

void CInputItemFolder::AddItems(const CMElementList& list)
{
    for (CMElement* element : list) {
        if (!element)
            continue;
        if (CMElement* old = FindRpmItem(SubsystemOfItem(element)); old && old != element)
            DeleteChild(old, 1);
        if (GetChildIndex(element) >= 0)
            continue;
        element->SetParent(this);
        AddChild(element);
    }
}

int CInputItemFolder::GetSubsystemTable(CZuSubsystemTable& table) const
{
    table.Clear();
    for (int i = 0; i < GetChildCount(); ++i)
        if (HoldsItem(GetChild(i)))
            table.Add(SubsystemOfItem(GetChild(i)));
    return table.GetCount();
}
