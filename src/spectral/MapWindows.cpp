#include "spectral/MapWindows.h"

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

void CMapWindows::Set(int slot, IMessageTarget* window)
{
    if (slot >= 0 && slot < kSlots)
        m_windows[slot] = window;
}

IMessageTarget* CMapWindows::Get(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_windows[slot] : nullptr;
}

void CMapWindows::CloseAll()
{
    for (IMessageTarget*& w : m_windows) {
        IMessageTarget* window = w;
        w = nullptr;
        if (window)
            window->SendMessage(WM_CLOSE);
    }
}
