#include "calculation/InputEnergyFolder.h"

#include <cmath>

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
#include "spectral/OTMultiVecFunc.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CInputEnergyFolder, CInputItemFolder, CInputEnergyFolder::kSchema | VERSIONABLE_SCHEMA)

namespace {
constexpr double kAirDensity = 1.21;
constexpr double kSoundSpeed = 343.0;
// Structures are the model kinds below this.
constexpr int kFirstAcousticKind = 5;

double ToLevel(double energy, double factor)
{
    const double q = energy / factor;
    return q > 0.0 ? std::sqrt(q) : 0.0;
}
} // namespace

CInputEnergyFolder::CInputEnergyFolder() = default;

CInputEnergyFolder::CInputEnergyFolder(CMElement* parent)
    : CInputItemFolder(LoadString(IDS_INPUT_ENERGY_FOLDER), parent, ElementType::InputEnergyFolder)
{}

CInputEnergyFolder::~CInputEnergyFolder() = default;

std::string CInputEnergyFolder::ItemSubsystem(const CMElement* element)
{
    if (const auto* rpm = DynamicDowncast<CZuRpmFunc>(element))
        return rpm->GetLabel();
    if (const auto* multi = DynamicDowncast<CMultiVectorFunction>(element))
        return multi->GetLabel();
    return std::string();
}

bool CInputEnergyFolder::HoldsItem(const CMElement* element) const
{
    return DynamicDowncast<CZuRpmFunc>(element) || DynamicDowncast<CMultiVectorFunction>(element);
}

int CInputEnergyFolder::GetItems(const CZuSubsystemTable& table, CMElementList& list) const
{
    list.Clear();
    for (int s = 0; s < table.GetCount(); ++s)
        for (int i = 0; i < GetChildCount(); ++i) {
            CMElement* child = GetChild(i);
            if ((ElementCast<CZuRpmFunc>(child) || ElementCast<CMultiVectorFunction>(child)) &&
                ItemSubsystem(child) == table[s])
                list.Add(child);
        }
    return 1;
}

bool CInputEnergyFolder::WriteItemHeader(CStdioFile& file, const IAnalysisProjectAccess& project,
                                         const std::string& label, int asLevels, std::string& name,
                                         double& factor) const
{
    name = label;
    const int kind = project.CompleteSubsystemName(name);
    if (kind < 0)
        return false;
    factor = 1.0;
    int dataKind = ElementType::Energy;
    if (asLevels) {
        double mass = 0.0, volume = 0.0;
        if (!project.GetSubsystemParam(label, mass, volume))
            return false;
        if (kind < kFirstAcousticKind) {
            dataKind = ElementType::Velocity;
            factor = mass;
        } else {
            dataKind = ElementType::Pressure;
            factor = volume / kAirDensity / kSoundSpeed / kSoundSpeed;
        }
    }
    file.WriteString(Format("[%s]\t%d\n", name.c_str(), dataKind));
    file.WriteString(name);
    return true;
}

int CInputEnergyFolder::ExportByRpm(CStdioFile& file, IAnalysisProjectAccess& project, double rpm, int asLevels)
{
    const std::string key = Format("%g", rpm);
    const std::string section =
        Format(asLevels ? "IPV_%s-%sRPM" : "IE_%s-%sRPM", project.GetProjectName().c_str(), key.c_str());
    input_folder_text::WriteSectionName(file, section);
    const int bandCount = input_folder_text::WriteBandDomain(file, project.GetOctaveManager());
    input_folder_text::WriteSubsystemBlock(file, *this, project);
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* func = ElementCast<CZuRpmFunc>(GetChild(i));
        const int row = func ? func->FindRpmIndex(rpm) : -1;
        if (row < 0)
            continue;
        std::string name;
        double factor = 1.0;
        if (!WriteItemHeader(file, project, func->GetLabel(), asLevels, name, factor))
            continue;
        for (int b = 0; b < bandCount; ++b) {
            const double e = b < func->GetFreqCount() ? func->DataValue(row, b) : 0.0;
            file.WriteString(Format("\t%g", asLevels ? ToLevel(e, factor) : e));
        }
        file.WriteString("\n");
    }
    return 1;
}

int CInputEnergyFolder::ExportByOrder(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType,
                                      double bandWidth, int asLevels, CFeedback* feedback)
{
    const std::string key = Format("%g", order);
    const std::string section =
        Format(asLevels ? "IPV_%s-OT%s" : "IE_%s-OT%s", project.GetProjectName().c_str(), key.c_str());
    input_folder_text::WriteSectionName(file, section);

    COrderFrequencyDomain domain;
    if (!domain.Write(file, project, order, bandListType, bandWidth, feedback))
        return 0;
    const CFreqInfoList& lines = domain.Lines();
    input_folder_text::WriteSubsystemBlock(file, *this, project);
    for (int i = 0; i < GetChildCount(); ++i) {
        auto* func = ElementCast<COTMultiVecFunc>(GetChild(i));
        const int column = func ? func->GetOrderList().Find(order) : -1;
        if (column < 0 || column >= func->GetSubsystemCount())
            continue;
        std::string name;
        double factor = 1.0;
        if (!WriteItemHeader(file, project, func->GetLabel(), asLevels, name, factor))
            continue;
        for (int k = 0; k < lines.GetSize(); ++k) {
            const CFreqInfo& line = lines[k];
            if (!domain.Contains(line))
                continue;
            const double weight = COrderFrequencyDomain::Weight(line, project.GetOTSetting());
            const double value = k < func->GetDataCount() ? func->DataValue(k, column) * weight : 0.0;
            file.WriteString(Format("\t%g", asLevels ? ToLevel(value, factor) : value));
        }
        file.WriteString("\n");
    }
    return 1;
}

int CInputEnergyFolder::ExportText(CStdioFile& file, double key, int bandListType, double bandWidth, int asLevels,
                                   CFeedback* feedback)
{
    IAnalysisProjectAccess* project = IAnalysisProjectAccess::FindOwner(GetParent());
    if (GetChildCount() == 0 || !project)
        return 0;
    switch (project->GetProjectType()) {
    case 0:
        return ExportByRpm(file, *project, key, asLevels);
    case 1:
        return ExportByOrder(file, *project, key, bandListType, bandWidth, asLevels, feedback);
    default:
        return 0;
    }
}

void CInputEnergyFolder::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CMElement::Serialize(ar);
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
    if (schema > kSchema)
        CArchive::ThrowBadSchema(Format("input-energy folder of schema %u", schema));
    CMElement::Serialize(ar);
    if (schema == 0)
        COTMultiVecFunc::ConvertToOTMultiVecFuncs(this);
}
