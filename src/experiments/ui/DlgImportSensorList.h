#pragma once
// Shows every sensor row of a catalogue workbook; the selected rows are handed to the owner (the
// sensor list), which checks and adds them. Modeless, at most one; it stays open so an import can
// be taken over in several steps.
#include "platform/ui/ZuDialog.h"

#include <functional>
#include <string>

#include "experiments/ImportSensorListFromExcel.h"

class QTreeWidget;

class CDlgImportSensorList : public CZuDialog
{
    Q_OBJECT
public:
    CDlgImportSensorList(const std::string& path, QWidget* parent = nullptr);
    ~CDlgImportSensorList() override;

    static CDlgImportSensorList* GetInstance();
    const std::string& GetTitle() const { return m_title; }
    QTreeWidget* List() const { return m_list; }
    // Receives each selected row as a sensor record on OK.
    std::function<void(const tagSENSORINFO&)> onRecord;

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
