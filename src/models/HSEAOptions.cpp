#include "models/HSEAOptions.h"

#include "models/HSEARegOptions.h"
#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CHSEAOptions, CObject, 5 | VERSIONABLE_SCHEMA)

namespace {

// A DWORD of an open accessor, or the default when it is missing (all bits set).
int32_t ReadInt(CHSEARegOptions& reg, const char* name, int32_t defaultValue)
{
    const uint32_t v = reg.GetDWORD(name);
    return v == CHSEARegOptions::kNoValue ? defaultValue : static_cast<int32_t>(v);
}

} // namespace

CHSEAOptions::CHSEAOptions()
{
    ReadModelFlags();
    ReadDisplayOptions();
}

CHSEAOptions::CHSEAOptions(const CHSEAOptions& other) : CObject(other)
{
    CopyFrom(other);
    HSS_ShowDataInDB = other.HSS_ShowDataInDB;
    WeightingFilter = other.WeightingFilter;
}

CHSEAOptions& CHSEAOptions::operator=(const CHSEAOptions& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void CHSEAOptions::CopyFrom(const CHSEAOptions& other)
{
    m_nSolver = other.m_nSolver;
    HSS_ClfConstraint = other.HSS_ClfConstraint;
    HSS_DlfConstraint = other.HSS_DlfConstraint;
    HSS_KeepClfReciprocity = other.HSS_KeepClfReciprocity;
    HSS_SymmetricCopy = other.HSS_SymmetricCopy;
    HSS_DecimalPlaces = other.HSS_DecimalPlaces;
    HSS_TableCellWidth = other.HSS_TableCellWidth;
    HSS_IconWidth = other.HSS_IconWidth;
    for (int i = 0; i < 2; ++i) {
        m_booleanLabels[i] = other.m_booleanLabels[i];
        m_solverLabels[i] = other.m_solverLabels[i];
        m_firstWaveLabels[i] = other.m_firstWaveLabels[i];
        m_secondWaveLabels[i] = other.m_secondWaveLabels[i];
    }
    m_nMeanMethod = other.m_nMeanMethod;
    HSS_PlotAllData = other.HSS_PlotAllData;
}

void CHSEAOptions::ReadModelFlags()
{
    CHSEARegOptions reg;
    if (!reg.Open())
        return; // all four stay 0
    HSS_ClfConstraint = ReadInt(reg, kRegHSSClfConstraint, 0);
    HSS_DlfConstraint = ReadInt(reg, kRegHSSDlfConstraint, 0);
    HSS_KeepClfReciprocity = ReadInt(reg, kRegHSSKeepClfReciprocity, 0);
    HSS_SymmetricCopy = ReadInt(reg, kRegHSSSymmetricCopy, 0);
}

void CHSEAOptions::ReadDisplayOptions()
{
    CHSEARegOptions reg;
    if (!reg.Open())
        return; // defaults
    HSS_DecimalPlaces = ReadInt(reg, kRegHSSDecimalPlaces, 2);
    HSS_TableCellWidth = ReadInt(reg, kRegHSSTableCellWidth, 10);
    HSS_IconWidth = ReadInt(reg, kRegHSSIconWidth, 0);
    HSS_PlotAllData = ReadInt(reg, kRegHSSPlotAllData, 0);
    HSS_ShowDataInDB = ReadInt(reg, kRegHSSShowDataInDB, 1);
    WeightingFilter = ReadInt(reg, kRegWeightingFilter, 1);
}

int CHSEAOptions::SaveDisplayOptions()
{
    CHSEARegOptions reg;
    if (!reg.Open())
        return 0;
    const std::pair<const char*, int32_t> values[] = {
        {kRegHSSDecimalPlaces, HSS_DecimalPlaces}, {kRegHSSTableCellWidth, HSS_TableCellWidth},
        {kRegHSSIconWidth, HSS_IconWidth},         {kRegHSSPlotAllData, HSS_PlotAllData},
        {kRegHSSShowDataInDB, HSS_ShowDataInDB},   {kRegWeightingFilter, WeightingFilter},
    };
    for (const auto& [name, value] : values)
        if (!reg.SetDWORD(name, static_cast<uint32_t>(value)))
            return 0;
    return 1;
}

void CHSEAOptions::SetSymmetricCopy(int symmetric)
{
    if (HSS_SymmetricCopy != symmetric)
        HSS_SymmetricCopy = symmetric;
}

void CHSEAOptions::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nSolver << HSS_ClfConstraint << HSS_DlfConstraint << HSS_KeepClfReciprocity << HSS_SymmetricCopy
           << m_nMeanMethod;
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    ar >> m_nSolver >> HSS_ClfConstraint >> HSS_DlfConstraint >> HSS_KeepClfReciprocity >> HSS_SymmetricCopy;
    // An object read without its class record (schema unknown) is of the current schema.
    if (schema >= 5)
        ar >> m_nMeanMethod;
}
