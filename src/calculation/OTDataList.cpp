#include "calculation/OTDataList.h"

#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuRpmSelFunc.h"

COTData* COTDataList::Add(std::unique_ptr<COTData> row)
{
    if (!row)
        return nullptr;
    m_rows.push_back(std::move(row));
    return m_rows.back().get();
}

COTData* COTDataList::GetAt(int i) const
{
    return i >= 0 && i < GetSize() ? m_rows[static_cast<size_t>(i)].get() : nullptr;
}

void COTDataList::WriteBlock(CStdioFile& file) const
{
    if (m_rows.empty())
        return;
    const COTData& first = *m_rows.front();
    std::string line =
        Format("TYPE:%d, ORDER:%d", static_cast<int>(first.GetType()), static_cast<int>(first.GetOrderIndex()));
    for (const auto& row : m_rows)
        line += Format("\t%s", row->GetName().c_str());
    file.WriteString(line + "\n");
    const CZuRpmSelFunc* source = first.GetSource();
    for (int r = 0; source && r < source->GetRpmCount(); ++r) {
        line = Format("%g", source->GetRpm(r));
        for (const auto& row : m_rows)
            line += Format("\t%.2f", row->GetValue(r));
        file.WriteString(line + "\n");
    }
    file.WriteString("\n");
}
