#pragma once
// Which spectral lines (line k at k*df Hz) fall in each band of a band definition.
#include <vector>

class COctaveManager;

// One band: its centre frequency, its first spectral line (-1 when no line falls in it) and its
// number of lines.
struct tagBandInfo
{
    double dCentre = 0.0;
    int nFirstLine = -1;
    int nLineCount = 0;
};

using CBandInfoList = std::vector<tagBandInfo>;

class CBandInfoManager
{
public:
    CBandInfoManager();
    virtual ~CBandInfoManager();

    void SetLineCount(int count) { m_lineCount = count; }
    void SetDf(double df) { m_df = df; }
    // Band definition; not owned.
    void SetOctaveManager(const COctaveManager* bands) { m_bands = bands; }
    int GetLineCount() const { return m_lineCount; }
    double GetDf() const { return m_df; }
    const COctaveManager* GetOctaveManager() const { return m_bands; }

    CBandInfoList& GetBandList() { return m_list; }
    const CBandInfoList& GetBandList() const { return m_list; }

    // Rebuilds the list: one record per band, holding the lines k with lower <= k*df < upper (a
    // line on a shared edge belongs to the upper band). Returns 1, or 0 with an empty list when df
    // <= 0, the line count < 1 or there is no band definition.
    int CreateBandInfoList();
    int UpdateBandInfoList();

    // Record index of the first band with lower <= f < upper, found through its centre; -1 when
    // no band holds f or the list is not built.
    int FindBand(double f) const;
    // Index of the first record whose centre equals centre exactly; -1 when none does.
    int FindBandByCentre(double centre) const;

private:
    int m_lineCount = 0;
    double m_df = 0.0;
    const COctaveManager* m_bands = nullptr;
    CBandInfoList m_list;
};
