#pragma once
// The new-project dialog: the folder in which the project's own folder is made, and the project's
// name. The project file is "<folder>/<name>/<name>.orv".
#include "platform/ui/ZuDialog.h"

#include <string>

class QLineEdit;
class QToolButton;

class CDlgNewProject : public CZuDialog
{
    Q_OBJECT
public:
    explicit CDlgNewProject(QWidget* parent = nullptr);

    std::string m_folder; // text item 3112
    std::string m_name;   // text item 3113

    // Trailing separators are removed from the folder; the path is "%s/%s/%s.orv".
    std::string GetProjectFilePath() const;
    static std::string MakeProjectFilePath(const std::string& folder, const std::string& name);
    // True when the name holds none of \ / : * ? " < > |.
    static bool IsValidProjectName(const std::string& name);

    QLineEdit* FolderEdit() const { return m_folderEdit; }
    QLineEdit* NameEdit() const { return m_nameEdit; }
    // The browse button: chooses the folder through the folder chooser.
    void OnBrowse();

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    void OnCancel() override;

private:
    QLineEdit* m_folderEdit;
    QLineEdit* m_nameEdit;
    QToolButton* m_browse;
};

// The shell folder chooser: true and the folder in result when one was chosen; Cancel empties
// result and returns false.
bool BrowseForFolder(std::string& result, const std::string& title, const std::string& preselect = {});
