#pragma once
// The numbers of the structure/acoustic SPL comparison by single input power, without a window:
// from the target's SPL per input subsystem (dB, HUGE_VAL for none) the energetic sums of the
// structure inputs ("ST"), of the acoustic inputs ("AC") and of all of them ("All"), over
// frequency at one RPM or over RPM at one band.
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

class CZuRpmMultiVecFunc;

class CStAcSplBySingleIPData
{
public:
    struct CDataStruct
    {
        std::vector<double> values;           // dB along the current axis; HUGE_VAL none
        std::vector<std::vector<double>> map; // [rpm][band] dB; HUGE_VAL none
        std::string name;
        std::string key; // "ST", "AC" or "All"
        int shown = 1;
        int style = 0;
        COLORREF baseColor = 0;
        COLORREF drawnColor = 0;
    };
    using KindTest = std::function<bool(const std::string& name)>;

    // Rows "Structure", "Acoustic" and "O.A."; an input that is neither a structure nor acoustic
    // counts only into "O.A.". A group without members keeps its row, every value HUGE_VAL.
    void SetTable(const CZuRpmMultiVecFunc* spl, const KindTest& isStructure, const KindTest& isAcoustic);

    int GetRpmCount() const { return static_cast<int>(m_rpms.size()); }
    int GetBandCount() const { return static_cast<int>(m_freqs.size()); }
    const std::vector<double>& GetX(int axis) const { return axis == 1 ? m_rpms : m_freqs; }
    int GetPositionCount(int axis) const { return axis == 1 ? GetBandCount() : GetRpmCount(); }

    void Compute(int axis, int position);
    int GetAxis() const { return m_axis; }
    int GetPosition() const { return m_position; }
    const std::vector<CDataStruct>& Rows() const { return m_rows; }
    // -1: none; a selected row greys the others.
    void SelectRow(int row);
    int GetSelectedRow() const { return m_selected; }

private:
    std::vector<double> m_rpms, m_freqs;
    std::vector<CDataStruct> m_rows;
    int m_axis = 0, m_position = 0, m_selected = -1;
};
