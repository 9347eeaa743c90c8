#pragma once
// The named input-power sets of the model project: sets are made, renamed and deleted, power
// functions added to and removed from a set, and in the solving mode the HSEA model is solved with
// the chosen set. The dialog is modeless and kept by the window that opened it, which closes it
// when the dialog asks (message 4033, wParam 2).
#include <functional>
#include <string>

#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"

class CHSEAGeneralData;
class CMElement;
class CModelProject;
class IMessageTarget;
class QComboBox;
class QListWidget;
class QPushButton;

class CDlgInputPowerData : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4033,
        IDC_FUNCTIONS = 3161,
        IDC_SETS = 3063,
        IDC_ADD_FUNCTION = 1000,
        IDC_NEW_SET = 1001,
        IDC_DELETE_FUNCTION = 1101,
        IDC_DELETE_SET = 1103,
        IDC_RENAME_SET = 3024,
        IDC_OPEN = 3027,
    };
    enum
    {
        modeClose = 0,
        modeSolve = 1
    };
    // project: the model project that holds the sets; owner: the window told of added and removed
    // elements and asked to close the dialog.
    CDlgInputPowerData(CModelProject* project, IMessageTarget* owner, QWidget* parent = nullptr);
    ~CDlgInputPowerData() override;

    // The model project solved in the solving mode (null until the opener sets it).
    void SetSolvingModel(CModelProject* model) { m_solving = model; }
    // 0: OK reads "Close" and Cancel is hidden; 1: OK reads "Solve" and Cancel shows; other values
    // change nothing.
    void SetMode(int mode);
    int GetMode() const { return m_mode; }

    // Chooses the subsystem of a new power function (its name without wave sign); false when the
    // user cancelled. Without one the add button stays off.
    using SubsystemChooser = std::function<bool(CModelProject&, std::string&)>;
    static void SetSubsystemChooser(SubsystemChooser chooser);
    static bool HasSubsystemChooser();

    CHSEAGeneralData* SelectedSet() const;
    // Solve in the solving mode: the result, or null (the reason was told).
    bool Solve();
    bool IsSolving() const { return m_inSolve; }

    // ---- commands, as the buttons run them ----
    void OnNewSet();
    void OnDeleteSet();
    void OnRenameSet();
    void OnAddFunction();
    void OnDeleteFunction();
    // Opens the data window of the selected power function (3027 or a double click in the list).
    bool OnOpenFunction();

    QComboBox* SetCombo() const { return m_sets; }
    QListWidget* FunctionList() const { return m_functions; }
    QPushButton* Button(int id) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void FillSets();
    void SelectSet(const std::string& name);
    void FillFunctions();
    void EnableSetButtons(bool enable);

    QListWidget* m_functions;
    QComboBox* m_sets;
    CModelProject* m_project;
    CModelProject* m_solving = nullptr;
    int m_mode = -1;
    bool m_inSolve = false;
    bool m_closeAfterSolve = false; // closed while solving: closes when the solve has ended
    IMessageTarget* m_owner;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_buttons[7] = {};
};
