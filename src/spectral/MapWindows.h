#pragma once
// The (at most two) windows that show a spectrum map. They are not owned: the map closes them when
// it goes, while it still exists, because a closing window may still talk to it.
class IMessageTarget;

class CMapWindows
{
public:
    static constexpr int kSlots = 2;

    // Slots other than 0 and 1 are ignored (set) or empty (get).
    void Set(int slot, IMessageTarget* window);
    IMessageTarget* Get(int slot) const;
    // Sends WM_CLOSE to every window, each slot emptied before its window hears of it.
    void CloseAll();

private:
    IMessageTarget* m_windows[kSlots] = {nullptr, nullptr};
};
