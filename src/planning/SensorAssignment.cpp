#include "planning/SensorAssignment.h"

#include <algorithm>

#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuSubsystemTable.h"

IMPLEMENT_SERIAL(CSensorAssignment, CObject, CSensorAssignment::kSchema)

CSensorAssignment::CSensorAssignment(const CZuSubsystemTable* table)
{
    SetSubsystems(table);
}

void CSensorAssignment::SetSubsystems(const CZuSubsystemTable* table)
{
    if (!table || table->GetCount() == 0) {
        m_rows.clear();
        return;
    }
    for (int i = 0; i < table->GetCount(); ++i) {
        const std::string name = table->At(i);
        if (FindRow(name) < 0)
            m_rows.push_back({name, {}});
    }
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const tagSENSORASSIGN& a, const tagSENSORASSIGN& b) { return a.subsystem < b.subsystem; });
}

int CSensorAssignment::FindRow(const std::string& name) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].subsystem == name)
            return static_cast<int>(i);
    return -1;
}

std::string CSensorAssignment::GetSubsystemName(int i) const
{
    return ValidRow(i) ? m_rows[i].subsystem : std::string();
}

int CSensorAssignment::GetItemCount(int i) const
{
    return ValidRow(i) ? static_cast<int>(m_rows[i].sensors.size()) : -1;
}

void CSensorAssignment::SetItemCount(int i, int n)
{
    if (!ValidRow(i))
        return;
    if (n > 0)
        m_rows[i].sensors.resize(static_cast<size_t>(n));
    else
        m_rows[i].sensors.clear();
}

std::string CSensorAssignment::GetItem(int i, int k) const
{
    if (!ValidRow(i) || k < 0 || k >= static_cast<int>(m_rows[i].sensors.size()))
        return {};
    return m_rows[i].sensors[k];
}

void CSensorAssignment::SetItem(int i, int k, const std::string& name)
{
    if (ValidRow(i) && k >= 0 && k < static_cast<int>(m_rows[i].sensors.size()))
        m_rows[i].sensors[k] = name;
}

int CSensorAssignment::IsSensorAssigned(const std::string& name) const
{
    for (const auto& row : m_rows)
        for (const auto& s : row.sensors)
            if (s == name)
                return 1;
    return 0;
}

int CSensorAssignment::FindItem(int i, const std::string& name) const
{
    if (!ValidRow(i))
        return -1;
    for (size_t k = 0; k < m_rows[i].sensors.size(); ++k)
        if (m_rows[i].sensors[k] == name)
            return static_cast<int>(k);
    return -1;
}

int CSensorAssignment::AddRow(const std::string& name, const std::vector<std::string>& sensors)
{
    m_rows.push_back({name, sensors});
    return GetRowCount() - 1;
}

int CSensorAssignment::AddItem(int i, const std::string& item)
{
    if (!ValidRow(i))
        return -1;
    m_rows[i].sensors.push_back(item);
    return i;
}

namespace {
// Fields of an imported line are taken up to this length, as the exchange files always were.
constexpr size_t kMaxFieldLength = 255;

} // namespace

int CSensorAssignment::ExportText(const std::string& path, const std::string& tag) const
{
    try {
        CStdioFile file;
        if (!file.Open(path, CStdioFile::modeWrite))
            return 0;
        file.WriteString(Format("#@%s\n# %s\n#\n", tag.c_str(), path.c_str()));
        for (const auto& row : m_rows) {
            std::string line = row.subsystem;
            for (const auto& s : row.sensors)
                line += '\t' + s;
            file.WriteString(line + '\n');
        }
        file.Close();
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

int CSensorAssignment::ImportText(const std::string& path, const std::string&)
{
    try {
        CStdioFile file;
        if (!file.Open(path, CStdioFile::modeRead))
            return 0;
        std::string line;
        if (!file.ReadString(line))
            return 1;
        // A header line begins with "#", and one of ours brings two more; a file written by hand
        // may start with its data at once.
        bool haveLine = !line.empty() && line[0] != '#';
        if (!haveLine && line.compare(0, 2, "#@") == 0 && file.ReadString(line))
            file.ReadString(line);
        const CTabSplitter splitter = CTabSplitter().CutFieldsAt(kMaxFieldLength);
        std::vector<std::string_view> fields;
        while ((haveLine || file.ReadString(line)) && !line.empty()) {
            haveLine = false;
            splitter.Split(line, fields);
            const int row = FindRow(std::string(fields[0]));
            if (row < 0)
                continue;
            auto& sensors = m_rows[static_cast<size_t>(row)].sensors;
            sensors.clear();
            for (size_t k = 1; k < fields.size(); ++k)
                if (!fields[k].empty())
                    sensors.emplace_back(fields[k]);
        }
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

void CSensorAssignment::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_rows.size());
        for (const auto& row : m_rows) {
            ar << row.subsystem;
            ar.WriteCount(static_cast<uint32_t>(row.sensors.size()));
            for (const auto& s : row.sensors)
                ar << s;
        }
        return;
    }
    // A row takes at least its empty name and its empty count.
    const int32_t count = ar.ReadSignedCount(3, "rows in a sensor assignment");
    m_rows.assign(static_cast<size_t>(count), tagSENSORASSIGN());
    for (auto& row : m_rows) {
        ar >> row.subsystem;
        const uint32_t n = ar.ReadCount(1);
        row.sensors.assign(n, std::string());
        for (auto& s : row.sensors)
            ar >> s;
    }
}
