#pragma once
// The project window's two modeless subsystem pickers (one subsystem, a pair of subsystems) and
// what a confirmed pick runs: the command's operation on the data element it came with, the new
// element added to its project's tree and opened. A picker opened again is reused with the new
// command and element.
#include <QPointer>

#include <cstdint>
#include <string>

class CDlgSelectSubsystem;
class CDlgSelectSubsystemPair;
class CMElement;
class IMessageTarget;
class QWidget;

class CTreePickers
{
public:
    CTreePickers(IMessageTarget& owner, QWidget* parent);
    ~CTreePickers();
    CTreePickers(const CTreePickers&) = delete;
    CTreePickers& operator=(const CTreePickers&) = delete;

    // A picker message: wParam a command id opens the picker for it over element; 1 runs the
    // picked command, 2 closes the picker.
    void OnMessage(bool pair, uintptr_t wParam, CMElement* element);

    CDlgSelectSubsystem* SinglePicker() const;
    CDlgSelectSubsystemPair* PairPicker() const;

    // The operation of a confirmed command on element with the chosen names; the new (or
    // refreshed) element, null when the command has none or it failed.
    static CMElement* RunOperation(int command, CMElement* element, const std::string& name1, const std::string& name2);

private:
    void Open(bool pair, int command, CMElement* element);
    void RunPicked(bool pair);
    void Close(bool pair);

    IMessageTarget& m_owner;
    QWidget* m_parent;
    QPointer<CDlgSelectSubsystem> m_single;
    QPointer<CDlgSelectSubsystemPair> m_pair;
    int m_command[2] = {0, 0};
    CMElement* m_element[2] = {nullptr, nullptr};
};
