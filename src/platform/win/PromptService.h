#pragma once
// Everything that asks the user something goes through one prompt service: message boxes (by
// string-table id or by text), file open/save choosers and the folder chooser. The program
// installs the Qt implementation (platform/ui) at start-up; until then, and in tests that do not
// script answers, a non-interactive service answers the default button and cancels choosers.
// Tests script the answers with CScriptedPrompts and check what was shown.
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class PromptKind
{
    MessageBox,
    OpenFile,
    SaveFile,
    Folder,
};

// What a file chooser is asked for. The filter is written as the program writes it:
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" (description and patterns, separated by '|',
// several patterns joined by ';').
struct FileChooserOptions
{
    std::string title; // empty: the chooser's own title
    std::string filter;
    std::string defaultExt;      // without the dot; appended to a saved name that has no extension
    std::string initialName;     // file name or full path shown first
    std::string initialFolder;   // empty: the chooser's current folder
    int filterIndex = 1;         // 1-based, the filter shown first
    bool allowMultiple = false;  // open only
    bool overwritePrompt = true; // save only
};

// One entry of a parsed filter: description and its patterns ("*.txt", "*.*").
struct FileFilterEntry
{
    std::string description;
    std::vector<std::string> patterns;
};
std::vector<FileFilterEntry> ParseFileFilter(const std::string& filter);

// A shown prompt, as recorded by the services.
struct PromptRecord
{
    PromptKind kind = PromptKind::MessageBox;
    uint32_t stringId = 0;   // message boxes by id; 0 when shown by text
    std::string text;        // message text (file choosers: the title)
    std::string caption;     // message boxes
    unsigned style = 0;      // MB_* of message boxes
    FileChooserOptions file; // file choosers (folder chooser: title and initialFolder)
    // The answer given.
    int result = 0;                 // message boxes: ID*; choosers: IDOK or IDCANCEL
    std::vector<std::string> paths; // choosers: what was chosen
    int filterIndex = 0;            // file choosers: the filter of the chosen file (1-based)
};

// The answer a service gives to one prompt.
struct PromptAnswer
{
    int result = IDOK;
    std::vector<std::string> paths;
    int filterIndex = 0; // 0: the filter asked for
};

class IPromptService
{
public:
    virtual ~IPromptService() = default;
    // request.kind, text/caption/style or file options are filled; returns the answer.
    virtual PromptAnswer Ask(const PromptRecord& request) = 0;
};

// The service in use; never null (the non-interactive one when none is installed).
IPromptService& GetPromptService();
// Installs a service (not owned); null restores the non-interactive one.
void SetPromptService(IPromptService* service);

// The buttons of a message box style (ID* values), in the order they are shown.
std::vector<int> ButtonsOf(unsigned style);
// The answer the non-interactive service gives: the default button of the style for message
// boxes, IDCANCEL for choosers.
int DefaultButtonOf(unsigned style);

// Message boxes. The caption is the application title. The string-id forms show the text of the
// string table; a missing string shows its id, so the prompt is never empty.
int AfxMessageBox(const std::string& text, unsigned style = MB_OK);
int AfxMessageBox(const char* text, unsigned style = MB_OK);
int AfxMessageBox(uint32_t stringId, unsigned style = MB_OK);
// A string-table text used as a printf format with the given arguments, recorded with its id.
int AfxFormatMessageBox(uint32_t stringId, unsigned style, ...);
// A string-table message followed, in the same box, by the reason that led to it (nothing more
// when the reason is empty); recorded with the message's id.
int AfxMessageBoxWithReason(uint32_t stringId, const std::string& reason, unsigned style = MB_OK);
// A window's own message box, with its caption (empty: the application title).
int ZuMessageBox(const std::string& text, const std::string& caption, unsigned style = MB_OK);
// The message box request behind the forms above, for other wrappers (warning boxes): the string
// id it was made from (0: none), its text, caption (empty: the application title) and style.
int PromptMessageBox(uint32_t stringId, const std::string& text, const std::string& caption, unsigned style);
// The string-table text of a message; a missing string gives its id ("(123)").
std::string MessageTextOf(uint32_t stringId);
// The text AfxMessageBoxWithReason shows: the message, then the reason below it.
std::string MessageWithReason(uint32_t stringId, const std::string& reason);

// File choosers. True when the user chose; the default extension is added to a saved name
// without one.
bool PromptOpenFile(const FileChooserOptions& options, std::string& path);
bool PromptOpenFiles(const FileChooserOptions& options, std::vector<std::string>& paths);
bool PromptSaveFile(const FileChooserOptions& options, std::string& path, int* filterIndex = nullptr);
bool PromptFolder(const std::string& title, const std::string& initialFolder, std::string& folder);

// The non-interactive service, which also keeps the last prompts it answered (for diagnosis of
// headless runs; it writes each message to standard error as well).
class CDefaultPromptService : public IPromptService
{
public:
    PromptAnswer Ask(const PromptRecord& request) override;
    std::vector<PromptRecord> Records() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::deque<PromptRecord> m_records;
};

// Test hook: installs itself for its lifetime, answers from a queue and records every prompt
// with the answer it gave. When the queue is empty the default answer is given and the prompt
// is counted as unexpected.
class CScriptedPrompts : public IPromptService
{
public:
    CScriptedPrompts();
    ~CScriptedPrompts() override;
    CScriptedPrompts(const CScriptedPrompts&) = delete;
    CScriptedPrompts& operator=(const CScriptedPrompts&) = delete;

    // Queue answers, in the order the prompts will come.
    CScriptedPrompts& Answer(int result); // a message box button
    CScriptedPrompts& ChooseFile(std::string path, int filterIndex = 0);
    CScriptedPrompts& ChooseFiles(std::vector<std::string> paths);
    CScriptedPrompts& ChooseFolder(std::string folder);
    CScriptedPrompts& Cancel(); // a chooser cancelled
    // Optional: answers computed from the prompt; used when the queue is empty.
    std::function<std::optional<PromptAnswer>(const PromptRecord&)> responder;

    PromptAnswer Ask(const PromptRecord& request) override;

    std::vector<PromptRecord> Records() const;
    const PromptRecord& Last() const; // the last prompt (asserts there is one)
    size_t Count() const;
    size_t Pending() const;    // answers queued and not used
    size_t Unexpected() const; // prompts answered without a scripted answer
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::deque<PromptAnswer> m_queue;
    std::vector<PromptRecord> m_records;
    size_t m_unexpected = 0;
    IPromptService* m_previous = nullptr;
};
