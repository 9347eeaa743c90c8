#include "app/automation/AutoBaseProject.h"

#include "app/BaseProject.h"
#include "app/automation/ObjectModel.h"

CAutoBaseProject::CAutoBaseProject(CBaseProject* project) : CAutoObject(project), m_project(project) {}

const CDispatchTable& CAutoBaseProject::BaseTable()
{
    static const CDispatchTable table(
        nullptr, {
                     {"ProjectID",
                      DispKind::Property,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(CAutoBaseProject, return CAutoValue::Long(self.Project().GetID());)},
                 });
    return table;
}
