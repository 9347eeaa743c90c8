#include "calculation/InputPowerFolder.h"

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/InputFolderText.h"
#include "calculation/OrderFrequencyDomain.h"
#include "common/FreqAxis.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/FreqInfo.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/OrderBand.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CInputPowerFolder, CInputItemFolder, CInputPowerFolder::kSchema | VERSIONABLE_SCHEMA)

CInputPowerFolder::CInputPowerFolder() = default;

CInputPowerFolder::CInputPowerFolder(CMElement* parent)
    : CInputItemFolder(LoadString(IDS_INPUT_POWER_FOLDER), parent, ElementType::InputPowerFolder)
{}

CInputPowerFolder::~CInputPowerFolder() = default;

std::string CInputPowerFolder::ItemSubsystem(const CMElement* element)
{
    if (const auto* rpm = DynamicDowncast<CZuRpmFunc>(element))
        return rpm->GetLabel();
    if (const auto* ot = DynamicDowncast<CZuOTFunc>(element))
        return ot->GetLabel();
    return std::string();
}

bool CInputPowerFolder::IsItem(const CMElement* element)
{
    return DynamicDowncast<CZuRpmFunc>(element) || DynamicDowncast<CZuOTFunc>(element);
}

int CInputPowerFolder::GetInputFunctions(CMElementList& list) const
{
    list.Clear();
    for (int i = 0; i < GetChildCount(); ++i)
        if (IsItem(GetChild(i)))
            list.Add(GetChild(i));
    return list.GetSize();
}

int CInputPowerFolder::GetFunctionsForSubsystems(const CZuSubsystemTable& table, CMElementList& list) const
{
    list.Clear();
    for (int s = 0; s < table.GetCount(); ++s)
        if (CMElement* item = FindRpmItem(table[s]))
            list.Add(item);
    return 1;
}

int CInputPowerFolder::ExportByRpm(CStdioFile& file, IAnalysisProjectAccess& project, double rpm)
{
    const std::string key = Format("%g", rpm);
    input_folder_text::WriteSectionName(file, Format("IP_%s-%sRPM", project.GetProjectName().c_str(), key.c_str()));
    const int bandCount = input_folder_text::WriteBandDomain(file, project.GetOctaveManager());
    input_folder_text::WriteSubsystemBlock(file, *this, project);
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* func = ElementCast<CZuRpmFunc>(GetChild(i));
        const int row = func ? func->FindRpmIndex(rpm) : -1;
        if (row < 0)
            continue;
        std::string name = func->GetLabel();
        if (project.CompleteSubsystemName(name) < 0)
            continue;
        file.WriteString(Format("[%s]\t%d\n", name.c_str(), ElementType::InputPower));
        file.WriteString(name);
        for (int b = 0; b < bandCount; ++b)
            file.WriteString(Format("\t%g", b < func->GetFreqCount() ? func->DataValue(row, b) : 0.0));
        file.WriteString("\n");
    }
    return 1;
}

int CInputPowerFolder::ExportByOrder(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType,
                                     double bandWidth, CFeedback* feedback)
{
    const std::string key = Format("%g", order);
    input_folder_text::WriteSectionName(file, Format("IP_%s-OT%s", project.GetProjectName().c_str(), key.c_str()));

    const double factor = project.GetDaqConfigValue();
    COrderFrequencyDomain domain;
    if (!domain.Write(file, project, order, bandListType, bandWidth, feedback))
        return 0;
    const CFreqInfoList& lines = domain.Lines();
    input_folder_text::WriteSubsystemBlock(file, *this, project);
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* func = ElementCast<CZuOTFunc>(GetChild(i));
        CZuRpmFunc* map = func ? func->GetRpmFuncByOrder(order) : nullptr;
        if (!map)
            continue;
        std::string name = func->GetLabel();
        if (project.CompleteSubsystemName(name) < 0)
            continue;
        const COctaveManagerEx* bands = func->GetOctaveManager();
        file.WriteString(Format("[%s]\t%d\n", name.c_str(), ElementType::InputPower));
        file.WriteString(name);
        for (int k = 0; k < lines.GetSize(); ++k) {
            const CFreqInfo& line = lines[k];
            if (!domain.Contains(line))
                continue;
            // Entry k is the order line at RPM row k of the order's map.
            const int band =
                k < map->GetRpmCount() && bands ? GetOrderBandIndexInt(map->GetRpm(k), order, factor, bands) : -1;
            if (band < 0 || band >= map->GetFreqCount()) {
                file.WriteString("\t");
                continue;
            }
            const double weight = COrderFrequencyDomain::Weight(line, project.GetOTSetting());
            file.WriteString(Format("\t%g", weight * map->DataValue(k, band)));
        }
        file.WriteString("\n");
    }
    return 1;
}

int CInputPowerFolder::ExportText(CStdioFile& file, double key, int bandListType, double bandWidth, CFeedback* feedback)
{
    IAnalysisProjectAccess* project = IAnalysisProjectAccess::FindOwner(GetParent());
    if (GetChildCount() == 0 || !project)
        return 0;
    switch (project->GetProjectType()) {
    case 0:
        return ExportByRpm(file, *project, key);
    case 1:
        return ExportByOrder(file, *project, key, bandListType, bandWidth, feedback);
    default:
        return 0;
    }
}

void CInputPowerFolder::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        const uint32_t stored = ar.GetObjectSchema();
        if (stored != 0xFFFFFFFFu && stored > kSchema)
            CArchive::ThrowBadSchema(Format("input-power folder of schema %u", stored));
    }
    CMElement::Serialize(ar);
}
