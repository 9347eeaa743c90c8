#pragma once
// The first view of the sensor window: the sensors of the three categories on three tabs, with
// the new-sensor dialog, deletion, property editing, the workbook import and adding sensors to
// the bundle named in the bundle dialog.
#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

#include "experiments/SensorInfo.h"
#include "experiments/ui/DlgImportSensorList.h"
#include "experiments/ui/DlgSensorProperty.h"
#include "platform/win/CommandTable.h"

class CSensor;
class CSensorDoc;
class CSensorListCtrl;
class QTabWidget;
class QTreeWidgetItem;

class CSensorListView : public QWidget
{
    Q_OBJECT
public:
    explicit CSensorListView(CSensorDoc* doc, QWidget* parent = nullptr);
    ~CSensorListView() override;

    CSensorDoc* GetDocument() const { return m_doc; }
    void OnInitialUpdate();
    void OnUpdate(CSensor* hint, int code);

    // The list's commands, each enabled while the document has a sensor project.
    using CommandTable = TCommandTable<CSensorListView, CSensorListView>;
    static const CommandTable& Commands();
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;

    // 2024: the open new-sensor dialog's unit for a tab.
    void SetNewSensorUnit(int tab);
    // 4074 from the new-sensor dialog: 1 adds its values, anything else closes it.
    void OnNewSensorMessage(int wParam);
    // 4030 from the import dialog: checks and adds the records, with one message for those
    // refused; the sensors added.
    std::vector<CSensor*> AddImportedRecords(const std::vector<tagSENSORINFO>& records);
    // Double click on a row of a tab: adds the sensor to the bundle dialog's bundle when that
    // dialog is open, otherwise edits it.
    void OnDoubleClick(int tab, int row);
    // Adds a sensor to the bundle of that whole ID when the bundle's sensors share its data type.
    bool AddSensorToBundle(const std::string& sensorID, const std::string& bundleID);

    QTabWidget* Tabs() const { return m_tabs; }
    CSensorListCtrl* List(int tab) const { return m_lists[tab]; }
    CDlgSensorProperty* NewSensorDialog() const { return m_newDialog; }
    CDlgImportSensorList* ImportDialog() const { return CDlgImportSensorList::GetInstance(this); }

private:
    void FillTab(int tab);
    void DeleteSelected();
    void EditSensor(const std::string& id);
    void ImportFromWorkbook();

    CSensorDoc* m_doc;
    QTabWidget* m_tabs;
    CSensorListCtrl* m_lists[3] = {};
    QPointer<CDlgSensorProperty> m_newDialog;
};
