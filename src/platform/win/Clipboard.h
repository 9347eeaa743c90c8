#pragma once
// Clipboard text. The store is a hook: the system clipboard once the program installs it, an
// in-memory clipboard in the core and in tests.
#include <string>

class IClipboard
{
public:
    virtual ~IClipboard() = default;
    virtual bool SetText(const std::string& text) = 0;
    virtual bool GetText(std::string& text) = 0; // false when the clipboard holds no text
};

// Installs a clipboard (not owned); null restores the in-memory one.
void SetClipboard(IClipboard* clipboard);

bool SetClipboardText(const std::string& text);
bool GetClipboardText(std::string& text);
// True when the clipboard holds text (paste commands enable on it).
bool IsClipboardTextAvailable();
