#pragma once
// The string tables of the two language modules. Each table maps string-table ids to texts
// (UTF-8) and holds the application title under id 0xE000. The tables are built into the program
// as resources (resources/lang) and loaded by language id at start-up; a folder can be set to load
// them from files instead (tests, translators).
//
// Table file format: one entry per line, "<id><TAB><text>"; the id is decimal or 0x-hex; lines that
// are empty or start with '#' are skipped; in the text "\n", "\t", "\r" and "\\" are escapes.
#include <cstdint>
#include <map>
#include <string>

class CStringTable
{
public:
    // Parses a table; false with the line's number and reason in error when a line is malformed
    // (no tab, bad id, duplicate id). Nothing is kept of a table that fails.
    bool Parse(const std::string& content, std::string* error = nullptr);
    // Reads and parses a file (a resource path ":/..." too).
    bool LoadFile(const std::string& path, std::string* error = nullptr);

    bool Find(uint32_t id, std::string& text) const;
    bool Contains(uint32_t id) const { return m_strings.count(id) != 0; }
    size_t Size() const { return m_strings.size(); }
    const std::map<uint32_t, std::string>& Strings() const { return m_strings; }
    void Clear() { m_strings.clear(); }

private:
    std::map<uint32_t, std::string> m_strings;
};

// File name of the table of a language: "orvex_jpn.txt" for 17, "orvex_eng.txt" otherwise.
std::string GetStringTableFileName(uint32_t languageId);
// File name of the text table of a language ("orvex_jpn_text.txt"); empty for English.
std::string GetTextTableFileName(uint32_t languageId);

// The folder the tables are loaded from; empty (the default) means the built-in resources.
void SetStringTableFolder(const std::string& folder);
std::string GetStringTableFolder();

// Loads the table of a language and makes it the current one. On failure (missing or malformed
// table) the current table is left as it was, error says why, and false is returned: the caller
// takes the start-up failure path.
bool LoadLanguageStrings(uint32_t languageId, std::string* error = nullptr);
// The language of the current table; 0 while none is loaded.
uint32_t GetLoadedLanguage();
// Drops the current table (the program then finds no string; tests).
void UnloadLanguageStrings();

// A string of the current table; false (text untouched) when there is none.
bool LoadString(uint32_t id, std::string& text);
// A string of the current table; empty when there is none.
std::string LoadString(uint32_t id);
// Loads string id and formats it with printf arguments (the text must be the format).
std::string FormatString(uint32_t id, ...);
// The application title (string 0xE000); "ORVEX" while no table is loaded.
std::string GetAppTitle();

// The texts of the windows (labels, buttons, group titles, column headings, menu items) are written
// in English where the windows are made; a language's text table gives each English text its
// translation. The table of a language is "<module>_text.txt" beside its string table ("English
// <TAB> translation" per line, the same escapes); English has none. It is loaded with the string
// table and is optional: without it the windows stay English.
//
// The current language's text for an English window text: the text itself where the table has no
// entry. A mnemonic '&' and a trailing ":" or "..." are looked past when the whole text has no entry.
// After a change of language, a text of the language left (a string id's text, or a translation of
// its text table) gives the current language's text too, so windows made before the change follow.
std::string TranslateText(const std::string& english);
// True when the current language's text table has an entry for the text (as TranslateText finds it).
bool HasTextTranslation(const std::string& english);
// The number of entries of the current text table (0 for English).
size_t TextTranslationCount();
// Parses a text table into english -> translation; false with the line and reason in error.
bool ParseTextTable(const std::string& content, std::map<std::string, std::string>& out, std::string* error = nullptr);
