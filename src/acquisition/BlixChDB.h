#pragma once
// Which sensor of which subsystem is wired to which channel of which Blix unit (known by its
// serial number). Filled by the channel-assignment import, stored with the project.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CBlixChDB : public CObject
{
    DECLARE_SERIAL(CBlixChDB)

public:
    class CItem : public CObject
    {
    public:
        void SetSubsystem(const std::string& s) { m_subsystem = s; }
        void SetBlixSN(const std::string& s) { m_blixSN = s; }
        void SetBlixCh(uint8_t ch) { m_blixCh = ch; }
        void SetSensor(const std::string& s) { m_sensor = s; }
        const std::string& GetSubsystem() const { return m_subsystem; }
        const std::string& GetBlixSN() const { return m_blixSN; }
        uint8_t GetBlixCh() const { return m_blixCh; }
        const std::string& GetSensor() const { return m_sensor; }

        void Serialize(CArchive& ar) override;
        // Orders by subsystem, serial number, channel, sensor.
        bool OrdersBefore(const CItem& other) const;

    private:
        std::string m_subsystem;
        std::string m_blixSN;
        uint8_t m_blixCh = 255; // no channel chosen yet
        std::string m_sensor;
    };

    class CItemList
    {
    public:
        int GetSize() const { return static_cast<int>(m_items.size()); }
        CItem* GetAt(int i) const { return i >= 0 && i < GetSize() ? m_items[i].get() : nullptr; }
        CItem* Add(std::unique_ptr<CItem> item);
        // Append the matching entries (still owned by the list) and return the result's count.
        int FindBySubsystem(const std::string& subsystem, std::vector<CItem*>& result) const;
        int FindByBlixSN(const std::string& sn, std::vector<CItem*>& result) const;
        int FindByBlixCh(uint8_t ch, std::vector<CItem*>& result) const;
        void Sort();
        void DeleteAll() { m_items.clear(); }

    private:
        std::vector<std::unique_ptr<CItem>> m_items;
    };

    CBlixChDB();
    ~CBlixChDB() override;

    CItemList* GetItemList() { return m_list.get(); }
    const CItemList* GetItemList() const { return m_list.get(); }
    void Sort() { m_list->Sort(); }
    // Exchanges the entries of two databases.
    void Swap(CBlixChDB& other) { m_list.swap(other.m_list); }
    void Serialize(CArchive& ar) override;

private:
    std::unique_ptr<CItemList> m_list;
};
