#pragma once
// The modeless dialog in which the subsystems of a calculation are ticked. It exists once at a
// time; while it is open the ticked subsystems are shown as the selection of the 3D model windows,
// and on OK the table of ticked subsystems is sent, synchronously, to the window that asked for it
// (with the notify message and parameter the caller set), after which the dialog goes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

class CZuSubsystemTable;
class IMessageTarget;
class QCheckBox;
class QListWidget;

class CDlgSelectCalcSubsystem : public CZuDialog, public CSingleInstance<CDlgSelectCalcSubsystem>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4064,
        IDC_ALL = 3045,
        IDC_SUBSYSTEMS = 3159
    };

    // The new dialog, or null while one is open. The notification goes to target (null: the main
    // window).
    static CDlgSelectCalcSubsystem* CreateInstance(QWidget* parent = nullptr, IMessageTarget* target = nullptr);
    static void DestroyInstance();

    // What OK does with the ticked subsystems: the command that opened the dialog goes on with
    // them. Without one, OK sends the notification message to the target instead.
    using Answer = std::function<void(const CZuSubsystemTable& ticked)>;
    void SetAnswer(Answer answer) { m_answer = std::move(answer); }
    void SetNotifyMessage(uint32_t message) { m_notifyMessage = message; }
    void SetNotifyParam(intptr_t param) { m_notifyParam = param; }
    void AddSubsystem(const std::string& name, int checked);

    // Set on OK when a tick differs from the state the entry came with.
    int IsChanged() const { return m_changed; }
    QCheckBox* AllBox() const { return m_all; }
    QListWidget* List() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CDlgSelectCalcSubsystem(QWidget* parent, IMessageTarget* target);
    ~CDlgSelectCalcSubsystem() override;

    void OnSelectAll();
    void UpdateModelSelection() const;
    std::vector<std::string> Ticked() const;

    struct Entry
    {
        std::string name;
        int checked = 0;
    };
    int m_allFlag = 0;
    uint32_t m_notifyMessage = 0;
    intptr_t m_notifyParam = 0;
    Answer m_answer;
    int m_changed = 0;
    std::vector<Entry> m_entries;
    IMessageTarget* m_target;
    QCheckBox* m_all;
    QListWidget* m_list;
};
