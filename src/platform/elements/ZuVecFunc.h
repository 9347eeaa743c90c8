#pragma once
// One function per subsystem: for every data point (band) one value per subsystem of its table.
// The function keeps its own copy of the subsystem names; binding it to another table keeps the
// values of the subsystems both tables name and starts the others at 0.0.
// Table: rows are the data points (column 0 the frequency), one column per subsystem.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/elements/ZuFuncElement.h"
#include "platform/elements/ZuSubsystemTable.h"

class CZuVecFunc : public CZuFuncElement
{
    DECLARE_SERIAL(CZuVecFunc)
public:
    CZuVecFunc();
    CZuVecFunc(const std::string& name, const CZuSubsystemTable* table, int dataCount, CMElement* parent, int type);
    ~CZuVecFunc() override;

    // Value of subsystem k at data point i (writable).
    double& DataValue(int i, int k);
    double DataValue(int i, int k) const;
    // Every value, point-major: value (i, k) at [i * GetSubsystemCount() + k]. For the loops over
    // many values that check their ranges once.
    double* ValueData() { return m_values.data(); }
    const double* ValueData() const { return m_values.data(); }

    int GetSubsystemCount() const override { return m_table.GetCount(); }
    std::string GetSubsystem(int k) const override;
    int GetIndex(const std::string& name) const override { return m_table.GetIndex(name); }
    const CZuSubsystemTable& GetSubsystemTable() const { return m_table; }
    // Binds the function to another table (null: an empty one), keeping values by name.
    void SetSubsystemTable(const CZuSubsystemTable* table);

    // Copies data index, subsystems and values of another function (name, type and tree stay).
    void Assign(const CZuVecFunc& other);
    CZuVecFunc& operator=(const CZuVecFunc& other)
    {
        Assign(other);
        return *this;
    }

    void Empty() override;

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;

    // Version byte, the function element part, subsystem table, values (points x subsystems).
    void Serialize(CArchive& ar) override;

protected:
    // For the functions over a fixed set of subsystems (coupling, damping, power): the function
    // starts bound to a table of just these names.
    CZuVecFunc(const std::string& name, std::vector<std::string> subsystems, int dataCount, CMElement* parent,
               int type);
    // Their own version byte (up to `version`; `what` names the function in the error), then the
    // vector function part.
    void SerializeVersioned(CArchive& ar, uint8_t version, const char* what);

    void OnDataCountChanged(int oldCount) override;
    const char* TextTag() const override { return "ZuVecFunc"; }
    void ExportBody(CStdioFile& file) override;
    bool ImportBody(const std::vector<std::string>& lines, int dataCount) override;

private:
    size_t Offset(int i, int k) const;
    CZuSubsystemTable m_table;
    std::vector<double> m_values; // point-major: [i * subsystems + k]
};
