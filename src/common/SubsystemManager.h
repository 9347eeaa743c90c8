#pragma once
// Short names of the model's subsystems for measurement plans, channel tables and imported files
// (Front Door Panel-R is FDPR). The short-name table runs parallel to the model's subsystem table;
// an entry may hold several accepted short names separated by ";", the first being the one shown.
#include <string>

class CZuSubsystemTable;

class CSubsystemManager
{
public:
    // Both tables belong to the open project (not owned). An empty short-name table is filled with
    // one generated short name per full name, in order.
    CSubsystemManager(const CZuSubsystemTable* fullNames, CZuSubsystemTable* shortNames);

    // A short name for a full name by the abbreviation rules, made unique against the short-name table.
    std::string MakeShortName(const std::string& fullName) const;

    // The full name whose entry has a ";"-part equal to the text ignoring case (first entry wins);
    // empty when none matches.
    std::string FindByShortName(const std::string& text) const;
    // The first ";"-part of entry index; empty outside the table.
    std::string GetShortName(int index) const;
    // The same for the index of the full name in the full-name table.
    std::string GetShortName(const std::string& fullName) const;
    // The whole entry; empty outside the table.
    std::string GetShortNameAt(int index) const;
    // Sets the whole entry; nothing is written outside the table.
    void SetShortNameAt(int index, const std::string& text);

    // The abbreviation alone, before uniqueness: side suffix, words, initials.
    static std::string Abbreviate(const std::string& fullName);

private:
    const CZuSubsystemTable* m_full;
    CZuSubsystemTable* m_short;
};
