#include "platform/base/Feedback.h"

#include <algorithm>

void CFeedback::Begin(const std::string& text, int64_t total)
{
    SRange range;
    range.text = text;
    range.total = std::max<int64_t>(total, 0);
    if (m_partPending) {
        m_partPending = false;
        m_ranges.push_back(std::move(range));
    } else if (m_ranges.empty())
        m_ranges.push_back(std::move(range));
    else {
        if (range.text.empty())
            range.text = m_ranges.back().text;
        m_ranges.back() = std::move(range);
    }
    OnBegin(static_cast<int>(m_ranges.size()) - 1);
}

void CFeedback::SetText(const std::string& text)
{
    if (m_ranges.empty())
        return;
    m_ranges.back().text = text;
    OnText(static_cast<int>(m_ranges.size()) - 1);
}

void CFeedback::Step(int64_t count)
{
    if (m_ranges.empty())
        return;
    SetPos(m_ranges.back().done + count);
}

void CFeedback::SetPos(int64_t done)
{
    if (m_ranges.empty())
        return;
    SRange& range = m_ranges.back();
    const int64_t upper = range.total > 0 ? range.total : std::max<int64_t>(done, 0);
    range.done = std::clamp<int64_t>(done, 0, upper);
    OnProgress(static_cast<int>(m_ranges.size()) - 1);
}

void CFeedback::End()
{
    if (m_ranges.empty())
        return;
    m_ranges.clear();
    m_partPending = false;
    OnEnd();
}

void CFeedback::BeginPart(int64_t steps)
{
    if (m_ranges.empty())
        return;
    if (m_partPending)
        EndPart();
    m_ranges.back().partSteps = std::max<int64_t>(steps, 0);
    m_partPending = true;
}

void CFeedback::EndPart()
{
    if (m_partPending)
        m_partPending = false;
    else if (m_ranges.size() > 1)
        m_ranges.pop_back();
    else
        return;
    SRange& parent = m_ranges.back();
    const int64_t steps = parent.partSteps;
    parent.partSteps = 0;
    const int64_t upper = parent.total > 0 ? parent.total : parent.done + steps;
    parent.done = std::min(parent.done + steps, upper);
    OnProgress(static_cast<int>(m_ranges.size()) - 1);
}

bool CFeedback::IsCancelled()
{
    Poll();
    return m_cancelled;
}

void CFeedback::Report(ESeverity severity, const std::string& text, uint32_t stringId)
{
    OnReport(SReport{severity, text, stringId});
}

double CFeedback::Fraction() const
{
    return m_ranges.empty() ? 0.0 : FractionFrom(0);
}

double CFeedback::FractionFrom(size_t level) const
{
    const SRange& range = m_ranges[level];
    if (range.total <= 0)
        return 0.0;
    double done = static_cast<double>(range.done);
    if (level + 1 < m_ranges.size())
        done += static_cast<double>(range.partSteps) * FractionFrom(level + 1);
    return std::clamp(done / static_cast<double>(range.total), 0.0, 1.0);
}

std::string CFeedback::CurrentText() const
{
    for (auto it = m_ranges.rbegin(); it != m_ranges.rend(); ++it)
        if (!it->text.empty())
            return it->text;
    return {};
}

CFeedback* SilentFeedback()
{
    // One per thread: work on several threads may run silently at once.
    thread_local CSilentFeedback silent;
    return &silent;
}
