#pragma once
// A window as the senders of private messages see it. The main frame and the other receiving
// windows implement it; tests register a recording one. SendMessage runs the handler at once and
// returns its result; PostMessage queues the message for the receiver's event loop.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class IMessageTarget
{
public:
    virtual ~IMessageTarget() = default;
    virtual intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;
    // May be called from worker threads (the acquisition layer posts from its worker).
    virtual void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;
};

// The application's main window; null before the main frame exists and after it is gone.
IMessageTarget* GetMainWindowTarget();
void SetMainWindowTarget(IMessageTarget* target);

// Sends to the main window when there is one; 0 otherwise.
intptr_t SendToMainWindow(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
void PostToMainWindow(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);

// Records every message. A handler, when set, answers sent messages (otherwise 0). Posted messages
// are only recorded; Dispatch runs the handler over them as an event loop would. The progress
// text message (1328) has its text copied into the record, because its pointer dies with the
// sender's call.
class CRecordingMessageTarget : public IMessageTarget
{
public:
    struct Record
    {
        uint32_t msg = 0;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
        bool posted = false;
        std::string text; // copy of the text of WM_ZU_PROGRESS_TEXT
    };

    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    std::function<intptr_t(uint32_t, uintptr_t, intptr_t)> handler;

    std::vector<Record> Records() const;
    std::vector<uint32_t> MessageNumbers() const;
    void Clear();
    // Runs the handler over the posted messages not yet dispatched, in order; returns how many.
    int Dispatch();

private:
    mutable std::mutex m_mutex;
    std::vector<Record> m_records;
    std::vector<Record> m_queue;
};

// Makes a recording target the main window for the lifetime of a scope (tests).
class CMainWindowTargetScope
{
public:
    explicit CMainWindowTargetScope(IMessageTarget* target);
    ~CMainWindowTargetScope();
    CMainWindowTargetScope(const CMainWindowTargetScope&) = delete;
    CMainWindowTargetScope& operator=(const CMainWindowTargetScope&) = delete;

private:
    IMessageTarget* m_previous;
};
