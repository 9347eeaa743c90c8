#pragma once
// Chooses the columns of the channel table of a universal-file DAQ project's plans (label and
// type per row, in display order) and whether sensitivities show reversed; both can be stored as
// the defaults of new projects. The grid has its own undo, redo, cut, copy and paste.
#include "platform/ui/ZuDialog.h"

#include <string>
#include <utility>
#include <vector>

#include <QStringList>

class CEditFlexGrid;
class CExtUFDaqProject;
class QCheckBox;
class QPushButton;
struct tagCHTABLECOL;

class CDlgDAQPPChListOptions : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4209;
    static constexpr int kRowCount = 30;

    explicit CDlgDAQPPChListOptions(CExtUFDaqProject* project, QWidget* parent = nullptr);

    // Applies the rows and the box to the project; with storeDefaults also to the settings.
    void Apply(bool storeDefaults);
    void OnStoreDefaults(); // 3276: applies and stores, the dialog stays open
    void OnLoadDefaults();  // 3277: shows the settings' layout (the project takes it on OK or 3276)

    // Grid editing as a user does it; each change can be undone.
    void SetCell(int row, int col, const std::string& text);
    std::string GetCell(int row, int col) const;
    void OnUndo();
    void OnRedo();
    void OnCut();
    void OnCopy();
    void OnPaste();
    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < static_cast<int>(m_history.size()); }

    // The layout the rows describe.
    std::vector<tagCHTABLECOL> ReadLayout() const;

    CEditFlexGrid* Grid() const { return m_grid; }
    QCheckBox* ReverseBox() const { return m_reverse; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void ShowLayout(const std::vector<tagCHTABLECOL>& columns);
    QStringList Snapshot() const;
    void Restore(const QStringList& cells);
    void Record();
    QPushButton* AddTool(int id, const QString& text, int icon, uint32_t tipId);

    CExtUFDaqProject* m_project;
    CEditFlexGrid* m_grid;
    QCheckBox* m_reverse;
    std::vector<QStringList> m_history;
    int m_current = -1;
    bool m_restoring = false;
};
