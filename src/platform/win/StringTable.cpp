#include "platform/win/StringTable.h"

#include "platform/base/Format.h"
#include "platform/win/WinTypes.h"

#include <QFile>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <mutex>

// The built-in tables (resources/lang/lang.qrc). Registering twice is harmless.
static void InitLanguageResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(lang); });
}

namespace {

std::mutex g_mutex;
CStringTable g_table;
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

bool Unescape(const std::string& raw, std::string& out)
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
    size_t pos = 0;
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    int lineNo = 0;
    while (pos < content.size()) {
        size_t eol = content.find('\n', pos);
        std::string line = content.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
        pos = eol == std::string::npos ? content.size() : eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        auto fail = [&](const char* why) {
            if (error)
                *error = Format("line %d: %s", lineNo, why);
            return false;
        };
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            return fail("no tab between id and text");
        uint32_t id = 0;
        if (!ParseId(line.substr(0, tab), id))
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
    std::lock_guard<std::mutex> lock(g_mutex);
    g_table = std::move(table);
    g_language = languageId;
    return true;
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
