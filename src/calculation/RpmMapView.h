#pragma once
// A read-only view of a result over engine speed as RPM rows by frequency points, whichever form
// the calculation left it in: a spectrum map (vibration level) or an RPM-selected table whose
// entries are one function per RPM (SPL). Every access is bounds-checked.
#include <string>

class CMElement;
class CZuFuncElement;
class CZuRpmFunc;
class CZuRpmSelFunc;

class CRpmMapView
{
public:
    // A view of nothing when the element is neither form.
    explicit CRpmMapView(const CMElement* element);

    bool IsValid() const { return m_map || m_sel; }
    int GetRpmCount() const;
    double GetRpm(int row) const;
    // Row of the first RPM equal to rpm exactly; -1 when none.
    int FindRpmIndex(double rpm) const;
    // Frequency points of the first row.
    int GetFreqCount() const;
    double GetFreq(int point) const;
    // The value at (row, point); false outside the map.
    bool Value(int row, int point, double& value) const;
    // The label: the subsystem the result is of.
    std::string GetLabel() const;

private:
    const CZuFuncElement* Row(int row) const;

    const CZuRpmFunc* m_map = nullptr;
    const CZuRpmSelFunc* m_sel = nullptr;
};
