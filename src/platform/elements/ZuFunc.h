#pragma once
// A function over frequency: one value per band or line, with a unit for its tables.
// Table: rows are the data points (column 0 the frequency, column 1 the value); one table index.
#include <string>
#include <vector>

#include "platform/elements/ZuFuncElement.h"

class CZuFunc : public CZuFuncElement
{
    DECLARE_SERIAL(CZuFunc)
public:
    CZuFunc();
    CZuFunc(const std::string& name, int dataCount, CMElement* parent, int type);
    ~CZuFunc() override;

    // Value of data point i (writable).
    double& DataValue(int i) { return m_values.at(static_cast<size_t>(i)); }
    double DataValue(int i) const { return m_values.at(static_cast<size_t>(i)); }
    const std::vector<double>& GetValueArray() const { return m_values; }

    const std::string& GetUnit() const { return m_unit; }
    void SetUnit(const std::string& unit) { m_unit = unit; }

    // Copies data index, values and unit of another function (name, type and tree stay).
    void Assign(const CZuFunc& other);
    CZuFunc& operator=(const CZuFunc& other)
    {
        Assign(other);
        return *this;
    }

    void Empty() override;

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;

    // Version byte, the function element part, unit, values.
    void Serialize(CArchive& ar) override;

protected:
    void OnDataCountChanged(int oldCount) override;
    const char* TextTag() const override { return "ZuFunc"; }
    void ExportBody(CStdioFile& file) override;
    bool ImportBody(const std::vector<std::string>& lines, int dataCount) override;

private:
    std::string m_unit;
    std::vector<double> m_values;
};
