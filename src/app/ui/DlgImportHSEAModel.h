#pragma once
// Takes a model out of a SOLMOX project: connects to SOLMOX with the project file, lists the
// project's HSEA models, and on OK has SOLMOX write the analytical model, the chosen HSEA model
// and the data set into temporary files. The files, and a SOLMOX process that the dialog started,
// go with the dialog; the caller reads the files while the dialog lives.
#include "platform/ui/ZuDialog.h"

#include <memory>
#include <string>

class CProjectHistory;
class CSOLMOXWrapper;
class QListWidget;

class CDlgImportHSEAModel : public CZuDialog
{
    Q_OBJECT
public:
    explicit CDlgImportHSEAModel(const std::string& projectFile, QWidget* parent = nullptr);
    ~CDlgImportHSEAModel() override;

    // Connects and writes the analytical model without showing the dialog; false after the
    // message when either fails.
    bool ExportWithoutDialog();

    const std::string& GetAnalyticalModelFile() const;
    const std::string& GetHSEAModelFile() const;
    const std::string& GetDataSetFile() const;
    // The SOLMOX project's history, handed to the caller (null when none was built).
    std::unique_ptr<CProjectHistory> TakeProjectHistory();

    std::string m_projectFile;  // edit 3137
    std::string m_selectedName; // the text of the chosen entry
    QListWidget* ModelList() const { return m_list; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    bool Connect();

    QListWidget* m_list;
    std::unique_ptr<CSOLMOXWrapper> m_solmox;
    std::unique_ptr<CProjectHistory> m_history;
};
