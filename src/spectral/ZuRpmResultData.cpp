#include "spectral/ZuRpmResultData.h"

#include <cmath>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/KeyedResults.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"

IMPLEMENT_SERIAL(CZuRpmResultData, CZuData, 15 | VERSIONABLE_SCHEMA)

namespace {

using keyed_results::NameOf;

std::string LabelOf(const CMElement* e)
{
    if (auto* m = dynamic_cast<const CZuRpmMultiVecFunc*>(e))
        return m->GetLabel();
    if (auto* v = dynamic_cast<const CMultiVectorFunction*>(e))
        return v->GetLabel();
    return {};
}

CMElement* FindLabelled(const CMElement& set, int kindA, int kindB, const std::string& label)
{
    for (int i = 0; i < set.GetChildCount(); ++i) {
        CMElement* c = set.GetChild(i);
        if ((c->GetType() == kindA || c->GetType() == kindB) && LabelOf(c) == label)
            return c;
    }
    return nullptr;
}

void DumpVector(CStdioFile& file, const CZuVecFunc* v)
{
    if (!v)
        return;
    std::string line;
    for (int i = 0; i < v->GetDataCount(); ++i)
        line += Format("\t%g", v->DataIndex(i));
    file.WriteString(line + "\n");
    for (int k = 0; k < v->GetSubsystemCount(); ++k) {
        line = Format("%s", v->GetSubsystem(k).c_str());
        for (int i = 0; i < v->GetDataCount(); ++i)
            line += Format("\t%e", v->DataValue(i, k));
        file.WriteString(line + "\n");
    }
}
} // namespace

CZuRpmResultData::CZuRpmResultData() = default;

CZuRpmResultData::CZuRpmResultData(const std::string& name, CMElement* parent, int type, int domainType,
                                   double startFreq, double endFreq, const CZuSubsystemTable* table)
    : CZuData(name, parent, type, domainType, startFreq, endFreq)
{
    if (table)
        SetSubsystemTable(table);
    SetName(Format("Result #%d", static_cast<int>(GetSerialNumber())));
}

CZuRpmResultData::~CZuRpmResultData() = default;

int CZuRpmResultData::AddResult(double rpm, std::unique_ptr<CZuData> result)
{
    return keyed_results::Add(this, m_records, rpm, std::move(result));
}

double CZuRpmResultData::GetKey(int i) const
{
    return keyed_results::KeyAt(m_records, i);
}

CZuData* CZuRpmResultData::GetResult(int i) const
{
    return keyed_results::ResultAt(m_records, i);
}

CZuVecFunc* CZuRpmResultData::ResultVector(const CZuData* result, int type)
{
    return result ? DynamicDowncast<CZuVecFunc>(result->FindOneChild(type)) : nullptr;
}

std::unique_ptr<CZuRpmFunc> CZuRpmResultData::CreateRpmFunc(const std::string& subsystem, const std::string& name,
                                                            int kind) const
{
    if (subsystem.empty())
        return nullptr;
    const int count = GetFreqCount();
    auto f = std::make_unique<CZuRpmFunc>(name, count, const_cast<CZuRpmResultData*>(this), kind);
    f->SetSubsystem(subsystem);
    for (int i = 0; i < count; ++i)
        f->SetFreq(i, GetFreq(i));
    f->SetAxisFlag(0);
    return f;
}

std::unique_ptr<CZuRpmFunc> CZuRpmResultData::CreateVibrationFunc(const std::string& subsystem) const
{
    return CreateRpmFunc(subsystem, NameOf(IDS_VIBRATION_LEVEL_NAME, "Vibration Level [%s]", subsystem),
                         ElementType::VibrationLevel);
}

std::unique_ptr<CZuRpmMultiVecFunc> CZuRpmResultData::CreateSplFunc(const std::string& label, const std::string& name,
                                                                    int kind)
{
    auto f = std::make_unique<CZuRpmMultiVecFunc>(name, this, kind);
    f->SetLabel(label);
    return f;
}

std::unique_ptr<CZuRpmDpFunc> CZuRpmResultData::CreateDominantPathFunc(const std::string& subsystem)
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<CZuRpmDpFunc>(NameOf(IDS_DOMINANT_PATH_NAME, "Dominant Path [%s]", subsystem), this,
                                            ElementType::DominantPath);
    f->SetTargetName(subsystem);
    return f;
}

std::unique_ptr<CZuRpmPcFunc> CZuRpmResultData::CreatePowerContributionFunc(const std::string& subsystem)
{
    if (subsystem.empty())
        return nullptr;
    auto f = std::make_unique<CZuRpmPcFunc>(NameOf(IDS_POWER_CONTRIBUTION_NAME, "Power Contribution [%s]", subsystem),
                                            this, ElementType::PowerContribution);
    f->SetTargetName(subsystem);
    return f;
}

CMElement* CZuRpmResultData::FindMultiVecFunc(const std::string& label) const
{
    return FindLabelled(*this, ElementType::VibrationComparison, ElementType::SplComparison, label);
}

CMElement* CZuRpmResultData::FindMultiVecFunc2(const std::string& label) const
{
    return FindLabelled(*this, ElementType::VibrationResultComparison, ElementType::SplResultComparison, label);
}

int CZuRpmResultData::CollectInputPowerSubsystems(CZuSubsystemTable& table, int strip, CFeedback* feedback) const
{
    for (const Record& r : m_records) {
        CZuVecFunc* P = ResultVector(r.result.get(), ElementType::InputPower);
        if (!P) {
            feedback->Warning(MessageTextOf(IDS_NO_INPUT_POWER), IDS_NO_INPUT_POWER);
            continue;
        }
        for (int k = 0; k < P->GetSubsystemCount(); ++k) {
            bool positive = false;
            for (int b = 0; b < P->GetDataCount() && !positive; ++b)
                positive = P->DataValue(b, k) > 0.0; // NaN is not positive
            if (!positive)
                continue;
            std::string name = P->GetSubsystem(k);
            if (strip == 1)
                CGfxUtil::RemoveWaveSign(name);
            table.AddUnique(name);
        }
    }
    return table.GetCount();
}

int CZuRpmResultData::WriteDump(CStdioFile& file, const std::string&)
{
    for (const Record& r : m_records) {
        file.WriteString(Format("%g rpm:Input Power", r.key));
        DumpVector(file, ResultVector(r.result.get(), ElementType::InputPower));
        file.WriteString(Format("%g rpm:Modal Energy", r.key));
        DumpVector(file, ResultVector(r.result.get(), ElementType::ModalEnergy));
        file.WriteString("\n\n");
    }
    return 1;
}

void CZuRpmResultData::Serialize(CArchive& ar)
{
    keyed_results::Serialize<CZuData, CZuRpmPcFunc>(*this, ar, m_records, kOldestSchema, "result set",
                                                    "results of a result set");
}
