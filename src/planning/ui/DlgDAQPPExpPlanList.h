#pragma once
// The channel plans of a universal-file DAQ project: new, copy, edit, delete, reorder and the
// workbook export of the selected plans. One list exists at a time.
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <memory>
#include <string>
#include <vector>

class CExportExpPlanToExcel;
class CExtUFDaqProject;
class QPushButton;
class QTableWidget;

class CDlgDAQPPExpPlanList : public CZuDialog, public CSingleInstance<CDlgDAQPPExpPlanList>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4210;
    enum
    {
        IDC_NEW = 2001,
        IDC_EDIT = 2002,
        IDC_COPY = 2004,
        IDC_EXPORT = 2006,
        IDC_DELETE = 3031,
        IDC_UP = 3036,
        IDC_DOWN = 3032,
        IDC_LIST = 3163,
    };

    // Shows the list of the project: the open one is brought forward.
    static CDlgDAQPPExpPlanList* ShowInstance(CExtUFDaqProject* project, QWidget* parent = nullptr);

    // The workbook export of the project's plans, set up from the project and its container.
    static std::unique_ptr<CExportExpPlanToExcel> MakeExporter(CExtUFDaqProject& project);

    explicit CDlgDAQPPExpPlanList(CExtUFDaqProject* project, QWidget* parent = nullptr);
    ~CDlgDAQPPExpPlanList() override;

    void Refill();
    void OnNew();
    void OnCopy();
    void OnEdit();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnExport();

    // Selects list rows as a user would.
    void SelectRows(const std::vector<int>& rows);
    // The plan indexes of the selected rows, in row order.
    std::vector<int> SelectedPlans() const;
    QTableWidget* ListCtrl() const { return m_list; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;

private:
    void FillRow(int row, int planIndex);
    void Move(int step);
    void MarkModified();

    CExtUFDaqProject* m_project;
    QTableWidget* m_list;
};
