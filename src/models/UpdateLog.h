#pragma once
// An ordered list of model updates. Each record names a subsystem pair (or one subsystem), an
// update type, a band and the value before and after the update. The hybrid SEA model applies a
// log record by record; the input-power revision builds logs too.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/ArchiveTime.h"
#include "platform/archive/Object.h"

struct tagUPDATE
{
    std::string m_name1;   // first subsystem
    std::string m_name2;   // second subsystem (empty for a one-subsystem update)
    uint32_t m_type = 0;   // update type; the hybrid SEA model knows 0 to 7
    int32_t m_band = 0;    // band index
    double m_oldValue = 0; // filled in when the update is applied
    double m_newValue = 0;
};

class CUpdateLog : public CObject
{
    DECLARE_SERIAL(CUpdateLog)
public:
    CUpdateLog();
    ~CUpdateLog() override;
    CUpdateLog(const CUpdateLog&) = delete;
    CUpdateLog& operator=(const CUpdateLog&) = delete;

    void Serialize(CArchive& ar) override;

    int GetCount() const { return static_cast<int>(m_records.size()); }
    // The record at index, or null when the index is not below the count.
    tagUPDATE* GetAt(int index) const;
    // Appends a record (owned by the log from now on) and returns it.
    tagUPDATE* Add(std::unique_ptr<tagUPDATE> record);
    tagUPDATE* Add(const std::string& name1, const std::string& name2, uint32_t type, int32_t band, double newValue);
    // Destroys the record at index; later records move down by one. Other indices do nothing.
    void RemoveAt(int index);
    void RemoveAll();

    int32_t m_nValue = 0;
    int32_t m_time = 0; // creation time, seconds since 1970 (the class library's time, ArchiveTime)
    std::string m_text;

private:
    std::vector<std::unique_ptr<tagUPDATE>> m_records;
};
