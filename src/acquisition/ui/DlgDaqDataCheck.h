#pragma once
// The result of the data check of one experiment project: a grid of the data sets with a fault,
// column "1" for the input-range check and "2" for the overload check ("X" on yellow; "?" where a
// channel's input range is unknown). Below it, when channels reached the top of their input range,
// the dialog says in words what to do about it. Modeless, at most one; closing it destroys it.
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <functional>
#include <memory>

class CDaqDataCheck;
class CExpProject;
class CMElement;
class QComboBox;
class QLabel;
class QTableWidget;

class CDlgDaqDataCheck : public CZuDialog, public CSingleInstance<CDlgDaqDataCheck>
{
    Q_OBJECT

public:
    // Null while one is open; otherwise creates and shows it for the project.
    static CDlgDaqDataCheck* CreateInstance(CExpProject* project, QWidget* parent = nullptr);

    // Runs the check again and refills the grid.
    void Refresh();
    // Command 3021: the options dialog; OK runs the check again.
    void OnOptions();
    // What choosing a data row shows: the owner's views are asked to show the data set.
    void SetShowDataSet(std::function<void(CMElement*)> show) { m_show = std::move(show); }
    void OnSelectRow(int row);

    QTableWidget* Grid() const { return m_grid; }
    QComboBox* Combo() const { return m_combo; }
    // What to do about the faults found, in words (hidden when there is nothing to do).
    QLabel* Advice() const { return m_advice; }
    CDaqDataCheck* GetCheck() const { return m_check.get(); }

protected:
    bool OnInitDialog() override;
    // The advice is made from the language table: a new language writes it anew.
    void changeEvent(QEvent* event) override;

private:
    CDlgDaqDataCheck(CExpProject* project, QWidget* parent);
    ~CDlgDaqDataCheck() override;
    void FillGrid();
    void UpdateAdvice();

    CExpProject* m_project;
    std::unique_ptr<CDaqDataCheck> m_check;
    QComboBox* m_combo;
    QTableWidget* m_grid;
    QLabel* m_advice;
    std::function<void(CMElement*)> m_show;
};
