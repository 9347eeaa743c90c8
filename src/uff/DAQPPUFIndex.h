#pragma once
// The index record of a dataset 58 together with what this system reads out of its free-text ID
// lines: the point (subsystem and local point) the dataset belongs to, the point before a slash
// for a transfer between two points, and the dataset's unique identifier.
#include <cstdint>
#include <string>
#include <string_view>

#include "uff/UF58Index.h"

class CDAQPPUFIndex : public CUF58Index
{
    DECLARE_SERIAL(CDAQPPUFIndex)

public:
    CDAQPPUFIndex() = default;
    CDAQPPUFIndex(const CDAQPPUFIndex& other) : CUF58Index() { *this = other; }
    // Copies everything but the dataset type and the five ID lines, which keep their values.
    CDAQPPUFIndex& operator=(const CDAQPPUFIndex& other);

    int ReadHeader(CUFLineReader& file) override;

    const std::string& GetUID() const { return m_strUID; }
    // The point after the slash of ID line 1 (or the only point).
    const std::string& GetSubsystem() const { return m_strSubsystem; }
    int GetLP() const { return m_nLP; }
    // The point before the slash (or the only point).
    const std::string& GetSubsystem2() const { return m_strSubsystem2; }
    // The point the import found for the dataset (through the node map).
    void SetPoint(const std::string& subsystem, int lp)
    {
        m_strSubsystem = subsystem;
        m_nLP = lp;
    }
    int GetLP2() const { return m_nLP2; }

    // A point text ("Roof_12", "A:Roof:3", "Roof") as subsystem name and 0-based local point
    // (-1 without a number).
    static void SplitPoint(std::string_view text, std::string& subsystem, int& lp);

    void Serialize(CArchive& ar) override;

private:
    std::string m_strUID;
    std::string m_strSubsystem;
    int32_t m_nLP = -1;
    std::string m_strSubsystem2;
    int32_t m_nLP2 = -1;
};
