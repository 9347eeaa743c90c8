#pragma once
// Prepares a measurement by subsystem: the user ticks the model subsystems to measure and the
// dialog finds each one's channels from the unit channel database (which bundle sensor of which
// unit channel measures which subsystem) and the hardware inventory, checks the choice and opens
// the measurement window over it. Its data live in CDlgData, so that the dialog can be reopened
// over the same choice. Modeless: one dialog per key object.
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/elements/MElementList.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"
#include "platform/win/MessageTarget.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDaqProject;
class CDlgSubsystemSensorTable;
class CQmxBlixChMgr;
class CSensorGroup;
class QLineEdit;
class QLabel;
class QPushButton;
class QTableWidget;

class CDlgExpProperty2 : public CZuDialog, public IMessageTarget, public CSingleInstance<CDlgExpProperty2>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4027,
        IDC_LIST = 3159,
        IDC_PICTURE = 3005,
        IDC_ADD = 3007,
        IDC_TABLE = 3014,
        IDC_DELETE = 3023,
        IDC_STATUS = 3026,
        IDC_DATE = 3072,
        IDC_COPY = 57634
    };
    static constexpr std::array<int, 4> kTextIds = {3083, 3137, 3138, 3139};

    // One subsystem row.
    class CItem
    {
    public:
        CItem(const std::string& name, double value, int fixed);
        ~CItem();
        std::string name;
        double value = 0.0;
        int fixed = 0;
        int tick = 1;
        int ownsGroup = 1;
        CSensorGroup* GetGroup() const { return m_group.get(); }
        // The old group goes; the item owns the new one.
        void SetGroup(std::unique_ptr<CSensorGroup> group);

    private:
        std::unique_ptr<CSensorGroup> m_group;
    };

    // What the measurement is for.
    struct CTarget
    {
        int noPictureCheck = -1;
        CDaqProject* daqProject = nullptr;
        CMElementList experiments;
    };

    // The dialog's data: date, texts, items (item 0 the reference) and the inventory searched.
    class CDlgData
    {
    public:
        // inventory: borrowed.
        explicit CDlgData(CQmxBlixChMgr* inventory);
        ~CDlgData();
        int64_t date = 0;
        std::array<std::string, 4> texts;
        std::vector<std::unique_ptr<CItem>> items;
        CQmxBlixChMgr* inventory = nullptr;
        std::shared_ptr<CTarget> target;

        // Item 0 when it is the reference (the container's target subsystem); null while the
        // container names no target, and then no item stands for it.
        CItem* GetReference() const;

        // The channels of a subsystem: every entry of the database for it whose unit channel is
        // in the inventory and whose unit's bundle is found; report gets what is missing (empty
        // when nothing is).
        std::unique_ptr<CSensorGroup> SearchChannels(const std::string& subsystem, std::string& report) const;
    };

    static CDlgExpProperty2* CreateInstance(const void* key, QWidget* parent, std::unique_ptr<CDlgData> data);

    CDlgExpProperty2(std::unique_ptr<CDlgData> data, QWidget* parent = nullptr, bool modal = false);
    ~CDlgExpProperty2() override;

    CDlgData& Data() { return *m_data; }
    QTableWidget* List() const { return m_list; }
    QPushButton* Button(int id) const;
    QLineEdit* TextEdit(int i) const { return m_texts[static_cast<size_t>(i)]; }

    // Adds an item for a subsystem (not fixed, ticked, its channels searched); null when listed.
    CItem* AddItem(const std::string& subsystem);
    void DeleteSelectedRows();
    void FillList();
    // 0 and a message when the choice cannot be confirmed.
    int Validate();
    // Button 3014: the subsystem-sensor table over the items (the open one when there is one).
    CDlgSubsystemSensorTable* OnSensorTable();
    // The reference follows the project's target subsystem as it is now: the user may have set or
    // changed it under View > Target and Sources while this dialog was open or hidden.
    void TakeProjectTarget();
    // The subsystem picker of button 3007, open while the user adds subsystems; null when closed.
    CDlgSelectSubsystem* Picker() const { return m_picker; }
    // The text that says why the controls are disabled; hidden while units are connected.
    QLabel* NotConnectedText() const { return m_notConnected; }

    // The picker reports each subsystem added (WM_ZU_SUBSYSTEM_PICKED, OK) and its closing.
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<CSensorGroup> Search(const std::string& subsystem) const;
    // Connects the units and builds the items; false (controls disabled, the reason shown) when
    // no unit can be used.
    bool SetUp();
    void EnableControls(bool enable);
    // Shows the dialog again: set up anew when it had no units, else over the current target.
    void ShowAgain();
    void OnAddSubsystem();
    // The items of the chosen subsystems are built anew; one without channels is named at once.
    void OnSubsystemsChosen(const std::vector<std::string>& names);
    void ClosePicker();
    void OnTakeOver();
    // Button 3005: a subsystem of the model, then its pictures.
    void OnPicture();
    void OnItemChanged(int row);
    double ValueOf(const std::string& subsystem) const;
    void OnObjectGoing(const void* object);

    std::unique_ptr<CDlgData> m_data;
    bool m_modalVariant;
    bool m_filling = false;
    QTableWidget* m_list = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_notConnected = nullptr;
    bool m_connected = false;
    QPointer<CDlgSelectSubsystem> m_picker;
    std::array<QLineEdit*, 4> m_texts{};
    std::vector<std::pair<int, QPushButton*>> m_buttons;
    const void* m_key = nullptr;
    int m_listener = 0;
};
