#include "common/SubsystemManager.h"

#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"

#include <vector>

namespace {
bool EndsWith(const std::string& s, const char* tail)
{
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

std::string TrimBlanks(const std::string& s)
{
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::vector<std::string> SplitParts(const std::string& entry)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t semi = entry.find(';', start);
        parts.push_back(entry.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
        if (semi == std::string::npos)
            break;
        start = semi + 1;
    }
    return parts;
}
} // namespace

CSubsystemManager::CSubsystemManager(const CZuSubsystemTable* fullNames, CZuSubsystemTable* shortNames)
    : m_full(fullNames), m_short(shortNames)
{
    if (m_full && m_short && m_short->IsEmpty())
        for (const std::string& name : m_full->Names())
            m_short->Add(MakeShortName(name));
}

std::string CSubsystemManager::Abbreviate(const std::string& fullName)
{
    std::string rest = fullName;
    char side = 0;
    if (EndsWith(rest, "-R")) {
        rest.resize(rest.size() - 2);
        side = 'R';
    } else if (EndsWith(rest, "-L")) {
        rest.resize(rest.size() - 2);
        side = 'L';
    } else if (EndsWith(rest, "-C")) {
        rest.resize(rest.size() - 2);
    }
    while (!rest.empty() && rest.back() == ' ')
        rest.pop_back();

    std::vector<std::string> words;
    std::string word;
    auto endWord = [&]() {
        std::string w = TrimBlanks(word);
        if (!w.empty())
            words.push_back(w);
        word.clear();
    };
    for (char c : rest) {
        if (c == ' ')
            endWord();
        else if (c >= 'A' && c <= 'Z') {
            endWord();
            word += c;
        } else
            word += c;
    }
    endWord();

    std::string shortName;
    if (words.size() == 1)
        shortName = rest;
    else
        for (const std::string& w : words)
            shortName += (w == "Fr" || w == "Rr") ? w : w.substr(0, 1);
    if (side)
        shortName += side;
    return shortName;
}

std::string CSubsystemManager::MakeShortName(const std::string& fullName) const
{
    const std::string base = Abbreviate(fullName);
    if (!m_short || m_short->GetIndex(base) < 0)
        return base;
    for (int n = 1;; ++n) {
        const std::string candidate = Format("%s~%1d", base.c_str(), n);
        if (m_short->GetIndex(candidate) < 0)
            return candidate;
    }
}

std::string CSubsystemManager::FindByShortName(const std::string& text) const
{
    if (!m_short || !m_full)
        return {};
    for (int i = 0; i < m_short->GetCount(); ++i) {
        for (const std::string& part : SplitParts(m_short->At(i))) {
            if (EqualNoCase(part, text))
                return i < m_full->GetCount() ? m_full->At(i) : std::string();
        }
    }
    return {};
}

std::string CSubsystemManager::GetShortName(int index) const
{
    return SplitParts(GetShortNameAt(index)).front();
}

std::string CSubsystemManager::GetShortName(const std::string& fullName) const
{
    return m_full ? GetShortName(m_full->GetIndex(fullName)) : std::string();
}

std::string CSubsystemManager::GetShortNameAt(int index) const
{
    if (!m_short || index < 0 || index >= m_short->GetCount())
        return {};
    return m_short->At(index);
}

void CSubsystemManager::SetShortNameAt(int index, const std::string& text)
{
    if (m_short && index >= 0 && index < m_short->GetCount())
        m_short->SetAt(index, text);
}
