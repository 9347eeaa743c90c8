#pragma once
// The description of a data set made from a universal file: an experiment description that also
// holds the index record of the dataset it was made from. Its label is "[External DAQ data]"
// followed by the universal file's path.
#include <string>

#include "experiments/ExpInfo.h"
#include "uff/DAQPPUFIndex.h"

class CUFExpInfo : public CExpInfo
{
    DECLARE_SERIAL(CUFExpInfo)

public:
    static constexpr uint8_t kVersion = 1;
    static constexpr const char* kLabelPrefix = "[External DAQ data]";

    CUFExpInfo() = default;
    CUFExpInfo(const CUFExpInfo& other);
    CUFExpInfo& operator=(const CUFExpInfo& other);
    ~CUFExpInfo() override;

    CDAQPPUFIndex& GetIndex() { return m_index; }
    const CDAQPPUFIndex& GetIndex() const { return m_index; }
    // Sets the label to "[External DAQ data]" and the path.
    void SetUFFile(const std::string& path) { SetLabel(kLabelPrefix + path); }
    // The last path component of the label after its prefix; empty for a label without it.
    std::string GetUFFileName() const { return UFFileNameOf(GetLabel()); }
    static std::string UFFileNameOf(const std::string& label);

    void Serialize(CArchive& ar) override;

private:
    CDAQPPUFIndex m_index;
};
