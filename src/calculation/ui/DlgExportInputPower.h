#pragma once
// Exports the input powers, input energies or input-power values of one RPM of an analysis
// project by RPM to a text file or a workbook. The variant for projects by order
// (CDlgExportInputPowerForOT) adds the band list around the order.
#include <string>

#include "platform/ui/ZuDialog.h"

class CAnalysisProject;
class CInputPowerExport;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

class CDlgExportInputPower : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4028,
        IDC_BROWSE = 3016,
        IDC_PATH = 3137,
        IDC_NAME = 2071,
        IDC_KEY = 3063,
        IDC_KIND_POWER = 3206,
        IDC_KIND_ENERGY = 3207,
        IDC_KIND_VALUE = 3208,
    };

    CDlgExportInputPower(CAnalysisProject* project, QWidget* parent = nullptr);
    ~CDlgExportInputPower() override;

    // The export of the project's kind, run modally: this dialog for a project by RPM, the one by
    // order for a project by order. DoModal's result; IDCANCEL without a project.
    static int RunFor(CAnalysisProject* project, QWidget* parent = nullptr);

    // ---- members moved to and from the controls ----
    std::string m_path;
    std::string m_name;
    std::string m_keyText;
    int m_kind = -1;

    // Browse: asks for the file, proposing the default name of the chosen kind and key.
    void OnBrowse();

    // The controls, for tests and for the variant by order.
    QLineEdit* PathEdit() const { return m_pathEdit; }
    QLineEdit* NameEdit() const { return m_nameEdit; }
    QComboBox* KeyCombo() const { return m_keyCombo; }
    QToolButton* BrowseButton() const { return m_browse; }
    QPushButton* OKButton() const { return m_ok; }
    QRadioButton* KindButton(int kind) const;

protected:
    CDlgExportInputPower(CAnalysisProject* project, QWidget* parent, int templateId, bool byOrder);

    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    // The band list of an export by order; nothing by RPM.
    virtual void ApplyBandList(CInputPowerExport&) const {}

    // Where the variant adds its own controls (below the data kinds).
    QVBoxLayout* ExtraLayout() const { return m_extra; }

    CAnalysisProject* m_project;

private:
    QLineEdit* m_pathEdit;
    QLineEdit* m_nameEdit;
    QComboBox* m_keyCombo;
    QToolButton* m_browse;
    QButtonGroup* m_kinds;
    QPushButton* m_ok = nullptr;
    QVBoxLayout* m_extra;
};
