#pragma once
// What the two keyed result sets (results by RPM, results by order) share: the names of their
// functions, their (key, result) records and how those records are stored.
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuData.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace keyed_results {

// A name string of the language module used as a format with one name.
inline std::string NameOf(uint32_t id, const char* fallback, const std::string& subsystem)
{
    std::string format;
    if (!LoadString(id, format) || format.empty())
        format = fallback;
    return Format(format.c_str(), subsystem.c_str());
}

// Appends a record owned by the set; its index, or -1 for a null result.
template <class Records, class Result>
int Add(CMElement* set, Records& records, double key, std::unique_ptr<Result> result)
{
    if (!result)
        return -1;
    result->SetParent(set);
    records.push_back({key, std::move(result)});
    return static_cast<int>(records.size()) - 1;
}

template <class Records>
double KeyAt(const Records& records, int i)
{
    return i >= 0 && i < static_cast<int>(records.size()) ? records[static_cast<size_t>(i)].key : 0.0;
}

template <class Records>
auto ResultAt(const Records& records, int i) -> decltype(records[0].result.get())
{
    return i >= 0 && i < static_cast<int>(records.size()) ? records[static_cast<size_t>(i)].result.get() : nullptr;
}

// The set's own data, then its records. Reading checks the schema (setWhat names the set in the
// error), binds the power-contribution tables (PcFunc) to the set's subsystem table, which they
// do not store, and reads the band set that sets of schema 13 and 14 carry after the records.
template <class Result, class PcFunc, class Records>
void Serialize(CZuData& set, CArchive& ar, Records& records, uint32_t oldestSchema, const char* setWhat,
               const char* countWhat)
{
    if (ar.IsStoring()) {
        set.CZuData::Serialize(ar);
        ar << static_cast<int32_t>(records.size());
        for (const auto& r : records) {
            ar << r.key;
            ar.WriteObject(r.result.get());
        }
        return;
    }
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu)
        schema = 15;
    if (schema < oldestSchema)
        CArchive::ThrowBadSchema(Format("%s of schema %u", setWhat, schema));
    set.CZuData::Serialize(ar);
    // A record is at least a key and an object tag.
    const int32_t count = ar.ReadSignedCount(sizeof(double) + 2, countWhat);
    records.clear();
    for (int32_t i = 0; i < count; ++i) {
        double key = 0.0;
        ar >> key;
        std::unique_ptr<Result> result = ar.ReadOwned<Result>();
        if (result)
            result->SetParent(&set);
        records.push_back({key, std::move(result)});
    }
    for (int i = 0; i < set.GetChildCount(); ++i)
        if (auto* pc = DynamicDowncast<PcFunc>(set.GetChild(i)))
            pc->BindSubsystemTable(set.GetSubsystemTable());
    if (schema == 13 || schema == 14) {
        auto bands = std::make_unique<COctaveManagerEx>(3);
        bands->Serialize(ar);
        set.SetOctaveManager(std::move(bands));
    }
}

} // namespace keyed_results
