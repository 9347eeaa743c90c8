#include "planning/DAQPPChannelTable.h"

#include <algorithm>

#include "planning/SensorAssignment.h"
#include "platform/base/LineReader.h"
#include "platform/base/TabSplitter.h"

CDAQPPChannelTable::CDAQPPChannelTable(CDAQPPExpPlan& plan, const CDAQPPExpPlanList& layout, DAQPPCellContext context)
    : m_plan(&plan), m_layout(&layout), m_context(std::move(context))
{}

const std::vector<tagCHTABLECOL>& CDAQPPChannelTable::GetColumns() const
{
    // The layout's owner and the column chooser edit the columns; the table reads them as they are.
    return m_layout->GetColumns();
}

std::vector<std::string> CDAQPPChannelTable::GetHeaderTexts() const
{
    std::vector<std::string> texts{kChannelHeading};
    for (const auto& c : GetColumns())
        texts.push_back(c.label);
    return texts;
}

std::vector<std::string> CDAQPPChannelTable::GetRowTexts(int channel) const
{
    tagDAQPP_SENSORMAP row;
    if (!m_plan->GetRow(channel, row))
        return std::vector<std::string>(static_cast<size_t>(GetColCount()));
    return m_layout->GetCellTexts(row, m_context);
}

int CDAQPPChannelTable::LocalIndex(int channel) const
{
    tagDAQPP_SENSORMAP row;
    if (!m_context.assignment || !m_plan->GetRow(channel, row) || row.sensor.empty() || row.subsystem.empty())
        return -1;
    const int r = m_context.assignment->FindRow(row.subsystem);
    return r >= 0 ? m_context.assignment->FindItem(r, row.sensor) : -1;
}

CDAQPPChannelTable::MoveResult CDAQPPChannelTable::MoveTo(const std::vector<int>& channels, int target)
{
    const int n = static_cast<int>(channels.size());
    const int count = m_plan->GetChannelCount();
    if (n == 0 || target < 0 || target >= count)
        return moveNothing;
    if (target + n > count)
        return moveDoesNotFit;
    for (int k = 0; k < n; ++k)
        m_plan->SwapRows(channels[static_cast<size_t>(k)], target + k);
    SortWithinSubsystems();
    return moveDone;
}

CDAQPPChannelTable::MoveResult CDAQPPChannelTable::MoveUp(std::vector<int>& channels)
{
    std::sort(channels.begin(), channels.end());
    if (channels.empty() || channels.front() <= 0)
        return moveNothing;
    for (int& c : channels) {
        m_plan->SwapRows(c, c - 1);
        --c;
    }
    SortWithinSubsystems();
    return moveDone;
}

CDAQPPChannelTable::MoveResult CDAQPPChannelTable::MoveDown(std::vector<int>& channels)
{
    std::sort(channels.begin(), channels.end());
    if (channels.empty() || channels.back() >= m_plan->GetChannelCount() - 1)
        return moveNothing;
    for (auto it = channels.rbegin(); it != channels.rend(); ++it) {
        m_plan->SwapRows(*it, *it + 1);
        ++*it;
    }
    SortWithinSubsystems();
    return moveDone;
}

std::vector<std::pair<int, int>> CDAQPPChannelTable::SortWithinSubsystems()
{
    const int count = m_plan->GetChannelCount();
    // The local indices move with their rows, so each is looked up once.
    std::vector<int> local(static_cast<size_t>(count));
    std::vector<tagDAQPP_SENSORMAP> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        local[static_cast<size_t>(i)] = LocalIndex(i);
        m_plan->GetRow(i, rows[static_cast<size_t>(i)]);
    }
    std::vector<std::pair<int, int>> swapped;
    for (int i = 0; i + 1 < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const auto& a = rows[static_cast<size_t>(i)];
            const auto& b = rows[static_cast<size_t>(j)];
            if (m_plan->IsRowEmpty(i) || m_plan->IsRowEmpty(j) || a.subsystem != b.subsystem)
                continue;
            if (local[static_cast<size_t>(i)] <= local[static_cast<size_t>(j)])
                continue;
            m_plan->SwapRows(i, j);
            std::swap(local[static_cast<size_t>(i)], local[static_cast<size_t>(j)]);
            std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(j)]);
            swapped.emplace_back(i, j);
        }
    return swapped;
}

std::vector<int> CDAQPPChannelTable::HandRows(CDAQPPExpPlan& from, CDAQPPExpPlan& to, const std::vector<int>& channels)
{
    std::vector<int> handed;
    for (int c : channels) {
        tagDAQPP_SENSORMAP row;
        if (!from.GetRow(c, row) || to.GetChannelCount() <= c || !to.IsRowEmpty(c))
            continue;
        to.SetSensor(c, row.sensor);
        to.SetSubsystem(c, row.subsystem);
        to.SetThirdText(c, row.thirdText);
        to.SetInputMode(c, row.inputMode);
        to.SetPointValue(c, row.pointValue);
        from.ClearRow(c);
        handed.push_back(c);
    }
    return handed;
}

std::string CDAQPPChannelTable::CopyText() const
{
    std::string text;
    auto append = [&text](const std::vector<std::string>& cells) {
        for (const auto& cell : cells) {
            text += cell;
            text += '\t';
        }
        text += '\n';
    };
    append(GetHeaderTexts());
    for (int c = 0; c < m_plan->GetChannelCount(); ++c)
        append(GetRowTexts(c));
    return text;
}

int CDAQPPChannelTable::FindTableColumn(int type) const
{
    const auto& columns = GetColumns();
    for (size_t k = 0; k < columns.size(); ++k)
        if (columns[k].type == type)
            return static_cast<int>(k) + 1;
    return -1;
}

CDAQPPChannelTable::PasteResult CDAQPPChannelTable::Paste(const std::string& text, std::vector<int>* changed)
{
    PasteResult result;
    if (text.empty())
        return result;
    // Lines as spreadsheets and editors give them: LF or CR LF. A carriage return left on the last
    // cell would become part of a subsystem name.
    CLineReader lines(text);
    std::string_view line;
    lines.Next(line); // the header row
    const int sensorCol = FindTableColumn(2);
    const int modeCol = FindTableColumn(6);
    const int subsystemCol = FindTableColumn(11);
    const int needed = std::max({sensorCol, modeCol, subsystemCol});

    std::vector<std::vector<std::string>> rows;
    while (static_cast<int>(rows.size()) < m_plan->GetChannelCount() && lines.Next(line)) {
        if (line.empty())
            break;
        std::vector<std::string> fields = CTabSplitter().Split(line);
        if (static_cast<int>(fields.size()) <= needed) {
            result.status = pasteShortLine;
            result.badLine = static_cast<int>(lines.GetLineNumber());
            return result;
        }
        rows.push_back(std::move(fields));
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const int c = static_cast<int>(r);
        const auto& fields = rows[r];
        if (sensorCol > 0)
            m_plan->SetSensor(c, fields[static_cast<size_t>(sensorCol)]);
        if (modeCol > 0)
            m_plan->SetInputMode(c, fields[static_cast<size_t>(modeCol)]);
        if (subsystemCol > 0)
            m_plan->SetSubsystem(c, fields[static_cast<size_t>(subsystemCol)]);
        if (changed)
            changed->push_back(c);
    }
    result.status = pasteDone;
    result.rows = static_cast<int>(rows.size());
    return result;
}

std::vector<tagCHTABLECOL>
CDAQPPChannelTable::ColumnsFromTexts(const std::vector<std::pair<std::string, std::string>>& rows)
{
    std::vector<tagCHTABLECOL> columns;
    for (const auto& [label, typeName] : rows) {
        if (label.empty() || static_cast<int>(columns.size()) >= kMaxColumns)
            break;
        const int type = CDAQPPExpPlanList::FindColumnType(typeName);
        columns.push_back({type < 0 ? 0 : type, label});
    }
    return columns;
}
