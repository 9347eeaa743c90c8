#pragma once
// The ratio of energies between a source and a target subsystem, per band: a target energy ratio
// of the model. The data views show it as a two-column table.
#include <string>

#include "platform/elements/ZuFunc.h"

class CEnergyRatioFunction : public CZuFunc
{
    DECLARE_SERIAL(CEnergyRatioFunction)
public:
    CEnergyRatioFunction() = default;
    CEnergyRatioFunction(const std::string& name, const std::string& source, const std::string& target, int dataCount,
                         CMElement* parent, int type);

    const std::string& GetSourceName() const { return m_source; }
    const std::string& GetTargetName() const { return m_target; }
    void SetSourceName(const std::string& name) { m_source = name; }
    void SetTargetName(const std::string& name) { m_target = name; }

    // The function's block, then one line: source, target and "%g" of each band's value.
    int Export(CStdioFile& file) override;
    // The block, then that line; a line with fewer values than bands fails (ImportError says why).
    int Import(CStdioFile& file) override;
    const std::string& GetImportError() const { return m_importError; }

    std::string GetTableCellData(int row, int col, int index, int digits) override;

    void Serialize(CArchive& ar) override;

private:
    std::string m_source;
    std::string m_target;
    std::string m_importError;
};
