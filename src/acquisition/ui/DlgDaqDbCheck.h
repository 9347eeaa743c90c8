#pragma once
// Binds a DAQ project to an experimental database file of PLOVA and checks its measured data
// against the database's limits: the database file, the engine speed of the check (and, for a
// run-up, a second value) and the mapping of model subsystems to database entries. OK stores the
// choice in the project and runs the check.
#include "platform/ui/ZuDialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDaqProject;
class CSXButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CDlgDaqDbCheck : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4214,
        IDC_BROWSE = 3016,
        IDC_RPM = 3063,
        IDC_PATH = 3112,
        IDC_SECOND = 3137,
        IDC_USE_SECOND = 3049,
        IDC_MAPPING = 2001
    };
    static constexpr const char* kBrowseTitle = "Select Experimental Database File";
    static constexpr const char* kBrowseFilter = "All Files (*.*)|*.*||";

    // project: checked and written, not owned.
    explicit CDlgDaqDbCheck(CDaqProject* project, QWidget* parent = nullptr);

    // The editor of the subsystem mapping (the model's subsystems against the database's common
    // names), provided by the windows that own it; without one the mapping button is disabled.
    using MappingEditor = std::function<bool(QWidget* parent, CDaqProject& project, const std::string& database,
                                             std::vector<int32_t>& mapping)>;
    static void SetMappingEditor(MappingEditor editor);
    static bool HasMappingEditor();

    // Browse took a file: PLOVA opens it and the mapping is rebuilt from its common names.
    bool LoadDatabase(const std::string& path);
    void OnBrowse();
    void OnMapping();

    std::string m_strPath;
    std::string m_strRpm;
    std::string m_strSecond;
    int m_bSecond = 0;
    std::vector<int32_t> m_mapping;

    QComboBox* RpmCombo() const { return m_rpm; }
    QLineEdit* PathEdit() const { return m_path; }
    QLineEdit* SecondEdit() const { return m_second; }
    QCheckBox* SecondCheck() const { return m_useSecond; }
    QPushButton* MappingButton() const { return m_mappingButton; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void FillRpmChoices();

    CDaqProject* m_project;
    bool m_runUp = true;
    CSXButton* m_browse;
    QComboBox* m_rpm;
    QLineEdit* m_path;
    QLineEdit* m_second;
    QCheckBox* m_useSecond;
    QPushButton* m_mappingButton;
};
