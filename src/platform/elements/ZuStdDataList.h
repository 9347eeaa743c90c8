#pragma once
// An owning list of named typed values. Several entries may share an id; look-ups by id give the
// first. The typed setters update the first entry of the id in place, or append a new one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Object.h"
#include "platform/elements/ZuStdData.h"

class CZuStdDataList : public CObject
{
    DECLARE_SERIAL(CZuStdDataList)
public:
    CZuStdDataList() = default;
    CZuStdDataList(const CZuStdDataList& other);
    CZuStdDataList& operator=(const CZuStdDataList& other);
    ~CZuStdDataList() override = default;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Entry i; null for an index outside the list.
    CZuStdData* GetAt(int i) const;
    // First entry of the id; null when none.
    CZuStdData* GetData(int id) const;
    // Index of the first entry of the id at or after start; -1 when none.
    int FindIndex(int id, int start = 0) const;

    // Appends an entry (owned); returns it.
    CZuStdData* Add(std::unique_ptr<CZuStdData> data);
    CZuStdData* Add(CZuStdData* data); // takes ownership
    // Removes (and destroys) entry i; 0 for an index outside the list.
    int RemoveAt(int i);
    // Destroys every entry.
    void DeleteAll() { m_items.clear(); }

    // Typed access by id. A setter replaces an entry of another kind with the same id.
    void SetString(int id, const std::string& value);
    void SetInt(int id, int32_t value);
    void SetLong(int id, int64_t value);
    std::string GetString(int id, const std::string& fallback = {}) const;
    int32_t GetInt(int id, int32_t fallback = 0) const;
    int64_t GetLong(int id, int64_t fallback = 0) const;

    // Version byte, count, each entry as an object (see docs/file-formats.md). Loading appends to
    // what the list holds; callers empty it first.
    void Serialize(CArchive& ar) override;

private:
    template <class T>
    T* SetTyped(int id);
    std::vector<std::unique_ptr<CZuStdData>> m_items;
};
