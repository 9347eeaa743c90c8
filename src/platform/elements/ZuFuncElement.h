#pragma once
// The common base of the function elements: a data index (the axis value of every data point:
// a band's centre frequency, a line's frequency) and the subsystem look-up that the functions over
// subsystems answer. Values belong to the derived classes.
//
// Indices are checked: an index outside the data throws std::out_of_range rather than touching
// memory that is not there.
#include <string>
#include <vector>

#include "platform/elements/ZuTableData.h"

class CStdioFile;

class CZuFuncElement : public CZuTableData
{
    DECLARE_SERIAL(CZuFuncElement)
public:
    CZuFuncElement();
    CZuFuncElement(const std::string& name, int dataCount, CMElement* parent, int type);
    ~CZuFuncElement() override;

    int GetDataCount() const { return static_cast<int>(m_index.size()); }
    // Axis value of data point i (writable).
    double& DataIndex(int i) { return m_index.at(static_cast<size_t>(i)); }
    double DataIndex(int i) const { return m_index.at(static_cast<size_t>(i)); }
    const std::vector<double>& GetDataIndexArray() const { return m_index; }
    // Sets every data index from an array (its size becomes the data count).
    void SetDataIndexArray(const std::vector<double>& index);
    // Changes the data count; new points get index 0.0 and values 0.0, values of kept points stay.
    void SetDataCount(int count);

    // Subsystems the values are kept for (none for a plain function).
    virtual int GetSubsystemCount() const { return 0; }
    virtual std::string GetSubsystem(int i) const;
    // Index of a subsystem by name; -1 when absent.
    virtual int GetIndex(const std::string& name) const;

    // Sets every value to 0.0 (the data index stays).
    virtual void Empty() {}

    // Text form of the function (layout in docs/file-formats.md): Export writes one block, Import
    // reads the next block into this function (name, data count, subsystems, values). 1 on
    // success; 0 when the block is missing, of another kind or malformed (the function is then
    // unchanged).
    virtual int Export(CStdioFile& file);
    virtual int Import(CStdioFile& file);

    // Version byte, the table part, the data index.
    void Serialize(CArchive& ar) override;

protected:
    // Called after the data count changed (derived classes size their values).
    virtual void OnDataCountChanged(int oldCount);
    // The tag of the block's first line ("ZuFunc", "ZuVecFunc", ...).
    virtual const char* TextTag() const { return "ZuFuncElement"; }
    // The derived part of the text block: ExportBody writes its lines; ImportBody gets the block's
    // lines between the data index line and the end line, and applies them only when all parse
    // (dataCount is the block's data count).
    virtual void ExportBody(CStdioFile& file);
    virtual bool ImportBody(const std::vector<std::string>& lines, int dataCount);

    // Formats a cell value with decimals; values too small for them are shown in scientific form.
    static std::string FormatCellValue(double value, int decimals);

    std::vector<double> m_index;
};
