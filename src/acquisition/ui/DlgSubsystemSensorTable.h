#pragma once
// Which sensor bundles serve each subsystem of an experiment and which channel and sensor serve
// each local point (LP), checked as a whole on OK. The table writes nothing back: after OK its
// opener reads each subsystem's new sensor group (LookupSubsystem). One table per edited object.
#include "acquisition/SubsystemSensorTable.h"
#include "platform/ui/SingleInstance.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFlexGridEx;
class CSensorProject;
class IProjectLookups;
class QComboBox;
class QTableWidget;

class CDlgSubsystemSensorTable : public CZuDialog, public CSingleInstance<CDlgSubsystemSensorTable>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4081,
        IDC_CHANNEL = 3058,
        IDC_SUBSYSTEMS = 3075,
        IDC_GRID = 3262
    };
    static constexpr int kBundleColumns = 4;
    // The modeless table tells its parent WM_ZU_SENSOR_TABLE_CLOSED when it closes: wParam 1 after
    // OK, 2 after Cancel.

    using CSSDataList = std::vector<CSubsystemSensorTable::CSSData>;
    using CSSData = CSubsystemSensorTable::CSSData;
    using CLPData = CSubsystemSensorTable::CLPData;
    using CBundleData = CSubsystemSensorTable::CBundleData;

    // What the table is built from (set by the opener before the window is created).
    struct CDlgData
    {
        IProjectLookups* project = nullptr; // the connection check's project
        CSensorProject* sensors = nullptr;
        int systemChannels = 0;
        std::vector<CSubsystemSensorTable::CSource> subsystems;
    };

    // A new modeless table for the key, or null when one is open for it.
    static CDlgSubsystemSensorTable* CreateInstance(const void* key, QWidget* parent);
    // Deletes the key's table; false when there was none.
    static bool DestroyInstance(const void* key);

    explicit CDlgSubsystemSensorTable(int modal, QWidget* parent = nullptr);
    ~CDlgSubsystemSensorTable() override;

    void SetData(CDlgData data) { m_data = std::move(data); }
    // Told of the end of a modeless table (1 OK, 2 Cancel) instead of the parent's message.
    std::function<void(int)> onClosed;

    CSubsystemSensorTable& GetTarget() { return *m_table; }
    // A new group for one subsystem of the table (owned by the caller); null for another name.
    std::unique_ptr<CSensorGroup> LookupSubsystem(const std::string& name) const;

    // Commands.
    void SelectSubsystem(int index);
    void OnSelectBundle();
    void OnGridCell(int row, int col);
    void OnChannelChosen(int entry);
    bool IsReadOnly() const { return m_readOnly; }

    QTableWidget* SubsystemList() const { return m_list; }
    CFlexGridEx* Grid() const { return m_grid; }
    QComboBox* ChannelCombo() const { return m_combo; }
    int GetSelectedSubsystem() const { return m_nSelected; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void FillList();
    void FillGrid();
    void Finish(int code);

    QComboBox* m_combo;
    QTableWidget* m_list;
    CFlexGridEx* m_grid;
    int m_bModal;
    CDlgData m_data;
    std::unique_ptr<CSubsystemSensorTable> m_table;
    int m_nSelected = 0;
    int m_comboLp = -1;
    bool m_readOnly = false;
};
