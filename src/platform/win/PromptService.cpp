#include "platform/win/PromptService.h"

#include "platform/base/Format.h"
#include "platform/win/StringTable.h"

#include <atomic>
#include <cassert>
#include <cstdarg>
#include <cstdio>

namespace {

CDefaultPromptService& DefaultService()
{
    static CDefaultPromptService service;
    return service;
}

std::atomic<IPromptService*> g_installed{nullptr};

IPromptService* Installed()
{
    return g_installed.load();
}

bool HasExtension(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    return dot != std::string::npos && dot > name;
}

PromptAnswer AskFile(PromptKind kind, const FileChooserOptions& options)
{
    PromptRecord request;
    request.kind = kind;
    request.text = options.title;
    request.file = options;
    return GetPromptService().Ask(request);
}

} // namespace

IPromptService& GetPromptService()
{
    IPromptService* service = Installed();
    return service ? *service : DefaultService();
}

void SetPromptService(IPromptService* service)
{
    g_installed.store(service);
}

std::vector<int> ButtonsOf(unsigned style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int DefaultButtonOf(unsigned style)
{
    const std::vector<int> buttons = ButtonsOf(style);
    const size_t def = (style & MB_DEFMASK) >> 8; // 0, 1 or 2; a default past the buttons is the first
    return buttons[def < buttons.size() ? def : 0];
}

std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter)
{
    // "desc|patterns|desc|patterns||": pairs up to the first empty field.
    std::vector<std::string> fields;
    size_t start = 0;
    while (start <= filter.size()) {
        size_t bar = filter.find('|', start);
        std::string field = filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (field.empty())
            break;
        fields.push_back(field);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::vector<FileFilterEntry> entries;
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilterEntry entry;
        entry.description = fields[i];
        const std::string& p = fields[i + 1];
        size_t s = 0;
        while (s <= p.size()) {
            size_t semi = p.find(';', s);
            std::string one = p.substr(s, semi == std::string::npos ? std::string::npos : semi - s);
            size_t b = one.find_first_not_of(' ');
            size_t e = one.find_last_not_of(' ');
            if (b != std::string::npos)
                entry.patterns.push_back(one.substr(b, e - b + 1));
            if (semi == std::string::npos)
                break;
            s = semi + 1;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

int PromptMessageBox(uint32_t stringId, const std::string& text, const std::string& caption, unsigned style)
{
    PromptRecord request;
    request.kind = PromptKind::MessageBox;
    request.stringId = stringId;
    request.text = text;
    request.caption = caption.empty() ? GetAppTitle() : caption;
    request.style = style;
    return GetPromptService().Ask(request).result;
}

std::string MessageTextOf(uint32_t stringId)
{
    std::string text;
    if (!LoadString(stringId, text))
        text = Format("(%u)", stringId); // a missing string still says which message it was
    return text;
}

int AfxMessageBox(const std::string& text, unsigned style)
{
    return PromptMessageBox(0, text, std::string(), style);
}

int AfxMessageBox(const char* text, unsigned style)
{
    return PromptMessageBox(0, text ? text : "", std::string(), style);
}

int AfxMessageBox(uint32_t stringId, unsigned style)
{
    return PromptMessageBox(stringId, MessageTextOf(stringId), std::string(), style);
}

int AfxFormatMessageBox(uint32_t stringId, unsigned style, ...)
{
    std::string text;
    if (LoadString(stringId, text)) {
        va_list args;
        va_start(args, style);
        text = FormatV(text.c_str(), args);
        va_end(args);
    } else {
        text = MessageTextOf(stringId);
    }
    return PromptMessageBox(stringId, text, std::string(), style);
}

std::string MessageWithReason(uint32_t stringId, const std::string& reason)
{
    std::string text = MessageTextOf(stringId);
    if (!reason.empty())
        text += "\n\n" + reason;
    return text;
}

int AfxMessageBoxWithReason(uint32_t stringId, const std::string& reason, unsigned style)
{
    return PromptMessageBox(stringId, MessageWithReason(stringId, reason), std::string(), style);
}

int ZuMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return PromptMessageBox(0, text, caption, style);
}

bool PromptOpenFile(const FileChooserOptions& options, std::string& path)
{
    FileChooserOptions single = options;
    single.allowMultiple = false;
    PromptAnswer answer = AskFile(PromptKind::OpenFile, single);
    if (answer.result != IDOK || answer.paths.empty() || answer.paths.front().empty())
        return false;
    path = answer.paths.front();
    return true;
}

bool PromptOpenFiles(const FileChooserOptions& options, std::vector<std::string>& paths)
{
    FileChooserOptions multi = options;
    multi.allowMultiple = true;
    PromptAnswer answer = AskFile(PromptKind::OpenFile, multi);
    if (answer.result != IDOK || answer.paths.empty())
        return false;
    paths = answer.paths;
    return true;
}

bool PromptSaveFile(const FileChooserOptions& options, std::string& path, int* filterIndex)
{
    PromptAnswer answer = AskFile(PromptKind::SaveFile, options);
    if (answer.result != IDOK || answer.paths.empty() || answer.paths.front().empty())
        return false;
    path = answer.paths.front();
    if (!options.defaultExt.empty() && !HasExtension(path))
        path += "." + options.defaultExt;
    if (filterIndex)
        *filterIndex = answer.filterIndex > 0 ? answer.filterIndex : options.filterIndex;
    return true;
}

bool PromptFolder(const std::string& title, const std::string& initialFolder, std::string& folder)
{
    PromptRecord request;
    request.kind = PromptKind::Folder;
    request.text = title;
    request.file.title = title;
    request.file.initialFolder = initialFolder;
    PromptAnswer answer = GetPromptService().Ask(request);
    if (answer.result != IDOK || answer.paths.empty() || answer.paths.front().empty())
        return false;
    folder = answer.paths.front();
    return true;
}

// ---- non-interactive service ----

PromptAnswer CDefaultPromptService::Ask(const PromptRecord& request)
{
    PromptAnswer answer;
    if (request.kind == PromptKind::MessageBox) {
        answer.result = DefaultButtonOf(request.style);
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    } else {
        answer.result = IDCANCEL;
    }
    PromptRecord record = request;
    record.result = answer.result;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.push_back(std::move(record));
    // A headless run may show many messages; only the recent ones are kept.
    while (m_records.size() > 100)
        m_records.pop_front();
    return answer;
}

std::vector<PromptRecord> CDefaultPromptService::Records() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_records.begin(), m_records.end()};
}

void CDefaultPromptService::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
}

// ---- scripted prompts (tests) ----

CScriptedPrompts::CScriptedPrompts() : m_previous(Installed())
{
    SetPromptService(this);
}

CScriptedPrompts::~CScriptedPrompts()
{
    SetPromptService(m_previous);
}

CScriptedPrompts& CScriptedPrompts::Answer(int result)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(PromptAnswer{result, {}, 0});
    return *this;
}

CScriptedPrompts& CScriptedPrompts::ChooseFile(std::string path, int filterIndex)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(PromptAnswer{IDOK, {std::move(path)}, filterIndex});
    return *this;
}

CScriptedPrompts& CScriptedPrompts::ChooseFiles(std::vector<std::string> paths)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(PromptAnswer{IDOK, std::move(paths), 0});
    return *this;
}

CScriptedPrompts& CScriptedPrompts::ChooseFolder(std::string folder)
{
    return ChooseFile(std::move(folder));
}

CScriptedPrompts& CScriptedPrompts::Cancel()
{
    return Answer(IDCANCEL);
}

PromptAnswer CScriptedPrompts::Ask(const PromptRecord& request)
{
    std::optional<PromptAnswer> answer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_queue.empty()) {
            answer = m_queue.front();
            m_queue.pop_front();
        }
    }
    if (!answer && responder)
        answer = responder(request);
    bool unexpected = false;
    if (!answer) {
        unexpected = true;
        answer = PromptAnswer{};
        answer->result = request.kind == PromptKind::MessageBox ? DefaultButtonOf(request.style) : IDCANCEL;
    }
    PromptRecord record = request;
    record.result = answer->result;
    record.paths = answer->paths;
    record.filterIndex = answer->filterIndex > 0 ? answer->filterIndex : request.file.filterIndex;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.push_back(std::move(record));
    if (unexpected)
        ++m_unexpected;
    return *answer;
}

std::vector<PromptRecord> CScriptedPrompts::Records() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

const PromptRecord& CScriptedPrompts::Last() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    assert(!m_records.empty());
    return m_records.back();
}

size_t CScriptedPrompts::Count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records.size();
}

size_t CScriptedPrompts::Pending() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.size();
}

size_t CScriptedPrompts::Unexpected() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unexpected;
}

void CScriptedPrompts::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
    m_queue.clear();
    m_unexpected = 0;
}
