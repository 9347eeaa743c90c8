#pragma once
// The import dialog of universal files: the files to import, how their RPM is found (one fixed
// RPM, the RPM of each dataset, or order functions of one order), how structures are read, and
// the band and order options on a sheet of their own.
#include "platform/ui/ZuDialog.h"

#include <string>

#include "uff/UFImportUI.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

class CDlgImportUFDaqData : public CZuDialog
{
    Q_OBJECT
public:
    enum
    {
        IDD = 4103,
        IDC_FILES = 3163,
        IDC_ADD = 3005,
        IDC_REMOVE = 3013,
        IDC_OPTIONS = 1035,
        IDC_FIRST_CHOICE = 3206,
        IDC_STRUCTURE = 3063,
        IDC_RPM = 3137,
        IDC_NAMES_FROM_DATASET = 3049,
        IDC_SNAP = 3050,
        IDC_ORDER = 3138,
        IDC_NODE_TABLE = 3139,
        IDC_NODE_TABLE_OPEN = 3140,
    };
    static constexpr int kMaxSelection = 13051;

    // The dialog edits settings (and the file list it points to) in place.
    explicit CDlgImportUFDaqData(CUFImportSettings& settings, QWidget* parent = nullptr);

    void OnAddFiles();
    void OnRemoveFiles();
    // The subsystems and their short names (IDC_NAMES_FROM_DATASET when it becomes checked).
    void OnShowShortNames();
    // The options sheet; true on OK.
    bool OnOptions();
    void FillList();
    // Node Table...: the table that says which node is which local point, read into the node map.
    void OnOpenNodeTable();

    QTreeWidget* FileList() const { return m_files; }
    QPushButton* OkButton() const { return m_ok; }
    QButtonGroup* Choices() const { return m_choices; }
    QLineEdit* RpmEdit() const { return m_rpm; }
    QLineEdit* OrderEdit() const { return m_order; }
    QLineEdit* NodeTableEdit() const { return m_nodeTable; }

protected:
    bool OnInitDialog() override;
    void changeEvent(QEvent* event) override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    // With no node known yet, the node table that came with the listed files is read.
    void TakeNodeTableBeside();
    void ShowNodeTable();
    // The list's items in the language loaded (the window translator leaves list items alone).
    void TranslateStructureItems();

    CUFImportSettings& m_settings;
    QTreeWidget* m_files;
    QButtonGroup* m_choices;
    QListWidget* m_structure;
    QLineEdit* m_rpm;
    QLineEdit* m_order;
    QCheckBox* m_names;
    QCheckBox* m_snap;
    QLineEdit* m_nodeTable;
    QPushButton* m_ok;
};
