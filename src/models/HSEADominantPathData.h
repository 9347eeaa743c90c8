#pragma once
// The dominant paths into one target subsystem: per band K paths (CHSEAPath), each the chain from
// the strongest contributors to the target back towards the sources. The band axis is the data
// index. Every look-up is checked: a band, path or step outside gives 0, null or an empty name.
//
// Table: one table per band; row 0 the header (the band frequency, "Step 1", ...), then one row
// per path with "name (power W)" cells.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/ZuFuncElement.h"

class CHSEAPath;

class CHSEADominantPathData : public CZuFuncElement
{
    DECLARE_SERIAL(CHSEADominantPathData)
public:
    CHSEADominantPathData();
    // Named by string 7023 with the target; every path empty.
    CHSEADominantPathData(const std::string& target, int bandCount, uint32_t pathsPerBand);
    ~CHSEADominantPathData() override;

    const std::string& GetTarget() const { return m_target; }
    uint32_t GetPathCount() const { return m_k; }
    CHSEAPath* GetPath(int band, int path) const;

    // Appends a step; nothing when band or path is outside.
    void AddPathStep(int band, int path, const std::string& name, double value);
    int GetPathStepCount(int band, int path) const;
    // Empty past the end.
    std::string GetPathStepName(int band, int path, int step) const;
    // 0.0 past the end.
    double GetPathStepValue(int band, int path, int step) const;

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    // The steps' headings in the language loaded; the steps name subsystems, shown as they are.
    std::string GetShownTableCell(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override { return GetDataCount(); }
    std::string GetFreqIndicator(int index) override;

    // The function element part, target, K, then band by band, path by path the path objects.
    void Serialize(CArchive& ar) override;

protected:
    void OnDataCountChanged(int oldCount) override;

private:
    void Allocate();
    std::vector<std::vector<std::unique_ptr<CHSEAPath>>> m_paths; // [band][path]
    uint32_t m_k = 0;
    std::string m_target;
};
