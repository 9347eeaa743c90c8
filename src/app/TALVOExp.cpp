#include "app/TALVOExp.h"

#include <algorithm>

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "experiments/AveExpData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CTALVOExp, CMElement, CTALVOExp::kSchema | VERSIONABLE_SCHEMA)

CTALVOExp::CTALVOExp() = default;

CTALVOExp::CTALVOExp(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CTALVOExp::~CTALVOExp() = default;

std::unique_ptr<CDAQExperiment> CTALVOExp::CreateDAQExperiment(const CExpInfo& info)
{
    auto set = std::make_unique<CDAQExperiment>(std::string(), this, ElementType::MeasuredDataSet);
    set->SetSerial(NextSerial());
    set->UpdateName();
    auto* project = ElementCast<CDaqProject>(GetParent());
    set->SetDaqProjectID(project ? project->GetID() : -1);
    set->SetDescription(m_description);
    set->SetExpInfo(info);
    set->SetCalcOptions(project ? project->GetCalcOptions() : nullptr);
    return set;
}

int CTALVOExp::GetUsedChildren(CMElementList& list)
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* set = ElementCast<CDAQExperiment>(GetChild(i)); set && set->GetUseFlag() == 1)
            list.Add(set);
    return list.GetSize();
}

CDAQExperiment* CTALVOExp::FindDataSetBySerial(int serial) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* set = ElementCast<CDAQExperiment>(GetChild(i)); set && set->GetSerial() == serial)
            return set;
    return nullptr;
}

CMElement* CTALVOExp::AverageRpmFuncs(const std::string& name, int message, const CRPMOptions* options,
                                      CFeedback* feedback)
{
    m_averaged.reset();
    CAveExpData average(ElementCast<CDaqProject>(GetParent()));
    m_averaged = average.AverageRpmFuncs(name, this, message, options, feedback);
    // Not a child, but the experiment's own: through it a window finds the project that says
    // whether the subsystem is a structure or a cavity and how values show, and keeps its display
    // settings, as for the maps of the data sets.
    if (m_averaged)
        m_averaged->SetParent(this);
    return m_averaged.get();
}

CMElement* CTALVOExp::AverageRpmVecFuncs(const std::string& name, int flag)
{
    m_averaged.reset();
    CAveExpData average(ElementCast<CDaqProject>(GetParent()));
    m_averaged = average.AverageRpmVecFuncs(name, this, flag);
    if (m_averaged)
        m_averaged->SetParent(this);
    return m_averaged.get();
}

void CTALVOExp::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CMElement::Serialize(ar);
        ar << m_use << m_lastSerial << m_description << m_first << m_second;
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
    if (schema > kSchema)
        CArchive::ThrowBadSchema(Format("experiment of schema %u", schema));
    CMElement::Serialize(ar);
    if (schema < 1) {
        // The oldest experiments kept neither flag nor counter: they are in use and go on
        // numbering after their largest data set.
        m_use = 1;
        m_lastSerial = 0;
        for (int i = 0; i < GetChildCount(); ++i)
            if (auto* set = ElementCast<CDAQExperiment>(GetChild(i)))
                m_lastSerial = std::max(m_lastSerial, set->GetSerial());
    } else {
        ar >> m_use >> m_lastSerial >> m_description;
    }
    if (schema < 2) {
        auto* first = ElementCast<CDAQExperiment>(GetChild(0));
        m_first = first ? first->GetSecondInfoName() : std::string();
        m_second = first ? first->GetFirstInfoName() : std::string();
    } else {
        ar >> m_first >> m_second;
    }
}
