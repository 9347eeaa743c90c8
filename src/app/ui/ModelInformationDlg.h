#pragma once
// Asks for the vehicle model file a model is built from: a path, typed or chosen with the browse
// button. OK stays disabled while the path is empty.
#include "platform/ui/ZuDialog.h"

#include <string>

class CASEAModelData;
class CSXButton;
class QLineEdit;
class QPushButton;

class CModelInformationDlg : public CZuDialog
{
    Q_OBJECT
public:
    // model: the model the dialog is shown for (not owned; null for a new one).
    explicit CModelInformationDlg(CASEAModelData* model = nullptr, QWidget* parent = nullptr);

    std::string m_path; // edit 3173
    QLineEdit* PathEdit() const { return m_edit; }
    CSXButton* BrowseButton() const { return m_browse; }
    bool IsOkEnabled() const;
    CASEAModelData* GetModel() const { return m_model; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void Browse();
    void UpdateOk();

    CASEAModelData* m_model;
    QLineEdit* m_edit;
    CSXButton* m_browse;
    QPushButton* m_ok;
};
