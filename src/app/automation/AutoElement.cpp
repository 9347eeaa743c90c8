#include "app/automation/AutoElement.h"

CAutoElement::CAutoElement(const void* key, std::vector<const void*> guards) : CAutoObject(key, std::move(guards)) {}

const CDispatchTable& CAutoElement::GetDispatchTable() const
{
    static const CDispatchTable table(nullptr, {});
    return table;
}
