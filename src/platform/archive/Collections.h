#pragma once
// The collection layouts of the class library, as our persistent classes store them:
//   arrays of plain values (double, float, DWORD, WORD, BYTE arrays): count, then the values'
//     bytes, little-endian, with nothing between them;
//   string arrays and string lists: count, then each string with its length prefix;
//   object arrays and object lists: count, then one object record each (null records allowed).
// A list stores exactly as an array of the same items does, so these serve both.
//
// Loading reads into a fresh vector that replaces the caller's only when every item was read, and
// checks the count against the bytes left before anything is allocated.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/archive/Archive.h"

namespace archive_detail {
inline uint32_t CountOf(size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max())
        CArchive::Throw(CArchiveException::genericException, "Too many items for one archive count");
    return static_cast<uint32_t>(size);
}
} // namespace archive_detail

namespace archive_detail {
template <class T>
constexpr void CheckPlainValue()
{
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>, "plain numbers only; pick a width for flags");
    static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8, "fixed-width values only");
}
} // namespace archive_detail

// The values' bytes alone, for layouts that store their count apart (in a width of their own, or
// derived from other fields).
template <class T>
void WriteValues(CArchive& ar, const std::vector<T>& values)
{
    archive_detail::CheckPlainValue<T>();
    ar.Write(values.data(), values.size() * sizeof(T)); // the machines we run on are little-endian
}

// Reads exactly count values into a fresh vector. A count beyond the bytes left is refused before
// anything is allocated; the comparison is by division, so no forged count can wrap round.
template <class T>
std::vector<T> ReadValues(CArchive& ar, uint64_t count)
{
    archive_detail::CheckPlainValue<T>();
    if (count > ar.BytesRemaining() / sizeof(T))
        CArchive::Throw(CArchiveException::endOfFile, "Count " + std::to_string(count) + " at byte " +
                                                          std::to_string(ar.Position()) + " needs more than the " +
                                                          std::to_string(ar.BytesRemaining()) + " bytes left");
    std::vector<T> read(static_cast<size_t>(count));
    ar.Read(read.data(), read.size() * sizeof(T));
    return read;
}

template <class T>
void SerializeValues(CArchive& ar, std::vector<T>& values)
{
    if (ar.IsStoring()) {
        ar.WriteCount(archive_detail::CountOf(values.size()));
        WriteValues(ar, values);
        return;
    }
    values = ReadValues<T>(ar, ar.ReadCount(sizeof(T)));
}

inline void SerializeStrings(CArchive& ar, std::vector<std::string>& strings)
{
    if (ar.IsStoring()) {
        ar.WriteCount(archive_detail::CountOf(strings.size()));
        for (const std::string& s : strings)
            ar << s;
        return;
    }
    const uint32_t n = ar.ReadCount(1); // each string takes at least its length byte
    std::vector<std::string> read;
    read.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        read.push_back(ar.ReadStringValue());
    strings = std::move(read);
}

// Objects owned by the collection: each record must create its object (a reference to an object
// read before is refused, as it would be owned twice). Items must be of class T or derived.
template <class T>
void SerializeObjects(CArchive& ar, std::vector<std::unique_ptr<T>>& objects)
{
    if (ar.IsStoring()) {
        ar.WriteCount(archive_detail::CountOf(objects.size()));
        for (const auto& o : objects)
            ar.WriteObject(o.get());
        return;
    }
    const uint32_t n = ar.ReadCount(2); // each record takes at least its tag word
    std::vector<std::unique_ptr<T>> read;
    read.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        read.push_back(ar.ReadOwned<T>());
    objects = std::move(read);
}
