#pragma once
// Shows every sensor row of a catalogue workbook; the selected rows are handed to the owner (the
// sensor list), which checks and adds them. Modeless, at most one; it stays open so an import can
// be taken over in several steps.
#include "platform/ui/SingleInstance.h"
#include "platform/ui/ZuDialog.h"

#include <functional>
#include <string>
#include <vector>

#include "experiments/ImportSensorListFromExcel.h"

class QTreeWidget;

class CDlgImportSensorList : public CZuDialog, public CSingleInstance<CDlgImportSensorList>
{
    Q_OBJECT
public:
    CDlgImportSensorList(const std::string& path, QWidget* parent = nullptr);
    ~CDlgImportSensorList() override;

    // A new one over the workbook at path for the key (its sensor list), not yet shown; null when
    // the key has one open.
    static CDlgImportSensorList* CreateInstance(const void* key, const std::string& path, QWidget* parent);
    const std::string& GetTitle() const { return m_title; }
    QTreeWidget* List() const { return m_list; }
    // Receives the selected rows as sensor records, in list order, on OK.
    std::function<void(const std::vector<tagSENSORINFO>&)> onRecords;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool event(QEvent* e) override;

private:
    std::string m_path;
    std::string m_title;
    QTreeWidget* m_list;
    int m_restoreHeight = 0;
};
