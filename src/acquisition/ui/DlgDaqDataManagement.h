#pragma once
// The data sets of one experiment: which of them are used, their calculation options, their
// measurement files, and whether the experiment itself is used. Modeless and at most one open.
// Use flags change at once as the boxes are ticked; Cancel gives every data set and the
// experiment back the flag it had when the dialog opened.
//
// A DAQ project of outside data (kind 1) as owner has no measurement files: the dialog is
// read-only then (no data opening, file check or deletion; the options show the local points and
// the bands only, neither editable).
//
// The dialog is the owner window of the comparison dialog it opens: the comparison's click on a
// data column (0x2412, the data set as lParam) selects and shows that data set's row.
#include "platform/ui/ZuDialog.h"
#include "platform/win/CommandIds.h"
#include "platform/win/CommandTable.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/ui/SingleInstance.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class CDAQExperiment;
class CDaqProject;
class CMElement;
class CTALVOExp;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

class CDlgDaqDataManagement : public CZuDialog, public IMessageTarget, public CSingleInstance<CDlgDaqDataManagement>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4011,
        IDC_LIST = 3159,
        IDC_EXP_NAME = 3089,
        IDC_NOT_USED = 3051,
        // The buttons' commands; each button's control id is its command's id.
        ID_OPEN_DATA = CommandId::ID_OPEN_DATA,
        ID_CHECK_FILES = CommandId::ID_CHECK_FILES,
        ID_DELETE_MISSING = CommandId::ID_DELETE_MISSING,
        ID_DATA_SET_OPTIONS = CommandId::ID_DATA_SET_OPTIONS,
        ID_DATA_SET_PROPERTIES = CommandId::ID_DATA_SET_PROPERTIES,
        ID_COMPARE_DATA_SETS = CommandId::ID_COMPARE_DATA_SETS,
    };
    enum Column
    {
        colSerial = 0,
        colDate = 1,
        colComment = 2,
        colFile = 3,
    };

    // The dialog for an experiment (its parent is taken as owner); null while one is open or for
    // an element that is not an experiment.
    static CDlgDaqDataManagement* CreateInstance(CMElement* experiment, QWidget* parent = nullptr);
    // Closes the open dialog without touching any use flag.
    static void DestroyInstance();

    // The element whose kind decides read-only mode (a DAQ project of outside data); by default the
    // experiment's parent.
    void SetOwnerElement(CMElement* owner);
    // Opens the experiment property dialog over a data set (mode 2 editable, 3 read-only); the
    // window library that has the dialog gives it. Without one, command 3022 stays disabled.
    using PropertiesHandler = std::function<void(CDAQExperiment* dataSet, int mode, QWidget* parent)>;
    // Given after the dialog has opened, it enables the command for the row already selected.
    void SetPropertiesHandler(PropertiesHandler handler);
    CMElement* GetOwnerElement() const { return m_owner; }
    bool IsReadOnly() const { return m_readOnly; }
    CTALVOExp* GetExperiment() const { return m_experiment; }

    // The buttons' commands, enabled while the dialog shows an experiment and as the selected row
    // and the read-only mode allow.
    using CommandTable = TCommandTable<CDlgDaqDataManagement, CDlgDaqDataManagement>;
    static const CommandTable& Commands();
    bool IsCommandEnabled(int id) const;
    // Runs a command as its button does; false when it is disabled.
    bool OnCommand(int id);

    // The row boxes again from the data sets' use flags.
    void UpdateCheckMarks();
    // A row's box was set or cleared by the user.
    void OnRowChecked(int row, bool checked);
    // Box 3051 (set: the experiment is not used).
    void OnNotUsedChanged(bool checked);
    // Refreshes the boxes, focuses the list and selects and shows the data set's row.
    void ShowDataSet(const CMElement* dataSet);
    CDAQExperiment* GetSelectedDataSet() const;
    void SelectRow(int row);

    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    // Queued for the dialog's event loop.
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    QTableWidget* List() const { return m_list; }
    QCheckBox* NotUsedBox() const { return m_notUsed; }
    QLabel* NameLabel() const { return m_name; }
    QPushButton* CommandButton(int id) const;
    const std::vector<CDAQExperiment*>& Rows() const { return m_rows; }
    bool IsFileColumnShown() const { return m_fileColumnShown; }

    // The band-average page's enable mask for a configuration: the line count locked, full layout
    // in block mode 0 and resolution only otherwise, run-up or constant-speed measurement.
    static int BandAveMask(int blockMode, int rpmMode);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CDlgDaqDataManagement(CTALVOExp* experiment, QWidget* parent);
    ~CDlgDaqDataManagement() override;

    CDaqProject* GetDaqProject() const;
    void FillList();
    void FillFileColumn();
    void UpdateCommands();
    void OnCheckFiles();
    void OnDeleteMissing();
    void OnCalcOptions();
    void OnCompare();
    void OnOpenData();
    void OnProperties();
    void OnObjectGoing(const void* object);
    void Forget();

    CTALVOExp* m_experiment;
    CMElement* m_owner = nullptr;
    bool m_readOnly = false;
    bool m_fileColumnShown = false;
    bool m_filling = false;
    int m_listener = 0;
    // Every data set's (and the experiment's) use flag as it was when the dialog opened.
    std::map<CMElement*, int> m_useFlags;
    std::vector<CDAQExperiment*> m_rows;
    std::map<int, QPushButton*> m_buttons;
    PropertiesHandler m_properties;

    QLabel* m_name;
    QCheckBox* m_notUsed;
    QTableWidget* m_list;
};
