#pragma once
// The description of one measured data set: the two model subsystems of its experiment (name 0 the
// excitation side, name 1 the response side), a value and an integer per side, the sensor group
// measured on each side, when it was measured, eight texts, and the hardware inventory it was
// measured with.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/ArchiveTime.h"
#include "platform/archive/Object.h"

class CSensorGroup;

class CExpInfo : public CObject
{
    DECLARE_SERIAL(CExpInfo)

public:
    static constexpr uint8_t kVersion = 3;
    static constexpr uint8_t kOldestVersion = 2;
    // Counts above this in a record are a forged file.
    static constexpr int32_t kMaxEntries = 4096;
    // The class of the hardware inventory, created by name: the acquisition library that defines it
    // lies above this one.
    static constexpr const char* kInventoryClass = "CQmxBlixChMgr";

    CExpInfo();
    CExpInfo(const CExpInfo& other);
    CExpInfo& operator=(const CExpInfo& other);
    ~CExpInfo() override;

    // Names, values and integers by side (0 or 1); an index outside gives the empty value.
    int GetNameCount() const { return static_cast<int>(m_names.size()); }
    std::string GetName(int i) const;
    void SetName(int i, const std::string& name);
    double GetValue(int i) const;
    void SetValue(int i, double value);
    int GetInt(int i) const;
    void SetInt(int i, int value);
    // The sensor group of a side (owned here); null outside.
    CSensorGroup* GetSensorGroup(int i) const;
    // Replaces the group of a side by a copy of group.
    void SetSensorGroup(int i, const CSensorGroup& group);

    // Date and time in seconds since 1970, in the range the class library's time format holds
    // (ArchiveTime): what is set here is what the file keeps.
    int64_t GetTime() const { return m_time; }
    void SetTime(int64_t t) { m_time = ArchiveTime(t); }

    // The eight texts, numbered 1 to 8; text 4 is the label, text 7 the note.
    std::string GetText(int n) const;
    void SetText(int n, const std::string& s);
    std::string GetLabel() const { return GetText(4); }
    void SetLabel(const std::string& s) { SetText(4, s); }
    std::string GetNote() const { return GetText(7); }
    void SetNote(const std::string& s) { SetText(7, s); }

    // The hardware inventory (a CQmxBlixChMgr; null only when that class is not linked in).
    CObject* GetHardwareInventory() const { return m_inventory.get(); }
    // Copies the contents of an inventory into this one's.
    void SetHardwareInventory(const CObject& inventory);

    // Copies the entries of every side this record has, the time, the texts and the inventory.
    CExpInfo* Copy(const CExpInfo& other);

    void Serialize(CArchive& ar) override;

private:
    std::vector<std::string> m_names;
    std::vector<double> m_values;
    std::vector<int32_t> m_ints;
    std::vector<std::unique_ptr<CSensorGroup>> m_groups;
    int32_t m_time = 0;
    std::array<std::string, 8> m_texts;
    std::unique_ptr<CObject> m_inventory;
};

// Creates an object of a class registered by name; null when no such class is linked.
std::unique_ptr<CObject> CreateObjectByClassName(const char* name);
// Copies the stored contents of src into dst (both of one class) through an in-memory archive.
void CopyObjectContents(CObject& dst, const CObject& src);
