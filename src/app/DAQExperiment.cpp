#include "app/DAQExperiment.h"

#include "app/DaqProject.h"
#include "experiments/SensorGroup.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CDAQExperiment, CMElement, CDAQExperiment::kSchema | VERSIONABLE_SCHEMA)

CDAQExperiment::CDAQExperiment() : m_info(std::make_unique<CExpInfo>()) {}

CDAQExperiment::CDAQExperiment(const std::string& name, CMElement* parent, int type)
    : CMElement(name, parent, type), m_info(std::make_unique<CExpInfo>())
{}

CDAQExperiment::~CDAQExperiment() = default;

void CDAQExperiment::SetExpInfo(const CExpInfo& info)
{
    const CRuntimeClass* cls = info.GetRuntimeClass();
    if (cls == RUNTIME_CLASS(CExpInfo) || !cls->IsSerializable()) {
        *m_info = info;
        return;
    }
    std::unique_ptr<CObject> copy(cls->CreateObject());
    CopyObjectContents(*copy, info);
    m_info.reset(static_cast<CExpInfo*>(copy.release()));
}

void CDAQExperiment::UpdateName()
{
    SetName(Format("%02d", m_serial));
}

int CDAQExperiment::GetInfoNameIndex(const std::string& name) const
{
    if (name == m_info->GetName(0))
        return 0;
    if (name == m_info->GetName(1))
        return 1;
    return -1;
}

void CDAQExperiment::SetCalcOptions(const CCalcOptions* options)
{
    if (options)
        m_calcOptions = *options;
    CSubsystemLPInfoList& list = m_calcOptions.GetSubsystemLPInfoList();
    list.RemoveAll();
    for (int i = 0; i < 2; ++i) {
        // A subsystem's local points are its sensor group's members where the description carries
        // one; its value is the subsystem's mass or volume then, no count (a cavity of 0.97 m3
        // would take part with no point at all).
        const CSensorGroup* group = m_info->GetSensorGroup(i);
        const int points =
            group && group->GetMemberCount() > 0 ? group->GetMemberCount() : static_cast<int>(m_info->GetValue(i));
        CSubsystemLPInfo info(points);
        info.SetName(m_info->GetName(i));
        list.Add(info);
    }
}

CDaqProject* CDAQExperiment::GetDaqProject() const
{
    for (CMElement* e = GetParent(); e; e = e->GetParent())
        if (auto* daq = ElementCast<CDaqProject>(e))
            return daq;
    return nullptr;
}

void CDAQExperiment::AddFuncs(const CMElementList& list)
{
    const std::string name0 = GetFirstInfoName();
    const std::string name1 = GetSecondInfoName();
    for (CMElement* element : list) {
        if (!element)
            continue;
        const std::string& name = element->GetName();
        const int code = element->GetType();
        bool fits = false;
        if (ElementCast<CZuRpmFunc>(element) || code == ElementType::ChannelLevels || code == ElementType::OrderData)
            // The local-point levels of a subsystem are named after it: the comparison by local
            // point reads them from the data set.
            fits = name == name0 || name == name1 || name == FormatString(IDS_CHANNEL_LEVELS, name0.c_str()) ||
                   name == FormatString(IDS_CHANNEL_LEVELS, name1.c_str());
        else if (code == ElementType::OrderLevels)
            fits = name == FormatString(IDS_ORDER_LEVELS, name1.c_str()) ||
                   name == FormatString(IDS_ORDER_LEVELS, name0.c_str());
        else if (code == ElementType::OrderFrequencies)
            fits = name == FormatString(IDS_ORDER_FREQUENCIES, name1.c_str()) ||
                   name == FormatString(IDS_ORDER_FREQUENCIES, name0.c_str());
        if (!fits)
            continue;
        if (CMElement* old = FindOneChild(name)) {
            DeleteChild(old, 1);
        }
        std::unique_ptr<CMElement> copy = element->Duplicate();
        if (!copy)
            continue;
        copy->SetParent(this);
        AddChild(std::move(copy));
    }
}

CZuRpmFunc* CDAQExperiment::FindRpmFuncByName(const std::string& name) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* f = ElementCast<CZuRpmFunc>(GetChild(i)); f && f->GetName() == name)
            return f;
    return nullptr;
}

CMElement* CDAQExperiment::FindFuncByNameAndType(const std::string& name, int code) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (CMElement* e = GetChild(i); e->GetName() == name && e->GetType() == code)
            return e;
    return nullptr;
}

CMultiVectorFunction* CDAQExperiment::FindMultiVecFuncByName(const std::string& name) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* f = ElementCast<CMultiVectorFunction>(GetChild(i)); f && f->GetName() == name)
            return f;
    return nullptr;
}

void CDAQExperiment::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CMElement::Serialize(ar);
        ar << m_use << m_serial << m_description;
        ar.WriteObject(m_info.get());
        ar.WriteObject(&m_calcOptions);
        ar << m_daqProjectID;
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema != 0xFFFFFFFFu && (schema < kOldestSchema || schema > kSchema))
        CArchive::ThrowBadSchema(Format("data set of schema %u", schema));
    CMElement::Serialize(ar);
    int32_t use = 0;
    int32_t serial = 0;
    std::string description;
    ar >> use >> serial >> description;
    auto info = ar.ReadOwned<CExpInfo>();
    auto options = ar.ReadOwned<CCalcOptions>();
    int32_t id = -1;
    ar >> id;
    m_use = use;
    m_serial = serial;
    m_description = description;
    if (info)
        m_info = std::move(info);
    if (options)
        m_calcOptions = *options;
    m_daqProjectID = id;
}
