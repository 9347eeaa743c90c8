#include "platform/win/StringTable.h"

#include "platform/base/Format.h"
#include "platform/base/LineReader.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"

#include <QFile>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <unordered_map>

// The built-in tables (resources/lang/lang.qrc). Registering twice is harmless.
static void InitLanguageResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(lang); });
}

namespace {

std::mutex g_mutex;
CStringTable g_table;
std::map<std::string, std::string> g_texts; // English window text -> the language's text
// The texts of the language loaded before a switch -> the same texts in the current language, so a
// window made in the earlier language (a text from a string id or from the text table) follows.
std::unordered_map<std::string, std::string> g_earlier;
uint32_t g_language = 0;
std::string g_folder;

bool ParseId(const std::string& field, uint32_t& id)
{
    if (field.empty())
        return false;
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(begin, &end, 0);
    if (errno != 0 || end != begin + field.size() || v > 0xFFFFFFFFull || field[0] == '-' || field[0] == '+')
        return false;
    id = uint32_t(v);
    return true;
}

bool Unescape(std::string_view raw, std::string& out)
{
    out.clear();
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == raw.size())
            return false;
        switch (raw[i]) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

bool CStringTable::Parse(const std::string& content, std::string* error)
{
    std::map<uint32_t, std::string> strings;
    std::string_view body = content;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    CLineReader lines(body);
    for (std::string_view line; lines.Next(line);) {
        if (line.empty() || line[0] == '#')
            continue;
        auto fail = [&](const char* why) {
            if (error)
                *error = Format("line %zu: %s", lines.GetLineNumber(), why);
            return false;
        };
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            return fail("no tab between id and text");
        uint32_t id = 0;
        if (!ParseId(std::string(line.substr(0, tab)), id))
            return fail("bad string id");
        std::string text;
        if (!Unescape(line.substr(tab + 1), text))
            return fail("bad escape in text");
        if (!strings.emplace(id, std::move(text)).second)
            return fail("duplicate string id");
    }
    m_strings = std::move(strings);
    return true;
}

bool CStringTable::LoadFile(const std::string& path, std::string* error)
{
    InitLanguageResources();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = Format("cannot read %s: %s", path.c_str(), file.errorString().toStdString().c_str());
        return false;
    }
    // A string table is small; anything far larger is not one.
    constexpr qint64 kMaxSize = 16 * 1024 * 1024;
    if (file.size() > kMaxSize) {
        if (error)
            *error = Format("%s is too large for a string table", path.c_str());
        return false;
    }
    QByteArray data = file.readAll();
    std::string why;
    if (!Parse(data.toStdString(), &why)) {
        if (error)
            *error = Format("%s: %s", path.c_str(), why.c_str());
        return false;
    }
    return true;
}

std::string GetStringTableFileName(uint32_t languageId)
{
    return languageId == LANG_JAPANESE ? "orvex_jpn.txt" : "orvex_eng.txt";
}

std::string GetTextTableFileName(uint32_t languageId)
{
    return languageId == LANG_JAPANESE ? "orvex_jpn_text.txt" : std::string();
}

bool ParseTextTable(const std::string& content, std::map<std::string, std::string>& out, std::string* error)
{
    std::map<std::string, std::string> texts;
    CLineReader lines(content);
    for (std::string_view line; lines.Next(line);) {
        const size_t lineNo = lines.GetLineNumber();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = line.find('\t');
        std::string english, translation;
        if (tab == std::string::npos || tab == 0 || !Unescape(line.substr(0, tab), english) ||
            !Unescape(line.substr(tab + 1), translation) || translation.empty()) {
            if (error)
                *error = Format("line %zu: expected \"English<TAB>translation\"", lineNo);
            return false;
        }
        if (!texts.emplace(std::move(english), std::move(translation)).second) {
            if (error)
                *error = Format("line %zu: the English text is listed twice", lineNo);
            return false;
        }
    }
    out = std::move(texts);
    return true;
}

void SetStringTableFolder(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_folder = folder;
}

std::string GetStringTableFolder()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_folder;
}

bool LoadLanguageStrings(uint32_t languageId, std::string* error)
{
    std::string folder = GetStringTableFolder();
    std::string path = (folder.empty() ? std::string(":/lang") : folder) + "/" + GetStringTableFileName(languageId);
    CStringTable table;
    if (!table.LoadFile(path, error))
        return false;
    if (!table.Contains(IDS_APP_TITLE)) {
        if (error)
            *error = Format("%s has no application title", path.c_str());
        return false;
    }
    std::map<std::string, std::string> texts;
    if (const std::string name = GetTextTableFileName(languageId); !name.empty()) {
        // Optional: without it the windows keep their English texts.
        QFile file(QString::fromStdString((folder.empty() ? std::string(":/lang") : folder) + "/" + name));
        constexpr qint64 kMaxSize = 16 * 1024 * 1024;
        if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxSize) {
            std::string why;
            if (!ParseTextTable(file.readAll().toStdString(), texts, &why)) {
                if (error)
                    *error = name + ": " + why;
                return false;
            }
        }
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_language != 0 && g_language != languageId) {
        g_earlier.clear();
        // The same string id in both tables; a format is filled in before it is shown, so it never
        // shows as it stands. The lowest id wins where two ids share a text.
        for (const auto& [id, before] : g_table.Strings()) {
            std::string now;
            if (before.find('%') == std::string::npos && table.Find(id, now) && now != before && !now.empty())
                g_earlier.emplace(before, now);
        }
        // Leaving a language with a text table: its translations go back to their English texts.
        for (const auto& [english, before] : g_texts)
            g_earlier.emplace(before, english);
    }
    g_table = std::move(table);
    g_texts = std::move(texts);
    g_language = languageId;
    return true;
}

namespace {

// The entry of a text, looking past a mnemonic and a trailing ":" or "..." when the whole text has
// none. Called with the lock held.
bool FindText(const std::string& english, std::string& out)
{
    if (g_texts.empty() || english.empty())
        return false;
    if (auto it = g_texts.find(english); it != g_texts.end()) {
        out = it->second;
        return true;
    }
    std::string plain;
    plain.reserve(english.size());
    for (size_t i = 0; i < english.size(); ++i) {
        if (english[i] == '&' && i + 1 < english.size() && english[i + 1] != '&')
            continue;
        plain += english[i];
    }
    if (plain != english) {
        if (auto it = g_texts.find(plain); it != g_texts.end()) {
            out = it->second;
            return true;
        }
    }
    for (const char* suffix : {"...", ":", " :"}) {
        const size_t n = std::char_traits<char>::length(suffix);
        if (plain.size() > n && plain.compare(plain.size() - n, n, suffix) == 0) {
            if (auto it = g_texts.find(plain.substr(0, plain.size() - n)); it != g_texts.end()) {
                out = it->second + suffix;
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::string TranslateText(const std::string& english)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    std::string out;
    if (FindText(english, out))
        return out;
    if (auto it = g_earlier.find(english); it != g_earlier.end())
        return it->second;
    // A translation made with an ending looked past goes back with the same ending.
    for (const char* suffix : {"...", ":", " :"}) {
        const size_t n = std::char_traits<char>::length(suffix);
        if (english.size() > n && english.compare(english.size() - n, n, suffix) == 0)
            if (auto it = g_earlier.find(english.substr(0, english.size() - n)); it != g_earlier.end())
                return it->second + suffix;
    }
    return english;
}

bool HasTextTranslation(const std::string& english)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    std::string out;
    return FindText(english, out);
}

size_t TextTranslationCount()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_texts.size();
}

uint32_t GetLoadedLanguage()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_language;
}

void UnloadLanguageStrings()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_table.Clear();
    g_texts.clear();
    g_earlier.clear();
    g_language = 0;
}

bool LoadString(uint32_t id, std::string& text)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_table.Find(id, text);
}

std::string LoadString(uint32_t id)
{
    std::string text;
    LoadString(id, text);
    return text;
}

std::string FormatString(uint32_t id, ...)
{
    std::string format = LoadString(id);
    va_list args;
    va_start(args, id);
    std::string text = FormatV(format.c_str(), args);
    va_end(args);
    return text;
}

bool CStringTable::Find(uint32_t id, std::string& text) const
{
    auto it = m_strings.find(id);
    if (it == m_strings.end())
        return false;
    text = it->second;
    return true;
}

std::string GetAppTitle()
{
    std::string title;
    if (!LoadString(IDS_APP_TITLE, title))
        title = "ORVEX";
    return title;
}
