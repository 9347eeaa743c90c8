#pragma once
// The header of one dataset 58 (function at a node) of a universal file: the five ID lines, the
// creation time of ID line 3, and records 6 to 11 (DOF identification, data form and the four
// axes' data characteristics). The values stay in the file.
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "uff/UFIndex.h"

class CUF58Index : public CUFIndex
{
    DECLARE_SERIAL(CUF58Index)

public:
    static constexpr int kDataset = 58;
    // Ordinate data types of record 7 that the value readers read.
    static constexpr int kRealSingle = 2;
    static constexpr int kComplexSingle = 5;

    CUF58Index() : CUFIndex(kDataset) {}

    // Reads records 1 to 11; 0 when a line is missing, ID line 3 is not a date or a record does
    // not read.
    int ReadHeader(CUFLineReader& file) override;

    const std::string& GetIDLine(int i) const { return m_strIDLine.at(static_cast<size_t>(i)); }
    int32_t GetCreated() const { return m_tCreated; }
    int GetFuncType() const { return m_nFuncType; }
    const std::string& GetRespEntity() const { return m_strRespEntity; }
    int GetRespNode() const { return m_nRespNode; }
    int GetRespDir() const { return m_nRespDir; }
    const std::string& GetRefEntity() const { return m_strRefEntity; }
    int GetRefNode() const { return m_nRefNode; }
    int GetRefDir() const { return m_nRefDir; }
    int GetOrdDataType() const { return m_nOrdDataType; }
    int GetNumValues() const { return m_nNumValues; }
    int GetEvenSpacing() const { return m_nEvenSpacing; }
    double GetAbscIncrement() const { return m_dAbscIncrement; }
    double GetAbscMin() const { return m_dAbscMin; }
    double GetZValue() const { return m_dZValue; }
    int GetAxisDataType(int i) const { return m_nAxisDataType.at(static_cast<size_t>(i)); }
    const std::string& GetAxisLabel(int i) const { return m_strAxisLabel.at(static_cast<size_t>(i)); }
    const std::string& GetAxisUnits(int i) const { return m_strAxisUnits.at(static_cast<size_t>(i)); }

    // The text the import shows when a header does not read: "Filed to make a UF index data."
    // with the five ID lines, then the file and the position of the dataset.
    std::string MakeErrorText() const;

    void Serialize(CArchive& ar) override;

protected:
    // Record 6 by words, or by its columns when a name holds a blank; false when neither reads.
    bool ReadRecord6(std::string_view line);
    bool ReadRecord7(std::string_view line);
    bool ReadAxisRecord(int i, std::string_view line);

    std::array<std::string, 5> m_strIDLine;
    int32_t m_tCreated = 0;
    int32_t m_nFuncType = -1;
    std::string m_strRespEntity;
    int32_t m_nRespNode = -1;
    int32_t m_nRespDir = 0;
    std::string m_strRefEntity;
    int32_t m_nRefNode = -1;
    int32_t m_nRefDir = 0;
    int32_t m_nOrdDataType = -1;
    int32_t m_nNumValues = 0;
    int32_t m_nEvenSpacing = 1;
    double m_dAbscIncrement = 0.0;
    double m_dAbscMin = 0.0;
    double m_dZValue = 0.0;
    std::array<int32_t, 4> m_nAxisDataType{-1, -1, -1, -1};
    std::array<std::string, 4> m_strAxisLabel;
    std::array<std::string, 4> m_strAxisUnits;
};

// A date and time of an ID line 3: month/day/year ("1/15/2024 10:30:00", two-digit years 00-29
// are 20xx and 30-99 19xx), year-month-day with a four-digit year, and the forms with a month name
// ("15-Jan-24 10:30:00", "January 15, 2024", "15 Jan 2024"); the time of day is optional
// ("HH:MM[:SS]", with AM or PM). False for anything else. The fields are those of std::tm.
bool ParseUFDateTime(std::string_view text, std::tm& out);
