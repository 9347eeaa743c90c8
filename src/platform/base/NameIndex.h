#pragma once
// An index of names that are kept elsewhere, by their position there (a list of subsystems, the
// children of a set): readers of large files look names up once per row, and a node per name
// (as a hash set of strings keeps) costs an allocation and several cache misses per look-up once
// the names outgrow the processor's caches. This index is one flat table of short slots, probed
// in a row, holding a part of each name's hash and its position; the name itself is read only
// when those match.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

// NameAt: callable (std::size_t position) -> std::string_view, the name kept at a position.
template <class NameAt>
class CNameIndex
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // expected: about how many names will be added, so that a large read does not regrow.
    explicit CNameIndex(NameAt nameAt, std::size_t expected = 0) : m_nameAt(std::move(nameAt)) { Grow(expected); }

    std::size_t GetCount() const { return m_count; }

    // The position of name, or npos.
    std::size_t Find(std::string_view name) const
    {
        const uint32_t hash = HashOf(name);
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const Slot& slot = m_slots[i];
            if (slot.position == kEmpty)
                return npos;
            if (slot.hash == hash && m_nameAt(slot.position) == name)
                return slot.position;
        }
    }

    // Adds name at position unless the index holds it already; returns the position the index
    // holds for it and whether it was added. Positions must be below 2^32 - 1.
    std::pair<std::size_t, bool> Insert(std::string_view name, std::size_t position)
    {
        if (2 * (m_count + 1) > m_slots.size())
            Grow(m_count + 1);
        const uint32_t hash = HashOf(name);
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            Slot& slot = m_slots[i];
            if (slot.position == kEmpty) {
                slot = Slot{hash, static_cast<uint32_t>(position)};
                ++m_count;
                return {position, true};
            }
            if (slot.hash == hash && m_nameAt(slot.position) == name)
                return {slot.position, false};
        }
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    struct Slot
    {
        uint32_t hash = 0;
        uint32_t position = kEmpty;
    };

    static uint32_t HashOf(std::string_view name)
    {
        const std::size_t h = std::hash<std::string_view>{}(name);
        return static_cast<uint32_t>(h ^ (h >> 32));
    }

    // Sizes the table for at least count names at half load, placing the names held again.
    void Grow(std::size_t count)
    {
        std::size_t size = 16;
        while (size < 2 * count)
            size *= 2;
        if (size <= m_slots.size())
            return;
        std::vector<Slot> old(size);
        old.swap(m_slots);
        m_mask = size - 1;
        for (const Slot& slot : old) {
            if (slot.position == kEmpty)
                continue;
            std::size_t i = slot.hash & m_mask;
            while (m_slots[i].position != kEmpty)
                i = (i + 1) & m_mask;
            m_slots[i] = slot;
        }
    }

    NameAt m_nameAt;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_count = 0;
};
