#include "app/automation/AutoExpProject.h"

#include "app/automation/ObjectModel.h"
#include "experiments/Excitation.h"
#include "experiments/ExpProject.h"
#include "platform/gfx/GfxUtil.h"

CAutoExpProject::CAutoExpProject(CExpProject* project) : CAutoObject(project), m_project(project) {}

const CDispatchTable& CAutoExpProject::GetDispatchTable() const
{
    using W = CAutoExpProject;
    static const CDispatchTable table(
        nullptr, {
                     {"SubsystemData",
                      DispKind::Property,
                      AutoType::Object,
                      {{AutoType::String, "subsystem"}},
                      AUTO_MEMBER(W,
                                  {
                                      std::string name = args.String(0);
                                      CGfxUtil::RemoveWaveSign(name);
                                      CExcitation* excitation = self.m_project->FindExcitation(name);
                                      if (!excitation)
                                          ThrowNameNotFound(1);
                                      return CAutoValue::Object(ExposeElement(excitation));
                                  })},
                     {"GetExpDataCount",
                      DispKind::Method,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.m_project->GetExperimentCount());)},
                     {"GetExpData",
                      DispKind::Method,
                      AutoType::Object,
                      {{AutoType::Variant, "index"}},
                      AUTO_MEMBER(W,
                                  {
                                      int32_t i = 0;
                                      if (!args.IsMissing(0) && !args.Value(0).ToLong(i))
                                          ThrowWrongType(1);
                                      if (i < 0 || i >= self.m_project->GetExperimentCount())
                                          ThrowIndexOutOfRange(1);
                                      return CAutoValue::Object(ExposeElement(self.m_project->GetExperimentList()[i]));
                                  })},
                 });
    return table;
}
