#include "models/HSEADominantPathData.h"

#include <algorithm>

#include "models/HSEAPath.h"
#include "models/ModelStrings.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CHSEADominantPathData, CZuFuncElement, 1)

CHSEADominantPathData::CHSEADominantPathData() : CZuFuncElement("", 0, nullptr, ElementType::DominantPath)
{
    SetTableDataType(TABLE_BY_INDEX);
}

CHSEADominantPathData::CHSEADominantPathData(const std::string& target, int bandCount, uint32_t pathsPerBand)
    : CZuFuncElement(ModelFormat(IDS_DOMINANT_PATH_NAME, "Dominant Path [%s]", target.c_str()), 0, nullptr,
                     ElementType::DominantPath),
      m_k(pathsPerBand), m_target(target)
{
    SetTableDataType(TABLE_BY_INDEX);
    SetDataCount(bandCount);
    Allocate();
}

CHSEADominantPathData::~CHSEADominantPathData() = default;

void CHSEADominantPathData::Allocate()
{
    m_paths.resize(static_cast<size_t>(GetDataCount()));
    for (auto& band : m_paths) {
        band.resize(m_k);
        for (auto& p : band)
            if (!p)
                p = std::make_unique<CHSEAPath>();
    }
}

void CHSEADominantPathData::OnDataCountChanged(int oldCount)
{
    CZuFuncElement::OnDataCountChanged(oldCount);
    Allocate();
}

CHSEAPath* CHSEADominantPathData::GetPath(int band, int path) const
{
    if (band < 0 || band >= static_cast<int>(m_paths.size()) || path < 0 ||
        path >= static_cast<int>(m_paths[static_cast<size_t>(band)].size()))
        return nullptr;
    return m_paths[static_cast<size_t>(band)][static_cast<size_t>(path)].get();
}

void CHSEADominantPathData::AddPathStep(int band, int path, const std::string& name, double value)
{
    if (CHSEAPath* p = GetPath(band, path))
        p->AddStep(name, value);
}

int CHSEADominantPathData::GetPathStepCount(int band, int path) const
{
    CHSEAPath* p = GetPath(band, path);
    return p ? p->GetCount() : 0;
}

std::string CHSEADominantPathData::GetPathStepName(int band, int path, int step) const
{
    CHSEAPath* p = GetPath(band, path);
    const std::string* name = p ? p->GetName(step) : nullptr;
    return name ? *name : std::string();
}

double CHSEADominantPathData::GetPathStepValue(int band, int path, int step) const
{
    CHSEAPath* p = GetPath(band, path);
    const double* value = p ? p->GetValue(step) : nullptr;
    return value ? *value : 0.0;
}

std::string CHSEADominantPathData::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    if (row == 0 && col > 0 && index >= 0 && index < GetDataCount())
        return Format(TranslateText("Step %d").c_str(), col);
    return GetTableCellData(row, col, index, numberFormat);
}

std::string CHSEADominantPathData::GetTableCellData(int row, int col, int index, int numberFormat)
{
    if (index < 0 || index >= GetDataCount())
        return {};
    if (row == 0)
        return col == 0 ? CGfxUtil::GetManipulatedFrequencyString(DataIndex(index)) : Format("Step %d", col);
    if (col == 0)
        return Format("%d", row);
    const int path = row - 1, step = col - 1;
    if (step >= GetPathStepCount(index, path))
        return {};
    // The power that flows from the step into the one before it (the target for the first), in
    // watts as the power contributions show theirs.
    return GetPathStepName(index, path, step) + " (" +
           CGfxUtil::SciFormat(GetPathStepValue(index, path, step), numberFormat) + " W)";
}

int CHSEADominantPathData::GetTableRowCount(int)
{
    return static_cast<int>(m_k) + 1;
}

int CHSEADominantPathData::GetTableColCount(int index)
{
    int steps = 0;
    for (uint32_t p = 0; p < m_k; ++p)
        steps = std::max(steps, GetPathStepCount(index, static_cast<int>(p)));
    return steps + 1;
}

std::string CHSEADominantPathData::GetFreqIndicator(int index)
{
    return index >= 0 && index < GetDataCount() ? CGfxUtil::GetManipulatedFrequencyString(DataIndex(index))
                                                : std::string();
}

void CHSEADominantPathData::Serialize(CArchive& ar)
{
    CZuFuncElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_target << m_k;
        for (const auto& band : m_paths)
            for (const auto& p : band)
                ar.WriteObject(p.get());
        return;
    }
    ar >> m_target;
    const int bands = GetDataCount();
    // Every path is at least an object tag and a step count.
    uint32_t k = 0;
    ar >> k;
    if (bands > 0 && k > ar.BytesRemaining() / (static_cast<uint64_t>(bands) * 6))
        CArchive::Throw(CArchiveException::endOfFile,
                        Format("dominant paths: %u paths per band need more than the bytes left", k));
    m_paths.clear();
    m_k = k;
    m_paths.resize(static_cast<size_t>(bands));
    for (auto& band : m_paths) {
        band.resize(k);
        for (auto& p : band) {
            p = ar.ReadOwned<CHSEAPath>();
            if (!p)
                p = std::make_unique<CHSEAPath>();
        }
    }
}
