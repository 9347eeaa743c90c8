#include "platform/win/Clipboard.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace {

class CMemoryClipboard : public IClipboard
{
public:
    bool SetText(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_text = text;
        return true;
    }
    bool GetText(std::string& text) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_text)
            return false;
        text = *m_text;
        return true;
    }

private:
    std::mutex m_mutex;
    std::optional<std::string> m_text;
};

CMemoryClipboard& Memory()
{
    static CMemoryClipboard clipboard;
    return clipboard;
}

std::atomic<IClipboard*> g_clipboard{nullptr};

IClipboard& Current()
{
    IClipboard* c = g_clipboard.load();
    return c ? *c : Memory();
}

} // namespace

void SetClipboard(IClipboard* clipboard)
{
    g_clipboard.store(clipboard);
}

bool SetClipboardText(const std::string& text)
{
    return Current().SetText(text);
}

bool GetClipboardText(std::string& text)
{
    return Current().GetText(text);
}

bool IsClipboardTextAvailable()
{
    std::string text;
    return Current().GetText(text);
}
